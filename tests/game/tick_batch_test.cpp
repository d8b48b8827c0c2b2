#include <gtest/gtest.h>

#include <functional>
#include <ostream>
#include <string>

#include "running_game_support.h"
#include "script/script_test_support.h"

namespace {

using QuillmereTest::RunningGameTest;

class TickBatchTest;

// A state that waits for the shell, raised by one tick in the middle of a timer
// message's batch of six: the next tick of the batch would set it back to 0.
struct RaisedState {
    const char* name;
    // Makes the second tick of the next batch raise the state (or the first, for a wipe-out).
    std::function<void(TickBatchTest&)> raise;
    // Ticks the batch ran; 0 where the journey that follows moves the clock on.
    std::uint32_t ticksRun;
    // What the shell shows for it: the current dialog's title, else the area's name.
    std::string shown;
};

void PrintTo(const RaisedState& state, std::ostream* out) { *out << state.name; }

class TickBatchTest : public RunningGameTest, public ::testing::WithParamInterface<RaisedState> {
public:
    DRAV::CActor& Main() { return main(); }

    // Heartbeats of the party and of its neighbour both run `body`, so the one the
    // engine picks does it, two ticks from now.
    void HeartbeatInTwoTicks(const std::string& body) {
        DRAV::CArea& area = *game().GetCurrentArea();
        for (const auto& actor : DRAV::ActorList(area.GetActors()))
            if (actor->GetRelation() != DRAV::RELATION_PARTY) area.RemoveActor(*actor);
        auto neighbour = area.CreateEncounterActor("ferryman", "", 0, *app().GetEngine()->GetModule());
        ASSERT_TRUE(area.PlaceActor(9, 6, false, neighbour));
        neighbour->SetHeartbeat(QuillmereTest::LuaBody(body));
        main().SetHeartbeat(QuillmereTest::LuaBody(body));
        game().SetNextHeartbeatTick(game().GetTick() + 2);
    }
};

TEST_P(TickBatchTest, TheTickThatRaisesAStateEndsTheBatchAndTheShellActsOnIt) {
    const RaisedState& state = GetParam();
    TimerAfter(16);
    state.raise(*this);
    const std::uint32_t start = game().GetTick();
    TimerAfter(100);
    if (state.ticksRun != 0) {
        EXPECT_EQ(game().GetTick() - start, state.ticksRun) << state.name;
    }
    const auto& dialog = app().GetCurrentDialog();
    const std::string shown = dialog ? dialog->GetTitle() : game().GetCurrentArea()->GetName();
    EXPECT_EQ(shown, state.shown) << state.name;
}

INSTANTIATE_TEST_SUITE_P(
    States, TickBatchTest,
    ::testing::Values(
        RaisedState{"WipeOut", [](TickBatchTest& test) { test.Main().SetActionState(DRAV::ACTION_DEAD); }, 1,
                    "Party Dead"},
        RaisedState{"ScriptTravel",
                    [](TickBatchTest& test) {
                        test.HeartbeatInTwoTicks("drav_goto_area( context, \"reed_marsh\", \"landing\" )");
                    },
                    0, "reed_marsh"},
        RaisedState{"ChapterWon",
                    [](TickBatchTest& test) { test.HeartbeatInTwoTicks("drav_win( context, \"The ferry pulls away.\" )"); },
                    2, "Congratulations!"}),
    [](const ::testing::TestParamInfo<RaisedState>& info) { return std::string(info.param.name); });

}  // namespace
