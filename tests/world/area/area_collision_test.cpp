// Collision, line and reach tests, actor placement and the other area queries,
// on small areas written for each case and on the sample's start area.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <memory>
#include <vector>

#include "world/area/area_test_support.h"

using namespace DRAV;
using AreaTest::AreaText;
using AreaTest::MakeActor;
using AreaTest::ReadText;
using AreaTest::Row;
using AreaTest::SampleModule;

namespace {

const std::string kFloor = "( plank_floor n )";

// Floor, with `special` placed at (column, row).
std::string Grid(int columns, int rows, int column = -1, int row = -1, const std::string& special = "") {
    std::string text = "( " + std::to_string(columns) + " " + std::to_string(rows) + " )";
    for (int y = 0; y < rows; ++y) {
        text += " <row>";
        for (int x = 0; x < columns; ++x) text += " " + (x == column && y == row ? special : kFloor);
        text += " </row>";
    }
    return text;
}

}  // namespace

TEST(AreaCollision, TilesBlockFromExactlyTheActorsRadius) {
    CArea area;
    ReadText(area, AreaText(Grid(6, 3, 3, 1, "( reed_wall n )")));
    const auto actor = MakeActor(0, 0, 1.0);
    CThing* blocker = nullptr;
    EXPECT_TRUE(area.TestTiles(*actor, &blocker, 6.2, 3.75));
    EXPECT_EQ(blocker, nullptr);
    EXPECT_FALSE(area.TestTiles(*actor, &blocker, 6.5, 3.75));
    EXPECT_EQ(blocker, area.GetTile(3, 1));
    // The grid's edge is a wall: nothing stands across it.
    EXPECT_FALSE(area.TestTiles(*actor, &blocker, 0.9, 3.75));
    EXPECT_EQ(blocker, nullptr);
    EXPECT_FALSE(area.TestTiles(*actor, nullptr, -3.0, 3.75));
    EXPECT_TRUE(area.TestTiles(*actor, nullptr, 1.01, 3.75));
}

TEST(AreaCollision, TouchingAnObjectIsFreeTouchingAnActorIsNot) {
    CArea area;
    ReadText(area, AreaText(Grid(8, 8), "<object> landing_fountain ( 10 10 ) n 0 </object>"));
    const auto mover = MakeActor(0, 0, 1.0);
    // The fountain's footprint ends at x = 11.
    CThing* blocker = nullptr;
    EXPECT_TRUE(area.CanMoveTo(*mover, &blocker, 12.0, 10.0));
    EXPECT_FALSE(area.CanMoveTo(*mover, &blocker, 11.99, 10.0));
    EXPECT_EQ(blocker, area.GetObjects().front().get());

    const auto other = MakeActor(14.0, 14.0, 0.5);
    area.AddActor(other);
    area.AddActor(mover);
    EXPECT_FALSE(area.TestActors(*mover, &blocker, 15.5, 14.0));
    EXPECT_EQ(blocker, other.get());
    EXPECT_TRUE(area.TestActors(*mover, nullptr, 15.51, 14.0));
    // The moving actor never blocks itself, dead or alive others always do.
    EXPECT_TRUE(area.TestActors(*mover, nullptr, mover->GetX(), mover->GetY()));
    other->SetActionState(ACTION_DEAD);
    EXPECT_FALSE(area.TestActors(*mover, nullptr, 15.0, 14.0));
}

// Wherever an actor goes, by whatever way, the collision test finds it there and
// only there, and of two it touches at once it names the first in the area's order.
// Actors a and b overlap round (20.75, 20); c stands west of a bucket's edge at x = 10.
TEST(AreaCollision, TheActorTestFindsEachActorWhereItNowStands) {
    struct Scene {
        CArea first;
        std::unique_ptr<CArea> second = std::make_unique<CArea>();
        std::shared_ptr<CActor> a = MakeActor(20.0, 20.0, 1.0);
        std::shared_ptr<CActor> b = MakeActor(21.5, 20.0, 1.0);
        std::shared_ptr<CActor> c = MakeActor(8.0, 80.0, 1.0);
    };
    struct Case {
        const char* what;
        std::function<void(Scene&)> change;
        bool inSecond;
        double x, y;
        const char* found;  // "a", "b", "c" or "" for nobody
    };
    const std::vector<Case> cases = {
        {"nothing changed: the first in order", [](Scene&) {}, false, 20.75, 20.0, "a"},
        {"a left and came back last", [](Scene& s) { s.first.AddActor(s.first.RemoveActor(*s.a)); }, false, 20.75,
         20.0, "b"},
        {"a stepped away: not where it stood", [](Scene& s) { s.a->FinalizeMove(50.0, 50.0); }, false, 19.0, 20.0,
         ""},
        {"a stepped away: where it went", [](Scene& s) { s.a->FinalizeMove(50.0, 50.0); }, false, 50.5, 50.0, "a"},
        {"a was put across the area", [](Scene& s) { s.a->SetPosition(95.0, 5.0); }, false, 95.0, 5.5, "a"},
        {"a was put off the grid, still found", [](Scene& s) { s.a->SetPosition(-30.0, 130.0); }, false, -30.0,
         130.5, "a"},
        {"a was taken out of the area", [](Scene& s) { s.first.RemoveActor(*s.a); }, false, 19.0, 20.0, ""},
        {"c out of reach of a point past the bucket's edge", [](Scene&) {}, false, 10.5, 80.0, ""},
        {"c grew to reach it", [](Scene& s) { s.c->SetRadius(3.0); }, false, 10.5, 80.0, "c"},
        {"a went to another area: gone from the first",
         [](Scene& s) {
             s.second->AddActor(s.first.RemoveActor(*s.a));
             s.a->SetPosition(60.0, 60.0);
         },
         false, 60.0, 60.0, ""},
        {"a went to another area: found there as it moves on",
         [](Scene& s) {
             s.second->AddActor(s.first.RemoveActor(*s.a));
             s.a->SetPosition(60.0, 60.0);
         },
         true, 60.0, 60.0, "a"},
        {"a outlived the other area and moves on",
         [](Scene& s) {
             s.second->AddActor(s.first.RemoveActor(*s.a));
             s.second.reset();
             s.a->SetPosition(60.0, 60.0);
         },
         false, 60.0, 60.0, ""},
    };
    for (const Case& test : cases) {
        Scene scene;
        ReadText(scene.first, AreaText(Grid(40, 40)));
        for (const auto& actor : {scene.a, scene.b, scene.c}) scene.first.AddActor(actor);
        test.change(scene);
        const auto mover = MakeActor(0.0, 0.0, 0.5);
        CThing* blocker = nullptr;
        const CArea& area = test.inSecond ? *scene.second : scene.first;
        const bool free = area.TestActors(*mover, &blocker, test.x, test.y);
        std::string found;
        if (!free) found = blocker == scene.a.get() ? "a" : blocker == scene.b.get() ? "b" : "c";
        EXPECT_EQ(found, test.found) << test.what;
        // Looked up by id, each actor is found in the area whose list holds it.
        for (const auto& actor : {scene.a, scene.b, scene.c}) {
            const auto& listed = scene.first.GetActors();
            const bool held = std::find(listed.begin(), listed.end(), actor) != listed.end();
            EXPECT_EQ(scene.first.FindActor(actor->GetId()), held ? actor.get() : nullptr) << test.what;
        }
    }
}

TEST(AreaCollision, DoorsBlockWhileClosed) {
    CArea area;
    ReadText(area, AreaText(Grid(3, 1, 1, 0, "( boathouse_door n )")));
    const auto actor = MakeActor(1.25, 1.25, 0.5);
    CMasterTileDoor* door = area.GetTile(1, 0)->GetDoor();
    EXPECT_FALSE(area.TestTiles(*actor, nullptr, 3.75, 1.25));
    EXPECT_FALSE(area.TestTileLine(*actor, false, 6.25, 1.25));
    door->SetOpen(true);
    EXPECT_TRUE(area.TestTiles(*actor, nullptr, 3.75, 1.25));
    EXPECT_TRUE(area.TestTileLine(*actor, false, 6.25, 1.25));
}

TEST(AreaCollision, LinesStopAtWallsAndWithTheFlagAtEmptyCells) {
    CArea area;
    ReadText(area, AreaText(Grid(5, 5, 2, 2, "( river_channel n )")));
    const auto actor = MakeActor(1.25, 6.25, 0.5);
    EXPECT_TRUE(area.TestTileLine(*actor, false, 11.25, 6.25));
    EXPECT_FALSE(area.TestTileLine(*actor, true, 11.25, 6.25));
    // A diagonal passing the channel's corner cell row.
    EXPECT_FALSE(area.TestTileLine(*actor, true, 11.0, 7.0));
    // Straight down one column reads only that column.
    EXPECT_TRUE(area.TestTileLine(*MakeActor(6.5, 1.0, 0.5), false, 6.5, 11.0));
    EXPECT_FALSE(area.TestTileLine(*MakeActor(6.5, 1.0, 0.5), true, 6.5, 11.0));
    EXPECT_TRUE(area.TestTileLine(*MakeActor(3.0, 1.0, 0.5), true, 3.0, 11.0));
    // Ends outside the grid never read outside it: they block.
    EXPECT_FALSE(area.TestTileLine(*actor, false, -1.0, 6.25));
    EXPECT_FALSE(area.TestTileLine(*actor, false, 1.25, 400.0));
    EXPECT_FALSE(area.TestTileLine(*MakeActor(-5.0, -5.0, 0.5), false, 1.25, 1.25));
    EXPECT_FALSE(area.TestTileColumn(7, 0, 1, false));
    EXPECT_FALSE(area.TestTileColumn(0, 3, 9, false));
    EXPECT_TRUE(area.TestTileColumn(0, 3, 2, false));
}

TEST(AreaCollision, ObjectLinesCrossSolidFootprintsOnly) {
    CArea area;
    ReadText(area, AreaText(Grid(8, 8), "<object> boatwright_safe ( 10 10 ) n 0 </object> "
                                        "<object> eel_basket ( 10 5 ) n 0 </object>"));
    const auto actor = MakeActor(5.0, 10.0, 0.5);
    EXPECT_FALSE(area.TestObjectLine(*actor, 15.0, 10.0));
    EXPECT_FALSE(area.TestObjectLine(*actor, 15.0, 10.5));  // crosses an edge at its end
    EXPECT_TRUE(area.TestObjectLine(*actor, 15.0, 12.0));
    // The basket lies on the floor and stops nothing.
    EXPECT_TRUE(area.TestObjectLine(*MakeActor(5.0, 5.0, 0.5), 15.0, 5.0));
    // A segment wholly inside the footprint crosses no edge.
    EXPECT_TRUE(area.TestObjectLine(*MakeActor(9.8, 9.8, 0.5), 10.2, 10.2));

    EXPECT_FALSE(area.CanReachPoint(*actor, 15.0, 10.0, 20.0, 0.0, false));
    EXPECT_TRUE(area.CanReachPoint(*actor, 5.0, 15.0, 4.5, 0.0, false));
    EXPECT_FALSE(area.CanReachPoint(*actor, 5.0, 15.0, 4.4, 0.0, false));
    const auto target = MakeActor(5.0, 16.0, 0.5);
    EXPECT_TRUE(area.CanReachActor(*actor, *target, 5.0));
    EXPECT_FALSE(area.CanReachActor(*actor, *target, 4.9));
}

TEST(AreaPlacement, PlacesOnTheCellCentreOrSearchesOutward) {
    CArea area;
    ReadText(area, AreaText(Grid(30, 30)));
    const auto first = MakeActor(0, 0, 0.5);
    ASSERT_TRUE(area.PlaceActor(15, 15, false, first));
    EXPECT_DOUBLE_EQ(first->GetX(), 38.75);
    EXPECT_DOUBLE_EQ(first->GetY(), 38.75);
    EXPECT_EQ(first->GetArea(), &area);

    // A giant on the cell: five rings are not enough, a wide search is.
    first->SetRadius(20.0);
    const auto second = MakeActor(0, 0, 0.5);
    EXPECT_FALSE(area.PlaceActor(15, 15, false, second));
    EXPECT_EQ(area.GetActors().size(), 1u);
    ASSERT_TRUE(area.PlaceActor(15, 15, true, second));
    EXPECT_EQ(area.GetActors().back(), second);
    EXPECT_GT(std::hypot(second->GetX() - 38.75, second->GetY() - 38.75), 20.5);
    EXPECT_TRUE(area.CanMoveTo(*second, nullptr, second->GetX(), second->GetY()));
}

TEST(AreaPlacement, ActorsInAClosingDoorwayAreMovedAside) {
    CArea area;
    ReadText(area, AreaText(Grid(5, 3, 2, 1, "( boathouse_door n )")));
    CMasterTileDoor* door = area.GetTile(2, 1)->GetDoor();
    door->SetOpen(true);
    const auto inDoorway = MakeActor(6.25, 3.75, 0.5);
    const auto aside = MakeActor(1.25, 1.25, 0.5);
    area.AddActor(inDoorway);
    area.AddActor(aside);
    door->SetOpen(false);
    area.ReplaceBlockedActors();
    ASSERT_EQ(area.GetActors().size(), 2u);
    EXPECT_EQ(area.GetActors().front(), aside);
    EXPECT_EQ(area.GetActors().back(), inDoorway);
    EXPECT_TRUE(area.CanMoveTo(*inDoorway, nullptr, inDoorway->GetX(), inDoorway->GetY()));
}

// A door shut on the one cell there is: an actor without a spot leaves the area,
// but a party member stays where it stands, so the party can still leave.
TEST(AreaPlacement, APartyMemberWithoutASpotStaysInTheArea) {
    CArea area;
    ReadText(area, AreaText(Grid(1, 1, 0, 0, "( boathouse_door n )")));
    CMasterTileDoor* door = area.GetTile(0, 0)->GetDoor();
    door->SetOpen(true);
    const auto stranger = MakeActor(1.25, 1.25, 0.5);
    stranger->SetRelation(RELATION_HOSTILE);
    const auto member = MakeActor(1.25, 1.25, 0.5);
    member->SetRelation(RELATION_PARTY);
    area.AddActor(stranger);
    area.AddActor(member);
    door->SetOpen(false);
    area.ReplaceBlockedActors();
    ASSERT_EQ(area.GetActors().size(), 1u);
    EXPECT_EQ(area.GetActors().front(), member);
    EXPECT_EQ(member->GetX(), 1.25);
    EXPECT_EQ(area.RemoveActor(*member), member);  // as leaving the area takes it
}

TEST(AreaQueries, ExitMarkersShowOnceTheirTagIsSet) {
    CGame game;
    CArea area(&game);
    area.LoadAreaFile("", "reedwater_landing", SampleModule(), AREA_LOAD_FRESH, false);
    const CObject* lane = area.FindObjectAt("exit", 0, 9);
    const CObject* trail = area.FindObjectAt("exit", 15, 4);
    ASSERT_TRUE(lane && trail);
    EXPECT_FALSE(area.IsObjectSeen(*lane));
    area.GetSeenCells().Set(0, 9, true);
    area.GetSeenCells().Set(15, 4, true);
    EXPECT_TRUE(area.IsObjectSeen(*lane));
    EXPECT_FALSE(area.IsObjectSeen(*trail));
    game.GetQuestTags()["smugglers_seen"] = 1;
    EXPECT_TRUE(area.IsObjectSeen(*trail));
}

TEST(AreaQueries, SoundsPlayOnTheirEdgesObjectsFirst) {
    CArea area;
    area.LoadAreaFile("", "reedwater_landing", SampleModule(), AREA_LOAD_FRESH, false);
    std::string sound;
    // The fountain at (18.75, 16.25) is heard 7.5 units out.
    ASSERT_TRUE(area.FindObjectSoundAt(26.25, 16.25, sound));
    EXPECT_EQ(sound, "water_trickle.mp3");
    ASSERT_TRUE(area.FindObjectSoundAt(30.0, 7.5, sound));
    EXPECT_EQ(sound, "river_flow.mp3");
    ASSERT_TRUE(area.FindObjectSoundAt(30.0, 30.0, sound));
    EXPECT_EQ(sound, "reed_wind.mp3");
}

TEST(AreaQueries, DoorCellsAreCollectedAndRecordedByCell) {
    CArea area;
    const std::string door = " ( boathouse_door n )";
    ReadText(area, AreaText("( 5 2 ) <row> " + kFloor + door + door + door + " " + kFloor + " </row> " +
                            Row(kFloor, 5)));
    std::vector<CTile*> tiles;
    area.CollectDoorTiles(*area.GetTile(2, 0), tiles);
    EXPECT_EQ(tiles, (std::vector<CTile*>{area.GetTile(2, 0), area.GetTile(1, 0), area.GetTile(3, 0)}));

    area.AddOpenDoor(*area.GetTile(3, 0));
    area.RemoveOpenDoor(*area.GetTile(2, 0));
    ASSERT_EQ(area.GetOpenDoors().size(), 1u);
    EXPECT_EQ(area.GetOpenDoors().front()->column, 3u);
    area.RemoveOpenDoor(*area.GetTile(3, 0));
    EXPECT_TRUE(area.GetOpenDoors().empty());
}
