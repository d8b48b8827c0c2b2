// Walks past people standing in the way, at the window with the clock running:
// each ends where it leads or with a word, and the view holds while one waits.

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include "driver.h"
#include "game/dialogs/chapter_end/win_dlg.h"
#include "game/dialogs/yes_no_dlg.h"
#include "game/quick_actions.h"
#include "player_at_window.h"
#include "running_game_steps.h"
#include "support/sample_game.h"

namespace {

using namespace QuillmereE2E;
using namespace QuillmereE2E::AtTheWindow;

DRAV::CObject* WestWayOut() {
    if (DRAV::CArea* area = TheArea())
        for (const auto& object : area->GetObjects())
            if (object->IsExit() && object->GetX() < 5.0) return object.get();
    return nullptr;
}

DRAV::CActor* Tobin() { return dynamic_cast<DRAV::CActor*>(Person("dock_ferryman")()); }

// The hero stands where the dock puts a second arrival, on the ferry's deck by the
// water, her walk and the log's words of not reaching put behind her.
std::string OnTheFerrysRiverSide() {
    Hero().ClearOrders();
    if (!QuillmereTest::PutNear(*TheArea(), Hero(), 18.75, 4.0)) return "no room on the ferry";
    return Hero().GetY() < 7.5 ? "aboard" : "ashore at " + PartyPlaces();
}

std::string Where() { return std::to_string(Hero().GetX()) + " " + std::to_string(Hero().GetY()); }

// The log is marked where a walk begins; what it said since, of lines holding
// `containing`.
std::size_t& LogMark() {
    static std::size_t mark = 0;
    return mark;
}

std::string MarkTheLog() {
    LogMark() = App().GetMessageLog().size();
    return Where();
}

std::string SaidSinceTheMark(const std::string& containing = "") {
    std::string said;
    const auto& log = App().GetMessageLog();
    for (std::size_t line = LogMark(); line < log.size(); ++line)
        if (log[line].find(containing) != std::string::npos) said += log[line];
    return said;
}

double Coordinate(const std::string& where, int which) {
    return std::stod(which == 0 ? where.substr(0, where.find(' ')) : where.substr(where.find(' ') + 1));
}

// A new game of chapter 1 begun, past its introduction and the welcome.
std::vector<Step> IntoTheChapter() {
    std::vector<Step> steps{Wait(200), Key(SDL_SCANCODE_SPACE), Wait(100), Check("chapter", StartTheChapter),
                            Wait(200)};
    Append(steps, PastTheIntroAndWelcome());
    return steps;
}

TEST(BlockedWalksAtTheWindow, AWalkFromTheFerryGoesAshorePastTobinOrEndsWithAWord) {
    Driver driver;
    std::vector<Step> steps = IntoTheChapter();
    // No goblin springs from the lane's reeds.
    Append(steps, {Check("clear", ClearTheLane), Check("mark", MarkTheLog), Check("aboard", OnTheFerrysRiverSide),
                   Wait(100), ClickOn("the west way out", WestWayOut),
                   WaitUntil(
                       "the way to the marsh offered",
                       [] {
                           return TheGame().GetStateCode() == DRAV::GAME_EXIT_AVAILABLE &&
                                  TheGame().GetAvailableExitName() == "marsh_path";
                       },
                       12000),
                   Check("ashore", [] { return SaidSinceTheMark("can't reach"); }), Check("ashore at", Where)});
    // Someone stands on the ferry's landward half, between the hero and the dock.
    Append(steps, {Check("mark", MarkTheLog), Check("shut", [] {
                       Tobin()->FinalizeMove(16.25, 6.25);
                       return OnTheFerrysRiverSide();
                   }),
                   Wait(100), ClickOn("the west way out", WestWayOut), Wait(200),
                   Check("walking", [] { return Hero().GetCurrentOrder() ? "yes" : "no"; }),
                   WaitUntil(
                       "her walk to end", [] { return !Hero().GetCurrentOrder(); }, 8000),
                   Check("said", [] { return SaidSinceTheMark("can't reach"); }), Check("where", Where)});
    Observed run = driver.Execute(steps);
    EXPECT_TRUE(run.exited) << run.log;
    ASSERT_EQ(run.checks.count("problem"), 0u) << run.checks["problem"] << " (" << run.checks["where"] << ")";
    EXPECT_EQ(run.checks["aboard"], "aboard");
    // Ashore, off the deck that ends at 7.5, with no word of not reaching.
    EXPECT_EQ(run.checks["ashore"], "");
    EXPECT_GT(Coordinate(run.checks["ashore at"], 1), 7.5) << run.checks["ashore at"];

    EXPECT_EQ(run.checks["shut"], "aboard");
    EXPECT_EQ(run.checks["walking"], "yes") << "the click sent her off";
    EXPECT_EQ(run.checks["said"], "Wren can't reach the way out to the reed marsh: Tobin the Ferryman is in the way.");
    EXPECT_LT(Coordinate(run.checks["where"], 1), 7.5) << "still aboard at " << run.checks["where"];
}

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

// The party is sent to the west way out, or `beside` it by a click on the ground at
// its marker's side, and every walk ends: what the log said of not reaching since,
// whether the way out is offered and the question of leaving put.
std::vector<Step> PartyToTheWestWayOut(const std::string& name, bool beside = false) {
    return {Key(SDL_SCANCODE_0),
            Wait(100),
            Check("mark", MarkTheLog),
            beside ? PointAt([] { return Units(Project(WestWayOut()->GetX() + 2.0, 0.0, WestWayOut()->GetY()).value()); },
                             true)
                   : ClickOn("the west way out", WestWayOut),
            Wait(300),
            WaitUntil(
                "the party to stop", PartyStopped, 15000),
            Wait(100),
            Check(name, [] {
                return (App().IsExitAvailable() ? "offered " + TheGame().GetAvailableExitName() : "not offered") +
                       (PageTitle().rfind("Exit", 0) == 0 ? ", asked" : "") + "; " + SaidSinceTheMark("can't reach");
            })};
}

// The question of leaving, put when the walk ended, answered; the party arrives in `area`.
std::vector<Step> LeaveFor(const std::string& area) {
    return {WaitUntil("the question", [] { return PageTitle().rfind("Exit", 0) == 0; }, 2000),
            ClickId(CYesNoDlg::kYes),
            WaitUntil(area, [area] { return TheArea() && TheArea()->GetName() == area && !PageUp(); }, 5000),
            Wait(300)};
}

bool OnTheBarge() { return Hero().GetX() > 20.0 && Hero().GetX() < 25.0 && Hero().GetY() < 7.5; }

// Where the window showed the barge's deck, each tenth of a second while the hero
// stood on it, since the last click from it.
std::vector<POINT>& DeckOnScreen() {
    static std::vector<POINT> seen;
    return seen;
}

// How far the view swayed while the hero stood on the deck: all the way it went
// less the way from where it began to where it ended, in window pixels.
std::string Sway() {
    const auto& seen = DeckOnScreen();
    double way = 0.0;
    for (std::size_t i = 1; i < seen.size(); ++i)
        way += std::hypot(seen[i].x - seen[i - 1].x, seen[i].y - seen[i - 1].y);
    const double straight =
        seen.empty() ? 0.0 : std::hypot(seen.back().x - seen.front().x, seen.back().y - seen.front().y);
    return std::to_string(static_cast<int>(std::lround((way - straight) * Scale() / 100.0)));
}

// A click from the barge's far end, where Nell stood, let run for five seconds
// with the view watched; then what was said, whether she still walks, and where
// she stands.
std::vector<Step> FromTheBarge(const std::string& name, Step click) {
    std::vector<Step> steps{WalkTo(9, 1), Wait(1000), Check(name + " aboard", [] {
                                DeckOnScreen().clear();
                                return MarkTheLog();
                            }),
                            std::move(click)};
    for (int at = 0; at < 5000; at += 100)
        Append(steps, {Wait(100), Check("watch", [] {
                           if (const auto deck = Project(22.5, 0.0, 5.0); deck && OnTheBarge())
                               DeckOnScreen().push_back(*deck);
                           return "";
                       })});
    Append(steps, {Check(name, [] { return (Hero().GetCurrentOrder() ? "walking; " : "") + SaidSinceTheMark(); }),
                   Check(name + " at", Where), Check(name + " sway", Sway)});
    return steps;
}

// From the dock with Marra, and from the marsh's lane with a boatman past Marra, by
// a click on the marker and by one on the ground beside it.
TEST(BlockedWalksAtTheWindow, APartySentToAWayOutPastSomeoneIsAskedToLeaveWithoutAWord) {
    Driver driver;
    driver.SetTimeLimit(300);
    std::vector<Step> steps = IntoTheChapter();
    Append(steps, {Check("clear", ClearTheLane), Check("marra", [] { return Joins("reed_witch"); })});
    Append(steps, PartyToTheWestWayOut("landing"));
    Append(steps, LeaveFor("reed_marsh"));
    Append(steps, {Check("boatman", [] { return Joins("ferryman"); })});
    Append(steps, PartyToTheWestWayOut("marsh"));
    Append(steps, {ClickId(CYesNoDlg::kNo), WalkTo(9, 4)});
    Append(steps, PartyToTheWestWayOut("beside", true));
    Observed run = driver.Execute(steps);
    EXPECT_TRUE(run.exited) << run.log;
    ASSERT_EQ(run.checks.count("problem"), 0u) << run.checks["problem"];
    EXPECT_EQ(run.checks["landing"], "offered marsh_path, asked; ") << run.checks["marra"];
    EXPECT_EQ(run.checks["marsh"], "offered landing_path, asked; ") << run.checks["boatman"];
    EXPECT_EQ(run.checks["beside"], "offered landing_path, asked; ");
}

// As a player met it: F1 and a click where Wick waits unseen in the locked sluice
// house pick nobody, so the next click on the ground walks; then, Nell killed,
// clicks from the far end of her barge on the sluice house doors and the towpath.
TEST(BlockedWalksAtTheWindow, AtAshcombeAClickFromNellsEmptyBargeWalksAshoreWithTheViewHeld) {
    Driver driver;
    driver.SetTimeLimit(300);
    std::vector<Step> steps = IntoTheChapter();
    Append(steps, {WinTheChapter(), Wait(300), ClickId(CWinDlg::kNext), Wait(150), ClickId(CWinDlg::kNext),
                   Wait(150), ClickId(CWinDlg::kNextChapter), Wait(500)});
    Append(steps, PastTheIntroAndWelcome());
    Append(steps, {Check("ashcombe", [] { return TheArea() ? TheArea()->GetName() : "none"; }),
                   Key(SDL_SCANCODE_1), Wait(100)});
    // Wick, unseen: the click finds the sluice house, not him.
    Append(steps, {Check("before wick", Where), Key(SDL_SCANCODE_F1), Wait(100),
                   PointAt([] { return Units(Project(36.25, 1.0, 6.25).value_or(POINT{0, 0})); }, true), Wait(200),
                   ClickTowards(4, 7), Wait(1500), Check("after wick", [] {
                       const bool chosen = App().GetCurrentQuickAction(Hero()) != CDRAVActorInfo::kNoSlot;
                       return std::string(Hero().GetCurrentOrder() || Hero().GetY() > 15.0 ? "walked" : "stood") +
                              (chosen ? ", F1 still chosen" : "");
                   })});
    // Nell, near the end of her strength, falls to the hero's first blow.
    Append(steps, {Check("nell", [] {
                       auto* nell = dynamic_cast<DRAV::CActor*>(Person("bargewoman")());
                       if (!nell) return std::string("no Nell");
                       nell->SetDamageTaken(nell->GetMaxHitPoints() - 1);
                       return std::string("weak");
                   }),
                   // Esc first, as the player found she must where the click on the ground did nothing.
                   Key(SDL_SCANCODE_ESCAPE), Wait(100), Key(SDL_SCANCODE_F1), Wait(100),
                   ClickOn("Nell", Person("bargewoman")),
                   WaitUntil("Nell to fall", [] { return !Person("bargewoman")(); }, 15000), Wait(500)});
    Append(steps, FromTheBarge("doors", ClickTowards(13, 4)));
    Append(steps, FromTheBarge("towpath", ClickTowards(3, 6)));
    Observed run = driver.Execute(steps);
    EXPECT_TRUE(run.exited) << run.log;
    ASSERT_EQ(run.checks.count("problem"), 0u) << run.checks["problem"];
    ASSERT_EQ(run.checks["ashcombe"], "ashcombe_weir");

    EXPECT_EQ(run.checks["after wick"], "walked") << run.checks["before wick"];
    ASSERT_EQ(run.checks["nell"], "weak");
    EXPECT_EQ(run.checks["doors"], "The sluice house doors are locked, and Sefton the toll-keeper keeps the key.")
        << "at " << run.checks["doors at"];
    EXPECT_GT(Coordinate(run.checks["doors at"], 1), 7.5) << "off the barge, by the doors";
    EXPECT_EQ(run.checks["towpath"], "");
    EXPECT_LT(Coordinate(run.checks["towpath at"], 0), 20.0) << "off the barge, on the towpath";
    // While her walk waits on the deck the view follows her short steps there, and
    // does not swing to and fro with her turns, which takes it well past a thousand
    // pixels in five seconds.
    EXPECT_LT(std::stoi(run.checks["doors sway"]), 150);
    EXPECT_LT(std::stoi(run.checks["towpath sway"]), 150);
}

}  // namespace
