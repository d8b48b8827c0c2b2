#include "game/dialogs/maps/world_map_dlg.h"

#include <exception>
#include <memory>

#include "common/exception.h"
#include "engine/engine.h"
#include "game/app.h"
#include "game/dialogs/front/chapter_picture.h"
#include "rules/definitions/travel_map.h"
#include "rules/module.h"
#include "ui/ui_button.h"
#include "ui/ui_group.h"
#include "ui/ui_hover_window.h"
#include "ui/ui_manager.h"
#include "ui/ui_world_map.h"
#include "world/game.h"

CDRAVWorldMapDlg::CDRAVWorldMapDlg(CDRAVApp* app, const std::string& mapName, std::string currentLocation,
                                   bool travel)
    : CDRAVDlg(app), m_travel(travel), m_map(nullptr), m_currentLocation(std::move(currentLocation)) {
    const auto& engine = app->GetEngine();
    if (!engine || !engine->GetGame() || !engine->GetModule())
        throw CDRAVException(DRAV_ERR_OUT_OF_RANGE, "no game to show the world map " + mapName + " of");
    try {
        m_map = engine->GetGame()->FindAndLoadTempMap(mapName, *engine->GetModule());
    } catch (const std::exception&) {
        m_map = nullptr;
    }
    if (!m_map) throw CDRAVException(DRAV_ERR_BAD_DATA, mapName + ".drav");
    // One damaged picture leaves an empty one of the other's size; a map with
    // neither has nothing to show and fails before the dialog opens.
    DRAVCommon::CDataFileFactory* package = engine->GetModule()->GetPackage().get();
    if (!ReadChapterPicture(package, m_map->GetPictureName(), DRAVCommon::DFK_MAP) &&
        !ReadChapterPicture(package, m_map->GetAreaPictureName(), DRAVCommon::DFK_MAP))
        throw CDRAVException(DRAV_ERR_BAD_DATA, m_map->GetPictureName());
}

void CDRAVWorldMapDlg::CreateControls(RECT area, DRAVUI::CUIManager& container) {
    const auto config = container.GetConfig();
    RECT inner{area.left + 16, area.top + 16, area.right - 16, area.bottom - 16};
    inner.top += config->Pick(20, 12);

    const DRAV::CGame& game = *m_app->GetEngine()->GetGame();
    const auto source = m_app->GetEngine()->GetModule()->GetPackage();

    auto group = std::make_shared<DRAVUI::CUIGroup>(config, "", false, false, 0u);
    std::weak_ptr<DRAV::CMap2> shared;
    if (auto found = game.GetMaps().find(m_map->GetName()); found != game.GetMaps().end()) shared = found->second;
    auto map = std::make_shared<DRAVUI::CUIWorldMap>(config, kMap, shared, m_currentLocation, source, m_travel);
    map->SetSize(inner.right - inner.left, inner.bottom - inner.top - 48);
    group->AddChild(map);
    m_worldMap = map.get();

    auto button = std::make_shared<DRAVUI::CUITextButton>(kDone, m_travel ? "Cancel" : "Done", config);
    button->SetSize(config->Pick(80, 64), 32);
    group->AddChild(button);

    container.AddElement(group);
    group->CenterOn(RectCenter(inner));

    auto hover = std::make_shared<DRAVUI::CUIHoverWindow>(config);
    hover->SetFlag(DRAVUI::UIF_BACKGROUND, true);
    container.AddElement(hover);
    hover->SetRect(RECT{inner.left + 16, inner.top + 16, inner.left + 16 + config->Pick(256, 188),
                        inner.top + 16 + config->Pick(114, 78)});
    m_hoverPanel = hover.get();
}

bool CDRAVWorldMapDlg::ChooseDestination(int id) {
    if (id != kMap || !m_worldMap) return false;
    std::string destination = m_worldMap->GetSelectedDestination();
    if (destination.empty()) return false;
    m_destination = std::move(destination);
    return true;
}

bool CDRAVWorldMapDlg::OnButton(int id) { return id == kDone || ChooseDestination(id); }

bool CDRAVWorldMapDlg::OnAltClick(int id) { return ChooseDestination(id); }

void CDRAVWorldMapDlg::OnClose(int result) {
    const bool chosen = result == kMap && !m_destination.empty();
    if (!m_travel || !chosen || m_destination == m_currentLocation) {
        // A place chosen that the party stands in, or any place on the map that is
        // only looked at, closes the map as Cancel does; the player is told why
        // nothing happened, and how to get there: by the map's own word for a
        // place no way out leads to.
        const DRAV::CMap2Area* location = chosen ? &m_map->GetArea(m_destination) : nullptr;
        const std::string place = location ? location->GetDisplayName() : "";
        if (chosen && m_destination == m_currentLocation)
            m_app->AppendMessage("The party is already at " + place + ".");
        else if (chosen)
            m_app->AppendMessage("To travel to " + place + ", " +
                                 (location->GetWayThere().empty() ? "take a way out of the area."
                                                                   : location->GetWayThere()));
        if (m_travel) m_app->CloseTravelMap();
        return;
    }
    m_app->TravelToArea(m_map->GetArea(m_destination));
}
