#pragma once
// The data tokens of a ".drav" element text, found as the element reader splits it:
// white-space separated tokens, "#" comments to the end of the line, quoted texts.
// Comments, quoted texts and Lua scripts (with their <lua> tags) are the author's
// prose and code, not data, and are passed over.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

namespace QuillmereSweep {

struct DataToken {
    std::string_view text;
    std::size_t offset = 0;  // of its first character in the text
    std::uint32_t line = 1;  // counted from 1
};

void ForEachDataToken(const std::string& text, const std::function<void(const DataToken&)>& visit);

}  // namespace QuillmereSweep
