#pragma once
// Named integer tags of the game state (quest tags, revealed locations) and their
// saved form: one ( name value ) group per tag, in name order.

#include <cstdint>
#include <map>
#include <string>

namespace DRAVCommon {
class CDataFileReader;
class CDataFileWriter;
}

namespace DRAV {

using TagMap = std::map<std::string, std::int32_t>;

// Writes the tags inside the element the caller has opened.
void SaveTagMap(const TagMap& tags, DRAVCommon::CDataFileWriter& writer);

// Reads groups up to the end of the element the caller has opened; a value replaces
// one already stored under its name. Code 1 for anything but a group of two.
void LoadTagMap(TagMap& tags, DRAVCommon::CDataFileReader& reader);

}  // namespace DRAV
