#include <gtest/gtest.h>

#include "common/random.h"
#include "engine/scripts/script_test_game.h"
#include "rules/definitions/faction.h"
#include "world/actor.h"
#include "world/area.h"
#include "world/game.h"
#include "world/order.h"

using QuillmereTest::ScriptTestGame;

namespace {

bool Contains(const std::vector<std::string>& lines, const std::string& line) {
    return std::find(lines.begin(), lines.end(), line) != lines.end();
}

TEST(FactionScripts, PromotionUsesTheTitleForTheActorAndExpulsionClearsTheFaction) {
    ScriptTestGame game;
    auto& wren = *game.Main();
    game.DrainEvents();
    EXPECT_EQ(game.Eval("return drav_has_faction( context )"), 0);
    EXPECT_EQ(game.Eval("return drav_get_faction_rank( context, \"ferrymen\" )"), 0);

    game.Eval("drav_set_faction_rank( context, \"ferrymen\", 2 )");
    EXPECT_TRUE(Contains(game.Lines(), "Wren has been promoted to the rank of Ferrymaster."));
    EXPECT_EQ(wren.GetFactionRank(), 1u);
    EXPECT_EQ(game.Eval("return drav_get_faction_rank( context, \"ferrymen\" )"), 2);
    EXPECT_EQ(game.Eval("return drav_get_faction_rank( context, \"reed_wardens\" )"), 0);
    EXPECT_EQ(game.Eval("return drav_has_faction( context )"), 1);

    // A female member takes the female title where the rank has one.
    wren.SetGender(DRAV::GENDER_FEMALE);
    game.Eval("drav_set_faction_rank( context, \"ferrymen\", 3 )");
    EXPECT_TRUE(Contains(game.Lines(), "Wren has been promoted to the rank of Harbourmistress."));
    game.Eval("drav_set_faction_rank( context, \"ferrymen\", 1 )");
    EXPECT_TRUE(Contains(game.Lines(), "Wren has been promoted to the rank of Deckhand."));
    wren.SetGender(DRAV::GENDER_NONE);
    game.Eval("drav_set_faction_rank( context, \"ferrymen\", 2 )");
    EXPECT_TRUE(Contains(game.Lines(), "Wren has been promoted to the rank of Ferrymaster."));

    game.Eval("drav_set_faction_rank( context, \"anything\", 0 )");
    EXPECT_EQ(game.Lines(), std::vector<std::string>{"Wren has been expelled from the faction Keepers of the Crossing."});
    EXPECT_EQ(wren.GetFaction(), nullptr);
    game.Eval("drav_set_faction_rank( context, \"ferrymen\", 0 )");
    EXPECT_TRUE(game.Lines().empty());
}

TEST(FactionScripts, TheLandingKeeperTakesTheCrossedPartyIntoTheGuild) {
    ScriptTestGame game;
    auto keeper = game.Spawn("ferry_keeper", 8, 6);
    ASSERT_TRUE(keeper);
    game.Engine().RunInstantOrder(*game.Main(), DRAV::CTalkOrder(keeper->GetId(), "join", ""));
    ASSERT_NE(game.Main()->GetFaction(), nullptr);
    EXPECT_EQ(game.Main()->GetFaction()->GetKey(), "ferrymen");
    EXPECT_EQ(game.Eval("return drav_get_faction_rank( context, \"ferrymen\" )"), 1);
}

TEST(FactionScripts, UnknownFactionOrRankOutsideTheListChangesNothing) {
    ScriptTestGame game;
    game.Eval("drav_set_faction_rank( context, \"reed_wardens\", 1 )");
    game.DrainEvents();
    for (const char* body : {"drav_set_faction_rank( context, \"ferrymen\", 4 )",
                             "drav_set_faction_rank( context, \"ferrymen\", -1 )",
                             "drav_set_faction_rank( context, \"no_guild\", 1 )"})
        EXPECT_EQ(game.Failure(body).rfind("test.drav: drav_set_faction_rank: ", 0), 0u) << body;
    EXPECT_EQ(game.Main()->GetFaction()->GetKey(), "reed_wardens");
    EXPECT_TRUE(game.Lines().empty());
}

TEST(ActorScripts, AttackTurnsANeutralPartnerHostileThroughItsBrainAndAlwaysMeansBattle) {
    ScriptTestGame game;
    auto ferryman = game.Spawn("ferryman", 8, 6);
    ASSERT_TRUE(ferryman);
    ASSERT_EQ(ferryman->GetRelation(), DRAV::RELATION_NEUTRAL);
    game.Eval("drav_attack( context )", ferryman.get());
    EXPECT_EQ(ferryman->GetRelation(), DRAV::RELATION_HOSTILE);
    EXPECT_TRUE(game.Game().IsInBattle());

    auto marra = game.Spawn("reed_witch", 9, 6);
    ASSERT_TRUE(marra);
    ASSERT_EQ(marra->GetRelation(), DRAV::RELATION_FRIENDLY);
    game.Game().SetInBattle(false);
    game.Eval("drav_attack( context )", marra.get());
    EXPECT_EQ(marra->GetRelation(), DRAV::RELATION_FRIENDLY);
    EXPECT_TRUE(game.Game().IsInBattle());
}

TEST(ActorScripts, ReadersAnswerForActorsAndThePartyAsAgreed) {
    ScriptTestGame game;
    auto& wren = *game.Main();
    wren.SetGender(DRAV::GENDER_NONE);
    EXPECT_EQ(game.Eval("return drav_get_pronoun( context, \"actor\" ) == \"it\""), 1);
    EXPECT_EQ(game.Eval("return drav_get_possessive( context, \"actor\" ) == \"its\""), 1);
    EXPECT_EQ(game.Eval("return drav_get_pronoun( context, \"party\" ) == \"\""), 1);
    wren.SetGender(DRAV::GENDER_FEMALE);
    EXPECT_EQ(game.Eval("return drav_get_possessive( context, \"actor\" ) == \"her\""), 1);
    EXPECT_EQ(game.Eval("return drav_get_name( context, \"actor\" ) == \"Wren\""), 1);
    EXPECT_EQ(game.Eval("return drav_is_male( context, \"actor\" )"), 0);
    EXPECT_EQ(game.Eval("return drav_get_level( context, \"party\" )"), 0);
    EXPECT_EQ(game.Eval("return drav_get_level( context, \"actor\" )"), static_cast<int>(wren.GetLevel()));
    EXPECT_EQ(game.Eval("return drav_is_dead( context, \"actor\" )"), 0);
    for (const char* body : {"drav_is_dead( context, \"party\" )", "drav_is_male( context, \"party\" )",
                             "drav_is_surrender( context, \"party\" )", "drav_has_skill( context, \"party\", \"sneak\" )",
                             "drav_has_skill( context, \"actor\", \"no_such_skill\" )"})
        EXPECT_EQ(game.Failure(body).rfind("test.drav: drav_", 0), 0u) << body;
    EXPECT_EQ(game.Failure("drav_is_dead( context, \"nobody_here\" )"), "test.drav: drav_is_dead: Bad actor param\n");

    game.Game().SetTick(59);
    EXPECT_EQ(game.Eval("return drav_get_time( context )"), 1);
    game.Game().SetTick(60);
    EXPECT_EQ(game.Eval("return drav_get_time( context )"), 2);
    const std::string area = game.Area().GetName();
    EXPECT_EQ(game.Eval("return drav_is_in_area( context, \"" + area + "\" )"), 1);
    EXPECT_EQ(game.Eval("return drav_is_in_area( context, \"reed_marsh\" )"), 0);
}

TEST(ActorScripts, RandomCheckBoundsNeverDependOnTheRoll) {
    ScriptTestGame game;
    DRAVCommon::GetRandomEngine().seed(7);
    int successes = 0;
    for (int i = 0; i < 200; ++i) {
        EXPECT_EQ(game.Eval("return drav_random_check( context, 0 )"), 0);
        EXPECT_EQ(game.Eval("return drav_random_check( context, 100 )"), 1);
        successes += game.Eval("return drav_random_check( context, 50 )");
    }
    EXPECT_GT(successes, 60);
    EXPECT_LT(successes, 140);
}

TEST(WorldScripts, EmptyPartyKeepsOnlyTheMainCharacterFirst) {
    ScriptTestGame game;
    auto& party = game.Game();
    for (const auto& [key, column] : {std::pair{"ferryman", 6u}, std::pair{"innkeeper", 7u}}) {
        auto member = game.Spawn(key, column, 6);
        ASSERT_TRUE(member);
        party.AddPartyMember(member);
    }
    // The main character is not first.
    party.MovePartyMember(0, 2);
    ASSERT_EQ(party.GetParty().size(), 3u);
    ASSERT_FALSE(party.GetParty().front()->IsMainCharacter());
    game.DrainEvents();
    game.Eval("drav_empty_party( context )");
    ASSERT_EQ(party.GetParty().size(), 1u);
    EXPECT_EQ(party.GetParty().front(), game.Main());
    EXPECT_FALSE(game.DrainEvents().empty());
}

TEST(WorldScripts, DoorsOpenAndCloseByNameInTheCurrentArea) {
    ScriptTestGame game;
    auto& area = game.Area();
    ASSERT_EQ(area.GetOpenDoors().size(), 1u);  // the sluice gate
    game.Eval("drav_close_door( context, \"sluice_gate\" )");
    EXPECT_TRUE(area.GetOpenDoors().empty());
    game.Eval("drav_open_door( context, \"boathouse_door\" )");
    ASSERT_EQ(area.GetOpenDoors().size(), 1u);
    EXPECT_EQ(area.GetOpenDoors().front()->column, 10u);
    EXPECT_EQ(area.GetOpenDoors().front()->row, 8u);
}

}  // namespace
