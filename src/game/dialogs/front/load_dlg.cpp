#include "game/dialogs/front/load_dlg.h"

#include <filesystem>
#include <system_error>

#include "game/app.h"
#include "game/dialogs/front/chapter_dlg.h"
#include "game/dialogs/front/start_dlg.h"
#include "game/dialogs/chapter_end/win_dlg.h"
#include "game/identity.h"
#include "platform/win32/file_path.h"
#include "ui/ui_button.h"
#include "ui/ui_group.h"
#include "ui/ui_list_element.h"
#include "ui/ui_manager.h"
#include "ui/ui_text_element.h"

LoadRoute ChooseLoadRoute(const CLoadInfoItem& row, const ChapterInfoMap& table) {
    if (!row.m_chapterCompleted) return LoadRoute::Load;
    const CDRAVChapterInfo* chapter = table.Find(row.m_chapter);
    if (!chapter) return LoadRoute::Unknown;
    if (chapter->m_chapterCount == row.m_chapter) return LoadRoute::Congratulations;
    const CDRAVChapterInfo* next = table.Find(row.m_chapter + 1);
    if (!next) return LoadRoute::Unknown;
    return next->m_state == CDRAVChapterInfo::kStatePresent ? LoadRoute::Load : LoadRoute::ChapterPage;
}

CLoadDlg::CLoadDlg(CDRAVApp* app) : CDRAVDlg(app), m_list(app->ListSavedGames()) {}

void CLoadDlg::CreateControls(RECT area, DRAVUI::CUIManager& container) {
    const auto config = container.GetConfig();
    const int titleWidth = config->Pick(640, 500);
    auto column = std::make_shared<DRAVUI::CUIGroup>("", false, false, 0u, 16, config);

    auto text = std::make_shared<DRAVUI::CUITextElement>(
        config, 0, "Please select the game to load. LINE LINE Use the Delete button to remove unwanted games.", false,
        true);
    text->SetSize(titleWidth, config->Pick(96, 64));
    column->AddChild(text);

    auto list = std::make_shared<DRAVUI::CUIListElement>(config, 0, "", 32, std::vector<int>{titleWidth, 100});
    list->SetSize(titleWidth + 100, 176);
    const std::size_t rows = std::min<std::size_t>(m_list->m_items.size(), kMostRows);
    for (std::size_t i = 0; i < rows; ++i) {
        const int row = static_cast<int>(i);
        auto title = std::make_shared<DRAVUI::CUITextButton>(kFirstGame + row, m_list->m_items[i]->m_title, config);
        title->SetSize(titleWidth, 32);
        // Left-aligned, and a right click is no continue.
        title->SetFlag(DRAVUI::UIF_CENTRED | DRAVUI::UIF_ALT_IS_CLICK, false);
        list->AddCell(0, title);
        auto remove = std::make_shared<DRAVUI::CUITextButton>(kFirstDelete + row, "Delete", config);
        remove->SetSize(100, 32);
        list->AddCell(1, remove);
    }
    column->AddChild(list);

    auto cancel = std::make_shared<DRAVUI::CUITextButton>(kCancel, "Cancel", config);
    cancel->SetSize(config->Pick(256, 192), 32);
    column->AddChild(cancel);

    column->CenterOn(RectCenter(area));
    container.AddElement(column);
}

bool CLoadDlg::OnButton(int id) { return id == kCancel || (id >= kFirstGame && id < kFirstDelete + kMostRows); }

void CLoadDlg::OnClose(int result) {
    const int rows = static_cast<int>(std::min<std::size_t>(m_list->m_items.size(), kMostRows));
    if (result >= kFirstGame && result < kFirstGame + rows) {
        Continue(*m_list->m_items[result - kFirstGame]);
        return;
    }
    if (result >= kFirstDelete && result < kFirstDelete + rows) {
        m_app->SetDialog(true,
                         std::make_shared<CLoadDlgConfirm>(m_app, m_list, m_list->m_items[result - kFirstDelete].get()));
        return;
    }
    m_app->SetDialog(true, std::make_shared<CStartDlg>(m_app));
}

void CLoadDlg::Continue(const CLoadInfoItem& row) {
    switch (ChooseLoadRoute(row, m_app->GetChapterTable())) {
        case LoadRoute::Congratulations:
            // Nothing is loaded: the end of the chapter the save completed is shown
            // again, its own pages over its own pictures, closing as it closed.
            m_app->SetDialog(
                true, std::make_shared<CWinDlg>(
                          m_app, m_app->GetChapterTable().at(row.m_chapter)->m_package.get(), "Congratulations!",
                          row.m_ending.empty() ? "You have completed " + GetProductTitle() + "." : row.m_ending,
                          false, false));
            return;
        case LoadRoute::ChapterPage:
            m_app->SetDialog(true, std::make_shared<CChapterDlg>(m_app, row.m_chapter + 1));
            return;
        case LoadRoute::Unknown:
            m_app->ShowError("Failed to load \"" + row.m_path + "\".", "Load Error");
            break;
        case LoadRoute::Load:
            if (m_app->LoadGame(row.m_path, row.m_chapter, row.m_chapterCompleted)) return;
            break;
    }
    m_app->SetDialog(true, std::make_shared<CStartDlg>(m_app));
}

CLoadDlgConfirm::CLoadDlgConfirm(CDRAVApp* app, std::shared_ptr<CLoadInfo> list, const CLoadInfoItem* row)
    : CYesNoDlg(app, "Delete Game?", "Do you want to delete the game " + row->m_name + "?"),
      m_list(std::move(list)),
      m_row(row) {}

void CLoadDlgConfirm::OnYes() {
    std::error_code error;
    if (!std::filesystem::remove(Win32::NativePath(m_row->m_path), error) || error)
        m_app->ShowError("Failed to delete \"" + m_row->m_path + "\".", "Delete Error");
    m_app->SetDialog(true, std::make_shared<CLoadDlg>(m_app));
}

void CLoadDlgConfirm::OnNo() { m_app->SetDialog(true, std::make_shared<CLoadDlg>(m_app)); }
