#include <gtest/gtest.h>

#include <limits>
#include <map>

#include "common/random.h"
#include "rules/kinds/formulas.h"
#include "rules/kinds/number_texts.h"
#include "rules_test_util.h"

using namespace DRAV;
using RulesTest::ExpectThrowsCode;

namespace {

template <typename Function>
void ExpectCurve(Function function, const std::map<std::int32_t, std::int64_t>& points) {
    for (const auto& [argument, value] : points) EXPECT_EQ(function(argument), value) << "at " << argument;
}

}  // namespace

TEST(Curves, ExperienceAndEncounterValues) {
    ExpectCurve(GetEncounterLevelValue, {{0, 50}, {1, 68}, {2, 95}, {3, 131}, {4, 181}, {5, 250}, {6, 396},
                                         {10, 2500}, {15, 25000}, {20, 250000}});
    ExpectCurve(GetXpThreshold, {{-1, 0}, {0, 1000}, {1, 1584}, {2, 2511}, {3, 3981}, {4, 6309}, {5, 10000},
                                 {10, 100000}, {20, 10000000}});
}

TEST(Curves, EnergyCostByTier) {
    const std::int32_t costs[] = {2, 3, 5, 8, 12, 20, 32, 48, 80, 128, 192, 320};
    for (int tier = 0; tier < 12; ++tier) EXPECT_EQ(GetEnergyCostForTier(tier), costs[tier]) << tier;
    EXPECT_EQ(GetEnergyCostForTier(-4), 2);
}

TEST(Curves, CarryCapacityAndStartingGold) {
    ExpectCurve(GetCarryCapacity, {{0, 25}, {5, 50}, {10, 100}, {15, 200}, {20, 400}});
    ExpectCurve(GetStartingGold, {{-2, 0}, {0, 0}, {1, 0}, {2, 1000}, {3, 3000}, {4, 6000}, {5, 10000}, {6, 14500},
                                  {7, 21025}, {10, 64097}, {11, 83326}, {15, 237987}});
}

TEST(Curves, SpellItemValues) {
    const std::int32_t base[] = {25, 50, 400, 800, 1600, 2262, 3200, 4525, 6400, 9050};
    for (int tier = 0; tier < 10; ++tier) {
        EXPECT_EQ(GetSpellItemValue(tier, ITEM_POTION), base[tier]) << tier;
        EXPECT_EQ(GetSpellItemValue(tier, ITEM_SCROLL), base[tier] / 2) << tier;
        EXPECT_EQ(GetSpellItemValue(tier, ITEM_WAND), base[tier] * 15) << tier;
    }
    ExpectThrowsCode([] { GetSpellItemValue(1, ITEM_RING); }, DRAV_ERR_OUT_OF_RANGE, "5");
}

// A spell file may give any tier; far beyond the game's tiers the curves stop at the
// largest value instead of overflowing.
TEST(Curves, SaturateForTiersAndLevelsOutOfRange) {
    constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max();
    constexpr std::int32_t kMin = std::numeric_limits<std::int32_t>::min();
    EXPECT_EQ(GetEnergyCostForTier(44), 5 << 28);
    EXPECT_EQ(GetEnergyCostForTier(45), kMax);
    EXPECT_EQ(GetEnergyCostForTier(1000), kMax);
    EXPECT_EQ(GetEnergyCostForTier(kMax), kMax);
    EXPECT_EQ(GetEnergyCostForTier(kMin), 2);
    EXPECT_EQ(GetSpellItemValue(100, ITEM_POTION), kMax);
    EXPECT_EQ(GetSpellItemValue(40, ITEM_WAND), kMax);
    EXPECT_EQ(GetSpellItemValue(kMax, ITEM_SCROLL), kMax / 2);
    EXPECT_LT(GetSpellItemValue(kMin, ITEM_WAND), 0);
    EXPECT_EQ(GetXpThreshold(500), std::numeric_limits<std::uint32_t>::max());
    EXPECT_EQ(GetEncounterLevelValue(500), kMax);
    EXPECT_EQ(GetCarryCapacity(kMax), kMax);
}

TEST(Curves, MonthNames) {
    EXPECT_EQ(GetMonthName(0), "January");
    EXPECT_EQ(GetMonthName(11), "December");
    ExpectThrowsCode([] { GetMonthName(12); }, DRAV_ERR_OUT_OF_RANGE, "12");
}

TEST(PercentileCheck, AutomaticFailureAndSuccessBeatAnyBonus) {
    for (int roll = 1; roll <= 5; ++roll) EXPECT_FALSE(PercentileSuccess(roll, 1000, 0)) << roll;
    for (int roll = 96; roll <= 100; ++roll) EXPECT_TRUE(PercentileSuccess(roll, -1000, 500)) << roll;
    for (int roll = 6; roll <= 95; ++roll) {
        EXPECT_FALSE(PercentileSuccess(roll, 10, roll + 10)) << "equal fails at " << roll;
        EXPECT_TRUE(PercentileSuccess(roll, 10, roll + 9)) << roll;
    }
    EXPECT_FALSE(PercentileSuccess(50, 10, 60));
}

TEST(PercentileCheck, UsesOneRollOfTheGlobalEngine) {
    for (std::uint32_t seed : {1u, 5489u, 77u, 123456u}) {
        DRAVCommon::GetRandomEngine().seed(seed);
        const std::int32_t expected = DRAVCommon::RollDie(100);
        DRAVCommon::GetRandomEngine().seed(seed);
        std::int32_t roll = 0;
        const bool success = PercentileCheck(5, 60, &roll);
        EXPECT_EQ(roll, expected) << seed;
        EXPECT_EQ(success, PercentileSuccess(expected, 5, 60)) << seed;
        // The next draw follows on from exactly one roll.
        const std::int32_t following = DRAVCommon::RollDie(100);
        DRAVCommon::GetRandomEngine().seed(seed);
        DRAVCommon::RollDie(100);
        EXPECT_EQ(DRAVCommon::RollDie(100), following);
    }
}

TEST(PercentileCheck, RollsStayWithinOneToHundred) {
    DRAVCommon::GetRandomEngine().seed(99);
    int successes = 0;
    for (int i = 0; i < 2000; ++i) {
        std::int32_t roll = 0;
        successes += PercentileCheck(0, 50, &roll);
        ASSERT_TRUE(roll >= 1 && roll <= 100) << roll;
    }
    EXPECT_GT(successes, 0);
    EXPECT_LT(successes, 2000);
}

TEST(NumberTexts, RollTexts) {
    EXPECT_EQ(FormatNamedRollText("Locks", 57, -10, 60), "[Locks 57 - 10 vs 60]");
    EXPECT_EQ(FormatRollText(30, 0, 45), "[30 + 0 vs 45]");
    EXPECT_EQ(FormatRollText(30, -5, 45), "[30 - 5 vs 45]");
    EXPECT_EQ(FormatRollText(30, 12, -4), "[30 + 12 vs -4]");
    EXPECT_EQ(FormatRollText(1, INT32_MIN, 0), "[1 - 2147483648 vs 0]");
}

TEST(NumberTexts, SignedValuesAndDamageRanges) {
    EXPECT_EQ(FormatSignedValue(5), "+5");
    EXPECT_EQ(FormatSignedValue(0), "0");
    EXPECT_EQ(FormatSignedValue(-3), "-3");
    EXPECT_EQ(FormatDamageRange(0, 3), "3");
    EXPECT_EQ(FormatDamageRange(0, -2), "-2");
    EXPECT_EQ(FormatDamageRange(8, 0), "(1 to 8)");
    EXPECT_EQ(FormatDamageRange(6, -2), "(1 to 6) - 2");
    EXPECT_EQ(FormatDamageRange(10, 1), "(1 to 10) + 1");
    EXPECT_EQ(FormatDamageRange(-4, 2), "- (1 to 4) + 2");
}

TEST(NumberTexts, Durations) {
    EXPECT_EQ(FormatDuration(0), "0 sec");
    EXPECT_EQ(FormatDuration(59 * 30 + 29), "59 sec");
    EXPECT_EQ(FormatDuration(1800), "1 min");
    EXPECT_EQ(FormatDuration(3599 * 30), "59 min");
    EXPECT_EQ(FormatDuration(108000), "1 hr");
    EXPECT_EQ(FormatDuration(7199 * 30), "1 hr");
    EXPECT_EQ(FormatDuration(UINT32_MAX), "39768 hr");
}
