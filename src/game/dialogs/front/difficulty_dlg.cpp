#include "game/dialogs/front/difficulty_dlg.h"

#include <memory>

#include "engine/engine.h"
#include "game/app.h"
#include "rules/vocabulary/difficulty.h"
#include "ui/ui_button.h"
#include "ui/ui_group.h"
#include "ui/ui_manager.h"
#include "ui/ui_text_element.h"
#include "world/game.h"

std::string BuildDifficultyText() {
    std::string text = "You can alter the difficulty level of your game: LINE LINE ";
    for (int level = 0; level < DRAV::kDifficultyCount; ++level)
        text += DRAV::GetDifficultyDescription(static_cast<DRAV::Difficulty>(level)) + " LINE LINE ";
    return text;
}

void CDifficultyDlg::CreateControls(RECT area, DRAVUI::CUIManager& container) {
    const auto config = container.GetConfig();
    auto outer = std::make_shared<DRAVUI::CUIGroup>("", true, false, 0u, 16, config);
    auto column = std::make_shared<DRAVUI::CUIGroup>("", false, false, 0u, 16, config);
    const int width = config->Pick(256, 192);
    for (int level = 0; level < DRAV::kDifficultyCount; ++level) {
        auto button = std::make_shared<DRAVUI::CUITextButton>(
            kFirstLevel + level, DRAV::GetDifficultyName(static_cast<DRAV::Difficulty>(level)), config);
        button->SetSize(width, 32);
        if (level == m_level) button->SetFlag(DRAVUI::UIF_SELECTED, true);
        column->AddChild(button);
    }
    auto cancel = std::make_shared<DRAVUI::CUITextButton>(kCancel, "Cancel", config);
    cancel->SetSize(width, 32);
    column->AddChild(cancel);
    outer->AddChild(column);

    auto text = std::make_shared<DRAVUI::CUITextElement>(config, 0, BuildDifficultyText(), false, true);
    text->SetSize(488, config->Pick(456, 264));
    outer->AddChild(text);

    outer->CenterOn(RectCenter(area));
    container.AddElement(outer);
}

void CDifficultyDlg::OnClose(int result) {
    if (result < kFirstLevel || result >= kFirstLevel + DRAV::kDifficultyCount) return;
    const std::shared_ptr<DRAV::CEngine>& engine = m_app->GetEngine();
    if (!engine || !engine->GetGame()) return;
    const auto level = static_cast<DRAV::Difficulty>(result - kFirstLevel);
    engine->GetGame()->SetDifficulty(level);
    m_app->AppendMessage("Setting difficulty level to " + DRAV::GetDifficultyName(level) + ".");
}
