// The item and ability grids: display order against the cell ids of the given
// list, what a store lets the party drag, spells left out without a gap, and an
// unknown fill mode.

#include <gtest/gtest.h>

#include <sstream>

#include "common/data_file_reader.h"
#include "rules/items/item_template.h"
#include "support/expect_drav.h"
#include "support/sample_game.h"
#include "ui/ui_items_list.h"
#include "ui/ui_spell_list.h"
#include "ui/ui_test_util.h"

namespace {

using namespace DRAVUI;
using namespace DRAV;

std::shared_ptr<CItemTemplate> ItemTemplate(const std::string& key, const std::string& kind, int value,
                                            const std::string& attribute) {
    const std::string text = "<item> " + key + " \"" + key + "\" \"" + key + "\" ( 200 10 10 ) \"\" i_knife 0 metal 1 " +
                             std::to_string(value) + " " + kind + " normal " + attribute + " </item>";
    DRAVCommon::CDataFileReader reader(std::make_shared<std::istringstream>(text), "test_items.drav");
    reader.BeginBlock("item");
    return std::make_shared<CItemTemplate>(reader, SpellMap{});
}

std::shared_ptr<CSpell> Spell(const std::string& key, const std::string& school, const std::string& difficulty) {
    const std::string text = "<spell> " + key + " \"" + key + "\" ( 10 20 30 ) \"\" 0 " + school + " " + difficulty +
                             " 0 0 0 <effect> heal <value> 8 ( 0 1 ) </value> </effect> </spell>";
    DRAVCommon::CDataFileReader reader(std::make_shared<std::istringstream>(text), "test_magic.drav");
    return std::make_shared<CSpell>(reader);
}

class ListsTest : public QuillmereTest::UITest {
protected:
    // The cell ids of a list as shown, row by row, up to the first empty place.
    std::vector<int> ShownIds(CUIListElement& list, int columns) {
        list.SetRect(RECT{0, 0, 24 + 48 * columns, 16 + 48 * 3});
        auto sprite = Sprite();
        list.Draw(&m_wrapper, Help(), sprite, nullptr);
        std::vector<int> ids;
        for (int row = 0; row < 3; ++row)
            for (int column = 0; column < columns; ++column) {
                CUIElement* cell = list.CellAt(POINT{48 * column + 24, 16 + 48 * row + 24});
                if (!cell) return ids;
                ids.push_back(cell->GetId());
            }
        return ids;
    }

    QuillmereTest::SampleGame m_game;
};

TEST_F(ListsTest, ItemsShowByKindWeaponTypeAndPriceWithIdsOfTheGivenOrder) {
    const auto swordA = ItemTemplate("sword_a", "weapon", 10, "<weapon> heavy_blade false 1 6 0 0 </weapon>");
    const auto potion = ItemTemplate("potion", "potion", 50, "");
    const auto swordB = ItemTemplate("sword_b", "weapon", 30, "<weapon> heavy_blade false 1 8 0 0 </weapon>");
    const auto dagger = ItemTemplate("dagger", "weapon", 1, "<weapon> light_blade false 1 4 0 0 </weapon>");
    ItemPtrList items = {std::make_shared<CItem>(0x05000001, *swordA, 1, 0),
                         std::make_shared<CItem>(0x05000002, *potion, 3, 0),
                         std::make_shared<CItem>(0x05000003, *swordB, 1, 0)};
    CUIItemsListWindow list(Config(), 40, "Backpack", 4, 2, CUIItemsListWindow::MODE_OWN);
    list.Fill(items, 500, nullptr, nullptr);
    EXPECT_EQ(ShownIds(list, 4), (std::vector<int>{502, 500, 501}));
    // The lighter weapon type goes first whatever its price; cells wrap into the next row.
    items.push_back(std::make_shared<CItem>(0x05000004, *dagger, 1, 0));
    CUIItemsListWindow narrow(Config(), 44, "Backpack", 2, 2, CUIItemsListWindow::MODE_SHOWN);
    narrow.Fill(items, 500, nullptr, nullptr);
    EXPECT_EQ(ShownIds(narrow, 2), (std::vector<int>{503, 502, 500, 501}));
    EXPECT_FALSE(narrow.CellAt(POINT{24, 40})->HasFlag(UIF_DRAGGABLE));
    EXPECT_TRUE(list.CellAt(POINT{24, 40})->HasFlag(UIF_DRAGGABLE));

    list.Fill({}, 500, nullptr, nullptr);
    EXPECT_TRUE(ShownIds(list, 4).empty());

    CUIItemsListWindow odd(Config(), 41, "", 4, 2, 4);
    EXPECT_DRAV_CODE(odd.Fill(items, 0, nullptr, nullptr), 4);
}

TEST_F(ListsTest, AStoreGoodCanBeDraggedOnlyWhileThePartyCanPayForIt) {
    const auto lantern = ItemTemplate("lantern", "misc", 40, "");
    const auto rope = ItemTemplate("rope", "misc", 41, "");
    ItemPtrList goods = {std::make_shared<CItem>(0x05000011, *lantern, 1, 0),
                         std::make_shared<CItem>(0x05000012, *rope, 1, 0)};
    m_game.Game().SetGold(40);
    CUIItemsListWindow list(Config(), 42, "Goods", 4, 2, CUIItemsListWindow::MODE_STORE_GOODS);
    list.Fill(goods, 600, nullptr, m_game.Main().get());
    ASSERT_EQ(ShownIds(list, 4), (std::vector<int>{601, 600}));
    CUIElement* dear = list.CellAt(POINT{24, 40});
    CUIElement* affordable = list.CellAt(POINT{72, 40});
    EXPECT_FALSE(dear->HasFlag(UIF_DRAGGABLE));
    EXPECT_TRUE(affordable->HasFlag(UIF_DRAGGABLE));
    EXPECT_EQ(affordable->GetInfo().text, "(40 gold) ");
    EXPECT_EQ(affordable->GetInfo().actionHint, "Info");
}

TEST_F(ListsTest, SpellsShowBySchoolAndHigherLevelFirstAndUnusableOnesLeaveNoGap) {
    const auto minor = Spell("minor_mend", "life_magic", "<level> 2 </level>");
    const auto major = Spell("major_mend", "life_magic", "<level> 5 </level>");
    const auto hex = Spell("hex", "void_magic", "<tier> 1 </tier>");
    const auto spark = Spell("spark", "energy_magic", "<level> 1 </level>");
    CActor& actor = *m_game.Main();
    for (const auto& spell : {minor, major, hex, spark}) actor.AddSpell(*spell);
    actor.AddSkill(SKILL_LIFE_MAGIC);
    actor.AddSkill(SKILL_ENERGY_MAGIC);
    actor.RemoveSkill(SKILL_VOID_MAGIC);
    actor.SetBaseLevel(10);
    ASSERT_EQ(actor.GetSpells().size(), 4u);

    CUISpellListWindow list(Config(), 43, 4, 2, true, false, "Spells", true);
    list.Fill(actor, 700, false);
    // Void (45) before energy (47) before life (51); within life level 5 first.
    EXPECT_EQ(ShownIds(list, 4), (std::vector<int>{702, 703, 701, 700}));
    EXPECT_TRUE(list.CellAt(POINT{24, 40})->HasFlag(UIF_DRAGGABLE));

    // The void spell the actor has no skill for is left out; the next takes its place.
    list.Fill(actor, 700, true);
    EXPECT_EQ(ShownIds(list, 4), (std::vector<int>{703, 701, 700}));

    // A spell ranked by its level and one ranked by its tier compare one way only,
    // which the sort needs.
    const auto tiered = Spell("old_mend", "life_magic", "<tier> 4 </tier>");
    EXPECT_TRUE(SpellShownBefore(*major, *tiered));
    EXPECT_FALSE(SpellShownBefore(*tiered, *major));
    EXPECT_TRUE(SpellShownBefore(*tiered, *minor));
    EXPECT_FALSE(SpellShownBefore(*minor, *tiered));

    // Powers only: none of these.
    CUISpellListWindow powers(Config(), 45, 4, 2, false, true, "Powers", false);
    powers.Fill(actor, 700, false);
    EXPECT_TRUE(ShownIds(powers, 4).empty());
}

}  // namespace
