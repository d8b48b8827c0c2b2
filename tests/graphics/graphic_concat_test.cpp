// Merged static scenery on the recording device: placements gather in groups of
// 1000, merged meshes never pass what 16-bit indices reach, only static graphics
// merge, and see-through parts of a merged graphic are drawn.

#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "common/data_file_memory.h"
#include "graphics/graphic.h"
#include "graphics/matrix.h"
#include "graphics/model_node.h"
#include "graphics/scene/graphic_concat.h"
#include "platform/d3d9/recording_device.h"
#include "support/expect_drav.h"

namespace {

using namespace DRAVGraph;
using DRAVCommon::DFK_TILE;

// A model of `quads` separate squares side by side along x: 4 vertices and 2
// triangles each.
std::string QuadStrip(int quads) {
    std::ostringstream x;
    x << "xof 0303txt 0032\nMaterial Plain { 0.5;0.5;0.5;1.0;; 0.0; 0.0;0.0;0.0;; 0.0;0.0;0.0;; }\n";
    x << "Mesh Strip {\n " << 4 * quads << ";\n";
    for (int q = 0; q < quads; ++q)
        for (auto [dx, dz] : {std::pair{0, 0}, {0, 1}, {1, 1}, {1, 0}})
            x << " " << q + dx << ".0;0.0;" << dz << ".0;" << (q + 1 == quads && dx == 1 && dz == 0 ? ";\n" : ",\n");
    x << " " << 2 * quads << ";\n";
    for (int q = 0; q < quads; ++q) {
        const int b = 4 * q;
        x << " 3;" << b << "," << b + 1 << "," << b + 2 << ";,\n 3;" << b << "," << b + 2 << "," << b + 3 << ";"
          << (q + 1 == quads ? ";\n" : ",\n");
    }
    x << " MeshMaterialList { 1; " << 2 * quads << ";";
    for (int f = 0; f < 2 * quads; ++f) x << " 0" << (f + 1 == 2 * quads ? ";" : ",");
    x << " { Plain } }\n MeshNormals { 1; 0.0;1.0;0.0;; " << 2 * quads << ";";
    for (int f = 0; f < 2 * quads; ++f) x << " 3;0,0,0;" << (f + 1 == 2 * quads ? ";" : ",");
    x << " }\n MeshTextureCoords { " << 4 * quads << ";";
    for (int v = 0; v < 4 * quads; ++v) x << " 0.0;0.0;" << (v + 1 == 4 * quads ? ";" : ",");
    x << " }\n}\n";
    return x.str();
}

D3DMATRIX At(float x, float z) {
    D3DMATRIX m = Mat4Identity();
    m._41 = x;
    m._43 = z;
    return m;
}

class GraphicConcatTest : public ::testing::Test {
protected:
    GraphicConcatTest() : m_device(D3D9Layer::CRecordingDevice::Create(640, 480)), m_xp(m_device.get()) {
        const std::string strip = QuadStrip(17);
        m_source.Add(DFK_TILE, DRAVCommon::DFS_MOD, "strip.x", {strip.begin(), strip.end()});
    }

    std::shared_ptr<CGraphic> Tile(const std::string& name, const std::string& body) {
        const std::string text = "<graphic> " + name + " 0\n" + body + "\n</graphic>";
        m_source.Add(DFK_TILE, DRAVCommon::DFS_NONE, name + ".drav", {text.begin(), text.end()});
        std::vector<std::shared_ptr<CGraphic>> cells;
        LoadTileGraphics({&m_xp, &m_source, nullptr}, name, cells);
        return cells.at(0);
    }
    std::shared_ptr<CGraphic> Floor(const std::string& flags = "") {
        return Tile("floor", "<model> anchor <auto> auto-floor 1 1 0 1 0 </auto> <texcolor> ( 90 120 60 ) 1.0 "
                             "</texcolor> " + flags + " </model>");
    }
    // Draws the group; the draws it made.
    const std::vector<D3D9Layer::DrawRecord>& Draw(const CGraphicConcat& group) {
        m_device->ClearRecord();
        const D3DMATRIX identity = Mat4Identity();
        SceneRenderContext context{&m_xp, nullptr, &identity, nullptr};
        m_device->BeginScene();
        group.Render(context, "default", 0.0);
        m_device->EndScene();
        return m_device->Draws();
    }

    D3DPtr<D3D9Layer::CRecordingDevice> m_device;
    DRAVCommon::CXPDevice m_xp;
    DRAVCommon::CDataFileFactoryMemory m_source;
};

TEST_F(GraphicConcatTest, PlacementsGatherInGroupsOfAThousandNewestFirstAndBuildInListOrder) {
    CGraphicConcat group(Floor());
    for (int i = 0; i < 2500; ++i) group.AddPlacement(At(static_cast<float>(i % 50), static_cast<float>(i / 50)));
    std::vector<std::size_t> sizes;
    for (const auto& placements : group.GetGroups()) sizes.push_back(placements.size());
    EXPECT_EQ(sizes, (std::vector<std::size_t>{500, 1000, 1000}));

    group.Build(&m_xp);
    EXPECT_TRUE(group.GetGroups().empty());
    ASSERT_EQ(group.GetMergedModels().size(), 3u);
    const std::size_t perCopy = 4;  // one floor quad
    EXPECT_EQ(group.GetMergedModels()[0]->GetMesh()->GetVertexCount(), 500 * perCopy);
    EXPECT_EQ(group.GetMergedModels()[1]->GetMesh()->GetVertexCount(), 1000 * perCopy);
    // One draw per part of each merged mesh: three for the whole floor.
    EXPECT_EQ(Draw(group).size(), 3u);

    // A second build without new placements adds nothing.
    group.Build(&m_xp);
    EXPECT_EQ(group.GetMergedModels().size(), 3u);
}

TEST_F(GraphicConcatTest, AHundredVertexModelUnderAThousandPlacementsSplitsBelowSixteenBitIndices) {
    auto graphic = Tile("strip", R"(<model> anchor "strip.x" </model>)");
    // The importer gives each triangle its own corners: 34 triangles, 102 vertices.
    const std::size_t perCopy = graphic->GetTree()->GetModels()[0]->GetMesh()->GetVertexCount();
    ASSERT_EQ(perCopy, 102u);
    CGraphicConcat group(graphic);
    for (int i = 0; i < 1000; ++i) group.AddPlacement(At(0.0f, static_cast<float>(i)));
    group.Build(&m_xp);
    std::vector<std::size_t> copies;
    for (const auto& merged : group.GetMergedModels()) copies.push_back(merged->GetMesh()->GetVertexCount() / perCopy);
    EXPECT_EQ(copies, (std::vector<std::size_t>{642, 358}));  // 642 x 102 = 65484 vertices

    UINT triangles = 0;
    for (const auto& draw : Draw(group)) {
        triangles += draw.primitiveCount;
        const std::size_t vertices = draw.vertices.size() / sizeof(LitVertex);
        for (std::uint16_t index : draw.indices) ASSERT_LT(index, vertices) << "an index past its mesh";
    }
    EXPECT_EQ(triangles, 1000u * 34u);
}

TEST_F(GraphicConcatTest, OnlyStaticGraphicsMerge) {
    struct Case {
        const char* what;
        std::string body;
    };
    const std::string model = "<model> anchor <auto> auto-floor 1 1 0 1 0 </auto> <texcolor> ( 9 9 9 ) 1.0 </texcolor> </model>";
    const Case cases[] = {
        {"a light", model + " <light> 3.0 ( 255 200 100 ) </light>"},
        {"a fixed effect", model + " <effect> <emitter> 0 ( 0 1 ) 1 1 ( 0 0 ) 0 ( 1 1 ) ( 1 0 ) point </emitter> </effect>"},
        {"movevaried", "movevaried " + model},
        {"a flip-book of two models on a piece",
         "<modelanimation> anchor 2.0 0 <model> <auto> auto-floor 1 1 0 1 0 </auto> <texcolor> 1 1.0 </texcolor> "
         "</model> 0.5 <model> <auto> auto-floor 1 1 0 1 0 </auto> <texcolor> 2 1.0 </texcolor> </model> "
         "</modelanimation>"},
    };
    int n = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        auto graphic = Tile("odd" + std::to_string(n++), c.body);
        EXPECT_FALSE(IsStaticGraphic(*graphic));
        CGraphicConcat group(graphic);
        group.AddPlacement(Mat4Identity());
        EXPECT_DRAV_CODE(group.Build(&m_xp), DRAV_ERR_OUT_OF_RANGE);
    }
    EXPECT_TRUE(IsStaticGraphic(*Floor()));
}

TEST_F(GraphicConcatTest, SeeThroughModelsOfAMergedGraphicAreDrawnAfterTheOpaqueOnes) {
    CGraphicConcat group(Tile("pool", R"(<model> anchor <auto> auto-floor 1 1 0 1 0 </auto> <texcolor> ( 9 9 9 ) 0.5 </texcolor> transparent </model>)"));
    for (int i = 0; i < 10; ++i) group.AddPlacement(At(static_cast<float>(i), 0.0f));
    group.Build(&m_xp);
    const auto& draws = Draw(group);
    ASSERT_EQ(draws.size(), 1u);
    EXPECT_EQ(draws[0].primitiveCount, 20u);
}

TEST(ConcatMap, OneGroupPerSharedGraphic) {
    ConcatMap map;
    auto a = std::shared_ptr<CGraphic>(std::shared_ptr<int>(new int(1)), reinterpret_cast<CGraphic*>(0x10));
    auto b = std::shared_ptr<CGraphic>(std::shared_ptr<int>(new int(2)), reinterpret_cast<CGraphic*>(0x20));
    EXPECT_EQ(GetOrCreateConcat(map, a), GetOrCreateConcat(map, a));
    EXPECT_NE(GetOrCreateConcat(map, a), GetOrCreateConcat(map, b));
    EXPECT_EQ(map.size(), 2u);
}

}  // namespace
