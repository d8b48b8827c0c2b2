#include "sweep/script_reach.h"

#include <functional>
#include <memory>

#include "engine/engine.h"
#include "rules/definitions/object_template.h"
#include "world/actor.h"
#include "world/area.h"
#include "world/game.h"
#include "world/object.h"
#include "world/order.h"

namespace QuillmereSweep {
namespace {

constexpr const char* kAnyTag = "sweep_quest_check";

using Stepper = QuillmereFuzz::PlayPlan::Stepper;

// Each run a step of play of its own, as each would be in the game.
void RunRepeatedly(const Stepper& step, const std::string& what, const std::function<void()>& run) {
    for (int i = 0; i < kReachRuns; ++i) step(what + ", run " + std::to_string(i + 1), run);
}

DRAV::CActor* FindActorOfKind(DRAV::CEngine& engine, const std::string& kind) {
    for (const auto& actor : engine.GetGame()->GetCurrentArea()->GetActors())
        if (actor->IsAlive() && !actor->IsPartyMember() && actor->GetTemplateName() == kind) return actor.get();
    return nullptr;
}

void Talk(DRAV::CEngine& engine, const Stepper& step, const std::string& kind, const std::string& state) {
    DRAV::CGame& game = *engine.GetGame();
    const std::shared_ptr<DRAV::CActor> main = game.GetMainActor();
    const double x = main->GetX(), y = main->GetY();
    DRAV::ThingId partner = 0;
    if (DRAV::CActor* actor = FindActorOfKind(engine, kind)) {
        // The kinds crowd round the party, many beyond talking reach: the partner steps up.
        actor->SetPosition(x + 1.0, y);
        partner = actor->GetId();
    } else {
        for (const auto& object : game.GetCurrentArea()->GetObjects()) {
            if (object->GetTemplate().GetKey() != kind) continue;
            partner = object->GetId();
            // The main character steps up to it, and back once the talk is over.
            main->SetPosition(object->GetX(), object->GetY());
            break;
        }
    }
    if (!partner) return;
    RunRepeatedly(step, "talking to " + kind + " at " + state, [&] {
        main->PushInstantOrder(std::make_shared<DRAV::CTalkOrder>(partner, state, ""));
        engine.RunInstantOrders();
    });
    main->SetPosition(x, y);
}

void Beat(DRAV::CEngine& engine, const Stepper& step, const std::string& kind) {
    if (DRAV::CActor* actor = FindActorOfKind(engine, kind))
        RunRepeatedly(step, "the heartbeat of " + kind, [&] { engine.RunHeartbeatActor(*actor); });
}

void CheckQuest(DRAV::CEngine& engine, const Stepper& step, const std::string& assignment) {
    const std::string tag = assignment.empty() ? kAnyTag : assignment;
    RunRepeatedly(step, "the tag " + tag, [&] { engine.SetTag(tag, false); });
}

}  // namespace

QuillmereFuzz::PlayPlan ReachScript(QuillmereFuzz::PlayPlan plan, const ScriptSpot& spot, const std::string& file) {
    switch (spot.kind) {
    case ScriptKind::TalkState:
        plan.reach = [owner = spot.owner, state = spot.name](DRAV::CEngine& engine, const Stepper& step) {
            Talk(engine, step, owner, state);
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
        plan.reach = [entry = spot.name](DRAV::CEngine& engine, const Stepper& step) {
            RunRepeatedly(step, "the entry script of " + entry, [&] { engine.RunEntryScript(entry); });
        };
        break;
    }
    return plan;
}

}  // namespace QuillmereSweep
