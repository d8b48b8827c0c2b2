#pragma once
// A merchant's running store: the kinds it deals in and its live stock. Private to
// one actor, or shared by name through the game's store map and saved with it.

#include <map>
#include <memory>
#include <string>

#include "common/data_file_reader.h"
#include "common/data_file_writer.h"
#include "rules/monsters/store_template.h"
#include "world/item.h"

namespace DRAV {

class CGame;
class CModule;

class CStore {
public:
    // Stocks the definition's items; they get new item ids from `game`, or id 0
    // without one. Code 1 for an item key the module has no template of.
    CStore(const CStoreTemplate& definition, const CModule& module, CGame* game);
    // An empty store dealing in `kinds`.
    explicit CStore(StoreKindMap kinds) : m_kinds(std::move(kinds)) {}

    bool BuysKind(ItemKind kind) const;
    // The stock the store offers: items of the kinds it deals in, never money.
    ItemPtrList GetTradeItems() const;
    // Takes `item` (this very object) out of the stock; code 1 when it is not there.
    std::shared_ptr<CItem> RemoveItem(const CItem& item);
    void AddItem(std::shared_ptr<CItem> item) { m_stock.push_back(std::move(item)); }

    const StoreKindMap& GetKinds() const { return m_kinds; }
    const ItemPtrList& GetStock() const { return m_stock; }

private:
    StoreKindMap m_kinds;
    ItemPtrList m_stock;
};

using StoreMap = std::map<std::string, std::shared_ptr<CStore>>;

// One running store from a saved "store" element; every item gets a new id. Code 1
// naming the file for a stock longer than a saved list holds (kSavedItemListLimit).
std::shared_ptr<CStore> ReadStores(DRAVCommon::CDataFileReader& reader, const CModule& module, CGame* game);
// Writes one running store as a "store" element.
void WriteStores(DRAVCommon::CDataFileWriter& writer, const CStore& store);

// Code 1 when the map has no store of that name.
std::shared_ptr<CStore> FindStore(const StoreMap& stores, const std::string& name);
// Makes a store from `definition` under `name` unless one is there already.
void AddStoreIfMissing(StoreMap& stores, const std::string& name, const CStoreTemplate& definition,
                       const CModule& module, CGame* game);

}  // namespace DRAV
