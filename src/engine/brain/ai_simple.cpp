#include "engine/brain/ai_simple.h"

#include <algorithm>
#include <limits>
#include <utility>

#include "common/exception.h"
#include "common/random.h"
#include "common/trace.h"
#include "engine/engine.h"
#include "rules/magic/spell.h"
#include "rules/vocabulary/skill_id.h"
#include "world/actor.h"
#include "world/area.h"
#include "world/order.h"

namespace DRAV {
namespace {

// Reads words up to the end of the enclosing element; each must be `allowed`.
// Returns whether it was given at least once.
bool ReadOptionWords(DRAVCommon::CDataFileReader& reader, const std::string& allowed, const char* aiType) {
    bool given = false;
    while (!reader.AtBlockEnd()) {
        if (!reader.IsWord(allowed))
            reader.Fail(DRAV_ERR_BAD_DATA, std::string("the ") + aiType + " AI takes only the word \"" + allowed + "\"");
        reader.Advance();
        given = true;
    }
    return given;
}

}  // namespace

CAIStand::CAIStand(DRAVCommon::CDataFileReader& reader) : m_sneak(ReadOptionWords(reader, "sneak", "stand")) {}

std::shared_ptr<CAI> CAIStand::Clone() const { return std::make_shared<CAIStand>(m_sneak); }

CAICharge::CAICharge(DRAVCommon::CDataFileReader& reader)
    : m_flags(ReadOptionWords(reader, "spellcaster", "charge") ? TARGET_PREFER_CASTERS : 0u) {}

std::shared_ptr<CAI> CAICharge::Clone() const { return std::make_shared<CAICharge>(m_flags); }

CAIForceTalk::CAIForceTalk(DRAVCommon::CDataFileReader& reader) : m_range(reader.ReadUInt()) {
    while (!reader.AtBlockEnd()) {
        if (reader.IsAnyBlockStart()) reader.Fail(DRAV_ERR_BAD_DATA, "expected a tag name of the forcetalk AI");
        m_tags.push_back(reader.ReadWord());
    }
}

std::shared_ptr<CAI> CAIForceTalk::Clone() const { return std::make_shared<CAIForceTalk>(m_range, m_tags); }

std::shared_ptr<CAI> CAIWander::Clone() const { return std::make_shared<CAIWander>(m_radius, m_homeX, m_homeY); }

void CAIWander::LoadState(DRAVCommon::CDataFileReader& reader) {
    reader.BeginBlock("ai-wander");
    m_homeX = reader.ReadDouble();
    m_homeY = reader.ReadDouble();
    reader.EndBlock();
}

void CAIWander::SaveState(DRAVCommon::CDataFileWriter& writer) const {
    writer.BeginBlock("ai-wander");
    writer.WriteDouble(m_homeX);
    writer.WriteDouble(m_homeY);
    writer.EndBlock();
}

std::shared_ptr<CAI> CAIShoot::Clone() const { return std::make_shared<CAIShoot>(); }

std::shared_ptr<CAI> CAIFollowParty::Clone() const { return std::make_shared<CAIFollowParty>(); }

// ---- the orders ----

namespace {

constexpr double kShootRange = 100.0;
constexpr double kFollowDistance = 25.0;
constexpr int kWanderTries = 10;
constexpr double kCellSize = 2.5;

bool InAttackCycle(const CActor& actor) {
    return actor.GetActionState() == ACTION_WIND_UP || actor.GetActionState() == ACTION_STRIKE;
}

}  // namespace

void CAIStand::IssueOrders(CEngine&, CActor& actor) {
    if (!m_sneak || !actor.HasSkill(SKILL_SNEAK) || actor.IsSneaking()) return;
    for (const CSpell* spell : actor.GetSpells()) {
        if (spell && spell->GetSchool() == SKILL_SNEAK) {
            actor.PushInstantOrder(std::make_shared<CPowerOrder>(spell->GetKey()));
            return;
        }
    }
}

void CAICharge::ChoosePower(const CActor& actor) {
    const CSpell* best = nullptr;
    for (const CSpell* spell : actor.GetSpells()) {
        if (!spell || !(spell->GetFlags() & SPELL_POWER) || spell->GetSchool() == SKILL_SNEAK) continue;
        if (!actor.MeetsSpellRequirements(*spell) || !actor.CanUsePower(*spell)) continue;
        if (!best || spell->GetEnergyCost() >= best->GetEnergyCost()) best = spell;
    }
    SetChosenPower(best);
}

void CAICharge::IssueOrders(CEngine&, CActor& actor) {
    if (!m_powerChosen) ChoosePower(actor);
    if (actor.GetActionState() == ACTION_PAUSE) {
        if (actor.GetCurrentOrder()) actor.CancelOrders();
        return;
    }
    const bool attacking = InAttackCycle(actor);
    if (m_power && !attacking) {
        // The power is only for the strike: off again once the attack is over.
        if (actor.GetCurrentPower()) actor.PushInstantOrder(std::make_shared<CPowerOrder>());
        m_powerStarted = false;
    }
    if (!attacking && RandomCancel()) {
        actor.CancelOrders();
        return;
    }
    if (!actor.GetCurrentOrder()) {
        AttackNearest(actor, m_flags);
    } else if (m_power && !actor.GetCurrentPower() && actor.GetActionState() == ACTION_WIND_UP && !m_powerStarted) {
        actor.PushInstantOrder(std::make_shared<CPowerOrder>(m_power->GetKey()));
        m_powerStarted = true;
    }
}

void CAIForceTalk::IssueOrders(CEngine& engine, CActor& actor) {
    if (!actor.GetArea()) return;
    CActor* other = nullptr;
    const bool near = actor.GetArea()->PartyProximityTest(actor, &other, static_cast<double>(m_range)) && other &&
                      other->GetRelation() == RELATION_PARTY;
    // A conversation the party had while in range, with this one or anyone, is
    // not begun again before the party has walked out of range: begun at once, it
    // would close every way out of it but a reply, the way away included. A party
    // that comes on nearer than it stood is not leaving, and is met again.
    const std::uint32_t talks = engine.GetGame()->GetTalksBegun();
    const bool talkedSince = std::exchange(m_loaded, false) || (m_talksSeen != kNotLooked && talks != m_talksSeen);
    m_talksSeen = talks;
    const bool wasLettingBe = m_lettingBe;
    m_lettingBe = near && (m_lettingBe || talkedSince || !engine.GetGame()->HasPartyActedSinceTalk());
    const double nearest = m_lettingBe ? NearestMemberDistance(actor) : 0.0;
    if (m_lettingBe && (!wasLettingBe || talkedSince)) m_lettingBeFrom = nearest;
    else if (m_lettingBe && nearest < m_lettingBeFrom - kCameNearer) m_lettingBe = false;
    if (m_lettingBe) {
        const std::shared_ptr<COrder> order = actor.GetCurrentOrder();
        if (order && order->GetType() == ORDER_MOVE_TALK) actor.PopOrder(*order);
    }
    if (!near || m_lettingBe || actor.GetCurrentOrder() || IsSetUpon(actor)) return;
    for (const std::string& tag : m_tags)
        if (engine.GetGame()->IsQuestTagSet(tag)) return;
    actor.PushOrder(std::make_shared<CMoveTalkOrder>(other->GetId(), talks), false);
}

bool CAIForceTalk::IsSetUpon(const CActor& actor) {
    for (const auto& member : actor.GetArea()->GetActors()) {
        const std::shared_ptr<COrder> order = member->GetRelation() == RELATION_PARTY ? member->GetCurrentOrder() : nullptr;
        if (order && order->GetType() == ORDER_ATTACK && order->GetThingId() == actor.GetId()) return true;
    }
    return false;
}

double CAIForceTalk::NearestMemberDistance(const CActor& actor) {
    double nearest = std::numeric_limits<double>::infinity();
    for (const auto& member : actor.GetArea()->GetActors())
        if (member->GetRelation() == RELATION_PARTY && !member->IsSneaking())
            nearest = std::min(nearest, actor.DistanceTo(*member));
    return nearest;
}

void CAIWander::IssueOrders(CEngine&, CActor& actor) {
    if (!RandomCancel()) return;
    actor.CancelOrders();
    const CArea* area = actor.GetArea();
    if (!area) return;
    if (m_homeX == 0.0) SetHome(actor.GetX(), actor.GetY());
    const double width = area->GetColumns() * kCellSize;
    const double height = area->GetRows() * kCellSize;
    for (int attempt = 0; attempt < kWanderTries; ++attempt) {
        const double x = std::clamp(m_radius * (2.0 * DRAVCommon::Random() - 1.0) + m_homeX, 0.0, width);
        const double y = std::clamp(m_radius * (2.0 * DRAVCommon::Random() - 1.0) + m_homeY, 0.0, height);
        if (area->CanMoveTo(actor, nullptr, x, y)) {
            actor.PushOrder(std::make_shared<CMoveOrder>(x, y), false);
            return;
        }
    }
}

void CAIShoot::IssueOrders(CEngine&, CActor& actor) {
    if (InAttackCycle(actor)) return;
    if (actor.GetCurrentOrder()) actor.CancelOrders();
    if (actor.GetActionState() == ACTION_PAUSE || actor.GetActionState() == ACTION_RECOVERING) return;
    CActor* target = FindTarget(actor, TARGET_ENEMIES | TARGET_WITHIN_RANGE, nullptr, kShootRange);
    if (!target) return;
    DRAV_TRACE(DRAVCommon::TRACE_LOW, "%s issues attack order against %s\n", actor.GetName().c_str(),
               target->GetName().c_str());
    actor.PushOrder(std::make_shared<CAttackOrder>(target->GetId()), false);
}

void CAIFollowParty::IssueOrders(CEngine&, CActor& actor) {
    if (!actor.IsPartyOrFriendly()) return;
    if (RandomCancel()) {
        actor.CancelOrders();
        return;
    }
    if (actor.GetCurrentOrder()) return;
    const CActor* ally = FindTarget(actor, 0, nullptr, 0.0);
    if (ally && actor.DistanceTo(*ally) >= kFollowDistance)
        actor.PushOrder(std::make_shared<CMoveOrder>((actor.GetX() + ally->GetX()) / 2.0,
                                                     (actor.GetY() + ally->GetY()) / 2.0),
                        false);
}

}  // namespace DRAV
