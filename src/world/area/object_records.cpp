#include "world/area/object_records.h"

#include "common/data_file_reader.h"
#include "common/data_file_writer.h"
#include "rules/module.h"
#include "rules/vocabulary/read_word.h"
#include "world/cell.h"
#include "world/game.h"
#include "world/item.h"
#include "world/object.h"

namespace DRAV {

namespace {

void WriteBool(DRAVCommon::CDataFileWriter& writer, bool value) { writer.WriteWord(value ? "true" : "false"); }

}  // namespace

void ObjectCell(const CObject& object, std::int32_t& column, std::int32_t& row) {
    column = static_cast<std::int32_t>(object.GetX() / kCellSize);
    row = static_cast<std::int32_t>(object.GetY() / kCellSize);
}

CObjectItemStack::CObjectItemStack(const CObject& object)
    : definitionKey(object.GetTemplate().GetKey()), items(object.GetItems()) {
    ObjectCell(object, column, row);
}

CObjectItemStack::CObjectItemStack(DRAVCommon::CDataFileReader& reader, CGame* game, const CModule& module) {
    reader.BeginBlock("stack");
    definitionKey = reader.ReadWordOrEmpty();
    column = reader.ReadInt();
    row = reader.ReadInt();
    while (reader.BeginGroup(3, true)) {
        RequireRoomInSavedList(reader, items.size());
        const std::string key = ReadKeyOrEmpty(reader, "an item key");
        const std::uint32_t count = ReadItemCount(reader);
        const std::uint32_t expiry = reader.ReadUInt();
        const ThingId id = game ? game->NewThingId(THING_ITEM) : ThingId{};
        items.push_back(module.CreateItem(key, static_cast<std::int32_t>(count), id, expiry));
    }
    reader.EndBlock();
}

void CObjectItemStack::Save(DRAVCommon::CDataFileWriter& writer) const {
    writer.BeginBlock("stack");
    writer.WriteWordOrZero(definitionKey);
    writer.WriteValue(column);
    writer.WriteValue(row);
    for (const std::shared_ptr<CItem>& item : items) {
        writer.BeginGroup(3);
        writer.WriteWord(item->GetTemplate().GetKey());
        writer.WriteValue(static_cast<std::uint32_t>(item->GetCount()));
        writer.WriteValue(item->GetExpiryTick());
    }
    writer.EndBlock();
}

CObjectLocksAndTraps::CObjectLocksAndTraps(const CObject& object) : definitionKey(object.GetTemplate().GetKey()) {
    ObjectCell(object, column, row);
    unlocked = object.GetLockValue() == 0 || object.IsUnlocked();
    if (const std::shared_ptr<CTrap>& trap = object.GetTrap()) {
        trapHidden = trap->IsHidden();
        trapReadyTick = trap->GetReadyTick();
    }
}

CObjectLocksAndTraps::CObjectLocksAndTraps(DRAVCommon::CDataFileReader& reader) {
    reader.BeginBlock("lockandtrap");
    definitionKey = reader.ReadWordOrEmpty();
    column = reader.ReadInt();
    row = reader.ReadInt();
    removed = reader.ReadBool();
    unlocked = reader.ReadBool();
    trapHidden = reader.ReadBool();
    trapReadyTick = reader.ReadUInt();
    reader.EndBlock();
}

void CObjectLocksAndTraps::Save(DRAVCommon::CDataFileWriter& writer) const {
    writer.BeginBlock("lockandtrap");
    writer.WriteWordOrZero(definitionKey);
    writer.WriteValue(column);
    writer.WriteValue(row);
    WriteBool(writer, removed);
    WriteBool(writer, unlocked);
    WriteBool(writer, trapHidden);
    writer.WriteValue(trapReadyTick);
    writer.EndBlock();
}

}  // namespace DRAV
