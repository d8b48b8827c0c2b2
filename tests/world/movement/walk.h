#pragma once
// Walking actors tick by tick as the engine's move step does: while the goal is
// more than a step away the pathfinder moves the actor, and the engine makes the
// last step itself. Every tick checks what must always hold of a step.

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <vector>

#include "world/actor.h"
#include "world/area.h"
#include "world/game.h"
#include "world/movement/pathfind.h"

namespace MovementTest {

struct Walker {
    std::shared_ptr<DRAV::CActor> actor;
    double goalX;
    double goalY;
    bool arrived = false;
};

// Runs the walkers together for at most `ticks` ticks from tick 100 on; true when
// every one reached its goal. A step never goes farther than the actor's speed
// allows, and never ends where the area would not let the actor stand.
inline bool WalkAll(DRAV::CArea& area, std::vector<Walker>& walkers, int ticks) {
    DRAV::CGame& game = *area.GetGame();
    for (int tick = 0; tick < ticks; ++tick) {
        game.SetTick(100 + tick);
        bool all = true;
        for (Walker& walker : walkers) {
            if (walker.arrived) continue;
            DRAV::CActor& actor = *walker.actor;
            const double step = actor.GetMoveSpeed() / 30.0;
            if (actor.DistanceToPoint(walker.goalX, walker.goalY) <= step) {
                walker.arrived = true;
                continue;
            }
            all = false;
            const double x = actor.GetX();
            const double y = actor.GetY();
            actor.GetPathfinder()->MoveActor(actor, area, walker.goalX, walker.goalY, 0.0, 0.0);
            const double moved = std::hypot(actor.GetX() - x, actor.GetY() - y);
            EXPECT_LE(moved, step + 1e-9) << actor.GetName() << " at tick " << tick;
            if (moved > 0.0) {
                EXPECT_TRUE(area.CanMoveTo(actor, nullptr, actor.GetX(), actor.GetY()))
                    << actor.GetName() << " stepped into a blocked place (" << actor.GetX() << ", "
                    << actor.GetY() << ") at tick " << tick;
            }
            if (::testing::Test::HasFailure()) return false;
        }
        if (all) return true;
    }
    for (const Walker& walker : walkers)
        if (!walker.arrived) return false;
    return true;
}

inline bool WalkTo(DRAV::CArea& area, const std::shared_ptr<DRAV::CActor>& actor, double goalX, double goalY,
                   int ticks) {
    std::vector<Walker> walkers{{actor, goalX, goalY}};
    return WalkAll(area, walkers, ticks);
}

}  // namespace MovementTest
