#pragma once
// A script's Lua text compiled once, when it is read, and kept as Lua bytecode
// that each evaluation loads into its own fresh state.
//
// Binary chunks can break the Lua machine, so only bytecode this class made
// itself is ever loaded as binary: it compiles text alone (module text cannot
// pass for bytecode), dumps the function Lua's own compiler produced, and keeps
// the bytes where nothing else can reach or change them.

#include <optional>
#include <string>
#include <string_view>

#include <lua.hpp>

namespace DRAV {

class CCompiledChunk {
public:
    // Compiles `source` as a text chunk named `chunkName` in the checking state
    // that all scripts share, bounded by the memory limit of one evaluation.
    // When it does not compile, nothing, with Lua's message in `error`.
    static std::optional<CCompiledChunk> Compile(std::string_view source, const char* chunkName,
                                                 std::string& error);

    // Pushes the chunk's main function onto `state`, as lua_load does, with the
    // state's globals as its environment; or Lua's error and its status.
    int Load(lua_State* state) const;

private:
    explicit CCompiledChunk(std::string bytecode) : m_bytecode(std::move(bytecode)) {}

    // With its debug information, so that run-time errors name the line and the
    // chunk as they would from the text.
    std::string m_bytecode;
};

}  // namespace DRAV
