#include "sweep/script_reach.h"

#include <functional>
#include <memory>

#include "engine/engine.h"
#include "rules/definitions/object_template.h"
#include "world/actor.h"
#include "world/area.h"
#include "world/events/event.h"
#include "world/master_tile.h"
#include "world/tile.h"
#include "world/game.h"
#include "world/object.h"
#include "world/order.h"

namespace QuillmereSweep {
namespace {

constexpr const char* kAnyTag = "sweep_quest_check";
// The most ticks the game's clock runs in one timer message, once it has fallen behind.
constexpr int kTicksOfATimerMessage = 11;

using Stepper = QuillmereFuzz::PlayPlan::Stepper;

// Each run a step of play of its own, as each would be in the game.
void RunRepeatedly(const Stepper& step, const std::string& what, const std::function<void()>& run) {
    for (int i = 0; i < kReachRuns; ++i) step(what + ", run " + std::to_string(i + 1), run);
}

// An entry's script runs again at each arrival the journey it begins makes at the
// entry (one that sends the party to itself): those runs count among the sixty.
void RunEntryRepeatedly(DRAV::CEngine& engine, const Stepper& step, const DRAV::AreaEntryPoint& entry) {
    for (int runs = 0, i = 1; runs < kReachRuns; ++i) {
        const int arrivals = step("the entry script of " + entry.second + ", run " + std::to_string(i),
                                  [&] { engine.RunEntryScript(entry.second); });
        runs += 1 + (engine.GetGame()->GetCurrentEntry() == entry ? arrivals : 0);
    }
}

DRAV::CActor* FindActorOfKind(DRAV::CEngine& engine, const std::string& kind) {
    for (const auto& actor : engine.GetGame()->GetCurrentArea()->GetActors())
        if (actor->IsAlive() && !actor->IsPartyMember() && actor->GetTemplateName() == kind) return actor.get();
    return nullptr;
}

// The main character talks to the partner, stepped up to it before each run for
// as long as both stand in the area where the talk began: a script may send the
// party away, or the partner.
void Talk(DRAV::CEngine& engine, const Stepper& step, const std::string& kind, const std::string& state,
          const TalkReach& talk) {
    DRAV::CGame& game = *engine.GetGame();
    const std::shared_ptr<DRAV::CActor> main = game.GetMainActor();
    const std::string area = game.GetCurrentArea()->GetName();
    const double x = main->GetX(), y = main->GetY();
    const auto here = [&] { return game.GetCurrentArea() && game.GetCurrentArea()->GetName() == area; };
    const auto stepUp = [&]() -> DRAV::ThingId {
        if (!here()) return 0;
        if (DRAV::CActor* actor = FindActorOfKind(engine, kind)) {
            // The kinds crowd round the party, many beyond talking reach: the partner steps up.
            actor->SetPosition(main->GetX() + 1.0, main->GetY());
            return actor->GetId();
        }
        for (const auto& object : game.GetCurrentArea()->GetObjects()) {
            if (object->GetTemplate().GetKey() != kind) continue;
            // The main character steps up to it, and back once the talk is over.
            main->SetPosition(object->GetX(), object->GetY());
            return object->GetId();
        }
        return 0;
    };
    if (!stepUp()) return;
    RunRepeatedly(step, "talking to " + kind + " at " + state, [&] {
        const DRAV::ThingId partner = stepUp();
        if (!partner) return;
        if (talk) return talk(engine, partner, state);
        main->PushInstantOrder(std::make_shared<DRAV::CTalkOrder>(partner, state, ""));
        engine.RunInstantOrders();
    });
    if (here()) main->SetPosition(x, y);
}

void Beat(DRAV::CEngine& engine, const Stepper& step, const std::string& kind) {
    if (DRAV::CActor* actor = FindActorOfKind(engine, kind))
        RunRepeatedly(step, "the heartbeat of " + kind, [&] { engine.RunHeartbeatActor(*actor); });
}

void CheckQuest(DRAV::CEngine& engine, const Stepper& step, const std::string& assignment) {
    const std::string tag = assignment.empty() ? kAnyTag : assignment;
    RunRepeatedly(step, "the tag " + tag, [&] { engine.SetTag(tag, false); });
}

// The object of `kind` with a trap in the party's area, or null.
std::shared_ptr<DRAV::CObject> FindTrap(DRAV::CEngine& engine, const std::string& kind) {
    for (const auto& object : engine.GetGame()->GetCurrentArea()->GetObjects())
        if (object->GetTemplate().GetKey() == kind && object->GetTrap()) return object;
    return nullptr;
}

// The door tile of `kind` in the party's area, or null.
DRAV::CTile* FindDoor(DRAV::CEngine& engine, const std::string& kind) {
    const DRAV::CArea& area = *engine.GetGame()->GetCurrentArea();
    for (std::uint32_t column = 0; column < area.GetColumns(); ++column)
        for (std::uint32_t row = 0; row < area.GetRows(); ++row)
            if (DRAV::CTile* tile = area.GetTile(column, row);
                tile && tile->IsDoor() && tile->GetDoor()->GetDefinition().GetKey() == kind)
                return tile;
    return nullptr;
}

// The main character treads on the object's trap, or opens the door, found anew
// before each run in the party's area: a script may send the party away, a trap
// leave with its object, a journey load the area afresh.
void Tread(DRAV::CEngine& engine, const Stepper& step, const std::string& kind) {
    if (!FindTrap(engine, kind)) return;
    RunRepeatedly(step, "the trap of " + kind, [&] {
        DRAV::CGame& game = *engine.GetGame();
        if (const auto object = game.GetCurrentArea() ? FindTrap(engine, kind) : nullptr) {
            const std::shared_ptr<DRAV::CTrap> trap = object->GetTrap();
            engine.HitTrap(*game.GetCurrentArea(), *object, *trap, *game.GetMainActor());
        }
    });
}

// The kinds beside the party that are not its foes join it, as a reply's join
// does, until it is full.
void FillTheParty(DRAV::CEngine& engine) {
    DRAV::CGame& game = *engine.GetGame();
    DRAV::CArea& area = *game.GetCurrentArea();
    const DRAV::ActorList actors = area.GetActors();
    for (const auto& actor : actors) {
        if (game.IsPartyFull()) break;
        if (!actor->IsAlive() || actor->IsPartyMember() || actor->GetRelation() != DRAV::RELATION_NEUTRAL) continue;
        area.AddActor(area.RemoveActor(*actor));
        game.AddPartyMember(actor);
        game.PushEvent(std::make_shared<DRAV::CInfoEvent>(DRAV::EVENT_PARTY_CHANGED));
    }
}

// The whole party treads on the object's trap, found anew before each run, for
// the ticks of a timer message of a clock that has fallen behind, until a script
// fails, as the game pauses then: each member steps onto it again from beside it
// in each tick, and a trap springs to a step onto it. Then the party steps back to
// where the main character stood, off the trap, for the rest of the play.
void StandOn(DRAV::CEngine& engine, const Stepper& step, const std::string& kind) {
    if (!FindTrap(engine, kind)) return;
    step("the party filled beside the trap of " + kind, [&] { FillTheParty(engine); });
    DRAV::CGame& game = *engine.GetGame();
    const std::string area = game.GetCurrentArea()->GetName();
    const double x = game.GetMainActor()->GetX(), y = game.GetMainActor()->GetY();
    RunRepeatedly(step, "a timer message of the whole party on the trap of " + kind, [&] {
        const auto object = game.GetCurrentArea() ? FindTrap(engine, kind) : nullptr;
        if (!object) return;
        const auto playing = [&] {
            return game.GetStateCode() == DRAV::GAME_PLAYING || game.GetStateCode() == DRAV::GAME_EXIT_AVAILABLE;
        };
        double halfX = 0.0, halfY = 0.0;
        object->GetHalfExtents(halfX, halfY);
        for (int tick = 0; tick < kTicksOfATimerMessage && playing(); ++tick) {
            for (const auto& member : game.GetParty()) {
                member->SetPosition(object->GetX() + halfX + member->GetRadius() + 1.0, object->GetY());
                member->FinalizeMove(object->GetX(), object->GetY());
            }
            engine.RunTick();
        }
    });
    if (game.GetCurrentArea() && game.GetCurrentArea()->GetName() == area)
        for (const auto& member : game.GetParty()) member->SetPosition(x, y);
}

void Open(DRAV::CEngine& engine, const Stepper& step, const std::string& kind) {
    if (!FindDoor(engine, kind)) return;
    RunRepeatedly(step, "the door " + kind, [&] {
        DRAV::CTile* tile = engine.GetGame()->GetCurrentArea() ? FindDoor(engine, kind) : nullptr;
        if (tile) engine.OpenDoor(*engine.GetGame()->GetMainActor(), *tile, *tile->GetDoor());
    });
}

}  // namespace

QuillmereFuzz::PlayPlan ReachScript(QuillmereFuzz::PlayPlan plan, const ScriptSpot& spot, const std::string& file,
                                    const std::pair<std::string, std::string>& placed, TalkReach talk,
                                    TrapTread tread) {
    switch (spot.kind) {
    case ScriptKind::TalkState:
        plan.reach = [owner = spot.owner, state = spot.name, talk](DRAV::CEngine& engine, const Stepper& step) {
            Talk(engine, step, owner, state, talk);
        };
        break;
    case ScriptKind::Heartbeat:
        plan.reach = [owner = spot.owner](DRAV::CEngine& engine, const Stepper& step) { Beat(engine, step, owner); };
        break;
    case ScriptKind::QuestCheck:
        plan.reach = [assignment = spot.assignment](DRAV::CEngine& engine, const Stepper& step) {
            CheckQuest(engine, step, assignment);
        };
        break;
    case ScriptKind::AreaEntry:
        // Entering runs the script once; the step runs it again, for the first living member.
        plan.reachIn = {file.substr(0, file.rfind('.')), spot.name};
        plan.reach = [entry = plan.reachIn](DRAV::CEngine& engine, const Stepper& step) {
            RunEntryRepeatedly(engine, step, entry);
        };
        break;
    case ScriptKind::Trap:
        plan.reachIn = placed;
        plan.reach = [owner = spot.owner, tread](DRAV::CEngine& engine, const Stepper& step) {
            if (tread == TrapTread::WholeParty) StandOn(engine, step, owner);
            else Tread(engine, step, owner);
        };
        break;
    case ScriptKind::Door:
        plan.reachIn = placed;
        plan.reach = [owner = spot.owner](DRAV::CEngine& engine, const Stepper& step) { Open(engine, step, owner); };
        break;
    }
    return plan;
}

}  // namespace QuillmereSweep
