#include "game/dialogs/creation/cc_dlg.h"

#include "game/app.h"
#include "game/chapter_info.h"
#include "game/dialogs/creation/cc_choice_dlg.h"
#include "game/dialogs/front/start_dlg.h"
#include "game/dialogs/sheet/monster_dlg.h"
#include "game/dialogs/text_dlg.h"
#include "platform/win32/virtual_keys.h"
#include "ui/ui_background.h"
#include "ui/ui_button.h"
#include "ui/ui_group.h"
#include "ui/ui_hover_window.h"
#include "ui/ui_manager.h"
#include "ui/ui_text_element.h"

namespace {

std::shared_ptr<DRAVUI::CUIImageButton> MakeIcon(const std::shared_ptr<DRAVUI::CUIConfig>& config, int id, int image,
                                                 const std::string& title, const std::string& text) {
    auto icon = std::make_shared<DRAVUI::CUIImageButton>(config, id, image);
    icon->SetSize(40, 40);
    icon->SetFlag(DRAVUI::UIF_CENTRED, true);
    icon->SetInfoNoAction(title, text);
    return icon;
}

}  // namespace

POINT CreationPageSize(const DRAVUI::CUIConfig& config, bool creationPage) {
    if (creationPage) return POINT{config.Pick(816, 640), config.Pick(512, 480)};
    return POINT{WideDialogWidth(config), WideDialogHeight(config)};
}

void CCCDlg::CreateControls(RECT area, DRAVUI::CUIManager& container) {
    const auto config = container.GetConfig();
    const bool creationPage = IsCreationPage();
    const POINT size = CreationPageSize(*config, creationPage);
    const RECT page = CenteredBox(area, size.x, size.y);

    // Sized but neither drawn nor hit: the frame drawn by Create then spans the page.
    auto background = std::make_shared<DRAVUI::CUIBackground>(config);
    background->SetRect(page);
    background->SetFlag(DRAVUI::UIF_SHOWN, false);
    container.AddElement(background);

    auto hover = std::make_shared<DRAVUI::CUIHoverWindow>(config);
    hover->SetRect(RECT{page.left + 16, page.top + 16, page.left + 16 + DRAVUI::CUIHoverWindow::WindowWidth(*config),
                        page.top + config->Pick(130, 94)});
    container.AddElement(hover);

    // A page spending a member's points in play has no new actor to show.
    auto icons = std::make_shared<DRAVUI::CUIGroup>("", true, false, 0u, 16, config);
    icons->AddChild(MakeIcon(config, kHelp, 77, creationPage ? "Help" : "Manual", ""));
    if (m_actor) icons->AddChild(MakeIcon(config, kCharacter, 82, "Character", "Details"));
    icons->AddChild(MakeIcon(config, kCancel, 11, "Cancel", ""));
    const RECT* iconRect = icons->GetRect();
    const LONG iconWidth = iconRect->right - iconRect->left;
    icons->SetRect(RECT{page.right - iconWidth, page.top, page.right, page.top + (iconRect->bottom - iconRect->top)});
    container.AddElement(icons);

    LONG top = page.top + config->Pick(144, 112);
    if (creationPage && !HideDescription()) {
        auto description = std::make_shared<DRAVUI::CUITextElement>(config, 0, GetDescription(), true, true);
        description->SetRect(RECT{page.left, top, page.right, top + 160});
        container.AddElement(description);
        top += 160;
    }
    CreatePage(RECT{page.left, top, page.right, page.bottom}, container);
}

bool CCCDlg::OnButton(int id) {
    switch (id) {
        case kCancel:
            return true;
        case kCharacter:
            if (m_actor) m_app->SetDialog(false, std::make_shared<CMonsterDlg>(m_app, *m_actor));
            return false;
        case kHelp:
            if (IsCreationPage())
                m_app->OpenManual(GetManualAnchor());
            else
                m_app->SetDialog(false, CTextDlg::CTextDlgWithAnchor(m_app, GetTitle(), GetDescription(), GetManualAnchor()));
            return false;
        default:
            return false;
    }
}

void CCCDlg::ShowDescription() {
    if (IsCreationPage()) return;
    m_app->SetDialog(true, CTextDlg::CTextDlgWithAnchor(m_app, GetTitle(), GetDescription(), GetManualAnchor()));
}

bool CCCDlg::OnKey(int key, bool, int* result) {
    *result = 0;
    if (key == static_cast<int>(VK_ESCAPE)) {
        *result = kCancel;
        return true;
    }
    if (key == kHelpKey) OnButton(kHelp);
    return false;
}

void CCCDlg::OnClose(int result) {
    if (result != kCancel) return;
    m_app->EndGame();
    m_app->SetDialog(true, std::make_shared<CStartDlg>(m_app));
}

void OpenCreationWizard(CDRAVApp* app, const CDRAVChapterInfo* chapter, bool chooseLevel,
                        std::shared_ptr<DRAV::CActor> actor) {
    if (chooseLevel)
        app->SetDialog(true, std::make_shared<CCCLevelDlg>(chapter, app, std::move(actor)));
    else
        app->SetDialog(true, std::make_shared<CCCGenderDlg>(app, std::move(actor)));
}
