#include "game/dialogs/play/game_menu_dlg.h"

#include <memory>
#include <utility>
#include <vector>

#include "game/app.h"
#include "game/dialogs/front/start_dlg.h"
#include "game/identity.h"
#include "ui/ui_button.h"
#include "ui/ui_manager.h"

void CDRAVGameMenuDlg::CreateControls(RECT area, DRAVUI::CUIManager& container) {
    const auto config = container.GetConfig();
    const std::vector<std::pair<int, std::string>> buttons = {
        {kReturnToGame, "Return to Game"}, {kMainMenu, "Main Menu"},          {kManual, "Manual"},
        {kAbout, "About " + GetInternalName()}, {kDifficulty, "Difficulty Level"}, {kVolume, "Volume"}};
    const int width = config->Pick(256, 192);
    const int height = static_cast<int>(buttons.size()) * 32 + (static_cast<int>(buttons.size()) - 1) * 16;
    const POINT centre = RectCenter(area);
    LONG top = centre.y - height / 2;
    for (const auto& [id, label] : buttons) {
        auto button = std::make_shared<DRAVUI::CUITextButton>(id, label, config);
        button->SetRect(RECT{centre.x - width / 2, top, centre.x - width / 2 + width, top + 32});
        container.AddElement(button);
        top += 32 + 16;
    }
}

void CDRAVGameMenuDlg::OnClose(int result) {
    switch (result) {
        case kMainMenu:
            // A game that could not be saved goes on rather than being lost.
            if (!m_app->SaveGame()) return;
            m_app->EndGame();
            m_app->SetDialog(true, std::make_shared<CStartDlg>(m_app));
            return;
        case kManual:
            m_app->OpenManual("");
            return;
        case kAbout:
            m_app->ShowAboutDlg();
            return;
        case kDifficulty:
            m_app->ShowDifficultyDlg();
            return;
        case kVolume:
            m_app->ShowVolumeDlg(true);
            return;
        default:
            return;
    }
}
