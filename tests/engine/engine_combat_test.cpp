// Seeded fights on the sample chapter: the action states and messages of melee and
// ranged attacks over ticks, missiles in flight, deaths with their loot, a wiped-out
// party, the battle flag, exits and encounter stages.

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "common/random.h"
#include "engine/spell_words.h"
#include "rules/magic/spell.h"
#include "support/expect_drav.h"
#include "support/sample_game.h"
#include "support/sample_module.h"
#include "world/effect.h"

using namespace DRAV;
using QuillmereTest::SampleGame;
using QuillmereTest::StartSampleGame;

namespace {

std::vector<std::string> Messages(const std::vector<std::shared_ptr<CEvent>>& events, std::int32_t kind = -1) {
    std::vector<std::string> texts;
    for (const auto& event : events)
        if (auto* message = dynamic_cast<const CMessageEvent*>(event.get()))
            if (kind < 0 || message->GetCode() == kind) texts.push_back(message->GetText());
    return texts;
}

long CountEvents(const std::vector<std::shared_ptr<CEvent>>& events, std::int32_t code) {
    return std::count_if(events.begin(), events.end(), [code](const auto& e) { return e->GetCode() == code; });
}

bool Contains(const std::vector<std::string>& texts, const std::string& text) {
    return std::find(texts.begin(), texts.end(), text) != texts.end();
}

// The party of one in an open field, armed with a knife, the lane's goblins gone.
SampleGame ArmedParty(std::shared_ptr<DRAVCommon::CDataFileFactory> source = QuillmereTest::SampleFolderSource()) {
    SampleGame game(std::move(source));
    game.EnterOpenArea(40, 12);
    const auto main = game.Main();
    main->AddSkill(SKILL_LIGHT_BLADE);
    main->SetEquipment(SLOT_WEAPON, game.Module().CreateItem("smugglers_knife", 1,
                                                             game.Game().NewThingId(THING_ITEM), 0));
    game.DrainEvents();
    return game;
}

std::shared_ptr<CActor> Archer(const SampleGame& game, std::uint32_t column, std::uint32_t row) {
    auto archer = game.Spawn("goblin_archer", column, row);
    // Monsters arm themselves through their brain; here the bow is put in hand.
    const auto bow = archer->GetBackpack().front();
    archer->SetEquipment(SLOT_WEAPON, archer->RemoveFromBackpack(*bow));
    return archer;
}

}  // namespace

TEST(EngineCombat, AFighterKillsAGoblinAfterTheWindUpAndItsLootLiesInOnePile) {
    DRAVCommon::GetRandomEngine().seed(18);
    auto game = ArmedParty();
    const auto main = game.Main();
    const auto goblin = game.Spawn("reed_goblin", 2, 1);
    ASSERT_TRUE(goblin);
    // A goblin without a brain only stands: the swings here are Wren's alone.
    goblin->SetBrain(nullptr, {});
    const std::uint32_t start = game.Game().GetTick();
    main->PushOrder(std::make_shared<CAttackOrder>(goblin->GetId()), false);

    std::vector<ActionState> states;
    std::uint32_t firstSwing = 0;
    std::vector<std::shared_ptr<CEvent>> events;
    for (int tick = 0; tick < 3000 && game.Area().FindActor(goblin->GetId()); ++tick) {
        game.Tick();
        states.push_back(main->GetActionState());
        auto drained = game.DrainEvents();
        const bool swung = !Messages(drained, MESSAGE_MELEE_HIT).empty() ||
                           !Messages(drained, MESSAGE_MELEE_MISS).empty() || !Messages(drained, MESSAGE_DEATH).empty();
        if (!firstSwing && swung) firstSwing = game.Game().GetTick();
        events.insert(events.end(), drained.begin(), drained.end());
    }
    ASSERT_FALSE(game.Area().FindActor(goblin->GetId())) << "the goblin still stands";
    // The wind-up of 60 ticks comes before the first swing.
    EXPECT_GE(firstSwing, start + 60);
    EXPECT_EQ(states.front(), ACTION_WIND_UP);
    // Swings are followed by the pause, then the recovery.
    const auto pause = std::find(states.begin(), states.end(), ACTION_PAUSE);
    ASSERT_NE(pause, states.end());
    EXPECT_NE(std::find(pause, states.end(), ACTION_RECOVERING), states.end());
    EXPECT_TRUE(Contains(Messages(events, MESSAGE_DEATH), "Wren has killed Reed Goblin."));
    EXPECT_FALSE(main->GetCurrentOrder());

    // The gold and the pie lie together in one pile where the goblin fell.
    int piles = 0;
    for (const auto& object : game.Area().GetObjects()) {
        if (object->GetItems().empty()) continue;
        ++piles;
        EXPECT_EQ(object->GetItems().size(), 2u);
    }
    EXPECT_EQ(piles, 1);
}

TEST(EngineCombat, AnArchersMissilesFlyACellATickAndGoTheTickAfterArrival) {
    DRAVCommon::GetRandomEngine().seed(7);
    auto game = ArmedParty();
    const auto main = game.Main();
    const auto archer = Archer(game, 13, 1);
    archer->PushOrder(std::make_shared<CAttackOrder>(main->GetId()), false);
    game.Tick(60);
    EXPECT_EQ(archer->GetActionState(), ACTION_WIND_UP);
    EXPECT_TRUE(game.Area().GetEffects().empty());
    game.Tick();  // the wind-up is over: the strike launches the arrow
    ASSERT_EQ(game.Area().GetEffects().size(), 1u);
    EXPECT_EQ(archer->GetActionState(), ACTION_PAUSE);
    const auto arrow = game.Area().GetEffects().front();
    EXPECT_EQ(arrow->GetKind(), EFFECT_ATTACK);
    EXPECT_EQ(arrow->GetVisualName(), "arrow");
    EXPECT_EQ(arrow->GetZ(), 4.0);
    const auto events = game.DrainEvents();
    EXPECT_EQ(CountEvents(events, EVENT_RANGED_ATTACK), 1);
    // Launched in the strike, it has already made its first step of 2.5 units.
    EXPECT_NEAR(archer->GetX() - arrow->GetX(), 2.5, 1e-9);
    double x = arrow->GetX();
    int ticks = 0;
    while (!arrow->IsDone() && ticks < 100) {
        game.Tick();
        ++ticks;
        if (!arrow->IsDone()) {
            EXPECT_NEAR(x - arrow->GetX(), 2.5, 1e-9);
        }
        x = arrow->GetX();
    }
    ASSERT_TRUE(arrow->IsDone());
    EXPECT_EQ(arrow->GetX(), main->GetX());
    const auto hitOrMiss = Messages(game.DrainEvents());
    ASSERT_FALSE(hitOrMiss.empty());
    EXPECT_EQ(hitOrMiss.front().rfind("Goblin Archer ", 0), 0u);
    EXPECT_EQ(game.Area().GetEffects().size(), 1u);  // still shown for one tick
    game.Tick();
    EXPECT_TRUE(game.Area().GetEffects().empty());
}

// However large a speed modifier, from the monster, the bow it carries or a spell on
// it, the speeds a fight uses stay within those a monster's base speeds may have: an
// archer at the fastest shoots as many missiles as one whose base speed is 1000.
TEST(EngineCombat, SpeedModifiersHoldTheSpeedsOfAFightToTheRangeOfTheBaseSpeeds) {
    struct Case {
        const char* file;
        const char* from;
        const char* to;  // "%" stands for the amount
        bool spell;      // heron_calm is cast on the archer
    };
    const Case cases[] = {
        {"monsters.drav", "<attack> \"Reed bow\" 10", "<modify> % 0 actionspeed movementspeed </modify> <attack> \"Reed bow\" 10", false},
        {"global_items.drav", "<weapon> bow true 1 8 0 0 </weapon>",
         "<weapon> bow true 1 8 0 0 </weapon> <modify> % 0 actionspeed movementspeed </modify>", false},
        {"global_magic.drav", "<effect> modify 10rounds 2 attack </effect>",
         "<effect> modify 10rounds % actionspeed movementspeed </effect>", true},
    };
    const double fastest = kMostSpeed / 5.0 + 10.0;
    const double slowest = -kMostSpeed / 5.0 + 10.0;
    for (const Case& c : cases) {
        for (const std::int64_t amount : {std::int64_t{INT32_MAX}, std::int64_t{INT32_MIN}}) {
            std::string to = c.to;
            to.replace(to.find('%'), 1, std::to_string(amount));
            SCOPED_TRACE(to);
            DRAVCommon::GetRandomEngine().seed(7);
            auto game = ArmedParty(QuillmereTest::EditedSampleSource(
                c.file == std::string("monsters.drav") ? DRAVCommon::DFK_CHAPTER : DRAVCommon::DFK_GLOBAL, c.file,
                c.from, to));
            const auto archer = Archer(game, 13, 1);
            if (c.spell)
                game.Engine().ResolveSpell({"Wren"}, archer.get(), archer->GetX(), archer->GetY(), true,
                                           GetSpell(game.Module().GetSpells(), "heron_calm"), 0, 0, 1, SKILL_NONE);
            const bool fast = amount > 0;
            ASSERT_EQ(archer->GetActionSpeed(ACTIONKIND_ATTACK, nullptr), fast ? kMostSpeed : -kMostSpeed);
            ASSERT_EQ(archer->GetActionSpeed(ACTIONKIND_CAST, nullptr), fast ? kMostSpeed : -kMostSpeed);
            ASSERT_EQ(archer->GetMoveSpeed(), fast ? fastest : slowest);

            archer->PushOrder(std::make_shared<CAttackOrder>(game.Main()->GetId()), false);
            game.Tick(61);
            ASSERT_EQ(archer->GetActionState(), ACTION_PAUSE);
            // One missile, and 98 more for 980 points of speed above 20.
            EXPECT_EQ(game.Area().GetEffects().size(), fast ? 99u : 1u);
        }
    }
}

TEST(EngineCombat, AMissileWhoseTargetDiesVanishesWithoutAWord) {
    auto game = ArmedParty();
    const auto goblin = game.Spawn("reed_goblin", 20, 1);
    auto missile = std::make_shared<CEffectAttack>(game.Game().NewThingId(THING_EFFECT), &game.Area(), "Wren", "",
                                                   goblin->GetId(), true, CAttackInfo(), nullptr);
    missile->SetPosition(game.Area(), 2.0, 2.0, 4.0);
    missile->SetSpeed(75.0);
    game.Area().AddEffect(missile);
    goblin->SetActionState(ACTION_DEAD);
    game.Engine().RunEffects();
    EXPECT_TRUE(game.Area().GetEffects().empty());
    EXPECT_TRUE(Messages(game.DrainEvents()).empty());
    // A target that is neither an actor nor a tile is refused.
    CEffectAttack stray(1, &game.Area(), "", "", 0x05000001, false, CAttackInfo(), nullptr);
    EXPECT_DRAV_CODE(stray.SetPosition(game.Area(), 0, 0, 0), DRAV_ERR_OUT_OF_RANGE);
}

TEST(EngineCombat, KillingTheLastMemberWipesOutOnceAndTheCycleRevivesAtTheResurrectionPoint) {
    auto game = StartSampleGame();
    const auto main = game.Main();
    std::shared_ptr<CActor> companion;
    game.Module().CreateActor(companion, &game.Game(), "ferryman_elder", "", 0);
    game.Game().AddPartyMember(companion);
    ASSERT_TRUE(game.Area().PlaceActor(8, 3, false, companion));
    game.DrainEvents();
    // Both fall in one tick: one wipe-out, one message.
    game.Engine().ResolveActorDied("Reed Goblin", *main);
    game.Engine().ResolveActorDied("Reed Goblin", *companion);
    game.Tick();
    const auto messages = Messages(game.DrainEvents());
    EXPECT_TRUE(Contains(messages, "Reed Goblin has killed Wren."));
    EXPECT_TRUE(Contains(messages, "Wren has died!"));
    EXPECT_EQ(std::count(messages.begin(), messages.end(), "Your party has been wiped out!"), 1);
    EXPECT_EQ(game.Game().GetStateCode(), GAME_WIPED_OUT);
    EXPECT_EQ(game.Game().GetEntry(), game.Game().GetResurrectionPoint());
    EXPECT_EQ(game.Game().GetNonLocatedActors().size(), 2u);

    game.Engine().LeaveArea();
    game.Engine().RestParty();
    game.Engine().EnterArea();
    EXPECT_EQ(game.Game().GetStateCode(), GAME_PLAYING);
    EXPECT_TRUE(main->IsAlive());
    EXPECT_EQ(main->GetArea(), &game.Area());
    EXPECT_EQ(game.Area().GetName(), game.Game().GetResurrectionPoint().first);
}

// The drowned watch in the marsh lets a party pass at a distance; a level-one
// party that walks up to it is wiped out and wakes at the landing.
TEST(EngineCombat, TheDrownedWatchWipesOutALevelOnePartyThatComesClose) {
    auto game = StartSampleGame();
    const auto main = game.Main();
    ASSERT_EQ(main->GetLevel(), 1);
    game.Game().SetEntry({"reed_marsh", "landing"}, AREA_LOAD_FRESH, "");
    game.Game().SetStateCode(GAME_EXIT_AVAILABLE);
    game.Engine().LeaveArea();
    game.Engine().EnterArea();
    ASSERT_EQ(game.Area().GetName(), "reed_marsh");
    std::vector<CActor*> watch;
    for (const auto& actor : game.Area().GetActors())
        if (actor->GetTemplateName() == "drowned_warden") watch.push_back(actor.get());
    ASSERT_EQ(watch.size(), 3u);

    // From the lane the watch stays still.
    game.Tick(120);
    for (const CActor* warden : watch) EXPECT_NE(warden->GetRelation(), RELATION_HOSTILE);

    main->FinalizeMove(3 * 2.5 + 1.25, 8 * 2.5 + 1.25);
    for (int tick = 0; tick < 6000 && game.Game().GetStateCode() != GAME_WIPED_OUT; ++tick) game.Tick();
    EXPECT_EQ(game.Game().GetStateCode(), GAME_WIPED_OUT);
    EXPECT_FALSE(main->IsAlive());
    for (const CActor* warden : watch) EXPECT_EQ(warden->GetRelation(), RELATION_HOSTILE);
    EXPECT_EQ(game.Game().GetEntry(), game.Game().GetResurrectionPoint());
}

TEST(EngineCombat, AHostileInRangeMeansBattleAndStopsHeartbeats) {
    auto game = StartSampleGame();
    EXPECT_FALSE(game.Game().IsInBattle());
    // An ambush is a foe from the first word of it, however far off the party stands
    // as it comes on: the lane's goblin sprung out of the reeds, then the archer as
    // its mate falls to a spell from the dock, each within range of the dock.
    game.Engine().SetTag("lane_ambush", true);
    for (const char* key : {"reed_goblin", "goblin_archer"}) {
        game.Tick();
        EXPECT_TRUE(game.Game().IsInBattle()) << key;
        CActor* foe = game.Person(key);
        ASSERT_TRUE(foe) << key;
        EXPECT_GT(foe->DistanceTo(*game.Main()), 12.0) << key << " beyond its reach";
        EXPECT_TRUE(foe->IsHostile()) << key;
        game.Engine().ResolveActorDied("a spell from the dock", *foe);
    }
    game.EnterOpenArea(80, 4);
    const auto main = game.Main();
    const auto goblin = game.Spawn("reed_goblin", 1, 1);
    goblin->SetRelation(RELATION_HOSTILE);
    goblin->FinalizeMove(main->GetX() + 150.0, main->GetY());
    game.Tick();
    EXPECT_TRUE(game.Game().IsInBattle());
    goblin->FinalizeMove(main->GetX() + 150.01, main->GetY());
    game.Tick();
    EXPECT_FALSE(game.Game().IsInBattle());

    // The trader beside the party has a heartbeat; none runs in battle, but the
    // timer still moves on.
    goblin->FinalizeMove(main->GetX() + 20.0, main->GetY());
    game.Tick();
    const std::uint32_t due = game.Game().GetNextHeartbeatTick();
    game.Game().SetTick(due - 1);
    game.Tick();
    EXPECT_TRUE(game.Game().IsInBattle());
    EXPECT_GT(game.Game().GetNextHeartbeatTick(), due);
    EXPECT_LE(game.Game().GetNextHeartbeatTick(), due + 449);
}

// A stage whose script fails still brings on the next, whose foes would else wait.
TEST(EngineCombat, AStageWhoseScriptFailsStillBringsOnTheNext) {
    const SampleGame game(QuillmereTest::EditedSampleSource(DRAVCommon::DFK_CHAPTER, "reedwater_landing.drav",
                                                            "<lua> drav_message( context, \"An arrow",
                                                            "<lua> drav_give_item( context, \"no_such_thing\" ) --"));
    game.Engine().SetTag("lane_ambush", true);
    for (const auto& actor : game.Area().GetActors())
        if (actor->GetTemplateName() == "reed_goblin") actor->SetActionState(ACTION_DEAD);
    EXPECT_DRAV_CODE(game.Engine().RemoveDeadActors(), DRAV_ERR_SCRIPT);
    EXPECT_EQ(game.Area().GetActors().back()->GetTemplateName(), "goblin_archer");
}

TEST(EngineCombat, ATaggedExitOpensOnlyWhileItsTagIsSet) {
    auto game = StartSampleGame();
    game.Area().ClearEncounter("lane_goblins");
    const auto main = game.Main();
    // By the smugglers' trail, on the dock: the lane's end below is in reach of the river road too.
    main->FinalizeMove(14 * 2.5 + 1.25, 3 * 2.5 + 1.25);
    game.Tick();
    EXPECT_EQ(game.Game().GetStateCode(), GAME_PLAYING);
    game.Game().SetQuestTag("smugglers_seen", 1);
    game.Tick();
    EXPECT_EQ(game.Game().GetStateCode(), GAME_EXIT_AVAILABLE);
    EXPECT_EQ(game.Game().GetEntry(), AreaEntryPoint("reed_marsh", "hideout"));
    EXPECT_EQ(game.Game().GetAvailableExitName(), "smugglers_trail");
    game.Game().SetQuestTag("smugglers_seen", 0);
    game.Tick();
    EXPECT_EQ(game.Game().GetStateCode(), GAME_PLAYING);
    // A dead member need not come: only the living must reach the exit.
    main->FinalizeMove(0 * 2.5 + 1.25, 9 * 2.5 + 1.25);
    game.Tick();
    EXPECT_EQ(game.Game().GetAvailableExitName(), "marsh_path");
}

// The landing's three ways out lie closer than twice their reach, so near the
// boathouse the trail and the river road are both in reach; the one the party
// stands nearer is offered, whatever the area's order.
TEST(EngineCombat, WhereTwoWaysOutAreInReachTheNearerIsOffered) {
    auto game = StartSampleGame();
    game.Area().ClearEncounter("lane_goblins");
    game.Game().SetQuestTag("smugglers_seen", 1);
    const auto main = game.Main();
    struct Spot {
        double column, row;
        const char* offered;
    };
    // By the boathouse's west wall: the road 15.8 away, the trail 19.5. A cell west: the
    // road 18.2, the marsh 20.0. The lane's east end: the trail 7.5, the road 19.0. The
    // lane's west end: only the marsh.
    for (const Spot spot : {Spot{9.5, 9.5, "river_road"}, Spot{8.5, 9.5, "river_road"},
                            Spot{12.5, 4.5, "smugglers_trail"}, Spot{1.5, 8.5, "marsh_path"}}) {
        main->FinalizeMove(spot.column * 2.5, spot.row * 2.5);
        game.Tick();
        EXPECT_EQ(game.Game().GetAvailableExitName(), spot.offered) << spot.column << ", " << spot.row;
    }
}

namespace {

// A stage script that only counts its runs.
class CountingScript final : public CScript {
public:
    std::int32_t Eval(CEngine*, CScriptContext&) const override {
        ++runs;
        return 0;
    }
    const std::string& GetSource() const override { return m_source; }
    mutable int runs = 0;

private:
    std::string m_source = "-- counts";
};

}  // namespace

TEST(EngineCombat, WipingOutAStageRunsItsScriptSetsKillTagsAndPlacesTheNextStage) {
    auto game = ArmedParty();
    const std::string text =
        "<encounter> pair ( 10 2 ) \"Two goblins\" 0 false"
        " <stage> ( reed_goblin goblins_beaten ) </stage> <stage> goblin_archer </stage> </encounter>";
    DRAVCommon::CDataFileReader reader(std::make_shared<std::istringstream>(text), "pair.drav");
    auto encounter = std::make_shared<CPatchActionEncounter>(reader);
    auto script = std::make_shared<CountingScript>();
    encounter->stages[0].script = script;
    game.Area().GetPatches().push_back(
        std::make_shared<CPatch>("pair_arrives", "pair_called", PatchActionList{encounter}));
    game.Game().SetQuestTag("pair_called", 1);
    game.Area().TriggerTagPatches("pair_called", game.Module());
    ASSERT_EQ(game.Area().EncounterActorsPresent("pair"), 1u);
    CActor* goblin = nullptr;
    for (const auto& actor : game.Area().GetActors())
        if (actor->GetEncounterName() == "pair") goblin = actor.get();
    ASSERT_TRUE(goblin);

    game.Engine().ResolveActorDied("Wren", *goblin);
    game.Tick();
    EXPECT_EQ(script->runs, 1);
    EXPECT_TRUE(game.Game().IsQuestTagSet("goblins_beaten"));
    ASSERT_EQ(game.Area().EncounterActorsPresent("pair"), 1u);
    const auto archer = std::find_if(game.Area().GetActors().begin(), game.Area().GetActors().end(),
                                     [](const auto& a) { return a->GetEncounterName() == "pair"; });
    EXPECT_EQ((*archer)->GetTemplateName(), "goblin_archer");
    EXPECT_EQ((*archer)->GetEncounterIndex(), 1);
    // The last stage gone, nothing more comes.
    game.Engine().ResolveActorDied("Wren", **archer);
    game.Tick();
    EXPECT_EQ(game.Area().EncounterActorsPresent("pair"), 0u);
    EXPECT_EQ(script->runs, 1);
}

// Someone of another area's encounter, who came along with the party and stayed
// behind, leaves that encounter as it was when it dies or is taken away here.
TEST(EngineCombat, AnActorFromAnotherAreasEncounterEndsHereWithoutCompletingIt) {
    auto game = ArmedParty();
    const auto orrin = game.Area().CreateEncounterActor("boatwright", "bound_boatwright", 0, game.Module());
    ASSERT_TRUE(game.Area().PlaceActor(6, 2, false, orrin));
    orrin->SetActionState(ACTION_DEAD);
    EXPECT_NO_THROW(game.Tick());
    EXPECT_EQ(game.Area().FindActor(orrin->GetId()), nullptr);
    EXPECT_EQ(game.Game().GetStateCode(), GAME_PLAYING);
}

TEST(EngineCombat, ASurrenderCancelsThePartysAttacksWithOneDialogAndTakesNoMoreDamage) {
    auto game = ArmedParty();
    const auto main = game.Main();
    const auto lookout = game.Spawn("smuggler_lookout", 3, 1);
    ASSERT_TRUE(lookout);
    main->PushOrder(std::make_shared<CAttackOrder>(lookout->GetId()), false);
    game.Tick();
    EXPECT_EQ(main->GetActionState(), ACTION_WIND_UP);
    game.DrainEvents();
    lookout->SetDamageTaken(lookout->GetMaxHitPoints());  // no hit points left: it keeps one
    game.Engine().ResolveActorDied("Wren", *lookout);
    EXPECT_EQ(lookout->GetRelation(), RELATION_SURRENDER);
    EXPECT_TRUE(lookout->IsAlive());
    EXPECT_EQ(lookout->GetHitPoints(), 1);
    EXPECT_FALSE(main->GetCurrentOrder());
    EXPECT_EQ(main->GetActionState(), ACTION_IDLE);
    auto events = game.DrainEvents();
    EXPECT_EQ(CountEvents(events, EVENT_DIALOG_BOX), 1);
    for (const auto& event : events) {
        if (const auto* box = dynamic_cast<const CDialogBoxEvent*>(event.get())) {
            EXPECT_EQ(box->GetText(), "Smuggler Lookout has surrendered: Wren's attack is cancelled.");
        }
    }
    EXPECT_TRUE(Contains(Messages(events), "Smuggler Lookout surrenders."));
    // Said once however often it is struck or pulsed after.
    CAttackInfo knife("Wren", 0, 4, 0, 0, 0, CDamageType(), 0, 0);
    for (int blow = 0; blow < 3; ++blow)
        game.Engine().ResolveDamage(nullptr, nullptr, *lookout, knife, CSaveOutcome(), MESSAGE_MELEE_HIT);
    EXPECT_EQ(Messages(game.DrainEvents()),
              std::vector<std::string>{"Wren does no harm to Smuggler Lookout: Smuggler Lookout has surrendered."});
    EXPECT_EQ(lookout->GetHitPoints(), 1);
    const auto joined = game.Spawn("smuggler_lookout", 4, 1);
    game.Game().AddPartyMember(joined);
    game.Engine().ResolveActorDied("Reed Goblin", *joined);
    EXPECT_TRUE(!joined->IsAlive() && joined->IsPartyMember()) << "one who joined the party falls as a member does";
}

// A foe who gives up lets go of whoever it was fighting: otherwise the party
// member it held stays rooted to the spot, clicked orders and all.
TEST(EngineCombat, AFoeWhoSurrendersLetsGoOfThePartyMemberItHeld) {
    auto game = ArmedParty();
    const auto main = game.Main();
    const auto lookout = game.Spawn("smuggler_lookout", 3, 1);
    ASSERT_TRUE(lookout);
    lookout->PushOrder(std::make_shared<CAttackOrder>(main->GetId()), false);
    for (int tick = 0; tick < 120 && !main->HasAttackers(nullptr); ++tick) game.Tick();
    ASSERT_TRUE(main->HasAttackers(nullptr)) << "the lookout closes in";

    lookout->SetDamageTaken(lookout->GetMaxHitPoints());
    game.Engine().ResolveActorDied("Wren", *lookout);
    ASSERT_EQ(lookout->GetRelation(), RELATION_SURRENDER);
    EXPECT_FALSE(main->HasAttackers(nullptr));
    EXPECT_NE(lookout->GetActionState(), ACTION_WIND_UP);
    EXPECT_NE(lookout->GetActionState(), ACTION_STRIKE);
    const double startX = main->GetX(), startY = main->GetY();
    main->PushOrder(std::make_shared<CMoveOrder>(startX, startY + 10.0), false);
    game.Tick(30);
    EXPECT_GT(main->DistanceToPoint(startX, startY), 5.0) << "Wren walks on";
}

// Those attacking a member hold her where she stands. Sent onto a foe beyond her
// reach, she closes on it when it is the one holding her, and otherwise gives the
// order up with a word, rather than standing with it until she falls.
TEST(EngineCombat, AHeldMemberClosesOnTheFoeHoldingHerAndGivesUpOneSheCannotReach) {
    struct Row {
        const char* name;
        bool onHolder;
        const char* said;
        bool swings;
    };
    for (const Row& row : {Row{"the goblin holding her stood off", true, "", true},
                           Row{"an archer while the goblin holds her", false, "Wren can't reach Goblin Archer.", false}}) {
        SCOPED_TRACE(row.name);
        DRAVCommon::GetRandomEngine().seed(7);
        auto game = ArmedParty();
        const auto main = game.Main();
        main->SetMaxHitPoints(5000);
        const auto goblin = game.Spawn("reed_goblin", 3, 1);
        const auto archer = Archer(game, 12, 1);
        ASSERT_TRUE(goblin && archer);
        goblin->SetMaxHitPoints(5000);
        archer->SetMaxHitPoints(5000);
        goblin->PushOrder(std::make_shared<CAttackOrder>(main->GetId()), false);
        for (int tick = 0; tick < 120 && !main->HasAttackers(nullptr); ++tick) game.Tick();
        ASSERT_TRUE(main->HasAttackers(nullptr)) << "the goblin closes in";
        // Pressed by the crowd or stepping back, the goblin ends two cells off her and
        // keeps her as its target.
        if (row.onHolder) goblin->SetPosition(main->GetX() + 5.0, main->GetY());
        const CActor& foe = row.onHolder ? *goblin : *archer;
        main->PushOrder(std::make_shared<CAttackOrder>(foe.GetId()), false);
        game.DrainEvents();
        std::vector<std::string> said;
        for (int tick = 0; tick < 300; ++tick) {
            game.Tick();
            for (const std::string& text : Messages(game.DrainEvents())) said.push_back(text);
        }
        const bool swung = std::any_of(said.begin(), said.end(), [&](const std::string& text) {
            const bool swing = text.rfind("Wren hits ", 0) == 0 || text.rfind("Wren misses ", 0) == 0;
            return swing && text.find(foe.GetName()) != std::string::npos;
        });
        EXPECT_EQ(swung, row.swings);
        if (*row.said) {
            EXPECT_TRUE(Contains(said, row.said));
            EXPECT_FALSE(main->GetCurrentOrder()) << "the order ends";
        }
    }
}

TEST(EngineCombat, SummonedThingsRunOut) {
    auto game = ArmedParty();
    const auto main = game.Main();
    const std::uint32_t now = game.Game().GetTick();
    // A summoned archer leaves its bow, not its loot, and completes nothing.
    const auto archer = Archer(game, 6, 1);
    archer->AddToBackpack(game.Module().CreateItem("eel_pie", 1, game.Game().NewThingId(THING_ITEM), 0), false);
    archer->SetEncounter("nobody", 0);
    archer->SetSummonEndTick(now + 1);
    // A summoned knife in hand vanishes on the first tick divisible by 30 at or after its end.
    auto knife = game.Module().CreateItem("smugglers_knife", 1, game.Game().NewThingId(THING_ITEM), now + 2);
    const std::string knifeName = knife->GetTemplate().GetName();
    main->SetEquipment(SLOT_WEAPON, knife);
    game.Tick();
    auto messages = Messages(game.DrainEvents());
    EXPECT_TRUE(Contains(messages, "Goblin Archer is unsummoned."));
    EXPECT_FALSE(game.Area().FindActor(archer->GetId()));
    int piles = 0;
    for (const auto& object : game.Area().GetObjects()) {
        if (object->GetItems().empty()) continue;
        ++piles;
        // The bow is in its hand, so only the pie of its backpack lies here.
        ASSERT_EQ(object->GetItems().size(), 1u);
        EXPECT_EQ(object->GetItems().front()->GetTemplate().GetKey(), "eel_pie");
    }
    EXPECT_EQ(piles, 1);

    while (game.Game().GetTick() % 30 != 29) game.Tick();
    EXPECT_TRUE(main->GetEquipped(SLOT_WEAPON));
    game.DrainEvents();
    game.Tick();
    EXPECT_FALSE(main->GetEquipped(SLOT_WEAPON));
    EXPECT_EQ(Messages(game.DrainEvents()), std::vector<std::string>{"Wren: " + knifeName + " is unsummoned."});
}

TEST(EngineCombat, ASneakingMonsterSeenNearbyStopsSneakingSilently) {
    auto game = ArmedParty();
    const auto near = game.Spawn("reed_smuggler", 3, 1);
    near->ResetSkills();  // a clumsy one, who never learnt to move quietly
    const auto far = game.Spawn("reed_smuggler", 39, 11);
    ASSERT_TRUE(near->IsSneaking());
    ASSERT_TRUE(far->IsSneaking());
    game.Tick();
    EXPECT_FALSE(near->IsSneaking());
    EXPECT_TRUE(far->IsSneaking());
    const auto events = game.DrainEvents();
    EXPECT_TRUE(Messages(events).empty());
    EXPECT_EQ(CountEvents(events, EVENT_ACTOR_STOPPED_SNEAKING), 1);
    // Unseen, the combat check rolls against 50 when no observer comes near.
    EXPECT_EQ(game.Engine().StealthCheckOneActor(*near, false), false);
    const bool stays = game.Engine().StealthCheckOneActor(*far, true);
    const auto check = Messages(game.DrainEvents());
    ASSERT_EQ(check.size(), 1u);
    EXPECT_EQ(check[0].rfind(std::string("Reed Smuggler combat sneak check ") + (stays ? "succeeded [" : "failed ["), 0),
              0u);
    EXPECT_EQ(check[0].substr(check[0].size() - 8), " vs 50].") << check[0];
    // The party cannot attack what it does not see: the order goes at once.
    game.Main()->PushOrder(std::make_shared<CAttackOrder>(far->GetId()), false);
    game.Tick();
    EXPECT_FALSE(game.Main()->GetCurrentOrder());
}

TEST(EngineCombat, ResistanceSwallowsDamageInStepsAndWhollyAtTwenty) {
    DRAVCommon::GetRandomEngine().seed(3);
    auto game = ArmedParty();
    const auto goblin = game.Spawn("reed_goblin", 3, 1);
    CDamageType type;
    type.category = DAMAGE_PHYSICAL;
    // A huge bonus: only rolls of 1 to 5 miss.
    CAttackInfo info("Wren", 1000, 4, 0, 0, 0, type, 0, 0);
    const std::int32_t resistance = goblin->GetDamageResistance(type);
    info.enhancement = resistance - 20;
    int hits = 0;
    for (int i = 0; i < 40; ++i) {
        const bool hit = game.Engine().ResolveAttack2(*goblin, info, true);
        const auto messages = Messages(game.DrainEvents());
        ASSERT_EQ(messages.size(), 1u);
        const std::string suffix = hit ? ", damage resisted 100%." : "].";
        EXPECT_EQ(messages[0].substr(messages[0].size() - suffix.size()), suffix);
        hits += hit;
    }
    EXPECT_GT(hits, 30);
    EXPECT_EQ(goblin->GetDamageTaken(), 0);
    // One point less lets 5 percent through, never less than a point.
    info.enhancement = resistance - 19;
    while (!game.Engine().ResolveAttack2(*goblin, info, true)) game.DrainEvents();
    const auto messages = Messages(game.DrainEvents());
    EXPECT_NE(messages.back().find("for 1 damage (Resisted 95%)."), std::string::npos) << messages.back();
    EXPECT_EQ(goblin->GetDamageTaken(), 1);
}

TEST(EngineCombat, AStruckNeutralTurnsHostileOnlyWhenItsBrainSaysSo) {
    DRAVCommon::GetRandomEngine().seed(7);
    auto game = ArmedParty();
    // The ferryman's brain turns on an attacker; the innkeeper's, who leaves
    // fighting to others, does not.
    const auto ferryman = game.Spawn("ferryman", 2, 1);
    const auto innkeeper = game.Spawn("innkeeper", 1, 2);
    ASSERT_TRUE(ferryman && innkeeper);
    ASSERT_EQ(innkeeper->GetRelation(), RELATION_NEUTRAL);
    ASSERT_EQ(ferryman->GetRelation(), RELATION_NEUTRAL);

    game.Engine().MeleeStrike(*game.Main(), *innkeeper);
    EXPECT_EQ(innkeeper->GetRelation(), RELATION_NEUTRAL);
    game.Engine().MeleeStrike(*game.Main(), *ferryman);
    EXPECT_EQ(ferryman->GetRelation(), RELATION_HOSTILE);
    EXPECT_TRUE(game.Game().IsInBattle());
}
