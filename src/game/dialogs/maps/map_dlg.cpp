#include "game/dialogs/maps/map_dlg.h"

#include "engine/engine.h"
#include "game/app.h"
#include "ui/ui_background.h"
#include "ui/ui_button.h"
#include "ui/ui_group.h"
#include "ui/ui_manager.h"
#include "ui/ui_mini_map.h"
#include "world/area.h"
#include "world/game.h"

CDRAVMapDlg::CDRAVMapDlg(CDRAVApp* app, std::shared_ptr<DRAV::CArea> area) : CDRAVDlg(app), m_area(std::move(area)) {}

std::string CDRAVMapDlg::GetTitle() { return m_area->GetDisplayName() + " - Map"; }

void CDRAVMapDlg::CreateControls(RECT area, DRAVUI::CUIManager& container) {
    const auto config = container.GetConfig();
    auto outer = std::make_shared<DRAVUI::CUIGroup>("", false, false, 0u, 16, config);

    auto map = std::make_shared<DRAVUI::CUIMiniMap>(kMap, m_area, config);
    map->SetRect(RECT{0, 0, static_cast<LONG>(m_area->GetColumns() * 2 + 2),
                      static_cast<LONG>(m_area->GetRows() * 2 + 2)});
    outer->AddChild(map);

    auto row = std::make_shared<DRAVUI::CUIGroup>("", true, false, 0u, 16, config);
    auto addButton = [&](int id, const char* label) {
        auto button = std::make_shared<DRAVUI::CUITextButton>(id, label, config);
        button->SetSize(config->Pick(256, 192), 32);
        row->AddChild(button);
    };
    if (!m_area->GetWorldMapName().empty()) addButton(kWorldMap, "World Map");
    addButton(kDone, "Done");
    outer->AddChild(row);

    const POINT centre = RectCenter(area);
    container.AddElement(outer);
    outer->CenterOn(centre);

    // A small area still gets a dialog of a readable width: the frame is built
    // around every element, hidden ones included.
    auto spacer = std::make_shared<DRAVUI::CUIBackground>(config);
    spacer->SetFlag(DRAVUI::UIF_SHOWN, false);
    spacer->SetSize(config->Pick(800, 640), 0);
    spacer->CenterOn(centre);
    container.AddElement(spacer);
}

void CDRAVMapDlg::OnClose(int result) {
    if (result != kWorldMap) return;
    m_app->OpenWorldMap(m_area->GetWorldMapName(), m_area->GetWorldMapLocation(), false, true);
}

std::shared_ptr<DRAV::CArea> SharedCurrentArea(const CDRAVApp& app) {
    const auto& engine = app.GetEngine();
    if (!engine || !engine->GetGame()) return nullptr;
    const DRAV::CGame& game = *engine->GetGame();
    for (const auto& [name, cached] : game.GetAreas())
        if (cached.get() == game.GetCurrentArea()) return cached;
    return nullptr;
}
