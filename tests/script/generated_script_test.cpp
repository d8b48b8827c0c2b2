// Generated scripts carry module text; whatever that text holds, the script must
// compile and hand the text on unchanged.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "script/script_loader.h"
#include "script/script_test_support.h"

using DRAV::CScriptContext;
using DRAV::CScriptFunction;

namespace {

const std::vector<std::string>& HostileTexts() {
    static const std::vector<std::string> texts = {
        "plain",
        "",
        "He said \"stop\" twice",
        "\"",
        "trailing backslash \\",
        "C:\\reeds\\n not a newline",
        "]] end of a long string",
        "[==[ and ]==]",
        "first line\nsecond line\r\nthird",
        "\") drav_set_tag(context, \"pwned\") --",
        std::string("nul\0inside", 10),
        "\x01\x02\x1f\x7f" "9",
        "caf\xc3\xa9 \xff\xfe\x80",
        "\t tab and -- dashes",
    };
    return texts;
}

bool Compiles(const std::string& source, std::string& error) {
    lua_State* state = luaL_newstate();
    const int status = luaL_loadstring(state, source.c_str());
    if (status != LUA_OK) error = lua_tostring(state, -1);
    lua_close(state);
    return status == LUA_OK;
}

TEST(GeneratedScripts, CompileWhateverTheTextHolds) {
    for (const std::string& text : HostileTexts()) {
        std::string error;
        DRAV::CLuaScript setTag(text);
        EXPECT_TRUE(Compiles(setTag.GetSource(), error)) << error;
        for (std::int32_t statistic : {0, 4, DRAV::kTriggerNoSpecialStat}) {
            auto trigger = DRAV::MakeTriggerScript(text, statistic, -3, text, text);
            EXPECT_TRUE(Compiles(trigger->GetSource(), error)) << error;
        }
    }
}

// What the stand-in native functions saw.
struct Seen {
    std::vector<std::string> setTags;
    std::vector<std::string> checkedTags;
    std::vector<std::string> statKeys;
    std::vector<lua_Integer> statNumbers;
    std::vector<std::string> titles;
    std::vector<std::string> texts;
    bool tagSet = false;
    bool statPasses = true;
} g_seen;

std::string Arg(lua_State* state, int index) {
    size_t length = 0;
    const char* text = luaL_checklstring(state, index, &length);
    return std::string(text, length);
}

int SetTag(lua_State* state) {
    g_seen.setTags.push_back(Arg(state, 2));
    return 0;
}
int CheckTag(lua_State* state) {
    g_seen.checkedTags.push_back(Arg(state, 2));
    lua_pushboolean(state, g_seen.tagSet);
    return 1;
}
int StatCheck(lua_State* state) {
    g_seen.statKeys.push_back(Arg(state, 2));
    g_seen.statNumbers.push_back(luaL_checkinteger(state, 3));
    lua_pushboolean(state, g_seen.statPasses);
    return 1;
}
int DialogBox(lua_State* state) {
    g_seen.titles.push_back(Arg(state, 2));
    g_seen.texts.push_back(Arg(state, 3));
    return 0;
}

const CScriptFunction kRecorders[] = {
    {"drav_set_tag", SetTag, SetTag},
    {"drav_check_tag", CheckTag, CheckTag},
    {"drav_special_stat_check", StatCheck, StatCheck},
    {"drav_dialog_box", DialogBox, DialogBox},
};

TEST(GeneratedScripts, RunWithTheOriginalStrings) {
    QuillmereTest::ScopedScriptFunctions installed(kRecorders);
    for (const std::string& text : HostileTexts()) {
        const std::string title = "Title " + text;
        g_seen = Seen();
        CScriptContext context;
        DRAV::CLuaScript(text).Eval(nullptr, context);
        EXPECT_EQ(g_seen.setTags, std::vector<std::string>{text});

        g_seen = Seen();
        DRAV::MakeTriggerScript(text, 3, 25, title, text)->Eval(nullptr, context);
        EXPECT_EQ(g_seen.checkedTags, std::vector<std::string>{text});
        EXPECT_EQ(g_seen.statKeys, std::vector<std::string>{"stealth"});
        EXPECT_EQ(g_seen.statNumbers, std::vector<lua_Integer>{25});
        EXPECT_EQ(g_seen.titles, std::vector<std::string>{title});
        EXPECT_EQ(g_seen.texts, std::vector<std::string>{text});
        EXPECT_EQ(g_seen.setTags, std::vector<std::string>{text});
    }
}

TEST(GeneratedScripts, TriggerFiresOnlyWhileTagUnsetAndCheckPasses) {
    QuillmereTest::ScopedScriptFunctions installed(kRecorders);
    auto trigger = DRAV::MakeTriggerScript("reed_note", 1, 30, "Reeds", "A hidden cache.");
    CScriptContext context;

    g_seen = Seen();
    g_seen.tagSet = true;
    trigger->Eval(nullptr, context);
    EXPECT_TRUE(g_seen.statKeys.empty());
    EXPECT_TRUE(g_seen.texts.empty());
    EXPECT_TRUE(g_seen.setTags.empty());

    g_seen = Seen();
    g_seen.statPasses = false;
    trigger->Eval(nullptr, context);
    EXPECT_EQ(g_seen.statKeys, std::vector<std::string>{"traps"});
    EXPECT_TRUE(g_seen.texts.empty());
    EXPECT_TRUE(g_seen.setTags.empty());
}

}  // namespace
