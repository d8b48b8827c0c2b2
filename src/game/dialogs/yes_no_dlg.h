#pragma once
// A question with "Yes" (1) and "No" (2); each confirmation supplies the two
// outcomes. Y answers yes, N and Esc no; Enter is not an answer here.

#include <string>

#include "game/dialogs/dialog.h"

class CYesNoDlg : public CDRAVDlg {
public:
    static constexpr int kYes = 1;
    static constexpr int kNo = 2;

    CYesNoDlg(CDRAVApp* app, std::string title, std::string question);

    std::string GetTitle() override { return m_title; }
    const std::string& GetQuestion() const { return m_question; }
    void CreateControls(RECT area, DRAVUI::CUIManager& container) override;
    bool OnButton(int id) override { return id == kYes || id == kNo; }
    bool OnKey(int key, bool shift, int* result) override;
    void OnClose(int result) override;

    virtual void OnYes() = 0;
    virtual void OnNo() = 0;

protected:
    std::string m_title;
    std::string m_question;
};
