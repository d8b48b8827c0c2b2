#pragma once
// The debug console: a warning, one line of typing, "Done" (1) and "Cancel" (2).
// The typed line runs once the dialog has closed with "Done" or Enter.

#include <string>

#include "game/dialogs/dialog.h"

namespace DRAVUI {
class CUIStaticText;
}

class CWizardDlg : public CDRAVDlg {
public:
    static constexpr int kDone = 1;
    static constexpr int kCancel = 2;

    explicit CWizardDlg(CDRAVApp* app) : CDRAVDlg(app) {}

    std::string GetTitle() override { return "Wizard"; }
    void CreateControls(RECT area, DRAVUI::CUIManager& container) override;
    bool OnButton(int id) override;
    bool OnKey(int key, bool shift, int* result) override;
    void OnClose(int result) override;

    const std::string& GetCommand() const { return m_command; }

private:
    DRAVUI::CUIStaticText* m_entry = nullptr;
    std::string m_command;
};
