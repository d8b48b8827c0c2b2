#pragma once
// What the native script functions read through the context: the running game,
// the module and the actors a script names.

#include <string>

#include <lua.hpp>

#include "script/script.h"
#include "script/script_args.h"

namespace DRAV {

class CActor;
class CEngine;
class CGame;
class CModule;
class CTalkTarget;

CEngine& ScriptEngine(const CScriptContext& context);
CGame& ScriptGame(const CScriptContext& context);
const CModule& ScriptModule(const CScriptContext& context);

// The actor a selector names ("actor", "target", a party member's tag, then a
// living actor of the current area by tag), or null.
CActor* FindScriptActor(const CScriptContext& context, const std::string& selector);

// Argument 2 as an actor selector: null for "party"; "Bad actor param\n" when it
// names no actor.
CActor* GetLuaActor(const CScriptContext& context, lua_State* state);

// The partner as a conversation partner / as an actor; code 2 when it is none or
// not one.
CTalkTarget& GetScriptTalkTarget(const CScriptContext& context);
CActor& GetScriptTalkActor(const CScriptContext& context);

// `text` with PARTY and MAINNAME filled in (CGame::ExpandText), at most
// kExpandedTextLimit bytes (code 2 past that); reading and writing it count as the
// run's work.
void ExpandScriptText(lua_State* state, const CScriptContext& context, std::string& text);

void PushLuaString(lua_State* state, const std::string& text);

}  // namespace DRAV
