#pragma once
// The whole message log in one scrolling page, newest line last, with "Done" (1).

#include <deque>
#include <string>

#include "game/dialogs/dialog.h"

class CDRAVMsgDlg : public CDRAVDlg {
public:
    static constexpr int kDone = 1;

    CDRAVMsgDlg(CDRAVApp* app, const std::deque<std::string>* messageLog) : CDRAVDlg(app), m_messageLog(messageLog) {}

    std::string GetTitle() override { return "Messages"; }
    void CreateControls(RECT area, DRAVUI::CUIManager& container) override;
    bool OnButton(int id) override { return id == kDone; }
    void OnClose(int) override {}

private:
    const std::deque<std::string>* m_messageLog;
};
