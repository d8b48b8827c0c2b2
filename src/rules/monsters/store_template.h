#pragma once
// What a merchant deals in and the stock it starts with.

#include <map>

#include "common/data_file_reader.h"
#include "common/data_file_writer.h"
#include "rules/items/item_list.h"
#include "rules/kinds/item_kinds.h"

namespace DRAV {

class CModule;

// Every kind read maps to true; a kind the map lacks is not bought.
using StoreKindMap = std::map<ItemKind, bool>;

class CStoreTemplate {
public:
    // Reads one "store" element: a required "buy" element, then an optional item list.
    CStoreTemplate(DRAVCommon::CDataFileReader& reader, const CModule& module);

    // The "buy" element shared by the definition and the saved store.
    static StoreKindMap ReadBuy(DRAVCommon::CDataFileReader& reader);
    // Writes every kind of the map in kind order, whatever its flag.
    static void WriteBuy(DRAVCommon::CDataFileWriter& writer, const StoreKindMap& kinds);

    const StoreKindMap& GetKinds() const { return m_kinds; }
    const ItemList& GetItems() const { return m_items; }

private:
    StoreKindMap m_kinds;
    ItemList m_items;
};

}  // namespace DRAV
