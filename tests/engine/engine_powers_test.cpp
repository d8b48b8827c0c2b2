// Powers and sneaking through the power order, their upkeep, and the pulses of an
// ongoing spell, on the sample chapter.

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "common/random.h"
#include "engine/spell_words.h"
#include "rules/magic/spell.h"
#include "support/message_texts.h"
#include "support/sample_game.h"
#include "world/effect.h"
#include "world/order.h"

using namespace DRAV;
using QuillmereTest::SampleGame;
using QuillmereTest::StartSampleGame;

namespace {

using QuillmereTest::MessageTexts;

SampleGame Field() {
    DRAVCommon::GetRandomEngine().seed(5);
    SampleGame game = StartSampleGame();
    game.EnterOpenArea(30, 12);
    game.DrainEvents();
    return game;
}

}  // namespace

TEST(EnginePowers, ASongWithoutEnergyEndsAtItsUpkeepWithTheEventsInOrder) {
    auto game = Field();
    const auto wren = game.Main();
    const CSpell& chant = GetSpell(game.Module().GetSpells(), "s_power-boatmans_chant");
    bool renewed = false;
    wren->ActivatePower(chant, game.Game().GetTick(), renewed);
    ASSERT_EQ(wren->GetCurrentPower(), &chant);
    wren->SetEnergyUsed(wren->GetMaxEnergy());
    game.DrainEvents();
    game.Tick(301);
    EXPECT_EQ(wren->GetCurrentPower(), nullptr);
    std::vector<std::int32_t> codes;
    const auto events = game.DrainEvents();
    for (const auto& event : events)
        if (event->GetCode() == EVENT_ACTOR_POWER_ENDED || event->GetCode() == EVENT_ACTOR_ENERGY)
            codes.push_back(event->GetCode());
    EXPECT_EQ(codes, (std::vector<std::int32_t>{EVENT_ACTOR_POWER_ENDED, EVENT_ACTOR_ENERGY}));
    const auto texts = MessageTexts(events);
    EXPECT_NE(std::find(texts.begin(), texts.end(), "Wren doesn't have enough energy to maintain power."),
              texts.end());
}

TEST(EnginePowers, SneakingNeedsTheSkillAndAGuardNextToTheSneakerSpotsIt) {
    auto game = Field();
    const auto wren = game.Main();
    game.Game().SetInBattle(false);
    CPowerOrder sneak("s_power-sneak");
    const CSpell& power = GetSpell(game.Module().GetSpells(), "s_power-sneak");
    game.Engine().StartSneaking(*wren, power);
    EXPECT_EQ(MessageTexts(game.DrainEvents()), std::vector<std::string>{"Wren can't sneak."});
    wren->AddSkill(SKILL_SNEAK);
    game.Engine().RunPowerOrder(*wren, sneak);
    EXPECT_TRUE(wren->IsSneaking());
    // Switched off by an empty order, without a word.
    game.DrainEvents();
    game.Engine().RunPowerOrder(*wren, CPowerOrder());
    EXPECT_FALSE(wren->IsSneaking());
    EXPECT_TRUE(MessageTexts(game.DrainEvents()).empty());
    // A watchful goblin at arm's length: the sneaker is seen sooner or later.
    const auto guard = game.Spawn("reed_goblin", static_cast<std::uint32_t>(wren->GetX() / 2.5) + 1,
                                  static_cast<std::uint32_t>(wren->GetY() / 2.5));
    ASSERT_TRUE(guard);
    guard->SetRelation(RELATION_HOSTILE);
    game.Game().SetInBattle(false);
    bool spotted = false;
    for (int i = 0; i < 20 && !spotted; ++i) {
        game.Engine().RunPowerOrder(*wren, sneak);
        const auto texts = MessageTexts(game.DrainEvents());
        spotted = std::find(texts.begin(), texts.end(), "Wren is spotted and can't sneak.") != texts.end();
        game.Engine().RunPowerOrder(*wren, CPowerOrder());
    }
    EXPECT_TRUE(spotted);
}

// Nobody sends a fever's pulse, nor the fever a blow carries: its lines name the fever
// and whose it is as what strikes and kills, never the sufferer striking itself.
TEST(EnginePowers, AFeversPulseIsReportedAsTheFeverStrikingItsSufferer) {
    auto game = Field();
    const auto goblin = game.Spawn("reed_goblin", 10, 5);
    goblin->SetMaxHitPoints(100);
    const CSpell& fever = GetSpell(game.Module().GetSpells(), "marsh_fever");
    game.Engine().ResolveSpell(CSpellSender{"Marra"}, goblin.get(), 0.0, 0.0, true, fever, 20, 0, 1, SKILL_NONE);
    ASSERT_EQ(goblin->GetActiveEffects().size(), 1u);
    // The lines with `words` of the first tick that has any.
    const auto linesWith = [&game](const std::string& words) {
        std::vector<std::string> lines;
        for (int tick = 0; tick < 600 && lines.empty(); ++tick)
            for (const auto& text : (game.Tick(), QuillmereTest::MessageTexts(game.DrainEvents())))
                if (text.find(words) != std::string::npos) lines.push_back(text);
        return lines;
    };
    using Lines = std::vector<std::string>;
    EXPECT_EQ(linesWith(" hits Reed Goblin"), Lines{"Fever's Grip (Marra's) hits Reed Goblin for 3 damage."});
    goblin->SetDamageTaken(goblin->GetMaxHitPoints() - 1);
    EXPECT_EQ(linesWith("has killed"), Lines{"Fever's Grip (Marra's) has killed Reed Goblin."});
    // Two fevers of hers, cast at different strengths in one moment, are held apart and
    // pulse together: one line tells their summed harm.
    const auto second = game.Spawn("reed_goblin", 12, 5);
    for (const std::int32_t castingValue : {20, 21})
        second->AddSpellEffect(CSaveOutcome(), fever, castingValue, 1, CSaveOutcome(), &game.Module(), "Marra");
    ASSERT_EQ(second->GetActiveEffects().size(), 2u);
    EXPECT_EQ(linesWith(" hits Reed Goblin"), Lines{"Fever's Grip (Marra's) hits Reed Goblin for 6 damage."});
    // The fever a wisp's touch carries strikes as the fever too, with whose touch it is.
    game.Engine().LaunchAttackSpell("Marsh Wisp", false, GetSpell(game.Module().GetSpells(), "fever_chill"), *second);
    EXPECT_EQ(linesWith(" hits Reed Goblin"), Lines{"Fever's Grip (Marsh Wisp's) hits Reed Goblin for 3 damage."});
}

TEST(EnginePowers, AnOngoingSpellOfThirtySecondsPulsesThreeTimesAndNotWhenDead) {
    auto game = Field();
    const auto goblin = game.Spawn("reed_goblin", 10, 5);
    const CSpell& fever = GetSpell(game.Module().GetSpells(), "marsh_fever");
    const std::uint32_t start = game.Game().GetTick();
    goblin->AddSpellEffect(CSaveOutcome(), fever, 20, 1, CSaveOutcome(), &game.Module());
    std::vector<std::uint32_t> pulses;
    for (std::uint32_t tick = start; tick < start + 900; ++tick) {
        game.Game().SetTick(tick);
        const std::size_t before = game.Area().GetEffects().size();
        game.Engine().RunOngoingSpells();
        if (game.Area().GetEffects().size() > before) pulses.push_back(tick - start);
    }
    EXPECT_EQ(pulses, (std::vector<std::uint32_t>{299, 599, 899}));
    const auto& pulse = dynamic_cast<const CEffectSpell&>(*game.Area().GetEffects().back());
    EXPECT_EQ(pulse.GetSpell()->GetKey(), "fever_chill");
    EXPECT_EQ(pulse.GetTarget(), goblin->GetId());
    // Dead, the goblin's fever stays quiet.
    goblin->SetActionState(ACTION_DEAD);
    game.Game().SetTick(start + 599);
    game.Engine().RunOngoingSpells();
    EXPECT_EQ(game.Area().GetEffects().size(), 3u);
}
