#include "sample_play.h"

#include <set>
#include <stdexcept>
#include <string>

#include "common/exception.h"
#include "engine/engine.h"
#include "rules/definitions/travel_map.h"
#include "rules/module.h"
#include "rules/monsters/actor_template.h"
#include "world/actor.h"
#include "world/area.h"
#include "world/area/patch.h"
#include "world/events/event.h"
#include "world/game.h"

namespace QuillmereFuzz {
namespace {

bool CanBeMade(const DRAV::CActorTemplate& definition) {
    try {
        definition.Validate();
        return true;
    } catch (const CDRAVException&) {
        return false;
    }
}

// Every monster kind beside the main character. Only a base of other definitions
// may be incomplete: the module load refuses any other.
void SpawnEveryKind(DRAV::CEngine& engine) {
    const DRAV::CModule& module = *engine.GetModule();
    std::set<std::string> bases;
    for (const auto& [key, definition] : module.GetMonsterTemplates())
        bases.insert(definition->GetBases().begin(), definition->GetBases().end());
    DRAV::CArea& area = *engine.GetGame()->GetCurrentArea();
    const auto main = engine.GetGame()->GetMainActor();
    const auto column = static_cast<std::uint32_t>(main->GetX() / 2.5);
    const auto row = static_cast<std::uint32_t>(main->GetY() / 2.5);
    for (const auto& [key, definition] : module.GetMonsterTemplates()) {
        if (bases.count(key) && !CanBeMade(*definition)) continue;
        area.PlaceActor(column, row, true, area.CreateEncounterActor(key, "", 0, module));
    }
}

// Ticks as the application runs them: the events are taken after each.
void RunTicks(DRAV::CEngine& engine, int ticks) {
    for (int tick = 0; tick < ticks; ++tick) {
        PastScriptErrors([&] { engine.RunTick(); });
        std::shared_ptr<DRAV::CEvent> event;
        while (engine.GetGame()->PopEvent(event)) {
        }
    }
}

void LeaveForMap(DRAV::CEngine& engine, const std::string& map) {
    DRAV::CGame& game = *engine.GetGame();
    game.SetEntry({map, ""}, DRAV::AREA_LOAD_FRESH, "");
    game.SetStateCode(DRAV::GAME_EXIT_AVAILABLE);
    engine.LeaveArea();
    if (game.GetStateCode() != DRAV::GAME_ON_MAP || !game.GetCurrentMap())
        throw CDRAVException(DRAV_ERR_BAD_DATA, map + ".drav: the party did not reach the map");
}

// Each destination in turn by way of the map, with each of its area's patches'
// tags set and `there` run. The party has arrived whatever its entry script does,
// and stays in the last, where a game can be saved.
void VisitAreas(DRAV::CEngine& engine, const std::string& map, const std::vector<DRAV::AreaEntryPoint>& destinations,
                int ticks, const std::function<void(DRAV::CEngine&)>& there = nullptr) {
    for (const auto& destination : destinations) {
        if (engine.GetGame()->GetStateCode() != DRAV::GAME_ON_MAP) LeaveForMap(engine, map);
        engine.SetEntry(destination);
        PastScriptErrors([&] { engine.EnterArea(); });
        std::vector<std::string> tags;
        for (const auto& patch : engine.GetGame()->GetCurrentArea()->GetPatches())
            tags.push_back(patch->GetTriggerTag());
        for (const std::string& tag : tags) PastScriptErrors([&] { engine.SetTag(tag, false); });
        if (there) PastScriptErrors([&] { there(engine); });
        RunTicks(engine, ticks);
    }
}

// Every area of the map, at the entry the map leads to.
void VisitMapAreas(DRAV::CEngine& engine, const std::string& map, int ticks) {
    LeaveForMap(engine, map);
    std::vector<DRAV::AreaEntryPoint> destinations;
    for (const auto& area : engine.GetGame()->GetCurrentMap()->GetAreas())
        destinations.emplace_back(area->GetEntryArea(), area->GetEntryName());
    VisitAreas(engine, map, destinations, ticks);
}

void SaveAndLoad(DRAV::CEngine& engine, const std::string& path) {
    const char* doing = "saving";
    try {
        engine.SaveGame(path, SampleVersion(), nullptr);
        doing = "loading";
        std::string quickActions;
        engine.LoadGame(path, SampleVersion(), quickActions);
    } catch (const CDRAVException& failure) {
        throw SaveNotLoaded(std::string(doing) + ": " + failure.GetMessage());
    }
}

}  // namespace

void PastScriptErrors(const std::function<void()>& step) {
    try {
        step();
    } catch (const CDRAVException& failure) {
        if (failure.GetCode() != DRAV_ERR_SCRIPT) throw;
    }
}

const DRAV::CModuleVersionRange& SampleVersion() {
    static const DRAV::CModuleVersionRange version("Orvex", 5, 0);
    return version;
}

std::shared_ptr<DRAV::CEngine> PlaySample(const std::shared_ptr<DRAVCommon::CDataFileFactory>& source,
                                          const PlayPlan& plan) {
    auto engine = std::make_shared<DRAV::CEngine>();
    engine->LoadModule(plan.chapter, SampleVersion(), source);
    const std::shared_ptr<DRAV::CActor> main = engine->NewGame();
    main->SetName("Wren");
    engine->BeginNewGame(main);
    PastScriptErrors([&] { engine->EnterArea(); });
    SpawnEveryKind(*engine);
    const bool reachHere = plan.reach && plan.reachIn.first.empty();
    if (reachHere) PastScriptErrors([&] { plan.reach(*engine); });
    RunTicks(*engine, plan.ticks / 2);
    SaveAndLoad(*engine, plan.savePath);
    RunTicks(*engine, plan.ticks - plan.ticks / 2);
    for (const std::string& map : plan.maps) VisitMapAreas(*engine, map, plan.ticks / 4);
    if (plan.reach && !reachHere) {
        if (plan.maps.empty()) throw std::invalid_argument("an entry is entered from a map, and the plan has none");
        VisitAreas(*engine, plan.maps.front(), {plan.reachIn}, plan.ticks / 4, plan.reach);
    }
    SaveAndLoad(*engine, plan.savePath);
    return engine;
}

}  // namespace QuillmereFuzz
