#include "script/script_args.h"

#include <cstdint>

#include "common/exception.h"

#include "script/lua_script.h"
#include "script/script_limits.h"

namespace DRAV {

CScriptContext& GetLuaContext(lua_State* state, bool talk) {
    // A full userdata whose block happens to hold a context is not trusted either:
    // only the pointer this evaluation handed to drav_script is.
    CScriptContext* running = RunningContext(state);
    if (!running || lua_touserdata(state, 1) != running) throw CLuaScriptError("Script didn't propagate context\n");
    if (talk && !(running->testMode ? running->testPartner != nullptr : running->partner != nullptr))
        throw CLuaScriptError("Talk used in non-talk script\n");
    return *running;
}

std::string GetLuaString(lua_State* state, int index) {
    if (lua_type(state, index) != LUA_TSTRING && lua_type(state, index) != LUA_TNUMBER)
        throw CLuaScriptError("Bad string arg\n");
    size_t length = 0;
    const char* text = lua_tolstring(state, index, &length);
    return std::string(text, length);
}

std::string GetLuaText(lua_State* state, int index) {
    if (lua_type(state, index) == LUA_TSTRING && lua_rawlen(state, index) > kScriptTextLimit)
        throw CLuaScriptError("argument " + std::to_string(index) + " is longer than " +
                              std::to_string(kScriptTextLimit) + " bytes\n");
    return GetLuaString(state, index);
}

namespace {

[[noreturn]] void FailWholeNumber(int index) {
    throw CLuaScriptError("argument " + std::to_string(index) +
                          " is not a whole number from -2147483648 to 2147483647\n");
}

}  // namespace

std::int32_t GetLuaInteger(lua_State* state, int index) {
    if (!lua_isnumber(state, index)) return 0;
    // 1e10 or 2.5 would otherwise wrap or be cut to some other count without a word.
    int exact = 0;
    const lua_Integer value = lua_tointegerx(state, index, &exact);
    if (!exact || value < INT32_MIN || value > INT32_MAX) FailWholeNumber(index);
    return static_cast<std::int32_t>(value);
}

std::int32_t GetLuaOptionalInteger(lua_State* state, int index, std::int32_t absent) {
    if (lua_isnoneornil(state, index)) return absent;
    if (!lua_isnumber(state, index)) FailWholeNumber(index);
    return GetLuaInteger(state, index);
}

std::string ScriptFailureReason(const std::exception& failure) {
    if (const auto* known = dynamic_cast<const CDRAVException*>(&failure); known && !known->GetMessage().empty())
        return known->GetMessage();
    return failure.what();
}

}  // namespace DRAV
