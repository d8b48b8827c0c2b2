#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "platform/win32/message_box_text.h"

namespace {

// The lines of a text, by its line breaks.
std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

// Characters of a UTF-8 line.
std::size_t Length(const std::string& line) {
    std::size_t count = 0;
    for (char c : line) count += (static_cast<unsigned char>(c) & 0xC0) != 0x80;
    return count;
}

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
    for (const Case& c : cases) EXPECT_EQ(Win32::WrapMessageBoxText(c.text, c.width), c.wrapped) << c.text;
}

// The box of the error the issue saw: no line wider than the box allows, and every
// word of it still there in order.
TEST(MessageBoxText, TheFatalErrorFitsAndKeepsEveryWord) {
    const std::string text =
        "The game met an error it cannot go on from (Error 2: the game has no current area). Try reinstalling, "
        "or contact Velmarsh for support. Failed to load \"/tmp/quillmere-home/Documents/Orvex Saved "
        "Games/Wren.drav\": the saved game has no current area.";
    const std::string wrapped = Win32::WrapMessageBoxText(text);
    const std::vector<std::string> lines = Lines(wrapped);
    ASSERT_GT(lines.size(), 3u);
    for (const std::string& line : lines) {
        EXPECT_LE(Length(line), Win32::kMessageBoxLineLength) << line;
        EXPECT_FALSE(line.empty());
        EXPECT_NE(line.front(), ' ') << line;
    }
    const auto letters = [](std::string all) {
        std::erase_if(all, [](char c) { return c == ' ' || c == '\n'; });
        return all;
    };
    EXPECT_EQ(letters(wrapped), letters(text));
}

}  // namespace
