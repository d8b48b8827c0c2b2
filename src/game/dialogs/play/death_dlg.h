#pragma once
// Told once per wipe-out: the party will be brought back, and the difficulty can
// be lowered from here. The application resurrects the party once it closes.

#include <string>

#include "game/dialogs/dialog.h"

class CDeathDlg : public CDRAVDlg {
public:
    static constexpr int kDone = 0;
    static constexpr int kDifficulty = 1;
    // The picture and the text: the page opens over the fight, and a player still
    // clicking at the foes as the last member falls must not close it unread.
    static constexpr int kPage = 2;

    using CDRAVDlg::CDRAVDlg;

    std::string GetTitle() override { return "Party Dead"; }
    void CreateControls(RECT area, DRAVUI::CUIManager& container) override;
    bool OnButton(int id) override { return id != kPage; }
    void OnClose(int result) override;
};

std::string BuildDeathText();
