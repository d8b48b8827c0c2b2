// Models drawn on the OpenGL device: auto-tiles pick their cell of a texture atlas
// the right way round, and "flat" models ignore the lighting.

#include <cmath>

#include "common/data_file_memory.h"
#include "graphics/matrix.h"
#include "graphics/model_node.h"
#include "graphics/pixel/pixel_fixture.h"

namespace {

using namespace QuillmereTest;
using namespace DRAVGraph;

constexpr int kCell = 16;

// Cell (column, row) of the 4 x 4 atlas: red grows with the column, green with the row.
std::uint32_t CellColour(int column, int row) {
    return 0xFF000000u | static_cast<std::uint32_t>(40 + 60 * column) << 16 |
           static_cast<std::uint32_t>(40 + 60 * row) << 8 | 0x80u;
}

class ModelPixelTest : public PixelTest {
protected:
    ModelPixelTest() {
        auto atlas = MakeSurface(4 * kCell, 4 * kCell, SDL_PIXELFORMAT_ARGB8888, 0);
        for (int y = 0; y < 4 * kCell; ++y)
            for (int x = 0; x < 4 * kCell; ++x) SetPixel(atlas.get(), x, y, CellColour(x / kCell, y / kCell));
        m_source.Add(DRAVCommon::DFK_TILE, DRAVCommon::DFS_TEX, "atlas.png", EncodePng(atlas.get()));
    }

    // Clears, looks from `eye` at `target`, draws the node in the opaque pass, reads back.
    Frame DrawFrom(const CModelNode& node, const float eye[3], const float target[3], const float up[3],
                   std::uint32_t ambient = 0) {
        IDirect3DDevice9* device = m_window.Device();
        D3DMATRIX view, projection;
        Mat4LookAt(view, eye, target, up);
        Mat4Perspective(projection, static_cast<float>(M_PI / 4), float(kWidth) / kHeight, 1.0f, 100.0f);
        m_wrapper.SetDefaultRenderStates(true);
        m_wrapper.SetViewTransform(view);
        m_wrapper.SetProjectionTransform(projection);
        m_wrapper.SetWorldTransform(Mat4Identity());
        device->SetRenderState(D3DRS_AMBIENT, ambient);
        device->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0xFF000000u, 1.0f, 0);
        device->BeginScene();
        node.Draw(&m_wrapper, false, 0.0);
        device->EndScene();
        device->SetStreamSource(0, nullptr, 0, 0);
        device->SetIndices(nullptr);
        device->SetTexture(0, nullptr);
        return ReadBack();
    }

    std::shared_ptr<CModelNode> AutoTile(const std::string& keyword, std::deque<std::int32_t> numbers,
                                         std::uint32_t flags) {
        CSubModelInfo info;
        info.isAuto = true;
        info.kind = DRAVCommon::DFK_TILE;
        info.name = keyword;
        info.autoParams = std::move(numbers);
        info.textures = {{"atlas.png", 0, 1.0}};
        return LoadModel(&m_wrapper, m_source, info, info.textures, nullptr, flags, nullptr, false, 0.0, 0.0);
    }

    DRAVCommon::CDataFileFactoryMemory m_source;
};

TEST_F(ModelPixelTest, FloorSeenFromAboveShowsItsAtlasCell) {
    auto floor = AutoTile("auto-floor", {1, 4, 2, 4, 3}, SUBMODEL_FLAT);
    const float eye[3] = {0, 6, 0}, target[3] = {0, 0, 0}, up[3] = {0, 0, -1};
    const Frame frame = DrawFrom(*floor, eye, target, up);
    EXPECT_TRUE(NearColour(frame.Rgb(kWidth / 2, kHeight / 2), CellColour(2, 3)));
    EXPECT_EQ(frame.Rgb(2, 2), 0u);  // one cell wide: the corners of the view stay clear
}

TEST_F(ModelPixelTest, WallSeenFromTheFrontShowsItsColumnCountedFromTheRight) {
    // Column 1 of 4 reads unmirrored from +z; from -z the face shows column 2.
    auto wall = AutoTile("auto-wall", {1, 4, 1}, SUBMODEL_FLAT);
    const float front[3] = {0, 4.5f, -20}, back[3] = {0, 4.5f, 20}, target[3] = {0, 4.5f, 0}, up[3] = {0, 1, 0};
    const std::uint32_t fromFront = DrawFrom(*wall, front, target, up).Rgb(kWidth / 2, kHeight / 2);
    const std::uint32_t fromBack = DrawFrom(*wall, back, target, up).Rgb(kWidth / 2, kHeight / 2);
    // v = 0.55 at that height: row 2 of the atlas.
    EXPECT_TRUE(NearColour(fromFront, CellColour(2, 2)));
    EXPECT_TRUE(NearColour(fromBack, CellColour(1, 2)));
}

TEST_F(ModelPixelTest, FlatModelIgnoresTheLightingThatDarkensOthers) {
    // No lights and a dim ambient: a lit model takes a quarter of its texture's colour,
    // a "flat" one all of it.
    const float eye[3] = {0, 6, 0}, target[3] = {0, 0, 0}, up[3] = {0, 0, -1};
    const std::uint32_t dim = 0xFF404040u;
    const Frame lit = DrawFrom(*AutoTile("auto-floor", {1, 4, 0, 4, 0}, 0), eye, target, up, dim);
    const Frame flat = DrawFrom(*AutoTile("auto-floor", {1, 4, 0, 4, 0}, SUBMODEL_FLAT), eye, target, up, dim);
    EXPECT_TRUE(NearColour(lit.Rgb(kWidth / 2, kHeight / 2), 0x0A0A20u, 3));
    EXPECT_TRUE(NearColour(flat.Rgb(kWidth / 2, kHeight / 2), CellColour(0, 0)));
    EXPECT_EQ(m_window.Device()->RenderState(D3DRS_LIGHTING), 1u);
}

}  // namespace
