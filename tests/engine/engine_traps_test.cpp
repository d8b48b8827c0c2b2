// The smugglers' crate on the landing carries a hidden Reedlash trap: Wren springs
// it, it re-arms, and with the Traps skill Wren notices it and disarms it.

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "common/random.h"
#include "rules/definitions/trap.h"
#include "script/script_limits.h"
#include "support/message_texts.h"
#include "support/sample_game.h"
#include "support/sample_module.h"
#include "support/temp_dir.h"
#include "world/effect.h"
#include "world/object.h"

using namespace DRAV;
using QuillmereTest::SampleGame;
using QuillmereTest::StartSampleGame;

namespace {

std::vector<std::string> Notices(const SampleGame& game) { return QuillmereTest::MessageTexts(game.DrainEvents()); }

CObject* Crate(const SampleGame& game) {
    for (const auto& object : game.Area().GetObjects())
        if (object->GetObjectName() == "reed_crate") return object.get();
    return nullptr;
}

// Wren stands `gap` units north of the crate's footprint.
void StandNorthOf(const SampleGame& game, const CObject& crate, double gap) {
    game.Main()->FinalizeMove(crate.GetX(), crate.GetY() - 0.5 - gap);
}

// Wren steps away from the crate and back onto it, the detection running after each.
void StepBackOnto(const SampleGame& game, const CObject& crate) {
    StandNorthOf(game, crate, 5.0);
    game.Engine().RunDetection();
    StandNorthOf(game, crate, 0.1);
    game.Engine().RunDetection();
}

}  // namespace

TEST(EngineTraps, TheCrateSpringsOnAnUnskilledTouchAndReArmsAfterThirtySeconds) {
    DRAVCommon::GetRandomEngine().seed(9);
    auto game = StartSampleGame();
    CObject* crate = Crate(game);
    ASSERT_NE(crate, nullptr);
    const auto& trap = *crate->GetTrap();
    ASSERT_LE(game.Main()->GetSpecialStat(SPECIAL_TRAPS) + 50, 60);
    StandNorthOf(game, *crate, 0.1);
    game.DrainEvents();
    game.Engine().RunDetection();
    const std::uint32_t sprung = game.Game().GetTick();
    const auto texts = Notices(game);
    ASSERT_EQ(texts.size(), 1u);
    EXPECT_EQ(texts[0].rfind("Wren springs Smugglers' Crate [Traps 50 ", 0), 0u) << texts[0];
    ASSERT_EQ(game.Area().GetEffects().size(), 1u);
    const auto& bolt = dynamic_cast<const CEffectSpell&>(*game.Area().GetEffects().front());
    EXPECT_EQ(bolt.GetSpell()->GetKey(), "reed_lash");
    EXPECT_EQ(bolt.difficulty, 3);
    EXPECT_FALSE(trap.IsHidden());
    EXPECT_EQ(trap.GetReadyTick(), sprung + 900u);
    // Re-arming: a step back onto it does nothing until then.
    const auto stepBackOnto = [&](std::uint32_t tick) {
        game.Game().SetTick(tick);
        StepBackOnto(game, *crate);
        return Notices(game).size();
    };
    EXPECT_EQ(stepBackOnto(sprung + 899), 0u);
    EXPECT_EQ(stepBackOnto(sprung + 900), 1u);
    EXPECT_EQ(game.Area().GetEffects().size(), 2u);
}

TEST(EngineTraps, ATrapperSeesTheTrapFromNearbyAndDisarmsItLeavingTheFlaresInTheCrate) {
    auto game = StartSampleGame();
    const auto wren = game.Main();
    // A seasoned trapper: five points of Traps a level.
    wren->AddSkill(SKILL_TRAPS);
    wren->SetLevel(9);
    const std::int32_t traps = wren->GetSpecialStat(SPECIAL_TRAPS);
    CObject* crate = Crate(game);
    ASSERT_NE(crate, nullptr);
    // Seen once 50 + Traps beats 60 + 20 + the whole units of the gap.
    const double gap = traps - 30 - 0.5;
    ASSERT_GT(gap, 2.0) << traps;
    StandNorthOf(game, *crate, gap + 1.0);
    game.DrainEvents();
    game.Engine().RunDetection();
    EXPECT_TRUE(Notices(game).empty());
    EXPECT_TRUE(crate->GetTrap()->IsHidden());
    StandNorthOf(game, *crate, gap);
    game.Engine().RunDetection();
    auto texts = Notices(game);
    ASSERT_EQ(texts.size(), 1u);
    EXPECT_EQ(texts[0].rfind("Wren detects Smugglers' Crate [Traps 50 ", 0), 0u) << texts[0];
    EXPECT_FALSE(crate->GetTrap()->IsHidden());
    // On touch it is disarmed; the crate and its flares stay.
    StandNorthOf(game, *crate, 0.1);
    game.Engine().RunDetection();
    texts = Notices(game);
    ASSERT_EQ(texts.size(), 1u);
    EXPECT_EQ(texts[0].rfind("Wren disarms Smugglers' Crate ", 0), 0u) << texts[0];
    ASSERT_EQ(Crate(game), crate);
    EXPECT_EQ(crate->GetItems().size(), 1u);
    game.Game().SetTick(game.Game().GetTick() + 100000);
    StepBackOnto(game, *crate);
    EXPECT_TRUE(Notices(game).empty());
    EXPECT_TRUE(game.Area().GetEffects().empty());
}

// A trap whose script fails re-arms or is spent, and does not fail again at once.
TEST(EngineTraps, AFailedScriptSpendsTheTrapAsASuccessfulOneDoes) {
    for (const std::string delay : {"30", "0"}) {
        const SampleGame game(QuillmereTest::EditedSampleSource(
            DRAVCommon::DFK_CHAPTER, "world.drav", "reed_lash 30", "<lua> broken() </lua> " + delay));
        CObject* crate = Crate(game);
        ASSERT_NE(crate, nullptr);
        StandNorthOf(game, *crate, 0.1);
        EXPECT_THROW(game.Engine().RunDetection(), CDRAVException) << delay;
        EXPECT_EQ(crate->GetTrap()->GetReadyTick(), delay == "0" ? UINT32_MAX : game.Game().GetTick() + 900) << delay;
        EXPECT_NO_THROW(StepBackOnto(game, *crate)) << delay;
    }
}

// A trap that rearms at once springs for each member on it; one tick's springs share one budget.
TEST(EngineTraps, OneTicksSpringsShareOneBudget) {
    const SampleGame game(QuillmereTest::EditedSampleSource(
        DRAVCommon::DFK_CHAPTER, "world.drav", "reed_lash 30",
        "<lua> for i = 1, 400 do drav_message( context, \"Snap!\" ) end </lua> 0.01"));
    CObject* crate = Crate(game);
    ASSERT_NE(crate, nullptr);
    for (int i = 1; i < 6; ++i) game.Game().AddPartyMember(game.Spawn("reed_goblin", 12, 4));
    for (const auto& member : game.Game().GetParty()) member->FinalizeMove(crate->GetX(), crate->GetY() - 0.6);
    game.DrainEvents();
    EXPECT_THROW(game.Tick(), CDRAVException) << "the third spring passes what one run may make";
    const auto texts = Notices(game);
    EXPECT_EQ(std::count(texts.begin(), texts.end(), "Snap!"), DRAV::kScriptMadeLimit);
}

// A trigger fires by a step onto it, never by a member put where it reaches: the
// loose board opens its box to a step from beside it onto it, not to an arrival
// that spreads the party round its entry nor to a load that puts everyone where
// they stood, and not to the steps of one who stood on it already, on it or off
// it; Mother Hesk greets a party loaded beside her only once it steps nearer.
// Each row: loaded, where she is put (clear of Old Brannoc north of the board),
// her step east (west when negative), what fires and how often.
TEST(EngineTraps, ATriggerFiresByAStepNeverByAnArrivalOrALoad) {
    struct Row { bool loaded; double x, y, step; int code; int fires; };
    for (const Row row : {Row{false, 23.75, 12.0, 0.5, EVENT_DIALOG_BOX, 0}, Row{true, 23.75, 12.0, 0.5, EVENT_DIALOG_BOX, 0},
                          Row{true, 23.75, 12.0, -3.75, EVENT_DIALOG_BOX, 0}, Row{false, 23.75, 12.0, -3.75, EVENT_DIALOG_BOX, 0},
                          Row{true, 20.0, 12.0, 3.75, EVENT_DIALOG_BOX, 1}, Row{true, 27.5, 8.75, 2.5, EVENT_TALK, 1}}) {
        SCOPED_TRACE(std::to_string(row.code) + (row.loaded ? ", loaded" : ", arrived") + ", step " +
                     std::to_string(row.step));
        auto game = StartSampleGame();
        game.Main()->SetPosition(row.x, row.y);
        const QuillmereTest::TempDir dir;
        std::string quickActions;
        if (row.loaded) game.Engine().SaveGame(dir / "put.drav", {"Orvex", 5, 0}, nullptr);
        if (row.loaded) game.Engine().LoadGame(dir / "put.drav", {"Orvex", 5, 0}, quickActions);
        game.DrainEvents();
        for (const double step : {0.0, row.step}) {
            if (step != 0.0) game.Main()->PushOrder(std::make_shared<CMoveOrder>(row.x + step, row.y), false);
            game.Tick(60);
            // Mother Hesk stops the walk towards her as she greets it.
            if (step != 0.0 && row.code == EVENT_DIALOG_BOX) {
                ASSERT_NEAR(game.Main()->GetX(), row.x + step, 0.01);
            }
            const auto events = game.DrainEvents();
            EXPECT_EQ(std::count_if(events.begin(), events.end(), [&](const auto& e) { return e->GetCode() == row.code; }),
                      step != 0.0 ? row.fires : 0) << (step != 0.0 ? "a step" : "standing where she was put");
        }
    }
}

// Every step onto a trap meets it, whatever else springs or goes in the same tick:
// in the marsh a step that comes within both the eel basket, put 0.75 units north of
// the Edge of the Shallows, and the edge snaps the basket on Wren and opens the page.
TEST(EngineTraps, AStepOntoTwoTrapsAtOnceMeetsBoth) {
    auto game = StartSampleGame();
    game.Arrive("reed_marsh", "landing");
    for (const auto& object : game.Area().GetObjects())
        if (object->GetTemplate().GetKey() == "eel_basket") object->SetPosition(26.25, 16.25);
    game.Main()->SetPosition(26.25, 12.0);
    game.Main()->FinalizeMove(26.25, 17.0);
    game.Engine().RunDetection();
    const auto events = game.DrainEvents();
    const auto texts = QuillmereTest::MessageTexts(events);
    EXPECT_EQ(std::count(texts.begin(), texts.end(), "The basket snaps shut on Wren's fingers."), 1);
    EXPECT_EQ(std::count_if(events.begin(), events.end(), [](const auto& e) { return e->GetCode() == EVENT_DIALOG_BOX; }),
              1);
}

// No walk through the shallows' gap treads on the eel basket.
TEST(EngineTraps, AWalkThroughTheShallowsGapPassesTheEelBasketBy) {
    for (const double fromX : {21.25, 23.75, 26.25}) {
        for (const auto& [toX, toY] : {std::pair{21.25, 21.25}, {23.75, 23.75}, {26.25, 21.25}, {26.25, 26.25}}) {
            SCOPED_TRACE(std::to_string(fromX) + " to " + std::to_string(toX) + ", " + std::to_string(toY));
            auto game = StartSampleGame();
            game.Arrive("reed_marsh", "landing");
            game.Main()->SetPosition(fromX, 8.75);
            game.DrainEvents();
            game.Main()->PushOrder(std::make_shared<CMoveOrder>(toX, toY), false);
            game.Tick(300);
            for (const auto& text : Notices(game)) EXPECT_EQ(text.find("basket"), std::string::npos) << text;
            EXPECT_NEAR(game.Main()->GetY(), toY, 0.5) << "the walk went through the gap";
        }
    }
}
