#include "support/lua_parse_count.h"

#include <dlfcn.h>

#include <cstdlib>
#include <cstring>

#include <lua.hpp>

namespace {

std::uint64_t g_textCompiles = 0;

// Hands the caller's reader on, noting the chunk's first byte: binary chunks
// begin with Lua's signature, text never does.
struct Peek {
    lua_Reader reader;
    void* data;
    bool seen = false;
    bool binary = false;
};

const char* PeekingReader(lua_State* state, void* data, size_t* size) {
    auto* peek = static_cast<Peek*>(data);
    const char* block = peek->reader(state, peek->data, size);
    if (!peek->seen && block && *size > 0) {
        peek->seen = true;
        peek->binary = block[0] == LUA_SIGNATURE[0];
    }
    return block;
}

using LoadFunction = int (*)(lua_State*, lua_Reader, void*, const char*, const char*);

LoadFunction LibraryLoad() {
    static const auto load = reinterpret_cast<LoadFunction>(dlsym(RTLD_NEXT, "lua_load"));
    if (!load) std::abort();
    return load;
}

}  // namespace

extern "C" __attribute__((visibility("default"))) int lua_load(lua_State* state, lua_Reader reader, void* data,
                                                               const char* chunkName, const char* mode) {
    Peek peek{reader, data};
    const int status = LibraryLoad()(state, PeekingReader, &peek, chunkName, mode);
    // An empty chunk is empty text.
    if (!peek.binary) ++g_textCompiles;
    return status;
}

namespace QuillmereTest {

std::uint64_t LuaTextCompiles() { return g_textCompiles; }

}  // namespace QuillmereTest
