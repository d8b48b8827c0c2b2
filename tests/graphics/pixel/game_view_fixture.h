#pragma once
// The sample game drawn through the graphics manager on the OpenGL device of a
// 1024 x 768 window with the game view's default camera, looking at `m_lookAt`.

#include <cstdint>
#include <vector>

#include "graphics/pixel/pixel_fixture.h"
#include "graphics/scene/graphics_manager.h"
#include "graphics/scene_support.h"

namespace QuillmereTest {

class GameViewPixelTest : public PixelWindowTest<1024, 768> {
protected:
    GameViewPixelTest() {
        m_manager.SetDataFileFactory(SampleFolderSource());
        m_camera.viewport = &m_viewport;
        m_camera.lookAt = m_lookAt;
    }
    ~GameViewPixelTest() override { m_manager.ReleaseDeviceObjects(&m_wrapper, m_game.Game()); }

    // A new game of another chapter of the sample in place of chapter 1's, drawn
    // from that chapter's files.
    void StartChapter(int chapter) {
        m_game = SampleGame(chapter, [](DRAV::CActor& main) { main.SetName("Wren"); });
        m_manager.SetDataFileFactory(SampleFolderSource(chapter));
    }

    // Loads the graphics of the current area, every cell of it seen.
    void ShowArea() {
        SeeEverything(m_game.Area());
        m_manager.Init(&m_wrapper, m_game.Game(), m_game.Module());
    }

    // One frame of the game view, read back.
    std::vector<std::uint32_t> DrawView() {
        IDirect3DDevice9* device = m_window.Device();
        m_wrapper.SetDefaultRenderStates(true);
        device->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0xFF000000u, 1.0f, 0);
        device->BeginScene();
        m_manager.RenderScene(&m_wrapper, m_game.Game(), m_camera);
        device->EndScene();
        return m_window.Device()->ReadBackBuffer();
    }

    SampleGame m_game;
    DRAVGraph::CGraphicsManager m_manager;
    RECT m_viewport{0, 0, kWidth, kHeight};
    float m_lookAt[3] = {0.0f, 0.0f, 0.0f};
    DRAVGraph::CCamera m_camera;
};

}  // namespace QuillmereTest
