#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <thread>

#include "common/exception.h"
#include "common/processor_clock.h"
#include "script/lua_script.h"
#include "script/script_args.h"
#include "script/script_limits.h"
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
    const auto start = DRAVCommon::ThreadProcessorTime();
    EXPECT_EQ(Failure("while true do end").GetCode(), DRAV_ERR_SCRIPT);
    EXPECT_EQ(Failure("local t = {} local i = 0 while true do i = i + 1 t[i] = string.rep(\"x\", 1 << 20) .. i end")
                  .GetCode(),
              DRAV_ERR_SCRIPT);
    EXPECT_EQ(Failure("local s = \"x\" while true do s = s .. s end").GetCode(), DRAV_ERR_SCRIPT);
    // A loop in a coroutine is counted too.
    EXPECT_EQ(Failure("coroutine.wrap(function() while true do end end)()").GetCode(), DRAV_ERR_SCRIPT);
    EXPECT_LT(DRAVCommon::ThreadProcessorTime() - start, std::chrono::seconds(4));
    // The limits leave room for real work.
    EXPECT_EQ(EvalText("local n = 0 for i = 1, 100000 do n = n + i % 3 end return n"), 100000);
}

// A hostile body, and how many times in a row it is run: the limits must hold
// as well on the ninth run in a process as on the first.
struct Hostile {
    Hostile(const char* text, int times = 1) : body(text), runs(times) {}
    const char* body;
    int runs;
};

// Scripts a hostile module author could write. Each must end as a script error
// within its time limit, and the next evaluation must run as if nothing happened.
TEST(LuaScriptSafety, HostileScriptsEndAsScriptErrors) {
    const Hostile kHostile[] = {
        // The limit error cannot be caught: not by pcall, xpcall, nested calls or coroutines.
        "while true do pcall(function() while true do end end) end",
        "while true do pcall(pcall, pcall, function() while true do end end) end",
        "coroutine.wrap(function() while true do pcall(function() while true do end end) end end)()",
        "while true do coroutine.resume(coroutine.create(function() while true do end end)) end",
        "local co = coroutine.wrap(function() while true do pcall(coroutine.yield) end end) while true do pcall(co) end",
        "while true do xpcall(function() while true do end end, function() while true do end end) end",
        // An unset global ends the inner loop at once: the outer one spins on xpcall itself.
        {"while true do xpcall(function() while "
         "ttttttttttttttttttttttttttttttttttttttttutttttttttttttttttttttttttttttttttttruerrrrrrrrrrrrrrrrrrrrrrrrrrrrrrr"
         "rrrrrrrrrrrrrrrrrrrrrrrrrrrrrrrrrrrrrrrrrrrrrrrrrrrrrrrrrrrrrrrrrrrrrrrrrrr do end end, "
         "function() while true do end end) end",
         9},
        "while true do pcall(function() local t = {} for i = 1, 1e9 do t[i] = i end end) end",
        "while true do pcall(string.rep, \"x\", 1 << 30) end",
        // Finalizers would run where no limit counts, also when the state is done with.
        "setmetatable({}, {__gc = function() while true do end end}) return 1",
        "local mt = {__gc = true} setmetatable({}, mt) mt.__gc = function() while true do end end return 1",
        "local t = {} for i = 1, 100000 do t[i] = {} end while true do collectgarbage(\"collect\") end",
        "while true do collectgarbage(\"step\", 1 << 30) end",
        // C loops sized by an argument.
        "string.find(string.rep(\"a\", 60), string.rep(\"a*\", 25) .. \"b\")",
        "string.gsub(string.rep(\"a\", 60), string.rep(\"a*\", 25) .. \"b\", \"\")",
        "for m in string.gmatch(string.rep(\"a\", 60), string.rep(\"a*\", 25) .. \"b\") do end",
        "return (\"a\"):rep(60):match(string.rep(\"a-\", 25) .. \"b\")",
        "string.find(string.rep(\"a\", 4e5), \".-b\")",
        "string.rep(\"\", 1e15)",
        "string.rep(\"\", 1e15, \"\")",
        "string.rep(\"x\", 1e15)",
        "string.rep(\"\", 1e8, \"ab\")",
        "string.format(\"%99999999d\", 1)",
        "table.concat(setmetatable({}, {__index = function() return \"\" end}), \"\", 1, 1e15)",
        "local t = {} for i = 1, 5e4 do t[i] = \"\" end while true do table.concat(t) end",
        "table.unpack({}, 1, 1e7)",
        "table.move({}, 1, 1e15, 2)",
        "local t = {} for i = 1, 5e4 do t[i] = i end while true do table.insert(t, 1, 0) table.remove(t, 1) end",
        "local s = string.rep(\"x\", 4e5) while true do string.byte(s, 1, -1) end",
        "local s = string.rep(\"\\xE2\\x82\\xAC\", 1e5) while true do utf8.len(s) end",
        "local s = string.rep(\"7\", 4e5) while true do tonumber(s) end",
        // Weak keys chained against the table's order make each collection cycle
        // quadratic: the memory limit keeps a cycle short, the clock counts the cycles.
        "local t = setmetatable({}, {__mode = \"k\"}) for i = 1, 15000 do t[{}] = true end "
        "local order, n = {}, 0 for k in pairs(t) do n = n + 1 order[n] = k end "
        "for i = 2, n do t[order[i]] = order[i - 1] end local root = order[n] order = nil "
        "while true do local x = {} end",
        "local t = setmetatable({}, {__mode = \"k\"}) local keep = {} for i = 1, 1e6 do keep[i] = {} t[keep[i]] = keep[i - 1] or true end",
        // One instruction comparing two long strings: only the clock sees it.
        "local a, b = string.rep(\"x\", 4e5), string.rep(\"x\", 4e5) while a == b do end",
    };
    // The clock is read every few hundred instructions and after each native
    // function; what one of them does past the limit is all a run may overrun.
    constexpr auto kOverrun = std::chrono::milliseconds(200);
    for (const auto& [body, runs] : kHostile) {
        for (int run = 1; run <= runs; ++run) {
            const auto start = DRAVCommon::ThreadProcessorTime();
            EXPECT_EQ(Failure(body).GetCode(), DRAV_ERR_SCRIPT) << body;
            EXPECT_LT(DRAVCommon::ThreadProcessorTime() - start, DRAV::kScriptTimeLimit + kOverrun)
                << "run " << run << " of " << body;
        }
        EXPECT_EQ(EvalText("local n = 0 for i = 1, 1000 do n = n + 1 end return n"), 1000) << "after " << body;
    }
}

TEST(LuaScriptSafety, BoundedLibraryFunctionsStillWork) {

    EXPECT_EQ(EvalText("return string.rep(\"ab\", 3, \",\") == \"ab,ab,ab\" and string.rep(\"x\", 0) == \"\""), 1);
    EXPECT_EQ(EvalText("return table.concat({1, 2, 3}, \"-\") == \"1-2-3\" and select(\"#\", table.unpack({1, 2, 3})) == 3"),
              1);
    EXPECT_EQ(EvalText("local t = {3, 1, 2} table.sort(t) table.insert(t, 1, 0) table.remove(t) "
                       "return table.concat(table.move(t, 1, 3, 2, {}), \",\", 2, 4) == \"0,1,2\""),
              1);
    EXPECT_EQ(EvalText("return collectgarbage() == 0 and collectgarbage(\"count\") > 0 and collectgarbage(\"isrunning\")"),
              1);
    EXPECT_EQ(Failure("collectgarbage(\"stop\")").GetCode(), DRAV_ERR_SCRIPT);
    // A metatable without __gc is fine, and so is a __gc field that is never marked.
    EXPECT_EQ(EvalText("local t = setmetatable({}, {__index = function() return 5 end}) return t.x"), 5);
    EXPECT_EQ(EvalText("return utf8.len(\"\\xE2\\x82\\xAC!\") + tonumber(\"40\")"), 42);
}

TEST(LuaScriptSafety, NothingOfOneEvaluationReachesTheNext) {
    const char* const kChange =
        "flag = 1 string.rep = nil table.extra = {} math.pi = 3 getmetatable(\"\").__index = nil "
        "setmetatable(_G, {__index = function() return 1 end}) local co = coroutine.create(function() end) return 1";
    EXPECT_EQ(EvalText(kChange), 1);
    EXPECT_EQ(EvalText("return flag == nil and getmetatable(_G) == nil and table.extra == nil and math.pi > 3.14 "
                       "and (\"ab\"):rep(2) == \"abab\""),
              1);
    // A stopped script leaves no stop behind either.
    EXPECT_EQ(Failure("while true do end").GetCode(), DRAV_ERR_SCRIPT);
    EXPECT_EQ(EvalText("return 3"), 3);
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

    // Argument errors name the file and the function.
    const std::string prefix = "test.drav: read_context: ";
    for (const char* body : {"read_context(nil, false, \"s\")", "read_context(\"context\", false, \"s\")",
                             "read_context(io, false, \"s\")"}) {
        CDRAVException error = Failure(body);
        EXPECT_EQ(error.GetCode(), DRAV_ERR_SCRIPT);
        EXPECT_EQ(error.GetMessage(), prefix + "Script didn't propagate context\n") << body;
    }
    // A full userdata is not a context, whatever its block holds.
    EXPECT_EQ(Failure("read_context(string.dump and coroutine.create(print), false, \"s\")").GetMessage(),
              prefix + "Script didn't propagate context\n");
    EXPECT_EQ(Failure("read_context(context, true, \"s\")").GetMessage(), prefix + "Talk used in non-talk script\n");
    EXPECT_EQ(Failure("read_context(context, false, nil)").GetMessage(), prefix + "Bad string arg\n");
    EXPECT_EQ(Failure("read_context(context, false, {})").GetMessage(), prefix + "Bad string arg\n");
}

// Evaluates argument 2 as another script while the calling one runs.
int Nested(lua_State* state) {
    CScriptContext inner;
    lua_pushinteger(state, LuaBody(DRAV::GetLuaString(state, 2))->Eval(nullptr, inner));
    return 1;
}

// Evaluates scripts inside one another, argument 2 levels deep below this one.
int Deeper(lua_State* state) {
    const std::int32_t levels = DRAV::GetLuaInteger(state, 2);
    if (levels == 0) return lua_pushinteger(state, 0), 1;
    CScriptContext inner;
    const std::string body = "return deeper( context, " + std::to_string(levels - 1) + " ) + 1";
    lua_pushinteger(state, LuaBody(body)->Eval(nullptr, inner));
    return 1;
}

constexpr auto kPastTheLimit = DRAV::kScriptTimeLimit + std::chrono::milliseconds(50);

// Works longer than a run may without a Lua instruction.
int Slow(lua_State*) {
    const auto start = DRAVCommon::ThreadProcessorTime();
    while (DRAVCommon::ThreadProcessorTime() - start < kPastTheLimit) {
    }
    return 0;
}

// Waits as long without working, as a script waits while a busy machine runs others.
int Paused(lua_State*) {
    std::this_thread::sleep_for(kPastTheLimit);
    return 0;
}

const DRAV::CScriptFunction kNestingFunctions[] = {
    {"nested", Nested, Nested}, {"deeper", Deeper, Deeper}, {"slow", Slow, Slow}, {"paused", Paused, Paused}};

TEST(LuaScriptSafety, NestedEvaluationsHaveFreshStatesAndShareOneBudget) {
    ScopedScriptFunctions installed(kNestingFunctions);
    // The inner script sees none of the outer one's globals, and the outer keeps its own.
    EXPECT_EQ(EvalText("x = 5 local inner = nested(context, 'return x == nil and 1 or 0') "
                       "return inner * 10 + (x == 5 and 1 or 0)"),
              11);
    EXPECT_EQ(EvalText("y = 1 return nested(context, 'y = 2 return nested(context, \"return y == nil and 3 or 0\")') + y"),
              4);
    // Memory the outer script holds is not there for the inner one.
    EXPECT_EQ(EvalText("local s = string.rep('x', 300000) "
                       "return nested(context, 'local t = string.rep(\"y\", 300000) return 1') "
                       "+ string.len(s) // 300000"),
              2);
    EXPECT_EQ(Failure("local s = string.rep('x', 700000) "
                      "return nested(context, 'local t = string.rep(\"y\", 700000) return 1') + string.len(s)")
                  .GetMessage(),
              "test.drav: nested: not enough memory");
    // An inner script that runs away spends the outer one's time too: no pcall goes on.
    EXPECT_EQ(Failure("pcall(nested, context, 'while true do end') return 1").GetMessage(),
              "test.drav: script ran too long");
    EXPECT_EQ(Failure("for i = 1, 3 do pcall(nested, context, 'for i = 1, 3e6 do end') end return 1").GetMessage(),
              "test.drav: script ran too long");
    // The clock is read after every native function, not only every few hundred instructions.
    EXPECT_EQ(Failure("slow(context) return 1").GetMessage(), "test.drav: slow: script ran too long");
    // Time the script spends waiting is not its own.
    EXPECT_EQ(EvalText("paused(context) local n = 0 for i = 1, 5000 do n = n + 1 end return n"), 5000);
    EXPECT_EQ(EvalText("return nested(context, 'paused(context) return 2') + 1"), 3);
    // Scripts run inside one another only so deep.
    const auto limit = static_cast<std::int32_t>(DRAV::kScriptNestingLimit);
    EXPECT_EQ(EvalText("return deeper(context, " + std::to_string(limit - 1) + ")"), limit - 1);
    EXPECT_EQ(Failure("return deeper(context, " + std::to_string(limit) + ")").GetMessage(),
              "test.drav: deeper: scripts run inside each other more than " + std::to_string(limit) + " deep");
    // Nothing is left behind for the next evaluation.
    EXPECT_EQ(EvalText("return nested(context, 'return 7') + 1"), 8);
}

}  // namespace
