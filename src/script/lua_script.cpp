#include "script/lua_script.h"

#include <cstdlib>
#include <exception>
#include <new>
#include <string>

#include "common/data_file_reader.h"
#include "common/exception.h"
#include "common/trace.h"
#include "script/fresh_lua_state.h"
#include "script/lua_string.h"
#include "script/script_args.h"
#include "script/script_function.h"
#include "script/script_limits.h"

namespace DRAV {
namespace {

const char* const kScriptHeader = "function drav_script( context )\n";

const char* const kSpecialStatKeys[] = {"locks", "traps", "diplomacy", "stealth", "observation"};

// Every native function runs inside this wrapper: a C++ exception must not unwind
// through Lua's C frames, so an escaping one is parked in the evaluation's record,
// the script ends with a Lua error, and Eval throws the exception on unchanged.
// A Lua error raised in a native function is prefixed with the function's name.
int CallNative(lua_State* state) {
    lua_CFunction handler = lua_tocfunction(state, lua_upvalueindex(1));
    const char* name = lua_tostring(state, lua_upvalueindex(2));
    int results = 0;
    bool escaped = false;
    std::string luaError;
    try {
        results = handler(state);
    } catch (const CLuaScriptError& error) {
        luaError = std::string(name) + ": " + error.what();
        escaped = true;
    } catch (...) {
        if (CEvalRecord* record = EvalRecordSlot(state); record && !record->error) {
            record->error = std::current_exception();
            record->errorFunction = name;
        }
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

std::string ErrorText(lua_State* state) {
    size_t length = 0;
    const char* text = lua_tolstring(state, -1, &length);
    if (!text) return std::string("script raised a ") + luaL_typename(state, -1) + " as its error";
    return std::string(text, length);
}

// A script's allocations while it is only compiled, bounded as its runs are.
void* CompileAllocate(void* used, void* block, std::size_t oldSize, std::size_t newSize) {
    auto& total = *static_cast<std::size_t*>(used);
    if (newSize == 0) {
        if (block) total -= oldSize;
        std::free(block);
        return nullptr;
    }
    const std::size_t before = block ? oldSize : 0;
    if (newSize > before && total + (newSize - before) > kScriptMemoryLimit) return nullptr;
    void* grown = std::realloc(block, newSize);
    if (grown) total = total - before + newSize;
    return grown;
}

}  // namespace

const char* CLuaScript::ChunkName() const {
    // Lua cuts long chunk names short, so the origin goes in front of its messages
    // instead, and the chunk is just "the lua element".
    return m_origin.empty() ? m_source.c_str() : "=lua";
}

std::string CLuaScript::FromOrigin(std::string text) const {
    if (m_origin.empty()) return text;
    return m_origin + ": " + text;
}

// Throws what a failed step left: a native function's CDRAVException with its
// code, naming the script and the function; any other exception as it was;
// otherwise the script error with Lua's text.
void CLuaScript::CheckStep(lua_State* state, int status, const CEvalRecord& record) const {
    if (record.error) {
        try {
            std::rethrow_exception(record.error);
        } catch (const CDRAVException& failure) {
            const std::string function = record.errorFunction ? record.errorFunction : "native function";
            throw CDRAVException(failure.GetCode(),
                                 FromOrigin(function + ": " + (failure.GetMessage().empty()
                                                                   ? std::string(failure.what())
                                                                   : failure.GetMessage())),
                                 failure.GetReason());
        }
    }
    if (status == LUA_OK) return;
    std::string text = FromOrigin(ErrorText(state));
    DRAV_TRACE(2, "Lua Error: %s", text.c_str());
    throw CDRAVException(DRAV_ERR_SCRIPT, std::move(text));
}

CScriptContext* RunningContext(lua_State* state) {
    CEvalRecord* record = EvalRecordSlot(state);
    return record ? record->context : nullptr;
}

CLuaScript::CLuaScript(DRAVCommon::CDataFileReader& reader, std::string origin)
    : m_source(kScriptHeader), m_origin(std::move(origin)) {
    while (!reader.AtBlockEnd()) {
        m_source += reader.ReadWord();
        m_source += ' ';
    }
    m_source += "\nend\n";
    // Compiled once now, so that a mistake is found when the module or the area is
    // read, naming where it stands, rather than when the script first runs.
    std::size_t used = 0;
    lua_State* state = lua_newstate(CompileAllocate, &used);
    if (!state) throw std::bad_alloc();
    const int status = luaL_loadbufferx(state, m_source.data(), m_source.size(), ChunkName(), "t");
    std::string text = status == LUA_OK ? std::string() : ErrorText(state);
    lua_close(state);
    if (status == LUA_ERRMEM) text = "the script needs more memory than a script may use";
    if (status != LUA_OK) throw CDRAVException(DRAV_ERR_BAD_DATA, FromOrigin(text));
}

CLuaScript::CLuaScript(const std::string& tag) : m_source(kScriptHeader) {
    m_source += "drav_set_tag( context, " + QuoteLuaString(tag) + " )\n";
    m_source += "end\n";
}

CLuaScript::CLuaScript(const std::string& tag, std::int32_t statistic, std::int32_t number, const std::string& title,
                       const std::string& text, std::string origin)
    : m_source(kScriptHeader), m_origin(std::move(origin)) {
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
        lua_pushstring(state, function.name);
        lua_pushcclosure(state, CallNative, 2);
        lua_setglobal(state, function.name);
    }
}

std::int32_t CLuaScript::Eval(CEngine* engine, CScriptContext& context) const {
    context.engine = engine;

    CFreshLuaState fresh(context);
    lua_State* state = fresh.State();
    const CEvalRecord& record = fresh.Record();
    // The chunk is named by its own text, so Lua's messages quote the script's start.
    CheckStep(state, luaL_loadbufferx(state, m_source.data(), m_source.size(), ChunkName(), "t"), record);
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
    if (context.resultRequired) throw CDRAVException(DRAV_ERR_SCRIPT, FromOrigin("the script returned no result"));
    return 0;
}

}  // namespace DRAV
