#pragma once
// Widget tests on the recording device: a UI manager reading the sample interface
// archive, a drawing service realized from it, a frame's queue to inspect, and a
// small widget whose answers a test chooses. These helpers use the graphics test
// support, which keeps SDL started for the whole test program.

#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "graphics/ui_sprite.h"
#include "graphics/xp_device.h"
#include "platform/d3d9/recording_device.h"
#include "ui/ui_draw_help.h"
#include "ui/ui_element.h"
#include "ui/ui_manager.h"

namespace QuillmereTest {

// A widget that draws one plain rectangle and answers presses as it is told, other
// actions as the base does.
class ProbeElement : public DRAVUI::CUIElement {
public:
    ProbeElement(int id, std::shared_ptr<DRAVUI::CUIConfig> config, RECT rect, int pressAnswer = 2);

    void Realize(DRAVCommon::CXPDevice*, DRAVUI::CUIDrawHelp&) override { ++realized; }
    void Draw(DRAVCommon::CXPDevice*, DRAVUI::CUIDrawHelp& help, DRAVUI::CUISprite& sprite, const POINT*) override;
    int OnMouse(int kind, const POINT* point) override;

    int pressAnswer;
    int realized = 0;
    std::vector<int> kindsSeen;
};

class UITest : public ::testing::Test {
protected:
    UITest();

    std::shared_ptr<DRAVUI::CUIConfig> Config() const { return m_manager.GetConfig(); }
    // The drawing service of the last Realize (made by the constructor).
    DRAVUI::CUIDrawHelp& Help() const { return *m_manager.GetDrawHelp(); }
    // A fresh frame queue at 100 %.
    DRAVUI::CUISprite Sprite() { return DRAVUI::CUISprite(&m_wrapper, 100, nullptr); }
    // The texture of a loaded table image.
    std::shared_ptr<DRAVCommon::CXPTexture> Image(int id) const { return Help().FindImage(id); }
    // Pops every pending event as codes, with the id of button events after each
    // code ("1(5)") and source and target of drops ("5(3,7)").
    std::vector<std::string> DrainEvents();
    // A press, move or wheel at a point in logical units (scale 100).
    bool Mouse(int kind, LONG x, LONG y, int notches = 0);

    D3DPtr<D3D9Layer::CRecordingDevice> m_device = D3D9Layer::CRecordingDevice::Create(800, 600);
    DRAVCommon::CXPDevice m_wrapper{m_device.get()};
    DRAVUI::CUIManager m_manager;
};

// A frame read back (ARGB, rows from the top) written as an opaque PNG file.
void SavePng(const std::vector<std::uint32_t>& pixels, int width, int height, const std::string& path);

// The bytes of a PNG file of one colour.
std::shared_ptr<DRAVCommon::ByteVector> SolidPng(int width, int height, std::uint32_t argb);

void ExpectRect(const RECT& rect, LONG left, LONG top, LONG right, LONG bottom);

}  // namespace QuillmereTest
