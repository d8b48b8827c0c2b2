#pragma once
// The pictures of the current world map and the map's geometry for the world-map
// widget: it fits the map picture into a screen rectangle (aspect kept), draws the
// picture and, over it, each shown area's look copied from the area overlay, and
// finds the shown area under a point.

#include <memory>

#include "common/data_file.h"
#include "graphics/ui_sprite.h"
#include "graphics/xp_device.h"
#include "graphics/xp_texture.h"

namespace DRAV {
class CMap2;
class CMap2Area;
}  // namespace DRAV

namespace DRAVGraph {

// Where the map lies in a screen rectangle: map point (mx, my) is drawn at
// ((mx - mapCentreX) x scale + screenCentreX, (my - mapCentreY) x scale + screenCentreY).
struct MapView {
    float screenCentreX = 0.0f;
    float screenCentreY = 0.0f;
    float mapCentreX = 0.0f;
    float mapCentreY = 0.0f;
    float scale = 0.0f;
};

class CGraphicsMapManager2 {
public:
    CGraphicsMapManager2() = default;
    ~CGraphicsMapManager2();
    CGraphicsMapManager2(const CGraphicsMapManager2&) = delete;
    CGraphicsMapManager2& operator=(const CGraphicsMapManager2&) = delete;

    void SetDataFileFactory(std::shared_ptr<DRAVCommon::CDataFileFactory> source);
    // Loads the map's picture and area overlay (kind "map"); one that cannot be read
    // is an empty picture of the other's size, both unreadable is code 1. A null map keeps the pictures loaded before. The map stays its
    // owner's: once it is gone nothing is drawn or found.
    void SetWorldMap(DRAVCommon::CXPDevice* device, const std::shared_ptr<DRAV::CMap2>& map);

    // The whole picture fitted into `rect`; all zero before a picture is loaded.
    MapView ComputeView(const RECT& rect) const;
    // The first shown area of the map's list under (x, y); false with no map, no
    // picture or no area there.
    bool AreaAtPoint(const RECT& rect, LONG x, LONG y, const DRAV::CMap2Area** area) const;
    // The picture behind everything of the frame, then the shown areas over it.
    void DrawBackground(DRAVUI::CUISprite& sprite, const MapView& view) const;
    void DrawAreas(DRAVUI::CUISprite& sprite, const MapView& view) const;

    const std::shared_ptr<DRAVCommon::CXPTexture>& GetBackground() const { return m_background; }
    const std::shared_ptr<DRAVCommon::CXPTexture>& GetAreaImage() const { return m_areaImage; }

private:
    std::shared_ptr<DRAVCommon::CDataFileFactory> m_source;
    std::weak_ptr<DRAV::CMap2> m_map;
    std::shared_ptr<DRAVCommon::CXPTexture> m_whiteTexture;
    std::shared_ptr<DRAVCommon::CXPTexture> m_background;
    std::shared_ptr<DRAVCommon::CXPTexture> m_areaImage;
};

}  // namespace DRAVGraph
