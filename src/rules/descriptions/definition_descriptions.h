#pragma once
// The spell, skill and faction pages of the information dialogs, and the spells a
// skill opens, for the skill dialogs.

#include <cstdint>
#include <ostream>
#include <vector>

#include "rules/vocabulary/skill_id.h"

namespace DRAV {

class CDescriptionViewer;
class CFaction;
class CModule;
class CSpell;

// `viewer` (may be null) adds its tier, extra levels and casting bonus.
void WriteSpellDescription(const CSpell& spell, const CModule& module, const CDescriptionViewer* viewer,
                           std::ostream& out);
// `viewer` (may be null) adds its value in the skill. Code 2 for a skill outside the table.
void WriteSkillDescription(SkillId skill, const CDescriptionViewer* viewer, std::ostream& out);
void WriteFactionDescription(const CFaction& faction, std::ostream& out);

struct CSkillSpellEntry {
    std::int32_t rank;  // the spell's level, or its tier when it has no level
    const CSpell* spell;
    bool schoolMatch;
    bool secondSkillMatch;
};

// The spells of the module whose school or second skill is `skill`, by rank and
// then by key; empty for SKILL_NONE. The sneak power and spells kept out of the
// manual are left out.
void CollectSkillSpells(SkillId skill, const CModule& module, std::vector<CSkillSpellEntry>& entries);

}  // namespace DRAV
