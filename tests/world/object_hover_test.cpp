// What the pointer shows over an object: containers by their lock and contents,
// exit markers, conversation partners and signposts.

#include <gtest/gtest.h>

#include "object_test_support.h"
#include "world/object.h"
#include "world/object_hover.h"

using namespace DRAV;
using WorldTest::DefinitionFrom;
using WorldTest::LooseItem;

TEST(ObjectHover, ContainerShowsLockedBeforeEmpty) {
    auto definition = DefinitionFrom("<object> chest \"Chest\" g solid 1 1 1 container </object>");
    CObject chest(0x02000001, nullptr, "chest", *definition);
    EXPECT_EQ(GetObjectHoverText(chest), "Container (Empty)");
    chest.AddItem(LooseItem(0x05000001));
    EXPECT_EQ(GetObjectHoverText(chest), "Container");

    chest.SetLockValue(5);
    EXPECT_EQ(GetObjectHoverText(chest), "Container (Locked)");
    chest.RemoveItem(chest.GetItems()[0]);
    EXPECT_EQ(GetObjectHoverText(chest), "Container (Locked)");
    chest.SetUnlocked(true);
    EXPECT_EQ(GetObjectHoverText(chest), "Container (Empty)");
}

TEST(ObjectHover, OtherObjectsShowExitTalkOrSign) {
    auto exitDefinition = DefinitionFrom(
        "<object> exit \"Way Out\" g floor 1 1 0 <talk> <state> s <lua> return 0 </lua> </state> </talk> </object>");
    CObject marker(0x02000002, nullptr, "", *exitDefinition);
    EXPECT_EQ(GetObjectHoverText(marker), "Click for Action");
    marker.SetExit("to_ferry", "To the Ferry");
    EXPECT_EQ(GetObjectHoverText(marker), "To the Ferry");

    auto sign = DefinitionFrom(
        "<object> sign <name> \"Signpost\" \"Reedwater Landing\" </name> g solid 1 1 2 signpost </object>");
    CObject post(0x02000003, nullptr, "sign", *sign);
    EXPECT_EQ(GetObjectHoverText(post), "Reedwater Landing");
    post.SetExit("to_ferry", "To the Ferry");
    EXPECT_EQ(GetObjectHoverText(post), "To the Ferry");

    // A sign text without the signpost flag is not shown.
    auto plain = DefinitionFrom("<object> stone <name> \"Stone\" \"Carved\" </name> g solid 1 1 1 </object>");
    CObject stone(0x02000004, nullptr, "stone", *plain);
    EXPECT_EQ(GetObjectHoverText(stone), "");
}
