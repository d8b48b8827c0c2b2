#include "sweep/data_tokens.h"

namespace QuillmereSweep {
namespace {

bool IsSpace(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }

}  // namespace

void ForEachDataToken(const std::string& text, const std::function<void(const DataToken&)>& visit) {
    ForEachDataToken(text, visit, nullptr);
}

void ForEachDataToken(const std::string& text, const std::function<void(const DataToken&)>& visit,
                      const std::function<void(const DataToken&)>& visitScript) {
    std::uint32_t line = 1;
    bool inQuote = false;
    bool inScript = false;
    DataToken script;
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
        } else if (token.front() == '#') {
            // The reader drops a comment wherever a word begins with one, in a script too.
            while (at < text.size() && text[at] != '\n') ++at;
        } else if (inScript) {
            inScript = token != "</lua>";
            if (!inScript && visitScript) {
                script.text = std::string_view(text.data() + script.offset, at - script.offset);
                visitScript(script);
            }
        } else if (token.front() == '"') {
            inQuote = token.size() > 1 && token.back() != '"';
        } else if (token == "<lua>") {
            inScript = true;
            script = {{}, start, line};
        } else {
            visit({token, start, line});
        }
    }
}

}  // namespace QuillmereSweep
