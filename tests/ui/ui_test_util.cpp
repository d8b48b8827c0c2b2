#include "ui/ui_test_util.h"

#include <SDL.h>
#include <SDL_image.h>

#include "common/sdl_init.h"
#include "graphics/graphics_test_util.h"
#include "support/sample_module.h"

namespace QuillmereTest {

ProbeElement::ProbeElement(int id, std::shared_ptr<DRAVUI::CUIConfig> config, RECT rect, int answer)
    : CUIElement(id, std::move(config)), pressAnswer(answer) {
    SetRect(rect);
}

void ProbeElement::Draw(DRAVCommon::CXPDevice*, DRAVUI::CUIDrawHelp& help, DRAVUI::CUISprite& sprite, const POINT*) {
    help.FillRect(sprite, 0xFF336699, m_rect);
}

int ProbeElement::OnMouse(int kind, const POINT*) {
    kindsSeen.push_back(kind);
    return kind == DRAVUI::MOUSE_PRESS ? pressAnswer : CUIElement::OnMouse(kind, nullptr);
}

UITest::UITest() {
    // The archive's index is read once for the whole program.
    static const auto source = SampleInterfaceSource();
    m_manager.SetDataFileFactory(source);
    m_manager.Realize(&m_wrapper, 100);
    m_device->BeginScene();
}

std::vector<std::string> UITest::DrainEvents() {
    std::vector<std::string> codes;
    std::shared_ptr<DRAVUI::CUIEvent> event;
    while (m_manager.PopEvent(event)) {
        std::string text = std::to_string(event->m_code);
        if (auto* button = dynamic_cast<DRAVUI::CUIEventButton*>(event.get()))
            text += "(" + std::to_string(button->m_id) + ")";
        if (auto* drop = dynamic_cast<DRAVUI::CUIEventDrop*>(event.get()))
            text += "(" + std::to_string(drop->m_sourceId) + "," + std::to_string(drop->m_targetId) + ")";
        codes.push_back(text);
    }
    return codes;
}

bool UITest::Mouse(int kind, LONG x, LONG y, int notches) {
    const POINT point{x, y};
    return m_manager.OnMouse(kind, &point, notches);
}

std::shared_ptr<DRAVCommon::ByteVector> SolidPng(int width, int height, std::uint32_t argb) {
    auto surface = MakeSurface(width, height, SDL_PIXELFORMAT_ARGB8888, argb);
    return std::make_shared<DRAVCommon::ByteVector>(EncodePng(surface.get()));
}

void SavePng(const std::vector<std::uint32_t>& pixels, int width, int height, const std::string& path) {
    std::vector<std::uint32_t> opaque(pixels);
    for (auto& pixel : opaque) pixel |= 0xFF000000u;
    Surface surface(SDL_CreateRGBSurfaceWithFormatFrom(opaque.data(), width, height, 32, width * 4,
                                                       SDL_PIXELFORMAT_ARGB8888));
    if (!surface || IMG_SavePNG(surface.get(), path.c_str()) != 0) throw DRAVSDL::CSDLException();
}

void ExpectRect(const RECT& rect, LONG left, LONG top, LONG right, LONG bottom) {
    EXPECT_EQ(rect.left, left);
    EXPECT_EQ(rect.top, top);
    EXPECT_EQ(rect.right, right);
    EXPECT_EQ(rect.bottom, bottom);
}

}  // namespace QuillmereTest
