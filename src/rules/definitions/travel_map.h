#pragma once
// A travel map of the chapter: the picture, the picture of the area markings, and
// the areas the party can travel to, each with its rectangle on the picture, the
// entry it arrives at and, where no way out leads there, how to get there. Read from a "map" element of the chapter's data file
// <map name>.drav, the same kind as the area files.

#include <memory>
#include <string>
#include <vector>

namespace DRAVCommon {
class CDataFileReader;
}

namespace DRAV {

class CGame;

class CMap2Area {
public:
    // Reads one "area" element.
    explicit CMap2Area(DRAVCommon::CDataFileReader& reader);

    const std::string& GetName() const { return m_name; }
    const std::string& GetDisplayName() const { return m_displayName; }
    // Top-left corner and size of the area's rectangle, in picture pixels.
    double GetX() const { return m_x; }
    double GetY() const { return m_y; }
    double GetWidth() const { return m_width; }
    double GetHeight() const { return m_height; }
    // Drawn on the map and open to travel.
    bool IsKnown() const { return m_known; }
    void SetKnown(bool known) { m_known = known; }
    // The area the party enters, and the entry there (empty: the default entry).
    const std::string& GetEntryArea() const { return m_entryArea; }
    const std::string& GetEntryName() const { return m_entryName; }
    // How a party gets there, finishing "To travel to <display name>, ...";
    // empty where any way out of an area to the map will do.
    const std::string& GetWayThere() const { return m_wayThere; }

private:
    std::string m_name;
    std::string m_displayName;
    double m_x = 0.0;
    double m_y = 0.0;
    double m_width = 0.0;
    double m_height = 0.0;
    bool m_known = false;
    std::string m_entryArea;
    std::string m_entryName;
    std::string m_wayThere;
};

using Map2AreaList = std::vector<std::shared_ptr<CMap2Area>>;

class CMap2 {
public:
    // Reads one "map" element; the map belongs to `game` (may be null).
    static std::shared_ptr<CMap2> Load(CGame* game, DRAVCommon::CDataFileReader& reader);

    const std::string& GetName() const { return m_name; }
    CGame* GetGame() const { return m_game; }
    // Data files of kind "map".
    const std::string& GetPictureName() const { return m_pictureName; }
    const std::string& GetAreaPictureName() const { return m_areaPictureName; }
    const Map2AreaList& GetAreas() const { return m_areas; }
    // The first area of that name; code 1 when there is none.
    CMap2Area& GetArea(const std::string& name) const;

private:
    std::string m_name;
    CGame* m_game = nullptr;
    std::string m_pictureName;
    std::string m_areaPictureName;
    Map2AreaList m_areas;
};

}  // namespace DRAV
