// A brain's thinking: the one-time equipment step of a new actor, then the choice
// between the peaceful and the combat AI.

#include "common/exception.h"
#include "engine/brain/brain.h"
#include "engine/engine.h"
#include "rules/items/item_template.h"
#include "rules/kinds/item_kinds.h"
#include "rules/monsters/actor_template.h"
#include "rules/vocabulary/skill_id.h"
#include "world/actor.h"
#include "world/item.h"
#include "world/order.h"

namespace DRAV {
namespace {

constexpr std::int32_t kNoBestScore = -100;
constexpr std::int32_t kUnskilledPenalty = 40;

void PushWield(CActor& actor, const CItem& item, EquipSlot slot) {
    actor.PushInstantOrder(std::make_shared<CWieldOrder>(item.GetId(), slot));
}

// The strongest weapon the actor can hold in `slot`, weapons it lacks the skill of
// counting 40 less; the first of equals stays. Its id, 0 when none.
ThingId WieldBestWeapon(CActor& actor, EquipSlot slot, ThingId excluded) {
    const CItem* best = nullptr;
    std::int64_t bestScore = kNoBestScore;
    for (const auto& item : actor.GetBackpackItems()) {
        if (item->GetTemplate().GetKind() != ITEM_WEAPON || item->GetId() == excluded) continue;
        const auto* weapon = item->GetTemplate().GetAttributeOf<CItemAttributeWeapon>();
        if (!weapon || !actor.CanEquipInSlot(slot, *item)) continue;
        // Taken wide: a module's weapon numbers may each be near the limit of 32 bits.
        std::int64_t score =
            std::int64_t{weapon->GetAttackBonus()} + weapon->GetDamageDie() / 2 + weapon->GetDamageBonus();
        if (!actor.HasSkill(GetWeaponTypeInfo(weapon->GetWeaponType()).proficiency)) score -= kUnskilledPenalty;
        if (score > bestScore) {
            best = item.get();
            bestScore = score;
        }
    }
    if (!best) return 0;
    PushWield(actor, *best, slot);
    return best->GetId();
}

// The armour (slot 2) or shield (slot 1) of the highest defence the actor may use;
// defence 0 is never worth it.
void WieldBestArmor(CActor& actor, EquipSlot slot) {
    const ItemKind kind = slot == SLOT_ARMOR ? ITEM_ARMOR : ITEM_SHIELD;
    const bool shieldFlag = (actor.GetMonsterFlags() & MONSTER_SHIELD) != 0;
    const CItem* best = nullptr;
    std::int32_t bestDefense = 0;
    for (const auto& item : actor.GetBackpackItems()) {
        if (item->GetTemplate().GetKind() != kind || !actor.CanEquipInSlot(slot, *item)) continue;
        const auto* armor = item->GetTemplate().GetAttributeOf<CItemAttributeArmor>();
        if (!armor) continue;
        const bool usable = actor.HasSkill(armor->GetArmorSkill()) ||
                            (actor.GetClass() == CLASS_SPELLCASTER && armor->GetSpellcastingPenalty() == 0) ||
                            (kind == ITEM_SHIELD && shieldFlag);
        if (usable && armor->GetDefenseClass() > bestDefense) {
            best = item.get();
            bestDefense = armor->GetDefenseClass();
        }
    }
    if (best) PushWield(actor, *best, slot);
}

// A store keeper keeps its trinkets for sale.
ThingId WieldFirstFit(CActor& actor, EquipSlot slot, ThingId excluded) {
    if (actor.GetStore()) return 0;
    for (const auto& item : actor.GetBackpackItems()) {
        if (item->GetId() == excluded || !actor.CanEquipInSlot(slot, *item)) continue;
        PushWield(actor, *item, slot);
        return item->GetId();
    }
    return 0;
}

void EquipOnce(CActor& actor) {
    const ThingId weapon = WieldBestWeapon(actor, SLOT_WEAPON, 0);
    WieldBestWeapon(actor, SLOT_OFFHAND, weapon);
    WieldBestArmor(actor, SLOT_ARMOR);
    if (actor.HasSkill(SKILL_SHIELD_STYLE) || (actor.GetMonsterFlags() & MONSTER_SHIELD) != 0)
        WieldBestArmor(actor, SLOT_OFFHAND);
    WieldFirstFit(actor, SLOT_HELMET, 0);
    WieldFirstFit(actor, SLOT_AMULET, 0);
    const ThingId ring = WieldFirstFit(actor, SLOT_RIGHT_RING, 0);
    WieldFirstFit(actor, SLOT_LEFT_RING, ring);
}

}  // namespace

void CBrain::Think(CEngine& engine, CActor& actor) {
    // The dead decide nothing: an order of theirs would only be run on a corpse.
    if (!actor.IsAlive()) return;
    if (!m_equipped) {
        EquipOnce(actor);
        m_equipped = true;
    }
    CAI* ai = nullptr;
    switch (actor.GetRelation()) {
        case RELATION_SURRENDER: actor.CancelOrders(); return;
        case RELATION_NEUTRAL: ai = m_peacefulAI.get(); break;
        case RELATION_FRIENDLY:
            ai = engine.GetGame()->IsInBattle() ? m_combatAI.get() : m_peacefulAI.get();
            break;
        default: ai = m_combatAI.get(); break;
    }
    if (ai) ai->IssueOrders(engine, actor);
}

}  // namespace DRAV
