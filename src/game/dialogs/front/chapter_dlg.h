#pragma once
// The page of one chapter: an installed chapter's picture, number, title, version
// and introduction; for a missing one what the chapter before announces of it and
// a button to its purchase-information page. Every close leads to a new front page.

#include <string>

#include "game/dialogs/dialog.h"

class CDRAVChapterInfo;

class CChapterDlg : public CDRAVDlg {
public:
    static constexpr int kDone = 1;
    static constexpr int kPurchaseInfo = 3;

    // Code 4 when the table has no such chapter, or when a missing chapter has
    // none before it to announce it.
    CChapterDlg(CDRAVApp* app, int chapterNumber);

    std::string GetTitle() override;
    void CreateControls(RECT area, DRAVUI::CUIManager& container) override;
    bool OnButton(int id) override { return id == kDone || id == kPurchaseInfo; }
    void OnClose(int result) override;

    bool IsChapterAbsent() const { return m_chapterAbsent; }
    std::string BuildChapterText() const;

private:
    bool m_chapterAbsent;
    CDRAVChapterInfo* m_chapter;
    CDRAVChapterInfo* m_previousChapter;
};

// The product's web page, "/", the chapter number and ".html".
std::string ChapterPurchasePage(int chapterNumber);
