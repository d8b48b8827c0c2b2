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
    struct Case {
        const char* definition;
        const char* beforeExit;
    };
    const Case cases[] = {
        {"<object> exit \"Way Out\" g floor 1 1 0 <talk> <state> s <lua> return 0 </lua> </state> </talk> </object>",
         "Click for Action"},
        {"<object> sign <name> \"Signpost\" \"Reedwater Landing\" </name> g solid 1 1 2 signpost </object>",
         "Reedwater Landing"},
    };
    for (const Case& sample : cases) {
        auto definition = DefinitionFrom(sample.definition);
        CObject object(0x02000002, nullptr, "", *definition);
        EXPECT_EQ(GetObjectHoverText(object), sample.beforeExit);
        // Marking it as an exit puts the exit text first.
        object.SetExit("to_ferry", "To the Ferry");
        EXPECT_EQ(GetObjectHoverText(object), "To the Ferry");
    }

    // A sign text without the signpost flag is not shown.
    auto plain = DefinitionFrom("<object> stone <name> \"Stone\" \"Carved\" </name> g solid 1 1 1 </object>");
    CObject stone(0x02000004, nullptr, "stone", *plain);
    EXPECT_EQ(GetObjectHoverText(stone), "");
}
