#include "rules/definitions/travel_map.h"

#include "common/data_file_reader.h"
#include "common/exception.h"

namespace DRAV {
namespace {

// Two numbers in a group or bare; a "0" where the group would open stands for an
// absent group, and the two numbers follow it.
// Positions and sizes are pixels of the map's pictures, which the drawing turns
// into whole pixel numbers: anything outside a picture's possible range is refused.
constexpr double kLargestPictureSide = 65536.0;

double ReadPixels(DRAVCommon::CDataFileReader& reader) {
    const double value = reader.ReadDouble();
    if (!(value >= 0.0 && value <= kLargestPictureSide))
        reader.Fail(DRAV_ERR_BAD_DATA, "a map area's position and size are pixels from 0 to 65536");
    return value;
}

void ReadPair(DRAVCommon::CDataFileReader& reader, double& first, double& second) {
    reader.BeginGroup(2, true);
    first = ReadPixels(reader);
    second = ReadPixels(reader);
}

}  // namespace

CMap2Area::CMap2Area(DRAVCommon::CDataFileReader& reader) {
    reader.BeginBlock("area");
    m_name = reader.ReadWord();
    m_displayName = reader.ReadQuoted();
    ReadPair(reader, m_x, m_y);
    ReadPair(reader, m_width, m_height);
    m_known = reader.ReadBool();
    if (reader.BeginGroup(2, false)) {
        m_entryArea = reader.ReadWord();
        m_entryName = reader.ReadWordOrEmpty();
    } else {
        m_entryArea = reader.ReadWord();
    }
    if (!reader.AtBlockEnd()) m_wayThere = reader.ReadQuoted();
    reader.EndBlock();
}

std::shared_ptr<CMap2> CMap2::Load(CGame* game, DRAVCommon::CDataFileReader& reader) {
    auto map = std::make_shared<CMap2>();
    map->m_game = game;
    reader.BeginBlock("map");
    map->m_name = reader.ReadWord();
    map->m_pictureName = reader.ReadQuoted();
    map->m_areaPictureName = reader.ReadQuoted();
    reader.BeginBlock("areas");
    while (reader.IsBlock("area")) map->m_areas.push_back(std::make_shared<CMap2Area>(reader));
    reader.EndBlock();
    reader.EndBlock();
    return map;
}

CMap2Area& CMap2::GetArea(const std::string& name) const {
    for (const auto& area : m_areas)
        if (area->GetName() == name) return *area;
    throw CDRAVException(DRAV_ERR_BAD_DATA, "map " + m_name + " has no area \"" + name + "\"");
}

}  // namespace DRAV
