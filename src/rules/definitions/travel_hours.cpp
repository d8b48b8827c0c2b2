#include "rules/definitions/travel_hours.h"

#include "common/data_file_reader.h"

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

}  // namespace DRAV
