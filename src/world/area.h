#pragma once
// One area of the world (a map level): the grid of cells with the tiles placed
// over them, the objects, the actors standing in it, its entries and exits and
// its patches. Built from its area file when the party first comes, kept in a
// reduced inactive form while the party is away, and rebuilt when it returns.

#include <cstdint>
#include <list>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "world/actor.h"
#include "world/area/area_records.h"
#include "world/area/cell_bits.h"
#include "world/area/object_records.h"
#include "world/area/patch.h"
#include "world/effect.h"
#include "world/master_tile.h"
#include "world/object.h"
#include "world/tile.h"

namespace DRAVCommon {
class CDataFileReader;
class CDataFileWriter;
}  // namespace DRAVCommon

namespace DRAV {

class CGame;
class CModule;
struct CPlaceFile;
class CPartyView;
class CWaypointCalculator;

using ObjectList = std::vector<std::shared_ptr<CObject>>;
using TileGrid = std::vector<std::shared_ptr<CTile>>;
using MasterTileList = std::vector<std::shared_ptr<CMasterTile>>;
using FiredPatchList = std::list<std::string>;
using EncounterList = std::vector<CPatchActionEncounter>;

// How much of the area file a build reads (the rest comes from a kept or saved state).
enum AreaLoadType : std::int32_t {
    AREA_LOAD_FRESH = 0,          // first visit: everything from the file
    AREA_LOAD_REACTIVATE = 1,     // a cached inactive area revisited; sky and sounds kept
    AREA_LOAD_SAVED_CURRENT = 2,  // the area a saved game stands in
    AREA_LOAD_SAVED_OTHER = 3,    // another visited area of a saved game: stays inactive
};

// Ticks after the party left at which a revisit respawns the area (3,240 game seconds).
inline constexpr std::uint32_t kAreaRespawnTicks = 97200;
// The object definition of the items lying on the ground.
inline constexpr const char* kPileTemplate = "pile";
// Tile ids number a cell row x 1000 + column, so no grid is wider than this.
inline constexpr std::uint32_t kMaxAreaColumns = 1000;

class CArea {
public:
    // An empty area of `game` (may be null: things then get id 0).
    explicit CArea(CGame* game = nullptr);
    ~CArea();
    CArea(const CArea&) = delete;
    CArea& operator=(const CArea&) = delete;

    // ---- loading (area_load.cpp) ----
    // Reads the area file `areaName`.drav from the module's data source. `fromArea` is
    // the area the party comes from (empty: none). With `checkRespawn` the area
    // respawns when the party has been away long enough; the answer goes to
    // `respawned` when given. Any failure is a CDRAVException naming the file, and
    // the half-built area is to be dropped.
    void LoadAreaFile(const std::string& fromArea, const std::string& areaName, const CModule& module,
                      std::int32_t loadType, bool checkRespawn, bool* respawned = nullptr);
    // The same from a reader already open on the file's text.
    void ReadAreaFile(DRAVCommon::CDataFileReader& reader, const std::string& fromArea, const std::string& areaName,
                      const CModule& module, std::int32_t loadType, bool checkRespawn, bool* respawned = nullptr);

    // Places an object as the area file or a patch describes it; items are made only
    // when `fresh`, and a pile only then. Code 1 when the template is not defined.
    void PlaceObject(const CPatchActionObject& element, const CModule& module, bool fresh);

    // Sizes the grid, keeping the cells inside both sizes; new cells are uncovered.
    void SetGridSize(std::uint32_t columns, std::uint32_t rows);
    // Drops the masters no cell points at any more, keeping the others in order.
    void PurgeUnusedMasters();
    // Zeroes the seen cells, before the visibility pass recomputes them.
    void ClearVisibilityBits();

    // ---- the area's state ----
    const std::string& GetName() const { return m_name; }
    const std::string& GetDisplayName() const { return m_displayName; }
    bool IsOutdoors() const { return m_outdoors; }
    const std::string& GetWorldMapName() const { return m_worldMapName; }
    const std::string& GetWorldMapLocation() const { return m_worldMapLocation; }
    CGame* GetGame() const { return m_game; }
    // The game's tick when the party last left; 0 until then.
    std::uint32_t GetLeaveTick() const { return m_leaveTick; }
    // The log's line for the journey from the area the party came from, naming the
    // place and the hours the last reading of the area file passed for it: empty when
    // it took no time, or the party came from none or from here.
    std::string GetJourneyText() const;

    std::uint32_t GetColumns() const { return m_columns; }
    std::uint32_t GetRows() const { return m_rows; }
    // The cell at (column, row); null outside the grid.
    CTile* GetTile(std::uint32_t column, std::uint32_t row) const;
    // The cell under ground point (x, y); null off the grid.
    CTile* GetTileUnder(double x, double y) const;
    const MasterTileList& GetMasterTiles() const { return m_masterTiles; }

    // The actors placed in the area, living and dead. The list changes only through
    // the area, which keeps its grid of actors filed as it does.
    const ActorList& GetActors() const { return m_actors; }
    // The same actors by where they stand, for questions about who is near a point.
    const CActorGrid& GetActorGrid() const { return m_actorGrid; }
    // The actor joins as the last of the list.
    void AddActor(std::shared_ptr<CActor> actor);
    // Code 2 when the actor is not in the area.
    std::shared_ptr<CActor> RemoveActor(const CActor& actor);
    // The list as it was before a change that was given up, filed anew.
    void RestoreActors(ActorList actors);
    CActor* FindActor(ThingId id) const;

    // Missiles and launched spells in flight, in launch order; a save keeps those of
    // the party's area (world/saved_flight.h), the only area whose effects fly. Adding
    // and removing one costs the same however many fly: a script or a fight may
    // make thousands in a tick, and the effects phase removes each of them.
    const EffectList& GetEffects() const { return m_effects; }
    // Nothing when the effect is in the area already.
    void AddEffect(std::shared_ptr<CEffect> effect);
    // Nothing when the effect is not in the area.
    void RemoveEffect(const CEffect& effect);

    const ObjectList& GetObjects() const { return m_objects; }
    CObject* FindObject(ThingId id) const;
    // The first object of that template standing on cell (column, row), or null.
    CObject* FindObjectAt(const std::string& templateName, std::uint32_t column, std::uint32_t row) const;
    // Code 2 when the object is not in the area.
    void RemoveObject(const CObject& object);

    const AreaEntryList& GetEntries() const { return m_entries; }
    const AreaExitList& GetExits() const { return m_exits; }
    const AreaSkyList& GetSkies() const { return m_skies; }
    const AreaSoundList& GetSounds() const { return m_sounds; }
    // Kept while the area is inactive and with saved games.
    AreaOpenDoorList& GetOpenDoors() { return m_openDoors; }
    const AreaOpenDoorList& GetOpenDoors() const { return m_openDoors; }
    FiredPatchList& GetFiredPatches() { return m_firedPatches; }
    PatchList& GetPatches() { return m_patches; }
    // Kept while the area is inactive, until the party returns.
    const ItemStackList& GetItemStacks() const { return m_itemStacks; }
    // Records of objects gone for good stay for the whole game.
    const LocksAndTrapsList& GetLocksAndTraps() const { return m_locksAndTraps; }
    const EncounterList& GetEncounters() const { return m_encounters; }

    CCellBits& GetExploredCells() { return m_exploredCells; }
    const CCellBits& GetExploredCells() const { return m_exploredCells; }
    CCellBits& GetSeenCells() { return m_seenCells; }
    const CCellBits& GetSeenCells() const { return m_seenCells; }
    CCellBits& GetSecondSeenCells() { return m_secondSeenCells; }
    // Set when what can be seen changed; the visibility pass clears it.
    bool IsViewStale() const { return m_viewStale; }
    void SetViewStale(bool stale) { m_viewStale = stale; }
    // True while the area has its tiles and objects (it is being played or was just
    // read); an inactive area keeps only what must outlive the visit.
    bool IsBuilt() const { return !m_grid.empty(); }
    // What the visibility passes over this area keep between them; made on first use.
    CPartyView& GetPartyView();

    // The area's path search, built from the grid as it stands on first use after
    // it was dropped; the area keeps it (the pointer is not the caller's).
    CWaypointCalculator* GetWaypointCalculator();
    // The pathfinder rebuilds its waypoints on next use.
    void DropWaypointCalculator() { m_waypoints.reset(); }

    // Marks every object of that object name for removal; nothing matching is no error.
    void ApplyRemoveObjectPatch(const std::string& objectName);
    // Removes the objects marked for removal (each one's first entry) and forgets the marks.
    void PurgeRemovedObjects();

    // ---- patches (area_patches.cpp) ----
    // Applies again the patches that fired before, and fires those whose tag is set.
    void LinkPatches(const CModule& module, std::int32_t loadType, bool respawned);
    // Whether a patch of the tag has not fired yet, which TriggerTagPatches fires.
    bool AwaitsTag(const std::string& tag) const;
    // Fires every patch of the tag that has not fired yet.
    void TriggerTagPatches(const std::string& tag, const CModule& module);
    void ApplyPatch(const CPatch& patch, const CModule& module, std::int32_t loadType, bool respawned, bool reapply);
    // Lays the tiles over the grid, whatever the cells held; doors start closed. Code 1
    // for a tile the module lacks or one reaching past the grid, before any cell changes.
    void ApplyTilesPatch(const CPatchActionTiles& action, const CModule& module);
    // Shows the effect; applied again, it shows nothing.
    void ApplyEffectPatch(const CPatchActionEffect& action, bool reapply);
    // Opens (and unlocks) or closes every door cell of the named tile definitions,
    // keeping the open-door records, moving actors out of closed doorways and
    // telling the view. Applied again while the area is rebuilt, the doors are left
    // as the open-door records have them, so a door closed since stays closed.
    void SetDoorState(const CPatchActionDoor& action, bool reapply);

    // ---- encounters (area_encounters.cpp) ----
    // Places, keeps, clears or renews the encounter's actors as the build's load type,
    // the quest and the respawn say.
    void LoadOneEncounter(const CPatchActionEncounter& encounter, const CModule& module, std::int32_t loadType,
                          bool respawned);
    // Places the actors of stage `stage` near the encounter's cell; code 2 when one
    // finds no spot, std::out_of_range for a stage the encounter lacks.
    void LoadEncounterStage(const CPatchActionEncounter& encounter, const CModule& module, std::size_t stage);
    // Places stage `stage` when the encounter has it; nothing after the last stage.
    void AdvanceEncounterStage(const std::string& name, const CModule& module, std::size_t stage);
    // The area's record of that name, else the encounter of a fired patch; code 1 when none.
    const CPatchActionEncounter& FindEncounter(const std::string& name) const;
    // The same, or null when the area holds no encounter of that name.
    const CPatchActionEncounter* FindEncounterIfAny(const std::string& name) const;
    // The actors of the area and the party members of that encounter.
    std::size_t EncounterActorsPresent(const std::string& name) const;
    // The encounter's actors leave the area at once.
    void ClearEncounter(const std::string& name);
    // The encounter's actors die without leaving items; the dead-actor pass takes them.
    void RemoveEncounter(const std::string& name);
    // Whether a party member or friend of the area stands within `range` of an actor
    // the party can see; `other` receives it.
    bool PartyProximityTest(const CActor& actor, CActor** other, double range) const;

    // ---- object contents, locks and traps (area_objects.cpp) ----
    // Records the items every object holds; an inactive area keeps its records.
    void CaptureItemStacks();
    // Puts the recorded items back (piles made anew) and forgets the records; code 2
    // when an object is not found.
    void ApplyItemStacks(const CModule& module);
    // Records the state of every lock and trap; an inactive area keeps its records.
    void CaptureLocksAndTraps();
    // Code 2 when an object is not found; the records stay.
    void ApplyLocksAndTraps();
    // A one-time trap went off: its object goes now and after every rebuild.
    void RemoveSprungTrapObject(const CObject& object);
    // The "pile" lying on the cell of (x, y), or a new empty one there: one pile a
    // cell however often things fall. Code 1 when the module defines no pile.
    std::shared_ptr<CObject> DropItem(const CModule& module, double x, double y);

    // ---- saved games (area_state.cpp) ----
    // Writes the area's "area" element, capturing the present objects' state first;
    // its actors' orders as `module` would load them.
    void SaveState(DRAVCommon::CDataFileWriter& writer, const CModule& module);
    // Reads an "area" element into this new area: as the current area (load type 2)
    // when it is `currentArea`, else as an inactive one (type 3) that shows its
    // state when the party returns.
    void LoadState(DRAVCommon::CDataFileReader& reader, CGame& game, const CModule& module,
                   const std::string& currentArea);

    // ---- leaving and coming back (area_lifecycle.cpp) ----
    // The party leaves: the actors stop their orders, lose their attackers and end
    // their powers; the grid, objects, entries, exits and patches go; actors, open
    // doors, fired patches, skies and sounds stay.
    void MakeInactive();
    // The party returns: rebuilt from the file, respawning when it was away long
    // enough; a respawn restores every actor's vitals, effects and relation.
    void Reactivate(const std::string& fromArea, const CModule& module);
    // Opens the doors of the open-door records; on a respawn the doors that reset
    // stay closed and lose their record. Code 2 for a record on a cell without a door.
    void ApplyOpenDoors(bool respawned);

    // ---- collision and line tests (area_collision.cpp); true means free ----
    // `blocker`, when given, receives what blocks: the tile, object or actor; null
    // for the edge of the grid.
    bool TestTiles(const CActor& actor, CThing** blocker, double x, double y) const;
    bool TestObjects(const CActor& actor, CThing** blocker, double x, double y) const;
    // Every actor but the one moving.
    bool TestActors(const CActor& actor, CThing** blocker, double x, double y) const;
    // The tests of CanMoveTo as though `past` stood nowhere: whether two may trade places.
    bool CanMoveToPast(const CActor& actor, const CActor& past, double x, double y) const;
    // From the actor to (x, y): no wall or closed door, and with `emptyBlocks` no empty cell.
    bool TestTileLine(const CActor& actor, bool emptyBlocks, double x, double y) const;
    bool TestTileColumn(std::uint32_t column, std::uint32_t firstRow, std::uint32_t lastRow, bool emptyBlocks) const;
    // From the actor to (x, y): no solid object's footprint crossed.
    bool TestObjectLine(const CActor& actor, double x, double y) const;
    // Moves every actor that can no longer stand where it is to a free spot nearby.
    void ReplaceBlockedActors();

    // ---- queries and placement (area_queries.cpp) ----
    bool CanMoveTo(const CActor& actor, CThing** blocker, double x, double y) const;
    // The nearest point to (x, y) where walls and things leave the actor room to
    // stand, whoever stands there, when (x, y) lies on ground one walks but too
    // near its edge for the actor: within the actor's radius of it. Else (x, y).
    void FindRoomOnGround(const CActor& actor, double x, double y, double& outX, double& outY) const;
    bool CanReachActor(const CActor& actor, const CActor& target, double range) const;
    bool CanReachPoint(const CActor& actor, double x, double y, double range, double extraRadius,
                       bool emptyBlocks) const;
    // Puts the actor on the first free spot in rings around the cell's centre and
    // adds it to the area; false (and not added) when none is free.
    bool PlaceActor(std::uint32_t column, std::uint32_t row, bool wide, const std::shared_ptr<CActor>& actor);
    // A monster of definition `key` on the first free spot around the cell; dropped
    // silently when there is none (area_spawn.cpp).
    void SpawnActor(const CModule& module, const std::string& key, std::uint32_t column, std::uint32_t row);
    // An actor of the definition for encounter `encounterName` at stage `stage`: idle,
    // without target, hiding when the definition sneaks and the actor can.
    std::shared_ptr<CActor> CreateEncounterActor(const std::string& key, const std::string& encounterName,
                                                 std::int32_t stage, const CModule& module);
    // Whether the renderer draws the object.
    bool IsObjectSeen(const CObject& object) const;
    // The ambient sound at (x, y): objects' sounds first, then the area's.
    bool FindObjectSoundAt(double x, double y, std::string& name) const;
    // A door cell opened or closed: paths and the view are worked out afresh.
    void AddOpenDoor(const CTile& tile);
    void RemoveOpenDoor(const CTile& tile);
    // The door cells that open and close with this one, the tile itself first.
    void CollectDoorTiles(CTile& tile, std::vector<CTile*>& tiles) const;

private:
    // Whether `patch` is one of the tag's that has not fired yet.
    bool IsPatchAwaiting(const CPatch& patch, const std::string& tag) const;
    void ReadTravel(const std::string& fromArea, DRAVCommon::CDataFileReader& reader);
    // One cell entry of the rows block, in file order; no definition for a "0".
    struct CellTile {
        const CTileTemplate* definition;
        Direction facing;
        std::uint32_t column;
        std::uint32_t row;
    };
    void ReadRows(DRAVCommon::CDataFileReader& reader, const CModule& module, bool fresh);
    CellTile ReadCellTile(DRAVCommon::CDataFileReader& reader, const CModule& module, std::uint32_t column,
                          std::uint32_t row) const;
    void PlaceCellTile(const DRAVCommon::CDataFileReader& reader, const CellTile& tile, bool fresh);
    void ReadObjects(DRAVCommon::CDataFileReader& reader, const CModule& module, bool fresh);
    void ReadEncounters(DRAVCommon::CDataFileReader& reader, const CModule& module, std::int32_t loadType,
                        bool respawned);
    bool IsQuestComplete(const CPatchActionEncounter& encounter) const;
    void SaveItemStacks(DRAVCommon::CDataFileWriter& writer) const;
    void SaveLocksAndTraps(DRAVCommon::CDataFileWriter& writer) const;
    void SaveTileTracker(DRAVCommon::CDataFileWriter& writer) const;
    // Keeps no more words than the grid of `file`, the area's, takes.
    void LoadTileTracker(DRAVCommon::CDataFileReader& reader, const CPlaceFile& file);
    // A saved game's actors, open doors and records of objects lie on the grid the
    // area's file gives; code 1 naming the first that does not.
    void RequireSavedPlacesOnGrid(const CModule& module) const;
    // Entries and exits lead onto the grid; code 1 naming `what` otherwise.
    void RequireOnGrid(const DRAVCommon::CDataFileReader& reader, const std::string& what, std::uint32_t column,
                       std::uint32_t row) const;
    void ReadEntries(DRAVCommon::CDataFileReader& reader);
    void ReadExits(DRAVCommon::CDataFileReader& reader, const CModule& module);
    void ReadPatches(DRAVCommon::CDataFileReader& reader, const CModule& module);
    ThingId NewThingId(ThingType type) const;
    // The list's only changes, each filing or taking out the actor in the grid.
    void InsertActor(std::size_t index, std::shared_ptr<CActor> actor);
    void EraseActor(std::size_t index);
    bool IsQuestTagSet(const std::string& tag) const;
    const CTile* CellAt(std::int64_t column, std::int64_t row) const;

    std::string m_name;
    ActorList m_actors;
    // The first actor of the list with each id, so that orders find their targets
    // without a walk down the list.
    std::unordered_map<ThingId, CActor*> m_actorsById;
    // After the list, so that it goes first and leaves no actor pointing at it.
    CActorGrid m_actorGrid;
    ItemStackList m_itemStacks;
    LocksAndTrapsList m_locksAndTraps;
    AreaOpenDoorList m_openDoors;
    std::uint32_t m_leaveTick = 0;
    std::uint32_t m_journeyHours = 0;
    FiredPatchList m_firedPatches;
    CGame* m_game;
    std::string m_displayName;
    bool m_outdoors = false;
    std::string m_worldMapName;
    std::string m_worldMapLocation;
    std::uint32_t m_columns = 0;
    std::uint32_t m_rows = 0;
    MasterTileList m_masterTiles;
    TileGrid m_grid;
    ObjectList m_objects;
    AreaEntryList m_entries;
    AreaExitList m_exits;
    AreaSkyList m_skies;
    AreaSoundList m_sounds;
    PatchList m_patches;
    CCellBits m_exploredCells;
    std::shared_ptr<CWaypointCalculator> m_waypoints;
    CCellBits m_seenCells;
    bool m_viewStale = false;
    CCellBits m_secondSeenCells;
    std::unique_ptr<CPartyView> m_partyView;
    ObjectList m_objectsToRemove;
    EncounterList m_encounters;
    EffectList m_effects;
    std::unordered_map<const CEffect*, EffectList::iterator> m_effectPlaces;
};

}  // namespace DRAV
