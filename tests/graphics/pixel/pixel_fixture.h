#pragma once
// Pixel tests: a window with the OpenGL device for each test, a frame of the 2D
// queue drawn the way the interface draws it, and the frame read back.

#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <memory>

#include "graphics/graphics_test_util.h"
#include "graphics/ui_sprite.h"
#include "graphics_demo/gl_window.h"

namespace QuillmereTest {

// A window of `Width` x `Height` pixels.
template <int Width, int Height>
class PixelWindowTest : public ::testing::Test {
protected:
    static constexpr int kWidth = Width;
    static constexpr int kHeight = Height;

    // One window per test suite: making a GL context costs more than most tests.
    static void SetUpTestSuite() { s_window = std::make_unique<QuillmereDemo::GLWindow>(kWidth, kHeight); }
    static void TearDownTestSuite() { s_window.reset(); }

    PixelWindowTest() : m_window(*s_window), m_wrapper(m_window.Device()) {
        m_white = DRAVCommon::CreateColourTexture(&m_wrapper, 0xFFFFFF, 1.0);
    }

    // Clears to black, queues through `queue` at `scale` percent, flushes, reads back.
    Frame DrawQueue(std::uint32_t scale, const std::function<void(DRAVUI::CUISprite&)>& queue) {
        IDirect3DDevice9* device = m_window.Device();
        m_wrapper.SetDefaultRenderStates(true);
        device->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0xFF000000u, 1.0f, 0);
        device->BeginScene();
        DRAVUI::CUISprite sprite(&m_wrapper, scale, m_white);
        sprite.Begin();
        queue(sprite);
        sprite.Flush();
        device->EndScene();
        return ReadBack();
    }
    Frame ReadBack() const { return Frame(m_window.Device()->ReadBackBuffer(), kWidth, kHeight); }

    std::shared_ptr<DRAVCommon::CXPTexture> SolidTexture(std::uint32_t argb, int width = 8, int height = 8) {
        auto surface = MakeSurface(width, height, SDL_PIXELFORMAT_ARGB8888, argb);
        return DRAVCommon::CreateTextureFromSurface(&m_wrapper, surface.get());
    }

    static inline std::unique_ptr<QuillmereDemo::GLWindow> s_window;
    QuillmereDemo::GLWindow& m_window;
    DRAVCommon::CXPDevice m_wrapper;
    std::shared_ptr<DRAVCommon::CXPTexture> m_white;
};

using PixelTest = PixelWindowTest<320, 240>;

// Colours equal within the rounding of a software rasteriser.
inline ::testing::AssertionResult NearColour(std::uint32_t seen, std::uint32_t expected, int tolerance = 2) {
    for (int shift : {16, 8, 0}) {
        const int a = static_cast<int>((seen >> shift) & 0xFF), b = static_cast<int>((expected >> shift) & 0xFF);
        if (std::abs(a - b) > tolerance)
            return ::testing::AssertionFailure() << std::hex << "colour " << seen << " is not " << expected;
    }
    return ::testing::AssertionSuccess();
}

}  // namespace QuillmereTest
