#include "common/exception.h"
#include "engine/engine.h"
#include "game/app.h"
#include "game/dialogs/creation/cc_dlg.h"
#include "game/dialogs/front/chapter_dlg.h"
#include "game/dialogs/play/death_dlg.h"
#include "game/dialogs/maps/exit_area_dlg.h"
#include "game/dialogs/front/intro_dlg.h"
#include "game/dialogs/front/start_dlg.h"
#include "game/identity.h"
#include "rules/definitions/travel_map.h"
#include "rules/kinds/formulas.h"
#include "world/actor.h"
#include "world/area.h"
#include "world/calendar_spent.h"
#include "world/game.h"

// A game from its start to its end: the chapter's engine, the new game, the ways
// out of an area and into the next, resting, the party's death and the end of a
// chapter. The engine does the rules work; this sequences it with the clock, the
// screen and the dialogs.

namespace {

std::string ChapterFailureText(const CDRAVException& failure, int chapter) {
    switch (failure.GetCode()) {
        case DRAV_ERR_MODULE_TOO_OLD:
            return "Your Chapter " + std::to_string(chapter) + " file is out of date. Please visit " +
                   GetProductWebsite() + " for information on obtaining the most recent version.";
        case DRAV_ERR_MODULE_TOO_NEW:
            return "The " + GetProductTitle() + " application is out of date. Please visit " + GetProductWebsite() +
                   " for information on obtaining the most recent version.";
        default:
            return "Failed to load chapter.";
    }
}

// Why an area failed to load, as its error says it, without a closing full stop.
std::string AreaFailureReason(const std::exception& failure) {
    const auto* known = dynamic_cast<const CDRAVException*>(&failure);
    std::string reason = known && !known->GetMessage().empty() ? known->GetMessage() : failure.what();
    while (!reason.empty() && (reason.back() == '\n' || reason.back() == '.')) reason.pop_back();
    return reason;
}

// An area the game cannot go on without: "Failed to load area "<area>": <reason>.
// The game is broken. ..."
std::string AreaFailureText(const std::string& area, const std::exception& failure) {
    return "Failed to load area \"" + area + "\": " + AreaFailureReason(failure) +
           ". The game is broken. Try reinstalling, or contact " + GetCompanyName() + " for support.";
}

// A journey given up, the party staying where it is: "Failed to load area
// "<area>": <reason>. The party stays where it is."
std::string JourneyFailureText(const std::string& area, const std::exception& failure) {
    return "Failed to load area \"" + area + "\": " + AreaFailureReason(failure) + ". The party stays where it is.";
}

// Why no way out is on offer: the area has none the party may take, or the
// party stands at none of them.
std::string NoWayOutText(const DRAV::CGame& game) {
    const DRAV::CArea* area = game.GetCurrentArea();
    if (!area) return "The party is not at a way out.";
    for (const auto& exit : area->GetExits())
        if (exit->requiredTag.empty() || game.IsQuestTagSet(exit->requiredTag)) return "The party is not at a way out.";
    return "There is no way out of " + area->GetDisplayName() + ".";
}

}  // namespace

void CDRAVApp::StartNewGame(int chapter, bool chooseLevel) {
    try {
        MakeEngine(chapter);
    } catch (const CDRAVException& failure) {
        ShowFatalError(ChapterFailureText(failure, chapter), "Load Error");
        EndGame();
        PostMessageA(m_window, WM_CLOSE, 0, 0);
        return;
    } catch (const std::exception&) {
        ShowFatalError("Failed to load chapter.", "Load Error");
        EndGame();
        PostMessageA(m_window, WM_CLOSE, 0, 0);
        return;
    }
    m_newActor = m_engine->NewGame();
    const CDRAVChapterInfo* entry = m_chapterTable.Find(chapter);
    if (!chooseLevel) {
        m_newActor->SetLevel(static_cast<std::uint32_t>(entry->m_startingLevel));
        m_newActor->SetExperience(DRAV::GetXpThreshold(static_cast<std::int32_t>(m_newActor->GetBaseLevel()) + 1 +
                                                       static_cast<std::int32_t>(m_newActor->GetLevel())));
    }
    OpenCreationWizard(this, entry, chooseLevel, m_newActor);
}

void CDRAVApp::StartGameWithActor(std::shared_ptr<DRAV::CActor> actor) {
    m_engine->BeginNewGame(actor);
    m_newActor.reset();
    const std::string start = m_engine->GetGame()->GetEntry().first;
    try {
        EnterPendingArea();
    } catch (const std::exception& failure) {
        EndWithAreaFailure(start, failure);
        return;
    }
    m_gameRunning = true;
    m_tutorialDisabled = false;
    UpdateGameWindowTitle();
    UpdatePartyQuickActions(false);
    ResetPartySelection();
    ResumePlayInNewArea();
    const int chapter = m_engine->GetModule()->GetChapter();
    if (CDRAVChapterInfo* entry = m_chapterTable.Find(chapter))
        SetDialog(true, std::make_shared<CIntroDlg>(this, entry));
}

void CDRAVApp::EnterPendingArea() {
    try {
        m_engine->EnterArea();
    } catch (const CDRAVException& failure) {
        if (failure.GetCode() != DRAV_ERR_SCRIPT) throw;
        ShowScriptError(failure);
    }
}

void CDRAVApp::EndGame() {
    if (m_lifecycleFlag) SuspendClock();
    m_lifecycleFlag = false;
    ClearScreen();
    if (m_engine) m_engine->ReleaseGame();
    m_gameRunning = false;
    UpdateGameWindowTitle();
    m_messageLog.clear();
    m_pendingEvents.clear();
    m_quickActions.clear();
    InvalidateRect(m_window, nullptr, FALSE);
}

bool CDRAVApp::ReturnToMainMenu(bool goToNextChapter) {
    const int chapter = m_engine && m_engine->GetModule() ? m_engine->GetModule()->GetChapter() : 1;
    std::string saveFile;
    if (m_gameRunning) {
        // A game that could not be saved goes on rather than being lost.
        if (!SaveGame()) return false;
        try {
            saveFile = GetSaveFileName();
        } catch (const std::exception&) {
        }
        EndGame();
    }
    CDRAVChapterInfo* next = goToNextChapter ? m_chapterTable.Find(chapter + 1) : nullptr;
    if (next && next->m_state != CDRAVChapterInfo::kStatePresent) {
        SetDialog(true, std::make_shared<CChapterDlg>(this, chapter + 1));
        return true;
    }
    if (next && !saveFile.empty() && LoadGame(saveFile, chapter, true)) return true;
    SetDialog(true, std::make_shared<CStartDlg>(this));
    return true;
}

bool CDRAVApp::StartNextChapter() {
    const std::shared_ptr<DRAV::CEngine> previous = m_engine;
    const int next = previous->GetModule()->GetChapter() + 1;
    try {
        MakeEngine(next);
    } catch (const CDRAVException& failure) {
        ShowError(ChapterFailureText(failure, next), "Load Error");
        return false;
    } catch (const std::exception&) {
        const std::string text = "Failed to load chapter \"" + std::to_string(next) + "\".";
        ShowError(text, "Load Error");
        return false;
    }
    m_engine->NewChapterGame(previous->GetGame());
    EnterPendingArea();
    return true;
}

void CDRAVApp::UseAvailableExit() {
    // Every way of leaving comes here, so every one refused says why.
    DRAV::CGame& game = *m_engine->GetGame();
    if (!IsExitAvailable()) {
        AppendMessage(NoWayOutText(game));
        return;
    }
    DRAV::AreaEntryPoint destination;
    bool allowed = false;
    const std::size_t queued = game.GetEventCount();
    try {
        allowed = m_engine->GetAvailableExit(destination);
    } catch (const CDRAVException& failure) {
        if (failure.GetCode() != DRAV_ERR_SCRIPT) throw;
        ShowScriptError(failure);
        allowed = true;
    }
    if (!allowed) {
        // An exit's own script may give its reason; one that gave none is not left unexplained.
        if (game.GetEventCount() == queued) AppendMessage("The way to " + game.GetEntryExitText() + " is closed.");
        return;
    }
    if (destination.second.empty()) {
        OpenTravelMap(destination.first);
        return;
    }
    SetDialog(false, std::make_shared<CExitAreaDlg>(this, m_engine->GetGame()->GetEntryExitText()));
}

bool CDRAVApp::OpenTravelMap(const std::string& mapName) {
    const DRAV::CArea* area = m_engine->GetGame()->GetCurrentArea();
    return OpenWorldMap(mapName, area ? area->GetWorldMapLocation() : std::string(), true, false);
}

void CDRAVApp::CloseTravelMap() {
    DRAV::CGame& game = *m_engine->GetGame();
    if (game.GetStateCode() == DRAV::GAME_TRAVEL) m_engine->CancelTravel();
}

void CDRAVApp::CheckPartyAndChangeArea() { ChangeArea(nullptr); }

bool CDRAVApp::ChangeArea(const DRAV::CMap2Area* chosen) {
    DRAV::CGame& game = *m_engine->GetGame();
    bool alive = false;
    for (const auto& member : game.GetParty())
        if (!member->IsSummoned() && member->GetActionState() != DRAV::ACTION_DEAD) alive = true;
    if (!alive && !m_partyDeadShown) {
        // Told once; closing the dialog runs this again, which then resurrects.
        m_partyDeadShown = true;
        SetDialog(false, std::make_shared<CDeathDlg>(this));
        return false;
    }
    m_partyDeadShown = false;
    // A place the module cannot take the party to, or hours the calendar has no
    // room for, are found before anything is saved or left: the saves stay as they
    // were and the party where it stands.
    const std::string destination = chosen ? chosen->GetEntryArea() : game.GetEntry().first;
    const DRAV::CMap2* map = nullptr;
    try {
        map = m_engine->CheckDestination(chosen ? DRAV::AreaEntryPoint(chosen->GetEntryArea(), chosen->GetEntryName())
                                                : DRAV::AreaEntryPoint());
    } catch (const std::exception& failure) {
        const auto* calendar = dynamic_cast<const DRAV::CCalendarSpent*>(&failure);
        if (alive) {
            m_engine->CancelTravel();
        } else if (calendar) {
            EndWithPartyFallen(*calendar);
            return false;
        } else if (!dynamic_cast<const DRAV::CThingSerialsSpent*>(&failure) || !WakeWhereFallen()) {
            EndWithAreaFailure(destination, failure);
            return false;
        }
        if (calendar) {
            const std::string text = calendar->GetMessage() + " The party stays where it is.";
            AppendMessage(text);
            ShowError(text, "Calendar");
        } else {
            ShowError(JourneyFailureText(destination, failure), "Area Load Error");
        }
        return false;
    }
    if (map && !chosen) {
        // A journey through a travel map, a script's as an exit's: the player
        // chooses where it ends while the party still stands where it was, and a
        // map that cannot be shown gives the journey up.
        bool opened = false;
        try {
            opened = OpenTravelMap(destination);
        } catch (...) {
            m_engine->CancelTravel();
            throw;
        }
        if (!opened) m_engine->CancelTravel();
        return false;
    }
    m_audio->SetFootsteps(false);
    m_audio->StopAmbientFx();
    SuspendClock();
    KeepPendingPagesOnly();
    ClearScreen();
    // A journey or rest that an entry's script asked for as the party arrived is
    // not saved: the save before it holds a game that goes on, where this one could
    // load into an entry that sends the party on for ever.
    if (game.GetArrivalsWithoutTick() == 0) SaveGame();
    m_engine->LeaveArea();

    bool entered = false;
    if (game.GetStateCode() == DRAV::GAME_RESTING) m_engine->RestParty();
    const std::int32_t state = game.GetStateCode();
    if (state == DRAV::GAME_ENTERING) {
        try {
            EnterPendingArea();
        } catch (const std::exception& failure) {
            // An area that fails as it is built: the party goes back to where it
            // stood, so the save made on leaving loads into a game that goes on.
            try {
                m_engine->ReturnToLastArea();
            } catch (const std::exception&) {
                EndWithAreaFailure(destination, failure);
                return false;
            }
            ShowError(JourneyFailureText(destination, failure), "Area Load Error");
        }
        UpdateGameWindowTitle();
        PumpEngineEvents();
        BoundPendingPages();
        entered = true;
    } else if (state == DRAV::GAME_ON_MAP) {
        PumpEngineEvents();
    }
    m_gameRunning = true;
    m_screenRebuildPending = false;
    PutAwayChoicesOfEarlierPlacings();
    PostMessageA(m_window, kAppShowChapterPicture, 0, 0);
    OnSelectionChanged();
    RefreshExitButtons(false);
    if (entered) {
        if (m_paused) {
            --m_suspendCount;
            m_paused = false;
            UpdatePauseButton();
        }
        ResumeClock();
        m_lifecycleFlag = true;
    }
    if (m_currentDialog || m_paused) InvalidateRect(m_window, nullptr, FALSE);
    return true;
}

bool CDRAVApp::WakeWhereFallen() {
    try {
        m_engine->WakeWhereFallen();
    } catch (const std::exception&) {
        return false;
    }
    PutAwayChoicesOfEarlierPlacings();
    PumpEngineEvents();
    OnSelectionChanged();
    return true;
}

void CDRAVApp::EndWithPartyFallen(const DRAV::CCalendarSpent& refusal) {
    ShowError("Your party cannot rise again. " + refusal.GetMessage() + " Load a saved game to play on.",
              "Game Over");
    EndGame();
    SetDialog(true, std::make_shared<CStartDlg>(this));
}

void CDRAVApp::EndWithAreaFailure(const std::string& area, const std::exception& failure) {
    ShowFatalError(AreaFailureText(area, failure), "Game Error");
    EndGame();
    PostMessageA(m_window, WM_CLOSE, 0, 0);
}

void CDRAVApp::TravelToArea(const DRAV::CMap2Area& destination) {
    if (!ChangeArea(&destination)) return;
    if (m_engine->GetGame()->GetStateCode() != DRAV::GAME_ON_MAP)
        throw CDRAVException(DRAV_ERR_OUT_OF_RANGE, "travel while the party is not on the map");
    EnterMapDestination(destination);
}

void CDRAVApp::EnterMapDestination(const DRAV::CMap2Area& destination) {
    ClearScreen();
    try {
        m_engine->SetEntry(DRAV::AreaEntryPoint(destination.GetEntryArea(), destination.GetEntryName()));
        EnterPendingArea();
    } catch (const std::exception& failure) {
        // As any journey that fails: back to the area the party set out from.
        try {
            m_engine->ReturnToLastArea();
        } catch (const std::exception&) {
            EndWithAreaFailure(destination.GetEntryArea(), failure);
            return;
        }
        ShowError(JourneyFailureText(destination.GetEntryArea(), failure), "Area Load Error");
    }
    UpdateGameWindowTitle();
    m_gameRunning = true;
    RefreshExitButtons(false);
    ResumePlayInNewArea();
}

void CDRAVApp::UpdateAmbientSound() {
    DRAV::CGame& game = *m_engine->GetGame();
    bool walking = false;
    for (const auto& member : game.GetParty())
        if (member->GetActionState() != DRAV::ACTION_DEAD && member->GetAnimation() == DRAV::ANIM_MOVE) walking = true;
    m_audio->SetFootsteps(walking);
    std::string name;
    const DRAV::CArea* area = game.GetCurrentArea();
    if (area && area->FindObjectSoundAt(m_cameraTarget[0], m_cameraTarget[2], name))
        m_audio->PlayAmbientFx(name);
    else
        m_audio->StopAmbientFx();
}

// After a game starts, loads or enters an area: the loading picture is shown and
// the clock runs again, a pause held over from before included.
void CDRAVApp::ResumePlayInNewArea() {
    m_screenRebuildPending = false;
    PutAwayChoicesOfEarlierPlacings();
    PostMessageA(m_window, kAppShowChapterPicture, 0, 0);
    if (m_currentDialog || m_paused) InvalidateRect(m_window, nullptr, FALSE);
    if (m_paused) {
        --m_suspendCount;
        m_paused = false;
        UpdatePauseButton();
    }
    ResumeClock();
    m_lifecycleFlag = true;
}
