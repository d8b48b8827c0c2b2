// Text on the OpenGL device, and one frame driven through both devices.

#include "graphics/pixel/pixel_fixture.h"
#include "graphics/ui_font_draw.h"
#include "graphics_demo/demo_frame.h"
#include "platform/d3d9/recording_device.h"

namespace {

using namespace QuillmereTest;
using DRAVUI::CUISprite;

TEST_F(PixelTest, CentredTextKeepsItsPixelsInsideItsPlacedBox) {
    DRAVCommon::CDataFileFactoryMemory source;
    AddInterfaceFont(source);
    DRAVUI::CUIFontDraw font(source, 12, 100);
    std::shared_ptr<DRAVUI::CUITextTexture> slot;
    RECT placed{};
    const Frame frame = DrawQueue(100, [&](CUISprite& sprite) {
        font.DrawText(sprite, slot, "Ferry", RECT{0, 0, 101, 50}, 0xFFFFFFFFu, DRAVUI::CUIFontDraw::ALIGN_MIDDLE_CENTRE);
        placed = sprite.GetTexturedCommands().at(0).dest;
    });
    ASSERT_TRUE(slot);
    const LONG width = slot->textRect.right, height = slot->textRect.bottom;
    EXPECT_EQ(placed.left, 50 - width / 2);
    EXPECT_EQ(placed.top, 25 - height / 2);
    const RECT ink = frame.BoundsOfNot(0);
    ASSERT_GT(ink.right, ink.left) << "no text drawn";
    // Drawn half a pixel on, like every queued rectangle.
    EXPECT_GE(ink.left, placed.left + 1);
    EXPECT_GE(ink.top, placed.top + 1);
    EXPECT_LE(ink.right, placed.right + 1);
    EXPECT_LE(ink.bottom, placed.bottom + 1);
    // White glyphs over black: the strokes come out nearly white and grey.
    std::uint32_t brightest = 0;
    for (LONG y = ink.top; y < ink.bottom; ++y)
        for (LONG x = ink.left; x < ink.right; ++x) brightest = std::max(brightest, frame.Rgb(x, y));
    EXPECT_TRUE(NearColour(brightest, 0xFFFFFFu, 0x20));
    EXPECT_EQ(brightest & 0xFF, (brightest >> 16) & 0xFF);
}

TEST_F(PixelTest, BothDevicesReceiveTheSameCallsForTheSameFrame) {
    DRAVCommon::CDataFileFactoryMemory source;
    AddInterfaceFont(source);
    auto recording = D3D9Layer::CRecordingDevice::Create(kWidth, kHeight);
    DRAVCommon::CXPDevice recordingWrapper(recording.get());
    // A window of its own, so both devices number their objects from the start.
    QuillmereDemo::GLWindow window(kWidth, kHeight);
    DRAVCommon::CXPDevice glWrapper(window.Device());
    window.Device()->SetRecording(true);
    QuillmereDemo::CDemoFrame onRecording(&recordingWrapper, source, 100);
    QuillmereDemo::CDemoFrame onGL(&glWrapper, source, 100);
    onRecording.Draw();
    onGL.Draw();
    const auto& glCalls = window.Device()->Calls();
    const auto& recorded = recording->Calls();
    ASSERT_EQ(glCalls.size(), recorded.size());
    for (std::size_t i = 0; i < recorded.size(); ++i) EXPECT_EQ(glCalls[i], recorded[i]) << "call " << i;
    ASSERT_EQ(window.Device()->Draws().size(), recording->Draws().size());
    for (std::size_t i = 0; i < recording->Draws().size(); ++i)
        EXPECT_EQ(window.Device()->Draws()[i].vertices, recording->Draws()[i].vertices);
    EXPECT_TRUE(QuillmereDemo::CompareWithRecording(window.Device()->ReadBackBuffer(), kWidth, source, 100, kHeight)
                    .empty());
}

}  // namespace
