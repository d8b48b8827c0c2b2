#include "script/lua_script.h"

#include <optional>
#include <string>

#include "common/data_file_reader.h"
#include "common/exception.h"
#include "common/trace.h"
#include "script/fresh_lua_state.h"
#include "script/lua_string.h"
#include "script/script_args.h"
#include "script/script_function.h"
#include "script/script_limits.h"
#include "script/script_run.h"

namespace DRAV {
namespace {

const char* const kScriptHeader = "function drav_script( context )\n";

const char* const kSpecialStatKeys[] = {"locks", "traps", "diplomacy", "stealth", "observation"};

// Every native function runs inside this wrapper. Lua is C: a C++ exception must
// not unwind through its frames, so whatever a native function throws ends it
// with a Lua error: the function's name and what went wrong, which a script may
// catch like any error of its own and which otherwise ends it as a script error.
// A function that leaves the run spent (a script it ran inside this one spent it,
// or the time ran out meanwhile) ends the script at once with the run's reason.
int CallNative(lua_State* state) {
    lua_CFunction handler = lua_tocfunction(state, lua_upvalueindex(1));
    const char* name = lua_tostring(state, lua_upvalueindex(2));
    CEvalRecord& record = *EvalRecordSlot(state);
    record.call = state;
    record.callMade = false;
    int results = 0;
    std::string luaError;
    try {
        results = handler(state);
    } catch (const CLuaScriptError& error) {
        luaError = std::string(name) + ": " + error.what();
    } catch (const std::exception& failure) {
        luaError = std::string(name) + ": " + ScriptFailureReason(failure);
    } catch (...) {
        luaError = std::string(name) + ": unknown failure";
    }
    record.call = nullptr;
    if (const char* spent = StopIfSpent(state)) luaError = std::string(name) + ": " + spent;
    if (luaError.empty()) return results;
    // The long jump skips the destructors: nothing may hold memory by then.
    lua_pushlstring(state, luaError.data(), luaError.size());
    std::string().swap(luaError);
    return lua_error(state);
}

std::string ErrorText(lua_State* state) {
    size_t length = 0;
    const char* text = lua_tolstring(state, -1, &length);
    if (!text) return std::string("script raised a ") + luaL_typename(state, -1) + " as its error";
    return std::string(text, length);
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

// Throws the script error of a failed step, with Lua's text: one that says whose
// budget ended it when another script spent the run.
void CLuaScript::CheckStep(lua_State* state, int status, const CEvalRecord& record) const {
    if (status == LUA_OK) return;
    std::string text = FromOrigin(ErrorText(state));
    DRAV_TRACE(2, "Lua Error: %s", text.c_str());
    if (record.run->stopReason && !SpentTheRun(record)) throw CScriptRunSpent(std::move(text));
    throw CDRAVException(DRAV_ERR_SCRIPT, std::move(text));
}

CScriptContext* RunningContext(lua_State* state) {
    CEvalRecord* record = EvalRecordSlot(state);
    return record ? record->context : nullptr;
}

CLuaScript::CLuaScript(DRAVCommon::CDataFileReader& reader, std::string origin)
    : CLuaScript(BodyText(reader), std::move(origin)) {}

CLuaScript::CLuaScript(const std::string& tag) : CLuaScript(SetTagText(tag), std::string()) {}

CLuaScript::CLuaScript(const std::string& tag, std::int32_t statistic, std::int32_t number, const std::string& title,
                       const std::string& text, std::string origin)
    : CLuaScript(TriggerText(tag, statistic, number, title, text), std::move(origin)) {}

// Compiled once now, so that a mistake is found when the module or the area is
// read, naming where it stands, and no evaluation compiles again.
CLuaScript::CLuaScript(Text text, std::string origin)
    : m_source(std::move(text.source)), m_origin(std::move(origin)), m_chunk(Compile()) {}

CCompiledChunk CLuaScript::Compile() const {
    std::string error;
    std::optional<CCompiledChunk> chunk = CCompiledChunk::Compile(m_source, ChunkName(), error);
    if (!chunk) throw CDRAVException(DRAV_ERR_BAD_DATA, FromOrigin(std::move(error)));
    return std::move(*chunk);
}

CLuaScript::Text CLuaScript::BodyText(DRAVCommon::CDataFileReader& reader) {
    Text text{kScriptHeader};
    while (!reader.AtBlockEnd()) {
        text.source += reader.ReadWord();
        text.source += ' ';
    }
    text.source += "\nend\n";
    return text;
}

CLuaScript::Text CLuaScript::SetTagText(const std::string& tag) {
    std::string source = kScriptHeader;
    source += "drav_set_tag( context, " + QuoteLuaString(tag) + " )\n";
    source += "end\n";
    return {std::move(source)};
}

CLuaScript::Text CLuaScript::TriggerText(const std::string& tag, std::int32_t statistic, std::int32_t number,
                                         const std::string& title, const std::string& text) {
    if (statistic < 0 || statistic > kTriggerNoSpecialStat)
        throw CDRAVException(DRAV_ERR_OUT_OF_RANGE, "trigger " + tag + ": no special statistic " +
                                                        std::to_string(statistic));
    std::string source = kScriptHeader;
    const std::string quotedTag = QuoteLuaString(tag);
    source += "  if(drav_check_tag(context, " + quotedTag + " )) then \n";
    source += "    return \n";
    source += "  end \n";
    if (statistic != kTriggerNoSpecialStat) {
        source += "  if(not drav_special_stat_check(context, " + QuoteLuaString(kSpecialStatKeys[statistic]) + ", " +
                  std::to_string(number) + ")) then \n";
        source += "    return \n";
        source += "  end \n";
    }
    source += "  drav_dialog_box(context, " + QuoteLuaString(title) + ", " + QuoteLuaString(text) + ") \n";
    source += "  drav_set_tag(context, " + quotedTag + ") \n";
    source += "end \n";
    return {std::move(source)};
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
    if (const char* refused = CFreshLuaState::Refusal()) throw CScriptRunSpent(FromOrigin(refused));

    CFreshLuaState fresh(context);
    lua_State* state = fresh.State();
    const CEvalRecord& record = fresh.Record();
    CheckStep(state, m_chunk.Load(state), record);
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
