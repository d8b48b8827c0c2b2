#include "ui/ui_items_list.h"

#include <algorithm>
#include <tuple>
#include <utility>

#include "common/exception.h"
#include "ui/ui_action_element.h"
#include "world/actor.h"
#include "world/game.h"

namespace DRAVUI {
namespace {

// The second sort key within a kind: weapon type for weapons, proficiency skill for
// armor. A definition without its attribute sorts after every one with it.
std::int32_t KindOrder(const DRAV::CItemTemplate& item) {
    if (item.GetKind() == DRAV::ITEM_WEAPON) {
        const auto* weapon = item.GetAttributeOf<DRAV::CItemAttributeWeapon>();
        return weapon ? weapon->GetWeaponType() : DRAV::kWeaponTypeCount;
    }
    if (item.GetKind() == DRAV::ITEM_ARMOR) {
        const auto* armor = item.GetAttributeOf<DRAV::CItemAttributeArmor>();
        return armor ? armor->GetArmorSkill() : DRAV::SKILL_NONE;
    }
    return 0;
}

}  // namespace

bool ItemShownBefore(const DRAV::CItem& a, const DRAV::CItem& b) {
    const DRAV::CItemTemplate& x = a.GetTemplate();
    const DRAV::CItemTemplate& y = b.GetTemplate();
    // Value descending: the dearer first.
    return std::make_tuple(x.GetKind(), KindOrder(x), y.GetValue(), std::cref(x.GetKey())) <
           std::make_tuple(y.GetKind(), KindOrder(y), x.GetValue(), std::cref(y.GetKey()));
}

CUIItemsListWindow::CUIItemsListWindow(std::shared_ptr<CUIConfig> config, int id, std::string caption,
                                       int columnCount, int visibleRows, std::int32_t mode)
    : CUIListElement(std::move(config), id, std::move(caption), CUIActionElement2::kSize, columnCount,
                     CUIActionElement2::kSize),
      m_columnCount(columnCount),
      m_mode(mode) {
    m_rect.bottom += CUIActionElement2::kSize * visibleRows;
}

void CUIItemsListWindow::Fill(const DRAV::ItemPtrList& items, std::int32_t baseId, const DRAV::CActor* viewer,
                              const DRAV::CActor* actor) {
    if (m_mode < MODE_OWN || m_mode > MODE_OFFERED)
        throw CDRAVException(DRAV_ERR_UNEXPECTED, "item list mode " + std::to_string(m_mode));
    ClearRows();
    m_items = items;
    m_baseId = baseId;
    std::vector<std::pair<std::int32_t, const DRAV::CItem*>> pairs;
    for (std::size_t i = 0; i < m_items.size(); ++i)
        pairs.emplace_back(baseId + static_cast<std::int32_t>(i), m_items[i].get());
    std::sort(pairs.begin(), pairs.end(),
              [](const auto& a, const auto& b) { return ItemShownBefore(*a.second, *b.second); });

    const std::int64_t gold = actor && actor->GetGame() ? actor->GetGame()->GetGold() : 0;
    int column = 0;
    for (const auto& [id, item] : pairs) {
        auto cell = std::make_shared<CUIActionElement2>(m_config, id, true, false);
        switch (m_mode) {
        case MODE_OWN:
        case MODE_SHOWN:
            cell->Reset();
            ElementInfo::DescribeThing(cell->GetInfo(), item, viewer);
            cell->UpdateActionHint();
            cell->SetFlag(UIF_DRAGGABLE, m_mode == MODE_OWN);
            break;
        case MODE_STORE_GOODS:
            cell->Reset();
            cell->SetFlag(UIF_DRAGGABLE, std::int64_t{item->GetTemplate().GetValue()} <= gold);
            ElementInfo::DescribeItemPrice(cell->GetInfo(), *item, item->GetTemplate().GetValue(), viewer);
            cell->UpdateActionHint();
            break;
        case MODE_OFFERED:
            // Without a merchant nothing is bought: the items are only shown.
            if (actor) {
                cell->SetItem(*item, *actor, viewer);
            } else {
                ElementInfo::DescribeThing(cell->GetInfo(), item, viewer);
                cell->UpdateActionHint();
            }
            break;
        }
        AddCell(column, cell);
        if (++column >= m_columnCount) column = 0;
    }
}

}  // namespace DRAVUI
