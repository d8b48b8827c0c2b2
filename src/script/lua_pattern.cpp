#include "script/lua_pattern.h"

#include <cctype>
#include <cstring>

#include "script/script_limits.h"

// C style throughout: Lua raises its errors with a long jump, which must not
// cross a frame that owns a C++ object.

namespace DRAV {
namespace {

constexpr char kEscape = '%';
constexpr const char* kSpecials = "^$*+?.([%-";
constexpr int kMaxCaptures = 32;
constexpr int kMaxDepth = 200;
constexpr std::ptrdiff_t kUnfinished = -1;
constexpr std::ptrdiff_t kPosition = -2;

struct Capture {
    const char* init;
    std::ptrdiff_t length;
};

struct MatchState {
    const char* sourceInit;
    const char* sourceEnd;
    const char* patternEnd;
    lua_State* state;
    int depth;
    int level;
    std::uint64_t steps;
    std::uint64_t stepLimit;
    Capture captures[kMaxCaptures];
};

// Steps between two looks at the clock: the hook cannot look while the matcher runs.
constexpr std::uint64_t kStepsPerClockCheck = 4096;

// Every step of the matcher is one unit of the script's work.
void Step(MatchState* ms, std::uint64_t steps = 1) {
    const std::uint64_t before = ms->steps;
    ms->steps += steps;
    if (ms->steps > ms->stepLimit) {
        RunBudget(ms->state).work = kScriptWorkLimit;
        ChargeWork(ms->state, 1);
    }
    if (before / kStepsPerClockCheck != ms->steps / kStepsPerClockCheck && PastTimeLimit(RunBudget(ms->state)))
        StopScript(ms->state, kScriptRanTooLong, ScriptLimit::Time);
}

void Prepare(MatchState* ms, lua_State* state, const char* source, std::size_t sourceLength, const char* pattern,
             std::size_t patternLength) {
    ms->state = state;
    ms->sourceInit = source;
    ms->sourceEnd = source + sourceLength;
    ms->patternEnd = pattern + patternLength;
    ms->steps = 0;
    const std::uint64_t used = RunBudget(state).work;
    ms->stepLimit = used < kScriptWorkLimit ? kScriptWorkLimit - used : 0;
}

void Restart(MatchState* ms) {
    ms->level = 0;
    ms->depth = kMaxDepth;
}

// Adds the steps of a finished call to the script's work.
void Settle(MatchState* ms) {
    RunBudget(ms->state).work += ms->steps;
    ms->steps = 0;
}

int CheckCapture(MatchState* ms, int l) {
    l -= '1';
    if (l < 0 || l >= ms->level || ms->captures[l].length == kUnfinished)
        return luaL_error(ms->state, "invalid capture index %%%d", l + 1);
    return l;
}

int CaptureToClose(MatchState* ms) {
    int level = ms->level;
    for (level--; level >= 0; level--)
        if (ms->captures[level].length == kUnfinished) return level;
    return luaL_error(ms->state, "invalid pattern capture");
}

const char* ClassEnd(MatchState* ms, const char* p) {
    switch (*p++) {
        case kEscape:
            if (p == ms->patternEnd) luaL_error(ms->state, "malformed pattern (ends with '%%')");
            return p + 1;
        case '[':
            if (*p == '^') p++;
            do {
                if (p == ms->patternEnd) luaL_error(ms->state, "malformed pattern (missing ']')");
                if (*(p++) == kEscape && p < ms->patternEnd) p++;
            } while (*p != ']');
            return p + 1;
        default: return p;
    }
}

bool MatchClass(int c, int cl) {
    bool result;
    switch (std::tolower(cl)) {
        case 'a': result = std::isalpha(c); break;
        case 'c': result = std::iscntrl(c); break;
        case 'd': result = std::isdigit(c); break;
        case 'g': result = std::isgraph(c); break;
        case 'l': result = std::islower(c); break;
        case 'p': result = std::ispunct(c); break;
        case 's': result = std::isspace(c); break;
        case 'u': result = std::isupper(c); break;
        case 'w': result = std::isalnum(c); break;
        case 'x': result = std::isxdigit(c); break;
        case 'z': result = c == 0; break;  // old spelling of a zero byte, still accepted
        default: return cl == c;
    }
    return std::isupper(cl) ? !result : result;
}

// `p` at the '[' of a set, `ec` at its ']'.
bool MatchBracketClass(int c, const char* p, const char* ec) {
    bool found = true;
    if (*(p + 1) == '^') {
        found = false;
        p++;
    }
    while (++p < ec) {
        if (*p == kEscape) {
            p++;
            if (MatchClass(c, static_cast<unsigned char>(*p))) return found;
        } else if (*(p + 1) == '-' && p + 2 < ec) {
            p += 2;
            if (static_cast<unsigned char>(*(p - 2)) <= c && c <= static_cast<unsigned char>(*p)) return found;
        } else if (static_cast<unsigned char>(*p) == c) {
            return found;
        }
    }
    return !found;
}

bool SingleMatch(MatchState* ms, const char* s, const char* p, const char* ep) {
    if (s >= ms->sourceEnd) return false;
    const int c = static_cast<unsigned char>(*s);
    switch (*p) {
        case '.': return true;
        case kEscape: return MatchClass(c, static_cast<unsigned char>(*(p + 1)));
        case '[': return MatchBracketClass(c, p, ep - 1);
        default: return static_cast<unsigned char>(*p) == c;
    }
}

const char* Match(MatchState* ms, const char* s, const char* p);

const char* MatchBalance(MatchState* ms, const char* s, const char* p) {
    if (p >= ms->patternEnd - 1) luaL_error(ms->state, "malformed pattern (missing arguments to '%%b')");
    if (s >= ms->sourceEnd || *s != *p) return nullptr;
    const char open = *p;
    const char close = *(p + 1);
    int depth = 1;
    while (++s < ms->sourceEnd) {
        Step(ms);
        if (*s == close) {
            if (--depth == 0) return s + 1;
        } else if (*s == open) {
            depth++;
        }
    }
    return nullptr;
}

const char* MaxExpand(MatchState* ms, const char* s, const char* p, const char* ep) {
    std::ptrdiff_t i = 0;
    while (SingleMatch(ms, s + i, p, ep)) {
        Step(ms);
        i++;
    }
    while (i >= 0) {
        if (const char* result = Match(ms, s + i, ep + 1)) return result;
        i--;
    }
    return nullptr;
}

const char* MinExpand(MatchState* ms, const char* s, const char* p, const char* ep) {
    for (;;) {
        if (const char* result = Match(ms, s, ep + 1)) return result;
        if (!SingleMatch(ms, s, p, ep)) return nullptr;
        s++;
    }
}

const char* StartCapture(MatchState* ms, const char* s, const char* p, std::ptrdiff_t what) {
    if (ms->level >= kMaxCaptures) luaL_error(ms->state, "too many captures");
    ms->captures[ms->level].init = s;
    ms->captures[ms->level].length = what;
    ms->level++;
    const char* result = Match(ms, s, p);
    if (!result) ms->level--;
    return result;
}

const char* EndCapture(MatchState* ms, const char* s, const char* p) {
    const int l = CaptureToClose(ms);
    ms->captures[l].length = s - ms->captures[l].init;
    const char* result = Match(ms, s, p);
    if (!result) ms->captures[l].length = kUnfinished;
    return result;
}

const char* MatchCapture(MatchState* ms, const char* s, int l) {
    l = CheckCapture(ms, l);
    if (ms->captures[l].length < 0) return nullptr;  // a position capture matches no text
    const auto length = static_cast<std::size_t>(ms->captures[l].length);
    Step(ms, WorkOfBytes(length));
    if (static_cast<std::size_t>(ms->sourceEnd - s) >= length && std::memcmp(ms->captures[l].init, s, length) == 0)
        return s + length;
    return nullptr;
}

const char* Match(MatchState* ms, const char* s, const char* p) {
    if (ms->depth-- == 0) luaL_error(ms->state, "pattern too complex");
    for (;;) {
        Step(ms);
        if (p == ms->patternEnd) break;
        bool single = false;
        switch (*p) {
            case '(':
                s = *(p + 1) == ')' ? StartCapture(ms, s, p + 2, kPosition) : StartCapture(ms, s, p + 1, kUnfinished);
                break;
            case ')': s = EndCapture(ms, s, p + 1); break;
            case '$':
                if (p + 1 != ms->patternEnd) {
                    single = true;
                    break;
                }
                s = s == ms->sourceEnd ? s : nullptr;
                break;
            case kEscape:
                switch (*(p + 1)) {
                    case 'b':
                        s = MatchBalance(ms, s, p + 2);
                        if (s) {
                            p += 4;
                            continue;
                        }
                        break;
                    case 'f': {
                        p += 2;
                        if (*p != '[') luaL_error(ms->state, "missing '[' after '%%f' in pattern");
                        const char* ep = ClassEnd(ms, p);
                        const int previous = s == ms->sourceInit ? '\0' : static_cast<unsigned char>(*(s - 1));
                        const int current = s < ms->sourceEnd ? static_cast<unsigned char>(*s) : '\0';
                        if (!MatchBracketClass(previous, p, ep - 1) && MatchBracketClass(current, p, ep - 1)) {
                            p = ep;
                            continue;
                        }
                        s = nullptr;
                        break;
                    }
                    case '0': case '1': case '2': case '3': case '4':
                    case '5': case '6': case '7': case '8': case '9':
                        s = MatchCapture(ms, s, static_cast<unsigned char>(*(p + 1)));
                        if (s) {
                            p += 2;
                            continue;
                        }
                        break;
                    default: single = true; break;
                }
                break;
            default: single = true; break;
        }
        if (!single) break;

        const char* ep = ClassEnd(ms, p);
        if (!SingleMatch(ms, s, p, ep)) {
            if (*ep == '*' || *ep == '?' || *ep == '-') {
                p = ep + 1;
                continue;
            }
            s = nullptr;
            break;
        }
        switch (*ep) {
            case '?':
                if (const char* result = Match(ms, s + 1, ep + 1)) {
                    s = result;
                } else {
                    p = ep + 1;
                    continue;
                }
                break;
            case '+': s = MaxExpand(ms, s + 1, p, ep); break;
            case '*': s = MaxExpand(ms, s, p, ep); break;
            case '-': s = MinExpand(ms, s, p, ep); break;
            default:
                s++;
                p = ep;
                continue;
        }
        break;
    }
    ms->depth++;
    return s;
}

void PushOneCapture(MatchState* ms, int i, const char* s, const char* e) {
    if (i >= ms->level) {
        if (i != 0) luaL_error(ms->state, "invalid capture index %%%d", i + 1);
        lua_pushlstring(ms->state, s, static_cast<std::size_t>(e - s));
        return;
    }
    const std::ptrdiff_t length = ms->captures[i].length;
    if (length == kUnfinished) luaL_error(ms->state, "unfinished capture");
    if (length == kPosition)
        lua_pushinteger(ms->state, ms->captures[i].init - ms->sourceInit + 1);
    else
        lua_pushlstring(ms->state, ms->captures[i].init, static_cast<std::size_t>(length));
}

int PushCaptures(MatchState* ms, const char* s, const char* e) {
    const int count = ms->level == 0 && s ? 1 : ms->level;
    luaL_checkstack(ms->state, count, "too many captures");
    for (int i = 0; i < count; i++) PushOneCapture(ms, i, s, e);
    return count;
}

std::size_t RelativePosition(lua_Integer position, std::size_t length) {
    if (position >= 0) return static_cast<std::size_t>(position);
    if (0u - static_cast<std::size_t>(position) > length) return 0;
    return length + static_cast<std::size_t>(position) + 1;
}

bool HasSpecials(const char* p, std::size_t length) {
    std::size_t upto = 0;
    do {
        if (std::strpbrk(p + upto, kSpecials)) return true;
        upto += std::strlen(p + upto) + 1;  // a pattern may hold zeros
    } while (upto <= length);
    return false;
}

int FindAux(lua_State* state, bool find) {
    std::size_t sourceLength = 0;
    std::size_t patternLength = 0;
    const char* s = luaL_checklstring(state, 1, &sourceLength);
    const char* p = luaL_checklstring(state, 2, &patternLength);
    std::size_t init = RelativePosition(luaL_optinteger(state, 3, 1), sourceLength);
    if (init < 1) {
        init = 1;
    } else if (init > sourceLength + 1) {
        lua_pushnil(state);
        return 1;
    }
    if (find && (lua_toboolean(state, 4) || !HasSpecials(p, patternLength))) {
        // A plain search: linear time whatever the text.
        ChargeWork(state, WorkOfBytes(sourceLength + patternLength));
        const void* found = patternLength == 0 ? s + init - 1
                                               : memmem(s + init - 1, sourceLength - init + 1, p, patternLength);
        if (!found) {
            lua_pushnil(state);
            return 1;
        }
        const std::size_t at = static_cast<std::size_t>(static_cast<const char*>(found) - s);
        lua_pushinteger(state, static_cast<lua_Integer>(at + 1));
        lua_pushinteger(state, static_cast<lua_Integer>(at + patternLength));
        return 2;
    }
    MatchState ms;
    const char* s1 = s + init - 1;
    const bool anchor = *p == '^';
    if (anchor) {
        p++;
        patternLength--;
    }
    Prepare(&ms, state, s, sourceLength, p, patternLength);
    do {
        Restart(&ms);
        if (const char* e = Match(&ms, s1, p)) {
            Settle(&ms);
            if (find) {
                lua_pushinteger(state, s1 - s + 1);
                lua_pushinteger(state, e - s);
                return PushCaptures(&ms, nullptr, nullptr) + 2;
            }
            return PushCaptures(&ms, s1, e);
        }
    } while (s1++ < ms.sourceEnd && !anchor);
    Settle(&ms);
    lua_pushnil(state);
    return 1;
}

int Find(lua_State* state) { return FindAux(state, true); }
int MatchFunction(lua_State* state) { return FindAux(state, false); }

// The iterator's state, kept in a userdata; the text and the pattern are its
// upvalues 1 and 2, so they live as long as it does.
struct GmatchState {
    std::size_t next;       // offset where the next search starts
    std::ptrdiff_t last;    // end offset of the last match, or -1
};

int GmatchStep(lua_State* state) {
    std::size_t sourceLength = 0;
    std::size_t patternLength = 0;
    const char* s = lua_tolstring(state, lua_upvalueindex(1), &sourceLength);
    const char* p = lua_tolstring(state, lua_upvalueindex(2), &patternLength);
    auto* gm = static_cast<GmatchState*>(lua_touserdata(state, lua_upvalueindex(3)));
    MatchState ms;
    Prepare(&ms, state, s, sourceLength, p, patternLength);
    for (const char* src = s + gm->next; src <= ms.sourceEnd; src++) {
        Restart(&ms);
        const char* e = Match(&ms, src, p);
        if (e && e - s != gm->last) {
            gm->next = static_cast<std::size_t>(e - s);
            gm->last = e - s;
            Settle(&ms);
            return PushCaptures(&ms, src, e);
        }
    }
    gm->next = sourceLength + 1;
    Settle(&ms);
    return 0;
}

int Gmatch(lua_State* state) {
    luaL_checkstring(state, 1);
    luaL_checkstring(state, 2);
    lua_settop(state, 2);
    auto* gm = static_cast<GmatchState*>(lua_newuserdata(state, sizeof(GmatchState)));
    gm->next = 0;
    gm->last = -1;
    lua_pushcclosure(state, GmatchStep, 3);
    return 1;
}

void AddReplacementString(MatchState* ms, luaL_Buffer* b, const char* s, const char* e) {
    std::size_t length = 0;
    const char* replacement = lua_tolstring(ms->state, 3, &length);
    for (std::size_t i = 0; i < length; i++) {
        if (replacement[i] != kEscape) {
            luaL_addchar(b, replacement[i]);
            continue;
        }
        i++;
        const char c = i < length ? replacement[i] : '\0';
        if (!std::isdigit(static_cast<unsigned char>(c))) {
            if (c != kEscape) luaL_error(ms->state, "invalid use of '%c' in replacement string", kEscape);
            luaL_addchar(b, c);
        } else if (c == '0') {
            luaL_addlstring(b, s, static_cast<std::size_t>(e - s));
        } else {
            PushOneCapture(ms, c - '1', s, e);
            luaL_tolstring(ms->state, -1, nullptr);
            lua_remove(ms->state, -2);
            luaL_addvalue(b);
        }
    }
}

void AddValue(MatchState* ms, luaL_Buffer* b, const char* s, const char* e, int replacementType) {
    lua_State* state = ms->state;
    switch (replacementType) {
        case LUA_TFUNCTION: {
            lua_pushvalue(state, 3);
            const int count = PushCaptures(ms, s, e);
            lua_call(state, count, 1);
            break;
        }
        case LUA_TTABLE:
            PushOneCapture(ms, 0, s, e);
            lua_gettable(state, 3);
            break;
        default:
            AddReplacementString(ms, b, s, e);
            return;
    }
    if (!lua_toboolean(state, -1)) {
        lua_pop(state, 1);
        lua_pushlstring(state, s, static_cast<std::size_t>(e - s));
    } else if (!lua_isstring(state, -1)) {
        luaL_error(state, "invalid replacement value (a %s)", luaL_typename(state, -1));
    }
    luaL_addvalue(b);
}

int Gsub(lua_State* state) {
    std::size_t sourceLength = 0;
    std::size_t patternLength = 0;
    const char* src = luaL_checklstring(state, 1, &sourceLength);
    const char* p = luaL_checklstring(state, 2, &patternLength);
    const char* lastMatch = nullptr;
    const int replacementType = lua_type(state, 3);
    const lua_Integer maxCount = luaL_optinteger(state, 4, static_cast<lua_Integer>(sourceLength) + 1);
    const bool anchor = *p == '^';
    luaL_argcheck(state, replacementType == LUA_TNUMBER || replacementType == LUA_TSTRING ||
                             replacementType == LUA_TFUNCTION || replacementType == LUA_TTABLE,
                  3, "string/function/table expected");
    if (anchor) {
        p++;
        patternLength--;
    }
    luaL_Buffer b;
    luaL_buffinit(state, &b);
    MatchState ms;
    Prepare(&ms, state, src, sourceLength, p, patternLength);
    lua_Integer count = 0;
    while (count < maxCount) {
        Restart(&ms);
        const char* e = Match(&ms, src, p);
        if (e && e != lastMatch) {
            count++;
            // A replacement function runs Lua code, counted by the hook: settle first.
            Settle(&ms);
            AddValue(&ms, &b, src, e, replacementType);
            Prepare(&ms, state, ms.sourceInit, static_cast<std::size_t>(ms.sourceEnd - ms.sourceInit), p,
                    patternLength);
            src = lastMatch = e;
        } else if (src < ms.sourceEnd) {
            luaL_addchar(&b, *src++);
        } else {
            break;
        }
        if (anchor) break;
    }
    Settle(&ms);
    luaL_addlstring(&b, src, static_cast<std::size_t>(ms.sourceEnd - src));
    luaL_pushresult(&b);
    lua_pushinteger(state, count);
    return 2;
}

}  // namespace

void OpenBoundedPatterns(lua_State* state) {
    static const luaL_Reg kFunctions[] = {
        {"find", Find}, {"match", MatchFunction}, {"gmatch", Gmatch}, {"gsub", Gsub}, {nullptr, nullptr}};
    luaL_setfuncs(state, kFunctions, 0);
}

}  // namespace DRAV
