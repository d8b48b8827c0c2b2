#include "graphics/graphics_map_manager.h"

#include <cmath>

#include "common/exception.h"
#include "rules/definitions/travel_map.h"

namespace DRAVGraph {
namespace {

LONG Trunc(double v) { return static_cast<LONG>(std::trunc(v)); }

}  // namespace

CGraphicsMapManager2::~CGraphicsMapManager2() {
    m_areaImage.reset();
    m_background.reset();
    m_whiteTexture.reset();
    m_source.reset();
}

void CGraphicsMapManager2::SetDataFileFactory(std::shared_ptr<DRAVCommon::CDataFileFactory> source) {
    m_source = std::move(source);
}

void CGraphicsMapManager2::SetWorldMap(DRAVCommon::CXPDevice* device, const std::shared_ptr<DRAV::CMap2>& map) {
    m_map = map;
    if (!map) return;
    if (!m_source) throw CDRAVException(DRAV_ERR_BAD_DATA, "the world map has no data-file source for its pictures");
    auto load = [&](const std::string& name) -> std::shared_ptr<DRAVCommon::CXPTexture> {
        try {
            return DRAVCommon::LoadTextureFile(device, *m_source, DRAVCommon::DFK_MAP, DRAVCommon::DFS_NONE, name);
        } catch (const CDRAVException& error) {
            if (error.GetCode() == DRAV_ERR_DEVICE) throw;
            return nullptr;
        }
    };
    m_background = load(map->GetPictureName());
    m_areaImage = load(map->GetAreaPictureName());
    // The two pictures share one size, so either one that reads gives the other's
    // empty stand-in: a damaged picture leaves the map blank there but still
    // usable for travel. Without either there is no size to show.
    if (!m_background && !m_areaImage)
        throw CDRAVException(DRAV_ERR_BAD_DATA, "the world map " + map->GetName() + " has no readable picture (" +
                                                    map->GetPictureName() + ", " + map->GetAreaPictureName() + ")");
    auto blank = [&](const DRAVCommon::CXPTexture& sized) {
        auto texture = DRAVCommon::CreateColourTexture(device, 0x000000, 0.0);
        texture->SetImageSize(sized.GetImageWidth(), sized.GetImageHeight());
        return texture;
    };
    if (!m_background) m_background = blank(*m_areaImage);
    if (!m_areaImage) m_areaImage = blank(*m_background);
    if (!m_whiteTexture) m_whiteTexture = DRAVCommon::CreateColourTexture(device, 0xFFFFFF, 1.0);
}

MapView CGraphicsMapManager2::ComputeView(const RECT& rect) const {
    MapView view;
    if (!m_background) return view;
    const float width = static_cast<float>(m_background->GetImageWidth());
    const float height = static_cast<float>(m_background->GetImageHeight());
    const float sx = static_cast<float>(rect.right - rect.left) / width;
    const float sy = static_cast<float>(rect.bottom - rect.top) / height;
    view.scale = sx <= sy ? sx : sy;
    view.screenCentreX = static_cast<float>(rect.left) + static_cast<float>(rect.right - rect.left) * 0.5f;
    view.screenCentreY = static_cast<float>(rect.top) + static_cast<float>(rect.bottom - rect.top) * 0.5f;
    view.mapCentreX = width * 0.5f;
    view.mapCentreY = height * 0.5f;
    return view;
}

bool CGraphicsMapManager2::AreaAtPoint(const RECT& rect, LONG x, LONG y, const DRAV::CMap2Area** area) const {
    const std::shared_ptr<DRAV::CMap2> map = m_map.lock();
    if (!m_background || !map) return false;
    const MapView view = ComputeView(rect);
    // A rectangle with no room shows no map.
    if (!(view.scale > 0.0f)) return false;
    const double mx = std::trunc((x - std::trunc(view.screenCentreX)) / view.scale) + std::trunc(view.mapCentreX);
    const double my = std::trunc((y - std::trunc(view.screenCentreY)) / view.scale) + std::trunc(view.mapCentreY);
    for (const auto& candidate : map->GetAreas()) {
        if (!candidate->IsKnown()) continue;
        const double left = std::trunc(candidate->GetX()), top = std::trunc(candidate->GetY());
        if (mx < left || mx >= left + std::trunc(candidate->GetWidth())) continue;
        if (my < top || my >= top + std::trunc(candidate->GetHeight())) continue;
        if (area) *area = candidate.get();
        return true;
    }
    return false;
}

void CGraphicsMapManager2::DrawBackground(DRAVUI::CUISprite& sprite, const MapView& view) const {
    if (!m_background || m_map.expired()) return;
    const float width = static_cast<float>(m_background->GetImageWidth());
    const float height = static_cast<float>(m_background->GetImageHeight());
    const float left = (0.0f - view.mapCentreX) * view.scale + view.screenCentreX;
    const float top = (0.0f - view.mapCentreY) * view.scale + view.screenCentreY;
    const RECT dest{Trunc(left), Trunc(top), Trunc(width * view.scale + left), Trunc(height * view.scale + top)};
    const RECT source{0, 0, m_background->GetImageWidth(), m_background->GetImageHeight()};
    sprite.Draw(dest, &source, 0xFFFFFFFF, DRAVUI::CUISprite::MODE_BACKGROUND, m_background);
}

void CGraphicsMapManager2::DrawAreas(DRAVUI::CUISprite& sprite, const MapView& view) const {
    const std::shared_ptr<DRAV::CMap2> map = m_map.lock();
    if (!map || !m_areaImage) return;
    for (const auto& area : map->GetAreas()) {
        if (!area->IsKnown()) continue;
        const float left = (static_cast<float>(area->GetX()) - view.mapCentreX) * view.scale + view.screenCentreX;
        const float top = (static_cast<float>(area->GetY()) - view.mapCentreY) * view.scale + view.screenCentreY;
        const RECT dest{Trunc(left), Trunc(top), Trunc(static_cast<float>(area->GetWidth()) * view.scale + left),
                        Trunc(static_cast<float>(area->GetHeight()) * view.scale + top)};
        const LONG sx = Trunc(area->GetX()), sy = Trunc(area->GetY());
        const RECT source{sx, sy, sx + Trunc(area->GetWidth()), sy + Trunc(area->GetHeight())};
        sprite.Draw(dest, &source, 0xFFFFFFFF, DRAVUI::CUISprite::MODE_STRETCH, m_areaImage);
    }
}

}  // namespace DRAVGraph
