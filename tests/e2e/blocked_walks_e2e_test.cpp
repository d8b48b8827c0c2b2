// Walks past someone standing on the ferry, at the window with the clock running:
// from the ferry's river side, where the dock may put a second arrival, a click on
// the landing's west way out walks the hero ashore past Tobin at his work; with
// someone standing on the ferry's landward half, where nobody can pass, the same
// click ends the walk with her word that she cannot reach it, instead of leaving
// her pressing against them.

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

DRAV::CActor* Tobin() { return dynamic_cast<DRAV::CActor*>(Person("dock_ferryman")()); }

// The hero stands where the dock puts a second arrival, on the ferry's deck by the
// water, her walk and the log's words of not reaching put behind her.
std::string OnTheFerrysRiverSide() {
    DRAV::CArea& area = *TheArea();
    Hero().ClearOrders();
    for (double away = 0.0; away < 3.0; away += 0.25)
        for (int k = 0; k < 16; ++k) {
            const double x = 18.75 + away * std::cos(k * 0.3927), y = 4.0 + away * std::sin(k * 0.3927);
            if (!area.CanMoveTo(Hero(), nullptr, x, y)) continue;
            Hero().FinalizeMove(x, y);
            return y < 7.5 ? "aboard" : "ashore at " + PartyPlaces();
        }
    return "no room on the ferry";
}

int SaidCantReach() {
    int said = 0;
    for (const std::string& line : App().GetMessageLog()) said += line.find("can't reach") != std::string::npos;
    return said;
}

std::string CantReachSince(int before) {
    std::string said;
    int seen = 0;
    for (const std::string& line : App().GetMessageLog())
        if (line.find("can't reach") != std::string::npos && seen++ >= before) said += line;
    return said;
}

int& SaidBefore() {
    static int said = 0;
    return said;
}

std::string Where() { return std::to_string(Hero().GetX()) + " " + std::to_string(Hero().GetY()); }

TEST(BlockedWalksAtTheWindow, AWalkFromTheFerryGoesAshorePastTobinOrEndsWithAWord) {
    Driver driver;
    std::vector<Step> steps{Wait(200), Key(SDL_SCANCODE_SPACE), Wait(100), Check("chapter", StartTheChapter),
                            Wait(200)};
    Append(steps, PastTheIntroAndWelcome());
    // No goblin springs from the lane's reeds.
    Append(steps, {Check("clear", ClearTheLane), Check("aboard", OnTheFerrysRiverSide), Wait(100),
                   ClickOn("the west way out", WestWayOut),
                   WaitUntil(
                       "the way to the marsh offered",
                       [] {
                           return TheGame().GetStateCode() == DRAV::GAME_EXIT_AVAILABLE &&
                                  TheGame().GetAvailableExitName() == "marsh_path";
                       },
                       12000),
                   Check("ashore", [] { return std::to_string(SaidCantReach()) + " words, at " + Where(); })});
    // Someone stands on the ferry's landward half, between the hero and the dock.
    Append(steps, {Check("shut",
                         [] {
                             SaidBefore() = SaidCantReach();
                             Tobin()->FinalizeMove(16.25, 6.25);
                             return OnTheFerrysRiverSide();
                         }),
                   Wait(100), ClickOn("the west way out", WestWayOut), Wait(200),
                   Check("walking", [] { return Hero().GetCurrentOrder() ? "yes" : "no"; }),
                   WaitUntil(
                       "her walk to end", [] { return !Hero().GetCurrentOrder(); }, 8000),
                   Check("said", [] { return CantReachSince(SaidBefore()); }), Check("where", Where)});
    Observed run = driver.Execute(steps);
    EXPECT_TRUE(run.exited) << run.log;
    ASSERT_EQ(run.checks.count("problem"), 0u) << run.checks["problem"] << " (" << run.checks["where"] << ")";
    EXPECT_EQ(run.checks["aboard"], "aboard");
    // Ashore, off the deck that ends at 7.5, with no word of not reaching.
    const std::string ashore = run.checks["ashore"];
    ASSERT_EQ(ashore.rfind("0 words, at ", 0), 0u) << ashore;
    EXPECT_GT(std::stod(ashore.substr(ashore.rfind(' ') + 1)), 7.5) << ashore;

    EXPECT_EQ(run.checks["shut"], "aboard");
    EXPECT_EQ(run.checks["walking"], "yes") << "the click sent her off";
    EXPECT_EQ(run.checks["said"], "Wren can't reach Way Out.");
    // Still aboard: the deck ends at 7.5.
    EXPECT_LT(std::stod(run.checks["where"].substr(run.checks["where"].find(' ') + 1)), 7.5) << run.checks["where"];
}

}  // namespace
