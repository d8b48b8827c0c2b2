#pragma once
// The five ability scores and the four combat statistics of an actor.

#include <cstdint>
#include <string>

#include "common/data_file_reader.h"

namespace DRAV {

enum Attribute : std::int32_t {
    ATTR_STRENGTH = 0,
    ATTR_AGILITY = 1,
    ATTR_DURABILITY = 2,
    ATTR_INTELLIGENCE = 3,
    ATTR_PERSONALITY = 4,
    ATTR_NONE = 5,  // "no attribute" in the attribute columns of other tables
};
constexpr int kAttributeCount = 5;

enum CombatStat : std::int32_t {
    COMBAT_ATTACK_BONUS = 0,
    COMBAT_ATTACK_DAMAGE = 1,
    COMBAT_DEFENSE_CLASS = 2,
    COMBAT_HIT_POINTS = 3,
};
constexpr int kCombatStatCount = 4;

// Code 2 outside 0-4.
std::string GetAttributeKey(Attribute attribute);
std::string GetAttributeName(Attribute attribute);
bool IsAttributeKey(const std::string& word);
// Code 2 for a word that is not an attribute key.
Attribute ParseAttribute(const std::string& key);
Attribute ReadAttribute(DRAVCommon::CDataFileReader& reader);

// Code 2 outside 0-3.
std::string GetCombatStatName(CombatStat stat);

}  // namespace DRAV
