#include "script/script_limits.h"

#include <string>

#include "common/processor_clock.h"
#include "script/script_args.h"

namespace DRAV {
namespace {

// Once stopped, the hook runs before every instruction of the thread it fires in.
void StopEveryInstruction(lua_State* state);

void CountInstructions(lua_State* state, lua_Debug*) {
    CScriptBudget& run = RunBudget(state);
    if (!run.stopReason) {
        run.work += kInstructionsPerHook;
        if (run.work > kScriptWorkLimit) StopRun(run, EvalRecordSlot(state), kScriptRanTooLong, ScriptLimit::Work);
        else if (PastTimeLimit(run)) StopRun(run, EvalRecordSlot(state), kScriptRanTooLong, ScriptLimit::Time);
        else return;
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

// Adds `units` to the run's work, saturating past the limit; whether the run must stop.
bool AddWork(CScriptBudget& run, std::uint64_t units) {
    run.work = units > kScriptWorkLimit ? kScriptWorkLimit + 1 : run.work + units;
    return run.work > kScriptWorkLimit || run.stopReason;
}

// What `record`'s evaluation has spent of `limit` since it began, nested
// evaluations included; for memory, what its own state holds.
std::uint64_t SpentSinceStart(const CEvalRecord& record, ScriptLimit limit) {
    const CScriptBudget& run = *record.run;
    switch (limit) {
        case ScriptLimit::Work: return run.work - record.workAtStart;
        case ScriptLimit::Made: return run.made - record.madeAtStart;
        case ScriptLimit::Time:
            return static_cast<std::uint64_t>((ScriptClock() - record.started).count());
        case ScriptLimit::Memory: return record.memory;
        case ScriptLimit::Depth: return 0;
    }
    return 0;
}

// The evaluation that spent `limit`: each of `innermost` and those it runs inside
// spent what it spent since it began, less what the one inside it spent (memory
// is held by each state apart). The script that ran out of depth is the one that
// went too deep.
std::uint64_t FindSpender(CEvalRecord* innermost, ScriptLimit limit, std::size_t request) {
    if (!innermost) return 0;
    if (limit == ScriptLimit::Depth) return innermost->serial;
    std::uint64_t spender = 0;
    std::uint64_t most = 0;
    std::uint64_t inner = 0;
    for (CEvalRecord* record = innermost; record; record = record->enclosing) {
        const std::uint64_t total = SpentSinceStart(*record, limit) + (record == innermost ? request : 0);
        const std::uint64_t own = limit == ScriptLimit::Memory ? total : total - std::min(total, inner);
        if (!spender || own > most) spender = record->serial, most = own;
        inner = total;
    }
    return spender;
}

}  // namespace

CEvalRecord*& EvalRecordSlot(lua_State* state) { return *static_cast<CEvalRecord**>(lua_getextraspace(state)); }

CScriptBudget& RunBudget(lua_State* state) { return *EvalRecordSlot(state)->run; }

std::chrono::nanoseconds ScriptClock() { return DRAVCommon::RecentThreadProcessorTime(kProcessorClockStaleness); }

bool PastTimeLimit(const CScriptBudget& run) { return run.start && ScriptClock() - *run.start > kScriptTimeLimit; }

void StopRun(CScriptBudget& run, CEvalRecord* innermost, const char* reason, ScriptLimit limit,
             std::size_t request) {
    if (run.stopReason) return;
    run.stopReason = reason;
    run.spender = FindSpender(innermost, limit, request);
}

const char* SpentReason(CScriptBudget& run, CEvalRecord* innermost) {
    if (!run.stopReason && PastTimeLimit(run)) StopRun(run, innermost, kScriptRanTooLong, ScriptLimit::Time);
    return run.stopReason;
}

bool SpentTheRun(const CEvalRecord& record) {
    return record.run->stopReason && record.run->spender == record.serial;
}

const char* StopIfSpent(lua_State* state) {
    CEvalRecord* record = EvalRecordSlot(state);
    if (!record) return nullptr;
    const char* reason = SpentReason(*record->run, record);
    if (reason) StopEveryInstruction(state);
    return reason;
}

void ArmInstructionHook(lua_State* state) { lua_sethook(state, CountInstructions, LUA_MASKCOUNT, kInstructionsPerHook); }

void ChargeWork(lua_State* state, std::uint64_t units) {
    if (AddWork(RunBudget(state), units)) StopScript(state, kScriptRanTooLong, ScriptLimit::Work);
}

void ChargeNativeWork(lua_State* state, std::uint64_t units) {
    if (AddWork(RunBudget(state), units)) StopNative(state, kScriptRanTooLong, ScriptLimit::Work);
}

void StopNative(lua_State* state, const char* reason, ScriptLimit limit) {
    CScriptBudget& run = RunBudget(state);
    StopRun(run, EvalRecordSlot(state), reason, limit);
    StopEveryInstruction(state);
    throw CLuaScriptError(run.stopReason);
}

int StopScript(lua_State* state, const char* reason, ScriptLimit limit, std::size_t request) {
    CScriptBudget& run = RunBudget(state);
    StopRun(run, EvalRecordSlot(state), reason, limit, request);
    StopEveryInstruction(state);
    return luaL_error(state, "%s", run.stopReason);
}

}  // namespace DRAV
