#include "script/lua_script.h"

#include <algorithm>
#include <cstdlib>
#include <exception>
#include <new>

#include "common/data_file_reader.h"
#include "common/exception.h"
#include "common/trace.h"
#include "script/lua_string.h"
#include "script/script_args.h"
#include "script/script_function.h"

namespace DRAV {
namespace {

const char* const kScriptHeader = "function drav_script( context )\n";

const char* const kSpecialStatKeys[] = {"locks", "traps", "diplomacy", "stealth", "observation"};

// Limits of one evaluation. Module scripts are untrusted input: these are far
// above anything a real script needs (a conversation state runs a few hundred
// instructions and allocates a few kilobytes) but end a runaway script quickly.
constexpr std::uint64_t kInstructionLimit = 5'000'000;
constexpr int kInstructionsPerHook = 10'000;
constexpr std::size_t kMemoryLimit = 64u << 20;

// What one evaluation keeps beside its Lua state, reached through the state's
// extra space. Lua is C: a C++ exception must not unwind through its frames.
// Every native function runs inside CallNative, which parks an escaping exception
// here, ends the script with a Lua error and lets Eval throw the exception on
// unchanged.
struct EvalRecord {
    std::exception_ptr error;
    CScriptContext* context = nullptr;
    std::uint64_t instructions = 0;
    std::size_t memory = 0;
};

EvalRecord*& RecordSlot(lua_State* state) { return *static_cast<EvalRecord**>(lua_getextraspace(state)); }

void* LimitedAlloc(void* userData, void* block, size_t oldSize, size_t newSize) {
    auto* record = static_cast<EvalRecord*>(userData);
    // Without a block, oldSize names the kind of object Lua wants, not a size.
    const std::size_t held = block ? oldSize : 0;
    if (newSize == 0) {
        std::free(block);
        record->memory -= held;
        return nullptr;
    }
    if (newSize > held && record->memory - held + newSize > kMemoryLimit) return nullptr;
    void* grown = std::realloc(block, newSize);
    if (grown) record->memory = record->memory - held + newSize;
    return grown;
}

void CountInstructions(lua_State* state, lua_Debug*) {
    EvalRecord* record = RecordSlot(state);
    record->instructions += kInstructionsPerHook;
    if (record->instructions > kInstructionLimit) luaL_error(state, "script ran too long");
}

int CallNative(lua_State* state) {
    lua_CFunction handler = lua_tocfunction(state, lua_upvalueindex(1));
    int results = 0;
    bool escaped = false;
    std::string luaError;
    try {
        results = handler(state);
    } catch (const CLuaScriptError& error) {
        luaError = error.what();
        escaped = true;
    } catch (...) {
        if (EvalRecord* record = RecordSlot(state); record && !record->error)
            record->error = std::current_exception();
        escaped = true;
    }
    if (escaped) {
        if (luaError.empty()) lua_pushliteral(state, "native function failed");
        else lua_pushlstring(state, luaError.data(), luaError.size());
        std::string().swap(luaError);  // the long jump skips its destructor: free its block now
        return lua_error(state);
    }
    return results;
}

// load, with chunks read as text only: a binary chunk can break the Lua machine.
int LoadTextOnly(lua_State* state) {
    lua_settop(state, std::max(lua_gettop(state), 3));
    lua_pushliteral(state, "t");
    lua_replace(state, 3);
    lua_pushvalue(state, lua_upvalueindex(1));
    lua_insert(state, 1);
    lua_call(state, lua_gettop(state) - 1, LUA_MULTRET);
    return lua_gettop(state);
}

// Only the libraries that cannot reach the machine: no io, os, package or debug,
// and no loading of files.
int OpenLibrariesAndFunctions(lua_State* state) {
    const bool testMode = lua_toboolean(state, 1) != 0;
    static const luaL_Reg kLibraries[] = {
        {"_G", luaopen_base},          {LUA_COLIBNAME, luaopen_coroutine}, {LUA_TABLIBNAME, luaopen_table},
        {LUA_STRLIBNAME, luaopen_string}, {LUA_MATHLIBNAME, luaopen_math},     {LUA_UTF8LIBNAME, luaopen_utf8},
    };
    for (const luaL_Reg& library : kLibraries) {
        luaL_requiref(state, library.name, library.func, 1);
        lua_pop(state, 1);
    }
    lua_pushnil(state);
    lua_setglobal(state, "dofile");
    lua_pushnil(state);
    lua_setglobal(state, "loadfile");
    lua_getglobal(state, "load");
    lua_pushcclosure(state, LoadTextOnly, 1);
    lua_setglobal(state, "load");
    CLuaScript::RegisterFunctions(state, testMode);
    return 0;
}

int Panic(lua_State* state) {
    DRAV_TRACE(1, "Lua panic: %s", lua_tostring(state, -1) ? lua_tostring(state, -1) : "?");
    std::abort();
}

class CStateCloser {
public:
    explicit CStateCloser(lua_State* state) : m_state(state) {}
    ~CStateCloser() { lua_close(m_state); }
    CStateCloser(const CStateCloser&) = delete;
    CStateCloser& operator=(const CStateCloser&) = delete;

private:
    lua_State* m_state;
};

std::string ErrorText(lua_State* state) {
    size_t length = 0;
    const char* text = lua_tolstring(state, -1, &length);
    if (!text) return std::string("script raised a ") + luaL_typename(state, -1) + " as its error";
    return std::string(text, length);
}

// Throws what a failed step left: a native function's exception as it was,
// otherwise the script error with Lua's text.
void CheckStep(lua_State* state, int status, const EvalRecord& record) {
    if (record.error) std::rethrow_exception(record.error);
    if (status == LUA_OK) return;
    std::string text = ErrorText(state);
    DRAV_TRACE(2, "Lua Error: %s", text.c_str());
    throw CDRAVException(DRAV_ERR_SCRIPT, std::move(text));
}

}  // namespace

CScriptContext* RunningContext(lua_State* state) {
    EvalRecord* record = RecordSlot(state);
    return record ? record->context : nullptr;
}

CLuaScript::CLuaScript(DRAVCommon::CDataFileReader& reader) : m_source(kScriptHeader) {
    while (!reader.AtBlockEnd()) {
        m_source += reader.ReadWord();
        m_source += ' ';
    }
    m_source += "\nend\n";
}

CLuaScript::CLuaScript(const std::string& tag) : m_source(kScriptHeader) {
    m_source += "drav_set_tag( context, " + QuoteLuaString(tag) + " )\n";
    m_source += "end\n";
}

CLuaScript::CLuaScript(const std::string& tag, std::int32_t statistic, std::int32_t number, const std::string& title,
                       const std::string& text)
    : m_source(kScriptHeader) {
    if (statistic < 0 || statistic > kTriggerNoSpecialStat)
        throw CDRAVException(DRAV_ERR_OUT_OF_RANGE, "trigger " + tag + ": no special statistic " +
                                                        std::to_string(statistic));
    const std::string quotedTag = QuoteLuaString(tag);
    m_source += "  if(drav_check_tag(context, " + quotedTag + " )) then \n";
    m_source += "    return \n";
    m_source += "  end \n";
    if (statistic != kTriggerNoSpecialStat) {
        m_source += "  if(not drav_special_stat_check(context, " + QuoteLuaString(kSpecialStatKeys[statistic]) +
                    ", " + std::to_string(number) + ")) then \n";
        m_source += "    return \n";
        m_source += "  end \n";
    }
    m_source += "  drav_dialog_box(context, " + QuoteLuaString(title) + ", " + QuoteLuaString(text) + ") \n";
    m_source += "  drav_set_tag(context, " + quotedTag + ") \n";
    m_source += "end \n";
}

void CLuaScript::RegisterFunctions(lua_State* state, bool testMode) {
    for (const CScriptFunction& function : GetScriptFunctions()) {
        lua_CFunction handler = testMode ? function.testHandler : function.handler;
        if (!handler) continue;
        lua_pushcfunction(state, handler);
        lua_pushcclosure(state, CallNative, 1);
        lua_setglobal(state, function.name);
    }
}

std::int32_t CLuaScript::Eval(CEngine* engine, CScriptContext& context) const {
    context.engine = engine;

    EvalRecord record;  // outlives the state: closing it may still run native functions
    record.context = &context;
    lua_State* state = lua_newstate(LimitedAlloc, &record);
    if (!state) throw std::bad_alloc();
    CStateCloser closer(state);
    RecordSlot(state) = &record;
    lua_atpanic(state, Panic);

    lua_pushcfunction(state, OpenLibrariesAndFunctions);
    lua_pushboolean(state, context.testMode);
    if (int status = lua_pcall(state, 1, 0, 0); status == LUA_ERRMEM && !record.error) throw std::bad_alloc();
    else CheckStep(state, status, record);

    // Library set-up is not the script's: count only the script's own work.
    lua_sethook(state, CountInstructions, LUA_MASKCOUNT, kInstructionsPerHook);
    // The chunk is named by its own text, so Lua's messages quote the script's start.
    CheckStep(state, luaL_loadbuffer(state, m_source.data(), m_source.size(), m_source.c_str()), record);
    CheckStep(state, lua_pcall(state, 0, 0, 0), record);

    lua_getglobal(state, "drav_script");
    lua_pushlightuserdata(state, &context);
    CheckStep(state, lua_pcall(state, 1, 1, 0), record);

    if (lua_isboolean(state, -1)) return lua_toboolean(state, -1) ? 1 : 0;
    if (lua_isnumber(state, -1)) {
        int exact = 0;
        const lua_Integer value = lua_tointegerx(state, -1, &exact);
        return exact ? static_cast<std::int32_t>(static_cast<std::uint32_t>(value)) : 0;
    }
    if (context.resultRequired) throw CDRAVException(DRAV_ERR_SCRIPT, "");
    return 0;
}

}  // namespace DRAV
