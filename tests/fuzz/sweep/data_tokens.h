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

// Element tags among the tokens: "<monster2>" opens, "</monster2>" closes, both named "monster2".
inline bool IsOpeningTag(std::string_view token) {
    return token.size() > 2 && token.front() == '<' && token[1] != '/' && token.back() == '>';
}
inline bool IsClosingTag(std::string_view token) {
    return token.size() > 3 && token.substr(0, 2) == "</" && token.back() == '>';
}
inline std::string_view TagName(std::string_view token) {
    return token.substr(token[1] == '/' ? 2 : 1, token.size() - (token[1] == '/' ? 3 : 2));
}

// As above; each Lua script is also handed to `visitScript` whole, from its <lua>
// tag to the end of its </lua> tag, at the place it stands among the tokens.
void ForEachDataToken(const std::string& text, const std::function<void(const DataToken&)>& visit,
                      const std::function<void(const DataToken&)>& visitScript);

}  // namespace QuillmereSweep
