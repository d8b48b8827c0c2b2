#include <memory>

#include "common/rect_scale.h"
#include "engine/engine.h"
#include "game/app.h"
#include "game/dialogs/dialog.h"
#include "game/dialogs/dialog_failure.h"
#include "game/dialogs/front/start_dlg.h"
#include "graphics/xp_device.h"
#include "ui/product_title.h"
#include "world/area.h"
#include "world/game.h"

// The current dialog, the stack of dialogs it covers and the one suspension of
// the game clock they hold together; the UI events of the batch turned into calls
// on the dialog or on the game screen.

namespace {

constexpr int kClickSound = 0;

}  // namespace

void CDRAVApp::SetDialog(bool quiet, std::shared_ptr<CDRAVDlg> dialog) {
    const bool covering = m_currentDialog != nullptr;
    if (covering) {
        CallDialog([&] { m_currentDialog->OnSuspend(); });
        m_coveredDialogs.push_back(m_currentDialog);
    } else {
        SuspendClock();
    }
    if (!quiet && m_audio) m_audio->PlaySound(kClickSound);
    m_currentDialog = std::move(dialog);
    m_currentCursor = m_cursorArrow;
    try {
        CallDialog([&] { LayoutGameScreen(); });
    } catch (const CDialogFailure&) {
        // A dialog that cannot be built never becomes current: what it would have
        // covered comes back, and the clock's suspension stays paired.
        m_currentDialog.reset();
        if (covering) {
            m_currentDialog = m_coveredDialogs.back();
            m_coveredDialogs.pop_back();
        } else {
            ResumeClock();
        }
        LayoutGameScreen();
        if (m_currentDialog) UpdateWindowTitle();
        RequestRepaint();
        throw;
    }
    UpdateWindowTitle();
    RequestRepaint();
}

void CDRAVApp::CloseDialog(int result) {
    if (m_audio) m_audio->PlaySound(kClickSound);
    // Kept until the close action has returned, so the dialog may replace itself.
    std::shared_ptr<CDRAVDlg> closing = std::move(m_currentDialog);
    m_currentDialog.reset();
    m_talkFocusId = 0;
    UpdateGameWindowTitle();
    LayoutGameScreen();

    const bool changeArea = IsAreaChangeWaiting();
    if (m_gameRunning && m_engine && m_engine->GetGame()) {
        DRAV::CGame& game = *m_engine->GetGame();
        if (game.GetStateCode() == DRAV::GAME_WON && !game.GetClosingText().empty()) OnChapterComplete(true);
    }

    try {
        if (closing) CallDialog([&] { closing->OnClose(result); });
    } catch (const CDialogFailure&) {
        FinishClose(false);
        throw;
    }
    FinishClose(changeArea);
}

void CDRAVApp::FinishClose(bool changeArea) {
    ResumeClock();
    if (!m_currentDialog && !m_coveredDialogs.empty()) {
        std::shared_ptr<CDRAVDlg> uncovered = m_coveredDialogs.back();
        m_coveredDialogs.pop_back();
        SetDialog(true, uncovered);
        return;
    }
    // Only while the game still waits for it: the close action may have made the
    // journey or given it up, and a change of area run then would rest the party.
    if (changeArea && IsAreaChangeWaiting()) CheckPartyAndChangeArea();
    RequestRepaint();
}

bool CDRAVApp::IsAreaChangeWaiting() const {
    if (!m_gameRunning || !m_engine || !m_engine->GetGame()) return false;
    const std::int32_t state = m_engine->GetGame()->GetStateCode();
    return state == DRAV::GAME_WIPED_OUT || state == DRAV::GAME_TRAVEL;
}

void CDRAVApp::ProcessUIEvents() {
    // Decided once: a dialog opened by a screen button gets nothing of this batch.
    const bool toDialog = m_currentDialog != nullptr;
    std::shared_ptr<DRAVUI::CUIEvent> event;
    while (m_uiManager.PopEvent(event)) {
        const std::int32_t code = event->m_code;
        const auto* button = dynamic_cast<const DRAVUI::CUIEventButton*>(event.get());
        if (code == DRAVUI::UIEVENT_REFRESH) {
            RequestRepaint();
            continue;
        }
        if (!toDialog) {
            if (code == DRAVUI::UIEVENT_CLICK && button) OnScreenButton(button->m_id);
            if (code == DRAVUI::UIEVENT_ALT_CLICK && button) OnScreenAltClick(button->m_id);
            continue;
        }
        // Whichever dialog is current now: a handler may have set another over it.
        std::shared_ptr<CDRAVDlg> dialog = m_currentDialog;
        if (!dialog) continue;
        bool close = false;
        switch (code) {
            case DRAVUI::UIEVENT_CLICK:
                if (button) close = CallDialog([&] { return dialog->OnButton(button->m_id); });
                break;
            case DRAVUI::UIEVENT_ALT_CLICK:
                if (button) close = CallDialog([&] { return dialog->OnAltClick(button->m_id); });
                break;
            case DRAVUI::UIEVENT_DRAG_BEGIN:
                if (button) CallDialog([&] { dialog->OnBeginDrag(button->m_id); });
                break;
            case DRAVUI::UIEVENT_DRAG_CANCEL:
                CallDialog([&] { dialog->OnEndDrag(); });
                break;
            case DRAVUI::UIEVENT_DROP:
                if (const auto* drop = dynamic_cast<const DRAVUI::CUIEventDrop*>(event.get()))
                    CallDialog([&] { dialog->OnDrop(drop->m_sourceId, drop->m_targetId); });
                break;
            default:
                break;
        }
        if (close) {
            // The click that closes a dialog was meant for it; nothing queued behind
            // it may reach whatever comes next.
            std::shared_ptr<DRAVUI::CUIEvent> dropped;
            while (m_uiManager.PopEvent(dropped)) {
            }
            CloseDialog(button->m_id);
            return;
        }
    }
}

bool CDRAVApp::DeliverKeyToDialog(int key, bool shift) {
    if (!m_currentDialog) return false;
    std::shared_ptr<CDRAVDlg> dialog = m_currentDialog;
    int result = 0;
    if (CallDialog([&] { return dialog->OnKey(key, shift, &result); })) CloseDialog(result);
    return true;
}

void CDRAVApp::UpdateWindowTitle() {
    if (!m_currentDialog) return;
    SetWindowTextA(m_window, (GetProductTitle() + " - " + m_currentDialog->GetTitle()).c_str());
}

void CDRAVApp::UpdateGameWindowTitle() {
    std::string title = GetProductTitle();
    if (m_gameRunning && m_engine && m_engine->GetGame()) {
        if (const DRAV::CArea* area = m_engine->GetGame()->GetCurrentArea()) title += " - " + area->GetDisplayName();
    }
    SetWindowTextA(m_window, title.c_str());
}

void CDRAVApp::LayoutGameScreen() {
    ForgetScreenWidgets();
    m_uiManager.Clear();
    if (!m_currentDialog && !m_gameRunning) return;
    const std::uint32_t scale = GetUIScalePercent();
    RECT area{};
    if (m_deviceWrapper)
        m_deviceWrapper->GetViewportRect(area);
    else
        GetClientRect(m_window, &area);
    ScaleRectPercent(area, scale);
    if (m_currentDialog)
        m_currentDialog->Create(area, m_uiManager);
    else
        BuildGameScreen(area);
    if (m_deviceWrapper) m_uiManager.Realize(m_deviceWrapper.get(), scale);
}

void CDRAVApp::OnDialogFailure(const std::string& what) {
    ShowError("The game met an error (" + what + "). You may continue to play.", "Game Error");
    // Nothing left to show outside a game: the front page.
    if (!m_currentDialog && m_coveredDialogs.empty() && !m_gameRunning && !m_splashMode)
        SetDialog(true, std::make_shared<CStartDlg>(this));
    RequestRepaint();
}
