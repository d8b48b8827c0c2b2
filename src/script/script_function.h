#pragma once
// The table of native functions every script evaluation defines as globals.

#include <span>

#include <lua.hpp>

namespace DRAV {

// One native function: the global's name, its handler and the handler that runs
// instead when the context asks for test mode.
struct CScriptFunction {
    const char* name;
    lua_CFunction handler;
    lua_CFunction testHandler;
};

// The functions registered by every evaluation, in registration order.
std::span<const CScriptFunction> GetScriptFunctions();

// Replaces the table that evaluations register and returns the previous one. The
// table must outlive every evaluation that uses it.
std::span<const CScriptFunction> SetScriptFunctions(std::span<const CScriptFunction> functions);

}  // namespace DRAV
