#pragma once
// The fixed table of the game's 98 skills, and the "skills" block that stores a set of them.

#include <cstdint>
#include <set>
#include <string>

#include "common/data_file_reader.h"
#include "common/data_file_writer.h"
#include "rules/vocabulary/skill_id.h"

namespace DRAV {

struct SkillInfo {
    std::int32_t skillId;        // equal to the row number
    const char* name;
    const char* key;
    std::int32_t spellBonus;     // added to the casting value of spells of this school
    std::int32_t attribute;      // governing Attribute, 5 for none
    std::int32_t mastery;        // SkillId of the mastery that improves this skill, else 98
    std::int32_t skillClass;     // ActorClass whose skill this is; 3 (monster) cannot be learnt
    std::int32_t level;          // lowest level at which it can be learnt
    std::int32_t prerequisites[3];  // SkillIds; 98 none, 1000 any base magic school
    const char* description;
};

// Ascending, no duplicates.
using SkillSet = std::set<SkillId>;

// Code 2 outside 0-97.
const SkillInfo& GetSkillInfo(SkillId skill);
std::string GetSkillName(SkillId skill);
std::string GetSkillKey(SkillId skill);
std::string GetSkillDescription(SkillId skill);

// Code 2 for a word that is not a skill key.
SkillId ParseSkill(const std::string& key);

// Writes the block "skills": each skill's key in ascending order, SKILL_NONE as "0".
// Code 2 for a value that is neither a skill nor SKILL_NONE.
void WriteSkills(const SkillSet& skills, DRAVCommon::CDataFileWriter& writer);

// Reads an optional "skills" block into `skills` ("0" adds SKILL_NONE); with
// `clearFirst` the set is emptied first, whether or not a block follows.
void ReadSkills(SkillSet& skills, DRAVCommon::CDataFileReader& reader, bool clearFirst);

}  // namespace DRAV
