#include "script/lua_sandbox.h"

#include <algorithm>
#include <bit>
#include <cstdint>
#include <cstring>

#include "script/lua_pattern.h"
#include "script/script_limits.h"

namespace DRAV {
namespace {

// Reading or writing one table element from C (a lookup, a copy, a buffer
// append) costs about as much as a few instructions.
constexpr std::uint64_t kWorkPerTableElement = 4;

// The wrapped library function, kept as the closure's upvalue.
lua_CFunction Original(lua_State* state) { return lua_tocfunction(state, lua_upvalueindex(1)); }

// Functions that read the whole of their string arguments: tonumber, print,
// string.format, the case and packing functions, utf8.len and utf8.offset.
int ChargedByStrings(lua_State* state) {
    std::size_t bytes = 0;
    for (int i = 1, top = lua_gettop(state); i <= top; ++i)
        if (lua_type(state, i) == LUA_TSTRING) bytes += lua_rawlen(state, i);
    if (std::uint64_t units = WorkOfScan(bytes)) ChargeWork(state, units);
    return Original(state)(state);
}

// string.byte and utf8.codepoint push one value for every byte or character of
// the slice from argument 2 (default 1) to argument 3 (default argument 2).
int ChargedBySlice(lua_State* state) {
    const auto length = static_cast<lua_Integer>(lua_type(state, 1) == LUA_TSTRING ? lua_rawlen(state, 1) : 0);
    auto position = [&](int index, lua_Integer fallback) {
        int exact = 0;
        lua_Integer value = lua_isnoneornil(state, index) ? fallback : lua_tointegerx(state, index, &exact);
        if (!lua_isnoneornil(state, index) && !exact) value = fallback;
        if (value < 0) value = value < -length ? 0 : length + value + 1;
        return value < length ? value : length;
    };
    const lua_Integer from = position(2, 1);
    const lua_Integer to = position(3, from);
    if (to > from) ChargeWork(state, static_cast<std::uint64_t>(to - from));
    return Original(state)(state);
}

std::uint64_t RawLength(lua_State* state, int index) {
    return lua_type(state, index) == LUA_TTABLE ? lua_rawlen(state, index) : 0;
}

// The work of `elements` table elements, saturating past the limit.
std::uint64_t WorkOfElements(std::uint64_t elements) {
    return elements > kScriptWorkLimit ? kScriptWorkLimit + 1 : elements * kWorkPerTableElement;
}

// The number of elements from argument `first` to argument `last`, which default
// to 1 and to the raw length of the table at `table`. Bad arguments count nothing:
// the library function reports them.
std::uint64_t RangeLength(lua_State* state, int table, int first, int last) {
    int exact = 0;
    lua_Integer from = lua_isnoneornil(state, first) ? 1 : lua_tointegerx(state, first, &exact);
    if (!lua_isnoneornil(state, first) && !exact) return 0;
    lua_Integer to = 0;
    if (lua_isnoneornil(state, last)) to = static_cast<lua_Integer>(RawLength(state, table));
    else if (to = lua_tointegerx(state, last, &exact); !exact) return 0;
    if (to < from) return 0;
    const std::uint64_t span = static_cast<std::uint64_t>(to) - static_cast<std::uint64_t>(from);
    return span == UINT64_MAX ? span : span + 1;
}

// table.concat and table.unpack walk a range of the table; insert and remove
// shift the elements above a position; move copies a range; sort compares about
// n log n pairs. Charged before the work, so a range of 10^15 empty slots ends at once.
int ChargedConcat(lua_State* state) {
    ChargeWork(state, WorkOfElements(RangeLength(state, 1, 3, 4)));
    return Original(state)(state);
}

int ChargedUnpack(lua_State* state) {
    ChargeWork(state, WorkOfElements(RangeLength(state, 1, 2, 3)));
    return Original(state)(state);
}

int ChargedShift(lua_State* state) {
    ChargeWork(state, WorkOfElements(RawLength(state, 1)));
    return Original(state)(state);
}

int ChargedMove(lua_State* state) {
    if (!lua_isnoneornil(state, 3)) ChargeWork(state, WorkOfElements(RangeLength(state, 1, 2, 3)));
    return Original(state)(state);
}

int ChargedSort(lua_State* state) {
    const std::uint64_t n = RawLength(state, 1);
    ChargeWork(state, WorkOfElements(n * static_cast<std::uint64_t>(std::bit_width(n) + 1)));
    return Original(state)(state);
}

// A metatable with __gc would make its object run Lua code while the collector
// runs, where no limit is counted: scripts cannot set one. A __gc field added
// later does not mark the object.
int SafeSetMetatable(lua_State* state) {
    if (lua_type(state, 2) == LUA_TTABLE) {
        lua_pushliteral(state, "__gc");
        if (lua_rawget(state, 2) != LUA_TNIL) return luaL_error(state, "setmetatable: __gc is not allowed in scripts");
        lua_pop(state, 1);
    }
    return Original(state)(state);
}

// Lua runs a message handler where the error was raised, and the error that
// stops a script is raised inside the instruction hook, where no hook runs: the
// script's handler would run unbounded. Once the script is stopped its handlers
// are passed over and the message goes on as it is.
int GuardedMessageHandler(lua_State* state) {
    if (RunBudget(state).stopReason) return 1;
    lua_pushvalue(state, lua_upvalueindex(1));
    lua_insert(state, 1);
    lua_call(state, lua_gettop(state) - 1, 1);
    return 1;
}

int SafeXpcall(lua_State* state) {
    luaL_checktype(state, 2, LUA_TFUNCTION);
    lua_pushvalue(state, 2);
    lua_pushcclosure(state, GuardedMessageHandler, 1);
    lua_replace(state, 2);
    return Original(state)(state);
}

// The collector runs by itself; a script may ask how much memory it holds, and a
// request for a collection does nothing (a full collection is work no limit sees).
int SafeCollectGarbage(lua_State* state) {
    static const char* const kOptions[] = {"collect", "step", "count", "isrunning", nullptr};
    switch (luaL_checkoption(state, 1, "collect", kOptions)) {
        case 0: lua_pushinteger(state, 0); break;
        case 1: lua_pushboolean(state, false); break;
        case 2: lua_pushnumber(state, static_cast<lua_Number>(lua_gc(state, LUA_GCCOUNT, 0)) +
                                          static_cast<lua_Number>(lua_gc(state, LUA_GCCOUNTB, 0)) / 1024.0);
            break;
        default: lua_pushboolean(state, true); break;
    }
    return 1;
}

// load, with chunks read as text only: a binary chunk can break the Lua machine.
int LoadTextOnly(lua_State* state) {
    if (lua_type(state, 1) == LUA_TSTRING) ChargeWork(state, WorkOfScan(lua_rawlen(state, 1)));
    lua_settop(state, lua_gettop(state) > 3 ? lua_gettop(state) : 3);
    lua_pushliteral(state, "t");
    lua_replace(state, 3);
    return Original(state)(state);
}

// string.rep checks the size of its result against the memory limit before any
// work. Each repetition counts as a byte copied, so repeating an empty text
// 10^15 times is as costly as it would be to do.
int BoundedRep(lua_State* state) {
    std::size_t length = 0;
    std::size_t separatorLength = 0;
    const char* text = luaL_checklstring(state, 1, &length);
    const lua_Integer count = luaL_checkinteger(state, 2);
    const char* separator = luaL_optlstring(state, 3, "", &separatorLength);
    if (count <= 0) {
        lua_pushliteral(state, "");
        return 1;
    }
    const auto times = static_cast<std::uint64_t>(count);
    const std::uint64_t limit = kScriptMemoryLimit;
    if (length > limit / times || separatorLength > limit / times ||
        length * times + separatorLength * (times - 1) > limit) {
        if (length + separatorLength == 0) ChargeWork(state, WorkOfBytes(times));
        return StopScript(state, "not enough memory", ScriptLimit::Memory, static_cast<std::size_t>(limit) + 1);
    }
    const std::size_t total = length * times + separatorLength * (times - 1);
    ChargeWork(state, WorkOfBytes(std::max<std::uint64_t>(times, total)));
    luaL_Buffer buffer;
    char* out = luaL_buffinitsize(state, &buffer, total);
    // One repetition with its separator, then the filled part doubled.
    std::memcpy(out, text, length);
    std::size_t filled = length;
    if (times > 1) {
        std::memcpy(out + filled, separator, separatorLength);
        filled += separatorLength;
    }
    while (filled < total) {
        const std::size_t chunk = std::min(filled, total - filled);
        std::memcpy(out + filled, out, chunk);
        filled += chunk;
    }
    luaL_pushresultsize(&buffer, total);
    return 1;
}

// Replaces field `name` of the table on top of the stack by `wrapper`, which
// finds the library's function as its upvalue.
void Wrap(lua_State* state, const char* name, lua_CFunction wrapper) {
    lua_getfield(state, -1, name);
    lua_CFunction original = lua_tocfunction(state, -1);
    lua_pop(state, 1);
    lua_pushcfunction(state, original);
    lua_pushcclosure(state, wrapper, 1);
    lua_setfield(state, -2, name);
}

void Put(lua_State* state, const char* name, lua_CFunction function) {
    lua_pushcfunction(state, function);
    lua_setfield(state, -2, name);
}

}  // namespace

void OpenSandboxLibraries(lua_State* state) {
    static const luaL_Reg kLibraries[] = {
        {"_G", luaopen_base},          {LUA_COLIBNAME, luaopen_coroutine}, {LUA_TABLIBNAME, luaopen_table},
        {LUA_STRLIBNAME, luaopen_string}, {LUA_MATHLIBNAME, luaopen_math},     {LUA_UTF8LIBNAME, luaopen_utf8},
    };
    for (const luaL_Reg& library : kLibraries) {
        luaL_requiref(state, library.name, library.func, 1);
        lua_pop(state, 1);
    }

    lua_pushglobaltable(state);
    lua_pushnil(state);
    lua_setfield(state, -2, "dofile");
    lua_pushnil(state);
    lua_setfield(state, -2, "loadfile");
    Wrap(state, "load", LoadTextOnly);
    Wrap(state, "setmetatable", SafeSetMetatable);
    Wrap(state, "xpcall", SafeXpcall);
    Put(state, "collectgarbage", SafeCollectGarbage);
    for (const char* name : {"tonumber", "tostring", "print", "rawequal"}) Wrap(state, name, ChargedByStrings);
    lua_pop(state, 1);

    lua_getglobal(state, LUA_STRLIBNAME);
    for (const char* name : {"dump", "format", "lower", "pack", "packsize", "reverse", "unpack", "upper"})
        Wrap(state, name, ChargedByStrings);
    Wrap(state, "byte", ChargedBySlice);
    Put(state, "rep", BoundedRep);
    OpenBoundedPatterns(state);
    lua_pop(state, 1);

    lua_getglobal(state, LUA_UTF8LIBNAME);
    for (const char* name : {"len", "offset"}) Wrap(state, name, ChargedByStrings);
    Wrap(state, "codepoint", ChargedBySlice);
    lua_pop(state, 1);

    lua_getglobal(state, LUA_TABLIBNAME);
    Wrap(state, "concat", ChargedConcat);
    Wrap(state, "unpack", ChargedUnpack);
    Wrap(state, "insert", ChargedShift);
    Wrap(state, "remove", ChargedShift);
    Wrap(state, "move", ChargedMove);
    Wrap(state, "sort", ChargedSort);
    lua_pop(state, 1);
}

}  // namespace DRAV
