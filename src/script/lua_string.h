#pragma once
// Text placed into generated Lua source.

#include <string>
#include <string_view>

namespace DRAV {

// `text` as a double-quoted Lua string literal that reads back as exactly the same
// bytes, whatever they are: quotes, backslashes, line breaks and control bytes are
// escaped, bytes above 127 are kept as they are.
std::string QuoteLuaString(std::string_view text);

}  // namespace DRAV
