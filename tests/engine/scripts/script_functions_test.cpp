#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <map>
#include <utility>
#include <vector>

#include "engine/script_functions/script_function_lists.h"
#include "engine/scripts/script_test_game.h"
#include "support/counting_source.h"
#include "support/overlay_source.h"
#include "support/temp_dir.h"
#include "rules/module.h"
#include "world/actor.h"
#include "world/area.h"
#include "world/area/area_records.h"
#include "world/cell.h"
#include "world/item.h"
#include "world/object.h"
#include "world/tile.h"

using QuillmereTest::ScriptTestGame;

namespace {

TEST(QuestScripts, CompletingTheChainRewardsEachQuestOnce) {
    ScriptTestGame game;
    auto hollis = game.Innkeeper();
    game.Engine().RunInstantOrder(*game.Main(), DRAV::CTalkOrder(hollis->GetId(), "news", ""));
    game.DrainEvents();
    const std::uint32_t experience = game.Main()->GetExperience();

    // Found, the search is over; the follow-up is given and waits for him to be home.
    game.Eval("drav_set_tag( context, \"boatwright_found\" )");
    auto lines = game.Lines();
    auto has = [&](const std::string& line) { return std::find(lines.begin(), lines.end(), line) != lines.end(); };
    EXPECT_TRUE(has("The party has completed a quest for 300xp (The Missing Boatwright)."));
    EXPECT_FALSE(has("The party has completed a quest for 150xp (Home to the Slip)."));
    EXPECT_EQ(game.Main()->GetExperience(), experience + 300);
    EXPECT_TRUE(game.Game().IsQuestTagSet("find_boatwright"));
    EXPECT_FALSE(game.Game().IsQuestTagSet("boatwright_home"));

    game.Eval("drav_set_tag( context, \"boatwright_returned\" )");
    lines = game.Lines();
    EXPECT_TRUE(has("The party has completed a quest for 150xp (Home to the Slip)."));
    EXPECT_EQ(game.Main()->GetExperience(), experience + 450);
    EXPECT_TRUE(game.Game().IsQuestTagSet("boatwright_home"));

    // Setting the tags again rewards nothing more.
    game.Eval("drav_set_tag( context, \"boatwright_found\" ) drav_set_tag( context, \"boatwright_returned\" )");
    EXPECT_TRUE(game.Lines().empty());
    EXPECT_EQ(game.Main()->GetExperience(), experience + 450);
}

TEST(QuestScripts, MendedQuestsCompleteOnTheirOwnTags) {
    ScriptTestGame game;
    game.Eval("drav_set_tag( context, \"smugglers_asked\" ) drav_set_tag( context, \"ferry_fare_asked\" )");
    EXPECT_FALSE(game.Game().IsQuestTagSet("reed_smugglers"));
    EXPECT_FALSE(game.Game().IsQuestTagSet("ferry_passage"));
    // Checking the quest no longer reports it as a side effect.
    EXPECT_FALSE(game.Game().IsQuestTagSet("smugglers_reported"));
    game.Eval("drav_set_tag( context, \"smugglers_reported\" ) drav_set_tag( context, \"ferry_crossed\" )");
    EXPECT_TRUE(game.Game().IsQuestTagSet("reed_smugglers"));
    EXPECT_TRUE(game.Game().IsQuestTagSet("ferry_passage"));
}

TEST(QuestScripts, TagValueZeroWritesWithoutCheckingQuests) {
    ScriptTestGame game;
    game.Game().SetQuestTag("boatwright_asked", 1);
    game.Eval("drav_set_tag_value( context, \"boatwright_found\", 0 )");
    EXPECT_EQ(game.Eval("return drav_check_tag( context, \"boatwright_found\" )"), 0);
    EXPECT_EQ(game.Eval("return drav_get_tag_value( context, \"boatwright_found\" )"), 0);
    EXPECT_EQ(game.Eval("return drav_get_tag_value( context, \"never_set\" )"), 0);
    EXPECT_EQ(game.Eval("return drav_check_and_set_tag( context, \"bell\" )"), 0);
    EXPECT_EQ(game.Eval("return drav_check_and_set_tag( context, \"bell\" )"), 1);
    game.Eval("drav_set_tag_value( context, \"boatwright_found\", 3 )");
    EXPECT_TRUE(game.Game().IsQuestTagSet("find_boatwright"));
}

TEST(QuestScripts, AssignedTestFollowsTheAssignmentTag) {
    ScriptTestGame game;
    EXPECT_EQ(game.Eval("return drav_check_assigned( context, \"find_boatwright\" )"), 0);
    game.Eval("drav_assign_quest( context, \"find_boatwright\" )");
    EXPECT_EQ(game.Eval("return drav_check_assigned( context, \"find_boatwright\" )"), 1);
    game.Eval("drav_set_tag_value( context, \"boatwright_asked\", 0 )");
    EXPECT_EQ(game.Eval("return drav_check_assigned( context, \"find_boatwright\" )"), 0);
    EXPECT_EQ(game.Failure("drav_assign_quest( context, \"no_such_quest\" )"),
              "test.drav: drav_assign_quest: no quest no_such_quest");
}

TEST(GoldScripts, LossesClampAtZeroAndNameTheAskedAmount) {
    ScriptTestGame game;
    game.Game().SetGold(10);
    game.DrainEvents();
    game.Eval("drav_give_gold( context, -25 ) drav_give_gold( context, 0 ) drav_give_gold( context, 7 )");
    EXPECT_EQ(game.Lines(), (std::vector<std::string>{"The party has lost 25 gold.", "The party has lost 0 gold.",
                                                      "The party has gained 7 gold."}));
    EXPECT_EQ(game.Eval("return drav_get_gold( context, \"party\" )"), 7);
    EXPECT_EQ(game.Eval("return drav_get_gold( context, \"main\" )"), 0);
    // Gold cannot wrap around past the largest amount.
    game.Eval("drav_give_gold( context, 2147483647 )");
    EXPECT_EQ(game.Game().GetGold(), 2147483647);
}

TEST(ItemScripts, GiveFindAndRemove) {
    ScriptTestGame game;
    game.DrainEvents();
    game.Eval("drav_give_item( context, \"eel_pie\" ) drav_give_item( context, \"eel_pie\", 5 )");
    // The line names what was gained, and how many when more than one.
    EXPECT_EQ(game.Lines(),
              (std::vector<std::string>{"The party has gained Eel Pie.", "The party has gained Eel Pie (5)."}));
    std::int32_t pies = 0;
    for (const auto& item : game.Main()->GetBackpackItems())
        if (item->GetTemplate().GetKey() == "eel_pie") pies += item->GetCount();
    EXPECT_EQ(pies, 6);

    EXPECT_EQ(game.Eval("return drav_has_item( context, \"eel_pie\" )"), 1);
    EXPECT_EQ(game.Eval("return drav_remove_item( context, \"eel_pie\" )"), 1);
    EXPECT_EQ(game.Eval("return drav_has_item( context, \"eel_pie\" )"), 0);
    EXPECT_EQ(game.Eval("return drav_remove_item( context, \"eel_pie\" )"), 0);
    EXPECT_EQ(game.Failure("drav_give_item( context, \"no_such_item\" )"),
              "test.drav: drav_give_item: no item \"no_such_item\" is defined");
}

// Stacks never count past what a save reads back: a gift the stack cannot hold
// becomes a stack of its own, and the game saves and loads with every unit.
TEST(ItemScripts, GiftsPastTheLargestStackStaySavable) {
    ScriptTestGame game;
    game.Eval("drav_give_item( context, \"river_tonic\", 2147483000 ) "
              "drav_give_item( context, \"river_tonic\", 2147483000 ) "
              "drav_give_item( context, \"river_tonic\", 647 )");
    std::vector<std::int32_t> stacks;
    for (const auto& item : game.Main()->GetBackpackItems())
        if (item->GetTemplate().GetKey() == "river_tonic") stacks.push_back(item->GetCount());
    EXPECT_EQ(stacks, (std::vector<std::int32_t>{2147483647, 2147483000}));

    QuillmereTest::TempDir dir;
    const DRAV::CModuleVersionRange expected("Orvex", 5, 0);
    game.Engine().SaveGame(dir / "tonics.drav", expected, nullptr);
    std::string quick;
    ASSERT_NO_THROW(game.Engine().LoadGame(dir / "tonics.drav", expected, quick));
    std::int64_t tonics = 0;
    for (const auto& item : game.Main()->GetBackpackItems())
        if (item->GetTemplate().GetKey() == "river_tonic") tonics += item->GetCount();
    EXPECT_EQ(tonics, 2 * 2147483000LL + 647);
}

TEST(ItemScripts, CountsBelowOneAreRefusedAndLeaveTheStackAlone) {
    ScriptTestGame game;
    game.Eval("drav_give_item( context, \"eel_pie\", 3 )");
    game.DrainEvents();
    for (const char* count : {"0", "-5", "\"-1\""})
        EXPECT_EQ(game.Failure(std::string("drav_give_item( context, \"eel_pie\", ") + count + " )"),
                  std::string("test.drav: drav_give_item: item count ") + (count[0] == '"' ? "-1" : count))
            << count;
    EXPECT_TRUE(game.Lines().empty());
    std::int32_t pies = 0;
    for (const auto& item : game.Main()->GetBackpackItems())
        if (item->GetTemplate().GetKey() == "eel_pie") pies += item->GetCount();
    EXPECT_EQ(pies, 3);
}

// Whichever function shows a script's words, their markers are filled, also where
// punctuated like the name they stand for.
TEST(MessageScripts, EveryShownTextIsFilledIn) {
    ScriptTestGame game;
    auto hollis = game.Innkeeper();
    for (const std::string call : {"drav_talk( context, ", "drav_chatter( context, 'innkeeper', ",
                                   "drav_shout( context, 'innkeeper', ", "drav_message( context, ",
                                   "drav_dialog_box( context, 'Title', ", "drav_help( context, 'welcome', "}) {
        game.DrainEvents();
        game.Eval(call + "'Back, MAINNAME?' )", hollis.get());
        const auto events = game.DrainEvents();
        ASSERT_EQ(events.size(), 1u) << call;
        auto* box = dynamic_cast<DRAV::CDialogBoxEvent*>(events[0].get());
        const std::string text = box ? box->GetText() : dynamic_cast<DRAV::CMessageEvent&>(*events[0]).GetText();
        EXPECT_EQ(text.substr(text.find("Back")), "Back, Wren?") << call;
    }
    game.Eval("drav_add_talk_path( context, 'Back, MAINNAME?', '' ) drav_win( context, 'Back, MAINNAME?' )",
              hollis.get());
    EXPECT_EQ(hollis->GetTalkChoices().back()->GetText(), "Back, Wren?");
    EXPECT_EQ(game.Game().GetClosingText(), "Back, Wren?");
}

TEST(ScriptFunctionTable, EveryFunctionHasBothHandlers) {
    const auto functions = DRAV::GetNativeScriptFunctions();
    ASSERT_EQ(functions.size(), 58u);
    for (const auto& function : functions) {
        EXPECT_NE(function.handler, nullptr) << function.name;
        EXPECT_NE(function.testHandler, nullptr) << function.name;
    }
    EXPECT_STREQ(functions[55].name, "drav_teleport_actor");
    EXPECT_STREQ(functions[57].name, "drav_help");
}

TEST(WorldScripts, TeleportAndLaunchSpell) {
    ScriptTestGame game;
    const auto wren = game.Main();
    const double x = wren->GetX();
    const double y = wren->GetY();
    // An undefined entry or spell changes nothing.
    EXPECT_EQ(game.Failure("drav_teleport_actor( context, \"cellar\", \"ferry_crossing\" )"),
              "test.drav: drav_teleport_actor: the area has no entry \"cellar\"");
    EXPECT_EQ(game.Failure("drav_teleport_actor( context, \"lane\", \"no_spell\" )"),
              "test.drav: drav_teleport_actor: no spell \"no_spell\" is defined");
    EXPECT_EQ(game.Failure("drav_launch_spell( context, \"no_spell\" )"),
              "test.drav: drav_launch_spell: no spell \"no_spell\" is defined");
    EXPECT_EQ(wren->GetX(), x);
    EXPECT_EQ(wren->GetY(), y);
    EXPECT_TRUE(game.Area().GetEffects().empty());

    game.Eval("drav_teleport_actor( context, \"lane\", \"ferry_crossing\" )");
    EXPECT_EQ(static_cast<int>(wren->GetX() / 2.5), 7);
    EXPECT_EQ(static_cast<int>(wren->GetY() / 2.5), 3);

    const std::size_t effects = game.Area().GetEffects().size();
    game.Eval("drav_launch_spell( context, \"still_water\" )");
    EXPECT_EQ(game.Area().GetEffects().size(), effects + 1);
}

TEST(ArgumentRules, SelectorsAndErrors) {
    ScriptTestGame game;
    auto hollis = game.Innkeeper();
    EXPECT_EQ(game.Eval("return drav_is_main_actor( context, \"main\" )"), 1);
    EXPECT_EQ(game.Eval("return drav_is_in_party( context, \"main\" )"), 1);
    EXPECT_EQ(game.Eval("return drav_is_in_party( context, \"innkeeper\" )"), 0);
    EXPECT_EQ(game.Eval("return drav_is_in_party( context, \"nobody\" )"), 0);
    EXPECT_EQ(game.Eval("return drav_is_actor( context, \"target\", \"innkeeper\" )", hollis.get()), 1);

    // Every error names the script's file and the function.
    EXPECT_EQ(game.Failure("drav_chatter( context, \"target\", \"hi\" )"), "test.drav: drav_chatter: Bad actor param\n");
    EXPECT_EQ(game.Failure("drav_chatter( context, \"party\", \"hi\" )"), "test.drav: drav_chatter: Bad actor param\n");
    EXPECT_EQ(game.Failure("drav_talk( context, \"hi\" )"), "test.drav: drav_talk: Talk used in non-talk script\n");
    EXPECT_EQ(game.Failure("drav_set_tag( \"bell\" )"), "test.drav: drav_set_tag: Script didn't propagate context\n");
    EXPECT_EQ(game.Failure("drav_set_tag( context, nil )"), "test.drav: drav_set_tag: Bad string arg\n");
    EXPECT_EQ(game.Failure("drav_goto_state( context, \"gossip\" )", hollis.get()),
              "test.drav: drav_goto_state: DRAV::CLuaScript::lua_goto_state no state : gossip\n");
    EXPECT_EQ(game.Failure("drav_add_talk_path( context, \"Well?\", \"gossip\" )", hollis.get()),
              "test.drav: drav_add_talk_path: DRAV::CLuaScript::lua_add_talk_path Bad State: gossip\n");
    // A special statistic that does not exist.
    EXPECT_EQ(game.Failure("drav_special_stat_check( context, \"luck\", 10 )"),
              "test.drav: drav_special_stat_check: No Special Stat: luck");

    // An object partner is no actor: "target" names none, as a script error.
    DRAV::CObject* heron = nullptr;
    for (const auto& object : game.Area().GetObjects())
        if (object->GetName() == "Heron Statue") heron = object.get();
    ASSERT_TRUE(heron);
    EXPECT_EQ(game.Failure("drav_is_in_party( context, \"target\" )", heron),
              "test.drav: drav_is_in_party: the conversation partner is not a person");
    EXPECT_EQ(game.Failure("drav_store( context )", heron),
              "test.drav: drav_store: the conversation partner is not a person");
}

// Once "bell" is set: every native function with every actor word, each caught, once at `marker`'s place.
std::string ProbeEveryFunction(const std::string& marker) {
    std::string names;
    for (const auto& function : DRAV::GetNativeScriptFunctions()) names += std::string("\"") + function.name + "\", ";
    return "if drav_check_tag( context, \"bell\" ) and not drav_check_tag( context, \"" + marker + "\" ) then "
           "for _, name in ipairs( { " + names + "} ) do for _, word in ipairs( { \"actor\", \"target\", \"party\", "
           "\"main\", \"innkeeper\", \"nobody\" } ) do pcall( _G[ name ], context, word, word, 1 ) end end "
           "drav_set_tag( context, \"" + marker + "\" ) end ";
}

// The sample's script in `file` that holds `text` probes first at `marker`'s place.
QuillmereTest::SampleEdit Probed(const std::string& file, const std::string& text, const std::string& marker) {
    return {DRAVCommon::DFK_CHAPTER, file, text, ProbeEveryFunction(marker) + text};
}

// Whatever a function makes of an actor word at any place a script runs, the script
// may catch it and runs on to its end, and the game goes on.
TEST(ArgumentRules, EveryFunctionWithEveryActorWordAtEveryPlace) {
    ScriptTestGame game(QuillmereTest::EditedSampleSource({
        Probed("quests.drav", "return drav_check_tag( context, \"heron_riddle_answered\" )", "quest"),
        Probed("monsters.drav", "if drav_check_and_set_tag( context, \"hollis_met\" ) then", "person"),
        Probed("world.drav", "drav_message( context, \"The stone heron turns its head toward you.\" )", "object"),
        Probed("world.drav", "drav_message( context, \"The reeds beside the lane rustle,", "trap"),
        Probed("reedwater_landing.drav", "if not drav_check_and_set_tag( context, \"ferry_kit_given\" )", "entry"),
        {DRAVCommon::DFK_CHAPTER, "world.drav", "door_boathouse ( 1 1 ) door 2 25 </tile>",
         "door_boathouse ( 1 1 ) door 2 <lua> " + ProbeEveryFunction("door") + "</lua> </tile>"},
    }));
    // Wren beside the heron statue, the innkeeper and a ferryman with the heartbeat near her.
    const auto wren = game.Main();
    DRAV::CArea& area = game.Area();
    area.RemoveActor(*wren);
    const auto hollis = game.Spawn("innkeeper", 7, 9), watchman = game.Spawn("ferryman", 8, 10);
    ASSERT_TRUE(area.PlaceActor(6, 10, false, wren) && hollis && watchman);
    watchman->SetHeartbeat(QuillmereTest::LuaBody(ProbeEveryFunction("heartbeat")));
    std::map<std::string, DRAV::CObject*> objects;
    for (const auto& object : area.GetObjects()) objects[object->GetTemplate().GetKey()] = object.get();
    DRAV::CTile& door = *area.GetTile(10, 8);
    ASSERT_TRUE(objects["heron_statue"] && objects["lane_reeds"] && door.IsDoor());
    const std::vector<std::pair<std::string, std::function<void()>>> places{
        {"quest", [&] { game.Engine().SetTag("bell", false); }},
        {"person", [&] { game.Engine().RunInstantOrder(*wren, DRAV::CTalkOrder(hollis->GetId(), "start", "")); }},
        {"object", [&] { game.Engine().RunInstantOrder(*wren, DRAV::CTalkOrder(objects["heron_statue"]->GetId(), "greet", "")); }},
        {"entry", [&] { game.Engine().RunEntryScript("dock"); }},
        {"heartbeat", [&] { game.Engine().RunHeartbeatActor(*watchman); }},
        {"trap", [&] { game.Engine().HitTrap(area, *objects["lane_reeds"], *objects["lane_reeds"]->GetTrap(), *wren); }},
        {"door", [&] { game.Engine().OpenDoor(*wren, door, *door.GetDoor()); }},
    };
    for (const auto& [place, run] : places) {
        EXPECT_NO_THROW(run()) << place;
        EXPECT_TRUE(game.Game().IsQuestTagSet(place)) << place;
    }
}

TEST(TravelScripts, GotoAreaPlacesThePartyAtTheEntry) {
    ScriptTestGame game;
    game.Eval("drav_goto_area( context, \"reed_marsh\", \"hideout\" )");
    EXPECT_EQ(game.Game().GetStateCode(), DRAV::GAME_TRAVEL);
    DRAV::AreaEntryPoint destination;
    ASSERT_TRUE(game.Engine().GetAvailableExit(destination));
    game.Engine().LeaveArea();
    game.Engine().EnterArea();
    EXPECT_EQ(game.Area().GetName(), "reed_marsh");
    EXPECT_EQ(game.Game().GetStateCode(), DRAV::GAME_PLAYING);
    const auto& main = *game.Main();
    // On the centre of the hideout entry's cell: nothing stands there.
    const DRAV::CAreaEntry* hideout = DRAV::FindAreaEntry(game.Area().GetEntries(), "hideout");
    ASSERT_NE(hideout, nullptr);
    EXPECT_DOUBLE_EQ(main.GetX(), (hideout->column + 0.5) * DRAV::kCellSize);
    EXPECT_DOUBLE_EQ(main.GetY(), (hideout->row + 0.5) * DRAV::kCellSize);
}

// Without an entry, a journey to a map goes through the map; to an area, it comes
// in where a map place without an entry brings the party: at the area's first entry.
TEST(TravelScripts, GotoAnAreaWithoutAnEntryArrivesAtItsFirstEntry) {
    ScriptTestGame game;
    for (const char* area : {"reed_marsh", "reedwater_landing"}) {
        SCOPED_TRACE(area);
        game.Eval(std::string("drav_goto_area( context, \"") + area + "\", \"\" )");
        ASSERT_EQ(game.Game().GetStateCode(), DRAV::GAME_TRAVEL);
        game.Engine().LeaveArea();
        ASSERT_EQ(game.Game().GetStateCode(), DRAV::GAME_ENTERING);
        game.Engine().EnterArea();
        const DRAV::CAreaEntry& first = *game.Area().GetEntries().front();
        EXPECT_EQ(game.Game().GetCurrentEntry(), DRAV::AreaEntryPoint(area, first.name));
        EXPECT_LT(game.Main()->DistanceToPoint((first.column + 0.5) * DRAV::kCellSize,
                                               (first.row + 0.5) * DRAV::kCellSize),
                  2 * DRAV::kCellSize);
    }
}

// A journey without an entry tells a map from an area by what the module has read
// already: each place's file is read once, however often the party is sent there.
TEST(TravelScripts, AJourneyWithoutAnEntryReadsEachPlacesFileOnce) {
    auto source = std::make_shared<QuillmereTest::CountingSource>(QuillmereTest::SampleFolderSource());
    ScriptTestGame game(source);
    const int marsh = source->Reads("reed_marsh.drav");
    const int map = source->Reads("reedwater_map.drav");
    for (int journey = 1; journey <= 3; ++journey) {
        SCOPED_TRACE(journey);
        game.Eval("drav_goto_area( context, \"reed_marsh\", \"\" )");
        EXPECT_EQ(game.Game().GetEntry(), DRAV::AreaEntryPoint("reed_marsh", "landing"));
        game.Eval("drav_goto_area( context, \"reedwater_map\", \"\" )");
        EXPECT_EQ(game.Game().GetEntry(), DRAV::AreaEntryPoint("reedwater_map", ""));
    }
    EXPECT_EQ(source->Reads("reed_marsh.drav") - marsh, 1) << "its entries, once";
    // Once to know it for a map, once as the game loads it for the journey.
    EXPECT_EQ(source->Reads("reedwater_map.drav") - map, 2);
}

TEST(TravelScripts, EntryScriptRunsForTheFirstLivingMember) {
    ScriptTestGame game;
    auto travel = [&] {
        game.Eval("drav_goto_area( context, \"reed_marsh\", \"landing\" )");
        game.Engine().LeaveArea();
        game.DrainEvents();
        game.Engine().EnterArea();
        return game.Lines();
    };
    const std::string greeting = "Reeds close over the lane. Somewhere ahead, a heron calls.";
    auto first = travel();
    EXPECT_NE(std::find(first.begin(), first.end(), greeting), first.end());
    EXPECT_EQ(game.Game().GetReturnPoint(), DRAV::AreaEntryPoint("reed_marsh", "landing"));
    // The marsh announces itself the first time only.
    auto second = travel();
    EXPECT_EQ(std::find(second.begin(), second.end(), greeting), second.end());
}

TEST(TravelScripts, ExitScriptDecidesWhetherThePartyMayLeave) {
    ScriptTestGame game;
    game.Eval("drav_goto_area( context, \"reed_marsh\", \"landing\" )");
    game.Engine().LeaveArea();
    game.Engine().EnterArea();
    // The marsh's way home lets the party go, and a rescued boatwright follows once.
    game.Game().SetQuestTag("boatwright_found", 1);
    auto orrin = game.Spawn("boatwright", 9, 4);
    ASSERT_TRUE(orrin);
    game.Game().AddPartyMember(orrin);
    game.Game().SetAvailableExitName("landing_path");
    game.Game().SetStateCode(DRAV::GAME_EXIT_AVAILABLE);
    game.DrainEvents();
    DRAV::AreaEntryPoint destination;
    EXPECT_TRUE(game.Engine().GetAvailableExit(destination));
    EXPECT_TRUE(game.Engine().GetAvailableExit(destination));
    EXPECT_EQ(game.Lines(),
              (std::vector<std::string>{"Orrin limps along behind you, muttering about the state of his boat."}));
}

TEST(PartyScripts, JoinAndLeave) {
    ScriptTestGame game;
    auto hollis = game.Innkeeper();
    game.DrainEvents();
    hollis->SetUnspentPoints(1);
    game.Eval("drav_join_party( context )", hollis.get());
    ASSERT_EQ(game.Game().GetParty().size(), 2u);
    EXPECT_TRUE(hollis->IsPartyMember());
    EXPECT_TRUE(hollis->HasLevelPoints()) << "he joins with a point to spend, shown on his portrait";
    // The new member stays in the area, now its last actor.
    EXPECT_EQ(game.Area().GetActors().back(), hollis);
    EXPECT_EQ(game.Eval("return drav_is_in_party( context, \"innkeeper\" )"), 1);

    // Leaving from his own heartbeat (no partner): the heartbeat's actor goes.
    game.Eval("drav_leave_party( context )", nullptr, hollis.get());
    EXPECT_EQ(game.Game().GetParty().size(), 1u);
    EXPECT_FALSE(hollis->IsPartyMember());
    EXPECT_NE(game.Failure("drav_leave_party( context )", hollis.get()).find("test.drav: drav_leave_party: "),
              std::string::npos);
    // An entry, trap or door script runs for the main character, who never leaves.
    EXPECT_EQ(game.Failure("drav_leave_party( context )"),
              "test.drav: drav_leave_party: " + game.Main()->GetName() + " leads the party and cannot leave it");
    EXPECT_EQ(game.Game().GetParty().size(), 1u);
}

// Every place the game remembers goes into the next save: one that a save cannot
// hold is refused when the script names it, and saving goes on working.
TEST(TravelScripts, PlaceNamesASaveCannotHoldAreRefused) {
    ScriptTestGame game;
    const DRAV::AreaEntryPoint resurrection = game.Game().GetResurrectionPoint();
    const DRAV::AreaEntryPoint returnPoint = game.Game().GetReturnPoint();
    const DRAV::AreaEntryPoint entry = game.Game().GetEntry();
    for (const char* body : {"drav_set_resurrection( context, \"reed marsh\", \"landing\" )",
                             "drav_set_resurrection( context, \"reed_marsh\", \"the landing\" )",
                             "drav_set_return( context, \"the dock\" )",
                             "drav_goto_area( context, \"reed marsh\", \"landing\" )",
                             "drav_goto_area( context, \"reed_marsh\", \"<landing>\" )",
                             "drav_rest( context, \"the dock\" )"})
        EXPECT_NE(game.Failure(body).find("is not a single word that a save can hold"), std::string::npos) << body;
    EXPECT_EQ(game.Game().GetResurrectionPoint(), resurrection);
    EXPECT_EQ(game.Game().GetReturnPoint(), returnPoint);
    EXPECT_EQ(game.Game().GetEntry(), entry);
    EXPECT_EQ(game.Game().GetStateCode(), DRAV::GAME_PLAYING);
    QuillmereTest::TempDir dir;
    EXPECT_NO_THROW(game.Engine().SaveGame(dir / "after.drav", DRAV::CModuleVersionRange("Orvex", 5, 0), nullptr));
    // Sound names still pass.
    game.Eval("drav_set_resurrection( context, \"reed_marsh\", \"landing\" ) drav_set_return( context, \"dock\" )");
    EXPECT_EQ(game.Game().GetResurrectionPoint(), DRAV::AreaEntryPoint("reed_marsh", "landing"));
}

// A place the chapter lacks, mistyped in a script, is the script's error where it
// is named, not a broken journey later; nothing of the game changes.
TEST(TravelScripts, PlacesTheModuleLacksAreScriptErrors) {
    ScriptTestGame game;
    const DRAV::AreaEntryPoint resurrection = game.Game().GetResurrectionPoint();
    const DRAV::AreaEntryPoint returnPoint = game.Game().GetReturnPoint();
    const DRAV::AreaEntryPoint entry = game.Game().GetEntry();
    const std::string noMarshes = "the module has no area \"reed_marshes\"";
    const std::string noDock = "area \"reed_marsh\" has no entry \"dock\"";
    const std::string noSlip = "area \"reedwater_landing\" has no entry \"slip\"";
    const std::pair<const char*, std::string> rows[] = {
        {"drav_goto_area( context, \"reed_marshes\", \"landing\" )", "drav_goto_area: " + noMarshes},
        {"drav_goto_area( context, \"reed_marsh\", \"dock\" )", "drav_goto_area: " + noDock},
        {"drav_set_resurrection( context, \"reed_marshes\", \"landing\" )", "drav_set_resurrection: " + noMarshes},
        {"drav_set_resurrection( context, \"reed_marsh\", \"dock\" )", "drav_set_resurrection: " + noDock},
        {"drav_rest( context, \"slip\" )", "drav_rest: " + noSlip},
        {"drav_set_return( context, \"slip\" )", "drav_set_return: " + noSlip},
        {"drav_goto_area( context, \"\", \"dock\" )", "drav_goto_area: the module has no area \"\""},
    };
    for (const auto& [body, error] : rows) EXPECT_EQ(game.Failure(body), "test.drav: " + error);
    EXPECT_EQ(game.Game().GetStateCode(), DRAV::GAME_PLAYING);
    EXPECT_EQ(game.Game().GetEntry(), entry);
    EXPECT_EQ(game.Game().GetResurrectionPoint(), resurrection);
    EXPECT_EQ(game.Game().GetReturnPoint(), returnPoint);
    // The chapter's own places pass, an area not yet visited among them, and a
    // journey without an entry goes through the map of that name.
    game.Eval("drav_set_resurrection( context, \"reed_marsh\", \"hideout\" ) drav_set_return( context, \"dock\" )");
    EXPECT_EQ(game.Game().GetResurrectionPoint(), DRAV::AreaEntryPoint("reed_marsh", "hideout"));
    EXPECT_NE(game.Failure("drav_goto_area( context, \"reed_map\", \"\" )").find("drav_goto_area: "), std::string::npos);
    EXPECT_EQ(game.Game().GetStateCode(), DRAV::GAME_PLAYING);
    game.Eval("drav_goto_area( context, \"reedwater_map\", \"\" )");
    EXPECT_EQ(game.Game().GetEntry(), DRAV::AreaEntryPoint("reedwater_map", ""));
}

TEST(TravelScripts, RestIsRefusedInBattle) {
    ScriptTestGame game;
    game.Game().SetInBattle(true);
    game.DrainEvents();
    game.Eval("drav_rest( context, \"dock\" )");
    EXPECT_EQ(game.Lines(), (std::vector<std::string>{"You cannot rest while in battle."}));
    EXPECT_EQ(game.Game().GetStateCode(), DRAV::GAME_PLAYING);
}

TEST(QuestScripts, ABrokenQuestScriptIsReportedOnceAndCountsAsNotComplete) {
    // A module author's mistake: a quest that calls a function that does not exist.
    auto source = std::make_shared<QuillmereTest::OverlaySource>(QuillmereTest::SampleFolderSource());
    source->Add(DRAVCommon::DFK_CHAPTER, DRAVCommon::DFS_NONE, "quests.drav",
                "<quests>\n"
                " <quest> broken \"Broken\" 10 0 <lua> return drav_no_such_function( context ) </lua> </quest>\n"
                " <quest> sound \"Sound\" 20 0 <lua> return drav_check_tag( context, \"bell\" ) </lua> </quest>\n"
                // The keeper's errand, which the dock gives on arrival.
                " <quest> reed_smugglers \"Errand\" 5 smugglers_asked <lua> return false </lua> </quest>\n"
                "</quests>\n");
    DRAV::CEngine engine;
    engine.LoadModule(1, DRAV::CModuleVersionRange("Orvex", 5, 0), source);
    const std::shared_ptr<DRAV::CActor> hero = engine.NewGame();
    hero->SetName("Wren");  // a game saves only a hero the name page could have named
    engine.BeginNewGame(hero);
    engine.EnterArea();
    DRAV::CGame& game = *engine.GetGame();
    std::shared_ptr<DRAV::CEvent> event;
    int reports = 0;
    auto countReportsOf = [&](DRAV::CGame& of) {
        while (of.PopEvent(event))
            if (auto* message = dynamic_cast<DRAV::CMessageEvent*>(event.get()))
                if (message->GetText().rfind("Script Error in quest Broken", 0) == 0) ++reports;
    };
    auto countReports = [&] { countReportsOf(game); };
    // The dock's script tags the kit it gives the new hero: the quests are checked.
    countReports();
    EXPECT_EQ(reports, 1);
    EXPECT_NO_THROW(engine.SetTag("gate", false));
    countReports();
    EXPECT_EQ(reports, 1);
    // Later tags neither throw nor report it again, and other quests still complete.
    EXPECT_NO_THROW(engine.SetTag("bell", false));
    countReports();
    EXPECT_EQ(reports, 1);
    EXPECT_TRUE(game.IsQuestTagSet("sound"));
    EXPECT_FALSE(game.IsQuestTagSet("broken"));

    // A loaded game, and a new one, report it once again.
    QuillmereTest::TempDir dir;
    const DRAV::CModuleVersionRange expected("Orvex", 5, 0);
    engine.SaveGame(dir / "broken.drav", expected, nullptr);
    std::string quick;
    engine.LoadGame(dir / "broken.drav", expected, quick);
    DRAV::CGame& loaded = *engine.GetGame();
    while (loaded.PopEvent(event)) {
    }
    engine.SetTag("gong", false);
    while (loaded.PopEvent(event))
        if (auto* message = dynamic_cast<DRAV::CMessageEvent*>(event.get()))
            if (message->GetText().rfind("Script Error in quest Broken", 0) == 0) ++reports;
    EXPECT_EQ(reports, 2);
    engine.BeginNewGame(engine.NewGame());
    engine.EnterArea();
    DRAV::CGame& fresh = *engine.GetGame();
    engine.SetTag("gate", false);
    countReportsOf(fresh);
    EXPECT_EQ(reports, 3);
}

// A number standing for an integer must be one that fits: 1e10 tonics would
// otherwise be 1,410,065,408 of them. Text that is no number still reads as 0.
TEST(ArgumentRules, AnIntegerArgumentMustBeAWholeNumberOf32Bits) {
    ScriptTestGame game;
    const std::string refused = "argument 3 is not a whole number from -2147483648 to 2147483647\n";
    const struct {
        const char* value;
        const char* error;  // null: accepted, and the tag holds `tag`
        std::int32_t tag;
    } rows[] = {
        {"1e10", "", 0},         {"2^31", "", 0},       {"-2147483649", "", 0}, {"2.5", "", 0},
        {"0/0", "", 0},          {"math.huge", "", 0},  {"\"7.5\"", "", 0},
        {"3.0", nullptr, 3},     {"\"4\"", nullptr, 4}, {"2147483647", nullptr, 2147483647},
        {"-2147483648", nullptr, -2147483648}, {"\"many\"", nullptr, 0},
    };
    for (const auto& row : rows) {
        game.Eval("drav_set_tag_value( context, \"bell\", 9 )");
        const std::string body = std::string("drav_set_tag_value( context, \"bell\", ") + row.value + " )";
        if (row.error) {
            EXPECT_EQ(game.Failure(body), "test.drav: drav_set_tag_value: " + refused) << row.value;
            EXPECT_EQ(game.Game().GetQuestTags().at("bell"), 9) << row.value;
        } else {
            game.Eval(body);
            EXPECT_EQ(game.Game().GetQuestTags().count("bell") ? game.Game().GetQuestTags().at("bell") : 0, row.tag)
                << row.value;
        }
    }
    // The count of an item is such an argument too, and nothing is given; being
    // optional, it may be left out or nil, but no other value stands for one.
    game.DrainEvents();
    for (const char* count : {"1e10", "\"abc\"", "true", "{}", "print"})
        EXPECT_EQ(game.Failure(std::string("drav_give_item( context, \"river_tonic\", ") + count + " )"),
                  "test.drav: drav_give_item: " + refused)
            << count;
    EXPECT_TRUE(game.Lines().empty());
    game.Eval("drav_give_item( context, \"river_tonic\", nil )");
    const DRAV::CItem* tonic = DRAV::FindItemByTemplateName(game.Main()->GetBackpack(), "river_tonic");
    ASSERT_TRUE(tonic);
    EXPECT_EQ(tonic->GetCount(), 1);
}

std::string SampleText(const std::string& file) {
    const auto bytes = QuillmereTest::SampleFolderSource()->ReadAll(DRAVCommon::DFK_CHAPTER, DRAVCommon::DFS_NONE, file);
    return std::string(bytes->begin(), bytes->end());
}

// The sample's dock script with an item its module lacks: the error names the
// file, the element, the function and the reason, and the area is entered all
// the same, so that the new game goes on.
TEST(ItemScripts, AFailingCallInTheEntryScriptNamesItsPlaceAndTheAreaIsEnteredAllTheSame) {
    auto source = std::make_shared<QuillmereTest::OverlaySource>(QuillmereTest::SampleFolderSource());
    std::string landing = SampleText("reedwater_landing.drav");
    const std::size_t tonic = landing.find("\"river_tonic\", 2");
    ASSERT_NE(tonic, std::string::npos);
    landing.replace(tonic, 13, "\"no_such_tonic\"");
    source->Add(DRAVCommon::DFK_CHAPTER, DRAVCommon::DFS_NONE, "reedwater_landing.drav", landing);
    DRAV::CEngine engine;
    engine.LoadModule(1, DRAV::CModuleVersionRange("Orvex", 5, 0), source);
    engine.BeginNewGame(engine.NewGame());
    try {
        engine.EnterArea();
        ADD_FAILURE() << "the script did not fail";
    } catch (const CDRAVException& failure) {
        EXPECT_EQ(failure.GetCode(), DRAV_ERR_SCRIPT);
        EXPECT_EQ(failure.GetMessage(), "_chapter_\\reedwater_landing.drav (entry dock): drav_give_item: "
                                        "no item \"no_such_tonic\" is defined");
    }
    DRAV::CGame& game = *engine.GetGame();
    EXPECT_EQ(game.GetStateCode(), DRAV::GAME_PLAYING);
    ASSERT_TRUE(game.GetCurrentArea());
    EXPECT_EQ(game.GetCurrentArea()->GetName(), "reedwater_landing");
    EXPECT_EQ(game.GetMainActor()->GetArea(), game.GetCurrentArea());
    EXPECT_EQ(game.GetTick(), 1u) << "the tick after the entry ran";
}

// A journey, a rest or the end asked for on arrival outlasts the tick after the entry.
TEST(TravelScripts, WhatAnEntryScriptAsksOfTheShellOutlastsTheEntry) {
    using Row = std::pair<const char*, DRAV::GameStateCode>;
    for (const auto& [call, state] : {Row{"drav_goto_area( context, \"reed_marsh\", \"landing\" )", DRAV::GAME_TRAVEL},
                                      Row{"drav_rest( context, \"dock\" )", DRAV::GAME_WIPED_OUT},
                                      Row{"drav_win( context, \"The end.\" )", DRAV::GAME_WON}}) {
        const QuillmereTest::SampleGame game(QuillmereTest::EditedSampleSource(
            DRAVCommon::DFK_CHAPTER, "reedwater_landing.drav", "drav_give_item( context, \"river_tonic\", 2 )", call));
        EXPECT_EQ(game.Game().GetStateCode(), state) << call;
    }
}

// A script that does not compile stops the load of its module or its area, naming
// the file and the element that holds it.
TEST(ScriptLoading, ASyntaxErrorIsFoundWhenItsFileIsRead) {
    const struct {
        const char* file;
        const char* element;
    } rows[] = {
        {"quests.drav", "quest find_boatwright"},
        {"monsters.drav", "monster ferryman_elder, talk state start"},
        {"world.drav", "tile warden_gate"},
        {"reedwater_landing.drav", "entry dock"},
        {"reed_marsh.drav", "encounter smugglers_hide"},
    };
    for (const auto& row : rows) {
        auto source = std::make_shared<QuillmereTest::OverlaySource>(QuillmereTest::SampleFolderSource());
        std::string text = SampleText(row.file);
        text.replace(text.find("<lua>\n"), 5, "<lua> if then");
        source->Add(DRAVCommon::DFK_CHAPTER, DRAVCommon::DFS_NONE, row.file, text);
        try {
            DRAV::CEngine engine;
            engine.LoadModule(1, DRAV::CModuleVersionRange("Orvex", 5, 0), source);
            for (const char* area : {"reedwater_landing", "reed_marsh"}) {
                DRAV::CGame game;
                DRAV::CArea(&game).LoadAreaFile("", area, *engine.GetModule(), DRAV::AREA_LOAD_FRESH, false);
            }
            ADD_FAILURE() << row.file << " was read without complaint";
        } catch (const CDRAVException& failure) {
            EXPECT_EQ(failure.GetCode(), DRAV_ERR_BAD_DATA) << row.file;
            const std::string expected = std::string("_chapter_\\") + row.file + " (" + row.element +
                                         "): lua:2: unexpected symbol near 'then'";
            EXPECT_NE(failure.GetMessage().find(expected), std::string::npos) << failure.GetMessage();
        }
    }
}

}  // namespace
