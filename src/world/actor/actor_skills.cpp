// Skills, skill picks, attributes and levels.

#include <algorithm>

#include "common/exception.h"
#include "common/random.h"
#include "rules/kinds/formulas.h"
#include "world/actor.h"

namespace DRAV {
namespace {

constexpr std::uint32_t kMaxLevel = 20;

// The base magic schools that a prerequisite of "any magic" accepts.
constexpr SkillId kBaseSchools[] = {SKILL_VOID_MAGIC, SKILL_MATTER_MAGIC, SKILL_ENERGY_MAGIC, SKILL_SPIRIT_MAGIC};

}  // namespace

std::uint32_t AttributeRaiseCost(std::uint32_t value) {
    if (value < 6) return 1;
    if (value < 20) return (value - 4) / 2;
    return 72;
}

std::int32_t CActor::GetSkillBase(SkillId skill) const {
    if (!HasSkill(skill)) return 0;
    const SkillInfo& info = GetSkillInfo(skill);
    switch (info.skillClass) {
        case CLASS_FIGHTER: return GetBaseAttackBonus();
        case CLASS_SPELLCASTER: return GetMagicLevel();
        default: {
            std::int64_t base = (std::int64_t{m_baseLevel} + 1 + m_level) * 5;
            if (info.skillClass == CLASS_ROGUE && m_class == CLASS_ROGUE) base += 20;
            return SaturateInt32(base);
        }
    }
}

std::int32_t CActor::GetSkillValue(SkillId skill) const {
    std::int64_t value = GetSkillBase(skill);
    Attribute attribute = static_cast<Attribute>(GetSkillInfo(skill).attribute);
    if (value != 0 && attribute != ATTR_NONE) value += GetAttributeBonus(attribute);
    return SaturateInt32(value);
}

void CActor::ResetSkills() {
    m_skills.clear();
    m_skills.insert(GetClassInfo(m_class).freeSkill);
}

void CActor::GetUnspentSkillPicks(std::int32_t& classPicks, std::int32_t& generalPicks) const {
    classPicks = 0;
    generalPicks = 0;
    if (m_class == CLASS_MONSTER || IsSummoned()) return;
    GetSkillPicksForLevels(m_class, SaturateInt32(m_level), classPicks, generalPicks);
    const SkillId freeSkill = GetClassInfo(m_class).freeSkill;
    for (SkillId skill : m_skills) {
        if (skill == freeSkill || skill < 0 || skill >= kSkillCount) continue;
        bool classSkill = m_class == CLASS_ROGUE || GetSkillInfo(skill).skillClass == m_class;
        if (classSkill && classPicks > 0) --classPicks;
        else if (generalPicks > 0) --generalPicks;
    }
}

bool CActor::HasLevelPoints() const {
    std::int32_t classPicks = 0;
    std::int32_t generalPicks = 0;
    GetUnspentSkillPicks(classPicks, generalPicks);
    return classPicks > 0 || generalPicks > 0 || m_unspentPoints > 0;
}

bool CActor::CanLearnSkill(SkillId skill) const {
    const SkillInfo& info = GetSkillInfo(skill);
    std::int32_t classPicks = 0;
    std::int32_t generalPicks = 0;
    GetUnspentSkillPicks(classPicks, generalPicks);
    bool classPick = classPicks > 0 && (m_class == CLASS_ROGUE || info.skillClass == m_class);
    if (!classPick && generalPicks <= 0) return false;
    if (info.skillClass == CLASS_MONSTER) return false;
    for (std::int32_t prerequisite : info.prerequisites) {
        if (prerequisite == SKILL_NONE) continue;
        if (prerequisite == SKILL_ANY_MAGIC) {
            if (std::none_of(std::begin(kBaseSchools), std::end(kBaseSchools), [&](SkillId s) { return HasSkill(s); }))
                return false;
        } else if (!HasSkill(static_cast<SkillId>(prerequisite))) {
            return false;
        }
    }
    return info.level == 0 || static_cast<std::uint32_t>(info.level) <= m_level;
}

bool CActor::CanForgetSkill(SkillId skill) const {
    if (!m_skillEdit || !HasSkill(skill)) return false;
    for (SkillId known : m_skills) {
        if (known < 0 || known >= kSkillCount) continue;
        for (std::int32_t prerequisite : GetSkillInfo(known).prerequisites)
            if (prerequisite == skill) return false;
    }
    return true;
}

void CActor::ResetStats() {
    m_experience = GetXpThreshold(SaturateInt32(std::int64_t{m_baseLevel} + m_level + 1));
    m_unspentPoints = 0;
    m_skillEdit = 0;
    m_attributes.fill(6);
    m_baseHitPoints = 1;
    m_hitPointsRolled = false;
    m_damageTaken = 0;
    m_defenseAdjustment = 0;
    m_actionSpeed = 0;
    m_movementSpeed = 0;
    m_baseResistances = {};
}

void CActor::IncreaseAttribute(Attribute attribute, bool flatCost) {
    std::uint32_t& value = m_attributes.at(attribute);
    std::uint32_t cost = flatCost ? 1 : AttributeRaiseCost(value);
    if (cost > m_unspentPoints)
        throw CDRAVException(DRAV_ERR_OUT_OF_RANGE, "not enough points to raise " + GetAttributeName(attribute));
    ++value;
    m_unspentPoints -= cost;
}

void CActor::DecreaseAttribute(Attribute attribute) {
    std::uint32_t& value = m_attributes.at(attribute);
    if (value < 7) throw CDRAVException(DRAV_ERR_OUT_OF_RANGE, GetAttributeName(attribute) + " cannot go below 6");
    --value;
    m_unspentPoints += AttributeRaiseCost(value);
}

std::uint32_t CActor::GetNextLevelExperience() const {
    return GetXpThreshold(SaturateInt32(std::int64_t{m_baseLevel} + m_level + 2));
}

bool CActor::AdvanceLevel() {
    if (m_level >= kMaxLevel) return false;
    if (m_experience < GetNextLevelExperience()) return false;
    ++m_level;
    std::int32_t half = GetClassInfo(m_class).hitDie / 2;
    m_baseHitPoints += static_cast<std::uint32_t>(half + DRAVCommon::RollDie(half));
    if (m_level % 4 == 0) ++m_unspentPoints;
    m_skillEdit = 1;
    return true;
}

}  // namespace DRAV
