// The order queues, attack targets and attackers, the action timers, animation
// codes and the geometry of moving, reaching and standing next to things.

#include <gtest/gtest.h>

#include <cmath>

#include "rules/magic/spell_apply_effect.h"
#include "support/expect_drav.h"
#include "world/actor_test_support.h"
#include "world/object.h"
#include "world/order.h"
#include "world/saved_orders.h"

using namespace DRAV;
using WorldTest::SampleActor;

namespace {

std::shared_ptr<CSpellApply> StatusEffect(StatusKind status) {
    auto effect = std::make_shared<CSpellApply>("Spell", CDamageType{}, 0, 0, true, false);
    effect->GetParts().push_back(std::make_shared<CSpellApplyEffectStatus>(0, status));
    return effect;
}

std::shared_ptr<CActor> Standing(ThingId id, double x, double y, double radius) {
    auto actor = std::make_shared<CActor>(id);
    actor->SetPosition(x, y);
    actor->SetRadius(radius);
    actor->SetActionState(ACTION_IDLE);
    return actor;
}

}  // namespace

TEST(ActorOrders, QueuesPopOnlyTheirFrontOrder) {
    auto actor = SampleActor("ferryman");
    auto move = std::make_shared<COrder>(ORDER_MOVE);
    auto attack = std::make_shared<COrder>(ORDER_ATTACK);
    auto wield = std::make_shared<COrder>(ORDER_WIELD);
    EXPECT_EQ(actor->GetCurrentOrder(), nullptr);
    EXPECT_EQ(actor->GetInstantOrder(), nullptr);
    actor->PushOrder(move, false);
    actor->PushOrder(attack, false);
    actor->PushInstantOrder(wield);
    EXPECT_EQ(actor->GetCurrentOrder(), move);
    EXPECT_EQ(actor->GetOrders(), (std::list<std::shared_ptr<COrder>>{move, attack}));
    EXPECT_DRAV_CODE(actor->PopOrder(*attack), 2);
    EXPECT_DRAV_CODE(actor->PopInstantOrder(*move), 2);
    actor->PopOrder(*move);
    EXPECT_EQ(actor->GetCurrentOrder(), attack);
    actor->PopInstantOrder(*wield);
    EXPECT_EQ(actor->GetInstantOrder(), nullptr);
    EXPECT_DRAV_CODE(actor->PopInstantOrder(*wield), 2);
    // Each queue holds no more than a save keeps; the rest are not queued.
    for (std::size_t i = 0; i <= kOrderQueueLimit; ++i) {
        actor->PushOrder(move, false);
        actor->PushOrderBefore(ORDER_ATTACK, move);
        actor->PushInstantOrder(wield);
    }
    EXPECT_EQ(actor->GetContinuingOrders().size(), kOrderQueueLimit);
    EXPECT_EQ(actor->GetInstantOrders().size(), kOrderQueueLimit);
}

TEST(ActorOrders, ADominatedActorTakesOnlyForcedOrdersAndKeepsThemOnCancel) {
    auto actor = SampleActor("ferryman");
    actor->AppendEffects({StatusEffect(STATUS_DOMINATED)});
    actor->PushOrder(std::make_shared<COrder>(ORDER_MOVE), false);
    EXPECT_EQ(actor->GetCurrentOrder(), nullptr);
    actor->PushOrder(std::make_shared<COrder>(ORDER_ATTACK), true);
    actor->PushInstantOrder(std::make_shared<COrder>(ORDER_GET));
    actor->SetOrdersChanged(false);
    actor->CancelOrders();
    EXPECT_NE(actor->GetCurrentOrder(), nullptr);
    EXPECT_FALSE(actor->GetOrdersChanged());
    actor->ClearOrders();
    EXPECT_EQ(actor->GetCurrentOrder(), nullptr);
    EXPECT_EQ(actor->GetInstantOrder(), nullptr);
    EXPECT_TRUE(actor->GetOrdersChanged());
}

// What comes after an attack in the queue waits until the foe falls; an order put
// ahead of it comes first, and one put ahead of the current attack stops its swing.
TEST(ActorOrders, AnOrderPutBeforeAnAttackGoesAheadOfTheFirstOne) {
    auto actor = SampleActor("ferryman");
    auto move = std::make_shared<COrder>(ORDER_MOVE);
    auto attack = std::make_shared<COrder>(ORDER_ATTACK);
    auto later = std::make_shared<COrder>(ORDER_ATTACK);
    auto drink = std::make_shared<COrder>(ORDER_USE);
    auto cast = std::make_shared<COrder>(ORDER_CAST);
    actor->PushOrderBefore(ORDER_ATTACK, move);  // nothing to go ahead of: appended
    actor->PushOrder(attack, false);
    actor->PushOrder(later, false);
    actor->SetOrdersChanged(false);
    actor->PushOrderBefore(ORDER_ATTACK, drink);
    EXPECT_EQ(actor->GetOrders(), (std::list<std::shared_ptr<COrder>>{move, drink, attack, later}));
    EXPECT_FALSE(actor->GetOrdersChanged()) << "the walk goes on";

    actor->PopOrder(*move);
    actor->PopOrder(*drink);
    actor->PushOrderBefore(ORDER_ATTACK, cast);
    EXPECT_EQ(actor->GetOrders(), (std::list<std::shared_ptr<COrder>>{cast, attack, later}));
    EXPECT_TRUE(actor->GetOrdersChanged()) << "the swing under way stops";

    actor->AppendEffects({StatusEffect(STATUS_CONFUSED)});
    actor->PushOrderBefore(ORDER_ATTACK, std::make_shared<COrder>(ORDER_USE));
    EXPECT_EQ(actor->GetOrders().size(), 3u);
}

TEST(ActorOrders, TargetChangesWithin195TicksMoveTheAttackersButNotTheMainTarget) {
    auto attacker = Standing(0x3000001, 0, 0, 1);
    auto first = Standing(0x3000002, 0, 0, 1);
    auto second = Standing(0x3000003, 0, 0, 1);
    attacker->SetAttackTarget(1000, first.get());
    attacker->SetAttackTarget(1100, second.get());
    EXPECT_FALSE(first->HasAttackers(nullptr));
    std::size_t count = 0;
    EXPECT_TRUE(second->HasAttackers(&count));
    EXPECT_EQ(count, 1u);
    EXPECT_EQ(attacker->GetTargetChangeTick(), 1000u);
    EXPECT_EQ(attacker->GetTargetChangeId(), first->GetId());
    EXPECT_DRAV_CODE(first->RemoveAttacker(*attacker), 2);
}

TEST(ActorOrders, ReleasedAttackersStopAndPause) {
    auto target = Standing(0x3000001, 0, 0, 1);
    auto striking = Standing(0x3000002, 0, 0, 1);
    auto recovering = Standing(0x3000003, 0, 0, 1);
    striking->SetAttackTarget(10, target.get());
    recovering->SetAttackTarget(10, target.get());
    striking->BeginAttack(20, target.get());
    recovering->StartRecovery(20, ACTIONKIND_ATTACK);
    const std::uint32_t recoveryEnd = recovering->GetActionEndTick();
    target->ReleaseAttackers(true, 50);
    EXPECT_FALSE(target->HasAttackers(nullptr));
    EXPECT_EQ(striking->GetAttackTarget(), nullptr);
    EXPECT_EQ(striking->GetActionState(), ACTION_PAUSE);
    EXPECT_EQ(striking->GetPauseEndTick(), 65u);
    EXPECT_EQ(striking->GetActionEndTick(), 0u);
    EXPECT_EQ(recovering->GetActionEndTick(), recoveryEnd);
    // The pause and the recovery both over: idle in one tick.
    recovering->ExpireEffects(std::max(65u, recoveryEnd));
    EXPECT_EQ(recovering->GetActionState(), ACTION_IDLE);
}

TEST(ActorOrders, WindUpAndRecoveryTimers) {
    auto actor = SampleActor("ferryman");
    auto target = Standing(0x3000009, 0, 0, 1);
    actor->BeginAttack(300, target.get());
    EXPECT_EQ(actor->GetActionState(), ACTION_WIND_UP);
    EXPECT_EQ(actor->GetActionEndTick(), 360u);
    EXPECT_EQ(actor->GetTargetChangeId(), target->GetId());
    actor->StartRecovery(400, ACTIONKIND_ATTACK);
    const double seconds = std::max(0.5, 4.0 - actor->GetActionSpeed(ACTIONKIND_ATTACK, nullptr) / 5.0);
    EXPECT_EQ(actor->GetActionEndTick(), 400u + static_cast<std::uint32_t>(30.0 * seconds));
    EXPECT_EQ(actor->GetActionState(), ACTION_RECOVERING);
    actor->EnterPauseState(410);
    actor->StartRecovery(420, ACTIONKIND_ATTACK);
    EXPECT_EQ(actor->GetActionState(), ACTION_PAUSE);
}

TEST(ActorOrders, AResetActorLeavesItsTargetsAttackers) {
    auto target = Standing(0x3000001, 0, 0, 1);
    {
        auto attacker = Standing(0x3000002, 0, 0, 1);
        attacker->SetAttackTarget(10, target.get());
        attacker->SetDamageTaken(7);
        attacker->ResetCombatState();
        EXPECT_EQ(attacker->GetAttackTarget(), nullptr);
        EXPECT_EQ(attacker->GetDamageTaken(), 0);
        EXPECT_EQ(attacker->GetActionState(), ACTION_IDLE);
    }
    // The attacker is gone; the target must not keep a pointer to it.
    EXPECT_FALSE(target->HasAttackers(nullptr));
    target->ReleaseAttackers(true, 0);
}

TEST(ActorOrders, AnimationCodesFollowTheFightingStyle) {
    auto actor = std::make_shared<CActor>(0x3000001);
    actor->SetClass(CLASS_FIGHTER);
    const auto attackWith = [&](const char* weapon) {
        actor->SetEquipment(SLOT_WEAPON, weapon ? WorldTest::SampleItem(weapon) : nullptr);
        actor->StartAttackAnimation();
        return actor->GetAnimation();
    };
    EXPECT_EQ(attackWith("longsword"), static_cast<std::uint32_t>(ANIM_ATTACK));
    EXPECT_EQ(attackWith("war_maul"), static_cast<std::uint32_t>(ANIM_2HATTACK));
    EXPECT_EQ(attackWith("reed_bow"), static_cast<std::uint32_t>(ANIM_RATTACK));
    actor->SetBaseActionSpeed(21);  // above 20: the fast strokes
    EXPECT_EQ(attackWith("longsword"), static_cast<std::uint32_t>(ANIM_ATTACK_FAST));
    EXPECT_EQ(attackWith("reed_bow"), static_cast<std::uint32_t>(ANIM_RATTACK));
    actor->SetEquipment(SLOT_OFFHAND, WorldTest::SampleItem("dagger"));
    EXPECT_EQ(attackWith("longsword"), static_cast<std::uint32_t>(ANIM_2WATTACK_FAST));

    // Combat stance follows the style too; the same code runs on, another restarts.
    actor->SetEquipment(SLOT_OFFHAND, nullptr);
    actor->SetEquipment(SLOT_WEAPON, WorldTest::SampleItem("war_maul"));
    actor->SetAnimation(ANIM_COMBAT, 0.5);
    EXPECT_EQ(actor->GetAnimation(), static_cast<std::uint32_t>(ANIM_2HCOMBAT));
    EXPECT_EQ(actor->GetAnimationTime(), 0.0);
    actor->SetAnimation(ANIM_COMBAT, 0.25);
    actor->SetAnimation(ANIM_COMBAT, 0.5);
    EXPECT_DOUBLE_EQ(actor->GetAnimationTime(), 0.75);
    actor->SetAnimation(ANIM_MOVE, 0.5);
    EXPECT_EQ(actor->GetAnimationTime(), 0.0);
}

TEST(ActorOrders, FidgetsStartRarelyAndEndAfter150Calls) {
    auto actor = SampleActor("landing_trader");
    int calls = 0;
    while (actor->GetAnimation() != ANIM_FIDGET && calls < 100000) {
        actor->UpdateFidget();
        ++calls;
    }
    ASSERT_EQ(actor->GetAnimation(), static_cast<std::uint32_t>(ANIM_FIDGET));
    EXPECT_GE(actor->GetAnimationVariant(), 1u);
    EXPECT_LE(actor->GetAnimationVariant(), 100000u);
    int fidget = 0;
    while (actor->GetAnimation() == ANIM_FIDGET && fidget < 1000) {
        actor->UpdateFidget();
        ++fidget;
    }
    EXPECT_NEAR(fidget, 150, 1);

    auto ferryman = SampleActor("ferryman");  // nofidget
    for (int i = 0; i < 3000; ++i) ferryman->UpdateFidget();
    EXPECT_EQ(ferryman->GetAnimation(), static_cast<std::uint32_t>(ANIM_DEFAULT));
}

TEST(ActorOrders, MovingTurnsTheActorTheWayItWent) {
    auto actor = Standing(0x3000001, 10, 10, 1);
    actor->FinalizeMove(10, 5);  // north, toward -y
    EXPECT_NEAR(actor->GetFacing(), 0.0, 1e-6);
    EXPECT_EQ(actor->GetY(), 5.0);
    actor->FinalizeMove(15, 5);  // east
    EXPECT_NEAR(actor->GetFacing(), -1.5707963705062866, 1e-9);
    auto other = Standing(0x3000002, 15, 10, 1);
    actor->FaceTowards(*other);  // south
    EXPECT_NEAR(std::fabs(actor->GetFacing()), 3.1415926535, 1e-6);
    EXPECT_DOUBLE_EQ(actor->DistanceTo(*other), 5.0);
    EXPECT_DOUBLE_EQ(actor->DistanceToPoint(18, 9), 5.0);
}

TEST(ActorOrders, ReachNeedsBothAliveAndAdjacencyCountsTheFootprint) {
    auto a = Standing(0x3000001, 0, 0, 1);
    auto b = Standing(0x3000002, 27, 0, 1);
    EXPECT_TRUE(a->IsWithinReach(*b));
    b->SetPosition(27.5, 0);
    EXPECT_FALSE(a->IsWithinReach(*b));
    b->SetPosition(1, 0);
    b->SetActionState(ACTION_DEAD);
    EXPECT_FALSE(a->IsWithinReach(*b));

    const CObjectTemplate& chest = *WorldTest::SampleWithBrains().FindObjectTemplate("tackle_chest");  // 1.5 x 1
    CObject object(0x2000001, nullptr, "chest", chest);
    object.SetPosition(10, 10);
    object.SetFacing(DIR_EAST);  // turned: 1 along x, 1.5 along y
    auto standing = Standing(0x3000003, 10, 10, 0);
    EXPECT_TRUE(standing->IsNextToObject(object));
    standing->SetPosition(10, 10.75 + 5.0);
    EXPECT_TRUE(standing->IsNextToObject(object));
    standing->SetPosition(10, 10.75 + 5.01);
    EXPECT_FALSE(standing->IsNextToObject(object));
    standing->SetPosition(10.5 + 5.0, 10);
    EXPECT_TRUE(standing->IsNextToObject(object));
}
