#include "game/dialogs/front/start_dlg.h"

#include <memory>

#include "common/exception.h"
#include "game/app.h"
#include "game/dialogs/front/chapter_dlg.h"
#include "game/dialogs/front/chapter_picture.h"
#include "game/dialogs/front/load_dlg.h"
#include "game/dialogs/front/new_game_dlg.h"
#include "game/identity.h"
#include "ui/ui_button.h"
#include "ui/ui_group.h"
#include "ui/ui_image.h"
#include "ui/ui_manager.h"
#include "ui/ui_text_element.h"

namespace {

using DRAVUI::CUIConfig;
using DRAVUI::CUIGroup;

std::shared_ptr<CUIGroup> MakeRow(const std::shared_ptr<CUIConfig>& config) {
    return std::make_shared<CUIGroup>("", true, false, 0u, 16, config);
}

std::shared_ptr<DRAVUI::CUITextButton> MakeButton(const std::shared_ptr<CUIConfig>& config, int id,
                                                  const std::string& label) {
    auto button = std::make_shared<DRAVUI::CUITextButton>(id, label, config);
    button->SetSize(config->Pick(256, 192), 32);
    return button;
}

// Installed chapters by their picture, the first missing one after an installed
// one as the purchase-information button, the rest blank.
std::shared_ptr<DRAVUI::CUIElement> MakeChapterButton(const std::shared_ptr<CUIConfig>& config,
                                                      const ChapterInfoMap& table, int n) {
    const int id = CStartDlg::kFirstChapter + n - 1;
    const CDRAVChapterInfo* chapter = table.Find(n);
    const CDRAVChapterInfo* previous = table.Find(n - 1);
    std::shared_ptr<DRAVUI::CUIImageButton> button;
    if (chapter && chapter->m_state == CDRAVChapterInfo::kStatePresent) {
        auto bytes = ReadChapterPicture(chapter->m_package.get(), "thumb.jpg");
        button = bytes ? std::make_shared<DRAVUI::CUIImageButton>(config, id, bytes)
                       : std::make_shared<DRAVUI::CUIImageButton>(config, id, 0);
    } else if (previous && previous->m_state == CDRAVChapterInfo::kStatePresent) {
        button = std::make_shared<DRAVUI::CUIImageButton>(config, id, CStartDlg::kPurchaseImage);
    } else {
        button = std::make_shared<DRAVUI::CUIImageButton>(config, 0, 0);
    }
    button->SetSize(66, 66);
    return button;
}

}  // namespace

std::string BuildWelcomeText() {
    return "Welcome to " + GetProductTitle() + " " + GetVersionText() + " by " + GetCompanyName() + ". LINE Visit " +
           GetProductWebsite() + ", or email " + GetSupportEmail() + ".";
}

void CStartDlg::CreateControls(RECT area, DRAVUI::CUIManager& container) {
    const auto config = container.GetConfig();
    const bool large = config->IsLarge();
    auto page = std::make_shared<CUIGroup>("", false, false, 0u, 16, config);

    auto logo = std::make_shared<DRAVUI::CUIImage>(config, kLogoImage, 0);
    logo->SetSize(730, 182);
    page->AddChild(logo);

    auto welcome = std::make_shared<DRAVUI::CUITextElement>(config, 0, BuildWelcomeText(), large, true);
    welcome->SetSize(large ? 800 : 600, large ? 104 : 72);
    page->AddChild(welcome);

    auto games = MakeRow(config);
    games->AddChild(MakeButton(config, kStartNewGame, "Start New Game"));
    games->AddChild(MakeButton(config, kLoadExistingGame, "Load Existing Game"));
    page->AddChild(games);

    auto reading = MakeRow(config);
    reading->AddChild(MakeButton(config, kManual, "Manual"));
    reading->AddChild(MakeButton(config, kAbout, "About " + GetInternalName()));
    page->AddChild(reading);

    page->AddChild(MakeButton(config, kExit, "Exit"));

    const ChapterInfoMap& table = m_app->GetChapterTable();
    auto strip = std::make_shared<CUIGroup>(large ? std::string() : GetProductTitle() + " Chapters", true, true, 0u,
                                            16, config);
    const CDRAVChapterInfo* first = table.Find(1);
    const int count = first ? first->m_chapterCount : 0;
    for (int n = 1; n <= count; ++n) strip->AddChild(MakeChapterButton(config, table, n));
    page->AddChild(strip);

    page->CenterOn(RectCenter(area));
    container.AddElement(page);
}

bool CStartDlg::OnButton(int id) {
    return (id >= kStartNewGame && id <= kExit) || (id >= kFirstChapter && id < kFirstChapter + 100);
}

bool CStartDlg::OnKey(int, bool, int*) { return false; }

void CStartDlg::OnClose(int result) {
    switch (result) {
        case kStartNewGame:
            m_app->SetDialog(true, std::make_shared<CNewGameDlg>(m_app, m_app->GetChapterTable().Find(1)));
            return;
        case kLoadExistingGame:
            m_app->SetDialog(true, std::make_shared<CLoadDlg>(m_app));
            return;
        case kManual:
            m_app->OpenManual("");
            m_app->SetDialog(true, std::make_shared<CStartDlg>(m_app));
            return;
        case kAbout:
            m_app->SetDialog(true, std::make_shared<CStartDlg>(m_app));
            m_app->ShowAboutDlg();
            return;
        case kExit:
            PostMessageA(m_app->GetWindow(), WM_CLOSE, 0, 0);
            return;
        default:
            break;
    }
    if (result >= kFirstChapter && result < kFirstChapter + 100) {
        m_app->SetDialog(true, std::make_shared<CChapterDlg>(m_app, result - kFirstChapter + 1));
        return;
    }
    throw CDRAVException(DRAV_ERR_UNEXPECTED);
}
