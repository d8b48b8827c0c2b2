#include "graphics_demo/demo_frame.h"

#include <SDL.h>

#include <cstdio>
#include <cstring>

#include "common/sdl_init.h"
#include "platform/d3d9/recording_device.h"

namespace QuillmereDemo {

using DRAVUI::CUISprite;

const std::string CDemoFrame::kText =
    "The ferry leaves Reedwater landing at dawn; the ferryman asks two silver for the crossing.";

namespace {

// A 64 x 64 picture: a colour gradient with a dark frame.
std::shared_ptr<DRAVCommon::CXPTexture> MakePicture(DRAVCommon::CXPDevice* device) {
    std::unique_ptr<SDL_Surface, void (*)(SDL_Surface*)> surface(
        SDL_CreateRGBSurfaceWithFormat(0, 64, 64, 32, SDL_PIXELFORMAT_ARGB8888), SDL_FreeSurface);
    if (!surface) throw DRAVSDL::CSDLException();
    for (int y = 0; y < 64; ++y)
        for (int x = 0; x < 64; ++x) {
            const bool frame = x < 4 || y < 4 || x >= 60 || y >= 60;
            const std::uint32_t pixel = frame ? 0xFF202020u : 0xFF000000u | (static_cast<std::uint32_t>(x * 4) << 16) |
                                                                  (static_cast<std::uint32_t>(y * 4) << 8) | 0x80u;
            std::memcpy(static_cast<std::uint8_t*>(surface->pixels) + y * surface->pitch + x * 4, &pixel, 4);
        }
    return DRAVCommon::CreateTextureFromSurface(device, surface.get());
}

}  // namespace

CDemoFrame::CDemoFrame(DRAVCommon::CXPDevice* device, DRAVCommon::CDataFileFactory& source,
                       std::uint32_t scalePercent)
    : m_device(device), m_scalePercent(scalePercent),
      m_white(DRAVCommon::CreateColourTexture(device, 0xFFFFFF, 1.0)), m_picture(MakePicture(device)),
      m_font(source, 12, scalePercent) {}

void CDemoFrame::Draw() {
    IDirect3DDevice9* device = m_device->GetDevice();
    m_device->SetDefaultRenderStates(true);
    DRAVCommon::CheckDeviceCall(device->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0xFF000000u, 1.0f, 0));
    DRAVCommon::CheckDeviceCall(device->BeginScene());
    CUISprite sprite(m_device, m_scalePercent, m_white);
    sprite.Begin();
    sprite.Draw(RECT{10, 10, 310, 230}, nullptr, 0xC0000000u, CUISprite::MODE_STRETCH, nullptr);
    sprite.Draw(RECT{20, 20, 100, 60}, nullptr, 0xFFC83232u, CUISprite::MODE_STRETCH, nullptr);
    sprite.Draw(RECT{120, 20, 200, 60}, nullptr, 0xFF32C832u, CUISprite::MODE_STRETCH, nullptr);
    sprite.Draw(RECT{80, 40, 140, 80}, nullptr, 0x803232C8u, CUISprite::MODE_STRETCH, nullptr);
    sprite.Draw(RECT{220, 20, 284, 84}, nullptr, 0xFFFFFFFFu, CUISprite::MODE_STRETCH, m_picture);
    m_font.DrawText(sprite, m_textSlot, kText, RECT{20, 100, 300, 220}, 0xFFFFFFFFu, 3);
    sprite.Flush();
    DRAVCommon::CheckDeviceCall(device->EndScene());
}

void CDemoFrame::QueueMany(CUISprite& sprite, int count) {
    static const std::string kLabels[] = {"Sword", "Shield", "Potion", "Rope", "Lantern", "Map", "Bread", "Key"};
    m_labelSlots.resize(8);
    for (int i = 0; i < count; ++i) {
        const LONG x = (i % 25) * 12, y = (i / 25) * 11;
        const RECT box{x, y, x + 11, y + 10};
        switch (i % 3) {
        case 0: sprite.Draw(box, nullptr, 0xFF000000u | static_cast<std::uint32_t>(i * 2654435761u >> 8), 0, nullptr); break;
        case 1: sprite.Draw(box, nullptr, 0xFFFFFFFFu, CUISprite::MODE_STRETCH, m_picture); break;
        default: m_font.DrawText(sprite, m_labelSlots[static_cast<std::size_t>(i) % 8], kLabels[i % 8],
                                 RECT{x, y, x + 60, y + 10}, 0xFFFFFF00u, 3);
        }
    }
}

std::vector<std::string> CompareWithRecording(const std::vector<std::uint32_t>& frame, int width,
                                              DRAVCommon::CDataFileFactory& source, std::uint32_t scalePercent,
                                              int height) {
    auto recording = D3D9Layer::CRecordingDevice::Create(static_cast<UINT>(width), static_cast<UINT>(height));
    DRAVCommon::CXPDevice wrapper(recording.get());
    CDemoFrame demo(&wrapper, source, scalePercent);
    recording->ClearRecord();
    demo.Draw();

    struct Quad {
        float left, top, right, bottom, depth;
        std::uint32_t colour;
        bool plain;
    };
    std::vector<Quad> quads;
    for (const auto& draw : recording->Draws()) {
        // The plain pass starts at index 0; its vertex buffer holds every rectangle
        // of the flush, the plain ones first.
        if (draw.fvf != CUISprite::kFvf || draw.startIndex != 0) continue;
        std::vector<DRAVUI::SpriteVertex> vertices(draw.vertices.size() / sizeof(DRAVUI::SpriteVertex));
        std::memcpy(vertices.data(), draw.vertices.data(), vertices.size() * sizeof(DRAVUI::SpriteVertex));
        for (std::size_t q = 0; q < vertices.size() / 4; ++q) {
            const auto& a = vertices[q * 4];
            const auto& d = vertices[q * 4 + 3];
            quads.push_back(Quad{a.x, a.y, d.x, d.y, a.z, a.colour, q < draw.primitiveCount / 2});
        }
        break;
    }
    std::vector<std::string> mismatches;
    int compared = 0;
    for (const Quad& quad : quads) {
        if (!quad.plain || (quad.colour >> 24) != 0xFF) continue;
        const int x = static_cast<int>((quad.left + quad.right) / 2.0f);
        const int y = static_cast<int>((quad.top + quad.bottom) / 2.0f);
        bool covered = false;
        for (const Quad& other : quads)
            covered |= other.depth > quad.depth && x >= other.left && x < other.right && y >= other.top &&
                       y < other.bottom;
        if (covered || x < 0 || y < 0 || x >= width || y >= height) continue;
        ++compared;
        const std::uint32_t seen = frame[static_cast<std::size_t>(y) * width + x] & 0xFFFFFFu;
        if (seen != (quad.colour & 0xFFFFFFu)) {
            char text[128];
            std::snprintf(text, sizeof text, "pixel (%d, %d) is %06X, the recording drew %06X", x, y, seen,
                          quad.colour & 0xFFFFFFu);
            mismatches.emplace_back(text);
        }
    }
    if (compared == 0) mismatches.emplace_back("the recording left no opaque rectangle to compare");
    return mismatches;
}

}  // namespace QuillmereDemo
