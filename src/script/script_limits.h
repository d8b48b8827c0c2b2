#pragma once
// What one evaluation may spend, and the record that tracks it beside its Lua state.
//
// Module scripts come from whoever wrote the module. Their work is counted in
// units of about one Lua instruction: the instructions themselves, every byte
// they allocate, the strings they hand to library functions and the elements
// the table functions walk. Once a script passes a limit it is stopped for good:
// the error it gets cannot be caught, because every instruction after it raises
// the error again, in every coroutine, until the evaluation ends.

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <exception>

#include <lua.hpp>

namespace DRAV {

struct CScriptContext;

// Far above anything a real script needs (a conversation state runs a few hundred
// instructions and allocates a few kilobytes) but small enough to end a runaway
// script in a few tens of milliseconds. The memory limit also bounds what one
// collection cycle can cost, which no counter sees: a script can make a cycle
// quadratic in its heap with a chain of weak-keyed tables.
constexpr std::uint64_t kScriptWorkLimit = 5'000'000;
constexpr std::size_t kScriptMemoryLimit = std::size_t{2} << 20;
// Room a stopped script keeps for its error messages, so that raising them again
// does not make Lua collect in an emergency each time.
constexpr std::size_t kStoppedScriptReserve = 64 * 1024;
// Bytes copied by C code, and bytes read one by one (decoded, converted), that
// cost about one instruction.
constexpr std::size_t kBytesPerWorkUnit = 64;
constexpr std::size_t kScannedBytesPerWorkUnit = 8;
// A backstop for work no counter sees (comparing two long strings is a single
// instruction): checked at every instruction hook.
constexpr std::chrono::milliseconds kScriptTimeLimit{250};
constexpr int kInstructionsPerHook = 256;
// Things that outlive the evaluation and that its native functions may make:
// effects launched, items given, boxes, journal entries and replies. Each costs
// the game work after the script has ended (an effect flies and is resolved, a box
// waits for the player), which no counter of the script's own work sees.
constexpr std::uint32_t kScriptMadeLimit = 1'000;

// The error of a script stopped for its work or its time.
inline constexpr const char* kScriptRanTooLong = "script ran too long";

// What one evaluation keeps beside its Lua state, reached through the state's
// extra space. Lua is C: a C++ exception must not unwind through its frames, so a
// native function's exception is parked here and thrown on by Eval.
struct CEvalRecord {
    std::exception_ptr error;
    const char* errorFunction = nullptr;  // the native function that let `error` escape
    CScriptContext* context = nullptr;
    lua_State* mainThread = nullptr;
    std::uint64_t work = 0;
    std::size_t memory = 0;
    std::uint32_t made = 0;  // things made for the game, counted by CountMadeThing
    const char* stopReason = nullptr;  // set once the script is stopped
    std::chrono::steady_clock::time_point start;
};

// The record of the evaluation running in `state` (any of its coroutines), or null.
CEvalRecord*& EvalRecordSlot(lua_State* state);

// Whether the running evaluation has passed its time limit.
bool PastTimeLimit(const CEvalRecord& record);

// Counts the instructions of `state` and of every coroutine it makes from now on.
void ArmInstructionHook(lua_State* state);

// Adds `units` to the work of the running evaluation. Past the limit the script
// is stopped: this raises the Lua error and does not return.
void ChargeWork(lua_State* state, std::uint64_t units);

// Counts one thing that a native function of the running evaluation is about to
// make (see kScriptMadeLimit). Past the limit the script is stopped for good and
// this throws the CLuaScriptError that ends the native function, so that the
// error names it. Nothing outside an evaluation.
void CountMadeThing(lua_State* state);

// Stops the running script for `reason` and raises its Lua error.
int StopScript(lua_State* state, const char* reason);

// The work of copying `bytes` bytes, and of reading them one by one.
constexpr std::uint64_t WorkOfBytes(std::size_t bytes) { return bytes / kBytesPerWorkUnit; }
constexpr std::uint64_t WorkOfScan(std::size_t bytes) { return bytes / kScannedBytesPerWorkUnit; }

}  // namespace DRAV
