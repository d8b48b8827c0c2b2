// The numbers derived from an actor's fields: modifiers, attribute and attack
// bonuses, fighting style, magic level, special statistics, hit points, energy,
// speeds and the stealth test.

#include <algorithm>
#include <cmath>

#include "common/random.h"
#include "rules/items/item_template.h"
#include "rules/items/modifier_accumulator.h"
#include "rules/kinds/formulas.h"
#include "rules/kinds/modifiers.h"
#include "world/actor.h"
#include "world/movement/distance_compare.h"

namespace DRAV {

std::int32_t CActor::GetModifier(ModifierIndex index) const {
    CModifierAccumulator accumulator(index);
    for (const auto& effect : m_activeEffects) AccumulateModifier(accumulator, *effect);
    for (const auto& item : m_equipment) {
        if (!item) continue;
        for (const auto& attribute : item->GetTemplate().GetAttributes())
            if (attribute->GetType() == ITEMATTR_MODIFY)
                AccumulateModifier(accumulator, *static_cast<const CItemAttributeModify&>(*attribute).GetModifier());
    }
    return accumulator.GetTotal();
}

std::int32_t CActor::GetAttributeBonus(Attribute attribute) const {
    std::int64_t score = std::int64_t{m_attributes.at(attribute)} + GetModifier(GetAttributeModifierIndex(attribute));
    return SaturateInt32((score - 10) * 5 / 2);
}

std::int32_t CActor::GetBaseAttackBonus() const {
    std::int64_t bonus = (std::int64_t{m_baseLevel} + 1) * 5;
    bonus += std::int64_t{m_level} * GetClassInfo(m_class).attackRate / 24;
    return SaturateInt32(bonus);
}

std::int32_t CActor::GetSpellAttackBonus() const {
    return SaturateInt32(std::int64_t{GetBaseAttackBonus()} + GetAttributeBonus(ATTR_AGILITY) + GetModifier(MOD_ATTACK) -
                         GetArmorPenalty());
}

const CItemAttributeWeapon* CActor::GetWeaponIn(EquipSlot slot) const {
    const CItem* item = GetEquipped(slot);
    return item ? item->GetTemplate().GetAttributeOf<CItemAttributeWeapon>() : nullptr;
}

const CItemAttributeArmor* CActor::GetArmorIn(EquipSlot slot) const {
    const CItem* item = GetEquipped(slot);
    if (!item) return nullptr;
    if (slot == SLOT_OFFHAND && item->GetTemplate().GetKind() != ITEM_SHIELD) return nullptr;
    return item->GetTemplate().GetAttributeOf<CItemAttributeArmor>();
}

std::int32_t CActor::GetArmorPenalty() const {
    std::int32_t penalty = 0;
    for (EquipSlot slot : {SLOT_ARMOR, SLOT_OFFHAND}) {
        const CItemAttributeArmor* armor = GetArmorIn(slot);
        if (armor && !HasSkill(armor->GetArmorSkill())) penalty += armor->GetNonProficientPenalty();
    }
    return penalty;
}

SkillId CActor::GetFightingStyle() const {
    const CItemAttributeWeapon* weapon = GetWeaponIn(SLOT_WEAPON);
    if (!weapon) return SKILL_NONE;
    if (weapon->GetWeaponType() == WEAPON_BOW) return SKILL_MARKSMAN_STYLE;
    if (weapon->IsTwoHanded()) return SKILL_TWO_HANDED_STYLE;
    const CItem* offHand = GetEquipped(SLOT_OFFHAND);
    if (!offHand) return SKILL_DUELIST_STYLE;
    if (offHand->GetTemplate().GetKind() == ITEM_SHIELD) return SKILL_SHIELD_STYLE;
    if (offHand->GetTemplate().GetKind() == ITEM_WEAPON) return SKILL_DUAL_WIELD_STYLE;
    return SKILL_NONE;
}

SkillId CActor::GetWeaponMastery(bool offHand) const {
    const CItem* item = GetEquipped(offHand ? SLOT_OFFHAND : SLOT_WEAPON);
    if (!item || (offHand && item->GetTemplate().GetKind() != ITEM_WEAPON)) return SKILL_NONE;
    const auto* weapon = item->GetTemplate().GetAttributeOf<CItemAttributeWeapon>();
    if (!weapon) return SKILL_NONE;
    SkillId proficiency = GetWeaponTypeInfo(weapon->GetWeaponType()).proficiency;
    SkillId mastery = static_cast<SkillId>(GetSkillInfo(proficiency).mastery);
    return HasSkill(mastery) ? mastery : SKILL_NONE;
}

bool CActor::HasStyleOrMasterySkill() const {
    SkillId style = GetFightingStyle();
    if (style != SKILL_NONE && HasSkill(style)) return true;
    const CItemAttributeWeapon* weapon = GetWeaponIn(SLOT_WEAPON);
    if (!weapon) return false;
    SkillId proficiency = GetWeaponTypeInfo(weapon->GetWeaponType()).proficiency;
    return HasSkill(static_cast<SkillId>(GetSkillInfo(proficiency).mastery));
}

void CActor::GetSneakAttackBonus(std::int32_t& attack, std::int32_t& damage) const {
    attack = 10;
    damage = 10;
    std::int32_t stealth = GetSpecialStat(SPECIAL_STEALTH);
    if (HasSkill(SKILL_SNEAK_ATTACK) && stealth > 0) damage = SaturateInt32(std::int64_t{10} + stealth);
}

std::int32_t CActor::GetMagicLevelBasePart() const {
    std::int64_t levels = std::int64_t{m_baseLevel} + 1;
    if (levels < 0) return 0;
    return SaturateInt32(levels * (HasSkill(SKILL_MONSTER_MAGIC) ? 60 : 30) / 24);
}

std::int32_t CActor::GetMagicLevelClassPart() const {
    return SaturateInt32(std::int64_t{m_level} * GetClassInfo(m_class).magicRate / 24);
}

std::int32_t CActor::GetMagicLevel() const {
    return SaturateInt32(std::int64_t{GetMagicLevelBasePart()} + GetMagicLevelClassPart());
}

std::int32_t CActor::GetMaxSpellTier() const {
    auto tiers = [](std::int32_t part) { return std::min<std::int64_t>((std::int64_t{part} + 3) / 5, 9); };
    return static_cast<std::int32_t>(tiers(GetMagicLevelBasePart()) + tiers(GetMagicLevelClassPart()));
}

std::int32_t CActor::GetSpecialStat(SpecialStat stat) const {
    SkillId skill = GetSpecialStatSkill(stat);
    std::int64_t value = GetSkillBase(skill);
    Attribute attribute = static_cast<Attribute>(GetSkillInfo(skill).attribute);
    if (value != 0 && attribute != ATTR_NONE) value += GetAttributeBonus(attribute);
    return SaturateInt32(value + GetModifier(GetSpecialStatModifierIndex(stat)));
}

std::int32_t CActor::GetMaxHitPoints() const {
    std::int64_t level = m_level;
    std::int64_t hitPoints = std::int64_t{m_baseHitPoints} + GetAttributeBonus(ATTR_DURABILITY) * level;
    if (HasSkill(SKILL_TOUGHNESS)) hitPoints += 5 * level;
    return SaturateInt32(std::max<std::int64_t>(hitPoints, 1));
}

void CActor::SetMaxHitPoints(std::int32_t hitPoints) {
    std::int64_t level = m_level;
    std::int64_t durability = std::int64_t{m_attributes[ATTR_DURABILITY]} + GetModifier(MOD_DURABILITY);
    std::int64_t base = hitPoints + ((10 - durability) * 5 / 2) * level;
    if (HasSkill(SKILL_TOUGHNESS)) base -= 5 * level;
    m_baseHitPoints = static_cast<std::uint32_t>(std::clamp<std::int64_t>(base, 0, UINT32_MAX));
    m_damageTaken = 0;
}

void CActor::RollHitPoints() {
    std::int64_t total = 0;
    std::int32_t half = GetClassInfo(m_class).hitDie / 2;
    for (std::uint32_t level = 0; level < std::min<std::uint32_t>(m_level, 20); ++level)
        total += half + DRAVCommon::RollDie(half);
    m_baseHitPoints = static_cast<std::uint32_t>(total);
    m_hitPointsRolled = true;
    m_damageTaken = 0;
}

std::int32_t CActor::GetMaxEnergy() const {
    std::int64_t n = std::int64_t{m_baseLevel} + m_level + 1;
    if (HasSkill(SKILL_MENTAL_FOCUS)) ++n;
    std::int64_t k = 0;
    std::int64_t r = n;
    if (n > 3) {
        k = (n - 4) / 3 + 1;
        r = n - 3 * k;
    }
    std::int64_t series = (r + 2) << std::min<std::int64_t>(k, 20);
    std::int64_t intelligence = std::int64_t{GetAttributeBonus(ATTR_INTELLIGENCE)} * (n / 5 + 1);
    if (HasSkill(SKILL_MONSTER_MAGIC) && intelligence <= 0) intelligence = 0;
    return SaturateInt32(std::max({2 * series + intelligence, n, std::int64_t{1}}));
}

std::int32_t CActor::GetEnergy() const {
    if (!IsAlive()) return 0;
    return std::max(0, SaturateInt32(std::int64_t{GetMaxEnergy()} - m_energyUsed));
}

void CActor::RestoreEnergy(std::int32_t amount) {
    m_energyUsed = std::max(0, SaturateInt32(std::int64_t{m_energyUsed} - amount));
}

std::int32_t CActor::GetActionSpeed(std::int32_t actionKind, double* extraSeconds) const {
    std::int64_t extra = 0;
    if (actionKind == ACTIONKIND_ATTACK && HasStyleOrMasterySkill()) extra = GetBaseAttackBonus() / 5;
    if (actionKind == ACTIONKIND_CAST && HasSkill(SKILL_SPELLCASTING_ALACRITY)) extra = GetMagicLevel() * 2 / 5;
    // Held like the base speeds: each 10 points is another missile of every attack.
    const std::int32_t speed = static_cast<std::int32_t>(
        std::clamp<std::int64_t>(extra + GetModifier(MOD_ACTION_SPEED) + m_actionSpeed, -kMostSpeed, kMostSpeed));
    if (extraSeconds) *extraSeconds = actionKind == ACTIONKIND_ATTACK && speed > 20 ? (speed - 20) / 10.0 : 0.0;
    return speed;
}

double CActor::GetAttackTime(std::int32_t actionKind, std::int32_t* speed, double* extraSeconds) const {
    std::int32_t value = GetActionSpeed(actionKind, extraSeconds);
    if (speed) *speed = value;
    return std::max(0.5, 4.0 - value / 5.0) + 2.0 + 0.5;
}

bool CActor::IsSneaking() const { return m_currentPower && m_currentPower->GetSchool() == SKILL_SNEAK; }

double CActor::GetMoveSpeed() const {
    const std::int64_t points =
        std::clamp<std::int64_t>(std::int64_t{GetModifier(MOD_MOVEMENT_SPEED)} + m_movementSpeed, -kMostSpeed, kMostSpeed);
    const double speed = points / 5.0 + 10.0;
    return IsSneaking() ? speed * 2.0 / 3.0 : speed;
}

bool CActor::CanSee(const CActor& other) const {
    if (IsPartyOrFriendly() == other.IsPartyOrFriendly()) return true;
    return !other.IsSneaking();
}

bool CActor::IsSpottedBy(const CActor& other, std::int32_t* value) const {
    std::int32_t observation = kUnknownStat;
    return IsSpottedBy(other, GetSpecialStat(SPECIAL_STEALTH), observation, value);
}

bool CActor::IsSpottedBy(const CActor& other, std::int32_t stealth, std::int32_t& observation,
                         std::int32_t* value) const {
    // Nearer than this, every unit closer helps the observer.
    constexpr double kCloseRange = 50.0;
    const double dx = other.m_x - m_x;
    const double dy = other.m_y - m_y;
    const int sight = CompareToRange(dx, dy, kSightRange);
    double distance = kCloseRange;
    // Surely between the two ranges the distance itself does not matter.
    if (sight != -1 || CompareToRange(dx, dy, kCloseRange) != 1) {
        distance = sight == 1 ? HUGE_VAL : std::hypot(dx, dy);
        if (distance > kSightRange) {
            if (value) *value = 0;
            return false;
        }
    }
    if (observation == kUnknownStat) observation = other.GetSpecialStat(SPECIAL_OBSERVATION);
    std::int32_t spot = SaturateInt32(std::int64_t{observation} +
                                      static_cast<std::int64_t>((kCloseRange - std::min(distance, kCloseRange)) * 0.5));
    if (value) *value = spot;
    return spot >= stealth;
}

}  // namespace DRAV
