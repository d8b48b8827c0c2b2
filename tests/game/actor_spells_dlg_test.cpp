// The abilities page on the engine fixture: the usable-only filter, drops on the
// quick-action slots, the reset of the actor's quick actions, and spells of any
// school the module gives.

#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>

#include "common/data_file_reader.h"
#include "engine/engine.h"
#include "world/order.h"

#include "game/dialogs/sheet/actor_spells_dlg.h"
#include "rules/magic/spell.h"
#include "rules/module.h"
#include "trade_test_support.h"
#include "ui/element_info.h"
#include "ui/ui_action_window.h"
#include "ui/ui_button.h"
#include "ui/ui_manager.h"
#include "platform/win32/virtual_keys.h"
#include "ui/info_icons.h"
#include "ui/ui_spell_list.h"

namespace {

using QuillmereTest::ShellWithGame;

class AbilitiesPageTest : public ::testing::Test, public ShellWithGame {
protected:
    void SetUp() override {
        ASSERT_TRUE(loaded);
        CDRAVAppTestAccess::StartPlaying(app);
        Wren().SetClass(DRAV::CLASS_SPELLCASTER);
        // Two spells of different schools: Wren knows the first school, not the second.
        for (const auto& [key, spell] : game.Module().GetSpells()) {
            if ((spell->GetFlags() & DRAV::SPELL_POWER) != 0 || spell->GetLevel() != -1 ||
                spell->GetTier() > Wren().GetMaxSpellTier())
                continue;
            if (!usable) {
                usable = spell.get();
            } else if (spell->GetSchool() != usable->GetSchool()) {
                unusable = spell.get();
                break;
            }
        }
        ASSERT_TRUE(usable && unusable);
        Wren().AddSkill(usable->GetSchool());
        Wren().RemoveSkill(unusable->GetSchool());
        Wren().AddSpell(*usable);
        Wren().AddSpell(*unusable);
        ASSERT_TRUE(DRAVUI::IsAbilityUsable(*usable, Wren())) << usable->GetKey();
        ASSERT_FALSE(DRAVUI::IsAbilityUsable(*unusable, Wren()));
        app.UpdatePartyQuickActions(false);
        app.SetDialog(true, std::make_shared<CActorSpellsDlg>(&app, &Wren()));
        page = Current<CActorSpellsDlg>();
        ASSERT_NE(page, nullptr);
    }
    int IdOf(const DRAV::CSpell* spell) {
        const DRAV::SpellList spells = Wren().GetSpells();
        const auto at = std::find(spells.begin(), spells.end(), spell);
        return CActorSpellsDlg::kFirstAbility + static_cast<int>(at - spells.begin());
    }
    static std::vector<int> Ids(DRAVUI::CUISpellListWindow& list) {
        std::vector<int> ids;
        for (std::size_t column = 0; !list.GetColumn(column).empty(); ++column)
            for (const auto& cell : list.GetColumn(column)) ids.push_back(cell->GetId());
        return ids;
    }
    static bool Lists(DRAVUI::CUISpellListWindow& list, int id) {
        const std::vector<int> ids = Ids(list);
        return std::find(ids.begin(), ids.end(), id) != ids.end();
    }
    DRAVUI::CUIElement* Cell(DRAVUI::CUISpellListWindow& list, int id) {
        for (std::size_t column = 0; !list.GetColumn(column).empty(); ++column)
            for (const auto& cell : list.GetColumn(column))
                if (cell->GetId() == id) return cell.get();
        return nullptr;
    }
    DRAVUI::CUIActionWindow2& Bar() {
        for (const auto& element : app.GetUIManager().GetElements())
            if (auto* bar = dynamic_cast<DRAVUI::CUIActionWindow2*>(element.get())) return *bar;
        throw std::runtime_error("no quick-action bar");
    }
    void Hide(bool on) {
        dynamic_cast<DRAVUI::CUICheckButton&>(*FindElement(CActorSpellsDlg::kHideUnusable)).m_checked = on;
        page->OnButton(CActorSpellsDlg::kHideUnusable);
    }

    const DRAV::CSpell* usable = nullptr;
    const DRAV::CSpell* unusable = nullptr;
    CActorSpellsDlg* page = nullptr;
};

TEST_F(AbilitiesPageTest, HidingUnusableAbilitiesLeavesThemOutOfBothLists) {
    EXPECT_EQ(page->GetTitle(), "Wren - Abilities");
    EXPECT_TRUE(Lists(*page->GetSpellsList(), IdOf(unusable)));
    EXPECT_TRUE(Ids(*page->GetPowersList()).empty() ||
                !Lists(*page->GetPowersList(), IdOf(usable))) << "spells are no powers";
    Hide(true);
    EXPECT_TRUE(Lists(*page->GetSpellsList(), IdOf(usable)));
    EXPECT_FALSE(Lists(*page->GetSpellsList(), IdOf(unusable)));
    EXPECT_FALSE(Lists(*page->GetPowersList(), IdOf(unusable)));
    Hide(false);
    EXPECT_TRUE(Lists(*page->GetSpellsList(), IdOf(unusable)));
}

TEST_F(AbilitiesPageTest, DropsAssignOnlySlotsFourToNineWhetherUsableOrNot) {
    // A settable slot that does not cast the unusable ability yet.
    int slot = 4;
    while (slot < 9 && app.GetQuickActionSpell(Wren(), slot) == unusable->GetKey()) ++slot;
    const std::pair<int, std::string> automatic{app.GetQuickActionKind(Wren(), slot),
                                                app.GetQuickActionSpell(Wren(), slot)};
    ASSERT_NE(automatic.second, unusable->GetKey());
    const std::pair<int, std::string> fixed{app.GetQuickActionKind(Wren(), 3), app.GetQuickActionSpell(Wren(), 3)};
    audio->played.clear();

    // An unusable ability gives the bar no highlight, yet the drop assigns it.
    page->OnBeginDrag(IdOf(unusable));
    EXPECT_FALSE(Bar().Slot(slot).HasFlag(DRAVUI::UIF_SELECTED));
    page->OnDrop(IdOf(unusable), CBaseActorDlg2::kFirstQuickSlot + slot);
    EXPECT_EQ(app.GetQuickActionKind(Wren(), slot), 11);
    EXPECT_EQ(app.GetQuickActionSpell(Wren(), slot), unusable->GetKey());
    EXPECT_EQ(audio->played, std::vector<int>{0});

    page->OnBeginDrag(IdOf(usable));
    EXPECT_TRUE(Bar().Slot(slot).HasFlag(DRAVUI::UIF_SELECTED));
    EXPECT_FALSE(Bar().Slot(3).HasFlag(DRAVUI::UIF_SELECTED));
    page->OnDrop(IdOf(usable), CBaseActorDlg2::kFirstQuickSlot + 3);
    page->OnDrop(IdOf(usable), CBaseActorDlg2::kFirstQuickSlot + 10);
    page->OnDrop(IdOf(usable), IdOf(unusable));
    page->OnDrop(CActorSpellsDlg::kLastAbility, CBaseActorDlg2::kFirstQuickSlot + slot);
    EXPECT_EQ(std::make_pair(app.GetQuickActionKind(Wren(), 3), app.GetQuickActionSpell(Wren(), 3)), fixed);
    EXPECT_EQ(app.GetQuickActionSpell(Wren(), slot), unusable->GetKey()) << "a drop elsewhere replaces nothing";
    EXPECT_EQ(audio->played, std::vector<int>{0});

    // Reset Actions gives the automatic assignment back.
    page->OnButton(CActorSpellsDlg::kResetActions);
    EXPECT_EQ(std::make_pair(app.GetQuickActionKind(Wren(), slot), app.GetQuickActionSpell(Wren(), slot)), automatic);
}

TEST_F(AbilitiesPageTest, TheRightClickDescribesTheAbility) {
    EXPECT_FALSE(page->OnAltClick(IdOf(usable)));
    ASSERT_NE(app.GetCurrentDialog(), nullptr);
    EXPECT_EQ(app.GetCurrentDialog()->GetTitle(), usable->GetName());
    Key(VK_ESCAPE);
    EXPECT_EQ(Current<CActorSpellsDlg>(), page) << "the page comes back";
}

TEST_F(AbilitiesPageTest, ACasterWhoReadTheLanternScrollOrKnowsASpellOfAnySchoolSeesThemAll) {
    // The start kit's scroll, read as a player reads it.
    const DRAV::CSpell& lantern = *game.Module().GetSpells().at("lantern_light");
    Wren().AddSkill(DRAV::SKILL_ARCANE_MAGIC);
    Wren().AddSkill(lantern.GetSchool());
    std::shared_ptr<DRAV::CItem> scroll = MakeItem("lantern_scroll", 1);
    Wren().AddToBackpack(scroll, false);
    ASSERT_TRUE(Wren().LacksSpell(lantern));
    game.Engine().RunUseItemOrder(Wren(), DRAV::CUseOrder(DRAV::USE_ITEM, scroll->GetId(), 0), true);
    ASSERT_FALSE(Wren().LacksSpell(lantern));

    // Spells whose school is a way of learning, or no school at all, as a module may write them.
    // Actors keep raw pointers to their spells: these outlive the fixture.
    static std::vector<std::shared_ptr<DRAV::CSpell>> kept;
    std::vector<std::shared_ptr<DRAV::CSpell>> written;
    for (const std::string school : {"religion", "arcane_magic", "0"}) {
        const std::string text = "<spell> by_" + school + " \"By " + school + "\" ( 1 2 3 ) \"\" 0 " + school +
                                 " <tier> 0 </tier> 0 0 0 <effect> heal <value> 8 ( 0 1 ) </value> </effect> </spell>";
        DRAVCommon::CDataFileReader reader(std::make_shared<std::istringstream>(text), "written.drav");
        written.push_back(std::make_shared<DRAV::CSpell>(reader));
        kept.push_back(written.back());
        Wren().AddSpell(*written.back());
    }
    Wren().AddSkill(DRAV::SKILL_RELIGION);

    app.SetDialog(true, std::make_shared<CActorSpellsDlg>(&app, &Wren()));
    page = Current<CActorSpellsDlg>();
    ASSERT_NE(page, nullptr);
    EXPECT_EQ(page->GetTitle(), "Wren - Abilities");
    std::vector<const DRAV::CSpell*> shown{&lantern};
    for (const auto& spell : written) shown.push_back(spell.get());
    for (const DRAV::CSpell* spell : shown) {
        DRAVUI::CUIElement* cell = Cell(*page->GetSpellsList(), IdOf(spell));
        ASSERT_NE(cell, nullptr) << spell->GetKey();
        EXPECT_NE(cell->GetInfo().icon, 0) << spell->GetKey();
        EXPECT_EQ(cell->GetInfo().key, spell->GetKey());
        // A cell with a picture can be picked up for the quick-action bar.
        const POINT inside{cell->GetRect()->left + 4, cell->GetRect()->top + 4};
        EXPECT_EQ(cell->OnMouse(DRAVUI::MOUSE_PRESS, &inside), DRAVUI::ANSWER_DRAG) << spell->GetKey();
        cell->OnMouse(DRAVUI::MOUSE_RELEASE, &inside);
    }
    EXPECT_EQ(Cell(*page->GetSpellsList(), IdOf(written[0].get()))->GetInfo().icon, DRAVUI::IMAGE_BADGE_SPELLCASTER);

    // What may be done with them works too: the religion spell is dropped on a slot.
    page->OnDrop(IdOf(written[0].get()), CBaseActorDlg2::kFirstQuickSlot + 6);
    EXPECT_EQ(app.GetQuickActionSpell(Wren(), 6), "by_religion");
}

}  // namespace
