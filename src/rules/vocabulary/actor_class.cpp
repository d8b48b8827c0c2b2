#include "rules/vocabulary/actor_class.h"

#include <algorithm>

#include "rules/kinds/formulas.h"
#include "rules/vocabulary/vocabulary_table.h"

namespace DRAV {

namespace {

constexpr ClassInfo kClasses[kClassCount] = {
    {CLASS_FIGHTER, "fighter", "Fighter", 50, 120, 30, SKILL_IMPROVED_MATERIAL},
    {CLASS_ROGUE, "rogue", "Adventurer", 40, 90, 45, SKILL_IMPROVED_ENERGETIC},
    {CLASS_SPELLCASTER, "spellcaster", "Spellcaster", 30, 60, 60, SKILL_IMPROVED_SPIRITUAL},
    {CLASS_MONSTER, "monster", "Common", 0, 120, 30, SKILL_NONE},
};

struct LevelPicks {
    std::int32_t level;
    std::int32_t classPicks;
    std::int32_t generalPicks;
    std::int32_t roguePicks;
};

constexpr int kLevelPicksCount = 20;

constexpr LevelPicks kLevelPicks[kLevelPicksCount] = {
    {1, 2, 1, 3},  {2, 1, 0, 1},  {3, 0, 0, 1},  {4, 0, 1, 1},  {5, 1, 0, 1},
    {6, 0, 0, 1},  {7, 0, 1, 1},  {8, 1, 0, 1},  {9, 0, 0, 1},  {10, 0, 1, 1},
    {11, 1, 0, 1}, {12, 0, 0, 1}, {13, 0, 1, 1}, {14, 1, 0, 1}, {15, 0, 0, 1},
    {16, 0, 1, 1}, {17, 1, 0, 1}, {18, 0, 0, 1}, {19, 0, 1, 1}, {20, 1, 0, 1},
};

}  // namespace

const ClassInfo& GetClassInfo(ActorClass actorClass) { return GetTableRow(kClasses, actorClass, "class"); }
std::string GetClassKey(ActorClass actorClass) { return GetClassInfo(actorClass).key; }
std::string GetClassName(ActorClass actorClass) { return GetClassInfo(actorClass).name; }

ActorClass ParseClass(const std::string& key) {
    return static_cast<ActorClass>(ParseTableKey(kClasses, &ClassInfo::key, key, DRAV_ERR_OUT_OF_RANGE, "class"));
}

ActorClass ReadClass(DRAVCommon::CDataFileReader& reader) {
    return static_cast<ActorClass>(
        ReadTableKey(reader, kClasses, &ClassInfo::key, DRAV_ERR_OUT_OF_RANGE, "class"));
}

std::int32_t GetMinLevelForTier(ActorClass actorClass, std::int32_t tier) {
    // In 64 bits, so that a tier far outside the game's range saturates instead of wrapping.
    const std::int64_t wide = tier;
    std::int64_t level;
    switch (GetClassInfo(actorClass).value) {
        case CLASS_FIGHTER: level = 4 * wide - 2; break;
        case CLASS_ROGUE: level = (8 * wide - 2) / 3; break;
        default: level = 2 * wide - 1; break;
    }
    return SaturateInt32(std::max<std::int64_t>(level, 0));
}

void GetSkillPicksForLevels(ActorClass actorClass, std::int32_t levels, std::int32_t& classPicks,
                            std::int32_t& generalPicks) {
    classPicks = 0;
    generalPicks = 0;
    const int rows = std::clamp(levels, 0, kLevelPicksCount);
    for (int i = 0; i < rows; ++i) {
        if (actorClass == CLASS_ROGUE) {
            classPicks += kLevelPicks[i].roguePicks;
        } else {
            classPicks += kLevelPicks[i].classPicks;
            generalPicks += kLevelPicks[i].generalPicks;
        }
    }
}

}  // namespace DRAV
