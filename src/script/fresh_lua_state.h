#pragma once
// The fresh Lua state of one evaluation, restored from a state prepared once
// with the sandbox's libraries and the native functions of the current table.

#include <lua.hpp>

#include "script/lua_state_image.h"
#include "script/script.h"

namespace DRAV {

// Restores a fresh state for `context` (its test mode chooses the native
// handlers) and gives it back when the evaluation ends, however it ends. An
// evaluation made while another runs (by one of its native functions) belongs to
// that one's run.
class CFreshLuaState {
public:
    explicit CFreshLuaState(CScriptContext& context);
    ~CFreshLuaState();
    CFreshLuaState(const CFreshLuaState&) = delete;
    CFreshLuaState& operator=(const CFreshLuaState&) = delete;

    // Why a new evaluation may not start here, or null: the run it would belong
    // to is spent, or runs as many evaluations inside one another as it may (which
    // stops that run).
    static const char* Refusal();

    lua_State* State() const { return m_state; }
    const CEvalRecord& Record() const { return m_image.Record(); }

private:
    CLuaStateImage& m_image;
    lua_State* m_state;
};

// Why the run that the calling code runs inside (a native function of an
// evaluation, and whatever it calls) may go on no longer, or null: also outside
// any evaluation.
const char* SpentEnclosingRun();

}  // namespace DRAV
