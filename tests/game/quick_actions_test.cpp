#include <gtest/gtest.h>

#include "rules/vocabulary/skills.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app_test_access.h"
#include "running_game_support.h"
#include "common/data_file_reader.h"
#include "common/exception.h"
#include "engine/engine.h"
#include "game/app.h"
#include "game/quick_actions.h"
#include "rules/definitions/travel_map.h"
#include "rules/module.h"
#include "rules/vocabulary/skill_id.h"
#include "rules/vocabulary/skills.h"
#include "support/error_code.h"
#include "support/sample_game.h"
#include "world/actor.h"
#include "world/game.h"
#include "world/item.h"
#include "world/order.h"

namespace {

using QuillmereTest::SampleGame;

// Spells of one school told apart by their bonus alone: a higher bonus casts
// better, so it ranks higher.
std::vector<std::shared_ptr<DRAV::CSpell>> BonusSpells(const std::vector<int>& bonuses) {
    std::vector<std::shared_ptr<DRAV::CSpell>> spells;
    for (int bonus : bonuses) {
        const std::string text = "<spell> bonus_" + std::to_string(bonus) +
                                 " \"Bonus\" ( 1 2 3 ) \"For the slots.\" 0 spirit_magic <bonus> " +
                                 std::to_string(bonus) + " </bonus> 0 0 short </spell>";
        DRAVCommon::CDataFileReader reader(std::make_shared<std::istringstream>(text), "bonus.drav");
        spells.push_back(std::make_shared<DRAV::CSpell>(reader));
    }
    return spells;
}

void Give(const SampleGame& game, const std::string& key) {
    game.Main()->AddToBackpack(game.Module().CreateItem(key, 1, game.Game().NewThingId(5), 0), false);
}

std::vector<std::string> Slots(const CDRAVActorInfo& record) {
    std::vector<std::string> slots;
    for (int slot = 0; slot < CDRAVActorInfo::kSlots; ++slot)
        slots.push_back(std::to_string(record.m_kind[slot]) + ":" + record.m_item[slot] + record.m_spell[slot]);
    return slots;
}

class AutoFillTest : public ::testing::Test {
protected:
    AutoFillTest() {
        DRAV::CActor& wren = *m_game.Main();
        wren.AddSkill(DRAV::SKILL_SPIRIT_MAGIC);
        for (const auto& spell : m_spells) wren.AddSpell(*spell);
    }
    SampleGame m_game;
    std::vector<std::shared_ptr<DRAV::CSpell>> m_spells = BonusSpells({3, 7, 1, 8, 2, 6, 4, 5});
};

TEST_F(AutoFillTest, EightSpellsLeaveTheSixBestInSlotsFourToNineAndKeepTheFixedSlots) {
    CDRAVActorInfo record;
    record.m_current = 6;
    record.m_kind[3] = 11;
    record.AutoFill(*m_game.Main());
    EXPECT_EQ(Slots(record), (std::vector<std::string>{"2:", "12:", "20:", "0:", "11:bonus_8", "11:bonus_7", "11:bonus_6",
                                                       "11:bonus_5", "11:bonus_4", "11:bonus_3"}));
    EXPECT_EQ(record.m_current, 6) << "filling never changes the current slot";
}

TEST_F(AutoFillTest, PotionsComeFirstAndAWandOnlyWithTheWandsSkill) {
    Give(m_game, "ferry_wand");
    Give(m_game, "still_water_draught");
    Give(m_game, "river_tonic");
    CDRAVActorInfo record;
    record.AutoFill(*m_game.Main());
    EXPECT_EQ(Slots(record)[4], "10:river_tonic");
    EXPECT_EQ(Slots(record)[5], "10:still_water_draught");
    EXPECT_EQ(Slots(record)[6], "11:bonus_8") << "no wand without the skill";

    m_game.Main()->AddSkill(DRAV::SKILL_WANDS);
    record.AutoFill(*m_game.Main());
    EXPECT_EQ(Slots(record)[6], "10:ferry_wand");
    EXPECT_EQ(Slots(record)[9], "11:bonus_6");
}

TEST_F(AutoFillTest, UnreachableOrUnschooledSpellsAreLeftOutAndSpareSlotsEmptied) {
    SampleGame bare;
    CDRAVActorInfo record;
    record.m_kind[8] = 11;
    record.m_spell[8] = "gust";
    // Wren knows the spells but not their school.
    for (const auto& spell : m_spells) bare.Main()->AddSpell(*spell);
    record.AutoFill(*bare.Main());
    for (int slot = 3; slot < CDRAVActorInfo::kSlots; ++slot) EXPECT_EQ(record.m_kind[slot], 0) << slot;
}

TEST(QuickActionItems, AUseSlotWhoseItemIsGoneIsEmptiedAndSpellSlotsStay) {
    SampleGame game;
    Give(game, "river_tonic");
    CDRAVActorInfo record;
    record.m_kind = {2, 12, 20, 10, 10, 11, 0, 0, 0, 0};
    record.m_item[3] = "river_tonic";
    record.m_item[4] = "ferry_wand";
    record.m_spell[5] = "gust";
    record.DropMissingItems(*game.Main());
    EXPECT_EQ(Slots(record)[3], "10:river_tonic");
    EXPECT_EQ(Slots(record)[4], "0:");
    EXPECT_EQ(Slots(record)[5], "11:gust");
}

// The shell with a one-member game running and its records made.
class AppQuickActionTest : public ::testing::Test {
protected:
    AppQuickActionTest() {
        CDRAVAppTestAccess::SetEngine(m_app, m_game.EnginePtr());
        CDRAVAppTestAccess::StartPlaying(m_app);
        m_app.UpdatePartyQuickActions(false);
    }
    SampleGame m_game;
    CDRAVApp m_app;
};

TEST_F(AppQuickActionTest, SelectingSlotsFollowsTheActionPickerRules) {
    const DRAV::CActor& wren = *m_game.Main();
    // She can cast it: a spell she cannot is refused as it is chosen.
    m_game.Main()->AddSkill(DRAV::ParseSkill("energy_magic"));
    m_game.Main()->SetBaseLevel(5);
    m_app.SetQuickActionKind(wren, 11, 2);
    m_app.SetQuickActionSpell(wren, "gust", 2);
    m_app.SelectQuickAction(wren, 2);
    EXPECT_EQ(m_app.GetCurrentQuickActionKind(wren), 11) << "the picker's choice stays while slot 2 is chosen";

    m_app.SetQuickActionKind(wren, 12, 5);
    m_app.SelectQuickAction(wren, 5);
    EXPECT_EQ(m_app.GetQuickActionKind(wren, 2), 20);
    EXPECT_EQ(m_app.GetCurrentQuickAction(wren), 5);

    m_app.SelectQuickAction(wren, 7);
    EXPECT_EQ(m_app.GetCurrentQuickAction(wren), CDRAVActorInfo::kNoSlot) << "an empty slot leaves none";
    EXPECT_EQ(m_app.GetCurrentQuickActionKind(wren), 0);
    EXPECT_EQ(QuillmereTest::ErrorCodeOf([&] { m_app.SelectQuickAction(wren, 11); }), DRAV_ERR_UNEXPECTED);

    const DRAV::CActor stranger(m_game.Game().NewThingId(3));
    EXPECT_EQ(QuillmereTest::ErrorCodeOf([&] { m_app.GetCurrentQuickAction(stranger); }), DRAV_ERR_UNEXPECTED);
}

// However the last of a potion leaves its member, sold or dropped, its use slot goes with it.
TEST_F(AppQuickActionTest, APotionThatLeavesTheMemberLeavesNoUseSlotBehind) {
    DRAV::CActor& wren = *m_game.Main();
    const auto tansy = m_game.Spawn("landing_trader", 3, 2);
    ASSERT_TRUE(tansy);
    for (const bool sold : {true, false}) {
        const auto potion = m_game.Module().CreateItem("river_tonic", 1, m_game.Game().NewThingId(5), 0);
        wren.AddToBackpack(potion, false);
        m_app.SetQuickActionKind(wren, 10, 6);
        m_app.SetQuickActionItem(wren, "river_tonic", 6);
        if (sold) wren.PushInstantOrder(std::make_shared<DRAV::CStoreOrder>(false, tansy->GetId(), potion->GetId(), 1, 0));
        else wren.PushInstantOrder(std::make_shared<DRAV::CDropOrder>(0, potion->GetId()));
        m_app.RunInstantOrders();
        m_app.PumpEngineEvents();
        ASSERT_FALSE(wren.FindItem(potion->GetId(), nullptr));
        EXPECT_EQ(m_app.GetQuickActionKind(wren, 6), 0) << (sold ? "sold" : "dropped");
    }
}

TEST_F(AppQuickActionTest, AFreshRecordWritesTheSaveLineAndReadsItBack) {
    const std::string fresh = "1 10 attack 0 0 talk 0 0 action 0 0 none 0 0 none 0 0 none 0 0 none 0 0 none 0 0 "
                              "none 0 0 none 0 0 ";
    EXPECT_EQ(m_app.WriteQuickActions(), fresh);
    QuickActionTable table;
    const DRAV::ActorList party = m_game.Game().GetParty();
    for (const std::string& bad : {"2" + fresh.substr(1), fresh.substr(0, 5) + "fly" + fresh.substr(11)})
        EXPECT_EQ(QuillmereTest::ErrorCodeOf([&] { ReadQuickActionText(bad, party, table); }), DRAV_ERR_BAD_DATA)
            << bad;

    Give(m_game, "river_tonic");
    const std::string chosen = "1 10 attack 0 0 talk 0 0 cast 0 gust use river_tonic 0 none 0 0 none 0 0 none 0 0 "
                               "none 0 0 none 0 0 cast 0 lantern_light ";
    m_app.ReadQuickActions(chosen);
    const DRAV::CActor& wren = *m_game.Main();
    EXPECT_EQ(m_app.GetQuickActionKind(wren, 2), 20) << "the fixed slots come back whatever the line says";
    EXPECT_EQ(m_app.GetQuickActionItem(wren, 3), "river_tonic");
    EXPECT_EQ(m_app.GetQuickActionSpell(wren, 9), "lantern_light");
    EXPECT_EQ(m_app.WriteQuickActions(), "1 10 attack 0 0 talk 0 0 action 0 gust use river_tonic 0 none 0 0 none 0 0 "
                                         "none 0 0 none 0 0 none 0 0 cast 0 lantern_light ");
}

// An action chosen by the picker and never aimed waits for nobody once the party has
// come into an area: the first click there does what the figure under it shows.
class QuickActionArrivalTest : public QuillmereTest::RunningGameTest {};

TEST_F(QuickActionArrivalTest, WhatWasChosenEndsWithEveryArrival) {
    CalmTheLanding();
    // She can cast the gust: a spell she cannot is refused as it is chosen.
    main().AddSkill(DRAV::ParseSkill("energy_magic"));
    main().SetBaseLevel(5);
    const auto wipeOut = [&] {
        main().SetActionState(DRAV::ACTION_DEAD);
        game().SetStateCode(DRAV::GAME_WIPED_OUT);
        app().CheckPartyAndChangeArea();
        app().CloseDialog(0);  // the party's death, told first
    };
    const struct {
        const char* name;
        std::function<void()> arrive;
    } rows[] = {
        {"a wipe-out", wipeOut},
        {"a journey by the map",
         [&] {
             game().SetEntry({"reedwater_map", ""}, DRAV::AREA_LOAD_FRESH, "");
             game().SetStateCode(DRAV::GAME_TRAVEL);
             app().TravelToArea(
                 game().FindAndLoadTempMap("reedwater_map", *app().GetEngine()->GetModule())->GetArea("reed_marsh"));
         }},
        {"a journey",
         [&] {
             game().SetStateCode(DRAV::GAME_TRAVEL);
             game().SetEntry({"reedwater_landing", "dock"}, DRAV::AREA_LOAD_FRESH, "");
             app().CheckPartyAndChangeArea();
         }},
        {"a wake where it fell, no place left to rest in",
         [&] {
             game().SetThingSerialCounter(DRAV::kMaxThingSerial - 5);
             wipeOut();
         }},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        app().SetQuickActionSpell(main(), "gust", 2);
        const std::string plain = app().WriteQuickActions();
        app().SetQuickActionKind(main(), 11, 2);  // the action picker's gust, and no click after it
        app().SelectQuickAction(main(), 2);
        ASSERT_EQ(app().GetCurrentQuickActionKind(main()), 11);
        row.arrive();
        ASSERT_TRUE(main().IsAlive() && game().GetStateCode() == DRAV::GAME_PLAYING);
        // Put away as the party is placed, not when next asked for: a save holds none.
        EXPECT_EQ(app().WriteQuickActions(), plain);
        EXPECT_EQ(app().GetCurrentQuickActionKind(main()), 0);
    }
}

}  // namespace
