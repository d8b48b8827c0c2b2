// Three questions about the party each tick: is it in battle, is a sneaking actor
// seen, and may it leave through one of the area's exits.

#include <algorithm>
#include <cstdint>
#include <limits>
#include <memory>
#include <optional>
#include <vector>

#include "common/random.h"
#include "common/trace.h"
#include "engine/engine.h"
#include "rules/kinds/modifiers.h"
#include "rules/kinds/number_texts.h"
#include "world/actor.h"
#include "world/actor/spot_range.h"
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

// The actors of a stealth pass split by side, party and friends or not, each side
// as places in the area's list, in its order; and each observer's observation
// once worked out, by its place.
struct Observers {
    Observers(const ActorList& actors, const CActorGrid& grid)
        : actors(actors), grid(grid), friends(actors.size()), observations(actors.size(), CActor::kUnknownStat) {
        for (std::size_t i = 0; i < actors.size(); ++i) {
            const Relation relation = actors[i]->GetRelation();
            friends[i] = relation == RELATION_PARTY || relation == RELATION_FRIENDLY;
            (friends[i] ? friendPlaces : otherPlaces).push_back(i);
        }
    }

    // Those who watch `sneaker`: the other side.
    const std::vector<std::size_t>& Watching(const CActor& sneaker) const {
        return sneaker.IsPartyOrFriendly() ? otherPlaces : friendPlaces;
    }

    // The most any observer watching `sneaker` could make of it, standing on its very
    // spot: none spots a sneaker stealthier than that, wherever they stand.
    std::int64_t MostSpot(const CActor& sneaker) {
        std::optional<std::int64_t>& most = sneaker.IsPartyOrFriendly() ? mostOfOthers : mostOfFriends;
        if (!most) {
            std::int64_t best = std::numeric_limits<std::int64_t>::min() / 2;
            for (const std::size_t i : Watching(sneaker)) {
                if (observations[i] == CActor::kUnknownStat)
                    observations[i] = actors[i]->GetSpecialStat(SPECIAL_OBSERVATION);
                best = std::max<std::int64_t>(best, observations[i]);
            }
            most = best + kSpotMostCloseness;
        }
        return *most;
    }

    // The observer at `place` stopped sneaking: its observation is worked out anew.
    void Forget(std::size_t place) {
        observations[place] = CActor::kUnknownStat;
        mostOfFriends.reset();
        mostOfOthers.reset();
    }

    const ActorList& actors;
    const CActorGrid& grid;
    std::vector<bool> friends;
    std::vector<std::size_t> friendPlaces;
    std::vector<std::size_t> otherPlaces;
    std::vector<std::int32_t> observations;
    std::optional<std::int64_t> mostOfFriends;
    std::optional<std::int64_t> mostOfOthers;
};

// Beyond this many observers on the other side, asking the grid for those in sight
// costs less than asking each of them.
constexpr std::size_t kManyObservers = 48;

// Whether an observer of the other side spots the sneaker of `stealth`; `highest`
// receives the best spot value of the observers, when none does. Only those within
// sight range may spot it (the others' values are 0), and whoever is asked first the
// answer is the same: a long side is asked through the grid.
bool IsSeen(const CActor& sneaker, std::int32_t stealth, Observers& observers, std::int32_t& highest) {
    const bool friendly = sneaker.IsPartyOrFriendly();
    highest = 0;
    const CActor* spotter = nullptr;
    const auto ask = [&](const CActor& observer, std::size_t i) {
        if (spotter || observers.friends[i] == friendly) return;
        std::int32_t value = 0;
        if (sneaker.IsSpottedBy(observer, stealth, observers.observations[i], &value)) spotter = &observer;
        highest = std::max(highest, value);
    };
    const std::vector<std::size_t>& side = observers.Watching(sneaker);
    if (side.size() > kManyObservers)
        observers.grid.ForEachNear(sneaker.GetX(), sneaker.GetY(), kSpotSightRange,
                                   [&](const CActor& observer) { ask(observer, observer.GetGridFiling().order); });
    else
        for (const std::size_t i : side) ask(*observers.actors[i], i);
    if (!spotter) return false;
    DRAV_TRACE(DRAVCommon::TRACE_LOW, "%s (%g %g) is seen by %s (%g %g)\n", sneaker.GetName().c_str(), sneaker.GetX(),
               sneaker.GetY(), spotter->GetName().c_str(), spotter->GetX(), spotter->GetY());
    return true;
}

}  // namespace

bool CEngine::IsPartySafe() {
    const CGame& game = Game();
    const ActorList& actors = CurrentArea().GetActors();
    return !game.AnyPartyMember([&](const CActor& member) {
        if (!member.IsAlive()) return false;
        if (member.HasStatus(STATUS_DOMINATED)) return true;
        return std::any_of(actors.begin(), actors.end(), [&](const auto& actor) {
            return IsThreat(*actor) && !game.IsHoldingBack(actor->GetId()) && actor->IsWithin(member, kBattleRange);
        });
    });
}

void CEngine::RunStealthChecks() {
    // Most ticks nobody sneaks, and then the pass has nobody to look for.
    const ActorList& placed = CurrentArea().GetActors();
    if (std::none_of(placed.begin(), placed.end(), [](const auto& actor) { return actor->IsSneaking(); })) return;
    const ActorList actors = placed;
    // Nobody changes sides during the pass, and each observer's observation is
    // worked out once: only an actor that stops sneaking may see differently after.
    Observers observers(actors, CurrentArea().GetActorGrid());
    for (std::size_t i = 0; i < actors.size(); ++i) {
        CActor& actor = *actors[i];
        if (!actor.IsSneaking()) continue;
        const std::int32_t stealth = actor.GetSpecialStat(SPECIAL_STEALTH);
        std::int32_t highest = 0;
        if (stealth > observers.MostSpot(actor) || !IsSeen(actor, stealth, observers, highest)) continue;
        PushActorMessage(actor, " is spotted.");
        StopSneaking(actor);
        observers.Forget(i);
    }
}

bool CEngine::StealthCheckOneActor(CActor& sneaker, bool combat) {
    Observers observers(CurrentArea().GetActors(), CurrentArea().GetActorGrid());
    std::int32_t highest = 0;
    if (IsSeen(sneaker, sneaker.GetSpecialStat(SPECIAL_STEALTH), observers, highest)) return false;
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

const CAreaExit* CEngine::FindOfferedExit() const {
    const CGame& game = Game();
    const ActorList& party = game.PartyMembers();
    // Where the reaches of two ways out overlap, a party standing at one of them is
    // offered that one, not whichever the area lists first: the nearest wins, as the
    // farthest living member measures it, and the area's order only breaks a tie.
    const CAreaExit* offered = nullptr;
    double offeredDistance = kExitRange;
    for (const auto& exitRecord : CurrentArea().GetExits()) {
        const CAreaExit& exit = *exitRecord;
        if (!exit.requiredTag.empty() && !game.IsQuestTagSet(exit.requiredTag)) continue;
        double farthest = 0.0;
        for (const auto& member : party)
            if (member->IsAlive()) farthest = std::max(farthest, member->DistanceToPoint(exit.x, exit.y));
        if (farthest > kExitRange || (offered && farthest >= offeredDistance)) continue;
        offered = &exit;
        offeredDistance = farthest;
    }
    return offered;
}

bool CEngine::IsWithinExitRange(const CActor& actor, const CAreaExit& exit) {
    return actor.DistanceToPoint(exit.x, exit.y) <= kExitRange;
}

const CAreaExit* CEngine::FindOpenExit(const std::string& name) const {
    for (const auto& exit : CurrentArea().GetExits())
        if (exit->name == name && (exit->requiredTag.empty() || Game().IsQuestTagSet(exit->requiredTag)))
            return exit.get();
    return nullptr;
}

void CEngine::CheckForExits() {
    CGame& game = Game();
    if (game.GetStateCode() != GAME_PLAYING) return;
    const CAreaExit* offered = FindOfferedExit();
    if (!offered) return;
    DRAV_TRACE(DRAVCommon::TRACE_LOW, "Exit %s is available\n", offered->name.c_str());
    game.SetStateCode(GAME_EXIT_AVAILABLE);
    game.SetEntry({offered->destinationArea, offered->destinationEntry}, AREA_LOAD_FRESH, offered->text);
    game.SetAvailableExitName(offered->name);
}

}  // namespace DRAV
