#pragma once
// A grid of action slots showing items: a backpack (mode 0, draggable), items only
// shown (mode 1), a store's goods (mode 2, draggable while the party can pay) or
// items offered to a store (mode 3, draggable when the store buys them). Cell ids
// follow the list handed to Fill, whatever order the cells are shown in.

#include <cstdint>
#include <memory>
#include <string>

#include "ui/ui_list_element.h"
#include "world/item.h"

namespace DRAV {
class CActor;
}

namespace DRAVUI {

// Whether item `a` is shown before item `b`: lower kind; among weapons the lower
// weapon type, among armor the lower proficiency skill; the dearer; the lower key.
bool ItemShownBefore(const DRAV::CItem& a, const DRAV::CItem& b);

class CUIItemsListWindow : public CUIListElement {
public:
    enum Mode : std::int32_t { MODE_OWN = 0, MODE_SHOWN = 1, MODE_STORE_GOODS = 2, MODE_OFFERED = 3 };

    // `visibleRows` rows of 48 below the caption; a mode outside 0 to 3 fails on Fill
    // with code 4.
    CUIItemsListWindow(std::shared_ptr<CUIConfig> config, int id, std::string caption, int columnCount,
                       int visibleRows, std::int32_t mode);

    // Remakes every cell: item i gets id baseId + i. `viewer` (may be null) colours
    // usability; `actor` is the merchant in mode 3 and the party member whose game
    // holds the gold in mode 2.
    void Fill(const DRAV::ItemPtrList& items, std::int32_t baseId, const DRAV::CActor* viewer,
              const DRAV::CActor* actor);

    const DRAV::ItemPtrList& GetItems() const { return m_items; }
    std::int32_t GetBaseId() const { return m_baseId; }

private:
    int m_columnCount;
    std::int32_t m_baseId = 0;
    std::int32_t m_mode;
    DRAV::ItemPtrList m_items;
};

}  // namespace DRAVUI
