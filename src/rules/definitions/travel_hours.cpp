#include "rules/definitions/travel_hours.h"

#include "common/data_file.h"
#include "common/data_file_reader.h"
#include "common/exception.h"

namespace DRAV {

CTravelHours::CTravelHours(DRAVCommon::CDataFileReader& reader) {
    reader.BeginBlock("travel");
    while (!reader.AtBlockEnd()) {
        const std::string from = reader.ReadWord();
        m_hours[from] = reader.ReadUInt(0, kMostTravelHours, "travel hours");
    }
    reader.EndBlock();
}

std::uint32_t CTravelHours::From(const std::string& fromArea) const {
    auto found = m_hours.find(fromArea);
    if (found == m_hours.end()) found = m_hours.find("default");
    return found != m_hours.end() ? found->second : 0;
}

CTravelHours ReadTravelHours(const std::shared_ptr<DRAVCommon::CDataFileFactory>& package,
                             const std::string& areaName) {
    if (!package) throw CDRAVException(DRAV_ERR_BAD_DATA, "no data source to read area " + areaName);
    DRAVCommon::CDataFileReader reader(*package, DRAVCommon::DFK_CHAPTER, DRAVCommon::DFS_NONE, areaName + ".drav");
    reader.BeginBlock("area");
    reader.ReadQuoted();
    reader.ReadBool();
    if (reader.IsBlock("world")) reader.SkipBlock("world");
    return reader.IsBlock("travel") ? CTravelHours(reader) : CTravelHours();
}

}  // namespace DRAV
