#include <memory>

#include "common/exception.h"
#include "game/app.h"
#include "game/dialogs/front/about_dlg.h"
#include "game/dialogs/maps/help_pages.h"
#include "game/dialogs/text_dlg.h"
#include "game/identity.h"
#include "platform/win32/shellapi.h"

namespace {

// The shell's answers below 32 are failures.
bool ShellFailed(HINSTANCE answer) { return reinterpret_cast<std::intptr_t>(answer) < 32; }

}  // namespace

void CDRAVApp::ShowShortcutsHelp() {
    SetDialog(true, std::make_shared<CTextDlg>(this, "Help", BuildShortcutsText(), nullptr, false));
}

void CDRAVApp::ShowAboutDlg() { SetDialog(true, std::make_shared<CAboutDlg>(this)); }

void CDRAVApp::OpenManual(const std::string& anchor) {
    // Whatever goes wrong, the player is told and play goes on.
    try {
        if (m_manualPath.empty()) throw CDRAVException(DRAV_ERR_UNEXPECTED, "no manual");
        char program[260] = {};
        if (ShellFailed(FindExecutableA(m_manualPath.c_str(), nullptr, program)))
            throw CDRAVException(DRAV_ERR_UNEXPECTED, "no program for the manual");
        const std::string parameter = anchor.empty() ? m_manualPath : "file://" + m_manualPath + "#" + anchor;
        if (ShellFailed(ShellExecuteA(nullptr, "open", program, parameter.c_str(), nullptr, SW_SHOW)))
            throw CDRAVException(DRAV_ERR_UNEXPECTED, "the manual did not open");
    } catch (const std::exception&) {
        ShowError("Failed to load manual. You may continue to play, however, you can contact " + GetCompanyName() +
                      " for support.",
                  "Manual Error");
    }
}

void CDRAVApp::OpenWebsite() {
    ShellExecuteA(nullptr, nullptr, GetProductWebsite().c_str(), nullptr, nullptr, SW_SHOW);
}
