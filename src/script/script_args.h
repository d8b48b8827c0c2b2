#pragma once
// How native script functions read their arguments and report bad ones.

#include <cstdint>
#include <stdexcept>
#include <string>

#include <lua.hpp>

#include "script/script.h"

namespace DRAV {

// Thrown by a native function to end the script with a Lua error of exactly this
// text. The native-function wrapper raises it once the handler's frames are gone,
// so no C++ object is skipped by Lua's long jump.
class CLuaScriptError : public std::runtime_error {
public:
    explicit CLuaScriptError(const std::string& text) : std::runtime_error(text) {}
};

// Argument 1: the running evaluation's own context. Anything else, also another
// evaluation's context, is "Script didn't propagate context\n"; with `talk` a
// context without a partner (in test mode: without a test partner) is
// "Talk used in non-talk script\n".
CScriptContext& GetLuaContext(lua_State* state, bool talk = false);

// A string argument; a number reads as its text. Anything else: "Bad string arg\n".
std::string GetLuaString(lua_State* state, int index);

// A text the function hands the game (a line, a box's page, a reply): as
// GetLuaString, and at most kScriptTextLimit bytes, else
// "argument <index> is longer than ... bytes\n".
std::string GetLuaText(lua_State* state, int index);

// An integer argument: missing or non-numeric reads as 0; a number that is not a
// whole number of 32 bits is "argument <index> is not a whole number ...".
std::int32_t GetLuaInteger(lua_State* state, int index);
// An integer argument a function may go without: missing or nil reads as
// `absent`; anything else must be a whole number of 32 bits, as above.
std::int32_t GetLuaOptionalInteger(lua_State* state, int index, std::int32_t absent);

// What went wrong, in words for a module's author: the message of a
// CDRAVException, else the exception's own text.
std::string ScriptFailureReason(const std::exception& failure);

}  // namespace DRAV

