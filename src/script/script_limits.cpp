#include "script/script_limits.h"

#include <string>

#include "script/script_args.h"

namespace DRAV {
namespace {

// Once stopped, the hook runs before every instruction of the thread it fires in.
void StopEveryInstruction(lua_State* state);

void CountInstructions(lua_State* state, lua_Debug*) {
    CEvalRecord* record = EvalRecordSlot(state);
    if (!record->stopReason) {
        record->work += kInstructionsPerHook;
        if (record->work <= kScriptWorkLimit && !PastTimeLimit(*record)) return;
        record->stopReason = kScriptRanTooLong;
    }
    StopEveryInstruction(state);
    luaL_error(state, "%s", record->stopReason);
}

void StopEveryInstruction(lua_State* state) {
    // Coroutines made later copy the main thread's hook; those already made switch
    // at their own next hook.
    lua_sethook(state, CountInstructions, LUA_MASKCOUNT, 1);
    if (lua_State* main = EvalRecordSlot(state)->mainThread; main && main != state)
        lua_sethook(main, CountInstructions, LUA_MASKCOUNT, 1);
}

}  // namespace

bool PastTimeLimit(const CEvalRecord& record) {
    return std::chrono::steady_clock::now() - record.start > kScriptTimeLimit;
}

CEvalRecord*& EvalRecordSlot(lua_State* state) { return *static_cast<CEvalRecord**>(lua_getextraspace(state)); }

void ArmInstructionHook(lua_State* state) { lua_sethook(state, CountInstructions, LUA_MASKCOUNT, kInstructionsPerHook); }

void ChargeWork(lua_State* state, std::uint64_t units) {
    CEvalRecord* record = EvalRecordSlot(state);
    record->work = units > kScriptWorkLimit ? kScriptWorkLimit + 1 : record->work + units;
    if (record->work > kScriptWorkLimit || record->stopReason) StopScript(state, kScriptRanTooLong);
}

void CountMadeThing(lua_State* state) {
    CEvalRecord* record = EvalRecordSlot(state);
    if (!record || ++record->made <= kScriptMadeLimit) return;
    static const std::string tooMany = "the script makes more than " + std::to_string(kScriptMadeLimit) + " things";
    if (!record->stopReason) record->stopReason = tooMany.c_str();
    StopEveryInstruction(state);
    throw CLuaScriptError(record->stopReason);
}

int StopScript(lua_State* state, const char* reason) {
    CEvalRecord* record = EvalRecordSlot(state);
    if (!record->stopReason) record->stopReason = reason;
    StopEveryInstruction(state);
    return luaL_error(state, "%s", record->stopReason);
}

}  // namespace DRAV
