#include "game/dialogs/front/new_game_dlg.h"

#include <memory>

#include "game/app.h"
#include "game/chapter_info.h"
#include "game/dialogs/front/chapter_dlg.h"
#include "game/dialogs/front/chapter_picture.h"
#include "game/dialogs/front/start_dlg.h"
#include "game/identity.h"
#include "platform/win32/virtual_keys.h"
#include "ui/ui_button.h"
#include "ui/ui_group.h"
#include "ui/ui_image.h"
#include "ui/ui_manager.h"
#include "ui/ui_static_text.h"
#include "ui/ui_text_element.h"

namespace {

using DRAVUI::CUIConfig;

std::shared_ptr<DRAVUI::CUIGroup> MakeChapterRow(const std::shared_ptr<CUIConfig>& config,
                                                 std::shared_ptr<DRAVUI::CUIElement> picture, const std::string& caption) {
    auto row = std::make_shared<DRAVUI::CUIGroup>("", true, true, 0u, 0, config);
    picture->SetSize(66, 66);
    row->AddChild(std::move(picture));
    auto text = std::make_shared<DRAVUI::CUIStaticText>(caption, 0, config);
    text->SetFlag(DRAVUI::UIF_ONE_LINE, true);
    text->SetSize(config->Pick(400, 300), 66);
    row->AddChild(text);
    return row;
}

std::string ChapterCaption(int number, const std::string& name) {
    return "Chapter " + std::to_string(number) + ": " + name;
}

std::shared_ptr<DRAVUI::CUITextButton> MakeButton(const std::shared_ptr<CUIConfig>& config, int id,
                                                  const std::string& label, int width) {
    auto button = std::make_shared<DRAVUI::CUITextButton>(id, label, config);
    button->SetSize(width, 32);
    return button;
}

}  // namespace

std::string BuildNewGameText() {
    return "Welcome to " + GetProductTitle() +
           "! It's time to create a new character. You will make a series of choices about who your hero is, and "
           "together they set the character's strengths for the whole game. LINE LINE Each choice is explained in "
           "the " +
           GetProductTitle() +
           " manual for more information on the pages that follow. LINE LINE A new game normally begins at Chapter "
           "1. Choose Advanced Options to begin at a different chapter and starting level instead.";
}

void CNewGameDlg::CreateControls(RECT area, DRAVUI::CUIManager& container) {
    const auto config = container.GetConfig();
    auto page = std::make_shared<DRAVUI::CUIGroup>("", false, false, 0u, 16, config);

    auto greeting = std::make_shared<DRAVUI::CUITextElement>(config, 0, BuildNewGameText(), true, true);
    greeting->SetSize(config->Pick(640, 512), config->Pick(248, 168));
    page->AddChild(greeting);

    // A missing or damaged picture leaves an empty square: the line keeps its shape.
    page->AddChild(MakeChapterRow(config, MakeChapterPicture(config, m_chapter->m_package.get(), "thumb.jpg"),
                                  ChapterCaption(m_chapter->m_chapterNumber, m_chapter->m_text1)));

    const int width = config->Pick(256, 192);
    page->AddChild(MakeButton(config, kStartGame, "Start Game", width));
    page->AddChild(MakeButton(config, kAdvancedOptions, "Advanced Options", width));
    page->AddChild(MakeButton(config, kCancel, "Cancel", width));

    page->CenterOn(RectCenter(area));
    container.AddElement(page);
}

bool CNewGameDlg::OnKey(int key, bool, int* result) {
    if (key != static_cast<int>(VK_ESCAPE)) return false;
    *result = kCancel;
    return true;
}

void CNewGameDlg::OnClose(int result) {
    switch (result) {
        case kStartGame:
            m_app->StartNewGame(m_chapter->m_chapterNumber, false);
            return;
        case kAdvancedOptions:
            m_app->SetDialog(true, std::make_shared<CNewGameChapterDlg>(m_app, &m_app->GetChapterTable()));
            return;
        case kCancel:
            m_app->SetDialog(true, std::make_shared<CStartDlg>(m_app));
            return;
        default:
            return;
    }
}

int CNewGameChapterDlg::ChapterCount() const { return static_cast<int>(m_chapters->size()); }

void CNewGameChapterDlg::CreateControls(RECT area, DRAVUI::CUIManager& container) {
    const auto config = container.GetConfig();
    const int buttonWidth = config->Pick(80, 64);
    auto page = std::make_shared<DRAVUI::CUIGroup>("", false, false, 0u, 16, config);
    for (int n = 1;; ++n) {
        const CDRAVChapterInfo* chapter = m_chapters->Find(n);
        if (!chapter) break;
        const bool present = chapter->m_state == CDRAVChapterInfo::kStatePresent;
        std::shared_ptr<DRAVUI::CUIGroup> row;
        if (present) {
            row = MakeChapterRow(config, MakeChapterPicture(config, chapter->m_package.get(), "thumb.jpg"),
                                 ChapterCaption(n, chapter->m_text1));
        } else {
            const CDRAVChapterInfo* previous = m_chapters->Find(n - 1);
            row = MakeChapterRow(config, std::make_shared<DRAVUI::CUIImage>(config, kAbsentPicture, 0),
                                 ChapterCaption(n, previous ? previous->m_text3 : std::string()));
        }
        row->AddChild(MakeButton(config, kFirstInfo - 1 + n, "Info", buttonWidth));
        auto play = MakeButton(config, kFirstPlay - 1 + n, "Play", buttonWidth);
        if (!present) play->SetFlag(DRAVUI::UIF_SHOWN, false);
        row->AddChild(play);
        page->AddChild(row);
        // Chapters past the first missing one are not announced yet.
        if (!present) break;
    }
    page->AddChild(MakeButton(config, kCancel, "Cancel", buttonWidth));
    page->CenterOn(RectCenter(area));
    container.AddElement(page);
}

bool CNewGameChapterDlg::OnButton(int id) {
    const int count = ChapterCount();
    return id == kCancel || (id >= kFirstInfo && id < kFirstInfo + count) ||
           (id >= kFirstPlay && id < kFirstPlay + count);
}

bool CNewGameChapterDlg::OnKey(int key, bool, int* result) {
    if (key != static_cast<int>(VK_ESCAPE)) return false;
    *result = kCancel;
    return true;
}

void CNewGameChapterDlg::OnClose(int result) {
    const int count = ChapterCount();
    if (result == kCancel) {
        m_app->SetDialog(true, std::make_shared<CStartDlg>(m_app));
    } else if (result >= kFirstInfo && result < kFirstInfo + count) {
        m_app->SetDialog(true, std::make_shared<CChapterDlg>(m_app, result - kFirstInfo + 1));
    } else if (result >= kFirstPlay && result < kFirstPlay + count) {
        const CDRAVChapterInfo* chapter = m_chapters->Find(result - kFirstPlay + 1);
        // Only installed chapters show "Play"; a stale click on another is ignored.
        if (chapter && chapter->m_state == CDRAVChapterInfo::kStatePresent)
            m_app->StartNewGame(result - kFirstPlay + 1, true);
        else
            m_app->SetDialog(true, std::make_shared<CStartDlg>(m_app));
    }
}
