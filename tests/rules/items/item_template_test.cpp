#include <gtest/gtest.h>

#include <set>
#include <stdexcept>
#include <string>
#include <vector>

#include "rules/items/item_file.h"
#include "rules/items/item_template.h"
#include "rules/magic/magic_file.h"
#include "item_test_util.h"
#include "support/error_code.h"
#include "support/sample_module.h"

using namespace DRAV;
using ItemsTest::ItemText;
using ItemsTest::OneSpell;
using ItemsTest::ReadTemplate;
using QuillmereTest::ErrorCodeOf;
using RulesTest::ExpectThrowsCode;
using RulesTest::ReaderOver;

namespace {

const CItemTemplate& Get(const ItemTemplateMap& items, const std::string& key) {
    const CItemTemplate* found = FindItemTemplate(items, key);
    if (found == nullptr) throw std::runtime_error("no item " + key);
    return *found;
}

}  // namespace

TEST(ItemTemplate, ReadsEveryFieldInOrder) {
    auto item = ReadTemplate(
        "<item> knife \"Knife\" \"Sharp Knife\" ( 10 20 30 ) \"Cuts rope.\" g1 g2 steel 1.25 17 weapon normal"
        " <weapon> light_blade false 1 4 0 0 </weapon> </item>");
    EXPECT_EQ(item->GetKey(), "knife");
    EXPECT_EQ(item->GetName(), "Knife");
    EXPECT_EQ(item->GetFullName(), "Sharp Knife");
    EXPECT_EQ(item->GetColour(), 0x0A141Eu);
    EXPECT_EQ(item->GetDescription(), "Cuts rope.");
    EXPECT_EQ(item->GetGraphics()[0], "g1");
    EXPECT_EQ(item->GetGraphics()[1], "g2");
    EXPECT_EQ(item->GetGraphics()[2], "");
    EXPECT_EQ(item->GetExtraWord(), "steel");
    EXPECT_DOUBLE_EQ(item->GetWeight(), 1.25);
    EXPECT_EQ(item->GetValue(), 17u);
    EXPECT_EQ(item->GetKind(), ITEM_WEAPON);
    EXPECT_EQ(item->GetFlags(), 0x20u);
    ASSERT_EQ(item->GetAttributes().size(), 1u);
    EXPECT_NE(item->GetAttributeOf<CItemAttributeWeapon>(), nullptr);
    EXPECT_EQ(item->GetAttribute(ITEMATTR_ARMOR), nullptr);
}

TEST(ItemTemplate, SecondGraphicZeroCopiesTheFirstAndADashStays) {
    EXPECT_EQ(ReadTemplate(ItemText("a", "misc", 1))->GetGraphics()[1], "g_a");
    auto dashed = ReadTemplate("<item> b \"B\" \"B\" 0 \"d\" first - w 0 0 misc </item>");
    EXPECT_EQ(dashed->GetGraphics()[1], "-");
}

TEST(ItemTemplate, FlagWordsAccumulate) {
    EXPECT_EQ(ReadTemplate(ItemText("a", "misc", 1, "common nogive"))->GetFlags(), 0x3Cu);
    EXPECT_EQ(ReadTemplate(ItemText("a", "misc", 1, "public normal"))->GetFlags(), 0x24u);
    EXPECT_EQ(ReadTemplate(ItemText("a", "misc", 1, "nogive"))->GetFlags(), 0x10u);
    EXPECT_EQ(ReadTemplate(ItemText("a", "misc", 1))->GetFlags(), 0u);
}

TEST(ItemTemplate, MalformedDefinitionsFail) {
    // A flag after an attribute is not a flag.
    EXPECT_EQ(ErrorCodeOf([] {
                  ReadTemplate(ItemText("a", "ring", 1, "<quest> t </quest> normal"));
              }),
              DRAV_ERR_BAD_DATA);
    ExpectThrowsCode([] { ReadTemplate(ItemText("a", "misc", 1, "shiny")); }, DRAV_ERR_BAD_DATA, "shiny");
    ExpectThrowsCode([] { ReadTemplate(ItemText("a", "trinket", 1)); }, DRAV_ERR_BAD_DATA, "trinket");
    ExpectThrowsCode([] { ReadTemplate(ItemText("a", "misc", 1, "<enchant> 1 </enchant>")); }, DRAV_ERR_BAD_DATA,
                     "enchant");
    // A value with a sign, a missing full name, and an element where the key belongs.
    EXPECT_EQ(ErrorCodeOf([] { ReadTemplate("<item> a \"A\" \"A\" 0 \"d\" g 0 w 1 -5 misc </item>"); }),
              DRAV_ERR_BAD_DATA);
    EXPECT_EQ(ErrorCodeOf([] { ReadTemplate("<item> a \"A\" 0 \"d\" g 0 w 1 5 misc </item>"); }), DRAV_ERR_BAD_DATA);
    EXPECT_EQ(ErrorCodeOf([] { ReadTemplate("<item> <weapon> </weapon> </item>"); }), DRAV_ERR_BAD_DATA);
    // Cut off in the middle.
    EXPECT_EQ(ErrorCodeOf([] { ReadTemplate("<item> a \"A\" \"A\" 0 \"d\" g 0 w 1"); }), DRAV_ERR_BAD_DATA);
}

TEST(SpellItems, ScrollOfBoltHasTheDerivedNames) {
    SpellMap spells = OneSpell("bolt", "energy_magic", 2);
    CItemTemplate scroll(ITEM_SCROLL, *spells.at("bolt"));
    EXPECT_EQ(scroll.GetKey(), "i_scroll-bolt");
    EXPECT_EQ(scroll.GetName(), "bolt");
    EXPECT_EQ(scroll.GetFullName(), "Scroll of bolt");
    EXPECT_EQ(scroll.GetDescription(), "This scroll has the spell bolt written on it.");
    EXPECT_EQ(scroll.GetValue(), 200u);
    EXPECT_EQ(scroll.GetFlags(), static_cast<std::uint32_t>(ITEMFLAG_NORMAL));
    EXPECT_DOUBLE_EQ(scroll.GetWeight(), 0.0);
    EXPECT_EQ(scroll.GetGraphics()[0], "");
    ASSERT_NE(scroll.GetAttributeOf<CItemAttributeSpell>(), nullptr);
    EXPECT_EQ(&scroll.GetAttributeOf<CItemAttributeSpell>()->GetSpell(), spells.at("bolt").get());
    EXPECT_EQ(ErrorCodeOf([&] { CItemTemplate(ITEM_RING, *spells.at("bolt")); }), DRAV_ERR_OUT_OF_RANGE);
}

TEST(SpellItems, WhichSpellsGetWhichItems) {
    SpellMap spells = OneSpell("both", "life_magic", 1, "potion wand");
    spells.merge(OneSpell("hidden", "life_magic", 1, "nomanual"));
    spells.merge(OneSpell("same", "religion", 1));
    spells.merge(OneSpell("song", "singing", 1));
    spells.merge(OneSpell("none", "0", 1));
    // A scroll needs a school other than the second skill.
    auto reader = ReaderOver("<spell> twin \"Twin\" 200 \"d\" 0 religion <tier> 1 </tier> 0 religion 0 </spell>");
    spells.emplace("twin", std::make_shared<CSpell>(*reader));
    ItemTemplateMap items;
    MakeSpellItems(items, spells);
    std::vector<std::string> keys;
    for (const auto& [key, item] : items) keys.push_back(key);
    EXPECT_EQ(keys, (std::vector<std::string>{"i_potion-both", "i_scroll-both", "i_scroll-same", "i_wand-both"}));
    EXPECT_EQ(Get(items, "i_potion-both").GetDescription(),
              "This potion contains a liquid with the power of both.");
    EXPECT_EQ(Get(items, "i_wand-both").GetDescription(), "This wand is imbued with the power of the spell both.");
    EXPECT_EQ(Get(items, "i_wand-both").GetFullName(), "Wand of both");
    EXPECT_EQ(Get(items, "i_potion-both").GetFullName(), "Potion of both");
}

TEST(ItemFile, DuplicateKeysFailNamingTheKeyAndSpellItemsReplace) {
    ItemTemplateMap items;
    auto first = ReaderOver("<items> " + ItemText("knife", "weapon", 5) + " </items>");
    ParseItems(items, *first, {});
    auto second = ReaderOver("<items> " + ItemText("rope", "misc", 1) + ItemText("knife", "misc", 1) + " </items>");
    ExpectThrowsCode([&] { ParseItems(items, *second, {}); }, DRAV_ERR_BAD_DATA, "knife");

    ItemTemplateMap withPotion;
    auto own = ReaderOver("<items> " + ItemText("i_potion-heal", "misc", 1) + " </items>");
    ParseItems(withPotion, *own, {});
    MakeSpellItems(withPotion, OneSpell("heal", "life_magic", 1, "potion nomanual"));
    EXPECT_EQ(Get(withPotion, "i_potion-heal").GetKind(), ITEM_POTION);
}

TEST(ItemFile, OtherElementsAreRejected) {
    ItemTemplateMap items;
    auto stray = ReaderOver("<items> " + ItemText("a", "misc", 1) + " <monster2> </monster2> </items>");
    EXPECT_EQ(ErrorCodeOf([&] { ParseItems(items, *stray, {}); }), DRAV_ERR_BAD_DATA);
    auto before = ReaderOver("<magic> </magic> <items> </items>");
    EXPECT_EQ(ErrorCodeOf([&] { ParseItems(items, *before, {}); }), DRAV_ERR_BAD_DATA);
    auto unknownSpell = ReaderOver("<items> " + ItemText("a", "potion", 1, "<spell> nothing </spell>") + " </items>");
    ExpectThrowsCode([&] { ParseItems(items, *unknownSpell, {}); }, DRAV_ERR_BAD_DATA, "nothing");
}

TEST(ItemFile, SampleChapterLoadsWithItsSpellItems) {
    const ItemsTest::SampleChapter sample;
    const ItemTemplateMap& items = sample.items;

    for (const char* key : {"smugglers_knife", "boarding_axe", "reed_bow", "ferrymans_pole", "oilskin_coat",
                            "ferry_buckler", "boatmans_cap", "ring_of_the_current", "heron_amulet",
                            "smugglers_flare", "river_tonic", "eel_pie", "reed_lantern", "ferry_token", "gold",
                            "dagger", "quarterstaff", "hand_axe", "longsword", "war_maul", "river_blade",
                            "padded_jerkin", "chain_shirt", "wardens_plate", "tower_shield", "iron_helm",
                            "wardens_helm", "copper_ring", "silver_amulet"})
        EXPECT_NE(FindItemTemplate(items, key), nullptr) << key;

    // Every kind is there.
    std::set<int> kinds;
    for (const auto& [key, item] : items) kinds.insert(item->GetKind());
    EXPECT_EQ(kinds.size(), static_cast<std::size_t>(kItemKindCount));

    EXPECT_EQ(Get(items, "gold").GetKind(), ITEM_MONEY);
    EXPECT_TRUE(Get(items, "ferry_token").HasFlag(ITEMFLAG_NOGIVE));
    EXPECT_EQ(Get(items, "ferry_token").GetAttributeOf<CItemAttributeQuest>()->GetQuestTag(), "ferry_token_found");
    EXPECT_EQ(Get(items, "reed_bow").GetAttributeOf<CItemAttributeAttributeReq>()->GetAttribute(), ATTR_STRENGTH);
    EXPECT_TRUE(Get(items, "boarding_axe").GetAttributeOf<CItemAttributeWeapon>()->IsTwoHanded());
    EXPECT_EQ(Get(items, "boatmans_cap").GetAttributeOf<CItemAttributeArmor>()->GetArmorSkill(), SKILL_NONE);
    EXPECT_EQ(Get(items, "smugglers_flare").GetAttributeOf<CItemAttributeSpell>()->GetSpell().GetKey(),
              "smugglers_smoke");

    // Spell items: names and prices follow the spell's tier.
    struct Expected {
        const char* key;
        const char* fullName;
        std::uint32_t value;
    };
    for (const Expected& e : {Expected{"i_potion-ferry_blessing", "Potion of Ferryman's Blessing", 50},
                              Expected{"i_wand-ferry_blessing", "Wand of Ferryman's Blessing", 750},
                              Expected{"i_scroll-ferry_blessing", "Scroll of Ferryman's Blessing", 25},
                              Expected{"i_potion-mend_wounds", "Potion of Mend Wounds", 50},
                              Expected{"i_scroll-mend_wounds", "Scroll of Mend Wounds", 25},
                              Expected{"i_scroll-marsh_fever", "Scroll of Marsh Fever", 200},
                              Expected{"i_scroll-ferry_crossing", "Scroll of Ferry Crossing", 400},
                              Expected{"i_scroll-lantern_light", "Scroll of Reed Lantern", 12},
                              Expected{"i_scroll-drowned_return", "Scroll of Return from the River", 800}}) {
        const CItemTemplate* item = FindItemTemplate(items, e.key);
        ASSERT_NE(item, nullptr) << e.key;
        EXPECT_EQ(item->GetFullName(), e.fullName);
        EXPECT_EQ(item->GetValue(), e.value) << e.key;
    }
    // Kept out of the manual, or taught by a school that is not a spellcaster's.
    EXPECT_EQ(FindItemTemplate(items, "i_scroll-fever_chill"), nullptr);
    EXPECT_EQ(FindItemTemplate(items, "i_scroll-s_power-boatmans_chant"), nullptr);
    EXPECT_EQ(FindItemTemplate(items, "i_scroll-s_power-oar_sweep"), nullptr);
}

TEST(ItemFile, ReadingAFileTwiceFailsOnItsFirstKey) {
    ItemsTest::SampleChapter sample;
    DRAVCommon::CDataFileReader again(*sample.source, DRAVCommon::DFK_GLOBAL, DRAVCommon::DFS_NONE, "global_items.drav");
    ExpectThrowsCode([&] { ParseItems(sample.items, again, sample.spells); }, DRAV_ERR_BAD_DATA, "\"gold\"");
}
