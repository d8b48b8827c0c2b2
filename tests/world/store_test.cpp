// Store definitions and running stores: what a store offers, removing items, the
// game's store map and the saved store.

#include <gtest/gtest.h>

#include <memory>
#include <set>

#include "support/sample_brains.h"
#include "rules/module.h"
#include "rules/monsters/actor_template.h"
#include "rules/rules_test_util.h"
#include "support/error_code.h"
#include "world/game.h"
#include "world/store.h"

using namespace DRAV;
using QuillmereTest::ErrorCodeOf;
using RulesTest::ExpectThrowsCode;
using RulesTest::ReaderOver;

namespace {

const CModule& Sample() { return QuillmereTest::SampleWithBrains(); }

CStoreTemplate ReadStoreTemplate(const std::string& text) {
    auto reader = ReaderOver(text);
    CStoreTemplate definition(*reader, Sample());
    EXPECT_TRUE(reader->AtEnd());
    return definition;
}

std::vector<std::string> KeysOf(const ItemPtrList& items) {
    std::vector<std::string> keys;
    for (const auto& item : items) keys.push_back(item->GetTemplate().GetKey());
    return keys;
}

const CStoreTemplate& TraderStore() { return *Sample().FindMonsterTemplate("landing_trader")->GetStore(); }

}  // namespace

TEST(Store, TheTraderOffersWhatItDealsInButNeverMoney) {
    CGame game;
    CStore store(TraderStore(), Sample(), &game);
    EXPECT_EQ(KeysOf(store.GetStock()),
              (std::vector<std::string>{"smugglers_knife", "reed_salve", "marsh_water", "river_tonic", "lantern_scroll", "boatmans_cap", "eel_pie", "reed_lantern", "gold"}));
    EXPECT_EQ(store.GetStock()[1]->GetCount(), 5);
    EXPECT_TRUE(store.BuysKind(ITEM_MONEY));
    EXPECT_FALSE(store.BuysKind(ITEM_WAND));
    EXPECT_EQ(KeysOf(store.GetTradeItems()),
              (std::vector<std::string>{"smugglers_knife", "reed_salve", "marsh_water", "river_tonic", "lantern_scroll", "boatmans_cap", "eel_pie", "reed_lantern"}));
    std::set<ThingId> ids;
    for (const auto& item : store.GetStock()) ids.insert(item->GetId());
    EXPECT_EQ(ids.size(), 9u);
    EXPECT_FALSE(ids.count(0));

    CStore idless(TraderStore(), Sample(), nullptr);
    for (const auto& item : idless.GetStock()) EXPECT_EQ(item->GetId(), 0u);
}

TEST(Store, AWeaponsStoreOffersNoArmorOfItsOwn) {
    CStore store(ReadStoreTemplate("<store> <buy> weapon </buy> <items> dagger padded_jerkin ( gold 9 ) </items> </store>"),
                 Sample(), nullptr);
    EXPECT_EQ(KeysOf(store.GetTradeItems()), (std::vector<std::string>{"dagger"}));
    // A store without an item list starts empty.
    EXPECT_TRUE(CStore(ReadStoreTemplate("<store> <buy> </buy> </store>"), Sample(), nullptr).GetStock().empty());
}

TEST(Store, RemovingAnItemKeepsTheOrderAndOnlyWorksOnce) {
    CStore store(TraderStore(), Sample(), nullptr);
    const auto salve = store.GetStock()[1];
    EXPECT_EQ(store.RemoveItem(*salve), salve);
    EXPECT_EQ(KeysOf(store.GetStock()),
              (std::vector<std::string>{"smugglers_knife", "marsh_water", "river_tonic", "lantern_scroll", "boatmans_cap",
                                        "eel_pie", "reed_lantern", "gold"}));
    EXPECT_EQ(ErrorCodeOf([&] { store.RemoveItem(*salve); }), DRAV_ERR_BAD_DATA);
    // An equal item that is another object is not in the stock either.
    CItem twin(0, salve->GetTemplate(), 5, 0);
    EXPECT_EQ(ErrorCodeOf([&] { store.RemoveItem(twin); }), DRAV_ERR_BAD_DATA);
}

TEST(Store, TheGameKeepsTheFirstStoreOfAName) {
    CGame game;
    const CStoreTemplate other = ReadStoreTemplate("<store> <buy> weapon </buy> <items> dagger </items> </store>");
    AddStoreIfMissing(game.GetStores(), "landing_trader", TraderStore(), Sample(), &game);
    auto first = FindStore(game.GetStores(), "landing_trader");
    first->RemoveItem(*first->GetStock().front());
    AddStoreIfMissing(game.GetStores(), "landing_trader", other, Sample(), &game);
    EXPECT_EQ(FindStore(game.GetStores(), "landing_trader"), first);
    EXPECT_EQ(first->GetStock().size(), 8u);
    ExpectThrowsCode([&] { FindStore(game.GetStores(), "smuggler_captain"); }, 1, "smuggler_captain");
}

TEST(Store, SavedStoreRoundTrip) {
    CGame game;
    CStore store(ReadStoreTemplate("<store> <buy> potion weapon money </buy> <items> ( river_tonic 3 ) dagger"
                                   " ( gold 12 ) </items> </store>"),
                 Sample(), &game);
    const std::string text = RulesTest::WrittenText([&](auto& writer) { WriteStores(writer, store); });
    EXPECT_EQ(text,
              "<store>\n <buy>\n  weapon\n  potion\n  money\n </buy>\n <items>\n"
              "  <item>\n   river_tonic\n   3\n  </item>\n"
              "  <item>\n   dagger\n   1\n  </item>\n"
              "  <item>\n   gold\n   12\n  </item>\n </items>\n</store>\n");

    auto reader = ReaderOver(text);
    auto read = ReadStores(*reader, Sample(), &game);
    EXPECT_TRUE(reader->AtEnd());
    EXPECT_EQ(read->GetKinds(), store.GetKinds());
    EXPECT_EQ(RulesTest::WrittenText([&](auto& writer) { WriteStores(writer, *read); }), text);
    // Read items are new things.
    for (std::size_t i = 0; i < store.GetStock().size(); ++i)
        EXPECT_NE(read->GetStock()[i]->GetId(), store.GetStock()[i]->GetId());
}

TEST(Store, MalformedStores) {
    ExpectThrowsCode([] { ReadStoreTemplate("<store> <items> dagger </items> </store>"); }, 1, "test.drav");
    ExpectThrowsCode([] { ReadStoreTemplate("<store> <buy> weapon trinkets </buy> </store>"); }, 1, "trinkets");
    ExpectThrowsCode([] { ReadStoreTemplate("<store> <buy> weapon"); }, 1, "test.drav");
    // An unknown key fails when the item is made.
    const CStoreTemplate missing = ReadStoreTemplate("<store> <buy> misc </buy> <items> rusty_hook </items> </store>");
    ExpectThrowsCode([&] { CStore(missing, Sample(), nullptr); }, 1, "rusty_hook");
    auto reader = ReaderOver("<store> <buy> misc </buy> <items> <item> rusty_hook 1 </item> </items> </store>");
    CGame game;
    ExpectThrowsCode([&] { ReadStores(*reader, Sample(), &game); }, 1, "rusty_hook");
}
