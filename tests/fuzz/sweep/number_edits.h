#pragma once
// The numbers among the data tokens of a ".drav" element text (data_tokens.h), a
// group's parentheses glued to its first or last value taken off. Numbers inside
// comments, quoted texts and Lua scripts are not data and are not found.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace QuillmereSweep {

struct NumberSpot {
    std::size_t offset = 0;  // of the number's first character in the text
    std::size_t length = 0;
    std::uint32_t line = 1;  // counted from 1
};

std::vector<NumberSpot> FindNumbers(const std::string& text);

// `text` with the number at `spot` replaced by `value`.
std::string ReplaceNumber(const std::string& text, const NumberSpot& spot, const std::string& value);

}  // namespace QuillmereSweep
