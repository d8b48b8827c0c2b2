#pragma once
// Names the game keeps and saves as single words (tag names, journal keys, person
// keys) must read back as the same one word. They are checked where they enter the
// game, so that no save is ever written that will not load.

#include <string>

namespace DRAV {

// True unless the word holds whitespace or begins with "#", "<" or "(": those would
// read back as a comment, an element or a group. The empty word is written as "0".
bool IsSavableWord(const std::string& word);
// Code 2 naming `what` and the word when it is not savable.
void RequireSavableWord(const std::string& word, const std::string& what);

// A text that a save holds as one quoted line: a double quote or a line break in
// it would make every later save fail, so they become a single quote and a blank.
std::string SavableLine(std::string text);

}  // namespace DRAV
