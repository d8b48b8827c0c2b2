#include <memory>

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
    if (!area || area->GetWorldMapName().empty()) return;
    SetDialog(false, std::make_shared<CDRAVWorldMapDlg>(this, area->GetWorldMapName(), area->GetWorldMapLocation(), false));
}
