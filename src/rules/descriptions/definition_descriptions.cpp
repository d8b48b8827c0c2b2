#include "rules/descriptions/definition_descriptions.h"

#include <algorithm>

#include "rules/definitions/faction.h"
#include "rules/descriptions/description_frame.h"
#include "rules/descriptions/description_viewer.h"
#include "rules/descriptions/spell_rules_text.h"
#include "rules/kinds/formulas.h"
#include "rules/magic/spell.h"
#include "rules/module.h"
#include "rules/vocabulary/skills.h"

namespace DRAV {

namespace {

void WriteSkillLine(SkillId school, std::ostream& out) {
    if (school == SKILL_NONE) return;
    out << "Skill: ";
    WriteSkillLink(school, out);
    out << " LINE ";
}

std::int32_t GetSpellEnergyCost(const CSpell& spell) {
    if (spell.GetSchool() == SKILL_SNEAK) return 0;
    if (spell.HasFlag(SPELL_POWER)) return std::max(spell.GetLevel(), 1);
    return GetEnergyCostForTier(spell.GetTier());
}

// A spellcaster's magic rate at class level 20 reaches tier 9; other skills open
// powers up to level 20.
std::int32_t GetHighestSkillRank(SkillId skill) {
    if (skill == SKILL_NONE || GetSkillInfo(skill).skillClass == CLASS_SPELLCASTER)
        return std::min((60 * 20 / 24 + 3) / 5, 9);
    return 20;
}

}  // namespace

void WriteSpellDescription(const CSpell& spell, const CModule& module, const CDescriptionViewer* viewer,
                           std::ostream& out) {
    BeginListingTable(out, spell.GetName());
    const bool power = spell.HasFlag(SPELL_POWER);
    out << "Type: " << (power ? "Ongoing Power" : "Spell ") << " LINE ";
    WriteSkillLine(spell.GetSchool(), out);
    if (spell.GetLevel() != -1) {
        out << "Level: " << spell.GetLevel() << " LINE ";
    } else {
        out << "Spell Tier: " << spell.GetTier() << " LINE ";
        if (viewer) {
            const std::int32_t maxTier = viewer->GetMaxSpellTier();
            out << viewer->GetName() << " Spell Tier: " << maxTier << " ";
            if (spell.GetTier() <= maxTier)
                out << "(" << viewer->GetCasterLevelMargin(spell) << " Extra Levels) " << " LINE " << viewer->GetName()
                    << " Bonus: " << viewer->GetSpellCastingValue(spell) << " LINE ";
            else
                out << " LINE ";
        }
    }
    out << "Energy Cost: " << GetSpellEnergyCost(spell);
    if (power) out << " (ongoing)";
    out << " LINE ";
    spell.WriteRulesText(module, viewer, out, kDescribeSpellPage);
    out << spell.GetDescription() << " LINE ";
    EndListingTable(out);
}

void WriteSkillDescription(SkillId skill, const CDescriptionViewer* viewer, std::ostream& out) {
    const SkillInfo& info = GetSkillInfo(skill);
    BeginListingTable(out, info.name);
    out << "Class: ";
    WriteClassLink(static_cast<ActorClass>(info.skillClass), RACE_NONE, out);
    out << " LINE ";
    if (info.attribute != ATTR_NONE)
        out << "Attribute: " << GetAttributeName(static_cast<Attribute>(info.attribute)) << " LINE ";
    if (info.spellBonus != 0) out << "Spell Bonus: " << (info.spellBonus > 0 ? "+" : "") << info.spellBonus << " LINE ";
    for (std::int32_t prerequisite : info.prerequisites) {
        if (prerequisite == SKILL_NONE) continue;
        out << "Prerequisite: ";
        WriteSkillLink(static_cast<SkillId>(prerequisite), out);
        out << " LINE ";
    }
    if (info.level != 0) out << "Prerequisite: Level " << info.level << " LINE ";
    if (viewer) out << viewer->GetName() << " Value: " << viewer->GetSkillValue(skill) << " LINE ";
    out << " LINE " << info.description << " LINE ";
    EndListingTable(out);
}

void WriteFactionDescription(const CFaction& faction, std::ostream& out) {
    BeginListingTable(out, faction.GetName());
    out << faction.GetDescriptionText() << " LINE " << " LINE ";
    EndListingTable(out);
}

void CollectSkillSpells(SkillId skill, const CModule& module, std::vector<CSkillSpellEntry>& entries) {
    if (skill == SKILL_NONE) return;
    const std::int32_t highest = GetHighestSkillRank(skill);
    for (std::int32_t rank = 0; rank <= highest; ++rank) {
        for (const auto& [key, spell] : module.GetSpells()) {
            if (spell->GetSchool() == SKILL_SNEAK || spell->HasFlag(SPELL_NOMANUAL)) continue;
            const bool school = spell->GetSchool() == skill;
            const bool second = spell->GetSecondSkill() == skill;
            if (!school && !second) continue;
            const std::int32_t spellRank = spell->GetLevel() != -1 ? spell->GetLevel() : spell->GetTier();
            if (spellRank == rank) entries.push_back({rank, spell.get(), school, second});
        }
    }
}

}  // namespace DRAV
