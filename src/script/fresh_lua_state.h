#pragma once
// The fresh Lua state of one evaluation, restored from a state prepared once
// with the sandbox's libraries and the native functions of the current table.

#include <lua.hpp>

#include "script/lua_state_image.h"
#include "script/script.h"

namespace DRAV {

// Restores a fresh state for `context` (its test mode chooses the native
// handlers) and gives it back when the evaluation ends, however it ends.
class CFreshLuaState {
public:
    explicit CFreshLuaState(CScriptContext& context);
    ~CFreshLuaState();
    CFreshLuaState(const CFreshLuaState&) = delete;
    CFreshLuaState& operator=(const CFreshLuaState&) = delete;

    lua_State* State() const { return m_state; }
    const CEvalRecord& Record() const { return m_image.Record(); }

private:
    CLuaStateImage& m_image;
    lua_State* m_state;
};

}  // namespace DRAV
