// The graphics manager on the recording device with the sample game: what a frame
// sets and draws (merged floors, doors, moving water, lights), the running effects,
// the device reset, and picking against the last frame.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>
#include <set>

#include "common/random.h"
#include "graphics/graphic.h"
#include "graphics/particles/billboard_effect.h"
#include "graphics/particles/billboard_renderer.h"
#include "graphics/scene/graphic_concat.h"
#include "graphics/scene_support.h"
#include "graphics/world_capture_device.h"
#include "rules/magic/spell.h"
#include "rules/monsters/actor_template.h"
#include "support/expect_drav.h"
#include "world/effect.h"
#include "world/master_tile.h"
#include "world/tile.h"

namespace {

using namespace DRAVGraph;
using QuillmereTest::PixelOf;
using QuillmereTest::SeeEverything;

constexpr int kWidth = 1024, kHeight = 768;

class SceneManagerTest : public ::testing::Test {
protected:
    SceneManagerTest() : m_device(QuillmereTest::WorldCaptureDevice::Create(kWidth, kHeight)), m_xp(m_device.get()) {
        m_manager.SetDataFileFactory(QuillmereTest::SampleFolderSource());
        m_camera.viewport = &m_viewport;
        m_camera.lookAt = m_lookAt;
    }

    void Init() { ASSERT_EQ(m_manager.Init(&m_xp, m_game.Game(), m_game.Module()), &m_manager); }
    void LookAt(float x, float z) {
        m_lookAt[0] = x;
        m_lookAt[2] = z;
    }
    void Frame() {
        m_device->ClearRecord();
        m_device->worlds.clear();
        m_device->textureShifts.clear();
        m_device->BeginScene();
        m_manager.RenderScene(&m_xp, m_game.Game(), m_camera);
        m_device->EndScene();
    }
    // Draws made under a world transform that puts the model's origin at (x, z).
    std::size_t DrawsAt(float x, float z) const {
        return std::count_if(m_device->worlds.begin(), m_device->worlds.end(), [&](const D3DMATRIX& w) {
            return std::fabs(w._41 - x) < 1e-3f && std::fabs(w._43 - z) < 1e-3f && std::fabs(w._42) < 1e-3f;
        });
    }
    // The thing picked at the pixel of world point (x, y, z).
    PickKind PickAt(double x, double y, double z, DRAV::CThing*& thing, bool& nearExit, bool signs = false) {
        const auto [px, py] = PixelOf(m_manager, kWidth, kHeight, x, y, z);
        PickKind kind = PICK_NOTHING;
        m_manager.PickAtScreen(&m_xp, px, py, m_game.Area(), kind, thing, nearExit, signs);
        return kind;
    }

    QuillmereTest::SampleGame m_game;
    D3DPtr<QuillmereTest::WorldCaptureDevice> m_device;
    DRAVCommon::CXPDevice m_xp;
    CGraphicsManager m_manager;
    RECT m_viewport{0, 0, kWidth, kHeight};
    float m_lookAt[3] = {12.5f, 0.0f, 7.5f};
    CCamera m_camera;
};

TEST_F(SceneManagerTest, AFloorOfOneStaticGraphicIsOneDrawPerMeshPart) {
    DRAV::CArea& room = QuillmereTest::EnterRoom(m_game, 20, 20, true);
    SeeEverything(room);
    Init();
    LookAt(25.0f, 25.0f);
    Frame();
    // Every master tile shares one merge group, drawn once under the identity.
    std::set<const CGraphicConcat*> groups;
    for (const auto& master : room.GetMasterTiles()) groups.insert(master->GetSecondGraphic().get());
    ASSERT_EQ(groups.size(), 1u);
    ASSERT_NE(*groups.begin(), nullptr);
    const std::size_t parts = (*groups.begin())->GetMergedModels().at(0)->GetMesh()->GetParts().size();
    std::size_t floorDraws = 0;
    for (const auto& draw : m_device->Draws()) floorDraws += draw.vertexCount == 400 * 4 ? 1 : 0;
    EXPECT_EQ(floorDraws, parts);
    EXPECT_EQ(m_manager.GetFrameCounter(), 1u);
}

TEST_F(SceneManagerTest, DoorsAndMovingWaterAreDrawnOncePerFrameEachInTheirOwnTime) {
    DRAV::CArea& area = m_game.Area();
    SeeEverything(area);
    Init();
    Frame();
    // The slipway's doors span two cells at (11, 6) and (12, 6) but are drawn once.
    DRAV::CMasterTile* doors = area.GetTile(11, 6)->GetMaster();
    ASSERT_EQ(doors, area.GetTile(12, 6)->GetMaster());
    EXPECT_EQ(doors->GetSecondGraphic(), nullptr);
    const std::shared_ptr<CGraphic> doorGraphic = doors->GetGraphic().graphic;
    ASSERT_NE(doorGraphic, nullptr);
    D3DMATRIX world;
    m_manager.GetMasterTileTransform(world, *doors);
    const std::size_t doorDraws = DrawsAt(world._41, world._43);
    EXPECT_GT(doorDraws, 0u);
    Frame();
    EXPECT_EQ(DrawsAt(world._41, world._43), doorDraws);

    // Each water cell is its own tile, drawn on its own; the texture scroll shows each
    // runs in a time of its own.
    std::set<float> shifts;
    for (std::uint32_t column : {1u, 2u, 3u}) {
        DRAV::CMasterTile* water = area.GetTile(column, 0)->GetMaster();
        EXPECT_EQ(water->GetSecondGraphic(), nullptr);
        m_manager.GetMasterTileTransform(world, *water);
        for (std::size_t i = 0; i < m_device->worlds.size(); ++i)
            if (std::fabs(m_device->worlds[i]._41 - world._41) < 1e-3f &&
                std::fabs(m_device->worlds[i]._43 - world._43) < 1e-3f)
                shifts.insert(m_device->textureShifts[i]);
    }
    EXPECT_EQ(shifts.size(), 3u);
}

TEST_F(SceneManagerTest, AMasterTileWithNoSeenCellHasNoGraphicUntilARebuildAfterItIsSeen) {
    DRAV::CArea& area = m_game.Area();
    area.GetSeenCells().Clear();
    Init();
    for (const auto& master : area.GetMasterTiles()) EXPECT_EQ(master->GetGraphic().graphic, nullptr);
    Frame();
    SeeEverything(area);
    m_manager.BuildAreaGraphics(&m_xp, area);
    for (const auto& master : area.GetMasterTiles()) EXPECT_NE(master->GetGraphic().graphic, nullptr);
}

TEST_F(SceneManagerTest, ASeenCellThatNoTileCoversIsSkipped) {
    DRAV::CArea& room = QuillmereTest::EnterRoom(m_game, 8, 8, true);
    SeeEverything(room);
    Init();
    room.GetTile(3, 3)->SetMaster(nullptr);
    LookAt(8.75f, 8.75f);
    EXPECT_NO_THROW(Frame());
    bool nearExit = false;
    DRAV::CThing* thing = nullptr;
    EXPECT_EQ(PickAt(8.75, 0, 8.75, thing, nearExit), PICK_NOTHING);
}

TEST_F(SceneManagerTest, IndoorsAWarmPointLightHangsAboveTheLookAtPoint) {
    DRAV::CArea& room = QuillmereTest::EnterRoom(m_game, 8, 8, false);
    SeeEverything(room);
    Init();
    LookAt(10.0f, 7.5f);
    Frame();
    EXPECT_EQ(m_device->RenderState(D3DRS_AMBIENT), 0xFF4C4C7Fu);
    D3DLIGHT9 light{};
    ASSERT_EQ(m_device->GetLight(0, &light), D3D_OK);
    EXPECT_EQ(light.Type, D3DLIGHT_POINT);
    EXPECT_FLOAT_EQ(light.Position.x, 10.0f);
    EXPECT_FLOAT_EQ(light.Position.y, 50.0f);
    EXPECT_FLOAT_EQ(light.Position.z, 7.5f);
    BOOL on = 0;
    m_device->GetLightEnable(0, &on);
    EXPECT_TRUE(on);
    m_device->GetLightEnable(1, &on);
    EXPECT_FALSE(on);
}

TEST_F(SceneManagerTest, OutdoorsTheSunAtNoonAndTheMoonAtThree) {
    DRAV::CArea& room = QuillmereTest::EnterRoom(m_game, 8, 8, true);
    SeeEverything(room);
    Init();
    // The first tick of the calendar at that hour.
    const auto tickAt = [&](std::uint32_t wanted) {
        std::uint32_t tick = m_game.Game().GetTick();
        for (;; tick += 30 * 60) {
            std::uint32_t y, mo, d, hour, minute, second;
            m_game.Game().GetCalendarTime(tick, y, mo, d, hour, minute, second);
            if (hour == wanted && minute == 0) return tick - second * 30;
        }
    };
    struct Hour {
        std::uint32_t hour;
        D3DVECTOR direction;
        D3DCOLORVALUE diffuse;
    };
    const float r = std::sqrt(0.5f);
    for (const Hour& h : {Hour{12, {0, -1, 0}, {0.5f, 0.5f, 0.5f, 0}}, Hour{3, {r, -r, 0}, {0, 0, 0.5f, 0}}}) {
        SCOPED_TRACE(h.hour);
        m_game.Game().SetTick(tickAt(h.hour));
        Frame();
        EXPECT_EQ(m_device->RenderState(D3DRS_AMBIENT), 0xFF7F7F7Fu);
        D3DLIGHT9 light{};
        m_device->GetLight(0, &light);
        EXPECT_EQ(light.Type, D3DLIGHT_DIRECTIONAL);
        EXPECT_NEAR(light.Direction.x, h.direction.x, 1e-5f);
        EXPECT_NEAR(light.Direction.y, h.direction.y, 1e-5f);
        EXPECT_NEAR(light.Direction.z, h.direction.z, 1e-5f);
        EXPECT_FLOAT_EQ(light.Diffuse.g, h.diffuse.g);
        EXPECT_FLOAT_EQ(light.Diffuse.b, h.diffuse.b);
    }
}

// Every monster of the chapter gets its look with the wand and potion it may
// raise; a figure that cannot hold them must say so with its flag, or the area it
// stands in could not be shown.
TEST_F(SceneManagerTest, EveryMonsterOfTheChapterIsDrawnWithWhatItMayRaise) {
    Init();
    for (const auto& [key, definition] : m_game.Module().GetMonsterTemplates()) {
        std::shared_ptr<DRAV::CActor> actor;
        m_game.Module().CreateActor(actor, &m_game.Game(), key, "", 0);
        ASSERT_TRUE(actor) << key;
        EXPECT_NO_THROW(m_manager.LoadActorGraphics(&m_xp, *actor)) << key;
    }
}

TEST_F(SceneManagerTest, WithThreeLightSlotsTheTwoNearestLitObjectsWithinAHundredUnitsGetThem) {
    DRAV::CArea& area = m_game.Area();
    SeeEverything(area);
    Init();
    D3DCAPS9 caps{4096, 4096, 8, 8, 0xFFFFF, 0xFFFFFF};
    caps.MaxActiveLights = 3;
    m_device->SetCaps(caps);
    // The landing's four lit objects: the lamp, the torch and the lamps of the marsh
    // exit and the river road.
    std::vector<DRAV::CObject*> lit;
    for (const auto& object : area.GetObjects())
        if (object->GetGraphic().graphic && object->GetGraphic().graphic->GetLight() && area.IsObjectSeen(*object))
            lit.push_back(object.get());
    ASSERT_EQ(lit.size(), 4u);
    LookAt(10.0f, -95.0f);
    lit[0]->SetPosition(10.0, 5.0);   // exactly 100 away: in
    lit[1]->SetPosition(10.0, 5.01);  // 100.01: out
    lit[2]->SetPosition(10.0, 0.0);   // 95: the nearest
    lit[3]->SetPosition(10.0, 400.0);  // far out
    Frame();
    D3DLIGHT9 light{};
    m_device->GetLight(1, &light);
    EXPECT_FLOAT_EQ(light.Position.z, 0.0f);
    m_device->GetLight(2, &light);
    EXPECT_FLOAT_EQ(light.Position.z, 5.0f);
    EXPECT_FLOAT_EQ(light.Position.y, static_cast<float>(lit[0]->GetGraphic().graphic->GetLight()->GetHeight()));
    BOOL on = 0;
    m_device->GetLightEnable(2, &on);
    EXPECT_TRUE(on);
    m_device->GetLightEnable(3, &on);
    EXPECT_FALSE(on);
}

// What is only shown (flickering lamps, particles) draws its own numbers: the dice
// of the rules roll the same however many frames a machine draws between ticks.
TEST_F(SceneManagerTest, FramesAndRunningEffectsLeaveTheRulesDiceAlone) {
    SeeEverything(m_game.Area());
    Init();
    m_manager.AddEffect(&m_xp, m_game.Game(), "warden_flare", nullptr, 18.75, 3.75);
    DRAVCommon::GetRandomEngine().seed(7);
    for (int frame = 0; frame < 5; ++frame) {
        m_game.Game().SetTick(m_game.Game().GetTick() + 1);
        m_manager.AdvanceEffects(&m_xp, m_game.Game());
        Frame();
    }
    ASSERT_FALSE(m_manager.GetBillboardRenderer()->GetParticles().empty());
    std::mt19937 untouched(7);
    EXPECT_EQ(DRAVCommon::GetRandomEngine()(), untouched());
}

TEST_F(SceneManagerTest, AnArrivingSpellRunsWhileItsEffectLastsThenBurstsAndGoes) {
    DRAV::CArea& area = m_game.Area();
    Init();
    const DRAV::CSpell& spell = *m_game.Module().GetSpells().at("ferry_blessing");
    auto flying = std::make_shared<DRAV::CEffectSpell>(0x04000077u, &area, spell.GetVisualName(),
                                                       spell.GetVisualParams().get(), m_game.Main()->GetId(), &spell);
    flying->SetPosition(area, 12.5, 7.5, 0.0);
    area.AddEffect(flying);
    // Travelling, it has no billboard effect.
    m_manager.AdvanceEffects(&m_xp, m_game.Game());
    EXPECT_TRUE(m_manager.GetRunningEffects().empty());

    flying->SetDone();
    for (int tick = 0; tick < 3; ++tick) {
        m_game.Game().SetTick(m_game.Game().GetTick() + 1);
        m_manager.AdvanceEffects(&m_xp, m_game.Game());
        ASSERT_EQ(m_manager.GetRunningEffects().count(0x04000077u), 1u);
    }
    EXPECT_EQ(m_manager.GetEffectTemplates().count("ferry_blessing"), 1u);

    area.RemoveEffect(*flying);
    m_game.Game().SetTick(m_game.Game().GetTick() + 1);
    m_manager.AdvanceEffects(&m_xp, m_game.Game());
    // The end burst is in the air; the effect stays until its particles have died.
    EXPECT_FALSE(m_manager.GetBillboardRenderer()->GetParticles().empty());
    EXPECT_EQ(m_manager.GetRunningEffects().size(), 1u);
    for (int tick = 0; tick < 30 * 20 && !m_manager.GetRunningEffects().empty(); ++tick) {
        m_game.Game().SetTick(m_game.Game().GetTick() + 1);
        m_manager.AdvanceEffects(&m_xp, m_game.Game());
    }
    EXPECT_TRUE(m_manager.GetRunningEffects().empty());
}

TEST_F(SceneManagerTest, AnArrivingMissileWithoutSpellRunsButSharesNoTemplate) {
    DRAV::CArea& area = m_game.Area();
    Init();
    auto arrow = std::make_shared<DRAV::CEffectAttack>(0x04000078u, &area, "", "arrow", m_game.Main()->GetId(), false,
                                                       DRAV::CAttackInfo{}, nullptr);
    arrow->SetPosition(area, 12.5, 7.5, 1.0);
    area.AddEffect(arrow);
    // Not a graphic file: the arrow flies unseen rather than failing the frame.
    EXPECT_NO_THROW(Frame());
    arrow->SetDone();
    m_manager.AdvanceEffects(&m_xp, m_game.Game());
    EXPECT_EQ(m_manager.GetRunningEffects().count(0x04000078u), 1u);
    EXPECT_TRUE(m_manager.GetEffectTemplates().empty());
}

TEST_F(SceneManagerTest, TwoEngineEffectsInOneTickBothRun) {
    Init();
    m_manager.AddEffect(&m_xp, m_game.Game(), "warden_flare", nullptr, 18.75, 3.75);
    m_manager.AddEffect(&m_xp, m_game.Game(), "warden_flare", nullptr, 10.0, 5.0);
    EXPECT_EQ(m_manager.GetRunningEffects().size(), 2u);
    m_game.Game().SetTick(m_game.Game().GetTick() + 1);
    m_manager.AdvanceEffects(&m_xp, m_game.Game());
    EXPECT_GT(m_manager.GetBillboardRenderer()->GetParticles().size(), 8u);
}

TEST_F(SceneManagerTest, NothingRunsOrDrawsBeforeInitOrAfterTheGraphicsAreCleared) {
    for (int phase = 0; phase < 2; ++phase) {
        SCOPED_TRACE(phase == 0 ? "before Init" : "after ClearAreaGraphics");
        m_manager.AddEffect(&m_xp, m_game.Game(), "warden_flare", nullptr, 18.75, 3.75);
        m_manager.AdvanceEffects(&m_xp, m_game.Game());
        EXPECT_TRUE(m_manager.GetRunningEffects().empty());
        Frame();
        EXPECT_TRUE(m_device->Draws().empty());
        Init();
        m_manager.ClearAreaGraphics(m_game.Game());
        for (const auto& master : m_game.Area().GetMasterTiles()) {
            EXPECT_EQ(master->GetGraphic().graphic, nullptr);
            EXPECT_EQ(master->GetSecondGraphic(), nullptr);
        }
        for (const auto& actor : m_game.Area().GetActors()) EXPECT_EQ(actor->GetModel(), nullptr);
    }
}

TEST_F(SceneManagerTest, ActorsLookingAlikeShareOneGraphic) {
    Init();
    auto first = m_game.Spawn("landing_trader", 8, 6);
    auto second = m_game.Spawn("landing_trader", 10, 6);
    ASSERT_TRUE(first && second);
    ASSERT_NE(second->GetColor(), nullptr);
    m_manager.LoadActorGraphics(&m_xp, *first);
    m_manager.LoadActorGraphics(&m_xp, *second);
    EXPECT_EQ(first->GetModel(), second->GetModel());
    // Another trim colour is another graphic.
    auto colours = std::make_shared<CGraphicColors>(*second->GetColor());
    colours->SetColor(CGraphicColors::TRIM, colours->GetColor(CGraphicColors::TRIM) ^ 0x010000u);
    std::shared_ptr<CGraphic> cached;
    GraphicOverrideList overrides{{"v_autowand1", false}, {"v_autopotion1", false}};
    std::string name;
    second->SetGraphic(name, nullptr);
    EXPECT_TRUE(m_manager.FindCachedGraphic(DRAVCommon::DFK_ACTOR, name, second->GetColor().get(), &overrides, cached));
    EXPECT_FALSE(m_manager.FindCachedGraphic(DRAVCommon::DFK_ACTOR, name, colours.get(), &overrides, cached));
    EXPECT_FALSE(m_manager.FindCachedGraphic(DRAVCommon::DFK_ACTOR, name, nullptr, &overrides, cached));
    GraphicOverrideList swapped{{"v_autopotion1", false}, {"v_autowand1", false}};
    EXPECT_TRUE(m_manager.FindCachedGraphic(DRAVCommon::DFK_ACTOR, name, second->GetColor().get(), &swapped, cached));

    // One who never uses wands or potions shows neither: another graphic.
    auto plain = m_game.Spawn("landing_trader", 12, 6);
    ASSERT_TRUE(plain);
    plain->SetMonsterFlags(plain->GetMonsterFlags() | DRAV::MONSTER_NOWANDPOTION);
    m_manager.LoadActorGraphics(&m_xp, *plain);
    EXPECT_NE(plain->GetModel(), first->GetModel());
    const GraphicOverrideList none;
    EXPECT_TRUE(m_manager.FindCachedGraphic(DRAVCommon::DFK_ACTOR, name, plain->GetColor().get(), &none, cached));
    EXPECT_EQ(cached, plain->GetModel());
}

TEST_F(SceneManagerTest, ALostDeviceMidSceneRecoversOnTheNextPaint) {
    SeeEverything(m_game.Area());
    Init();
    Frame();
    // The device is lost half-way through a frame: a draw fails, the frame is lost,
    // and Present reports it.
    m_device->FailCall("DrawIndexedPrimitive", D3DERR_DEVICELOST, 5, 1);
    m_device->BeginScene();
    EXPECT_DRAV_CODE(m_manager.RenderScene(&m_xp, m_game.Game(), m_camera), DRAV_ERR_DEVICE);
    m_device->EndScene();
    m_device->FailCall("Present", D3DERR_DEVICELOST);
    EXPECT_EQ(m_device->Present(nullptr, nullptr, nullptr, nullptr), D3DERR_DEVICELOST);
    ASSERT_TRUE(m_device->IsLost());

    // The next paint: release, reset, load again, draw.
    m_manager.ReleaseDeviceObjects(&m_xp, m_game.Game());
    EXPECT_EQ(m_device->LiveDefaultPoolObjects(), 0);
    D3DPRESENT_PARAMETERS parameters = D3D9Layer::WindowedParameters(kWidth, kHeight);
    ASSERT_EQ(m_device->Reset(&parameters), D3D_OK);
    Init();
    EXPECT_NO_THROW(Frame());
    EXPECT_FALSE(m_device->Draws().empty());
}

TEST_F(SceneManagerTest, SkyLayersAreTiledUnderTheCameraAndTooFineAOneIsLeftOut) {
    Init();
    const std::size_t drawnWithSky = [&] {
        Frame();
        return m_device->Draws().size();
    }();
    // The landing's layer: tiles of 120 over the square of about 480 units the eye's
    // view meets 40 units below the ground, each tile one draw.
    const auto sky = m_manager.GetSkyLayers().front();
    sky->size = 0.01;
    Frame();
    const std::size_t drawnWithout = m_device->Draws().size();
    EXPECT_GE(drawnWithSky - drawnWithout, 16u);
    EXPECT_LE(drawnWithSky - drawnWithout, 36u);
}

TEST_F(SceneManagerTest, ASkyTileOfNoSizeIsBadData) {
    for (double size : {0.0, -40.0}) {
        m_game.Area().GetSkies().front()->values[1] = size;
        EXPECT_DRAV_CODE(m_manager.Init(&m_xp, m_game.Game(), m_game.Module()), DRAV_ERR_BAD_DATA);
    }
}

// ---- picking on the default camera's frame ----

class PickingTest : public SceneManagerTest {
protected:
    PickingTest() {
        SeeEverything(m_game.Area());
        Init();
    }
};

TEST_F(PickingTest, NothingIsPickedBeforeTheFirstFrame) {
    PickKind kind = PICK_TILE;
    DRAV::CThing* thing = nullptr;
    bool nearExit = true;
    m_manager.PickAtScreen(&m_xp, 512, 384, m_game.Area(), kind, thing, nearExit, true);
    EXPECT_EQ(kind, PICK_NOTHING);
    EXPECT_EQ(thing, nullptr);
    float x = 0, z = 0;
    EXPECT_FALSE(m_manager.ScreenToWorld(&m_xp, 512, 384, x, z));
}

TEST_F(PickingTest, TheScreenCentreIsTheLookAtPointOnTheGround) {
    Frame();
    float x = 0, z = 0;
    ASSERT_TRUE(m_manager.ScreenToWorld(&m_xp, 512, 384, x, z));
    EXPECT_NEAR(x, 12.5f, 0.01f);
    EXPECT_NEAR(z, 7.5f, 0.01f);
}

TEST_F(PickingTest, ActorsThenActionableObjectsThenSeenCells) {
    Frame();
    DRAV::CThing* thing = nullptr;
    bool nearExit = false;
    const auto& main = *m_game.Main();
    const double middle = (main.GetSecondSize() + 0.5 * main.GetRadius() - 0.5 * main.GetRadius()) / 2;
    EXPECT_EQ(PickAt(main.GetX(), middle, main.GetY(), thing, nearExit), PICK_ACTOR);
    EXPECT_EQ(thing, &main);

    // A bare cell of the landing's path: (5, 5).
    EXPECT_EQ(PickAt(5 * 2.5 + 1.25, 0, 5 * 2.5 + 1.25, thing, nearExit), PICK_TILE);
    EXPECT_EQ(thing->GetId(), 0x01000000u + 5 * 1000 + 5);

    // The fountain is no container, has no talk and is no exit: the tile beneath it.
    const DRAV::CObject* fountain = nullptr;
    for (const auto& object : m_game.Area().GetObjects())
        if (object->GetTemplate().GetKey() == "landing_fountain") fountain = object.get();
    ASSERT_NE(fountain, nullptr);
    EXPECT_EQ(PickAt(fountain->GetX(), 0, fountain->GetY(), thing, nearExit), PICK_TILE);
    const std::uint32_t column = static_cast<std::uint32_t>(fountain->GetX() / 2.5);
    const std::uint32_t row = static_cast<std::uint32_t>(fountain->GetY() / 2.5);
    EXPECT_EQ(thing->GetId(), 0x01000000u + row * 1000 + column);

    // The tackle chest is a container.
    const DRAV::CObject* chest = m_game.Area().FindObjectAt("tackle_chest", 9, 7);
    ASSERT_NE(chest, nullptr);
    EXPECT_EQ(PickAt(chest->GetX(), 0.5, chest->GetY(), thing, nearExit), PICK_OBJECT);
    EXPECT_EQ(thing, chest);
}

TEST_F(PickingTest, GroundNorthOfTheGridIsNoCellAndAnExitIsNearBelowTwentyUnits) {
    LookAt(2.5f, 15.0f);
    Frame();
    DRAV::CThing* thing = nullptr;
    bool nearExit = false;
    // North of the river, where nothing stands in the line of sight.
    EXPECT_EQ(PickAt(3.75, 0, -1.0, thing, nearExit), PICK_NOTHING);
    EXPECT_EQ(PickAt(3.75, 0, 0.5, thing, nearExit), PICK_TILE);

    // Move the marsh exit just beyond and just within 20 units of the picked point of
    // the lane; a tile standing in the way, the net rack, is no way out wherever it is.
    const auto [rx, ry] = PixelOf(m_manager, kWidth, kHeight, 8.75, 0, 16.25);
    const auto [px, py] = PixelOf(m_manager, kWidth, kHeight, 13.75, 0, 16.25);
    float gx = 0, gz = 0;
    ASSERT_TRUE(m_manager.ScreenToWorld(&m_xp, px, py, gx, gz));
    auto exit = m_game.Area().GetExits().front();
    PickKind kind = PICK_NOTHING;
    for (auto [offset, expected] : {std::pair{20.001, false}, std::pair{19.999, true}}) {
        exit->x = gx + offset;
        exit->y = gz;
        m_manager.PickAtScreen(&m_xp, px, py, m_game.Area(), kind, thing, nearExit, false);
        EXPECT_EQ(kind, PICK_TILE);
        EXPECT_EQ(nearExit, expected) << offset;
    }
    exit->x = 8.75;
    exit->y = 16.25;
    m_manager.PickAtScreen(&m_xp, rx, ry, m_game.Area(), kind, thing, nearExit, false);
    ASSERT_EQ(kind, PICK_TILE);
    EXPECT_EQ(static_cast<DRAV::CTile*>(thing)->GetMaster()->GetDefinition().GetName(), "Net Rack");
    EXPECT_FALSE(nearExit);
}

TEST_F(PickingTest, AClosedDoorTakesOnlyTheClicksItsLeafCovers) {
    LookAt(22.5f, 15.0f);
    Frame();
    DRAV::CThing* thing = nullptr;
    bool nearExit = false;
    const auto tileId = [](std::uint32_t column, std::uint32_t row) { return 0x01000000u + row * 1000 + column; };
    // The closed boathouse door, cell (10, 8): its leaf, a man's height above its ground.
    const DRAV::CTile* door = m_game.Area().GetTile(10, 8);
    ASSERT_TRUE(door && door->GetDoor() && !door->GetDoor()->IsOpen());
    EXPECT_EQ(PickAt(10 * 2.5 + 1.25, 1.0, 8 * 2.5 + 1.25, thing, nearExit), PICK_TILE);
    EXPECT_EQ(thing, door);
    // The lane north-west of it: the line of sight to its ground passes the door's cell
    // some six units up, far over the leaf.
    for (auto [column, row] : {std::pair{8u, 4u}, {8u, 5u}}) {
        EXPECT_EQ(PickAt(column * 2.5 + 1.25, 0, row * 2.5 + 1.25, thing, nearExit), PICK_TILE);
        EXPECT_EQ(thing->GetId(), tileId(column, row)) << column << "," << row;
    }
}

// Whatever stands up from the ground takes the clicks on what is drawn of it, as a
// door's leaf does: the faces of the tall reeds closing the landing on the west, on
// either side of the gap the lane leaves by, whose line of sight meets the ground
// off the grid or in another cell beyond them, and the net rack's, over the lane.
TEST_F(PickingTest, AWallOrARackTakesTheClicksOnItsFace) {
    struct Row {
        const char* name;
        std::uint32_t column, row;
        double x, y, z;  // a point of its face the view shows
    };
    const Row rows[] = {{"Reed Wall", 0, 7, 2.45, 2.0, 18.75},
                        {"Reed Wall", 0, 10, 2.45, 3.0, 26.25},
                        {"Net Rack", 2, 7, 6.25, 2.0, 19.95}};
    for (const Row& row : rows) {
        SCOPED_TRACE(std::string(row.name) + " at " + std::to_string(row.column) + "," + std::to_string(row.row));
        LookAt(static_cast<float>(row.x), static_cast<float>(row.z));
        Frame();
        const DRAV::CTile* standing = m_game.Area().GetTile(row.column, row.row);
        ASSERT_TRUE(standing && standing->GetMaster());
        ASSERT_EQ(standing->GetMaster()->GetDefinition().GetName(), row.name);
        DRAV::CThing* thing = nullptr;
        bool nearExit = false;
        ASSERT_EQ(PickAt(row.x, row.y, row.z, thing, nearExit), PICK_TILE);
        EXPECT_EQ(static_cast<DRAV::CTile*>(thing)->GetMaster(), standing->GetMaster());
    }
}

// A new hero in the middle of an open room, the view on her: her saved height is
// the 6.0 every new character gets, while her figure stands about 1.8 tall.
class ActorPickingTest : public SceneManagerTest {
protected:
    ActorPickingTest() : m_room(QuillmereTest::EnterRoom(m_game, 20, 20, true)), m_hero(*m_game.Main()) {
        SeeEverything(m_room);
        m_game.Engine().WizardMoveParty(10, 10);
        m_hero.SetPosition(26.25, 26.25);
        m_hero.SetFacing(0.0);
        // The look and colours chosen in the wizard.
        m_hero.SetGraphicName("head_f_ferry");
        auto colours = std::make_shared<CGraphicColors>();
        for (auto part : {CGraphicColors::HAIR, CGraphicColors::SKIN, CGraphicColors::TRIM}) colours->SetColor(part, 0x806040);
        m_hero.SetColor(colours);
        LookAt(26.25f, 26.25f);
        Init();
    }
    DRAV::CThing* PickedAt(double x, double y, double z) {
        DRAV::CThing* thing = nullptr;
        bool nearExit = false;
        return PickAt(x, y, z, thing, nearExit) == PICK_NOTHING ? nullptr : thing;
    }

    DRAV::CArea& m_room;
    DRAV::CActor& m_hero;
};

TEST_F(ActorPickingTest, AnActorIsPickedOnlyWhereItsFigureIsDrawn) {
    ASSERT_EQ(m_hero.GetSecondSize(), 6.0);
    Frame();
    const double x = m_hero.GetX(), z = m_hero.GetY();
    EXPECT_EQ(PickedAt(x, 0.9, z), &m_hero) << "her middle";
    // The ground one and one and a half cells behind her, seen past her shoulder.
    for (double behind : {2.5, 3.75}) {
        const DRAV::CThing* ground = PickedAt(x, 0.0, z - behind);
        ASSERT_NE(ground, nullptr) << behind;
        EXPECT_EQ(ground->GetId() >> 24, DRAV::THING_TILE) << behind << " behind";
    }
    // Over her head and beside her is ground too.
    EXPECT_NE(PickedAt(x, 2.6, z), &m_hero);
    EXPECT_NE(PickedAt(x + 1.2, 0.9, z), &m_hero);
}

TEST_F(ActorPickingTest, AFoeInFrontIsPickedOnlyOverItsOwnFigure) {
    // 1.8 units nearer the camera, on the line from the eye to the hero.
    const double x = m_hero.GetX(), z = m_hero.GetY();
    auto foe = m_game.Spawn("smuggler_lookout", 5, 5);
    ASSERT_NE(foe, nullptr);
    foe->SetPosition(x + 1.8 * 0.5, z + 1.8 * 0.8660254);
    foe->SetFacing(0.0);
    Frame();
    EXPECT_EQ(PickedAt(foe->GetX(), 0.9, foe->GetY()), foe.get());
    // The hero's body above the foe's head, across her width.
    for (double height : {1.0, 1.2, 1.4})
        for (double across : {-0.2, 0.0, 0.2}) EXPECT_EQ(PickedAt(x + across, height, z), &m_hero) << height << " " << across;
}

TEST_F(PickingTest, ARayAboveTheHorizonFindsNothing) {
    m_camera.pitch = 2.0f;
    Frame();
    float x = 0, z = 0;
    EXPECT_FALSE(m_manager.ScreenToWorld(&m_xp, 512, 0, x, z));
    PickKind kind = PICK_TILE;
    DRAV::CThing* thing = nullptr;
    bool nearExit = false;
    m_manager.PickAtScreen(&m_xp, 512, 0, m_game.Area(), kind, thing, nearExit, false);
    EXPECT_EQ(kind, PICK_NOTHING);
}

}  // namespace
