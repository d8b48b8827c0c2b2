// Leaving an area and coming back: what the inactive area keeps, the respawn
// threshold, and patches fired by tags and applied again on rebuilds.

#include <gtest/gtest.h>

#include <sstream>

#include "common/data_file_reader.h"
#include "support/expect_drav.h"
#include "world/area/object_records.h"
#include "world/area/area_test_support.h"

using namespace DRAV;
using AreaTest::MakeActor;
using AreaTest::SampleModule;

namespace {

class AreaLifecycle : public ::testing::Test {
protected:
    void SetUp() override {
        m_game.SetTick(1000);
        m_area.LoadAreaFile("", "reedwater_landing", SampleModule(), AREA_LOAD_FRESH, false);
        // Only the fallen actor below counts here, not the goblins of the lane or
        // the landing's people.
        for (const auto& encounter : m_area.GetEncounters()) m_area.ClearEncounter(encounter.name);
        // The party opened the boathouse door; someone fell on the landing.
        CTile& door = *m_area.GetTile(10, 8);
        door.GetDoor()->SetOpen(true);
        door.GetDoor()->SetLockValue(0);
        m_area.AddOpenDoor(door);
        m_area.AddActor(MakeActor(12.0, 12.0, 0.5, ACTION_DEAD));
    }

    // Leaves at the current tick and returns `away` ticks later.
    // Back by a way that takes no hours of its own, as a wake brings the party:
    // only the time away counts towards the respawn.
    void LeaveAndReturn(std::uint32_t away) {
        m_area.MakeInactive();
        m_game.SetTick(m_game.GetTick() + away);
        m_area.Reactivate("", SampleModule());
    }

    CGame m_game;
    CArea m_area{&m_game};
};

}  // namespace

// In an area of bare floor, a pile dropped and taken up again leaves nothing to
// come back: the last object gone empties the records, which only an inactive
// area keeps as they are.
TEST(AreaItemStacks, ATakenPileInAnAreaWithoutObjectsStaysGone) {
    CGame game;
    CArea area(&game);
    AreaTest::ReadText(area, AreaTest::AreaText("( 4 2 ) " + AreaTest::Row("( plank_floor n )", 4) + " " +
                                                AreaTest::Row("( plank_floor n )", 4)));
    const auto pile = area.DropItem(SampleModule(), 3.75, 1.25);
    const auto pie = SampleModule().CreateItem("eel_pie", 2, game.NewThingId(THING_ITEM), 0);
    pile->AddItem(pie);
    area.CaptureItemStacks();  // as a save does
    ASSERT_EQ(area.GetItemStacks().size(), 1u);

    pile->RemoveItem(pie);
    area.RemoveObject(*pile);
    ASSERT_TRUE(area.GetObjects().empty());
    area.CaptureItemStacks();
    EXPECT_TRUE(area.GetItemStacks().empty());

    // An inactive area has no objects either, and keeps what it recorded.
    const auto again = area.DropItem(SampleModule(), 3.75, 1.25);
    again->AddItem(SampleModule().CreateItem("eel_pie", 1, game.NewThingId(THING_ITEM), 0));
    area.MakeInactive();
    ASSERT_EQ(area.GetItemStacks().size(), 1u);
    area.CaptureItemStacks();
    area.CaptureLocksAndTraps();
    EXPECT_EQ(area.GetItemStacks().size(), 1u);
}

// A saved pile reads back no count a stack cannot hold: it would be negative.
TEST(AreaItemStacks, ASavedCountPastTheLargestStackIsRefused) {
    auto read = [](const std::string& count) {
        DRAVCommon::CDataFileReader reader(
            std::make_shared<std::istringstream>("<stack> pile 3 1 ( eel_pie " + count + " 0 ) </stack>"), "save");
        return CObjectItemStack(reader, nullptr, SampleModule());
    };
    EXPECT_EQ(read("2147483647").items.at(0)->GetCount(), 2147483647);
    EXPECT_DRAV_CODE(read("2147483648"), DRAV_ERR_BAD_DATA);
    EXPECT_DRAV_CODE(read("4294967295"), DRAV_ERR_BAD_DATA);
}

TEST_F(AreaLifecycle, InactiveAreaKeepsActorsDoorsAndAmbienceOnly) {
    m_area.MakeInactive();
    EXPECT_EQ(m_area.GetColumns(), 0u);
    EXPECT_EQ(m_area.GetTile(0, 0), nullptr);
    EXPECT_TRUE(m_area.GetMasterTiles().empty());
    EXPECT_TRUE(m_area.GetObjects().empty());
    EXPECT_TRUE(m_area.GetEntries().empty());
    EXPECT_TRUE(m_area.GetExits().empty());
    EXPECT_EQ(m_area.GetLeaveTick(), 1000u);
    EXPECT_EQ(m_area.GetActors().size(), 1u);
    EXPECT_EQ(m_area.GetOpenDoors().size(), 2u);
    EXPECT_EQ(m_area.GetSkies().size(), 1u);
    EXPECT_EQ(m_area.GetSounds().size(), 2u);
}

TEST_F(AreaLifecycle, ReturningBeforeTheRespawnRebuildsWithTheKeptDoors) {
    LeaveAndReturn(kAreaRespawnTicks - 1);
    EXPECT_EQ(m_area.GetColumns(), 16u);
    EXPECT_EQ(m_area.GetObjects().size(), 14u);
    EXPECT_EQ(m_area.GetEntries().size(), 4u);
    // Skies and sounds are kept, not read twice.
    EXPECT_EQ(m_area.GetSkies().size(), 1u);
    EXPECT_EQ(m_area.GetSounds().size(), 2u);
    EXPECT_TRUE(m_area.GetTile(10, 8)->GetDoor()->IsOpen());
    EXPECT_TRUE(m_area.GetTile(15, 8)->GetDoor()->IsOpen());
    EXPECT_EQ(m_area.GetOpenDoors().size(), 2u);
    EXPECT_EQ(m_area.GetActors().front()->GetActionState(), ACTION_DEAD);
}

TEST_F(AreaLifecycle, ReturningAtTheRespawnResetsDoorsAndRaisesActors) {
    LeaveAndReturn(kAreaRespawnTicks);
    // The sluice gate resets; the boathouse door stays open and unlocked.
    EXPECT_FALSE(m_area.GetTile(15, 8)->GetDoor()->IsOpen());
    ASSERT_EQ(m_area.GetOpenDoors().size(), 1u);
    EXPECT_TRUE(m_area.GetTile(10, 8)->GetDoor()->IsOpen());
    EXPECT_EQ(m_area.GetTile(10, 8)->GetDoor()->GetLockValue(), 0u);
    EXPECT_EQ(m_area.GetActors().front()->GetActionState(), ACTION_IDLE);
}

TEST_F(AreaLifecycle, OpenDoorRecordOnACellWithoutADoorIsCodeTwo) {
    m_area.MakeInactive();
    m_area.GetOpenDoors().push_back(std::make_shared<CAreaOpenDoor>(CAreaOpenDoor{5, 5}));
    EXPECT_DRAV_CODE(m_area.Reactivate("", SampleModule()), 2);
}

TEST_F(AreaLifecycle, TagPatchesFireOnceAndComeBackOnRebuilds) {
    const auto boatPatch = [] {
        DRAVCommon::CDataFileReader reader(
            QuillmereTest::TextStream("<object> ( tackle_chest found_boat ) ( 20 20 ) n 0 <items> ( gold 5 ) </items> </object>"),
            "patch.drav");
        PatchActionList actions{std::make_shared<CPatchActionObject>(reader, SampleModule())};
        return std::make_shared<CPatch>("boat_found", "ferry_fare", actions);
    };
    const auto boats = [&] {
        int count = 0;
        for (const auto& object : m_area.GetObjects()) count += object->GetObjectName() == "found_boat";
        return count;
    };

    m_area.GetPatches().push_back(boatPatch());
    m_area.TriggerTagPatches("ferry_crossed", SampleModule());
    EXPECT_EQ(boats(), 0);
    m_area.TriggerTagPatches("ferry_fare", SampleModule());
    m_area.TriggerTagPatches("ferry_fare", SampleModule());
    EXPECT_EQ(boats(), 1);
    EXPECT_EQ(m_area.GetFiredPatches(), FiredPatchList{"boat_found"});

    // Rebuilt from the file, the fired patch is applied again. The patch is the
    // test's own, not the file's, so the test hands the rebuilt area it again.
    m_game.GetQuestTags()["ferry_fare"] = 1;
    m_area.MakeInactive();
    m_area.GetPatches().push_back(boatPatch());
    m_area.LinkPatches(SampleModule(), AREA_LOAD_REACTIVATE, false);
    EXPECT_EQ(boats(), 1);
    // Applied again, the object comes back without making its items twice.
    for (const auto& object : m_area.GetObjects())
        if (object->GetObjectName() == "found_boat") {
            EXPECT_TRUE(object->GetItems().empty());
        }

    // A respawn forgets a fired patch whose tag was cleared.
    m_game.GetQuestTags()["ferry_fare"] = 0;
    m_area.LinkPatches(SampleModule(), AREA_LOAD_REACTIVATE, true);
    EXPECT_TRUE(m_area.GetFiredPatches().empty());
}

TEST_F(AreaLifecycle, ThingsAreFoundAndRemovedByIdentity) {
    const auto actor = m_area.GetActors().front();
    EXPECT_EQ(m_area.FindActor(actor->GetId()), actor.get());
    const auto strayActor = MakeActor(1, 1, 0.5);
    EXPECT_DRAV_CODE(m_area.RemoveActor(*strayActor), 2);
    EXPECT_EQ(m_area.RemoveActor(*actor), actor);
    EXPECT_TRUE(m_area.GetActors().empty());

    const auto objects = m_area.GetObjects();
    EXPECT_EQ(m_area.FindObject(objects[2]->GetId()), objects[2].get());
    m_area.RemoveObject(*objects[2]);
    EXPECT_EQ(m_area.FindObject(objects[2]->GetId()), nullptr);
    EXPECT_DRAV_CODE(m_area.RemoveObject(*objects[2]), 2);
    EXPECT_EQ(m_area.GetObjects().size(), objects.size() - 1);
}
