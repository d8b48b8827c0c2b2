// Derived statistics of the chapter's people and monsters, one of each class, so a
// wrong number in the class, skill or weapon tables shows here.

#include <gtest/gtest.h>

#include "common/random.h"
#include "rules/kinds/formulas.h"
#include "rules/magic/spell_apply_effect.h"
#include "support/expect_drav.h"
#include "world/actor_test_support.h"

using namespace DRAV;
using WorldTest::SampleActor;
using WorldTest::SampleItem;

namespace {

struct ClassExample {
    const char* key;
    ActorClass actorClass;
    std::int32_t baseAttack;
    std::int32_t magicLevel;
    std::int32_t maxTier;
    std::int32_t maxEnergy;
    std::int32_t classPicks;
    std::int32_t generalPicks;
    std::int32_t hitDie;
};

// Worked by hand from each definition: base attack (base + 1) * 5 + level * rate / 24,
// magic level base part + class part, energy 2 * series + intelligence term.
const ClassExample kExamples[] = {
    // Ferryman: base 2, fighter 1, int 10; knows staff and toughness (two class picks).
    {"ferryman", CLASS_FIGHTER, 15 + 5, 3 + 1, 1 + 0, 12, 0, 1, 50},
    // Tansy: base 1, rogue 2, int 13 (+7); singing and diplomacy take two of four rogue picks.
    {"landing_trader", CLASS_ROGUE, 10 + 7, 2 + 3, 1 + 1, 12 + 7, 2, 0, 40},
    // Marra: a hero's base (-1), spellcaster 3, int 16 (+15), Mental Focus: n = 4, 2 * 6 + 15 * 1.
    {"reed_witch", CLASS_SPELLCASTER, 0 + 7, 0 + 7, 0 + 2, 12 + 15, 0, 1, 30},
    // Wisp: base 1, monster 0, int 8 (-5): 2 * 4 - 5; monsters never pick skills.
    {"marsh_wisp", CLASS_MONSTER, 10, 2, 1, 3, 0, 0, 0},
};

}  // namespace

TEST(ActorStats, EachClassDerivesItsRatesEnergyAndPicks) {
    for (const ClassExample& example : kExamples) {
        SCOPED_TRACE(example.key);
        auto actor = SampleActor(example.key);
        ASSERT_EQ(actor->GetClass(), example.actorClass);
        EXPECT_EQ(actor->GetBaseAttackBonus(), example.baseAttack);
        EXPECT_EQ(actor->GetMagicLevel(), example.magicLevel);
        EXPECT_EQ(actor->GetMaxSpellTier(), example.maxTier);
        EXPECT_EQ(actor->GetMaxEnergy(), example.maxEnergy);
        std::int32_t classPicks = -1, generalPicks = -1;
        actor->GetUnspentSkillPicks(classPicks, generalPicks);
        EXPECT_EQ(classPicks, example.classPicks);
        EXPECT_EQ(generalPicks, example.generalPicks);

        // Rolled hit points of one level run over the upper half of the class's hit die.
        DRAVCommon::GetRandomEngine().seed(5489);
        actor->SetLevel(1);
        std::uint32_t low = UINT32_MAX, high = 0;
        for (int roll = 0; roll < 400; ++roll) {
            actor->RollHitPoints();
            low = std::min(low, actor->GetBaseHitPoints());
            high = std::max(high, actor->GetBaseHitPoints());
        }
        EXPECT_EQ(low, static_cast<std::uint32_t>(example.hitDie == 0 ? 0 : example.hitDie / 2 + 1));
        EXPECT_EQ(high, static_cast<std::uint32_t>(example.hitDie));
        EXPECT_GE(actor->GetMaxHitPoints(), 1);
    }
}

TEST(ActorStats, AttributeBonusesTruncateAndWornModifiersCount) {
    CActor actor(0);
    for (auto [score, bonus] : {std::pair{10u, 0}, {11u, 2}, {9u, -2}, {6u, -10}}) {
        actor.SetAttribute(ATTR_AGILITY, score);
        EXPECT_EQ(actor.GetAttributeBonus(ATTR_AGILITY), bonus) << score;
    }
    // The Ring of the Current adds a point of agility: 12 becomes 13.
    auto trader = SampleActor("landing_trader");
    EXPECT_EQ(trader->GetAttributeBonus(ATTR_AGILITY), 5);
    trader->SetEquipment(SLOT_RIGHT_RING, SampleItem("ring_of_the_current"));
    EXPECT_EQ(trader->GetAttributeBonus(ATTR_AGILITY), 7);
    EXPECT_DOUBLE_EQ(trader->GetMoveSpeed(), 1 / 5.0 + 10.0);
}

TEST(ActorStats, EnergyOfTheSmallestActorAndOfTheDead) {
    CActor actor(0);
    for (int a = 0; a < kAttributeCount; ++a) actor.SetAttribute(static_cast<Attribute>(a), 10);
    actor.SetBaseLevel(0);
    EXPECT_EQ(actor.GetMaxEnergy(), 6);
    EXPECT_EQ(actor.GetEnergy(), 0);  // dead until it stands up
    actor.SetActionState(ACTION_IDLE);
    actor.SetEnergyUsed(4);
    EXPECT_EQ(actor.GetEnergy(), 2);
    actor.RestoreEnergy(10);
    EXPECT_EQ(actor.GetEnergyUsed(), 0);
}

TEST(ActorStats, LevelsAdvanceAtTheThresholdAndStopAtTwenty) {
    auto witch = SampleActor("reed_witch");
    const std::uint32_t threshold = GetXpThreshold(-1 + 3 + 2);
    witch->SetExperience(threshold - 1);
    EXPECT_FALSE(witch->AdvanceLevel());
    witch->SetExperience(threshold);
    const std::uint32_t before = witch->GetBaseHitPoints();
    ASSERT_TRUE(witch->AdvanceLevel());
    EXPECT_EQ(witch->GetLevel(), 4u);
    EXPECT_EQ(witch->GetUnspentPoints(), 1u);  // every fourth level
    EXPECT_TRUE(witch->IsSkillEdit());
    EXPECT_TRUE(witch->HasLevelPoints());
    EXPECT_GE(witch->GetBaseHitPoints() - before, 16u);
    EXPECT_LE(witch->GetBaseHitPoints() - before, 30u);

    witch->SetLevel(20);
    witch->SetExperience(UINT32_MAX);
    EXPECT_FALSE(witch->AdvanceLevel());
    EXPECT_EQ(witch->GetLevel(), 20u);
}

TEST(ActorStats, AttributePointsCostMoreAsScoresRise) {
    CActor actor(0);
    actor.ResetStats();
    actor.SetUnspentPoints(6);
    actor.IncreaseAttribute(ATTR_STRENGTH, false);  // 6 -> 7 costs 1
    EXPECT_EQ(actor.GetUnspentPoints(), 5u);
    actor.SetAttribute(ATTR_STRENGTH, 18);
    actor.SetUnspentPoints(7);
    actor.IncreaseAttribute(ATTR_STRENGTH, false);  // 18 -> 19 costs 7
    EXPECT_EQ(actor.GetUnspentPoints(), 0u);
    EXPECT_DRAV_CODE(actor.IncreaseAttribute(ATTR_STRENGTH, false), 2);
    actor.DecreaseAttribute(ATTR_STRENGTH);  // back to 18 refunds 7
    EXPECT_EQ(actor.GetUnspentPoints(), 7u);
    actor.SetAttribute(ATTR_AGILITY, 6);
    EXPECT_DRAV_CODE(actor.DecreaseAttribute(ATTR_AGILITY), 2);
}

TEST(ActorStats, SkillsNeedPicksPrerequisitesAndStayWhileOthersNeedThem) {
    auto witch = SampleActor("reed_witch");
    EXPECT_TRUE(witch->CanLearnSkill(SKILL_ENERGY_MAGIC));       // a general pick is left
    EXPECT_FALSE(witch->CanLearnSkill(SKILL_ELEMENTAL_MAGIC));   // needs Energy Magic too
    EXPECT_FALSE(witch->CanLearnSkill(SKILL_MONSTER_MAGIC));     // never learnt
    EXPECT_FALSE(witch->CanLearnSkill(SKILL_MATTER_MAGIC_MASTERY));  // level 10
    EXPECT_TRUE(witch->CanLearnSkill(SKILL_ARMORED_SPELLCASTING));   // any base school will do
    witch->AddSkill(SKILL_ENERGY_MAGIC);
    EXPECT_FALSE(witch->CanLearnSkill(SKILL_TOUGHNESS));  // no picks left

    EXPECT_FALSE(witch->CanForgetSkill(SKILL_MENTAL_FOCUS));  // only while editing
    witch->SetSkillEdit(true);
    EXPECT_TRUE(witch->CanForgetSkill(SKILL_MENTAL_FOCUS));
    EXPECT_FALSE(witch->CanForgetSkill(SKILL_MATTER_MAGIC));  // Life Magic rests on it
    EXPECT_FALSE(witch->CanForgetSkill(SKILL_TOUGHNESS));     // not known

    // Rogue skills of a rogue: base (levels) * 5 + 20, then the attribute.
    auto trader = SampleActor("landing_trader");
    EXPECT_EQ(trader->GetSkillValue(SKILL_SINGING), 20 + 20 + 12);
    EXPECT_EQ(trader->GetSpecialStat(SPECIAL_DIPLOMACY), 52);
    EXPECT_EQ(trader->GetSpecialStat(SPECIAL_LOCKS), 0);
    // A spellcaster's school skill is its magic level plus the school's attribute.
    EXPECT_EQ(witch->GetSkillValue(SKILL_MATTER_MAGIC), 7 + 15);
}

TEST(ActorStats, OnlyTheLargerOfFlankingAndSneakAttackCounts) {
    auto trader = SampleActor("landing_trader");
    trader->SetEquipment(SLOT_WEAPON, SampleItem("smugglers_knife"));
    const CAttackInfo plain = trader->GetAttackBonus(0, false, false, nullptr);
    const CAttackInfo both = trader->GetAttackBonus(0, true, true, nullptr);
    EXPECT_EQ(both.attackBonus - plain.attackBonus, 10);
    EXPECT_EQ(both.bonusB, 10);
    EXPECT_EQ(both.flags & (ATTACK_FLANKING | ATTACK_SNEAK), ATTACK_FLANKING | ATTACK_SNEAK);
    trader->AddSkill(SKILL_FLANKING);  // Improved Flank: 20 to hit and Stealth as a die
    const CAttackInfo improved = trader->GetAttackBonus(0, true, true, nullptr);
    EXPECT_EQ(improved.attackBonus - plain.attackBonus, 20);
    EXPECT_EQ(improved.dieB, 0);  // Tansy has no Stealth
}

TEST(ActorStats, ArmorWithoutItsSkillLowersAttackSpellAttackAndDamage) {
    auto trader = SampleActor("landing_trader");
    trader->SetEquipment(SLOT_WEAPON, SampleItem("smugglers_knife"));
    const CAttackInfo bare = trader->GetAttackBonus(0, false, false, nullptr);
    const std::int32_t spellAttack = trader->GetSpellAttackBonus();
    trader->SetEquipment(SLOT_ARMOR, SampleItem("chain_shirt"));
    EXPECT_EQ(trader->GetArmorPenalty(), 10);
    const CAttackInfo armored = trader->GetAttackBonus(0, false, false, nullptr);
    EXPECT_EQ(armored.attackBonus, bare.attackBonus - 10);
    EXPECT_EQ(armored.bonusA, bare.bonusA - 10);
    EXPECT_EQ(trader->GetSpellAttackBonus(), spellAttack - 10);
    trader->AddSkill(SKILL_HEAVY_ARMOR);
    EXPECT_EQ(trader->GetArmorPenalty(), 0);
}

TEST(ActorStats, AttackTooltipsReadWordForWord) {
    auto trader = SampleActor("landing_trader");
    trader->SetEquipment(SLOT_WEAPON, SampleItem("smugglers_knife"));
    trader->SetEquipment(SLOT_ARMOR, SampleItem("chain_shirt"));
    std::string tooltip;
    const CAttackInfo attack = trader->GetAttackBonus(0, false, false, &tooltip);
    EXPECT_EQ(tooltip,
              "Attack Bonus: LINE + Base Attack Bonus: +17 LINE + Non-Proficient Penalty: -20 LINE "
              "+ Smuggler's Knife Attack Bonus: +1 LINE + Armor Penalty: -10 LINE + Agility Modifier: +5 LINE "
              "* Total: -7 LINE LINE "
              "Attack Damage: LINE + Smuggler's Knife Damage: (1 to 4) LINE + Armor Penalty: -10 LINE "
              "* Total: (1 to 4) - 10 LINE LINE ");
    EXPECT_EQ(attack.name, "Tansy the Trader");
    EXPECT_EQ(attack.attackBonus, -7);
    EXPECT_EQ(attack.damageType, (CDamageType{DAMAGE_PHYSICAL, ELEMENT_SHARP}));

    // A light blade with Weapon Finesse: half the agility bonus as damage.
    trader->SetEquipment(SLOT_ARMOR, nullptr);
    trader->AddSkill(SKILL_WEAPON_FINESSE);
    trader->AddSkill(SKILL_LIGHT_BLADE);
    tooltip.clear();
    trader->GetAttackBonus(0, false, false, &tooltip);
    EXPECT_NE(tooltip.find("+ Agility Modifier: +2 (Weapon Finesse) LINE * Total: (1 to 4) + 2 LINE LINE "),
              std::string::npos)
        << tooltip;

    // Unarmed: strength, a d15 and blunt.
    tooltip.clear();
    trader->SetEquipment(SLOT_WEAPON, nullptr);
    trader->GetAttackBonus(0, false, false, &tooltip);
    EXPECT_NE(tooltip.find("+ Unarmed Damage: (1 to 15) LINE * Total: (1 to 15) (blunt) LINE LINE "), std::string::npos)
        << tooltip;
    EXPECT_DRAV_CODE(trader->GetAttackBonus(2, false, false, nullptr), 2);
}

TEST(ActorStats, AMonsterHandWithoutItsOwnAttackStrikesWithTheFirst) {
    auto wisp = SampleActor("marsh_wisp");
    ASSERT_EQ(wisp->GetAttacks().size(), 1u);
    const CAttackInfo first = wisp->GetAttackBonus(0, false, false, nullptr);
    EXPECT_EQ(first.name, "Marsh Wisp (Cold touch)");
    EXPECT_EQ(first.attackBonus, 2);
    EXPECT_EQ(first.dieA, 4);
    for (std::int32_t hand : {1, 7, -1}) {
        const CAttackInfo other = wisp->GetAttackBonus(hand, true, false, nullptr);
        EXPECT_EQ(other.name, first.name);
        EXPECT_EQ(other.attackBonus, first.attackBonus + 10);
        EXPECT_EQ(other.flags, first.flags | ATTACK_FLANKING);
    }
    EXPECT_EQ(wisp->GetAttackSpell(WorldTest::SampleWithBrains(), 1)->GetKey(), "fever_chill");
}

TEST(ActorStats, DefenseCountsArmorShieldAndTheAgilityLimit) {
    auto trader = SampleActor("landing_trader");
    EXPECT_EQ(trader->GetDefenseClass(false, nullptr), 55);
    trader->SetEquipment(SLOT_ARMOR, SampleItem("chain_shirt"));
    std::string tooltip;
    EXPECT_EQ(trader->GetDefenseClass(false, &tooltip), 58);
    EXPECT_EQ(tooltip,
              "Defense Class: LINE + Base Defense Class: 50 LINE + Chain Shirt Defense Class: +5 LINE "
              "+ Agility Bonus: +3 LINE * Total: 58 LINE LINE ");
    // Flanked: neither armor nor adjustment, but the armor still holds agility back.
    trader->SetDefenseAdjustment(4);
    EXPECT_EQ(trader->GetDefenseClass(true, nullptr), 53);
    trader->SetEquipment(SLOT_OFFHAND, SampleItem("ferry_buckler"));
    trader->AddSkill(SKILL_SHIELD_FOCUS);
    tooltip.clear();
    EXPECT_EQ(trader->GetDefenseClass(false, &tooltip), 54 + 5 + 1 + 10 + 3);
    EXPECT_NE(tooltip.find("+ Ferry Buckler Defense Class: +1 LINE + Shield Focus: +10 LINE "), std::string::npos);
}

TEST(ActorStats, ResistancesAndTheirTexts) {
    auto trader = SampleActor("landing_trader");
    std::string tooltip;
    const CDamageType energetic{DAMAGE_ENERGETIC, ELEMENT_NONE};
    EXPECT_EQ(trader->GetCategoryResistance(energetic, &tooltip), 3 + 5);
    EXPECT_EQ(tooltip, "Energetic: LINE Base Energetic: 3 LINE Agility: 5 LINE * Total: 8 LINE LINE ");
    trader->SetCategoryResistance(energetic, 20);
    EXPECT_EQ(trader->GetCategoryResistance(energetic, nullptr), 20);
    EXPECT_DRAV_CODE(trader->GetCategoryResistance(CDamageType{DAMAGE_PHYSICAL, ELEMENT_NONE}, nullptr), 2);

    auto warding = std::make_shared<CSpellApply>("Warding", CDamageType{}, 0, 0, false, false);
    warding->GetParts().push_back(std::make_shared<CSpellApplyEffectResist>(0, energetic, 20));
    warding->GetParts().push_back(
        std::make_shared<CSpellApplyEffectResist>(0, CDamageType{DAMAGE_PHYSICAL, ELEMENT_NONE}, 25));
    warding->GetParts().push_back(
        std::make_shared<CSpellApplyEffectResist>(0, CDamageType{DAMAGE_MATERIAL, ELEMENT_POISON}, -5));
    trader->AppendEffects({warding});
    trader->AddSkill(SKILL_RESOLVE);  // spiritual resistance 5 from the skill alone
    std::string text;
    trader->GetResistanceText(text);
    EXPECT_EQ(text,
              "Energetic: Immune LINE Spiritual: Resist +5 LINE Physical: Resist +25 LINE "
              "Poison: Vulnerable +5 LINE ");
}

TEST(ActorStats, SneakingHidesFromTheOtherSideAndSlowsTheStep) {
    CGame game;
    auto smuggler = SampleActor("reed_smuggler", &game);
    auto ferryman = SampleActor("ferryman", &game);
    smuggler->SetRelation(RELATION_HOSTILE);
    ferryman->SetRelation(RELATION_FRIENDLY);
    smuggler->SetPosition(0.0, 0.0);
    ferryman->SetPosition(30.0, 40.0);  // 50 apart: no closeness bonus
    const double step = smuggler->GetMoveSpeed();
    bool renewed = false;
    smuggler->ActivatePower(WorldTest::Spell("s_power-sneak"), 0, renewed);
    EXPECT_EQ(smuggler->GetEnergyUsed(), 0);  // sneaking is free
    EXPECT_DOUBLE_EQ(smuggler->GetMoveSpeed(), step * 2.0 / 3.0);
    EXPECT_FALSE(ferryman->CanSee(*smuggler));
    EXPECT_TRUE(smuggler->CanSee(*ferryman));
    EXPECT_TRUE(SampleActor("smuggler_lookout")->CanSee(*smuggler));  // neither is on the party's side

    // Stealth: rogue base (1 + 1 + 2) * 5 + 20, personality 9 gives -2.
    std::int32_t spotted = -1;
    EXPECT_EQ(smuggler->GetSpecialStat(SPECIAL_STEALTH), 38);
    EXPECT_FALSE(smuggler->IsSpottedBy(*ferryman, &spotted));
    EXPECT_EQ(spotted, 0);  // the ferryman has no Observation
    ferryman->AddSkill(SKILL_OBSERVATION);  // (2 + 1 + 1) * 5, intelligence 10
    ferryman->SetPosition(6.0, 8.0);         // 10 apart: +20
    EXPECT_TRUE(smuggler->IsSpottedBy(*ferryman, &spotted));
    EXPECT_EQ(spotted, 20 + 20);
    ferryman->SetPosition(120.0, 0.0);
    EXPECT_FALSE(smuggler->IsSpottedBy(*ferryman, &spotted));
}

TEST(ActorStats, AttackSpeedFromStyleAndTheTimeOfAnAttack) {
    auto ferryman = SampleActor("ferryman");
    ferryman->SetEquipment(SLOT_WEAPON, SampleItem("ferrymans_pole"));
    ferryman->SetBaseActionSpeed(0);
    double extra = -1.0;
    EXPECT_EQ(ferryman->GetActionSpeed(ACTIONKIND_ATTACK, &extra), 0);
    EXPECT_DOUBLE_EQ(extra, 0.0);
    EXPECT_DOUBLE_EQ(ferryman->GetAttackTime(ACTIONKIND_ATTACK, nullptr, nullptr), 4.0 + 2.5);
    ferryman->AddSkill(SKILL_STAFF_MASTERY);  // + base attack 20 / 5
    ferryman->SetBaseActionSpeed(21);
    std::int32_t speed = 0;
    EXPECT_DOUBLE_EQ(ferryman->GetAttackTime(ACTIONKIND_ATTACK, &speed, &extra), 0.5 + 2.5);
    EXPECT_EQ(speed, 25);
    EXPECT_DOUBLE_EQ(extra, 0.5);
    EXPECT_EQ(ferryman->GetActionSpeed(ACTIONKIND_CAST, nullptr), 21);
}
