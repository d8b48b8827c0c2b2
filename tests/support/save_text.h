#pragma once
// Saved games edited as text, for the tests of saves the game must refuse.

#include <string>

namespace QuillmereTest {

// The saved game's text with its current area, the name written after the
// party's travellers, replaced by "0": the party nowhere, as an older build saved a
// game caught between two areas. `area` receives the name taken out; the text
// comes back unchanged, and `area` empty, when it has no such field.
inline std::string WithoutCurrentArea(const std::string& save, std::string& area) {
    area.clear();
    const std::size_t travellers = save.find("</nonlocated>");
    if (travellers == std::string::npos) return save;
    const std::size_t open = save.find('"', travellers);
    const std::size_t close = open == std::string::npos ? open : save.find('"', open + 1);
    if (close == std::string::npos) return save;
    area = save.substr(open + 1, close - open - 1);
    std::string edited = save;
    edited.replace(open, close - open + 1, "\"0\"");
    return edited;
}

}  // namespace QuillmereTest
