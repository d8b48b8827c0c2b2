#include "engine/engine.h"
#include "game/app.h"
#include "game/dialogs/sheet/base_actor_dlg2.h"
#include "game/dialogs/play/game_menu_dlg.h"
#include "game/dialogs/maps/help_dlg.h"
#include "game/dialogs/play/msg_dlg.h"
#include "game/dialogs/play/wizard_dlg.h"
#include "platform/win32/virtual_keys.h"
#include "ui/ui_mini_map.h"
#include "world/actor.h"
#include "world/game.h"

// Mouse input reaches the widgets first; on the splash screen a click the widgets
// do not take, and any key, end the splash. Keys go to the current dialog, else to
// the game screen's command table. Commands whose pages are not built yet only
// repaint.

void CDRAVApp::OnLeftButtonDown(POINT point, bool shift) {
    if (m_uiManager.OnMouse(0, &point, 0)) {
        ProcessUIEvents();
        return;
    }
    if (m_splashMode) {
        PostMessageA(m_window, kAppSplashEnd, 0, 0);
        return;
    }
    OnViewClick(point, shift);
}

void CDRAVApp::OnRightButtonDown(POINT point) {
    if (m_uiManager.OnMouse(3, &point, 0)) {
        ProcessUIEvents();
        return;
    }
    OnViewAltClick(point);
}

void CDRAVApp::OnWindowMouseMove(POINT point) {
    m_mouseInside = true;
    m_mousePoint = point;
    TRACKMOUSEEVENT track{sizeof(TRACKMOUSEEVENT), TME_LEAVE, m_window, HOVER_DEFAULT};
    TrackMouseEvent(&track);
    OnMouseMove(m_mousePoint);
}

void CDRAVApp::OnKeyDown(WPARAM key, bool shift) {
    if (m_splashMode) {
        PostMessageA(m_window, kAppSplashEnd, 0, 0);
        return;
    }
    // While a dialog is current the game's own key commands do not run.
    if (DeliverKeyToDialog(static_cast<int>(key), shift)) return;
    if (!m_gameRunning) return;

    switch (key) {
        case VK_SPACE:
            TogglePause(false);
            return;
        case VK_RETURN:
            SetDialog(false, std::make_shared<CDRAVGameMenuDlg>(this));
            return;
        case VK_OEM_2:
            SetDialog(false, std::make_shared<CHelpDlg>(this, kHelpMainStart));
            return;
        case 'M':
            ShowAreaMap();
            return;
        case 'V':
            ShowVolumeDlg(false);
            return;
        case VK_INSERT:
        case VK_OEM_3:
            SetDialog(false, std::make_shared<CWizardDlg>(this));
            return;
        case 'W':
            ShowWorldMap();
            return;
        default:
            break;
    }
    // Quick actions belong to one member: with the whole party selected the F-keys
    // act for nobody.
    if (key >= VK_F1 && key <= VK_F10) {
        if (m_selectedParty != kWholeParty) ChooseQuickAction(static_cast<int>(key - VK_F1));
        return;
    }
    if (key >= '1' && key <= '6') {
        const DRAV::ActorList party = m_engine->GetGame()->GetParty();
        const std::size_t index = key - '1';
        if (index < party.size()) SelectActor(*party[index]);
    }

    DRAV::CActor* actor = GetSelectedActor();
    switch (key) {
        case VK_TAB:
            SelectNextMember();
            break;
        case VK_MENU:
            if (m_minimap) m_minimap->m_reversed = false;
            break;
        case VK_ESCAPE:
            CancelSelectedOrders();
            EndQuickActionChoice();
            break;
        case '0':
            SelectAll();
            break;
        case 'F':
            ToggleFastMove(true);
            break;
        case 'G':
            SetDialog(false, std::make_shared<CDRAVMsgDlg>(this, &m_messageLog));
            return;
        case 'N':
            if (actor) ShowActorInfo(*actor);
            break;
        case 'I':
            if (actor) ShowActorPage(*actor, CBaseActorDlg2::kInventoryTab);
            break;
        case 'J':
            if (actor) ShowActorPage(*actor, CBaseActorDlg2::kJournalTab);
            break;
        case 'B':
            if (actor) ShowActorPage(*actor, CBaseActorDlg2::kAbilitiesTab);
            break;
        case 'R':
            ReturnToEntrance(actor);
            break;
        case 'X':
            UseAvailableExit();
            break;
        default:
            break;
    }
    if (!m_currentDialog) RequestRepaint();
}

void CDRAVApp::PlayEventSound(int code) {
    int soundId = SoundIdForEventCode(code);
    if (soundId >= 0 && m_audio) m_audio->PlaySound(soundId);
}
