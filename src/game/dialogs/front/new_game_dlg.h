#pragma once
// The first steps of a new game: "New Game" greets the player and starts chapter
// 1, or opens "Select Chapter", which lists the chapters up to the first one not
// installed and starts any installed one with a choice of the starting level.

#include "game/dialogs/dialog.h"

class CDRAVChapterInfo;
class ChapterInfoMap;

class CNewGameDlg : public CDRAVDlg {
public:
    static constexpr int kStartGame = 1;
    static constexpr int kAdvancedOptions = 2;
    static constexpr int kCancel = 3;

    CNewGameDlg(CDRAVApp* app, const CDRAVChapterInfo* chapter) : CDRAVDlg(app), m_chapter(chapter) {}

    std::string GetTitle() override { return "New Game"; }
    void CreateControls(RECT area, DRAVUI::CUIManager& container) override;
    bool OnButton(int id) override { return id == kStartGame || id == kAdvancedOptions || id == kCancel; }
    bool OnKey(int key, bool shift, int* result) override;
    void OnClose(int result) override;

private:
    const CDRAVChapterInfo* m_chapter;
};

class CNewGameChapterDlg : public CDRAVDlg {
public:
    static constexpr int kCancel = 1;
    static constexpr int kFirstInfo = 100;  // chapter n: 99 + n
    static constexpr int kFirstPlay = 200;  // chapter n: 199 + n
    static constexpr int kAbsentPicture = 84;

    CNewGameChapterDlg(CDRAVApp* app, const ChapterInfoMap* chapters) : CDRAVDlg(app), m_chapters(chapters) {}

    std::string GetTitle() override { return "Select Chapter"; }
    void CreateControls(RECT area, DRAVUI::CUIManager& container) override;
    bool OnButton(int id) override;
    bool OnKey(int key, bool shift, int* result) override;
    void OnClose(int result) override;

private:
    int ChapterCount() const;
    const ChapterInfoMap* m_chapters;
};

std::string BuildNewGameText();
