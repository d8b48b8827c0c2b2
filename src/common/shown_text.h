#pragma once
// What a text the game shows may hold: UTF-8 and no NUL byte, which would cut it
// short on the page. A saved game holds no other text, so that what it shows
// after a load is what play could have shown.

#include <string>

namespace DRAVCommon {

// Why `text` is no text the game shows, said of it ("holds a NUL byte", "is not
// UTF-8"), or "" for one that is.
std::string ShownTextFault(const std::string& text);
// `text` with each NUL byte and each byte that starts no UTF-8 letter made a "?",
// for a text a script hands the game, which may hold any bytes.
std::string ShownText(std::string text);

}  // namespace DRAVCommon
