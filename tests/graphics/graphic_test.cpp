// Graphic definitions on the recording device: figures, overrides and tile sets read
// from memory, the tree drawn under its pose in two passes with flip-book frames, and
// the errors that name the graphic file.

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "common/data_file_memory.h"
#include "common/graphic_colors.h"
#include "graphics/graphic.h"
#include "graphics/matrix.h"
#include "platform/d3d9/recording_device.h"
#include "support/expect_drav.h"
#include "support/sample_module.h"

namespace {

using namespace DRAVGraph;
using DRAVCommon::DFK_OBJECT;
using DRAVCommon::DFK_TILE;

// Keeps the WORLD transform each indexed draw was made under.
class WorldRecordingDevice : public D3D9Layer::CRecordingDevice {
public:
    using CRecordingDevice::CRecordingDevice;
    HRESULT DrawIndexedPrimitive(D3DPRIMITIVETYPE type, INT baseVertex, UINT minIndex, UINT vertexCount,
                                 UINT startIndex, UINT primitiveCount) override {
        worlds.push_back(Transform(D3DTS_WORLD));
        return CRecordingDevice::DrawIndexedPrimitive(type, baseVertex, minIndex, vertexCount, startIndex,
                                                      primitiveCount);
    }
    std::vector<D3DMATRIX> worlds;
};

// One textured triangle: three vertices, told apart from the cube's 24 when drawn.
const char* const kTriangle = R"(xof 0303txt 0032
Material Painted { 1.0;1.0;1.0;1.0;; 0.0; 0.0;0.0;0.0;; 0.0;0.0;0.0;; TextureFilename { "t.png"; } }
Mesh Tri {
  3; 0.0;0.0;0.0;, 1.0;0.0;0.0;, 0.0;1.0;0.0;;
  1; 3;0,1,2;;
  MeshMaterialList { 1; 1; 0; { Painted } }
  MeshNormals { 1; 0.0;0.0;-1.0;; 1; 3;0,0,0;; }
  MeshTextureCoords { 3; 0.0;0.0;, 1.0;0.0;, 0.0;1.0;; }
}
)";

// The arm hangs two units above the anchor, turned a quarter about y.
const char* const kPairFigure = R"(<figure> pair
 <piece> anchor </piece> <piece> arm anchor </piece> <piece> spare arm </piece>
 <position> default anchor ( 1 0 0 ) 0 arm ( 0 2 0 ) <rot> ( 0 1 0 90 ) </rot> spare 0 0 </position>
 <position> armless anchor 0 0 </position>
 <animation> wave 0 default 1 default </animation>
</figure>)";

D3DMATRIX Translation(float x, float y, float z) {
    D3DMATRIX m = Mat4Identity();
    m._41 = x;
    m._42 = y;
    m._43 = z;
    return m;
}

D3DMATRIX Product(std::initializer_list<D3DMATRIX> factors) {
    D3DMATRIX result = Mat4Identity();
    for (const D3DMATRIX& factor : factors) MatrixMultiplyInPlace(result, factor);
    return result;
}

void ExpectMatrixNear(const D3DMATRIX& actual, const D3DMATRIX& expected) {
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 4; ++c) EXPECT_NEAR(actual(r, c), expected(r, c), 1e-5f) << "element " << r << c;
}

class GraphicTest : public ::testing::Test {
protected:
    GraphicTest() {
        m_source.Add(DFK_OBJECT, DRAVCommon::DFS_MOD, "tri.x", Bytes(kTriangle));
        m_source.Add(DFK_OBJECT, DRAVCommon::DFS_MOD, "box.x",
                     *QuillmereTest::SampleFolderSource()->ReadAll(DRAVCommon::DFK_ACTOR, DRAVCommon::DFS_MOD, "torso.x"));
        Add(DFK_OBJECT, DRAVCommon::DFS_FIG, "pair", kPairFigure);
    }
    static DRAVCommon::ByteVector Bytes(const std::string& text) { return {text.begin(), text.end()}; }
    void Add(DRAVCommon::DataFileKind kind, DRAVCommon::DataFileSubkind subkind, const std::string& name,
             const std::string& text) {
        m_source.Add(kind, subkind, name + ".drav", Bytes(text));
    }
    std::shared_ptr<CGraphic> Load(const std::string& name, const std::string& text,
                                   const std::vector<GraphicOverride>* overrides = nullptr,
                                   CFigureCache* cache = nullptr) {
        Add(DFK_OBJECT, DRAVCommon::DFS_NONE, name, text);
        return std::make_shared<CGraphic>(Context(), DFK_OBJECT, name, DFK_OBJECT, overrides, cache, nullptr);
    }
    GraphicLoadContext Context() { return {&m_xp, &m_source, nullptr}; }
    // Renders one frame under `world`; the vertex counts of the draws, in order.
    std::vector<UINT> Render(const CGraphic& graphic, const std::string& animation, double frameTime,
                             const D3DMATRIX& world = Mat4Identity()) {
        m_device->ClearRecord();
        m_device->worlds.clear();
        SceneRenderContext context{&m_xp, nullptr, &world, nullptr};
        m_device->BeginScene();
        graphic.Render(context, animation, 0, 0.0, frameTime);
        m_device->EndScene();
        std::vector<UINT> counts;
        for (const auto& draw : m_device->Draws()) counts.push_back(draw.vertexCount);
        return counts;
    }
    std::size_t TexturesCreated() const {
        return std::count_if(m_device->Calls().begin(), m_device->Calls().end(),
                             [](const std::string& call) { return call.rfind("CreateTexture", 0) == 0; });
    }

    D3DPtr<WorldRecordingDevice> m_device{new WorldRecordingDevice(D3D9Layer::WindowedParameters(64, 64))};
    DRAVCommon::CXPDevice m_xp{m_device.get()};
    DRAVCommon::CDataFileFactoryMemory m_source;
};

TEST_F(GraphicTest, PiecesDrawUnderThePoseTimesTheWorldChildrenFirst) {
    auto graphic = Load("pair_boxes", R"(<graphic> pair_boxes pair
      <model> anchor "box.x" <texcolor> 255 1.0 </texcolor> </model>
      <model> arm ( 2 3 4 ) "tri.x" <texcolor> 128 1.0 </texcolor> </model>
    </graphic>)");
    const D3DMATRIX world = Translation(10, 0, 5);
    EXPECT_EQ(Render(*graphic, "default", 0.0, world), (std::vector<UINT>{3, 24}));
    D3DMATRIX turn{};  // a quarter turn about +y for row vectors
    turn._13 = -1;
    turn._22 = 1;
    turn._31 = 1;
    turn._44 = 1;
    D3DMATRIX scale = Mat4Identity();
    scale._11 = 2;
    scale._22 = 3;
    scale._33 = 4;
    const D3DMATRIX anchor = Product({Translation(1, 0, 0), world});
    ASSERT_EQ(m_device->worlds.size(), 2u);
    ExpectMatrixNear(m_device->worlds[0], Product({scale, turn, Translation(0, 2, 0), anchor}));
    ExpectMatrixNear(m_device->worlds[1], anchor);
    EXPECT_FALSE(graphic->HasTransparentModel());
    EXPECT_EQ(graphic->GetTree()->FindNode("spare"), nullptr);  // pruned: nothing to draw

    // A pose that does not place the arm hides it; an unknown action shows "default".
    EXPECT_EQ(Render(*graphic, "armless", 0.0), (std::vector<UINT>{24}));
    EXPECT_EQ(Render(*graphic, "swim", 0.0), (std::vector<UINT>{3, 24}));

    // The merge queries walk the same tree with the "default" pose; here the children
    // inherit the arm's scale, and index 2 is past the last single model.
    std::uint32_t count = 0;
    EXPECT_TRUE(graphic->GetTree()->CountModels(count));
    EXPECT_EQ(count, 2u);
    MatrixStack stack;
    std::shared_ptr<CModelNode> model;
    ASSERT_TRUE(graphic->GetStaticModel(1, stack, model));
    EXPECT_EQ(model->GetMesh()->GetVertexCount(), 3u);
    ExpectMatrixNear(stack.back(), Product({scale, turn, Translation(0, 2, 0), Translation(1, 0, 0)}));
    MatrixStack again;
    EXPECT_FALSE(graphic->GetStaticModel(2, again, model));
}

TEST_F(GraphicTest, TransparentModelsDrawInTheSecondPassOnly) {
    auto graphic = Load("glassy", R"(<graphic> glassy pair
      <model> anchor "box.x" <texcolor> 255 1.0 </texcolor> </model>
      <model> arm "tri.x" <texcolor> 128 0.5 </texcolor> transparent </model>
    </graphic>)");
    EXPECT_TRUE(graphic->HasTransparentModel());
    // Opaque pass: the anchor's box alone; then the arm's triangle after it.
    EXPECT_EQ(Render(*graphic, "default", 0.0), (std::vector<UINT>{24, 3}));
    EXPECT_EQ(graphic->GetFlags(), 0u);
}

TEST_F(GraphicTest, FlipBookShowsTheFrameThePhaseHasReached) {
    auto graphic = Load("blink", R"(<graphic> blink 0
      <modelanimation> anchor 2.0 0 <model> "box.x" <texcolor> 255 1.0 </texcolor> </model>
        0.5 <model> "tri.x" <texcolor> 128 1.0 </texcolor> </model>
      </modelanimation>
    </graphic>)");
    EXPECT_EQ(Render(*graphic, "default", 1.2), (std::vector<UINT>{3}));   // phase 0.6
    EXPECT_EQ(Render(*graphic, "default", 0.9), (std::vector<UINT>{24}));  // phase 0.45
    EXPECT_EQ(Render(*graphic, "default", 2.9), (std::vector<UINT>{24}));
    // A figure without "default" shows nothing for an action it lacks, and has no
    // static pose to merge by.
    Add(DFK_OBJECT, DRAVCommon::DFS_FIG, "posed", R"(<figure> posed <piece> anchor </piece>
      <position> stand anchor 0 0 </position> </figure>)");
    auto posed = Load("posed", "<graphic> posed posed <model> anchor \"tri.x\" <texcolor> 1 1.0 </texcolor> </model> </graphic>");
    EXPECT_EQ(Render(*posed, "stand", 0.0), (std::vector<UINT>{3}));
    EXPECT_TRUE(Render(*posed, "swim", 0.0).empty());
    MatrixStack stack;
    std::shared_ptr<CModelNode> model;
    EXPECT_DRAV_CODE(posed->GetStaticModel(0, stack, model), DRAV_ERR_OUT_OF_RANGE);
    // Without a model at all there is no tree, and rendering draws nothing.
    auto empty = Load("empty", "<graphic> empty 0 <model> anchor \"\" </model> </graphic>");
    EXPECT_EQ(empty->GetTree(), nullptr);
    EXPECT_TRUE(Render(*empty, "default", 0.0).empty());
}

TEST_F(GraphicTest, OverridesReplacePiecesAndOffHandMovesTheWeapon) {
    Add(DFK_OBJECT, DRAVCommon::DFS_NONE, "sword", R"(<override> sword
      <model> weapon "tri.x" <texcolor> 1 1.0 </texcolor> </model> <model> anchor "" </model> </override>)");
    Add(DFK_OBJECT, DRAVCommon::DFS_FIG, "holder", R"(<figure> holder
      <piece> anchor </piece> <piece> weapon anchor </piece> <piece> offhand anchor </piece>
      <position> default anchor 0 0 weapon ( 1 0 0 ) 0 offhand ( -1 0 0 ) 0 </position> </figure>)");
    const char* base = R"(<graphic> holder_base holder <model> anchor "box.x" <texcolor> 1 1.0 </texcolor> </model>
      <model> anchor "box.x" <texcolor> 2 1.0 </texcolor> </model> </graphic>)";
    std::vector<GraphicOverride> offhand{{"sword", true}};
    auto left = Load("holder_base", base, &offhand);
    ASSERT_NE(left->GetTree(), nullptr);
    EXPECT_EQ(left->GetTree()->FindNode("offhand")->GetModels().size(), 1u);
    EXPECT_EQ(left->GetTree()->FindNode("weapon"), nullptr);
    EXPECT_TRUE(left->GetTree()->GetModels().empty());  // the override's empty entry removed the box
    std::vector<GraphicOverride> main{{"sword", false}};
    auto right = Load("holder_base", base, &main);
    EXPECT_EQ(right->GetTree()->FindNode("weapon")->GetModels().size(), 1u);
    EXPECT_EQ(right->GetTree()->FindNode("offhand"), nullptr);

    // Without overrides the second entry for the anchor replaced the first.
    auto plain = Load("holder_base", base);
    EXPECT_EQ(plain->GetTree()->GetModels().size(), 1u);

    // A piece the wearer's figure lacks is the item file's fault, and the error says so.
    Add(DFK_OBJECT, DRAVCommon::DFS_NONE, "hook",
        R"(<override> hook <model> tail "tri.x" <texcolor> 1 1.0 </texcolor> </model> </override>)");
    std::vector<GraphicOverride> hook{{"hook", false}};
    const auto caught = QuillmereTest::CatchDrav([&] { Load("holder_base", base, &hook); });
    ASSERT_TRUE(caught);
    EXPECT_EQ(caught->GetCode(), DRAV_ERR_BAD_DATA);
    EXPECT_NE(caught->GetMessage().find("object\\hook.drav: models for the piece \"tail\""), std::string::npos)
        << caught->GetMessage();
    // So is a model or a texture it names that will not load.
    Add(DFK_OBJECT, DRAVCommon::DFS_NONE, "glove", R"(<override> glove <model> arm "nowhere.x" </model> </override>)");
    Add(DFK_OBJECT, DRAVCommon::DFS_NONE, "ring",
        R"(<override> ring <model> arm "tri.x" <tex> "lost.png" </tex> </model> </override>)");
    for (const char* item : {"glove", "ring"}) {
        std::vector<GraphicOverride> worn{{item, false}};
        const auto failed = QuillmereTest::CatchDrav([&] { Load("pair_base", "<graphic> pair_base pair </graphic>", &worn); });
        ASSERT_TRUE(failed) << item;
        EXPECT_NE(failed->GetMessage().find("object\\" + std::string(item) + ".drav: "), std::string::npos)
            << failed->GetMessage();
    }
}

TEST_F(GraphicTest, MultigraphicCellsShareTheirTexturesInOrder) {
    Add(DFK_TILE, DRAVCommon::DFS_NONE, "walls", R"(<multigraphic> walls ( 3 2 ) 0
      <model> anchor <auto> auto-wall 1 3 ONE TWO </auto> <texcolor> ( 90 120 60 ) 1.0 </texcolor> </model>
    </multigraphic>)");
    // What one cell alone creates, the whole set of six creates too.
    CGraphic single(Context(), "walls", true, 0, 0, nullptr);
    const std::size_t oneCell = TexturesCreated();
    m_device->ClearRecord();
    std::vector<std::shared_ptr<CGraphic>> cells;
    LoadTileGraphics(Context(), "walls#1#0", cells);
    std::vector<std::string> names;
    for (const auto& cell : cells) names.push_back(cell->GetName());
    EXPECT_EQ(names, (std::vector<std::string>{"walls#0#0", "walls#1#0", "walls#2#0", "walls#0#1", "walls#1#1",
                                               "walls#2#1"}));
    EXPECT_EQ(TexturesCreated(), oneCell);
    EXPECT_GT(oneCell, 0u);
    const auto texture = [](const CGraphic& g) { return g.GetTree()->GetModels()[0]->GetMesh()->GetParts()[0].texture; };
    EXPECT_EQ(texture(*cells[5]), texture(*cells[0]));
    // Each cell's wall shows its own column of the three: u runs from 1 - col/3.
    const auto firstU = [](const CGraphic& g) { return g.GetTree()->GetModels()[0]->GetMesh()->GetKeptVertices()[0].u; };
    EXPECT_NEAR(firstU(*cells[0]), 1.0f, 1e-6f);
    EXPECT_NEAR(firstU(*cells[5]), 1.0f / 3.0f, 1e-6f);

    // A multigraphic named unlike its file, or without counts, loads no cell at all.
    Add(DFK_TILE, DRAVCommon::DFS_NONE, "odd", "<multigraphic> even ( 1 1 ) 0 </multigraphic>");
    Add(DFK_TILE, DRAVCommon::DFS_NONE, "bare", "<multigraphic> bare 0 </multigraphic>");
    cells.clear();
    EXPECT_DRAV_CODE(LoadTileGraphics(Context(), "odd", cells), DRAV_ERR_BAD_DATA);
    EXPECT_DRAV_CODE(LoadTileGraphics(Context(), "bare", cells), DRAV_ERR_BAD_DATA);
    EXPECT_TRUE(cells.empty());
}

// A tile file holds at most 64 cells each way and 256 in all: more would take
// minutes and the memory of the machine to build.
TEST_F(GraphicTest, MultigraphicCellCountsPastTheLimitAreRefused) {
    for (const char* counts : {"( 65 1 )", "( 1 65 )", "( 17 16 )", "( 0 1 )", "( 1 0 )", "( 1000000000 2 )"}) {
        Add(DFK_TILE, DRAVCommon::DFS_NONE, "huge", std::string("<multigraphic> huge ") + counts + " 0 </multigraphic>");
        std::vector<std::shared_ptr<CGraphic>> cells;
        auto caught = QuillmereTest::CatchDrav([&] { LoadTileGraphics(Context(), "huge", cells); });
        ASSERT_TRUE(caught) << counts;
        EXPECT_EQ(caught->GetCode(), DRAV_ERR_BAD_DATA);
        EXPECT_EQ(caught->GetMessage().rfind("tile\\huge.drav: ", 0), 0u) << caught->GetMessage();
        EXPECT_TRUE(cells.empty());
    }
    Add(DFK_TILE, DRAVCommon::DFS_NONE, "wide", "<multigraphic> wide ( 64 4 ) 0 </multigraphic>");
    std::vector<std::shared_ptr<CGraphic>> cells;
    LoadTileGraphics(Context(), "wide", cells);
    EXPECT_EQ(cells.size(), 256u);
}

TEST_F(GraphicTest, BadFilesAreBadDataNamingTheFileAndTheName) {
    struct Case {
        const char* text;
        const char* named;
    };
    const Case cases[] = {
        {"<graphic> g 0 <model> anchor \"nowhere.x\" <texcolor> 1 1.0 </texcolor> </model> </graphic>", "nowhere.x"},
        {"<graphic> g ghost </graphic>", "ghost"},
        {"<graphic> g pair <model> tail \"box.x\" <texcolor> 1 1.0 </texcolor> </model> </graphic>", "tail"},
        {"<graphic> g pair <animationlengths> ( dance 2 ) </animationlengths> </graphic>", "dance"},
        {"<graphic> g pair <animationlengths> ( wave 0 ) </animationlengths> </graphic>", "wave"},
        {"<graphic> g 0 shiny </graphic>", "shiny"},
        {"<graphic> g 0 <model> anchor \"box.x\" <color> HAIR 0 0 </color> </model> </graphic>", "HAIR"},
        {"<graphic> g 0 <model> anchor <auto> auto-wall 1 ONE three </auto> </model> </graphic>", "three"},
        // A light at the ground would divide by its height; one that flickers past
        // 100 would turn negative.
        {"<graphic> g 0 <light> 0 ( 255 255 255 ) </light> </graphic>", "height"},
        {"<graphic> g 0 <light> -2.5 ( 255 255 255 ) </light> </graphic>", "height"},
        {"<graphic> g 0 <light> 3 ( 255 255 255 ) 101 </light> </graphic>", "flicker"},
    };
    CFigureCache cache;
    for (const Case& c : cases) {
        auto caught = QuillmereTest::CatchDrav([&] { Load("g", c.text, nullptr, &cache); });
        ASSERT_TRUE(caught) << c.text;
        EXPECT_EQ(caught->GetCode(), DRAV_ERR_BAD_DATA) << caught->GetMessage();
        EXPECT_EQ(caught->GetMessage().rfind("object\\g.drav: ", 0), 0u) << caught->GetMessage();
        EXPECT_NE(caught->GetMessage().find(c.named), std::string::npos) << caught->GetMessage();
    }
    // A figure read by a failed load is not cached; one read by a good load is shared.
    EXPECT_TRUE(cache.empty());
    auto first = Load("g", "<graphic> g pair <model> anchor \"box.x\" <texcolor> 1 1.0 </texcolor> </model> </graphic>",
                      nullptr, &cache);
    auto second = Load("g", "<graphic> g pair </graphic>", nullptr, &cache);
    ASSERT_EQ(cache.count("pair"), 1u);
    EXPECT_EQ(second->GetPoses()->GetPositions(), first->GetPoses()->GetPositions());
    EXPECT_EQ(second->GetTree(), nullptr);
}

TEST_F(GraphicTest, LightAndFixedEffectAreKept) {
    auto lamp = Load("lamp", R"(<graphic> lamp 0 movevaried <light> 3.5 ( 255 128 0 ) 40 </light> </graphic>)");
    ASSERT_TRUE(lamp->GetLight());
    EXPECT_FLOAT_EQ(lamp->GetLight()->GetRed(), 0.99609375f);
    EXPECT_FLOAT_EQ(lamp->GetLight()->GetGreen(), 0.5f);
    EXPECT_FLOAT_EQ(lamp->GetLight()->GetBlue(), 0.0f);
    EXPECT_EQ(lamp->GetLight()->GetFlicker(), 40u);
    EXPECT_EQ(lamp->GetFlags(), static_cast<std::uint32_t>(GRAPHIC_MOVEVARIED));
    auto torch = Load("torch", R"(<graphic> torch 0
      <effect> <emitter> p0 ( 0.1 1.0 ) 1.0 2 ( 0.5 0.5 ) 0 ( 0.3 0.1 ) ( 1 0 ) point </emitter> </effect>
      <light> 2 10 20 255 </light> </graphic>)");
    EXPECT_TRUE(torch->GetFixedEffect());
    EXPECT_EQ(torch->GetFlags(), static_cast<std::uint32_t>(GRAPHIC_TRANSPARENT));
    EXPECT_FLOAT_EQ(torch->GetLight()->GetBlue(), 255.0f / 256.0f);
}

}  // namespace
