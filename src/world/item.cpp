#include "world/item.h"

#include <algorithm>
#include <cstdint>

#include "common/exception.h"
#include "rules/items/item_template.h"

namespace DRAV {

CItem::CItem(ThingId id, const CItemTemplate& itemTemplate, std::int32_t count, std::uint32_t expiryTick)
    : CThing(id), m_template(&itemTemplate), m_count(count), m_expiryTick(expiryTick) {}

const CItemAttribute* CItem::GetAttribute(ItemAttributeType type) const { return m_template->GetAttribute(type); }

SpellTargetType CItem::GetWandTargetType() const {
    if (m_template->GetKind() != ITEM_WAND) return SPELL_TARGET_SELF;
    auto spell = m_template->GetAttributeOf<CItemAttributeSpell>();
    if (spell == nullptr)
        throw CDRAVException(DRAV_ERR_BAD_DATA, "wand \"" + m_template->GetKey() + "\" holds no spell");
    return spell->GetSpell().GetTargetType();
}

CItem* FindItemById(const ItemPtrList& items, ThingId id) {
    for (const auto& item : items)
        if (item && item->GetId() == id) return item.get();
    return nullptr;
}

bool MergeIntoStack(const ItemPtrList& items, const CItem& item) {
    const auto same = std::find_if(items.begin(), items.end(), [&](const auto& held) {
        return held->GetTemplate().GetKey() == item.GetTemplate().GetKey() &&
               held->GetExpiryTick() == item.GetExpiryTick() &&
               std::int64_t{held->GetCount()} + item.GetCount() <= kMostInStack;
    });
    if (same == items.end()) return false;
    (*same)->SetCount((*same)->GetCount() + item.GetCount());
    return true;
}

CItem* FindItemByTemplateName(const ItemPtrList& items, const std::string& templateKey) {
    for (const auto& item : items)
        if (item && item->GetTemplate().GetKey() == templateKey) return item.get();
    return nullptr;
}

}  // namespace DRAV
