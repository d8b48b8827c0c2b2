// The model writer of the sample assets: solids face outwards and the text it writes
// reads back through the model importer as it was built.

#include <gtest/gtest.h>

#include "graphics/model_import.h"
#include "sample_assets/x_model.h"

namespace {

using namespace QuillmereTools;

DRAVCommon::ByteVector Bytes(const std::string& text) { return DRAVCommon::ByteVector(text.begin(), text.end()); }

// Every triangle's normal points away from `centre`, which lies inside the solid.
void ExpectOutward(const DRAVGraph::SceneGeometry& geometry, V3 centre) {
    for (std::size_t i = 0; i < geometry.indices.size(); i += 3) {
        const auto& a = geometry.vertices[geometry.indices[i]];
        const auto& b = geometry.vertices[geometry.indices[i + 1]];
        const auto& c = geometry.vertices[geometry.indices[i + 2]];
        const float ux = b.x - a.x, uy = b.y - a.y, uz = b.z - a.z;
        const float vx = c.x - a.x, vy = c.y - a.y, vz = c.z - a.z;
        const float nx = uy * vz - uz * vy, ny = uz * vx - ux * vz, nz = ux * vy - uy * vx;
        const float cx = (a.x + b.x + c.x) / 3 - centre.x, cy = (a.y + b.y + c.y) / 3 - centre.y,
                    cz = (a.z + b.z + c.z) / 3 - centre.z;
        EXPECT_GT(nx * cx + ny * cy + nz * cz, 0.0f) << "triangle " << i / 3 << " winds inwards";
        EXPECT_GT(nx * a.nx + ny * a.ny + nz * a.nz, 0.0f) << "triangle " << i / 3 << " against its normal";
    }
}

TEST(XModel, SolidsWindOutwardsAndReadBackPartByPart) {
    XModel model;
    const int box = model.AddPart("Box", 0xFF0000, "box.png", 0.5f);
    const int prism = model.AddPart("Prism", 0x00FF00);
    const int cone = model.AddPart("Cone", 0x0000FF, "", 1.0f, 0x102030);
    model.AddBox(box, {-1, 0, -2}, {1, 1, 2});
    model.AddPrism(prism, {10, 0, 0}, 1.0f, 0.5f, 2.0f, 7);
    model.AddPrism(cone, {-10, 0, 0}, 1.0f, 0, 2.0f, 5);
    const auto geometry = DRAVGraph::ImportDirectXModel(Bytes(model.ToText()), "written.x");

    ASSERT_EQ(geometry.parts.size(), 3u);
    // Every face keeps its own corners: 6 quads; 7 sides and two 7-gons; 5 sides and a 5-gon.
    EXPECT_EQ(geometry.parts[0].vertexCount, 24u);
    EXPECT_EQ(geometry.parts[0].triangleCount, 12u);
    EXPECT_EQ(geometry.parts[1].vertexCount, 7u * 4 + 2 * 7);
    EXPECT_EQ(geometry.parts[1].triangleCount, 7u * 2 + 2 * 5);
    EXPECT_EQ(geometry.parts[2].triangleCount, 5u + 3);
    EXPECT_TRUE(geometry.parts[0].textured);
    EXPECT_FALSE(geometry.parts[1].textured);
    EXPECT_FLOAT_EQ(geometry.parts[0].material.Diffuse.a, 0.5f);
    EXPECT_NEAR(geometry.parts[2].material.Emissive.b, 0x30 / 255.0f, 1e-4f);

    const auto part = [&](int k, V3 centre) {
        DRAVGraph::SceneGeometry one;
        one.vertices = geometry.vertices;
        const auto& p = geometry.parts[k];
        std::uint32_t first = 0;
        for (int j = 0; j < k; ++j) first += geometry.parts[j].triangleCount;
        one.indices.assign(geometry.indices.begin() + 3 * first,
                           geometry.indices.begin() + 3 * (first + p.triangleCount));
        SCOPED_TRACE(k);
        ExpectOutward(one, centre);
    };
    part(0, {0, 0.5f, 0});
    part(1, {10, 1, 0});
    part(2, {-10, 0.5f, 0});
}

}  // namespace
