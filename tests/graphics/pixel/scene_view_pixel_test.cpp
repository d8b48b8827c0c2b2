// The start area drawn through the graphics manager on the OpenGL device, seen with
// the game view's default camera: a bare floor cell shows its atlas colour as the
// frame's lights light it, an unseen area shows only the sky, and the title scene
// draws its emblem over the picture. Each frame is saved as a PNG beside the test.

#include <SDL_image.h>

#include <algorithm>
#include <cmath>

#include "graphics/graphic.h"
#include "graphics/scene/icon_graphics_manager.h"
#include "graphics/pixel/game_view_fixture.h"
#include "graphics/scene_support.h"
#include "graphics/xp_texture.h"

namespace {

using namespace QuillmereTest;
using namespace DRAVGraph;

struct Rgb {
    double r = 0, g = 0, b = 0;
};

Rgb Mean(const std::vector<std::uint32_t>& colours) {
    Rgb sum;
    for (std::uint32_t c : colours) {
        sum.r += (c >> 16) & 0xFF;
        sum.g += (c >> 8) & 0xFF;
        sum.b += c & 0xFF;
    }
    const double n = std::max<double>(1.0, static_cast<double>(colours.size()));
    return {sum.r / n, sum.g / n, sum.b / n};
}

// The mean colour of a block of an image file of the sample (0x..RRGGBB per pixel).
Rgb ImageMean(DRAVCommon::DataFileKind kind, const std::string& name, int x0, int y0, int x1, int y1) {
    const auto bytes = SampleFolderSource()->ReadAll(kind, DRAVCommon::DFS_TEX, name);
    SDL_Surface* decoded = IMG_Load_RW(SDL_RWFromConstMem(bytes->data(), static_cast<int>(bytes->size())), 1);
    SDL_Surface* image = SDL_ConvertSurfaceFormat(decoded, SDL_PIXELFORMAT_ARGB8888, 0);
    SDL_FreeSurface(decoded);
    std::vector<std::uint32_t> pixels;
    for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x)
            pixels.push_back(static_cast<const std::uint32_t*>(image->pixels)[y * image->pitch / 4 + x]);
    SDL_FreeSurface(image);
    return Mean(pixels);
}

void SavePng(const std::vector<std::uint32_t>& pixels, int width, int height, const std::string& path) {
    std::vector<std::uint32_t> copy = pixels;
    SDL_Surface* surface = SDL_CreateRGBSurfaceWithFormatFrom(copy.data(), width, height, 32, width * 4,
                                                              SDL_PIXELFORMAT_ARGB8888);
    IMG_SavePNG(surface, path.c_str());
    SDL_FreeSurface(surface);
}

// Direct3D's fixed-function lighting of an upward-facing white surface at (x, 0, z):
// the global ambient plus every enabled light.
Rgb LightingAt(IDirect3DDevice9* device, double x, double z) {
    DWORD ambient = 0;
    device->GetRenderState(D3DRS_AMBIENT, &ambient);
    Rgb sum{((ambient >> 16) & 0xFF) / 255.0, ((ambient >> 8) & 0xFF) / 255.0, (ambient & 0xFF) / 255.0};
    for (DWORD i = 0; i < 8; ++i) {
        BOOL on = 0;
        D3DLIGHT9 light{};
        if (device->GetLightEnable(i, &on) != D3D_OK || !on || device->GetLight(i, &light) != D3D_OK) continue;
        double lx = -light.Direction.x, ly = -light.Direction.y, lz = -light.Direction.z, attenuation = 1.0;
        if (light.Type == D3DLIGHT_POINT) {
            lx = light.Position.x - x;
            ly = light.Position.y;
            lz = light.Position.z - z;
            const double d = std::sqrt(lx * lx + ly * ly + lz * lz);
            attenuation = 1.0 / (light.Attenuation0 + light.Attenuation1 * d + light.Attenuation2 * d * d);
        }
        const double length = std::sqrt(lx * lx + ly * ly + lz * lz);
        const double facing = std::max(0.0, ly / length) * attenuation;
        sum.r += facing * light.Diffuse.r;
        sum.g += facing * light.Diffuse.g;
        sum.b += facing * light.Diffuse.b;
    }
    return {std::min(sum.r, 1.0), std::min(sum.g, 1.0), std::min(sum.b, 1.0)};
}

class SceneViewPixelTest : public GameViewPixelTest {
protected:
    SceneViewPixelTest() {
        // The middle of the lane's bare cell (4, 4), with nothing tall between it and the eye.
        m_lookAt[0] = 11.25f;
        m_lookAt[2] = 11.25f;
        ShowArea();
    }

    Frame DrawScene(const std::string& png) {
        const auto pixels = DrawView();
        SavePng(pixels, kWidth, kHeight, png);
        return Frame(pixels, kWidth, kHeight);
    }
};

TEST_F(SceneViewPixelTest, ABareFloorCellShowsItsAtlasColourAsLit) {
    const Frame frame = DrawScene("scene_view_floor.png");
    // The pixels whose ground point lies well inside the cell, against the mean of the
    // mud atlas's last cell (the cell the lane shows), lit as the frame lit it.
    std::vector<std::uint32_t> inside;
    for (int y = kHeight / 2 - 40; y < kHeight / 2 + 40; ++y)
        for (int x = kWidth / 2 - 40; x < kWidth / 2 + 40; ++x) {
            float gx = 0, gz = 0;
            ASSERT_TRUE(m_manager.ScreenToWorld(&m_wrapper, x, y, gx, gz));
            if (gx > 10.2f && gx < 12.3f && gz > 10.2f && gz < 12.3f) inside.push_back(frame.Rgb(x, y));
        }
    ASSERT_GT(inside.size(), 200u);
    const Rgb seen = Mean(inside);
    const Rgb texel = ImageMean(DRAVCommon::DFK_TILE, "mud.png", 64, 64, 128, 128);
    const Rgb light = LightingAt(m_window.Device(), 11.25, 11.25);
    // Within 8 of 255 per channel: filtering, and the light falling off across the cell.
    EXPECT_NEAR(seen.r, texel.r * light.r, 8.0);
    EXPECT_NEAR(seen.g, texel.g * light.g, 8.0);
    EXPECT_NEAR(seen.b, texel.b * light.b, 8.0);

    // What is drawn there is what picking finds there.
    PickKind kind = PICK_NOTHING;
    DRAV::CThing* thing = nullptr;
    bool nearExit = true;
    m_manager.PickAtScreen(&m_wrapper, kWidth / 2, kHeight / 2, m_game.Area(), kind, thing, nearExit, false);
    EXPECT_EQ(kind, PICK_TILE);
    ASSERT_NE(thing, nullptr);
    EXPECT_EQ(thing->GetId(), 0x01000000u + 4 * 1000 + 4);
    EXPECT_TRUE(nearExit);  // the way to the marsh, 16 units west and south
}

TEST_F(SceneViewPixelTest, WithNothingSeenOnlyTheSkyShows) {
    m_game.Area().GetSeenCells().Clear();
    m_manager.BuildAreaGraphics(&m_wrapper, m_game.Area());
    const Frame frame = DrawScene("scene_view_sky.png");
    // The sky is drawn unlit: the middle shows colours of its cloud picture, which runs
    // from a dusk violet to a pale rose, never the lane's brown.
    const std::uint32_t centre = frame.Rgb(kWidth / 2, kHeight / 2);
    const int r = (centre >> 16) & 0xFF, g = (centre >> 8) & 0xFF, b = centre & 0xFF;
    EXPECT_GE(r, 0x40 - 4);
    EXPECT_LE(r, 0xB0 + 4);
    EXPECT_GE(b, 0x58 - 4);
    EXPECT_LE(b, 0x78 + 4);
    EXPECT_LT(g, r);
}

using TitlePixelTest = PixelWindowTest<1024, 768>;

TEST_F(TitlePixelTest, TheRestingEmblemAndTitleStandOverThePicture) {
    CIconGraphicsManager scene;
    scene.SetDataFileFactory(SampleFolderSource());
    std::uint32_t now = 1000;
    scene.SetClock([&] { return now; });
    scene.Load(&m_wrapper);
    scene.SetStaticPose(false);
    RECT viewport{0, 0, kWidth, kHeight};
    CCamera camera;
    camera.viewport = &viewport;
    IDirect3DDevice9* device = m_window.Device();
    for (std::uint32_t at : {1000u, 13000u}) {
        now = at;
        m_wrapper.SetDefaultRenderStates(true);
        device->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0xFF000000u, 1.0f, 0);
        device->BeginScene();
        scene.Render(&m_wrapper, camera);
        device->EndScene();
    }
    const auto pixels = m_window.Device()->ReadBackBuffer();
    SavePng(pixels, kWidth, kHeight, "title_scene.png");
    const Frame frame(pixels, kWidth, kHeight);
    // The corners show the dusk picture; the emblem's pale rim and blue face stand in
    // the lower middle and the title above it.
    EXPECT_NE(frame.Rgb(4, 4), 0u);
    const Rgb corner = Mean({frame.Rgb(4, 4)});
    const Rgb middle = Mean({frame.Rgb(kWidth / 2, kHeight / 2)});
    EXPECT_GT(std::fabs(middle.b - corner.b) + std::fabs(middle.r - corner.r), 20.0);
    device->SetStreamSource(0, nullptr, 0, 0);
    device->SetIndices(nullptr);
    device->SetTexture(0, nullptr);
}

}  // namespace
