#pragma once
// The small records an area file gives besides its grid and objects: entries,
// exits, skies, ambient sounds, and the door cells that stand open.

#include <cstdint>
#include <list>
#include <memory>
#include <string>
#include <vector>

#include "rules/vocabulary/animation_direction.h"
#include "script/script.h"

namespace DRAVCommon {
class CDataFileReader;
}

namespace DRAV {

// A named point where the party arrives.
class CAreaEntry {
public:
    // Reads one "entry" element.
    explicit CAreaEntry(DRAVCommon::CDataFileReader& reader);

    std::string name;
    std::string text;
    std::uint32_t column = 0;
    std::uint32_t row = 0;
    // Run when the party enters here; may be null.
    std::shared_ptr<CScript> script;
};

// A way out of the area, marked in the area by an exit object.
class CAreaExit {
public:
    // Reads one "exit" element.
    explicit CAreaExit(DRAVCommon::CDataFileReader& reader);

    std::string name;
    std::string text;
    // The exit cell, and its centre in world units.
    std::uint32_t column = 0;
    std::uint32_t row = 0;
    double x = 0.0;
    double y = 0.0;
    // Empty: always offered; else only while that quest tag is set.
    std::string requiredTag;
    std::string destinationArea;
    // Empty: the destination's default.
    std::string destinationEntry;
    std::shared_ptr<CScript> script;
    std::string objectTemplate = "exit";
    Direction facing = DIR_NORTH;
};

// One sky layer handed to the sky renderer as written.
class CAreaSkyInfo {
public:
    // Reads one "sky" element.
    explicit CAreaSkyInfo(DRAVCommon::CDataFileReader& reader);

    std::string name;
    double values[4] = {};
};

// An ambient sound over the whole area or a rectangle of it.
class CAreaSoundInfo {
public:
    // Reads one "sound" element.
    explicit CAreaSoundInfo(DRAVCommon::CDataFileReader& reader);

    std::string name;
    bool hasRectangle = false;
    // World units; the corners as written, not ordered.
    double x1 = 0.0;
    double y1 = 0.0;
    double x2 = 0.0;
    double y2 = 0.0;
};

// A door cell that stands open.
struct CAreaOpenDoor {
    std::uint32_t column = 0;
    std::uint32_t row = 0;
};

using AreaEntryList = std::vector<std::shared_ptr<CAreaEntry>>;
using AreaExitList = std::vector<std::shared_ptr<CAreaExit>>;
using AreaSkyList = std::list<std::shared_ptr<CAreaSkyInfo>>;
using AreaSoundList = std::list<std::shared_ptr<CAreaSoundInfo>>;
using AreaOpenDoorList = std::list<std::shared_ptr<CAreaOpenDoor>>;

// A cell written as the group ( column row ); anything else is code 1 naming `what`.
void ReadCellGroup(DRAVCommon::CDataFileReader& reader, const char* what, std::uint32_t& column,
                   std::uint32_t& row);
// A facing word; the end of the data or a tag in its place is code 1.
Direction ReadFacing(DRAVCommon::CDataFileReader& reader);

// Reads a "sounds" element, appending one record per "sound".
void LoadAreaSounds(DRAVCommon::CDataFileReader& reader, AreaSoundList& sounds);

// The first record of that exact name, or null. Maps and saved places write the
// area's default entry as an empty name: that is its first entry.
CAreaEntry* FindAreaEntry(const AreaEntryList& entries, const std::string& name);
CAreaExit* FindAreaExit(const AreaExitList& exits, const std::string& name);

}  // namespace DRAV
