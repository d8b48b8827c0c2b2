// Defense class and resistances, with their breakdowns.

#include <optional>

#include "common/exception.h"
#include "rules/items/item_template.h"
#include "rules/kinds/formulas.h"
#include "rules/kinds/number_texts.h"
#include "rules/magic/spell_apply_effect.h"
#include "world/actor.h"

namespace DRAV {
namespace {

void Line(std::string* tooltip, const std::string& text) {
    if (tooltip) *tooltip += text + " LINE ";
}

const DamageCategoryInfo& ResistedCategory(const CDamageType& type) {
    if (type.category < DAMAGE_ENERGETIC || type.category > DAMAGE_SPIRITUAL)
        throw CDRAVException(DRAV_ERR_OUT_OF_RANGE, "no resistance of damage category " + std::to_string(type.category));
    return GetDamageCategoryInfo(type.category);
}

}  // namespace

std::int32_t CActor::GetDefenseClass(bool reduced, std::string* tooltip) const {
    std::int64_t defense = 50;
    if (!reduced) defense += m_defenseAdjustment;
    Line(tooltip, "Defense Class:");
    Line(tooltip, "+ Base Defense Class: " + std::to_string(SaturateInt32(defense)));
    std::int64_t agilityPart = GetAttributeBonus(ATTR_AGILITY);
    const CItemAttributeArmor* armor = GetArmorIn(SLOT_ARMOR);
    const CItemAttributeArmor* shield = GetArmorIn(SLOT_OFFHAND);
    std::int32_t masteryPart = 0;
    SkillId armorMastery = SKILL_NONE;
    if (armor && armor->GetArmorSkill() != SKILL_NONE) {
        armorMastery = static_cast<SkillId>(GetSkillInfo(armor->GetArmorSkill()).mastery);
        if (armorMastery != SKILL_NONE && HasSkill(armorMastery)) masteryPart = GetBaseAttackBonus() / 5;
    }
    for (auto [slot, worn] : {std::pair{SLOT_ARMOR, armor}, std::pair{SLOT_OFFHAND, shield}}) {
        if (!worn) continue;
        if (!reduced) {
            defense += worn->GetDefenseClass();
            Line(tooltip, "+ " + GetEquipped(slot)->GetTemplate().GetName() + " Defense Class: +" +
                              std::to_string(worn->GetDefenseClass()));
            if (slot == SLOT_OFFHAND && HasSkill(SKILL_SHIELD_FOCUS)) {
                defense += 10;
                Line(tooltip, "+ " + GetSkillName(SKILL_SHIELD_FOCUS) + ": +10");
            }
        }
        if (worn->HasMaxAgilityBonus())
            agilityPart = std::min(agilityPart, std::int64_t{worn->GetMaxAgilityBonus()} + masteryPart);
    }
    if (HasSkill(SKILL_DUELIST_DEFENSE) && GetFightingStyle() == SKILL_DUELIST_STYLE) {
        defense += 10;
        Line(tooltip, "+ " + GetSkillName(SKILL_DUELIST_DEFENSE) + ": +10");
    }
    if (GetWeaponMastery(false) == SKILL_STAFF_MASTERY) {
        defense += 5;
        Line(tooltip, "+ " + GetSkillName(SKILL_STAFF_MASTERY) + ": +5");
    }
    defense += agilityPart;
    if (agilityPart != 0) Line(tooltip, "+ Agility Bonus: " + FormatSignedValue(SaturateInt32(agilityPart)));
    defense += masteryPart;
    if (masteryPart != 0) Line(tooltip, "+ " + GetSkillName(armorMastery) + ": +" + std::to_string(masteryPart));
    const std::int32_t effects = GetModifier(MOD_DEFENSE);
    defense += effects;
    if (effects != 0) Line(tooltip, "+ Effects: " + FormatSignedValue(effects));
    const std::int32_t total = SaturateInt32(defense);
    if (tooltip) *tooltip += "* Total: " + std::to_string(total) + " LINE LINE ";
    return total;
}

std::int32_t CActor::GetCategoryResistance(const CDamageType& type, std::string* tooltip) const {
    const DamageCategoryInfo& category = ResistedCategory(type);
    const std::int64_t level = m_level;
    const bool improved = HasSkill(category.improvedSkill);
    const std::int64_t base = m_baseResistances[type.category] + (improved ? level * 10 / 3 : level * 5 / 3);
    const std::int32_t attributeBonus = GetAttributeBonus(category.attribute);
    std::int64_t greater = 0;
    if (HasSkill(category.greaterSkill)) greater = std::max(10, attributeBonus);
    std::int64_t effects = GetModifier(GetDamageTypeModifierIndex(CDamageType{type.category, ELEMENT_NONE}));
    if (type.element != ELEMENT_NONE) effects += GetModifier(GetDamageTypeModifierIndex(type));
    const std::int32_t total = SaturateInt32(base + greater + attributeBonus + effects);
    if (tooltip) {
        Line(tooltip, type.GetFullName() + ":");
        Line(tooltip, "Base " + (improved ? GetSkillName(category.improvedSkill) : type.GetFullName()) + ": " +
                          std::to_string(SaturateInt32(base)));
        if (greater != 0) Line(tooltip, GetSkillName(category.greaterSkill) + ": " + std::to_string(greater));
        if (attributeBonus != 0) Line(tooltip, GetAttributeName(category.attribute) + ": " + std::to_string(attributeBonus));
        if (effects != 0) Line(tooltip, "Effects: " + std::to_string(SaturateInt32(effects)));
        *tooltip += "* Total: " + std::to_string(total) + " LINE LINE ";
    }
    return total;
}

void CActor::SetCategoryResistance(const CDamageType& type, std::int32_t total) {
    const DamageCategoryInfo& category = ResistedCategory(type);
    m_baseResistances[type.category] = SaturateInt32(std::int64_t{total} - GetAttributeBonus(category.attribute) -
                                                     std::int64_t{m_level} * 5 / 3);
}

std::int32_t CActor::GetDamageResistance(const CDamageType& type) const {
    std::optional<std::int32_t> categoryPart;
    std::optional<std::int32_t> exactPart;
    if (type.category >= DAMAGE_ENERGETIC && type.category <= DAMAGE_SPIRITUAL &&
        HasSkill(GetDamageCategoryInfo(type.category).resistSkill))
        categoryPart = 5;
    auto fold = [&](const CSpellApply& applied) {
        for (const auto& part : applied.GetParts()) {
            if (part->GetKind() != APPLY_RESIST) continue;
            const auto& resist = static_cast<const CSpellApplyEffectResist&>(*part);
            const CDamageType& resisted = resist.GetDamageType();
            if (resisted.category != type.category) continue;
            std::optional<std::int32_t>* slot = nullptr;
            if (resisted.element == ELEMENT_NONE) slot = &categoryPart;
            else if (resisted.element == type.element) slot = &exactPart;
            if (!slot) continue;
            *slot = slot->has_value() ? std::max(**slot, resist.GetAmount()) : resist.GetAmount();
        }
    };
    for (const auto& effect : m_activeEffects) fold(*effect);
    for (const auto& item : m_equipment) {
        if (!item) continue;
        for (const auto& attribute : item->GetTemplate().GetAttributes())
            if (attribute->GetType() == ITEMATTR_RESIST)
                fold(*static_cast<const CItemAttributeResist&>(*attribute).GetResistance());
    }
    return SaturateInt32(std::int64_t{exactPart.value_or(0)} + categoryPart.value_or(0));
}

void CActor::GetResistanceText(std::string& text) const {
    auto add = [&](const CDamageType& type, std::int32_t resistance) {
        text += type.GetShortName();
        if (resistance >= 20 && type.category != DAMAGE_PHYSICAL) text += ": Immune LINE ";
        else if (resistance >= 1) text += ": Resist +" + std::to_string(resistance) + " LINE ";
        else text += ": Vulnerable +" + std::to_string(-std::int64_t{resistance}) + " LINE ";
    };
    for (std::int32_t category = 0; category < kDamageCategoryCount; ++category) {
        CDamageType type{static_cast<DamageCategory>(category), ELEMENT_NONE};
        std::int32_t resistance = GetDamageResistance(type);
        if (resistance != 0) add(type, resistance);
    }
    for (std::int32_t element = 1; element < kDamageElementCount; ++element) {
        const DamageElementInfo& info = GetDamageElementInfo(static_cast<DamageElement>(element));
        CDamageType type{info.category, info.value};
        std::int32_t resistance = GetDamageResistance(type);
        if (resistance != 0 && resistance != GetDamageResistance(CDamageType{info.category, ELEMENT_NONE}))
            add(type, resistance);
    }
}

}  // namespace DRAV
