// Procedural tile meshes: every keyword's lists hang together and face the right way,
// bad keywords and counts are refused, and the atlas and orientation come out as drawn.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <deque>
#include <string>
#include <vector>

#include "graphics/autotile/auto_tile.h"
#include "support/error_code.h"

using namespace DRAVGraph;
using QuillmereTest::ErrorCodeOf;

namespace {

CSubModelInfo AutoEntry(const std::string& keyword, std::deque<std::int32_t> numbers) {
    CSubModelInfo info;
    info.isAuto = true;
    info.name = keyword;
    info.autoParams = std::move(numbers);
    return info;
}

AutoTileGeometry Build(const std::string& keyword, std::deque<std::int32_t> numbers) {
    return BuildAutoTileGeometry(AutoEntry(keyword, std::move(numbers)));
}

struct Vec {
    float x, y, z;
};
Vec Position(const LitVertex& v) { return {v.x, v.y, v.z}; }
Vec Sub(Vec a, Vec b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }
Vec Cross(Vec a, Vec b) { return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x}; }
float Dot(Vec a, Vec b) { return a.x * b.x + a.y * b.y + a.z * b.z; }

// (b - a) x (c - a) of triangle t: the side the triangle is seen from.
Vec FaceDirection(const AutoTileGeometry& g, std::size_t t) {
    const Vec a = Position(g.vertices[g.indices[3 * t]]);
    return Cross(Sub(Position(g.vertices[g.indices[3 * t + 1]]), a),
                 Sub(Position(g.vertices[g.indices[3 * t + 2]]), a));
}

// Vertices of the part whose stored normal is n.
std::vector<LitVertex> FaceWithNormal(const AutoTileGeometry& g, Vec n) {
    std::vector<LitVertex> face;
    for (const LitVertex& v : g.vertices)
        if (v.nx == n.x && v.ny == n.y && v.nz == n.z) face.push_back(v);
    return face;
}

// Valid numbers for every keyword, chosen so that no face is degenerate.
const std::vector<std::pair<std::string, std::deque<std::int32_t>>> SAMPLES = {
    {"auto-floor", {2, 4, 1, 4, 3}},
    {"auto-wall", {2, 4, 1}},
    {"auto-twosidewall", {1, 2, 0}},
    {"auto-pillar", {1, 6}},
    {"auto-pillarrepeat", {1}},
    {"auto-pillarwrap", {2, 15}},
    {"auto-post", {1, 4}},
    {"auto-decal", {3, 2}},
    {"auto-sphere", {2}},
    {"auto-down-edge", {4, 1, 4, 2, 5}},
    {"auto-down-edge2", {4, 1, 4, 2, 5}},
    {"auto-void-edge", {4, 1, 3}},
    {"auto-void-corner", {3}},
    {"auto-slope-down", {4, 2, 1}},
    {"auto-slope-down-inner", {2}},
    {"auto-slope-down-outer", {2}},
    {"auto-mural", {2, 4, 3}},
};

}  // namespace

TEST(AutoTile, EveryKeywordBuildsPartsThatCoverTheListsAndFaceTheirNormals) {
    ASSERT_EQ(SAMPLES.size(), 17u);
    for (const auto& [keyword, numbers] : SAMPLES) {
        SCOPED_TRACE(keyword);
        const AutoTileGeometry g = Build(keyword, numbers);
        ASSERT_FALSE(g.parts.empty());

        std::uint32_t vertexSum = 0, triangleSum = 0;
        bool capSeen = false;
        for (const AutoTilePart& part : g.parts) {
            EXPECT_EQ(part.firstVertex, vertexSum);
            EXPECT_EQ(part.firstTriangle, triangleSum);
            EXPECT_GT(part.triangleCount, 0u);
            // Untextured caps come after every textured part, so texture entry i is part i.
            EXPECT_FALSE(capSeen && part.textured);
            capSeen = capSeen || !part.textured;
            const AutoTileMaterial& m = part.material;
            const float shade = part.textured ? 1.0f : 0.0f;
            EXPECT_TRUE(m.Diffuse.r == shade && m.Diffuse.g == shade && m.Diffuse.b == shade &&
                        m.Diffuse.a == 1.0f);
            EXPECT_TRUE(m.Ambient.r == m.Diffuse.r && m.Ambient.a == 1.0f);
            EXPECT_TRUE(m.Specular.r == 0 && m.Specular.a == 0 && m.Emissive.g == 0 &&
                        m.Emissive.a == 0 && m.Power == 0);
            for (std::size_t i = 3 * part.firstTriangle;
                 i < 3 * (part.firstTriangle + part.triangleCount); ++i) {
                EXPECT_GE(g.indices[i], part.firstVertex);
                EXPECT_LT(g.indices[i], part.firstVertex + part.vertexCount);
            }
            vertexSum += part.vertexCount;
            triangleSum += part.triangleCount;
        }
        EXPECT_EQ(vertexSum, g.vertices.size());
        EXPECT_EQ(3 * triangleSum, g.indices.size());

        for (const LitVertex& v : g.vertices) {
            EXPECT_NEAR(std::sqrt(v.nx * v.nx + v.ny * v.ny + v.nz * v.nz), 1.0f, 1e-6f);
            EXPECT_TRUE(std::isfinite(v.u) && std::isfinite(v.v));
        }

        for (std::size_t t = 0; t < triangleSum; ++t) {
            const Vec face = FaceDirection(g, t);
            const LitVertex* corner[3];
            int atPole = 0;
            for (int k = 0; k < 3; ++k) {
                corner[k] = &g.vertices[g.indices[3 * t + k]];
                if (keyword == "auto-sphere" && std::fabs(corner[k]->y) > 0.9999f) ++atPole;
            }
            // The sphere's triangles with two corners at one pole have next to no area.
            if (atPole >= 2) continue;
            for (const LitVertex* v : corner) {
                const float facing = Dot(face, {v->nx, v->ny, v->nz});
                if (keyword == "auto-mural") {
                    // Lit like a floor: the stored normal points up while the face looks to -z.
                    EXPECT_FLOAT_EQ(facing, 0.0f);
                    EXPECT_LT(face.z, 0.0f);
                } else {
                    EXPECT_GT(facing, 0.0f) << "triangle " << t;
                }
            }
        }
    }
}

TEST(AutoTile, CountsOfNumbersOutsideAKeywordsRangeAreRefused) {
    const std::vector<std::pair<std::string, std::vector<std::size_t>>> refused = {
        {"auto-floor", {0, 4, 6}},        {"auto-wall", {0, 2}},
        {"auto-twosidewall", {2}},        {"auto-pillar", {0}},
        {"auto-pillarrepeat", {0}},       {"auto-pillarwrap", {0}},
        {"auto-post", {0}},               {"auto-decal", {1, 3}},
        {"auto-down-edge", {4, 6}},       {"auto-down-edge2", {4, 6}},
        {"auto-void-edge", {2, 4}},       {"auto-void-corner", {0, 2}},
        {"auto-slope-down", {2, 4}},      {"auto-slope-down-inner", {0, 2}},
        {"auto-slope-down-outer", {0, 2}}, {"auto-mural", {2, 4}},
    };
    for (const auto& [keyword, counts] : refused) {
        for (std::size_t count : counts) {
            SCOPED_TRACE(keyword + " with " + std::to_string(count) + " numbers");
            const std::deque<std::int32_t> numbers(count, 1);
            EXPECT_EQ(ErrorCodeOf([&] { Build(keyword, numbers); }), DRAV_ERR_BAD_DATA);
        }
    }
    // Where more numbers are taken, the extra ones change nothing.
    const AutoTileGeometry wall = Build("auto-wall", {2, 4, 1});
    const AutoTileGeometry longer = Build("auto-wall", {2, 4, 1, 9});
    ASSERT_EQ(longer.vertices.size(), wall.vertices.size());
    EXPECT_EQ(longer.vertices.back().x, wall.vertices.back().x);
    EXPECT_EQ(longer.vertices[0].u, wall.vertices[0].u);
    EXPECT_EQ(Build("auto-sphere", {}).vertices.size(), Build("auto-sphere", {0, 5, 5}).vertices.size());
}

TEST(AutoTile, KeywordsMatchOnlyExactly) {
    for (const char* keyword : {"", "Auto-floor", "AUTO-WALL", "auto-floor ", " auto-floor",
                                "auto-floor\t", "auto-floors", "auto-flor", "auto-pillar-wrap"}) {
        SCOPED_TRACE(keyword);
        EXPECT_EQ(ErrorCodeOf([&] { Build(keyword, {1, 4, 2, 4, 3}); }), DRAV_ERR_BAD_DATA);
    }
}

TEST(AutoTile, ZeroAtlasCountsAndSpheresBeyondSixteenBitIndicesAreRefused) {
    EXPECT_EQ(ErrorCodeOf([] { Build("auto-floor", {1, 0, 0, 4, 1}); }), DRAV_ERR_BAD_DATA);
    EXPECT_EQ(ErrorCodeOf([] { Build("auto-down-edge", {4, 1, 0, 0, 2}); }), DRAV_ERR_BAD_DATA);
    EXPECT_EQ(ErrorCodeOf([] { Build("auto-wall", {1, 0, 0}); }), DRAV_ERR_BAD_DATA);

    // 22 is the finest sphere whose vertices 16-bit indices still reach.
    const AutoTileGeometry finest = Build("auto-sphere", {22});
    EXPECT_EQ(finest.vertices.size(), 128u * 22 * 22);
    EXPECT_EQ(*std::max_element(finest.indices.begin(), finest.indices.end()),
              finest.vertices.size() - 1);
    for (std::int32_t n : {23, -1, 0x7FFFFFFF, -0x7FFFFFFF - 1}) {
        SCOPED_TRACE(n);
        EXPECT_EQ(ErrorCodeOf([&] { Build("auto-sphere", {n}); }), DRAV_ERR_BAD_DATA);
    }
}

TEST(AutoTile, FloorShowsItsAtlasTileUprightFromAbove) {
    const AutoTileGeometry g = Build("auto-floor", {1, 4, 2, 4, 3});
    ASSERT_EQ(g.vertices.size(), 4u);
    for (const LitVertex& v : g.vertices) {
        EXPECT_EQ(std::fabs(v.x), 1.25f);
        EXPECT_EQ(std::fabs(v.z), 1.25f);
        // Seen from above with -z at the top, u grows to the right and v downwards.
        EXPECT_EQ(v.u, v.x < 0 ? 0.5f : 0.75f);
        EXPECT_EQ(v.v, v.z < 0 ? 0.75f : 1.0f);
    }
    // A floor of two cells stretches the one tile over 5 by 5 units.
    const AutoTileGeometry big = Build("auto-floor", {2, 4, 2, 4, 3});
    EXPECT_EQ(big.vertices[2].x, 2.5f);
    EXPECT_EQ(big.vertices[2].u, 0.75f);
}

TEST(AutoTile, WallFrontShowsTheMirroredColumnUnmirroredFromMinusZ) {
    const AutoTileGeometry g = Build("auto-wall", {2, 4, 1});
    // One texture for both faces and a black top.
    ASSERT_EQ(g.parts.size(), 2u);
    EXPECT_EQ(g.parts[0].vertexCount, 8u);
    EXPECT_FALSE(g.parts[1].textured);

    // Seen from -z the viewer's left is +x; the front holds column 1 counted from the
    // right of the image, u growing left to right.
    for (const LitVertex& v : FaceWithNormal(g, {0, 0, -1})) {
        EXPECT_EQ(std::fabs(v.x), 2.5f);
        EXPECT_EQ(v.u, v.x > 0 ? 0.5f : 0.75f);
        EXPECT_EQ(v.v, v.y == 10.0f ? 0.0f : 1.0f);
    }
    // Seen from +z the viewer's left is -x.
    for (const LitVertex& v : FaceWithNormal(g, {0, 0, 1}))
        EXPECT_EQ(v.u, v.x < 0 ? 0.25f : 0.5f);

    const AutoTileGeometry two = Build("auto-twosidewall", {2, 4, 1});
    ASSERT_EQ(two.parts.size(), 3u);
    EXPECT_TRUE(two.parts[0].textured && two.parts[1].textured && !two.parts[2].textured);
}

TEST(AutoTile, PillarVariantsSplitTheirPartsAndAnchorTheImageAtTheGround) {
    auto partShape = [](const AutoTileGeometry& g) {
        std::vector<std::pair<std::uint32_t, bool>> shape;
        for (const AutoTilePart& p : g.parts) shape.emplace_back(p.vertexCount, p.textured);
        return shape;
    };
    using Shape = std::vector<std::pair<std::uint32_t, bool>>;
    EXPECT_EQ(partShape(Build("auto-pillar", {1})),
              (Shape{{4, true}, {4, true}, {4, true}, {4, true}, {4, false}}));
    EXPECT_EQ(partShape(Build("auto-pillarrepeat", {1})), (Shape{{16, true}, {4, false}}));
    EXPECT_EQ(partShape(Build("auto-pillarwrap", {1})), (Shape{{16, true}, {4, false}}));
    EXPECT_EQ(partShape(Build("auto-post", {1})), (Shape{{16, true}, {4, true}}));

    // A 4-high pillar shows the lower 0.4 of the image; the full height by default.
    const AutoTileGeometry low = Build("auto-pillar", {1, 4});
    EXPECT_EQ(low.vertices[1].y, 4.0f);
    EXPECT_FLOAT_EQ(low.vertices[1].v, 0.6f);
    EXPECT_EQ(low.vertices.back().y, 4.0f);  // the top sits on the prism
    EXPECT_EQ(Build("auto-pillar", {1}).vertices[1].v, 0.0f);

    // Wrapped, the image goes once around and meets itself at the corner (-w, -w).
    const AutoTileGeometry wrap = Build("auto-pillarwrap", {1});
    EXPECT_EQ(wrap.vertices[0].u, 1.0f);
    EXPECT_EQ(wrap.vertices[15].u, 0.0f);
    EXPECT_EQ(wrap.vertices[15].x, wrap.vertices[0].x);
    EXPECT_EQ(wrap.vertices[15].z, wrap.vertices[0].z);
    for (int side = 0; side < 3; ++side)  // consecutive sides meet at the same u
        EXPECT_EQ(wrap.vertices[4 * side + 3].u, wrap.vertices[4 * side + 4].u);
}

TEST(AutoTile, DownEdgeHangsItsAtlasColumnFromTheChosenEdge) {
    for (bool plusZ : {false, true}) {
        SCOPED_TRACE(plusZ);
        const AutoTileGeometry g = Build(plusZ ? "auto-down-edge2" : "auto-down-edge", {4, 1, 4, 2, 5});
        ASSERT_EQ(g.parts.size(), 2u);
        EXPECT_EQ(g.vertices[0].v, 0.5f);
        EXPECT_EQ(g.vertices[2].v, 0.75f);
        const float edgeZ = plusZ ? 1.25f : -1.25f;
        for (std::uint32_t i = 4; i < 8; ++i) {
            const LitVertex& v = g.vertices[i];
            EXPECT_EQ(v.z, edgeZ);
            EXPECT_EQ(v.nz, plusZ ? 1.0f : -1.0f);
            EXPECT_TRUE(v.y == 0.0f || v.y == -5.0f);
            EXPECT_EQ(v.v, v.y == 0.0f ? 0.0f : 1.0f);
            EXPECT_TRUE(v.u == 0.25f || v.u == 0.5f);
            // The -z drop face continues the top's tile across their common edge.
            if (!plusZ) {
                EXPECT_EQ(v.u, v.x < 0 ? g.vertices[0].u : g.vertices[1].u);
            }
        }
    }
}

TEST(AutoTile, PitCornerAndSlopesMeetAlongTheirSharedEdges) {
    const AutoTileGeometry corner = Build("auto-void-corner", {3});
    int atCorner = 0;
    for (const LitVertex& v : corner.vertices)
        if (v.x == -1.25f && v.z == 1.25f) {
            ++atCorner;
            EXPECT_EQ(v.u, 0.5f);
        }
    EXPECT_EQ(atCorner, 4);

    const LitVertex steep = Build("auto-slope-down", {1, 0, 1}).vertices[0];
    EXPECT_FLOAT_EQ(steep.ny, 0.70710677f);
    EXPECT_FLOAT_EQ(steep.nz, -0.70710677f);
    const LitVertex flat = Build("auto-slope-down", {1, 0, 0}).vertices[2];
    EXPECT_EQ(flat.y, 0.0f);
    EXPECT_EQ(flat.ny, 1.0f);

    // Inner and outer corners cut the cell along the same diagonal.
    for (const char* keyword : {"auto-slope-down-inner", "auto-slope-down-outer"}) {
        const AutoTileGeometry g = Build(keyword, {2});
        int onDiagonal = 0;
        for (const LitVertex& v : g.vertices)
            if ((v.x == -1.25f && v.y == 0.0f && v.z == 1.25f) ||
                (v.x == 1.25f && v.y == -2.0f && v.z == -1.25f))
                ++onDiagonal;
        EXPECT_EQ(onDiagonal, 4) << keyword;
    }
}

TEST(AutoTile, SphereRingsAndMuralPlacement) {
    const AutoTileGeometry sphere = Build("auto-sphere", {});
    EXPECT_EQ(sphere.vertices.size(), 128u);
    EXPECT_EQ(sphere.indices.size(), 192u);
    EXPECT_EQ(Build("auto-sphere", {2}).vertices.size(), 512u);
    // v runs from the bottom pole up; the seam's last segment ends at u = 1.
    EXPECT_EQ(sphere.vertices[0].v, 0.0f);
    EXPECT_EQ(sphere.vertices[0].y, -1.0f);
    EXPECT_EQ(sphere.vertices[4 * 7 + 1].u, 1.0f);

    const AutoTileGeometry mural = Build("auto-mural", {2, 4, 3});
    for (const LitVertex& v : mural.vertices) {
        EXPECT_EQ(std::fabs(v.x), 2.0f);
        EXPECT_TRUE(v.y == 2.0f || v.y == 5.0f);
        EXPECT_EQ(v.z, -0.05f);
        // Seen from -z the image is upright: u = 0 at the viewer's left (+x), v = 0 on top.
        EXPECT_EQ(v.u, v.x > 0 ? 0.0f : 1.0f);
        EXPECT_EQ(v.v, v.y == 5.0f ? 0.0f : 1.0f);
    }
}
