#pragma once
// "Game Menu", over the running game: back to the game, save and leave for the
// front page, the manual, About, the difficulty and the volume.

#include <string>

#include "game/dialogs/dialog.h"

class CDRAVGameMenuDlg : public CDRAVDlg {
public:
    static constexpr int kReturnToGame = 2;
    static constexpr int kMainMenu = 3;
    static constexpr int kManual = 5;
    static constexpr int kAbout = 6;
    static constexpr int kVolume = 7;
    static constexpr int kDifficulty = 9;

    explicit CDRAVGameMenuDlg(CDRAVApp* app) : CDRAVDlg(app) {}

    std::string GetTitle() override { return "Game Menu"; }
    int GetMargin() override { return 16; }
    void CreateControls(RECT area, DRAVUI::CUIManager& container) override;
    bool OnButton(int) override { return true; }
    void OnClose(int result) override;
};
