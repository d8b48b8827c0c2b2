// The use order on the sample chapter: potions and scrolls from the backpack, the
// boathouse's locked three-board shutters, bad tiles, and Orrin's tackle chest.

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "common/random.h"
#include "support/message_texts.h"
#include "support/sample_game.h"
#include "world/item.h"
#include "world/master_tile.h"
#include "world/object.h"
#include "world/order.h"
#include "world/tile.h"

using namespace DRAV;
using QuillmereTest::SampleGame;
using QuillmereTest::StartSampleGame;

namespace {

using QuillmereTest::MessageTexts;

bool HasCode(const std::vector<std::shared_ptr<CEvent>>& events, std::int32_t code) {
    return std::any_of(events.begin(), events.end(), [code](const auto& e) { return e->GetCode() == code; });
}

ThingId TileId(std::uint32_t column, std::uint32_t row) { return 0x01000000u + row * 1000u + column; }

// Wren moved to the cell, nothing else changed.
void Move(const SampleGame& game, std::uint32_t column, std::uint32_t row) {
    const auto wren = game.Main();
    game.Area().RemoveActor(*wren);
    ASSERT_TRUE(game.Area().PlaceActor(column, row, false, wren));
}

// Ticks until Wren has no orders left, at most `limit`.
void RunOrders(const SampleGame& game, int limit) {
    for (int i = 0; i < limit && !game.Main()->GetOrders().empty(); ++i) game.Tick(1);
}

CItem& Carry(const SampleGame& game, const std::string& key, std::int32_t count) {
    auto item = game.Module().CreateItem(key, count, game.Game().NewThingId(THING_ITEM), 0);
    game.Main()->AddToBackpack(item, false);
    return *item;
}

}  // namespace

TEST(EngineUse, APotionIsDrunkLikeACastAndUsedUpButNeverInstantly) {
    DRAVCommon::GetRandomEngine().seed(2);
    auto game = StartSampleGame();
    game.EnterOpenArea(20, 8);
    const auto wren = game.Main();
    CItem& tonic = Carry(game, "river_tonic", 1);
    const ThingId id = tonic.GetId();
    game.DrainEvents();
    game.Engine().RunUseItemOrder(*wren, CUseOrder(USE_ITEM, id, 0), true);
    EXPECT_EQ(MessageTexts(game.DrainEvents()), std::vector<std::string>{"Wren can't use River Tonic."});
    wren->SetDamageTaken(10);
    wren->SetGender(GENDER_MALE);
    wren->PushOrder(std::make_shared<CUseOrder>(USE_ITEM, id, 0), true);
    RunOrders(game, 100);
    game.Tick(10);
    EXPECT_TRUE(wren->GetOrders().empty());
    EXPECT_EQ(wren->FindItem(id, nullptr), nullptr);
    // Potions cost no energy; the heal arrives after the strike.
    EXPECT_EQ(wren->GetEnergyUsed(), 0);
    const auto texts = MessageTexts(game.DrainEvents());
    ASSERT_EQ(texts.size(), 2u);
    EXPECT_EQ(texts[0], "Wren drinks River Tonic.");
    const std::int32_t healed = 10 - wren->GetDamageTaken();
    EXPECT_EQ(texts[1],
              "Wren heals himself for " + std::to_string(healed) + (healed == 1 ? " hit point." : " hit points."));
}

TEST(EngineUse, AScrollFromAStackOfThreeLeavesTwoAndAKnownSpellKeepsTheScroll) {
    auto game = StartSampleGame();
    const auto wren = game.Main();
    wren->AddSkill(SKILL_ARCANE_MAGIC);
    wren->AddSkill(SKILL_LIFE_MAGIC);
    CItem& scrolls = Carry(game, "lantern_scroll", 3);
    game.DrainEvents();
    const CUseOrder use(USE_ITEM, scrolls.GetId(), 0);
    game.Engine().RunUseItemOrder(*wren, use, true);
    EXPECT_EQ(scrolls.GetCount(), 2);
    EXPECT_EQ(MessageTexts(game.DrainEvents()), std::vector<std::string>{"Wren inscribes Reed Lantern."});
    game.Engine().RunUseItemOrder(*wren, use, true);
    EXPECT_EQ(scrolls.GetCount(), 2);
    EXPECT_TRUE(MessageTexts(game.DrainEvents()).empty());
}

// A door kept open, by a foe near in a fight, one in its doorway or its make, says why.
TEST(EngineUse, TheLockedShuttersArePickedAndOpenAsOneButStayOpenWithAnEnemyNear) {
    DRAVCommon::GetRandomEngine().seed(4);
    auto game = StartSampleGame();
    const auto wren = game.Main();
    Move(game, 12, 8);
    game.DrainEvents();
    wren->PushOrder(std::make_shared<CUseOrder>(USE_TILE, TileId(11, 10), 0), true);
    RunOrders(game, 60);
    const auto events = game.DrainEvents();
    for (std::uint32_t column = 11; column <= 13; ++column) {
        const CMasterTileDoor* door = game.Area().GetTile(column, 10)->GetDoor();
        ASSERT_NE(door, nullptr);
        EXPECT_TRUE(door->IsOpen()) << column;
        EXPECT_EQ(door->GetLockValue(), 0u);
    }
    const auto texts = MessageTexts(events);
    ASSERT_FALSE(texts.empty());
    EXPECT_EQ(texts.front().rfind("Wren picks the locked door ", 0), 0u) << texts.front();
    EXPECT_TRUE(HasCode(events, 2));
    // The open shutters change what the party sees: the next tick's pass runs in full.
    EXPECT_FALSE(game.Area().GetSeenCells().Get(12, 11));
    game.Engine().UpdateActorEffects();
    EXPECT_TRUE(HasCode(game.DrainEvents(), 6));
    EXPECT_TRUE(game.Area().GetSeenCells().Get(12, 11));
    // A goblin comes in behind Wren: in battle the shutters stay open.
    const auto goblin = game.Spawn("reed_goblin", 14, 8);
    ASSERT_TRUE(goblin);
    goblin->SetRelation(RELATION_HOSTILE);
    game.Game().SetInBattle(true);
    // A step back from the doorway, which whoever stands in it keeps open.
    Move(game, 12, 8);
    auto close = std::make_shared<CUseOrder>(USE_TILE, TileId(12, 10), 0);
    game.Area().SetViewStale(false);
    wren->PushOrder(close, true);
    game.Engine().RunUseTileOrder(*wren, *close);
    EXPECT_EQ(MessageTexts(game.DrainEvents()),
              std::vector<std::string>{goblin->GetName() + " won't let Wren close the door."});
    EXPECT_TRUE(game.Area().GetTile(13, 10)->GetDoor()->IsOpen());
    EXPECT_FALSE(game.Area().IsViewStale());  // the refused close changed nothing
    // Out of battle they close, all three, and what the party sees is worked out anew.
    game.Game().SetInBattle(false);
    wren->PushOrder(close, true);
    game.Engine().RunUseTileOrder(*wren, *close);
    for (std::uint32_t column = 11; column <= 13; ++column)
        EXPECT_FALSE(game.Area().GetTile(column, 10)->GetDoor()->IsOpen()) << column;
    EXPECT_TRUE(game.Area().IsViewStale());
    // Opened again, the same.
    game.Area().SetViewStale(false);
    auto open = std::make_shared<CUseOrder>(USE_TILE, TileId(12, 10), 0);
    wren->PushOrder(open, true);
    game.Engine().RunUseTileOrder(*wren, *open);
    EXPECT_TRUE(game.Area().GetTile(11, 10)->GetDoor()->IsOpen());
    EXPECT_TRUE(game.Area().IsViewStale());
    game.DrainEvents();
    // The goblin in the doorway; then the slipway doors, open, which never close.
    goblin->SetPosition(12 * 2.5 + 1.25, 10 * 2.5 + 1.25);
    game.Area().GetTile(11, 6)->GetDoor()->SetOpen(true);
    for (const auto& [tile, said] : {std::pair{TileId(12, 10), "Wren can't close the Boathouse Shutters: Reed Goblin stands in the doorway."},
                                     std::pair{TileId(11, 6), "Wren can't close the Slipway Doors: once open, they stay open."}}) {
        const auto use = std::make_shared<CUseOrder>(USE_TILE, tile, 0);
        wren->PushOrder(use, true);
        game.Engine().RunUseTileOrder(*wren, *use);
        EXPECT_EQ(MessageTexts(game.DrainEvents()), std::vector<std::string>{said});
    }
}

TEST(EngineUse, UsingAWallOrATileOffTheGridIsDroppedAtOnce) {
    auto game = StartSampleGame();
    const auto wren = game.Main();
    for (ThingId tile : {TileId(0, 0), TileId(999, 999), ThingId{0x02000001}}) {
        wren->PushOrder(std::make_shared<CUseOrder>(USE_TILE, tile, 0), true);
        game.Tick(1);
        EXPECT_TRUE(wren->GetOrders().empty());
    }
}

TEST(EngineUse, TheTackleChestOpensAsAContainerOnlyWhenItsLockGivesWay) {
    auto game = StartSampleGame();
    const auto wren = game.Main();
    CObject* chest = nullptr;
    for (const auto& object : game.Area().GetObjects())
        if (object->GetTemplate().GetKey() == "tackle_chest") chest = object.get();
    ASSERT_NE(chest, nullptr);
    const auto opened = [&game] {
        const auto events = game.DrainEvents();
        return std::find_if(events.begin(), events.end(), [](const auto& e) {
                   return dynamic_cast<const CInvEvent*>(e.get()) != nullptr;
               }) != events.end();
    };
    Move(game, 12, 8);
    // A lock far beyond Wren's hands keeps the chest shut and ends the order.
    chest->SetLockValue(500);
    chest->SetUnlocked(false);
    game.DrainEvents();
    wren->PushOrder(std::make_shared<CUseOrder>(USE_OBJECT, chest->GetId(), 0), true);
    RunOrders(game, 200);
    EXPECT_TRUE(wren->GetOrders().empty());
    EXPECT_FALSE(opened());

    chest->SetLockValue(0);
    wren->PushOrder(std::make_shared<CUseOrder>(USE_OBJECT, chest->GetId(), 0), true);
    RunOrders(game, 200);
    EXPECT_TRUE(opened());
}

TEST(EngineUse, AWandThatBurnsOutEndsItsCastWithTheWandsRecovery) {
    DRAVCommon::GetRandomEngine().seed(4);
    auto game = StartSampleGame();
    game.EnterOpenArea(20, 8);
    const auto wren = game.Main();
    wren->AddSkill(SKILL_WANDS);
    wren->SetClass(CLASS_ROGUE);  // a rogue reaches two tiers above its own with a wand
    // Used on herself, a fresh wand each time, until one burns out (five in a hundred uses).
    bool burnt = false;
    for (int use = 0; use < 400 && !burnt; ++use) {
        CItem& wand = Carry(game, "ferry_wand", 1);
        const ThingId id = wand.GetId();
        wren->PushOrder(std::make_shared<CUseOrder>(USE_ITEM, id, wren->GetId()), true);
        // The tick that ends the cast shows the recovery, the wand gone or not.
        for (int tick = 0; tick < 300 && !wren->GetOrders().empty(); ++tick) game.Tick(1);
        burnt = !wren->FindItem(id, nullptr);
        if (burnt) {
            EXPECT_EQ(wren->GetAnimation(), static_cast<std::uint32_t>(ANIM_WRECOVER));
        } else {
            wren->RemoveFromBackpack(wand);
        }
        game.Tick(200);
    }
    ASSERT_TRUE(burnt);
    const auto texts = MessageTexts(game.DrainEvents());
    EXPECT_TRUE(std::find(texts.begin(), texts.end(), "Wren's Ferry Wand burns out.") != texts.end());
}
