#include "rules/kinds/damage.h"

#include "rules/vocabulary/vocabulary_table.h"

namespace DRAV {

namespace {

// The skill columns of the categories without resistance are never read.
constexpr DamageCategoryInfo kCategories[kDamageCategoryCount] = {
    {DAMAGE_ENERGETIC, "energetic", "Energetic", ATTR_AGILITY, SKILL_IMPROVED_ENERGETIC, SKILL_ESCAPE,
     SKILL_LIGHTNING_ESCAPE},
    {DAMAGE_MATERIAL, "material", "Material", ATTR_DURABILITY, SKILL_IMPROVED_MATERIAL, SKILL_FORTITUDE,
     SKILL_GREAT_FORTITUDE},
    {DAMAGE_SPIRITUAL, "spiritual", "Spiritual", ATTR_PERSONALITY, SKILL_IMPROVED_SPIRITUAL, SKILL_RESOLVE,
     SKILL_IRON_RESOLVE},
    {DAMAGE_PHYSICAL, "physical", "Physical", ATTR_NONE, SKILL_NONE, SKILL_NONE, SkillId{0}},
    {DAMAGE_MUSICAL, "musical", "Musical", ATTR_NONE, SKILL_NONE, SKILL_NONE, SkillId{0}},
    {DAMAGE_POWER, "power", "Power", ATTR_NONE, SKILL_NONE, SKILL_NONE, SkillId{0}},
};

constexpr DamageElementInfo kElements[kDamageElementCount] = {
    {ELEMENT_NONE, DAMAGE_NONE, "none", "None"},
    {ELEMENT_RADIANT, DAMAGE_ENERGETIC, "radiant", "Radiant"},
    {ELEMENT_FIRE, DAMAGE_ENERGETIC, "fire", "Fire"},
    {ELEMENT_COLD, DAMAGE_ENERGETIC, "cold", "Cold"},
    {ELEMENT_LIGHTNING, DAMAGE_ENERGETIC, "lightning", "Lightning"},
    {ELEMENT_FORCE, DAMAGE_ENERGETIC, "force", "Force"},
    {ELEMENT_NECROTIC, DAMAGE_MATERIAL, "necrotic", "Necrotic"},
    {ELEMENT_STASIS, DAMAGE_MATERIAL, "stasis", "Stasis"},
    {ELEMENT_POISON, DAMAGE_MATERIAL, "poison", "Poison"},
    {ELEMENT_ACID, DAMAGE_MATERIAL, "acid", "Acid"},
    {ELEMENT_DEBILITY, DAMAGE_MATERIAL, "debility", "Debility"},
    {ELEMENT_CURSE, DAMAGE_SPIRITUAL, "curse", "Curse"},
    {ELEMENT_CHARM, DAMAGE_SPIRITUAL, "charm", "Charm"},
    {ELEMENT_ILLUSION, DAMAGE_SPIRITUAL, "illusion", "Illusion"},
    {ELEMENT_BLUNT, DAMAGE_PHYSICAL, "blunt", "Blunt"},
    {ELEMENT_SHARP, DAMAGE_PHYSICAL, "sharp", "Sharp"},
};

}  // namespace

const DamageCategoryInfo& GetDamageCategoryInfo(DamageCategory category) {
    return GetTableRow(kCategories, category, "damage category");
}

const DamageElementInfo& GetDamageElementInfo(DamageElement element) {
    return GetTableRow(kElements, element, "damage element");
}

std::string CDamageType::GetKey() const {
    if (category == DAMAGE_NONE && element == ELEMENT_NONE) return "0";
    if (element != ELEMENT_NONE) return GetDamageElementInfo(element).key;
    return GetDamageCategoryInfo(category).key;
}

std::string CDamageType::GetShortName() const {
    if (element != ELEMENT_NONE) return GetDamageElementInfo(element).name;
    return GetDamageCategoryInfo(category).name;
}

std::string CDamageType::GetFullName() const {
    std::string name = GetDamageCategoryInfo(category).name;
    if (element != ELEMENT_NONE) name += std::string("/") + GetDamageElementInfo(element).name;
    return name;
}

bool IsDamageTypeWord(const std::string& word) {
    return FindTableKey(kCategories, &DamageCategoryInfo::key, word) >= 0 ||
           FindTableKey(kElements, &DamageElementInfo::key, word) >= 0;
}

CDamageType ParseDamageType(const std::string& word) {
    if (word.empty() || word == "0") return {};
    int category = FindTableKey(kCategories, &DamageCategoryInfo::key, word);
    if (category >= 0) return {static_cast<DamageCategory>(category), ELEMENT_NONE};
    int element = ParseTableKey(kElements, &DamageElementInfo::key, word, DRAV_ERR_BAD_DATA, "damage type");
    return {kElements[element].category, static_cast<DamageElement>(element)};
}

void WriteDamageType(DRAVCommon::CDataFileWriter& writer, const CDamageType& type) { writer.WriteWord(type.GetKey()); }

}  // namespace DRAV
