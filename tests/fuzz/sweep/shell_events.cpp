#include "sweep/shell_events.h"

#include <utility>
#include <vector>

#include "common/sdl_init.h"
#include "dialog_test_support.h"
#include "engine/engine.h"
#include "game/dialogs/talk/talk_dlg.h"
#include "platform/win32/virtual_keys.h"
#include "rules/definitions/talk_state.h"
#include "ui/ui_element.h"
#include "world/area.h"
#include "world/events/event.h"
#include "world/game.h"
#include "world/object.h"

namespace QuillmereSweep {
namespace {

// Far more pages than a step of the sample opens, or than one run could put in
// front of the player; past them the rest go unclosed.
constexpr int kMostClosedPages = 5000;

DRAV::CTalkTarget* FindTalkTarget(DRAV::CArea& area, DRAV::ThingId id) {
    if ((id >> 24) == DRAV::THING_ACTOR) return area.FindActor(id);
    return area.FindObject(id);
}

}  // namespace

CShellEvents::CShellEvents()
    : m_sdl(std::make_unique<DRAVSDL::InitSDL>()), m_shell(std::make_unique<QuillmereTest::ShellOnSample>()) {}

CShellEvents::~CShellEvents() = default;

void CShellEvents::TakeUp(const std::shared_ptr<DRAV::CEngine>& engine) {
    CDRAVApp& app = m_shell->app;
    if (app.GetEngine() != engine) {
        CDRAVAppTestAccess::SetEngine(app, engine);
        CDRAVAppTestAccess::StartPlaying(app);
    }
    DRAV::CGame& game = *engine->GetGame();
    const DRAV::CArea* area = game.GetCurrentArea();
    const std::string areaName = area ? area->GetName() : "";
    if (&game != m_game || areaName != m_area) {
        CDRAVAppTestAccess::TakeUpGame(app);
        m_game = &game;
        m_area = areaName;
    }
}

std::size_t CShellEvents::Handle(const std::shared_ptr<DRAV::CEngine>& engine) {
    TakeUp(engine);
    CDRAVApp& app = m_shell->app;
    DRAV::CGame& game = *engine->GetGame();
    // Counted on the way through, in their order.
    std::vector<std::shared_ptr<DRAV::CEvent>> queued;
    for (std::shared_ptr<DRAV::CEvent> event; game.PopEvent(event);) queued.push_back(std::move(event));
    for (const auto& event : queued) game.PushEvent(event);
    app.PumpEngineEvents();
    ClosePages(game);
    return queued.size();
}

void CShellEvents::ClosePages(DRAV::CGame& game) {
    CDRAVApp& app = m_shell->app;
    for (int closed = 0;; ++closed) {
        if (!app.GetCurrentDialog()) {
            // As the timer opens what waited once the last page has closed.
            app.ProcessPendingEvents();
            if (!app.GetCurrentDialog()) return;
        }
        // A page over a journey, a wipe-out or a won chapter goes without its close,
        // which would take the party on as the play does itself.
        const std::int32_t state = game.GetStateCode();
        if (closed == kMostClosedPages || (state != DRAV::GAME_PLAYING && state != DRAV::GAME_EXIT_AVAILABLE)) {
            CDRAVAppTestAccess::DropDialogs(app);
            return;
        }
        const auto page = app.GetCurrentDialog();
        app.DeliverKeyToDialog(VK_ESCAPE, false);
        // A talk page with several replies is left without choosing one.
        if (app.GetCurrentDialog() == page) app.CloseDialog(0);
        app.PumpEngineEvents();
    }
}

void CShellEvents::Talk(DRAV::CEngine& engine, DRAV::ThingId partner, const std::string& state) {
    CDRAVApp& app = m_shell->app;
    // The shell takes the engine up as it handles the first step's events.
    if (app.GetEngine().get() != &engine) return;
    TakeUp(app.GetEngine());
    DRAV::CGame& game = *engine.GetGame();
    DRAV::CTalkTarget* target = game.GetCurrentArea() ? FindTalkTarget(*game.GetCurrentArea(), partner) : nullptr;
    if (!target) return;
    const bool opening = state == target->GetStartStateName();
    game.PushEvent(std::make_shared<DRAV::CTalkEvent>(game.GetMainActor()->GetId(), partner));
    app.PumpEngineEvents();
    app.ProcessPendingEvents();
    if (opening || !dynamic_cast<CTalkDlg*>(app.GetCurrentDialog().get())) return;
    // The first state may have sent the partner away.
    target = FindTalkTarget(*game.GetCurrentArea(), partner);
    if (!target) return;
    target->ClearTalkChoices();
    target->AddTalkChoice(std::make_shared<DRAV::CTalkChoice>("Go on.", state));
    // What the talk element answers a click on its first reply with.
    app.GetUIManager().HandleElementResult(DRAVUI::ANSWER_CLICK, CTalkDlg::kFirstReplyId, nullptr);
    app.ProcessUIEvents();
}

}  // namespace QuillmereSweep
