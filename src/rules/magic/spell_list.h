#pragma once
// The "spells" element: a list of references to the module's spells, as saved
// actors and monster definitions hold it.

#include <vector>

#include "common/data_file_reader.h"
#include "common/data_file_writer.h"
#include "rules/magic/spell.h"

namespace DRAV {

// Each spell once, in first-seen order; the module owns the spells.
using SpellList = std::vector<const CSpell*>;

// Each key as a word, in list order.
void WriteSpellList(const SpellList& list, DRAVCommon::CDataFileWriter& writer);
// Appends the spells the keys name, skipping those already listed; a key the
// module does not know is code 1 naming it.
void ReadSpellList(SpellList& list, DRAVCommon::CDataFileReader& reader, const SpellMap& spells);

}  // namespace DRAV
