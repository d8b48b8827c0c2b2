#include <gtest/gtest.h>

#include <sstream>

#include "engine/scripts/script_test_game.h"
#include "world/descriptions/actor_description.h"
#include "world/actor.h"
#include "world/area.h"
#include "world/order.h"
#include "rules/magic/spell.h"
#include "rules/module.h"

using QuillmereTest::ScriptTestGame;

namespace {

std::vector<std::string> ChoiceTexts(const DRAV::CTalkTarget& partner) {
    std::vector<std::string> texts;
    for (const auto& choice : partner.GetTalkChoices()) texts.push_back(choice->GetText());
    return texts;
}

std::string Expanded(const ScriptTestGame& game, std::string text) {
    game.Game().ExpandText(text);
    return text;
}

TEST(TalkOrder, InnkeeperGreetsByNameAndOffersReplies) {
    ScriptTestGame game;
    auto hollis = game.Innkeeper();
    ASSERT_TRUE(hollis);
    game.DrainEvents();
    game.Engine().RunInstantOrder(*game.Main(), DRAV::CTalkOrder(hollis->GetId(), "start", "Good evening."));

    const auto lines = game.Lines();
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0], "Wren : Good evening.");
    EXPECT_EQ(lines[1], Expanded(game, "Hollis the Innkeeper : Welcome to the Heron's Rest. MAINNAME is it? Let me "
                                       "write your company in the book: LINE PARTY"));
    EXPECT_NE(lines[1].find("Rest. Wren is it?"), std::string::npos);
    EXPECT_NE(lines[1].find(" - Wren ("), std::string::npos);
    EXPECT_EQ(ChoiceTexts(*hollis), (std::vector<std::string>{"What news on the river?", "What have you got to eat?",
                                                              "Have you a room for the night?", "Farewell."}));
    // The partner is noted in the people journal.
    EXPECT_FALSE(game.Game().GetPeopleJournal().empty());

    // Once the lanterns were seen, the question about them is offered too.
    game.Game().SetQuestTag("smugglers_seen", 1);
    game.Engine().RunInstantOrder(*game.Main(), DRAV::CTalkOrder(hollis->GetId(), "start", ""));
    EXPECT_EQ(ChoiceTexts(*hollis).size(), 5u);
    // He greets whoever speaks for the company, not the hero lying dead behind her.
    const auto marra = game.Spawn("reed_witch", 9, 4);
    game.Game().AddPartyMember(marra);
    game.Main()->SetActionState(DRAV::ACTION_DEAD);
    game.Engine().RunInstantOrder(*marra, DRAV::CTalkOrder(hollis->GetId(), "start", ""));
    EXPECT_NE(game.Lines().back().find("Innkeeper : Marra the Reed Witch! Your company is in"), std::string::npos);
}

TEST(TalkOrder, ChainOfStatesRunsInOneOrderAndAssignsTheQuest) {
    ScriptTestGame game;
    auto hollis = game.Innkeeper();
    game.DrainEvents();
    game.Engine().RunInstantOrder(*game.Main(), DRAV::CTalkOrder(hollis->GetId(), "news", "What news on the river?"));

    const auto lines = game.Lines();
    ASSERT_EQ(lines.size(), 6u);
    EXPECT_EQ(lines[1], "Hollis the Innkeeper : News? There is only the one story on the landing this week.");
    EXPECT_EQ(lines[2].rfind("Hollis the Innkeeper : Orrin the boatwright has not been at his slip", 0), 0u);
    // Where to look is part of the news.
    EXPECT_NE(lines[3].find("The lane leaves the landing to the west"), std::string::npos);
    EXPECT_EQ(lines[4], "You have been assigned a quest (The Missing Boatwright).");
    EXPECT_EQ(lines[5], "Your Journal has been updated.");
    EXPECT_TRUE(game.Game().IsQuestTagSet("boatwright_asked"));
    EXPECT_EQ(ChoiceTexts(*hollis), (std::vector<std::string>{"We will look for him.", "Tell me something else."}));

    // Asked again, the quest is not assigned twice.
    game.Engine().RunInstantOrder(*game.Main(), DRAV::CTalkOrder(hollis->GetId(), "news", ""));
    EXPECT_EQ(game.Lines().size(), 3u);
}

TEST(TalkOrder, DiplomacyDecidesTheBranchAndTheGiftReachesTheTalker) {
    ScriptTestGame game;
    auto hollis = game.Innkeeper();
    const std::int32_t best = game.Game().GetBestPartySpecialStat(DRAV::SPECIAL_DIPLOMACY);
    game.DrainEvents();

    // The innkeeper's target is 40: a party whose best is below -10 fails it.
    game.Engine().RunInstantOrder(*game.Main(), DRAV::CTalkOrder(hollis->GetId(), "lanterns", ""));
    auto lines = game.Lines();
    ASSERT_FALSE(lines.empty());
    const bool confided = best + 50 > 40;
    // The check is told of, not said by the innkeeper.
    EXPECT_EQ(lines[0].rfind(confided ? "Success [Diplomacy 50 " : "Fail [Diplomacy 50 ", 0), 0u) << lines[0];
    EXPECT_NE(lines[0].find("] with Hollis the Innkeeper"), std::string::npos) << lines[0];
    if (confided) {
        EXPECT_EQ(lines.back(), "The party has gained Reed Lantern.");
        EXPECT_EQ(game.Eval("return drav_has_item( context, \"reed_lantern\" )"), 1);
    }
}

// A talk to a state the partner lacks, or with either side dead, is told and says, notes and runs nothing.
TEST(TalkOrder, ATalkThatCannotBeHadIsToldAndRunsNothing) {
    enum Lack { kState, kPartnerDead, kTalkerDead };
    const std::string told = "Wren can't talk to Hollis the Innkeeper: ";
    const std::vector<std::pair<Lack, std::string>> rows{
        {kState, told + "Hollis the Innkeeper has no talk state \"gossip\"."},
        {kPartnerDead, told + "Hollis the Innkeeper is dead."},
        {kTalkerDead, told + "Wren is dead."},
    };
    for (const auto& [lack, line] : rows) {
        SCOPED_TRACE(line);
        ScriptTestGame game;
        auto hollis = game.Innkeeper();
        if (lack == kPartnerDead) hollis->SetActionState(DRAV::ACTION_DEAD);
        if (lack == kTalkerDead) game.Main()->SetActionState(DRAV::ACTION_DEAD);
        game.DrainEvents();
        game.Engine().RunInstantOrder(*game.Main(),
                                      DRAV::CTalkOrder(hollis->GetId(), lack == kState ? "gossip" : "start", "Evening?"));
        EXPECT_EQ(game.Lines(), std::vector<std::string>{line});
        EXPECT_TRUE(game.Game().GetPeopleJournal().empty());
        EXPECT_TRUE(hollis->GetTalkChoices().empty());
    }
    // A next state that does not exist only ends the chain.
    ScriptTestGame game;
    EXPECT_NO_THROW(game.Eval("drav_diplomacy_check( context, 0, \"nowhere\", \"nowhere\" )", game.Innkeeper().get()));
}

// Tobin's talk as an author might edit it: `first` runs at the top of his start
// state, `last` at the end of his pole state, after which states s1 .. sN follow,
// each doing `each` and naming the next.
std::shared_ptr<DRAVCommon::CDataFileFactory> TobinEdited(const std::string& first, const std::string& last,
                                                          int states, const std::string& each = "") {
    std::string pole = "drav_give_item( context, \"ferrymans_pole\" ) " + last;
    for (int i = 1; i <= states; ++i) {
        pole += " </lua> </state> <state> s" + std::to_string(i) + " <lua> " + each + " drav_talk( context, \"" +
                std::to_string(i) + "\" )";
        if (i < states) pole += " drav_goto_state( context, \"s" + std::to_string(i + 1) + "\" )";
    }
    const std::string start = "if drav_check_tag( context, \"spare_pole_given\" ) then";
    return QuillmereTest::EditedSampleSource({{DRAVCommon::DFK_CHAPTER, "monsters.drav", start, first + " " + start},
                                              {DRAVCommon::DFK_CHAPTER, "monsters.drav",
                                               "drav_give_item( context, \"ferrymans_pole\" )", pole}});
}

// The talk closes with no reply on offer and the game goes on; a state the
// player's reply leads back to runs. The states one reply runs share one budget.
TEST(TalkOrder, StatesThatRunOnWithoutAReplyEndAsAScriptError) {
    struct Row {
        const char* what;
        std::string first, last;
        int states;
        std::vector<std::string> orders;  // the states the player's orders open, in turn
        std::string outcome;              // each order's failure or "ok", then the replies on offer
        std::string each = {};               // what each of the states s1 .. sN does
    };
    const std::string again = "talk state \"start\" runs again before the player replies";
    const std::vector<Row> rows{
        {"start names itself", "drav_goto_state( context, \"start\" )", "", 0, {"start"},
         "Tobin the Ferryman: " + again + " / 0 replies"},
        {"start and pole name each other", "drav_goto_state( context, \"pole\" )",
         "drav_goto_state( context, \"start\" )", 0, {"start"}, "Tobin the Ferryman: " + again + " / 0 replies"},
        {"a diplomacy check names start either way", "drav_diplomacy_check( context, 0, \"start\", \"start\" )", "",
         0, {"start"}, "Tobin the Ferryman: " + again + " / 0 replies"},
        {"a reply leads back to start", "", "drav_add_talk_path( context, \"Tell me again.\", \"start\" )", 0,
         {"start", "pole", "start", "pole"}, "ok ok ok ok / 1 replies"},
        {"start leads on to pole, twice over", "drav_goto_state( context, \"pole\" )", "", 0, {"start", "start"},
         "ok ok / 0 replies"},
        {"sixteen states in a row", "drav_goto_state( context, \"s1\" )", "", 15, {"start"}, "ok / 2 replies"},
        {"seventeen states in a row", "drav_goto_state( context, \"s1\" )", "", 16, {"start", "start"},
         "Tobin the Ferryman: talk state \"s16\" would run after 16 states without a reply from the player "
         "Tobin the Ferryman: talk state \"s16\" would run after 16 states without a reply from the player"
         " / 0 replies"},
        {"fifteen states that each all but spend a budget", "drav_goto_state( context, \"s1\" )", "", 15, {"start"},
         "_chapter_\\monsters.drav (monster dock_ferryman, talk state s2): script ran too long / 0 replies",
         "for i = 1, 4e6 do end"},
        {"fifteen states of 990 lines each", "drav_goto_state( context, \"s1\" )", "", 15, {"start"},
         "_chapter_\\monsters.drav (monster dock_ferryman, talk state s2): drav_message: the script makes more "
         "than 1000 things / 0 replies",
         "for i = 1, 990 do drav_message( context, \"q\" ) end"},
        {"fifteen states of ten boxes each", "drav_goto_state( context, \"s1\" )", "", 15, {"start"},
         "_chapter_\\monsters.drav (monster dock_ferryman, talk state s2): drav_dialog_box: the script puts more "
         "than 16 pages in front of the player / 0 replies",
         "for i = 1, 10 do drav_dialog_box( context, \"Q\", \"q\" ) end"},
    };
    for (const Row& row : rows) {
        ScriptTestGame game(TobinEdited(row.first, row.last, row.states, row.each));
        const auto tobin = game.Spawn("dock_ferryman", 8, 4);
        ASSERT_TRUE(tobin) << row.what;
        const std::string outcome = QuillmereTest::OutcomeInChild([&] {
            std::string results;
            for (const std::string& state : row.orders) {
                try {
                    game.Engine().RunInstantOrder(*game.Main(), DRAV::CTalkOrder(tobin->GetId(), state, ""));
                    results += "ok ";
                } catch (const CDRAVException& error) {
                    results += error.GetCode() == DRAV_ERR_SCRIPT ? error.GetMessage() + " "
                                                                  : "code " + std::to_string(error.GetCode()) + " ";
                }
                game.Tick();
            }
            return results + "/ " + std::to_string(tobin->GetTalkChoices().size()) + " replies";
        });
        EXPECT_EQ(outcome, row.outcome) << row.what;
    }
}

TEST(TalkOrder, WhatThePartyNotedEndsThePersonsDescription) {
    ScriptTestGame game;
    auto hollis = game.Innkeeper();
    auto Described = [&] {
        std::ostringstream out;
        DRAV::WriteActorDescription(*hollis, game.Module(), 0, out);
        return out.str();
    };
    EXPECT_EQ(Described().find("Location: "), std::string::npos);
    game.Engine().RunInstantOrder(*game.Main(), DRAV::CTalkOrder(hollis->GetId(), "start", "Good evening."));
    const std::string text = Described();
    // Where he was met, then the talker's line and his own reply, one a line, last.
    const std::string page = "Location: Reedwater Landing LINE  LINE Good evening. LINE Hollis the Innkeeper : ";
    const auto at = text.find(page);
    ASSERT_NE(at, std::string::npos) << text;
    EXPECT_LT(text.find("Description: "), at);
    EXPECT_EQ(text.find("Hit Points", at), std::string::npos);
}

TEST(TalkOrder, HostilePartnerAndSelfAreIgnored) {
    ScriptTestGame game;
    auto hollis = game.Innkeeper();
    hollis->SetRelation(DRAV::RELATION_HOSTILE);
    game.DrainEvents();
    game.Engine().RunInstantOrder(*game.Main(), DRAV::CTalkOrder(hollis->GetId(), "start", "Hello?"));
    game.Engine().RunInstantOrder(*game.Main(), DRAV::CTalkOrder(game.Main()->GetId(), "start", "Hello?"));
    EXPECT_TRUE(game.Lines().empty());
}

TEST(LeavePartyOrder, MainCharacterCannotLeave) {
    ScriptTestGame game;
    game.DrainEvents();
    game.Engine().RunInstantOrder(*game.Main(), DRAV::COrder(DRAV::ORDER_LEAVE_PARTY));
    EXPECT_EQ(game.Lines(), std::vector<std::string>{"Wren can't leave the party: Wren leads the party."});
    EXPECT_EQ(game.Game().GetParty().size(), 1u);
}

TEST(SpendPointsOrder, RaisesAnAttributeOnlyWithPoints) {
    ScriptTestGame game;
    DRAV::CActor& wren = *game.Main();
    wren.SetUnspentPoints(1);
    const auto strength = wren.GetAttribute(DRAV::Attribute(0));
    game.Engine().RunSpendPointsOrder(wren, DRAV::CSpendPointsOrder(0, DRAV::kNoSkill, DRAV::kNoSkill));
    game.Engine().RunSpendPointsOrder(wren, DRAV::CSpendPointsOrder(0, DRAV::kNoSkill, DRAV::kNoSkill));
    EXPECT_EQ(wren.GetAttribute(DRAV::Attribute(0)), strength + 1);
    EXPECT_EQ(wren.GetUnspentPoints(), 0u);
}

}  // namespace

namespace {

TEST(UpdatePartySpells, MembersLearnWhatTheirSkillsAllowOnce) {
    ScriptTestGame game;
    DRAV::CActor& wren = *game.Main();
    const DRAV::CSpell* chosen = nullptr;
    for (const auto& [key, spell] : game.Module().GetSpells()) {
        if (spell->GetSecondSkill() == DRAV::SKILL_NONE || !wren.LacksSpell(*spell)) continue;
        wren.AddSkill(spell->GetSchool());
        wren.AddSkill(spell->GetSecondSkill());
        if (wren.MeetsSpellRequirements(*spell)) {
            chosen = spell.get();
            break;
        }
    }
    ASSERT_TRUE(chosen) << "the sample has a spell a level-1 character can learn";
    game.DrainEvents();
    game.Engine().UpdatePartySpells();
    EXPECT_FALSE(wren.LacksSpell(*chosen));
    const auto lines = game.Lines();
    EXPECT_NE(std::find(lines.begin(), lines.end(), "Wren inscribes " + chosen->GetName() + "."), lines.end());
    game.Engine().UpdatePartySpells();
    EXPECT_TRUE(game.Lines().empty());
}

}  // namespace

namespace {

TEST(InnkeeperHeartbeat, StandsTheRoundOnceTheBoatwrightIsHome) {
    ScriptTestGame game;
    auto hollis = game.Innkeeper();
    ASSERT_TRUE(hollis->GetHeartbeat());
    auto beat = [&] {
        DRAV::CScriptContext context;
        context.actor = hollis.get();
        hollis->GetHeartbeat()->Eval(&game.Engine(), context);
        return game.Lines();
    };
    game.DrainEvents();
    EXPECT_TRUE(beat().empty());
    // Found in the reeds is not yet home.
    game.Game().SetQuestTag("boatwright_found", 1);
    EXPECT_TRUE(beat().empty());
    game.Game().SetQuestTag("boatwright_returned", 1);
    EXPECT_EQ(beat(), (std::vector<std::string>{"Hollis the Innkeeper : The boatwright is home! Drinks on the house tonight!"}));
    EXPECT_TRUE(beat().empty());
}

}  // namespace
