#pragma once
// The front page, "Welcome": the logo, the welcome text, the five buttons and a
// strip with one button per chapter of the game. It keeps no state, so every new
// page shows the chapter table as it is; keys do nothing here.

#include <string>

#include "game/dialogs/dialog.h"

class CStartDlg : public CDRAVDlg {
public:
    static constexpr int kStartNewGame = 1;
    static constexpr int kLoadExistingGame = 2;
    static constexpr int kManual = 3;
    static constexpr int kAbout = 4;
    static constexpr int kExit = 5;
    // Chapter n's strip button is kFirstChapter + n - 1.
    static constexpr int kFirstChapter = 100;
    static constexpr int kLogoImage = 83;
    static constexpr int kPurchaseImage = 84;

    explicit CStartDlg(CDRAVApp* app) : CDRAVDlg(app) {}

    std::string GetTitle() override { return "Welcome"; }
    void CreateControls(RECT area, DRAVUI::CUIManager& container) override;
    bool OnButton(int id) override;
    bool OnKey(int key, bool shift, int* result) override;
    // Code 4 for an id the page does not have.
    void OnClose(int result) override;
};

std::string BuildWelcomeText();
