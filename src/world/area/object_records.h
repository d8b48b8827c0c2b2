#pragma once
// What the player changed about an area's objects, kept while the area is rebuilt
// from its file and written with saved games: the items objects hold, and their
// locks and traps. Objects are found again by definition key and cell.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "world/item.h"

namespace DRAVCommon {
class CDataFileReader;
class CDataFileWriter;
}  // namespace DRAVCommon

namespace DRAV {

class CGame;
class CModule;
class CObject;

// The cell of an object, its position / 2.5 truncated toward zero.
void ObjectCell(const CObject& object, std::int32_t& column, std::int32_t& row);

class CObjectItemStack {
public:
    // The present contents of `object` (the item pointers, not copies of the items).
    explicit CObjectItemStack(const CObject& object);
    // Reads one "stack" element; every item is made anew with an id from `game`.
    CObjectItemStack(DRAVCommon::CDataFileReader& reader, CGame* game, const CModule& module);

    void Save(DRAVCommon::CDataFileWriter& writer) const;

    // "pile" for the items on the ground.
    std::string definitionKey;
    std::int32_t column = 0;
    std::int32_t row = 0;
    ItemPtrList items;
};

class CObjectLocksAndTraps {
public:
    // The present lock and trap of `object`.
    explicit CObjectLocksAndTraps(const CObject& object);
    // Reads one "lockandtrap" element.
    explicit CObjectLocksAndTraps(DRAVCommon::CDataFileReader& reader);
    CObjectLocksAndTraps() = default;

    void Save(DRAVCommon::CDataFileWriter& writer) const;

    std::string definitionKey;
    std::int32_t column = 0;
    std::int32_t row = 0;
    // The object went for good (a one-time trap that sprang).
    bool removed = false;
    // True for an object without a lock.
    bool unlocked = true;
    // Not yet detected; false without a trap.
    bool trapHidden = false;
    // The tick before which the trap does not spring again; 0 without a trap.
    std::uint32_t trapReadyTick = 0;
};

using ItemStackList = std::vector<std::shared_ptr<CObjectItemStack>>;
using LocksAndTrapsList = std::vector<std::shared_ptr<CObjectLocksAndTraps>>;

}  // namespace DRAV
