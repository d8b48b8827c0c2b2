// Building areas from their files: the sample's start area under each load type,
// tile placement, travel, and the faults of malformed files.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/expect_drav.h"
#include "support/sample_brains.h"
#include "world/area/area_test_support.h"

using namespace DRAV;
using AreaTest::AreaText;
using AreaTest::ReadText;
using AreaTest::Row;
using AreaTest::SampleModule;
using QuillmereTest::SampleWithBrains;

namespace {

const std::string& KeyAt(const CArea& area, std::uint32_t column, std::uint32_t row) {
    return area.GetTile(column, row)->GetMaster()->GetDefinition().GetKey();
}

CObject* ObjectNamed(const CArea& area, const std::string& name) {
    for (const auto& object : area.GetObjects())
        if (object->GetObjectName() == name || object->GetExitName() == name) return object.get();
    return nullptr;
}

}  // namespace

TEST(AreaLoad, FreshStartAreaHasItsGridObjectsExitsDoorsAndEntries) {
    CGame game;
    CArea area(&game);
    area.LoadAreaFile("", "reedwater_landing", SampleModule(), AREA_LOAD_FRESH, false);

    EXPECT_EQ(area.GetName(), "reedwater_landing");
    EXPECT_EQ(area.GetDisplayName(), "Reedwater Landing");
    EXPECT_TRUE(area.IsOutdoors());
    ASSERT_EQ(area.GetColumns(), 16u);
    ASSERT_EQ(area.GetRows(), 12u);
    EXPECT_EQ(area.GetSkies().size(), 1u);
    EXPECT_EQ(area.GetSounds().size(), 2u);
    EXPECT_EQ(area.GetTile(3, 7)->GetId(), 0x01000000u + 7 * 1000 + 3);

    // The net rack, turned east, covers columns 2-3 and rows 5-7 with one master.
    const CMasterTile* rack = area.GetTile(2, 5)->GetMaster();
    EXPECT_EQ(rack->GetDefinition().GetKey(), "drying_rack");
    for (std::uint32_t x = 2; x <= 3; ++x)
        for (std::uint32_t y = 5; y <= 7; ++y) EXPECT_EQ(area.GetTile(x, y)->GetMaster(), rack) << x << "," << y;
    EXPECT_NE(area.GetTile(4, 5)->GetMaster(), rack);
    EXPECT_NE(area.GetTile(2, 8)->GetMaster(), rack);

    // A <cell> stacks the door over its floor; both masters stay listed.
    EXPECT_EQ(KeyAt(area, 10, 8), "boathouse_door");
    EXPECT_EQ(area.GetTile(10, 8)->GetDoor()->GetLockValue(), 25u);
    int masters = 0;
    for (const auto& master : area.GetMasterTiles())
        if (master->GetColumn() == 10 && master->GetRow() == 8) ++masters;
    EXPECT_EQ(masters, 2);
    // The two-cell slipway door is one master over both cells.
    EXPECT_EQ(area.GetTile(11, 6)->GetMaster(), area.GetTile(12, 6)->GetMaster());

    // Only the sluice gate starts open.
    ASSERT_EQ(area.GetOpenDoors().size(), 1u);
    EXPECT_EQ(area.GetOpenDoors().front()->column, 15u);
    EXPECT_EQ(area.GetOpenDoors().front()->row, 8u);
    EXPECT_TRUE(area.GetTile(15, 8)->GetDoor()->IsOpen());
    EXPECT_FALSE(area.GetTile(10, 8)->GetDoor()->IsOpen());

    // Eleven placed objects (two of them lamps), then one marker per exit.
    const auto objects = area.GetObjects();
    ASSERT_EQ(objects.size(), 14u);
    for (const auto& object : objects) EXPECT_EQ(object->GetId() >> 24, 2u);
    const CObject* chest = ObjectNamed(area, "orrins_tackle");
    ASSERT_NE(chest, nullptr);
    ASSERT_EQ(chest->GetItems().size(), 3u);
    EXPECT_EQ(chest->GetItems()[1]->GetCount(), 3);
    EXPECT_EQ(chest->GetItems()[1]->GetHolder(), chest);
    const CObject* strongbox = ObjectNamed(area, "orrins_strongbox");
    EXPECT_TRUE(strongbox->IsLocked());
    EXPECT_EQ(strongbox->GetFacing(), DIR_WEST);
    EXPECT_NE(ObjectNamed(area, "reed_crate")->GetTrap(), nullptr);

    const CObject* marsh = objects[11].get();
    EXPECT_TRUE(marsh->IsExit());
    EXPECT_EQ(marsh->GetExitName(), "marsh_path");
    EXPECT_EQ(marsh->GetTemplate().GetKey(), "exit");
    EXPECT_EQ(marsh->GetFacing(), DIR_NORTH);
    EXPECT_DOUBLE_EQ(marsh->GetX(), 1.25);
    EXPECT_DOUBLE_EQ(marsh->GetY(), 23.75);
    EXPECT_EQ(objects[12]->GetFacing(), DIR_EAST);
    const CAreaExit* trail = FindAreaExit(area.GetExits(), "smugglers_trail");
    ASSERT_NE(trail, nullptr);
    EXPECT_EQ(trail->requiredTag, "smugglers_seen");
    EXPECT_EQ(trail->destinationArea, "reed_marsh");
    EXPECT_EQ(trail->destinationEntry, "hideout");
    // The river road names the travel map and no entry: it leads through the map.
    const CAreaExit* road = FindAreaExit(area.GetExits(), "river_road");
    ASSERT_NE(road, nullptr);
    EXPECT_EQ(road->destinationArea, "reedwater_map");
    EXPECT_TRUE(road->destinationEntry.empty());
    EXPECT_TRUE(road->requiredTag.empty());
    EXPECT_EQ(objects[13]->GetFacing(), DIR_SOUTH);

    ASSERT_EQ(area.GetEntries().size(), 4u);
    const CAreaEntry* dock = FindAreaEntry(area.GetEntries(), "dock");
    EXPECT_EQ(dock->column, 7u);
    EXPECT_EQ(dock->row, 3u);
    EXPECT_NE(dock->script, nullptr);
    EXPECT_NE(FindAreaEntry(area.GetEntries(), "lane")->script, nullptr);
    EXPECT_EQ(FindAreaEntry(area.GetEntries(), "nowhere"), nullptr);
}

// The game asks "Exit to " + an exit's text + "?": every exit of the chapter is
// named for the place it leads to, a place's own name or "the" something, never
// a phrase of its own ("To the reed marsh", "Take the river road").
TEST(AreaLoad, EveryExitIsNamedForTheQuestionAroundIt) {
    CGame game;
    for (const char* name : {"reedwater_landing", "reed_marsh"}) {
        CArea area(&game);
        area.LoadAreaFile("", name, SampleModule(), AREA_LOAD_FRESH, false);
        ASSERT_FALSE(area.GetExits().empty()) << name;
        for (const auto& exit : area.GetExits()) {
            const std::string& text = exit->text;
            const bool place = text.rfind("the ", 0) == 0 || text == "Reedwater Landing";
            EXPECT_TRUE(place) << "Exit to " << text << "?";
        }
    }
}

TEST(AreaLoad, SavedLoadTypesLeaveOutWhatTheSaveHolds) {
    CGame game;
    // Another area of a saved game stays inactive: header, skies and sounds only.
    CArea inactive(&game);
    inactive.LoadAreaFile("", "reedwater_landing", SampleModule(), AREA_LOAD_SAVED_OTHER, false);
    EXPECT_EQ(inactive.GetDisplayName(), "Reedwater Landing");
    EXPECT_EQ(inactive.GetColumns(), 0u);
    EXPECT_TRUE(inactive.GetObjects().empty());
    EXPECT_TRUE(inactive.GetEntries().empty());
    EXPECT_EQ(inactive.GetSounds().size(), 2u);

    // The area the save stands in: doors closed and objects empty until the save is laid over.
    CArea current(&game);
    current.LoadAreaFile("", "reedwater_landing", SampleModule(), AREA_LOAD_SAVED_CURRENT, false);
    EXPECT_TRUE(current.GetOpenDoors().empty());
    EXPECT_FALSE(current.GetTile(15, 8)->GetDoor()->IsOpen());
    EXPECT_TRUE(ObjectNamed(current, "orrins_tackle")->GetItems().empty());
    EXPECT_EQ(current.GetObjects().size(), 14u);
}

TEST(AreaLoad, TravelChargesTheHoursOfTheAreaThePartyComesFrom) {
    const auto ticksFrom = [](const std::string& from) {
        CGame game;
        CArea area(&game);
        area.LoadAreaFile(from, "reed_marsh", SampleWithBrains(), AREA_LOAD_FRESH, false);
        return game.GetTick();
    };
    EXPECT_EQ(ticksFrom("reedwater_landing"), 1u * 3600 * 30);
    EXPECT_EQ(ticksFrom("far_shore"), 2u * 3600 * 30);
    EXPECT_EQ(ticksFrom(""), 0u);
    EXPECT_EQ(ticksFrom("reed_marsh"), 0u);
}

TEST(AreaLoad, TilePlacementFollowsFacingAndWhichKindsOverride) {
    CArea area;
    // A 3 x 2 rack turned east at (4, 0) covers columns 4-5 and rows 0-2.
    const std::string floor = " ( plank_floor n )";
    ReadText(area, AreaText("( 7 3 ) <row>" + floor + floor + floor + floor + " ( drying_rack e ) 0" + floor +
                            " </row> <row>" + floor + floor + floor + floor + " 0 0" + floor + " </row> <row> "
                            "<cell> ( reed_wall n ) ( plank_floor n ) </cell> <cell> ( plank_floor n ) "
                            "( reed_wall n ) </cell> <cell> </cell>" + floor + " 0 0" + floor + " </row>"));
    const CMasterTile* rack = area.GetTile(4, 0)->GetMaster();
    EXPECT_EQ(rack->GetWidth(), 2u);
    EXPECT_EQ(rack->GetDepth(), 3u);
    for (std::uint32_t y = 0; y < 3; ++y) {
        EXPECT_EQ(area.GetTile(4, y)->GetMaster(), rack);
        EXPECT_EQ(area.GetTile(5, y)->GetMaster(), rack);
        EXPECT_NE(area.GetTile(6, y)->GetMaster(), rack);
    }
    // Floor never replaces a wall; a wall always replaces floor.
    EXPECT_EQ(KeyAt(area, 0, 2), "reed_wall");
    EXPECT_EQ(KeyAt(area, 1, 2), "reed_wall");
    // An empty <cell> places nothing.
    EXPECT_EQ(area.GetTile(2, 2)->GetMaster(), nullptr);

    const std::size_t placed = area.GetMasterTiles().size();
    area.PurgeUnusedMasters();
    // The floor under the first wall never took its cell, the one under the second lost it.
    EXPECT_EQ(area.GetMasterTiles().size(), placed - 2);
}

// A door that starts open keeps a record per cell; a wall laid over one of its
// cells later in the file takes that record away, or a saved game of the area
// would name an open door where none stands and could not be loaded.
TEST(AreaLoad, AWallOverAnOpenDoorsCellLeavesNoRecordOfIt) {
    CArea area;
    ReadText(area, AreaText("( 2 1 ) <row> ( sluice_gate n ) <cell> ( sluice_gate n ) ( reed_wall n ) </cell> </row>"));
    EXPECT_EQ(KeyAt(area, 1, 0), "reed_wall");
    ASSERT_EQ(area.GetOpenDoors().size(), 1u);
    EXPECT_EQ(area.GetOpenDoors().front()->column, 0u);
    area.ApplyOpenDoors(false);  // as a load of the saved area does
}

TEST(AreaLoad, MalformedFilesAreCodeOneNamingTheFileAndTheKey) {
    const std::string floor = " ( plank_floor n )";
    const std::string oneCell = "( 1 1 ) <row>" + floor + " </row>";
    struct Case {
        const char* what;
        std::string text;
        const char* named;  // a word the message must hold besides the file
    };
    const std::vector<Case> cases = {
        {"bare grid size", AreaText("1 1 <row>" + floor + " </row>"), "columns rows"},
        {"uncovered 0 cell", AreaText("( 2 1 ) <row>" + floor + " 0 </row>"), "(1 0)"},
        {"footprint off the grid", AreaText("( 2 2 ) <row>" + floor + " ( drying_rack n ) </row> <row> 0 0 </row>"),
         "drying_rack"},
        {"undefined exit template",
         AreaText(oneCell, "", "<exit> out \"Out\" ( 0 0 ) 0 elsewhere <object> rowboat n </object> </exit>"),
         "rowboat"},
        {"undefined object template", AreaText(oneCell, "<object> rowboat ( 1 1 ) n 0 </object>"), "rowboat"},
        {"unknown tile key", AreaText("( 1 1 ) <row> ( marble_floor n ) </row>"), "marble_floor"},
        {"grid wider than tile ids", AreaText("( 1001 1 ) <row>" + floor + " </row>"), "1001"},
        {"grid deeper than tile ids", AreaText("( 1000 16778 ) <row>" + floor + " </row>"), "16778"},
        // Refused when the rows run out, before a grid of 16 million cells is made.
        {"size the file does not hold", AreaText("( 1000 16000 ) <row>" + floor + " </row>"), "row"},
        {"bad number", AreaText(oneCell, "<object> exit ( 1.x 1 ) n 0 </object>"), "1.x"},
        {"missing facing", AreaText("( 1 1 ) <row> ( plank_floor </row>"), "</row>"},
        {"row too short", AreaText("( 2 1 ) <row>" + floor + " </row>"), "row"},
        {"entry cell not a group",
         "<area> \"T\" false <rows> " + oneCell + " </rows> <entries> <entry> e \"E\" 0 0 </entry> </entries> "
         "<exits> </exits> </area>",
         "entry"},
        {"exit off the grid", AreaText(oneCell, "", "<exit> out \"Out\" ( 1 0 ) 0 elsewhere </exit>"), "out"},
        {"missing entries", "<area> \"T\" false <rows> " + oneCell + " </rows> <exits> </exits> </area>", "entries"},
        {"unknown item", AreaText(oneCell, "<object> pile ( 1 1 ) n 0 <items> gold_bar </items> </object>"), "gold_bar"},
        // An object off the grid could never be reached, nor found again by its cell
        // when its lock or contents are laid over a rebuilt area.
        {"object left of the grid", AreaText(oneCell, "<object> ( tackle_chest eel_basket ) ( -0.1 1 ) n 1 </object>"),
         "eel_basket"},
        {"object on the far edge", AreaText(oneCell, "<object> tackle_chest ( 1 2.5 ) n 0 </object>"), "tackle_chest"},
        {"object past the far edge by a hair", AreaText(oneCell, "<object> tackle_chest ( 2.5000001 1 ) n 0 </object>"),
         "tackle_chest\" at (2.5000001 1)"},
        {"object past any cell number", AreaText(oneCell, "<object> tackle_chest ( 6e9 1 ) n 0 </object>"),
         "tackle_chest"},
        // A later stage is placed in the middle of play: its monsters are checked now.
        {"encounter monster not defined",
         "<area> \"T\" false <rows> " + oneCell + " </rows> <encounters> <encounter> eels ( 0 0 ) \"Eels\" 0 false"
         " <stage> reed_goblin </stage> <stage> giant_eel </stage> </encounter> </encounters>"
         " <entries> </entries> <exits> </exits> </area>",
         "giant_eel"},
        {"patch encounter monster not defined",
         "<area> \"T\" false <rows> " + oneCell + " </rows> <entries> </entries> <exits> </exits> <patches>"
         " <patch> risen a_tag <encounter> eels ( 0 0 ) \"Eels\" 0 false giant_eel </encounter> </patch>"
         " </patches> </area>",
         "giant_eel"},
        {"patch object off the grid",
         "<area> \"T\" false <rows> " + oneCell + " </rows> <entries> </entries> <exits> </exits> <patches>"
         " <patch> moved a_tag <object> ( tackle_chest drifting_chest ) ( 1 -3 ) n 0 </object> </patch>"
         " </patches> </area>",
         "drifting_chest"},
        // Placed only when the patch's tag is set, far into play: checked now.
        {"patch tile off the grid",
         "<area> \"T\" false <rows> " + oneCell + " </rows> <entries> </entries> <exits> </exits> <patches>"
         " <patch> paved a_tag <tiles> ( 0 0 ) ( plank_floor n ) ( 7 0 ) ( landing_path n ) </tiles> </patch>"
         " </patches> </area>",
         "landing_path"},
        {"patch effect off the grid",
         "<area> \"T\" false <rows> " + oneCell + " </rows> <entries> </entries> <exits> </exits> <patches>"
         " <patch> lit a_tag <effect> ( 1 1e9 ) warden_flare <params> 1.5 red 0 </params> </effect> </patch>"
         " </patches> </area>",
         "warden_flare"},
        {"patch encounter off the grid",
         "<area> \"T\" false <rows> " + oneCell + " </rows> <entries> </entries> <exits> </exits> <patches>"
         " <patch> risen a_tag <encounter> eels ( 0 4294967295 ) \"Eels\" 0 false reed_goblin </encounter> </patch>"
         " </patches> </area>",
         "eels"},
    };
    for (const Case& c : cases) {
        CArea area;
        const auto caught = QuillmereTest::CatchDrav([&] { ReadText(area, c.text); });
        ASSERT_TRUE(caught) << c.what;
        EXPECT_EQ(caught->GetCode(), 1) << c.what << ": " << caught->GetMessage();
        EXPECT_NE(caught->GetMessage().find("test.drav"), std::string::npos) << c.what << ": " << caught->GetMessage();
        EXPECT_NE(caught->GetMessage().find(c.named), std::string::npos) << c.what << ": " << caught->GetMessage();
    }
}
