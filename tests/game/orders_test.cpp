#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <memory>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "app_test_access.h"
#include "common/random.h"
#include "engine/engine.h"
#include "game/app.h"
#include "game/dialogs/sheet/monster_dlg.h"
#include "rules/module.h"
#include "rules/magic/spell.h"
#include "rules/vocabulary/actor_class.h"
#include "rules/vocabulary/skill_id.h"
#include "rules/vocabulary/skills.h"
#include "rules/vocabulary/relation.h"
#include "support/sample_game.h"
#include "world/actor.h"
#include "world/area.h"
#include "world/cell.h"
#include "world/game.h"
#include "world/item.h"
#include "world/master_tile.h"
#include "world/object.h"
#include "world/order.h"
#include "world/tile.h"
#include "rules/definitions/tile_template.h"

namespace {

using namespace DRAV;

struct Spot {
    double x, z;
};

// The shell over a game of Wren and `companions` more members on open ground,
// the whole party selected.
class OrdersTest : public ::testing::Test {
protected:
    // `objects` stand on the open ground; with `stay` the party stays at the landing.
    void Start(int companions, const std::string& objects = "", bool stay = false) {
        for (int i = 0; i < companions; ++i) {
            std::shared_ptr<CActor> companion;
            m_game.Module().CreateActor(companion, &m_game.Game(), "ferryman_elder", "", 0);
            m_game.Game().AddPartyMember(companion);
            m_game.Area().PlaceActor(8, 6, false, companion);
        }
        if (!stay) m_game.EnterOpenArea(40, 20, objects);
        CDRAVAppTestAccess::SetEngine(m_app, m_game.EnginePtr());
        CDRAVAppTestAccess::StartPlaying(m_app);
        CDRAVAppTestAccess::SetSelectedMember(m_app, CDRAVApp::kWholeParty);
        m_app.UpdatePartyQuickActions(false);
    }
    std::vector<std::shared_ptr<CActor>> Party() const { return m_game.Game().GetParty(); }
    // Where each member's last queued move goes; (-1, -1) for none.
    std::vector<Spot> Destinations() const {
        std::vector<Spot> spots;
        for (const auto& member : Party()) {
            Spot spot{-1, -1};
            for (const auto& order : member->GetOrders())
                if (const auto* move = dynamic_cast<const CMoveOrder*>(order.get())) spot = {move->x, move->y};
            spots.push_back(spot);
        }
        return spots;
    }
    static void ExpectSpots(const std::vector<Spot>& actual, const std::vector<Spot>& expected) {
        ASSERT_EQ(actual.size(), expected.size());
        for (std::size_t i = 0; i < actual.size(); ++i) {
            EXPECT_NEAR(actual[i].x, expected[i].x, 1e-5) << "member " << i;
            EXPECT_NEAR(actual[i].z, expected[i].z, 1e-5) << "member " << i;
        }
    }
    // The members stand in a block whose centre is (17.5, 25), so a click at
    // (50, 25) heads along +x and "across" is along z.
    void StandInBlock() {
        const Spot spots[] = {{20, 22.5}, {20, 27.5}, {15, 22.5}, {15, 27.5}};
        std::size_t i = 0;
        double sumX = 0;
        for (const auto& member : Party()) member->SetPosition(spots[i].x, spots[i].z), sumX += spots[i++].x;
    }

    QuillmereTest::SampleGame m_game;
    CDRAVApp m_app;
};

TEST_F(OrdersTest, FourMembersMakeTwoRowsOfTwoWithTheClickInTheMiddleOfTheFrontRow) {
    Start(3);
    StandInBlock();
    ASSERT_TRUE(m_app.MoveSelectedTo(50.0f, 25.0f));
    ExpectSpots(Destinations(), {{50, 22.5}, {50, 27.5}, {45, 22.5}, {45, 27.5}});
}

TEST_F(OrdersTest, ThreeMembersPutTheThirdOnTheCentreLine) {
    Start(2);
    const Spot spots[] = {{20, 22.5}, {20, 27.5}, {12.5, 25}};
    for (std::size_t i = 0; i < 3; ++i) Party()[i]->SetPosition(spots[i].x, spots[i].z);
    ASSERT_TRUE(m_app.MoveSelectedTo(50.0f, 25.0f));
    ExpectSpots(Destinations(), {{50, 22.5}, {50, 27.5}, {45, 25}});
}

TEST_F(OrdersTest, TwoMembersQueueOneMoveEachAcrossTheLineAndAShiftClickPlansFromThere) {
    Start(1);
    Party()[0]->SetPosition(20, 22.5);
    Party()[1]->SetPosition(20, 27.5);
    ASSERT_TRUE(m_app.MoveSelectedTo(50.0f, 25.0f));
    ExpectSpots(Destinations(), {{50, 22.5}, {50, 27.5}});
    for (const auto& member : Party()) EXPECT_EQ(member->GetOrders().size(), 1u);

    // Planned from the queued (50, 25), not from (20, 25): the new line heads +z.
    ASSERT_TRUE(m_app.MoveSelectedTo(50.0f, 45.0f));
    ExpectSpots(Destinations(), {{52.5, 45}, {47.5, 45}});
    for (const auto& member : Party()) EXPECT_EQ(member->GetOrders().size(), 2u) << "appended";
}

TEST_F(OrdersTest, TheEdgeOfTheAreaShiftsTheFormationSidewaysButAnotherActorNeverBlocks) {
    Start(1);
    Party()[0]->SetPosition(20, 45);
    Party()[1]->SetPosition(20, 50);
    // Heading +x, +z is the -1 side: the spot at z 50 lies on the edge, so the
    // pair moves one half-spacing towards -z, the first shift tried.
    ASSERT_TRUE(m_app.MoveSelectedTo(50.0f, 47.5f));
    const std::vector<Spot> shifted = Destinations();
    EXPECT_NEAR(shifted[0].z + shifted[1].z, 2 * 45.0, 1e-5);
    // Near z 0 the +1 side is off the area too, and -1 is taken.
    for (const auto& member : Party()) member->CancelOrders();
    Party()[0]->SetPosition(20, 0);
    Party()[1]->SetPosition(20, 5);
    ASSERT_TRUE(m_app.MoveSelectedTo(50.0f, 2.5f));
    const std::vector<Spot> other = Destinations();
    EXPECT_NEAR(other[0].z + other[1].z, 2 * 5.0, 1e-5);

    for (const auto& member : Party()) member->CancelOrders();
    Party()[0]->SetPosition(20, 22.5);
    Party()[1]->SetPosition(20, 27.5);
    auto smuggler = m_game.Spawn("reed_smuggler", 20, 9);
    ASSERT_NE(smuggler, nullptr);
    smuggler->SetPosition(50, 22.5);
    CThing* blocker = nullptr;
    ASSERT_FALSE(m_game.Area().CanMoveTo(*Party()[0], &blocker, 50, 22.5)) << "the smuggler stands on the spot";
    ASSERT_TRUE(m_app.MoveSelectedTo(50.0f, 25.0f));
    ExpectSpots(Destinations(), {{50, 22.5}, {50, 27.5}});
}

TEST_F(OrdersTest, APickedActorGivesAttacksToAllOrOneMoveAndTalk) {
    Start(2);
    auto smuggler = m_game.Spawn("reed_smuggler", 20, 9);
    ASSERT_NE(smuggler, nullptr);
    Party()[2]->SetActionState(ACTION_DEAD);
    smuggler->SetRelation(RELATION_HOSTILE);
    EXPECT_TRUE(m_app.PerformAction(0, 3, smuggler.get(), POINT{0, 0}, true));
    EXPECT_EQ(Party()[0]->GetOrders().size(), 1u);
    EXPECT_EQ(Party()[1]->GetOrders().size(), 1u);
    EXPECT_TRUE(Party()[2]->GetOrders().empty()) << "the dead are not selected";
    EXPECT_NE(dynamic_cast<const CAttackOrder*>(Party()[1]->GetOrders().front().get()), nullptr);

    // Calmed, as a rest after a wipe-out calms the foe that felled the party, it
    // waits to fall on the party again and has nothing to say: ringed red, it is
    // the enemy the help's default action says a click attacks, never a page.
    CDRAVAppTestAccess::SetAudio(m_app, std::make_shared<CountingAudio>());
    for (const auto& member : Party()) member->CancelOrders();
    smuggler->SetRelation(RELATION_NEUTRAL);
    ASSERT_TRUE(smuggler->IsFoe());
    EXPECT_TRUE(m_app.PerformAction(0, 3, smuggler.get(), POINT{0, 0}, true));
    EXPECT_EQ(m_app.GetCurrentDialog(), nullptr);
    for (const auto& member : {Party()[0], Party()[1]}) {
        ASSERT_EQ(member->GetOrders().size(), 1u);
        EXPECT_EQ(member->GetOrders().front()->GetType(), ORDER_ATTACK);
        member->CancelOrders();
    }

    // One waiting so, with words for the party, is talked to.
    auto lookout = m_game.Spawn("hide_lookout", 20, 12);
    ASSERT_NE(lookout, nullptr);
    EXPECT_TRUE(m_app.PerformAction(0, 3, lookout.get(), POINT{0, 0}, true));
    ASSERT_EQ(Party()[0]->GetOrders().size(), 1u) << "replaced";
    EXPECT_NE(dynamic_cast<const CMoveTalkOrder*>(Party()[0]->GetOrders().front().get()), nullptr);
    EXPECT_TRUE(Party()[1]->GetOrders().empty());
}

TEST_F(OrdersTest, FKeysOnAPotionUseItAndRememberItInSlotThree) {
    Start(0);
    CDRAVAppTestAccess::SetSelectedMember(m_app, 0);
    CActor& wren = *m_game.Main();
    auto tonic = m_game.Module().CreateItem("river_tonic", 1, m_game.Game().NewThingId(5), 0);
    wren.AddToBackpack(tonic, false);
    m_app.ResetQuickActions(wren);
    ASSERT_EQ(m_app.GetQuickActionItem(wren, 4), "river_tonic");
    wren.PushOrder(std::make_shared<CMoveOrder>(10.0, 10.0), false);
    m_app.SelectQuickAction(wren, 4);
    EXPECT_TRUE(m_app.PerformQuickAction(wren, 4));
    ASSERT_EQ(wren.GetOrders().size(), 1u) << "running: the use replaces the walk";
    const auto* use = dynamic_cast<const CUseOrder*>(wren.GetOrders().front().get());
    ASSERT_NE(use, nullptr);
    EXPECT_EQ(use->thing, tonic->GetId());
    EXPECT_EQ(m_app.GetQuickActionKind(wren, 3), 10);
    EXPECT_EQ(m_app.GetQuickActionItem(wren, 3), "river_tonic");
    EXPECT_EQ(m_app.GetCurrentQuickAction(wren), CDRAVActorInfo::kNoSlot);

    CDRAVAppTestAccess::SetPaused(m_app, true);
    m_app.SelectQuickAction(wren, 4);
    EXPECT_TRUE(m_app.PerformQuickAction(wren, 4));
    EXPECT_EQ(wren.GetOrders().size(), 2u) << "paused: appended";
}

TEST_F(OrdersTest, AQuickActionTheModuleCannotDoIsClearedNotThrown) {
    Start(0);
    CDRAVAppTestAccess::SetSelectedMember(m_app, 0);
    CActor& wren = *m_game.Main();
    m_app.SetQuickActionKind(wren, 11, 6);
    m_app.SetQuickActionSpell(wren, "no_such_spell", 6);
    m_app.SelectQuickAction(wren, 6);
    EXPECT_FALSE(m_app.PerformQuickAction(wren, 6));
    ASSERT_FALSE(m_app.GetMessageLog().empty());
    EXPECT_EQ(m_app.GetMessageLog().back(), "Wren's action F7 cannot be done and is cleared.");
    EXPECT_EQ(m_app.GetQuickActionKind(wren, 6), 0);
    EXPECT_EQ(m_app.GetQuickActionSpell(wren, 6), "");

    m_app.SetQuickActionKind(wren, 11, 6);
    m_app.SetQuickActionSpell(wren, "no_such_spell", 6);
    m_app.SelectQuickAction(wren, 6);
    EXPECT_FALSE(m_app.PerformAction(11, 3, m_game.Main().get(), POINT{0, 0}, true));
    EXPECT_EQ(m_app.GetQuickActionKind(wren, 6), 0);
    EXPECT_TRUE(wren.GetOrders().empty());
}

TEST_F(OrdersTest, MovingAMemberReordersThePartyAndSelectsItAtItsNewPlace) {
    Start(2);
    const auto before = Party();
    m_app.MovePartyMember(0, 2);
    m_app.MovePartyMember(1, 1);
    m_app.MovePartyMember(5, 0);
    const auto after = Party();
    EXPECT_EQ(after[2], before[0]);
    EXPECT_EQ(m_app.GetSelectedMember(), 2u);
    EXPECT_EQ(m_app.GetSelectedActor(), before[0].get());
    EXPECT_EQ(m_app.GetQuickActionTable().size(), 3u);
}

TEST_F(OrdersTest, APowerIsSwitchedOnOnlyWithItsSchoolAndTheSameChoiceSwitchesItOffAtOnce) {
    Start(0);
    CDRAVAppTestAccess::SetSelectedMember(m_app, 0);
    CActor& wren = *m_game.Main();
    wren.SetEquipment(SLOT_WEAPON, m_game.Module().CreateItem("ferrymans_pole", 1, m_game.Game().NewThingId(5), 0));
    const CSpell& pole = *m_game.Module().GetSpells().at("s_power-steady_pole");
    wren.RemoveSkill(SKILL_STAFF);
    m_app.SetQuickActionKind(wren, 11, 5);
    m_app.SetQuickActionSpell(wren, pole.GetKey(), 5);
    m_app.SelectQuickAction(wren, 5);
    EXPECT_FALSE(m_app.TogglePower(wren, pole)) << "Wren has not learnt the staff";
    EXPECT_EQ(wren.GetCurrentPower(), nullptr);
    EXPECT_TRUE(wren.GetInstantOrders().empty());
    EXPECT_NE(m_app.GetQuickActionSpell(wren, 3), pole.GetKey());
    EXPECT_EQ(m_app.GetCurrentQuickAction(wren), CDRAVActorInfo::kNoSlot) << "refused as it is chosen";
    EXPECT_EQ(m_app.GetMessageLog().back(),
              "Wren can't cast " + pole.GetName() + ": Wren lacks " + GetSkillName(SKILL_STAFF) + ".");

    wren.AddSkill(SKILL_STAFF);
    EXPECT_TRUE(m_app.TogglePower(wren, pole));
    EXPECT_EQ(wren.GetCurrentPower(), &pole) << "the instant order ran at once";
    EXPECT_EQ(m_app.GetQuickActionKind(wren, 3), 11);
    EXPECT_EQ(m_app.GetQuickActionSpell(wren, 3), pole.GetKey());
    EXPECT_EQ(m_app.GetCurrentQuickAction(wren), CDRAVActorInfo::kNoSlot);
    EXPECT_TRUE(wren.GetOrders().empty()) << "no continuing order";

    // The same power again, even without its school any more, switches it off.
    wren.RemoveSkill(SKILL_STAFF);
    EXPECT_TRUE(m_app.TogglePower(wren, pole));
    EXPECT_EQ(wren.GetCurrentPower(), nullptr);
    EXPECT_EQ(m_app.GetQuickActionSpell(wren, 3), pole.GetKey());
}

TEST_F(OrdersTest, ObstaclesShiftTheWholeFormationSidewaysThenForwardThenBackBeforeTheMembersGoInFile) {
    // Chests on the spots of every candidate; taking them away one by one lets
    // each candidate through in turn, from the last tried to the first.
    const Spot chests[] = {{47.5, 22.5}, {52.5, 27.5}, {50, 25}, {50, 22.5}, {50, 20}, {50, 27.5}};
    std::string objects;
    for (const Spot& chest : chests)
        objects += "<object> tackle_chest ( " + std::to_string(chest.x) + " " + std::to_string(chest.z) + " ) n 0 </object> ";
    Start(1, objects);
    Party()[0]->SetPosition(20, 22.5);
    Party()[1]->SetPosition(20, 27.5);
    auto removeChestAt = [&](Spot spot) {
        for (const auto& object : m_game.Area().GetObjects())
            if (std::abs(object->GetX() - spot.x) < 1e-9 && std::abs(object->GetY() - spot.z) < 1e-9) {
                m_game.Area().RemoveObject(*object);
                return;
            }
        FAIL() << "no chest at " << spot.x << " " << spot.z;
    };
    auto moveAndClear = [&]() {
        const bool moved = m_app.MoveSelectedTo(50.0f, 25.0f);
        std::vector<Spot> spots = Destinations();
        for (const auto& member : Party()) member->CancelOrders();
        return moved ? spots : std::vector<Spot>{};
    };
    // Every candidate is blocked, the point clicked too: both go where there is room nearest it.
    const std::vector<Spot> nearest = moveAndClear();
    ASSERT_EQ(nearest.size(), 2u);
    for (std::size_t i = 0; i < nearest.size(); ++i) {
        EXPECT_LE(std::hypot(nearest[i].x - 50, nearest[i].z - 25), 5.0);
        EXPECT_TRUE(m_game.Area().CanMoveTo(*Party()[i], nullptr, nearest[i].x, nearest[i].z)) << "member " << i;
    }

    removeChestAt(chests[0]);
    ExpectSpots(moveAndClear(), {{47.5, 22.5}, {47.5, 27.5}});  // back
    removeChestAt(chests[1]);
    ExpectSpots(moveAndClear(), {{52.5, 22.5}, {52.5, 27.5}});  // forward
    removeChestAt(chests[2]);
    removeChestAt(chests[3]);
    ExpectSpots(moveAndClear(), {{50, 25}, {50, 30}});  // -1 side
    removeChestAt(chests[4]);
    ExpectSpots(moveAndClear(), {{50, 20}, {50, 25}});  // +1 side
    removeChestAt(chests[5]);
    ExpectSpots(moveAndClear(), {{50, 22.5}, {50, 27.5}});
}

// Chests round the clicked point leave no room for any shift of the formation,
// but the point itself is free: the member without room goes there, in file.
TEST_F(OrdersTest, AWayTooNarrowForTheFormationIsWalkedInFile) {
    std::string objects;
    for (const Spot& chest : {Spot{50, 22.5}, Spot{50, 20}, Spot{50, 30}, Spot{52.5, 27.5}, Spot{47.5, 22.5}})
        objects += "<object> tackle_chest ( " + std::to_string(chest.x) + " " + std::to_string(chest.z) + " ) n 0 </object> ";
    Start(1, objects);
    Party()[0]->SetPosition(20, 22.5);
    Party()[1]->SetPosition(20, 27.5);
    ASSERT_TRUE(m_app.MoveSelectedTo(50.0f, 25.0f));
    ExpectSpots(Destinations(), {{50, 25}, {50, 27.5}});
}

// The click on a door picks nobody to attack or talk to, so it ends that choice
// and is taken as a plain click.
TEST_F(OrdersTest, ADoorIsUsedByTheFirstMemberAloneEvenWhileSheChoosesWhomToAttack) {
    Start(2, "", true);
    DRAV::CArea& landing = m_game.Area();
    DRAV::CThing* door = nullptr;
    for (std::uint32_t row = 0; row < 12 && !door; ++row)
        for (std::uint32_t column = 0; column < 16 && !door; ++column)
            if (CTile* tile = landing.GetTile(column, row);
                tile && tile->GetMaster() && tile->GetMaster()->GetDefinition().GetKind() == TILE_DOOR)
                door = tile;
    ASSERT_NE(door, nullptr);
    CActor& wren = *Party()[0];
    const std::pair<const char*, int> choices[] = {
        {"a plain click", 0}, {"whom to attack", 2}, {"whom to talk to", 12}};
    for (const auto& [what, kind] : choices) {
        SCOPED_TRACE(what);
        for (const auto& member : Party()) member->CancelOrders();
        if (kind != 0) {
            CDRAVAppTestAccess::SetSelectedMember(m_app, 0);
            m_app.SetQuickActionKind(wren, kind, 6);
            m_app.SelectQuickAction(wren, 6);
        }
        EXPECT_TRUE(m_app.PerformAction(kind, 1, door, POINT{0, 0}, true));
        ASSERT_EQ(wren.GetOrders().size(), 1u);
        const auto* use = dynamic_cast<const CUseOrder*>(wren.GetOrders().front().get());
        ASSERT_NE(use, nullptr);
        EXPECT_EQ(use->kind, 1);
        EXPECT_EQ(use->thing, door->GetId());
        EXPECT_TRUE(Party()[1]->GetOrders().empty());
        EXPECT_TRUE(Party()[2]->GetOrders().empty());
        EXPECT_EQ(m_app.GetCurrentQuickAction(wren), CDRAVActorInfo::kNoSlot);
    }
}

// Out of a fight one return replaces the member's orders and a paused clock
// starts; in a fight, or with no room in the calendar for the walk, the clock, the
// orders and the fight stay as they were.
TEST_F(OrdersTest, RAndTheReturnButtonSendTheFirstSelectedMemberBackOrAreRefusedInAFight) {
    Start(1, "", true);
    CDRAVAppTestAccess::SetAudio(m_app, std::make_shared<CountingAudio>());
    auto goblin = m_game.Spawn("reed_goblin", 9, 6);
    ASSERT_NE(goblin, nullptr);
    const std::string inBattle = "You cannot return while in battle.";
    const std::string calendarEnd = "The walk back to the area entrance would take 1 minute, past the end of the "
                                    "game's calendar on " + m_game.Game().FormatDateTime(kLastPassedTick) + ".";
    struct Row {
        const char* name;
        std::function<void()> press;
        bool paused;
        bool inBattle;
        bool calendarEnd = false;
    };
    const std::function<void()> r = [&] { m_app.HandleMessage(WM_KEYDOWN, 'R', 0); };
    const std::function<void()> button = [&] { m_app.OnScreenButton(9); };
    const Row rows[] = {
        {"R, paused, in a fight", r, true, true},          {"the button, paused, in a fight", button, true, true},
        {"R, running, in a fight", r, false, true},        {"R, paused, no fight", r, true, false},
        {"the button, paused, no fight", button, true, false}, {"R, running, no fight", r, false, false},
        {"R, running, at the calendar's end", r, false, false, true},
    };
    const std::uint32_t tick = m_game.Game().GetTick();
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        // As the last tick before the press found it, with what it said read.
        m_game.Game().SetInBattle(row.inBattle);
        m_game.Game().SetTick(row.calendarEnd ? kLastPassedTick : tick);
        m_game.DrainEvents();
        for (const auto& member : Party()) member->CancelOrders();
        const auto fight = std::make_shared<CAttackOrder>(goblin->GetId());
        const auto walk = std::make_shared<CMoveOrder>(30.0, 30.0);
        Party()[0]->PushOrder(fight, false);
        Party()[1]->PushOrder(walk, false);
        if (m_app.IsPaused() != row.paused) m_app.TogglePause(true);
        const std::int32_t suspended = m_app.GetSuspendCount();
        const std::size_t lines = m_app.GetMessageLog().size();

        row.press();

        const auto orders = Party()[0]->GetOrders();
        ASSERT_EQ(orders.size(), 1u);
        ASSERT_EQ(Party()[1]->GetOrders().size(), 1u);
        EXPECT_EQ(Party()[1]->GetOrders().front(), walk) << "one order brings the party back";
        const auto& log = m_app.GetMessageLog();
        if (row.inBattle || row.calendarEnd) {
            EXPECT_EQ(orders.front(), fight) << "the fight goes on";
            EXPECT_EQ(m_app.IsPaused(), row.paused);
            EXPECT_EQ(m_app.GetSuspendCount(), suspended);
            ASSERT_EQ(log.size(), lines + 1);
            EXPECT_EQ(log.back(), row.inBattle ? inBattle : calendarEnd);
        } else {
            EXPECT_EQ(orders.front()->GetType(), ORDER_RETURN);
            EXPECT_FALSE(m_app.IsPaused());
            EXPECT_EQ(m_app.GetSuspendCount(), row.paused ? suspended - 1 : suspended);
            EXPECT_EQ(log.size(), lines);
        }
    }
}

// A click on ground nobody walks, or X that takes no way out, says why: what stands
// there, whatever its kind (water, a fence, a wall, a post, a rack), no way out near,
// none in the area, or one whose script refused without a word of its own.
TEST(RefusedOrders, AClickOnGroundNobodyWalksOrXTakingNoWayOutSaysWhy) {
    // The landing's one way out to the marsh, given a script.
    const auto refusing = [](const std::string& script) {
        return QuillmereTest::EditedSampleSource(DRAVCommon::DFK_CHAPTER, "reedwater_landing.drav", "landing ) </exit>",
                                                 "landing ) <lua> " + script + " </lua> </exit>");
    };
    const auto sample = QuillmereTest::SampleFolderSource();
    enum Where { kDock, kOpenGround, kAtTheMarshPath };
    const std::tuple<const char*, std::shared_ptr<DRAVCommon::CDataFileFactory>, Where, const char*> rows[] = {
        {"River Channel", sample, kDock, "Wren can't walk there: the River Channel is no place to walk."},
        {"Net Rack", sample, kDock, "Wren can't walk there: the Net Rack is no place to walk."},
        {"Reed Fence", sample, kDock, "Wren can't walk there: the Reed Fence is no place to walk."},
        {"Reed Wall", sample, kDock, "Wren can't walk there: the Reed Wall is no place to walk."},
        {"Boathouse Wall", sample, kDock, "Wren can't walk there: the Boathouse Wall is no place to walk."},
        {"Mooring Post", sample, kDock, "Wren can't walk there: the Mooring Post is no place to walk."},
        {nullptr, sample, kDock, "The party is not at a way out."},
        {nullptr, sample, kOpenGround, "There is no way out of Open Ground."},
        {nullptr, refusing("return false"), kAtTheMarshPath, "The way to the reed marsh is closed."},
        {nullptr, refusing("drav_message( context, \"Flooded.\" ) return false"), kAtTheMarshPath, "Flooded."}};
    for (const auto& [tileName, source, where, said] : rows) {
        QuillmereTest::SampleGame game(source);
        if (where == kOpenGround) game.EnterOpenArea(10, 10);
        if (where == kAtTheMarshPath) {
            game.Game().SetEntry({"reed_marsh", "landing"}, DRAV::AREA_LOAD_FRESH, "the reed marsh");
            game.Game().SetAvailableExitName("marsh_path");
            game.Game().SetStateCode(DRAV::GAME_EXIT_AVAILABLE);
        }
        CDRAVApp app;
        CDRAVAppTestAccess::SetEngine(app, game.EnginePtr());
        CDRAVAppTestAccess::StartPlaying(app);
        game.DrainEvents();
        CThing* tile = nullptr;
        for (std::uint32_t cell = 0; tileName && !tile && cell < game.Area().GetRows() * game.Area().GetColumns(); ++cell)
            if (CTile* at = game.Area().GetTile(cell % game.Area().GetColumns(), cell / game.Area().GetColumns());
                at && at->GetMaster() && at->GetMaster()->GetDefinition().GetName() == tileName)
                tile = at;
        if (tileName) EXPECT_FALSE(app.PerformAction(0, 1, tile, POINT{0, 0}, true)) << said;
        else app.HandleMessage(WM_KEYDOWN, 'X', 0);
        app.PumpEngineEvents();
        EXPECT_EQ(std::vector<std::string>(app.GetMessageLog().begin(), app.GetMessageLog().end()),
                  std::vector<std::string>{said});
    }
}

// Whoever the story posts stands clear of every way out: a click on the ground
// right beside them, on any side, walks there and never asks to leave.
TEST(PostsAndWayOuts, NobodyIsPostedWhereAClickBesideThemIsTakenForAWayOut) {
    const std::tuple<const char*, const char*, std::vector<std::string>> stages[] = {
        {"reedwater_landing", "dock", {"smugglers_seen", "hide_fought"}},  // the trail head's lookout posted
        {"reed_marsh", "landing", {}}};                                    // the hide's lookouts
    // A group's fellows stand round its spot at an angle the dice choose.
    for (const auto& [areaName, entry, tags] : stages)
        for (std::uint32_t seed = 1; seed <= 16; ++seed) {
            SCOPED_TRACE(std::string(areaName) + ", seed " + std::to_string(seed));
            DRAVCommon::GetRandomEngine().seed(seed);
            QuillmereTest::SampleGame game;
            for (const auto& tag : tags) game.Engine().SetTag(tag, true);
            game.Arrive(areaName, entry);
            CArea& area = game.Area();
            for (std::uint32_t cell = 0; cell < area.GetColumns() * area.GetRows(); ++cell)
                area.GetSeenCells().Set(cell % area.GetColumns(), cell / area.GetColumns(), true);
            CDRAVApp app;
            CDRAVAppTestAccess::SetEngine(app, game.EnginePtr());
            int posted = 0;
            for (const auto& actor : area.GetActors()) {
                if (actor->IsPartyMember() || actor->GetEncounterName().empty()) continue;
                ++posted;
                const double beside = actor->GetRadius() + kCellSize / 2;
                for (int step = 0; step < 8; ++step) {
                    const double x = actor->GetX() + beside * std::cos(step * M_PI / 4);
                    const double z = actor->GetY() + beside * std::sin(step * M_PI / 4);
                    EXPECT_EQ(app.WayOutBeside(x, z), nullptr) << actor->GetName() << " at (" << actor->GetX() << ", "
                                                               << actor->GetY() << "): a click at (" << x << ", " << z
                                                               << ") asks to leave";
                }
            }
            EXPECT_GT(posted, 3);
        }
}

TEST_F(OrdersTest, TargetedWandsAndSpellsWaitForAnActorAndAMissedClickKeepsEveryOrder) {
    Start(1);
    CDRAVAppTestAccess::SetSelectedMember(m_app, 0);
    CActor& wren = *m_game.Main();
    CActor& friendOfWren = *Party()[1];
    CThing& ground = *m_game.Area().GetTile(4, 4);
    wren.SetClass(CLASS_ROGUE);
    wren.AddSkill(SKILL_WANDS);
    wren.AddSkill(SKILL_SPIRIT_MAGIC);
    wren.AddSkill(SKILL_VOID_MAGIC);
    wren.SetBaseLevel(5);  // up to the tier of Call Marsh Wisp
    auto wand = m_game.Module().CreateItem("ferry_wand", 1, m_game.Game().NewThingId(5), 0);
    wren.AddToBackpack(wand, false);
    ASSERT_TRUE(wren.CanUseMagicItem(*wand, false));
    auto walking = [&] {
        wren.CancelOrders();
        wren.PushOrder(std::make_shared<CMoveOrder>(10.0, 10.0), false);
    };

    m_app.SetQuickActionKind(wren, 10, 6);
    m_app.SetQuickActionItem(wren, "ferry_wand", 6);
    m_app.SelectQuickAction(wren, 6);
    walking();
    EXPECT_FALSE(m_app.PerformQuickAction(wren, 6)) << "the wand waits for its target";
    EXPECT_EQ(m_app.GetCurrentQuickAction(wren), 6);
    EXPECT_FALSE(m_app.PerformAction(10, 1, &ground, POINT{0, 0}, true));
    ASSERT_EQ(wren.GetOrders().size(), 1u) << "a missed wand click keeps the walk";
    EXPECT_TRUE(m_app.PerformAction(10, 3, &friendOfWren, POINT{0, 0}, true));
    ASSERT_EQ(wren.GetOrders().size(), 1u);
    const auto* use = dynamic_cast<const CUseOrder*>(wren.GetOrders().front().get());
    ASSERT_NE(use, nullptr);
    EXPECT_EQ(use->kind, 5);
    EXPECT_EQ(use->thing, wand->GetId());
    EXPECT_EQ(use->target, friendOfWren.GetId());
    EXPECT_EQ(m_app.GetQuickActionItem(wren, 3), "ferry_wand");
    EXPECT_EQ(m_app.GetCurrentQuickAction(wren), CDRAVActorInfo::kNoSlot);

    m_app.SetQuickActionKind(wren, 11, 7);
    m_app.SetQuickActionSpell(wren, "still_the_spirit", 7);
    m_app.SelectQuickAction(wren, 7);
    ASSERT_EQ(m_app.GetCurrentQuickAction(wren), 7) << m_app.GetMessageLog().back();
    walking();
    EXPECT_FALSE(m_app.PerformQuickAction(wren, 7));
    EXPECT_EQ(wren.GetOrders().size(), 1u);
    EXPECT_FALSE(m_app.PerformAction(11, 1, &ground, POINT{0, 0}, true));
    EXPECT_EQ(wren.GetOrders().size(), 1u) << "a missed cast click keeps the walk, as a missed wand click does";
    EXPECT_EQ(m_app.GetCurrentQuickAction(wren), 7);
    EXPECT_TRUE(m_app.PerformAction(11, 3, &friendOfWren, POINT{0, 0}, true));
    ASSERT_EQ(wren.GetOrders().size(), 1u);
    const auto* cast = dynamic_cast<const CCastOrder*>(wren.GetOrders().front().get());
    ASSERT_NE(cast, nullptr);
    EXPECT_EQ(cast->spell, "still_the_spirit");
    EXPECT_EQ(cast->target, friendOfWren.GetId());
    EXPECT_EQ(m_app.GetQuickActionKind(wren, 3), 11);
    EXPECT_EQ(m_app.GetQuickActionSpell(wren, 3), "still_the_spirit");

    // One cast at a spot on the ground, clicked on a member or a foe, is cast at
    // the cell under them.
    auto goblin = m_game.Spawn("reed_goblin", 12, 9);
    ASSERT_NE(goblin, nullptr);
    for (const char* spell : {"call_wisp", "smugglers_smoke"}) {
        for (CActor* figure : {&friendOfWren, goblin.get()}) {
            m_app.SetQuickActionSpell(wren, spell, 7);
            m_app.SelectQuickAction(wren, 7);
            EXPECT_TRUE(m_app.PerformAction(11, 3, figure, POINT{0, 0}, true)) << spell;
            EXPECT_EQ(m_app.GetCurrentQuickAction(wren), CDRAVActorInfo::kNoSlot) << "no longer armed";
            const auto* cast = dynamic_cast<const CCastOrder*>(wren.GetOrders().front().get());
            ASSERT_TRUE(cast && wren.GetOrders().size() == 1u) << spell;
            EXPECT_EQ(cast->target, m_game.Area().GetTile(static_cast<std::uint32_t>(figure->GetX() / kCellSize),
                                                          static_cast<std::uint32_t>(figure->GetY() / kCellSize))->GetId());
        }
    }
}

}  // namespace

namespace {

// A wand or a spell waiting for its target, given while the clock runs: a click on
// a member's portrait aims it at her as a click on her figure would, and the fight
// the caster was told goes on after it; one that only a spot on the ground can
// take leaves the portrait to choose that member.
TEST_F(OrdersTest, AWaitingWandOrSpellTakesTheMemberOfAClickedPortraitAndTheFightGoesOnAfterIt) {
    Start(1);
    CDRAVAppTestAccess::SetAudio(m_app, std::make_shared<CountingAudio>());
    CDRAVAppTestAccess::SetSelectedMember(m_app, 0);
    CActor& wren = *m_game.Main();
    CActor& friendOfWren = *Party()[1];
    constexpr int kSecondPortrait = 105;
    wren.SetClass(CLASS_ROGUE);
    wren.AddSkill(SKILL_WANDS);
    wren.AddSkill(SKILL_VOID_MAGIC);
    wren.AddSkill(SKILL_SPIRIT_MAGIC);
    wren.SetBaseLevel(1);  // the tier of Still the Spirit
    auto wand = m_game.Module().CreateItem("ferry_wand", 1, m_game.Game().NewThingId(5), 0);
    wren.AddToBackpack(wand, false);
    auto goblin = m_game.Spawn("reed_goblin", 20, 9);
    ASSERT_NE(goblin, nullptr);
    const auto fight = std::make_shared<CAttackOrder>(goblin->GetId());
    const auto walk = std::make_shared<CMoveOrder>(10.0, 10.0);
    struct Armed {
        int kind;
        const char* name;
        bool takesAnActor;
    };
    for (const Armed& armed : {Armed{10, "ferry_wand", true}, Armed{11, "still_the_spirit", true},
                               Armed{11, "smugglers_smoke", false}}) {
        SCOPED_TRACE(armed.name);
        CDRAVAppTestAccess::SetSelectedMember(m_app, 0);
        wren.CancelOrders();
        wren.PushOrder(walk, false);
        wren.PushOrder(fight, false);
        m_app.SetQuickActionKind(wren, armed.kind, 6);
        if (armed.kind == 10) m_app.SetQuickActionItem(wren, armed.name, 6);
        else m_app.SetQuickActionSpell(wren, armed.name, 6);
        m_app.SelectQuickAction(wren, 6);
        EXPECT_FALSE(m_app.PerformQuickAction(wren, 6)) << "it waits for its target";

        m_app.OnScreenButton(kSecondPortrait);
        const auto orders = wren.GetOrders();
        if (!armed.takesAnActor) {
            EXPECT_EQ(m_app.GetSelectedMember(), 1u) << "the portrait chose its member";
            EXPECT_EQ(orders.size(), 2u);
            continue;
        }
        EXPECT_EQ(m_app.GetSelectedMember(), 0u);
        EXPECT_EQ(m_app.GetCurrentQuickAction(wren), CDRAVActorInfo::kNoSlot);
        ASSERT_EQ(orders.size(), 2u) << "the walk is replaced, the fight stays";
        const auto* use = dynamic_cast<const CUseOrder*>(orders.front().get());
        const auto* cast = dynamic_cast<const CCastOrder*>(orders.front().get());
        ASSERT_TRUE(armed.kind == 10 ? use != nullptr : cast != nullptr);
        EXPECT_EQ(use ? use->target : cast->target, friendOfWren.GetId());
        EXPECT_EQ(orders.back(), fight);
    }
}

}  // namespace
