// Traps and triggers of object definitions: their grammar, the generated trigger
// script, and the clone each object gets.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "rules/definitions/trap.h"
#include "rules_test_util.h"
#include "script/lua_script.h"
#include "script/script_loader.h"
#include "script/script_function.h"
#include "support/error_code.h"

using namespace DRAV;
using QuillmereTest::ErrorCodeOf;
using RulesTest::ReaderOver;

namespace {

CTrap TrapFrom(const std::string& text) {
    auto reader = ReaderOver(text);
    CTrap trap;
    ReadTrap(*reader, trap);
    EXPECT_TRUE(reader->AtEnd());
    return trap;
}

CTrap TriggerFrom(const std::string& text, const std::string& objectName) {
    auto reader = ReaderOver(text);
    CTrap trap;
    ReadTrigger(*reader, trap, objectName);
    EXPECT_TRUE(reader->AtEnd());
    return trap;
}

// What the trigger script asked of the native functions.
struct Calls {
    std::vector<std::string> log;
    bool tagSet = false;
    bool statPasses = true;
} g_calls;

std::string Text(lua_State* state, int index) {
    size_t length = 0;
    const char* text = luaL_checklstring(state, index, &length);
    return std::string(text, length);
}

int CheckTag(lua_State* state) {
    g_calls.log.push_back("check " + Text(state, 2));
    lua_pushboolean(state, g_calls.tagSet);
    return 1;
}
int SetTag(lua_State* state) {
    g_calls.log.push_back("set " + Text(state, 2));
    return 0;
}
int StatCheck(lua_State* state) {
    g_calls.log.push_back("stat " + Text(state, 2) + " " + std::to_string(luaL_checkinteger(state, 3)));
    lua_pushboolean(state, g_calls.statPasses);
    return 1;
}
int DialogBox(lua_State* state) {
    g_calls.log.push_back("box " + Text(state, 2) + ": " + Text(state, 3));
    return 0;
}

const CScriptFunction kRecorders[] = {
    {"drav_check_tag", CheckTag, CheckTag},
    {"drav_set_tag", SetTag, SetTag},
    {"drav_special_stat_check", StatCheck, StatCheck},
    {"drav_dialog_box", DialogBox, DialogBox},
};

class TriggerScriptTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_previous = SetScriptFunctions(kRecorders);
        g_calls = Calls();
    }
    void TearDown() override { SetScriptFunctions(m_previous); }

    static std::vector<std::string> Run(const CTrap& trap) {
        g_calls.log.clear();
        CScriptContext context;
        trap.GetScript()->Eval(nullptr, context);
        return g_calls.log;
    }

private:
    std::span<const CScriptFunction> m_previous;
};

using Log = std::vector<std::string>;

}  // namespace

TEST(TrapGrammar, ReadsEveryFieldWithASpellKey) {
    CTrap trap = TrapFrom("<trap> false 35 -2 reed_spark 4.5 </trap>");
    EXPECT_FALSE(trap.IsHidden());
    EXPECT_EQ(trap.GetDifficulty(), 35u);
    EXPECT_EQ(trap.GetSpellLevel(), -2);
    EXPECT_EQ(trap.GetSpellKey(), "reed_spark");
    EXPECT_EQ(trap.GetScript(), nullptr);
    EXPECT_DOUBLE_EQ(trap.GetRearmDelay(), 4.5);
    EXPECT_EQ(trap.GetReadyTick(), 0u);
}

TEST(TrapGrammar, ZeroInPlaceOfTheSpellMeansNeitherSpellNorScript) {
    CTrap trap = TrapFrom("<trap> true 0 3 0 0 </trap>");
    EXPECT_TRUE(trap.IsHidden());
    EXPECT_EQ(trap.GetDifficulty(), 0u);
    EXPECT_EQ(trap.GetSpellLevel(), 3);
    EXPECT_TRUE(trap.GetSpellKey().empty());
    EXPECT_EQ(trap.GetScript(), nullptr);
    EXPECT_DOUBLE_EQ(trap.GetRearmDelay(), 0.0);
}

TEST(TrapGrammar, ALuaElementBecomesTheScriptAndLeavesNoSpell) {
    CTrap trap = TrapFrom("<trap> true 10 1 <lua> return 1 </lua> 2 </trap>");
    ASSERT_NE(trap.GetScript(), nullptr);
    EXPECT_NE(trap.GetScript()->GetSource().find("return 1"), std::string::npos);
    EXPECT_TRUE(trap.GetSpellKey().empty());
    EXPECT_DOUBLE_EQ(trap.GetRearmDelay(), 2.0);
}

TEST(TrapGrammar, MalformedTrapsFailWithTheReaderCode) {
    const std::vector<std::string> malformed = {
        "<trap> yes 10 1 spark 2 </trap>",      // not a boolean
        "<trap> true -1 1 spark 2 </trap>",     // negative difficulty
        "<trap> true 10 1 spark </trap>",       // no delay
        "<trap> true 10 1 spark 2 extra </trap>",
        "<trap> true 10 1 spark 2",             // never closed
        "<trigger> true 10 1 spark 2 </trigger>",
        "",
    };
    for (const std::string& text : malformed) {
        auto reader = ReaderOver(text);
        CTrap trap;
        EXPECT_EQ(ErrorCodeOf([&] { ReadTrap(*reader, trap); }), DRAV_ERR_BAD_DATA) << text;
    }
}

TEST(TrapGrammar, CloneCopiesTheDefinitionAndIsReadyAtOnce) {
    CTrap trap = TrapFrom("<trap> false 20 4 <lua> return 0 </lua> 1.5 </trap>");
    trap.SetReadyTick(900);
    std::shared_ptr<CTrap> copy = trap.Clone();
    ASSERT_NE(copy, nullptr);
    EXPECT_EQ(copy->GetReadyTick(), 0u);
    EXPECT_EQ(trap.GetReadyTick(), 900u);
    EXPECT_FALSE(copy->IsHidden());
    EXPECT_EQ(copy->GetDifficulty(), 20u);
    EXPECT_EQ(copy->GetSpellLevel(), 4);
    EXPECT_DOUBLE_EQ(copy->GetRearmDelay(), 1.5);
    EXPECT_EQ(copy->GetScript(), trap.GetScript()) << "clones share the script object";

    // Each object's trap changes on its own.
    CTrap hidden = TrapFrom("<trap> true 5 0 spark 3 </trap>");
    std::shared_ptr<CTrap> first = hidden.Clone();
    std::shared_ptr<CTrap> second = hidden.Clone();
    first->SetHidden(false);
    first->SetReadyTick(30);
    EXPECT_TRUE(second->IsHidden());
    EXPECT_TRUE(hidden.IsHidden());
    EXPECT_EQ(second->GetReadyTick(), 0u);
    EXPECT_EQ(second->GetSpellKey(), "spark");
}

TEST_F(TriggerScriptTest, WithoutAGroupTheScriptShowsTheTextWithoutACheck) {
    CTrap trap = TriggerFrom("<trigger> note_read \"Scratched into the bark.\" </trigger>", "Old Willow");
    EXPECT_TRUE(trap.IsHidden());
    EXPECT_EQ(trap.GetDifficulty(), 0u);
    EXPECT_EQ(trap.GetSpellLevel(), 0);
    EXPECT_TRUE(trap.GetSpellKey().empty());
    EXPECT_DOUBLE_EQ(trap.GetRearmDelay(), 60.0);
    ASSERT_NE(trap.GetScript(), nullptr);
    EXPECT_EQ(trap.GetScript()->GetSource(),
              MakeTriggerScript("note_read", kTriggerNoSpecialStat, 0, "Old Willow", "Scratched into the bark.")
                  ->GetSource());

    EXPECT_EQ(Run(trap), (Log{"check note_read", "box Old Willow: Scratched into the bark.", "set note_read"}));
    g_calls.tagSet = true;
    EXPECT_EQ(Run(trap), (Log{"check note_read"}));
}

TEST_F(TriggerScriptTest, AZeroGroupIsTheSameAsNoGroup) {
    CTrap trap = TriggerFrom("<trigger> seen 0 \"A path.\" </trigger>", "Stone");
    EXPECT_EQ(Run(trap), (Log{"check seen", "box Stone: A path.", "set seen"}));
}

TEST_F(TriggerScriptTest, AGroupAddsTheStatisticCheck) {
    CTrap trap = TriggerFrom("<trigger> cache_found ( observation 40 ) \"A loose board.\" </trigger>", "Floor");
    EXPECT_EQ(Run(trap), (Log{"check cache_found", "stat observation 40", "box Floor: A loose board.",
                              "set cache_found"}));
    g_calls.statPasses = false;
    EXPECT_EQ(Run(trap), (Log{"check cache_found", "stat observation 40"}));
}

TEST(TriggerGrammar, UnknownStatisticIsCodeTwoNamingIt) {
    auto reader = ReaderOver("<trigger> t ( charm 10 ) \"x\" </trigger>");
    CTrap trap;
    RulesTest::ExpectThrowsCode([&] { ReadTrigger(*reader, trap, "Sign"); }, DRAV_ERR_OUT_OF_RANGE,
                                "No Special Stat: charm");
}

TEST(TriggerGrammar, MalformedTriggersFailWithCodeOne) {
    const std::vector<std::string> malformed = {
        "<trigger> t ( traps ) \"x\" </trigger>",      // group short of its value
        "<trigger> t ( traps 5 ) unquoted </trigger>",
        "<trigger> t \"x\" 5 </trigger>",
        "<trigger> t </trigger>",
    };
    for (const std::string& text : malformed) {
        auto reader = ReaderOver(text);
        CTrap trap;
        EXPECT_EQ(ErrorCodeOf([&] { ReadTrigger(*reader, trap, "Sign"); }), DRAV_ERR_BAD_DATA) << text;
    }
}
