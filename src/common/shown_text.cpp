#include "common/shown_text.h"

#include <cstdint>

namespace DRAVCommon {

namespace {

// The bytes of the letter that starts at `at`, or 0 when none does: UTF-8 as the
// standard has it, with no stray or missing continuation byte, no sequence longer
// than it needs, no surrogate and nothing past U+10FFFF.
std::size_t LetterLength(const std::string& text, std::size_t at) {
    const auto lead = static_cast<unsigned char>(text[at]);
    std::size_t length = 0;
    std::uint32_t point = 0;
    if (lead < 0x80) return 1;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
        point = lead & 0x1Fu;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        point = lead & 0x0Fu;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        point = lead & 0x07u;
    } else {
        return 0;
    }
    if (text.size() - at < length) return 0;
    for (std::size_t k = 1; k < length; ++k) {
        const auto next = static_cast<unsigned char>(text[at + k]);
        if ((next & 0xC0u) != 0x80u) return 0;
        point = (point << 6) | (next & 0x3Fu);
    }
    if ((length == 3 && point < 0x800) || (length == 4 && point < 0x10000)) return 0;
    if ((point >= 0xD800 && point <= 0xDFFF) || point > 0x10FFFF) return 0;
    return length;
}

}  // namespace

std::string ShownTextFault(const std::string& text) {
    if (text.find('\0') != std::string::npos) return "holds a NUL byte";
    for (std::size_t at = 0; at < text.size();) {
        const std::size_t length = LetterLength(text, at);
        if (length == 0) return "is not UTF-8";
        at += length;
    }
    return "";
}

std::string ShownText(std::string text) {
    for (std::size_t at = 0; at < text.size();) {
        const std::size_t length = text[at] == '\0' ? 0 : LetterLength(text, at);
        if (length == 0) text[at++] = '?';
        else at += length;
    }
    return text;
}

}  // namespace DRAVCommon
