#pragma once
// What a spell does, in words: the range, save, target and requirement lines of a
// spell and one group of sentences per effect, for the spell, item and character
// pages (CSpell::WriteRulesText writes the whole text).

#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

#include "rules/kinds/modifiers.h"
#include "rules/magic/spell.h"
#include "rules/magic/spell_scaling.h"
#include "rules/vocabulary/gender_race.h"

namespace DRAV {

class CDescriptionViewer;
class CModule;

// Contexts of a rules text besides the ItemKind of an item that carries the spell.
constexpr std::int32_t kDescribeEffectList = 0;  // the bare effects of a character sheet
constexpr std::int32_t kDescribeSpellPage = 11;  // the spell's own page

// The sentences of one effect of `spell`. Code 2 for a kind outside the table.
void WriteSpellEffectText(std::ostream& out, const CSpell& spell, const CSpellEffect& effect, const CModule& module,
                          const CDescriptionViewer* viewer, std::int32_t context);
// "This effect lasts for a duration of ...", with the growth per level on the spell page.
void WriteDurationText(std::ostream& out, const CSpell& spell, const CSpellDuration& duration,
                       const CDescriptionViewer* viewer, std::int32_t context);
// "1 hour 2 minutes", "1 minute 1 second", "0 seconds".
void FormatTimeWords(std::ostream& out, std::int32_t seconds);
void WriteRaceList(std::ostream& out, const std::vector<Race>& races);

// Damage-range texts of a magnitude: at caster-level margin 0, its step per level,
// and at the viewer's margin for `spell`.
std::string FormatMagnitude(const CSpellMagnitude& magnitude);
std::string FormatMagnitudePerLevel(const CSpellMagnitude& magnitude);
std::string FormatMagnitudeForActor(const CSpellMagnitude& magnitude, const CDescriptionViewer& viewer,
                                    const CSpell& spell);

// The names of the statistics of `mask`, separated by ", ".
void GetModifierKindName(std::ostream& out, ModifierMask mask);

}  // namespace DRAV
