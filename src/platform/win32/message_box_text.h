#pragma once
// The text a message box shows, laid out for SDL's box, which wraps nothing: it
// is as wide as its longest line, so a long sentence or a path would make it wider
// than the window, the rest of the line cut off at the screen's edge.

#include <cstddef>
#include <string>

namespace Win32 {

// The longest line of a box, in characters: well inside the narrowest window the
// game allows (1024 pixels) in the box's font.
constexpr std::size_t kMessageBoxLineLength = 64;

// The most lines a box shows: more would run past the bottom of the screen, the
// button with them.
constexpr std::size_t kMessageBoxLineLimit = 24;

// `text` with a line break in place of the blank before each word that would run
// past `width` characters (UTF-8 sequences count as one); a word longer than a line
// is split where the line is full. The text's own line breaks are kept; past
// kMessageBoxLineLimit lines, the last one shown is "...". Nothing else of it changes.
std::string WrapMessageBoxText(const std::string& text, std::size_t width = kMessageBoxLineLength);

}  // namespace Win32
