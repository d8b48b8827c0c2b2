#include <gtest/gtest.h>

#include <chrono>
#include <string>

#include "common/exception.h"
#include "script/lua_script.h"
#include "script/script_args.h"
#include "script/script_test_support.h"

using DRAV::CScriptContext;
using QuillmereTest::LuaBody;
using QuillmereTest::ScopedScriptFunctions;

namespace {

std::int32_t EvalText(const std::string& body) {
    CScriptContext context;
    return LuaBody(body)->Eval(nullptr, context);
}

CDRAVException Failure(const std::string& body) {
    try {
        EvalText(body);
    } catch (const CDRAVException& error) {
        return error;
    }
    ADD_FAILURE() << "no exception from " << body;
    return CDRAVException(0);
}

TEST(LuaScriptSafety, OnlyTheSafeLibrariesAreThere) {
    EXPECT_EQ(EvalText("return io == nil and os == nil and package == nil and debug == nil and require == nil"), 1);
    EXPECT_EQ(EvalText("return dofile == nil and loadfile == nil"), 1);
    EXPECT_EQ(EvalText("return coroutine ~= nil and table ~= nil and string ~= nil and math ~= nil and utf8 ~= nil"), 1);
    EXPECT_EQ(Failure("os.execute(\"true\")").GetCode(), DRAV_ERR_SCRIPT);
    EXPECT_EQ(Failure("io.open(\"/etc/passwd\")").GetCode(), DRAV_ERR_SCRIPT);
}

TEST(LuaScriptSafety, LoadTakesTextButNotBinaryChunks) {
    EXPECT_EQ(EvalText("return load(\"return 4\")()"), 4);
    EXPECT_EQ(EvalText("local env = { x = 9 } return load(\"return x\", \"c\", \"b\", env)()"), 9);
    EXPECT_EQ(EvalText("local f, err = load(string.dump(function() return 1 end)) if f == nil then return 1 end return 0"),
              1);
}

TEST(LuaScriptSafety, RunawayScriptsEndAsScriptErrors) {
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(Failure("while true do end").GetCode(), DRAV_ERR_SCRIPT);
    EXPECT_EQ(Failure("local t = {} local i = 0 while true do i = i + 1 t[i] = string.rep(\"x\", 1 << 20) .. i end")
                  .GetCode(),
              DRAV_ERR_SCRIPT);
    EXPECT_EQ(Failure("local s = \"x\" while true do s = s .. s end").GetCode(), DRAV_ERR_SCRIPT);
    // A loop in a coroutine is counted too.
    EXPECT_EQ(Failure("coroutine.wrap(function() while true do end end)()").GetCode(), DRAV_ERR_SCRIPT);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(4));
    // The limits leave room for real work.
    EXPECT_EQ(EvalText("local n = 0 for i = 1, 100000 do n = n + i % 3 end return n"), 100000);
}

int ReadContext(lua_State* state) {
    CScriptContext& context = DRAV::GetLuaContext(state, lua_toboolean(state, 2) != 0);
    context.nextState = DRAV::GetLuaString(state, 3);
    lua_pushinteger(state, DRAV::GetLuaInteger(state, 4));
    return 1;
}

const DRAV::CScriptFunction kFunctions[] = {{"read_context", ReadContext, ReadContext}};

TEST(LuaScriptSafety, OnlyTheRunningContextIsAccepted) {
    ScopedScriptFunctions installed(kFunctions);
    CScriptContext context;
    EXPECT_EQ(LuaBody("return read_context(context, false, 5, \"7\")")->Eval(nullptr, context), 7);
    EXPECT_EQ(context.nextState, "5");
    EXPECT_EQ(LuaBody("return read_context(context, false, \"s\", \"seven\")")->Eval(nullptr, context), 0);

    for (const char* body : {"read_context(nil, false, \"s\")", "read_context(\"context\", false, \"s\")",
                             "read_context(io, false, \"s\")"}) {
        CDRAVException error = Failure(body);
        EXPECT_EQ(error.GetCode(), DRAV_ERR_SCRIPT);
        EXPECT_EQ(error.GetMessage(), "Script didn't propagate context\n") << body;
    }
    // A full userdata is not a context, whatever its block holds.
    EXPECT_EQ(Failure("read_context(string.dump and coroutine.create(print), false, \"s\")").GetMessage(),
              "Script didn't propagate context\n");
    EXPECT_EQ(Failure("read_context(context, true, \"s\")").GetMessage(), "Talk used in non-talk script\n");
    EXPECT_EQ(Failure("read_context(context, false, nil)").GetMessage(), "Bad string arg\n");
    EXPECT_EQ(Failure("read_context(context, false, {})").GetMessage(), "Bad string arg\n");
}

}  // namespace
