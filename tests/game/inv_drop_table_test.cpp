// The inventory page's drop handler on the engine fixture: each drag becomes the
// orders its table names, run at once, and the page shows the outcome.

#include <gtest/gtest.h>

#include "game/dialogs/sheet/actor_inv_dlg.h"
#include "game/dialogs/sheet/inv_drop_table.h"
#include "game/dialogs/text_dlg.h"
#include "platform/win32/virtual_keys.h"
#include "rules/items/item_template.h"
#include "trade_test_support.h"
#include "ui/ui_items_list.h"
#include "ui/ui_manager.h"
#include "world/area.h"
#include "world/object.h"

namespace {

using DRAV::CItem;
using QuillmereTest::ShellWithGame;
using Table = CInvDropTable;

class InvDropTableTest : public ::testing::Test, public ShellWithGame {
protected:
    void SetUp() override {
        ASSERT_TRUE(loaded);
        CDRAVAppTestAccess::StartPlaying(app);
        app.UpdatePartyQuickActions(false);
        app.SetDialog(true, std::make_shared<CActorInvDlg>(&app, &Wren(), 0));
        page = Current<CActorInvDlg>();
        ASSERT_NE(page, nullptr);
    }
    void Drop(int source, int target) { page->OnDrop(source, target); }
    CInvDropTable& Table() { return page->Table(); }
    DRAVUI::CUIItemsListWindow* List(int id) {
        for (const auto& element : app.GetUIManager().GetElements())
            if (element->GetId() == id) return dynamic_cast<DRAVUI::CUIItemsListWindow*>(element.get());
        return nullptr;
    }
    // The backpack list shows the backpack as it is now.
    bool BackpackShown() { return List(Table::kBackpackList)->GetItems() == Wren().GetBackpackItems(); }
    std::shared_ptr<CItem> Carry(const std::string& key, std::int32_t count) {
        auto item = MakeItem(key, count);
        Wren().AddToBackpack(item, false);
        return item;
    }
    static int CellOf(const DRAV::ItemPtrList& items, const CItem& item, int base) {
        for (std::size_t i = 0; i < items.size(); ++i)
            if (items[i].get() == &item) return base + static_cast<int>(i);
        throw std::runtime_error("item not listed");
    }
    int BackpackCell(const CItem& item) { return CellOf(Wren().GetBackpackItems(), item, Table::kBackpackBase); }
    int PileCell(const CItem& item) { return CellOf(page->GetContainer()->GetItems(), item, Table::kPileBase); }
    std::vector<std::int32_t> Counts(const std::string& key) {
        std::vector<std::int32_t> counts;
        for (const auto& item : Wren().GetBackpackItems())
            if (item->GetTemplate().GetKey() == key) counts.push_back(item->GetCount());
        return counts;
    }
    // A companion `distance` units east of Wren.
    std::shared_ptr<DRAV::CActor> Companion(double distance) {
        auto member = Beside("ferryman_elder");
        if (!member) throw std::runtime_error("no room");
        member->FinalizeMove(Wren().GetX() + distance, Wren().GetY());
        game.Game().AddPartyMember(member);
        return member;
    }
    bool Holds(const DRAV::CActor& actor, const CItem& item) {
        for (const auto& held : actor.GetBackpackItems())
            if (held.get() == &item) return true;
        return false;
    }

    CActorInvDlg* page = nullptr;
};

TEST_F(InvDropTableTest, TheDropTableRowByRow) {
    // A stack of five on the backpack's empty area splits off one.
    const auto tonic = Carry("river_tonic", 5);
    audio->played.clear();
    Drop(BackpackCell(*tonic), Table::kBackpackList);
    EXPECT_EQ(Counts("river_tonic"), (std::vector<std::int32_t>{4, 1}));
    EXPECT_EQ(audio->played, std::vector<int>{Table::kInventorySound});
    EXPECT_TRUE(BackpackShown());

    // The single one there joins the first other stack of its kind.
    const auto single = Wren().GetBackpackItems().back();
    Drop(BackpackCell(*single), Table::kBackpackList);
    EXPECT_EQ(Counts("river_tonic"), std::vector<std::int32_t>{5});
    // A single item with no other of its kind: nothing at all.
    const auto lone = Carry("cork_float", 1);
    const std::size_t before = Wren().GetBackpackItems().size();
    audio->played.clear();
    Drop(BackpackCell(*lone), Table::kBackpackList);
    Drop(BackpackCell(*lone), BackpackCell(*lone));
    EXPECT_EQ(Wren().GetBackpackItems().size(), before);
    EXPECT_TRUE(audio->played.empty());

    // Slot to pile: unwielded, then dropped; the page finds the pile it made.
    const auto knife = MakeItem("smugglers_knife", 1);
    Wren().SetEquipment(DRAV::SLOT_WEAPON, knife);
    const DRAV::CObject* containerBefore = page->GetContainer();
    Drop(Table::kSlotBase + DRAV::SLOT_WEAPON, Table::kPileList);
    EXPECT_EQ(Wren().GetEquipped(DRAV::SLOT_WEAPON), nullptr);
    EXPECT_FALSE(Holds(Wren(), *knife));
    ASSERT_NE(page->GetContainer(), nullptr);
    if (!containerBefore) {
        EXPECT_EQ(page->GetContainer()->GetTemplate().GetName(), "Pile");
    }
    EXPECT_NE(DRAV::FindItemById(page->GetContainer()->GetItems(), knife->GetId()), nullptr);

    // Pile money dropped anywhere is taken: here on nothing at all.
    const auto coins = MakeItem("gold", 7);
    page->GetContainer()->AddItem(coins);
    const std::int32_t gold = game.Game().GetGold();
    Drop(PileCell(*coins), 0);
    EXPECT_EQ(game.Game().GetGold(), gold + 7);
    EXPECT_EQ(DRAV::FindItemById(page->GetContainer() ? page->GetContainer()->GetItems() : DRAV::ItemPtrList{},
                                 coins->GetId()),
              nullptr);

    // A pile item on the backpack is taken.
    Drop(PileCell(*knife), Table::kBackpackList);
    EXPECT_TRUE(Holds(Wren(), *knife));

    // Slot to a member in reach: unwielded, then given.
    const auto brannoc = Companion(3);
    Wren().SetEquipment(DRAV::SLOT_WEAPON, Wren().RemoveFromBackpack(*knife));
    Drop(Table::kSlotBase + DRAV::SLOT_WEAPON, Table::kMemberBase + 1);
    EXPECT_EQ(Wren().GetEquipped(DRAV::SLOT_WEAPON), nullptr);
    EXPECT_TRUE(Holds(*brannoc, *knife));
    EXPECT_FALSE(Holds(Wren(), *knife));
}

TEST_F(InvDropTableTest, GivingToAMemberOutOfReachIsRefusedWithoutAnOrder) {
    const auto tonic = Carry("river_tonic", 2);
    const auto brannoc = Companion(Wren().GetRadius() + 25 + 0.5 + 2.0);
    ASSERT_FALSE(Wren().IsWithinReach(*brannoc));
    audio->played.clear();
    Drop(BackpackCell(*tonic), Table::kMemberBase + 1);
    auto* refusal = Current<CTextDlg>();
    ASSERT_NE(refusal, nullptr);
    EXPECT_EQ(refusal->GetTitle(), "Can't Give Item");
    EXPECT_EQ(refusal->GetText(), "Wren can't give River Tonic because " + brannoc->GetName() + " is too far.");
    EXPECT_TRUE(Wren().GetInstantOrders().empty());
    EXPECT_TRUE(Holds(Wren(), *tonic));
    EXPECT_FALSE(Holds(*brannoc, *tonic));
}

TEST_F(InvDropTableTest, AUsablePotionFillsOnlyAnAssignableQuickActionSlot) {
    const auto tonic = Carry("river_tonic", 1);
    const int kindBefore = app.GetQuickActionKind(Wren(), 2);
    audio->played.clear();
    Drop(BackpackCell(*tonic), Table::kQuickSlotBase + 2);
    EXPECT_EQ(app.GetQuickActionKind(Wren(), 2), kindBefore);
    EXPECT_TRUE(audio->played.empty());
    Drop(BackpackCell(*tonic), Table::kQuickSlotBase + 5);
    EXPECT_EQ(app.GetQuickActionKind(Wren(), 5), 10);
    EXPECT_EQ(app.GetQuickActionItem(Wren(), 5), "river_tonic");
    EXPECT_EQ(audio->played, std::vector<int>{Table::kClickSound});
    EXPECT_TRUE(Holds(Wren(), *tonic)) << "no order: the potion stays";
}

// An item the actor is not proficient with asks first; only "Yes" empties the
// occupied slot and wields.
TEST_F(InvDropTableTest, WieldingWithoutProficiencyAsksAndNoLeavesTheSlot) {
    const auto knife = MakeItem("smugglers_knife", 1);
    Wren().SetEquipment(DRAV::SLOT_WEAPON, knife);
    const auto axe = Carry("hand_axe", 1);
    ASSERT_FALSE(Wren().IsProficientWith(*axe)) << "the axe must be foreign to Wren";
    Drop(BackpackCell(*axe), Table::kSlotBase + DRAV::SLOT_WEAPON);
    auto* question = Current<CActorInvDlgConfirmWield>();
    ASSERT_NE(question, nullptr);
    EXPECT_EQ(question->GetTitle(), "Wield?");
    EXPECT_EQ(question->GetQuestion(),
              "Wren is not proficient in the use of Hand Axe. Are you certain you wish to wield Hand Axe?");
    EXPECT_TRUE(Wren().GetInstantOrders().empty()) << "nothing queued before the answer";
    Key('N');
    EXPECT_EQ(Wren().GetEquipped(DRAV::SLOT_WEAPON), knife.get());
    EXPECT_TRUE(Holds(Wren(), *axe));
    app.RunInstantOrders();
    EXPECT_EQ(Wren().GetEquipped(DRAV::SLOT_WEAPON), knife.get()) << "no unwield was left queued";

    // A slot that cannot take it at all asks nothing, keeps what it holds and says so.
    const auto ring = MakeItem("ring_of_the_current", 1);
    Wren().SetEquipment(DRAV::SLOT_LEFT_RING, ring);
    Drop(BackpackCell(*axe), Table::kSlotBase + DRAV::SLOT_LEFT_RING);
    ASSERT_EQ(Current<CActorInvDlgConfirmWield>(), nullptr);
    EXPECT_EQ(Wren().GetEquipped(DRAV::SLOT_LEFT_RING), ring.get());
    EXPECT_EQ(app.GetMessageLog().back(), "Wren can't wield Hand Axe in the left ring slot.");

    Drop(BackpackCell(*axe), Table::kSlotBase + DRAV::SLOT_WEAPON);
    Key('Y');
    EXPECT_EQ(Wren().GetEquipped(DRAV::SLOT_WEAPON), axe.get()) << app.GetMessageLog().back();
    EXPECT_TRUE(Holds(Wren(), *knife));
}

TEST_F(InvDropTableTest, ItemsBehindElementIds) {
    const auto tonic = Carry("river_tonic", 1);
    EXPECT_EQ(Table().ItemOfId(Table::kBackpackBase), Wren().GetBackpackItems().front());
    EXPECT_EQ(Table().ItemOfId(Table::kBackpackBase + 999), nullptr);
    EXPECT_EQ(Table().ItemOfId(Table::kSlotBase + 7), nullptr) << "beyond the seven slots";
    EXPECT_EQ(Table().ItemOfId(Table::kBackpackList), nullptr);
    // A drop on an id past the seven slots wields nothing.
    audio->played.clear();
    Drop(Table::kBackpackBase, Table::kSlotBase + 7);
    EXPECT_TRUE(Holds(Wren(), *tonic));
    EXPECT_TRUE(audio->played.empty());
    // A drag from nothing, or from an empty slot, does nothing.
    Drop(Table::kSlotBase + DRAV::SLOT_HELMET, Table::kBackpackList);
    audio->played.clear();
    Drop(Table::kBackpackList, Table::kPileList);
    EXPECT_TRUE(audio->played.empty());
    EXPECT_TRUE(Holds(Wren(), *tonic));
}

}  // namespace
