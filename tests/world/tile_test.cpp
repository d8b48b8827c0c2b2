// Cells, tile masters and doors: ids, footprints, graphics, passability and
// whether a door may close.

#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "common/data_file_reader.h"
#include "support/error_code.h"
#include "support/sample_module.h"
#include "world/area.h"
#include "world/master_tile.h"
#include "world/tile.h"

using namespace DRAV;
using QuillmereTest::ErrorCodeOf;

namespace {

CTileTemplate Definition(TileKind kind, std::uint32_t width = 1, std::uint32_t depth = 1) {
    return CTileTemplate("t", "T", kind, "g", width, depth);
}

// The world never looks inside a graphic, so any owner stands in for the view's object.
std::shared_ptr<DRAVGraph::CGraphic> OpaqueGraphic(const std::shared_ptr<int>& owner) {
    return std::shared_ptr<DRAVGraph::CGraphic>(owner, reinterpret_cast<DRAVGraph::CGraphic*>(owner.get()));
}

std::shared_ptr<CActor> ActorAt(double x, double y, double radius, ActionState state = ACTION_IDLE) {
    static ThingId next = 0x03000001;
    auto actor = std::make_shared<CActor>(next++);
    actor->SetPosition(x, y);
    actor->SetRadius(radius);
    actor->SetActionState(state);
    return actor;
}

}  // namespace

TEST(Tile, IdComesFromRowAndColumn) {
    EXPECT_EQ(CTile(0, 0, nullptr).GetId(), 0x01000000u);
    EXPECT_EQ(CTile(3, 17, nullptr).GetId(), 0x01000000u + 3017u);
    EXPECT_EQ(MakeTileId(16777, 215), 0x01FFFFFFu);
    EXPECT_EQ(ErrorCodeOf([] { MakeTileId(16777, 216); }), DRAV_ERR_OUT_OF_RANGE);
    EXPECT_EQ(ErrorCodeOf([] { MakeTileId(5000000, 0); }), DRAV_ERR_OUT_OF_RANGE) << "no wrap-around";
}

TEST(MasterTile, FootprintTurnsWithEastAndWestFacings) {
    CTileTemplate long_wall = Definition(TILE_SOLID, 3, 1);
    for (Direction facing : {DIR_NORTH, DIR_SOUTH}) {
        CMasterTile master(long_wall, nullptr, 4, 6, facing);
        EXPECT_EQ(master.GetWidth(), 3u);
        EXPECT_EQ(master.GetDepth(), 1u);
    }
    for (Direction facing : {DIR_EAST, DIR_WEST}) {
        CMasterTile master(long_wall, nullptr, 4, 6, facing);
        EXPECT_EQ(master.GetWidth(), 1u);
        EXPECT_EQ(master.GetDepth(), 3u);
        EXPECT_EQ(master.GetColumn(), 4u);
        EXPECT_EQ(master.GetRow(), 6u);
        EXPECT_EQ(master.GetFacing(), facing);
        EXPECT_EQ(master.GetUsedMark(), 0);
    }
}

TEST(MasterTile, GraphicHandlesAreHeldUntilReleased) {
    CTileTemplate floor = Definition(TILE_FLOOR);
    CMasterTile master(floor, nullptr, 0, 0, DIR_NORTH);
    EXPECT_EQ(master.GetGraphic().graphic, nullptr);
    EXPECT_EQ(master.GetGraphic().id, 0);

    auto first = std::make_shared<int>(1);
    auto second = std::make_shared<int>(2);
    master.SetGraphic(12, OpaqueGraphic(first));
    master.SetSecondGraphic(std::shared_ptr<DRAVGraph::CGraphicConcat>(
        second, reinterpret_cast<DRAVGraph::CGraphicConcat*>(second.get())));
    EXPECT_EQ(master.GetGraphic().id, 12);
    EXPECT_EQ(master.GetGraphic().graphic, OpaqueGraphic(first));
    EXPECT_EQ(first.use_count(), 2);
    EXPECT_EQ(second.use_count(), 2);
    master.SetGraphic(14, OpaqueGraphic(second));
    EXPECT_EQ(first.use_count(), 1) << "a replaced handle is dropped";
    EXPECT_EQ(master.GetGraphic().id, 14);

    master.ReleaseGraphics();
    EXPECT_EQ(master.GetGraphic().graphic, nullptr);
    EXPECT_EQ(master.GetSecondGraphic(), nullptr);
    EXPECT_EQ(first.use_count(), 1);
    EXPECT_EQ(second.use_count(), 1);
}

TEST(Tile, PassabilityByKind) {
    struct Row {
        TileKind kind;
        bool movement, line, view;
    };
    const Row table[] = {
        {TILE_FLOOR, false, false, false},
        {TILE_EMPTY, true, false, false},
        {TILE_SOLID, true, true, true},
        {TILE_BLOCK, true, true, false},
    };
    for (const Row& row : table) {
        CTileTemplate definition = Definition(row.kind);
        CMasterTile master(definition, nullptr, 0, 0, DIR_NORTH);
        CTile cell(0, 0, &master);
        EXPECT_EQ(cell.BlocksMovement(), row.movement) << row.kind;
        EXPECT_EQ(cell.BlocksLine(), row.line) << row.kind;
        EXPECT_EQ(cell.BlocksView(), row.view) << row.kind;
        EXPECT_EQ(ErrorCodeOf([&] { cell.GetDoor(); }), DRAV_ERR_OUT_OF_RANGE) << row.kind;
    }
}

TEST(Tile, DoorsBlockEverythingOnlyWhileClosed) {
    CTileTemplate definition = Definition(TILE_DOOR);
    CMasterTileDoor door(definition, nullptr, 2, 2, DIR_NORTH);
    CTile cell(2, 2, &door);
    EXPECT_EQ(cell.GetDoor(), &door);
    EXPECT_FALSE(door.IsOpen()) << "doors are made closed";
    EXPECT_TRUE(cell.BlocksMovement());
    EXPECT_TRUE(cell.BlocksLine());
    EXPECT_TRUE(cell.BlocksView());
    door.SetOpen(true);
    EXPECT_FALSE(cell.BlocksMovement());
    EXPECT_FALSE(cell.BlocksLine());
    EXPECT_FALSE(cell.BlocksView());
}

TEST(Tile, CellsWithoutAUsableMasterAreCodeTwo) {
    CTile bare(1, 1, nullptr);
    EXPECT_EQ(ErrorCodeOf([&] { bare.BlocksMovement(); }), DRAV_ERR_OUT_OF_RANGE);
    EXPECT_EQ(ErrorCodeOf([&] { bare.BlocksView(); }), DRAV_ERR_OUT_OF_RANGE);
    EXPECT_EQ(ErrorCodeOf([&] { bare.GetDoor(); }), DRAV_ERR_OUT_OF_RANGE);

    // A door definition placed as a plain master has no door state to ask.
    CTileTemplate doorDefinition = Definition(TILE_DOOR);
    CMasterTile plain(doorDefinition, nullptr, 0, 0, DIR_NORTH);
    CTile cell(0, 0, &plain);
    EXPECT_EQ(ErrorCodeOf([&] { cell.GetDoor(); }), DRAV_ERR_OUT_OF_RANGE);
    EXPECT_EQ(ErrorCodeOf([&] { cell.BlocksLine(); }), DRAV_ERR_OUT_OF_RANGE);

    CTileTemplate invalid = Definition(TILE_INVALID);
    CMasterTile strange(invalid, nullptr, 0, 0, DIR_NORTH);
    CTile odd(0, 0, &strange);
    EXPECT_EQ(ErrorCodeOf([&] { odd.BlocksMovement(); }), DRAV_ERR_OUT_OF_RANGE);
}

TEST(MasterTileDoor, TakesItsLockFromTheDefinition) {
    CTileTemplate definition;
    DRAVCommon::CDataFileReader reader(QuillmereTest::TextStream("<tile> g \"G\" g ( 1 1 ) door 9 40 </tile>"),
                                       "tiles.drav");
    definition.Load(reader);
    CMasterTileDoor door(definition, nullptr, 0, 0, DIR_NORTH);
    EXPECT_EQ(door.GetLockValue(), 40u);
    door.SetLockValue(0);
    EXPECT_EQ(door.GetLockValue(), 0u);
    EXPECT_EQ(definition.GetLockValue(), 40u);
}

// A two-cell door turned east: footprint 1 x 2 at column 4, row 2, so its cells
// span x 10..12.5 and y 5..10; centre (11.25, 7.5), half sizes 1.25 and 2.5.
class DoorwayTest : public ::testing::Test {
protected:
    DoorwayTest() : m_definition(Definition(TILE_DOOR, 2, 1)), m_door(m_definition, &m_area, 4, 2, DIR_EAST) {}

    bool CanCloseWith(std::shared_ptr<CActor> actor) {
        while (!m_area.GetActors().empty()) m_area.RemoveActor(*m_area.GetActors().front());
        m_area.AddActor(std::move(actor));
        return m_door.CanClose();
    }

    CArea m_area;
    CTileTemplate m_definition;
    CMasterTileDoor m_door;
};

TEST_F(DoorwayTest, EmptyDoorwayCloses) {
    EXPECT_TRUE(m_door.CanClose());
    EXPECT_EQ(m_door.GetWidth(), 1u);
    EXPECT_EQ(m_door.GetDepth(), 2u);
}

TEST_F(DoorwayTest, ALivingActorTouchingTheCellsKeepsItOpen) {
    EXPECT_FALSE(CanCloseWith(ActorAt(11.25, 7.5, 0.5)));
    // Circles exactly touching an edge of the cells, on each side.
    EXPECT_FALSE(CanCloseWith(ActorAt(12.5 + 1.0, 7.5, 1.0)));
    EXPECT_FALSE(CanCloseWith(ActorAt(10.0 - 1.0, 7.5, 1.0)));
    EXPECT_FALSE(CanCloseWith(ActorAt(11.25, 10.0 + 0.5, 0.5)));
    EXPECT_FALSE(CanCloseWith(ActorAt(11.25, 5.0 - 0.5, 0.5)));
    // A zero radius on the very corner still touches.
    EXPECT_FALSE(CanCloseWith(ActorAt(12.5, 10.0, 0.0)));
    for (ActionState state : {ACTION_PAUSE, ACTION_RECOVERING, ACTION_IDLE, ACTION_WIND_UP, ACTION_STRIKE})
        EXPECT_FALSE(CanCloseWith(ActorAt(11.25, 7.5, 0.5, state))) << state;
}

TEST_F(DoorwayTest, OneUnitClearOfTheCellsLetsItClose) {
    EXPECT_TRUE(CanCloseWith(ActorAt(12.5 + 2.0, 7.5, 1.0)));
    EXPECT_TRUE(CanCloseWith(ActorAt(10.0 - 2.0, 7.5, 1.0)));
    EXPECT_TRUE(CanCloseWith(ActorAt(11.25, 10.0 + 1.5, 0.5)));
    EXPECT_TRUE(CanCloseWith(ActorAt(11.25, 5.0 - 1.5, 0.5)));
}

TEST_F(DoorwayTest, OnlyTheDeadInTheDoorwayLetItClose) {
    m_area.AddActor(ActorAt(11.25, 7.5, 1.0, ACTION_DEAD));
    m_area.AddActor(ActorAt(11.0, 6.0, 0.5, ACTION_DEAD));
    EXPECT_TRUE(m_door.CanClose());
    m_area.AddActor(ActorAt(30.0, 30.0, 1.0));
    EXPECT_TRUE(m_door.CanClose());
    m_area.AddActor(ActorAt(11.0, 9.0, 0.4));
    EXPECT_FALSE(m_door.CanClose());
}

TEST(MasterTileDoor, NoCloseDoorsNeverClose) {
    CTileTemplate definition;
    DRAVCommon::CDataFileReader reader(
        QuillmereTest::TextStream("<tile> arch \"Arch\" g ( 1 1 ) door 9 0 noclose </tile>"), "tiles.drav");
    definition.Load(reader);
    CArea area;
    CMasterTileDoor door(definition, &area, 0, 0, DIR_NORTH);
    EXPECT_FALSE(door.CanClose());
    door.SetOpen(true);
    EXPECT_FALSE(door.CanClose());
    CMasterTileDoor loose(definition, nullptr, 0, 0, DIR_NORTH);
    EXPECT_FALSE(loose.CanClose());
}
