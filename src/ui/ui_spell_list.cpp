#include "ui/ui_spell_list.h"

#include <algorithm>
#include <tuple>
#include <utility>
#include <vector>

#include "ui/ui_action_element.h"
#include "world/actor.h"

namespace DRAVUI {
namespace {

std::int32_t Rank(const DRAV::CSpell& spell) { return spell.GetLevel() != -1 ? spell.GetLevel() : spell.GetTier(); }

}  // namespace

bool SpellShownBefore(const DRAV::CSpell& a, const DRAV::CSpell& b) {
    return std::make_tuple(a.GetSchool(), Rank(b), std::cref(a.GetKey())) <
           std::make_tuple(b.GetSchool(), Rank(a), std::cref(b.GetKey()));
}

CUISpellListWindow::CUISpellListWindow(std::shared_ptr<CUIConfig> config, int id, int columnCount, int visibleRows,
                                       bool showSpells, bool showPowers, std::string caption, bool draggable)
    : CUIListElement(std::move(config), id, std::move(caption), CUIActionElement2::kSize, columnCount,
                     CUIActionElement2::kSize),
      m_columnCount(columnCount),
      m_showSpells(showSpells),
      m_showPowers(showPowers),
      m_draggable(draggable) {
    m_rect.bottom += CUIActionElement2::kSize * visibleRows;
}

void CUISpellListWindow::Fill(const DRAV::CActor& actor, std::int32_t baseId, bool usableOnly) {
    ClearRows();
    const DRAV::SpellList spells = actor.GetSpells();
    std::vector<std::pair<std::int32_t, const DRAV::CSpell*>> pairs;
    for (std::size_t i = 0; i < spells.size(); ++i)
        if (spells[i]) pairs.emplace_back(baseId + static_cast<std::int32_t>(i), spells[i]);
    std::sort(pairs.begin(), pairs.end(),
              [](const auto& a, const auto& b) { return SpellShownBefore(*a.second, *b.second); });

    int column = 0;
    for (const auto& [id, spell] : pairs) {
        if (usableOnly && !IsAbilityUsable(*spell, actor)) continue;
        if (spell->HasFlag(DRAV::SPELL_POWER) ? !m_showPowers : !m_showSpells) continue;
        auto cell = std::make_shared<CUIActionElement2>(m_config, id, true, false);
        if (m_draggable) cell->SetFlag(UIF_DRAGGABLE, true);
        cell->SetAbility(actor, *spell);
        AddCell(column, cell);
        if (++column >= m_columnCount) column = 0;
    }
}

}  // namespace DRAVUI
