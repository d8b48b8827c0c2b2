// Every way the player is refused, as the shell meets it: a click, a quick action,
// an F-key, a drop on a store. A refusal changes nothing the party holds and says
// in one line who was refused, what and why.

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "game/dialogs/talk/store_dlg.h"
#include "game/dialogs/text_dlg.h"
#include "world/master_tile.h"
#include "rules/definitions/tile_template.h"
#include "trade_test_support.h"
#include "world/area.h"
#include "world/order.h"
#include "world/tile.h"

namespace {

using namespace DRAV;
using QuillmereTest::ShellWithGame;

constexpr int kPickTile = 1;
constexpr int kPickActor = 3;
constexpr int kAttackKind = 2;
constexpr int kCastKind = 11;

// What a refusal must leave as it was: each member's orders (the very ones),
// energy, hurt, items and quick actions, and the party's gold.
struct PartyState {
    struct Member {
        std::vector<std::shared_ptr<COrder>> continuing, instant;
        std::int32_t energyUsed = 0, damageTaken = 0;
        std::vector<std::pair<const CItem*, std::int32_t>> items;
        int currentAction = 0;
        std::vector<std::string> actions;
        bool operator==(const Member&) const = default;
    };
    std::vector<Member> members;
    std::int32_t gold = 0;
    bool operator==(const PartyState&) const = default;

    static PartyState Of(CDRAVApp& app, const CGame& game) {
        PartyState state;
        state.gold = game.GetGold();
        for (const auto& actor : game.GetParty()) {
            Member member;
            member.continuing.assign(actor->GetContinuingOrders().begin(), actor->GetContinuingOrders().end());
            member.instant.assign(actor->GetInstantOrders().begin(), actor->GetInstantOrders().end());
            member.energyUsed = actor->GetEnergyUsed();
            member.damageTaken = actor->GetDamageTaken();
            for (const auto& item : actor->GetBackpack()) member.items.emplace_back(item.get(), item->GetCount());
            for (const auto& item : actor->GetEquipment())
                if (item) member.items.emplace_back(item.get(), item->GetCount());
            member.currentAction = app.GetCurrentQuickAction(*actor);
            for (int slot = 0; slot < CDRAVActorInfo::kSlots; ++slot)
                member.actions.push_back(std::to_string(app.GetQuickActionKind(*actor, slot)) + " " +
                                         app.GetQuickActionSpell(*actor, slot) + " " +
                                         app.GetQuickActionItem(*actor, slot));
            state.members.push_back(std::move(member));
        }
        return state;
    }
};

class Refusals : public ::testing::Test, public ShellWithGame {
protected:
    void SetUp() override {
        ASSERT_TRUE(loaded);
        game.Module().CreateActor(marra, &game.Game(), "reed_witch", "", 0);
        game.Game().AddPartyMember(marra);
        ASSERT_TRUE(game.Area().PlaceActor(8, 6, false, marra));
        goblin = game.Spawn("reed_goblin", 10, 8);
        wick = game.Spawn("reed_smuggler", 6, 10);
        tansy = Beside("landing_trader");
        ASSERT_TRUE(goblin && wick && tansy);
        wick->SetRelation(RELATION_SURRENDER);
        CDRAVAppTestAccess::StartPlaying(app);
        app.UpdatePartyQuickActions(false);
        game.DrainEvents();
    }
    void Select(const CActor& member) {
        CDRAVAppTestAccess::SetSelectedMember(app, member.GetPartyIndex());
    }
    CTile* TileNamed(const std::string& name) {
        CArea& area = game.Area();
        for (std::uint32_t cell = 0; cell < area.GetRows() * area.GetColumns(); ++cell)
            if (CTile* at = area.GetTile(cell % area.GetColumns(), cell / area.GetColumns());
                at && at->GetMaster() && at->GetMaster()->GetDefinition().GetName() == name)
                return at;
        return nullptr;
    }

    std::shared_ptr<CActor> marra, goblin, wick, tansy;
};

TEST_F(Refusals, ARefusalChangesNothingAndSaysWhoWhatAndWhy) {
    struct Row {
        const char* what;
        std::function<void()> before;  // orders and choices the party has when refused
        std::function<void()> act;
        std::string said;
    };
    CActor& wren = Wren();
    const auto ferryWand = MakeItem("ferry_wand", 1);
    const auto fightAndWalk = [&] {
        wren.PushOrder(std::make_shared<CAttackOrder>(goblin->GetId()), false);
        marra->PushOrder(std::make_shared<CMoveOrder>(20.0, 20.0), false);
    };
    const Row rows[] = {
        {"a click on a wall, Wren in a fight",
         [&] {
             fightAndWalk();
             Select(wren);
         },
         [&] { EXPECT_FALSE(app.PerformAction(0, kPickTile, TileNamed("Reed Wall"), POINT{0, 0}, true)); },
         "Wren can't walk there: the Reed Wall is no place to walk."},
        {"a click on a wall, the whole party chosen",
         [&] {
             fightAndWalk();
             CDRAVAppTestAccess::SetSelectedMember(app, CDRAVApp::kWholeParty);
         },
         [&] { EXPECT_FALSE(app.PerformAction(0, kPickTile, TileNamed("River Channel"), POINT{0, 0}, true)); },
         "The party can't walk there: the River Channel is no place to walk."},
        {"F1's attack at one who has surrendered",
         [&] {
             fightAndWalk();
             Select(wren);
             app.SetQuickActionKind(wren, kAttackKind, 0);
             app.SelectQuickAction(wren, 0);
         },
         [&] { EXPECT_FALSE(app.PerformAction(kAttackKind, kPickActor, wick.get(), POINT{0, 0}, true)); },
         "Wren can't attack Reed Smuggler: Reed Smuggler has surrendered."},
        {"an F-key holding a spell its member cannot cast",
         [&] {
             fightAndWalk();
             Select(*marra);
             app.SetQuickActionKind(*marra, kCastKind, 8);
             app.SetQuickActionSpell(*marra, "call_wisp", 8);
         },
         [&] { app.ChooseQuickAction(8); },
         marra->GetName() + " can't cast Call Marsh Wisp: " + marra->GetName() + " lacks Spirit Magic."},
        {"a wand dropped on a store that buys none",
         [&] {
             fightAndWalk();
             wren.AddToBackpack(ferryWand, false);
             app.SetDialog(true, std::make_shared<CStoreDlg>(&app, &wren, tansy.get()));
         },
         [&] {
             const auto& backpack = wren.GetBackpack();
             const auto at = std::find(backpack.begin(), backpack.end(), ferryWand) - backpack.begin();
             Current<CStoreDlg>()->OnDrop(CStoreDlg::kBackpackBase + static_cast<int>(at), CStoreDlg::kStoreList);
             EXPECT_NE(Current<CTextDlg>(), nullptr) << "said over the store, which hides the log";
         },
         "Wren can't sell Ferry Wand to Tansy the Trader: Tansy the Trader does not buy any wand."},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        CDRAVAppTestAccess::DropDialogs(app);
        for (const auto& member : game.Game().GetParty()) member->CancelOrders();
        row.before();
        const PartyState before = PartyState::Of(app, game.Game());
        const std::size_t lines = app.GetMessageLog().size();

        row.act();

        EXPECT_TRUE(PartyState::Of(app, game.Game()) == before) << "something changed";
        ASSERT_EQ(app.GetMessageLog().size(), lines + 1);
        EXPECT_EQ(app.GetMessageLog().back(), row.said);
    }
}

}  // namespace
