#pragma once
// What one run of scripts may spend, and the records that track it beside each
// Lua state. A run is an evaluation and every evaluation the game makes inside it,
// or every evaluation of one step of play (script_run.h).
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
#include <optional>

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
// instruction): checked at every instruction hook, on the processor time of the
// game's thread. Time the machine spends on other programs, or stopped, is not the
// script's: nothing a script reaches waits for anything, so the wall clock would
// only ever stop a script for a busy or paused machine, and no wall-clock guard is
// kept.
constexpr std::chrono::milliseconds kScriptTimeLimit{250};
// Reading the processor time is a system call, dear beside a few hundred
// instructions or a short evaluation: it is read again only once this much of the
// wall clock has passed (RecentThreadProcessorTime), so a run's time is off by at
// most twice this much.
constexpr std::chrono::milliseconds kProcessorClockStaleness{1};
constexpr int kInstructionsPerHook = 256;
// Calls of native functions that hand the game something that outlives the
// evaluation: a line, a box, an event, a sound, an effect, an item, a tag, a
// journal entry, a reply, a change of the party, a door or a faction. Each costs
// the game work after the script has ended (an effect flies and is resolved, a box
// waits for the player, the interface lays itself out again), which no counter of
// the script's own work sees. A call counts once, whatever it hands over.
constexpr std::uint32_t kScriptMadeLimit = 1'000;
// Of those, boxes and help pages (a shout is a box): each waits for the player to
// close it, one by one. The sample shows at most two in a run; a scene told in boxes
// takes a handful.
constexpr std::uint32_t kScriptPageLimit = 16;

// How deep evaluations may run inside one another: a tag a script sets runs the
// quests' scripts inside it, and a quest item one of those gives sets a tag again.
// Real chains go two or three deep.
constexpr std::size_t kScriptNestingLimit = 8;

// The text one native function takes from a script: a line of the message window or
// a dialog box's page. The longest line of the sample is under 400 bytes; ten times
// that is room for any real line, and what a run can hand over stays small (a
// thousand calls, four megabytes).
constexpr std::size_t kScriptTextLimit = 4096;
// The same text once PARTY (a line per member) and MAINNAME are filled in: room for
// the whole party written into a full text.
constexpr std::size_t kExpandedTextLimit = 2 * kScriptTextLimit;
// A word the game keeps for every save from then on: a tag, a map location, a
// journal entry's keys, a place, and the module's own tags and person keys. The
// sample's have at most 21 characters; the module archive's file names hold 63.
constexpr std::size_t kScriptWordLimit = 64;
// Tags a script may add to the game. The sample uses a few dozen.
constexpr std::size_t kScriptTagLimit = 2048;
// The same for the map locations scripts reveal, whose names take the tags' bound.
constexpr std::size_t kScriptLocationLimit = 2048;
// Stacks a script fills a pack with: one whose pack holds this many takes no new one.
// The sample's whole chapter holds a few dozen kinds of item.
constexpr std::size_t kScriptPackLimit = 1024;

// The error of a script stopped for its work or its time.
inline constexpr const char* kScriptRanTooLong = "script ran too long";

// What a run ran out of.
enum class ScriptLimit { Work, Time, Memory, Made, Depth };

// What a run spends: one evaluation and every evaluation run inside it (the
// quests' scripts a tag it sets runs), or every evaluation of one step of play
// (CScriptRun), which share it, so that no script can spend more by making the
// game run others.
struct CScriptBudget {
    std::uint64_t work = 0;
    std::size_t memory = 0;  // held by the states of all its running evaluations
    std::uint32_t made = 0;  // calls that handed the game something, counted by CountMadeThing
    std::uint32_t pages = 0;  // of them, pages put in front of the player, counted by CountPage
    const char* stopReason = nullptr;  // set once the run is stopped
    std::uint64_t spender = 0;         // the serial of the evaluation that spent it, 0 for none
    // The thread's processor time when the run's first evaluation began; none
    // before, so that a step of play that runs no script reads no clock.
    std::optional<std::chrono::nanoseconds> start;
};

// What one evaluation keeps beside its Lua state, reached through the state's
// extra space.
struct CEvalRecord {
    CScriptContext* context = nullptr;
    lua_State* mainThread = nullptr;
    std::size_t memory = 0;  // held by this evaluation's own state
    CScriptBudget* run = nullptr;  // the budget of the run it belongs to
    std::uint64_t serial = 0;      // tells evaluations apart, also those of one state
    // The evaluation of the same run that this one runs inside, or null; what the
    // run had spent when this one began.
    CEvalRecord* enclosing = nullptr;
    std::uint64_t workAtStart = 0;
    std::uint32_t madeAtStart = 0;
    std::chrono::nanoseconds started{};  // the thread's processor time
    // The thread of the native function running now, or null, and whether it has
    // handed the game something yet.
    lua_State* call = nullptr;
    bool callMade = false;
};

// The record of the evaluation running in `state` (any of its coroutines), or null.
CEvalRecord*& EvalRecordSlot(lua_State* state);

// The budget of the run that the evaluation in `state` belongs to.
CScriptBudget& RunBudget(lua_State* state);

// The thread's processor time now, as the limits read it.
std::chrono::nanoseconds ScriptClock();

// Whether `run` has passed its time limit.
bool PastTimeLimit(const CScriptBudget& run);

// Stops `run` for `reason` (unless it was stopped already) and finds the
// evaluation that spent it: of `innermost` (the evaluation running now, or null)
// and those it runs inside, the one that spent most of `limit` itself. For
// memory, `request` is what `innermost` asked for when it ran out.
void StopRun(CScriptBudget& run, CEvalRecord* innermost, const char* reason, ScriptLimit limit,
             std::size_t request = 0);

// Why `run` may go on no longer, or null: it was stopped, or its time is past,
// which stops it (`innermost` as for StopRun).
const char* SpentReason(CScriptBudget& run, CEvalRecord* innermost);

// Whether the evaluation of `record` is the one that spent its run.
bool SpentTheRun(const CEvalRecord& record);

// For a native function that has done its work: when the run is spent (a script
// run inside this one may have spent it), the evaluation in `state` is stopped
// too and the reason returned; else null.
const char* StopIfSpent(lua_State* state);

// Counts the instructions of `state` and of every coroutine it makes from now on.
void ArmInstructionHook(lua_State* state);

// Adds `units` to the work of the run. Past the limit the script
// is stopped: this raises the Lua error and does not return.
void ChargeWork(lua_State* state, std::uint64_t units);

// ChargeWork for a native function, which must not leave by Lua's error: past the
// limit it throws the CLuaScriptError that ends the function.
void ChargeNativeWork(lua_State* state, std::uint64_t units);

// Ends the native function running in `state` past a limit: the run is stopped for
// good and the CLuaScriptError of its reason thrown.
[[noreturn]] void StopNative(lua_State* state, const char* reason, ScriptLimit limit);

// Stops the running script for `reason` and raises its Lua error.
int StopScript(lua_State* state, const char* reason, ScriptLimit limit, std::size_t request = 0);

// The work of copying `bytes` bytes, and of reading them one by one.
constexpr std::uint64_t WorkOfBytes(std::size_t bytes) { return bytes / kBytesPerWorkUnit; }
constexpr std::uint64_t WorkOfScan(std::size_t bytes) { return bytes / kScannedBytesPerWorkUnit; }

}  // namespace DRAV
