#include "world/store.h"

#include <algorithm>

#include "common/exception.h"
#include "rules/items/item_count.h"
#include "rules/module.h"
#include "rules/vocabulary/read_word.h"
#include "world/game.h"

namespace DRAV {
namespace {

void StockItems(ItemPtrList& stock, const ItemList& entries, const CModule& module, CGame* game) {
    for (const ItemListEntry& entry : entries) {
        const ThingId id = game ? game->NewThingId(THING_ITEM) : ThingId{};
        stock.push_back(module.CreateItem(entry.key, static_cast<std::int32_t>(entry.count), id, 0));
    }
}

}  // namespace

CStore::CStore(const CStoreTemplate& definition, const CModule& module, CGame* game)
    : m_kinds(definition.GetKinds()) {
    StockItems(m_stock, definition.GetItems(), module, game);
}

bool CStore::BuysKind(ItemKind kind) const {
    const auto found = m_kinds.find(kind);
    return found != m_kinds.end() && found->second;
}

ItemPtrList CStore::GetTradeItems() const {
    ItemPtrList offered;
    for (const auto& item : m_stock) {
        const ItemKind kind = item->GetTemplate().GetKind();
        if (kind != ITEM_MONEY && BuysKind(kind)) offered.push_back(item);
    }
    return offered;
}

std::shared_ptr<CItem> CStore::RemoveItem(const CItem& item) {
    const auto found =
        std::find_if(m_stock.begin(), m_stock.end(), [&](const auto& held) { return held.get() == &item; });
    if (found == m_stock.end())
        throw CDRAVException(DRAV_ERR_BAD_DATA, "item \"" + item.GetTemplate().GetKey() + "\" is not in the store");
    std::shared_ptr<CItem> removed = *found;
    m_stock.erase(found);
    return removed;
}

std::shared_ptr<CStore> ReadStores(DRAVCommon::CDataFileReader& reader, const CModule& module, CGame* game) {
    reader.BeginBlock("store");
    auto store = std::make_shared<CStore>(CStoreTemplate::ReadBuy(reader));
    // Only what WriteStores writes: a stack per element, as many as a saved list
    // holds. A definition's random stock was drawn when the store was first made.
    ItemList entries;
    reader.BeginBlock("items");
    while (!reader.AtBlockEnd()) {
        RequireRoomInSavedList(reader, entries.size());
        reader.BeginBlock("item");
        ItemListEntry& entry = entries.emplace_back();
        entry.key = ReadKeyOrEmpty(reader, "an item key");
        entry.count = ReadItemCount(reader);
        reader.EndBlock();
    }
    reader.EndBlock();
    reader.EndBlock();
    ItemPtrList stock;
    StockItems(stock, entries, module, game);
    for (auto& item : stock) store->AddItem(std::move(item));
    return store;
}

void WriteStores(DRAVCommon::CDataFileWriter& writer, const CStore& store) {
    writer.BeginBlock("store");
    CStoreTemplate::WriteBuy(writer, store.GetKinds());
    writer.BeginBlock("items");
    for (const auto& item : store.GetStock()) {
        writer.BeginBlock("item");
        writer.WriteWordOrZero(item->GetTemplate().GetKey());
        writer.WriteValue(static_cast<std::uint32_t>(item->GetCount()));
        writer.EndBlock();
    }
    writer.EndBlock();
    writer.EndBlock();
}

std::shared_ptr<CStore> FindStore(const StoreMap& stores, const std::string& name) {
    const auto found = stores.find(name);
    if (found == stores.end()) throw CDRAVException(DRAV_ERR_BAD_DATA, "no store named \"" + name + "\"");
    return found->second;
}

void AddStoreIfMissing(StoreMap& stores, const std::string& name, const CStoreTemplate& definition,
                       const CModule& module, CGame* game) {
    if (stores.count(name)) return;
    stores.emplace(name, std::make_shared<CStore>(definition, module, game));
}

}  // namespace DRAV
