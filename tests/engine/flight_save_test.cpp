// Missiles and spells in flight when the game is saved: loaded into a fresh engine,
// each lands on the tick, and with the outcome, it would have had in the game that
// was never saved.

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "common/random.h"
#include "support/message_texts.h"
#include "support/sample_save.h"
#include "support/temp_dir.h"
#include "rules/magic/spell.h"
#include "world/effect.h"
#include "world/order.h"

using namespace DRAV;
using QuillmereTest::SampleGame;
using QuillmereTest::TempDir;

namespace {

constexpr unsigned kSetUpSeed = 5;
// The stream both games roll from after the save, so that they roll alike.
constexpr unsigned kPlaySeed = 29;

std::vector<std::string> DrainLines(CGame& game) {
    std::vector<std::shared_ptr<CEvent>> events;
    std::shared_ptr<CEvent> event;
    while (game.PopEvent(event)) events.push_back(event);
    return QuillmereTest::MessageTexts(events);
}

// Each tick of the game played on: the hit points and energy of everyone in the
// area (whether hurt), the effects in flight and the log's lines.
std::vector<std::string> PlayOn(CEngine& engine, int ticks) {
    CGame& game = *engine.GetGame();
    DrainLines(game);
    DRAVCommon::GetRandomEngine().seed(kPlaySeed);
    std::vector<std::string> trace;
    for (int i = 0; i < ticks; ++i) {
        engine.RunTick();
        std::ostringstream tick;
        tick << "tick " << game.GetTick() << ":";
        for (const auto& actor : game.GetCurrentArea()->GetActors())
            tick << ' ' << actor->GetName() << (actor->GetDamageTaken() > 0 ? " hurt" : " whole") << " energy "
                 << actor->GetEnergyUsed();
        for (const auto& effect : game.GetCurrentArea()->GetEffects())
            tick << " [" << (effect->GetId() & kMaxThingSerial) << ' ' << effect->GetX() << ' ' << effect->GetY()
                 << (effect->IsDone() ? " landed]" : "]");
        for (const std::string& line : DrainLines(game)) tick << " | " << line;
        trace.push_back(tick.str());
    }
    return trace;
}

// Wren, a mage of every school, with the wits to pay for what she casts.
void MakeMage(CActor& wren) {
    for (const SkillId skill : {SKILL_SPIRIT_MAGIC, SKILL_ENERGY_MAGIC, SKILL_MATTER_MAGIC, SKILL_MENTAL_FOCUS})
        wren.AddSkill(skill);
    wren.SetAttribute(ATTR_INTELLIGENCE, 18);
    wren.SetClass(CLASS_SPELLCASTER);
    wren.SetLevel(4);
}

// A wisp five cells east of Wren that stands still, summoned for long.
std::shared_ptr<CActor> StillWisp(const SampleGame& game) {
    const CActor& wren = *game.Main();
    auto wisp = game.Spawn("marsh_wisp", static_cast<std::uint32_t>(wren.GetX() / 2.5) + 5,
                           static_cast<std::uint32_t>(wren.GetY() / 2.5));
    wisp->SetSummonEndTick(1000000);
    wisp->SetRelation(RELATION_NEUTRAL);
    wisp->SetBrain(nullptr, {});
    return wisp;
}

// Wren casts `spell` at a still wisp.
std::function<void(const SampleGame&)> Casts(const char* spell) {
    return [spell](const SampleGame& game) {
        MakeMage(*game.Main());
        EXPECT_TRUE(game.Main()->MeetsSpellRequirements(GetSpell(game.Module().GetSpells(), spell)))
            << game.Main()->GetMaxSpellTier() << " " << game.Main()->GetClass();
        const auto wisp = StillWisp(game);
        game.Main()->PushOrder(std::make_shared<CCastOrder>(spell, wisp->GetId()), false);
    };
}

// A goblin archer six cells east of Wren shoots at her.
void ArcherShoots(const SampleGame& game) {
    const CActor& wren = *game.Main();
    auto archer = game.Spawn("goblin_archer", static_cast<std::uint32_t>(wren.GetX() / 2.5) + 6,
                             static_cast<std::uint32_t>(wren.GetY() / 2.5));
    archer->SetBrain(nullptr, {});
    const auto bow = archer->GetBackpack().front();
    archer->SetEquipment(SLOT_WEAPON, archer->RemoveFromBackpack(*bow));
    archer->PushOrder(std::make_shared<CAttackOrder>(wren.GetId()), false);
}

// The game set up by `launch` and played until the first effect flies; false when
// nothing does.
bool Launch(const SampleGame& game, const std::function<void(const SampleGame&)>& launch) {
    DRAVCommon::GetRandomEngine().seed(kSetUpSeed);
    launch(game);
    for (int tick = 0; tick < 300 && game.Area().GetEffects().empty(); ++tick) game.Tick();
    if (!game.Area().GetEffects().empty()) return true;
    ADD_FAILURE() << "nothing flew: " << testing::PrintToString(DrainLines(game.Game()));
    return false;
}

// The ticks the first effect of `launch` flies before it lands; -1 when none flies.
int MeasureFlight(const std::function<void(const SampleGame&)>& launch) {
    const SampleGame game;
    if (!Launch(game, launch)) return -1;
    const std::shared_ptr<CEffect> flying = game.Area().GetEffects().front();
    int flight = 0;
    while (!flying->IsDone() && flight < 300) {
        game.Tick();
        ++flight;
    }
    return flight;
}

}  // namespace

// Saved at its launch, in the middle of its flight or a tick before it lands, a spell
// or an arrow lands after the load as in the game that went on unsaved: on the same
// tick, on the same target, paid once, told in the same words.
TEST(FlightSave, WhatFliesWhenTheGameIsSavedLandsAfterTheLoadAsItWouldHave) {
    struct Row {
        const char* what;
        std::function<void(const SampleGame&)> launch;
        // Ticks after the launch the game is saved; -1: one tick before it lands.
        int after;
    };
    const std::vector<Row> rows = {
        {"a spell at its launch", Casts("still_the_spirit"), 0},
        {"a spell in flight", Casts("still_the_spirit"), 2},
        {"a spell a tick before it lands", Casts("still_the_spirit"), -1},
        {"a spark in flight", Casts("marsh_spark"), 1},
        {"a lasting harm in flight", Casts("marsh_fever"), 1},
        {"an arrow at its launch", ArcherShoots, 0},
        {"an arrow in flight", ArcherShoots, 3},
        {"an arrow a tick before it lands", ArcherShoots, -1},
    };
    TempDir dir;
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        const int flight = MeasureFlight(row.launch);
        ASSERT_GE(flight, 2);
        const int after = row.after < 0 ? flight - 1 : row.after;
        ASSERT_LT(after, flight);
        const SampleGame game;
        DRAVCommon::GetRandomEngine().seed(kSetUpSeed);
        row.launch(game);

        while (game.Area().GetEffects().empty()) game.Tick();
        game.Tick(after);
        ASSERT_FALSE(game.Area().GetEffects().front()->IsDone());
        const std::size_t flying = game.Area().GetEffects().size();
        game.Engine().SaveGame(dir / "flight.drav", QuillmereTest::kSampleVersion, nullptr);
        // Past the landing, and a tick more, when a landed effect goes.
        const int ticks = flight - after + 2;
        const std::vector<std::string> unsaved = PlayOn(game.Engine(), ticks);

        const auto loaded = QuillmereTest::FreshSampleEngine();
        std::string bonus;
        loaded->LoadGame(dir / "flight.drav", QuillmereTest::kSampleVersion, bonus);
        EXPECT_EQ(loaded->GetGame()->GetCurrentArea()->GetEffects().size(), flying);
        EXPECT_TRUE(loaded->GetGame()->IsInBattle());
        EXPECT_EQ(PlayOn(*loaded, ticks), unsaved);
    }
}
