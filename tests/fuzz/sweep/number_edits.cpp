#include "sweep/number_edits.h"

#include <string_view>

namespace QuillmereSweep {
namespace {

bool IsSpace(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// A plain decimal: an optional sign, digits with an optional point, an optional exponent.
bool IsNumber(const char* begin, const char* end) {
    const char* p = begin;
    if (p != end && (*p == '+' || *p == '-')) ++p;
    bool digits = false;
    while (p != end && IsDigit(*p)) ++p, digits = true;
    if (p != end && *p == '.') {
        ++p;
        while (p != end && IsDigit(*p)) ++p, digits = true;
    }
    if (!digits) return false;
    if (p != end && (*p == 'e' || *p == 'E')) {
        ++p;
        if (p != end && (*p == '+' || *p == '-')) ++p;
        if (p == end || !IsDigit(*p)) return false;
        while (p != end && IsDigit(*p)) ++p;
    }
    return p == end;
}

}  // namespace

std::vector<NumberSpot> FindNumbers(const std::string& text) {
    std::vector<NumberSpot> spots;
    std::uint32_t line = 1;
    bool inQuote = false;
    bool inScript = false;
    std::size_t at = 0;
    while (at < text.size()) {
        if (IsSpace(text[at])) {
            if (text[at] == '\n') ++line;
            ++at;
            continue;
        }
        const std::size_t start = at;
        while (at < text.size() && !IsSpace(text[at])) ++at;
        const std::string_view token(text.data() + start, at - start);
        if (inQuote) {
            inQuote = token.back() != '"';
        } else if (inScript) {
            inScript = token != "</lua>";
        } else if (token.front() == '#') {
            while (at < text.size() && text[at] != '\n') ++at;
        } else if (token.front() == '"') {
            inQuote = token.size() > 1 && token.back() != '"';
        } else if (token == "<lua>") {
            inScript = true;
        } else {
            std::size_t first = start, last = at;
            if (text[first] == '(') ++first;
            if (last > first && text[last - 1] == ')') --last;
            if (IsNumber(text.data() + first, text.data() + last)) spots.push_back({first, last - first, line});
        }
    }
    return spots;
}

std::string ReplaceNumber(const std::string& text, const NumberSpot& spot, const std::string& value) {
    std::string edited = text;
    edited.replace(spot.offset, spot.length, value);
    return edited;
}

}  // namespace QuillmereSweep
