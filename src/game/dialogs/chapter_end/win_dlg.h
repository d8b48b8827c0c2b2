#pragma once
// The pages that end a chapter: the pictures and texts of the chapter's
// "win.drav", then a closing page with the way on. Each page is its own dialog;
// moving on makes a new one holding the pages left.

#include <deque>
#include <string>

#include "common/data_file.h"
#include "game/dialogs/dialog.h"

struct WinPage {
    int kind;
    std::string picture;
    std::string text;
};

class CWinDlg : public CDRAVDlg {
public:
    static constexpr int kNext = 1;  // also "Exit" on the last page
    static constexpr int kWebsite = 2;
    static constexpr int kNextChapter = 3;

    // First page: reads "win.drav" and appends the closing page.
    CWinDlg(CDRAVApp* app, DRAVCommon::CDataFileFactory* source, std::string title, const std::string& closingText,
            bool nextChapterPresent, bool nextChapterAbsent);
    // A following page: the pages as given.
    CWinDlg(CDRAVApp* app, DRAVCommon::CDataFileFactory* source, std::string title, std::deque<WinPage> pages,
            bool nextChapterPresent, bool nextChapterAbsent);

    std::string GetTitle() override { return m_title; }
    void CreateControls(RECT area, DRAVUI::CUIManager& container) override;
    bool OnButton(int id) override;
    void OnClose(int result) override;

    // Appends the pages of "win.drav"; a missing or damaged file keeps those read.
    void LoadPages();
    const std::deque<WinPage>& GetPages() const { return m_pages; }
    // The chapter whose pages and pictures these are.
    DRAVCommon::CDataFileFactory* GetSource() const { return m_source; }

private:
    bool IsLastPage() const { return m_pages.size() == 1; }

    DRAVCommon::CDataFileFactory* m_source;
    std::string m_title;
    std::deque<WinPage> m_pages;
    bool m_nextChapterPresent;
    bool m_nextChapterAbsent;
};

// The closing page's text: the chapter's closing text, the thanks where the game
// ends (no chapter follows), and the site the front page gives.
std::string BuildClosingPageText(const std::string& closingText, bool gameEnds);
