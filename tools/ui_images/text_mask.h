#pragma once
// Words for the logo, rendered with the interface font into a coverage mask.

#include <cstdint>
#include <string>
#include <vector>

namespace QuillmereTools {

struct TextMask {
    int width = 0, height = 0;
    std::vector<std::uint8_t> coverage;  // width x height, row by row
};

// Throws std::runtime_error when the font cannot be opened or the text not drawn.
TextMask RenderTextMask(const std::string& fontPath, int pointSize, const std::string& text);

}  // namespace QuillmereTools
