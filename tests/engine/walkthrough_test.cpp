// The sample chapter played from the dock to the ferry's crossing as a player
// plays it (tests/engine/story_player.h). Two characters take the two roads
// through the smugglers' hide: a fighter who goes in with a pole, and a
// spellcaster, made with the schools the creation pages sell, who fights with her
// spells, comes round by Marra's punt over the travel map and pays the lookouts.
// The fighter's road goes on into Ashcombe, the next chapter, with what she
// carried; a hero made for Ashcombe alone plays it too.
// The dice are seeded as each road sets out and again as each fight begins.

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <set>
#include <string>
#include <vector>

#include "common/random.h"
#include "rules/definitions/travel_map.h"
#include "engine/story_steps.h"
#include "engine/weir_steps.h"
#include "world/area/patch.h"

using namespace DRAV;
using QuillmereTest::Character;
using QuillmereTest::Player;

namespace {

using QuillmereTest::kFighter;
// Two class picks on Matter and Energy Magic, the general one on Elemental Magic,
// which needs them both; she strikes with its River Dart, then Marsh Spark.
const Character kSpellcaster{CLASS_SPELLCASTER,
                             {ATTR_INTELLIGENCE, ATTR_DURABILITY, ATTR_AGILITY},
                             {SKILL_MATTER_MAGIC, SKILL_ENERGY_MAGIC, SKILL_ELEMENTAL_MAGIC},
                             {"river_dart", "marsh_spark"}};

// The landing, as every road begins: the welcome at the dock, a pole from the
// ferryman, the goblins on the lane, a look at the crate by the boathouse, the
// boatwright's story from the innkeeper, the heron's riddle, the road's own
// `trade` at the trader's stall and the keeper's fare.
void Landing(Player& player, const std::function<void(CActor& trader)>& trade) {
    // Ashore with a goal: the keeper's errand in the journal and the first page of
    // the tutorial at once.
    EXPECT_TRUE(player.Game().IsQuestTagSet("smugglers_asked"));
    EXPECT_EQ(QuillmereTest::JournalKeys(player), (std::vector<std::string>{"landing_arrival"}));
    EXPECT_TRUE(player.Said("tutorial_start: "));
    QuillmereTest::TakeTobinsPole(player);
    QuillmereTest::FightTheLaneGoblins(player);
    ASSERT_FALSE(::testing::Test::HasFatalFailure());
    ASSERT_EQ(player.Game().GetGold(), 20) << "the goblins' purses";

    QuillmereTest::OpenTheCrate(player);
    // Past the keeper on the way, who comes to greet the newcomer.
    EXPECT_TRUE(player.Game().IsQuestTagSet("hesk_met"));

    QuillmereTest::HearHollisNews(player);
    EXPECT_TRUE(player.Game().IsQuestTagSet("boatwright_asked"));
    // The stone heron's riddle, which nobody sets the party, on the way past.
    QuillmereTest::AnswerTheHeron(player);
    EXPECT_TRUE(player.Game().IsQuestTagSet("heron_riddle"));
    auto& tansy = *player.Person("landing_trader");
    player.Talk(tansy, {"Let me see your goods."});
    const std::int32_t gold = player.Game().GetGold();
    trade(tansy);

    // The ferry waits for the boatwright.
    QuillmereTest::AskHeskAboutTheFerry(player);
    EXPECT_TRUE(player.Said("until Orrin is back at his slip to caulk her"));
    EXPECT_NE(player.Game().GetGold(), gold) << "the trade was done";
}

// From the skiff back to the landing by the smugglers' trail, the boatwright
// home, the smugglers reported, and the crossing that ends the chapter.
void HomeAndAcross(Player& player) {
    QuillmereTest::FreeOrrin(player);
    QuillmereTest::BringOrrinHome(player);
    ASSERT_FALSE(::testing::Test::HasFatalFailure());
    EXPECT_LT(player.Main()->DistanceToPoint(7 * 2.5 + 1.25, 5 * 2.5 + 1.25), 25.0) << "near the trail's end";

    // With Orrin home, Hollis stands the landing a round, or Orrin calls for pitch:
    // the heartbeat chatter of whichever of them stands nearest the party, which
    // waits by the inn.
    player.Talk(*player.Person("innkeeper"), {});
    player.WalkTo(3, 9);
    EXPECT_TRUE(player.WaitFor({"Orrin the Boatwright : Pitch and oakum!",
                                "Hollis the Innkeeper : The boatwright is home! Drinks on the house tonight!"},
                               9000));

    QuillmereTest::ReportTheSmugglers(player);
    const std::int32_t gold = player.Game().GetGold();
    QuillmereTest::PayTheFare(player);
    EXPECT_EQ(player.Game().GetGold(), gold - 5);
}

void ExpectTheEnd(const Player& player, std::uint32_t experienceBefore) {
    EXPECT_EQ(player.Completed(), QuillmereTest::kStoryOrder);
    EXPECT_EQ(player.Main()->GetExperience(), experienceBefore + QuillmereTest::kStoryExperience);
    EXPECT_EQ(player.Game().GetStateCode(), GAME_WON);
    for (const auto& [name, quest] : player.Engine().GetModule()->GetQuests())
        EXPECT_TRUE(player.Game().IsQuestTagSet(name)) << name;
    // Marra is still with the party; the boatwright stayed at his slip.
    const auto& party = player.Game().GetParty();
    EXPECT_TRUE(std::any_of(party.begin(), party.end(),
                            [](const auto& member) { return member->GetTemplateName() == "reed_witch"; }));
    EXPECT_EQ(party.size(), 2u);
    // The closing page names who goes on into the next chapter: the hero alone,
    // whoever walked the reeds beside her.
    const std::string& closing = player.Game().GetClosingText();
    EXPECT_NE(closing.find(player.Main()->GetName()), std::string::npos) << closing;
    for (const auto& member : party)
        if (member != player.Main()) {
            EXPECT_EQ(closing.find(member->GetName()), std::string::npos) << closing;
        }
    // Hollis, who keeps every rumour on the river, is in the journal of people.
    EXPECT_EQ(player.Game().GetPeopleJournal().count("hollis"), 1u);
    EXPECT_EQ(player.Game().GetRevealedLocations().count("smugglers_hide"), 1u);
}

// The fighter's road through Reedwater, from the dock to the crossing.
void TheFighterGoesInWithAPole(Player& player) {
    const std::uint32_t experience = player.Main()->GetExperience();
    Landing(player, [&](CActor& tansy) {
        player.Buy(tansy, "eel_pie");
        EXPECT_EQ(player.Game().GetGold(), 17);
    });
    ASSERT_FALSE(::testing::Test::HasFatalFailure());
    QuillmereTest::WalkIntoTheMarsh(player);
    QuillmereTest::AskMarraAlong(player);
    auto& marra = *player.Person("reed_witch");
    EXPECT_EQ(player.Game().GetParty().size(), 2u);
    // The fighter goes in with the witch's tonics in the pack; she keeps her mail.
    player.Give(marra, "river_tonic");
    EXPECT_TRUE(player.Carries("river_tonic"));

    QuillmereTest::FightThroughTheHide(player);
    ASSERT_FALSE(::testing::Test::HasFatalFailure());
    EXPECT_TRUE(player.Game().IsQuestTagSet("smugglers_routed"));

    HomeAndAcross(player);
    ExpectTheEnd(player, experience);
}

TEST(Walkthrough, TheFighterGoesInWithAPole) {
    DRAVCommon::GetRandomEngine().seed(5);
    Player player(kFighter);
    TheFighterGoesInWithAPole(player);
}

TEST(Walkthrough, TheSpellcasterPaysHerWayPastTheLookouts) {
    DRAVCommon::GetRandomEngine().seed(5);
    Player player(kSpellcaster);
    const std::uint32_t experience = player.Main()->GetExperience();
    Landing(player, [&](CActor& tansy) {
        // The ferry's scroll sold for what the lookouts will want; Tansy's marsh
        // water, which gives a caster back her strength, costs nothing.
        player.Sell(tansy, "lantern_scroll");
        player.Buy(tansy, "marsh_water");
        EXPECT_EQ(player.Game().GetGold(), 33);
        EXPECT_TRUE(player.Carries("marsh_water"));
    });
    ASSERT_FALSE(::testing::Test::HasFatalFailure());
    // The goblins fell to her spells; the pole she was given stayed unused.
    EXPECT_TRUE(player.Said("Wren casts River Dart on Reed Goblin."));
    EXPECT_TRUE(player.Said("Wren (River Dart) has killed Reed Goblin."));
    EXPECT_FALSE(player.Said("Wren hits ")) << "a blow of the pole";

    QuillmereTest::WalkIntoTheMarsh(player);
    QuillmereTest::AskMarraAlong(player);
    // Round by the back channels to the hide: her punt sets out over the travel
    // map, shown while the party still stands by her fire. The map is given up,
    // and the party stays, and walks to the hide over the bridge instead.
    auto& marra = *player.Person("reed_witch");
    const auto fireside = std::make_pair(player.Main()->GetX(), player.Main()->GetY());
    player.Talk(marra, {"Take us round to the hide in your punt."});
    ASSERT_EQ(player.Game().GetStateCode(), GAME_TRAVEL);
    const CMap2* map = player.JourneyMap();
    ASSERT_NE(map, nullptr) << "the punt goes by the travel map";
    EXPECT_EQ(map->GetName(), "reedwater_map");
    ASSERT_EQ(&player.Area(), player.Main()->GetArea()) << "the party has not left while the map is open";
    player.CancelJourney();
    player.Tick();
    // Playing on where she stood, by the way back to the landing.
    ASSERT_TRUE(player.Game().GetStateCode() == GAME_PLAYING || player.Game().GetStateCode() == GAME_EXIT_AVAILABLE)
        << player.Game().GetStateCode();
    EXPECT_EQ(player.Area().GetName(), "reed_marsh");
    EXPECT_LT(player.Main()->DistanceToPoint(fireside.first, fireside.second), 1.0) << "where she stood";

    CThing* lookout = QuillmereTest::WalkUpToTheHide(player);
    ASSERT_TRUE(lookout) << "the lookouts stop the party";
    player.Talk(*lookout, {"Twenty gold says you saw nobody."});
    EXPECT_TRUE(player.Said("Go on, then"));
    EXPECT_FALSE(player.Said("Lads!"));
    EXPECT_EQ(player.Game().GetGold(), 13);
    EXPECT_TRUE(player.Game().IsQuestTagSet("smugglers_seen"));

    // A save at the hide: the companion, the passage and the map come back with it.
    player.SaveAndLoad();
    ASSERT_EQ(player.Area().GetName(), "reed_marsh");
    EXPECT_EQ(player.Game().GetParty().size(), 2u);
    EXPECT_TRUE(player.Game().IsQuestTagSet("hide_passage"));
    EXPECT_EQ(player.Game().GetRevealedLocations().count("smugglers_hide"), 1u);

    HomeAndAcross(player);
    ExpectTheEnd(player, experience);
}

// The fighter who routed Marrow's hide goes on upriver with what she carried and
// what Reedwater remembers of her: Sefton has heard of her, and Wick believes her
// when she tells him the hide is broken.
TEST(Walkthrough, TheFighterCarriesHerPoleUpriverToTheWeir) {
    DRAVCommon::GetRandomEngine().seed(5);
    Player reedwater(kFighter);
    TheFighterGoesInWithAPole(reedwater);
    ASSERT_FALSE(::testing::Test::HasFatalFailure());
    const std::int32_t gold = reedwater.Game().GetGold();

    Player player(QuillmereTest::SampleGame::NextChapter(reedwater.Sample()), kFighter.spells);
    EXPECT_EQ(player.Game().GetParty().size(), 1u) << "Marra stays in her marsh";
    EXPECT_EQ(player.Game().GetGold(), gold);
    for (const char* tag : {"ferry_crossed", "smugglers_reported", "smugglers_routed"})
        EXPECT_TRUE(player.Game().IsQuestTagSet(tag)) << tag;
    EXPECT_FALSE(player.Game().IsQuestTagSet("boatwright_returned")) << "a tag this chapter does not ask for";
    QuillmereTest::ArriveAtTheWeir(player, "tutorial_items");
    // Her pole and the witch's tonic came stowed in her pack; she takes the pole up again.
    EXPECT_TRUE(player.Carries("river_tonic"));
    player.Wield("ferrymans_pole", SLOT_WEAPON);
    ASSERT_NE(player.Main()->GetEquipped(SLOT_WEAPON), nullptr);

    QuillmereTest::AskSefton(player, "Mother Hesk's word came up by the Guild's pigeon: you are the one who broke "
                                     "Marrow's hide in the Reedwater reeds.");
    QuillmereTest::AskNell(player);
    QuillmereTest::OpenTheSluiceHouse(player);
    CActor* wick = QuillmereTest::MeetWick(player);
    ASSERT_TRUE(wick) << "Wick stops whoever comes to the door";
    player.Talk(*wick, {"Marrow's hide is broken and the Wardens walk the reeds. No boat is coming for that box."});
    EXPECT_FALSE(player.Person("weir_runner")) << "Wick gives up the box and goes";
    QuillmereTest::TakeTheLedger(player);
    QuillmereTest::BringSeftonTheLedger(player);
}

// A hero made for Ashcombe alone, at the level its chapter starts at: she buys
// her arms from Nell's cargo and fights Wick for the strongbox until he yields.
TEST(Walkthrough, ANewHeroOfAshcombeFightsForTheStrongbox) {
    DRAVCommon::GetRandomEngine().seed(5);
    Player player(QuillmereTest::NewAshcombeGame(kFighter), kFighter.spells);
    QuillmereTest::ArriveAtTheWeir(player, "tutorial_start");
    EXPECT_TRUE(player.Main()->GetBackpack().empty());
    QuillmereTest::ArmFromNellsCargo(player);

    QuillmereTest::AskSefton(player, "No boat goes down past my chain, stranger");
    QuillmereTest::AskNell(player);
    QuillmereTest::OpenTheSluiceHouse(player);
    CActor* wick = QuillmereTest::MeetWick(player);
    ASSERT_TRUE(wick) << "Wick stops whoever comes to the door";
    // Only a party that broke Marrow's hide can tell him so.
    const std::vector<std::string> offered = player.Talk(*wick, {});
    EXPECT_EQ(offered, (std::vector<std::string>{"Marrow sent us to fetch it. You can go.",
                                                 "Step away from the Guild's strongbox.", "We will come back."}));
    QuillmereTest::SeedTheFight();
    player.Talk(*wick, {"Step away from the Guild's strongbox."});
    player.Fight();
    QuillmereTest::LetTheBeatenWickGo(player);
    QuillmereTest::TakeTheLedger(player);
    QuillmereTest::BringSeftonTheLedger(player);
}

}  // namespace

namespace {

// Every person and monster the chapter defines stands somewhere on its travel
// map's areas, from the start or once a patch brings it.
TEST(ChapterCast, EveryDefinedPersonIsPlacedInSomeArea) {
    const auto game = QuillmereTest::StartSampleGame();
    CMap2* map = game.Game().FindAndLoadTempMap("reedwater_map", game.Module());
    ASSERT_NE(map, nullptr);
    std::set<std::string> placed;
    const auto note = [&](const CPatchActionEncounter& encounter) {
        for (const auto& stage : encounter.stages)
            for (const auto& monster : stage.monsters) placed.insert(monster.key);
    };
    std::set<std::string> areas;
    for (const auto& place : map->GetAreas()) areas.insert(place->GetEntryArea());
    ASSERT_EQ(areas, (std::set<std::string>{"reed_marsh", "reedwater_landing"}));
    for (const auto& name : areas) {
        CArea area(&game.Game());
        area.LoadAreaFile("", name, game.Module(), AREA_LOAD_FRESH, false);
        for (const auto& encounter : area.GetEncounters()) note(encounter);
        for (const auto& patch : area.GetPatches())
            for (const auto& action : patch->GetActions())
                if (action->GetType() == PATCH_ENCOUNTER) note(static_cast<const CPatchActionEncounter&>(*action));
    }
    for (const auto& [key, definition] : game.Module().GetMonsterTemplates())
        EXPECT_EQ(placed.count(key), 1u) << key << " is defined but stands nowhere";
}

}  // namespace
