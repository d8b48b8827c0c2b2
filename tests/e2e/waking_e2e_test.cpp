// A party wiped out wakes in peace at the window, with the clock running: the
// hero walks up to the lookout the smugglers post on the trail head once the
// party crossed theirs at the hide, and it kills her; she wakes on the dock a few steps from
// it, stands there half a minute, goes back to the entrance, and walks to each
// way out of the landing without a blow, then leaves by the last. Everything the
// player does goes through mouse and keys; the lookout is posted and the hero
// made frail in the program's process.

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "driver.h"
#include "player_at_window.h"
#include "running_game_steps.h"
#include "game/dialogs/yes_no_dlg.h"

namespace {

using namespace QuillmereE2E;
using namespace QuillmereE2E::AtTheWindow;

constexpr int kExitButton = 10;

// Where the log stood when the party last rested: what came since happened after the wake.
std::size_t SinceTheRest() {
    const auto& log = App().GetMessageLog();
    std::size_t rested = log.size();
    while (rested > 0 && log[rested - 1].rfind("The party has rested", 0) != 0) --rested;
    return rested;
}

int LinesSinceTheRest(const std::string& start) {
    const auto& log = App().GetMessageLog();
    int count = 0;
    for (std::size_t i = SinceTheRest(); i < log.size(); ++i) count += log[i].rfind(start, 0) == 0;
    return count;
}

std::uint32_t& TickAtTheWake() {
    static std::uint32_t tick = 0;
    return tick;
}

// What the lookout has done to the hero since she woke.
std::string Blows() {
    return std::to_string(LinesSinceTheRest("Smuggler Lookout")) + " lines of the lookout, " +
           std::to_string(Hero().GetDamageTaken()) + " damage";
}

// The way out named `exit` is offered to the party walked towards its cell.
Step WalkToTheWayOut(const std::string& exit, int column, int row) {
    return WalkPartyUntil("the way out " + exit, column, row, [exit] {
        return TheGame().GetStateCode() == DRAV::GAME_EXIT_AVAILABLE && TheGame().GetAvailableExitName() == exit;
    });
}

}  // namespace

TEST(Waking, AHeroWipedOutByTheLookoutWakesInPeaceAndWalksToEveryWayOut) {
    Driver driver;
    driver.SetTimeLimit(180);
    std::vector<Step> steps{Wait(200), Key(SDL_SCANCODE_SPACE), Wait(100), Check("intro", StartTheChapter)};
    Append(steps, PastTheIntroAndWelcome());
    Append(steps,
           {Check("calm", CalmTheLanding),
            // The smugglers were seen and crossed at their hide; their lookout is more than
            // the hero can fell, and one blow fells her.
            Check("posted",
                  [] {
                      App().GetEngine()->SetTag("smugglers_seen", true);
                      App().GetEngine()->SetTag("hide_fought", true);
                      auto* lookout = dynamic_cast<DRAV::CActor*>(Person("smuggler_lookout")());
                      if (!lookout) return std::string("no lookout");
                      lookout->SetMaxHitPoints(500);
                      Hero().SetDamageTaken(Hero().GetMaxHitPoints() - 1);
                      return lookout->GetName();
                  }),
            // It lets her be on the dock; she goes at it until it turns on her and,
            // its shout read, comes on.
            WalkPartyUntil("the lookout to come on", 12, 3,
                           [] {
                               auto* lookout = dynamic_cast<DRAV::CActor*>(Person("smuggler_lookout")());
                               return lookout && lookout->GetRelation() == DRAV::RELATION_HOSTILE &&
                                      lookout->GetAttackTarget();
                           }),
            WaitUntil(
                "the end of the fight", [] { return PageTitle() == "Party Dead"; }, 60000),
            Key(SDL_SCANCODE_RETURN),
            WaitUntil(
                "the hero to wake", [] { return !PageUp() && TheArea() && Hero().IsAlive(); }, 5000),
            Check("woke",
                  [] {
                      TickAtTheWake() = TheGame().GetTick();
                      if (!TheArea()) return std::string("nowhere");
                      return TheArea()->GetName() + " " + TheGame().GetCurrentEntry().second;
                  }),
            // The landing woke from its file with the reeds by the lane; this walk is not
            // about the goblin in them.
            Check("clear", ClearTheLane),
            Wait(30000),
            Check("half a minute", Blows),
            // The clock ran all the while, 60 engine ticks to a second of the window.
            Check("ticks", [] { return std::to_string(TheGame().GetTick() - TickAtTheWake()); }),
            // Back to the entrance, where she stands already: no battle keeps her.
            Key(SDL_SCANCODE_R),
            Wait(500),
            Check("return",
                  [] {
                      return std::to_string(LinesSinceTheRest("You cannot return while in battle.")) + " refused, " +
                             std::to_string(LinesSinceTheRest("The party returns to the area entrance.")) +
                             " returned";
                  }),
            // Two cells short of the marsh's way out: a walk to it would end in the question.
            WalkToTheWayOut("marsh_path", 2, 9),
            Check("to the marsh", Blows),
            // The river road leaves past the boathouse, whose west wall ends the lane's
            // south end; there the trail's way out is in reach too, but farther.
            WalkToTheWayOut("river_road", 9, 9),
            Check("to the river road", Blows),
            WalkToTheWayOut("smugglers_trail", 15, 4),
            Check("to the trail", Blows),
            // The trail's way out lies beside the lookout's post: she takes it at once,
            // by the button unless her walk there asked already.
            Next([] {
                return PageTitle().rfind("Exit", 0) == 0 ? std::vector<Step>{} : std::vector<Step>{ClickId(kExitButton)};
            }),
            WaitUntil(
                "the question", [] { return PageTitle().rfind("Exit", 0) == 0; }, 2000),
            ClickId(CYesNoDlg::kYes),
            WaitUntil(
                "the marsh", [] { return TheArea() && TheArea()->GetName() == "reed_marsh"; }, 5000),
            Check("left", [] { return TheArea() ? TheArea()->GetName() : std::string("nowhere"); })});
    Observed run = driver.Execute(steps);
    EXPECT_TRUE(run.exited) << run.log;
    ASSERT_EQ(run.checks.count("problem"), 0u) << run.checks["problem"] << run.log;
    EXPECT_EQ(run.checks["posted"], "Smuggler Lookout");
    EXPECT_EQ(run.checks["woke"], "reedwater_landing dock");
    EXPECT_EQ(run.checks["half a minute"], "0 lines of the lookout, 0 damage");
    EXPECT_GE(std::stoi(run.checks["ticks"]), 30 * 60);
    EXPECT_EQ(run.checks["return"], "0 refused, 1 returned");
    EXPECT_EQ(run.checks["to the marsh"], "0 lines of the lookout, 0 damage");
    EXPECT_EQ(run.checks["to the river road"], "0 lines of the lookout, 0 damage");
    EXPECT_EQ(run.checks["to the trail"], "0 lines of the lookout, 0 damage");
    EXPECT_EQ(run.checks["left"], "reed_marsh");
}
