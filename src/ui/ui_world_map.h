#pragma once
// The world map of the travel dialog: the map picture with the known areas drawn
// over it. The area under the mouse is described for the hover window (its name,
// "Enter Area", "(current area)") and its key is the selected destination.

#include <memory>
#include <string>

#include "common/data_file.h"
#include "graphics/graphics_map_manager.h"
#include "ui/ui_element.h"

namespace DRAVUI {

class CUIWorldMap : public CUIElement {
public:
    // The map stays its owner's (the game's map cache); once it is gone the widget
    // draws and finds nothing.
    CUIWorldMap(std::shared_ptr<CUIConfig> config, int id, std::weak_ptr<DRAV::CMap2> map, std::string currentArea,
                std::shared_ptr<DRAVCommon::CDataFileFactory> source, bool canEnter);

    // Loads the map's pictures.
    void Realize(DRAVCommon::CXPDevice* device, CUIDrawHelp& help) override;
    void Draw(DRAVCommon::CXPDevice* device, CUIDrawHelp& help, CUISprite& sprite, const POINT* mouse) override;
    // Any point inside is the widget; the record then describes the area there, or
    // nothing.
    bool HitTest(const POINT* point, CUIElement** outElement, int* outId) override;

    // The key of the area last found under the mouse, or empty.
    std::string GetSelectedDestination() const { return m_info.key; }
    DRAVGraph::CGraphicsMapManager2& GetManager() { return *m_manager; }

private:
    std::weak_ptr<DRAV::CMap2> m_map;
    std::string m_currentArea;
    bool m_canEnter;
    std::shared_ptr<DRAVGraph::CGraphicsMapManager2> m_manager;
};

}  // namespace DRAVUI
