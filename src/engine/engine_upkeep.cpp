// Upkeep around the orders of a tick: actors' timed state before them; heartbeat
// scripts, the clearing out of the dead (with their belongings, encounters and a
// wiped-out party) and summoned items running out after them.

#include <algorithm>
#include <cmath>
#include <exception>
#include <limits>
#include <memory>

#include "common/exception.h"
#include "common/random.h"
#include "common/trace.h"
#include "engine/engine.h"
#include "script/script.h"
#include "world/actor.h"
#include "world/area.h"
#include "world/events/event.h"
#include "world/movement/pathfind.h"

namespace DRAV {
namespace {

constexpr double kNearbyHeartbeatRange = 120.0;
constexpr std::uint32_t kUnsummonPeriod = 30;

bool HasRunOut(std::uint32_t endTick, std::uint32_t now) { return endTick != 0 && endTick <= now; }

}  // namespace

void CEngine::UpdateActorEffects() {
    const std::uint32_t now = Game().GetTick();
    // Walked as it stands, without a copy: the end of an effect and the step of an
    // action change only the actor, the one it attacks and the game's queue of
    // events, and run no script, so nobody comes into the list or leaves it here.
    for (const auto& actor : CurrentArea().GetActors()) {
        if (actor->GetOrdersChanged()) {
            actor->SetOrdersChanged(false);
            if (actor->GetActionState() == ACTION_WIND_UP || actor->GetActionState() == ACTION_STRIKE)
                actor->SetActionState(ACTION_IDLE);
            actor->SetAttackTarget(0, nullptr);
        }
        actor->ExpireEffects(now);
    }
    UpdateVisibility();
}

void CEngine::UpdateVisibility() {
    if (Game().UpdatePartyVisibility()) Game().PushEvent(std::make_shared<CInfoEvent>(EVENT_VIEW_RECOMPUTED));
}

void CEngine::ResetHeartbeatTimer() {
    const double seconds = DRAVCommon::Random() * 10.0 + 5.0;
    Game().SetNextHeartbeatTick(Game().GetTick() + static_cast<std::uint32_t>(std::trunc(seconds * 30.0)));
}

void CEngine::RunHeartbeats() {
    if (Game().GetTick() < Game().GetNextHeartbeatTick()) return;
    if (!Game().IsInBattle()) {
        if (DRAVCommon::Random() < 0.5) RunPartyHeartbeat();
        else RunNearbyHeartbeat();
    }
    ResetHeartbeatTimer();
}

void CEngine::RunPartyHeartbeat() {
    const ActorList party = Game().GetParty();
    if (party.empty()) return;
    const std::int32_t roll = DRAVCommon::RollDie(static_cast<std::int32_t>(party.size()));
    CActor& member = *party.at(static_cast<std::size_t>(roll - 1));
    if (!member.IsAlive() || member.HasStatus(STATUS_DOMINATED) || member.HasStatus(STATUS_CONFUSED) ||
        member.HasStatus(STATUS_HELD))
        return;
    RunHeartbeatActor(member);
}

void CEngine::RunNearbyHeartbeat() {
    const ActorList party = Game().GetParty();
    const ActorList actors = CurrentArea().GetActors();
    CActor* chosen = nullptr;
    double best = std::numeric_limits<double>::infinity();
    for (const auto& actor : actors) {
        if (!actor->IsAlive() || actor->IsPartyMember()) continue;
        for (const auto& member : party) {
            if (!member->IsAlive()) continue;
            const double distance = actor->DistanceTo(*member);
            if (distance <= kNearbyHeartbeatRange && distance < best) {
                best = distance;
                chosen = actor.get();
            }
        }
    }
    if (chosen) RunHeartbeatActor(*chosen);
}

void CEngine::RunHeartbeatActor(CActor& actor) {
    const std::shared_ptr<CScript>& script = actor.GetHeartbeat();
    if (!script) {
        DRAV_TRACE(DRAVCommon::TRACE_LOW, "%s has no heartbeat script.\n", actor.GetName().c_str());
        return;
    }
    DRAV_TRACE(DRAVCommon::TRACE_LOW, "Running heartbeat script for %s.\n", actor.GetName().c_str());
    CScriptContext context;
    context.engine = this;
    context.actor = &actor;
    script->Eval(this, context);
}

void CEngine::RemoveDeadActors() {
    CGame& game = Game();
    CArea& area = CurrentArea();
    const std::uint32_t now = game.GetTick();
    area.PurgeRemovedObjects();
    const auto goes = [now](const CActor& actor) {
        return !actor.IsAlive() || HasRunOut(actor.GetSummonEndTick(), now);
    };
    // Most ticks nobody fell or ran out, and no list is copied.
    const ActorList& placed = area.GetActors();
    if (std::none_of(placed.begin(), placed.end(), [&](const auto& actor) { return goes(*actor); })) return;
    const ActorList actors = placed;
    for (const auto& actor : actors) {
        bool unsummoned = false;
        if (HasRunOut(actor->GetSummonEndTick(), now)) {
            game.PushMessage(MESSAGE_NOTICE, actor->GetName() + " is unsummoned.");
            actor->SetActionState(ACTION_DEAD);
            actor->SetAttackTarget(0, nullptr);
            unsummoned = true;
        }
        if (actor->IsAlive()) continue;
        DRAV_TRACE(DRAVCommon::TRACE_LOW, "%s is dead, clear out actor\n", actor->GetName().c_str());
        actor->ClearOrders();
        actor->ReleaseAttackers(false, now);
        actor->EndPower();
        game.EndHold(actor->GetId());

        const bool party = actor->IsPartyMember();
        if (unsummoned || !party) {
            std::shared_ptr<CObject> pile;
            for (const auto& item : unsummoned ? actor->GetBackpack() : actor->GetDropItems()) {
                if (item->GetTemplate().HasFlag(ITEMFLAG_NOGIVE)) continue;
                DRAV_TRACE(DRAVCommon::TRACE_LOW, "%s (dead) drops %s\n", actor->GetName().c_str(),
                           item->GetTemplate().GetName().c_str());
                if (unsummoned) actor->RemoveFromBackpack(*item);
                else actor->RemoveDropItem(*item);
                if (!pile) pile = area.DropItem(Module(), actor->GetX(), actor->GetY());
                pile->AddItem(item);
            }
        }
        std::shared_ptr<CActor> removed = area.RemoveActor(*actor);

        if (party) {
            if (!actor->IsSummoned()) {
                game.PushMessage(MESSAGE_DEATH, actor->GetName() + " has died!");
                game.AddNonLocatedActor(std::move(removed));
            } else {
                game.RemovePartyMember(*actor);
                game.PushEvent(std::make_shared<CInfoEvent>(EVENT_PARTY_CHANGED));
            }
            // Several members falling in one tick are still one wipe-out.
            bool anyStanding = false;
            for (const auto& member : game.GetParty())
                if (!member->IsSummoned() && member->IsAlive()) anyStanding = true;
            if (!anyStanding && game.GetStateCode() != GAME_WIPED_OUT) {
                game.PushMessage(MESSAGE_NOTICE, "Your party has been wiped out!");
                game.SetStateCode(GAME_WIPED_OUT);
                game.SetEntry(game.GetResurrectionPoint(), AREA_LOAD_FRESH, "");
            }
        } else if (!unsummoned) {
            CheckEncounterCompletion(*actor);
        }
    }
}

void CEngine::CheckEncounterCompletion(CActor& actor) {
    CArea& area = CurrentArea();
    const std::string& tag = actor.GetCompletionTag();
    if (!tag.empty()) {
        DRAV_TRACE(DRAVCommon::TRACE_LOW, "Killed %s to set tag %s\n", actor.GetName().c_str(), tag.c_str());
        SetTag(tag, false);
    }
    const std::string name = actor.GetEncounterName();
    if (name.empty() || area.EncounterActorsPresent(name) != 0) return;
    // Someone who came here with the party from another area's encounter: that
    // encounter waits in its own area, and nothing here completes it.
    const CPatchActionEncounter* found = area.FindEncounterIfAny(name);
    if (!found) return;
    const CPatchActionEncounter& encounter = *found;
    const std::int32_t stage = actor.GetEncounterIndex();
    if (stage < 0 || static_cast<std::size_t>(stage) >= encounter.stages.size())
        throw CDRAVException(DRAV_ERR_OUT_OF_RANGE,
                             "encounter \"" + name + "\" has no stage " + std::to_string(stage));
    // The record may go while its script runs; the script is shared, so keep it.
    const std::shared_ptr<CScript> script = encounter.stages[static_cast<std::size_t>(stage)].script;
    // A failed script still brings on the next stage, whose foes would else wait
    // for a death that never comes.
    std::exception_ptr scriptFailure;
    if (script) {
        CScriptContext context;
        scriptFailure = HoldScriptError([&] { script->Eval(this, context); });
    }
    const std::set<ThingId> before = ActorsOf(area);
    area.AdvanceEncounterStage(name, Module(), static_cast<std::size_t>(stage) + 1);
    RouseSprungFoes(area, before);
    if (scriptFailure) std::rethrow_exception(scriptFailure);
}

void CEngine::UnsummonItems() {
    CGame& game = Game();
    const std::uint32_t now = game.GetTick();
    if (now % kUnsummonPeriod != 0) return;
    CArea& area = CurrentArea();
    const ActorList actors = area.GetActors();
    for (const auto& actor : actors) {
        for (int slot = 0; slot < kEquipSlotCount; ++slot) {
            const CItem* item = actor->GetEquipped(static_cast<EquipSlot>(slot));
            if (!item || !HasRunOut(item->GetExpiryTick(), now)) continue;
            UnsummonMsg(*actor, *item);
            actor->RemoveEquipment(static_cast<EquipSlot>(slot));
            game.PushActorInfoEvent(EVENT_ACTOR_EQUIPMENT, actor->GetId());
        }
        for (const auto& item : actor->GetBackpack()) {
            if (!HasRunOut(item->GetExpiryTick(), now)) continue;
            UnsummonMsg(*actor, *item);
            actor->RemoveFromBackpack(*item);
        }
    }
    for (const auto& object : area.GetObjects()) {
        for (const auto& item : object->GetItems()) {
            if (!HasRunOut(item->GetExpiryTick(), now)) continue;
            DRAV_TRACE(DRAVCommon::TRACE_LOW, "%s is unsummoned\n", item->GetTemplate().GetName().c_str());
            object->RemoveItem(item);
        }
    }
}

void CEngine::UnsummonMsg(const CActor& actor, const CItem& item) {
    DRAV_TRACE(DRAVCommon::TRACE_LOW, "%s (%s) is unsummoned\n", actor.GetName().c_str(),
               item.GetTemplate().GetName().c_str());
    if (actor.IsPartyMember())
        Game().PushMessage(MESSAGE_NOTICE, actor.GetName() + ": " + item.GetTemplate().GetName() + " is unsummoned.");
}

}  // namespace DRAV
