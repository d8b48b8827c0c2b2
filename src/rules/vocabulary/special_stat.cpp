#include "rules/vocabulary/special_stat.h"

#include "rules/vocabulary/vocabulary_table.h"

namespace DRAV {

namespace {

struct SpecialStatRow {
    const char* name;
    const char* key;
    SkillId skill;
};

constexpr SpecialStatRow kSpecialStats[kSpecialStatCount] = {
    {"Locks", "locks", SKILL_LOCKS},
    {"Traps", "traps", SKILL_TRAPS},
    {"Diplomacy", "diplomacy", SKILL_DIPLOMACY},
    {"Stealth", "stealth", SKILL_SNEAK},
    {"Observation", "observation", SKILL_OBSERVATION},
};

}  // namespace

std::string GetSpecialStatKey(SpecialStat stat) { return GetTableRow(kSpecialStats, stat, "special statistic").key; }
std::string GetSpecialStatName(SpecialStat stat) {
    return GetTableRow(kSpecialStats, stat, "special statistic").name;
}
SkillId GetSpecialStatSkill(SpecialStat stat) { return GetTableRow(kSpecialStats, stat, "special statistic").skill; }

bool IsSpecialStatKey(const std::string& word) {
    return FindTableKey(kSpecialStats, &SpecialStatRow::key, word) >= 0;
}

SpecialStat ParseSpecialStat(const std::string& key) {
    int value = FindTableKey(kSpecialStats, &SpecialStatRow::key, key);
    if (value < 0) throw CDRAVException(DRAV_ERR_OUT_OF_RANGE, "No Special Stat: " + key);
    return static_cast<SpecialStat>(value);
}

}  // namespace DRAV
