#pragma once
// The item files of a chapter, its own and the global one, each an "items" element
// of "item" definitions, and the potions, scrolls and wands made from the spells.

#include "common/data_file.h"
#include "common/data_file_reader.h"
#include "rules/items/item_template.h"
#include "rules/magic/spell.h"

namespace DRAV {

// Reads one items file into `items`; a key already there is code 1 naming the key.
void ParseItems(ItemTemplateMap& items, DRAVCommon::CDataFileReader& reader, const SpellMap& spells);

// Enters the spell item of `kind` (potion, scroll or wand), replacing any item of its key.
void MakeSpellItem(ItemTemplateMap& items, ItemKind kind, const CSpell& spell);
// For every spell in key order: its potion and wand when its flags allow them, and
// its scroll when it belongs to a spellcaster school other than its second skill and
// is not kept out of the manual.
void MakeSpellItems(ItemTemplateMap& items, const SpellMap& spells);

// The whole load: "items.drav" of the chapter, "global_items.drav", then the spell items.
void LoadItems(ItemTemplateMap& items, DRAVCommon::CDataFileFactory& source, const SpellMap& spells);

}  // namespace DRAV
