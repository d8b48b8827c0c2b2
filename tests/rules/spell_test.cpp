#include <gtest/gtest.h>

#include <limits>
#include <memory>
#include <string>

#include "common/random.h"
#include "rules/magic/spell.h"
#include "rules/magic/spell_effects_motion.h"
#include "rules/magic/spell_effects_stat.h"
#include "rules/magic/spell_list.h"
#include "rules_test_util.h"
#include "support/error_code.h"

using namespace DRAV;
using RulesTest::ReaderOver;

namespace {

// A spell element around `body`, with the head given piece by piece.
std::string SpellText(const std::string& difficulty, const std::string& save, const std::string& body,
                      const std::string& school = "life_magic", const std::string& range = "short") {
    return "<spell> test_spell \"Test Spell\" ( 10 20 30 ) \"A spell for tests.\" 0 " + school + " " + difficulty +
           " " + save + " 0 " + range + " " + body + " </spell>";
}

std::shared_ptr<CSpell> ReadSpell(const std::string& text) {
    auto reader = ReaderOver(text);
    auto spell = std::make_shared<CSpell>(*reader);
    EXPECT_TRUE(reader->AtEnd()) << reader->GetToken();
    return spell;
}

std::int32_t SpellError(const std::string& text) {
    return QuillmereTest::ErrorCodeOf([&] { ReadSpell(text); });
}

std::int32_t NoResistance(const CDamageType&) { return 0; }

}  // namespace

TEST(Spell, DefaultsOfAKeyName) {
    CSpell spell("plain");
    EXPECT_EQ(spell.GetKey(), "plain");
    EXPECT_EQ(spell.GetColour(), 0x00FFFFFFu);
    EXPECT_EQ(spell.GetVisualParams(), nullptr);
    EXPECT_EQ(spell.GetSchool(), SKILL_NONE);
    EXPECT_EQ(spell.GetTier(), -1);
    EXPECT_EQ(spell.GetLevel(), -1);
    EXPECT_EQ(spell.GetBonus(), -1);
    EXPECT_EQ(spell.GetSaveDamageType(), CDamageType{});
    EXPECT_EQ(spell.GetSaveOutcome(), (CSaveOutcome{100, true, true}));
    EXPECT_EQ(spell.GetPowerWeaponType(), 6);
    EXPECT_EQ(spell.GetPowerSkill(), SKILL_NONE);
    EXPECT_EQ(spell.GetTargetType(), SPELL_TARGET_SELF);
    EXPECT_DOUBLE_EQ(spell.GetRange(), 0.0);
    EXPECT_FALSE(spell.IsHostile());
}

TEST(Spell, ReadsTheHeadInOrder) {
    auto spell = ReadSpell(
        "<spell> smoke \"Reed Smoke\" ( 110 120 130 ) \"Smoke rolls in.\" smoke_cloud <params> 1.5 grey dense </params>"
        " void_magic <tier> 2 </tier> <save> ( illusion 12 ) negate </save> arcane_magic long"
        " <effect> status 2rounds confused </effect> tiletarget </spell>");
    EXPECT_EQ(spell->GetKey(), "smoke");
    EXPECT_EQ(spell->GetName(), "Reed Smoke");
    EXPECT_EQ(spell->GetColour(), 0x006E7882u);
    EXPECT_EQ(spell->GetDescription(), "Smoke rolls in.");
    EXPECT_EQ(spell->GetVisualName(), "smoke_cloud");
    ASSERT_NE(spell->GetVisualParams(), nullptr);
    EXPECT_DOUBLE_EQ(spell->GetVisualParams()->GetScale(), 1.5);
    EXPECT_EQ(spell->GetVisualParams()->GetWords().size(), 2u);
    EXPECT_EQ(spell->GetSchool(), SKILL_VOID_MAGIC);
    EXPECT_EQ(spell->GetTier(), 2);
    EXPECT_EQ(spell->GetSaveDamageType(), (CDamageType{DAMAGE_SPIRITUAL, ELEMENT_ILLUSION}));
    EXPECT_EQ(spell->GetSaveLimit(), 12);
    EXPECT_EQ(spell->GetSaveOutcome().percent, 0);
    EXPECT_EQ(spell->GetSecondSkill(), SKILL_ARCANE_MAGIC);
    EXPECT_DOUBLE_EQ(spell->GetRange(), 75.0);
    EXPECT_EQ(spell->GetTargetType(), SPELL_TARGET_TILE);
    EXPECT_TRUE(spell->IsHostile());
    EXPECT_EQ(spell->GetCastingDifficulty(), 7);
    EXPECT_EQ(spell->GetEnergyCost(), 5);
}

TEST(Spell, SaveForms) {
    auto bare = ReadSpell(SpellText("<tier> 1 </tier>", "poison", ""));
    EXPECT_EQ(bare->GetSaveDamageType(), (CDamageType{DAMAGE_MATERIAL, ELEMENT_POISON}));
    EXPECT_EQ(bare->GetSaveLimit(), 0);
    EXPECT_EQ(bare->GetSaveOutcome(), (CSaveOutcome{100, true, true}));

    auto element = ReadSpell(SpellText("<tier> 1 </tier>", "<save> force mintime </save>", ""));
    EXPECT_EQ(element->GetSaveDamageType(), (CDamageType{DAMAGE_ENERGETIC, ELEMENT_FORCE}));
    EXPECT_TRUE(element->GetSaveOutcome().IsMinTime());

    EXPECT_EQ(ReadSpell(SpellText("<tier> 1 </tier>", "0", ""))->GetSaveDamageType(), CDamageType{});
    EXPECT_EQ(SpellError(SpellText("<tier> 1 </tier>", "smoke", "")), DRAV_ERR_BAD_DATA);
    EXPECT_EQ(SpellError(SpellText("<tier> 1 </tier>", "<save> fire </save>", "")), DRAV_ERR_BAD_DATA);
    EXPECT_EQ(SpellError(SpellText("<tier> 1 </tier>", "<save> fire 0 </save>", "")), DRAV_ERR_BAD_DATA);
    EXPECT_EQ(SpellError(SpellText("<tier> 1 </tier>", "<save> fire quarter </save>", "")), DRAV_ERR_BAD_DATA);
}

TEST(Spell, DifficultyAndEnergy) {
    auto tierZero = ReadSpell(SpellText("<tier> 0 </tier>", "0", ""));
    EXPECT_EQ(tierZero->GetCastingDifficulty(), 0);
    EXPECT_EQ(tierZero->GetEnergyCost(), 2);

    auto level = ReadSpell(SpellText("<level> 4 </level>", "0", "power"));
    EXPECT_EQ(level->GetCastingDifficulty(), 0);
    EXPECT_EQ(level->GetEnergyCost(), 4);
    EXPECT_EQ(ReadSpell(SpellText("<level> 0 </level>", "0", "power"))->GetEnergyCost(), 1);

    auto bonus = ReadSpell(SpellText("<bonus> -5 </bonus>", "0", ""));
    EXPECT_EQ(bonus->GetCastingDifficulty(), -5);

    EXPECT_EQ(ReadSpell(SpellText("<level> 3 </level>", "0", "power", "sneak"))->GetEnergyCost(), 0);

    RulesTest::ExpectThrowsCode([] { ReadSpell(SpellText("", "0", "")); }, DRAV_ERR_BAD_DATA, "<tier>");
    EXPECT_EQ(SpellError(SpellText("<tier> high </tier>", "0", "")), DRAV_ERR_BAD_DATA);
}

TEST(Spell, HugeTierSaturatesItsNumbers) {
    auto huge = ReadSpell(SpellText("<tier> 2147483647 </tier>", "0",
                                    "<effect> modify levelrounds 2 attack </effect>"));
    EXPECT_EQ(huge->GetCastingDifficulty(), 2147483647);
    EXPECT_EQ(huge->GetEnergyCost(), 2147483647);
    const auto& modify = static_cast<const CSpellEffectModify&>(*huge->GetEffects().at(0));
    EXPECT_EQ(modify.GetDuration().GetBase(), 2147483647);
    EXPECT_EQ(modify.GetDuration().GetValue(10, CSaveOutcome{}), 2147483647);
}

TEST(Spell, DefaultSavesOfPowersAndSongs) {
    auto power = ReadSpell(SpellText("<level> 2 </level>", "0", "power", "0"));
    EXPECT_EQ(power->GetSaveDamageType(), (CDamageType{DAMAGE_POWER, ELEMENT_NONE}));
    auto song = ReadSpell(SpellText("<level> 1 </level>", "0", "power multitarget", "singing"));
    EXPECT_EQ(song->GetSaveDamageType(), (CDamageType{DAMAGE_MUSICAL, ELEMENT_NONE}));
    EXPECT_DOUBLE_EQ(song->GetEffectSpeed(), 750.0);
    auto given = ReadSpell(SpellText("<level> 1 </level>", "fire", "power", "singing"));
    EXPECT_EQ(given->GetSaveDamageType(), (CDamageType{DAMAGE_ENERGETIC, ELEMENT_FIRE}));
    auto plain = ReadSpell(SpellText("<tier> 1 </tier>", "0", "multitarget", "singing"));
    EXPECT_EQ(plain->GetSaveDamageType(), CDamageType{});
    EXPECT_DOUBLE_EQ(plain->GetEffectSpeed(), 75.0);
}

TEST(Spell, HostileOnlyWhenEveryEffectHarms) {
    EXPECT_FALSE(ReadSpell(SpellText("<tier> 1 </tier>", "0", ""))->IsHostile());
    EXPECT_TRUE(ReadSpell(SpellText("<tier> 1 </tier>", "0", "<effect> damage 5 </effect> <effect> repulse </effect>"))
                    ->IsHostile());
    EXPECT_FALSE(ReadSpell(SpellText("<tier> 1 </tier>", "0", "<effect> damage 5 </effect> <effect> heal 5 </effect>"))
                     ->IsHostile());
}

TEST(Spell, EffectsReadUnderTheSpellsTier) {
    auto spell = ReadSpell(SpellText("<tier> 2 </tier>", "0",
                                     "<effect> modify levelrounds 2 attack </effect> <effect> teleport party </effect>"));
    ASSERT_EQ(spell->GetEffects().size(), 2u);
    auto modify = std::dynamic_pointer_cast<CSpellEffectModify>(spell->GetEffects()[0]);
    ASSERT_NE(modify, nullptr);
    EXPECT_EQ(modify->GetDuration().GetBase(), 30);
    EXPECT_EQ(modify->GetDuration().GetLevelCap(), 8);
    // Without a tier the effects read as tier 0.
    auto untiered = ReadSpell(SpellText("<bonus> 3 </bonus>", "0", "<effect> modify levelrounds 2 attack </effect>"));
    EXPECT_EQ(std::static_pointer_cast<CSpellEffectModify>(untiered->GetEffects()[0])->GetDuration().GetLevelCap(), 0);

    const CSpellEffectTeleport* teleport = nullptr;
    EXPECT_TRUE(spell->FindTeleportEffect(&teleport));
    ASSERT_NE(teleport, nullptr);
    EXPECT_TRUE(teleport->GetParty());
    EXPECT_TRUE(spell->FindTeleportEffect());
    EXPECT_FALSE(untiered->FindTeleportEffect());
}

TEST(Spell, FlagWordsAndTargeting) {
    EXPECT_EQ(ParseSpellFlag("touch"), 1u);
    EXPECT_EQ(ParseSpellFlag("noresist"), 512u);
    EXPECT_EQ(ParseSpellFlag("tiletarget"), 0u);
    EXPECT_EQ(ParseSpellFlag("Power"), 0u);

    auto flags = ReadSpell(SpellText("<tier> 1 </tier>", "0", "touch potion wand nomanual noresist"));
    EXPECT_EQ(flags->GetFlags(), 1u | 64u | 128u | 256u | 512u);
    EXPECT_TRUE(flags->HasFlag(SPELL_WAND | SPELL_POWER));
    EXPECT_FALSE(flags->HasFlag(SPELL_POWER));
    EXPECT_EQ(flags->GetTargetType(), SPELL_TARGET_ACTOR);

    auto multiAfterSelf = ReadSpell(SpellText("<tier> 1 </tier>", "0", "selftarget multitarget"));
    EXPECT_EQ(multiAfterSelf->GetTargetType(), SPELL_TARGET_ACTOR);
    EXPECT_TRUE(multiAfterSelf->HasFlag(SPELL_MULTITARGET));
    auto selfAfterMulti = ReadSpell(SpellText("<tier> 1 </tier>", "0", "multitarget selftarget"));
    EXPECT_EQ(selfAfterMulti->GetTargetType(), SPELL_TARGET_SELF);
    EXPECT_FALSE(selfAfterMulti->HasFlag(SPELL_MULTITARGET));
    auto tileAfterMulti = ReadSpell(SpellText("<tier> 1 </tier>", "0", "multitarget tiletarget"));
    EXPECT_EQ(tileAfterMulti->GetTargetType(), SPELL_TARGET_TILE);
    EXPECT_FALSE(tileAfterMulti->HasFlag(SPELL_MULTITARGET));
    auto summon = ReadSpell(SpellText("<tier> 1 </tier>", "0", "selftarget summontarget"));
    EXPECT_EQ(summon->GetTargetType(), SPELL_TARGET_ACTOR);

    EXPECT_EQ(SpellError(SpellText("<tier> 1 </tier>", "0", "quick")), DRAV_ERR_BAD_DATA);
    EXPECT_EQ(SpellError(SpellText("<tier> 1 </tier>", "0", "0")), DRAV_ERR_BAD_DATA);
    EXPECT_EQ(SpellError(SpellText("<tier> 1 </tier>", "0", "<aura> 1 </aura>")), DRAV_ERR_BAD_DATA);
}

TEST(Spell, RangeWords) {
    EXPECT_DOUBLE_EQ(ReadSpell(SpellText("<tier> 1 </tier>", "0", "", "0", "0"))->GetRange(), 10.0);
    EXPECT_DOUBLE_EQ(ReadSpell(SpellText("<tier> 1 </tier>", "0", "", "0", "short"))->GetRange(), 25.0);
    EXPECT_DOUBLE_EQ(ReadSpell(SpellText("<tier> 1 </tier>", "0", "", "0", "long"))->GetRange(), 75.0);
    RulesTest::ExpectThrowsCode([] { ReadSpell(SpellText("<tier> 1 </tier>", "0", "", "0", "medium")); },
                                DRAV_ERR_BAD_DATA, "medium");
}

TEST(Spell, SchoolsRacesAndPowerRequirements) {
    EXPECT_EQ(SpellError(SpellText("<tier> 1 </tier>", "0", "", "witchcraft")), DRAV_ERR_OUT_OF_RANGE);
    EXPECT_EQ(SpellError("<spell> s \"S\" 1 \"d\" 0 <tier> 1 </tier> 0 0 0 </spell>"), DRAV_ERR_BAD_DATA);
    EXPECT_EQ(SpellError("<spell> s \"S\" 1 \"d\" 0 life_magic <tier> 1 </tier> 0"), DRAV_ERR_BAD_DATA);

    auto races = ReadSpell(SpellText("<tier> 1 </tier>", "0", "<race> civilized ghost </race> <notrace> elf </notrace>"));
    EXPECT_EQ(races->GetRaces(), (std::vector<Race>{RACE_CIVILIZED, RACE_GHOST}));
    EXPECT_EQ(races->GetExcludedRaces(), (std::vector<Race>{RACE_ELF}));
    EXPECT_EQ(SpellError(SpellText("<tier> 1 </tier>", "0", "<race> merfolk </race>")), DRAV_ERR_OUT_OF_RANGE);
    EXPECT_EQ(SpellError(SpellText("<tier> 1 </tier>", "0", "<notrace> 0 </notrace>")), DRAV_ERR_OUT_OF_RANGE);

    auto reqs = ReadSpell(SpellText("<level> 1 </level>", "0", "<powerreqs> staff staff_mastery </powerreqs> power"));
    EXPECT_EQ(reqs->GetPowerWeaponType(), WEAPON_STAFF);
    EXPECT_EQ(reqs->GetPowerSkill(), SKILL_STAFF_MASTERY);
    auto any = ReadSpell(SpellText("<level> 1 </level>", "0", "<powerreqs> 0 0 </powerreqs> power"));
    EXPECT_EQ(any->GetPowerWeaponType(), 6);
    EXPECT_EQ(any->GetPowerSkill(), SKILL_NONE);
    EXPECT_EQ(SpellError(SpellText("<level> 1 </level>", "0", "<powerreqs> spear 0 </powerreqs>")),
              DRAV_ERR_OUT_OF_RANGE);
    EXPECT_EQ(SpellError(SpellText("<level> 1 </level>", "0", "<powerreqs> staff </powerreqs>")), DRAV_ERR_BAD_DATA);
}

TEST(Spell, CanAffect) {
    auto races = ReadSpell(SpellText("<tier> 1 </tier>", "0", "<race> civilized ghost </race> <notrace> elf </notrace>"));
    EXPECT_TRUE(races->CanAffect(false, RACE_HUMAN, NoResistance));  // through its parent race
    EXPECT_TRUE(races->CanAffect(false, RACE_GHOST, NoResistance));
    EXPECT_FALSE(races->CanAffect(false, RACE_ELF, NoResistance));
    EXPECT_FALSE(races->CanAffect(false, RACE_SKELETON, NoResistance));
    EXPECT_FALSE(races->CanAffect(false, RACE_NONE, NoResistance));

    auto excludeGroup = ReadSpell(SpellText("<tier> 1 </tier>", "0", "<notrace> undead </notrace>"));
    EXPECT_FALSE(excludeGroup->CanAffect(false, RACE_CORPSE, NoResistance));
    EXPECT_TRUE(excludeGroup->CanAffect(false, RACE_NONE, NoResistance));

    auto summoned = ReadSpell(SpellText("<tier> 1 </tier>", "0", "summontarget"));
    EXPECT_FALSE(summoned->CanAffect(false, RACE_HUMAN, NoResistance));
    EXPECT_TRUE(summoned->CanAffect(true, RACE_HUMAN, NoResistance));

    auto limited = ReadSpell(SpellText("<tier> 1 </tier>", "<save> ( charm 10 ) half </save>", ""));
    CDamageType asked;
    auto resistance = [&](std::int32_t value) {
        return [&asked, value](const CDamageType& type) {
            asked = type;
            return value;
        };
    };
    EXPECT_TRUE(limited->CanAffect(false, RACE_HUMAN, resistance(10)));
    EXPECT_EQ(asked, (CDamageType{DAMAGE_SPIRITUAL, ELEMENT_CHARM}));
    EXPECT_FALSE(limited->CanAffect(false, RACE_HUMAN, resistance(11)));
}

TEST(SpellInstance, ReadsLevelPercentAndSkills) {
    CSpellInstance plain;
    auto reader = ReaderOver("<instance> 6 150 </instance>");
    plain.Read(*reader);
    EXPECT_EQ(plain.level, 6);
    EXPECT_EQ(plain.percent, 150);
    EXPECT_FALSE(plain.hasSkills);
    EXPECT_EQ(plain.school, SKILL_NONE);

    CSpellInstance skilled;
    reader = ReaderOver("<instance> -1 50 <skills> heroic_music 0 </skills> </instance>");
    skilled.Read(*reader);
    EXPECT_EQ(skilled.level, -1);
    EXPECT_TRUE(skilled.hasSkills);
    EXPECT_EQ(skilled.school, SKILL_HEROIC_MUSIC);
    EXPECT_EQ(skilled.secondSkill, SKILL_NONE);

    for (const char* bad : {"<instance> 6 </instance>", "<instance> 6 150 <skills> heroic_music </skills> </instance>",
                            "<instance> 6 150 extra </instance>"}) {
        reader = ReaderOver(bad);
        EXPECT_EQ(QuillmereTest::ErrorCodeOf([&] { CSpellInstance().Read(*reader); }), DRAV_ERR_BAD_DATA) << bad;
    }
    reader = ReaderOver("<instance> 6 150 <skills> lute 0 </skills> </instance>");
    EXPECT_EQ(QuillmereTest::ErrorCodeOf([&] { CSpellInstance().Read(*reader); }), DRAV_ERR_OUT_OF_RANGE);
}

TEST(SpellInstance, MakeInstanceDerivesANumberedPower) {
    auto base = ReadSpell(
        "<spell> rally \"Rally\" ( 255 200 2 ) \"A cry.\" rally_glow <params> 1.0 gold </params> battle_music"
        " <level> 1 </level> <save> ( charm 7 ) half </save> arcane_magic long"
        " <effect> modify 1round ( 0 4 ) attack </effect> <effect> resist 1hour charm 5 </effect>"
        " <powerreqs> bow 0 </powerreqs> <race> human </race> power multitarget touch wand </spell>");
    CSpellInstance instance;
    instance.level = 0;
    instance.percent = 150;
    auto first = CSpell::MakeInstance(0, instance, *base);
    EXPECT_EQ(first->GetKey(), "rally1");
    EXPECT_EQ(first->GetName(), "Rally 1");
    EXPECT_EQ(first->GetDescription(), "A cry.");
    EXPECT_EQ(first->GetColour(), 0x007F6401u);  // half of 255, 200, 2
    EXPECT_EQ(first->GetSchool(), SKILL_BATTLE_MUSIC);
    EXPECT_EQ(first->GetSecondSkill(), SKILL_ARCANE_MAGIC);
    EXPECT_EQ(first->GetLevel(), 0);
    EXPECT_EQ(first->GetTier(), -1);
    EXPECT_EQ(first->GetBonus(), -1);
    EXPECT_TRUE(first->GetRaces().empty());
    EXPECT_EQ(first->GetPowerWeaponType(), WEAPON_BOW);
    EXPECT_EQ(first->GetVisualName(), "rally_glow");
    ASSERT_NE(first->GetVisualParams(), nullptr);
    EXPECT_DOUBLE_EQ(first->GetVisualParams()->GetScale(), 0.75);
    EXPECT_EQ(first->GetVisualParams()->GetWords(), std::vector<std::string>{"gold"});
    EXPECT_DOUBLE_EQ(first->GetRange(), 75.0);
    EXPECT_EQ(first->GetSaveLimit(), 7);
    EXPECT_EQ(first->GetSaveOutcome().percent, 50);
    EXPECT_EQ(first->GetFlags(), static_cast<std::uint32_t>(SPELL_POWER | SPELL_MULTITARGET));
    EXPECT_EQ(first->GetTargetType(), SPELL_TARGET_ACTOR);
    EXPECT_FALSE(first->IsHostile());

    ASSERT_EQ(first->GetEffects().size(), 2u);
    auto modify = std::dynamic_pointer_cast<CSpellEffectModify>(first->GetEffects()[0]);
    ASSERT_NE(modify, nullptr);
    EXPECT_TRUE(modify->GetDuration().IsNone());
    EXPECT_EQ(modify->GetMagnitude().GetValue(9), 6);  // 150 percent of 4
    EXPECT_EQ(modify->GetMask(), ModifierBit(MOD_ATTACK));
    auto resist = std::dynamic_pointer_cast<CSpellEffectResist>(first->GetEffects()[1]);
    ASSERT_NE(resist, nullptr);
    EXPECT_EQ(resist->GetDurationRecord(),
              std::static_pointer_cast<CSpellEffectResist>(base->GetEffects()[1])->GetDurationRecord());

    instance.level = 20;
    instance.hasSkills = true;
    instance.school = SKILL_HEROIC_MUSIC;
    instance.secondSkill = SKILL_NONE;
    auto third = CSpell::MakeInstance(2, instance, *base);
    EXPECT_EQ(third->GetKey(), "rally3");
    EXPECT_EQ(third->GetColour(), base->GetColour());
    EXPECT_EQ(third->GetSchool(), SKILL_HEROIC_MUSIC);
    EXPECT_EQ(third->GetSecondSkill(), SKILL_NONE);
    EXPECT_DOUBLE_EQ(third->GetVisualParams()->GetScale(), 1.4);
}

TEST(SpellInstance, VisualScaleBandsAndSingleTarget) {
    auto base = ReadSpell(
        "<spell> b \"B\" 255 \"d\" glow <params> 2.0 </params> 0 <level> 1 </level> 0 0 0 power selftarget </spell>");
    struct Band {
        std::int32_t level;
        double scale;
    };
    for (Band band : {Band{1, 0.75}, Band{2, 0.85}, Band{5, 0.85}, Band{6, 1.0}, Band{10, 1.0}, Band{11, 1.2},
                      Band{15, 1.2}, Band{16, 1.4}}) {
        CSpellInstance instance;
        instance.level = band.level;
        EXPECT_DOUBLE_EQ(CSpell::MakeInstance(0, instance, *base)->GetVisualParams()->GetScale(), band.scale)
            << band.level;
    }
    auto single = CSpell::MakeInstance(0, CSpellInstance{}, *base);
    EXPECT_EQ(single->GetTargetType(), SPELL_TARGET_SELF);
    EXPECT_EQ(single->GetFlags(), static_cast<std::uint32_t>(SPELL_POWER));
}

TEST(SpellInstance, ColourOfLevelsFarOutsideTheGamesRange) {
    auto base = ReadSpell("<spell> b \"B\" ( 255 200 2 ) \"d\" 0 0 <level> 1 </level> 0 0 0 power </spell>");
    const auto colourAt = [&](std::int32_t level) {
        CSpellInstance instance;
        instance.level = level;
        return CSpell::MakeInstance(0, instance, *base)->GetColour();
    };
    // Each channel keeps the low 8 bits of channel x (level + 20) x 256 / 40 / 256.
    EXPECT_EQ(colourAt(std::numeric_limits<std::int32_t>::max()), 0x00785E67u);
    // Below level -20 there is nothing left to darken.
    EXPECT_EQ(colourAt(-21), 0u);
    EXPECT_EQ(colourAt(std::numeric_limits<std::int32_t>::min()), 0u);
}

TEST(SpellInstance, OnlyModifyAndResistCarryOver) {
    auto base = ReadSpell(SpellText("<level> 1 </level>", "0", "<effect> damage 4 </effect> power"));
    RulesTest::ExpectThrowsCode([&] { CSpell::MakeInstance(0, CSpellInstance{}, *base); }, DRAV_ERR_BAD_DATA,
                                "damage");
}

TEST(SneakPower, IsAFreeSelfPower) {
    auto sneak = MakeSneakPower();
    EXPECT_EQ(sneak->GetKey(), "s_power-sneak");
    EXPECT_EQ(sneak->GetName(), "Sneak");
    EXPECT_EQ(sneak->GetSchool(), SKILL_SNEAK);
    EXPECT_EQ(sneak->GetSecondSkill(), SKILL_SNEAK);
    EXPECT_EQ(sneak->GetSaveDamageType(), (CDamageType{DAMAGE_POWER, ELEMENT_NONE}));
    EXPECT_EQ(sneak->GetLevel(), 0);
    EXPECT_EQ(sneak->GetEnergyCost(), 0);
    EXPECT_DOUBLE_EQ(sneak->GetRange(), 10.0);
    EXPECT_EQ(sneak->GetFlags(), static_cast<std::uint32_t>(SPELL_POWER));
    EXPECT_EQ(sneak->GetTargetType(), SPELL_TARGET_SELF);
    EXPECT_TRUE(sneak->GetEffects().empty());
    EXPECT_FALSE(sneak->IsHostile());
}

TEST(SpellList, WritesKeysAndReadsEachSpellOnce) {
    SpellMap spells;
    spells.emplace("mend", std::make_shared<CSpell>("mend"));
    spells.emplace("lash", std::make_shared<CSpell>("lash"));
    SpellList list{FindSpell(spells, "lash"), FindSpell(spells, "mend")};

    std::string text = RulesTest::WrittenText([&](auto& writer) { WriteSpellList(list, writer); });
    EXPECT_EQ(text, "<spells>\n lash\n mend\n</spells>\n");

    SpellList read;
    auto reader = ReaderOver("<spells> mend lash mend </spells>");
    ReadSpellList(read, *reader, spells);
    EXPECT_EQ(read, (SpellList{FindSpell(spells, "mend"), FindSpell(spells, "lash")}));

    // Reading adds to what is there, still once each.
    reader = ReaderOver(text);
    ReadSpellList(read, *reader, spells);
    EXPECT_EQ(read.size(), 2u);
}

TEST(SpellList, UnknownKeyIsRefusedWithoutTouchingTheMap) {
    SpellMap spells;
    spells.emplace("mend", std::make_shared<CSpell>("mend"));
    SpellList read;
    auto reader = ReaderOver("<spells> mend drown </spells>");
    RulesTest::ExpectThrowsCode([&] { ReadSpellList(read, *reader, spells); }, DRAV_ERR_BAD_DATA, "drown");
    EXPECT_EQ(spells.size(), 1u);
    EXPECT_EQ(FindSpell(spells, "drown"), nullptr);
    EXPECT_EQ(spells.count("drown"), 0u);
    RulesTest::ExpectThrowsCode([&] { GetSpell(spells, "drown"); }, DRAV_ERR_BAD_DATA, "drown");
}
