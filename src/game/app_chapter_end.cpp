#include <memory>

#include "engine/engine.h"
#include "game/app.h"
#include "game/dialogs/chapter_end/win_dlg.h"
#include "rules/module.h"
#include "world/game.h"

// The closing text is taken by the first page, so the end pages open once
// however many dialogs close while the game waits in its won state.
void CDRAVApp::OnChapterComplete(bool quiet) {
    DRAV::CGame& game = *m_engine->GetGame();
    const int chapter = m_engine->GetModule()->GetChapter();
    const CDRAVChapterInfo* running = m_chapterTable.Find(chapter);
    bool nextPresent = false;
    bool nextAbsent = false;
    if (running && running->m_chapterCount != chapter) {
        const CDRAVChapterInfo* next = m_chapterTable.Find(chapter + 1);
        nextPresent = next && next->m_state == CDRAVChapterInfo::kStatePresent;
        nextAbsent = !nextPresent;
    }
    // The chapter table outlives the engine, which the next chapter replaces.
    DRAVCommon::CDataFileFactory* source = running ? running->m_package.get() : m_engine->GetDataSource().get();
    const std::string closingText = game.TakeClosingText();
    SetDialog(quiet, std::make_shared<CWinDlg>(this, source, "Congratulations!", closingText, nextPresent, nextAbsent));
}
