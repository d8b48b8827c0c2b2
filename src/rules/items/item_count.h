#pragma once
// How many units of an item one stack may hold, and the one reader of such a count
// from a file: a module's item lists and a saved game's items take the same limit,
// so nothing a module gives can become a save that will not load.

#include <cstddef>
#include <cstdint>
#include <limits>
#include <string>

#include "common/data_file_reader.h"
#include "common/exception.h"

namespace DRAV {

// The most units one stack holds: as many as a save reads back. Counts joined
// past it stay apart rather than wrap.
constexpr std::int32_t kMostInStack = std::numeric_limits<std::int32_t>::max();

// The most stacks a saved game keeps in one list: a pack, an actor's drops, a pile
// or a container. Scripts fill a pack to a quarter of it at most; play gathers a few
// dozen kinds of item.
constexpr std::size_t kSavedItemListLimit = 4096;
// Code 1 naming the file when a saved list that holds `held` stacks has another.
inline void RequireRoomInSavedList(const DRAVCommon::CDataFileReader& reader, std::size_t held) {
    if (held >= kSavedItemListLimit)
        reader.Fail(DRAV_ERR_BAD_DATA, "a list of more than " + std::to_string(kSavedItemListLimit) + " items");
}

// A count of 0 to kMostInStack; anything else is code 1 naming the file and the value.
inline std::uint32_t ReadItemCount(DRAVCommon::CDataFileReader& reader, const char* what = "an item count") {
    return reader.ReadUInt(0, static_cast<std::uint32_t>(kMostInStack), what);
}

}  // namespace DRAV
