// Casting numbers, powers and timed effects of the chapter's people.

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <vector>

#include "common/random.h"
#include "rules/kinds/number_texts.h"
#include "support/expect_drav.h"
#include "support/temp_dir.h"
#include "world/actor_test_support.h"

using namespace DRAV;
using WorldTest::SampleActor;
using WorldTest::SampleItem;
using WorldTest::Spell;
using WorldTest::SampleWithBrains;

namespace {

struct Drained {
    std::vector<std::int32_t> codes;
    std::vector<std::string> messages;
};

Drained Drain(CGame& game) {
    Drained drained;
    std::shared_ptr<CEvent> event;
    while (game.PopEvent(event)) {
        drained.codes.push_back(event->GetCode());
        if (auto* message = dynamic_cast<CMessageEvent*>(event.get())) drained.messages.push_back(message->GetText());
    }
    return drained;
}

std::shared_ptr<CActor> PartyMember(const std::string& key, CGame& game) {
    auto actor = SampleActor(key, &game);
    actor->SetRelation(RELATION_PARTY);
    return actor;
}

}  // namespace

TEST(ActorSpells, CastingValueMarginAndRequirements) {
    auto witch = SampleActor("reed_witch");
    const CSpell& fever = Spell("marsh_fever");
    // (magic level 7 + tier term 7) / 2 + intelligence 15.
    EXPECT_EQ(witch->GetSpellCastingValue(fever), 7 + 15);
    EXPECT_EQ(witch->GetCasterLevelMargin(fever), 3 - 3);
    EXPECT_TRUE(witch->MeetsSpellRequirements(fever));
    EXPECT_FALSE(witch->MeetsSpellRequirements(Spell("ferry_crossing")));  // no Cosmic Magic
    witch->SetEquipment(SLOT_ARMOR, SampleItem("chain_shirt"));
    EXPECT_EQ(witch->GetSpellCastingValue(fever), 22 - 15);
    witch->AddSkill(SKILL_ARMORED_SPELLCASTING);
    EXPECT_EQ(witch->GetSpellCastingValue(fever), 22 - 5);

    // Powers take the number of their school's class.
    EXPECT_EQ(SampleActor("ferryman")->GetSpellCastingValue(Spell("s_power-steady_pole")), 20);
    EXPECT_EQ(SampleActor("landing_trader")->GetSpellCastingValue(Spell("s_power-boatmans_chant")), 52);
    EXPECT_EQ(witch->GetCasterLevelMargin(Spell("fever_chill")), 0);  // no tier
}

TEST(ActorSpells, StatusEffectsExpireExactlyAtTheirEndTick) {
    CGame game;
    game.SetTick(1000);
    auto witch = PartyMember("reed_witch", game);
    const CSaveOutcome full;
    witch->AddSpellEffect(full, Spell("smugglers_smoke"), 30, 3, full, &SampleWithBrains());
    EXPECT_TRUE(witch->HasStatus(STATUS_CONFUSED));
    EXPECT_TRUE(witch->GetOrdersChanged());
    EXPECT_EQ(Drain(game).codes, (std::vector<std::int32_t>{EVENT_ACTOR_STATUS}));

    witch->SetOrdersChanged(false);
    witch->ExpireEffects(1599);
    EXPECT_TRUE(witch->HasStatus(STATUS_CONFUSED));
    EXPECT_TRUE(Drain(game).codes.empty());
    witch->ExpireEffects(1600);  // two rounds: 600 ticks
    EXPECT_FALSE(witch->HasStatus(STATUS_CONFUSED));
    EXPECT_TRUE(witch->GetActiveEffects().empty());
    EXPECT_TRUE(witch->GetOrdersChanged());
    Drained drained = Drain(game);
    EXPECT_EQ(drained.codes, (std::vector<std::int32_t>{MESSAGE_NOTICE, EVENT_ACTOR_STATUS}));
    EXPECT_EQ(drained.messages, (std::vector<std::string>{"Smugglers' Smoke (on Marra the Reed Witch) expired."}));
}

TEST(ActorSpells, OngoingAndModifyEffectsAndTheEffectsText) {
    CGame game;
    game.SetTick(1000);
    auto witch = PartyMember("reed_witch", game);
    const CSaveOutcome full;
    EXPECT_DRAV_CODE(witch->AddSpellEffect(full, Spell("marsh_fever"), 20, 3, full, nullptr), 2);
    witch->AddSpellEffect(full, Spell("marsh_fever"), 20, 3, full, &SampleWithBrains());
    witch->AddSpellEffect(full, Spell("ferry_blessing"), 20, 3, full, nullptr);
    EXPECT_GE(witch->GetModifier(MOD_ATTACK), 1);
    EXPECT_EQ(witch->GetModifier(MOD_ATTACK), witch->GetModifier(MOD_DEFENSE));
    EXPECT_EQ(Drain(game).codes, (std::vector<std::int32_t>{EVENT_ACTOR_STATUS, EVENT_ACTOR_MODIFIERS}));

    game.SetTick(1300);
    std::string text;
    witch->GetEffectsText(true, text);
    const std::uint32_t blessingEnd = witch->GetActiveEffects()[1]->GetParts()[0]->GetEndTick();
    EXPECT_EQ(text, "Effects: LINE Marsh Fever (20 sec) LINE Ferryman's Blessing (" + FormatDuration(blessingEnd - 1300) +
                        ") LINE ");
    text.clear();
    witch->GetEffectsText(false, text);
    EXPECT_EQ(text, "Effects: LINE Marsh Fever LINE Ferryman's Blessing LINE ");

    // A spell of two parts that end together expires in one line.
    witch->AddSpellEffect(full, Spell("heron_calm"), 20, 3, full, nullptr);
    Drain(game);
    witch->ExpireEffects(UINT32_MAX);
    const auto expired = Drain(game).messages;
    EXPECT_EQ(std::count(expired.begin(), expired.end(), "Heron's Calm (on Marra the Reed Witch) expired."), 1);
}

TEST(ActorSpells, PowerEffectsExpireSilentlyAndReplaceEachOther) {
    CGame game;
    auto ferryman = PartyMember("ferryman", game);
    ferryman->SetEquipment(SLOT_WEAPON, SampleItem("ferrymans_pole"));
    const CSpell& pole = Spell("s_power-steady_pole");
    EXPECT_TRUE(ferryman->CanUsePower(pole));
    const std::int32_t defense = ferryman->GetDefenseClass(false, nullptr);
    bool renewed = true;
    game.SetTick(1000);
    ferryman->ActivatePower(pole, 1000, renewed);
    EXPECT_FALSE(renewed);
    EXPECT_EQ(ferryman->GetCurrentPower(), &pole);
    EXPECT_EQ(ferryman->GetPowerEndTick(), 1300u);
    EXPECT_EQ(ferryman->GetEnergyUsed(), 1);
    EXPECT_EQ(ferryman->GetDefenseClass(false, nullptr), defense + 5);

    game.SetTick(1100);
    ferryman->ActivatePower(pole, 1100, renewed);  // the old effect goes first
    EXPECT_TRUE(renewed);
    EXPECT_EQ(ferryman->GetActiveEffects().size(), 1u);
    Drain(game);

    ferryman->ExpireEffects(1399);
    ferryman->ExpireEffects(1400);
    EXPECT_TRUE(ferryman->GetActiveEffects().empty());
    EXPECT_EQ(ferryman->GetPowerEffect(), nullptr);
    Drained drained = Drain(game);
    EXPECT_TRUE(drained.messages.empty());
    EXPECT_EQ(drained.codes, (std::vector<std::int32_t>{EVENT_ACTOR_MODIFIERS}));

    ferryman->EndPower();
    EXPECT_EQ(ferryman->GetCurrentPower(), nullptr);
    // Without the energy nothing happens.
    ferryman->SetEnergyUsed(ferryman->GetMaxEnergy());
    ferryman->ActivatePower(pole, 2000, renewed);
    EXPECT_EQ(ferryman->GetCurrentPower(), nullptr);
    EXPECT_FALSE(ferryman->CanUsePower(Spell("ferry_blessing")));
}

TEST(ActorSpells, AFailedSongCostsTwiceItsEnergy) {
    const CSpell& chant = Spell("s_power-boatmans_chant");
    const std::int32_t target = (1 + 10) * 5;
    for (bool singer : {true, false}) {
        CGame game;
        auto trader = PartyMember(singer ? "landing_trader" : "ferryman", game);
        const std::int32_t bonus = trader->GetSkillValue(SKILL_SINGING);
        for (std::uint32_t seed = 1; seed <= 200; ++seed) {
            DRAVCommon::GetRandomEngine().seed(seed);
            const std::int32_t roll = DRAVCommon::RollDie(100);
            DRAVCommon::GetRandomEngine().seed(seed);
            trader->SetEnergyUsed(0);
            Drain(game);
            bool renewed = false;
            trader->ActivatePower(chant, seed, renewed);
            const bool fails = roll < 6 || (roll < 96 && roll + bonus <= target);
            ASSERT_EQ(trader->GetEnergyUsed(), fails ? 2 : 1) << "roll " << roll << " bonus " << bonus;
            Drained drained = Drain(game);
            if (fails) {
                ASSERT_EQ(drained.messages.size(), 1u);
                EXPECT_EQ(drained.messages[0], trader->GetName() + " failed singing Boatman's Chant" +
                                                   FormatNamedRollText("Singing", roll, bonus, target) +
                                                   ", double energy cost.");
            } else {
                EXPECT_TRUE(drained.messages.empty());
            }
            EXPECT_EQ(trader->GetPowerEffect(), nullptr);  // a chant for many adds no effect of its own
        }
    }
}

TEST(ActorSpells, RemovingAConfusionTakesTheOrdersAndCharmsGoTogether) {
    auto witch = SampleActor("reed_witch");
    const CSaveOutcome full;
    auto smoke = witch->AddSpellEffect(full, Spell("smugglers_smoke"), 30, 3, full, nullptr);
    witch->SetOrdersChanged(false);
    witch->RemoveEffect(*smoke);
    EXPECT_TRUE(witch->GetOrdersChanged());
    EXPECT_FALSE(witch->HasStatus(STATUS_CONFUSED));

    auto charm = std::make_shared<CSpellApply>("Charm", CDamageType{}, 0, 0, false, false);
    charm->GetParts().push_back(std::make_shared<CSpellApplyEffectStatus>(0, STATUS_CHARMED));
    witch->AppendEffects({charm, charm});
    EXPECT_TRUE(witch->HasStatus(STATUS_CHARMED));
    witch->RemoveCharm();
    EXPECT_TRUE(witch->GetActiveEffects().empty());
}

TEST(ActorSpells, ActionTimersRunAtTheEndOfExpiry) {
    CActor actor(0);
    actor.SetActionState(ACTION_PAUSE);
    actor.SetActionTimers(10, 5);
    actor.ExpireEffects(9);
    EXPECT_EQ(actor.GetActionState(), ACTION_PAUSE);
    actor.ExpireEffects(10);  // pause and recovery both over: idle at once
    EXPECT_EQ(actor.GetActionState(), ACTION_IDLE);
    actor.SetActionState(ACTION_WIND_UP);
    actor.SetActionTimers(0, 70);
    actor.ExpireEffects(70);
    EXPECT_EQ(actor.GetActionState(), ACTION_STRIKE);
    actor.SetStoreFlag(true);
    actor.SetActionState(static_cast<ActionState>(9));
    EXPECT_DRAV_CODE(actor.ExpireEffects(71), 2);
}

// A copy from the same source that does no more than one held is not kept and one
// that does at least as much takes its place, so a heartbeat casting the same
// spell keeps one record; other sources count as the rules count them.
TEST(ActorSpells, ASpellTakingHoldAgainRenewsTheSameSourcesRecord) {
    struct Cast {
        const char* spell;
        std::int32_t castingValue;
        std::int32_t casterLevel;
        CSaveOutcome outcome;
        std::uint32_t tick;
    };
    struct Row {
        const char* what;
        std::vector<Cast> casts;
        std::size_t records;
        ModifierIndex index;
        std::int32_t total;
        std::uint32_t latestEnd;  // of every part held after the last cast
    };
    const CSaveOutcome full;
    const CSaveOutcome halfEffect{50, true, false};
    const CSaveOutcome halfTime{50, false, true};
    const std::vector<Row> rows = {
        {"the same cast again", {{"heron_calm", 20, 3, full, 1000}, {"heron_calm", 20, 3, full, 1300}}, 1, MOD_ATTACK,
         2, 4300},
        {"another caster level", {{"heron_calm", 20, 3, full, 1000}, {"heron_calm", 20, 5, full, 1300}}, 2, MOD_ATTACK,
         4, 4300},
        {"another casting value", {{"heron_calm", 20, 3, full, 1000}, {"heron_calm", 30, 3, full, 1300}}, 2,
         MOD_ATTACK, 4, 4300},
        {"a hostile and a friendly spell", {{"ember_hex", 20, 3, full, 1000}, {"heron_calm", 20, 3, full, 1300}}, 2,
         MOD_ATTACK, 0, 4300},
        {"spells of two categories", {{"heron_shadow", 20, 3, full, 1000}, {"ferrymans_luck", 20, 3, full, 1300}}, 2,
         MOD_DEFENSE, -2, 4300},
        {"a weaker cast under a stronger one",
         {{"heron_shadow", 20, 3, full, 1000}, {"heron_shadow", 20, 3, halfEffect, 1300}}, 2, MOD_DEFENSE, -3, 4300},
        {"a stronger cast over a weaker one",
         {{"heron_shadow", 20, 3, halfEffect, 1000}, {"heron_shadow", 20, 3, full, 1300}}, 1, MOD_DEFENSE, -3, 4300},
        {"a shorter cast under a longer one",
         {{"ember_hex", 20, 3, full, 1000}, {"ember_hex", 20, 3, halfTime, 1300}}, 1, MOD_ATTACK, -2, 4000},
        {"a cast over a copy whose fear ran out",
         {{"heron_shadow", 20, 3, full, 1000}, {"heron_shadow", 20, 3, full, 1400}}, 1, MOD_DEFENSE, -3, 4400},
        // The fever pulses when the ticks left are one more than a multiple of 300:
        // renewed, it ends on the first such tick after the new cast's end, 2050.
        {"a carried spell", {{"marsh_fever", 20, 3, full, 1000}, {"marsh_fever", 20, 3, full, 1150}}, 1, MOD_ATTACK, 0,
         2200},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        CGame game;
        auto witch = PartyMember("reed_witch", game);
        for (const Cast& cast : row.casts) {
            game.SetTick(cast.tick);
            witch->ExpireEffects(cast.tick);
            witch->AddSpellEffect(cast.outcome, Spell(cast.spell), cast.castingValue, cast.casterLevel, cast.outcome,
                                  &SampleWithBrains());
        }
        EXPECT_EQ(witch->GetActiveEffects().size(), row.records);
        EXPECT_EQ(witch->GetModifier(row.index), row.total);
        std::uint32_t latest = 0;
        for (const auto& effect : witch->GetActiveEffects())
            for (const auto& part : effect->GetParts()) latest = std::max(latest, part->GetEndTick());
        EXPECT_EQ(latest, row.latestEnd);
    }
}

// An actor's modifiers are summed when what modifies it changes, not when they are
// read: each change shows in the very next read, whatever was read before it.
TEST(ActorSpells, EachChangeOfWhatModifiesAnActorCountsAtOnce) {
    using Witch = std::shared_ptr<CActor>;
    const CSaveOutcome full;
    const CSaveOutcome halfEffect{50, true, false};
    const auto calm = [&](Witch& witch) {
        auto held = witch->AddSpellEffect(full, Spell("heron_calm"), 20, 3, full, nullptr);
        EXPECT_EQ(witch->GetModifier(MOD_ATTACK), 2);
        return held;
    };
    const auto ring = [](Witch& witch) {
        witch->SetEquipment(SLOT_RIGHT_RING, SampleItem("ring_of_the_current"));
        EXPECT_EQ(witch->GetModifier(MOD_AGILITY), 1);
    };
    struct Row {
        const char* what;
        std::function<void(Witch&, CGame&)> change;
        ModifierIndex index;
        std::int32_t after;
    };
    const std::vector<Row> rows = {
        {"a spell taking hold", [&](Witch& witch, CGame&) { calm(witch); }, MOD_ATTACK, 2},
        {"a second cast at another level",
         [&](Witch& witch, CGame&) {
             calm(witch);
             witch->AddSpellEffect(full, Spell("heron_calm"), 20, 5, full, nullptr);
         },
         MOD_ATTACK, 4},
        {"a stronger cast renewing a weaker one",
         [&](Witch& witch, CGame&) {
             witch->AddSpellEffect(halfEffect, Spell("heron_shadow"), 20, 3, halfEffect, nullptr);
             EXPECT_GT(witch->GetModifier(MOD_DEFENSE), -3);
             witch->AddSpellEffect(full, Spell("heron_shadow"), 20, 3, full, nullptr);
         },
         MOD_DEFENSE, -3},
        {"the spell running out",
         [&](Witch& witch, CGame&) {
             calm(witch);
             witch->ExpireEffects(UINT32_MAX);
         },
         MOD_ATTACK, 0},
        {"the spell taken off", [&](Witch& witch, CGame&) { witch->RemoveEffect(*calm(witch)); }, MOD_ATTACK, 0},
        {"every spell ended at once",
         [&](Witch& witch, CGame&) {
             calm(witch);
             witch->ClearEffects();
         },
         MOD_ATTACK, 0},
        {"a ring put on", [&](Witch& witch, CGame&) { ring(witch); }, MOD_AGILITY, 1},
        {"the ring taken off",
         [&](Witch& witch, CGame&) {
             ring(witch);
             witch->RemoveEquipment(SLOT_RIGHT_RING);
         },
         MOD_AGILITY, 0},
        {"a load of the spell and the ring",
         [&](Witch& witch, CGame& game) {
             calm(witch);
             ring(witch);
             QuillmereTest::TempDir folder;
             witch = WorldTest::LoadActor(WorldTest::SavedText(*witch, folder / "witch.drav"), game);
             EXPECT_EQ(witch->GetModifier(MOD_AGILITY), 1);
         },
         MOD_ATTACK, 2},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        CGame game;
        game.SetTick(1000);
        Witch witch = PartyMember("reed_witch", game);
        row.change(witch, game);
        EXPECT_EQ(witch->GetModifier(row.index), row.after);
    }
}
