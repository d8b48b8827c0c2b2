#include <exception>
#include <memory>

#include "common/exception.h"
#include "engine/engine.h"
#include "game/app.h"
#include "game/dialogs/maps/map_dlg.h"
#include "game/dialogs/maps/world_map_dlg.h"
#include "world/area.h"

void CDRAVApp::ShowAreaMap() {
    if (auto area = SharedCurrentArea(*this)) SetDialog(false, std::make_shared<CDRAVMapDlg>(this, area));
}

void CDRAVApp::ShowWorldMap() {
    auto area = SharedCurrentArea(*this);
    if (!area) return;
    if (area->GetWorldMapName().empty()) {
        AppendMessage("No map shows " + area->GetDisplayName() + ".");
        return;
    }
    OpenWorldMap(area->GetWorldMapName(), area->GetWorldMapLocation(), false, false);
}

bool CDRAVApp::OpenWorldMap(const std::string& mapName, const std::string& location, bool travel, bool quiet) {
    std::shared_ptr<CDRAVWorldMapDlg> map;
    // What cannot be read is told and nothing is lost: the party stays where it is.
    try {
        map = std::make_shared<CDRAVWorldMapDlg>(this, mapName, location, travel);
    } catch (const CDRAVException& failure) {
        if (failure.GetCode() != DRAV_ERR_BAD_DATA) throw;
        ShowError("Failed to load the world map \"" + failure.GetMessage() + "\".", "Map Error");
        return false;
    } catch (const std::exception&) {
        ShowError("Failed to load the world map \"" + mapName + ".drav\".", "Map Error");
        return false;
    }
    SetDialog(quiet, map);
    return true;
}
