#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "common/random.h"
#include "rules/magic/spell_effect.h"
#include "rules/magic/spell_effect_dispel.h"
#include "rules/magic/spell_effects_conjure.h"
#include "rules/magic/spell_effects_motion.h"
#include "rules/magic/spell_effects_stat.h"
#include "rules/magic/spell_effects_vital.h"
#include "rules/magic/spell_scaling.h"
#include "rules_test_util.h"
#include "support/error_code.h"

using namespace DRAV;
using RulesTest::ReaderOver;

namespace {

// Reads "<effect> text </effect>" as a spell of `tier` would.
std::shared_ptr<CSpellEffect> ReadEffect(const std::string& text, std::int32_t tier = 0) {
    auto reader = ReaderOver("<effect> " + text + " </effect>");
    reader->BeginBlock("effect");
    std::shared_ptr<CSpellEffect> effect = ReadSpellEffect(*reader, tier);
    reader->EndBlock();
    EXPECT_TRUE(reader->AtEnd()) << reader->GetToken();
    return effect;
}

template <typename T>
std::shared_ptr<T> ReadAs(const std::string& text, std::int32_t tier = 0) {
    auto effect = std::dynamic_pointer_cast<T>(ReadEffect(text, tier));
    EXPECT_NE(effect, nullptr) << text;
    return effect;
}

std::int32_t EffectError(const std::string& text) {
    return QuillmereTest::ErrorCodeOf([&] { ReadEffect(text); });
}

CSpellMagnitude ReadMagnitude(const std::string& text, std::int32_t tier) {
    auto reader = ReaderOver(text);
    CSpellMagnitude magnitude(*reader, tier);
    EXPECT_TRUE(reader->AtEnd()) << reader->GetToken();
    return magnitude;
}

CSpellDuration ReadDuration(const std::string& word, std::int32_t tier) {
    auto reader = ReaderOver(word);
    return CSpellDuration(*reader, tier);
}

const CSaveOutcome kFull{100, true, true};

}  // namespace

TEST(SpellMagnitude, BareForms) {
    CSpellMagnitude single = ReadMagnitude("5", 3);
    EXPECT_EQ(single.GetDice(), 0);
    EXPECT_EQ(single.GetBonus(), 5);
    EXPECT_EQ(single.GetLevelCap(), 0);

    CSpellMagnitude group = ReadMagnitude("( 6 2 )", 3);
    EXPECT_EQ(group.GetDice(), 6);
    EXPECT_EQ(group.GetBonus(), 2);
    EXPECT_EQ(group.GetLevelCap(), 0);

    CSpellMagnitude zeroFirst = ReadMagnitude("0 3", 3);
    EXPECT_EQ(zeroFirst.GetDice(), 0);
    EXPECT_EQ(zeroFirst.GetBonus(), 3);

    CSpellMagnitude negative = ReadMagnitude("-4", 1);
    EXPECT_EQ(negative.GetBonus(), -4);
    EXPECT_FALSE(negative.IsPositive());
}

TEST(SpellMagnitude, ValueElementGrowsWithLevelUpToTheTierCap) {
    CSpellMagnitude magnitude = ReadMagnitude("<value> ( 4 1 ) 2 </value>", 2);
    EXPECT_EQ(magnitude.GetDice(), 4);
    EXPECT_EQ(magnitude.GetDicePerLevel(), 1);
    EXPECT_EQ(magnitude.GetBonus(), 2);
    EXPECT_EQ(magnitude.GetBonusPerLevel(), 0);
    EXPECT_EQ(magnitude.GetLevelCap(), 8);
    // At level 12 the cap holds the die at 4 + 8 = 12, the flat part at 2.
    for (int i = 0; i < 300; ++i) {
        std::int32_t value = magnitude.GetValue(12);
        ASSERT_GE(value, 3);
        ASSERT_LE(value, 14);
    }

    // Without per-level parts the cap stays 0, even at a high tier.
    EXPECT_EQ(ReadMagnitude("<value> 4 2 </value>", 5).GetLevelCap(), 0);
    // A flat part per level: 1 + 2 x min(3, 5).
    EXPECT_EQ(ReadMagnitude("<value> 0 ( 1 2 ) </value>", 1).GetValue(3), 7);
    EXPECT_EQ(ReadMagnitude("<value> 0 ( 1 2 ) </value>", 1).GetValue(40), 11);
}

TEST(SpellMagnitude, NeverEvaluatesToZero) {
    EXPECT_EQ(CSpellMagnitude(0).GetValue(5), -1);
    EXPECT_EQ(CSpellMagnitude(3).GetValue(0), 3);
    // A save that leaves 10 percent of 3 leaves 0, which becomes the least help, 1.
    EXPECT_EQ(CSpellMagnitude(3).GetValue(0, CSaveOutcome{10, true, false}), 1);
    EXPECT_EQ(CSpellMagnitude(-8).GetValue(0, CSaveOutcome{50, true, true}), -4);
    // A save that scales only the time leaves the amount alone.
    EXPECT_EQ(CSpellMagnitude(8).GetValue(0, CSaveOutcome{10, false, true}), 8);
}

TEST(SpellMagnitude, HugeNumbersSaturate) {
    // Dice and bonus near the limits of the file's integers add up without wrapping.
    EXPECT_EQ(CSpellMagnitude(0, 2147483647).GetValue(0), 2147483647);
    CSpellMagnitude grows = ReadMagnitude("<value> 0 ( 2000000000 2000000000 ) </value>", 3);
    EXPECT_EQ(grows.GetValue(10), 2147483647);
    EXPECT_EQ(grows.GetValue(10, CSaveOutcome{50, true, true}), 2147483647);
    CSpellMagnitude harms = ReadMagnitude("<value> 0 ( -2000000000 -2000000000 ) </value>", 3);
    EXPECT_EQ(harms.GetValue(10), -2147483647 - 1);
}

TEST(SpellMagnitude, MalformedIsRefused) {
    EXPECT_EQ(QuillmereTest::ErrorCodeOf([] { ReadMagnitude("many", 1); }), DRAV_ERR_BAD_DATA);
    EXPECT_EQ(QuillmereTest::ErrorCodeOf([] { ReadMagnitude("( 6 )", 1); }), DRAV_ERR_BAD_DATA);
    EXPECT_EQ(QuillmereTest::ErrorCodeOf([] { ReadMagnitude("<value> 4 </value>", 1); }), DRAV_ERR_BAD_DATA);
    EXPECT_EQ(QuillmereTest::ErrorCodeOf([] { ReadMagnitude("0", 1); }), DRAV_ERR_BAD_DATA);
}

TEST(SpellDuration, WordsAndTheirLevelParts) {
    struct Row {
        const char* word;
        std::int32_t base;
    };
    for (Row row : {Row{"0", 0}, Row{"1round", 10}, Row{"2rounds", 20}, Row{"3rounds", 30}, Row{"5rounds", 50},
                    Row{"10rounds", 100}, Row{"1hour", 3600}, Row{"8hours", 28800}}) {
        CSpellDuration duration = ReadDuration(row.word, 3);
        EXPECT_EQ(duration.GetBase(), row.base) << row.word;
        EXPECT_EQ(duration.GetPerLevel(), 0) << row.word;
        EXPECT_EQ(duration.GetValue(20, kFull), row.base) << row.word;
    }
    EXPECT_TRUE(ReadDuration("0", 1).IsNone());

    CSpellDuration rounds = ReadDuration("levelrounds", 1);
    EXPECT_EQ(rounds.GetBase(), 10);
    EXPECT_EQ(rounds.GetPerLevel(), 10);
    EXPECT_EQ(rounds.GetLevelCap(), 5);
    EXPECT_EQ(rounds.GetValue(2, kFull), 30);
    EXPECT_EQ(rounds.GetValue(5, kFull), 60);
    EXPECT_EQ(rounds.GetValue(9, kFull), 60);

    CSpellDuration minutes = ReadDuration("levelminutes", 3);
    EXPECT_EQ(minutes.GetBase(), 300);
    EXPECT_EQ(minutes.GetPerLevel(), 60);
    EXPECT_EQ(minutes.GetLevelCap(), 10);
}

TEST(SpellDuration, SaveScalesTimeOnlyWhenAsked) {
    CSpellDuration duration = ReadDuration("10rounds", 1);
    EXPECT_EQ(duration.GetValue(0, CSaveOutcome{50, true, true}), 50);
    EXPECT_EQ(duration.GetValue(0, CSaveOutcome{50, true, false}), 100);
    EXPECT_EQ(duration.GetValue(0, CSaveOutcome{100, true, true}), 100);
    EXPECT_EQ(ReadDuration("1round", 1).GetValue(0, CSaveOutcome{15, false, true}), 1);
}

TEST(SpellDuration, UnknownWordIsRefused) {
    RulesTest::ExpectThrowsCode([] { ReadDuration("4rounds", 1); }, DRAV_ERR_BAD_DATA, "4rounds");
    EXPECT_EQ(QuillmereTest::ErrorCodeOf([] { ReadDuration("Levelrounds", 1); }), DRAV_ERR_BAD_DATA);
}

TEST(SpellEffects, TierCaps) {
    EXPECT_EQ(GetTierLevelCap(0), 0);
    EXPECT_EQ(GetTierLevelCap(1), 5);
    EXPECT_EQ(GetTierLevelCap(2), 8);
    EXPECT_EQ(GetTierLevelCap(3), 10);
    EXPECT_EQ(GetTierLevelCap(9), 10);
}

TEST(SpellEffects, ModifyReadsDurationMagnitudeAndMask) {
    auto modify = ReadAs<CSpellEffectModify>("modify levelrounds <value> ( 0 0 ) ( 1 1 ) </value> attack defense fire",
                                             2);
    EXPECT_EQ(modify->GetKind(), EFFECT_MODIFY);
    EXPECT_EQ(modify->GetDuration().GetLevelCap(), 8);
    EXPECT_EQ(modify->GetMagnitude().GetBonusPerLevel(), 1);
    EXPECT_EQ(modify->GetMask(), ModifierBit(MOD_ATTACK) | ModifierBit(MOD_DEFENSE) | ModifierBit(MOD_RESIST_FIRE));
    EXPECT_FALSE(modify->IsHostile());

    EXPECT_TRUE(ReadEffect("modify 1round -2 attack")->IsHostile());
    // Nothing at all counts as harm.
    auto zero = ReadAs<CSpellEffectModify>("modify 0 0 0 attack");
    EXPECT_TRUE(zero->IsHostile());
    EXPECT_EQ(zero->GetMagnitude().GetValue(0), -1);
    EXPECT_EQ(ReadAs<CSpellEffectModify>("modify 0 3")->GetMask(), 0u);

    CSpellEffectModify fixed(4, ModifierBit(MOD_CASTING));
    EXPECT_TRUE(fixed.GetDuration().IsNone());
    EXPECT_EQ(fixed.GetMagnitude().GetValue(7), 4);
    EXPECT_FALSE(fixed.IsHostile());

    EXPECT_EQ(EffectError("modify 1round 2 wisdom"), DRAV_ERR_BAD_DATA);
    EXPECT_EQ(EffectError("modify 1round 2 physical"), DRAV_ERR_OUT_OF_RANGE);
    EXPECT_EQ(EffectError("modify fortnight 2 attack"), DRAV_ERR_BAD_DATA);
    EXPECT_EQ(EffectError("modify 1round"), DRAV_ERR_BAD_DATA);
}

TEST(SpellEffects, SummonAndItemKeys) {
    auto summon = ReadAs<CSpellEffectSummon>("summon 1hour marsh_wisp friendly");
    EXPECT_EQ(summon->GetDuration().GetBase(), 3600);
    EXPECT_EQ(summon->GetMonsterKey(), "marsh_wisp");
    EXPECT_EQ(summon->GetRelation(), RELATION_FRIENDLY);
    EXPECT_FALSE(summon->IsHostile());
    EXPECT_EQ(ReadAs<CSpellEffectSummon>("summon 0 0 hostile")->GetMonsterKey(), "");

    EXPECT_EQ(EffectError("summon 1hour marsh_wisp"), DRAV_ERR_BAD_DATA);
    EXPECT_EQ(EffectError("summon 1hour marsh_wisp allied"), DRAV_ERR_OUT_OF_RANGE);
    EXPECT_EQ(EffectError("summon 1hour"), DRAV_ERR_BAD_DATA);

    auto item = ReadAs<CSpellEffectItem>("item 8hours reed_lantern");
    EXPECT_EQ(item->GetKind(), EFFECT_ITEM);
    EXPECT_EQ(item->GetItemKey(), "reed_lantern");
    EXPECT_EQ(item->GetDuration().GetBase(), 28800);
    EXPECT_FALSE(item->IsHostile());
    EXPECT_EQ(EffectError("item 8hours"), DRAV_ERR_BAD_DATA);
    EXPECT_EQ(EffectError("item 8hours lantern torch"), DRAV_ERR_BAD_DATA);
}

TEST(SpellEffects, HealManaDamage) {
    auto heal = ReadAs<CSpellEffectHeal>("heal <value> 8 ( 0 1 ) </value>", 1);
    EXPECT_EQ(heal->GetKind(), EFFECT_HEAL);
    EXPECT_EQ(heal->GetMagnitude().GetDice(), 8);
    EXPECT_EQ(heal->GetMagnitude().GetLevelCap(), 5);
    EXPECT_FALSE(heal->IsHostile());

    auto mana = ReadAs<CSpellEffectHeal>("mana ( 4 1 )");
    EXPECT_EQ(mana->GetKind(), EFFECT_MANA);
    EXPECT_FALSE(mana->IsHostile());

    auto damage = ReadAs<CSpellEffectDamage>("damage 5");
    EXPECT_EQ(damage->GetMagnitude().GetBonus(), 5);
    EXPECT_TRUE(damage->IsHostile());

    auto reader = ReaderOver("5");
    EXPECT_EQ(QuillmereTest::ErrorCodeOf([&] { CSpellEffectHeal(EFFECT_DAMAGE, *reader, 0); }), DRAV_ERR_BAD_DATA);
    EXPECT_EQ(EffectError("heal"), DRAV_ERR_BAD_DATA);
    EXPECT_EQ(EffectError("damage 2 3"), DRAV_ERR_BAD_DATA);
}

TEST(SpellEffects, OngoingCarriesASpellKey) {
    auto ongoing = ReadAs<CSpellEffectOngoing>("ongoing 3rounds fever_chill");
    EXPECT_EQ(ongoing->GetSpellKey(), "fever_chill");
    EXPECT_EQ(ongoing->GetDuration().GetBase(), 30);
    EXPECT_TRUE(ongoing->IsHostile());
    EXPECT_EQ(EffectError("ongoing 3rounds"), DRAV_ERR_BAD_DATA);
}

TEST(SpellEffects, TeleportWords) {
    auto none = ReadAs<CSpellEffectTeleport>("teleport");
    EXPECT_FALSE(none->GetParty());
    EXPECT_FALSE(none->GetReturn());
    auto both = ReadAs<CSpellEffectTeleport>("teleport return party");
    EXPECT_TRUE(both->GetParty());
    EXPECT_TRUE(both->GetReturn());
    EXPECT_FALSE(both->IsHostile());
    EXPECT_TRUE(ReadAs<CSpellEffectTeleport>("teleport party")->GetParty());
    EXPECT_EQ(EffectError("teleport home"), DRAV_ERR_BAD_DATA);
    EXPECT_EQ(EffectError("teleport Party"), DRAV_ERR_BAD_DATA);
}

TEST(SpellEffects, StatusWords) {
    auto status = ReadAs<CSpellEffectStatus>("status 2rounds confused");
    EXPECT_EQ(status->GetStatus(), STATUS_CONFUSED);
    EXPECT_EQ(status->GetDuration().GetBase(), 20);
    EXPECT_TRUE(status->IsHostile());
    EXPECT_EQ(EffectError("status 2rounds asleep"), DRAV_ERR_BAD_DATA);
    EXPECT_EQ(EffectError("status 2rounds 0"), DRAV_ERR_BAD_DATA);
    EXPECT_EQ(EffectError("status 2rounds"), DRAV_ERR_BAD_DATA);
}

TEST(SpellEffects, DispelCoversItsDamageTypes) {
    auto fire = ReadAs<CSpellEffectDispel>("dispel hostile fire");
    EXPECT_TRUE(fire->GetHostile());
    EXPECT_FALSE(fire->GetMany());
    EXPECT_FALSE(fire->IsHostile());
    EXPECT_TRUE(fire->Covers({DAMAGE_ENERGETIC, ELEMENT_FIRE}));
    EXPECT_FALSE(fire->Covers({DAMAGE_ENERGETIC, ELEMENT_COLD}));
    EXPECT_FALSE(fire->Covers({DAMAGE_ENERGETIC, ELEMENT_NONE}));

    auto energetic = ReadAs<CSpellEffectDispel>("dispel many energetic curse");
    EXPECT_TRUE(energetic->GetMany());
    EXPECT_TRUE(energetic->IsHostile());
    for (DamageElement element : {ELEMENT_NONE, ELEMENT_RADIANT, ELEMENT_FIRE, ELEMENT_COLD, ELEMENT_LIGHTNING,
                                  ELEMENT_FORCE})
        EXPECT_TRUE(energetic->Covers({DAMAGE_ENERGETIC, element})) << element;
    EXPECT_TRUE(energetic->Covers({DAMAGE_SPIRITUAL, ELEMENT_CURSE}));
    EXPECT_FALSE(energetic->Covers({DAMAGE_SPIRITUAL, ELEMENT_NONE}));
    EXPECT_FALSE(energetic->Covers({DAMAGE_MATERIAL, ELEMENT_POISON}));

    auto none = ReadAs<CSpellEffectDispel>("dispel 0");
    ASSERT_EQ(none->GetDamageTypes().size(), 1u);
    EXPECT_TRUE(none->Covers(CDamageType{}));

    EXPECT_EQ(EffectError("dispel many"), DRAV_ERR_BAD_DATA);
    EXPECT_EQ(EffectError("dispel"), DRAV_ERR_BAD_DATA);
    EXPECT_EQ(EffectError("dispel fire smoke"), DRAV_ERR_BAD_DATA);
}

TEST(SpellEffects, RepulseRaiseResist) {
    auto repulse = ReadEffect("repulse");
    EXPECT_EQ(repulse->GetKind(), EFFECT_REPULSE);
    EXPECT_TRUE(repulse->IsHostile());
    EXPECT_EQ(EffectError("repulse far"), DRAV_ERR_BAD_DATA);

    EXPECT_FALSE(ReadAs<CSpellEffectRaise>("raise")->GetHeal());
    auto raise = ReadAs<CSpellEffectRaise>("raise heal");
    EXPECT_TRUE(raise->GetHeal());
    EXPECT_FALSE(raise->IsHostile());
    EXPECT_EQ(EffectError("raise whole"), DRAV_ERR_BAD_DATA);

    auto resist = ReadAs<CSpellEffectResist>("resist 10rounds fire 10");
    EXPECT_EQ(resist->GetDamageType(), (CDamageType{DAMAGE_ENERGETIC, ELEMENT_FIRE}));
    EXPECT_EQ(resist->GetAmount(), 10);
    EXPECT_FALSE(resist->IsHostile());
    CSpellEffectResist copy(*resist);
    EXPECT_EQ(copy.GetDurationRecord(), resist->GetDurationRecord());
    EXPECT_EQ(copy.GetAmount(), 10);
    EXPECT_EQ(EffectError("resist 10rounds fire"), DRAV_ERR_BAD_DATA);
    EXPECT_EQ(EffectError("resist 10rounds smoke 10"), DRAV_ERR_BAD_DATA);
    EXPECT_EQ(EffectError("resist 10rounds"), DRAV_ERR_BAD_DATA);
}

TEST(SpellEffects, UnknownKindIsOutOfTable) {
    EXPECT_EQ(EffectError("curse 1round"), DRAV_ERR_OUT_OF_RANGE);
    EXPECT_EQ(EffectError("0"), DRAV_ERR_OUT_OF_RANGE);
    EXPECT_EQ(EffectError("Damage 5"), DRAV_ERR_OUT_OF_RANGE);
    EXPECT_EQ(EffectError(""), DRAV_ERR_BAD_DATA);
}
