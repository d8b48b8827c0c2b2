#include "script/lua_string.h"

namespace DRAV {

std::string QuoteLuaString(std::string_view text) {
    std::string quoted;
    quoted.reserve(text.size() + 2);
    quoted.push_back('"');
    for (char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        switch (c) {
            case '"': quoted += "\\\""; break;
            case '\\': quoted += "\\\\"; break;
            case '\n': quoted += "\\n"; break;
            case '\r': quoted += "\\r"; break;
            case '\t': quoted += "\\t"; break;
            default:
                if (byte < 0x20 || byte == 0x7F) {
                    // Always three digits, so a following digit cannot join the escape.
                    quoted.push_back('\\');
                    quoted.push_back(static_cast<char>('0' + byte / 100));
                    quoted.push_back(static_cast<char>('0' + byte / 10 % 10));
                    quoted.push_back(static_cast<char>('0' + byte % 10));
                } else {
                    quoted.push_back(c);
                }
        }
    }
    quoted.push_back('"');
    return quoted;
}

}  // namespace DRAV
