// A script is compiled once, when it is read or generated; every evaluation loads
// that compiled chunk into its fresh state and compiles nothing, yet reports its
// failures exactly as a script compiled on the spot would.

#include <gtest/gtest.h>

#include <string>

#include "common/exception.h"
#include "script/lua_script.h"
#include "script/script_loader.h"
#include "script/script_test_support.h"
#include "support/lua_parse_count.h"

using DRAV::CScriptContext;
using QuillmereTest::LuaBody;
using QuillmereTest::LuaTextCompiles;

namespace {

std::int32_t Evaluate(const DRAV::CScript& script) {
    CScriptContext context;
    return script.Eval(nullptr, context);
}

std::string RunFailure(const DRAV::CScript& script) {
    try {
        Evaluate(script);
    } catch (const CDRAVException& error) {
        EXPECT_EQ(error.GetCode(), DRAV_ERR_SCRIPT) << error.GetMessage();
        return error.GetMessage();
    }
    ADD_FAILURE() << "no exception from " << script.GetSource();
    return "";
}

int Succeed(lua_State* state) {
    lua_pushboolean(state, 0);
    return 1;
}

const DRAV::CScriptFunction kTagFunctions[] = {
    {"drav_set_tag", Succeed, Succeed},
    {"drav_check_tag", Succeed, Succeed},
    {"drav_special_stat_check", Succeed, Succeed},
    {"drav_dialog_box", Succeed, Succeed},
};

TEST(CompiledScripts, EachScriptIsCompiledOnceAndNeverWhenItRuns) {
    const auto beforeRead = LuaTextCompiles();
    auto script = LuaBody("local n = 0 for i = 1, 3 do n = n + i end return n");
    DRAV::CLuaScript setTag("bell");
    auto trigger = DRAV::MakeTriggerScript("reed_note", 2, 40, "Reeds", "A hidden cache.", "objects.drav");
    const auto afterRead = LuaTextCompiles();
    EXPECT_EQ(afterRead - beforeRead, 3u);

    QuillmereTest::ScopedScriptFunctions installed(kTagFunctions);
    for (int run = 0; run < 3; ++run) {
        EXPECT_EQ(Evaluate(*script), 6);
        EXPECT_EQ(Evaluate(setTag), 0);
        EXPECT_EQ(Evaluate(*trigger), 0);
    }
    EXPECT_EQ(LuaTextCompiles(), afterRead);

    // The count sees every way into Lua's parser, the script's own `load` too.
    auto loading = LuaBody("return load(\"return 4\")()");
    const auto beforeLoad = LuaTextCompiles();
    EXPECT_EQ(Evaluate(*loading), 4);
    EXPECT_EQ(LuaTextCompiles() - beforeLoad, 1u);
}

TEST(CompiledScripts, RunTimeFailuresOfACheckedScriptReportAsBefore) {
    // Lua's position prefix names the element and the line the failure stands on,
    // at every run of the same compiled script.
    auto arithmetic = LuaBody("local x = nil\nreturn x + 1");
    for (int run = 0; run < 2; ++run)
        EXPECT_EQ(RunFailure(*arithmetic), "test.drav: lua:2: attempt to perform arithmetic on a nil value (local 'x')");

    // Code after the wrapper's own "end" runs when the chunk defines drav_script.
    EXPECT_EQ(RunFailure(*LuaBody("return 1 end error(\"top level\") function later()")),
              "test.drav: lua:2: top level");
    EXPECT_EQ(RunFailure(*LuaBody("error(\"Bad string arg\\n\", 0)")), "test.drav: Bad string arg\n");

    // A generated script with no origin is named by its own text, as Lua names a
    // chunk loaded from a string.
    EXPECT_EQ(RunFailure(DRAV::CLuaScript("bell")),
              "[string \"function drav_script( context )...\"]:2: attempt to call a nil value (global "
              "'drav_set_tag')");
    EXPECT_EQ(RunFailure(*DRAV::MakeTriggerScript("reed_note", 5, 0, "Reeds", "A cache.", "objects.drav (trap)")),
              "objects.drav (trap): lua:2: attempt to call a nil value (global 'drav_check_tag')");
}

TEST(CompiledScripts, AScriptTooLargeToCompileIsBadDataAndTheNextStillCompiles) {
    // Each constant of a table constructor costs the compiler a few dozen bytes.
    std::string huge = "return { ";
    for (int i = 0; i < 120000; ++i) huge += std::to_string(i) + ".5, ";
    huge += "}";
    try {
        LuaBody(huge);
        ADD_FAILURE() << "a script past the memory limit compiled";
    } catch (const CDRAVException& error) {
        EXPECT_EQ(error.GetCode(), DRAV_ERR_BAD_DATA);
        EXPECT_EQ(error.GetMessage(), "test.drav: the script needs more memory than a script may use");
    }
    EXPECT_EQ(Evaluate(*LuaBody("return 5")), 5);
    try {
        LuaBody("return (");
        ADD_FAILURE() << "a syntax error compiled";
    } catch (const CDRAVException& error) {
        EXPECT_EQ(error.GetMessage(), "test.drav: lua:3: unexpected symbol near 'end'");
    }
}

}  // namespace
