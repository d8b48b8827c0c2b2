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
// that one's run, one made in a step of play (CScriptRun) to the step's.
class CFreshLuaState {
public:
    explicit CFreshLuaState(CScriptContext& context);
    ~CFreshLuaState();
    CFreshLuaState(const CFreshLuaState&) = delete;
    CFreshLuaState& operator=(const CFreshLuaState&) = delete;

    // Why a new evaluation may not start here, or null: the run it would belong
    // to is spent, or runs as many evaluations inside one another as it may (which
    // stops that run, spent by the evaluation that went too deep).
    static const char* Refusal();

    lua_State* State() const { return m_state; }
    const CEvalRecord& Record() const { return m_image.Record(); }

private:
    // Joins `run`, inside the evaluation `enclosing` when there is one.
    CFreshLuaState(CScriptContext& context, CEvalRecord* enclosing, CScriptBudget* run);

    CLuaStateImage& m_image;
    lua_State* m_state;
};

// The record of the innermost evaluation running now, or null.
CEvalRecord* RunningEvaluation();

}  // namespace DRAV
