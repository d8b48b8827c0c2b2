#pragma once
// An item as it exists in the game: a stack of units of one item template, held
// by an actor, an object or a store.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "rules/items/item_attribute.h"
#include "rules/items/item_count.h"
#include "rules/magic/spell.h"
#include "world/thing.h"

namespace DRAV {

class CItemTemplate;

class CItem final : public CThing {
public:
    // The template is the module's and outlives the item.
    CItem(ThingId id, const CItemTemplate& itemTemplate, std::int32_t count, std::uint32_t expiryTick);

    // The thing that holds the item; null until a holder takes it.
    CThing* GetHolder() const { return m_holder; }
    void SetHolder(CThing* holder) { m_holder = holder; }

    const CItemTemplate& GetTemplate() const { return *m_template; }
    // The first attribute of the template of this type, or null.
    const CItemAttribute* GetAttribute(ItemAttributeType type) const;
    // For a wand, the target type of its spell; SPELL_TARGET_SELF (0) for every other
    // kind. Code 1 for a wand without a spell.
    SpellTargetType GetWandTargetType() const;

    // Units in the stack; for money, the amount of gold.
    std::int32_t GetCount() const { return m_count; }
    void SetCount(std::int32_t count) { m_count = count; }

    // 0 for a permanent item; otherwise the tick from which a summoned item is taken away.
    std::uint32_t GetExpiryTick() const { return m_expiryTick; }

private:
    CThing* m_holder = nullptr;
    const CItemTemplate* m_template;
    std::int32_t m_count;
    std::uint32_t m_expiryTick;
};

using ItemPtrList = std::vector<std::shared_ptr<CItem>>;

// The first item of the list with this id, or null.
CItem* FindItemById(const ItemPtrList& items, ThingId id);
// The first item of the list made from the template of this key (exact), or null.
CItem* FindItemByTemplateName(const ItemPtrList& items, const std::string& templateKey);
// The spell of a potion, scroll or wand; code 1 when it holds none.
const CSpell& RequireItemSpell(const CItem& item);
// Adds `item`'s count to a stack of its kind in `items` with room for all of it and
// says whether there was one. A summoned stack keeps its own expiry: merged into a
// permanent one, the whole stack would vanish with it.
bool MergeIntoStack(const ItemPtrList& items, const CItem& item);

}  // namespace DRAV
