// Three questions about the party each tick: is it in battle, is a sneaking actor
// seen, and may it leave through one of the area's exits.

#include <algorithm>
#include <memory>

#include "common/random.h"
#include "common/trace.h"
#include "engine/engine.h"
#include "rules/kinds/modifiers.h"
#include "rules/kinds/number_texts.h"
#include "world/actor.h"
#include "world/area.h"
#include "world/events/event.h"

namespace DRAV {
namespace {

constexpr double kBattleRange = 150.0;
constexpr double kExitRange = 20.0;
constexpr std::int32_t kCombatSneakMargin = 50;

bool IsThreat(const CActor& actor) {
    return actor.GetRelation() == RELATION_HOSTILE || actor.GetRelation() == RELATION_BERSERK;
}

}  // namespace

bool CEngine::IsPartySafe() {
    const ActorList& actors = CurrentArea().GetActors();
    for (const auto& member : Game().GetParty()) {
        if (!member->IsAlive()) continue;
        if (member->HasStatus(STATUS_DOMINATED)) return false;
        for (const auto& actor : actors)
            if (IsThreat(*actor) && actor->IsWithin(*member, kBattleRange)) return false;
    }
    return true;
}

void CEngine::RunStealthChecks() {
    const ActorList actors = CurrentArea().GetActors();
    for (const auto& actor : actors) {
        if (!actor->IsSneaking() || StealthCheckOneActor(*actor, false)) continue;
        PushActorMessage(*actor, " is spotted.");
        StopSneaking(*actor);
    }
}

bool CEngine::StealthCheckOneActor(CActor& sneaker, bool combat) {
    const bool sneakerSide = sneaker.IsPartyOrFriendly();
    const std::int32_t stealth = sneaker.GetSpecialStat(SPECIAL_STEALTH);
    std::int32_t highest = 0;
    for (const auto& observer : CurrentArea().GetActors()) {
        const bool observerSide =
            observer->GetRelation() == RELATION_PARTY || observer->GetRelation() == RELATION_FRIENDLY;
        if (observerSide == sneakerSide) continue;
        std::int32_t value = 0;
        if (sneaker.IsSpottedBy(*observer, stealth, &value)) {
            DRAV_TRACE(DRAVCommon::TRACE_LOW, "%s (%g %g) is seen by %s (%g %g)\n", sneaker.GetName().c_str(),
                       sneaker.GetX(), sneaker.GetY(), observer->GetName().c_str(), observer->GetX(),
                       observer->GetY());
            return false;
        }
        highest = std::max(highest, value);
    }
    if (!combat) return true;

    const std::int32_t base = sneaker.GetSkillBase(SKILL_SNEAK);
    std::int64_t bonus = 0;
    if (base != 0) {
        bonus = base;
        const std::int32_t attribute = GetSkillInfo(SKILL_SNEAK).attribute;
        if (attribute != kAttributeCount) {
            const auto which = static_cast<Attribute>(attribute);
            bonus += (std::int64_t{sneaker.GetAttribute(which)} - 10 +
                      sneaker.GetModifier(GetAttributeModifierIndex(which))) * 5 / 2;
        }
    }
    bonus += sneaker.GetModifier(GetSpecialStatModifierIndex(SPECIAL_STEALTH));
    const std::int32_t target = highest + kCombatSneakMargin;
    const std::int32_t roll = DRAVCommon::RollDie(100);
    const auto bonus32 = static_cast<std::int32_t>(std::clamp<std::int64_t>(bonus, INT32_MIN, INT32_MAX));
    const bool success = roll >= 96 || (roll > 5 && roll + bonus > target);
    Game().PushMessage(MESSAGE_NOTICE, sneaker.GetName() + " combat sneak check " +
                                           (success ? "succeeded " : "failed ") +
                                           FormatRollText(roll, bonus32, target) + ".");
    return success;
}

void CEngine::StopSneaking(CActor& actor) {
    if (!actor.IsSneaking()) return;
    // Ending the power removes its applied effect with it.
    actor.EndPower();
    Game().PushActorInfoEvent(EVENT_ACTOR_STOPPED_SNEAKING, actor.GetId());
}

void CEngine::CheckForExits() {
    CGame& game = Game();
    if (game.GetStateCode() != GAME_PLAYING) return;
    const ActorList party = game.GetParty();
    for (const auto& exitRecord : CurrentArea().GetExits()) {
        const CAreaExit& exit = *exitRecord;
        if (!exit.requiredTag.empty() && !game.IsQuestTagSet(exit.requiredTag)) continue;
        const bool allThere = std::all_of(party.begin(), party.end(), [&exit](const std::shared_ptr<CActor>& member) {
            return !member->IsAlive() || member->DistanceToPoint(exit.x, exit.y) <= kExitRange;
        });
        if (!allThere) continue;
        DRAV_TRACE(DRAVCommon::TRACE_LOW, "Exit %s is available\n", exit.name.c_str());
        game.SetStateCode(GAME_EXIT_AVAILABLE);
        game.SetEntry({exit.destinationArea, exit.destinationEntry}, AREA_LOAD_FRESH, exit.text);
        game.SetAvailableExitName(exit.name);
        return;
    }
}

}  // namespace DRAV
