#include <gtest/gtest.h>

#include <csignal>
#include <functional>
#include <sys/wait.h>
#include <unistd.h>

#include "engine/scripts/script_test_game.h"
#include "rules/module.h"
#include "world/actor.h"
#include "world/area.h"
#include "world/game.h"

using QuillmereTest::ScriptTestGame;

namespace {

// Far more than the ticks take now; before, they took minutes.
constexpr unsigned kChildSeconds = 20;

// Runs `flood` in a child process that the clock ends after kChildSeconds; the
// child's exit code says which of its checks failed.
void ExpectChildEnds(const std::function<int()>& flood, const char* codes) {
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        alarm(kChildSeconds);
        _exit(flood());
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_FALSE(WIFSIGNALED(status) && WTERMSIG(status) == SIGALRM)
        << "the child took more than " << kChildSeconds << " seconds";
    ASSERT_TRUE(WIFEXITED(status)) << "the child died of signal " << WTERMSIG(status);
    EXPECT_EQ(WEXITSTATUS(status), 0) << codes;
}

// Each effect leaves the area in the tick after it lands, however many fly.
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

}  // namespace
