#include <gtest/gtest.h>

#include <array>
#include <cmath>

#include "common/random.h"

using namespace DRAVCommon;

TEST(Random, StaysInTheUnitIntervalAndTakesTwoDraws) {
    GetRandomEngine().seed(1234);
    for (int i = 0; i < 1000; ++i) {
        std::mt19937 copy = GetRandomEngine();
        std::uint64_t low = copy();
        std::uint64_t high = copy();
        double value = Random();
        // The first draw is the low word of the 64 bits.
        EXPECT_DOUBLE_EQ(value, static_cast<double>(low + (high << 32)) / 18446744073709551616.0);
        EXPECT_GE(value, 0.0);
        EXPECT_LT(value, 1.0);
        EXPECT_EQ(copy, GetRandomEngine());
    }
}

TEST(Random, RollDieZeroDrawsNothing) {
    GetRandomEngine().seed(99);
    std::mt19937 before = GetRandomEngine();
    EXPECT_EQ(RollDie(0), 0);
    EXPECT_EQ(before, GetRandomEngine());
    EXPECT_EQ(RollDie(1), 1);
    EXPECT_EQ(RollDie(-1), -1);
    EXPECT_NE(before, GetRandomEngine());
}

TEST(Random, RollDieIsUniformOverItsRange) {
    GetRandomEngine().seed(42);
    constexpr int kRolls = 60000;
    std::array<int, 6> positive{}, negative{};
    for (int i = 0; i < kRolls; ++i) {
        int up = RollDie(6);
        ASSERT_GE(up, 1);
        ASSERT_LE(up, 6);
        ++positive[up - 1];
        int down = RollDie(-6);
        ASSERT_GE(down, -6);
        ASSERT_LE(down, -1);
        ++negative[-down - 1];
    }
    // Chi-square with 5 degrees of freedom; 20.5 is the 0.1% critical value.
    auto chiSquare = [](const std::array<int, 6>& counts) {
        double expected = kRolls / 6.0, sum = 0;
        for (int c : counts) sum += (c - expected) * (c - expected) / expected;
        return sum;
    };
    EXPECT_LT(chiSquare(positive), 20.5);
    EXPECT_LT(chiSquare(negative), 20.5);
}

TEST(Random, ExtremeDiceStayInRange) {
    GetRandomEngine().seed(7);
    for (int i = 0; i < 1000; ++i) {
        std::int32_t big = RollDie(INT32_MAX);
        EXPECT_GE(big, 1);
        std::int32_t small = RollDie(INT32_MIN);
        EXPECT_LE(small, -1);
        EXPECT_GE(small, INT32_MIN);
    }
}

TEST(Random, MeanOfManyDrawsIsNearOneHalf) {
    GetRandomEngine().seed(5489);
    double sum = 0;
    for (int i = 0; i < 100000; ++i) sum += Random();
    EXPECT_NEAR(sum / 100000, 0.5, 0.005);
}
