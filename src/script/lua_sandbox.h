#pragma once
// The libraries a module script sees: only those that cannot reach the machine,
// with every function that could run unbounded C work either charged to the
// script's work limit or bounded before it starts.

#include <lua.hpp>

namespace DRAV {

// Opens the base, coroutine, table, string, math and utf8 libraries into `state`
// as globals and puts the bounded functions in place. Runs inside a protected call.
void OpenSandboxLibraries(lua_State* state);

}  // namespace DRAV
