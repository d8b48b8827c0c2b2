#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "common/processor_clock.h"
#include "game/audio2.h"
#include "running_game_support.h"
#include "script/script_test_support.h"

namespace {

// Works the thread a timer message's share of processor time, as a slow script does.
int WorkAShare(lua_State*) {
    const auto until = DRAVCommon::ThreadProcessorTime() + CDRAVApp::kMostWorkPerTimer;
    while (DRAVCommon::ThreadProcessorTime() < until) {
    }
    return 0;
}

// A state that waits for the shell raised by one tick of a timer message's batch
// of six: the next tick of the batch would set it back to 0.
class TickBatchTest : public QuillmereTest::RunningGameTest {
protected:
    // The heartbeats of the party and of its neighbour both run `body`, so the one
    // the engine picks does it, two ticks from now.
    void HeartbeatInTwoTicks(const std::string& body) {
        CalmTheLanding();
        DRAV::CArea& area = *game().GetCurrentArea();
        auto neighbour = area.CreateEncounterActor("ferryman", "", 0, *app().GetEngine()->GetModule());
        ASSERT_TRUE(area.PlaceActor(9, 6, false, neighbour));
        neighbour->SetHeartbeat(QuillmereTest::LuaBody(body));
        main().SetHeartbeat(QuillmereTest::LuaBody(body));
        game().SetNextHeartbeatTick(game().GetTick() + 2);
    }
    // One timer message of six ticks; then the current dialog's title, else the area's name.
    std::string AfterABatch() {
        TimerAfter(100);
        return Showing();
    }
    std::string Showing() {
        const auto& dialog = app().GetCurrentDialog();
        return dialog ? dialog->GetTitle() : game().GetCurrentArea()->GetName();
    }
};

TEST_F(TickBatchTest, AWipeOutInTheFirstTickOpensThePartyDeadPage) {
    main().SetActionState(DRAV::ACTION_DEAD);
    const std::uint32_t start = game().GetTick();
    EXPECT_EQ(AfterABatch(), "Party Dead");
    EXPECT_EQ(game().GetTick(), start + 1) << "no tick after the one that raised it";
}

TEST_F(TickBatchTest, AScriptsJourneyInTheSecondTickIsMade) {
    HeartbeatInTwoTicks("drav_goto_area( context, \"reed_marsh\", \"landing\" )");
    EXPECT_EQ(AfterABatch(), "reed_marsh");
}

TEST_F(TickBatchTest, AChapterWonInTheSecondTickOpensTheEndPages) {
    HeartbeatInTwoTicks("drav_win( context, \"The ferry pulls away.\" )");
    const std::uint32_t start = game().GetTick();
    EXPECT_EQ(AfterABatch(), "Congratulations!");
    EXPECT_EQ(game().GetTick(), start + 2);
}

// The doors of a batch are heard once, however often a script swung them.
TEST_F(TickBatchTest, ABurstOfLikeEventsIsHeardOncePerBatch) {
    HeartbeatInTwoTicks("for i = 1, 900 do drav_open_door( context, \"sluice_gate\" ) end");
    m_shell.audio->played.clear();
    AfterABatch();
    const auto& played = m_shell.audio->played;
    EXPECT_EQ(std::count(played.begin(), played.end(), SoundIdForEventCode(DRAV::EVENT_DOORS_OPENED)), 1);
}

// A message whose ticks have worked its share starts nothing more: the ticks it is
// behind are dropped, and what its last tick left for the shell (a page, a journey)
// waits for the next message, the window drawn between.
TEST_F(TickBatchTest, AMessageThatHasWorkedItsShareLeavesTheRestToTheNext) {
    std::vector<DRAV::CScriptFunction> functions(DRAV::GetScriptFunctions().begin(), DRAV::GetScriptFunctions().end());
    functions.push_back({"work_a_share", WorkAShare, WorkAShare});
    const QuillmereTest::ScopedScriptFunctions installed(functions);
    const std::pair<const char*, const char*> rows[] = {
        {"", "reedwater_landing"},
        {"drav_dialog_box( context, \"Ferry\", \"The ferry is late.\" )", "Ferry"},
        {"drav_dialog_box( context, \"Ferry\", \"Late.\" ) drav_dialog_box( context, \"Bell\", \"Ring.\" )", "Ferry"},
        {"drav_goto_area( context, \"reed_marsh\", \"landing\" )", "reed_marsh"}};
    for (const auto& [then, next] : rows) {
        HeartbeatInTwoTicks(std::string("work_a_share( ) ") + then);
        const std::uint32_t start = game().GetTick();
        EXPECT_EQ(AfterABatch(), "reedwater_landing") << then;
        EXPECT_EQ(game().GetTick(), start + 2) << then;
        TimerAfter(16);
        EXPECT_EQ(Showing(), next) << then;
        for (; app().GetCurrentDialog(); TimerAfter(16)) app().CloseDialog(1);
    }
}

}  // namespace
