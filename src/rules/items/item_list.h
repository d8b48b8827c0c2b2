#pragma once
// Item lists: which items a monster carries or drops, a store stocks or a patch puts
// into an object. Named templates with counts, or items drawn at random when the
// list is read: every fitting template of some kinds within a value range ("auto"),
// or items and gold worth a given amount ("treasure").

#include <cstdint>
#include <string>
#include <vector>

#include "common/data_file_reader.h"
#include "rules/items/item_template.h"
#include "rules/kinds/item_kinds.h"

namespace DRAV {

struct ItemListEntry {
    std::string key;  // an item template key; looked up only when the item is made
    std::uint32_t count = 0;

    bool operator==(const ItemListEntry&) const = default;
};

using ItemList = std::vector<ItemListEntry>;

// The template key of money, which treasure pays its remainder in.
inline constexpr const char* kGoldItemKey = "gold";

// Reads an "items" element when one opens at the current token and appends its
// entries to `list`; otherwise reads nothing.
void ReadItemList(DRAVCommon::CDataFileReader& reader, const ItemTemplateMap& items, ItemList& list);
// The "auto" element: every normal template of the selected kinds (and skills) whose
// value lies in the range, with a fixed or a random count.
void ReadAutoItems(DRAVCommon::CDataFileReader& reader, const ItemTemplateMap& items, ItemList& list);
// The "treasure" element: one value, handed to GenerateTreasure.
void ReadTreasure(DRAVCommon::CDataFileReader& reader, const ItemTemplateMap& items, ItemList& list);

// Appends normal items and gold worth `value` in all. Items take roughly the first
// half; when draws keep finding no fitting template, the rest is paid in gold.
void GenerateTreasure(const ItemTemplateMap& items, ItemList& list, std::uint32_t value);

// A random item kind for a treasure item of about `target` gold, weighted by the
// treasure table row of that value. Code 2 above the table's last ceiling.
ItemKind PickTreasureKind(std::uint32_t target);

}  // namespace DRAV
