// Live items: what their template says of them, and finding them in a list.

#include <gtest/gtest.h>

#include <memory>

#include "rules/items/item_test_util.h"
#include "support/error_code.h"
#include "world/game.h"
#include "world/item.h"

using namespace DRAV;
using ItemsTest::ItemText;
using ItemsTest::OneSpell;
using ItemsTest::ReadTemplate;
using QuillmereTest::ErrorCodeOf;

TEST(Item, WandTargetTypeComesFromTheSpellOfAWandOnly) {
    const SpellMap spells = OneSpell("spark", "energy_magic", 1, "tiletarget");
    auto wand = ReadTemplate(ItemText("w", "wand", 10, "<spell> spark </spell>"), spells);
    auto potion = ReadTemplate(ItemText("p", "potion", 10, "<spell> spark </spell>"), spells);
    auto empty = ReadTemplate(ItemText("e", "wand", 10));
    EXPECT_EQ(CItem(1, *wand, 1, 0).GetWandTargetType(), SPELL_TARGET_TILE);
    EXPECT_EQ(CItem(2, *potion, 1, 0).GetWandTargetType(), SPELL_TARGET_SELF);
    EXPECT_EQ(ErrorCodeOf([&] { CItem(3, *empty, 1, 0).GetWandTargetType(); }), DRAV_ERR_BAD_DATA);
    EXPECT_NE(CItem(2, *potion, 1, 0).GetAttribute(ITEMATTR_SPELL), nullptr);
    EXPECT_EQ(CItem(2, *potion, 1, 0).GetAttribute(ITEMATTR_WEAPON), nullptr);
}

TEST(Item, FindingItemsInAList) {
    auto rope = ReadTemplate(ItemText("rope", "misc", 1));
    auto oar = ReadTemplate(ItemText("oar", "misc", 1));
    ItemPtrList items;
    EXPECT_EQ(FindItemById(items, 5), nullptr);
    EXPECT_EQ(FindItemByTemplateName(items, "rope"), nullptr);

    CGame game;
    for (const auto* itemTemplate : {rope.get(), oar.get(), rope.get()})
        items.push_back(std::make_shared<CItem>(game.NewThingId(THING_ITEM), *itemTemplate, 1, 0));
    EXPECT_EQ(FindItemByTemplateName(items, "rope"), items[0].get());
    EXPECT_EQ(FindItemByTemplateName(items, "oar"), items[1].get());
    EXPECT_EQ(FindItemByTemplateName(items, "Rope"), nullptr);
    EXPECT_EQ(FindItemById(items, items[2]->GetId()), items[2].get());
    EXPECT_EQ(FindItemById(items, 0x05000099u), nullptr);
}

TEST(Game, ThingIdsOfANewGameStartAtOneAndNeverRepeat) {
    CGame game;
    EXPECT_EQ(game.GetThingSerialCounter(), 1u);
    EXPECT_EQ(game.NewThingId(THING_ITEM), 0x05000001u);
    EXPECT_EQ(game.NewThingId(THING_ACTOR), 0x03000002u);
    EXPECT_EQ(ErrorCodeOf([&] { game.NewThingId(300); }), DRAV_ERR_OUT_OF_RANGE);
    EXPECT_EQ(game.NewThingId(THING_OBJECT), 0x02000004u);
    // Each game counts on its own.
    EXPECT_EQ(CGame().NewThingId(THING_ITEM), 0x05000001u);
}
