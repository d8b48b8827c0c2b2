#pragma once
// A grid of action slots showing an actor's spells and powers, ordered by school,
// then the higher level (or tier) first. Cell ids follow the actor's spell list.

#include <cstdint>
#include <memory>
#include <string>

#include "ui/ui_list_element.h"

namespace DRAV {
class CActor;
class CSpell;
}  // namespace DRAV

namespace DRAVUI {

// Whether spell `a` is shown before `b`: lower school; higher level, or higher tier
// for spells without a level; lower key. A spell with a level is ranked by its
// level against one ranked by its tier, so the order is total.
bool SpellShownBefore(const DRAV::CSpell& a, const DRAV::CSpell& b);

class CUISpellListWindow : public CUIListElement {
public:
    CUISpellListWindow(std::shared_ptr<CUIConfig> config, int id, int columnCount, int visibleRows, bool showSpells,
                       bool showPowers, std::string caption, bool draggable);

    // Remakes every cell from the actor's spells: spell i gets id baseId + i. With
    // `usableOnly` spells the actor cannot use now are left out without a gap.
    void Fill(const DRAV::CActor& actor, std::int32_t baseId, bool usableOnly);

private:
    int m_columnCount;
    bool m_showSpells;
    bool m_showPowers;
    bool m_draggable;
};

}  // namespace DRAVUI
