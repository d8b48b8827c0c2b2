#pragma once
// Where a location of the world map lies on screen while the world-map dialog is
// current, for the tests that click it as a player would.

#include <optional>
#include <string>
#include <vector>

#include "game/app.h"
#include "game/dialogs/maps/world_map_dlg.h"
#include "graphics/graphics_map_manager.h"
#include "rules/definitions/travel_map.h"
#include "ui/ui_group.h"
#include "ui/ui_manager.h"
#include "ui/ui_world_map.h"

namespace QuillmereTest {

// The world-map widget on screen, groups searched through; null without one.
inline DRAVUI::CUIWorldMap* FindWorldMapWidget(CDRAVApp& app) {
    std::vector<DRAVUI::CUIElement*> open;
    for (const auto& element : app.GetUIManager().GetElements()) open.push_back(element.get());
    for (std::size_t next = 0; next < open.size(); ++next) {
        if (auto* map = dynamic_cast<DRAVUI::CUIWorldMap*>(open[next])) return map;
        if (auto* group = dynamic_cast<DRAVUI::CUIGroup*>(open[next]))
            for (const auto& child : group->GetChildren()) open.push_back(child.get());
    }
    return nullptr;
}

// The middle of the location `key` of the current world-map dialog, in interface
// units; none without a world map on screen or a location of that key.
inline std::optional<POINT> MapLocationPoint(CDRAVApp& app, const std::string& key) {
    auto* dialog = dynamic_cast<CDRAVWorldMapDlg*>(app.GetCurrentDialog().get());
    DRAVUI::CUIWorldMap* map = FindWorldMapWidget(app);
    if (!dialog || !map) return std::nullopt;
    const DRAV::CMap2Area* location = nullptr;
    for (const auto& area : dialog->GetMap().GetAreas())
        if (area->GetName() == key) location = area.get();
    if (!location) return std::nullopt;
    const DRAVGraph::MapView view = map->GetManager().ComputeView(*map->GetRect());
    const auto x = static_cast<float>(location->GetX() + location->GetWidth() / 2);
    const auto y = static_cast<float>(location->GetY() + location->GetHeight() / 2);
    return POINT{static_cast<LONG>(view.screenCentreX + (x - view.mapCentreX) * view.scale),
                 static_cast<LONG>(view.screenCentreY + (y - view.mapCentreY) * view.scale)};
}

// Points the mouse at the middle of the location `key`, as the UI manager does
// before it reports a click there; false when no map is on screen or the point is
// off the widget.
inline bool PointAtMapLocation(CDRAVApp& app, const std::string& key) {
    std::optional<POINT> point = MapLocationPoint(app, key);
    DRAVUI::CUIWorldMap* map = FindWorldMapWidget(app);
    return point && map && map->HitTest(&*point, nullptr, nullptr);
}

}  // namespace QuillmereTest
