// A crowd walking across a walled yard must take the same steps, tick for tick, as
// it did when the path search was first written: the waypoints steer every step, so
// a search that breaks one tie differently shows up here as a moved walker.
//
// The fingerprint below was taken by running this walk on the first, plain search
// (a heap of node pointers by the standard library's push and pop) before the
// search was made faster. It hashes every walker's position, rounded to a
// millionth of a unit, after every tick, so any changed waypoint, step or timing
// changes it. waypoint_reference_test.cpp checks the answers request by request.

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "world/movement/text_map.h"
#include "world/movement/pathfind.h"
#include "world/movement/walk.h"

using MovementTest::TextMap;

TEST(WalkTrajectory, CrowdTakesTheStepsItAlwaysTook) {
    std::mt19937 random(4242);
    std::vector<std::string> lines(24, std::string(32, '.'));
    for (std::string& line : lines)
        for (char& cell : line)
            if (random() % 100 < 9) cell = random() % 4 == 0 ? 'c' : '#';
    TextMap text(lines);
    const auto freeCentre = [&](double& x, double& y) {
        int column = 0;
        int row = 0;
        do {
            column = static_cast<int>(random() % 32);
            row = static_cast<int>(random() % 24);
        } while (lines[row][column] != '.');
        lines[row][column] = 'x';
        x = column * 2.5 + 1.25;
        y = row * 2.5 + 1.25;
    };
    std::vector<MovementTest::Walker> walkers;
    for (int i = 0; i < 14; ++i) {
        double x = 0.0;
        double y = 0.0;
        freeCentre(x, y);
        auto actor = text.Walker(x, y, 0.5, static_cast<int>(random() % 4) * 25);
        double goalX = 0.0;
        double goalY = 0.0;
        freeCentre(goalX, goalY);
        walkers.push_back({actor, goalX, goalY});
    }

    std::uint64_t hash = 1469598103934665603ull;
    const auto mix = [&](double value) {
        hash ^= static_cast<std::uint64_t>(std::llround(value * 1e6));
        hash *= 1099511628211ull;
    };
    int arrived = 0;
    for (int tick = 0; tick < 500 && arrived < static_cast<int>(walkers.size()); ++tick) {
        text.game.SetTick(100 + tick);
        arrived = 0;
        for (MovementTest::Walker& walker : walkers) {
            DRAV::CActor& actor = *walker.actor;
            if (actor.DistanceToPoint(walker.goalX, walker.goalY) <= actor.GetMoveSpeed() / 30.0) {
                ++arrived;
                continue;
            }
            actor.GetPathfinder()->MoveActor(actor, text.area, walker.goalX, walker.goalY, 0.0, 0.0);
            mix(actor.GetX());
            mix(actor.GetY());
        }
    }
    EXPECT_EQ(arrived, 14);
    EXPECT_EQ(hash, 15887102103374913612ull);
}
