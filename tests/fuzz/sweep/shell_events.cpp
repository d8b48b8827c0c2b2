#include "sweep/shell_events.h"

#include <utility>
#include <vector>

#include "common/sdl_init.h"
#include "dialog_test_support.h"
#include "engine/engine.h"
#include "world/area.h"
#include "world/events/event.h"
#include "world/game.h"

namespace QuillmereSweep {

CShellEvents::CShellEvents()
    : m_sdl(std::make_unique<DRAVSDL::InitSDL>()), m_shell(std::make_unique<QuillmereTest::ShellOnSample>()) {}

CShellEvents::~CShellEvents() = default;

std::size_t CShellEvents::Handle(const std::shared_ptr<DRAV::CEngine>& engine) {
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
    // Counted on the way through, in their order.
    std::vector<std::shared_ptr<DRAV::CEvent>> queued;
    for (std::shared_ptr<DRAV::CEvent> event; game.PopEvent(event);) queued.push_back(std::move(event));
    for (const auto& event : queued) game.PushEvent(event);
    app.PumpEngineEvents();
    app.ProcessPendingEvents();
    CDRAVAppTestAccess::DropDialogs(app);
    return queued.size();
}

}  // namespace QuillmereSweep
