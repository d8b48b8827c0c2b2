#pragma once
// Where a location of the world map lies on screen while the world-map dialog is
// current, for the tests that click it as a player would.

#include <optional>
#include <string>

#include "game/app.h"
#include "game/dialogs/maps/world_map_dlg.h"
#include "graphics/graphics_map_manager.h"
#include "rules/definitions/travel_map.h"
#include "ui/ui_world_map.h"

namespace QuillmereTest {

// The middle of the location `key` of the current world-map dialog, in interface
// units; none without a world map on screen or a location of that key.
inline std::optional<POINT> MapLocationPoint(CDRAVApp& app, const std::string& key) {
    auto* dialog = dynamic_cast<CDRAVWorldMapDlg*>(app.GetCurrentDialog().get());
    if (!dialog || !dialog->GetMapElement()) return std::nullopt;
    for (const auto& location : dialog->GetMap().GetAreas()) {
        if (location->GetName() != key) continue;
        DRAVUI::CUIWorldMap& map = *dialog->GetMapElement();
        const DRAVGraph::MapView view = map.GetManager().ComputeView(*map.GetRect());
        const auto x = static_cast<float>(location->GetX() + location->GetWidth() / 2);
        const auto y = static_cast<float>(location->GetY() + location->GetHeight() / 2);
        return POINT{static_cast<LONG>(view.screenCentreX + (x - view.mapCentreX) * view.scale),
                     static_cast<LONG>(view.screenCentreY + (y - view.mapCentreY) * view.scale)};
    }
    return std::nullopt;
}

// Points the mouse at the middle of the location `key`, as the UI manager does
// before it reports a click there; false when no map is on screen or the point is
// off the widget.
inline bool PointAtMapLocation(CDRAVApp& app, const std::string& key) {
    std::optional<POINT> point = MapLocationPoint(app, key);
    return point && static_cast<CDRAVWorldMapDlg*>(app.GetCurrentDialog().get())
                        ->GetMapElement()
                        ->HitTest(&*point, nullptr, nullptr);
}

}  // namespace QuillmereTest
