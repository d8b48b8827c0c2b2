#pragma once
// The item page: what an item is, what it is worth, and what each of its
// attributes does, built from its template.

#include <ostream>

namespace DRAV {

class CDescriptionViewer;
class CItemTemplate;
class CModule;

// `viewer` (may be null) is the character looking at the item; a scroll tells
// whether the spell is already in its spellbook. Code 2 for a kind outside the table.
void WriteItemDescription(const CItemTemplate& item, const CModule& module, const CDescriptionViewer* viewer,
                          std::ostream& out);

}  // namespace DRAV
