#pragma once
// Pixel tests of the widgets: a UI manager on the OpenGL device, reading the
// generated interface archive, and its frame read back.

#include <cstdint>
#include <vector>

#include "graphics/pixel/pixel_fixture.h"
#include "support/sample_module.h"
#include "ui/ui_manager.h"
#include "ui/ui_test_util.h"

namespace QuillmereTest {

class UIPixelTest : public PixelWindowTest<800, 600> {
protected:
    UIPixelTest() { m_manager.SetDataFileFactory(SampleInterfaceSource()); }

    // Realizes the widgets added so far at `scale` percent.
    void Realize(std::uint32_t scale = 100) { m_manager.Realize(&m_wrapper, scale); }
    // One frame of the interface over black, the way the game paints it; the
    // mouse in window pixels or null. The pixels are ARGB, rows from the top.
    std::vector<std::uint32_t> DrawPixels(const POINT* mouse) {
        D3D9Layer::CGLDevice* device = m_window.Device();
        m_wrapper.SetDefaultRenderStates(true);
        device->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0xFF000000u, 1.0f, 0);
        device->BeginScene();
        m_manager.Draw(&m_wrapper, mouse);
        device->EndScene();
        return device->ReadBackBuffer();
    }
    Frame DrawFrame(const POINT* mouse) { return Frame(DrawPixels(mouse), kWidth, kHeight); }

    DRAVUI::CUIManager m_manager;
};

}  // namespace QuillmereTest
