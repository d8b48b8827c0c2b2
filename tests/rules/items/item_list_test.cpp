#include <gtest/gtest.h>

#include <map>

#include "common/random.h"
#include "rules/items/item_file.h"
#include "rules/items/item_list.h"
#include "rules/magic/magic_file.h"
#include "item_test_util.h"
#include "support/error_code.h"
#include "support/sample_module.h"

using namespace DRAV;
using ItemsTest::ItemText;
using ItemsTest::OneSpell;
using QuillmereTest::ErrorCodeOf;
using RulesTest::ExpectThrowsCode;
using RulesTest::ReaderOver;

namespace {

ItemTemplateMap Items(const std::string& definitions, const SpellMap& spells = {}) {
    ItemTemplateMap items;
    auto reader = ReaderOver("<items> " + definitions + " </items>");
    ParseItems(items, *reader, spells);
    return items;
}

ItemList ReadList(const std::string& text, const ItemTemplateMap& items = {}) {
    ItemList list;
    auto reader = ReaderOver(text + " end");
    ReadItemList(*reader, items, list);
    EXPECT_EQ(reader->GetToken(), "end") << text;
    return list;
}

// A shop's worth of normal templates: weapons, armour and potions from 5 to 5000 gold.
ItemTemplateMap Shop() {
    return Items(ItemText("axe_small", "weapon", 40, "normal <weapon> axe false 0 6 0 0 </weapon>") +
                 ItemText("blade_big", "weapon", 900, "normal <weapon> heavy_blade false 0 8 0 0 </weapon>") +
                 ItemText("blade_small", "weapon", 20, "normal <weapon> light_blade false 0 4 0 0 </weapon>") +
                 ItemText("coat", "armor", 60, "normal <armor> light_armor 2 0 0 0 </armor>") +
                 ItemText("plate", "armor", 5000, "normal <armor> heavy_armor 8 0 0 0 </armor>") +
                 ItemText("relic", "weapon", 50, "nogive <weapon> staff true 0 6 0 0 </weapon>") +
                 ItemText("tonic", "potion", 30, "normal") + ItemText("elixir", "potion", 400, "normal") +
                 ItemText("note", "scroll", 15, "normal") + ItemText("gold", "money", 1));
}

}  // namespace

TEST(ItemList, EveryEntryForm) {
    const ItemList list = ReadList("<items> <item> rope 3 </item> ( oar 2 ) lamp 0 net ( 0 5 ) </items>");
    EXPECT_EQ(list, (ItemList{{"rope", 3}, {"oar", 2}, {"lamp", 1}, {"net", 1}, {"", 5}}));
}

TEST(ItemList, MissingListLeavesTheListAlone) {
    ItemList list{{"kept", 1}};
    auto reader = ReaderOver("<other> </other>");
    ReadItemList(*reader, {}, list);
    EXPECT_EQ(list, (ItemList{{"kept", 1}}));
    EXPECT_TRUE(reader->IsBlock("other"));
    EXPECT_TRUE(ReadList("<items> </items>").empty());
}

TEST(ItemList, ALoneZeroBeforeTheEndReadsNothing) {
    EXPECT_EQ(ReadList("<items> rope 0 </items>"), (ItemList{{"rope", 1}}));
}

TEST(ItemList, MalformedLists) {
    EXPECT_EQ(ErrorCodeOf([] { ReadList("<items> <item> rope </item> </items>"); }), DRAV_ERR_BAD_DATA);
    EXPECT_EQ(ErrorCodeOf([] { ReadList("<items> ( rope -2 ) </items>"); }), DRAV_ERR_BAD_DATA);
    EXPECT_EQ(ErrorCodeOf([] { ReadList("<items> ( rope 2 3 ) </items>"); }), DRAV_ERR_BAD_DATA);
    ExpectThrowsCode([] { ReadList("<items> <crate> </crate> </items>"); }, DRAV_ERR_BAD_DATA, "crate");
    EXPECT_EQ(ErrorCodeOf([] { ReadList("<items> rope"); }), DRAV_ERR_BAD_DATA);
    EXPECT_EQ(ErrorCodeOf([] { ReadList("<items> <treasure> lots </treasure> </items>"); }), DRAV_ERR_BAD_DATA);
}

TEST(AutoItems, FixedCountTakesEveryNormalTemplateInRangeInKeyOrder) {
    const ItemTemplateMap shop = Shop();
    EXPECT_EQ(ReadList("<items> <auto> 2 ( 10 100 ) weapon </auto> </items>", shop),
              (ItemList{{"axe_small", 2}, {"blade_small", 2}}));
    // The range may be written bare; several selectors append in turn.
    EXPECT_EQ(ReadList("<items> <auto> 1 0 60 potion armor </auto> </items>", shop),
              (ItemList{{"tonic", 1}, {"coat", 1}}));
    // A fixed count of none appends nothing.
    EXPECT_TRUE(ReadList("<items> <auto> 0 ( 0 10000 ) weapon armor </auto> </items>", shop).empty());
    EXPECT_TRUE(ReadList("<items> <auto> 1 ( 100 10 ) weapon </auto> </items>", shop).empty());
}

TEST(AutoItems, SkillSelectors) {
    SpellMap spells = OneSpell("heal", "life_magic");
    spells.merge(OneSpell("zap", "energy_magic"));
    const ItemTemplateMap items =
        Items(ItemText("axe", "weapon", 40, "normal <weapon> axe false 0 6 0 0 </weapon>") +
              ItemText("knife", "weapon", 20, "normal <weapon> light_blade false 0 4 0 0 </weapon>") +
              ItemText("club", "weapon", 5, "normal") +
              ItemText("coat", "armor", 60, "normal <armor> light_armor 2 0 0 0 </armor>") +
              ItemText("cap", "armor", 10, "normal <armor> 0 1 0 0 0 </armor>") +
              ItemText("p_heal", "potion", 30, "normal <spell> heal </spell>") +
              ItemText("w_zap", "wand", 300, "normal <spell> zap </spell>") +
              ItemText("ring", "ring", 100, "normal"),
              spells);
    EXPECT_EQ(ReadList("<items> <auto> 1 ( 0 1000 ) ( weapon axe ) ( armor light_armor ) ( potion life_magic )"
                       " ( wand life_magic ) ( ring light_armor ) </auto> </items>",
                       items),
              (ItemList{{"axe", 1}, {"coat", 1}, {"p_heal", 1}}));
    // "0" is any skill, and then templates without the attribute qualify as well.
    EXPECT_EQ(ReadList("<items> <auto> 1 ( 0 1000 ) ( weapon 0 ) </auto> </items>", items).size(), 3u);
    EXPECT_EQ(ErrorCodeOf([&] { ReadList("<items> <auto> 1 ( 0 1000 ) ( weapon ) </auto> </items>", items); }),
              DRAV_ERR_BAD_DATA);
    EXPECT_EQ(ErrorCodeOf([&] { ReadList("<items> <auto> 1 ( 0 1000 ) ( weapon pike ) </auto> </items>", items); }),
              DRAV_ERR_OUT_OF_RANGE);
    EXPECT_EQ(ErrorCodeOf([&] { ReadList("<items> <auto> 1 ( 0 1000 ) trinket </auto> </items>", items); }),
              DRAV_ERR_BAD_DATA);
}

TEST(AutoItems, ChanceGivesOneToDieItemsAboutThatOften) {
    const ItemTemplateMap shop = Shop();
    DRAVCommon::GetRandomEngine().seed(11);
    int present = 0;
    const int runs = 400;
    for (int run = 0; run < runs; ++run) {
        const ItemList list = ReadList("<items> <auto> ( 50 3 ) ( 10 30 ) scroll weapon </auto> </items>", shop);
        for (const ItemListEntry& entry : list) {
            EXPECT_TRUE(entry.key == "note" || entry.key == "blade_small") << entry.key;
            EXPECT_GE(entry.count, 1u);
            EXPECT_LE(entry.count, 3u);
        }
        present += static_cast<int>(list.size());
    }
    // Two qualifying templates per run, each about half of the time.
    EXPECT_GT(present, runs * 2 * 40 / 100);
    EXPECT_LT(present, runs * 2 * 60 / 100);
}

TEST(Treasure, SmallValuesAreGold) {
    const ItemTemplateMap shop = Shop();
    ItemList list;
    GenerateTreasure(shop, list, 100);
    GenerateTreasure(shop, list, 0);
    EXPECT_EQ(list, (ItemList{{"gold", 100}, {"gold", 0}}));
    EXPECT_EQ(ReadList("<items> <treasure> 7 </treasure> </items>", shop), (ItemList{{"gold", 7}}));
}

TEST(Treasure, FixedSeedGivesItemsAndGoldAddingUpToTheValue) {
    const ItemTemplateMap shop = Shop();
    for (unsigned seed : {1u, 2u, 3u, 42u}) {
        DRAVCommon::GetRandomEngine().seed(seed);
        ItemList list;
        GenerateTreasure(shop, list, 3000);
        ASSERT_FALSE(list.empty());
        EXPECT_EQ(list.back().key, "gold");
        std::uint32_t total = 0;
        for (const ItemListEntry& entry : list) {
            const CItemTemplate* item = FindItemTemplate(shop, entry.key);
            ASSERT_NE(item, nullptr) << entry.key;
            if (entry.key == "gold") {
                total += entry.count;
                continue;
            }
            EXPECT_EQ(entry.count, 1u);
            EXPECT_TRUE(item->HasFlag(ITEMFLAG_NORMAL)) << entry.key;
            total += item->GetValue();
        }
        EXPECT_EQ(total, 3000u) << seed;
        EXPECT_GE(list.size(), 2u) << seed;
        // Items make up at least half of the value, the rest is gold.
        EXPECT_LE(list.back().count, 1500u) << seed;
    }
    // The same seed draws the same treasure.
    ItemList first, second;
    DRAVCommon::GetRandomEngine().seed(9);
    GenerateTreasure(shop, first, 20000);
    DRAVCommon::GetRandomEngine().seed(9);
    GenerateTreasure(shop, second, 20000);
    EXPECT_EQ(first, second);
}

TEST(Treasure, EndsInGoldWhenNoTemplateFits) {
    // Only costly items, and none that is normal: nothing can ever be drawn.
    const ItemTemplateMap dear = Items(ItemText("crown", "helmet", 90000, "nogive") +
                                       ItemText("idol", "weapon", 70000, "") + ItemText("gold", "money", 1));
    for (std::uint32_t value : {101u, 5000u, 4000000u}) {
        DRAVCommon::GetRandomEngine().seed(value);
        ItemList list;
        GenerateTreasure(dear, list, value);
        EXPECT_EQ(list, (ItemList{{"gold", value}})) << value;
    }
    // A normal template exists, but no value drawn for a small treasure reaches it.
    const ItemTemplateMap noCheapItem = Items(ItemText("crown", "helmet", 90000, "normal"));
    for (std::uint32_t value : {150u, 9000u, 40000u}) {
        DRAVCommon::GetRandomEngine().seed(value);
        ItemList list;
        GenerateTreasure(noCheapItem, list, value);
        EXPECT_EQ(list, (ItemList{{"gold", value}})) << value;
    }
    ItemList none;
    GenerateTreasure({}, none, 250000);
    EXPECT_EQ(none, (ItemList{{"gold", 250000}}));
}

TEST(Treasure, SampleChapterTreasure) {
    const ItemsTest::SampleChapter sample;
    const ItemTemplateMap& items = sample.items;
    DRAVCommon::GetRandomEngine().seed(2024);
    std::size_t itemCount = 0;
    for (std::uint32_t value : {300u, 2500u, 15000u, 60000u}) {
        ItemList list;
        GenerateTreasure(items, list, value);
        std::uint32_t total = 0;
        for (const ItemListEntry& entry : list)
            total += entry.key == "gold" ? entry.count : FindItemTemplate(items, entry.key)->GetValue();
        EXPECT_EQ(total, value);
        itemCount += list.size() - 1;
    }
    EXPECT_GT(itemCount, 0u);
}

TEST(Treasure, KindFollowsTheRowOfTheTarget) {
    // The first row never gives helmets, amulets, rings or wands; the third never potions.
    DRAVCommon::GetRandomEngine().seed(5);
    std::map<int, int> low, high;
    for (int i = 0; i < 2000; ++i) {
        ++low[PickTreasureKind(375)];
        ++high[PickTreasureKind(2001)];
    }
    for (int kind : {ITEM_HELMET, ITEM_AMULET, ITEM_RING, ITEM_WAND, ITEM_MISC, ITEM_MONEY})
        EXPECT_EQ(low.count(kind), 0u) << kind;
    EXPECT_GT(low[ITEM_POTION], 0);
    EXPECT_EQ(high.count(ITEM_POTION), 0u);
    EXPECT_GT(high[ITEM_RING], 0);
    // 376 is in the second row, which has wands.
    std::map<int, int> second;
    for (int i = 0; i < 500; ++i) ++second[PickTreasureKind(376)];
    EXPECT_GT(second[ITEM_WAND], 0);
    EXPECT_EQ(PickTreasureKind(0) <= ITEM_SCROLL, true);
    EXPECT_EQ(ErrorCodeOf([] { PickTreasureKind(10000000); }), DRAV_ERR_OUT_OF_RANGE);
    EXPECT_NO_THROW(PickTreasureKind(9999999));
}
