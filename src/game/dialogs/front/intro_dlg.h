#pragma once
// The chapter's introduction when play in it begins: its picture, number, title
// and introduction text, and "Done" (1).

#include "game/chapter_info.h"
#include "game/dialogs/dialog.h"

class CIntroDlg : public CDRAVDlg {
public:
    static constexpr int kDone = 1;

    CIntroDlg(CDRAVApp* app, CDRAVChapterInfo* chapter) : CDRAVDlg(app), m_chapter(chapter) {}

    std::string GetTitle() override { return m_chapter->m_text1; }
    void CreateControls(RECT area, DRAVUI::CUIManager& container) override;
    bool OnButton(int id) override { return id == kDone; }
    void OnClose(int) override {}

private:
    CDRAVChapterInfo* m_chapter;
};
