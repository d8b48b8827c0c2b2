// The bounded pattern functions against the string library Lua ships with: the
// same results and the same errors for the same calls.

#include <gtest/gtest.h>

#include <random>
#include <string>

#include <lua.hpp>

#include "script/lua_script.h"
#include "script/script_test_support.h"

using DRAV::CScriptContext;
using QuillmereTest::LuaBody;
using QuillmereTest::ScopedScriptFunctions;

namespace {

std::string g_reported;

int Report(lua_State* state) {
    g_reported = lua_tostring(state, 2) ? lua_tostring(state, 2) : "(not a string)";
    return 0;
}

const DRAV::CScriptFunction kFunctions[] = {{"report", Report, Report}};

// Runs `code` as a chunk and joins pcall's results with "|".
const char* const kRunner =
    "local function ser(ok, ...) local out = {tostring(ok)} for i = 1, select(\"#\", ...) do "
    "out[i + 1] = tostring((select(i, ...))) end return table.concat(out, \"|\") end ";

// Every byte as a decimal escape: the script element keeps no runs of spaces.
std::string Escaped(const std::string& code) {
    std::string out = "\"";
    for (unsigned char c : code) out += "\\" + std::to_string(c);
    return out + "\"";
}

std::string InSandbox(const std::string& code) {
    ScopedScriptFunctions installed(kFunctions);
    g_reported.clear();
    CScriptContext context;
    LuaBody(std::string(kRunner) + "report(context, ser(pcall(load(" + Escaped(code) + ", \"=case\"))))")
        ->Eval(nullptr, context);
    return g_reported;
}

std::string InPlainLua(const std::string& code) {
    lua_State* state = luaL_newstate();
    luaL_openlibs(state);
    std::string chunk = std::string(kRunner) + "return ser(pcall(load(" + Escaped(code) + ", \"=case\")))";
    std::string result = luaL_dostring(state, chunk.c_str()) == LUA_OK ? lua_tostring(state, -1) : "runner failed";
    lua_close(state);
    return result;
}

TEST(LuaPattern, MatchesTheStandardLibrary) {
    const char* const kCases[] = {
        // find and match: positions, anchors, plain searches, init
        "return string.find('hello world', 'o w')", "return string.find('hello world', 'o', 6)",
        "return string.find('hello', 'l+')", "return string.find('hello', '^h')", "return string.find('hello', '^e')",
        "return string.find('hello', 'o$')", "return string.find('hello$', 'o$', 1, true)",
        "return string.find('a.b', '.', 1, true)", "return string.find('abc', '', 10)",
        "return string.find('abc', '', 4)", "return string.find('abc', 'b', -1)", "return string.find('abc', 'b', -10)",
        "return string.find('abc', 'b', -2)", "return string.find('abc', 'bcd')", "return string.find('a\\0b', '\\0b')",
        "return string.find('x$y', '$y')", "return string.match('x^y', 'x^y')", "return string.match('abc', '^(a)')",
        // captures, classes, sets, quantifiers
        "return string.match('key = value', '(%w+)%s*=%s*(%w+)')", "return string.match('hello', '()ll()')",
        "return string.find('hello', '(l)(l)')", "return string.match('abcabc', '(abc)%1')",
        "return string.match('f[[x]] y', '%b[]')", "return string.match('f(a(b)c', '%b()')",
        "return string.match('THE (quick) fox', '%f[%a]%a+', 5)", "return string.match('  trim me  ', '^%s*(.-)%s*$')",
        "return string.match('a1b2!', '[%a%d]+')", "return string.match('a-b', '[a%-]+')",
        "return string.match('x]y', '[]x]+')", "return string.match('abc', '[^a]+')", "return string.match('a+b', 'a%+b')",
        "return string.match('aaab', 'a-b')", "return string.match('abc', 'a?b?c?d?')", "return string.match('x', '(x)(y?)')",
        "return string.match('hello', 'l*')", "return string.match('\\226\\130\\172!', '[\\128-\\255]+')",
        "return string.match('A9_z', '%W')", "return string.match('a\\0b', '%z')", "return string.match('tab\\there', '%c')",
        "return string.match('0x1F', '%x+$')", "return string.match('Hi There', '%u%l+$')",
        "return string.match('a.b', '%p')", "return string.match('[a-z]', '[%[%]]')", "return string.match('az', '[a-]+')",
        "return string.match('b', '[a-c-e]')", "return string.match('-', '[a-c-e]')", "return string.match('aXb', '%f[%u].')",
        "return string.match('word', '%f[%w]%w+%f[%W]')", "return string.match('aa', '(a)%1')",
        "return string.match('(a)', '%b()$')", "return string.match(string.rep('a', 300), string.rep('a?', 300))",
        "return string.match(string.rep('a', 40), string.rep('(a)', 33))", "return string.match('ab', '(()a)b')",
        // malformed patterns
        "return string.find('a', '%')", "return string.find('a', '[a')", "return string.find('a', '(a')",
        "return string.find('a', 'a)')", "return string.find('a', '%1')", "return string.find('a', '%b')",
        "return string.find('a', '%f')", "return string.find('a', '%fa')", "return string.find('aa', '(a)%2')",
        "return string.find('a', '[%')", "return string.match('ab', '(a%1)')", "return string.find()",
        "return string.find('a', {})",
        // gmatch
        "local r = {} for w in string.gmatch('one two  three', '%a+') do r[select('#', table.unpack(r)) + 1] = w end "
        "return table.concat(r, ',')",
        "local r = '' for w in string.gmatch('abc', '%a*') do r = r .. '<' .. w .. '>' end return r",
        "local r = '' for k, v in string.gmatch('k=v, a=b', '(%w+)=(%w+)') do r = r .. k .. v end return r",
        "local r = '' for w in string.gmatch('abc', '') do r = r .. '<' .. w .. '>' end return r",
        "local r = '' for p in string.gmatch('hello', '()l') do r = r .. p end return r",
        "local r = '' for w in string.gmatch('^a^b', '^%a') do r = r .. w end return r",
        "local f = string.gmatch('ab', '.') return f(), f(), f(), f()",
        // gsub
        "return string.gsub('hello world', 'o', '0')", "return string.gsub('hello', '', '-')",
        "return string.gsub('abc', '%w', '%0%0')", "return string.gsub('abc', '(a)(b)', '%2%1')",
        "return string.gsub('abc', 'b', '%%')", "return string.gsub('abc', 'b', '%')", "return string.gsub('abc', 'b', '%9')",
        "return string.gsub('abc', 'b', '%x')",
        "return string.gsub('hello world', '%w+', {hello = 'HI'})",
        "return string.gsub('hello world', '%w+', function(w) return w:upper() end)",
        "return string.gsub('abc', '%w', function() return false end)",
        "return string.gsub('abc', '%w', function() return {} end)", "return string.gsub('abc', 'x*', '-')",
        "return string.gsub('abc', '^a', 'X')", "return string.gsub('aaa', '^a', 'X')", "return string.gsub('aaa', 'a', 'b', 2)",
        "return string.gsub('aaa', 'a', 'b', -1)", "return string.gsub('abc', 'b', 5)", "return string.gsub('abc', '(b)', '%1%1')",
        "return string.gsub('a', '()', '%1')", "return string.gsub('abc', '.', {a = 1, b = true})",
        "return string.gsub('abc', 'b')", "return string.gsub('a b c', '(%w)', '%1%1', 2)",
        "return string.gsub('x = 1, y = 2', '(%w+) = (%w+)', '%2 = %1')",
        "return ('banana'):gsub('(an)', function(a) return a:upper() end)",
        "return string.gsub('abc', '', function() return 'x' end)",
    };
    for (const char* code : kCases) EXPECT_EQ(InSandbox(code), InPlainLua(code)) << code;
}

// Random patterns over short texts, each tried with the four functions.
TEST(LuaPattern, RandomPatternsMatchTheStandardLibrary) {
    const char* const kPieces[] = {"a", "b", ".", "%a", "%d", "%s", "%W", "[ab]", "[^a]", "[a-c1]", "*", "+", "-",
                                   "?", "(", ")", "()", "%1", "%b()", "%f[%w]", "^", "$", "%%", "[%]]", "%"};
    const char* const kTexts[] = {"", "a", "ab", "aab b", "(a(b)1)", "x1 ab]", "%a", "bba1(b)a"};
    std::mt19937 random(30);
    std::uniform_int_distribution<std::size_t> piece(0, std::size(kPieces) - 1);
    std::uniform_int_distribution<std::size_t> text(0, std::size(kTexts) - 1);
    std::uniform_int_distribution<int> length(1, 6);
    for (int i = 0; i < 300; ++i) {
        std::string pattern;
        for (int n = length(random); n > 0; --n) pattern += kPieces[piece(random)];
        const std::string quoted = "'" + pattern + "'";
        const std::string subject = std::string("'") + kTexts[text(random)] + "'";
        const std::string code =
            "local r = {} local function add(...) for i = 1, select('#', ...) do r[select('#', table.unpack(r)) + 1] = "
            "tostring((select(i, ...))) end end "
            "add(pcall(string.find, " + subject + ", " + quoted + ")) "
            "add(pcall(string.match, " + subject + ", " + quoted + ", 2)) "
            "add(pcall(string.gsub, " + subject + ", " + quoted + ", '<%0>')) "
            "add(pcall(function() local out = '' for a, b in string.gmatch(" + subject + ", " + quoted +
            ") do out = out .. tostring(a) .. tostring(b) end return out end)) "
            "return table.concat(r, '|')";
        EXPECT_EQ(InSandbox(code), InPlainLua(code)) << pattern << " on " << subject;
    }
}

TEST(LuaPattern, LongWorkCountsTowardTheScriptsLimit) {
    // Linear work on a long text passes; the same pattern that backtracks without end does not.
    EXPECT_EQ(InSandbox("return (string.gsub(string.rep('ab ', 20000), '%s+', ''))").substr(0, 9), "true|abab");
    EXPECT_EQ(InSandbox("return string.find(string.rep('a', 100000) .. 'b', 'a-b')"), "true|1|100001");
    EXPECT_EQ(InSandbox("local s = string.rep('a', 3000) return string.find(s, string.rep('a', 1500) .. 'b', 1, true)"),
              "true|nil");
}

}  // namespace
