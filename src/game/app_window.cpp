#include <sstream>

#include "common/exception.h"
#include "common/rect_scale.h"
#include "engine/engine.h"
#include "game/app.h"
#include "game/dialogs/front/chapter_picture.h"
#include "game/dialogs/dialog_failure.h"
#include "game/dialogs/front/start_dlg.h"
#include "game/identity.h"
#include "graphics/scene/icon_graphics_manager.h"
#include "graphics/xp_device.h"
#include "platform/win32/virtual_keys.h"
#include "platform/win32/win32_time.h"
#include "rules/module.h"
#include "ui/ui_image.h"
#include "world/game.h"

namespace {

std::string GraphicsFailureText() {
    return "Failed to load graphics file. The game is broken. Try reinstalling, or contact " + GetCompanyName() +
           " for support.";
}

bool ShiftHeld() { return GetKeyState(VK_SHIFT) < 0; }

}  // namespace

LRESULT MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* app = reinterpret_cast<CDRAVApp*>(GetWindowLongA(window, GWL_USERDATA));
    if (!app) return DefWindowProcA(window, message, wParam, lParam);
    return app->HandleMessage(message, wParam, lParam);
}

LRESULT CDRAVApp::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    // Nothing may cross the window procedure: an error a handler cannot deal with
    // is shown and ends the game.
    try {
        switch (message) {
            case WM_DESTROY:
                if (m_gameRunning) SaveGame();
                PostQuitMessage(m_exitStatus);
                return 0;
            case WM_SIZE:
                OnSize(wParam, LOWORD(static_cast<std::uintptr_t>(lParam)), HIWORD(static_cast<std::uintptr_t>(lParam)));
                return 0;
            case WM_PAINT: {
                int flags = (GetKeyState(VK_CONTROL) < 0 ? 1 : 0) | (GetKeyState(VK_MENU) < 0 ? 2 : 0);
                OnPaint(flags);
                return 0;
            }
            case WM_ERASEBKGND:
                return 0;
            case WM_SETCURSOR:
                if (LOWORD(static_cast<std::uintptr_t>(lParam)) == HTCLIENT) {
                    SetCursor(m_currentCursor);
                    return TRUE;
                }
                break;
            case WM_GETMINMAXINFO:
                reinterpret_cast<MINMAXINFO*>(lParam)->ptMinTrackSize = POINT{kMinimumWidth, kMinimumHeight};
                return 0;
            case WM_KEYDOWN:
                OnKeyDown(wParam, ShiftHeld());
                return 0;
            case WM_SYSKEYDOWN:
                // Never to the default handling, so Alt+F4 does not close the window.
                if (wParam == VK_F10 || wParam == VK_MENU)
                    OnKeyDown(wParam, ShiftHeld());
                else
                    RequestRepaint();
                return 0;
            case WM_KEYUP:
            case WM_SYSKEYUP:
                RequestRepaint();
                return 0;
            case WM_TIMER:
                if (wParam == m_timerId) OnTimer();
                return 0;
            case WM_LBUTTONDOWN:
                OnLeftButtonDown(POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)}, (wParam & MK_SHIFT) != 0);
                return 0;
            case WM_LBUTTONUP: {
                POINT point{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
                if (m_uiManager.OnMouse(1, &point, 0)) ProcessUIEvents();
                return 0;
            }
            case WM_LBUTTONDBLCLK: {
                POINT point{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
                if (m_uiManager.OnMouse(2, &point, 0))
                    ProcessUIEvents();
                else
                    OnRightButtonDown(point);
                return 0;
            }
            case WM_RBUTTONDOWN:
                OnRightButtonDown(POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
                return 0;
            case WM_MOUSEMOVE:
                OnWindowMouseMove(POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
                return 0;
            case WM_MOUSEWHEEL: {
                POINT point{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
                // A point that cannot be placed in the window is dropped, not fatal.
                if (!ScreenToClient(m_window, &point)) return 0;
                // Turned toward the player (a negative delta), text and lists move toward their end.
                int notches = -(GET_WHEEL_DELTA_WPARAM(wParam) / WHEEL_DELTA);
                if (notches != 0 && m_uiManager.OnMouse(6, &point, notches)) ProcessUIEvents();
                return 0;
            }
            case WM_MOUSELEAVE:
                m_mouseInside = false;
                if (m_uiManager.OnMouse(1, nullptr, 0)) ProcessUIEvents();
                return 0;
            case WM_ENTERSIZEMOVE:
                m_inSizeMove = true;
                if (m_device) ClearScreen();
                return 0;
            case WM_EXITSIZEMOVE:
                OnEndSizeMove();
                return 0;
            case WM_CAPTURECHANGED:
                if (m_inSizeMove) OnEndSizeMove();
                return 0;
            case kAppSplashStart:
                OnSplashStart();
                return 0;
            case kAppSplashEnd:
                OnSplashEnd();
                return 0;
            case kAppLoadGraphics:
                OnLoadGraphics();
                return 0;
            case kAppShowChapterPicture:
                OnShowChapterPicture();
                return 0;
            default:
                break;
        }
    } catch (const CDialogFailure& failure) {
        OnDialogFailure(failure.what());
        return 0;
    } catch (const std::exception& failure) {
        FailFromHandler(failure.what());
        return 0;
    }
    return DefWindowProcA(m_window, message, wParam, lParam);
}

void CDRAVApp::FailFromHandler(const std::string& what) {
    m_tickGuard = false;
    ShowFatalError("The game met an error it cannot go on from (" + what + "). Try reinstalling, or contact " +
                  GetCompanyName() + " for support.",
              "Game Error");
    try {
        EndGame();
    } catch (const std::exception&) {
        // Ending is best effort here: the window closes either way.
    }
    PostMessageA(m_window, WM_CLOSE, 0, 0);
}

void CDRAVApp::ClearScreen() {
    // Everything that holds device objects goes, so that a device reset can succeed;
    // the rebuild messages that follow every reset bring it back.
    m_splashScene.reset();
    if (m_gameRunning && m_gameViewReady && m_deviceWrapper) {
        m_graphicsManager.ReleaseDeviceObjects(m_deviceWrapper.get(), *m_engine->GetGame());
        m_gameViewReady = false;
    }
    if (m_device) {
        m_device->SetStreamSource(0, nullptr, 0, 0);
        m_device->SetIndices(nullptr);
        for (DWORD stage = 0; stage < 8; ++stage) m_device->SetTexture(stage, nullptr);
    }
    ForgetScreenWidgets();
    m_uiManager.ReleaseDeviceObjects();
    // Only invalidated: updating at once from inside a paint would paint recursively.
    InvalidateRect(m_window, nullptr, FALSE);
}

void CDRAVApp::RequestRepaint() {
    // A game running undisturbed is repainted by its clock.
    if (m_gameRunning && !m_currentDialog && !m_paused) return;
    InvalidateRect(m_window, nullptr, FALSE);
}

void CDRAVApp::OnPaint(int flags) {
    if (IsIconic(m_window)) return;
    PAINTSTRUCT paint{};
    HDC dc = BeginPaint(m_window, &paint);
    if (!m_deviceWrapper || m_inSizeMove) {
        RECT client{};
        GetClientRect(m_window, &client);
        FillRect(dc, &client, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    } else {
        if (m_deviceLost) {
            ClearScreen();
            if (FAILED(m_device->Reset(&m_presentParameters))) {
                // The next try waits for the next repaint (the clock, input) rather
                // than painting again at once, over and over.
                ValidateRect(m_window, nullptr);
                EndPaint(m_window, &paint);
                return;
            }
            RestoreDeviceObjects();
            m_deviceLost = false;
            m_screenRebuildPending = false;
            PostMessageA(m_window, kAppShowChapterPicture, 0, 0);
        }
        m_deviceWrapper->SetDefaultRenderStates(m_renderStatesPending);
        m_renderStatesPending = false;
        m_device->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, D3DCOLOR_ARGB(255, 0, 0, 0), 1.0f, 0);
        if (FAILED(m_device->BeginScene())) {
            EndPaint(m_window, &paint);
            return;
        }
        if (m_splashMode && m_splashScene) {
            RECT viewport{};
            m_deviceWrapper->GetViewportRect(viewport);
            DRAVGraph::CCamera camera;
            camera.viewport = &viewport;
            m_splashScene->Render(m_deviceWrapper.get(), camera);
        }
        if (m_gameViewReady) {
            float target[3];
            GetCameraTarget(target);
            RenderGameView(target, flags);
        } else {
            m_viewIdle = true;
        }
        m_uiManager.Draw(m_deviceWrapper.get(), m_mouseInside ? &m_mousePoint : nullptr);
        m_device->EndScene();
        if (m_device->Present(nullptr, nullptr, nullptr, nullptr) == D3DERR_DEVICELOST) m_deviceLost = true;
    }
    EndPaint(m_window, &paint);
    if (m_screenRebuildPending) PostMessageA(m_window, kAppLoadGraphics, 0, 0);
    if (m_gameRunning && m_fpsDisplay) {
        std::uint32_t now = GetTickCount();
        if (static_cast<std::int32_t>(now) > static_cast<std::int32_t>(m_fpsTime + 1000)) {
            double fps = m_fpsFrames / static_cast<double>(now - m_fpsTime) * 1000.0;
            std::ostringstream text;
            text << fps;
            m_engine->GetGame()->PushMessage(23, text.str());
            m_fpsTime = now;
            m_fpsFrames = 0;
        } else {
            ++m_fpsFrames;
        }
    }
}

void CDRAVApp::ResetDeviceAfterResize() {
    if (FAILED(m_device->Reset(&m_presentParameters))) {
        m_deviceLost = true;
        return;
    }
    m_deviceWrapper->SetDefaultRenderStates(true);
    m_renderStatesPending = true;
    m_screenRebuildPending = false;
    PostMessageA(m_window, kAppShowChapterPicture, 0, 0);
}

void CDRAVApp::OnSize(WPARAM type, int width, int height) {
    if ((type != SIZE_RESTORED && type != SIZE_MAXIMIZED) || !m_deviceWrapper) return;
    m_presentParameters.BackBufferWidth = static_cast<UINT>(width);
    m_presentParameters.BackBufferHeight = static_cast<UINT>(height);
    if (m_inSizeMove) return;
    ClearScreen();
    ResetDeviceAfterResize();
}

void CDRAVApp::OnEndSizeMove() {
    if (!m_inSizeMove) return;
    m_inSizeMove = false;
    if (!m_deviceWrapper || FAILED(m_device->Reset(&m_presentParameters))) return;
    m_deviceWrapper->SetDefaultRenderStates(true);
    m_renderStatesPending = true;
    m_screenRebuildPending = false;
    PostMessageA(m_window, kAppShowChapterPicture, 0, 0);
    RequestRepaint();
}

void CDRAVApp::OnSplashStart() {
    RECT frame{};
    GetWindowRect(m_window, &frame);
    if (frame.right - frame.left < kMinimumWidth || frame.bottom - frame.top < kMinimumHeight)
        MoveWindow(m_window, frame.left, frame.top, kMinimumWidth, kMinimumHeight, TRUE);
    else
        PostMessageA(m_window, kAppShowChapterPicture, 0, 0);
    m_timerId = SetTimer(m_window, kTimerId, kTimerPeriod, nullptr);
    m_audio->PlayAmbientFx("splash.mp3");
}

void CDRAVApp::OnShowChapterPicture() {
    if (m_gameRunning && !m_currentDialog) {
        std::uint32_t scale = GetUIScalePercent();
        RECT viewport{};
        m_deviceWrapper->GetViewportRect(viewport);
        ScaleRectPercent(viewport, scale);
        // A chapter without its picture still loads: an empty picture of the same size stands in.
        auto image =
            MakeChapterPicture(m_uiManager.GetConfig(), m_engine->GetModule()->GetPackage().get(), "chapter.jpg");
        int centreX = (viewport.left + viewport.right) / 2;
        int centreY = (viewport.top + viewport.bottom) / 2;
        RECT picture{centreX - 365, centreY - 183, centreX + 365, centreY + 183};
        image->SetRect(picture);
        m_uiManager.AddElement(image);
        m_uiManager.Realize(m_deviceWrapper.get(), scale);
    }
    m_screenRebuildPending = true;
}

void CDRAVApp::OnLoadGraphics() {
    m_screenRebuildPending = false;
    if (m_splashMode) {
        try {
            auto scene = std::make_shared<DRAVGraph::CIconGraphicsManager>();
            m_splashScene = scene;
            CDRAVChapterInfo* first = m_chapterTable.Find(1);
            scene->SetDataFileFactory(first ? first->m_package : nullptr);
            scene->Load(m_deviceWrapper.get());
            scene->SetStaticPose(false);
            scene->SetClockStarted(false);
        } catch (const std::exception&) {
            m_splashScene.reset();
            ShowFatalError(GraphicsFailureText(), "Launch Error");
            EndGame();
            PostMessageA(m_window, WM_CLOSE, 0, 0);
        }
    }
    if (m_gameRunning) {
        SuspendClock();
        m_currentCursor = m_cursorWait;
        SetCursor(m_currentCursor);
        try {
            m_graphicsManager.SetDataFileFactory(m_engine->GetModule()->GetPackage());
            m_graphicsManager.Init(m_deviceWrapper.get(), *m_engine->GetGame(), *m_engine->GetModule());
        } catch (const std::exception&) {
            ShowFatalError(GraphicsFailureText(), "Game Error");
            EndGame();
            PostMessageA(m_window, WM_CLOSE, 0, 0);
        }
        // A game ended by the failure has no view to draw and no clock to run.
        if (m_gameRunning) {
            m_gameViewReady = true;
            ResumeClock();
        }
    }
    LayoutGameScreen();
    // The screen just built is shown now: a dialog holding the clock, or a pause,
    // would otherwise leave the last frame up, black after a change of area.
    RequestRepaint();
}

void CDRAVApp::OnSplashEnd() {
    m_audio->StopAmbientFx();
    m_audio->PlaySound(0);
    m_splashMode = false;
    m_splashScene.reset();
    KillTimer(m_window, m_timerId);
    SetDialog(true, std::make_shared<CStartDlg>(this));
}
