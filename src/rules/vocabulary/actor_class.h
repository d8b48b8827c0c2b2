#pragma once
// Character classes, their per-class numbers and the per-level skill picks.

#include <cstdint>
#include <string>

#include "common/data_file_reader.h"
#include "rules/vocabulary/skill_id.h"

namespace DRAV {

enum ActorClass : std::int32_t {
    CLASS_FIGHTER = 0,
    CLASS_ROGUE = 1,
    CLASS_SPELLCASTER = 2,
    CLASS_MONSTER = 3,
};
constexpr int kClassCount = 4;

struct ClassInfo {
    std::int32_t value;
    const char* key;
    const char* name;
    std::int32_t hitDie;
    std::int32_t attackRate;
    std::int32_t magicRate;  // the monster row's also serves actors without Inherent Magic
    SkillId freeSkill;       // granted when the skills are reset
};

// Code 2 outside 0-3.
const ClassInfo& GetClassInfo(ActorClass actorClass);
std::string GetClassKey(ActorClass actorClass);
std::string GetClassName(ActorClass actorClass);
// Code 2 for a word that is not a class key.
ActorClass ParseClass(const std::string& key);
ActorClass ReadClass(DRAVCommon::CDataFileReader& reader);

// The lowest class level at which the class casts spells of `tier`; never negative.
// Code 2 for a class outside 0-3.
std::int32_t GetMinLevelForTier(ActorClass actorClass, std::int32_t tier);

// Sums the class and general picks of the first `levels` levels (a rogue takes its
// rogue picks as class picks and no general picks). A count beyond the 20 levels of
// the table sums the whole table; a count below 1 gives nothing.
void GetSkillPicksForLevels(ActorClass actorClass, std::int32_t levels, std::int32_t& classPicks,
                            std::int32_t& generalPicks);

}  // namespace DRAV
