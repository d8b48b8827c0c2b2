#include "script/compiled_chunk.h"

#include <cstdlib>
#include <new>

#include "script/script_limits.h"

namespace DRAV {
namespace {

constexpr const char* kTooLarge = "the script needs more memory than a script may use";

// A bare Lua state that only compiles: no library, no global, nothing of one
// script kept for the next. Its memory is bounded per compile, counted from what
// the state held when the compile began.
class CCheckingState {
public:
    CCheckingState() : m_state(lua_newstate(Allocate, this)) {
        if (!m_state) throw std::bad_alloc();
    }
    ~CCheckingState() { lua_close(m_state); }
    CCheckingState(const CCheckingState&) = delete;
    CCheckingState& operator=(const CCheckingState&) = delete;

    // The bytecode of `source`, or nothing with Lua's message in `error`.
    std::optional<std::string> Compile(std::string_view source, const char* chunkName, std::string& error) {
        m_limit = m_used + kScriptMemoryLimit;
        const int status = luaL_loadbufferx(m_state, source.data(), source.size(), chunkName, "t");
        if (status == LUA_OK) {
            Dump dump;
            lua_dump(m_state, Append, &dump, 0);
            lua_settop(m_state, 0);
            if (dump.full) throw std::bad_alloc();
            return std::move(dump.bytes);
        }
        std::size_t length = 0;
        const char* text = lua_tolstring(m_state, -1, &length);
        if (status == LUA_ERRMEM) error = kTooLarge;
        else if (text) error.assign(text, length);
        else error = "the script does not compile";
        lua_settop(m_state, 0);
        return std::nullopt;
    }

private:
    static void* Allocate(void* self, void* block, std::size_t oldSize, std::size_t newSize) {
        auto& checking = *static_cast<CCheckingState*>(self);
        // Without a block, oldSize names the kind of object Lua wants, not a size.
        const std::size_t held = block ? oldSize : 0;
        if (newSize == 0) {
            std::free(block);
            checking.m_used -= held;
            return nullptr;
        }
        if (newSize > held && checking.m_used - held + newSize > checking.m_limit) return nullptr;
        void* grown = std::realloc(block, newSize);
        if (grown) checking.m_used = checking.m_used - held + newSize;
        return grown;
    }

    struct Dump {
        std::string bytes;
        bool full = false;
    };

    // No exception may unwind through lua_dump's C frames: a failure stops the dump.
    static int Append(lua_State*, const void* bytes, std::size_t size, void* data) {
        auto& dump = *static_cast<Dump*>(data);
        try {
            dump.bytes.append(static_cast<const char*>(bytes), size);
            return 0;
        } catch (const std::bad_alloc&) {
            dump.full = true;
            return 1;
        }
    }

    std::size_t m_used = 0;
    // Room for the state itself until the first compile sets the limit.
    std::size_t m_limit = kScriptMemoryLimit;
    lua_State* m_state;
};

CCheckingState& CheckingState() {
    static CCheckingState state;
    return state;
}

struct CBytecodeReader {
    const std::string* bytecode;
    bool done = false;
};

const char* ReadBytecode(lua_State*, void* data, std::size_t* size) {
    auto& reader = *static_cast<CBytecodeReader*>(data);
    if (reader.done) {
        *size = 0;
        return nullptr;
    }
    reader.done = true;
    *size = reader.bytecode->size();
    return reader.bytecode->data();
}

}  // namespace

std::optional<CCompiledChunk> CCompiledChunk::Compile(std::string_view source, const char* chunkName,
                                                      std::string& error) {
    std::optional<std::string> bytecode = CheckingState().Compile(source, chunkName, error);
    if (!bytecode) return std::nullopt;
    return CCompiledChunk(std::move(*bytecode));
}

int CCompiledChunk::Load(lua_State* state) const {
    // The chunk name only names a truncated dump; the functions carry their own.
    CBytecodeReader reader{&m_bytecode};
    return lua_load(state, ReadBytecode, &reader, "=compiled script", "b");
}

}  // namespace DRAV
