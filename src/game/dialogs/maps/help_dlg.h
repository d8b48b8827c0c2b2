#pragma once
// One page of the help: its screenshot, its text and the way on. The browse form
// lists every page at the left and follows the chain when the screenshot is
// clicked; the tutorial form, raised by a module script, adds the script's text
// and can switch the tutorial off.

#include <cstdint>
#include <string>

#include "game/dialogs/dialog.h"
#include "game/dialogs/maps/help_pages.h"

namespace DRAVUI {
class CUIListElement;
}

class CHelpDlg : public CDRAVDlg {
public:
    static constexpr int kManual = 3;
    static constexpr int kWebsite = 4;
    static constexpr int kExit = 5;
    static constexpr int kShortcuts = 6;
    static constexpr int kScreenshot = 7;
    static constexpr int kDisableTutorial = 8;
    static constexpr int kFirstPageEntry = 100;

    // Browse form.
    CHelpDlg(CDRAVApp* app, std::int32_t pageId);
    // Tutorial form.
    CHelpDlg(CDRAVApp* app, std::int32_t pageId, std::string text);

    std::string GetTitle() override;
    void CreateControls(RECT area, DRAVUI::CUIManager& container) override;
    bool OnButton(int id) override;
    void OnClose(int result) override;

    const HelpPage& GetPage() const { return *m_page; }
    bool ShowsPageList() const { return m_showPageList; }
    // The page body with the script's text after an empty line.
    std::string BuildText() const;

private:
    const HelpPage* m_page;
    std::string m_extraText;
    bool m_showPageList;
    DRAVUI::CUIListElement* m_pageList = nullptr;
    bool m_restoreScroll = false;
    std::uint32_t m_scrollPos = 0;
};
