// Model loading on the recording device: a hand-written DirectX cube read from memory,
// auto entries, the flag words, the draw passes and states, merging, and the errors
// that name the model.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>

#include "common/data_file_memory.h"
#include "graphics/matrix.h"
#include "graphics/model_import.h"
#include "graphics/model_node.h"
#include "platform/d3d9/recording_device.h"
#include "support/expect_drav.h"
#include "support/sample_module.h"

namespace {

using namespace DRAVGraph;
using D3D9Layer::CRecordingDevice;
using DRAVCommon::ByteVector;

// Six quads of a cube; faces 0-3 take the textured, half-transparent material with a
// green glow, faces 4-5 the plain blue one.
const char* const CUBE_X = R"(xof 0303txt 0032
Material Painted {
  1.0;0.0;0.0;0.5;;
  0.0;
  0.0;0.0;0.0;;
  0.0;0.25;0.0;;
  TextureFilename { "crate.png"; }
}
Material Plain {
  0.0;0.0;1.0;1.0;;
  0.0;
  0.0;0.0;0.0;;
  0.0;0.0;0.0;;
}
Mesh Cube {
  8;
  -1.0;-1.0;-1.0;, 1.0;-1.0;-1.0;, 1.0;1.0;-1.0;, -1.0;1.0;-1.0;,
  -1.0;-1.0;1.0;, 1.0;-1.0;1.0;, 1.0;1.0;1.0;, -1.0;1.0;1.0;;
  6;
  4;3,2,1,0;, 4;4,5,6,7;, 4;0,1,5,4;, 4;1,2,6,5;, 4;2,3,7,6;, 4;3,0,4,7;;
  MeshMaterialList { 2; 6; 0,0,0,0,1,1; { Painted } { Plain } }
  MeshNormals {
    6;
    0.0;0.0;-1.0;, 0.0;0.0;1.0;, 0.0;-1.0;0.0;, 1.0;0.0;0.0;, 0.0;1.0;0.0;, -1.0;0.0;0.0;;
    6;
    4;0,0,0,0;, 4;1,1,1,1;, 4;2,2,2,2;, 4;3,3,3,3;, 4;4,4,4,4;, 4;5,5,5,5;;
  }
  MeshTextureCoords {
    8;
    0.0;0.0;, 1.0;0.0;, 1.0;1.0;, 0.0;1.0;, 0.25;0.0;, 0.75;0.0;, 0.75;1.0;, 0.25;1.0;;
  }
}
)";

ByteVector Bytes(const std::string& text) { return ByteVector(text.begin(), text.end()); }

class ModelNodeTest : public ::testing::Test {
protected:
    ModelNodeTest() { m_source.Add(DRAVCommon::DFK_OBJECT, DRAVCommon::DFS_MOD, "cube.x", Bytes(CUBE_X)); }

    std::shared_ptr<CModelNode> Load(const CSubModelInfo& info, std::uint32_t flags = 0, bool keepCopy = false,
                                     double period = 0.0) {
        return LoadModel(&m_xp, m_source, info, info.textures, nullptr, flags, nullptr, keepCopy, 0.0, period);
    }
    static CSubModelInfo File(const std::string& name) {
        CSubModelInfo info;
        info.kind = DRAVCommon::DFK_OBJECT;
        info.name = name;
        info.textures = {{"", 0x808080, 1.0}};
        return info;
    }
    static CSubModelInfo Auto(const std::string& keyword, std::deque<std::int32_t> numbers) {
        CSubModelInfo info = File(keyword);
        info.isAuto = true;
        info.autoParams = std::move(numbers);
        return info;
    }
    std::vector<D3D9Layer::DrawRecord> DrawNode(const CModelNode& node, bool transparent, double time) {
        m_device->ClearRecord();
        m_device->BeginScene();
        node.Draw(&m_xp, transparent, time);
        m_device->EndScene();
        return m_device->Draws();
    }

    D3DPtr<CRecordingDevice> m_device = CRecordingDevice::Create(64, 64);
    DRAVCommon::CXPDevice m_xp{m_device.get()};
    DRAVCommon::CDataFileFactoryMemory m_source;
};

TEST_F(ModelNodeTest, DirectXCubeLoadsIntoOnePartPerMaterialAsTheFileHasIt) {
    auto node = Load(File("cube.x"), 0, true);
    const CMesh& mesh = *node->GetMesh();
    ASSERT_EQ(mesh.GetParts().size(), 2u);
    const MeshPart& painted = mesh.GetParts()[0];
    const MeshPart& plain = mesh.GetParts()[1];
    // Every face corner is its own vertex; each quad is two triangles.
    EXPECT_EQ(painted.vertexCount, 16u);
    EXPECT_EQ(painted.triangleCount, 8u);
    EXPECT_EQ(plain.vertexCount, 8u);
    EXPECT_EQ(plain.firstVertex, 16u);
    EXPECT_TRUE(painted.textured);
    EXPECT_FALSE(plain.textured);
    EXPECT_FLOAT_EQ(painted.material.Diffuse.a, 0.5f);
    EXPECT_FLOAT_EQ(painted.material.Ambient.r, 1.0f);
    EXPECT_FLOAT_EQ(painted.material.Emissive.g, 0.25f);
    EXPECT_FLOAT_EQ(painted.material.Emissive.a, 1.0f);  // three components: alpha 1
    EXPECT_FLOAT_EQ(plain.material.Diffuse.b, 1.0f);
    ASSERT_TRUE(painted.texture);  // from the sub-model's colour entry, not crate.png
    EXPECT_FALSE(plain.texture);

    // Face 0 is corners 3, 2, 1, 0 of the file, in that order, with the file's own
    // positions, normals and texture coordinates; the quad splits (0, 1, 2), (0, 2, 3).
    const auto& v = mesh.GetKeptVertices();
    const float corners[4][5] = {{-1, 1, -1, 0, 1}, {1, 1, -1, 1, 1}, {1, -1, -1, 1, 0}, {-1, -1, -1, 0, 0}};
    for (int i = 0; i < 4; ++i) {
        EXPECT_FLOAT_EQ(v[i].x, corners[i][0]);
        EXPECT_FLOAT_EQ(v[i].y, corners[i][1]);
        EXPECT_FLOAT_EQ(v[i].z, corners[i][2]);
        EXPECT_FLOAT_EQ(v[i].nz, -1.0f);
        EXPECT_FLOAT_EQ(v[i].u, corners[i][3]);
        EXPECT_FLOAT_EQ(v[i].v, corners[i][4]);
    }
    const auto& indices = mesh.GetKeptIndices();
    EXPECT_EQ(std::vector<std::uint16_t>(indices.begin(), indices.begin() + 6),
              (std::vector<std::uint16_t>{0, 1, 2, 0, 2, 3}));
    // The second material's first face (file face 4: corners 2, 3, 7, 6) starts at 16.
    EXPECT_EQ(indices[24], 16u);
    EXPECT_FLOAT_EQ(v[16].x, 1.0f);
    EXPECT_FLOAT_EQ(v[16].y, 1.0f);
    EXPECT_FLOAT_EQ(v[16].z, -1.0f);
    EXPECT_FLOAT_EQ(v[16].ny, 1.0f);
}

TEST_F(ModelNodeTest, UnreadableModelsAreBadDataNamingTheFile) {
    m_source.Add(DRAVCommon::DFK_OBJECT, DRAVCommon::DFS_MOD, "broken.x",
                 Bytes("xof 0303txt 0032\nMesh Broken { 8; 1.0;2.0; }"));
    m_source.Add(DRAVCommon::DFK_OBJECT, DRAVCommon::DFS_MOD, "other.obj", Bytes("v 0 0 0\nv 1 0 0\nv 0 1 0\nf 1 2 3\n"));
    for (const char* name : {"broken.x", "other.obj"}) {
        const auto error = QuillmereTest::CatchDrav([&] { Load(File(name)); });
        ASSERT_TRUE(error) << name;
        EXPECT_EQ(error->GetCode(), DRAV_ERR_BAD_DATA);
        EXPECT_NE(error->GetMessage().find(std::string("object\\mod\\") + name), std::string::npos)
            << error->GetMessage();
    }
    EXPECT_DRAV_CODE(Load(File("missing.x")), DRAV_ERR_BAD_DATA);

    // The importer itself dies on a material list that names materials it does not
    // hold; the game goes on and names the file.
    std::string fatalText = CUBE_X;
    fatalText.erase(fatalText.find("{ Painted }"), std::string("{ Painted } { Plain } ").size());
    fatalText.erase(fatalText.find("  MeshNormals"), fatalText.rfind("}\n}") - fatalText.find("  MeshNormals"));
    m_source.Add(DRAVCommon::DFK_OBJECT, DRAVCommon::DFS_MOD, "fatal.x", Bytes(fatalText));
    const auto fatal = QuillmereTest::CatchDrav([&] { Load(File("fatal.x")); });
    ASSERT_TRUE(fatal);
    EXPECT_EQ(fatal->GetCode(), DRAV_ERR_BAD_DATA);
    EXPECT_NE(fatal->GetMessage().find("object\\mod\\fatal.x: made the importer fail"), std::string::npos)
        << fatal->GetMessage();

    // A count that asks the importer for gigabytes fails within the importer's bounds.
    m_source.Add(DRAVCommon::DFK_OBJECT, DRAVCommon::DFS_MOD, "greedy.x",
                 Bytes("xof 0303txt 0032\nMesh {\n 200000000;\n 0.0;0.0;0.0;,\n 1.0;0.0;0.0;;\n}\n"));
    // (The importer's allocation fails; a sanitizer build ends the child there instead.)
    const auto greedy = QuillmereTest::CatchDrav([&] { Load(File("greedy.x")); });
    ASSERT_TRUE(greedy);
    EXPECT_EQ(greedy->GetCode(), DRAV_ERR_BAD_DATA);
    EXPECT_EQ(greedy->GetMessage().rfind("Model object\\mod\\greedy.x: ", 0), 0u) << greedy->GetMessage();

    // Without normals the scene lacks what a mesh needs.
    std::string noNormals = CUBE_X;
    const auto start = noNormals.find("  MeshNormals");
    noNormals.erase(start, noNormals.find("  MeshTextureCoords") - start);
    m_source.Add(DRAVCommon::DFK_OBJECT, DRAVCommon::DFS_MOD, "flat.x", Bytes(noNormals));
    const auto error = QuillmereTest::CatchDrav([&] { Load(File("flat.x")); });
    ASSERT_TRUE(error);
    EXPECT_EQ(error->GetCode(), DRAV_ERR_DEVICE);
    EXPECT_NE(error->GetMessage().find("flat.x"), std::string::npos);
    EXPECT_EQ(m_device->LiveDefaultPoolObjects(), 0);
}

TEST_F(ModelNodeTest, OneImportingProcessServesEveryImportAndIsReplacedAfterACrashOrHang) {
    StartModelImporter();
    const int first = GetModelImporterProcess();
    ASSERT_GT(first, 0);
    for (int i = 0; i < 3; ++i) EXPECT_EQ(ImportDirectXModel(Bytes(CUBE_X), "cube.x").vertices.size(), 24u);
    EXPECT_EQ(GetModelImporterProcess(), first);

    // A file the importer dies on takes the process with it; the next import has a new one.
    std::string fatal = CUBE_X;
    fatal.erase(fatal.find("{ Painted }"), std::string("{ Painted } { Plain } ").size());
    fatal.erase(fatal.find("  MeshNormals"), fatal.rfind("}\n}") - fatal.find("  MeshNormals"));
    EXPECT_DRAV_CODE(ImportDirectXModel(Bytes(fatal), "fatal.x"), DRAV_ERR_BAD_DATA);
    EXPECT_EQ(GetModelImporterProcess(), -1);
    EXPECT_EQ(ImportDirectXModel(Bytes(CUBE_X), "cube.x").vertices.size(), 24u);
    const int second = GetModelImporterProcess();
    EXPECT_GT(second, 0);
    EXPECT_NE(second, first);

    // A hang is cut short the same way.
    EXPECT_DRAV_CODE(ImportDirectXModel(Bytes(CUBE_X), "slow.x", 0), DRAV_ERR_BAD_DATA);
    EXPECT_EQ(ImportDirectXModel(Bytes(CUBE_X), "cube.x").vertices.size(), 24u);
    EXPECT_NE(GetModelImporterProcess(), second);
}

TEST_F(ModelNodeTest, ImporterOutOfTimeIsStoppedAndNamesTheFile) {
    const auto error = QuillmereTest::CatchDrav([&] { ImportDirectXModel(Bytes(CUBE_X), "slow.x", 0); });
    ASSERT_TRUE(error);
    EXPECT_EQ(error->GetCode(), DRAV_ERR_BAD_DATA);
    EXPECT_EQ(error->GetMessage(), "Model slow.x: took more than 0 ms to import");
}

TEST_F(ModelNodeTest, ModelBeyondSixteenBitIndicesIsBadDataNamingTheFile) {
    // One triangle used 21846 times: every face corner becomes a vertex, 65538 in all.
    std::string text = "xof 0303txt 0032\nMaterial M { 1.0;1.0;1.0;1.0;; 0.0; 0.0;0.0;0.0;; 0.0;0.0;0.0;; }\n"
                       "Mesh Big { 3; 0.0;0.0;0.0;, 1.0;0.0;0.0;, 0.0;1.0;0.0;;\n21846;\n";
    std::string normals = "MeshNormals { 1; 0.0;0.0;1.0;;\n21846;\n";
    for (int f = 0; f < 21846; ++f) {
        const char* end = f + 1 < 21846 ? ",\n" : ";\n";
        text += std::string("3;0,1,2;") + end;
        normals += std::string("3;0,0,0;") + end;
    }
    text += "MeshMaterialList { 1; 1; 0;; { M } }\n" + normals + "}\n";
    text += "MeshTextureCoords { 3; 0.0;0.0;, 1.0;0.0;, 0.0;1.0;; }\n}\n";
    m_source.Add(DRAVCommon::DFK_OBJECT, DRAVCommon::DFS_MOD, "big.x", Bytes(text));
    const auto error = QuillmereTest::CatchDrav([&] { Load(File("big.x")); });
    ASSERT_TRUE(error);
    EXPECT_EQ(error->GetCode(), DRAV_ERR_BAD_DATA);
    EXPECT_NE(error->GetMessage().find("big.x"), std::string::npos) << error->GetMessage();
    EXPECT_NE(error->GetMessage().find("65538"), std::string::npos) << error->GetMessage();
}

TEST_F(ModelNodeTest, AutoEntriesBuildTheirTileOrNameTheEntry) {
    auto node = Load(Auto("auto-floor", {1, 4, 2, 4, 3}));
    EXPECT_EQ(node->GetMesh()->GetParts().size(), 1u);
    EXPECT_TRUE(node->GetMesh()->GetParts()[0].texture);
    for (const auto& wrong : {Auto("auto-floor", {1, 4, 2, 4}), Auto("auto-Floor", {1, 4, 2, 4, 3})}) {
        const auto error = QuillmereTest::CatchDrav([&] { Load(wrong); });
        ASSERT_TRUE(error);
        EXPECT_EQ(error->GetCode(), DRAV_ERR_BAD_DATA);
        EXPECT_NE(error->GetMessage().find(wrong.name + " 1 4 2 4"), std::string::npos) << error->GetMessage();
    }
    // A textured part without a texture entry names the model too.
    CSubModelInfo bare = Auto("auto-floor", {1, 4, 2, 4, 3});
    bare.textures.clear();
    EXPECT_NE(DRAV_MESSAGE(Load(bare)).find("auto-floor"), std::string::npos);
}

TEST_F(ModelNodeTest, FlagWordsAreReadToTheEndOfTheBlock) {
    DRAVCommon::CDataFileReader reader(
        QuillmereTest::TextStream("<model> flat shiny movetexture 4 Flat transparent movetexture 2.5 </model>"),
        "flags.drav");
    reader.BeginBlock("model");
    double period = 0.0;
    EXPECT_EQ(ReadSubModelFlags(reader, period), SUBMODEL_FLAT | SUBMODEL_MOVETEXTURE | SUBMODEL_TRANSPARENT);
    EXPECT_DOUBLE_EQ(period, 2.5);
    reader.EndBlock();
}

TEST_F(ModelNodeTest, DrawKeepsToItsPassAndRestoresLightingAndTheTextureTransform) {
    auto opaque = Load(Auto("auto-floor", {1, 1, 0, 1, 0}), SUBMODEL_FLAT);
    EXPECT_TRUE(DrawNode(*opaque, true, 0.0).empty());
    const auto draws = DrawNode(*opaque, false, 0.0);
    ASSERT_EQ(draws.size(), 1u);
    EXPECT_EQ(draws[0].renderStates.at(D3DRS_LIGHTING), 0u);
    EXPECT_EQ(m_device->RenderState(D3DRS_LIGHTING), 1u);

    auto scrolling = Load(Auto("auto-floor", {1, 1, 0, 1, 0}), SUBMODEL_MOVETEXTURE | SUBMODEL_TRANSPARENT, false, 4.0);
    EXPECT_TRUE(DrawNode(*scrolling, false, 1.0).empty());
    for (double time : {1.0, 5.0}) {
        ASSERT_EQ(DrawNode(*scrolling, true, time).size(), 1u);
        // v moves by a quarter: the translation row of a two-coordinate transform.
        const D3DMATRIX& matrix = m_device->Transform(D3DTS_TEXTURE0);
        EXPECT_FLOAT_EQ(matrix._32, 0.25f);
        EXPECT_FLOAT_EQ(matrix._31, 0.0f);
        EXPECT_FLOAT_EQ(matrix._21, 0.0f);
    }
    const auto& calls = m_device->Calls();
    const std::string enable = "SetTextureStageState(0," + std::to_string(D3DTSS_TEXTURETRANSFORMFLAGS) + ",2)";
    EXPECT_NE(std::find(calls.begin(), calls.end(), enable), calls.end());
    EXPECT_EQ(m_device->StageState(0, D3DTSS_TEXTURETRANSFORMFLAGS), D3DTTFF_DISABLE);

    // No period, or one below zero, is no scrolling at all rather than a NaN matrix.
    for (double period : {0.0, -2.0}) {
        auto still = Load(Auto("auto-floor", {1, 1, 0, 1, 0}), SUBMODEL_MOVETEXTURE, false, period);
        const D3DMATRIX identity = Mat4Identity();
        m_device->SetTransform(D3DTS_TEXTURE0, &identity);
        ASSERT_EQ(DrawNode(*still, false, 3.0).size(), 1u);
        EXPECT_EQ(m_device->Calls().end(),
                  std::find(m_device->Calls().begin(), m_device->Calls().end(), enable));
        EXPECT_FLOAT_EQ(m_device->Transform(D3DTS_TEXTURE0)._32, 0.0f);
    }

    m_device->FailCall("SetTransform", D3DERR_INVALIDCALL);
    m_device->BeginScene();
    EXPECT_DRAV_CODE(scrolling->Draw(&m_xp, true, 1.0), DRAV_ERR_DEVICE);
    m_device->EndScene();
}

TEST_F(ModelNodeTest, MergedNodeKeepsFlagsAndTimesOverTheReplicatedMesh) {
    auto node = LoadModel(&m_xp, m_source, File("cube.x"), {{"", 0x808080, 1.0}}, nullptr, SUBMODEL_FLAT, nullptr,
                          true, 0.5, 2.0);
    std::vector<D3DMATRIX> placements(2, Mat4Identity());
    placements[1]._43 = 5.0f;
    auto merged = node->MakeMerged(&m_xp, Mat4Identity(), placements);
    EXPECT_EQ(merged->GetFlags(), SUBMODEL_FLAT);
    EXPECT_DOUBLE_EQ(merged->GetStartTime(), 0.5);
    EXPECT_DOUBLE_EQ(merged->GetMoveTexturePeriod(), 2.0);
    EXPECT_EQ(merged->GetMesh()->GetVertexCount(), 48u);
    EXPECT_EQ(merged->GetMesh()->GetParts()[0].texture, node->GetMesh()->GetParts()[0].texture);

    auto unkept = Load(File("cube.x"));
    EXPECT_DRAV_CODE(unkept->MakeMerged(&m_xp, Mat4Identity(), placements), DRAV_ERR_DEVICE);
}

}  // namespace
