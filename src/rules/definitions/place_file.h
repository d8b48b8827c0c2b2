#pragma once
// What a chapter's data file <name>.drav is to a journey that names it: a travel
// map, or an area with the entries the party can arrive at. Only as much of the
// file is read as tells that; the area itself is built by the world.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace DRAVCommon {
class CDataFileFactory;
}

namespace DRAV {

struct CPlaceFile {
    bool travelMap = false;
    // An area's entries in the order of its file; none for a map.
    std::vector<std::string> entryNames;
    // An area's grid, which a saved game's places must lie on; 0 by 0 for a map.
    std::uint32_t columns = 0;
    std::uint32_t rows = 0;
};

// A map's first element, or an area's grid size and entry names, its cells,
// scripts and whatever else precedes the list passed over unread. Code 1 when the
// module has no file of that name ("the module has no area "<name>""), or an area's
// file holds no readable entry list (naming the file).
CPlaceFile ReadPlaceFile(const std::shared_ptr<DRAVCommon::CDataFileFactory>& package, const std::string& name);

}  // namespace DRAV
