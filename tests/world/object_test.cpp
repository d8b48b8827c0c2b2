// Placed objects: their own trap copies and replies, the items they hold, the
// footprint distance for every facing, and their graphic handle.

#include <gtest/gtest.h>

#include <cmath>
#include <memory>

#include "object_test_support.h"
#include "support/error_code.h"
#include "world/object.h"

using namespace DRAV;
using QuillmereTest::ErrorCodeOf;
using WorldTest::DefinitionFrom;
using WorldTest::LooseItem;

namespace {

const char kStatue[] =
    "<object> statue \"Heron Statue\" g solid 1 1 3 "
    "<talk> <state> greet <lua> return 0 </lua> </state> <state> riddle <lua> return 0 </lua> </state> </talk> "
    "<trap> true 12 2 marsh_sting 30 </trap> </object>";

}  // namespace

TEST(Object, ObjectsOfOneDefinitionShareStatesButNotRepliesOrTraps) {
    auto definition = DefinitionFrom(kStatue);
    CObject first(0x02000001, nullptr, "north_heron", *definition);
    CObject second(0x02000002, nullptr, "south_heron", *definition);

    EXPECT_EQ(first.GetId(), 0x02000001u);
    EXPECT_EQ(first.GetObjectName(), "north_heron");
    EXPECT_EQ(first.GetName(), "Heron Statue");
    EXPECT_EQ(second.GetName(), first.GetName());
    EXPECT_EQ(&first.GetTalkStates(), &second.GetTalkStates());
    EXPECT_EQ(first.GetStartStateName(), "greet");

    first.AddTalkChoice(std::make_shared<CTalkChoice>("Ask about the river", "riddle"));
    ASSERT_EQ(first.GetTalkChoices().size(), 1u);
    EXPECT_EQ(first.GetTalkChoices()[0]->GetTargetState(), "riddle");
    EXPECT_TRUE(second.GetTalkChoices().empty());
    first.ClearTalkChoices();
    EXPECT_TRUE(first.GetTalkChoices().empty());

    ASSERT_NE(first.GetTrap(), nullptr);
    EXPECT_NE(first.GetTrap(), definition->GetTrap());
    EXPECT_NE(first.GetTrap(), second.GetTrap());
    first.GetTrap()->SetHidden(false);
    first.GetTrap()->SetReadyTick(900);
    EXPECT_TRUE(second.GetTrap()->IsHidden());
    EXPECT_TRUE(definition->GetTrap()->IsHidden());
    EXPECT_EQ(second.GetTrap()->GetSpellKey(), "marsh_sting");
}

TEST(Object, FreshObjectHasNoLockExitItemsOrTrapOfItsOwn) {
    auto definition = DefinitionFrom("<object> post \"Post\" 0 solid 1 1 1 </object>");
    CObject post(0x02000003, nullptr, "", *definition);
    EXPECT_EQ(post.GetTrap(), nullptr);
    EXPECT_FALSE(post.IsExit());
    EXPECT_FALSE(post.IsUnlocked());
    EXPECT_FALSE(post.IsLocked());
    EXPECT_TRUE(post.GetItems().empty());
    EXPECT_EQ(post.GetStartStateName(), "");
    EXPECT_EQ(post.GetGraphic().graphic, nullptr);
}

TEST(Object, RemoveItemTakesThatItemAndKeepsTheOrder) {
    auto definition = DefinitionFrom("<object> chest \"Chest\" g solid 1 1 1 container </object>");
    CObject chest(0x02000004, nullptr, "chest", *definition);
    auto rope = LooseItem(0x05000001), lamp = LooseItem(0x05000002), hook = LooseItem(0x05000003);
    for (const auto& item : {rope, lamp, hook}) chest.AddItem(item);
    EXPECT_EQ(rope->GetHolder(), &chest);

    EXPECT_EQ(chest.RemoveItem(lamp), lamp);
    EXPECT_EQ(chest.GetItems(), (ItemPtrList{rope, hook}));

    // An item the object does not hold, even one with the same id, leaves it unchanged.
    auto stranger = LooseItem(0x05000001);
    EXPECT_EQ(ErrorCodeOf([&] { chest.RemoveItem(stranger); }), 2);
    EXPECT_EQ(ErrorCodeOf([&] { chest.RemoveItem(lamp); }), 2);
    EXPECT_EQ(ErrorCodeOf([&] { chest.RemoveItem(nullptr); }), 2);
    EXPECT_EQ(chest.GetItems(), (ItemPtrList{rope, hook}));

    // The list handed out is a copy.
    ItemPtrList copy = chest.GetItems();
    copy.clear();
    EXPECT_EQ(chest.GetItems().size(), 2u);
}

TEST(Object, DistanceIsMeasuredToTheTurnedFootprint) {
    // Width 4 along x and depth 2 along y when facing north or south.
    auto definition = DefinitionFrom("<object> boat \"Skiff\" g solid 4 2 1 </object>");
    CObject boat(0x02000005, nullptr, "skiff", *definition);
    boat.SetPosition(10.0, 20.0);

    for (Direction facing : {DIR_NORTH, DIR_SOUTH}) {
        boat.SetFacing(facing);
        EXPECT_DOUBLE_EQ(boat.DistanceTo(10.0, 20.0), 0.0);
        EXPECT_DOUBLE_EQ(boat.DistanceTo(12.0, 21.0), 0.0);  // on the corner
        EXPECT_DOUBLE_EQ(boat.DistanceTo(15.0, 20.0), 3.0);
        EXPECT_DOUBLE_EQ(boat.DistanceTo(5.0, 20.0), 3.0);
        EXPECT_DOUBLE_EQ(boat.DistanceTo(10.0, 24.0), 3.0);
        EXPECT_DOUBLE_EQ(boat.DistanceTo(15.0, 25.0), 5.0);  // 3 and 4 beyond the corner
    }
    for (Direction facing : {DIR_EAST, DIR_WEST, DIR_NONE}) {
        boat.SetFacing(facing);
        EXPECT_DOUBLE_EQ(boat.DistanceTo(10.0, 20.0), 0.0) << facing;
        EXPECT_DOUBLE_EQ(boat.DistanceTo(14.0, 20.0), 3.0) << facing;  // depth 2 along x
        EXPECT_DOUBLE_EQ(boat.DistanceTo(10.0, 22.0), 0.0) << facing;  // width 4 along y
        EXPECT_DOUBLE_EQ(boat.DistanceTo(10.0, 15.0), 3.0) << facing;
        EXPECT_DOUBLE_EQ(boat.DistanceTo(7.0, 24.0), std::sqrt(8.0)) << facing;
    }
}

TEST(Object, SetGraphicReplacesAndReleasesTheHandle) {
    auto definition = DefinitionFrom("<object> chest \"Chest\" g solid 1 1 1 </object>");
    CObject chest(0x02000006, nullptr, "chest", *definition);
    std::shared_ptr<int> payload = std::make_shared<int>(7);
    auto graphic = std::shared_ptr<DRAVGraph::CGraphic>(payload, reinterpret_cast<DRAVGraph::CGraphic*>(payload.get()));
    chest.SetGraphic(42, graphic);
    EXPECT_EQ(chest.GetGraphic().id, 42);
    EXPECT_EQ(chest.GetGraphic().graphic, graphic);
    graphic.reset();
    EXPECT_EQ(payload.use_count(), 2);  // the test's own and the object's
    chest.SetGraphic(0, nullptr);
    EXPECT_EQ(payload.use_count(), 1);
    EXPECT_EQ(chest.GetGraphic().graphic, nullptr);
}
