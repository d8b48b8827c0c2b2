#include "game/dialogs/chapter_end/win_dlg.h"

#include <memory>

#include "common/data_file_reader.h"
#include "common/exception.h"
#include "game/app.h"
#include "game/dialogs/front/chapter_picture.h"
#include "game/identity.h"
#include "ui/product_title.h"
#include "ui/ui_button.h"
#include "ui/ui_group.h"
#include "ui/ui_manager.h"
#include "ui/ui_text_element.h"

std::string BuildClosingPageText(const std::string& closingText, bool gameEnds) {
    // The thanks come straight after the story, where the page shows them without a
    // scroll however long the story runs; the site is the one the front page gives and
    // Launch Website opens.
    const std::string thanks = gameEnds ? " LINE LINE Thank you for playing " + GetProductTitle() + "!" : "";
    return closingText + thanks + " LINE LINE For more information on " + GetProductTitle() +
           ", visit our site: LINE LINE " + GetProductWebsite() + " LINE ";
}

CWinDlg::CWinDlg(CDRAVApp* app, DRAVCommon::CDataFileFactory* source, std::string title,
                 const std::string& closingText, bool nextChapterPresent, bool nextChapterAbsent)
    : CDRAVDlg(app),
      m_source(source),
      m_title(std::move(title)),
      m_nextChapterPresent(nextChapterPresent),
      m_nextChapterAbsent(nextChapterAbsent) {
    LoadPages();
    m_pages.push_back(WinPage{DRAVCommon::DFK_CHAPTER, "chapter.jpg",
                              BuildClosingPageText(closingText, !nextChapterPresent && !nextChapterAbsent)});
}

CWinDlg::CWinDlg(CDRAVApp* app, DRAVCommon::CDataFileFactory* source, std::string title, std::deque<WinPage> pages,
                 bool nextChapterPresent, bool nextChapterAbsent)
    : CDRAVDlg(app),
      m_source(source),
      m_title(std::move(title)),
      m_pages(std::move(pages)),
      m_nextChapterPresent(nextChapterPresent),
      m_nextChapterAbsent(nextChapterAbsent) {}

void CWinDlg::LoadPages() {
    if (!m_source) return;
    try {
        DRAVCommon::CDataFileReader reader(*m_source, DRAVCommon::DFK_CHAPTER, DRAVCommon::DFS_NONE, "win.drav");
        reader.BeginBlock("win");
        while (reader.IsBlock("page")) {
            reader.BeginBlock("page");
            std::string picture = reader.ReadQuoted();
            std::string text = reader.ReadQuoted();
            m_pages.push_back(WinPage{DRAVCommon::DFK_UI, std::move(picture), std::move(text)});
            reader.EndBlock();
        }
        reader.EndBlock();
    } catch (const CDRAVException& failure) {
        // A chapter without end pages, or with a damaged file, still ends on the
        // pages read so far and the closing page.
        if (failure.GetCode() != DRAV_ERR_BAD_DATA) throw;
    }
}

void CWinDlg::CreateControls(RECT area, DRAVUI::CUIManager& container) {
    const auto config = container.GetConfig();
    const WinPage& page = m_pages.front();
    auto group = std::make_shared<DRAVUI::CUIGroup>(m_title, false, false, 0u, 16, config);

    // A picture that cannot be read leaves an empty frame of the same size, so the
    // chapter end always goes on to its closing page.
    auto picture =
        MakeChapterPicture(config, m_source, page.picture, static_cast<DRAVCommon::DataFileKind>(page.kind));
    picture->SetSize(config->Pick(514, 730), config->Pick(258, 366));
    group->AddChild(picture);

    auto text = std::make_shared<DRAVUI::CUITextElement>(config, 0, page.text, true, true);
    text->SetSize(config->Pick(960, 600), config->Pick(232, 168));
    group->AddChild(text);

    auto row = std::make_shared<DRAVUI::CUIGroup>("", true, false, 0u, 16, config);
    auto addButton = [&](int id, const char* label, int large, int small) {
        auto button = std::make_shared<DRAVUI::CUITextButton>(id, label, config);
        button->SetSize(config->Pick(large, small), 32);
        row->AddChild(button);
    };
    if (!IsLastPage()) {
        addButton(kNext, "Next", 80, 64);
    } else {
        if (m_nextChapterPresent)
            addButton(kNextChapter, "Play Next Chapter", 320, 256);
        else if (m_nextChapterAbsent)
            addButton(kNextChapter, "Next Chapter Purchase Info", 320, 256);
        addButton(kWebsite, "Launch Website", 320, 256);
        addButton(kNext, "Exit", 80, 64);
    }
    group->AddChild(row);

    container.AddElement(group);
    group->CenterOn(RectCenter(area));
}

bool CWinDlg::OnButton(int id) {
    if (id == kNext || id == kNextChapter) return true;
    if (id == kWebsite) m_app->OpenWebsite();
    return false;
}

void CWinDlg::OnClose(int result) {
    if (IsLastPage()) {
        // The save error has been told; the page stays for another try.
        if (!m_app->ReturnToMainMenu(result == kNextChapter))
            m_app->SetDialog(true, std::make_shared<CWinDlg>(m_app, m_source, m_title, m_pages, m_nextChapterPresent,
                                                             m_nextChapterAbsent));
        return;
    }
    std::deque<WinPage> rest(m_pages.begin() + 1, m_pages.end());
    m_app->SetDialog(true, std::make_shared<CWinDlg>(m_app, m_source, m_title, std::move(rest), m_nextChapterPresent,
                                                     m_nextChapterAbsent));
}
