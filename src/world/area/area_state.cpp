// An area in a saved game: only what differs from its file (fired patches, open
// doors, object contents, locks and traps, actors, explored cells), laid over the
// area rebuilt from the file when the game is loaded.

#include <algorithm>
#include <cstdint>
#include <set>
#include <string>
#include <utility>

#include "common/data_file_reader.h"
#include "common/data_file_writer.h"
#include "common/exception.h"
#include "common/refusal_text.h"
#include "rules/module.h"
#include "world/cell.h"
#include "world/area.h"
#include "world/game.h"

namespace DRAV {

void CArea::SaveState(DRAVCommon::CDataFileWriter& writer, const CModule& module) {
    writer.BeginBlock("area");
    writer.WriteQuoted(m_name);
    writer.WriteValue(m_leaveTick);
    writer.BeginBlock("patches");
    for (const std::string& name : m_firedPatches) writer.WriteWord(name);
    writer.EndBlock();
    writer.BeginBlock("doors");
    for (const std::shared_ptr<CAreaOpenDoor>& door : m_openDoors) {
        writer.WriteValue(door->column);
        writer.WriteValue(door->row);
    }
    writer.EndBlock();
    CaptureItemStacks();
    SaveItemStacks(writer);
    CaptureLocksAndTraps();
    SaveLocksAndTraps(writer);
    writer.BeginBlock("actors");
    for (const std::shared_ptr<CActor>& actor : m_actors) actor->Save(writer, module);
    writer.EndBlock();
    SaveTileTracker(writer);
    writer.EndBlock();
}

void CArea::SaveItemStacks(DRAVCommon::CDataFileWriter& writer) const {
    writer.BeginBlock("itemstacks");
    for (const std::shared_ptr<CObjectItemStack>& stack : m_itemStacks) stack->Save(writer);
    writer.EndBlock();
}

void CArea::SaveLocksAndTraps(DRAVCommon::CDataFileWriter& writer) const {
    writer.BeginBlock("lockandtraplist");
    for (const std::shared_ptr<CObjectLocksAndTraps>& record : m_locksAndTraps) record->Save(writer);
    writer.EndBlock();
}

void CArea::SaveTileTracker(DRAVCommon::CDataFileWriter& writer) const {
    writer.BeginBlock("tiletracker");
    writer.WriteValue(static_cast<std::uint32_t>(m_exploredCells.words.size()));
    for (const std::uint32_t word : m_exploredCells.words) writer.WriteValue(word);
    writer.EndBlock();
}

void CArea::LoadState(DRAVCommon::CDataFileReader& reader, CGame& game, const CModule& module,
                      const std::string& currentArea) {
    m_game = &game;
    reader.BeginBlock("area");
    const std::string name = reader.ReadQuoted();
    const std::int32_t loadType = name == currentArea ? AREA_LOAD_SAVED_CURRENT : AREA_LOAD_SAVED_OTHER;
    const bool current = loadType == AREA_LOAD_SAVED_CURRENT;
    m_leaveTick = reader.ReadUInt();
    reader.BeginBlock("patches");
    // A patch without a name is written "0", as in the area file.
    while (!reader.AtBlockEnd()) m_firedPatches.push_back(reader.ReadWordOrEmpty());
    reader.EndBlock();

    LoadAreaFile("", name, module, loadType, false);
    // A fired patch the area file lacks was never applied, and the patch the save
    // meant is fired again: refused by its own name. Only the current area has read
    // its patches.
    const auto known = [this](const std::string& fired) {
        return std::any_of(m_patches.begin(), m_patches.end(),
                           [&](const auto& patch) { return patch->GetName() == fired; });
    };
    for (const std::string& fired : m_firedPatches)
        if (current && !known(fired))
            reader.Fail(DRAV_ERR_BAD_DATA, "area \"" + name + "\" has no patch \"" + fired + "\"");

    // Play keeps one open door a cell (AddOpenDoor) and one pile a cell, since what
    // falls onto a pile joins it: a second would reopen a door after one closing, or
    // pile up more items than a save keeps together.
    std::set<std::pair<std::int64_t, std::int64_t>> cells;
    const auto once = [&](const char* what, std::int64_t column, std::int64_t row) {
        if (!cells.emplace(column, row).second)
            reader.Fail(DRAV_ERR_BAD_DATA, std::string("a second ") + what + " at (" + std::to_string(column) + " " +
                                               std::to_string(row) + ")");
    };
    reader.BeginBlock("doors");
    while (!reader.AtBlockEnd()) {
        auto door = std::make_shared<CAreaOpenDoor>();
        door->column = reader.ReadUInt();
        door->row = reader.ReadUInt();
        once("open door", door->column, door->row);
        m_openDoors.push_back(std::move(door));
    }
    reader.EndBlock();

    cells.clear();
    reader.BeginBlock("itemstacks");
    while (!reader.AtBlockEnd()) {
        auto stack = std::make_shared<CObjectItemStack>(reader, &game, module);
        if (stack->definitionKey == kPileTemplate) once("pile", stack->column, stack->row);
        m_itemStacks.push_back(std::move(stack));
    }
    reader.EndBlock();

    reader.BeginBlock("lockandtraplist");
    while (!reader.AtBlockEnd()) m_locksAndTraps.push_back(std::make_shared<CObjectLocksAndTraps>(reader));
    reader.EndBlock();

    reader.BeginBlock("actors");
    while (reader.IsBlock("actor")) {
        auto actor = std::make_shared<CActor>(reader, game, module);
        actor->SetArea(this);
        AddActor(std::move(actor));
    }
    reader.EndBlock();

    LoadTileTracker(reader, module.GetPlaceFile(name));
    reader.EndBlock();
    RequireSavedPlacesOnGrid(module);
    if (!current) return;
    ApplyOpenDoors(false);
    ApplyItemStacks(module);
    ApplyLocksAndTraps();
}

void CArea::RequireSavedPlacesOnGrid(const CModule& module) const {
    const CPlaceFile& file = module.GetPlaceFile(m_name);
    const auto fail = [this](const std::string& what, const std::string& x, const std::string& y) {
        throw CDRAVException(DRAV_ERR_BAD_DATA,
                             what + " at (" + x + " " + y + ") lies off the grid of area \"" + m_name + "\"");
    };
    const auto cell = [&](const std::string& what, std::int64_t column, std::int64_t row) {
        if (column < 0 || row < 0 || column >= file.columns || row >= file.rows)
            fail(what, std::to_string(column), std::to_string(row));
    };
    for (const std::shared_ptr<CActor>& actor : m_actors)
        if (!IsOnGrid(actor->GetX(), actor->GetY(), file.columns, file.rows))
            fail("actor \"" + actor->GetName() + "\"", DRAVCommon::ExactNumber(actor->GetX()),
                 DRAVCommon::ExactNumber(actor->GetY()));
    for (const std::shared_ptr<CAreaOpenDoor>& door : m_openDoors) cell("an open door", door->column, door->row);
    for (const std::shared_ptr<CObjectItemStack>& stack : m_itemStacks)
        cell("the items of \"" + stack->definitionKey + "\"", stack->column, stack->row);
    for (const std::shared_ptr<CObjectLocksAndTraps>& record : m_locksAndTraps)
        cell("the lock of \"" + record->definitionKey + "\"", record->column, record->row);
}

void CArea::LoadTileTracker(DRAVCommon::CDataFileReader& reader, const CPlaceFile& file) {
    reader.BeginBlock("tiletracker");
    const std::uint32_t count = reader.ReadUInt();
    // A save of a larger grid (the module's area has shrunk since) loads, but keeps
    // no more words than the grid takes, nor carries them into the next save.
    const std::size_t most = CCellBits::WordsFor(file.columns, file.rows);
    std::vector<std::uint32_t> words;
    // Read one by one: a count the data does not hold fails at its end, not in an allocation.
    for (std::uint32_t i = 0; i < count; ++i) {
        const std::uint32_t word = reader.ReadUInt();
        if (words.size() < most) words.push_back(word);
    }
    reader.EndBlock();
    // A grid already built keeps its own size, so the bits are never read past its
    // end; an inactive area's grid is sized, and the words fitted, when it is rebuilt.
    if (m_exploredCells.columns != 0 && m_exploredCells.rows != 0) words.resize(m_exploredCells.words.size(), 0u);
    m_exploredCells.words = std::move(words);
}

}  // namespace DRAV
