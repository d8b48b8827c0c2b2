// The inventory page's widgets on the engine fixture: what it shows, which
// targets a drag marks, how it is opened, and a dominated actor's read-only page.

#include <gtest/gtest.h>

#include "engine/engine.h"
#include "rules/magic/spell_apply.h"
#include "rules/magic/spell_apply_effect.h"
#include "game/dialogs/sheet/actor_inv_dlg.h"
#include "game/dialogs/maps/help_dlg.h"
#include "game/dialogs/sheet/item_dlg.h"
#include "platform/win32/virtual_keys.h"
#include "rules/definitions/object_template.h"
#include "trade_test_support.h"
#include "ui/ui_action_window.h"
#include "ui/ui_items_list.h"
#include "ui/ui_manager.h"
#include "ui/ui_static_text.h"
#include "world/area.h"
#include "world/events/event.h"
#include "world/object.h"

namespace {

using QuillmereTest::ShellWithGame;
using Table = CInvDropTable;

class InventoryPageTest : public ::testing::Test, public ShellWithGame {
protected:
    void SetUp() override {
        ASSERT_TRUE(loaded);
        CDRAVAppTestAccess::StartPlaying(app);
        app.UpdatePartyQuickActions(false);
    }
    CActorInvDlg& Open(DRAV::ThingId container = 0) {
        app.SetDialog(true, std::make_shared<CActorInvDlg>(&app, &Wren(), container));
        return *Current<CActorInvDlg>();
    }
    DRAVUI::CUIItemsListWindow& List(int id) {
        return dynamic_cast<DRAVUI::CUIItemsListWindow&>(*FindElement(id));
    }
    DRAVUI::CUIActionWindow2& Bar() {
        for (const auto& element : app.GetUIManager().GetElements())
            if (auto* bar = dynamic_cast<DRAVUI::CUIActionWindow2*>(element.get())) return *bar;
        throw std::runtime_error("no quick-action bar");
    }
    std::vector<std::string> Figures() {
        std::vector<std::string> texts;
        for (const auto& element : app.GetUIManager().GetElements())
            if (auto* text = dynamic_cast<DRAVUI::CUIStaticText*>(element.get())) texts.push_back(text->m_text);
        return texts;
    }
    // The chapter's containers, moved next to Wren or far off.
    DRAV::CObject& Chest(bool beside) {
        DRAV::CObject* chest = nullptr;
        for (const auto& object : game.Area().GetObjects())
            if (object->GetTemplate().IsContainer() && !object->IsLocked() && !chest) chest = object.get();
        for (const auto& object : game.Area().GetObjects())
            if (object->GetTemplate().IsContainer() && object.get() != chest) object->SetPosition(1000, 1000);
        chest->SetPosition(beside ? Wren().GetX() + 2 : 1000, Wren().GetY());
        return *chest;
    }
};

// A new arrival at the dock finds the eel men's open basket beside her.
TEST_F(InventoryPageTest, TheDockBasketStandsBesideTheStartEntry) {
    CActorInvDlg& page = Open();
    ASSERT_NE(page.GetContainer(), nullptr);
    EXPECT_EQ(page.GetContainer()->GetObjectName(), "dock_basket");
    EXPECT_EQ(List(Table::kPileList).GetCaption(), "Float Basket");
    EXPECT_FALSE(List(Table::kPileList).GetItems().empty());
}

TEST_F(InventoryPageTest, ThePageShowsTheActorAndTheContainerBesideIt) {
    DRAV::CObject& chest = Chest(true);
    Wren().AddToBackpack(MakeItem("river_tonic", 3), false);
    CActorInvDlg& page = Open();
    EXPECT_EQ(page.GetTitle(), "Wren - Inventory");
    EXPECT_EQ(page.GetContainer(), &chest);
    EXPECT_EQ(List(Table::kPileList).GetCaption(), chest.GetName());
    EXPECT_EQ(List(Table::kPileList).GetItems(), chest.GetItems());
    EXPECT_EQ(List(Table::kBackpackList).GetItems(), Wren().GetBackpackItems());
    EXPECT_EQ(FindElement(Table::kSlotBase)->GetInfo().title, "Weapon");
    EXPECT_EQ(FindElement(Table::kSlotBase)->GetInfo().text, "Drag to wield.");
    const std::vector<std::string> figures = Figures();
    EXPECT_NE(std::find(figures.begin(), figures.end(), std::to_string(game.Game().GetGold()) + " gold"),
              figures.end());
    EXPECT_TRUE(std::any_of(figures.begin(), figures.end(), [](const std::string& text) {
        return text.find(" lbs / ") != std::string::npos && text.size() > 12 && text.substr(text.size() - 4) == " lbs";
    }));
}

TEST_F(InventoryPageTest, FarFromAnyContainerThePileIsEmptyAndADropMakesOne) {
    Chest(false);
    const auto tonic = MakeItem("river_tonic", 1);
    Wren().AddToBackpack(tonic, false);
    CActorInvDlg& page = Open();
    EXPECT_EQ(page.GetContainer(), nullptr);
    EXPECT_EQ(List(Table::kPileList).GetCaption(), "Pile");
    EXPECT_TRUE(List(Table::kPileList).GetItems().empty());
    page.OnDrop(Table::kBackpackBase, Table::kPileList);
    ASSERT_NE(page.GetContainer(), nullptr);
    EXPECT_EQ(List(Table::kPileList).GetCaption(), "Pile");
    ASSERT_EQ(List(Table::kPileList).GetItems().size(), 1u);
    EXPECT_EQ(List(Table::kPileList).GetItems()[0], tonic);
}

// A drag marks the slots that take the item, the lists, the bar for a usable
// item and the members in reach; the end of the drag unmarks all but the own button.
TEST_F(InventoryPageTest, DragTargets) {
    auto brannoc = Beside("ferryman_elder");
    ASSERT_TRUE(brannoc);
    game.Game().AddPartyMember(brannoc);
    Wren().AddToBackpack(MakeItem("smugglers_knife", 1), false);
    Wren().AddToBackpack(MakeItem("river_tonic", 1), false);
    CActorInvDlg& page = Open();
    const auto marked = [&](int id) { return FindElement(id)->HasFlag(DRAVUI::UIF_SELECTED); };
    page.OnBeginDrag(Table::kBackpackBase);
    EXPECT_TRUE(marked(Table::kSlotBase + DRAV::SLOT_WEAPON));
    EXPECT_FALSE(marked(Table::kSlotBase + DRAV::SLOT_HELMET));
    EXPECT_TRUE(marked(Table::kBackpackList));
    EXPECT_TRUE(marked(Table::kPileList));
    EXPECT_FALSE(Bar().Slot(5).HasFlag(DRAVUI::UIF_SELECTED)) << "a knife is not for the bar";
    EXPECT_TRUE(marked(Table::kMemberBase + 1));
    page.OnEndDrag();
    for (int id : {Table::kSlotBase, Table::kBackpackList, Table::kPileList, Table::kMemberBase + 1})
        EXPECT_FALSE(marked(id)) << id;
    EXPECT_TRUE(marked(Table::kMemberBase)) << "the page's own member stays highlighted";
    page.OnBeginDrag(Table::kBackpackBase + 1);
    EXPECT_TRUE(Bar().Slot(5).HasFlag(DRAVUI::UIF_SELECTED));
    EXPECT_FALSE(marked(Table::kSlotBase + DRAV::SLOT_WEAPON));
}

TEST_F(InventoryPageTest, TheInventoryKeyAndTheEnginesEventOpenIt) {
    DRAV::CObject& chest = Chest(false);
    CDRAVAppTestAccess::SetSelectedMember(app, 0);
    app.OnKeyDown('I', false);
    ASSERT_NE(Current<CActorInvDlg>(), nullptr);
    EXPECT_EQ(Current<CActorInvDlg>()->GetContainer(), nullptr);
    CDRAVAppTestAccess::DropDialogs(app);
    // The container the actor has just opened, however far it stands.
    game.Game().PushEvent(std::make_shared<DRAV::CInvEvent>(Wren().GetId(), chest.GetId()));
    app.DrainEngineEvents();
    app.ProcessPendingEvents();
    ASSERT_NE(Current<CActorInvDlg>(), nullptr);
    EXPECT_EQ(Current<CActorInvDlg>()->GetContainer(), &chest);
}

// An item's alternate click opens its page with the use offered; an empty slot's
// does nothing, and the page stays under the item page.
TEST_F(InventoryPageTest, TheAlternateClickOpensTheItemsPage) {
    Wren().AddToBackpack(MakeItem("river_tonic", 1), false);
    CActorInvDlg& page = Open();
    EXPECT_FALSE(page.OnAltClick(Table::kSlotBase + DRAV::SLOT_HELMET));
    EXPECT_EQ(Current<CActorInvDlg>(), &page);
    EXPECT_FALSE(page.OnAltClick(Table::kBackpackBase));
    auto* item = Current<CItemDlg>();
    ASSERT_NE(item, nullptr);
    EXPECT_EQ(item->GetTitle(), "River Tonic");
    EXPECT_FALSE(item->GetExtraLabel().empty()) << "the use is offered";
    Key(VK_ESCAPE);
    EXPECT_EQ(Current<CActorInvDlg>(), &page);
    // The engine's event for an actor the area does not hold opens nothing more.
    game.Game().PushEvent(std::make_shared<DRAV::CInvEvent>(0x03FFFFFFu, 0));
    app.DrainEngineEvents();
    app.ProcessPendingEvents();
    EXPECT_EQ(Current<CActorInvDlg>(), &page);
}

// The sheet's tabs 2 to 4 open these pages, each titled and helped by its own row.
TEST_F(InventoryPageTest, EachPageHasItsTitleAndHelpPage) {
    const struct {
        int tab;
        const char* title;
        const char* help;
    } pages[] = {{CBaseActorDlg2::kInventoryTab, "Wren - Inventory", "actor_inventory"},
                 {CBaseActorDlg2::kJournalTab, "Wren - Journal", "actor_journal"},
                 {CBaseActorDlg2::kAbilitiesTab, "Wren - Abilities", "actor_abilities"}};
    for (const auto& page : pages) {
        std::shared_ptr<CBaseActorDlg2> opened = MakeActorSheetPage(&app, Wren(), page.tab);
        ASSERT_NE(opened, nullptr) << page.tab;
        EXPECT_EQ(opened->GetTabIndex(), page.tab);
        app.SetDialog(true, opened);
        EXPECT_EQ(app.GetCurrentDialog()->GetTitle(), page.title);
        Key(VK_OEM_2);
        auto* help = Current<CHelpDlg>();
        ASSERT_NE(help, nullptr) << page.title;
        EXPECT_STREQ(help->GetPage().key, page.help);
        CDRAVAppTestAccess::DropDialogs(app);
    }
}

TEST_F(InventoryPageTest, ADominatedActorsPageIsReadOnly) {
    Wren().AddToBackpack(MakeItem("river_tonic", 1), false);
    Wren().SetEquipment(DRAV::SLOT_WEAPON, MakeItem("smugglers_knife", 1));
    EXPECT_TRUE(Open().CanChange());
    EXPECT_TRUE(FindElement(Table::kSlotBase)->HasFlag(DRAVUI::UIF_DRAGGABLE));
    ASSERT_FALSE(List(Table::kBackpackList).GetColumn(0).empty());
    EXPECT_TRUE(List(Table::kBackpackList).GetColumn(0)[0]->HasFlag(DRAVUI::UIF_DRAGGABLE));
    CDRAVAppTestAccess::DropDialogs(app);
    auto dominated = std::make_shared<DRAV::CSpellApply>("Spell", DRAV::CDamageType{}, 0, 0, true, false);
    dominated->GetParts().push_back(std::make_shared<DRAV::CSpellApplyEffectStatus>(0, DRAV::STATUS_DOMINATED));
    Wren().AppendEffects({dominated});
    CActorInvDlg& page = Open();
    EXPECT_FALSE(page.CanChange());
    for (int slot = 0; slot < DRAV::kEquipSlotCount; ++slot)
        EXPECT_FALSE(FindElement(Table::kSlotBase + slot)->HasFlag(DRAVUI::UIF_DRAGGABLE)) << slot;
    // The shown lists' cells cannot be picked up.
    ASSERT_FALSE(List(Table::kBackpackList).GetColumn(0).empty());
    EXPECT_FALSE(List(Table::kBackpackList).GetColumn(0)[0]->HasFlag(DRAVUI::UIF_DRAGGABLE));
}

}  // namespace
