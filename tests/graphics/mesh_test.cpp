// Meshes on the recording device: buffers and part numbering, the states of a part's
// draw, texture attachment with and without a shared list, and replication.

#include <gtest/gtest.h>

#include <cstring>

#include "common/data_file_memory.h"
#include "graphics/graphics_test_util.h"
#include "graphics/matrix.h"
#include "graphics/mesh.h"
#include "platform/d3d9/recording_device.h"
#include "support/expect_drav.h"

namespace {

using namespace DRAVGraph;
using D3D9Layer::CRecordingDevice;

// A unit quad in the x-y plane, facing +z, as two triangles.
void AppendQuad(std::vector<LitVertex>& vertices, std::vector<std::uint16_t>& indices, float z) {
    const auto base = static_cast<std::uint16_t>(vertices.size());
    vertices.push_back({0, 0, z, 0, 0, 1, 0, 1});
    vertices.push_back({1, 0, z, 0, 0, 1, 1, 1});
    vertices.push_back({1, 1, z, 0, 0, 1, 1, 0});
    vertices.push_back({0, 1, z, 0, 0, 1, 0, 0});
    for (std::uint16_t i : {0, 1, 2, 0, 2, 3}) indices.push_back(static_cast<std::uint16_t>(base + i));
}

MeshPart Part(std::uint32_t vertices, std::uint32_t triangles, bool textured) {
    MeshPart part;
    part.vertexCount = vertices;
    part.triangleCount = triangles;
    part.firstVertex = 99;  // overwritten by the mesh
    part.material = MakePartMaterial({0.5f, 0.25f, 1, 1});
    part.textured = textured;
    return part;
}

class MeshTest : public ::testing::Test {
protected:
    // Two quads: part 0 textured, part 1 not.
    std::shared_ptr<CMesh> TwoPartMesh(bool keepCopy) {
        std::vector<LitVertex> vertices;
        std::vector<std::uint16_t> indices;
        AppendQuad(vertices, indices, 0);
        AppendQuad(vertices, indices, 1);
        return std::make_shared<CMesh>(&m_xp, vertices, indices,
                                       std::vector<MeshPart>{Part(4, 2, true), Part(4, 2, false)}, keepCopy);
    }

    D3DPtr<CRecordingDevice> m_device = CRecordingDevice::Create(64, 64);
    DRAVCommon::CXPDevice m_xp{m_device.get()};
    DRAVCommon::CDataFileFactoryMemory m_source;
};

TEST_F(MeshTest, PartsAreNumberedAndDrawnEachWithItsOwnStates) {
    auto mesh = TwoPartMesh(false);
    ASSERT_EQ(mesh->GetParts().size(), 2u);
    EXPECT_EQ(mesh->GetParts()[1].firstVertex, 4u);
    EXPECT_EQ(mesh->GetParts()[1].firstTriangle, 2u);
    EXPECT_TRUE(mesh->GetKeptVertices().empty());
    EXPECT_EQ(m_device->LiveDefaultPoolObjects(), 2);

    std::vector<TextureEntry> entries{{"", 0x00FF00, 1.0}};
    mesh->LoadTextures(&m_xp, m_source, DRAVCommon::DFK_TILE, entries, nullptr, 0, nullptr);
    ASSERT_TRUE(mesh->GetParts()[0].texture);
    EXPECT_FALSE(mesh->GetParts()[1].texture);

    m_device->BeginScene();
    mesh->Draw(&m_xp);
    m_device->EndScene();
    const auto& draws = m_device->Draws();
    ASSERT_EQ(draws.size(), 2u);
    EXPECT_EQ(draws[0].fvf, LIT_VERTEX_FVF);
    EXPECT_EQ(draws[0].stride, 32u);
    EXPECT_EQ(draws[0].textureSerial, CRecordingDevice::SerialOf(mesh->GetParts()[0].texture->GetTexture()));
    EXPECT_EQ(draws[0].renderStates.at(D3DRS_ALPHABLENDENABLE), 1u);
    EXPECT_EQ(draws[1].textureSerial, 0u);
    EXPECT_EQ(draws[1].renderStates.at(D3DRS_ALPHABLENDENABLE), 0u);
    EXPECT_EQ(draws[1].startIndex, 6u);
    EXPECT_EQ(draws[1].minIndex, 4u);
    EXPECT_EQ(draws[1].indices, (std::vector<std::uint16_t>{4, 5, 6, 4, 6, 7}));

    // The device holds the bound buffers, as Direct3D does, until they are unbound.
    mesh.reset();
    m_device->SetStreamSource(0, nullptr, 0, 0);
    m_device->SetIndices(nullptr);
    EXPECT_EQ(m_device->LiveDefaultPoolObjects(), 0);
}

TEST_F(MeshTest, FailedDeviceCallsAreCodeFive) {
    std::vector<LitVertex> vertices;
    std::vector<std::uint16_t> indices;
    AppendQuad(vertices, indices, 0);
    m_device->FailCall("CreateIndexBuffer", D3DERR_OUTOFVIDEOMEMORY);
    EXPECT_DRAV_CODE(CMesh(&m_xp, vertices, indices, {Part(4, 2, false)}, false), DRAV_ERR_DEVICE);
    EXPECT_EQ(m_device->LiveDefaultPoolObjects(), 0);  // the vertex buffer made before is released

    auto mesh = TwoPartMesh(false);
    m_device->BeginScene();
    m_device->FailCall("DrawIndexedPrimitive", D3DERR_INVALIDCALL, 1);
    EXPECT_DRAV_CODE(mesh->Draw(&m_xp), DRAV_ERR_DEVICE);
    m_device->EndScene();
}

TEST_F(MeshTest, TooManyVerticesForSixteenBitIndicesIsRefused) {
    std::vector<LitVertex> vertices(MAX_MESH_VERTICES + 1);
    std::vector<std::uint16_t> indices{0, 1, 2};
    EXPECT_DRAV_CODE(CMesh(&m_xp, vertices, indices, {Part(MAX_MESH_VERTICES + 1, 1, false)}, false),
                     DRAV_ERR_BAD_DATA);
    vertices.pop_back();
    EXPECT_NO_THROW(CMesh(&m_xp, vertices, indices, {Part(MAX_MESH_VERTICES, 1, false)}, false));
}

TEST_F(MeshTest, SharedListIsFilledByTheFirstMeshAndReadByLaterOnes) {
    SharedTextureList shared;
    std::vector<TextureEntry> red{{"", 0xFF0000, 1.0}};
    auto first = TwoPartMesh(false);
    first->LoadTextures(&m_xp, m_source, DRAVCommon::DFK_TILE, red, nullptr, 0, &shared);
    ASSERT_EQ(shared.size(), 2u);  // the untextured part holds its place with an empty entry
    EXPECT_EQ(shared[0], first->GetParts()[0].texture);
    EXPECT_FALSE(shared[1]);

    // A later cell takes the list's textures and loads nothing, even without entries.
    auto second = TwoPartMesh(false);
    second->LoadTextures(&m_xp, m_source, DRAVCommon::DFK_TILE, {}, nullptr, 0, &shared);
    EXPECT_EQ(second->GetParts()[0].texture, shared[0]);
    EXPECT_EQ(shared.size(), 2u);

    // "nomultitexture" loads its own and still appends.
    auto own = TwoPartMesh(false);
    own->LoadTextures(&m_xp, m_source, DRAVCommon::DFK_TILE, red, nullptr, SUBMODEL_NOMULTITEXTURE, &shared);
    EXPECT_NE(own->GetParts()[0].texture, shared[0]);
    EXPECT_EQ(shared.size(), 4u);

    // A list of another length is appended to, not read; missing entries and files fail.
    auto third = TwoPartMesh(false);
    EXPECT_DRAV_CODE(third->LoadTextures(&m_xp, m_source, DRAVCommon::DFK_TILE, {}, nullptr, 0, &shared),
                     DRAV_ERR_BAD_DATA);
    std::vector<TextureEntry> missing{{"nowhere.png", 0, 1.0}};
    EXPECT_DRAV_CODE(third->LoadTextures(&m_xp, m_source, DRAVCommon::DFK_TILE, missing, nullptr, 0, nullptr),
                     DRAV_ERR_BAD_DATA);
}

TEST_F(MeshTest, ReplicatingPlacesEveryCopyOfAPartTogether) {
    auto mesh = TwoPartMesh(true);
    ASSERT_EQ(mesh->GetKeptVertices().size(), 8u);
    std::vector<TextureEntry> entries{{"", 0x0000FF, 1.0}};
    mesh->LoadTextures(&m_xp, m_source, DRAVCommon::DFK_TILE, entries, nullptr, 0, nullptr);

    D3DMATRIX model = Mat4Identity();
    model._11 = 2;  // doubles x, normals included
    std::vector<D3DMATRIX> placements(3, Mat4Identity());
    for (int k = 0; k < 3; ++k) placements[k]._41 = 10.0f * static_cast<float>(k);
    auto merged = mesh->Replicate(&m_xp, model, placements);

    ASSERT_EQ(merged->GetParts().size(), 2u);
    EXPECT_EQ(merged->GetVertexCount(), 24u);
    EXPECT_EQ(merged->GetParts()[0].vertexCount, 12u);
    EXPECT_EQ(merged->GetParts()[0].triangleCount, 6u);
    EXPECT_EQ(merged->GetParts()[1].firstVertex, 12u);
    EXPECT_EQ(merged->GetParts()[0].texture, mesh->GetParts()[0].texture);
    EXPECT_TRUE(merged->GetKeptVertices().empty());

    m_device->BeginScene();
    merged->Draw(&m_xp);
    m_device->EndScene();
    const auto& draws = m_device->Draws();
    ASSERT_EQ(draws.size(), 2u);
    // Part 0's copies: the second copy's indices are the source's + 4.
    EXPECT_EQ(std::vector<std::uint16_t>(draws[0].indices.begin() + 6, draws[0].indices.begin() + 12),
              (std::vector<std::uint16_t>{4, 5, 6, 4, 6, 7}));
    // Part 1 (source vertices 4..7) lands after all of part 0's copies: 12 + 4k.
    EXPECT_EQ(std::vector<std::uint16_t>(draws[1].indices.begin() + 12, draws[1].indices.end()),
              (std::vector<std::uint16_t>{20, 21, 22, 20, 22, 23}));
    std::vector<LitVertex> out(24);
    std::memcpy(out.data(), draws[0].vertices.data(), sizeof(LitVertex) * 24);
    EXPECT_FLOAT_EQ(out[5].x, 2.0f + 10.0f);  // source vertex 1 (x = 1) in the second copy
    EXPECT_FLOAT_EQ(out[21].z, 1.0f);         // part 1 keeps its z
    EXPECT_FLOAT_EQ(out[21].x, 2.0f + 20.0f);

    EXPECT_DRAV_CODE(merged->Replicate(&m_xp, model, placements), DRAV_ERR_DEVICE);  // nothing kept
}

TEST_F(MeshTest, ColouredMeshDrawsWithItsOwnLayout) {
    std::vector<ColouredVertex> vertices{{0, 0, 0, 0xFF112233u, 0, 0}, {1, 0, 0, 0xFF112233u, 1, 0},
                                         {0, 1, 0, 0xFF112233u, 0, 1}};
    CMesh mesh(&m_xp, vertices, {0, 1, 2}, {Part(3, 1, false)});
    EXPECT_EQ(mesh.GetVertexType(), CMesh::VERTEX_COLOURED);
    m_device->BeginScene();
    mesh.Draw(&m_xp);
    m_device->EndScene();
    ASSERT_EQ(m_device->Draws().size(), 1u);
    EXPECT_EQ(m_device->Draws()[0].fvf, COLOURED_VERTEX_FVF);
    EXPECT_EQ(m_device->Draws()[0].stride, 24u);
}

}  // namespace
