#include "common/refusal_text.h"

#include <charconv>

namespace DRAVCommon {

std::string ExactNumber(double value) {
    char digits[32];
    const auto written = std::to_chars(digits, digits + sizeof digits, value);
    return std::string(digits, written.ptr);
}

std::string QuotedPiece(std::string_view data) {
    if (data.size() <= kQuotedPieceLimit) return "\"" + std::string(data) + "\"";
    // A letter cut in two would leave the message itself no UTF-8.
    std::size_t cut = kQuotedPieceLimit;
    while (cut > 0 && (static_cast<unsigned char>(data[cut]) & 0xC0u) == 0x80u) --cut;
    return "\"" + std::string(data.substr(0, cut)) + "...\" (" + std::to_string(data.size()) + " bytes)";
}

}  // namespace DRAVCommon
