#pragma once
// The one application object: it owns the window, the Direct3D device, the UI
// manager, the engine, the dialog stack, the audio object and the game clock, and
// handles every message of the main window. Built before the entry point runs and
// destroyed at process exit.

#include <chrono>
#include <cstdint>
#include <deque>
#include <list>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "game/audio2.h"
#include "game/chapter_info.h"
#include "game/load_info.h"
#include "game/quick_actions.h"
#include "graphics/scene/graphics_manager.h"
#include "platform/d3d9/direct3d.h"
#include "platform/win32/winuser.h"
#include "rules/kinds/thing_id.h"
#include "ui/ui_action_element.h"
#include "ui/ui_manager.h"

namespace DRAV {
class CActor;
class CActorInfoEvent;
class CCalendarSpent;
class CDialogBoxEvent;
class CEngine;
class CEvent;
class CInvEvent;
class CMap2Area;
class CSpell;
class CTalkEvent;
class CThing;
}  // namespace DRAV
namespace DRAVCommon {
class CXPDevice;
}
namespace DRAVGraph {
class CIconGraphicsManager;
}
namespace DRAVSDL {
class InitSDL;
}
namespace DRAVUI {
class CUIActionElement2;
class CUIActionWindow2;
class CUIClockButton;
class CUIElement;
class CUIMiniMap;
}
class CDRAVDlg;
class CDRAVApp;

LRESULT MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
void RegisterMainWindowClass(HINSTANCE instance);
// 0 when start-up fails, else the exit code of the final quit message.
int RunApplication(HINSTANCE instance, const char* commandLine, int showCommand);

// Holds one reference to a Direct3D interface. An exception from Release ends
// the process: there is nothing sane to go on with.
template <typename T>
class CReleasingPtr {
public:
    CReleasingPtr() = default;
    ~CReleasingPtr() { reset(); }
    CReleasingPtr(const CReleasingPtr&) = delete;
    CReleasingPtr& operator=(const CReleasingPtr&) = delete;

    void reset(T* object = nullptr) noexcept {
        T* held = m_object;
        m_object = object;
        if (held) held->Release();
    }
    T* get() const { return m_object; }
    T* operator->() const { return m_object; }
    explicit operator bool() const { return m_object != nullptr; }

private:
    T* m_object = nullptr;
};

// Writes `text` as one message-log line: words one blank apart, "LINE" as an
// empty word, "GAMENAME" as the product title.
void ExpandMessageMarkup(const std::string& text, std::string& line);

class CDRAVApp {
public:
    static constexpr UINT kAppSplashStart = WM_APP;
    static constexpr UINT kAppSplashEnd = WM_APP + 1;
    static constexpr UINT kAppLoadGraphics = WM_APP + 2;
    static constexpr UINT kAppShowChapterPicture = WM_APP + 3;
    static constexpr UINT_PTR kTimerId = 1;
    static constexpr UINT kTimerPeriod = 16;
    static constexpr std::uint32_t kMostTicksPerTimer = 11;
    // The processor time one timer message may work before it stops catching up and
    // drops the ticks it is behind, as it does after its eleventh: ten times what
    // eleven ticks of a crowd of 150 walkers cost but for rare outliers, and short
    // enough that a message whose ticks run slow scripts leaves the window to the
    // player within a few tenths of a second.
    static constexpr std::chrono::milliseconds kMostWorkPerTimer{100};
    static constexpr int kMinimumWidth = 1024;
    static constexpr int kMinimumHeight = 768;
    static constexpr std::uint32_t kWholeParty = 65535;
    static constexpr std::size_t kMessageLogLines = 400;

    CDRAVApp();
    ~CDRAVApp();
    CDRAVApp(const CDRAVApp&) = delete;
    CDRAVApp& operator=(const CDRAVApp&) = delete;

    // ---- start-up and shut-down (app_startup.cpp) ----
    bool CreateMainWindow(HINSTANCE instance, int showCommand);
    bool LoadCursors();
    // False after showing why: the module folder, the interface archive, chapter
    // 1's package and records, or chapter 1's engine.
    bool InitLoadModule(std::string commandLine);
    bool InitDirect3D();
    void ProbeChapters();
    static bool ChapterFileExists(const std::string& folder, int chapter, bool packed);
    bool CreateAudio();
    void ReleaseAudio();
    void RestoreDeviceObjects();
    // Code 1 for a chapter the table lacks or whose files are absent; the
    // module's own codes (8, 9 for versions) for a failed load.
    void MakeEngine(int chapter);
    // Shows a failure on the main window: exclamation icon, the given caption.
    void ShowError(const std::string& text, const std::string& caption) const;
    // A module's script failed (code 6): the player is told what broke and where,
    // and plays on.
    void ShowScriptError(const CDRAVException& failure) const;
    // The engine's EnterArea; a failing entry script is shown and play goes on.
    void EnterPendingArea();
    // An error the program cannot go on from: the box, the same text on standard
    // error, and the program's status at its end says that it failed.
    void ShowFatalError(const std::string& text, const std::string& caption);
    // "Failed to load module "<folder>". <why> The game is broken. ...": `why`, a
    // sentence saying what is missing or broken, is left out when empty.
    static std::string ModuleFailureText(const std::string& folder, const std::string& why = "");

    // ---- the window procedure and painting (app_window.cpp) ----
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    void OnPaint(int flags);
    void OnSize(WPARAM type, int width, int height);
    void OnEndSizeMove();
    void OnSplashStart();
    void OnSplashEnd();
    void OnLoadGraphics();
    void OnShowChapterPicture();

    // ---- the game clock (app_clock.cpp) ----
    void OnTimer();
    // False when the game waits for an area change.
    bool Tick();
    void SuspendClock();
    void ResumeClock();
    void TogglePause(bool silent);
    void ToggleFastMove(bool click);
    void UpdatePauseButton();
    bool IsExitAvailable() const;

    // ---- input (app_input.cpp) ----
    void OnLeftButtonDown(POINT point, bool shift);
    void OnRightButtonDown(POINT point);
    void OnWindowMouseMove(POINT point);
    void OnKeyDown(WPARAM key, bool shift);

    // ---- sound ----
    void PlayEventSound(int code);

    // ---- the dialog stack and UI events (app_dialogs.cpp) ----
    // Makes `dialog` current, covering the current one or suspending the clock.
    void SetDialog(bool quiet, std::shared_ptr<CDRAVDlg> dialog);
    // Ends the current dialog with `result`; the covered one comes back unless its
    // close action opened another.
    void CloseDialog(int result);
    // Invalidates the window unless the game runs undisturbed (its clock repaints it).
    void RequestRepaint();
    // Drains the UI manager's events into the current dialog or the game screen.
    void ProcessUIEvents();
    // With a dialog current hands it the key and answers true.
    bool DeliverKeyToDialog(int key, bool shift);
    void UpdateWindowTitle();
    void UpdateGameWindowTitle();
    void LayoutGameScreen();
    // A dialog's failure reached the window procedure: told, then the dialogs go on.
    void OnDialogFailure(const std::string& what);
    const std::shared_ptr<CDRAVDlg>& GetCurrentDialog() const { return m_currentDialog; }
    const std::deque<std::shared_ptr<CDRAVDlg>>& GetCoveredDialogs() const { return m_coveredDialogs; }

    // ---- menu commands (app_menu_commands.cpp) ----
    void ShowShortcutsHelp();
    void ShowAboutDlg();
    // The volume steps with the sound's volume; the game menu opens it quietly.
    void ShowVolumeDlg(bool quiet);
    void ShowDifficultyDlg();
    // Never fails: a manual that cannot be opened is reported in a "Manual Error" box.
    void OpenManual(const std::string& anchor);
    void OpenWebsite();

    // ---- the game screen (app_screen.cpp) ----
    void OnScreenButton(int id);
    void OnScreenAltClick(int id);
    void ClearScreen();
    void OnMouseMove(POINT point);
    void RenderGameView(const float target[3], int flags);
    void RefreshPortrait(const DRAV::CActor& actor);
    // The information page of the actor sheet, covered at once by the level-up
    // spending page when the actor has points to spend.
    void ShowActorInfo(DRAV::CActor& actor);
    // Tab `tab` of the actor sheet (CBaseActorDlg2's tab numbers); nothing for a
    // tab without a page.
    void ShowActorPage(DRAV::CActor& actor, int tab);

    // ---- the selection and the camera (app_selection.cpp) ----
    void GetSelectedActors(std::vector<DRAV::CActor*>& out) const;
    DRAV::CActor* GetSelectedActor() const;
    void GetSelectedIds(std::vector<DRAV::ThingId>& out) const;
    bool IsSelected(const DRAV::CActor& actor) const;
    void SelectPartyMember(std::uint32_t index);
    void SetSelection(const DRAV::CActor& actor);
    // A click on a member in the view: it becomes the selection, without a current
    // quick action.
    void SelectMember(DRAV::CActor& actor);
    // The same from its portrait or its digit key; pressed again while paused, the
    // member's orders are taken back.
    void SelectActor(DRAV::CActor& actor);
    void SelectAll();
    void SelectNextMember();
    void ResetPartySelection();
    void OnSelectionChanged();
    void CancelSelectedOrders();
    // The same, but an attack the selected members were told stays queued, so that
    // a use or a cast put in front of it does not end their fight.
    void CancelSelectedOrdersButTheFight();
    void ComputeCameraTarget(float out[3]);
    void GetCameraTarget(float out[3]);
    // Lets the engine run the instant orders the interface has just queued; a
    // script failure is shown and play goes on.
    void RunInstantOrders();
    std::uint32_t GetSelectedMember() const { return m_selectedParty; }

    // ---- the engine's events and the message log (app_events.cpp) ----
    // Takes the engine's events as one batch: lines go to the log, and to `said`
    // when given (a talk page's lines); changes of the party, the area and actors
    // are handled, each kind once; what needs the player waits in the pending list.
    void PumpEngineEvents(std::vector<std::string>* said = nullptr);
    // The same while a page is open: only the lines are taken now.
    void DrainEngineEvents();
    void QueueEvent(std::shared_ptr<DRAV::CEvent> event);
    // False when an event left the game waiting for an area change; the rest stays
    // pending, as it does once a timer message has worked its share or an event has
    // opened a page (the next opens when it has closed).
    bool ProcessPendingEvents();
    // As the party leaves an area: the pages that wait (an entry's the party passed
    // through) go with it, and whatever else waits belonged to the area left.
    void KeepPendingPagesOnly();
    // At most as many pages wait as one run of scripts may show, the latest: a
    // journey that arrives again and again buries nobody; the earlier go to the log.
    void BoundPendingPages();
    void OnInfoEvent(const DRAV::CEvent& event);
    // The inventory page of the event's actor, on the container it has just opened.
    void OnInvEvent(const DRAV::CInvEvent& event);
    void OnActorInfoEvent(const DRAV::CActorInfoEvent& event);
    void OnDialogBoxEvent(const DRAV::CDialogBoxEvent& event);
    void AppendMessage(const std::string& text);
    void RefreshExitButtons(bool exitAvailable);
    const std::deque<std::string>& GetMessageLog() const { return m_messageLog; }
    const std::list<std::shared_ptr<DRAV::CEvent>>& GetPendingEvents() const { return m_pendingEvents; }

    // ---- the game's lifecycle (app_lifecycle.cpp) ----
    // Shows the loading picture and runs the clock again once a game has entered an area.
    void ResumePlayInNewArea();
    void StartNewGame(int chapter, bool chooseLevel);
    void StartGameWithActor(std::shared_ptr<DRAV::CActor> actor);
    void EndGame();
    void OnChapterComplete(bool quiet);
    // False when the running game could not be saved: it goes on as it was.
    bool ReturnToMainMenu(bool goToNextChapter);
    bool StartNextChapter();
    void UseAvailableExit();
    // The world map `mapName` in travel mode, for the journey the game waits on;
    // false, with nothing opened, when the map cannot be shown.
    bool OpenTravelMap(const std::string& mapName);
    // The travel map closed without a journey: a script's journey is given up and
    // the party plays on where it stands; an exit on offer stays offered.
    void CloseTravelMap();
    // A destination the module cannot take the party to is an "Area Load Error" and
    // the party stays where it stands; one that fails only as it is built sends the
    // party back there. A rest or journey whose hours the calendar has no room for
    // is refused in a box and the log, and the party stays where it stands. Only a
    // party with nowhere to stand, or wiped out with no time left to rest, ends the
    // game. A journey through a travel map opens the map and leaves nothing yet.
    void CheckPartyAndChangeArea();
    void TravelToArea(const DRAV::CMap2Area& destination);
    void EnterMapDestination(const DRAV::CMap2Area& destination);
    // M and the mini-map's command: the current area's map; W: its world map, when it names one.
    void ShowAreaMap();
    void ShowWorldMap();
    // A map that cannot be read is a "Map Error" naming the file, the party stays,
    // and the answer is false.
    bool OpenWorldMap(const std::string& mapName, const std::string& location, bool travel, bool quiet);
    void UpdateAmbientSound();
    // The main character of the new game being created, until the game starts.
    const std::shared_ptr<DRAV::CActor>& GetNewActor() const { return m_newActor; }

    // ---- saved games (app_save.cpp) ----
    // Code 1 without a documents folder or when the folder cannot be made.
    std::string GetSaveFolder() const;
    std::string GetSaveFileName() const;
    // False after "Save Error" when nothing was saved; the save and ".bak" before it
    // are then as they were. Never throws.
    bool SaveGame();
    void WriteSaveFile(const std::string& path);
    // Never null; empty without a save folder.
    std::shared_ptr<CLoadInfo> ListSavedGames() const;
    // False after "Load Error"; the game that ran before stays.
    bool LoadGame(const std::string& path, int chapter, bool nextChapter);
    std::string WriteQuickActions() const;
    void ReadQuickActions(const std::string& text);
    const QuickActionTable& GetQuickActionTable() const { return m_quickActions; }

    // ---- quick actions (app_quick_actions.cpp) ----
    // Each looks the member's record up; code 4 for a member without one.
    int GetQuickActionKind(const DRAV::CActor& actor, int slot) const;
    void SetQuickActionKind(const DRAV::CActor& actor, int kind, int slot);
    const std::string& GetQuickActionSpell(const DRAV::CActor& actor, int slot) const;
    void SetQuickActionSpell(const DRAV::CActor& actor, const std::string& name, int slot);
    const std::string& GetQuickActionItem(const DRAV::CActor& actor, int slot) const;
    void SetQuickActionItem(const DRAV::CActor& actor, const std::string& name, int slot);
    // 10 when none.
    int GetCurrentQuickAction(const DRAV::CActor& actor) const;
    // 0 when none.
    int GetCurrentQuickActionKind(const DRAV::CActor& actor) const;
    // Slot 10, or an empty slot, leaves no current quick action; any slot but 2
    // gives slot 2 back its action picker. Code 4 above 10.
    void SelectQuickAction(const DRAV::CActor& actor, int slot);
    void ResetQuickActions(const DRAV::CActor& actor);
    // False for an actor that has never been a member of the running game.
    bool HasQuickActions(const DRAV::CActor& actor) const;
    // What the action bars read the quick-action table through.
    DRAVUI::IQuickActionOwner& GetQuickActionOwner();
    void DropMissingQuickItems(const DRAV::CActor& actor);

    // ---- orders from the interface (app_orders.cpp) ----
    // Pick kinds: 0 nothing, 1 tile, 2 object, 3 actor. `replace` cancels the
    // selected members' orders first. True when an order was issued.
    bool PerformAction(int actionKind, int pickKind, DRAV::CThing* thing, POINT point, bool replace);
    bool PerformDefaultAction(int pickKind, DRAV::CThing* thing, POINT point, bool replace);
    // What a plain click on someone outside the party does; the pointer shows it.
    enum class ActorClick { kAttack, kTalk };
    static ActorClick ClickOnActor(const DRAV::CActor& actor);
    // The use or cast of `slot` when it needs no target; a missing or unusable
    // item is told in the log.
    bool PerformQuickAction(DRAV::CActor& actor, int slot);
    // Casts at the pick when it fits the spell; `replace` cancels the selected
    // members' orders but their fight, once the cast is known to be given.
    bool CastSpell(DRAV::CActor& actor, const DRAV::CSpell& spell, int pickKind, DRAV::CThing* target, bool replace);
    // A click the game refuses leaves every order as it was: `order` for `actor` is
    // put to the order rule before anything is cancelled, and a refusal is told in
    // the log, who, what and why, as the engine tells an order it drops.
    bool RefusesOrder(const DRAV::CActor& actor, const DRAV::COrder& order, bool instant = false);
    // The log's line for a click nobody can carry out: "Wren can't walk there: ...".
    void RefuseClick(const std::string& what, const std::string& why);
    // The carried item of template `name` the actor can use; null, told in the log,
    // when she has none or cannot use it, whether chosen by an F-key or a click.
    DRAV::CItem* UsableQuickItem(DRAV::CActor& actor, const std::string& name);
    // Queues a use or a cast behind the actor's orders, but ahead of an attack.
    void QueueUseOrCast(DRAV::CActor& actor, std::shared_ptr<DRAV::COrder> order);
    // A portrait clicked while the selected member holds a use or a cast that can
    // take an actor: it is done on that portrait's member, as a click on her figure
    // would. False, with nothing done, when no such action waits.
    bool AimQuickActionAt(DRAV::CActor& member);
    bool TogglePower(DRAV::CActor& actor, const DRAV::CSpell& power);
    void ReturnToEntrance(DRAV::CActor* actor);
    // Nothing for the same index or one outside the party.
    void MovePartyMember(std::uint32_t from, std::uint32_t to);
    // Two columns 5.0 apart, rows 5.0 apart back from the point; shifted 2.5 to a
    // side, forward or back when a wall is in the way. False when nothing fits.
    bool MoveSelectedTo(float x, float z);
    // Appends (x, z) per actor for the point (x, z) shifted by whole steps.
    void PlanFormation(const std::vector<DRAV::CActor*>& actors, double x, double z, std::vector<double>& destinations,
                       int side, int forward) const;
    bool IsFormationClear(const std::vector<DRAV::CActor*>& actors, const std::vector<double>& destinations) const;
    // Whether the actor may be sent to stand at (x, z): nothing but other actors,
    // who will have moved on, is in the way there.
    bool MayStandAt(const DRAV::CActor& actor, double x, double z) const;
    // The nearest point to (x, z), within two cells, where the actor may stand;
    // (x, z) itself when there is none.
    void FindRoomNear(const DRAV::CActor& actor, double x, double z, double& outX, double& outZ) const;
    bool UseTile(DRAV::CThing& tile);
    void UseObject(DRAV::CThing& object, bool allSelected);
    // The selected party goes to the way out, or leaves by it at once where it stands.
    bool GoToWayOut(DRAV::CObject& wayOut);
    // The marker of a way out the party sees within a cell of the ground at (x, z);
    // null when there is none.
    DRAV::CObject* WayOutBeside(double x, double z) const;
    bool TalkTo(DRAV::CActor& actor);
    bool AttackTarget(DRAV::CActor& actor);
    void EndQuickActionChoice();
    // A slot of the action bar or its F-key: the action slot opens the action
    // dialog, any other becomes current, and a use or cast needing no target runs.
    void ChooseQuickAction(int slot);
    void OpenActionDialog(int slot);
    // A click in the game view, as the pick under `point` finds it.
    void OnViewClick(POINT point, bool shift);
    void OnViewAltClick(POINT point);
    // GetSelectedActors as a value.
    std::vector<DRAV::CActor*> SelectedActors() const;

    // ---- the debug console (app_debug_console.cpp) ----
    // A line that does not parse does nothing; the engine's own refusals pass on.
    void ExecuteDebugCommand(const std::string& line);

    // ---- conversations (app_talk.cpp) ----
    void OnTalkEvent(const DRAV::CTalkEvent& event);
    // While set, the camera centres on this actor; a closing dialog clears it.
    void SetTalkFocus(DRAV::CActor* actor);
    // The actor as the current area holds it now; null when none is set or it has gone.
    DRAV::CActor* GetTalkFocus() const;
    // The quick-action table follows the party; with `rebuild` the screen shows the change.
    void UpdatePartyQuickActions(bool rebuild);

    // ---- what the shell shows of itself ----
    HWND GetWindow() const { return m_window; }
    DRAVUI::CUIManager& GetUIManager() { return m_uiManager; }
    const std::shared_ptr<IDRAVAudio2>& GetAudio() const { return m_audio; }
    const std::shared_ptr<DRAV::CEngine>& GetEngine() const { return m_engine; }
    const ChapterInfoMap& GetChapterTable() const { return m_chapterTable; }
    const std::string& GetModuleFolder() const { return m_moduleFolder; }
    const std::string& GetManualPath() const { return m_manualPath; }
    bool IsPackedModule() const { return m_packedModule; }
    bool IsSplashMode() const { return m_splashMode; }
    bool IsGameRunning() const { return m_gameRunning; }
    bool IsPaused() const { return m_paused; }
    bool IsFastMove() const { return m_fastMove; }
    // Off until the next game with a newly created actor; tutorial events are dropped meanwhile.
    bool IsTutorialDisabled() const { return m_tutorialDisabled; }
    void SetTutorialDisabled(bool disabled) { m_tutorialDisabled = disabled; }
    bool IsGameViewReady() const { return m_gameViewReady; }
    DRAVGraph::CGraphicsManager& GetGraphicsManager() { return m_graphicsManager; }
    std::int32_t GetSuspendCount() const { return m_suspendCount; }
    DRAVCommon::CXPDevice* GetDevice() const { return m_deviceWrapper.get(); }

private:
    friend class CDRAVAppTestAccess;
    friend int RunApplication(HINSTANCE instance, const char* commandLine, int showCommand);
    friend void RegisterMainWindowClass(HINSTANCE instance);

    // The member's quick actions; code 4 for a member without them.
    const CDRAVActorInfo& QuickActionRecord(const DRAV::CActor& actor) const;
    CDRAVActorInfo& QuickActionRecord(const DRAV::CActor& actor);
    // Every member's current slot and the action picker's choice belong to the place
    // the party stood in when they were chosen: put away once it has been placed anew.
    void PutAwayChoicesOfEarlierPlacings();
    // Opens, quietly, a page the engine asked for, holding back the foes upon a party at rest.
    void ShowPage(std::shared_ptr<CDRAVDlg> page);
    void RebaseClock();
    // Moves the whole seconds the world has run at `perSecond` ticks into the clock's base.
    void FoldClockSecondsRun(std::uint32_t perSecond);
    // Whether a timer message is running and has worked its share (kMostWorkPerTimer),
    // on a reading of the clock taken now, or else on the thread's latest one.
    bool HasTimerWorkedItsShare(bool readClock = true) const;
    // The one drain of the engine's events; `changesNow` false leaves everything
    // but the lines waiting.
    void TakeEngineEvents(std::vector<std::string>* said, bool changesNow);
    // The HUD's widgets into the UI manager, for the UI rectangle `ui`.
    void BuildGameScreen(const RECT& ui);
    // Empties the pointers to the screen's widgets, which a rebuild replaces.
    void ForgetScreenWidgets();
    // Steps 7 to 9 of a close: the clock released, the covered dialog back.
    void FinishClose(bool changeArea);
    // A running game in state 2 or 3: an area change waits for the dialogs.
    bool IsAreaChangeWaiting() const;
    void ResetDeviceAfterResize();
    // Shows an error that would otherwise leave the window procedure, and ends.
    void FailFromHandler(const std::string& what);
    // "Game Error" naming the area and why it failed, for an area the party cannot
    // be anywhere after; the game ends.
    void EndWithAreaFailure(const std::string& area, const std::exception& failure);
    // A party wiped out that the game has too few serials left to take to its
    // resurrection point wakes where it fell; false when it cannot.
    bool WakeWhereFallen();
    // CheckPartyAndChangeArea; with `chosen` the destination is a place just chosen
    // on the travel map, which the party now leaves for. False when the party did
    // not set out: the journey was refused or waits for the player.
    bool ChangeArea(const DRAV::CMap2Area* chosen);
    // A party wiped out whose rest the calendar has no room for cannot rise again:
    // the game ends, told why, and the front page opens. Nothing is saved over the
    // game before it.
    void EndWithPartyFallen(const DRAV::CCalendarSpent& refusal);
    std::uint32_t GameTick() const;

    std::unique_ptr<DRAVSDL::InitSDL> m_sdl;
    HINSTANCE m_instance = nullptr;
    HWND m_window = nullptr;
    HCURSOR m_cursorArrow = nullptr;
    HCURSOR m_cursorSizeAll = nullptr;
    HCURSOR m_cursorUpArrow = nullptr;
    HCURSOR m_cursorCross = nullptr;
    HCURSOR m_cursorHand = nullptr;
    HCURSOR m_cursorWait = nullptr;
    HCURSOR m_currentCursor = nullptr;
    char m_title[260] = {};
    char m_windowClass[260] = {};
    std::string m_manualPath;
    std::string m_moduleFolder;
    bool m_packedModule = false;
    bool m_gameRunning = false;
    bool m_paused = true;
    bool m_fastMove = false;
    std::uint32_t m_clockStart = 0;
    std::uint32_t m_clockBase = 0;
    bool m_lifecycleFlag = false;
    std::int32_t m_suspendCount = 2;
    UINT_PTR m_timerId = 0;
    ChapterInfoMap m_chapterTable;
    std::shared_ptr<DRAV::CEngine> m_engine;
    std::list<std::shared_ptr<DRAV::CEvent>> m_pendingEvents;
    bool m_partyDeadShown = false;
    bool m_tutorialDisabled = false;
    std::uint32_t m_selectedParty = 0;
    QuickActionTable m_quickActions;
    CReleasingPtr<IDirect3D9> m_direct3D;
    CReleasingPtr<IDirect3DDevice9> m_device;
    D3DPRESENT_PARAMETERS m_presentParameters{};
    bool m_deviceLost = false;
    std::shared_ptr<DRAVCommon::CXPDevice> m_deviceWrapper;
    bool m_renderStatesPending = true;
    bool m_screenRebuildPending = false;
    bool m_splashMode = true;
    std::shared_ptr<DRAVGraph::CIconGraphicsManager> m_splashScene;
    bool m_gameViewReady = false;
    DRAVGraph::CGraphicsManager m_graphicsManager;
    bool m_viewIdle = true;
    DRAVUI::CUIManager m_uiManager;
    std::shared_ptr<CDRAVDlg> m_currentDialog;
    std::uint32_t m_closePending = 0;
    std::deque<std::shared_ptr<CDRAVDlg>> m_coveredDialogs;
    // The actor a conversation centres the camera on, by id, since the page may
    // outlive it; 0 whenever a dialog closes.
    DRAV::ThingId m_talkFocusId = 0;
    DRAVUI::CUIMiniMap* m_minimap = nullptr;
    DRAVUI::CUIClockButton* m_pauseButton = nullptr;
    DRAVUI::CUIElement* m_exitButton = nullptr;
    DRAVUI::CUIElement* m_returnButton = nullptr;
    DRAVUI::CUIActionWindow2* m_actionBar = nullptr;
    std::vector<DRAVUI::CUIActionElement2*> m_portraits;
    std::unique_ptr<DRAVUI::IQuickActionOwner> m_quickActionOwner;
    std::shared_ptr<DRAV::CActor> m_newActor;
    bool m_cameraSnap = true;
    float m_cameraTarget[3] = {0.0f, 0.0f, 0.0f};
    float m_lookAhead[3] = {0.0f, 0.0f, 0.0f};
    // A new heading of the walkers, and the tick it was first seen: the view takes
    // it up once it has held.
    float m_newHeading[3] = {0.0f, 0.0f, 0.0f};
    std::uint32_t m_newHeadingSince = 0;
    bool m_headingChanging = false;
    std::deque<std::string> m_messageLog;
    std::vector<std::shared_ptr<DRAV::CActor>> m_selection;
    POINT m_mousePoint{0, 0};
    bool m_mouseInside = false;
    bool m_inSizeMove = false;
    std::shared_ptr<IDRAVAudio2> m_audio;
    bool m_fpsDisplay = false;
    std::uint32_t m_fpsTime = 0;
    std::uint32_t m_fpsFrames = 0;
    bool m_tickGuard = false;
    std::chrono::nanoseconds m_timerStarted{};  // the thread's processor time as the timer message began
    int m_exitStatus = 0;  // what the quit message hands back to the system
};

// The application object, for the window procedure and the program's parts.
CDRAVApp& GetApp();

int WinMain(HINSTANCE instance, HINSTANCE previous, char* commandLine, int showCommand);

// The UI scale for a monitor's DPI and a viewport: 50-percent steps of the DPI,
// lowered while the viewport would hold less than 960 x 640 units, never below 100.
std::uint32_t ComputeUIScalePercent(UINT dpi, const RECT& viewport);
// The same for the main window's monitor and the device's viewport.
std::uint32_t GetUIScalePercent();
