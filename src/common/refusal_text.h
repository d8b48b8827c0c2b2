#pragma once
// How a refusal names the data it refuses: a number to its last digit, so that
// the value named is the very one refused, and a word or a text by a short piece
// of it, so that a word of 64 KB does not fill the message and the box showing it.

#include <cstddef>
#include <string>
#include <string_view>

namespace DRAVCommon {

// The most bytes of a word or a text a refusal repeats.
constexpr std::size_t kQuotedPieceLimit = 40;

// The shortest digits that read back as `value`: "40.000001", "1e+300".
std::string ExactNumber(double value);

// `data` in double quotes; one longer than kQuotedPieceLimit bytes as its first
// whole UTF-8 letters within them, "..." and its size: "\"www...\" (65535 bytes)".
std::string QuotedPiece(std::string_view data);

}  // namespace DRAVCommon
