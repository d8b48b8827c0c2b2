// Conversations on the sample: each step a talk order the engine runs at once,
// read back into lines and numbered replies.

#include <gtest/gtest.h>

#include <algorithm>

#include "common/data_file_reader.h"
#include "game/audio2.h"
#include "game/dialogs/talk/store_dlg.h"
#include "game/dialogs/talk/talk_dlg.h"
#include "platform/win32/virtual_keys.h"
#include "trade_test_support.h"
#include "world/area.h"
#include "world/events/event.h"
#include "world/object.h"

namespace {

using QuillmereTest::ShellWithGame;

DRAV::TalkStateList ReadStates(const std::string& text) {
    DRAVCommon::CDataFileReader reader(QuillmereTest::TextStream(text), "talk.drav");
    DRAV::TalkStateList states;
    DRAV::ReadTalkStates(states, reader);
    return states;
}

class TalkDlgTest : public ::testing::Test, public ShellWithGame {
protected:
    void Open(const DRAV::CThing& partner) {
        CTalkDlg::Open(app, DRAV::CTalkEvent(Wren().GetId(), partner.GetId()));
    }
    CTalkDlg& Talk() {
        auto* talk = Current<CTalkDlg>();
        if (!talk) throw std::runtime_error("no conversation shown");
        return *talk;
    }
};

TEST_F(TalkDlgTest, RepliesAreNumberedAndEchoedIntoTheNextStep) {
    ASSERT_TRUE(loaded);
    const auto marra = Beside("reed_witch");
    ASSERT_TRUE(marra);
    const std::int32_t suspended = app.GetSuspendCount();
    Open(*marra);
    EXPECT_EQ(audio->played, std::vector<int>{0}) << "the conversation opens with the click";
    EXPECT_EQ(Talk().GetTitle(), "Wren : Marra the Reed Witch");
    EXPECT_EQ(recorder.titles.back(), "Quillmere - Wren : Marra the Reed Witch");
    EXPECT_EQ(Talk().GetLines(), (std::vector<std::string>{
                                     "Marra the Reed Witch : Lost, are you? Nobody walks this far into the reeds "
                                     "without a reason."}));
    EXPECT_EQ(Talk().GetReplies(),
              (std::vector<std::string>{"1 : What are the lights in the reeds at night?",
                                        "2 : Will you walk with us a while?", "3 : Farewell, Marra.",
                                        "4 : Just passing by."}));
    EXPECT_EQ(app.GetTalkFocus(), &Wren());
    EXPECT_EQ(app.GetMessageLog().back(), Talk().GetLines().back());

    // Four replies: leaving is no answer, and a digit beyond them does nothing.
    for (int key : {int(VK_ESCAPE), int(VK_RETURN), int('5')}) Key(key);
    EXPECT_NE(Current<CTalkDlg>(), nullptr);

    audio->played.clear();
    Key('3');
    ASSERT_NE(Current<CTalkDlg>(), nullptr);
    EXPECT_EQ(audio->played, std::vector<int>{0}) << "the reply's close is the step's one click";
    EXPECT_EQ(Talk().GetLines().front(), "Wren : Farewell, Marra.");
    EXPECT_EQ(Talk().GetReplies(), (std::vector<std::string>{"1 : Done"}));
    // The one reply leads nowhere: Enter ends the talk and the clock runs again.
    Key(VK_RETURN);
    EXPECT_EQ(app.GetCurrentDialog(), nullptr);
    EXPECT_EQ(app.GetSuspendCount(), suspended);
    EXPECT_EQ(app.GetTalkFocus(), nullptr);

    // Taken out of the area altogether: the talk ends before her replies are read.
    marra->FinalizeMove(Wren().GetX() + 2, Wren().GetY());
    Open(*marra);
    ASSERT_NE(Current<CTalkDlg>(), nullptr);
    const auto removed = game.Area().RemoveActor(*marra);
    Key('1');
    EXPECT_EQ(app.GetCurrentDialog(), nullptr);
    EXPECT_EQ(app.GetMessageLog().back(), "The conversation breaks off.");
    EXPECT_EQ(game.Game().GetParty().size(), 1u);
}

// The talk box breaks a line at the markup; the log shows none of it.
TEST_F(TalkDlgTest, TheLogShowsNoMarkupOfALineTheTalkBoxBreaks) {
    ASSERT_TRUE(loaded);
    Open(*Beside("innkeeper"));
    EXPECT_NE(Talk().GetLines().back().find(" LINE "), std::string::npos);
    EXPECT_NE(app.GetMessageLog().back().find("in the book:  - Wren ("), std::string::npos) << app.GetMessageLog().back();
}

TEST_F(TalkDlgTest, AMemberJoiningResetsTheSelectionWhileTheTalkIsShown) {
    ASSERT_TRUE(loaded);
    const auto marra = Beside("reed_witch");
    ASSERT_TRUE(marra);
    Open(*marra);
    ASSERT_EQ(app.GetSelectedMember(), 0u);
    Key('2');
    ASSERT_NE(Current<CTalkDlg>(), nullptr);
    EXPECT_EQ(game.Game().GetParty().size(), 2u);
    EXPECT_EQ(app.GetSelectedMember(), CDRAVApp::kWholeParty);
    EXPECT_EQ(Talk().GetLines().front(), "Wren : Will you walk with us a while?");
}

// A step's events are one batch, as a tick's: its party changes and lines are handled once.
TEST_F(TalkDlgTest, AStepsBurstOfChangesIsHandledOnceAsATicksIs) {
    ASSERT_TRUE(loaded);
    const auto marra = Beside("reed_witch");
    ASSERT_TRUE(marra);
    marra->SetTalkStates(ReadStates(
        "<talk> <state> start <lua> for i = 1, 20 do drav_join_party( context ) drav_give_gold( context, 1 ) "
        "drav_leave_party( context ) end drav_join_party( context ) </lua> </state> </talk>"));
    audio->played.clear();
    Open(*marra);
    EXPECT_EQ(std::count(audio->played.begin(), audio->played.end(), SoundIdForEventCode(DRAV::MESSAGE_GOLD)), 1);
    EXPECT_EQ(Talk().GetLines().size(), 20u) << "every line is on the page";
    EXPECT_EQ(app.GetSelectedMember(), CDRAVApp::kWholeParty) << "the party as it stands after the step";
}

TEST_F(TalkDlgTest, AnObjectsRepliesAreNotEchoedAndSilentPartnersHaveNothingToSay) {
    ASSERT_TRUE(loaded);
    DRAV::CObject* heron = nullptr;
    for (const auto& object : game.Area().GetObjects())
        if (object->GetName() == "Heron Statue") heron = object.get();
    ASSERT_NE(heron, nullptr);
    Wren().FinalizeMove(heron->GetX(), heron->GetY() - 1.5);
    ASSERT_TRUE(Wren().IsNextToObject(*heron));
    Open(*heron);
    ASSERT_GE(Talk().GetReplies().size(), 2u);
    EXPECT_EQ(Talk().GetReplies()[0], "1 : Tell me of the river's past.");
    Key('1');
    ASSERT_NE(Current<CTalkDlg>(), nullptr);
    for (const auto& line : Talk().GetLines()) EXPECT_EQ(line.find("Wren : "), std::string::npos) << line;
    while (app.GetCurrentDialog()) app.CloseDialog(0);

    // A partner without states: no order, one way out by any key that answers.
    const auto smuggler = Beside("reed_smuggler");
    ASSERT_TRUE(smuggler);
    Open(*smuggler);
    EXPECT_EQ(Talk().GetLines(), (std::vector<std::string>{"Reed Smuggler has nothing to say."}));
    EXPECT_EQ(Talk().GetReplies(), (std::vector<std::string>{"1 : Done"}));
    Key(VK_ESCAPE);
    EXPECT_EQ(app.GetCurrentDialog(), nullptr);
}

TEST_F(TalkDlgTest, OnlyTheFirstNineOfTenRepliesHaveKeys) {
    ASSERT_TRUE(loaded);
    const auto marra = Beside("reed_witch");
    ASSERT_TRUE(marra);
    std::string lua;
    for (int i = 1; i <= 10; ++i) lua += "drav_add_talk_path( context, \"Reply " + std::to_string(i) + "\", \"\" ) ";
    marra->SetTalkStates(ReadStates("<talk> <state> start <lua> " + lua + " </lua> </state> </talk>"));
    Open(*marra);
    ASSERT_EQ(Talk().GetReplies().size(), 10u);
    EXPECT_EQ(Talk().GetReplies()[9], "10 : Reply 10");
    int result = -1;
    EXPECT_TRUE(Talk().OnKey('9', false, &result));
    EXPECT_EQ(result, CTalkDlg::kFirstReplyId + 8);
    EXPECT_FALSE(Talk().OnKey('0', false, &result));
    // The tenth only by a click, which closes like any reply.
    EXPECT_TRUE(Talk().OnButton(CTalkDlg::kFirstReplyId + 9));
    EXPECT_FALSE(Talk().OnButton(0));
    EXPECT_FALSE(Talk().OnButton(CTalkDlg::kFirstReplyId + 100));
}

TEST_F(TalkDlgTest, AStoreRequestLeadsToTheStoreWhicheverReplyAndOnlyOnce) {
    ASSERT_TRUE(loaded);
    const auto tansy = Beside("landing_trader");
    ASSERT_TRUE(tansy);
    Open(*tansy);
    Key('1');  // "Let me see your goods."
    ASSERT_NE(Current<CTalkDlg>(), nullptr);
    EXPECT_TRUE(tansy->GetStoreFlag());
    Key(VK_ESCAPE);
    ASSERT_NE(Current<CStoreDlg>(), nullptr);
    EXPECT_EQ(recorder.titles.back(), "Quillmere - Tansy the Trader - Buy/Sell");
    Key(VK_ESCAPE);
    EXPECT_EQ(app.GetCurrentDialog(), nullptr);

    // The next talk with her is a talk again: "Another time." ends it, said as
    // every reply is, so that the next talk does not read as this one again.
    Open(*tansy);
    Key('2');
    EXPECT_EQ(app.GetCurrentDialog(), nullptr);
    EXPECT_EQ(app.GetMessageLog().back(), "Wren : Another time.");
}

TEST_F(TalkDlgTest, EventsOtherThanLinesWaitUntilTheTalkIsOver) {
    ASSERT_TRUE(loaded);
    const auto marra = Beside("reed_witch");
    ASSERT_TRUE(marra);
    game.Game().PushEvent(std::make_shared<DRAV::CDialogBoxEvent>(36, "store", ""));
    Open(*marra);
    ASSERT_NE(Current<CTalkDlg>(), nullptr);
    ASSERT_EQ(app.GetPendingEvents().size(), 1u);
    EXPECT_EQ(app.GetPendingEvents().front()->GetCode(), 36);
}

TEST_F(TalkDlgTest, APartnerGoneOrOutOfReachEndsTheTalkWithoutABrokenStack) {
    ASSERT_TRUE(loaded);
    const std::int32_t suspended = app.GetSuspendCount();
    // Nobody of that id in the area.
    CTalkDlg::Open(app, DRAV::CTalkEvent(Wren().GetId(), (DRAV::THING_ACTOR << 24) + 0xABCDEF));
    EXPECT_EQ(app.GetCurrentDialog(), nullptr);
    EXPECT_EQ(app.GetSuspendCount(), suspended);

    const auto marra = Beside("reed_witch");
    ASSERT_TRUE(marra);
    Open(*marra);
    ASSERT_NE(Current<CTalkDlg>(), nullptr);
    // A script walked her off between the steps.
    marra->FinalizeMove(marra->GetX() + 30, marra->GetY() + 30);
    Key('2');
    EXPECT_EQ(app.GetCurrentDialog(), nullptr);
    EXPECT_EQ(app.GetMessageLog().back(), "The conversation breaks off.");
    EXPECT_TRUE(app.GetCoveredDialogs().empty());
    EXPECT_EQ(app.GetSuspendCount(), suspended);
    EXPECT_EQ(app.GetTalkFocus(), nullptr);

    // Taken out of the area altogether: the talk ends before her replies are read.
    marra->FinalizeMove(Wren().GetX() + 2, Wren().GetY());
    Open(*marra);
    ASSERT_NE(Current<CTalkDlg>(), nullptr);
    const auto removed = game.Area().RemoveActor(*marra);
    Key('1');
    EXPECT_EQ(app.GetCurrentDialog(), nullptr);
    EXPECT_EQ(app.GetMessageLog().back(), "The conversation breaks off.");
    EXPECT_EQ(game.Game().GetParty().size(), 1u);

    // Struck down and cleared away by a tick while the page waited, with nothing
    // else holding her: the page still names the two, and the talk breaks off.
    DRAV::CActor* struck = Beside("reed_witch").get();
    Open(*struck);
    ASSERT_NE(Current<CTalkDlg>(), nullptr);
    struck->SetActionState(DRAV::ACTION_DEAD);
    game.Engine().RemoveDeadActors();
    EXPECT_EQ(Talk().GetTitle(), "Wren : Marra the Reed Witch");
    EXPECT_EQ(app.GetTalkFocus(), &Wren());
    Key('1');
    EXPECT_EQ(app.GetCurrentDialog(), nullptr);
    EXPECT_EQ(app.GetMessageLog().back(), "The conversation breaks off.");
}

}  // namespace
