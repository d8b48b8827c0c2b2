#include <gtest/gtest.h>

#include <functional>
#include <regex>
#include <set>
#include <tuple>
#include <utility>

#include "engine/script_functions/script_function_lists.h"
#include "engine/scripts/script_test_game.h"
#include "rules/module.h"
#include "script/script_limits.h"
#include "world/actor.h"
#include "world/area.h"
#include "world/game.h"
#include "world/journal_entry.h"
#include "world/people_journal.h"

using QuillmereTest::ScriptTestGame;
using namespace std::string_literals;

namespace {

// Far more than a flood may take now (a quarter of a second of script and a tick
// or two); before, it took minutes.
constexpr unsigned kChildSeconds = 20;

// Runs `flood` in a child process; its exit code says which of its checks failed.
void ExpectChildEnds(const std::function<int()>& flood, const char* codes) {
    EXPECT_EQ(QuillmereTest::OutcomeInChild([&] { return std::to_string(flood()); }, kChildSeconds), "0") << codes;
}

TEST(ScriptFlood, AMillionLaunchedSpellsEndAsAScriptErrorAndTheNextTicksClearThem) {
    ScriptTestGame game;
    ExpectChildEnds(
        [&] {
            const std::string failure =
                game.Failure("for i = 1, 1000000 do drav_launch_spell( context, \"reed_lash\" ) end");
            const std::size_t made = game.Area().GetEffects().size();
            game.Tick(2);
            if (failure != "test.drav: drav_launch_spell: the script makes more than 1000 things") return 1;
            if (made != DRAV::kScriptMadeLimit) return 2;
            return game.Area().GetEffects().empty() ? 0 : 3;
        },
        "1: the script did not fail naming the function; 2: it made other than the limit; 3: effects were left");
}

// Fights make effects too, and each leaves the area in the tick after it lands.
TEST(EffectsInFlight, ThreeHundredThousandEffectsInFlightLeaveInTheNextTwoTicks) {
    ScriptTestGame game;
    ExpectChildEnds(
        [&] {
            const DRAV::CSpell& lash = *game.Module().GetSpells().at("reed_lash");
            for (int i = 0; i < 300000; ++i) game.Engine().LaunchScriptSpell(*game.Main(), lash);
            game.Tick(2);
            return game.Area().GetEffects().empty() ? 0 : 1;
        },
        "1: effects were left");
}

TEST(EffectsInFlight, RemovingAnEffectKeepsTheOthersInLaunchOrder) {
    ScriptTestGame game;
    DRAV::CArea& area = game.Area();
    std::vector<std::shared_ptr<DRAV::CEffect>> launched;
    for (int i = 0; i < 5; ++i) {
        game.Eval("drav_launch_spell( context, \"still_water\" )");
        launched.push_back(area.GetEffects().back());
    }
    area.RemoveEffect(*launched[1]);
    area.RemoveEffect(*launched[3]);
    area.RemoveEffect(*launched[3]);  // gone already: nothing
    area.AddEffect(launched[0]);      // there already: nothing
    area.AddEffect(launched[3]);
    std::vector<DRAV::ThingId> order;
    for (const auto& effect : area.GetEffects()) order.push_back(effect->GetId());
    EXPECT_EQ(order, (std::vector<DRAV::ThingId>{launched[0]->GetId(), launched[2]->GetId(), launched[4]->GetId(),
                                                 launched[3]->GetId()}));
    for (const auto& effect : launched) area.RemoveEffect(*effect);
    EXPECT_TRUE(area.GetEffects().empty());
}

// A call that hands the game something counts: a script may make up to the limit,
// and the next call ends it with an error naming the function, which no pcall can
// catch. What it made stays. Of every function, 1,001 calls stop at the limit, hand
// the game nothing (a thousand lines after them still fit), or are refused.
TEST(ScriptFlood, EachFunctionThatMakesThingsStopsAtTheLimit) {
    ScriptTestGame game;
    auto hollis = game.Innkeeper();
    std::size_t boxCount = 0, lineCount = 0, tagCount = 0, entryCount = 0;
    const auto tally = [&] {
        for (const auto& event : game.DrainEvents()) {
            boxCount += dynamic_cast<DRAV::CDialogBoxEvent*>(event.get()) != nullptr;
            lineCount += dynamic_cast<DRAV::CMessageEvent*>(event.get()) != nullptr;
        }
    };
    const auto lines = [&] { return tally(), lineCount; };
    // Tags a run added, taken away again so that the game keeps room for new ones.
    const DRAV::TagMap startTags = game.Game().GetQuestTags();
    const auto tags = [&] {
        DRAV::TagMap& held = game.Game().GetQuestTags();
        tagCount += held.size() - startTags.size();
        held = startTags;
        return tagCount;
    };
    // So are journal entries, which the journal keeps no more of than its limit.
    const auto entries = [&] { return entryCount += std::exchange(game.Game().GetJournal(), {}).size(); };
    // And map locations, and the stacks of a pack.
    std::size_t placeCount = 0, stackCount = 0;
    const auto places = [&] { return placeCount += std::exchange(game.Game().GetRevealedLocations(), {}).size(); };
    const auto stacks = [&] {
        for (; !game.Main()->GetBackpackItems().empty(); ++stackCount)
            game.Main()->RemoveFromBackpack(*game.Main()->GetBackpackItems().back());
        return stackCount;
    };
    const auto effects = [&] { return game.Area().GetEffects().size(); };
    const std::string limit = std::to_string(DRAV::kScriptMadeLimit);
    const std::string tooMany = "the script makes more than " + limit + " things";
    const auto stops = [&](const std::string& function) { return "test.drav: " + function + ": " + tooMany; };
    const auto pages = [&](const std::string& function) {
        return "test.drav: " + function + ": the script puts more than " + std::to_string(DRAV::kScriptPageLimit) +
               " pages in front of the player";
    };
    struct Case {
        const char* call;  // a journal entry's key or a tag takes the run's letter for RUN
        std::function<std::size_t()> made = {};  // what it made, for one that stops
        std::string outcome = "no failure";  // of the walk, for one that does not
    };
    const Case cases[] = {
        {"drav_launch_spell( context, \"still_water\" )", effects},
        {"drav_teleport_actor( context, \"lane\", \"ferry_crossing\" )", effects},
        {"drav_give_item( context, \"dagger\", 2147483647 )", stacks},
        // Pages that wait for the player stop far sooner (WhatOneCallHandsTheGameIsBounded).
        {"drav_dialog_box( context, \"Bell\", \"It rings.\" )", nullptr, pages("drav_dialog_box")},
        {"drav_help( context, \"Bell\", \"It rings.\" )", nullptr, pages("drav_help")},
        {"drav_shout( context, \"actor\", \"Ho!\" )", nullptr, pages("drav_shout")},
        {"drav_journal( context, \"smugglers\", \"RUN\" .. i )", entries},
        {"drav_add_talk_path( context, \"Well?\", \"\" )", [&] { return hollis->GetTalkChoices().size(); }},
        {"drav_message( context, \"Hark.\" )", lines},
        {"drav_talk( context, \"Hark.\" )", lines},
        {"drav_chatter( context, \"actor\", \"Hark.\" )", lines},
        {"drav_give_gold( context, 1 )", lines},
        {"drav_assign_quest( context, \"heron_riddle\" )", lines},
        {"drav_diplomacy_check( context, 0, \"start\", \"start\" )", lines},
        {"drav_special_stat_check( context, \"diplomacy\", 0 )", lines},
        {"drav_set_faction_rank( context, \"ferrymen\", 1 )", lines},
        {"drav_reveal_area( context, \"RUN\" .. i )", places},
        {"drav_set_tag( context, \"RUN\" .. i )", tags},
        {"drav_set_tag_value( context, \"RUN\" .. i, 2 )", tags},
        {"drav_check_and_set_tag( context, \"RUN\" .. i )", tags},
        {"drav_empty_party( context )", nullptr, stops("drav_empty_party")},
        {"drav_open_door( context, \"sluice_gate\" )", nullptr, stops("drav_open_door")},
        {"drav_close_door( context, \"sluice_gate\" )", nullptr, stops("drav_close_door")},
        {"drav_special_stat_check( context, \"observation\", 1000 )"},
        {"drav_is_in_party( context, \"target\" ) drav_is_main_actor( context, \"actor\" )"},
        {"drav_is_actor( context, \"target\", \"innkeeper\" ) drav_goto_state( context, \"start\" )"},
        {"drav_get_special_stat( context, \"party\", \"locks\" )"},
        {"drav_goto_area( context, \"reed_marsh\", \"hideout\" ) drav_rest( context, \"dock\" )"},
        {"drav_set_resurrection( context, \"reedwater_landing\", \"dock\" )"},
        {"drav_set_return( context, \"dock\" ) drav_check_assigned( context, \"find_boatwright\" )"},
        {"drav_store( context ) drav_check_tag( context, \"RUN\" .. i )"},
        {"drav_get_tag_value( context, \"RUN\" .. i ) drav_remove_item( context, \"dagger\" )"},
        {"drav_has_item( context, \"dagger\" ) drav_get_level( context, \"main\" )"},
        {"drav_get_gold( context, \"party\" ) drav_win( context, \"The end.\" )"},
        {"drav_has_faction( context ) drav_get_faction_rank( context, \"ferrymen\" )"},
        {"drav_get_name( context, \"target\" ) drav_get_pronoun( context, \"actor\" )"},
        {"drav_get_possessive( context, \"main\" ) drav_is_dead( context, \"target\" )"},
        {"drav_is_in_area( context, \"reed_marsh\" ) drav_get_time( context )"},
        {"drav_is_male( context, \"main\" ) drav_remove_encounter( context, \"RUN\" .. i )"},
        {"drav_is_surrender( context, \"target\" ) drav_random_check( context, 50 )"},
        {"drav_has_skill( context, \"main\", \"locks\" ) drav_attack( context )"},
        {"drav_remove_actor( context )"},
        // The innkeeper joins once, and no line after it fits; one in the party does not join again.
        {"drav_join_party( context )", nullptr, stops("drav_message")},
        {"drav_leave_party( context )", nullptr, "test.drav: drav_leave_party: only a party member can leave the party"},
    };
    std::set<std::string> walked;
    const std::regex function("drav_[a-z_]+");
    for (const Case& c : cases) {
        const std::string call = c.call;
        const std::string name = call.substr(0, call.find('('));
        for (std::sregex_iterator word(call.begin(), call.end(), function), end; word != end; ++word)
            walked.insert(word->str());
        const auto run = [&](const char* letter, const std::string& loop) {
            std::string body = loop;
            const std::size_t at = body.find("RUN");
            if (at != std::string::npos) body.replace(at, 3, letter);
            return game.Failure(body, hollis.get());
        };
        if (!c.made) {
            EXPECT_EQ(run("w", "for i = 1, " + limit + " + 1 do " + call + " end for i = 1, " + limit +
                                   " do drav_message( context, \"after\" ) end return 1"),
                      c.outcome)
                << call;
            continue;
        }
        const std::size_t before = c.made();
        EXPECT_EQ(run("a", "for i = 1, " + limit + " do " + call + " end return 1"), "no failure") << call;
        EXPECT_EQ(c.made() - before, DRAV::kScriptMadeLimit) << call;
        EXPECT_EQ(run("b", "for i = 1, " + limit + " + 1 do " + call + " end"), stops(name)) << call;
        EXPECT_EQ(c.made() - before, 2 * DRAV::kScriptMadeLimit) << call;
        EXPECT_EQ(run("c", "for i = 1, 2 * " + limit + " do pcall(function() " + call + " end) end return 1"),
                  "test.drav: " + tooMany)
            << call;
        EXPECT_EQ(c.made() - before, 3 * DRAV::kScriptMadeLimit) << call;
    }
    for (const auto& function : DRAV::GetNativeScriptFunctions()) EXPECT_TRUE(walked.count(function.name)) << function.name;
}

// The sample's quests with the heron's riddle, which every tag change examines,
// judged by `heron` instead, and `spinners` more quests like it whose scripts spin,
// each once the tag "armed" is set: the game's start sets tags too.
std::shared_ptr<DRAVCommon::CDataFileFactory> QuestsEdited(const std::string& heron, int spinners) {
    const std::string armed = "if not drav_check_tag( context, \"armed\" ) then return false end ";
    std::string more;
    for (int i = 0; i < spinners; ++i)
        more += "<quest> spin" + std::to_string(i) + " \"Spin\" 1 0 <lua> " + armed +
                "while true do end </lua> </quest>\n";
    return QuillmereTest::EditedSampleSource(
        {{DRAVCommon::DFK_CHAPTER, "quests.drav", "return drav_check_tag( context, \"heron_riddle_answered\" )",
          armed + heron},
         {DRAVCommon::DFK_CHAPTER, "quests.drav", "</quests>", more + "</quests>"}});
}

// Once the budget is spent the quest that spent it is reported, no other quest is
// tried, and the outer script stops with an error naming the function. A quest that
// ended only because another script spent the budget is not blamed: the riddle, once
// answered, completes it. A tag the engine sets runs the quests in one budget too.
TEST(ScriptFlood, ScriptsRunInsideAScriptShareItsBudget) {
    struct Row {
        const char* what;
        std::string heron;  // the riddle's completion script
        int spinners;
        std::string body;     // the script that sets the tags; empty: the engine sets "bell"
        std::string outcome;  // its failure, the boxes, quest errors, lines "after", tokens, then the riddle done
    };
    const std::string depth = std::to_string(DRAV::kScriptNestingLimit);
    const std::vector<Row> rows{
        {"a quest's lines count with the script whose tags ran it",
         "for i = 1, 999 do drav_message( context, \"after\" ) end return false", 0,
         "for i = 1, 100 do drav_set_tag( context, \"bell\" .. i ) end",
         "test.drav: drav_set_tag: the script makes more than 1000 things / 0 boxes / 0 quest errors / 999 after / "
         "0 tokens"},
        {"so do its boxes, and the quest that put too many in front of the player is blamed",
         "for i = 1, 999 do drav_dialog_box( context, \"Q\", \"q\" ) end return false", 0,
         "for i = 1, 100 do drav_set_tag( context, \"bell\" .. i ) end",
         "test.drav: drav_set_tag: the script puts more than 16 pages in front of the player / 16 boxes / "
         "1 quest errors / 0 after / 0 tokens"},
        {"quests that spin spend the outer script's work", "while true do end", 3,
         "drav_set_tag( context, \"bell\" ) drav_message( context, \"after\" )",
         "test.drav: drav_set_tag: script ran too long / 0 boxes / 1 quest errors / 0 after / 0 tokens"},
        {"twenty quests that spin spend one budget of a tag the engine sets", "while true do end", 20, "",
         "no failure / 0 boxes / 1 quest errors / 0 after / 0 tokens"},
        {"a quest run once the outer script holds all the memory is not to blame",
         "return drav_check_tag( context, \"heron_riddle_answered\" )", 0,
         "local keep, n = {}, 0 while collectgarbage( \"count\" ) * 1024 < " +
             std::to_string(DRAV::kScriptMemoryLimit - 16000) +
             " do n = n + 1 keep[n] = string.rep( \"x\", 4000 ) .. n end drav_set_tag( context, \"bell\" )",
         "test.drav: drav_set_tag: not enough memory / 0 boxes / 0 quest errors / 0 after / 0 tokens / done"},
        {"what the outer script holds leaves the quest less memory",
         "local t = string.rep( \"y\", 900000 ) return string.len( t ) == 0", 0,
         "local s = string.rep( \"x\", 900000 ) drav_set_tag( context, \"bell\" ) "
         "drav_message( context, \"after\" .. string.len( s ) )",
         "test.drav: drav_set_tag: not enough memory / 0 boxes / 1 quest errors / 0 after / 0 tokens"},
        {"a quest that gives its own quest item runs inside itself only so deep",
         "drav_give_item( context, \"ferry_token\" ) return false", 0, "drav_set_tag( context, \"bell\" )",
         "test.drav: drav_set_tag: scripts run inside each other more than " + depth +
             " deep / 0 boxes / 1 quest errors / 0 after / " + std::to_string(DRAV::kScriptNestingLimit - 1) +
             " tokens"},
        {"a quest within the budget completes", "return drav_check_tag( context, \"bell\" )", 0,
         "drav_set_tag( context, \"bell\" ) drav_message( context, \"after\" ) return 1",
         "no failure / 0 boxes / 0 quest errors / 1 after / 0 tokens / done"},
    };
    for (const Row& row : rows) {
        ScriptTestGame game(QuestsEdited(row.heron, row.spinners));
        game.Game().SetQuestTag("armed", 1);
        game.DrainEvents();
        const std::string outcome = QuillmereTest::OutcomeInChild([&] {
            if (row.body.empty()) game.Engine().SetTag("bell", false);
            const std::string failure = row.body.empty() ? "no failure" : game.Failure(row.body);
            std::size_t boxes = 0, questErrors = 0, after = 0;
            for (const auto& event : game.DrainEvents()) {
                boxes += dynamic_cast<DRAV::CDialogBoxEvent*>(event.get()) != nullptr;
                const auto* line = dynamic_cast<DRAV::CMessageEvent*>(event.get());
                if (!line) continue;
                questErrors += line->GetText().rfind("Script Error in quest", 0) == 0;
                after += line->GetText().rfind("after", 0) == 0;
            }
            std::size_t tokens = 0;
            for (const auto& item : game.Main()->GetBackpackItems())
                if (item->GetTemplate().GetKey() == "ferry_token") tokens += item->GetCount();
            game.Engine().SetTag("heron_riddle_answered", false);
            return failure + " / " + std::to_string(boxes) + " boxes / " + std::to_string(questErrors) +
                   " quest errors / " + std::to_string(after) + " after / " + std::to_string(tokens) + " tokens" +
                   (game.Game().IsQuestTagSet("heron_riddle") ? " / done" : "");
        });
        EXPECT_EQ(outcome, row.outcome) << row.what;
    }
}

// Past a bound the script ends with an error naming the function, and nothing of
// the call is kept.
TEST(ScriptFlood, WhatOneCallHandsTheGameIsBounded) {
    ScriptTestGame game;
    auto hollis = game.Innkeeper();
    game.DrainEvents();
    const std::string limit = std::to_string(DRAV::kScriptTextLimit);
    const std::string full = "string.rep( \"x\", " + limit + " )";
    const std::string over = "string.rep( \"x\", " + limit + " + 1 )";
    // Every word a line for each member, within the bound before it is filled in.
    const std::string party = "string.rep( \"PARTY \", " + limit + " // 6 )";
    const auto tooLong = [&](const char* function, int argument) {
        return "test.drav: " + std::string(function) + ": argument " + std::to_string(argument) +
               " is longer than " + limit + " bytes\n";
    };
    const auto grows = [&](const char* function) {
        return "test.drav: " + std::string(function) + ": the text grows past " +
               std::to_string(DRAV::kExpandedTextLimit) + " bytes once PARTY and MAINNAME are filled in";
    };
    // A word a save keeps: a tag, a map location, a journal entry's keys.
    const std::string word = "string.rep( \"t\", " + std::to_string(DRAV::kScriptWordLimit) + " )";
    const std::string longWord = word + " .. \"t\"";
    const auto tooLongWord = [&](const char* function, const char* what) {
        return "test.drav: " + std::string(function) + ": a " + what + " of " +
               std::to_string(DRAV::kScriptWordLimit + 1) + " bytes is longer than the " +
               std::to_string(DRAV::kScriptWordLimit) + " a save keeps";
    };
    struct Row {
        std::string body;
        std::string failure;
        std::size_t events;  // what the call left for the interface
        std::size_t newTags = 0;
    };
    const std::vector<Row> rows{
        {"drav_message( context, " + over + " )", tooLong("drav_message", 2), 0},
        {"drav_chatter( context, \"actor\", " + over + " )", tooLong("drav_chatter", 3), 0},
        {"drav_talk( context, " + over + " )", tooLong("drav_talk", 2), 0},
        {"drav_shout( context, \"actor\", " + over + " )", tooLong("drav_shout", 3), 0},
        {"drav_dialog_box( context, " + over + ", \"Bell\" )", tooLong("drav_dialog_box", 2), 0},
        {"drav_dialog_box( context, \"Bell\", " + over + " )", tooLong("drav_dialog_box", 3), 0},
        {"drav_help( context, \"tutorial_party\", " + over + " )", tooLong("drav_help", 3), 0},
        {"drav_add_talk_path( context, " + over + ", \"\" )", tooLong("drav_add_talk_path", 2), 0},
        {"drav_win( context, " + over + " )", tooLong("drav_win", 2), 0},
        {"drav_message( context, " + full + " ) drav_talk( context, " + full + " ) return 1", "no failure", 2},
        {"drav_dialog_box( context, \"Bell\", " + party + " )", grows("drav_dialog_box"), 0},
        {"drav_help( context, \"tutorial_party\", " + party + " )", grows("drav_help"), 0},
        {"drav_shout( context, \"actor\", " + party + " )", grows("drav_shout"), 0},
        {"drav_talk( context, " + party + " )", grows("drav_talk"), 0},
        {"drav_win( context, " + party + " )", grows("drav_win"), 0},
        {"drav_dialog_box( context, \"Bell\", \"PARTY \" .. string.rep( \"x\", " + limit + " - 6 ) ) return 1",
         "no failure", 1},
        // A run's boxes, shouts and help pages share one bound; those it showed stay.
        {"for i = 1, 8 do drav_dialog_box( context, \"Bell\", \"Ding.\" ) "
         "drav_shout( context, \"actor\", \"Ho!\" ) end drav_help( context, \"tutorial_party\", \"Ho.\" )",
         "test.drav: drav_help: the script puts more than 16 pages in front of the player", 16},
        {"drav_set_tag( context, " + longWord + " )", tooLongWord("drav_set_tag", "quest tag"), 0},
        {"drav_set_tag_value( context, " + longWord + ", 0 )", tooLongWord("drav_set_tag_value", "quest tag"), 0},
        {"drav_reveal_area( context, " + longWord + " )", tooLongWord("drav_reveal_area", "map location"), 0},
        {"drav_journal( context, \"q\", " + longWord + " )", tooLongWord("drav_journal", "journal key"), 0},
        {"drav_journal( context, " + longWord + ", \"j\" )", tooLongWord("drav_journal", "quest key"), 0},
        {"drav_journal( context, \"q\", " + word + " ) return 1", "no failure", 1},
        {"drav_set_tag( context, " + word + " ) return 1", "no failure", 0, 1},
    };
    for (const Row& row : rows) {
        const std::size_t tags = game.Game().GetQuestTags().size();
        EXPECT_EQ(game.Failure(row.body, hollis.get()), row.failure) << row.body;
        EXPECT_EQ(game.DrainEvents().size(), row.events) << row.body;
        EXPECT_EQ(game.Game().GetStateCode(), DRAV::GAME_PLAYING) << row.body;
        EXPECT_EQ(game.Game().GetQuestTags().size(), tags + row.newTags) << row.body;
    }

    // A game that holds as many tags or map locations as scripts may add takes no
    // new one, and still sets those it has; a pack as full as scripts may fill takes
    // no new stack.
    DRAV::TagMap& tags = game.Game().GetQuestTags();
    for (std::size_t i = 0; tags.size() < DRAV::kScriptTagLimit; ++i) tags["filler" + std::to_string(i)] = 1;
    EXPECT_EQ(game.Failure("drav_check_and_set_tag( context, \"one_more\" )"),
              "test.drav: drav_check_and_set_tag: the game holds " + std::to_string(DRAV::kScriptTagLimit) +
                  " tags, as many as scripts may add");
    EXPECT_EQ(
        game.Failure("drav_set_tag( context, \"filler0\" ) drav_set_tag_value( context, \"filler1\", 0 ) return 1"),
        "no failure");
    EXPECT_EQ(tags.size(), DRAV::kScriptTagLimit);
    DRAV::TagMap& places = game.Game().GetRevealedLocations();
    for (std::size_t i = 0; places.size() < DRAV::kScriptLocationLimit; ++i) places["a" + std::to_string(i)] = 1;
    EXPECT_EQ(game.Failure("drav_reveal_area( context, \"a1\" ) drav_reveal_area( context, \"one_more\" )"),
              "test.drav: drav_reveal_area: the game holds " + std::to_string(DRAV::kScriptLocationLimit) +
                  " map locations, as many as scripts may add");
    EXPECT_EQ(game.Game().GetRevealedLocations().size(), DRAV::kScriptLocationLimit);
    while (game.Main()->GetBackpackItems().size() < DRAV::kScriptPackLimit)
        game.Main()->AddToBackpack(game.Engine().GetModule()->CreateItem("dagger", 1, 0, 0), false);
    EXPECT_EQ(game.Failure("drav_give_item( context, \"dagger\" )"),
              "test.drav: drav_give_item: Wren's pack holds " + std::to_string(DRAV::kScriptPackLimit) +
                  " stacks, as many as scripts may fill");
    game.Main()->RemoveFromBackpack(*game.Main()->GetBackpackItems().back());
    // Effects take no serial a save keeps; a thing no serial is left for is a script error.
    game.Game().SetThingSerialCounter(DRAV::kMaxThingSerial + 1);
    game.Eval("for i = 1, 999 do drav_launch_spell( context, \"reed_lash\" ) end");
    EXPECT_EQ(game.Game().GetThingSerialCounter(), DRAV::kMaxThingSerial + 1);
    EXPECT_EQ(game.Failure("drav_give_item( context, \"dagger\" )"),
              "test.drav: drav_give_item: the game has made all 16777215 things a save can number");
    // Nor do runs add up to more than a person's notes and the journal keep, the latest.
    for (const std::string run : {"a", "b", "c", "d", "e"})
        game.Eval("for i = 1, 499 do drav_chatter( context, \"actor\", \"" + run +
                      "\" .. i ) drav_journal( context, \"q\", \"" + run + "\" .. i ) end",
                  nullptr, hollis.get());
    const auto& notes = game.Game().GetPeopleJournal().at(hollis->GetNameWord())->GetNotes();
    const auto& journal = game.Game().GetJournal();
    EXPECT_EQ(std::tuple(notes.size(), notes.back(), journal.size(), journal.back()->GetJournalKey()),
              std::tuple(DRAV::kPersonNoteLimit, hollis->GetName() + " : e499", DRAV::kJournalEntryLimit, "e499"s));
}

}  // namespace
