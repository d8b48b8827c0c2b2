#pragma once
// What a spell would change where a monster's AI aims it. A spell that would leave
// its target as it stands is not worth casting, and a brain that cast it anyway
// would cast it again and again, to no end.

namespace DRAV {

class CActor;
class CSpell;
class CSpellEffect;

// Whether `effect` of `spell` would leave `target` as it is: a status the target
// has already, a resistance it has already, or a modifier it cannot use or that a
// like spell on it gives already (same damage category, a shared modifier, bonus
// on bonus or penalty on penalty). Other effects change something.
bool EffectChangesNothing(const CSpell& spell, const CSpellEffect& effect, const CActor& target);

// Whether `spell` cast at `target`, or at the cell it stands in when `spell` is a
// tile spell, would change nothing: at a cell only a summons or a teleport acts,
// every other effect asks for an actor; an actor the spell cannot affect is left
// as it is, and so is one on which every effect changes nothing. A spell that
// gathers targets of its own may reach others, and so changes something.
bool SpellChangesNothing(const CSpell& spell, const CActor& target);

}  // namespace DRAV
