#include "game/dialogs/maps/help_dlg.h"

#include <algorithm>
#include <memory>

#include "common/exception.h"
#include "game/app.h"
#include "ui/ui_button.h"
#include "ui/ui_group.h"
#include "ui/ui_image.h"
#include "ui/ui_list_element.h"
#include "ui/ui_manager.h"
#include "ui/ui_text_element.h"

namespace {

constexpr std::uint32_t kHighlighted = 4;

const HelpPage* PageRow(std::int32_t pageId) {
    const HelpPage* page = &HelpPages[static_cast<std::size_t>(pageId)];
    if (page->id != pageId) throw CDRAVException(DRAV_ERR_UNEXPECTED, "");
    return page;
}

}  // namespace

CHelpDlg::CHelpDlg(CDRAVApp* app, std::int32_t pageId) : CDRAVDlg(app), m_page(PageRow(pageId)), m_showPageList(true) {}

CHelpDlg::CHelpDlg(CDRAVApp* app, std::int32_t pageId, std::string text)
    : CDRAVDlg(app), m_page(PageRow(pageId)), m_extraText(std::move(text)), m_showPageList(false) {}

std::string CHelpDlg::GetTitle() { return std::string("Help - ") + m_page->title; }

std::string CHelpDlg::BuildText() const {
    if (m_extraText.empty()) return m_page->text;
    return m_page->text + " LINE LINE " + m_extraText;
}

void CHelpDlg::CreateControls(RECT area, DRAVUI::CUIManager& container) {
    const auto config = container.GetConfig();
    auto outer = std::make_shared<DRAVUI::CUIGroup>("", false, false, 0u, 16, config);
    auto pageRow = std::make_shared<DRAVUI::CUIGroup>("", true, false, 0u, 16, config);
    auto pageColumn = std::make_shared<DRAVUI::CUIGroup>("", false, false, 0u, 16, config);

    const int shotWidth = config->Pick(480, 512);
    const int shotHeight = config->Pick(360, 384);
    auto screenshot = std::make_shared<DRAVUI::CUIImage>(config, m_page->pictureId, kScreenshot);
    screenshot->SetSize(shotWidth, shotHeight);
    pageColumn->AddChild(screenshot);

    const int textHeight = config->Pick(140, 160);
    auto text = std::make_shared<DRAVUI::CUITextElement>(config, 0, BuildText(), true, true);
    text->SetSize(config->Pick(800, 512), textHeight);
    pageColumn->AddChild(text);

    m_pageList = nullptr;
    if (m_showPageList) {
        auto list = std::make_shared<DRAVUI::CUIListElement>(config, 0, "", 32, 1, 192);
        list->SetSize(216, shotHeight + textHeight + 16);
        for (const HelpPage& row : HelpPages) {
            auto entry = std::make_shared<DRAVUI::CUITextButton>(kFirstPageEntry + row.id, row.title, config);
            entry->SetSize(192, 32);
            if (row.id == m_page->id) entry->SetFlag(kHighlighted, true);
            list->AddCell(0, entry);
        }
        pageRow->AddChild(list);
        m_pageList = list.get();
        if (m_restoreScroll) {
            auto& bar = list->ScrollBar();
            bar.m_position = std::min(m_scrollPos, bar.m_range);
            bar.UpdateThumb();
            m_restoreScroll = false;
        }
    }
    pageRow->AddChild(pageColumn);
    outer->AddChild(pageRow);

    auto buttons = std::make_shared<DRAVUI::CUIGroup>("", true, false, 0u, 16, config);
    auto addButton = [&](int id, const char* label, int width) {
        auto button = std::make_shared<DRAVUI::CUITextButton>(id, label, config);
        button->SetSize(width, 32);
        buttons->AddChild(button);
    };
    if (!m_showPageList) addButton(kDisableTutorial, "Disable Tutorial", config->Pick(160, 128));
    const int width = config->Pick(80, 64);
    addButton(kShortcuts, "Shortcuts", width);
    addButton(kManual, "Manual", width);
    addButton(kWebsite, "Website", width);
    addButton(kExit, "Exit", width);
    outer->AddChild(buttons);

    container.AddElement(outer);
    outer->CenterOn(RectCenter(area));
}

bool CHelpDlg::OnButton(int id) {
    if (id >= kFirstPageEntry && id < kFirstPageEntry + kHelpPageCount) {
        m_scrollPos = m_pageList ? m_pageList->ScrollBar().m_position : 0;
        return true;
    }
    return id != 0;
}

void CHelpDlg::OnClose(int result) {
    if (result >= kFirstPageEntry && result < kFirstPageEntry + kHelpPageCount) {
        auto next = std::make_shared<CHelpDlg>(m_app, result - kFirstPageEntry);
        next->m_restoreScroll = true;
        next->m_scrollPos = m_scrollPos;
        m_app->SetDialog(true, next);
        return;
    }
    switch (result) {
        case kScreenshot:
            if (m_page->nextPage != kHelpPageCount) m_app->SetDialog(true, std::make_shared<CHelpDlg>(m_app, m_page->nextPage));
            return;
        case 0:
        case kExit:
            return;
        case kManual:
            m_app->OpenManual("");
            return;
        case kWebsite:
            m_app->OpenWebsite();
            return;
        case kShortcuts:
            m_app->ShowShortcutsHelp();
            return;
        case kDisableTutorial:
            m_app->SetTutorialDisabled(true);
            return;
        default:
            throw CDRAVException(DRAV_ERR_UNEXPECTED, "");
    }
}
