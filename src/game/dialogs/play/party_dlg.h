#pragma once
// "Arrange Party": one slot per party member in party order; dropping a member's
// slot on another's moves the member to that place at once, through the engine.
// Closing needs no action of its own.

#include <memory>
#include <string>
#include <vector>

#include "game/dialogs/dialog.h"

namespace DRAVUI {
class CUIActionElement2;
}

class CPartyDlg : public CDRAVDlg {
public:
    static constexpr int kDone = 1;
    static constexpr int kMemberBase = 100;

    explicit CPartyDlg(CDRAVApp* app) : CDRAVDlg(app) {}

    std::string GetTitle() override { return "Arrange Party"; }
    void CreateControls(RECT area, DRAVUI::CUIManager& container) override;
    bool OnButton(int id) override { return id == kDone; }
    void OnBeginDrag(int id) override;
    void OnEndDrag() override;
    void OnDrop(int sourceId, int targetId) override;
    void OnClose(int) override {}

    // Shows the current party in the slots.
    void RefreshSlots();

private:
    std::shared_ptr<DRAVUI::CUIConfig> m_config;
    std::vector<DRAVUI::CUIActionElement2*> m_memberSlots;
};
