#pragma once
// The character a description is written for. Spell, skill and item pages add lines
// about that character (its casting bonus, its spellbook); the rules see it only
// through this view, and the world's actors supply one (world/descriptions/actor_viewer.h).

#include <cstdint>
#include <string>

#include "rules/vocabulary/attributes.h"
#include "rules/vocabulary/skill_id.h"

namespace DRAV {

class CSpell;

class CDescriptionViewer {
public:
    virtual ~CDescriptionViewer() = default;

    virtual const std::string& GetName() const = 0;
    virtual bool MeetsSpellRequirements(const CSpell& spell) const = 0;
    // Levels above the lowest at which the character could cast the spell.
    virtual std::int32_t GetCasterLevelMargin(const CSpell& spell) const = 0;
    virtual std::int32_t GetSpellCastingValue(const CSpell& spell) const = 0;
    virtual std::int32_t GetMaxSpellTier() const = 0;
    virtual std::int32_t GetAttributeBonus(Attribute attribute) const = 0;
    virtual std::int32_t GetSkillValue(SkillId skill) const = 0;
    // Whether the spell is already in the character's spellbook.
    virtual bool KnowsSpell(const CSpell& spell) const = 0;
};

}  // namespace DRAV
