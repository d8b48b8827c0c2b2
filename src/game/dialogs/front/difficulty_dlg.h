#pragma once
// "Difficulty Level": the three levels with their descriptions; a choice is set
// in the game and announced in the message log.

#include <string>

#include "game/dialogs/dialog.h"

class CDifficultyDlg : public CDRAVDlg {
public:
    static constexpr int kCancel = 0;
    static constexpr int kFirstLevel = 100;

    CDifficultyDlg(CDRAVApp* app, int level) : CDRAVDlg(app), m_level(level) {}

    std::string GetTitle() override { return "Difficulty Level"; }
    void CreateControls(RECT area, DRAVUI::CUIManager& container) override;
    bool OnButton(int) override { return true; }
    void OnClose(int result) override;

private:
    int m_level;
};

std::string BuildDifficultyText();
