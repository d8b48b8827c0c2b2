#include "platform/win32/message_box_text.h"

#include <vector>

namespace Win32 {
namespace {

bool IsContinuation(char c) { return (static_cast<unsigned char>(c) & 0xC0) == 0x80; }

// The characters of `text` as UTF-8 sequences; a stray byte is a character of its own.
std::vector<std::string> Characters(const std::string& text) {
    std::vector<std::string> characters;
    for (char c : text) {
        if (IsContinuation(c) && !characters.empty() && !characters.back().empty() &&
            !IsContinuation(characters.back().front()))
            characters.back() += c;
        else
            characters.emplace_back(1, c);
    }
    return characters;
}

// One line of the text, without its own breaks, wrapped onto `out`.
void WrapLine(const std::vector<std::string>& line, std::size_t width, std::string& out) {
    std::size_t column = 0;  // characters on the output line so far
    bool broken = false;     // the output line began at a break made here
    const auto lineBreak = [&] {
        while (column > 0 && out.back() == ' ') {
            out.pop_back();
            --column;
        }
        out += '\n';
        column = 0;
        broken = true;
    };
    for (std::size_t start = 0; start < line.size();) {
        if (line[start] == " ") {
            // Blanks after a break made here are the break's; any others stay.
            if (column >= width) {
                lineBreak();
            } else if (!(broken && column == 0)) {
                out += ' ';
                ++column;
            }
            ++start;
            continue;
        }
        std::size_t end = start;
        while (end < line.size() && line[end] != " ") ++end;
        if (column > 0 && column + (end - start) > width) lineBreak();
        for (; start < end; ++start) {
            // A word longer than a line goes on where the line is full.
            if (column == width) lineBreak();
            out += line[start];
            ++column;
        }
    }
}

}  // namespace

std::string WrapMessageBoxText(const std::string& text, std::size_t width) {
    if (width == 0) return text;
    std::string out;
    std::vector<std::string> line;
    for (const std::string& character : Characters(text)) {
        if (character == "\n") {
            WrapLine(line, width, out);
            out += '\n';
            line.clear();
        } else {
            line.push_back(character);
        }
    }
    WrapLine(line, width, out);
    std::size_t lines = 1, last = 0;  // the lines so far, where the last one shown begins
    for (std::size_t at = out.find('\n'); at != std::string::npos; at = out.find('\n', at + 1)) {
        if (++lines == kMessageBoxLineLimit) last = at + 1;
        if (lines > kMessageBoxLineLimit) return out.substr(0, last) + "...";
    }
    return out;
}

}  // namespace Win32
