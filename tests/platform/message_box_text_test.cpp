#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "platform/win32/message_box_text.h"

namespace {

// Each text broken as the box shows it: no line longer than the width (a UTF-8
// sequence is one character), no line starting with a blank the break left, and
// every letter still there in order.
TEST(MessageBoxText, LongLinesBreakAtBlanksAndLongWordsWhereTheLineIsFull) {
    struct Case {
        std::string text;
        std::size_t width;
        std::string wrapped;
    };
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
    };
    const auto letters = [](std::string all) {
        std::erase_if(all, [](char c) { return c == ' ' || c == '\n'; });
        return all;
    };
    for (const Case& c : cases) {
        const std::string wrapped = Win32::WrapMessageBoxText(c.text, c.width);
        EXPECT_EQ(wrapped, c.wrapped) << c.text;
        EXPECT_EQ(letters(wrapped), letters(c.text)) << c.text;
    }
    // The error the issue saw, at the width the box uses.
    const std::string fatal =
        "The game met an error it cannot go on from (Error 2: the game has no current area). Try reinstalling, "
        "or contact Velmarsh for support.";
    std::istringstream lines(Win32::WrapMessageBoxText(fatal));
    int count = 0;
    for (std::string line; std::getline(lines, line); ++count) {
        EXPECT_LE(line.size(), Win32::kMessageBoxLineLength) << line;
        EXPECT_NE(line.front(), ' ') << line;
    }
    EXPECT_EQ(count, 3);
}

}  // namespace
