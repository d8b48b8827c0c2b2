#include "engine/engine.h"

#include "common/exception.h"
#include "common/trace.h"
#include "engine/brain/brain.h"
#include "script/script_run.h"
#include "world/actor.h"
#include "world/area.h"

namespace DRAV {
namespace {

// How far a fired tag carries.
constexpr double kFireTagRange = 80.0;

}  // namespace

CEngine::~CEngine() {
    m_module.reset();
    m_game.reset();
    m_dataSource.reset();
}

CGame& CEngine::Game() const {
    if (!m_game) throw CDRAVException(DRAV_ERR_OUT_OF_RANGE, "no game is running");
    return *m_game;
}

CArea& CEngine::CurrentArea() const {
    CArea* area = Game().GetCurrentArea();
    if (!area) throw CDRAVException(DRAV_ERR_OUT_OF_RANGE, "the game has no current area");
    return *area;
}

const CModule& CEngine::Module() const {
    if (!m_module) throw CDRAVException(DRAV_ERR_OUT_OF_RANGE, "no module is loaded");
    return *m_module;
}

void CEngine::RequireState(std::int32_t state) const {
    if (Game().GetStateCode() != state) throw CDRAVException(DRAV_ERR_OUT_OF_RANGE, "");
}

void CEngine::RunTick() {
    CGame& game = Game();
    CurrentArea();  // every phase works on it
    // Every script of the tick spends one budget, as the states of one reply do:
    // a whole party on a trap that rearms at once, or each member opening a door
    // with a script, costs one run however many scripts it sets off.
    CScriptRun run;
    game.SetTick(game.GetTick() + 1);
    game.SetStateCode(GAME_PLAYING);
    game.EndArrivals();
    game.NotePartyOrders();
    NoteWalksToWayOuts();
    RunAI();
    UpdateActorEffects();
    RunMaintainedPowers();
    RunOngoingSpells();
    RunInstantOrders();
    game.SetInBattle(!IsPartySafe());
    RunOrders();
    RunEffects();
    RunDetection();
    RunHeartbeats();
    RemoveDeadActors();
    UnsummonItems();
    RunStealthChecks();
    CheckForExits();
    CheckWalksToWayOuts();
}

void CEngine::RunAI() {
    CArea& area = CurrentArea();
    const ActorList actors = area.GetActors();
    CProximityWatchers watchers(area);
    for (const auto& actor : actors)
        if (RunActorTriggers(watchers, *actor)) watchers.Forget();
    for (const auto& actor : actors) {
        const std::shared_ptr<CBrain> brain = actor->GetBrain();
        if (!brain || actor->GetRelation() == RELATION_PARTY || KeepsHoldingBack(*actor)) continue;
        brain->Think(*this, *actor);
    }
}

bool CEngine::RunActorTriggers(CProximityWatchers& watchers, CActor& actor) {
    const std::shared_ptr<CBrain> brain = actor.GetBrain();
    // One held back waits, turning no more than it thinks, until the party comes to
    // it: turned, it would call others to the fight it holds back from. In a page's
    // moment nobody turns on a party still reading.
    if (!brain || actor.GetRelation() != RELATION_NEUTRAL || Game().IsHoldingBack(actor.GetId()) ||
        Game().IsPageMoment())
        return false;
    if (!brain->TriggerTestProximity(watchers, actor)) return false;
    AIFireTags(actor, *brain);
    // A member walking up to talk stops when the actor turns on the party.
    for (const auto& member : Game().GetParty()) {
        const std::shared_ptr<COrder> order = member->GetCurrentOrder();
        if (order && order->GetType() == ORDER_MOVE_TALK && order->GetThingId() == actor.GetId())
            EndTalkWalkWithFoe(*member, actor);
    }
    return true;
}

void CEngine::RunCombatTrigger(CActor& target, const CActor* attacker) {
    const std::shared_ptr<CBrain> brain = target.GetBrain();
    if (brain && target.GetRelation() == RELATION_NEUTRAL && brain->TriggerTestCombat(target, attacker))
        AIFireTags(target, *brain);
}

void CEngine::RunStrikeTriggers(CActor& attacker, CActor& target) {
    RunCombatTrigger(target, &attacker);
    if (target.IsPartyMember() && attacker.GetRelation() == RELATION_NEUTRAL) {
        const std::shared_ptr<CBrain> brain = attacker.GetBrain();
        if (!brain) attacker.SetRelation(RELATION_HOSTILE);
        else if (brain->TriggerTestAttacksParty(attacker)) AIFireTags(attacker, *brain);
    }
    const bool partyStrikes = attacker.IsPartyMember() && !target.IsPartyOrFriendly();
    if (partyStrikes) Game().EndAllHolds();
    Game().EndHold(target.GetId());
    if (IsBlowOfTheFight(attacker, target)) Game().SetFightUnderWay();
}

bool CEngine::IsBlowOfTheFight(const CActor& attacker, const CActor& target) {
    return (attacker.FightsForTheParty() && !target.IsPartyOrFriendly()) ||
           (target.FightsForTheParty() && !attacker.IsPartyOrFriendly());
}

void CEngine::AIFireTags(CActor& actor, CBrain& brain) {
    CArea* area = actor.GetArea();
    if (!area) return;
    const ActorList receivers = area->GetActors();
    std::string tag;
    while (brain.PopPendingTag(tag)) {
        for (const auto& receiver : receivers) {
            if (receiver->GetRelation() == RELATION_PARTY) continue;
            if (!IsOnSeenCell(*area, *receiver) || actor.DistanceTo(*receiver) > kFireTagRange) continue;
            DRAV_TRACE(DRAVCommon::TRACE_LOW, "%s (%g %g) fires tag %s at %s (%g %g)\n", actor.GetName().c_str(),
                       actor.GetX(), actor.GetY(), tag.c_str(), receiver->GetName().c_str(), receiver->GetX(),
                       receiver->GetY());
            const std::shared_ptr<CBrain> receiverBrain = receiver->GetBrain();
            if (receiverBrain && receiver->GetRelation() == RELATION_NEUTRAL &&
                receiverBrain->TriggerTestTag(*receiver, tag))
                AIFireTags(*receiver, *receiverBrain);
        }
    }
}

}  // namespace DRAV
