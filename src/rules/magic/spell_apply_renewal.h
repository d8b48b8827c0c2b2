#pragma once
// When a spell that takes hold again renews one already on the actor. A copy of
// an applied spell from the same source changes no number a player sees while
// the first holds (bonuses of one category do not stack), but each copy costs
// every tick and every save; so a copy that does no more than one held is not
// kept, and one that does at least as much takes the held one's place.
//
// The source of an applied spell is all it records of its caster: the name, the
// damage type, the casting value, the caster level and the two flags. Casters
// that differ in any of them, and different spells, stay apart and count as the
// rules count them.

#include <cstdint>

#include "rules/magic/spell_apply.h"

namespace DRAV {

// `newer` does at every tick all that `older` does: from the same source, and each
// part still on `older` has, in the same order, a part of `newer` with the same
// subject (modifier mask, status, carried spell or damage type), at least as
// strong, that ends no earlier. A carried spell only needs the same spell: its
// renewal keeps pulsing in the held one's rhythm (RenewPulses).
bool Renews(const CSpellApply& newer, const CSpellApply& older);

// Adding `newer` where `held` holds would change nothing: `held` lasts as long and
// is as strong in every part of `newer`.
bool Outlasts(const CSpellApply& held, const CSpellApply& newer);

// For a `newer` that renews `older`: each carried spell of `newer` ends on the
// first tick, at or after its own end and never before the renewed one's, that
// keeps the renewed one's pulse rhythm. A carried spell pulses when the ticks
// left are one more than a multiple of the pulse period, so a renewal that moved
// the rhythm could put every pulse off for as long as the spell is renewed.
void RenewPulses(CSpellApply& newer, const CSpellApply& older);

}  // namespace DRAV
