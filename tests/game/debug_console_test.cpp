#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "app_test_access.h"
#include "common/trace.h"
#include "engine/engine.h"
#include "game/app.h"
#include "rules/vocabulary/skill_id.h"
#include "support/message_texts.h"
#include "support/sample_game.h"
#include "world/actor.h"
#include "world/game.h"
#include "rules/items/item_template.h"
#include "world/item.h"

namespace {

// The shell over a running game of "Wren", without a window.
class DebugConsoleTest : public ::testing::Test {
protected:
    DebugConsoleTest() {
        CDRAVAppTestAccess::SetEngine(m_app, m_game.EnginePtr());
        CDRAVAppTestAccess::StartPlaying(m_app);
        m_game.DrainEvents();
    }
    std::int32_t Tonics() const {
        std::int32_t count = 0;
        for (const auto& item : m_game.Main()->GetBackpackItems())
            if (item->GetTemplate().GetKey() == "river_tonic") count += item->GetCount();
        return count;
    }
    std::vector<std::string> Messages() const { return QuillmereTest::MessageTexts(m_game.DrainEvents()); }

    QuillmereTest::SampleGame m_game;
    CDRAVApp m_app;
};

TEST_F(DebugConsoleTest, ItemsComeOneByDefaultOrByCountAndMalformedLinesDoNothing) {
    const std::int32_t before = Tonics();
    m_app.ExecuteDebugCommand("item river_tonic");
    EXPECT_EQ(Tonics(), before + 1);
    m_app.ExecuteDebugCommand("item river_tonic 3");
    EXPECT_EQ(Tonics(), before + 4);
    EXPECT_EQ(Messages(), (std::vector<std::string>{"Wizard: Created River Tonic", "Wizard: Created River Tonic"}));

    // A capitalised word, a count that is no number, a negative count, which an
    // unsigned read would turn into four thousand million potions, and counts past
    // what one stack, and so a saved game, holds.
    for (const char* line : {"ITEM river_tonic", "item river_tonic many", "item river_tonic -1",
                             "item river_tonic 2147483648", "item river_tonic 4294967295", "item", "", "   "})
        m_app.ExecuteDebugCommand(line);
    EXPECT_EQ(Tonics(), before + 4);
    EXPECT_TRUE(Messages().empty());
}

TEST_F(DebugConsoleTest, GoldNeverFallsBelowNothing) {
    m_game.Game().SetGold(40);
    m_app.ExecuteDebugCommand("cash 25");
    EXPECT_EQ(m_game.Game().GetGold(), 65);
    m_app.ExecuteDebugCommand("cash -999999");
    EXPECT_EQ(m_game.Game().GetGold(), 0);
    m_app.ExecuteDebugCommand("cash lots");
    EXPECT_EQ(m_game.Game().GetGold(), 0);
}

TEST_F(DebugConsoleTest, SkillsOnlyForAMemberOfTheParty) {
    m_app.ExecuteDebugCommand("skill 7 sneak");
    m_app.ExecuteDebugCommand("skill 1 sneak");
    EXPECT_FALSE(m_game.Main()->HasSkill(DRAV::SKILL_SNEAK));
    m_app.ExecuteDebugCommand("skill 0 sneak");
    EXPECT_TRUE(m_game.Main()->HasSkill(DRAV::SKILL_SNEAK));
}

TEST_F(DebugConsoleTest, TagsAreSetAndClearedButNeverMadeByClearing) {
    m_app.ExecuteDebugCommand("tag lantern_lit");
    EXPECT_EQ(m_game.Game().GetQuestTags().at("lantern_lit"), 1);
    m_app.ExecuteDebugCommand("cleartag lantern_lit");
    m_app.ExecuteDebugCommand("cleartag never_set");
    EXPECT_EQ(m_game.Game().GetQuestTags().at("lantern_lit"), 0);
    EXPECT_EQ(m_game.Game().GetQuestTags().count("never_set"), 0u);
    m_app.ExecuteDebugCommand("traceon everything");
    EXPECT_EQ(m_game.Game().GetQuestTags().size(), 1u);
    m_app.ExecuteDebugCommand("traceoff");
}

TEST_F(DebugConsoleTest, TraceWordsTurnTheTraceOnAtTheirLevelAndOff) {
    auto traced = [](int level) {
        testing::internal::CaptureStderr();
        DRAV_TRACE(level, "ferry bell %d\n", level);
        return testing::internal::GetCapturedStderr();
    };
    EXPECT_EQ(traced(DRAVCommon::TRACE_HIGH), "") << "silent until the console asks";
    m_app.ExecuteDebugCommand("traceon trace.txt");
    EXPECT_NE(traced(DRAVCommon::TRACE_HIGH).find("ferry bell 1\n"), std::string::npos);
    EXPECT_EQ(traced(DRAVCommon::TRACE_LOW), "");
    m_app.ExecuteDebugCommand("tracelow trace.txt");
    EXPECT_NE(traced(DRAVCommon::TRACE_LOW).find("ferry bell 0\n"), std::string::npos);
    m_app.ExecuteDebugCommand("traceoff");
    EXPECT_EQ(traced(DRAVCommon::TRACE_HIGH), "");
}

TEST_F(DebugConsoleTest, DumptagsLogsEveryTagInKeyOrder) {
    m_app.ExecuteDebugCommand("dumptags");
    EXPECT_TRUE(m_app.GetMessageLog().empty()) << "no tags, no lines";
    m_game.Game().GetQuestTags()["weir_open"] = 3;
    m_game.Game().GetQuestTags()["ferry_paid"] = 1;
    m_app.ExecuteDebugCommand("dumptags");
    EXPECT_EQ(std::vector<std::string>(m_app.GetMessageLog().begin(), m_app.GetMessageLog().end()),
              (std::vector<std::string>{"ferry_paid : 1", "weir_open : 3"}));
}

TEST_F(DebugConsoleTest, WhatTheEngineRefusesLeavesTheGameAsItWas) {
    const double x = m_game.Main()->GetX();
    const auto actors = m_game.Area().GetActors().size();
    EXPECT_NO_THROW(m_app.ExecuteDebugCommand("move 100000 100000"));
    EXPECT_NO_THROW(m_app.ExecuteDebugCommand("monster no_such_monster"));
    EXPECT_NO_THROW(m_app.ExecuteDebugCommand("item no_such_item 2"));
    EXPECT_EQ(m_game.Main()->GetX(), x);
    EXPECT_EQ(m_game.Area().GetActors().size(), actors);
    EXPECT_EQ(Messages(), std::vector<std::string>{"Wizard: No such item."});
    ASSERT_FALSE(m_app.GetMessageLog().empty()) << "the refused move is told";
    EXPECT_NE(m_app.GetMessageLog().front().find("no place"), std::string::npos) << m_app.GetMessageLog().front();
}

}  // namespace
