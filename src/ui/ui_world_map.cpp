#include "ui/ui_world_map.h"

#include "rules/definitions/travel_map.h"

namespace DRAVUI {

CUIWorldMap::CUIWorldMap(std::shared_ptr<CUIConfig> config, int id, std::weak_ptr<DRAV::CMap2> map,
                         std::string currentArea, std::shared_ptr<DRAVCommon::CDataFileFactory> source,
                         bool canEnter)
    : CUIElement(id, std::move(config)),
      m_map(std::move(map)),
      m_currentArea(std::move(currentArea)),
      m_canEnter(canEnter),
      m_manager(std::make_shared<DRAVGraph::CGraphicsMapManager2>()) {
    m_manager->SetDataFileFactory(std::move(source));
}

void CUIWorldMap::Realize(DRAVCommon::CXPDevice* device, CUIDrawHelp&) { m_manager->SetWorldMap(device, m_map.lock()); }

void CUIWorldMap::Draw(DRAVCommon::CXPDevice*, CUIDrawHelp&, CUISprite& sprite, const POINT*) {
    if (!HasFlag(UIF_SHOWN) || m_map.expired()) return;
    const DRAVGraph::MapView view = m_manager->ComputeView(m_rect);
    m_manager->DrawBackground(sprite, view);
    m_manager->DrawAreas(sprite, view);
}

bool CUIWorldMap::HitTest(const POINT* point, CUIElement** outElement, int* outId) {
    if (!IsUnder(point)) return false;
    if (outId) *outId = m_id;
    if (outElement) *outElement = this;
    const DRAV::CMap2Area* location = nullptr;
    if (m_manager->AreaAtPoint(m_rect, point->x, point->y, &location)) {
        ElementInfo::DescribeLocation(m_info, *location, !m_canEnter);
        if (!m_currentArea.empty() && m_currentArea == m_info.key) m_info.text = "(current area)";
    } else {
        m_info.Clear();
    }
    return true;
}

}  // namespace DRAVUI
