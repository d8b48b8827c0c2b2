#pragma once
// The special statistics (locks, traps, diplomacy, stealth, observation) and the
// rogue skills behind them.

#include <cstdint>
#include <string>

#include "rules/vocabulary/skill_id.h"

namespace DRAV {

enum SpecialStat : std::int32_t {
    SPECIAL_LOCKS = 0,
    SPECIAL_TRAPS = 1,
    SPECIAL_DIPLOMACY = 2,
    SPECIAL_STEALTH = 3,
    SPECIAL_OBSERVATION = 4,
    SPECIAL_NONE = 5,
};
constexpr int kSpecialStatCount = 5;

// Code 2 outside 0-4.
std::string GetSpecialStatKey(SpecialStat stat);
std::string GetSpecialStatName(SpecialStat stat);
SkillId GetSpecialStatSkill(SpecialStat stat);
bool IsSpecialStatKey(const std::string& word);
// Code 2 with "No Special Stat: " and the word for a word that is not a key.
SpecialStat ParseSpecialStat(const std::string& key);

}  // namespace DRAV
