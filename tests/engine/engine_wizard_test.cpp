#include <gtest/gtest.h>

#include <algorithm>

#include "common/exception.h"
#include "engine/engine.h"
#include "rules/items/item_template.h"
#include "rules/vocabulary/skills.h"
#include "support/sample_game.h"
#include "world/actor.h"
#include "world/area.h"
#include "world/cell.h"
#include "world/events/event.h"
#include "world/game.h"
#include "world/item.h"

using QuillmereTest::SampleGame;

namespace {

std::vector<std::string> Messages(const SampleGame& game) {
    std::vector<std::string> lines;
    for (const auto& event : game.DrainEvents())
        if (auto* message = dynamic_cast<DRAV::CMessageEvent*>(event.get())) lines.push_back(message->GetText());
    return lines;
}

bool InArea(const SampleGame& game, const DRAV::CActor& actor) {
    const auto& actors = game.Area().GetActors();
    return std::any_of(actors.begin(), actors.end(), [&](const auto& each) { return each.get() == &actor; });
}

// Kills a member the way the dead-actor pass leaves it: out of the area, waiting.
void Kill(const SampleGame& game, DRAV::CActor& member) {
    member.SetActionState(DRAV::ACTION_DEAD);
    member.SetDamageTaken(5);
    game.Game().AddNonLocatedActor(game.Area().RemoveActor(member));
}

TEST(Wizard, CreatesItemsForTheFirstMemberAndSetsTheirQuestTag) {
    SampleGame game;
    game.DrainEvents();
    game.Engine().WizardCreateItem("ferry_token", 2);
    const auto lines = Messages(game);
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ(lines.back(), "Wizard: Created Ferry Token");
    EXPECT_TRUE(game.Game().IsQuestTagSet("ferry_token_found"));
    const auto backpack = game.Main()->GetBackpack();
    ASSERT_FALSE(backpack.empty());
    EXPECT_EQ(backpack.back()->GetTemplate().GetName(), "Ferry Token");
    EXPECT_EQ(backpack.back()->GetCount(), 2);

    game.Engine().WizardCreateItem("no_such_item", 1);
    EXPECT_EQ(Messages(game), std::vector<std::string>{"Wizard: No such item."});
    EXPECT_EQ(game.Main()->GetBackpack().size(), backpack.size());
}

TEST(Wizard, SetsSkillsEvenWhenKnownAndRefusesUnknownOnes) {
    SampleGame game;
    auto& wren = *game.Main();
    game.DrainEvents();
    const DRAV::SkillId sneak = DRAV::ParseSkill("sneak");
    for (int i = 0; i < 2; ++i) {
        game.Engine().WizardSetSkill(wren, "sneak");
        const auto lines = Messages(game);
        ASSERT_FALSE(lines.empty());
        EXPECT_EQ(lines.back(), "Wizard: Set Wren skill " + DRAV::GetSkillName(sneak));
    }
    EXPECT_TRUE(wren.HasSkill(sneak));
    const auto skills = wren.GetSkills();
    game.Engine().WizardSetSkill(wren, "no_such_skill");
    EXPECT_EQ(Messages(game), std::vector<std::string>{"Wizard: No such skill."});
    EXPECT_EQ(wren.GetSkills(), skills);
}

TEST(Wizard, HealRevivesAWipedOutPartyNearTheCorner) {
    SampleGame game;
    auto& area = game.EnterOpenArea(12, 12);
    auto wren = game.Main();
    Kill(game, *wren);
    game.Engine().WizardHealParty();
    EXPECT_EQ(wren->GetActionState(), DRAV::ACTION_IDLE);
    EXPECT_EQ(wren->GetDamageTaken(), 0);
    EXPECT_TRUE(InArea(game, *wren));
    EXPECT_TRUE(game.Game().GetNonLocatedActors().empty());
    EXPECT_LT(wren->GetX(), 3 * DRAV::kCellSize);
    EXPECT_LT(wren->GetY(), 3 * DRAV::kCellSize);
    EXPECT_EQ(&area, &game.Area());
}

TEST(Wizard, HealKeepsARevivedMemberWaitingWhenThereIsNoRoom) {
    SampleGame game;
    game.EnterOpenArea(12, 12);
    auto companion = game.Spawn("ferryman", 4, 4);
    ASSERT_TRUE(companion);
    game.Game().AddPartyMember(companion);
    Kill(game, *companion);
    // The living main character stands far off the grid: nowhere near it is free.
    game.Main()->SetPosition(1000.0, 1000.0);

    game.Engine().WizardHealParty();
    EXPECT_EQ(companion->GetActionState(), DRAV::ACTION_IDLE);
    EXPECT_FALSE(InArea(game, *companion));
    const auto waiting = game.Game().GetNonLocatedActors();
    EXPECT_NE(std::find(waiting.begin(), waiting.end(), companion), waiting.end());
}

TEST(Wizard, MoveTakesTheLivingAndLeavesTheDead) {
    SampleGame game;
    game.EnterOpenArea(20, 20);
    auto wren = game.Main();
    auto companion = game.Spawn("ferryman", 2, 2);
    ASSERT_TRUE(companion);
    game.Game().AddPartyMember(companion);
    companion->SetActionState(DRAV::ACTION_DEAD);
    const double deadX = companion->GetX();

    game.Engine().WizardMoveParty(15, 12);
    EXPECT_NEAR(wren->GetX(), 15.5 * DRAV::kCellSize, 2 * DRAV::kCellSize);
    EXPECT_NEAR(wren->GetY(), 12.5 * DRAV::kCellSize, 2 * DRAV::kCellSize);
    EXPECT_EQ(companion->GetX(), deadX);
    EXPECT_TRUE(InArea(game, *wren));

    // Outside the grid there is no room: refused, and the member keeps its place.
    const double x = wren->GetX();
    EXPECT_THROW(game.Engine().WizardMoveParty(500, 500), CDRAVException);
    EXPECT_TRUE(InArea(game, *wren));
    EXPECT_EQ(wren->GetX(), x);
}

TEST(Wizard, MonsterAppearsNearTheFirstLivingMember) {
    SampleGame game;
    game.EnterOpenArea(30, 30);
    game.Engine().WizardMoveParty(20, 20);
    const std::size_t before = game.Area().GetActors().size();
    game.Engine().WizardCreateMonster("marsh_wisp");
    ASSERT_EQ(game.Area().GetActors().size(), before + 1);
    const auto& wisp = game.Area().GetActors().back();
    EXPECT_EQ(wisp->GetTemplateName(), "marsh_wisp");
    EXPECT_NEAR(wisp->GetX(), game.Main()->GetX(), 3 * DRAV::kCellSize);
    EXPECT_NEAR(wisp->GetY(), game.Main()->GetY(), 3 * DRAV::kCellSize);
    EXPECT_THROW(game.Engine().WizardCreateMonster("no_such_monster"), CDRAVException);
}

}  // namespace
