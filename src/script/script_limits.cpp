#include "script/script_limits.h"

#include <string>

#include "script/script_args.h"

namespace DRAV {
namespace {

// Once stopped, the hook runs before every instruction of the thread it fires in.
void StopEveryInstruction(lua_State* state);

void CountInstructions(lua_State* state, lua_Debug*) {
    CScriptBudget& run = RunBudget(state);
    if (!run.stopReason) {
        run.work += kInstructionsPerHook;
        if (run.work <= kScriptWorkLimit && !PastTimeLimit(run)) return;
        run.stopReason = kScriptRanTooLong;
    }
    StopEveryInstruction(state);
    luaL_error(state, "%s", run.stopReason);
}

void StopEveryInstruction(lua_State* state) {
    // Coroutines made later copy the main thread's hook; those already made switch
    // at their own next hook.
    lua_sethook(state, CountInstructions, LUA_MASKCOUNT, 1);
    if (lua_State* main = EvalRecordSlot(state)->mainThread; main && main != state)
        lua_sethook(main, CountInstructions, LUA_MASKCOUNT, 1);
}

// Stops the run for `reason` (unless it was stopped already) and ends the native
// function with the CLuaScriptError of the run's reason.
[[noreturn]] void StopNative(lua_State* state, const char* reason) {
    CScriptBudget& run = RunBudget(state);
    if (!run.stopReason) run.stopReason = reason;
    StopEveryInstruction(state);
    throw CLuaScriptError(run.stopReason);
}

// Adds `units` to the run's work, saturating past the limit; whether the run must stop.
bool AddWork(CScriptBudget& run, std::uint64_t units) {
    run.work = units > kScriptWorkLimit ? kScriptWorkLimit + 1 : run.work + units;
    return run.work > kScriptWorkLimit || run.stopReason;
}

}  // namespace

CEvalRecord*& EvalRecordSlot(lua_State* state) { return *static_cast<CEvalRecord**>(lua_getextraspace(state)); }

CScriptBudget& RunBudget(lua_State* state) { return *EvalRecordSlot(state)->run; }

bool PastTimeLimit(const CScriptBudget& run) {
    return std::chrono::steady_clock::now() - run.start > kScriptTimeLimit;
}

const char* SpentReason(CScriptBudget& run) {
    if (!run.stopReason && PastTimeLimit(run)) run.stopReason = kScriptRanTooLong;
    return run.stopReason;
}

const char* StopIfSpent(lua_State* state) {
    const CEvalRecord* record = EvalRecordSlot(state);
    if (!record) return nullptr;
    const char* reason = SpentReason(*record->run);
    if (reason) StopEveryInstruction(state);
    return reason;
}

void ArmInstructionHook(lua_State* state) { lua_sethook(state, CountInstructions, LUA_MASKCOUNT, kInstructionsPerHook); }

void ChargeWork(lua_State* state, std::uint64_t units) {
    if (AddWork(RunBudget(state), units)) StopScript(state, kScriptRanTooLong);
}

void ChargeNativeWork(lua_State* state, std::uint64_t units) {
    if (AddWork(RunBudget(state), units)) StopNative(state, kScriptRanTooLong);
}

void CountMadeThing(lua_State* state) {
    CEvalRecord* record = EvalRecordSlot(state);
    if (!record || ++record->run->made <= kScriptMadeLimit) return;
    static const std::string tooMany = "the script makes more than " + std::to_string(kScriptMadeLimit) + " things";
    StopNative(state, tooMany.c_str());
}

int StopScript(lua_State* state, const char* reason) {
    CScriptBudget& run = RunBudget(state);
    if (!run.stopReason) run.stopReason = reason;
    StopEveryInstruction(state);
    return luaL_error(state, "%s", run.stopReason);
}

}  // namespace DRAV
