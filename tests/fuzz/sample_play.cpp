#include "sample_play.h"

#include <exception>
#include <set>
#include <stdexcept>
#include <string>

#include "common/exception.h"
#include "common/processor_clock.h"
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

// An area or a map the data made the game refuse as the party went there: the
// refusal of a load, which no step turns into the game's fault.
struct LoadRefused {
    std::exception_ptr failure;
};

std::size_t DropEvents(DRAV::CEngine& engine) {
    std::size_t count = 0;
    std::shared_ptr<DRAV::CEvent> event;
    while (engine.GetGame()->PopEvent(event)) ++count;
    return count;
}

class SamplePlay {
public:
    SamplePlay(const PlayPlan& plan, std::shared_ptr<DRAV::CEngine> engine)
        : m_plan(plan), m_engine(std::move(engine)) {}

    void Play() {
        Step("entering the start area", [&] { Enter(); });
        Step("every monster kind placed beside the party", [&] { SpawnEveryKind(); });
        const bool reachHere = m_plan.reach && m_plan.reachIn.first.empty();
        if (reachHere) m_plan.reach(*m_engine, Stepper());
        RunTicks(m_plan.ticks / 2);
        SaveAndLoad("the first save and load");
        RunTicks(m_plan.ticks - m_plan.ticks / 2);
        for (const std::string& map : m_plan.maps) VisitMapAreas(map);
        if (m_plan.reach && !reachHere) {
            if (m_plan.maps.empty()) throw std::invalid_argument("an entry is entered from a map, and the plan has none");
            VisitAreas(m_plan.maps.front(), {m_plan.reachIn}, m_plan.ticks / 4, true);
        }
        SaveAndLoad("the last save and load");
    }

private:
    // A load puts a new game in the engine.
    DRAV::CGame& Game() { return *m_engine->GetGame(); }

    PlayPlan::Stepper Stepper() {
        return [this](const std::string& what, const std::function<void()>& run) { return Step(what, run); };
    }

    // Every step of play passes here. Once the chapter is won, nothing more is played.
    // A journey the step began is made after it, as the program makes it: each
    // arrival in a timer message of its own, and so a step of its own.
    // Returns how many arrivals the journey made.
    int Step(const std::string& what, const std::function<void()>& run) {
        if (Game().GetStateCode() == DRAV::GAME_WON) return 0;
        Measured(what, run);
        int arrivals = 0;
        while (JourneyWaits())
            Measured(what + ", arrival " + std::to_string(++arrivals) + " of its journey", [&] { FollowJourney(); });
        return arrivals;
    }

    // Runs `run` past script errors and handles the events it queued, timed as one step.
    void Measured(const std::string& what, const std::function<void()>& run) {
        const double started = DRAVCommon::ThreadProcessorSeconds();
        std::size_t events = 0;
        try {
            PastScriptErrors(run);
            events = m_plan.handleEvents ? m_plan.handleEvents(m_engine) : DropEvents(*m_engine);
            if (Game().GetParty().empty()) throw PlayFault(FaultKind::EmptyParty, what + ": the party is empty");
        } catch (const CDRAVException& failure) {
            throw PlayFault(FaultKind::GameError, what + ": Game Error " + std::to_string(failure.GetCode()) + ": " +
                                                      failure.GetMessage());
        }
        Measure(what, DRAVCommon::ThreadProcessorSeconds() - started, events);
    }

    void Measure(const std::string& what, double seconds, std::size_t events) {
        if (m_plan.stats) {
            PlayStats& stats = *m_plan.stats;
            ++stats.steps;
            if (seconds > stats.slowestSeconds) stats.slowestSeconds = seconds, stats.slowest = what;
            if (events > stats.mostEvents) stats.mostEvents = events, stats.busiest = what;
        }
        if (m_plan.stepEvents > 0 && events > m_plan.stepEvents)
            throw PlayFault(FaultKind::EventFlood, what + " queued " + std::to_string(events) + " events");
        if (m_plan.stepSeconds > 0 && seconds > m_plan.stepSeconds)
            throw PlayFault(FaultKind::SlowStep, what + " took " + std::to_string(seconds) + " s, with " +
                                                     std::to_string(events) + " events");
    }

    // A load the party's move makes: a failure that leaves the game where it was is
    // the data's refusal; one after the move went through is the game's.
    void Load(const std::function<void()>& move, const std::function<bool()>& moved) {
        try {
            move();
        } catch (const CDRAVException& failure) {
            if (failure.GetCode() == DRAV_ERR_SCRIPT || moved()) throw;
            throw LoadRefused{std::current_exception()};
        }
    }

    void Enter() {
        Load([&] { PastScriptErrors([&] { m_engine->EnterArea(); }); },
             [&] { return Game().GetStateCode() != DRAV::GAME_ENTERING; });
    }

    bool JourneyWaits() {
        const std::int32_t state = Game().GetStateCode();
        return state == DRAV::GAME_TRAVEL || state == DRAV::GAME_WIPED_OUT;
    }

    // As the application makes a journey a script began, or wakes a party wiped
    // out: out of the area, to the map's first area if the journey leads through a
    // map (where the player would choose), rested if it rests, and in, where the
    // entry may send the party on again.
    void FollowJourney() {
        const std::int32_t state = Game().GetStateCode();
        Load([&] { m_engine->LeaveArea(); }, [&] { return Game().GetStateCode() != state; });
        if (Game().GetStateCode() == DRAV::GAME_ON_MAP) {
            const auto& areas = Game().GetCurrentMap()->GetAreas();
            if (areas.empty()) throw CDRAVException(DRAV_ERR_BAD_DATA, "the journey's map leads nowhere");
            m_engine->SetEntry({areas.front()->GetEntryArea(), areas.front()->GetEntryName()});
        }
        if (Game().GetStateCode() == DRAV::GAME_RESTING) m_engine->RestParty();
        Enter();
    }

    // Every monster kind beside the main character. Only a base of other definitions
    // may be incomplete: the module load refuses any other.
    void SpawnEveryKind() {
        const DRAV::CModule& module = *m_engine->GetModule();
        std::set<std::string> bases;
        for (const auto& [key, definition] : module.GetMonsterTemplates())
            bases.insert(definition->GetBases().begin(), definition->GetBases().end());
        DRAV::CArea& area = *Game().GetCurrentArea();
        const auto main = Game().GetMainActor();
        const auto column = static_cast<std::uint32_t>(main->GetX() / 2.5);
        const auto row = static_cast<std::uint32_t>(main->GetY() / 2.5);
        for (const auto& [key, definition] : module.GetMonsterTemplates()) {
            if (bases.count(key) && !CanBeMade(*definition)) continue;
            area.PlaceActor(column, row, true, area.CreateEncounterActor(key, "", 0, module));
        }
    }

    void RunTicks(int ticks) {
        for (int tick = 0; tick < ticks; ++tick)
            Step("a tick in " + AreaName(), [&] { m_engine->RunTick(); });
    }

    std::string AreaName() {
        const DRAV::CArea* area = Game().GetCurrentArea();
        return area ? area->GetName() : "no area";
    }

    void LeaveForMap(const std::string& map) {
        if (Game().GetStateCode() == DRAV::GAME_ON_MAP) return;
        Game().SetEntry({map, ""}, DRAV::AREA_LOAD_FRESH, "");
        Game().SetStateCode(DRAV::GAME_EXIT_AVAILABLE);
        Load([&] { m_engine->LeaveArea(); }, [&] { return Game().GetStateCode() != DRAV::GAME_EXIT_AVAILABLE; });
        if (Game().GetStateCode() != DRAV::GAME_ON_MAP || !Game().GetCurrentMap())
            throw CDRAVException(DRAV_ERR_BAD_DATA, map + ".drav: the party did not reach the map");
    }

    // Each destination in turn by way of the map, with each of its area's patches'
    // tags set, and for `reaching` the caller's reach run there. The party has
    // arrived whatever its entry script does, and stays in the last, where a game
    // can be saved.
    void VisitAreas(const std::string& map, const std::vector<DRAV::AreaEntryPoint>& destinations, int ticks,
                    bool reaching = false) {
        for (const auto& destination : destinations) {
            const std::string where = destination.first + " at " + destination.second;
            Step("leaving for " + map + ".drav", [&] { LeaveForMap(map); });
            Step("entering " + where, [&] {
                m_engine->SetEntry(destination);
                Enter();
                if (reaching && m_plan.reachJourneys && Game().GetStateCode() == DRAV::GAME_PLAYING)
                    throw PlayFault(FaultKind::JourneyDropped,
                                    "entering " + where + ": the entry script's journey was dropped");
            });
            if (Game().GetStateCode() == DRAV::GAME_WON) return;
            std::vector<std::string> tags;
            for (const auto& patch : Game().GetCurrentArea()->GetPatches()) tags.push_back(patch->GetTriggerTag());
            for (const std::string& tag : tags) Step("the patch tag " + tag, [&] { m_engine->SetTag(tag, false); });
            if (reaching) m_plan.reach(*m_engine, Stepper());
            RunTicks(ticks);
        }
    }

    // Every area of the map, at the entry the map leads to.
    void VisitMapAreas(const std::string& map) {
        Step("leaving for " + map + ".drav", [&] { LeaveForMap(map); });
        if (Game().GetStateCode() == DRAV::GAME_WON) return;
        std::vector<DRAV::AreaEntryPoint> destinations;
        for (const auto& area : Game().GetCurrentMap()->GetAreas())
            destinations.emplace_back(area->GetEntryArea(), area->GetEntryName());
        VisitAreas(map, destinations, m_plan.ticks / 4);
    }

    void SaveAndLoad(const std::string& what) {
        const double started = DRAVCommon::ThreadProcessorSeconds();
        const char* doing = "saving";
        try {
            m_engine->SaveGame(m_plan.savePath, SampleVersion(), nullptr);
            doing = "loading";
            std::string quickActions;
            m_engine->LoadGame(m_plan.savePath, SampleVersion(), quickActions);
        } catch (const CDRAVException& failure) {
            throw PlayFault(FaultKind::SaveNotLoaded, std::string(doing) + ": " + failure.GetMessage());
        }
        Measure(what, DRAVCommon::ThreadProcessorSeconds() - started, 0);
    }

    const PlayPlan& m_plan;
    std::shared_ptr<DRAV::CEngine> m_engine;
};

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
    try {
        SamplePlay(plan, engine).Play();
    } catch (const LoadRefused& refused) {
        std::rethrow_exception(refused.failure);
    }
    return engine;
}

}  // namespace QuillmereFuzz
