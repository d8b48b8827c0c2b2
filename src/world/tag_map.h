#pragma once
// Named integer tags of the game state (quest tags, revealed locations) and their
// saved form: one ( name value ) group per tag, in name order.

#include <cstddef>
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
// one already stored under its name. Code 1 for anything but a group of two, for a
// name no save keeps (IsSavableWord; `what` names one in the error, "quest tag"),
// and for more than `most` names.
void LoadTagMap(TagMap& tags, DRAVCommon::CDataFileReader& reader, std::size_t most, const std::string& what);

// Code 2 unless `names` holds `name` or has room for it as a script adds names:
// while it holds fewer than `limit`. `what` names one of them in the error ("tag").
void RequireRoomFor(const TagMap& names, const std::string& name, std::size_t limit, const std::string& what);

}  // namespace DRAV
