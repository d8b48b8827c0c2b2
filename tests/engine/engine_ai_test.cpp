// The AI pass: proximity triggers and the tags they fire.

#include <gtest/gtest.h>

#include "common/random.h"
#include "engine/brain/brain.h"
#include "engine/spell_words.h"
#include "rules/magic/spell_effects_conjure.h"
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

// A friend of the party outside it takes no order from the player, so it takes
// up a fight of its own accord: whatever its brain, when a foe strikes it or a
// member it strikes or casts back within the two seconds a swing winds up for,
// whether or not the player sent anyone in; and a swing or a spell at a time, each
// winding up as long.
TEST(EngineAI, EveryFriendOfTheSampleAnswersAFoeAtOnceAndAtItsOwnPace) {
    const struct {
        const char* friendKind;
        int chapter;
        const char* key;
        bool called;          // by the hero's spell as the fight begins; else standing there before it
        bool heroStrikes[2];  // as the foe strikes the hero, and as it strikes the friend
    } cases[] = {
        {"a wisp the hero called", 1, "marsh_wisp", true, {true, false}},
        {"Marra's wisp", 1, "marsh_wisp", false, {false, true}},
        {"Marra by her fire", 1, "reed_witch", false, {false, false}},
        {"the keeper every chapter knows", 2, "ferry_keeper", false, {false, false}},
    };
    constexpr int kWindUp = 60;
    for (const auto& c : cases)
        for (const bool struckItself : {false, true}) {
            SCOPED_TRACE(std::string(c.friendKind) + (struckItself ? ", struck itself" : ", the hero struck"));
            DRAVCommon::GetRandomEngine().seed(3);
            QuillmereTest::SampleGame game(c.chapter, [](CActor& main) { main.SetName("Wren"); });
            game.EnterOpenArea(40, 12);
            const auto main = game.Main();
            if (!c.called) {
                game.Spawn(c.key, 3, 1);
                game.Tick(150);  // its weapon taken in hand long before
            }
            const auto foe = game.Spawn(c.chapter == 1 ? "reed_goblin" : "weir_runner", 6, 1);
            if (c.called) {
                const CSpell& call = *game.Module().GetSpells().at("call_wisp");
                game.Engine().ResolveSummon(CSpellWords({main->GetName(), main->GetId(), false}, call), 3, 1, true,
                                            static_cast<const CSpellEffectSummon&>(*call.GetEffects().front()), 1);
            }
            CActor* friendly = game.Person(c.key);
            ASSERT_TRUE(friendly && foe);
            ASSERT_EQ(friendly->GetRelation(), RELATION_FRIENDLY);
            // Nobody falls: the fight goes on long enough to show its pace.
            for (CActor* fighter : {main.get(), friendly, foe.get()}) fighter->SetMaxHitPoints(100000);
            foe->SetRelation(RELATION_HOSTILE);
            foe->PushOrder(std::make_shared<CAttackOrder>((struckItself ? friendly : main.get())->GetId()), false);
            if (c.heroStrikes[struckItself]) main->PushOrder(std::make_shared<CAttackOrder>(foe->GetId()), false);
            game.DrainEvents();

            // A spell is told as it is cast, a swing by its roll (a spell that reaches its
            // foe tells one too, as a spell's line).
            int foeFirst = -1;
            std::vector<int> answers;
            for (int tick = 0; tick < 20 * 30; ++tick) {
                game.Tick();
                for (const auto& event : game.DrainEvents()) {
                    const auto* line = dynamic_cast<const CMessageEvent*>(event.get());
                    const bool swing =
                        line && (line->GetCode() == MESSAGE_MELEE_HIT || line->GetCode() == MESSAGE_MELEE_MISS);
                    if (swing && foeFirst < 0 && line->GetText().rfind(foe->GetName() + " (", 0) == 0) foeFirst = tick;
                    if (line && line->GetText().rfind(friendly->GetName() + (swing ? " " : " casts "), 0) == 0)
                        answers.push_back(tick);
                }
            }
            ASSERT_GE(foeFirst, 0);
            ASSERT_FALSE(answers.empty()) << "no blow nor spell back";
            EXPECT_LE(answers.front(), foeFirst + kWindUp);
            for (std::size_t i = 1; i < answers.size(); ++i)
                EXPECT_GE(answers[i] - answers[i - 1], kWindUp) << "two answers closer than a wind-up";
        }
}
