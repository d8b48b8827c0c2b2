#include "game/dialogs/play/death_dlg.h"

#include <memory>

#include "game/app.h"
#include "ui/product_title.h"
#include "ui/ui_button.h"
#include "ui/ui_group.h"
#include "ui/ui_image.h"
#include "ui/ui_manager.h"
#include "ui/ui_text_element.h"

namespace {

constexpr int kDeathPicture = 107;

}  // namespace

std::string BuildDeathText() {
    const std::string title = GetProductTitle();
    return "Your party has been wiped out! LINE LINE But never fear, in " + title +
           ", when your party is killed, they are promptly resurrected and ready to adventure again. LINE LINE "
           "If you are finding " +
           title +
           " too challenging, you can lower the difficulty level, either with the Difficulty Level button below, "
           "or in the game menu.";
}

void CDeathDlg::CreateControls(RECT area, DRAVUI::CUIManager& container) {
    const auto config = container.GetConfig();
    auto outer = std::make_shared<DRAVUI::CUIGroup>("", false, false, 0u, 16, config);

    auto body = std::make_shared<DRAVUI::CUIGroup>("", true, false, 0u, 16, config);
    auto picture = std::make_shared<DRAVUI::CUIImage>(config, kDeathPicture, kPage);
    picture->SetSize(258, 482);
    body->AddChild(picture);
    auto text = std::make_shared<DRAVUI::CUITextElement>(config, kPage, BuildDeathText(), false, true);
    text->SetSize(480, 480);
    body->AddChild(text);
    outer->AddChild(body);

    auto buttons = std::make_shared<DRAVUI::CUIGroup>("", true, false, 0u, 16, config);
    const int width = config->Pick(256, 192);
    for (auto [id, label] : {std::pair{kDifficulty, "Difficulty Level"}, std::pair{kDone, "Done"}}) {
        auto button = std::make_shared<DRAVUI::CUITextButton>(id, label, config);
        button->SetSize(width, 32);
        buttons->AddChild(button);
    }
    outer->AddChild(buttons);

    outer->CenterOn(RectCenter(area));
    container.AddElement(outer);
}

void CDeathDlg::OnClose(int result) {
    if (result == kDifficulty) m_app->ShowDifficultyDlg();
}
