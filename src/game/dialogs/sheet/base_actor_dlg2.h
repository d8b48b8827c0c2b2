#pragma once
// The actor sheet: the tabbed window of one party member. Each tab is a page
// object of its own; the base draws the frame they share (hover panel, tab bar,
// party column, quick-action bar, message window) and decides, when a page
// closes, which page of which member opens next. A page is never changed in
// place: switching tab or member closes it and opens a fresh page object.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "game/dialogs/dialog.h"

namespace DRAV {
class CActor;
}
namespace DRAVUI {
class CUIActionElement2;
class CUIActionWindow2;
class CUIHoverWindow;
}  // namespace DRAVUI

class CBaseActorDlg2 : public CDRAVDlg {
public:
    // Frame commands; ids from 200 up belong to the pages.
    static constexpr int kInfoTab = 1;
    static constexpr int kInventoryTab = 2;
    static constexpr int kJournalTab = 3;
    static constexpr int kAbilitiesTab = 4;
    // Close code of the letter A: the action dialog for quick-action slot 0.
    static constexpr int kActionCode = 5;
    static constexpr int kReturnToGame = 6;
    static constexpr int kHelp = 7;
    static constexpr int kFirstPartyButton = 100;
    static constexpr int kLastPartyButton = 149;
    static constexpr int kFirstQuickSlot = 150;
    static constexpr int kLastQuickSlot = 160;

    CBaseActorDlg2(CDRAVApp* app, DRAV::CActor* actor);
    ~CBaseActorDlg2() override;

    // The actor's name; pages append their own suffix.
    std::string GetTitle() override;
    void CreateControls(RECT area, DRAVUI::CUIManager& container) override;
    bool OnButton(int id) override;
    bool OnKey(int key, bool shift, int* result) override;
    bool OnAltClick(int id) override;
    void OnClose(int result) override;

    // 1 information, 2 inventory, 3 journal, 4 abilities.
    virtual int GetTabIndex() = 0;
    // A row of the help table.
    virtual int GetHelpTopic() = 0;
    // Builds the page's widgets inside `page`.
    virtual void CreatePage(RECT page, DRAVUI::CUIManager& container) = 0;
    // Only the information page may be opened for a dead member.
    virtual bool IsInfoPage() { return false; }

    // True closes this page so that the same tab reopens for member `index`, or,
    // for the member already shown, so that the sheet closes.
    bool SwitchToPartyMember(std::uint32_t index);
    // The party member of a party button id, else null.
    DRAV::CActor* GetPartyMemberOfId(int id);
    // Whether `id` is a quick-action slot of the bar; the slot goes to `slot`.
    static bool GetQuickActionSlotOfId(int id, int* slot);

    DRAV::CActor* GetActor() const { return m_actor; }
    DRAV::CActor* GetNextActor() const { return m_nextActor; }

    // Frame sizes by layout.
    static int SheetWidth(const DRAVUI::CUIConfig& config) { return config.Pick(1104, 816); }
    static int SheetHeight(const DRAVUI::CUIConfig& config) { return config.Pick(592, 624); }
    static int SmallButtonWidth(const DRAVUI::CUIConfig& config) { return config.Pick(128, 96); }
    static int SheetPageTop(const DRAVUI::CUIConfig& config) { return config.Pick(144, 112); }
    static int SheetMessageHeight(const DRAVUI::CUIConfig& config) { return config.Pick(64, 128); }
    static int SheetMessageWidth(const DRAVUI::CUIConfig& config) { return config.Pick(944, 656); }
    // The sheet area of a client rectangle and the page rectangle inside it.
    static RECT SheetArea(const RECT& area, const DRAVUI::CUIConfig& config);
    static RECT PageRect(const RECT& sheet, const DRAVUI::CUIConfig& config);

protected:
    DRAV::CActor* m_actor;
    DRAVUI::CUIHoverWindow* m_hoverPanel = nullptr;
    DRAVUI::CUIActionWindow2* m_quickActionBar = nullptr;
    std::vector<std::shared_ptr<DRAVUI::CUIActionElement2>> m_partyButtons;
    DRAV::CActor* m_nextActor = nullptr;

private:
    void CreateTabBar(const RECT& sheet, DRAVUI::CUIManager& container);
    void CreatePartyButtons(const RECT& sheet, DRAVUI::CUIManager& container);
    void CreateQuickActionBar(const RECT& sheet, DRAVUI::CUIManager& container);
    void OpenHelp();
    // Makes `slot` current and shows it on the bar.
    void ChooseSlot(int slot);
    bool IsActorAlive() const;
};

// The page of tab `tab` (kInfoTab .. kAbilitiesTab) for `actor`; null for a tab
// whose page does not exist. The one place that knows every page class: the
// sheet's close action and the shell's page keys both open pages through it.
std::shared_ptr<CBaseActorDlg2> MakeActorSheetPage(CDRAVApp* app, DRAV::CActor& actor, int tab);
