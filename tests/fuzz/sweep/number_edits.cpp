#include "sweep/number_edits.h"

#include "sweep/data_tokens.h"

namespace QuillmereSweep {
namespace {

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
    ForEachDataToken(text, [&](const DataToken& token) {
        std::size_t first = token.offset, last = token.offset + token.text.size();
        if (text[first] == '(') ++first;
        if (last > first && text[last - 1] == ')') --last;
        if (IsNumber(text.data() + first, text.data() + last)) spots.push_back({first, last - first, token.line});
    });
    return spots;
}

std::string ReplaceNumber(const std::string& text, const NumberSpot& spot, const std::string& value) {
    std::string edited = text;
    edited.replace(spot.offset, spot.length, value);
    return edited;
}

}  // namespace QuillmereSweep
