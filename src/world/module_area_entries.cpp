// The entries of the module's areas, read once from their files and kept.

#include "rules/module.h"
#include "world/area.h"

namespace DRAV {

const std::vector<std::string>& CModule::GetAreaEntryNames(const std::string& areaName) const {
    const auto found = m_areaEntryNames.find(areaName);
    if (found != m_areaEntryNames.end()) return found->second;
    return m_areaEntryNames.emplace(areaName, CArea::ReadEntryNames(m_package, areaName)).first->second;
}

}  // namespace DRAV
