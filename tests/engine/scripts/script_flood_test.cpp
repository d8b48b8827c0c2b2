#include <gtest/gtest.h>

#include <functional>

#include "engine/scripts/script_test_game.h"
#include "rules/module.h"
#include "script/script_limits.h"
#include "world/actor.h"
#include "world/area.h"
#include "world/game.h"
#include "world/journal_entry.h"

using QuillmereTest::ScriptTestGame;

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

// Every native function that makes something the game keeps past the script
// counts it: one script may make up to the limit, and the next thing ends it with
// an error naming the function, which no pcall can catch. What it made stays.
TEST(ScriptFlood, EachFunctionThatMakesThingsStopsAtTheLimit) {
    ScriptTestGame game;
    auto hollis = game.Innkeeper();
    std::size_t boxCount = 0;
    const auto boxes = [&] {
        for (const auto& event : game.DrainEvents()) boxCount += dynamic_cast<DRAV::CDialogBoxEvent*>(event.get()) != nullptr;
        return boxCount;
    };
    const auto effects = [&] { return game.Area().GetEffects().size(); };
    struct Case {
        const char* call;  // a journal entry's key takes the run's letter for RUN
        std::function<std::size_t()> made;
    };
    const Case cases[] = {
        {"drav_launch_spell( context, \"still_water\" )", effects},
        {"drav_teleport_actor( context, \"lane\", \"ferry_crossing\" )", effects},
        {"drav_give_item( context, \"dagger\", 2147483647 )", [&] { return game.Main()->GetBackpackItems().size(); }},
        {"drav_dialog_box( context, \"Bell\", \"It rings.\" )", boxes},
        {"drav_help( context, \"Bell\", \"It rings.\" )", boxes},
        {"drav_shout( context, \"actor\", \"Ho!\" )", boxes},
        {"drav_journal( context, \"smugglers\", \"RUN\" .. i )", [&] { return game.Game().GetJournal().size(); }},
        {"drav_add_talk_path( context, \"Well?\", \"\" )", [&] { return hollis->GetTalkChoices().size(); }},
    };
    const std::string limit = std::to_string(DRAV::kScriptMadeLimit);
    const std::string tooMany = "the script makes more than " + limit + " things";
    for (const Case& c : cases) {
        const std::string call = c.call;
        const std::string name = call.substr(0, call.find('('));
        const auto run = [&](const char* letter, const std::string& loop) {
            std::string body = loop;
            const std::size_t at = body.find("RUN");
            if (at != std::string::npos) body.replace(at, 3, letter);
            return game.Failure(body, hollis.get());
        };
        const std::size_t before = c.made();
        EXPECT_EQ(run("a", "for i = 1, " + limit + " do " + call + " end return 1"), "no failure") << call;
        EXPECT_EQ(c.made() - before, DRAV::kScriptMadeLimit) << call;
        EXPECT_EQ(run("b", "for i = 1, " + limit + " + 1 do " + call + " end"), "test.drav: " + name + ": " + tooMany)
            << call;
        EXPECT_EQ(c.made() - before, 2 * DRAV::kScriptMadeLimit) << call;
        EXPECT_EQ(run("c", "for i = 1, 2 * " + limit + " do pcall(function() " + call + " end) end return 1"),
                  "test.drav: " + tooMany)
            << call;
        EXPECT_EQ(c.made() - before, 3 * DRAV::kScriptMadeLimit) << call;
    }
}

}  // namespace
