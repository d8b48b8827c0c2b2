#pragma once
// string.find, string.match, string.gmatch and string.gsub with Lua's pattern
// language, whose matcher counts its steps as the script's work: a pattern that
// backtracks without end stops the script like a loop does.

#include <lua.hpp>

namespace DRAV {

// Puts the four functions into the string library table on top of the stack.
void OpenBoundedPatterns(lua_State* state);

}  // namespace DRAV
