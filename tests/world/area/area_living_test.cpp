// Areas in play: patches fired by tags and applied again on rebuilds, doors
// opened and closed by name, encounters in stages, and what the player changed
// about objects kept across rebuilds and saved games.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/data_file_reader.h"
#include "common/data_file_writer.h"
#include "support/expect_drav.h"
#include "support/sample_brains.h"
#include "support/temp_dir.h"
#include "world/area/area_test_support.h"
#include "world/events/event.h"

using namespace DRAV;
using AreaTest::AreaText;
using AreaTest::MakeActor;
using AreaTest::ReadText;
using AreaTest::Row;
using QuillmereTest::SampleWithBrains;

namespace {

const CModule& Module() { return SampleWithBrains(); }

// The codes of the events queued so far, emptying the queue.
std::vector<std::int32_t> DrainEvents(CGame& game) {
    std::vector<std::int32_t> codes;
    std::shared_ptr<CEvent> event;
    while (game.PopEvent(event)) codes.push_back(event->GetCode());
    return codes;
}

CObject* FindNamed(const CArea& area, const std::string& name) {
    for (const auto& object : area.GetObjects())
        if (object->GetObjectName() == name) return object.get();
    return nullptr;
}

std::size_t CountOfEncounter(const CArea& area, const std::string& name) {
    std::size_t count = 0;
    for (const auto& actor : area.GetActors()) count += actor->GetEncounterName() == name;
    return count;
}

const CTileTemplate& TileAt(const CArea& area, std::uint32_t column, std::uint32_t row) {
    return area.GetTile(column, row)->GetMaster()->GetDefinition();
}

// Writes the area's saved element and reads it into `into` with `current` as the game's area.
void SaveAndLoad(CArea& area, CArea& into, CGame& game, const std::string& current) {
    QuillmereTest::TempDir dir;
    {
        DRAVCommon::CDataFileWriter writer(dir / "area.sav");
        area.SaveState(writer, Module());
        writer.Finish();
    }
    DRAVCommon::CDataFileReader reader(dir / "area.sav");
    into.LoadState(reader, game, Module(), current);
}

CPatch ReadPatch(const std::string& text) {
    DRAVCommon::CDataFileReader reader(QuillmereTest::TextStream(text), "patch.drav");
    return CPatch(reader, Module());
}

}  // namespace

TEST(AreaPatches, ElementsReadAsWrittenAndBadOnesAreCodeOne) {
    const CPatch patch = ReadPatch(
        "<patch> ambush 0 <encounter> 0 ( 3 4 ) \"Ambush\" 0 true"
        "  <stage> ( reed_smuggler seen_one ) smuggler_lookout </stage>"
        "  <stage> smuggler_captain <lua> drav_message( context, \"x\" ) </lua> </stage> </encounter>"
        " <tiles> ( 1 2 ) ( drying_rack up ) </tiles> </patch>");
    EXPECT_TRUE(patch.GetTriggerTag().empty());
    ASSERT_EQ(patch.GetActions().size(), 2u);
    const auto& encounter = static_cast<const CPatchActionEncounter&>(*patch.GetActions()[0]);
    ASSERT_EQ(encounter.stages.size(), 2u);
    EXPECT_EQ(encounter.stages[0].monsters[0].completionTag, "seen_one");
    EXPECT_EQ(encounter.stages[0].monsters[1].key, "smuggler_lookout");
    EXPECT_TRUE(encounter.stages[0].monsters[1].completionTag.empty());
    EXPECT_FALSE(encounter.stages[0].script);
    EXPECT_TRUE(encounter.stages[1].script);
    // A copy shares the stage scripts and outlives the record.
    std::unique_ptr<CPatchActionEncounter> copy = std::make_unique<CPatchActionEncounter>(encounter);
    EXPECT_EQ(copy->stages[1].script, encounter.stages[1].script);
    EXPECT_EQ(static_cast<const CPatchActionTiles&>(*patch.GetActions()[1]).tiles[0]->facing, DIR_NONE);

    // Without "stage" elements the whole body is one stage.
    const CPatch single =
        ReadPatch("<patch> p t <encounter> e ( 1 1 ) \"\" q false reed_smuggler reed_smuggler </encounter> </patch>");
    EXPECT_EQ(static_cast<const CPatchActionEncounter&>(*single.GetActions()[0]).stages.at(0).monsters.size(), 2u);

    EXPECT_DRAV_CODE(ReadPatch("<patch> p t <encounter> e ( 1 1 ) \"\" 0 false reed_smuggler"
                               " <settag> a </settag> <settag> b </settag> </encounter> </patch>"),
                     1);
    EXPECT_DRAV_CODE(ReadPatch("<patch> p t <explode> </explode> </patch>"), 1);
    EXPECT_DRAV_CODE(ReadPatch("<patch> p t <tiles> ( 1 2 ) ( drying_rack ) </tiles> </patch>"), 1);
}

TEST(AreaPatches, ABadTilesPatchIsCodeOneAndLeavesTheGridWhole) {
    CGame game;
    CArea area(&game);
    const std::string row = " " + Row("( plank_floor n )", 4) + " ";
    ReadText(area, AreaText("( 4 3 ) " + row + row + row));
    // The first entry is sound; the second reaches past the grid or is unknown.
    const CPatch pastEdge = ReadPatch(
        "<patch> p t <tiles> ( 0 0 ) ( reed_wall n ) ( 2 1 ) ( drying_rack n ) </tiles> </patch>");
    const CPatch unknown =
        ReadPatch("<patch> p t <tiles> ( 0 0 ) ( reed_wall n ) ( 1 1 ) ( no_such_tile n ) </tiles> </patch>");
    EXPECT_DRAV_CODE(area.ApplyPatch(pastEdge, Module(), AREA_LOAD_FRESH, false, false), 1);
    EXPECT_DRAV_CODE(area.ApplyPatch(unknown, Module(), AREA_LOAD_FRESH, false, false), 1);
    EXPECT_EQ(TileAt(area, 0, 0).GetKey(), "plank_floor");
    EXPECT_EQ(area.GetMasterTiles().size(), 12u);
    EXPECT_TRUE(DrainEvents(game).empty());
}

TEST(AreaPatches, TilesLaidOverAnOpenDoorTakeItsRecordAway) {
    CGame game;
    CArea landing(&game);
    landing.LoadAreaFile("", "reedwater_landing", Module(), AREA_LOAD_FRESH, false);
    ASSERT_EQ(landing.GetOpenDoors().size(), 1u);  // the sluice gate
    landing.ApplyPatch(ReadPatch("<patch> p t <tiles> ( 15 8 ) ( reed_wall n ) </tiles> </patch>"), Module(),
                       AREA_LOAD_FRESH, false, false);
    EXPECT_TRUE(landing.GetOpenDoors().empty());
    // A rebuild lays the doors of the records open: none may point at the wall.
    landing.ApplyOpenDoors(false);
    EXPECT_EQ(TileAt(landing, 15, 8).GetKey(), "reed_wall");
}

TEST(AreaPatches, TagsFireTheLandingsPatchesAndRebuildsApplyThemSilently) {
    CGame game;
    game.SetTick(1000);
    CArea landing(&game);
    landing.LoadAreaFile("", "reedwater_landing", Module(), AREA_LOAD_FRESH, false);
    ASSERT_TRUE(FindNamed(landing, "reed_crate"));

    // The lookout of the trail head is placed near its cell.
    game.GetQuestTags()["hide_fought"] = 1;
    landing.TriggerTagPatches("hide_fought", Module());
    ASSERT_EQ(CountOfEncounter(landing, "trail_lookout"), 1u);
    EXPECT_EQ(landing.FindEncounter("trail_lookout").name, "trail_lookout");

    // The Wardens take the crate, leave their notice and fire a flare.
    game.GetQuestTags()["smugglers_reported"] = 1;
    landing.TriggerTagPatches("smugglers_reported", Module());
    landing.PurgeRemovedObjects();
    EXPECT_FALSE(FindNamed(landing, "reed_crate"));
    EXPECT_TRUE(FindNamed(landing, "wardens_notice"));
    EXPECT_EQ(DrainEvents(game), std::vector<std::int32_t>{EVENT_EFFECT});

    // Orrin opens (and unlocks) his boathouse and its slipway, shuts the sluice and
    // takes the rack down.
    game.GetQuestTags()["boatwright_found"] = 1;
    landing.TriggerTagPatches("boatwright_found", Module());
    EXPECT_EQ(DrainEvents(game), (std::vector<std::int32_t>{EVENT_DOORS_OPENED, EVENT_DOORS_CLOSED,
                                                            EVENT_TILES_REPLACED}));
    const auto checkOrrinsChanges = [&] {
        EXPECT_TRUE(landing.GetTile(10, 8)->GetDoor()->IsOpen());
        EXPECT_EQ(landing.GetTile(10, 8)->GetDoor()->GetLockValue(), 0u);
        EXPECT_TRUE(landing.GetTile(11, 6)->GetDoor()->IsOpen());
        EXPECT_FALSE(landing.GetTile(15, 8)->GetDoor()->IsOpen());
        EXPECT_EQ(TileAt(landing, 3, 7).GetKey(), "landing_path");
        for (const auto& master : landing.GetMasterTiles()) EXPECT_NE(master->GetDefinition().GetKey(), "drying_rack");
    };
    checkOrrinsChanges();
    // The door and the slipway's two cells.
    EXPECT_EQ(landing.GetOpenDoors().size(), 3u);

    // Rebuilt after a long absence: everything returns, only the view hears of the
    // new tiles, the lookout (no respawn) is not placed twice, and the crate goes again.
    landing.MakeInactive();
    game.SetTick(game.GetTick() + 200000);
    landing.Reactivate("reed_marsh", Module());
    DrainEvents(game);  // the journey's message
    landing.MakeInactive();
    landing.Reactivate("", Module());
    EXPECT_EQ(DrainEvents(game), std::vector<std::int32_t>{EVENT_TILES_REPLACED});
    landing.PurgeRemovedObjects();
    checkOrrinsChanges();
    EXPECT_EQ(CountOfEncounter(landing, "trail_lookout"), 1u);
    EXPECT_FALSE(FindNamed(landing, "reed_crate"));
    EXPECT_TRUE(FindNamed(landing, "wardens_notice"));
    EXPECT_EQ(landing.GetFiredPatches().size(), 3u);
}

TEST(AreaPatches, AnEffectEventKeepsItsParametersAfterTheAreaIsLeft) {
    CGame game;
    CArea landing(&game);
    landing.LoadAreaFile("", "reedwater_landing", Module(), AREA_LOAD_FRESH, false);
    landing.TriggerTagPatches("smugglers_reported", Module());
    landing.MakeInactive();
    std::shared_ptr<CEvent> event;
    ASSERT_TRUE(game.PopEvent(event));
    const auto& effect = static_cast<const CEffectEvent&>(*event);
    EXPECT_EQ(effect.GetEffectName(), "warden_flare");
    ASSERT_TRUE(effect.GetParams());
    EXPECT_EQ(effect.GetParams()->GetScale(), 1.5);
    EXPECT_EQ(effect.GetParams()->GetWords(), (std::vector<std::string>{"red", ""}));
}

TEST(AreaDoors, ADoorOpenedByAPatchAndClosedLaterStaysClosed) {
    CGame game;
    game.GetQuestTags()["boatwright_found"] = 1;
    CArea landing(&game);
    landing.LoadAreaFile("", "reedwater_landing", Module(), AREA_LOAD_FRESH, false);
    // A rebuild before the closing re-applies the patch; the cell still has one record.
    landing.MakeInactive();
    landing.Reactivate("", Module());
    landing.SetDoorState(CPatchActionDoor(true, "boathouse_door"), false);
    EXPECT_EQ(landing.GetOpenDoors().size(), 3u) << "the door and the slipway's two cells";

    landing.SetDoorState(CPatchActionDoor(false, "boathouse_door"), false);
    const auto closed = [](CArea& area) {
        EXPECT_FALSE(area.GetTile(10, 8)->GetDoor()->IsOpen());
        EXPECT_EQ(area.GetOpenDoors().size(), 2u) << "the slipway stays open";
    };
    closed(landing);
    landing.MakeInactive();
    landing.Reactivate("", Module());
    closed(landing);

    std::unique_ptr<CArea> area = std::make_unique<CArea>(&game);
    SaveAndLoad(landing, *area, game, "reedwater_landing");
    for (int round = 0; round < 2; ++round) {
        closed(*area);
        auto next = std::make_unique<CArea>(&game);
        SaveAndLoad(*area, *next, game, "reedwater_landing");
        area = std::move(next);
        area->MakeInactive();
        area->Reactivate("", Module());
    }
    closed(*area);

    // A name no door carries changes nothing but is still announced.
    DrainEvents(game);
    landing.SetDoorState(CPatchActionDoor(true, "no_such_door"), false);
    EXPECT_EQ(DrainEvents(game), std::vector<std::int32_t>{EVENT_DOORS_OPENED});
    EXPECT_EQ(landing.GetOpenDoors().size(), 2u);
}

TEST(AreaDoors, ClosingOnAnActorMovesItOutOfTheDoorway) {
    CGame game;
    CArea landing(&game);
    landing.LoadAreaFile("", "reedwater_landing", Module(), AREA_LOAD_FRESH, false);
    // The slipway doors are two cells wide: two records besides the sluice gate's,
    // and both cells close.
    landing.SetDoorState(CPatchActionDoor(true, "slip_doors"), false);
    EXPECT_EQ(landing.GetOpenDoors().size(), 3u);
    const auto actor = MakeActor(11 * 2.5 + 1.25, 6 * 2.5 + 1.25, 0.5);
    landing.AddActor(actor);
    landing.SetDoorState(CPatchActionDoor(false, "slip_doors"), false);
    EXPECT_EQ(landing.GetOpenDoors().size(), 1u);
    EXPECT_NE(static_cast<int>(actor->GetY() / 2.5), 6);
}

TEST(AreaEncounters, StagesFollowWipeOutsAndQuestsAndRespawnDecide) {
    CGame game;
    game.SetTick(1000);
    CArea marsh(&game);
    marsh.LoadAreaFile("", "reed_marsh", Module(), AREA_LOAD_FRESH, false);
    // Only the hide counts here: Marra, her wisp, the bound boatwright and the drowned watch go.
    const std::size_t encounters = marsh.GetEncounters().size();
    ASSERT_EQ(encounters, 5u);
    marsh.ClearEncounter("witch_fire");
    marsh.ClearEncounter("witch_wisp");
    marsh.ClearEncounter("bound_boatwright");
    marsh.ClearEncounter("drowned_watch");
    ASSERT_EQ(CountOfEncounter(marsh, "smugglers_hide"), 2u);
    ASSERT_EQ(marsh.GetActors().size(), 2u);
    for (const auto& actor : marsh.GetActors()) {
        EXPECT_EQ(actor->GetEncounterIndex(), 0);
        EXPECT_LT(actor->DistanceToPoint(20 * 2.5 + 1.25, 2 * 2.5 + 1.25), 5.0);
    }
    EXPECT_TRUE(marsh.FindEncounter("smugglers_hide").stages[0].script);

    // Stage 0 wiped out: the engine asks for stage 1, the captain alone, then
    // stage 2, his last man.
    while (!marsh.GetActors().empty()) marsh.RemoveActor(*marsh.GetActors().front());
    marsh.AdvanceEncounterStage("smugglers_hide", Module(), 1);
    ASSERT_EQ(CountOfEncounter(marsh, "smugglers_hide"), 1u);
    EXPECT_EQ(marsh.GetActors()[0]->GetCompletionTag(), "smugglers_routed");
    EXPECT_EQ(marsh.GetActors()[0]->GetEncounterIndex(), 1);
    marsh.AdvanceEncounterStage("smugglers_hide", Module(), 2);
    EXPECT_EQ(marsh.GetActors().size(), 2u);
    EXPECT_DRAV_CODE(marsh.FindEncounter("no_such_encounter"), 1);

    // Without respawn, the survivor stays however long the party was away.
    marsh.RemoveActor(*marsh.GetActors().back());
    marsh.MakeInactive();
    game.SetTick(game.GetTick() + 500000);
    marsh.Reactivate("", Module());
    EXPECT_EQ(CountOfEncounter(marsh, "smugglers_hide"), 1u);
    // The encounters' records come back with the file; the first is found.
    EXPECT_EQ(marsh.GetEncounters().size(), 2 * encounters);

    // Removed by script: dead, leaving nothing.
    marsh.RemoveEncounter("smugglers_hide");
    EXPECT_EQ(marsh.GetActors()[0]->GetActionState(), ACTION_DEAD);
    EXPECT_TRUE(marsh.GetActors()[0]->GetLeaveNoItemsFlag());

    // Once the smugglers are reported the hide stays empty on a first visit.
    game.GetQuestTags()["reed_smugglers"] = 1;
    CArea later(&game);
    later.LoadAreaFile("", "reed_marsh", Module(), AREA_LOAD_FRESH, false);
    EXPECT_EQ(CountOfEncounter(later, "smugglers_hide"), 0u);
    EXPECT_EQ(CountOfEncounter(later, "witch_fire"), 1u);
    EXPECT_EQ(CountOfEncounter(later, "witch_wisp"), 1u);
}

TEST(AreaEncounters, ProximityNeedsASeenCellAndAVisibleFriend) {
    CGame game;
    CArea marsh(&game);
    marsh.LoadAreaFile("", "reed_marsh", Module(), AREA_LOAD_FRESH, false);
    const CActor& lookout = *marsh.GetActors()[0];
    const auto friendActor = MakeActor(lookout.GetX() + 2.0, lookout.GetY(), 0.5);
    friendActor->SetRelation(RELATION_PARTY);
    marsh.AddActor(friendActor);
    CActor* other = friendActor.get();
    EXPECT_FALSE(marsh.PartyProximityTest(lookout, &other, 10.0));
    EXPECT_EQ(other, nullptr);
    marsh.GetSeenCells().Set(static_cast<std::uint32_t>(lookout.GetX() / 2.5),
                             static_cast<std::uint32_t>(lookout.GetY() / 2.5), true);
    EXPECT_TRUE(marsh.PartyProximityTest(lookout, &other, 10.0));
    EXPECT_EQ(other, friendActor.get());
    EXPECT_FALSE(marsh.PartyProximityTest(lookout, &other, 1.0));
}

TEST(AreaState, SavedAreasKeepWhatThePlayerChanged) {
    CGame game;
    game.SetTick(5000);
    CArea landing(&game);
    CArea marsh(&game);
    landing.LoadAreaFile("", "reedwater_landing", Module(), AREA_LOAD_FRESH, false);
    marsh.LoadAreaFile("", "reed_marsh", Module(), AREA_LOAD_FRESH, false);

    CObject* chest = FindNamed(landing, "orrins_tackle");
    for (const auto& item : chest->GetItems()) chest->RemoveItem(item);
    FindNamed(landing, "orrins_strongbox")->SetUnlocked(true);
    FindNamed(landing, "reed_crate")->GetTrap()->SetHidden(false);
    FindNamed(landing, "reed_crate")->GetTrap()->SetReadyTick(6000);
    landing.SetDoorState(CPatchActionDoor(false, "sluice_gate"), false);
    // Two drops in one cell lie in one pile, as one stack, and it comes back.
    landing.DropItem(Module(), 5.0, 12.0)->AddItem(Module().CreateItem("eel_pie", 2, 77, 0));
    landing.DropItem(Module(), 6.0, 11.0)->AddItem(Module().CreateItem("eel_pie", 2, 78, 0));
    // The eel basket's one-time trap went off; the party then left the marsh.
    for (const auto& object : ObjectList(marsh.GetObjects()))
        if (object->GetTemplate().GetKey() == "eel_basket") marsh.RemoveSprungTrapObject(*object);
    marsh.MakeInactive();

    CGame loaded;
    CArea current(&loaded);
    CArea other(&loaded);
    SaveAndLoad(landing, current, loaded, "reedwater_landing");
    SaveAndLoad(marsh, other, loaded, "reedwater_landing");

    EXPECT_TRUE(FindNamed(current, "orrins_tackle")->GetItems().empty());
    EXPECT_FALSE(FindNamed(current, "orrins_strongbox")->IsLocked());
    EXPECT_EQ(FindNamed(current, "orrins_strongbox")->GetItems().size(), 2u);
    EXPECT_FALSE(FindNamed(current, "reed_crate")->GetTrap()->IsHidden());
    EXPECT_EQ(FindNamed(current, "reed_crate")->GetTrap()->GetReadyTick(), 6000u);
    EXPECT_FALSE(current.GetTile(15, 8)->GetDoor()->IsOpen());
    std::size_t piles = 0;
    for (const auto& object : current.GetObjects()) {
        if (object->GetTemplate().GetKey() != kPileTemplate) continue;
        ++piles;
        EXPECT_EQ(static_cast<int>(object->GetX() / 2.5), 2);
        ASSERT_EQ(object->GetItems().size(), 1u);
        EXPECT_EQ(object->GetItems()[0]->GetCount(), 4);
    }
    EXPECT_EQ(piles, 1u);

    // The other area stays inactive, its actors kept, until the party returns.
    EXPECT_EQ(other.GetColumns(), 0u);
    EXPECT_EQ(CountOfEncounter(other, "smugglers_hide"), 2u);
    other.Reactivate("", Module());
    EXPECT_EQ(CountOfEncounter(other, "smugglers_hide"), 2u);
    for (const auto& object : other.GetObjects()) EXPECT_NE(object->GetTemplate().GetKey(), "eel_basket");
}

TEST(AreaState, ASavedTileTrackerOfTheWrongSizeIsFittedToTheGrid) {
    CGame game;
    const auto load = [&game](const std::string& tracker, const std::string& current) {
        auto area = std::make_unique<CArea>(&game);
        DRAVCommon::CDataFileReader reader(
            QuillmereTest::TextStream("<area> \"reed_marsh\" 0 <patches> </patches> <doors> </doors> <itemstacks>"
                                      " </itemstacks> <lockandtraplist> </lockandtraplist> <actors> </actors>"
                                      " <tiletracker> " + tracker + " </tiletracker> </area>"),
            "save.drav");
        area->LoadState(reader, game, Module(), current);
        return area;
    };
    // 25 x 12 cells take 76 words.
    EXPECT_EQ(load("2 4294967295 7", "reed_marsh")->GetExploredCells().words.size(), 76u);
    auto area = load("2 4294967295 7", "reed_marsh");
    EXPECT_TRUE(area->GetExploredCells().Get(0, 0));
    EXPECT_EQ(area->GetExploredCells().words[1], 7u);
    EXPECT_EQ(area->GetExploredCells().words[2], 0u);
    std::string many = "80";
    for (int i = 0; i < 80; ++i) many += " 1";
    EXPECT_EQ(load(many, "reed_marsh")->GetExploredCells().words.size(), 76u);
    // An inactive area keeps no more words than its grid takes, and fits them when it is rebuilt.
    auto inactive = load(many, "reedwater_landing");
    EXPECT_EQ(inactive->GetExploredCells().words.size(), 76u);
    inactive->Reactivate("", Module());
    EXPECT_EQ(inactive->GetExploredCells().words.size(), 76u);
}

// The area reader passes the hours; the line naming the place is the engine's to
// say once the party has come.
TEST(AreaTravel, AJourneyAddsItsTicksAndSaysHowLongItTook) {
    const auto journey = [](std::uint32_t hours, std::uint32_t* ticks = nullptr, const std::string& place = "Tarn") {
        CGame game;
        CArea area(&game);
        ReadText(area,
                 "<area> \"" + place + "\" false <travel> far " + std::to_string(hours) +
                     " </travel> <rows> ( 1 1 ) <row> ( plank_floor n ) </row> </rows> <entries> </entries> <exits>"
                     " </exits> </area>",
                 AREA_LOAD_FRESH, "far");
        if (ticks) *ticks = game.GetTick();
        std::shared_ptr<CEvent> event;
        EXPECT_FALSE(game.PopEvent(event)) << "the reader says nothing of it";
        return area.GetJourneyText();
    };
    std::uint32_t ticks = 0;
    EXPECT_EQ(journey(30, &ticks), "Your journey to Tarn takes 1 day and 6 hours.");
    EXPECT_EQ(ticks, 3240000u);
    EXPECT_EQ(journey(48), "Your journey to Tarn takes 2 days.");
    EXPECT_EQ(journey(25), "Your journey to Tarn takes 1 day and 1 hour.");
    EXPECT_EQ(journey(24), "Your journey to Tarn takes 24 hours.");
    EXPECT_EQ(journey(1), "Your journey to Tarn takes 1 hour.");
    EXPECT_EQ(journey(1, nullptr, "The Reed Marsh"), "Your journey to the Reed Marsh takes 1 hour.");
    EXPECT_EQ(journey(0, &ticks), "");
    EXPECT_EQ(ticks, 0u);
    // The longest the calendar holds from its start; a longer one is the file's fault.
    EXPECT_EQ(journey(kMostTravelHours, &ticks), "Your journey to Tarn takes 1242 days and 18 hours.");
    EXPECT_EQ(ticks, kMostTravelHours * kTicksPerTravelHour);
    EXPECT_EQ(DRAV_MESSAGE(journey(kMostTravelHours + 1)),
              "test.drav: expected travel hours from 0 to 29826 at \"29827\"");
}
