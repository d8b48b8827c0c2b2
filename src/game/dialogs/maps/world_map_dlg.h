#pragma once
// A world map of the chapter with the locations the party knows. In view mode
// the player only looks: a click on a known location closes the map and tells
// how the party gets there; in travel mode, between two areas, a click on a known
// location other than the current one takes the party there.

#include <string>

#include "game/dialogs/dialog.h"

namespace DRAV {
class CMap2;
}
namespace DRAVUI {
class CUIWorldMap;
class CUIHoverWindow;
}  // namespace DRAVUI

class CDRAVWorldMapDlg : public CDRAVDlg {
public:
    static constexpr int kDone = 1;  // "Cancel" in travel mode
    static constexpr int kMap = 100;

    // Loads the map on first use and marks the locations the game has revealed. A map
    // file, or both its pictures, that cannot be read: code 1 with the file's name
    // as the message.
    CDRAVWorldMapDlg(CDRAVApp* app, const std::string& mapName, std::string currentLocation, bool travel);

    std::string GetTitle() override { return "World Map"; }
    void CreateControls(RECT area, DRAVUI::CUIManager& container) override;
    bool OnButton(int id) override;
    bool OnAltClick(int id) override;
    void OnClose(int result) override;

    DRAV::CMap2& GetMap() const { return *m_map; }
    // The map on screen while the controls exist; null before.
    DRAVUI::CUIWorldMap* GetMapElement() const { return m_worldMap; }
    bool IsTravel() const { return m_travel; }

private:
    bool ChooseDestination(int id);

    bool m_travel;
    DRAV::CMap2* m_map;
    std::string m_currentLocation;
    DRAVUI::CUIWorldMap* m_worldMap = nullptr;
    DRAVUI::CUIHoverWindow* m_hoverPanel = nullptr;
    std::string m_destination;
};
