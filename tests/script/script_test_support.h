#pragma once
// Helpers for the script tests: scripts made from element text, and a function
// table installed for one test.

#include <memory>
#include <span>
#include <string>

#include "script/lua_script.h"
#include "script/script_function.h"

namespace QuillmereTest {

// Reads `text` (which begins where a script may stand) with LoadScript.
std::shared_ptr<DRAV::CLuaScript> ScriptFromText(const std::string& text);

// A script whose body is `body`, read from a "lua" element.
std::shared_ptr<DRAV::CLuaScript> LuaBody(const std::string& body);

// Installs a function table for the lifetime of the object.
class ScopedScriptFunctions {
public:
    explicit ScopedScriptFunctions(std::span<const DRAV::CScriptFunction> functions)
        : m_previous(DRAV::SetScriptFunctions(functions)) {}
    ~ScopedScriptFunctions() { DRAV::SetScriptFunctions(m_previous); }
    ScopedScriptFunctions(const ScopedScriptFunctions&) = delete;
    ScopedScriptFunctions& operator=(const ScopedScriptFunctions&) = delete;

private:
    std::span<const DRAV::CScriptFunction> m_previous;
};

}  // namespace QuillmereTest
