// The attack of one hand: bonus, damage and flags, with the breakdown the
// character sheet shows.

#include "common/exception.h"
#include "rules/items/item_template.h"
#include "rules/kinds/formulas.h"
#include "rules/kinds/number_texts.h"
#include "world/actor.h"

namespace DRAV {
namespace {

// Appends to the tooltip only when one is asked for.
void Line(std::string* tooltip, const std::string& text) {
    if (tooltip) *tooltip += text + " LINE ";
}

std::string Signed(std::int64_t value) { return FormatSignedValue(SaturateInt32(value)); }

}  // namespace

std::int32_t CActor::AddDuelistBonus(std::string* tooltip) const {
    if (!HasSkill(SKILL_DUELIST_STYLE) || GetFightingStyle() != SKILL_DUELIST_STYLE) return 0;
    Line(tooltip, "+ " + GetSkillName(SKILL_DUELIST_STYLE) + ": +5");
    return 5;
}

CAttackInfo CActor::GetMonsterAttack(std::int32_t hand, std::int32_t flankAttack, std::int32_t flankDie,
                                     std::int32_t flankDamage, std::int32_t sneakAttack, std::int32_t sneakDamage,
                                     bool flanking, bool sneak) const {
    // A hand the monster has no attack for strikes with its first attack.
    std::size_t index = hand >= 0 && static_cast<std::size_t>(hand) < m_attacks.size() ? hand : 0;
    const CAttackInfo& attack = *m_attacks[index]->GetAttack();
    CAttackInfo result = attack;
    result.name = m_name + " (" + attack.name + ")";
    result.attackBonus = SaturateInt32(std::int64_t{GetModifier(MOD_ATTACK)} + attack.attackBonus + flankAttack + sneakAttack);
    result.dieA = SaturateInt32(std::int64_t{attack.dieA} + attack.dieB);
    result.bonusA = SaturateInt32(std::int64_t{GetModifier(MOD_DAMAGE)} + attack.bonusA + attack.bonusB);
    result.dieB = flankDie;
    result.bonusB = sneakDamage + flankDamage;
    if (flanking) result.flags |= ATTACK_FLANKING;
    if (sneak) result.flags |= ATTACK_SNEAK;
    return result;
}

CAttackInfo CActor::GetAttackBonus(std::int32_t hand, bool flanking, bool sneak, std::string* tooltip) const {
    std::int32_t flankAttack = 0, flankDamage = 0, flankDie = 0;
    if (flanking) {
        bool improved = HasSkill(SKILL_FLANKING);
        flankAttack = improved ? 20 : 10;
        flankDamage = 10;
        flankDie = improved ? std::max(0, GetSpecialStat(SPECIAL_STEALTH)) : 0;
    }
    std::int32_t sneakAttack = 0, sneakDamage = 0;
    if (sneak) GetSneakAttackBonus(sneakAttack, sneakDamage);
    // Flanking and sneaking do not add up: the larger part of each counts.
    if (flankAttack < sneakAttack) flankAttack = 0;
    else sneakAttack = 0;
    if (std::int64_t{flankDie} / 2 + flankDamage < sneakDamage) {
        flankDie = 0;
        flankDamage = 0;
    } else {
        sneakDamage = 0;
    }

    if (!m_attacks.empty())
        return GetMonsterAttack(hand, flankAttack, flankDie, flankDamage, sneakAttack, sneakDamage, flanking, sneak);
    if (hand != 0 && hand != 1) throw CDRAVException(DRAV_ERR_OUT_OF_RANGE, "no hand " + std::to_string(hand));

    CAttackInfo result;
    result.name = m_name;
    if (flanking) result.flags |= ATTACK_FLANKING;
    if (sneak) result.flags |= ATTACK_SNEAK;
    const SkillId style = GetFightingStyle();
    if (style == SKILL_MARKSMAN_STYLE) result.flags |= ATTACK_MARKSMAN;
    const CItem* offHandWeapon = GetEquipped(SLOT_OFFHAND);
    if (offHandWeapon && offHandWeapon->GetTemplate().GetKind() != ITEM_WEAPON) offHandWeapon = nullptr;
    const CItem* item = hand == 0 ? GetEquipped(SLOT_WEAPON) : offHandWeapon;
    const CItemAttributeWeapon* weapon = item ? item->GetTemplate().GetAttributeOf<CItemAttributeWeapon>() : nullptr;
    const WeaponTypeInfo* weaponType = weapon ? &GetWeaponTypeInfo(weapon->GetWeaponType()) : nullptr;
    const bool light = weaponType && weaponType->light;
    const std::string prefix = hand == 1 ? "Offhand " : "";
    const std::int32_t penalty = GetArmorPenalty();
    const SkillId mastery = GetWeaponMastery(hand == 1);
    const std::int32_t agilityBonus = GetAttributeBonus(ATTR_AGILITY);

    // Attack bonus.
    Line(tooltip, prefix + "Attack Bonus:");
    std::int64_t attack = GetBaseAttackBonus();
    Line(tooltip, "+ Base Attack Bonus: " + Signed(attack));
    Attribute attribute = ATTR_STRENGTH;
    if (!weapon) {
        attack -= 20;
        Line(tooltip, "+ Non-Proficient Penalty: -20");
    } else {
        attribute = static_cast<Attribute>(GetSkillInfo(weaponType->proficiency).attribute);
        if (!HasSkill(weaponType->proficiency)) {
            attack -= 20;
            Line(tooltip, "+ Non-Proficient Penalty: -20");
        }
        attack += weapon->GetAttackBonus();
        if (weapon->GetAttackBonus() != 0)
            Line(tooltip, "+ " + item->GetTemplate().GetName() + " Attack Bonus: " + Signed(weapon->GetAttackBonus()));
    }
    attack -= penalty;
    if (penalty != 0) Line(tooltip, "+ Armor Penalty: -" + std::to_string(penalty));
    attack += AddDuelistBonus(tooltip);
    if (mastery != SKILL_NONE) {
        attack += 5;
        Line(tooltip, "+ " + GetSkillName(mastery) + ": +5");
    }
    if (offHandWeapon) {
        const auto* offWeapon = offHandWeapon->GetTemplate().GetAttributeOf<CItemAttributeWeapon>();
        bool offLight = offWeapon && GetWeaponTypeInfo(offWeapon->GetWeaponType()).light;
        std::int32_t offPenalty = offLight ? 10 : 20;
        if (HasSkill(SKILL_IMPROVED_DUAL_WIELD)) offPenalty -= 10;
        attack -= offPenalty;
        Line(tooltip, "+ Offhand Penalty: -" + std::to_string(offPenalty));
    }
    attack += flankAttack + sneakAttack;
    if (flankAttack != 0) Line(tooltip, "+ Flanking: +" + std::to_string(flankAttack));
    if (sneakAttack != 0) Line(tooltip, "+ Sneak Attack: +" + std::to_string(sneakAttack));
    const std::int32_t attackEffects = GetModifier(MOD_ATTACK);
    attack += attackEffects;
    if (attackEffects != 0) Line(tooltip, "+ Effects: " + Signed(attackEffects));
    Attribute attackAttribute = attribute;
    std::int32_t attributeBonus = GetAttributeBonus(attribute);
    if (light && agilityBonus > attributeBonus) {
        attackAttribute = ATTR_AGILITY;
        attributeBonus = agilityBonus;
    }
    attack += attributeBonus;
    if (attributeBonus != 0) Line(tooltip, "+ " + GetAttributeName(attackAttribute) + " Modifier: " + Signed(attributeBonus));
    result.attackBonus = SaturateInt32(attack);
    if (tooltip) *tooltip += "* Total: " + Signed(result.attackBonus) + " LINE LINE ";

    // Damage.
    Line(tooltip, prefix + "Attack Damage:");
    std::int64_t bonus = 0;
    if (!weapon) {
        result.dieA = 15;
        Line(tooltip, "+ Unarmed Damage: " + FormatDamageRange(15, 0));
    } else {
        result.dieA = weapon->GetDamageDie();
        bonus = weapon->GetDamageBonus();
        Line(tooltip, "+ " + item->GetTemplate().GetName() + " Damage: " +
                          FormatDamageRange(weapon->GetDamageDie(), weapon->GetDamageBonus()));
    }
    if (weapon && attribute == ATTR_AGILITY) {
        for (SkillId skill : {SKILL_MARKSMAN_STYLE, SKILL_DEADLY_MARKSMAN}) {
            if (!HasSkill(skill) || agilityBonus <= 0) continue;
            bonus += agilityBonus / 2;
            Line(tooltip, "+ " + GetSkillName(skill) + ": " + Signed(agilityBonus / 2));
        }
        if (const auto* requirement = item->GetTemplate().GetAttributeOf<CItemAttributeAttributeReq>()) {
            std::int64_t strength = (std::int64_t{requirement->GetMinimum()} * 5 - 50) / 2;
            if (strength > 0) {
                bonus += strength;
                Line(tooltip, "+ " + item->GetTemplate().GetName() + " Strength: +" + std::to_string(strength));
            }
        }
    } else {
        std::int32_t percent = 100;
        std::string notes;
        Attribute damageAttribute = attribute;
        if (weapon && attribute == ATTR_STRENGTH && light) {
            const std::int32_t strengthBonus = GetAttributeBonus(ATTR_STRENGTH);
            if (HasSkill(SKILL_DUELIST_FINESSE) && style == SKILL_DUELIST_STYLE) {
                if (agilityBonus > strengthBonus) {
                    damageAttribute = ATTR_AGILITY;
                    notes += " (" + GetSkillName(SKILL_DUELIST_FINESSE) + ")";
                }
            } else if (HasSkill(SKILL_WEAPON_FINESSE) && agilityBonus / 2 > strengthBonus) {
                damageAttribute = ATTR_AGILITY;
                percent = 50;
                notes += " (" + GetSkillName(SKILL_WEAPON_FINESSE) + ")";
            }
        }
        if (weaponType && weaponType->critical) result.flags |= ATTACK_CRITICAL;
        std::string styleNotes;
        if (HasSkill(SKILL_TWO_HANDED_STYLE) && style == SKILL_TWO_HANDED_STYLE) {
            percent = HasSkill(SKILL_TWO_HANDED_POWER) ? 200 : 150;
            styleNotes += " (" + GetSkillName(SKILL_TWO_HANDED_STYLE) + ")";
        }
        if (hand == 1) {
            percent = 50;
            styleNotes += " (" + GetSkillName(SKILL_DUAL_WIELD_STYLE) + ")";
        }
        std::int64_t attributeDamage = std::int64_t{percent} * GetAttributeBonus(damageAttribute) / 100;
        bonus += attributeDamage;
        if (attributeDamage != 0)
            Line(tooltip, "+ " + GetAttributeName(damageAttribute) + " Modifier: " + Signed(attributeDamage) + styleNotes + notes);
    }
    bonus -= penalty;
    if (penalty != 0) Line(tooltip, "+ Armor Penalty: -" + std::to_string(penalty));
    bonus += AddDuelistBonus(tooltip);
    if (mastery != SKILL_NONE && mastery != SKILL_STAFF_MASTERY) {
        bonus += 5;
        Line(tooltip, "+ " + GetSkillName(mastery) + ": +5");
    }
    result.dieB = flankDie;
    result.bonusB = flankDamage + sneakDamage;
    if (flankDie != 0) Line(tooltip, "+ Flanking: " + FormatDamageRange(flankDie, flankDamage));
    else if (flankDamage != 0) Line(tooltip, "+ Flanking: +" + std::to_string(flankDamage));
    if (sneakDamage != 0) Line(tooltip, "+ Sneak Attack: +" + std::to_string(sneakDamage));
    const std::int32_t damageEffects = GetModifier(MOD_DAMAGE);
    bonus += damageEffects;
    if (damageEffects != 0) Line(tooltip, "+ Effects: " + Signed(damageEffects));
    result.bonusA = SaturateInt32(bonus);
    const bool blunt = !weaponType || weaponType->blunt;
    result.damageType = CDamageType{DAMAGE_PHYSICAL, blunt ? ELEMENT_BLUNT : ELEMENT_SHARP};
    result.enhancement = weapon ? weapon->GetEnhancement() : 0;
    if (tooltip) {
        *tooltip += "* Total: " + FormatDamageRange(SaturateInt32(std::int64_t{result.dieA} + result.dieB),
                                                    SaturateInt32(std::int64_t{result.bonusA} + result.bonusB));
        if (result.enhancement != 0) *tooltip += " (Enhancement +" + std::to_string(result.enhancement) + ")";
        if (blunt) *tooltip += " (blunt)";
        if (result.flags & ATTACK_CRITICAL) *tooltip += " (crit x2)";
        *tooltip += " LINE LINE ";
    }
    return result;
}

}  // namespace DRAV
