#pragma once
// How many units of an item one stack may hold, and the one reader of such a count
// from a file: a module's item lists and a saved game's items take the same limit,
// so nothing a module gives can become a save that will not load.

#include <cstdint>
#include <limits>

#include "common/data_file_reader.h"

namespace DRAV {

// The most units one stack holds: as many as a save reads back. Counts joined
// past it stay apart rather than wrap.
constexpr std::int32_t kMostInStack = std::numeric_limits<std::int32_t>::max();

// A count of 0 to kMostInStack; anything else is code 1 naming the file and the value.
inline std::uint32_t ReadItemCount(DRAVCommon::CDataFileReader& reader, const char* what = "an item count") {
    return reader.ReadUInt(0, static_cast<std::uint32_t>(kMostInStack), what);
}

}  // namespace DRAV
