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

// Each run goes on past the script errors of those before it, as the game does.
void RunRepeatedly(const std::function<void()>& run) {
    for (int i = 0; i < kReachRuns; ++i) QuillmereFuzz::PastScriptErrors(run);
}

DRAV::CActor* FindActorOfKind(DRAV::CEngine& engine, const std::string& kind) {
    for (const auto& actor : engine.GetGame()->GetCurrentArea()->GetActors())
        if (actor->IsAlive() && !actor->IsPartyMember() && actor->GetTemplateName() == kind) return actor.get();
    return nullptr;
}

void Talk(DRAV::CEngine& engine, const std::string& kind, const std::string& state) {
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
    RunRepeatedly([&] {
        main->PushInstantOrder(std::make_shared<DRAV::CTalkOrder>(partner, state, ""));
        engine.RunInstantOrders();
    });
    main->SetPosition(x, y);
}

void Beat(DRAV::CEngine& engine, const std::string& kind) {
    if (DRAV::CActor* actor = FindActorOfKind(engine, kind)) RunRepeatedly([&] { engine.RunHeartbeatActor(*actor); });
}

void CheckQuest(DRAV::CEngine& engine, const std::string& assignment) {
    const std::string tag = assignment.empty() ? kAnyTag : assignment;
    RunRepeatedly([&] { engine.SetTag(tag, false); });
}

}  // namespace

QuillmereFuzz::PlayPlan ReachScript(QuillmereFuzz::PlayPlan plan, const ScriptSpot& spot, const std::string& file) {
    switch (spot.kind) {
    case ScriptKind::TalkState:
        plan.reach = [owner = spot.owner, state = spot.name](DRAV::CEngine& engine) { Talk(engine, owner, state); };
        break;
    case ScriptKind::Heartbeat:
        plan.reach = [owner = spot.owner](DRAV::CEngine& engine) { Beat(engine, owner); };
        break;
    case ScriptKind::QuestCheck:
        plan.reach = [assignment = spot.assignment](DRAV::CEngine& engine) { CheckQuest(engine, assignment); };
        break;
    case ScriptKind::AreaEntry:
        // Entering runs the script once; the step runs it again, for the first living member.
        plan.reachIn = {file.substr(0, file.rfind('.')), spot.name};
        plan.reach = [entry = spot.name](DRAV::CEngine& engine) {
            RunRepeatedly([&] { engine.RunEntryScript(entry); });
        };
        break;
    }
    return plan;
}

}  // namespace QuillmereSweep
