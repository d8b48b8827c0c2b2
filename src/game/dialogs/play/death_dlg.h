#pragma once
// Told once per wipe-out: the party will be brought back, and the difficulty can
// be lowered from here. The application resurrects the party once it closes.

#include <string>

#include "game/dialogs/dialog.h"

class CDeathDlg : public CDRAVDlg {
public:
    static constexpr int kDone = 0;
    static constexpr int kDifficulty = 1;

    using CDRAVDlg::CDRAVDlg;

    std::string GetTitle() override { return "Party Dead"; }
    void CreateControls(RECT area, DRAVUI::CUIManager& container) override;
    bool OnButton(int) override { return true; }
    void OnClose(int result) override;
};

std::string BuildDeathText();
