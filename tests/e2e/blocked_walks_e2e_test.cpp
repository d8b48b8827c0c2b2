// Walks past people standing in the way, at the window with the clock running.
// From the ferry's river side, where the dock may put a second arrival, a click on
// the landing's west way out walks the hero ashore past Tobin at his work; with
// someone standing on the ferry's landward half, where nobody can pass, the same
// click ends the walk with her word that she cannot reach it, instead of leaving
// her pressing against them. A party sent to a way out past someone of the place
// is offered it without a word; from Nell's barge a click on the towpath walks the
// hero ashore.

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include "driver.h"
#include "game/dialogs/chapter_end/win_dlg.h"
#include "game/dialogs/yes_no_dlg.h"
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

// ---- a party walking to a way out, Nell's barge, Wick ----


// `templateName` of the module taken into the party, beside the hero, or the one
// of the area when there is one.
std::string Joins(const std::string& templateName) {
    DRAV::CGame& game = TheGame();
    std::shared_ptr<DRAV::CActor> member;
    for (const auto& actor : TheArea()->GetActors())
        if (actor->GetTemplateName() == templateName) member = actor;
    if (member) {
        member->SetRelation(DRAV::RELATION_PARTY);
    } else {
        App().GetEngine()->GetModule()->CreateActor(member, &game, templateName, "", 0);
        if (!TheArea()->PlaceActor(static_cast<std::uint32_t>(Hero().GetX() / kCell),
                                   static_cast<std::uint32_t>(Hero().GetY() / kCell), false, member))
            return "no room";
    }
    game.AddPartyMember(member);
    App().UpdatePartyQuickActions(true);
    return PartyPlaces();
}

// The party is sent to the west way out and every walk ends: what the log said of
// not reaching since, and whether the way out is offered.
std::vector<Step> PartyToTheWestWayOut(const std::string& name) {
    return {Key(SDL_SCANCODE_0),
            Wait(100),
            Check(name + " before", [] { return std::to_string(SaidBefore() = SaidCantReach()); }),
            ClickOn("the west way out", WestWayOut),
            Wait(300),
            WaitUntil(
                "the party to stop", PartyStopped, 15000),
            Wait(100),
            Check(name, [] {
                return (App().IsExitAvailable() ? "offered " + TheGame().GetAvailableExitName() : "not offered") +
                       "; " + CantReachSince(SaidBefore());
            })};
}

// The exit taken by its key and its question answered; the party arrives in `area`.
std::vector<Step> LeaveFor(const std::string& area) {
    return {Key(SDL_SCANCODE_X), WaitUntil("the question", [] { return PageTitle().rfind("Exit", 0) == 0; }, 2000),
            ClickId(CYesNoDlg::kYes),
            WaitUntil(area, [area] { return TheArea() && TheArea()->GetName() == area && !PageUp(); }, 5000),
            Wait(300)};
}

// The hero on Nell's barge, her walk and the log's words put behind her.
std::string OnTheBarge() {
    Hero().ClearOrders();
    Hero().FinalizeMove(21.25, 5.0);
    SaidBefore() = static_cast<int>(App().GetMessageLog().size());
    return Where();
}

std::string LinesSince() {
    std::string said;
    const auto& log = App().GetMessageLog();
    for (std::size_t line = static_cast<std::size_t>(SaidBefore()); line < log.size(); ++line) said += log[line];
    return said;
}

// A click from the barge, let run for six seconds; then what was said, whether
// she still walks, and where she stands.
std::vector<Step> FromTheBarge(const std::string& name, Step click) {
    // The view settles on her before the click.
    return {Check(name + " aboard", OnTheBarge), Wait(1500), std::move(click), Wait(6000),
            Check(name, [] { return (Hero().GetCurrentOrder() ? "walking; " : "") + LinesSince(); }),
            Check(name + " at", Where)};
}

double Coordinate(const std::string& where, int which) {
    return std::stod(which == 0 ? where.substr(0, where.find(' ')) : where.substr(where.find(' ') + 1));
}

// The way out, from the dock alone and from the marsh's lane with a boatman past
// Marra (the landing's lane past Hollis with a companion is the engine test's):
// each walk ends, nobody says it can't reach the way out, and the party is
// offered it.
TEST(BlockedWalksAtTheWindow, APartySentToAWayOutPastSomeoneIsOfferedItWithoutAWord) {
    Driver driver;
    driver.SetRealTimeLimit(300);
    std::vector<Step> steps{Wait(200), Key(SDL_SCANCODE_SPACE), Wait(100), Check("chapter", StartTheChapter),
                            Wait(200)};
    Append(steps, PastTheIntroAndWelcome());
    Append(steps, {Check("clear", ClearTheLane)});
    Append(steps, PartyToTheWestWayOut("landing alone"));
    Append(steps, LeaveFor("reed_marsh"));
    Append(steps, {Check("boatman", [] { return Joins("ferryman"); })});
    Append(steps, PartyToTheWestWayOut("marsh"));
    Observed run = driver.Execute(steps);
    EXPECT_TRUE(run.exited) << run.log;
    ASSERT_EQ(run.checks.count("problem"), 0u) << run.checks["problem"];
    EXPECT_EQ(run.checks["landing alone"], "offered marsh_path; ");
    EXPECT_EQ(run.checks["marsh"], "offered landing_path; ") << run.checks["boatman"];
}

// At Ashcombe: from Nell's barge a click on the towpath walks her ashore (the
// strongbox and the sluice house doors, which the view from the barge does not
// show, are the engine test's, as is an attack on Wick, unseen behind its locked
// doors).
TEST(BlockedWalksAtTheWindow, AtAshcombeAClickOnTheTowpathFromNellsBargeWalksAshore) {
    Driver driver;
    driver.SetRealTimeLimit(300);
    std::vector<Step> steps{Wait(200), Key(SDL_SCANCODE_SPACE), Wait(100), Check("chapter", StartTheChapter),
                            Wait(200)};
    Append(steps, PastTheIntroAndWelcome());
    Append(steps, {WinTheChapter(), Wait(300), ClickId(CWinDlg::kNext), Wait(150), ClickId(CWinDlg::kNext),
                   Wait(150), ClickId(CWinDlg::kNextChapter), Wait(500)});
    Append(steps, PastTheIntroAndWelcome());
    Append(steps, {Check("ashcombe", [] { return TheArea() ? TheArea()->GetName() : "none"; }),
                   Key(SDL_SCANCODE_1), Wait(100)});
    Append(steps, FromTheBarge("towpath", ClickTowards(3, 6)));
    Observed run = driver.Execute(steps);
    EXPECT_TRUE(run.exited) << run.log;
    ASSERT_EQ(run.checks.count("problem"), 0u) << run.checks["problem"];
    ASSERT_EQ(run.checks["ashcombe"], "ashcombe_weir");

    EXPECT_EQ(run.checks["towpath"], "");
    EXPECT_LT(Coordinate(run.checks["towpath at"], 0), 20.0) << "off the barge, on the towpath";
}

}  // namespace
