// Actors of an area made from their definitions, and what leaving the area and a
// respawn do to the actors in it.

#include <gtest/gtest.h>

#include "rules/magic/spell_apply_effect.h"
#include "support/expect_drav.h"
#include "world/actor_test_support.h"
#include "world/area.h"
#include "world/order.h"

using namespace DRAV;
using WorldTest::SampleWithBrains;

namespace {

class AreaActors : public ::testing::Test {
protected:
    void SetUp() override {
        m_game.SetTick(1000);
        m_area.LoadAreaFile("", "reedwater_landing", SampleWithBrains(), AREA_LOAD_FRESH, false);
    }

    CActor& Spawn(const std::string& key, std::uint32_t column, std::uint32_t row) {
        const std::size_t before = m_area.GetActors().size();
        m_area.SpawnActor(SampleWithBrains(), key, column, row);
        EXPECT_EQ(m_area.GetActors().size(), before + 1) << key;
        return *m_area.GetActors().back();
    }

    const CSpell& Power(const std::string& key) { return GetSpell(SampleWithBrains().GetSpells(), key); }

    CGame m_game;
    CArea m_area{&m_game};
};

}  // namespace

TEST_F(AreaActors, SpawnedActorsStandIdleOnTheCellAndSmugglersHide) {
    // The landing's own people stand where chance put them; they leave the cells free.
    for (const auto& encounter : m_area.GetEncounters()) m_area.ClearEncounter(encounter.name);
    CActor& ferryman = Spawn("ferryman", 5, 5);
    EXPECT_EQ(ferryman.GetActionState(), ACTION_IDLE);
    EXPECT_EQ(ferryman.GetArea(), &m_area);
    EXPECT_EQ(static_cast<std::uint32_t>(ferryman.GetX() / 2.5), 5u);
    EXPECT_EQ(ferryman.GetEncounterName(), "");
    EXPECT_FALSE(ferryman.IsSneaking());

    CActor& smuggler = Spawn("reed_smuggler", 6, 5);
    EXPECT_TRUE(smuggler.IsSneaking());
    EXPECT_EQ(smuggler.GetPowerEndTick() > 1000u, true);
    EXPECT_FALSE(Spawn("smuggler_lookout", 7, 5).IsSneaking());

    // Nowhere to stand: the actor is dropped without a word.
    const std::size_t before = m_area.GetActors().size();
    m_area.SpawnActor(SampleWithBrains(), "ferryman", 400, 400);
    EXPECT_EQ(m_area.GetActors().size(), before);
    EXPECT_DRAV_CODE(m_area.SpawnActor(SampleWithBrains(), "drowned_king", 5, 5), 1);
}

TEST_F(AreaActors, LeavingStopsOrdersReleasesAttackersAndEndsPowers) {
    CActor& ferryman = Spawn("ferryman", 5, 5);
    CActor& smuggler = Spawn("reed_smuggler", 6, 5);
    smuggler.SetAttackTarget(1000, &ferryman);
    smuggler.BeginAttack(1000, &ferryman);
    ferryman.PushOrder(std::make_shared<COrder>(ORDER_MOVE), false);
    ferryman.PushInstantOrder(std::make_shared<COrder>(ORDER_DROP));
    bool renewed = false;
    ferryman.ActivatePower(Power("s_power-steady_pole"), 1000, renewed);
    ASSERT_NE(ferryman.GetCurrentPower(), nullptr);

    m_area.MakeInactive();
    EXPECT_EQ(ferryman.GetCurrentOrder(), nullptr);
    EXPECT_EQ(ferryman.GetInstantOrder(), nullptr);
    EXPECT_FALSE(ferryman.HasAttackers(nullptr));
    EXPECT_EQ(smuggler.GetAttackTarget(), nullptr);
    EXPECT_EQ(smuggler.GetActionState(), ACTION_IDLE);
    EXPECT_EQ(ferryman.GetCurrentPower(), nullptr);
    EXPECT_EQ(ferryman.GetPowerEffect(), nullptr);
    EXPECT_EQ(smuggler.GetCurrentPower(), nullptr);  // sneaking ends too when the party leaves
}

TEST_F(AreaActors, ARespawnRestoresEveryActorButLetsHidersHide) {
    CActor& trader = Spawn("landing_trader", 5, 5);
    CActor& smuggler = Spawn("reed_smuggler", 6, 5);
    m_area.MakeInactive();

    // Things that happened while the party was away, or were left over.
    smuggler.SetAttackTarget(1000, &trader);
    smuggler.SetRelation(RELATION_HOSTILE);
    bool renewed = false;
    smuggler.ActivatePower(Power("s_power-sneak"), 1000, renewed);
    trader.ActivatePower(Power("s_power-boatmans_chant"), 1000, renewed);
    auto fear = std::make_shared<CSpellApply>("Fear", CDamageType{}, 0, 0, true, false);
    fear->GetParts().push_back(std::make_shared<CSpellApplyEffectStatus>(0, STATUS_FEAR));
    trader.AppendEffects({fear});
    trader.SetDamageTaken(6);
    trader.SetEnergyUsed(3);
    trader.SetRelation(RELATION_HOSTILE);
    trader.SetActionState(ACTION_DEAD);
    trader.PushOrder(std::make_shared<COrder>(ORDER_MOVE), false);
    ASSERT_FALSE(trader.GetActiveEffects().empty());

    m_game.SetTick(1000 + kAreaRespawnTicks);
    m_area.Reactivate("reed_marsh", SampleWithBrains());
    EXPECT_TRUE(trader.GetActiveEffects().empty());
    EXPECT_EQ(trader.GetDamageTaken(), 0);
    EXPECT_EQ(trader.GetEnergyUsed(), 0);
    EXPECT_EQ(trader.GetActionState(), ACTION_IDLE);
    EXPECT_EQ(trader.GetRelation(), RELATION_NEUTRAL);  // as her brain starts her
    EXPECT_EQ(trader.GetCurrentOrder(), nullptr);
    EXPECT_EQ(trader.GetCurrentPower(), nullptr);
    EXPECT_FALSE(trader.HasAttackers(nullptr));
    EXPECT_EQ(smuggler.GetAttackTarget(), nullptr);
    EXPECT_EQ(smuggler.GetRelation(), RELATION_NEUTRAL);  // roused no longer: it waits at its post
    EXPECT_TRUE(smuggler.IsSneaking());
    EXPECT_EQ(smuggler.GetPowerEffect(), nullptr);  // its effect went with the others
}
