#pragma once
// A panel of scrolling text with "Done" (1), a "Manual" button (2) when it has a
// manual anchor, and an extra button (3) when a derived dialog gives it a label.

#include <memory>
#include <string>

#include "game/dialogs/dialog.h"

namespace DRAV {
class CActor;
}

class CTextDlg : public CDRAVDlg {
public:
    static constexpr int kDone = 1;
    static constexpr int kManual = 2;
    static constexpr int kExtra = 3;

    CTextDlg(CDRAVApp* app, std::string title, std::string text, DRAV::CActor* subject, bool narrow);
    // Not narrow, no subject.
    static std::shared_ptr<CTextDlg> CTextDlgWithAnchor(CDRAVApp* app, std::string title, std::string text,
                                                        std::string manualAnchor);

    std::string GetTitle() override { return m_title; }
    void CreateControls(RECT area, DRAVUI::CUIManager& container) override;
    bool OnButton(int id) override { return id != 0; }
    // Code 4 for a result other than 0 to 3.
    void OnClose(int result) override;

    virtual void OnExtraButton() {}

    const std::string& GetText() const { return m_text; }
    const std::string& GetManualAnchor() const { return m_manualAnchor; }
    const std::string& GetExtraLabel() const { return m_extraLabel; }

protected:
    std::string m_title;
    std::string m_text;
    DRAV::CActor* m_subject;
    bool m_narrow;
    std::string m_manualAnchor;
    std::string m_extraLabel;
};
