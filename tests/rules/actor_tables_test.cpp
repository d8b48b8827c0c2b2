#include <gtest/gtest.h>

#include <limits>

#include "rules/vocabulary/actor_class.h"
#include "rules/vocabulary/animation_direction.h"
#include "rules/vocabulary/difficulty.h"
#include "rules/vocabulary/gender_race.h"
#include "rules/vocabulary/skills.h"
#include "rules/vocabulary/special_stat.h"
#include "rules_test_util.h"

using namespace DRAV;
using RulesTest::ExpectThrowsCode;

TEST(RaceTable, GroupsHaveNoParentAndEveryRaceBelongsToAGroup) {
    constexpr int kGroupCount = 5;
    for (int v = 0; v < kRaceCount; ++v) {
        Race parent = GetRaceParent(static_cast<Race>(v));
        if (v < kGroupCount) EXPECT_EQ(parent, RACE_NONE) << v;
        else EXPECT_TRUE(parent >= 0 && parent < kGroupCount) << v;
    }
    EXPECT_EQ(ParseRace("elf"), RACE_ELF);
    EXPECT_EQ(GetRaceParent(ParseRace("elf")), RACE_CIVILIZED);
    EXPECT_EQ(GetRaceParent(ParseRace("construct")), RACE_MAGIC);
    ExpectThrowsCode([] { ParseRace("Elf"); }, DRAV_ERR_OUT_OF_RANGE, "Elf");
}

TEST(ClassTable, KeysDifferFromDisplayNamesForRogueAndMonster) {
    EXPECT_EQ(GetClassName(ParseClass("rogue")), "Adventurer");
    EXPECT_EQ(GetClassName(ParseClass("monster")), "Common");
    EXPECT_EQ(GetClassInfo(CLASS_MONSTER).freeSkill, SKILL_NONE);
    // Each playable class's free skill is a learnable rogue saving-throw skill.
    for (int v = 0; v < kClassCount - 1; ++v) {
        const SkillInfo& free = GetSkillInfo(GetClassInfo(static_cast<ActorClass>(v)).freeSkill);
        EXPECT_EQ(free.skillClass, CLASS_ROGUE);
        EXPECT_EQ(free.level, 0);
    }
}

TEST(ClassTable, MinimumLevelForTier) {
    EXPECT_EQ(GetMinLevelForTier(CLASS_SPELLCASTER, 1), 1);
    EXPECT_EQ(GetMinLevelForTier(CLASS_ROGUE, 1), 2);
    EXPECT_EQ(GetMinLevelForTier(CLASS_FIGHTER, 1), 2);
    EXPECT_EQ(GetMinLevelForTier(CLASS_SPELLCASTER, 3), 5);
    EXPECT_EQ(GetMinLevelForTier(CLASS_ROGUE, 3), 7);
    EXPECT_EQ(GetMinLevelForTier(CLASS_FIGHTER, 3), 10);
    EXPECT_EQ(GetMinLevelForTier(CLASS_ROGUE, 2), 4);
    EXPECT_EQ(GetMinLevelForTier(CLASS_MONSTER, 2), 3);
    EXPECT_EQ(GetMinLevelForTier(CLASS_FIGHTER, 0), 0);
    EXPECT_EQ(GetMinLevelForTier(CLASS_ROGUE, 0), 0);
    EXPECT_EQ(GetMinLevelForTier(CLASS_SPELLCASTER, -3), 0);
    // Tiers far outside the game's range saturate instead of wrapping.
    constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max();
    constexpr std::int32_t kMin = std::numeric_limits<std::int32_t>::min();
    for (ActorClass actorClass : {CLASS_FIGHTER, CLASS_ROGUE, CLASS_SPELLCASTER, CLASS_MONSTER}) {
        EXPECT_EQ(GetMinLevelForTier(actorClass, kMax), kMax) << actorClass;
        EXPECT_EQ(GetMinLevelForTier(actorClass, kMin), 0) << actorClass;
    }
    EXPECT_EQ(GetMinLevelForTier(CLASS_ROGUE, 805306368), kMax);  // 8 x tier just past 31 bits
    ExpectThrowsCode([] { GetMinLevelForTier(static_cast<ActorClass>(4), 1); }, DRAV_ERR_OUT_OF_RANGE, "4");
    ExpectThrowsCode([] { GetMinLevelForTier(static_cast<ActorClass>(-1), 1); }, DRAV_ERR_OUT_OF_RANGE, "-1");
}

TEST(ClassTable, SkillPicksOverLevels) {
    struct Case {
        ActorClass actorClass;
        std::int32_t levels, classPicks, generalPicks;
    };
    // Over all twenty levels: 2 + 7 class picks, 1 + 6 general picks, 3 + 19 rogue picks.
    const Case cases[] = {
        {CLASS_FIGHTER, 4, 3, 2},     {CLASS_ROGUE, 4, 6, 0},   {CLASS_SPELLCASTER, 0, 0, 0},
        {CLASS_SPELLCASTER, 1, 2, 1}, {CLASS_MONSTER, 20, 9, 7}, {CLASS_ROGUE, 20, 22, 0},
    };
    for (const Case& c : cases) {
        std::int32_t classPicks = -1, generalPicks = -1;
        GetSkillPicksForLevels(c.actorClass, c.levels, classPicks, generalPicks);
        EXPECT_EQ(classPicks, c.classPicks) << c.actorClass << " over " << c.levels;
        EXPECT_EQ(generalPicks, c.generalPicks) << c.actorClass << " over " << c.levels;
    }
}

TEST(ClassTable, SkillPicksBeyondTheTableSumTheWholeTable) {
    std::int32_t classPicks = 0, generalPicks = 0, allClass = 0, allGeneral = 0;
    GetSkillPicksForLevels(CLASS_FIGHTER, 20, allClass, allGeneral);
    GetSkillPicksForLevels(CLASS_FIGHTER, 25, classPicks, generalPicks);
    EXPECT_EQ(classPicks, allClass);
    EXPECT_EQ(generalPicks, allGeneral);
    GetSkillPicksForLevels(CLASS_FIGHTER, -3, classPicks, generalPicks);
    EXPECT_EQ(classPicks, 0);
    EXPECT_EQ(generalPicks, 0);
}

TEST(SpecialStatTable, UnknownWordMessageAndSkills) {
    ExpectThrowsCode([] { ParseSpecialStat("sneak"); }, DRAV_ERR_OUT_OF_RANGE, "No Special Stat: sneak");
    try {
        ParseSpecialStat("lockpicking");
    } catch (const CDRAVException& error) {
        EXPECT_EQ(error.GetMessage(), "No Special Stat: lockpicking");
    }
    EXPECT_TRUE(IsSpecialStatKey("stealth"));
    EXPECT_FALSE(IsSpecialStatKey("sneak"));
    // The stealth statistic rests on the skill keyed "sneak"; each statistic's skill is a rogue skill.
    EXPECT_EQ(GetSkillKey(GetSpecialStatSkill(SPECIAL_STEALTH)), "sneak");
    for (int v = 0; v < kSpecialStatCount; ++v)
        EXPECT_EQ(GetSkillInfo(GetSpecialStatSkill(static_cast<SpecialStat>(v))).skillClass, CLASS_ROGUE);
}

TEST(DirectionTable, OnlyExactKeysAndLettersMatch) {
    EXPECT_EQ(ParseDirection("n"), DIR_NORTH);
    EXPECT_EQ(ParseDirection("north"), DIR_NORTH);
    EXPECT_EQ(ParseDirection("w"), DIR_WEST);
    EXPECT_EQ(ParseDirection("North"), DIR_NONE);
    EXPECT_EQ(ParseDirection("N"), DIR_NONE);
    EXPECT_EQ(ParseDirection(""), DIR_NONE);
    ExpectThrowsCode([] { GetDirectionKey(DIR_NONE); }, DRAV_ERR_OUT_OF_RANGE, "4");
}

TEST(DifficultyTable, EasierLevelsScaleDamageDownAndSavesUp) {
    EXPECT_EQ(GetDifficultyDamagePercent(DIFFICULTY_CORE), 100);
    EXPECT_EQ(GetDifficultySaveBonus(DIFFICULTY_CORE), 0);
    for (int v = 1; v < kDifficultyCount; ++v) {
        auto easier = static_cast<Difficulty>(v), harder = static_cast<Difficulty>(v - 1);
        EXPECT_LT(GetDifficultyDamagePercent(easier), GetDifficultyDamagePercent(harder));
        EXPECT_GT(GetDifficultySaveBonus(easier), GetDifficultySaveBonus(harder));
        // The description opens with the display name and states the numbers.
        const std::string description = GetDifficultyDescription(easier);
        EXPECT_EQ(description.rfind(GetDifficultyName(easier) + ":", 0), 0u);
        EXPECT_NE(description.find(std::to_string(GetDifficultyDamagePercent(easier)) + "%"), std::string::npos);
        EXPECT_NE(description.find("+" + std::to_string(GetDifficultySaveBonus(easier))), std::string::npos);
    }
    ExpectThrowsCode([] { ParseDifficulty("hard"); }, DRAV_ERR_BAD_DATA, "hard");
}

TEST(GenderTable, LettersAreSingleCharacters) {
    for (int v = 0; v < kGenderCount; ++v) EXPECT_EQ(GetGenderLetter(static_cast<Gender>(v)).size(), 1u);
    EXPECT_EQ(GetGenderName(GENDER_FEMALE), "Female");
}
