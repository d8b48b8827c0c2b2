// Range tests that skip the root must answer as comparing std::hypot does, above
// all where rounding decides: distances a few units in the last place from the
// range, tiny and huge ranges, and figures that are not numbers.

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>

#include "world/actor.h"
#include "world/actor/spot_range.h"
#include "world/movement/distance_compare.h"

using namespace DRAV;

TEST(DistanceCompare, AnswersAsTheRootDoesAtTheEdgeOfTheRange) {
    std::mt19937_64 random(99);
    std::uniform_real_distribution<double> angle(0.0, 6.283185307179586);
    std::uniform_int_distribution<int> ulps(-6, 6);
    std::uniform_real_distribution<double> exponent(-120.0, 120.0);
    int near = 0;
    for (int i = 0; i < 200000; ++i) {
        const double range = i % 4 == 0 ? std::pow(10.0, exponent(random)) : 0.5 + (random() % 2000) / 10.0;
        // A point on the circle, nudged a few units in the last place either way.
        double dx = range * std::cos(angle(random));
        double dy = std::sqrt(std::max(range * range - dx * dx, 0.0));
        for (int step = ulps(random); step != 0; step += step > 0 ? -1 : 1)
            dx = std::nextafter(dx, step > 0 ? HUGE_VAL : -HUGE_VAL);
        if (random() % 2) dy = -dy;
        near += std::abs(std::hypot(dx, dy) - range) <= range * 1e-12;
        ASSERT_EQ(IsWithinRange(dx, dy, range), std::hypot(dx, dy) <= range)
            << std::hexfloat << dx << " " << dy << " " << range;
        ASSERT_EQ(IsBeyondRange(dx, dy, range), std::hypot(dx, dy) > range)
            << std::hexfloat << dx << " " << dy << " " << range;
    }
    EXPECT_GT(near, 100000);

    const double inf = std::numeric_limits<double>::infinity();
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double tiny = std::numeric_limits<double>::denorm_min();
    const double cases[][3] = {{0, 0, 0},       {tiny, 0, 0},      {tiny, tiny, tiny}, {1e-160, 1e-160, 1.5e-160},
                               {3, 4, 5},       {3, 4, -5},        {1e200, 0, 1e99},   {inf, 0, 1e300},
                               {inf, 0, inf},   {nan, 0, 10},      {0, 0, nan},        {-7.5, 0, 7.5},
                               {1e-101, 0, 1e-101}, {0, 99.99999999999, 100}};
    for (const auto& [dx, dy, range] : cases) {
        EXPECT_EQ(IsWithinRange(dx, dy, range), std::hypot(dx, dy) <= range) << dx << " " << dy << " " << range;
        EXPECT_EQ(IsBeyondRange(dx, dy, range), std::hypot(dx, dy) > range) << dx << " " << dy << " " << range;
    }
}

// The stealth test's two ranges: unseen beyond 100, and nearer than 50 every unit
// counts. Sneaker and observer placed at distances straddling both, by a hair.
TEST(DistanceCompare, SpottingAtTheSightAndCloseRanges) {
    CActor sneaker(0x03000001);
    CActor observer(0x03000002);
    sneaker.SetPosition(10.0, 20.0);
    for (const double distance : {0.0, 12.3, std::nextafter(50.0, 0.0), 50.0, std::nextafter(50.0, 99.0), 75.0,
                                  std::nextafter(100.0, 0.0), 100.0, std::nextafter(100.0, 200.0), 150.0}) {
        for (const double turn : {0.0, 0.6, 2.2}) {
            observer.SetPosition(10.0 + distance * std::cos(turn), 20.0 + distance * std::sin(turn));
            const double exact = std::hypot(observer.GetX() - 10.0, observer.GetY() - 20.0);
            const std::int32_t expected = exact > 100.0 ? 0
                                          : observer.GetSpecialStat(SPECIAL_OBSERVATION) +
                                                static_cast<std::int32_t>((50.0 - std::min(exact, 50.0)) * 0.5);
            for (const std::int32_t stealth : {-1, 0, 1, 25}) {
                std::int32_t value = -99;
                std::int32_t observation = CActor::kUnknownStat;
                const bool spotted = sneaker.IsSpottedBy(observer, stealth, observation, &value);
                EXPECT_EQ(value, expected) << distance << " " << turn;
                // Nobody makes more of a sneaker than standing on its spot: the pass
                // rules out at once a sneaker stealthier than that.
                EXPECT_LE(value, observer.GetSpecialStat(SPECIAL_OBSERVATION) + kSpotMostCloseness) << distance;
                if (distance == 0.0) {
                    EXPECT_EQ(value, observer.GetSpecialStat(SPECIAL_OBSERVATION) + kSpotMostCloseness);
                }
                EXPECT_EQ(spotted, exact <= 100.0 && expected >= stealth) << distance << " " << turn << " " << stealth;
                // The observation, once worked out, is kept and used as it stands.
                if (exact <= 100.0) {
                    EXPECT_EQ(observation, observer.GetSpecialStat(SPECIAL_OBSERVATION));
                }
                std::int32_t sharp = 1000;
                EXPECT_EQ(sneaker.IsSpottedBy(observer, stealth, sharp, &value), exact <= 100.0);
            }
            // The stealth figure at hand is the sneaker's own.
            std::int32_t plain = 0;
            std::int32_t given = 0;
            std::int32_t observation = CActor::kUnknownStat;
            EXPECT_EQ(sneaker.IsSpottedBy(observer, &plain),
                      sneaker.IsSpottedBy(observer, sneaker.GetSpecialStat(SPECIAL_STEALTH), observation, &given));
            EXPECT_EQ(plain, given);
        }
    }
}
