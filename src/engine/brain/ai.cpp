#include "engine/brain/ai.h"

#include <algorithm>

#include "common/exception.h"
#include "common/random.h"
#include "common/trace.h"
#include "engine/brain/ai_cast.h"
#include "engine/brain/ai_simple.h"
#include "engine/brain/ai_wands_sing.h"
#include "world/actor.h"
#include "world/area.h"
#include "world/game.h"
#include "world/order.h"

namespace DRAV {

std::shared_ptr<CAI> CAI::Create(DRAVCommon::CDataFileReader& reader) {
    const std::string type = reader.ReadWord();
    if (type == "stand") return std::make_shared<CAIStand>(reader);
    if (type == "charge") return std::make_shared<CAICharge>(reader);
    if (type == "cast") return std::make_shared<CAICast>(reader);
    if (type == "forcetalk") return std::make_shared<CAIForceTalk>(reader);
    if (type == "wander") {
        const double radius = reader.ReadDouble();
        return std::make_shared<CAIWander>(radius, 0.0, 0.0);
    }
    if (type == "shoot") return std::make_shared<CAIShoot>();
    if (type == "autocast") return std::make_shared<CAIAutocast>(reader);
    if (type == "wands") return std::make_shared<CAIWands>(reader);
    if (type == "sing") return std::make_shared<CAISing>(reader);
    if (type == "followparty") return std::make_shared<CAIFollowParty>();
    throw CDRAVException(DRAV_ERR_BAD_DATA,
                         reader.GetSourceName() + ": \"" + type +
                             "\" is no AI type (stand, charge, cast, forcetalk, wander, shoot, autocast, wands, "
                             "sing or followparty)");
}

std::shared_ptr<CAI> CAI::ReadElement(DRAVCommon::CDataFileReader& reader) {
    reader.BeginBlock("ai");
    std::shared_ptr<CAI> backup = Create(reader);
    reader.EndBlock();
    return backup;
}

}  // namespace DRAV

namespace DRAV {
namespace {

constexpr double kCasterBonus = 25.0;
constexpr double kControlledPenalty = 25.0;
constexpr double kNearest = 0.01;
constexpr double kCancelChance = 1.0 / 150.0;

bool IsPartyOrFriend(Relation relation) { return relation == RELATION_PARTY || relation == RELATION_FRIENDLY; }

bool IsEnemy(const CActor& actor, const CActor& candidate) {
    const Relation own = actor.GetRelation();
    const Relation other = candidate.GetRelation();
    // A sneaking actor is not seen by the other side.
    if (IsPartyOrFriend(own) != IsPartyOrFriend(other) && candidate.IsSneaking()) return false;
    if (own == RELATION_BERSERK || other == RELATION_BERSERK) return true;
    return (IsPartyOrFriend(own) && other == RELATION_HOSTILE) || (own == RELATION_HOSTILE && IsPartyOrFriend(other));
}

bool IsAlly(const CActor& actor, const CActor& candidate) {
    if (IsPartyOrFriend(actor.GetRelation())) return IsPartyOrFriend(candidate.GetRelation());
    if (actor.GetRelation() == RELATION_HOSTILE) return candidate.GetRelation() == RELATION_HOSTILE;
    return false;
}

}  // namespace

void CAI::IssueOrders(CEngine&, CActor&) {}

void CAI::DropUnknownSpells(const SpellMap&, const std::string&) {}

CActor* CAI::FindTarget(const CActor& actor, std::uint32_t flags, const CSpell* spell, double range) {
    const CArea* area = actor.GetArea();
    if (!area) return nullptr;
    CActor* best = nullptr;
    double bestDistance = 0.0;
    const auto weigh = [&](CActor& candidate) {
        if (&candidate == &actor) return;
        if ((flags & TARGET_ENEMIES) ? !IsEnemy(actor, candidate) : !IsAlly(actor, candidate)) return;
        // A foe holding back is left be until the party comes to it.
        if ((flags & TARGET_ENEMIES) && area->GetGame() && area->GetGame()->IsHoldingBack(candidate.GetId())) return;
        if (spell && !spell->CanAffect(candidate.IsSummoned(), candidate.GetRace(), [&candidate](const CDamageType& t) {
                return candidate.GetCategoryResistance(t, nullptr);
            }))
            return;
        double distance = actor.DistanceTo(candidate);
        if ((flags & TARGET_PREFER_CASTERS) && candidate.GetClass() == CLASS_SPELLCASTER)
            distance = std::max(distance - kCasterBonus, kNearest);
        if (candidate.HasStatus(STATUS_CHARMED) || candidate.HasStatus(STATUS_DOMINATED))
            distance += kControlledPenalty;
        // Of two as near, the later in the area's order.
        if (best && (distance > bestDistance ||
                     (distance == bestDistance &&
                      candidate.GetGridFiling().order < best->GetGridFiling().order)))
            return;
        if ((flags & TARGET_WITHIN_RANGE) && (distance > range || !area->CanReachActor(actor, candidate, range)))
            return;
        best = &candidate;
        bestDistance = distance;
    };
    // Outward in widening rings until no one beyond the last can come nearer than
    // the best found; weighing someone twice changes nothing.
    const double bonus = (flags & TARGET_PREFER_CASTERS) ? kCasterBonus : 0.0;
    const CActorGrid& grid = area->GetActorGrid();
    for (double reach = CActorGrid::kBucketSize;; reach *= 2.0) {
        grid.ForEachNear(actor.GetX(), actor.GetY(), reach, weigh);
        if ((best && bestDistance + bonus <= reach) || grid.Covers(actor.GetX(), actor.GetY(), reach)) return best;
    }
}

void CAI::AttackNearest(CActor& actor, std::uint32_t flags) {
    CActor* target = FindTarget(actor, flags | TARGET_ENEMIES, nullptr, 0.0);
    if (!target) return;
    DRAV_TRACE(DRAVCommon::TRACE_LOW, "%s issues attack order against %s\n", actor.GetName().c_str(),
               target->GetName().c_str());
    actor.PushOrder(std::make_shared<CAttackOrder>(target->GetId()), false);
}

bool CAI::RandomCancel() { return DRAVCommon::Random() < kCancelChance; }

}  // namespace DRAV
