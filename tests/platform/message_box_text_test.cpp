#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/win32/message_box_text.h"

namespace {

// Each text broken as the box shows it, a UTF-8 sequence one character.
TEST(MessageBoxText, LongLinesBreakAtBlanksAndLongWordsWhereTheLineIsFull) {
    struct Case {
        std::string text;
        std::size_t width;
        std::string wrapped;
    };
    std::string lines;  // one line short of a box full
    for (std::size_t line = 1; line < Win32::kMessageBoxLineLimit; ++line) lines += std::string(10, 'w') + "\n";
    const std::vector<Case> cases = {
        {"short text", 20, "short text"},
        {"the party stays where it is", 10, "the party\nstays\nwhere it\nis"},
        {"exactly ten", 11, "exactly ten"},
        {"exactly ten", 10, "exactly\nten"},
        // A path has no blank to break at.
        {"Failed \"/home/wren/Documents/Saved/Wren.drav\": gone", 12,
         "Failed\n\"/home/wren/\nDocuments/Sa\nved/Wren.dra\nv\": gone"},
        // Breaks of its own stay, and a break made here takes the blanks around it.
        {"one\ntwo three   four", 9, "one\ntwo three\nfour"},
        {"  indented\n\nafter a blank line", 40, "  indented\n\nafter a blank line"},
        // An accented letter is one character and never split.
        {"\xc3\xa9\xc3\xa9\xc3\xa9\xc3\xa9", 3, "\xc3\xa9\xc3\xa9\xc3\xa9\n\xc3\xa9"},
        {"", 5, ""},
        // A fatal error at the width the box uses.
        {"The game met an error it cannot go on from (Error 2: the game has no current area). Try reinstalling, "
         "or contact Velmarsh for support.",
         Win32::kMessageBoxLineLength,
         "The game met an error it cannot go on from (Error 2: the game\nhas no current area). Try reinstalling, "
         "or contact Velmarsh for\nsupport."},
        // A box holds as many lines as the screen does, counted once wrapped: a word of 64 KB shows its first ones.
        {lines + std::string(10, 'w'), 10, lines + std::string(10, 'w')},
        {lines + std::string(65536, 'w'), 10, lines + "..."},
    };
    for (const Case& c : cases) EXPECT_EQ(Win32::WrapMessageBoxText(c.text, c.width), c.wrapped) << c.text.substr(0, 80);
}

}  // namespace
