#include "game/app.h"

// Mouse input reaches the widgets first; on the splash screen a click the widgets
// do not take, and any key, end the splash. What the game screen does with the
// rest arrives with the game screen.

void CDRAVApp::OnLeftButtonDown(POINT point, bool) {
    if (m_uiManager.OnMouse(0, &point, 0)) {
        ProcessUIEvents();
        return;
    }
    if (m_splashMode) PostMessageA(m_window, kAppSplashEnd, 0, 0);
}

void CDRAVApp::OnRightButtonDown(POINT point) {
    if (m_uiManager.OnMouse(3, &point, 0)) ProcessUIEvents();
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
}

void CDRAVApp::PlayEventSound(int code) {
    int soundId = SoundIdForEventCode(code);
    if (soundId >= 0 && m_audio) m_audio->PlaySound(soundId);
}
