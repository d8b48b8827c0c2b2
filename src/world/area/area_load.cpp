// Reading an area file into the area: header, travel, skies and sounds, the grid
// and its tiles, objects, entries and exits.

#include <cstdint>
#include <string>
#include <vector>

#include "common/data_file.h"
#include "common/data_file_reader.h"
#include "common/exception.h"
#include "common/refusal_text.h"
#include "common/trace.h"
#include "rules/definitions/travel_hours.h"
#include "rules/items/item_template.h"
#include "rules/module.h"
#include "rules/monsters/actor_template.h"
#include "rules/vocabulary/read_word.h"
#include "world/area.h"
#include "world/cell.h"
#include "world/game.h"
#include "common/shown_text.h"
#include "script/script_limits.h"

namespace DRAV {

namespace {

[[noreturn]] void FailKey(const DRAVCommon::CDataFileReader& reader, const std::string& what) {
    throw CDRAVException(DRAV_ERR_BAD_DATA, reader.GetSourceName() + ": " + what);
}

// A patch's places are checked as the file is read, as its objects are: one off
// the grid would end the game only when the patch's tag is set, far into play.
void RequireOnGrid(const DRAVCommon::CDataFileReader& reader, const std::string& what, double x, double y,
                   std::uint32_t columns, std::uint32_t rows) {
    if (IsOnGrid(x, y, columns, rows)) return;
    FailKey(reader, what + " at (" + DRAVCommon::ExactNumber(x) + " " + DRAVCommon::ExactNumber(y) + ") lies off the grid");
}

void RequireObjectOnGrid(const DRAVCommon::CDataFileReader& reader, const CPatchActionObject& element,
                         std::uint32_t columns, std::uint32_t rows) {
    RequireOnGrid(reader, "object \"" + (element.objectName.empty() ? element.templateName : element.objectName) + "\"",
                  element.x, element.y, columns, rows);
}

void RequireCellOnGrid(const DRAVCommon::CDataFileReader& reader, const std::string& what, std::uint32_t column,
                       std::uint32_t row, std::uint32_t columns, std::uint32_t rows) {
    if (column < columns && row < rows) return;
    FailKey(reader, what + " at cell (" + std::to_string(column) + " " + std::to_string(row) + ") lies off the grid");
}

void RequirePatchOnGrid(const DRAVCommon::CDataFileReader& reader, const CPatchAction& action, std::uint32_t columns,
                        std::uint32_t rows) {
    switch (action.GetType()) {
        case PATCH_OBJECT:
            RequireObjectOnGrid(reader, static_cast<const CPatchActionObject&>(action), columns, rows);
            break;
        case PATCH_ENCOUNTER: {
            const auto& encounter = static_cast<const CPatchActionEncounter&>(action);
            RequireCellOnGrid(reader, "encounter \"" + encounter.name + "\"", encounter.column, encounter.row, columns,
                              rows);
            break;
        }
        case PATCH_TILES:
            for (const auto& tile : static_cast<const CPatchActionTiles&>(action).tiles)
                RequireCellOnGrid(reader, "patch tile \"" + tile->tileName + "\"", tile->column, tile->row, columns,
                                  rows);
            break;
        case PATCH_EFFECT: {
            const auto& effect = static_cast<const CPatchActionEffect&>(action);
            RequireOnGrid(reader, "effect \"" + effect.effectName + "\"", effect.x, effect.y, columns, rows);
            break;
        }
        default: break;
    }
}

// Every stage's monsters, checked as the file is read: a later stage is placed in
// the middle of play, far from the file that names a monster no one can make.
void RequireEncounterMonsters(const DRAVCommon::CDataFileReader& reader, const CPatchActionEncounter& encounter,
                              const CModule& module) {
    for (const CEncounterStage& stage : encounter.stages) {
        for (const CEncounterMonster& monster : stage.monsters) {
            const CActorTemplate* definition = module.FindMonsterTemplate(monster.key);
            if (!definition)
                FailKey(reader, "encounter \"" + encounter.name + "\": no monster \"" + monster.key + "\" is defined");
            try {
                definition->Validate();
            } catch (const CDRAVException& error) {
                FailKey(reader, "encounter \"" + encounter.name + "\": " + error.GetMessage());
            }
        }
    }
}

}  // namespace

void CArea::LoadAreaFile(const std::string& fromArea, const std::string& areaName, const CModule& module,
                         std::int32_t loadType, bool checkRespawn, bool* respawned) {
    if (!module.GetPackage()) throw CDRAVException(DRAV_ERR_BAD_DATA, "no data source to read area " + areaName);
    DRAVCommon::CDataFileReader reader(*module.GetPackage(), DRAVCommon::DFK_CHAPTER, DRAVCommon::DFS_NONE,
                                       areaName + ".drav");
    ReadAreaFile(reader, fromArea, areaName, module, loadType, checkRespawn, respawned);
}

void CArea::ReadAreaFile(DRAVCommon::CDataFileReader& reader, const std::string& fromArea,
                         const std::string& areaName, const CModule& module, std::int32_t loadType,
                         bool checkRespawn, bool* respawned) {
    if (loadType < AREA_LOAD_FRESH || loadType > AREA_LOAD_SAVED_OTHER)
        throw CDRAVException(DRAV_ERR_OUT_OF_RANGE, "area load type " + std::to_string(loadType));
    m_name = areaName;

    reader.BeginBlock("area");
    // Also the place the people journal names, which a save holds.
    m_displayName = reader.ReadQuoted(kExpandedTextLimit, "a display name");
    if (const std::string fault = DRAVCommon::ShownTextFault(m_displayName); !fault.empty())
        reader.Fail(DRAV_ERR_BAD_DATA, "a display name " + fault);
    m_outdoors = reader.ReadBool();
    if (reader.IsBlock("world")) {
        reader.BeginBlock("world");
        m_worldMapName = reader.ReadWordOrEmpty();
        m_worldMapLocation = reader.ReadWordOrEmpty();
        reader.EndBlock();
    }
    m_journeyHours = 0;
    if (reader.IsBlock("travel")) ReadTravel(fromArea, reader);

    bool respawn = false;
    if (checkRespawn && m_game) {
        const std::uint32_t elapsed = m_leaveTick == 0 ? 0u : m_game->GetTick() - m_leaveTick;
        respawn = elapsed / 30.0 >= kAreaRespawnTicks / 30.0;
    }
    if (respawned) *respawned = respawn;

    const bool keepsAmbience = loadType == AREA_LOAD_REACTIVATE;
    while (reader.IsBlock("sky")) {
        if (keepsAmbience) reader.SkipBlock("sky");
        else m_skies.push_back(std::make_shared<CAreaSkyInfo>(reader));
    }
    if (reader.IsBlock("sounds")) {
        if (keepsAmbience) reader.SkipBlock("sounds");
        else LoadAreaSounds(reader, m_sounds);
    }

    const bool inactive = loadType == AREA_LOAD_SAVED_OTHER;
    if (inactive) {
        reader.SkipBlock("rows");
        reader.SkipBlock("objects");
    } else {
        const bool fresh = loadType == AREA_LOAD_FRESH;
        ReadRows(reader, module, fresh);
        ReadObjects(reader, module, fresh);
    }
    ReadEncounters(reader, module, loadType, respawn);
    if (inactive) {
        reader.SkipBlock("entries");
        reader.SkipBlock("exits");
        if (reader.IsBlock("patches")) reader.SkipBlock("patches");
    } else {
        ReadEntries(reader);
        ReadExits(reader, module);
        ReadPatches(reader, module);
        LinkPatches(module, loadType, respawn);
    }
    reader.EndBlock();
    DRAV_TRACE(1, "Area: %s  Load type: %d  Objects: %d\n", m_name.c_str(), static_cast<int>(loadType),
               static_cast<int>(m_objects.size()));
}

void CArea::ReadTravel(const std::string& fromArea, DRAVCommon::CDataFileReader& reader) {
    if (fromArea.empty() || fromArea == m_name) {
        reader.SkipBlock("travel");
        return;
    }
    const std::uint32_t hours = CTravelHours(reader).From(fromArea);
    if (hours == 0 || !m_game) return;
    m_journeyHours = hours;
    // Told only on arrival: a journey the calendar has no room for fails here,
    // before the area is built.
    m_game->PassTime(std::uint64_t{hours} * kTicksPerTravelHour, "The journey");
}

std::string CArea::GetJourneyText() const {
    if (m_journeyHours == 0) return std::string();
    const auto count = [](std::uint32_t n, const char* unit) {
        return std::to_string(n) + " " + unit + (n == 1 ? "" : "s");
    };
    std::string duration;
    if (m_journeyHours <= 24) {
        duration = count(m_journeyHours, "hour");
    } else {
        duration = count(m_journeyHours / 24, "day");
        if (m_journeyHours % 24 != 0) duration += " and " + count(m_journeyHours % 24, "hour");
    }
    // A place called "The ..." is "the ..." inside a sentence.
    std::string place = m_displayName.empty() ? m_name : m_displayName;
    if (place.rfind("The ", 0) == 0) place[0] = 't';
    return "Your journey to " + place + " takes " + duration + ".";
}

void CArea::ReadRows(DRAVCommon::CDataFileReader& reader, const CModule& module, bool fresh) {
    reader.BeginBlock("rows");
    if (!reader.BeginGroup(2, false)) reader.Fail(DRAV_ERR_BAD_DATA, "expected the grid size ( columns rows )");
    const std::uint32_t columns = reader.ReadUInt();
    const std::uint32_t rows = reader.ReadUInt();
    // A cell's tile id holds row x 1000 + column in 24 bits.
    if (columns > kMaxAreaColumns)
        FailKey(reader, "rows: a grid of " + std::to_string(columns) + " columns is wider than " +
                            std::to_string(kMaxAreaColumns));
    if (columns != 0 && rows != 0 && (std::uint64_t{rows} - 1) * kMaxAreaColumns + (columns - 1) > kMaxThingSerial)
        FailKey(reader, "rows: a grid of " + std::to_string(rows) + " rows is larger than tile ids can number");

    // The cells are read before the grid is made, so a size the file does not
    // hold fails without building a grid that size.
    std::vector<CellTile> cells;
    for (std::uint32_t row = 0; row < rows; ++row) {
        reader.BeginBlock("row");
        for (std::uint32_t column = 0; column < columns; ++column) {
            if (reader.IsBlock("cell")) {
                reader.BeginBlock("cell");
                while (!reader.AtBlockEnd()) {
                    if (!reader.BeginGroup(2, false)) reader.Fail(DRAV_ERR_BAD_DATA, "expected ( tile facing ) in a cell");
                    cells.push_back(ReadCellTile(reader, module, column, row));
                }
                reader.EndBlock();
            } else if (reader.BeginGroup(2, false)) {
                cells.push_back(ReadCellTile(reader, module, column, row));
            } else {
                if (!reader.IsWord("0")) reader.Fail(DRAV_ERR_BAD_DATA, "expected a cell: ( tile facing ), 0 or <cell>");
                cells.push_back({nullptr, DIR_NONE, column, row});
                reader.Advance();
            }
        }
        reader.EndBlock();
    }

    SetGridSize(columns, rows);
    for (const CellTile& cell : cells) {
        if (cell.definition) PlaceCellTile(reader, cell, fresh);
        else if (!GetTile(cell.column, cell.row)->GetMaster())
            FailKey(reader, "rows: cell (" + std::to_string(cell.column) + " " + std::to_string(cell.row) +
                                ") is 0 but no tile covers it");
    }
    reader.EndBlock();
}

CArea::CellTile CArea::ReadCellTile(DRAVCommon::CDataFileReader& reader, const CModule& module,
                                    std::uint32_t column, std::uint32_t row) const {
    const std::string key = ReadKeyOrEmpty(reader, "a tile key");
    const Direction facing = ReadFacing(reader);
    const CTileTemplate* definition = module.FindTileTemplate(key);
    if (!definition) FailKey(reader, "tile \"" + key + "\" is not defined");
    return {definition, facing, column, row};
}

void CArea::PlaceCellTile(const DRAVCommon::CDataFileReader& reader, const CellTile& tile, bool fresh) {
    const CTileTemplate& definition = *tile.definition;
    std::shared_ptr<CMasterTile> master;
    bool startsOpen = false;
    if (definition.GetKind() == TILE_DOOR) {
        auto door = std::make_shared<CMasterTileDoor>(definition, this, tile.column, tile.row, tile.facing);
        if (fresh && definition.HasFlag(TILE_FLAG_OPEN)) {
            door->SetOpen(true);
            startsOpen = true;
        }
        master = std::move(door);
    } else {
        master = std::make_shared<CMasterTile>(definition, this, tile.column, tile.row, tile.facing);
    }
    // The master turns the footprint by its facing.
    const std::uint32_t width = master->GetWidth();
    const std::uint32_t depth = master->GetDepth();
    if (std::uint64_t{tile.column} + width > m_columns || std::uint64_t{tile.row} + depth > m_rows)
        FailKey(reader, "tile \"" + definition.GetKey() + "\" at (" + std::to_string(tile.column) + " " +
                            std::to_string(tile.row) + ") reaches past the grid");
    m_masterTiles.push_back(master);

    // Walls and doors always take the cell; anything else only an uncovered one.
    const bool overrides = definition.GetKind() == TILE_SOLID || definition.GetKind() == TILE_DOOR;
    for (std::uint32_t x = tile.column; x < tile.column + width; ++x) {
        for (std::uint32_t y = tile.row; y < tile.row + depth; ++y) {
            CTile& cell = *GetTile(x, y);
            if (cell.GetMaster() && !overrides) continue;
            // The cell's old door is gone; its record would point at no door.
            if (cell.IsDoor()) RemoveOpenDoor(cell);
            cell.SetMaster(master.get());
            if (startsOpen) AddOpenDoor(cell);
        }
    }
}

void CArea::ReadObjects(DRAVCommon::CDataFileReader& reader, const CModule& module, bool fresh) {
    if (!reader.IsBlock("objects")) return;
    reader.BeginBlock("objects");
    while (!reader.AtBlockEnd()) {
        const CPatchActionObject element(reader, module);
        RequireObjectOnGrid(reader, element, m_columns, m_rows);
        PlaceObject(element, module, fresh);
    }
    reader.EndBlock();
}

void CArea::PlaceObject(const CPatchActionObject& element, const CModule& module, bool fresh) {
    const CObjectTemplate* definition = module.FindObjectTemplate(element.templateName);
    if (!definition)
        throw CDRAVException(DRAV_ERR_BAD_DATA,
                             m_name + ".drav: object template \"" + element.templateName + "\" is not defined");
    // Piles come back from the kept or saved state.
    if (definition->GetKey() == kPileTemplate && !fresh) return;

    auto object = std::make_shared<CObject>(NewThingId(THING_OBJECT), this, element.objectName, *definition);
    object->SetPosition(element.x, element.y);
    object->SetFacing(element.facing);
    object->SetLockValue(element.lockValue);
    object->SetUnlocked(element.lockValue == 0);
    if (fresh) {
        for (const ItemListEntry& entry : element.items) {
            const CItemTemplate* itemTemplate = FindItemTemplate(module.GetItemTemplates(), entry.key);
            if (!itemTemplate)
                throw CDRAVException(DRAV_ERR_BAD_DATA,
                                     m_name + ".drav: object item \"" + entry.key + "\" is not defined");
            object->AddItem(std::make_shared<CItem>(NewThingId(THING_ITEM), *itemTemplate,
                                                    static_cast<std::int32_t>(entry.count), 0u));
        }
    }
    m_objects.push_back(std::move(object));
}

void CArea::ReadEncounters(DRAVCommon::CDataFileReader& reader, const CModule& module, std::int32_t loadType,
                           bool respawned) {
    if (!reader.IsBlock("encounters")) return;
    reader.BeginBlock("encounters");
    while (!reader.AtBlockEnd()) {
        CPatchActionEncounter encounter(reader);
        RequireEncounterMonsters(reader, encounter, module);
        // An inactive area of a saved game keeps no records: its actors carry the state.
        if (loadType == AREA_LOAD_SAVED_OTHER) continue;
        m_encounters.push_back(encounter);
        LoadOneEncounter(m_encounters.back(), module, loadType, respawned);
    }
    reader.EndBlock();
}

void CArea::RequireOnGrid(const DRAVCommon::CDataFileReader& reader, const std::string& what, std::uint32_t column,
                          std::uint32_t row) const {
    if (column >= m_columns || row >= m_rows)
        FailKey(reader, what + " at (" + std::to_string(column) + " " + std::to_string(row) + ") lies off the grid");
}

void CArea::ReadEntries(DRAVCommon::CDataFileReader& reader) {
    reader.BeginBlock("entries");
    while (!reader.AtBlockEnd()) {
        auto entry = std::make_shared<CAreaEntry>(reader);
        RequireOnGrid(reader, "entry \"" + entry->name + "\"", entry->column, entry->row);
        m_entries.push_back(std::move(entry));
    }
    reader.EndBlock();
}

void CArea::ReadExits(DRAVCommon::CDataFileReader& reader, const CModule& module) {
    reader.BeginBlock("exits");
    while (!reader.AtBlockEnd()) {
        auto exit = std::make_shared<CAreaExit>(reader);
        RequireOnGrid(reader, "exit \"" + exit->name + "\"", exit->column, exit->row);
        m_exits.push_back(exit);
        const CObjectTemplate* definition = module.FindObjectTemplate(exit->objectTemplate);
        if (!definition)
            FailKey(reader, "exit \"" + exit->name + "\": object template \"" + exit->objectTemplate +
                                "\" is not defined");
        auto marker = std::make_shared<CObject>(NewThingId(THING_OBJECT), this, std::string(), *definition);
        marker->SetPosition(exit->x, exit->y);
        marker->SetFacing(exit->facing);
        marker->SetLockValue(0);
        marker->SetUnlocked(true);
        marker->SetExit(exit->name, exit->text);
        m_objects.push_back(std::move(marker));
    }
    reader.EndBlock();
}

void CArea::ReadPatches(DRAVCommon::CDataFileReader& reader, const CModule& module) {
    if (!reader.IsBlock("patches")) return;
    reader.BeginBlock("patches");
    while (!reader.AtBlockEnd()) {
        auto patch = std::make_shared<CPatch>(reader, module);
        for (const std::shared_ptr<CPatchAction>& action : patch->GetActions()) {
            RequirePatchOnGrid(reader, *action, m_columns, m_rows);
            if (action->GetType() == PATCH_ENCOUNTER)
                RequireEncounterMonsters(reader, static_cast<const CPatchActionEncounter&>(*action), module);
        }
        m_patches.push_back(std::move(patch));
    }
    reader.EndBlock();
}

}  // namespace DRAV
