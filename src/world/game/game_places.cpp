// The caches of visited areas and loaded travel maps: both keep everything for the
// whole game.

#include <algorithm>
#include <vector>

#include "common/data_file_reader.h"
#include "common/exception.h"
#include "common/trace.h"
#include "rules/module.h"
#include "world/area.h"
#include "world/game.h"

namespace DRAV {
namespace {

std::shared_ptr<DRAVCommon::CDataFileFactory> RequirePackage(const CModule& module, const std::string& what) {
    auto package = module.GetPackage();
    if (!package) throw CDRAVException(DRAV_ERR_BAD_DATA, "no data source to read " + what);
    return package;
}

// Every place a map leads to must be an area the module has, with the entry named
// (none named: the area's default).
void CheckMapAreas(const CMap2& map, const std::string& fileName, const CModule& module) {
    for (const auto& area : map.GetAreas()) {
        const std::string leadsTo = fileName + ": area \"" + area->GetName() + "\" leads to \"" +
                                    area->GetEntryArea() + "\"";
        const std::vector<std::string>* entries = nullptr;
        try {
            entries = &module.GetAreaEntryNames(area->GetEntryArea());
        } catch (const CDRAVException& failure) {
            throw CDRAVException(DRAV_ERR_BAD_DATA, leadsTo + ": " + failure.GetMessage());
        }
        if (!area->GetEntryName().empty() &&
            std::find(entries->begin(), entries->end(), area->GetEntryName()) == entries->end())
            throw CDRAVException(DRAV_ERR_BAD_DATA, leadsTo + ", which has no entry \"" + area->GetEntryName() + "\"");
    }
}

}  // namespace

CArea* CGame::FindAndLoadArea(const std::string& lastArea, const std::string& name, const CModule& module) {
    const auto found = m_areas.find(name);
    if (found != m_areas.end() && found->second) {
        DRAV_TRACE(DRAVCommon::TRACE_LOW, "Found inactive area %s.\n", name.c_str());
        m_currentArea = found->second.get();
        m_currentArea->Reactivate(lastArea, module);
        return m_currentArea;
    }
    DRAV_TRACE(DRAVCommon::TRACE_LOW, "Loading area file %s for the first time.\n", name.c_str());
    auto area = std::make_shared<CArea>(this);
    area->LoadAreaFile(lastArea, name, module, AREA_LOAD_FRESH, false);
    m_currentArea = area.get();
    m_areas[name] = std::move(area);
    return m_currentArea;
}

void CGame::AddArea(std::shared_ptr<CArea> area) {
    if (!area) throw CDRAVException(DRAV_ERR_BAD_DATA, "no area to add to the game");
    const std::string name = area->GetName();
    m_areas[name] = std::move(area);
}

void CGame::SetCurrentArea(const std::string& name) {
    if (name.empty()) {
        m_currentArea = nullptr;
        return;
    }
    const auto found = m_areas.find(name);
    if (found == m_areas.end() || !found->second)
        throw CDRAVException(DRAV_ERR_BAD_DATA, "area \"" + name + "\" has not been visited");
    m_currentArea = found->second.get();
}

void CGame::FlagCurrentAreaEntered() {
    ++m_placings;
    if (m_currentArea) m_currentArea->SetViewStale(true);
}

CMap2* CGame::FindAndLoadTempMap(const std::string& name, const CModule& module) {
    CMap2* map = nullptr;
    const auto found = m_maps.find(name);
    if (found != m_maps.end() && found->second) {
        DRAV_TRACE(DRAVCommon::TRACE_LOW, "Found loaded map %s.\n", name.c_str());
        map = found->second.get();
    } else {
        DRAV_TRACE(DRAVCommon::TRACE_LOW, "Loading map %s\n", name.c_str());
        const std::string fileName = name + ".drav";
        auto package = RequirePackage(module, "map " + name);
        DRAVCommon::CDataFileReader reader(*package, DRAVCommon::DFK_CHAPTER, DRAVCommon::DFS_NONE, fileName);
        std::shared_ptr<CMap2> loaded = CMap2::Load(this, reader);
        CheckMapAreas(*loaded, fileName, module);
        map = loaded.get();
        m_maps[name] = std::move(loaded);
    }
    for (const auto& area : map->GetAreas()) {
        if (area->IsKnown()) continue;
        const auto revealed = m_revealed.find(area->GetName());
        if (revealed != m_revealed.end() && revealed->second != 0) area->SetKnown(true);
    }
    return map;
}

}  // namespace DRAV
