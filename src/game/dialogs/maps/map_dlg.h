#pragma once
// The whole area the party is in, two pixels a cell, with the way to the area's
// world map when it has one.

#include <memory>
#include <string>

#include "game/dialogs/dialog.h"

namespace DRAV {
class CArea;
}

class CDRAVMapDlg : public CDRAVDlg {
public:
    static constexpr int kMap = 0;
    static constexpr int kDone = 1;
    static constexpr int kWorldMap = 2;

    CDRAVMapDlg(CDRAVApp* app, std::shared_ptr<DRAV::CArea> area);

    std::string GetTitle() override;
    void CreateControls(RECT area, DRAVUI::CUIManager& container) override;
    bool OnButton(int id) override { return id == kDone || id == kWorldMap; }
    void OnClose(int result) override;

private:
    std::shared_ptr<DRAV::CArea> m_area;
};

// The running game's current area as the game's area cache shares it; null with no game.
std::shared_ptr<DRAV::CArea> SharedCurrentArea(const CDRAVApp& app);
