#pragma once
// The frame shared by the pages of character creation and by the two pages that
// spend level points in play: an information panel, the help, character and
// cancel icons, a description panel on creation pages, and the page's own area.
// Cancelling any creation page ends the game being set up.

#include <memory>
#include <string>

#include "game/dialogs/dialog.h"

namespace DRAV {
class CActor;
}
class CDRAVChapterInfo;

class CCCDlg : public CDRAVDlg {
public:
    static constexpr int kCancel = 1;
    static constexpr int kCharacter = 2;
    static constexpr int kHelp = 3;
    static constexpr int kHelpKey = 0xBF;

    CCCDlg(CDRAVApp* app, std::shared_ptr<DRAV::CActor> actor) : CDRAVDlg(app), m_actor(std::move(actor)) {}

    void CreateControls(RECT area, DRAVUI::CUIManager& container) override;
    bool OnButton(int id) override;
    bool OnKey(int key, bool shift, int* result) override;
    void OnClose(int result) override;

    virtual bool IsCreationPage() { return true; }
    // Where the manual explains the page: character creation unless the page says otherwise.
    virtual std::string GetManualAnchor() { return "Actor_Creation"; }
    virtual bool HideDescription() { return false; }
    virtual std::string GetDescription() = 0;
    virtual void CreatePage(RECT area, DRAVUI::CUIManager& container) = 0;

    // A text dialog of the page's description over a page without a description panel.
    void ShowDescription();
    const std::shared_ptr<DRAV::CActor>& GetActor() const { return m_actor; }

protected:
    std::shared_ptr<DRAV::CActor> m_actor;
};

// The width (x) and height (y) of the frame for the layout and the kind of page.
POINT CreationPageSize(const DRAVUI::CUIConfig& config, bool creationPage);

// Opens the first page of the wizard for a new game's actor: the level page when
// the player chooses the starting level, else the gender page.
void OpenCreationWizard(CDRAVApp* app, const CDRAVChapterInfo* chapter, bool chooseLevel,
                        std::shared_ptr<DRAV::CActor> actor);
