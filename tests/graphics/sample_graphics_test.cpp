// Every graphic file of the sample's chapters loads from the assembled sample and
// draws one frame on the recording device; their people share one figure and its rules.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "common/graphic_colors.h"
#include "engine/brain/brain_functions.h"
#include "graphics/graphic.h"
#include "graphics/matrix.h"
#include "graphics/particles/billboard_renderer.h"
#include "platform/d3d9/recording_device.h"
#include "rules/module.h"
#include "rules/monsters/actor_template.h"
#include "support/overlay_source.h"
#include "support/sample_module.h"

namespace {

using namespace DRAVGraph;

// The graphic files of one kind: the .drav files of its folder, without figures and models.
std::vector<std::string> GraphicNames(const std::string& kind) {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(QuillmereTest::SampleRoot() + "/" + kind))
        if (entry.is_regular_file() && entry.path().extension() == ".drav") names.push_back(entry.path().stem());
    std::sort(names.begin(), names.end());
    return names;
}

// The graphic names of the rules of every chapter by kind folder ("actor", "item",
// "object", "tile"); an actor graphic maps to the colour set it is drawn with (null
// for none): a monster's own, or for the heads players choose, the one the colours
// page gives.
struct ChapterGraphics {
    std::map<std::string, std::shared_ptr<CGraphicColors>> actors;
    std::set<std::string> items, objects, tiles;
};

void AddGraphicsOfTheChapter(int chapter, const std::shared_ptr<CGraphicColors>& playerColours,
                             ChapterGraphics& graphics) {
    DRAV::CModule module;
    module.SetBrainFunctions(DRAV::GetBrainFunctions());
    module.Load(chapter, nullptr, QuillmereTest::SampleFolderSource(chapter));
    for (const auto& [key, monster] : module.GetMonsterTemplates())
        graphics.actors[monster->GetGraphic()] = monster->GetColors();
    for (const auto* heads : {&module.GetMaleHeads(), &module.GetFemaleHeads(), &module.GetOtherHeads()})
        for (const auto& head : *heads) graphics.actors[head->word] = playerColours;
    for (const auto& [key, item] : module.GetItemTemplates())
        for (const std::string& name : item->GetGraphics())
            if (!name.empty() && name != "0") graphics.items.insert(name);
    for (const auto& [key, object] : module.GetObjectTemplates())
        if (!object->GetGraphicName().empty() && object->GetGraphicName() != "0")
            graphics.objects.insert(object->GetGraphicName());
    for (const auto& [key, tile] : module.GetTileTemplates())
        graphics.tiles.insert(tile->GetGraphicName().substr(0, tile->GetGraphicName().find('#')));
}

ChapterGraphics GraphicsOfTheChapters(const std::shared_ptr<CGraphicColors>& playerColours) {
    ChapterGraphics graphics;
    for (int chapter = 1;
         std::filesystem::exists(QuillmereTest::SampleRoot() + "/" + std::to_string(chapter) + "/world.drav"); ++chapter)
        AddGraphicsOfTheChapter(chapter, playerColours, graphics);
    return graphics;
}

class SampleGraphicsTest : public ::testing::Test {
protected:
    SampleGraphicsTest() {
        // A person of the sample's figure who wears no models of its own, so that each
        // item file loads only its own model.
        m_source->Add(DRAVCommon::DFK_ACTOR, DRAVCommon::DFS_NONE, "bare.drav", "<graphic> bare humanoid </graphic>");
        m_colours.SetColor(CGraphicColors::HAIR, 0x5A3C1E);
        m_colours.SetColor(CGraphicColors::SKIN, 0xDCB48C);
        m_colours.SetColor(CGraphicColors::TRIM, 0x285AA0);
    }
    std::shared_ptr<CGraphic> Actor(const std::string& name, const std::vector<GraphicOverride>* overrides = nullptr) {
        return std::make_shared<CGraphic>(m_context, DRAVCommon::DFK_ACTOR, name, DRAVCommon::DFK_ITEM, overrides,
                                          &m_figures, &m_colours);
    }
    // Draws one frame of `graphic` playing `animation` and gives the number of draws.
    std::size_t DrawFrame(const CGraphic& graphic, const std::string& animation = "default") {
        const std::size_t before = m_device->Draws().size();
        const D3DMATRIX world = Mat4Identity();
        const D3DVECTOR view{0, -1, 0};
        m_device->BeginScene();
        graphic.Render({&m_xp, &m_billboards, &world, &view}, animation, 1, 0.4, 0.4);
        m_device->EndScene();
        return m_device->Draws().size() - before;
    }

    D3DPtr<D3D9Layer::CRecordingDevice> m_device = D3D9Layer::CRecordingDevice::Create(64, 64);
    DRAVCommon::CXPDevice m_xp{m_device.get()};
    std::shared_ptr<QuillmereTest::OverlaySource> m_source =
        std::make_shared<QuillmereTest::OverlaySource>(QuillmereTest::SampleFolderSource());
    CBillboardRenderer m_billboards{&m_xp, *m_source};
    GraphicLoadContext m_context{&m_xp, m_source.get(), &m_billboards};
    CFigureCache m_figures;
    CGraphicColors m_colours;
};

TEST_F(SampleGraphicsTest, EveryGraphicOfTheChaptersLoadsAndDrawsAFrame) {
    const ChapterGraphics chapter = GraphicsOfTheChapters(std::make_shared<CGraphicColors>(m_colours));
    // Every graphic the rules name has its file (the items' with the wand and potion
    // every actor may show); no object, item or tile file is left unused. A global
    // person the chapter replaces keeps its file for other chapters.
    const auto files = [](const std::string& kind) {
        const auto names = GraphicNames(kind);
        return std::set<std::string>(names.begin(), names.end());
    };
    const std::set<std::string> actorFiles = files("actor");
    for (const auto& [name, colours] : chapter.actors) EXPECT_EQ(actorFiles.count(name), 1u) << name;
    std::set<std::string> items = chapter.items;
    items.insert({"v_autowand1", "v_autopotion1"});
    EXPECT_EQ(files("item"), items);
    EXPECT_EQ(files("object"), chapter.objects);
    EXPECT_EQ(files("tile"), chapter.tiles);

    // People with the colours they are drawn with: a file that names a colour of the
    // set is drawn only for those who have one; a file no one here uses, with none.
    std::map<std::string, std::shared_ptr<CGraphicColors>> people = chapter.actors;
    for (const std::string& name : actorFiles) people.emplace(name, nullptr);
    for (const auto& [name, colours] : people) {
        CGraphic actor(m_context, DRAVCommon::DFK_ACTOR, name, DRAVCommon::DFK_ITEM, nullptr, &m_figures, colours.get());
        for (const char* animation : {"default", "move", "attack", "cast", "death", "fidget"})
            EXPECT_GT(DrawFrame(actor, animation), 0u) << name << " " << animation;
    }
    // Every item lies over a person (shown casting, when the wand and potion are
    // placed too); the figure is read once for all of them.
    for (const std::string& name : items) {
        std::vector<GraphicOverride> overrides{{name, false}};
        EXPECT_GT(DrawFrame(*Actor("bare", &overrides), "cast"), 0u) << name;
    }
    EXPECT_EQ(m_figures.size(), 2u);
    for (const std::string& name : chapter.objects) {
        CGraphic graphic(m_context, DRAVCommon::DFK_OBJECT, name, DRAVCommon::DFK_OBJECT, nullptr, nullptr, nullptr);
        EXPECT_GT(DrawFrame(graphic), 0u) << name;
    }
    for (const std::string& name : chapter.tiles) {
        std::vector<std::shared_ptr<CGraphic>> cells;
        LoadTileGraphics(m_context, name, cells);
        ASSERT_FALSE(cells.empty()) << name;
        for (const auto& cell : cells) {
            EXPECT_GT(DrawFrame(*cell, "open"), 0u) << cell->GetName();
            std::uint32_t count = 0;
            EXPECT_TRUE(cell->GetTree()->CountModels(count)) << cell->GetName();
        }
    }
}

TEST_F(SampleGraphicsTest, PeopleBorrowAndTakeTurnsAtTheirActions) {
    std::vector<GraphicOverride> overrides{{"i_longsword", false}, {"i_dagger", true}, {"v_autopotion1", false}};
    auto ferryman = Actor("m_ferryman", &overrides);
    CGraphicTree& tree = *ferryman->GetTree();
    ASSERT_NE(tree.FindNode("offhand"), nullptr);
    EXPECT_EQ(tree.FindNode("offhand")->GetModels().size(), 1u);
    EXPECT_EQ(tree.FindNode("weapon")->GetModels().size(), 1u);
    EXPECT_TRUE(ferryman->HasTransparentModel());  // the potion

    const CAnimationFinder& poses = *ferryman->GetPoses();
    EXPECT_EQ(poses.Find("attack", 4), poses.GetAnimations()->at("_attack2").get());
    EXPECT_EQ(poses.Find("drink", 0), poses.GetAnimations()->at("cast").get());
    EXPECT_DOUBLE_EQ(poses.GetAnimations()->at("move").get()->GetLength(), 0.8);
    // The potion shows only while casting: fewer draws standing than raising it.
    EXPECT_LT(DrawFrame(*ferryman, "default"), DrawFrame(*ferryman, "drink"));
}

// The room a figure takes as drawn comes from its meshes, placed by the pose and the world.
TEST_F(SampleGraphicsTest, AFiguresDrawnBoundsFollowItsPoseAndItsPlace) {
    auto ferryman = Actor("m_ferryman");
    BoundingBox standing, placed;
    ASSERT_TRUE(ferryman->GetDrawnBounds("default", 0, 0.0, Mat4Identity(), standing));
    EXPECT_NEAR(standing.low[1], 0.0, 0.05) << "on the ground";
    EXPECT_GT(standing.high[1], 1.7);
    EXPECT_LT(standing.high[1], 2.1) << "a man's height, not the rules' size";
    EXPECT_LT(standing.high[0] - standing.low[0], 1.2);
    // An animation no figure knows stands in "default"; the world moves the box along.
    D3DMATRIX world = Mat4Identity();
    world._41 = 10.0f;
    world._43 = 5.0f;
    ASSERT_TRUE(ferryman->GetDrawnBounds("juggle", 0, 0.0, world, placed));
    for (int axis = 0; axis < 3; ++axis) {
        const float shift = axis == 0 ? 10.0f : axis == 2 ? 5.0f : 0.0f;
        EXPECT_NEAR(placed.low[axis], standing.low[axis] + shift, 1e-4) << axis;
        EXPECT_NEAR(placed.high[axis], standing.high[axis] + shift, 1e-4) << axis;
    }
    // A spirit rises as it flares and sinks below the ground at the end of its death.
    CGraphic wisp(m_context, DRAVCommon::DFK_ACTOR, "m_wisp", DRAVCommon::DFK_ITEM, nullptr, &m_figures, nullptr);
    BoundingBox resting, flaring, gone;
    ASSERT_TRUE(wisp.GetDrawnBounds("default", 0, 0.0, Mat4Identity(), resting));
    ASSERT_TRUE(wisp.GetDrawnBounds("flare", 0, 0.0, Mat4Identity(), flaring));
    ASSERT_TRUE(wisp.GetDrawnBounds("gone", 0, 0.0, Mat4Identity(), gone));
    EXPECT_GT(flaring.high[1] - resting.high[1], 0.55) << "the core rises 0.6";
    EXPECT_LT(gone.high[1], 0.0f);
}

}  // namespace
