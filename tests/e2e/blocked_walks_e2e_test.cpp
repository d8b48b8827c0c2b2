// Walks that meet someone standing in a narrow way, at the window with the clock
// running: on the ferry's river side, where Tobin stands between the hero and
// the dock, a click on the landing's west way out ends the walk with her word
// that she cannot reach it, instead of leaving her pressing against him.

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "driver.h"
#include "player_at_window.h"
#include "running_game_steps.h"

namespace {

using namespace QuillmereE2E;
using namespace QuillmereE2E::AtTheWindow;

DRAV::CThing* WestWayOut() {
    if (DRAV::CArea* area = TheArea())
        for (const auto& object : area->GetObjects())
            if (object->IsExit() && object->GetX() < 5.0) return object.get();
    return nullptr;
}

// No goblin springs from the lane's reeds; the hero stands where the dock puts a
// second arrival, on the ferry's deck by the water, with Tobin at work between
// her and the dock.
std::string OnTheFerrysRiverSide() {
    DRAV::CArea& area = *TheArea();
    area.ClearEncounter("lane_goblins");
    for (double away = 0.0; away < 3.0; away += 0.25)
        for (int k = 0; k < 16; ++k) {
            const double x = 18.75 + away * std::cos(k * 0.3927), y = 4.0 + away * std::sin(k * 0.3927);
            if (!area.CanMoveTo(Hero(), nullptr, x, y)) continue;
            Hero().FinalizeMove(x, y);
            return PartyPlaces();
        }
    return "no room on the ferry";
}

std::string SaidCantReach() {
    std::string said;
    for (const std::string& line : App().GetMessageLog())
        if (line.find("can't reach") != std::string::npos) said += line;
    return said;
}

TEST(BlockedWalksAtTheWindow, AWalkPastTobinOnTheFerryEndsWithAWord) {
    Driver driver;
    std::vector<Step> steps{Wait(200), Key(SDL_SCANCODE_SPACE), Wait(100), Check("chapter", StartTheChapter),
                            Wait(200)};
    Append(steps, PastTheIntroAndWelcome());
    Append(steps, {Check("aboard", OnTheFerrysRiverSide), Wait(100), ClickOn("the west way out", WestWayOut),
                   Wait(200), Check("walking", [] { return Hero().GetCurrentOrder() ? "yes" : "no"; }),
                   WaitUntil(
                       "her walk to end", [] { return !Hero().GetCurrentOrder(); }, 8000),
                   Check("said", SaidCantReach), Check("where", PartyPlaces)});
    Observed run = driver.Execute(steps);
    EXPECT_TRUE(run.exited) << run.log;
    ASSERT_EQ(run.checks.count("problem"), 0u) << run.checks["problem"] << " (" << run.checks["where"] << ")";
    EXPECT_EQ(run.checks["walking"], "yes") << "the click sent her off";
    EXPECT_EQ(run.checks["said"], "Wren can't reach Way Out.");
    // Still aboard: the deck ends at 7.5, and Tobin keeps her from the dock.
    EXPECT_NE(run.checks["where"].find("Wren ("), std::string::npos);
    EXPECT_LT(std::stod(run.checks["where"].substr(run.checks["where"].rfind(' ') + 1)), 3.0)
        << run.checks["where"];
}

}  // namespace
