#include "sweep/data_tokens.h"

namespace QuillmereSweep {
namespace {

bool IsSpace(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }

}  // namespace

void ForEachDataToken(const std::string& text, const std::function<void(const DataToken&)>& visit) {
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
            visit({token, start, line});
        }
    }
}

}  // namespace QuillmereSweep
