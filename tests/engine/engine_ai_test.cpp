// The AI pass: proximity triggers and the tags they fire.

#include <gtest/gtest.h>

#include "engine/brain/brain.h"
#include "support/message_texts.h"
#include "support/sample_game.h"
#include "support/sample_save.h"

using namespace DRAV;

namespace {

double Centre(int cell) { return cell * 2.5 + 1.25; }

void See(CArea& area, const CActor& actor) {
    area.GetSeenCells().Set(static_cast<std::uint32_t>(actor.GetX() / 2.5), static_cast<std::uint32_t>(actor.GetY() / 2.5),
                            true);
}

}  // namespace

TEST(EngineAI, ProximityTurnsAGroupThroughItsTags) {
    auto game = QuillmereTest::StartSampleGame();
    CArea& area = game.EnterOpenArea(40, 8);
    const auto main = game.Main();
    const auto near = game.Spawn("reed_smuggler", 4, 1);   // within its range of 10
    const auto far = game.Spawn("reed_smuggler", 25, 1);   // out of range, within 80 of the first
    const auto hidden = game.Spawn("reed_smuggler", 30, 5);  // never seen by the party
    ASSERT_TRUE(near && far && hidden);
    for (const auto& actor : {near, far, hidden}) actor->SetRelation(RELATION_NEUTRAL);
    See(area, *near);
    See(area, *far);
    main->PushOrder(std::make_shared<CMoveTalkOrder>(near->GetId()), false);
    // A companion on her way to talk to the one the tags turn.
    QuillmereTest::JoinParty(game, {"ferryman"}, 20, false);
    game.Game().GetParty().back()->PushOrder(std::make_shared<CMoveTalkOrder>(far->GetId()), false);
    game.DrainEvents();

    game.Engine().RunAI();
    EXPECT_EQ(near->GetRelation(), RELATION_HOSTILE);
    EXPECT_EQ(far->GetRelation(), RELATION_HOSTILE);
    EXPECT_EQ(hidden->GetRelation(), RELATION_NEUTRAL);
    EXPECT_TRUE(near->GetBrain()->GetPendingTags().empty());
    EXPECT_TRUE(far->GetBrain()->GetPendingTags().empty());
    game.Engine().RunOrders();  // both walks to talk stop, each with a word of why
    for (const auto& member : game.Game().GetParty()) EXPECT_FALSE(member->GetCurrentOrder());
    EXPECT_EQ(QuillmereTest::MessageTexts(game.DrainEvents()),
              (std::vector<std::string>{"Wren can't talk to Reed Smuggler, who is hostile.",
                                        "Ferryman can't talk to Reed Smuggler, who is hostile."}));
}

TEST(EngineAI, OutOfRangeOrUnseenNothingFires) {
    auto game = QuillmereTest::StartSampleGame();
    CArea& area = game.EnterOpenArea(40, 8);
    const auto smuggler = game.Spawn("reed_smuggler", 12, 1);  // 27.5 units away
    ASSERT_TRUE(smuggler);
    smuggler->SetRelation(RELATION_NEUTRAL);
    See(area, *smuggler);
    game.Tick();
    EXPECT_EQ(smuggler->GetRelation(), RELATION_NEUTRAL);
    smuggler->FinalizeMove(Centre(4), Centre(1));
    area.GetSeenCells().Set(4, 1, false);
    game.Tick();
    EXPECT_EQ(smuggler->GetRelation(), RELATION_NEUTRAL);
    area.GetSeenCells().Set(4, 1, true);
    game.Tick();
    EXPECT_EQ(smuggler->GetRelation(), RELATION_HOSTILE);
}

// The party's friends set off a proximity trigger as its members do, but not one
// who sneaks or has fallen, nor a neutral; far from the party, only the
// neighbour stands near.
TEST(EngineAI, AFriendStandingNearSetsOffAProximityTriggerOneSneakingOrFallenDoesNot) {
    const struct {
        const char* what;
        Relation relation;
        bool sneaks;
        bool fallen;
        Relation after;
    } cases[] = {
        {"a friend standing", RELATION_FRIENDLY, false, false, RELATION_HOSTILE},
        {"a friend sneaking", RELATION_FRIENDLY, true, false, RELATION_NEUTRAL},
        {"a fallen friend", RELATION_FRIENDLY, false, true, RELATION_NEUTRAL},
        {"a neutral standing", RELATION_NEUTRAL, false, false, RELATION_NEUTRAL},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        auto game = QuillmereTest::StartSampleGame();
        CArea& area = game.EnterOpenArea(40, 8);
        const auto watched = game.Spawn("reed_smuggler", 30, 4);
        const auto neighbour = game.Spawn("reed_smuggler", 32, 4);  // 5 units away, within its range of 10
        ASSERT_TRUE(watched && neighbour);
        watched->SetRelation(RELATION_NEUTRAL);
        neighbour->SetRelation(c.relation);
        if (!c.sneaks) neighbour->EndPower();
        if (c.fallen) neighbour->SetActionState(ACTION_DEAD);
        ASSERT_EQ(neighbour->IsSneaking(), c.sneaks);
        See(area, *watched);
        game.Engine().RunAI();
        EXPECT_EQ(watched->GetRelation(), c.after);
    }
}

// Whoever strikes at the party is its foe from that blow on, whatever its
// definition says of being attacked: a neutral warden that swings at the hero
// turns hostile and rouses the rest of the watch, so that a click on either
// attacks it.
TEST(EngineAI, ANeutralThatStrikesThePartyBecomesItsFoeAndRousesItsFellows) {
    auto game = QuillmereTest::StartSampleGame();
    CArea& area = game.EnterOpenArea(30, 10);
    const auto main = game.Main();
    main->SetMaxHitPoints(1000);
    const auto striker = game.Spawn("drowned_warden", 3, 1);
    const auto fellow = game.Spawn("drowned_warden", 9, 6);  // out of its proximity range
    ASSERT_TRUE(striker && fellow);
    // Within a blow's reach, beyond the 4 units at which the watch turns on its own.
    striker->FinalizeMove(main->GetX() + striker->GetRadius() + main->GetRadius() + 2.4, main->GetY());
    ASSERT_GT(striker->DistanceTo(*main), 4.0);
    for (const auto& actor : {striker, fellow}) See(area, *actor);
    striker->PushOrder(std::make_shared<CAttackOrder>(main->GetId()), false);

    bool struck = false;
    for (int tick = 0; tick < 600 && !struck; ++tick) {
        ASSERT_EQ(striker->GetRelation(), RELATION_NEUTRAL) << "before its first blow";
        game.Tick();
        for (const auto& event : game.DrainEvents())
            if (const auto* line = dynamic_cast<const CMessageEvent*>(event.get()))
                struck = struck || line->GetText().rfind("Drowned Warden (Rusted boathook)", 0) == 0;
    }
    ASSERT_TRUE(struck);
    EXPECT_EQ(striker->GetRelation(), RELATION_HOSTILE);
    EXPECT_EQ(fellow->GetRelation(), RELATION_HOSTILE);
    EXPECT_TRUE(striker->GetBrain()->GetPendingTags().empty());
}
