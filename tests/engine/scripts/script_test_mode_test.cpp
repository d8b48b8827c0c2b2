#include <gtest/gtest.h>

#include <iostream>
#include <sstream>

#include "engine/scripts/script_test_game.h"
#include "world/actor.h"
#include "world/area.h"

using QuillmereTest::LuaBody;
using QuillmereTest::ScriptTestGame;

namespace {

// Runs `body` in test mode with `input` as standard input; returns what it wrote.
class TestModeRun {
public:
    TestModeRun(const ScriptTestGame& game, const std::string& input, DRAV::CTalkTarget* partner)
        : m_game(game), m_input(input), m_oldIn(std::cin.rdbuf(m_input.rdbuf())), m_oldOut(std::cout.rdbuf(m_output.rdbuf())) {
        m_context.testMode = true;
        m_context.testPartner = partner;
    }
    ~TestModeRun() {
        std::cin.rdbuf(m_oldIn);
        std::cout.rdbuf(m_oldOut);
    }
    std::int32_t Eval(const std::string& body) { return LuaBody(body)->Eval(&m_game.Engine(), m_context); }
    std::string Output() const { return m_output.str(); }
    DRAV::CScriptContext& Context() { return m_context; }

private:
    const ScriptTestGame& m_game;
    std::istringstream m_input;
    std::ostringstream m_output;
    std::streambuf* m_oldIn;
    std::streambuf* m_oldOut;
    DRAV::CScriptContext m_context;
};

TEST(ScriptTestMode, TwinsPrintAndAskWithoutTouchingTheGame) {
    ScriptTestGame game;
    auto hollis = game.Innkeeper();
    const auto tagsBefore = game.Game().GetQuestTags();
    const std::int32_t goldBefore = game.Game().GetGold();
    TestModeRun run(game, "1 7 nonsense 1", hollis.get());
    const std::int32_t result = run.Eval(
        "drav_talk( context, \"Evening.\" ) "
        "drav_set_tag( context, \"bell\" ) "
        "drav_give_gold( context, -5 ) "
        "local seen = drav_check_tag( context, \"bell\" ) "
        "local gold = drav_get_tag_value( context, \"bell\" ) "
        "local other = drav_has_item( context, \"eel_pie\" ) "
        "drav_diplomacy_check( context, 40, \"confide\", \"rebuff\" ) "
        "drav_store( context ) "
        "if seen and gold == 7 and not other then return 1 end return 0");
    EXPECT_EQ(result, 1);
    EXPECT_EQ(run.Context().nextState, "confide");
    EXPECT_TRUE(run.Context().storeRequested);
    EXPECT_EQ(run.Output(),
              "DRAV::CLuaScript::lua_talk_test : Hollis the Innkeeper : Evening.\n"
              "DRAV::CLuaScript::lua_set_tag_test : bell\n"
              "DRAV::CLuaScript::lua_give_gold_test : -5\n"
              "DRAV::CLuaScript::lua_check_tag_test : bell\nValue (0 or 1)> "
              "DRAV::CLuaScript::lua_get_tag_value_test : bell\nValue (int)> "
              "DRAV::CLuaScript::lua_has_item_test : eel_pie (Eel Pie)\nValue (0 or 1)> "
              "DRAV::CLuaScript::lua_diplomacy_check_test dc: 40\nSuccess (1 or 0)?> "
              "DRAV::CLuaScript::lua_store_test\n");
    EXPECT_EQ(game.Game().GetQuestTags(), tagsBefore);
    EXPECT_EQ(game.Game().GetGold(), goldBefore);
    EXPECT_FALSE(hollis->GetStoreFlag());
}

TEST(ScriptTestMode, TwinsCheckNamesAgainstTheModule) {
    ScriptTestGame game;
    TestModeRun run(game, "", nullptr);
    auto failure = [&](const std::string& body) {
        try {
            run.Eval(body);
        } catch (const CDRAVException& error) {
            return std::to_string(error.GetCode()) + " " + error.GetMessage();
        }
        return std::string("no failure");
    };
    EXPECT_EQ(failure("drav_give_item( context, \"no_such_item\" )"),
              "6 test.drav: drav_give_item: DRAV::CLuaScript::GetLuaItemTest No item: no_such_item\n");
    EXPECT_EQ(failure("drav_give_item( context, \"eel_pie\", \"abc\" )"),
              "6 test.drav: drav_give_item: argument 3 is not a whole number from -2147483648 to 2147483647\n");
    EXPECT_EQ(failure("drav_journal( context, \"q\", \"no_entry\" )"),
              "6 test.drav: drav_journal: DRAV::CLuaScript::lua_journal_test No journal entry : no_entry\n");
    EXPECT_EQ(failure("drav_get_gold( context, \"main\" )"),
              "6 test.drav: drav_get_gold: DRAV::CLuaScript::lua_get_gold_test Actor must be party : main_name\n");
    EXPECT_EQ(failure("drav_chatter( context, \"stranger\", \"hi\" )"),
              "6 test.drav: drav_chatter: DRAV::CLuaScript::GetLuaActorTest bad actor : stranger\n");
    EXPECT_EQ(failure("drav_special_stat_check( context, \"luck\", 3 )"), "6 test.drav: drav_special_stat_check: No Special Stat: luck");
    EXPECT_EQ(failure("drav_store( context )"), "6 test.drav: drav_store: Talk used in non-talk script\n");
    EXPECT_EQ(failure("drav_set_faction_rank( context, \"no_guild\", 1 )"),
              "6 test.drav: drav_set_faction_rank: DRAV::CLuaScript::lua_set_faction_rank_test No such faction: no_guild\n");
    EXPECT_EQ(failure("drav_get_faction_rank( context, \"no_guild\" )"),
              "6 test.drav: drav_get_faction_rank: DRAV::CLuaScript::lua_get_faction_rank_test No such faction: no_guild\n");
    EXPECT_EQ(failure("drav_has_skill( context, \"main\", \"juggling\" )"),
              "6 test.drav: drav_has_skill: DRAV::CLuaScript::lua_has_skill_test No such skill: juggling\n");
    EXPECT_EQ(failure("drav_teleport_actor( context, \"dock\", \"no_spell\" )"),
              "6 test.drav: drav_teleport_actor: DRAV::CLuaScript::lua_teleport_actor_test No such spell: no_spell\n");
}

TEST(ScriptTestMode, WorldTwinsShowTheirSubjectsAndLeaveTheGameAlone) {
    ScriptTestGame game;
    const auto openDoors = game.Area().GetOpenDoors().size();
    TestModeRun run(game, "3 1", nullptr);
    const std::int32_t result = run.Eval(
        "drav_set_faction_rank( context, \"ferrymen\", 2 ) "
        "local rank = drav_get_faction_rank( context, \"ferrymen\" ) "
        "local name = drav_get_name( context, \"main\" ) "
        "local lucky = drav_random_check( context, 25 ) "
        "drav_close_door( context, \"sluice_gate\" ) "
        "drav_launch_spell( context, \"still_water\" ) "
        "if rank == 3 and name == \"main_name\" and lucky then return 1 end return 0");
    EXPECT_EQ(result, 1);
    EXPECT_EQ(run.Output(),
              "DRAV::CLuaScript::lua_set_faction_rank_test : ferrymen (The Ferrymen's Guild) 2\n"
              "DRAV::CLuaScript::lua_get_faction_rank_test : ferrymen (The Ferrymen's Guild)\nValue (int)> "
              "DRAV::CLuaScript::lua_get_name_test : main_name\n"
              "DRAV::CLuaScript::lua_random_check_test : 25\nValue (0 or 1)> "
              "DRAV::CLuaScript::lua_close_door_test : sluice_gate\n"
              "DRAV::CLuaScript::lua_launch_spell_test : Still Water\n");
    EXPECT_EQ(game.Main()->GetFaction(), nullptr);
    EXPECT_EQ(game.Area().GetOpenDoors().size(), openDoors);
}

}  // namespace
