#pragma once
// What a word and a quoted text of the ".drav" text may hold to read back as they
// were written: the writer refuses anything else, and the reader of a file the
// game wrote refuses the same, so that whatever loads can be saved again.

#include <cstddef>
#include <string>

namespace DRAVCommon {

// The longest run of bytes a file the game wrote holds between two blanks: far past
// its longest text (8 KiB). A reader of such a file gives up on a longer one as soon
// as it passes this, so that a stray file of any size costs what a small one does.
constexpr std::size_t kWrittenRunLimit = 64 * 1024;

// No white space, which would split it, and no leading "#", "<" or "(", which the
// reader takes for a comment, an element or a group. The empty word is written "0".
// Room is left for a group's parentheses.
inline bool IsWritableWord(const std::string& word) {
    if (!word.empty() && (word[0] == '#' || word[0] == '<' || word[0] == '(')) return false;
    return word.size() <= kWrittenRunLimit - 2 && word.find_first_of(" \t\n\v\f\r") == std::string::npos;
}

// Why `word`, which IsWritableWord refuses, would not read back as it is: "a word
// of 65535 bytes is longer than ...", "a word with white space", "a word starting
// with "#" would read back as a comment".
std::string UnwritableWordReason(const std::string& word);

// No double quote, which would end it, and no line break; room is left for the
// quotes and a group's parentheses.
inline bool IsWritableText(const std::string& text) {
    return text.size() <= kWrittenRunLimit - 4 && text.find_first_of("\"\n\r") == std::string::npos;
}

}  // namespace DRAVCommon
