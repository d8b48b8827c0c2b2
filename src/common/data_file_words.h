#pragma once
// What a word and a quoted text of the ".drav" text may hold to read back as they
// were written: the writer refuses anything else, and the reader of a file the
// game wrote refuses the same, so that whatever loads can be saved again.

#include <string>

namespace DRAVCommon {

// No white space, which would split it, and no leading "#", "<" or "(", which the
// reader takes for a comment, an element or a group. The empty word is written "0".
inline bool IsWritableWord(const std::string& word) {
    if (!word.empty() && (word[0] == '#' || word[0] == '<' || word[0] == '(')) return false;
    return word.find_first_of(" \t\n\v\f\r") == std::string::npos;
}

// No double quote, which would end it, and no line break.
inline bool IsWritableText(const std::string& text) { return text.find_first_of("\"\n\r") == std::string::npos; }

}  // namespace DRAVCommon
