#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "common/exception.h"
#include "common/trace.h"
#include "script/lua_script.h"
#include "script/script_test_support.h"

using DRAV::CScriptContext;
using DRAV::CScriptFunction;
using QuillmereTest::LuaBody;
using QuillmereTest::ScopedScriptFunctions;

namespace {

std::int32_t EvalBody(const std::string& body, bool resultRequired = false) {
    CScriptContext context;
    context.resultRequired = resultRequired;
    return LuaBody(body)->Eval(nullptr, context);
}

CDRAVException EvalFailure(const DRAV::CLuaScript& script, CScriptContext& context) {
    try {
        script.Eval(nullptr, context);
    } catch (const CDRAVException& error) {
        return error;
    }
    ADD_FAILURE() << "no exception from " << script.GetSource();
    return CDRAVException(0);
}

TEST(LuaScriptEval, ConvertsTheReturnedValue) {
    EXPECT_EQ(EvalBody("return true"), 1);
    EXPECT_EQ(EvalBody("return false"), 0);
    EXPECT_EQ(EvalBody("return 7"), 7);
    EXPECT_EQ(EvalBody("return -7"), -7);
    EXPECT_EQ(EvalBody("return 7.0"), 7);
    EXPECT_EQ(EvalBody("return 2.5"), 0);
    EXPECT_EQ(EvalBody("return \"12\""), 12);
    EXPECT_EQ(EvalBody("return \"twelve\""), 0);
    EXPECT_EQ(EvalBody("return {}"), 0);
    EXPECT_EQ(EvalBody("return nil"), 0);
    EXPECT_EQ(EvalBody("local x = 1"), 0);
    // Only the low 32 bits of a wide integer count.
    EXPECT_EQ(EvalBody("return 4294967296 + 5"), 5);
}

TEST(LuaScriptEval, RequiredResultMustBeBooleanOrNumber) {
    EXPECT_EQ(EvalBody("return false", true), 0);
    EXPECT_EQ(EvalBody("return 3", true), 3);
    for (const char* body : {"local x = 1", "return {}", "return \"soon\""}) {
        CScriptContext context;
        context.resultRequired = true;
        CDRAVException error = EvalFailure(*LuaBody(body), context);
        EXPECT_EQ(error.GetCode(), DRAV_ERR_SCRIPT) << body;
        EXPECT_EQ(error.GetMessage(), "test.drav: the script returned no result") << body;
    }
}

TEST(LuaScriptEval, ASyntaxErrorIsFoundWhenTheScriptIsReadAndNamesItsFile) {
    try {
        LuaBody("return (");
        ADD_FAILURE() << "read without complaint";
    } catch (const CDRAVException& error) {
        EXPECT_EQ(error.GetCode(), DRAV_ERR_BAD_DATA);
        EXPECT_EQ(error.GetMessage(), "test.drav: lua:3: unexpected symbol near 'end'");
    }
}

TEST(LuaScriptEval, RuntimeErrorsAreTracedWithLuasText) {
    std::vector<std::string> traced;
    auto previous = DRAVCommon::SetTraceSink(
        [&](int, const char*, int, const char*, const std::string& text) { traced.push_back(text); });
    DRAVCommon::SetTraceLevel(0);
    CScriptContext context;
    CDRAVException error = EvalFailure(*LuaBody("return nil + 1"), context);
    DRAVCommon::SetTraceSink(previous);

    EXPECT_EQ(error.GetCode(), DRAV_ERR_SCRIPT);
    EXPECT_EQ(error.GetMessage().rfind("test.drav: lua:2: attempt to perform arithmetic on a nil value", 0), 0u)
        << error.GetMessage();
    ASSERT_FALSE(traced.empty());
    EXPECT_EQ(traced.back(), "Lua Error: " + error.GetMessage());
}

TEST(LuaScriptEval, RuntimeErrorsAreScriptErrors) {
    CScriptContext context;
    CDRAVException raised = EvalFailure(*LuaBody("error(\"Bad string arg\\n\", 0)"), context);
    EXPECT_EQ(raised.GetCode(), DRAV_ERR_SCRIPT);
    EXPECT_EQ(raised.GetMessage(), "test.drav: Bad string arg\n");

    CDRAVException number = EvalFailure(*LuaBody("error(42, 0)"), context);
    EXPECT_EQ(number.GetMessage(), "test.drav: 42");

    CDRAVException table = EvalFailure(*LuaBody("error({})"), context);
    EXPECT_EQ(table.GetCode(), DRAV_ERR_SCRIPT);
    EXPECT_FALSE(table.GetMessage().empty());

    CDRAVException missing = EvalFailure(*LuaBody("return undefined_function(context)"), context);
    EXPECT_EQ(missing.GetCode(), DRAV_ERR_SCRIPT);
    EXPECT_NE(missing.GetMessage().find("undefined_function"), std::string::npos);
}

TEST(LuaScriptEval, GlobalsDoNotSurviveTheEvaluation) {
    auto script = LuaBody("if remembered then return 1 end remembered = true return 2");
    CScriptContext first, second;
    EXPECT_EQ(script->Eval(nullptr, first), 2);
    EXPECT_EQ(script->Eval(nullptr, second), 2);
}

TEST(LuaScriptEval, StandardLibrariesAreOpen) {
    EXPECT_EQ(EvalBody("return math.max(2, 9) + string.len(\"abc\") + table.unpack({2}) + utf8.len(\"ab\")"), 16);
}

// ---- native functions ---------------------------------------------------------

std::string g_mode;

CScriptContext* ContextOf(lua_State* state) { return static_cast<CScriptContext*>(lua_touserdata(state, 1)); }

int GoNormal(lua_State* state) {
    g_mode = "normal";
    ContextOf(state)->nextState = luaL_checkstring(state, 2);
    lua_pushinteger(state, 40);
    return 1;
}

int GoTest(lua_State* state) {
    g_mode = "test";
    ContextOf(state)->storeRequested = true;
    lua_pushinteger(state, 50);
    return 1;
}

// Leaves a global behind, made by native code rather than by the script.
int Watch(lua_State* state) {
    lua_newuserdata(state, 1);
    lua_setglobal(state, "watched");
    return 0;
}

int ThrowObject(lua_State*) { throw CDRAVException(DRAV_ERR_OUT_OF_RANGE, "partner is an object"); }
int ThrowOther(lua_State*) { throw std::runtime_error("plain failure"); }

const CScriptFunction kFunctions[] = {
    {"drav_goto", GoNormal, GoTest},
    {"watch", Watch, Watch},
    {"throw_object", ThrowObject, ThrowObject},
    {"throw_other", ThrowOther, ThrowOther},
};

TEST(LuaScriptEval, RegistersTheTableWithTheContextAsFirstArgument) {
    ScopedScriptFunctions installed(kFunctions);
    auto script = LuaBody("return drav_goto( context, \"harbour\" ) + 1");

    CScriptContext context;
    int engineStandIn = 0;
    auto* engine = reinterpret_cast<DRAV::CEngine*>(&engineStandIn);
    EXPECT_EQ(script->Eval(engine, context), 41);
    EXPECT_EQ(g_mode, "normal");
    EXPECT_EQ(context.engine, engine);
    EXPECT_EQ(context.nextState, "harbour");
    EXPECT_FALSE(context.storeRequested);

    CScriptContext testContext;
    testContext.testMode = true;
    EXPECT_EQ(script->Eval(nullptr, testContext), 51);
    EXPECT_EQ(g_mode, "test");
    EXPECT_TRUE(testContext.storeRequested);
    EXPECT_EQ(testContext.nextState, "");
}

// Whatever a native function throws ends the script as a script error naming the
// file and the function, which the script may catch; the next state is fresh.
TEST(LuaScriptEval, NativeExceptionsAreScriptErrors) {
    ScopedScriptFunctions installed(kFunctions);
    CScriptContext context;
    for (const auto& [call, text] :
         {std::pair{"throw_object", "partner is an object"}, std::pair{"throw_other", "plain failure"}}) {
        const CDRAVException error = EvalFailure(*LuaBody("watch(context) " + std::string(call) + "(context)"), context);
        EXPECT_EQ(std::to_string(error.GetCode()) + " " + error.GetMessage(),
                  "6 test.drav: " + std::string(call) + ": " + text);
        const std::string after = "return watched == nil and not pcall(" + std::string(call) + ", context)";
        EXPECT_EQ(LuaBody(after)->Eval(nullptr, context), 1);
    }
}

TEST(LuaScriptEval, EmptyTableDefinesNoFunctions) {
    ScopedScriptFunctions installed({});
    EXPECT_EQ(EvalBody("if drav_goto == nil and watch == nil then return 1 end return 0"), 1);
}

}  // namespace
