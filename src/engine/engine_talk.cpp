// The talk order (a conversation runs its partner's state scripts), leaving the
// party and spending the points a member has earned.

#include <algorithm>
#include <string>
#include <vector>

#include "common/exception.h"
#include "common/trace.h"
#include "engine/engine.h"
#include "rules/definitions/talk_state.h"
#include "script/script.h"
#include "script/script_run.h"
#include "world/actor.h"
#include "world/area.h"
#include "world/events/event.h"
#include "world/object.h"
#include "world/order_rule.h"

namespace DRAV {
namespace {

// The states one reply of the player may run, one naming the next: a real
// conversation runs a handful before it waits for the player again.
constexpr std::size_t kTalkChainLimit = 16;

std::uint32_t ThingTypeOf(ThingId id) { return id >> 24; }

// The state a talk order opens with. A missing one empties the partner's replies
// before the failure goes on, so no stale choice stays on offer.
const CTalkState& FindOpeningState(CTalkTarget& partner, const std::string& stateName) {
    const CTalkState* state = FindTalkState(partner.GetTalkStates(), stateName);
    if (state) return *state;
    partner.ClearTalkChoices();
    throw CDRAVException(DRAV_ERR_SCRIPT, "no talk state " + stateName + " for " + partner.GetName());
}

// A state the chain has run already would run for ever, and a chain past the limit
// is no conversation: either is a script error naming the partner and the state.
void CheckTalkChain(const CTalkTarget& partner, std::vector<const CTalkState*>& ran, const CTalkState& next) {
    if (std::find(ran.begin(), ran.end(), &next) != ran.end())
        throw CDRAVException(DRAV_ERR_SCRIPT, partner.GetName() + ": talk state \"" + next.GetName() +
                                                  "\" runs again before the player replies");
    if (ran.size() == kTalkChainLimit)
        throw CDRAVException(DRAV_ERR_SCRIPT, partner.GetName() + ": talk state \"" + next.GetName() +
                                                  "\" would run after " + std::to_string(kTalkChainLimit) +
                                                  " states without a reply from the player");
    ran.push_back(&next);
}

// Runs `state` and every state its scripts name after it, one fresh context each
// and one budget for them all. A failing script empties the partner's replies.
void RunTalkState(CEngine& engine, CActor& talker, CThing& partnerThing, CTalkTarget& partner,
                  const CTalkState& opening) {
    partner.ClearTalkChoices();
    CScriptRun run;
    try {
        std::vector<const CTalkState*> ran;
        const CTalkState* state = &opening;
        while (state) {
            CheckTalkChain(partner, ran, *state);
            CScriptContext context;
            context.actor = &talker;
            context.partner = &partnerThing;
            if (state->GetScript()) state->GetScript()->Eval(&engine, context);
            if (context.nextState.empty()) break;
            state = FindTalkState(partner.GetTalkStates(), context.nextState);
        }
    } catch (...) {
        partner.ClearTalkChoices();
        throw;
    }
}

}  // namespace

bool CEngine::IsSilentFoe(const CActor& actor) {
    return actor.GetStartStateName().empty() && IsFoeToHoldBack(actor);
}

void CEngine::RunTalkOrder(CActor& actor, const CTalkOrder& order) {
    CArea& area = CurrentArea();
    CGame& game = Game();
    switch (ThingTypeOf(order.partner)) {
    case THING_ACTOR: {
        CActor* partner = area.FindActor(order.partner);
        if (!partner) throw CDRAVException(DRAV_ERR_PARTY_POSITION, "");
        const Relation relation = partner->GetRelation();
        if (partner == &actor || relation == RELATION_HOSTILE || relation == RELATION_BERSERK) return;
        if (!area.CanReachActor(actor, *partner, kTalkOrderReach)) throw CDRAVException(DRAV_ERR_PARTY_POSITION, "");
        partner->FaceTowards(actor);
        // Nothing is said or noted for a conversation that cannot start.
        const CTalkState* state = order.state.empty() ? nullptr : &FindOpeningState(*partner, order.state);
        if (!order.line.empty()) game.PushMessage(MESSAGE_NOTICE, actor.GetName() + " : " + order.line);
        game.UpdatePeopleJournal(area, *partner, order.line);
        if (state) RunTalkState(*this, actor, *partner, *partner, *state);
        else partner->ClearTalkChoices();
        return;
    }
    case THING_OBJECT: {
        CObject* partner = area.FindObject(order.partner);
        if (!partner || !actor.IsNextToObject(*partner)) throw CDRAVException(DRAV_ERR_PARTY_POSITION, "");
        if (order.state.empty()) partner->ClearTalkChoices();
        else RunTalkState(*this, actor, *partner, *partner, FindOpeningState(*partner, order.state));
        return;
    }
    default: throw CDRAVException(DRAV_ERR_PARTY_POSITION, "");
    }
}

void CEngine::RunLeavePartyOrder(CActor& actor) {
    if (!actor.IsPartyMember()) throw CDRAVException(DRAV_ERR_PARTY_POSITION, "");
    Game().RemovePartyMember(actor);
    Game().PushEvent(std::make_shared<CInfoEvent>(EVENT_PARTY_CHANGED));
}

void CEngine::RunSpendPointsOrder(CActor& actor, const CSpendPointsOrder& order) {
    if (!actor.IsPartyMember()) return;
    if (order.attribute >= 0 && order.attribute < kNoAttribute) {
        const auto attribute = static_cast<Attribute>(order.attribute);
        if (actor.GetUnspentPoints() > 0) {
            actor.SetAttribute(attribute, actor.GetAttribute(attribute) + 1);
            actor.SetUnspentPoints(actor.GetUnspentPoints() - 1);
        } else {
            DRAV_TRACE(DRAVCommon::TRACE_LOW, "Actor %s  Attribute %d  No attribute points\n", actor.GetName().c_str(),
                       order.attribute);
        }
    }
    if (order.learn != kNoSkill) {
        const auto skill = static_cast<SkillId>(order.learn);
        if (actor.CanLearnSkill(skill)) {
            actor.AddSkill(skill);
            actor.InscribeScroll(Module(), &Game());
        } else {
            DRAV_TRACE(DRAVCommon::TRACE_LOW, "Actor %s  Skill %d  Can't gain skill\n", actor.GetName().c_str(),
                        order.learn);
        }
    }
    if (order.forget != kNoSkill) {
        const auto skill = static_cast<SkillId>(order.forget);
        if (actor.CanForgetSkill(skill)) {
            actor.SetSkillEdit(false);
            actor.RemoveSkill(skill);
        }
    }
}

}  // namespace DRAV
