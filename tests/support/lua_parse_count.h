#pragma once
// Counts every Lua chunk compiled from text in this process, whoever asks for it:
// the program's own loads, luaL_loadbufferx and the scripts' `load` all reach
// the parser through lua_load, which this program defines in front of the Lua
// library's and hands on unchanged. A program that wants the count compiles
// lua_parse_count.cpp into itself (a static library would not be linked in).

#include <cstdint>

namespace QuillmereTest {

// The text chunks compiled so far; binary chunks are loaded, not compiled.
std::uint64_t LuaTextCompiles();

}  // namespace QuillmereTest
