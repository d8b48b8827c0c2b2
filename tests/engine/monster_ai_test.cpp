// Monsters deciding for themselves: the target search, the simple AIs and the
// brain's first thought that arms them.

#include <gtest/gtest.h>

#include <cmath>

#include "common/random.h"
#include "engine/brain/ai.h"
#include "engine/brain/ai_simple.h"
#include "engine/brain/brain.h"
#include "engine/monster_field.h"
#include "support/sample_game.h"
#include "world/events/event.h"
#include "world/item.h"

using namespace DRAV;
using QuillmereTest::SampleGame;

namespace {

SampleGame OpenField() { return QuillmereTest::MonsterField(3); }

void See(CArea& area, const CActor& actor) {
    area.GetSeenCells().Set(static_cast<std::uint32_t>(actor.GetX() / 2.5), static_cast<std::uint32_t>(actor.GetY() / 2.5),
                            true);
}

using QuillmereTest::CurrentOrder;

}  // namespace

TEST(MonsterAI, AChargingGoblinReachesThePartyAndStrikes) {
    auto game = OpenField();
    const auto main = game.Main();
    const auto goblin = game.Spawn("reed_goblin", 14, 1);
    ASSERT_TRUE(goblin);
    goblin->SetRelation(RELATION_HOSTILE);  // roused, far off
    const double start = goblin->DistanceTo(*main);
    game.Tick();
    const auto* attack = CurrentOrder<CAttackOrder>(*goblin);
    ASSERT_NE(attack, nullptr);
    EXPECT_EQ(attack->target, main->GetId());

    bool struck = false;
    for (int tick = 0; tick < 900 && !struck; ++tick) {
        game.Tick();
        for (const auto& event : game.DrainEvents())
            if (auto* message = dynamic_cast<const CMessageEvent*>(event.get()))
                struck |= message->GetText().rfind("Reed Goblin", 0) == 0 &&
                          (message->GetCode() == MESSAGE_MELEE_HIT || message->GetCode() == MESSAGE_MELEE_MISS);
    }
    EXPECT_TRUE(struck);
    EXPECT_LT(goblin->DistanceTo(*main), start);
}

TEST(MonsterAI, TheFirstThoughtArmsTheMonsterOnce) {
    auto game = OpenField();
    const auto archer = game.Spawn("goblin_archer", 30, 8);
    ASSERT_TRUE(archer);
    ASSERT_EQ(archer->GetEquipped(SLOT_WEAPON), nullptr);
    game.Tick();
    ASSERT_NE(archer->GetEquipped(SLOT_WEAPON), nullptr);
    EXPECT_EQ(archer->GetEquipped(SLOT_WEAPON)->GetTemplate().GetKey(), "reed_bow");
    EXPECT_TRUE(archer->GetBrain()->IsEquipped());

    // Taken off again, it stays off: the step runs once per actor.
    archer->AddToBackpack(archer->RemoveEquipment(SLOT_WEAPON), true);
    game.Tick();
    EXPECT_EQ(archer->GetEquipped(SLOT_WEAPON), nullptr);
    // Far beyond its 100 units, the archer shoots at no one.
    EXPECT_EQ(archer->GetCurrentOrder(), nullptr);
}

// A weapon's numbers may each lie near the top of the 32-bit range: their sum must
// still rank it first, not wrap round below a plain dagger.
TEST(MonsterAI, TheFirstThoughtRanksAWeaponOfTheHighestBonusFirst) {
    SampleGame game(QuillmereTest::EditedSampleSource(DRAVCommon::DFK_GLOBAL, "global_items.drav",
                                                      "<weapon> bow true 1 8 0 0 </weapon>",
                                                      "<weapon> bow true 2147483647 8 0 0 </weapon>"));
    game.EnterOpenArea(40, 12);
    const auto archer = game.Spawn("goblin_archer", 30, 8);
    ASSERT_TRUE(archer);
    archer->AddToBackpack(game.Module().CreateItem("dagger", 1, game.Game().NewThingId(THING_ITEM), 0), true);
    game.Tick();
    ASSERT_NE(archer->GetEquipped(SLOT_WEAPON), nullptr);
    EXPECT_EQ(archer->GetEquipped(SLOT_WEAPON)->GetTemplate().GetKey(), "reed_bow");
}

TEST(MonsterAI, TheTargetSearchTakesSidesAndBreaksTiesToTheLater) {
    auto game = OpenField();
    const auto main = game.Main();  // at cell (1, 1)
    const auto first = game.Spawn("reed_goblin", 1, 5);
    const auto second = game.Spawn("reed_goblin", 5, 1);
    const auto bystander = game.Spawn("reed_goblin", 1, 9);
    ASSERT_TRUE(first && second && bystander);
    first->SetRelation(RELATION_HOSTILE);
    second->SetRelation(RELATION_HOSTILE);
    second->SetPosition(main->GetX() + first->DistanceTo(*main), main->GetY());
    bystander->SetRelation(RELATION_NEUTRAL);

    EXPECT_EQ(CAI::FindTarget(*main, TARGET_ENEMIES, nullptr, 0.0), second.get());
    EXPECT_EQ(CAI::FindTarget(*first, TARGET_ENEMIES, nullptr, 0.0), main.get());
    EXPECT_EQ(CAI::FindTarget(*first, 0, nullptr, 0.0), second.get());        // its nearest fellow
    EXPECT_EQ(CAI::FindTarget(*bystander, TARGET_ENEMIES, nullptr, 0.0), nullptr);
    EXPECT_EQ(CAI::FindTarget(*bystander, 0, nullptr, 0.0), nullptr);          // a neutral has no allies
    EXPECT_EQ(CAI::FindTarget(*main, TARGET_ENEMIES | TARGET_WITHIN_RANGE, nullptr, 1.0), nullptr);

    // Berserk, it is everyone's enemy and everyone is its.
    bystander->SetRelation(RELATION_BERSERK);
    EXPECT_EQ(CAI::FindTarget(*bystander, TARGET_ENEMIES, nullptr, 0.0), first.get());
    first->SetPosition(main->GetX() + 60.0, main->GetY() + 20.0);
    second->SetPosition(main->GetX() + 60.0, main->GetY() + 25.0);
    EXPECT_EQ(CAI::FindTarget(*main, TARGET_ENEMIES, nullptr, 0.0), bystander.get());
    // One the game holds back is left be, however near, until the party comes to it.
    game.Game().HoldFoeBack(*bystander);
    EXPECT_EQ(CAI::FindTarget(*main, TARGET_ENEMIES, nullptr, 0.0), first.get());
    // A caster counts as 25 nearer: one 20 farther than a plain foe is still the one sought.
    first->SetPosition(main->GetX() + 5.0, main->GetY());
    second->SetPosition(main->GetX(), main->GetY() + 25.0);
    second->SetClass(CLASS_SPELLCASTER);
    EXPECT_EQ(CAI::FindTarget(*main, TARGET_ENEMIES | TARGET_PREFER_CASTERS, nullptr, 0.0), second.get());
    EXPECT_EQ(CAI::FindTarget(*main, TARGET_ENEMIES, nullptr, 0.0), first.get());
}

TEST(MonsterAI, PeacefulAIsTalkFollowAndSurrenderStandsStill) {
    auto game = OpenField();
    CArea& area = game.Area();
    const auto main = game.Main();
    const auto keeper = game.Spawn("ferry_keeper", 3, 1);  // forcetalk within 8 until she has met the party
    ASSERT_TRUE(keeper);
    See(area, *keeper);
    game.Engine().RunAI();
    const auto* talk = CurrentOrder<CMoveTalkOrder>(*keeper);
    ASSERT_NE(talk, nullptr);
    EXPECT_EQ(talk->partner, main->GetId());
    keeper->ClearOrders();
    // A talk begun and left, she does not walk up again while the party stays in
    // her range, ordered about or not, but once it has been out of it.
    game.Game().BeginTalk(main->GetId(), keeper->GetId());
    game.Engine().RunAI();
    EXPECT_EQ(keeper->GetCurrentOrder(), nullptr);
    main->PushOrder(std::make_shared<CMoveOrder>(main->GetX(), main->GetY()), false);
    game.Engine().RunAI();
    EXPECT_EQ(keeper->GetCurrentOrder(), nullptr);
    const double x = main->GetX();
    main->SetPosition(x - 12.0, main->GetY());
    game.Engine().RunAI();
    main->SetPosition(x, main->GetY());
    game.Engine().RunAI();
    EXPECT_NE(CurrentOrder<CMoveTalkOrder>(*keeper), nullptr);
    keeper->ClearOrders();
    // A talk had out of her range, then a walk that ended there: a party that comes
    // into her range with no order left, as it comes into an area, has acted since.
    const double y = main->GetY();
    main->ClearOrders();
    main->SetPosition(x + 40.0, y);
    game.Game().BeginTalk(main->GetId(), keeper->GetId());
    main->PushOrder(std::make_shared<CMoveOrder>(x + 40.0, y + 2.5), false);
    game.Tick(60);
    ASSERT_EQ(main->GetCurrentOrder(), nullptr);
    main->SetPosition(x, y);
    game.Engine().RunAI();
    EXPECT_NE(CurrentOrder<CMoveTalkOrder>(*keeper), nullptr);
    keeper->ClearOrders();
    // In battle, a friend turns to its combat AI, which finds no enemy here.
    keeper->SetRelation(RELATION_FRIENDLY);
    game.Game().SetInBattle(true);
    game.Engine().RunAI();
    EXPECT_EQ(keeper->GetCurrentOrder(), nullptr);
    game.Game().SetInBattle(false);
    game.Game().SetQuestTag("hesk_met", 1);
    game.Engine().RunAI();
    EXPECT_EQ(keeper->GetCurrentOrder(), nullptr);

    // Surrendered, its orders go and nothing new comes.
    keeper->PushOrder(std::make_shared<CMoveOrder>(20.0, 20.0), false);
    keeper->SetRelation(RELATION_SURRENDER);
    game.Engine().RunAI();
    EXPECT_EQ(keeper->GetCurrentOrder(), nullptr);

    // A friendly follower 30 units off walks half the way; within 25 it stays.
    auto wisp = game.Spawn("marsh_wisp", 13, 1);
    ASSERT_TRUE(wisp);
    keeper->SetRelation(RELATION_NEUTRAL);
    wisp->SetRelation(RELATION_FRIENDLY);
    wisp->SetPosition(main->GetX() + 30.0, main->GetY());
    game.Engine().RunAI();
    const auto* follow = CurrentOrder<CMoveOrder>(*wisp);
    ASSERT_NE(follow, nullptr);
    EXPECT_DOUBLE_EQ(follow->x, main->GetX() + 15.0);
    wisp->ClearOrders();
    wisp->SetPosition(main->GetX() + 20.0, main->GetY());
    game.Engine().RunAI();
    EXPECT_EQ(wisp->GetCurrentOrder(), nullptr);
}

TEST(MonsterAI, AnAttackTurnsOnlyThoseWhoseBrainSaysSo) {
    auto game = OpenField();
    const auto main = game.Main();
    const auto smuggler = game.Spawn("reed_smuggler", 8, 1);  // hostile when attacked, fires the alarm
    const auto innkeeper = game.Spawn("innkeeper", 8, 4);    // not
    const auto keeper = game.Spawn("ferry_keeper", 8, 7);     // made a friend of the party below
    ASSERT_TRUE(smuggler && innkeeper && keeper);
    keeper->SetRelation(RELATION_FRIENDLY);
    smuggler->SetRelation(RELATION_NEUTRAL);
    smuggler->PushOrder(std::make_shared<CMoveOrder>(30.0, 20.0), false);

    EXPECT_TRUE(smuggler->GetBrain()->TriggerTestCombat(*smuggler, main.get()));
    EXPECT_EQ(smuggler->GetRelation(), RELATION_HOSTILE);
    EXPECT_EQ(smuggler->GetCurrentOrder(), nullptr);
    EXPECT_EQ(smuggler->GetBrain()->GetPendingTags(), std::vector<std::string>{"smugglers_alarm"});
    EXPECT_FALSE(innkeeper->GetBrain()->TriggerTestCombat(*innkeeper, nullptr));
    EXPECT_EQ(innkeeper->GetRelation(), RELATION_NEUTRAL);
    EXPECT_FALSE(keeper->GetBrain()->TriggerTestCombat(*keeper, main.get()));
    EXPECT_EQ(keeper->GetRelation(), RELATION_FRIENDLY);
}

TEST(MonsterAI, AWandererStrollsWithinItsRadiusOfTheHomeItFixedFirst) {
    auto game = OpenField();
    const auto spirit = game.Spawn("marsh_spirit", 1, 10);  // wanders 5 units, near the field's edge
    ASSERT_TRUE(spirit);
    spirit->SetRelation(RELATION_NEUTRAL);
    auto* wander = dynamic_cast<CAIWander*>(spirit->GetBrain()->GetPeacefulAI().get());
    ASSERT_NE(wander, nullptr);
    const double homeX = spirit->GetX();
    const double homeY = spirit->GetY();
    int strolls = 0;
    for (int i = 0; i < 6000; ++i) {
        wander->IssueOrders(game.Engine(), *spirit);
        const auto* move = dynamic_cast<const CMoveOrder*>(spirit->GetCurrentOrder().get());
        if (!move) continue;
        ++strolls;
        EXPECT_LE(std::abs(move->x - homeX), 5.0);
        EXPECT_LE(std::abs(move->y - homeY), 5.0);
        EXPECT_GE(move->x, 0.0);
        EXPECT_LE(move->y, 12 * 2.5);
        spirit->ClearOrders();
        spirit->SetPosition(homeX + 5.0, homeY - 3.0);  // the home stays where it was first fixed
    }
    EXPECT_GT(strolls, 10);
    EXPECT_DOUBLE_EQ(wander->GetHomeX(), homeX);
    EXPECT_DOUBLE_EQ(wander->GetHomeY(), homeY);
}
