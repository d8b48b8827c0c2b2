// The talk order (a conversation runs its partner's state scripts), leaving the
// party and spending the points a member has earned. The talk and the leave run
// only once the order rule found the partner and its state, and the member.

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

void CEngine::RunTalkOrder(CActor& actor, const CTalkOrder& order, const OrderThings& found) {
    CGame& game = Game();
    if (CActor* partner = found.other) {
        const Relation relation = partner->GetRelation();
        if (partner == &actor || relation == RELATION_HOSTILE || relation == RELATION_BERSERK) return;
        partner->FaceTowards(actor);
        if (!order.line.empty()) game.PushMessage(MESSAGE_NOTICE, actor.GetName() + " : " + order.line);
        game.UpdatePeopleJournal(CurrentArea(), *partner, order.line);
        if (found.state) RunTalkState(*this, actor, *partner, *partner, *found.state);
        else partner->ClearTalkChoices();
        return;
    }
    CObject& partner = *found.object;
    if (found.state) RunTalkState(*this, actor, partner, partner, *found.state);
    else partner.ClearTalkChoices();
}

void CEngine::RunLeavePartyOrder(CActor& actor) {
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
