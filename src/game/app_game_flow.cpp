#include "game/app.h"

#include <memory>

#include "common/exception.h"
#include "engine/engine.h"
#include "game/dialogs/chapter_dlg.h"
#include "game/dialogs/start_dlg.h"
#include "rules/definitions/travel_map.h"
#include "rules/module.h"
#include "world/game.h"

// The dialog stack, the game screen, the engine's events and the game's lifecycle
// are built on these operations; each comes with its own part of the shell.

void CDRAVApp::OnScreenButton(int) {}
void CDRAVApp::OnScreenAltClick(int) {}
void CDRAVApp::OnMouseMove(POINT) {}
void CDRAVApp::RenderGameView(int) {}
void CDRAVApp::GetCameraTarget() {}
void CDRAVApp::EndGame() {}
void CDRAVApp::CheckPartyAndChangeArea() {}
bool CDRAVApp::ProcessPendingEvents() { return false; }
void CDRAVApp::PumpEngineEvents() {}
void CDRAVApp::AppendMessage(const std::string&) {}
void CDRAVApp::UpdateAmbientSound() {}
void CDRAVApp::RefreshExitButtons(bool) {}

void CDRAVApp::ReturnToMainMenu(bool goToNextChapter) {
    const int chapter = m_engine && m_engine->GetModule() ? m_engine->GetModule()->GetChapter() : 1;
    if (m_gameRunning) {
        SaveGame();
        EndGame();
    }
    CDRAVChapterInfo* next = goToNextChapter ? m_chapterTable.Find(chapter + 1) : nullptr;
    if (next && next->m_state != CDRAVChapterInfo::kStatePresent) {
        SetDialog(true, std::make_shared<CChapterDlg>(this, chapter + 1));
        return;
    }
    SetDialog(true, std::make_shared<CStartDlg>(this));
}

void CDRAVApp::TravelToArea(const DRAV::CMap2Area& destination) {
    CheckPartyAndChangeArea();
    if (m_engine->GetGame()->GetStateCode() != DRAV::GAME_ON_MAP)
        throw CDRAVException(DRAV_ERR_OUT_OF_RANGE, "travel while the party is not on the map");
    m_engine->SetEntry(DRAV::AreaEntryPoint(destination.GetEntryArea(), destination.GetEntryName()));
    m_engine->EnterArea();
    m_gameRunning = true;
    ResumeClock();
}
