#include <gtest/gtest.h>

#include <string>

#include "common/data_file_reader.h"
#include "common/exception.h"
#include "rules/definitions/talk_state.h"
#include "support/error_code.h"
#include "support/sample_module.h"

using DRAV::FindTalkState;
using DRAV::TalkStateList;

namespace {

TalkStateList ReadStates(const std::string& text) {
    DRAVCommon::CDataFileReader reader(QuillmereTest::TextStream(text), "talk.drav");
    TalkStateList states;
    DRAV::ReadTalkStates(states, reader);
    EXPECT_TRUE(reader.AtEnd()) << reader.GetToken();
    return states;
}

std::int32_t ReadError(const std::string& text) {
    return QuillmereTest::ErrorCodeOf([&] { ReadStates(text); });
}

TEST(TalkStates, ReadInFileOrderWithTheirScripts) {
    TalkStateList states = ReadStates(
        "<talk>\n"
        " <state> start\n"
        "  <lua> drav_goto_state( context, \"fare\" ) </lua>\n"
        " </state>\n"
        " <state> fare 0\n"
        "  <settag> ferry_fare </settag>\n"
        " </state>\n"
        " <state> farewell ( mood calm ) ( pace slow )\n"
        "  <settag> ferry_fare </settag>\n"
        " </state>\n"
        "</talk>\n");
    ASSERT_EQ(states.size(), 3u);
    EXPECT_EQ(states[0]->GetName(), "start");
    EXPECT_NE(states[0]->GetScript()->GetSource().find("drav_goto_state( context, \"fare\" )"), std::string::npos);
    // The placeholder and the word pairs leave the same script behind.
    EXPECT_EQ(states[1]->GetScript()->GetSource(), states[2]->GetScript()->GetSource());
}

TEST(TalkStates, EmptyTalkGivesNoStatesAndAppends) {
    EXPECT_TRUE(ReadStates("<talk> </talk>").empty());

    DRAVCommon::CDataFileReader reader(
        QuillmereTest::TextStream("<talk> <state> b <settag> t </settag> </state> </talk>"), "talk.drav");
    TalkStateList states = ReadStates("<talk> <state> a <settag> t </settag> </state> </talk>");
    DRAV::ReadTalkStates(states, reader);
    ASSERT_EQ(states.size(), 2u);
    EXPECT_EQ(states[1]->GetName(), "b");
}

TEST(TalkStates, BadDataIsRefused) {
    EXPECT_EQ(ReadError("<talk> <state> start </state> </talk>"), DRAV_ERR_BAD_DATA);
    EXPECT_EQ(ReadError("<talk> <state> start 0 </state> </talk>"), DRAV_ERR_BAD_DATA);
    EXPECT_EQ(ReadError("<talk> <state> start <settag> a b </settag> </state> </talk>"), DRAV_ERR_BAD_DATA);
    EXPECT_EQ(ReadError("<talk> <state> start <lua> return 1 </state> </talk>"), DRAV_ERR_BAD_DATA);
    EXPECT_EQ(ReadError("<talk> <state> start <settag> a </settag> </state> stray </talk>"), DRAV_ERR_BAD_DATA);
    EXPECT_EQ(ReadError("<talk> <state> start <settag> a </settag> <settag> b </settag> </state> </talk>"),
              DRAV_ERR_BAD_DATA);
    EXPECT_EQ(ReadError("<talk> <state> start <settag> a </settag> </state>"), DRAV_ERR_BAD_DATA);
}

TEST(TalkStates, FindTakesTheFirstOfAName) {
    EXPECT_EQ(FindTalkState({}, "start"), nullptr);
    TalkStateList states = ReadStates(
        "<talk>"
        " <state> start <settag> first </settag> </state>"
        " <state> other <settag> other </settag> </state>"
        " <state> start <settag> second </settag> </state> "
        "</talk>");
    ASSERT_EQ(FindTalkState(states, "start"), states[0].get());
    EXPECT_EQ(FindTalkState(states, "other"), states[1].get());
    EXPECT_EQ(FindTalkState(states, "Start"), nullptr);
    EXPECT_EQ(FindTalkState(states, ""), nullptr);
}

TEST(TalkChoice, KeepsTextAndTarget) {
    DRAV::CTalkChoice choice("Take me across.", "fare");
    EXPECT_EQ(choice.GetText(), "Take me across.");
    EXPECT_EQ(choice.GetTargetState(), "fare");
}

}  // namespace
