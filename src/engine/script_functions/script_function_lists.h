#pragma once
// The native script functions, by the files that hold them, and the table every
// evaluation registers.

#include <span>
#include <vector>

#include <lua.hpp>

#include "script/script_function.h"

namespace DRAV {

struct CNativeFunction {
    const char* name;
    lua_CFunction handler;
};
using CNativeFunctionList = std::vector<CNativeFunction>;

extern const CNativeFunctionList kTalkFunctions;   // script_talk_functions.cpp
extern const CNativeFunctionList kTagFunctions;    // script_tag_functions.cpp
extern const CNativeFunctionList kQuestFunctions;  // script_quest_functions.cpp
extern const CNativeFunctionList kWorldFunctions;  // script_world_functions.cpp
extern const CNativeFunctionList kTestFunctions;   // script_test_functions.cpp: the test-mode twins

// The 58 functions in registration order, each with its test-mode twin.
std::span<const CScriptFunction> GetNativeScriptFunctions();

// Makes every later evaluation register GetNativeScriptFunctions().
void InstallNativeScriptFunctions();

}  // namespace DRAV
