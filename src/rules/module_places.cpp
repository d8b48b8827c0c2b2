// What the module knows of its chapter's place files: read once, kept.

#include "common/exception.h"
#include "rules/module.h"

namespace DRAV {

const CPlaceFile& CModule::GetPlaceFile(const std::string& name) const {
    const auto found = m_placeFiles.find(name);
    if (found != m_placeFiles.end()) return found->second;
    return m_placeFiles.emplace(name, ReadPlaceFile(m_package, name)).first->second;
}

const CTravelHours& CModule::GetTravelHours(const std::string& areaName) const {
    const auto found = m_travelHours.find(areaName);
    if (found != m_travelHours.end()) return found->second;
    return m_travelHours.emplace(areaName, ReadTravelHours(m_package, areaName)).first->second;
}

const std::vector<std::string>& CModule::GetAreaEntryNames(const std::string& areaName) const {
    const CPlaceFile& place = GetPlaceFile(areaName);
    if (place.travelMap)
        throw CDRAVException(DRAV_ERR_BAD_DATA, areaName + ".drav: \"" + areaName + "\" is a travel map, not an area");
    return place.entryNames;
}

bool CModule::IsTravelMap(const std::string& name) const {
    try {
        return GetPlaceFile(name).travelMap;
    } catch (const CDRAVException& failure) {
        if (failure.GetCode() != DRAV_ERR_BAD_DATA) throw;
        return false;
    }
}

}  // namespace DRAV
