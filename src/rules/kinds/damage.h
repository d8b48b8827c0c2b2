#pragma once
// Damage categories and elements, and the damage type that pairs them.

#include <cstdint>
#include <string>

#include "common/data_file_writer.h"
#include "rules/vocabulary/attributes.h"
#include "rules/vocabulary/skill_id.h"

namespace DRAV {

enum DamageCategory : std::int32_t {
    DAMAGE_ENERGETIC = 0,
    DAMAGE_MATERIAL = 1,
    DAMAGE_SPIRITUAL = 2,
    DAMAGE_PHYSICAL = 3,
    DAMAGE_MUSICAL = 4,
    DAMAGE_POWER = 5,
    DAMAGE_NONE = 6,  // no damage type
};
constexpr int kDamageCategoryCount = 6;

enum DamageElement : std::int32_t {
    ELEMENT_NONE = 0,  // the whole category
    ELEMENT_RADIANT, ELEMENT_FIRE, ELEMENT_COLD, ELEMENT_LIGHTNING, ELEMENT_FORCE,
    ELEMENT_NECROTIC, ELEMENT_STASIS, ELEMENT_POISON, ELEMENT_ACID, ELEMENT_DEBILITY,
    ELEMENT_CURSE, ELEMENT_CHARM, ELEMENT_ILLUSION,
    ELEMENT_BLUNT, ELEMENT_SHARP,
};
constexpr int kDamageElementCount = 16;

struct DamageCategoryInfo {
    DamageCategory value;
    const char* key;
    const char* name;
    // Read by the resistance and saving-throw rules, for categories 0-2 only.
    Attribute attribute;
    SkillId improvedSkill;
    SkillId resistSkill;
    SkillId greaterSkill;
};

struct DamageElementInfo {
    DamageElement value;
    DamageCategory category;
    const char* key;
    const char* name;
};

// Code 2 outside the tables (categories 0-5, elements 0-15).
const DamageCategoryInfo& GetDamageCategoryInfo(DamageCategory category);
const DamageElementInfo& GetDamageElementInfo(DamageElement element);

// (DAMAGE_NONE, ELEMENT_NONE) is no damage type. An element other than ELEMENT_NONE
// always carries its own category.
struct CDamageType {
    DamageCategory category = DAMAGE_NONE;
    DamageElement element = ELEMENT_NONE;

    // The word ParseDamageType reads back: "0" for none, else the element's or the category's key.
    std::string GetKey() const;
    // "Fire", or "Energetic" for a whole category. Code 2 for no damage type.
    std::string GetShortName() const;
    // "Energetic/Fire", or "Energetic" for a whole category. Code 2 for no damage type.
    std::string GetFullName() const;

    bool operator==(const CDamageType&) const = default;
};

// True for a category or element key (including "none"); "0" and "" are not.
bool IsDamageTypeWord(const std::string& word);
// "" and "0" give no damage type; any other word outside the tables is code 1.
CDamageType ParseDamageType(const std::string& word);
void WriteDamageType(DRAVCommon::CDataFileWriter& writer, const CDamageType& type);

}  // namespace DRAV
