#pragma once
// Names the game keeps and saves as single words (tag names, map locations, journal
// keys, person keys, places) must read back as the same one word, and stay small:
// a script may hand the game thousands of them, and every save carries them. They
// are checked where they enter the game, so that no save is ever written that will
// not load, and a load takes no word that play could not have kept.

#include <cstddef>
#include <string>
#include <string_view>

namespace DRAVCommon {
class CDataFileReader;
}

namespace DRAV {

// True for a word of at most kScriptWordLimit bytes that holds no whitespace and
// does not begin with "#", "<" or "(": those would read back as a comment, an
// element or a group. The empty word is written as "0".
bool IsSavableWord(const std::string& word);
// Code 2 naming `what` when the word is not savable.
void RequireSavableWord(const std::string& word, std::string_view what);
// Code 1 naming `what` when `word`, just read from a saved game, is one play could
// not have kept.
void RequireSavedWord(const DRAVCommon::CDataFileReader& reader, const std::string& word, std::string_view what);

// The word in quotes for a message, or its size when it is too long to repeat.
std::string NamedWord(const std::string& word);

// A text that a save holds as one quoted line: a double quote or a line break in
// it would make every later save fail, so they become a single quote and a blank,
// and a byte that is no UTF-8 letter, which no save loads, becomes a "?".
std::string SavableLine(std::string text);

}  // namespace DRAV
