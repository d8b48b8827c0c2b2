#pragma once
// The steps of the Reedwater story as a player takes them, each through the
// orders of a headless Player: the walkthrough strings them together along the
// story's two roads, the order tests in the other orders a player may choose.
// A step that needs a choice the story may not offer yet takes the first of the
// replies named that is offered.

#include <gtest/gtest.h>

#include <algorithm>
#include <initializer_list>
#include <set>
#include <string>
#include <vector>

#include "common/random.h"
#include "engine/story_player.h"
#include "world/journal_entry.h"

namespace QuillmereTest {

// Each fight of the story rolls its own dice, seeded afresh as it begins: what
// the party did before it, and how long it took, does not change how it goes.
// (The hide's fight is one a new fighter with Marra wins about three times in
// four; the lane's goblins fall to either character almost always.)
inline void SeedTheFight() { DRAVCommon::GetRandomEngine().seed(1); }

// The quests of the chapter, in the order the story means them to end.
const std::vector<std::string> kStoryOrder{"The Heron's Riddle", "The Missing Boatwright", "Home to the Slip",
                                           "Smoke in the Reeds", "Passage Across"};
constexpr std::uint32_t kHeronExperience = 25;
constexpr std::uint32_t kStoryExperience = kHeronExperience + 300 + 150 + 450 + 50;

// The characters the story's tests play: a fighter with a staff, and a talker
// who goes past the hide's lookouts with words.
const Character kFighter{CLASS_FIGHTER,
                         {ATTR_AGILITY, ATTR_STRENGTH, ATTR_DURABILITY},
                         {SKILL_STAFF, SKILL_LIGHT_ARMOR, SKILL_HEAVY_ARMOR}};
const Character kTalker{CLASS_ROGUE,
                        {ATTR_PERSONALITY, ATTR_STRENGTH, ATTR_DURABILITY},
                        {SKILL_DIPLOMACY, SKILL_LOCKS, SKILL_STAFF}};

// Keys of the journal's records, in order of arrival.
inline std::vector<std::string> JournalKeys(const Player& player) {
    std::vector<std::string> keys;
    for (const auto& entry : player.Game().GetJournal()) keys.push_back(entry->GetJournalKey());
    return keys;
}

// The first of `replies` the person offers now, after opening the conversation;
// empty when none is.
inline std::string FirstOffered(Player& player, CThing& partner, std::initializer_list<const char*> replies) {
    const auto offered = player.Talk(partner, {});
    for (const char* reply : replies)
        if (std::find(offered.begin(), offered.end(), reply) != offered.end()) return reply;
    return {};
}

// Tobin on the ferry gives a newcomer his spare pole, which she wields.
inline void TakeTobinsPole(Player& player) {
    player.Talk(*player.Person("dock_ferryman"), {"We have nothing to fight them with."});
    player.Wield("ferrymans_pole", SLOT_WEAPON);
}

// Down the lane from the dock, through the reeds where the goblins wait: they
// spring, the party fights them alone and takes what they dropped.
inline void FightTheLaneGoblins(Player& player) {
    SeedTheFight();
    player.WalkTo(6, 7, [&] { return player.FoeInSight(); });
    EXPECT_TRUE(player.Said("a goblin bursts out of them"));
    // The page speaks to a hero as made: no weapon of her own, and where one is had.
    EXPECT_TRUE(player.Said("tutorial_combat: "));
    EXPECT_TRUE(player.Said("A new hero has no weapon and fights bare-handed; Tobin the ferryman on the dock gives his "
                            "spare pole to anyone who asks."));
    const auto goblin = player.Person("reed_goblin");
    ASSERT_TRUE(goblin);
    EXPECT_EQ(goblin->GetRace(), RACE_GOBLIN) << "the sheet and the hover name a goblin a goblin";
    player.Fight();
    ASSERT_TRUE(player.Main()->IsAlive());
    // The party's own fight: nobody of the landing strikes a goblin down for it.
    EXPECT_TRUE(player.Killed("Reed Goblin"));
    EXPECT_TRUE(player.Killed("Goblin Archer"));
    // The archer's arrows are told as shots of its bow, not as a cleaver's blows.
    EXPECT_TRUE(player.Said("Goblin Archer (Reed bow)"));
    EXPECT_FALSE(player.Said("Goblin Archer (Cleaver)"));
    player.LootPiles();
}

// The smugglers' crate by the boathouse has a lock only a trained hand picks.
inline void OpenTheCrate(Player& player) {
    CObject* crate = player.Thing("reed_crate");
    ASSERT_TRUE(crate);
    const bool trainedHand = player.Main()->HasSkill(SKILL_LOCKS);
    EXPECT_EQ(player.Loot(*crate), trainedHand);
    EXPECT_TRUE(player.Said(trainedHand ? "Wren picks the lock on Smugglers' Crate"
                                        : "Wren can't unlock Smugglers' Crate"));
    EXPECT_EQ(player.Carries("smugglers_flare"), trainedHand);
}

// Hollis's news, whatever it is by now; asked to look for the boatwright, the
// party says it will.
inline void HearHollisNews(Player& player) {
    auto& hollis = *player.Person("innkeeper");
    player.Talk(hollis, {"What news on the river?"});
    if (FirstOffered(player, hollis, {"We will look for him."}).empty()) return;
    player.Talk(hollis, {"What news on the river?", "We will look for him."});
}

inline void AnswerTheHeron(Player& player) {
    CObject* heron = player.Thing("old_heron");
    ASSERT_TRUE(heron);
    player.Talk(*heron, {"Ask about the river.", "The river."});
}

// The keeper is asked about the ferry; while the boatwright is away she will
// take no fare.
inline void AskHeskAboutTheFerry(Player& player) {
    player.Talk(*player.Person("ferry_keeper"), {"We need to cross the river.", "Here is the fare."});
}

// From the landing down the lane into the marsh.
inline void WalkIntoTheMarsh(Player& player) {
    player.Travel(2, 9);
    ASSERT_EQ(player.Area().GetName(), "reed_marsh");
}

// Marra by her fire tells what she knows and comes along.
inline void AskMarraAlong(Player& player) {
    auto& marra = *player.Person("reed_witch");
    const std::string ask = FirstOffered(player, marra,
                                         {"We are looking for Orrin the boatwright.",
                                          "What are the lights in the reeds at night?"});
    ASSERT_FALSE(ask.empty());
    player.Talk(marra, {ask.c_str(), ask == "We are looking for Orrin the boatwright." ? "Will you come with us?"
                                                                                        : "Will you walk with us a while?"});
    EXPECT_TRUE(marra.IsPartyMember());
}

// Marra, walking with the party, poles it round by the back channels to the hide,
// where the lookouts, who watch the bridge, never see it land.
inline void PuntToTheHide(Player& player) {
    player.Talk(*player.Person("reed_witch"), {"Take us round to the hide in your punt."});
    player.TravelTo("smugglers_hide");
    ASSERT_EQ(player.Area().GetName(), "reed_marsh");
    EXPECT_TRUE(player.Said("Marra's punt noses in under the bank below the hide"));
    EXPECT_TRUE(player.Game().IsQuestTagSet("hide_unseen"));
    for (const auto& member : player.Game().GetParty())  // clear of the bridge's foot, its planks end at column 12
        EXPECT_GT(member->GetX(), 14 * kCell) << member->GetName() << " landed at the bridge the lookouts watch";
}

// Over the bridge and through the reeds where the lanterns show, until the hide's
// lookouts stop the party.
inline CThing* WalkUpToTheHide(Player& player) {
    player.WalkTo(13, 3);
    EXPECT_TRUE(player.Game().IsQuestTagSet("smugglers_seen"));
    player.WalkTo(18, 3);
    // They come up to whoever of the party is nearest.
    for (int tick = 0; tick < 300 && !player.TalkPending(); ++tick) player.Tick();
    return player.TalkPending();
}

// The hide's lookouts are bluffed with whatever name the party knows for their
// captain; the boatwright is cut loose behind their backs.
inline void BluffPastTheLookouts(Player& player) {
    CThing* lookout = WalkUpToTheHide(player);
    ASSERT_TRUE(lookout) << "the lookouts stop the party";
    const std::string bluff = FirstOffered(
        player, *lookout,
        {"Marrow sent for us. We carry his cargo tonight.", "Your captain sent for us. We carry his cargo tonight."});
    ASSERT_FALSE(bluff.empty());
    player.Talk(*lookout, {bluff.c_str()});
    EXPECT_TRUE(player.Game().IsQuestTagSet("hide_passage"));
}

// The lookouts are told to stand aside, and the hide is fought through: the
// lookouts, then the captain who comes out alone once they are down.
inline void FightThroughTheHide(Player& player) {
    CThing* lookout = WalkUpToTheHide(player);
    SeedTheFight();
    ASSERT_TRUE(lookout) << "the lookouts stop the party";
    const std::string threat = FirstOffered(
        player, *lookout, {"Let the boatwright go, or we come through you.", "Stand aside, or we come through you."});
    ASSERT_FALSE(threat.empty());
    player.Talk(*lookout, {threat.c_str()});
    player.Fight();
    ASSERT_TRUE(player.Main()->IsAlive());
    EXPECT_TRUE(player.Said("has killed Captain Marrow"));
}

// Orrin cut loose in the skiff walks home with the party.
inline void FreeOrrin(Player& player) {
    auto& orrin = *player.Person("boatwright");
    player.Talk(orrin, {"Cut the ropes and pull the gag out.", "Come with us, then."});
    EXPECT_TRUE(orrin.IsPartyMember());
    EXPECT_TRUE(player.Said("tutorial_party: "));
}

// The lookout the smugglers posted on the trail head lets an arriving party be;
// the party goes at it until it turns, and fights it.
inline void FightTheTrailLookout(Player& player) {
    const auto lookout = player.Person("smuggler_lookout");
    ASSERT_TRUE(lookout);
    EXPECT_NE(lookout->GetRelation(), RELATION_HOSTILE) << "the lookout went for the party as it arrived";
    player.WalkTo(14, 4, [&] { return player.FoeInSight(); });
    EXPECT_TRUE(player.FoeInSight()) << "the lookout let the party walk up to it";
    SeedTheFight();
    player.Fight();
}

// Orrin, walking with the party at the landing, is let go home to his slip.
inline void SendOrrinToHisSlip(Player& player) {
    auto orrin = player.Person("boatwright");
    ASSERT_TRUE(orrin);
    ASSERT_TRUE(orrin->IsPartyMember());
    player.Talk(*orrin, {"You are home, Orrin. Go and rest."});
    EXPECT_FALSE(orrin->IsPartyMember());
    EXPECT_LE(std::count_if(player.Log().begin(), player.Log().end(),
                            [](const std::string& line) { return line.find("Say the word") != std::string::npos; }),
              1)
        << "he offers once to go home";
    // He is at work in his boathouse, out of the way.
    player.Tick();
    const auto atWork = player.Person("boatwright");
    ASSERT_TRUE(atWork);
    EXPECT_FALSE(atWork->IsPartyMember());
    EXPECT_EQ(atWork->GetEncounterName(), "orrin_at_slip");
}

// Back by the smugglers' trail, past the lookout they posted if the party crossed
// theirs at the hide, and Orrin, who says as he arrives that he is home, is let go
// to his slip.
inline void BringOrrinHome(Player& player) {
    auto orrin = player.Person("boatwright");
    ASSERT_TRUE(orrin);
    player.Travel(19, 3);
    ASSERT_EQ(player.Area().GetName(), "reedwater_landing");
    EXPECT_TRUE(player.Said("Orrin the Boatwright : There's my slip"));
    if (player.Game().IsQuestTagSet("hide_fought"))
        FightTheTrailLookout(player);
    else
        EXPECT_FALSE(player.Person("smuggler_lookout")) << "a lookout waits for a party that talked its way past";
    ASSERT_TRUE(player.Main()->IsAlive());
    SendOrrinToHisSlip(player);
}

// Once the smugglers are reported the Wardens have taken what lay under the
// loose board on the lane: the board is gone, and crossing its place tells of no
// smugglers landing goods.
inline void CrossTheLooseBoardsPlace(Player& player) {
    ASSERT_TRUE(player.Game().IsQuestTagSet("smugglers_reported"));
    player.Tick();
    EXPECT_FALSE(player.Thing("landing_board"));
    const auto clues = [&] {
        return std::count_if(player.Log().begin(), player.Log().end(), [](const std::string& line) {
            return line.find("Someone lands goods at Reedwater by night") != std::string::npos;
        });
    };
    const auto before = clues();
    player.WalkTo(9, 4);
    EXPECT_EQ(clues(), before);
}

// In the marsh, with Orrin freed, a member of the party is sent alone into the
// south shallows, where the drowned watch takes them, while the others wait by
// the trail.
inline void FallsInTheShallows(Player& player, CActor& member) {
    ASSERT_TRUE(member.IsPartyMember());
    player.WalkTo(19, 3);
    player.Send(member, 2 * kCell + kCell / 2, 9 * kCell + kCell / 2);
    ASSERT_TRUE(player.TickUntil([&] { return !member.IsAlive(); }, kPatience))
        << "the watch left " << member.GetName() << " standing";
}

inline void FallsInTheShallows(Player& player, const std::string& templateName) {
    auto companion = player.Person(templateName);
    ASSERT_TRUE(companion);
    FallsInTheShallows(player, *companion);
}

inline void MarraFallsInTheShallows(Player& player) { FallsInTheShallows(player, "reed_witch"); }

// Past the hide, the hero herself falls in the shallows while Marra waits by the
// trail; Marra, still standing, walks the party home by the trail.
inline void HeroFallsInTheShallows(Player& player) {
    const auto marra = player.Person("reed_witch");
    ASSERT_TRUE(marra);
    FallsInTheShallows(player, *player.Main());
    ASSERT_FALSE(::testing::Test::HasFatalFailure());
    ASSERT_TRUE(marra->IsPartyMember() && marra->IsAlive());
    EXPECT_NE(player.Game().GetStateCode(), GAME_WIPED_OUT) << "Marra still stands";
    player.Travel(19, 3);
    ASSERT_EQ(player.Area().GetName(), "reedwater_landing");
    EXPECT_FALSE(player.Main()->IsAlive()) << "a journey raised the fallen";
}

// In the marsh, the hero, whom nobody walks beside any longer, goes alone into
// the shallows and falls: the whole party is down, and wakes rested on the dock.
inline void TheLastOfThePartyFallsAndWakes(Player& player) {
    FallsInTheShallows(player, *player.Main());
    ASSERT_TRUE(player.TickUntil([&] { return player.Game().GetStateCode() == GAME_WIPED_OUT; }, kPatience));
    player.ChangeArea();
    ASSERT_EQ(player.Area().GetName(), "reedwater_landing");
    EXPECT_EQ(player.Game().GetCurrentEntry().second, "dock");
    EXPECT_TRUE(player.Main()->IsAlive());
}

// Whoever of the party still stands asks Hollis for a room: a night at the
// Heron's Rest, paid at breakfast, raises the fallen and heals everyone, who come
// down together to the dock.
inline void RestAtTheInn(Player& player) {
    ASSERT_EQ(player.Area().GetName(), "reedwater_landing");
    const std::int32_t gold = player.Game().GetGold();
    ASSERT_GE(gold, 4) << "the chapter's purse is short of a night at the inn";
    player.Talk(*player.Person("innkeeper"), {"Have you a room for the night?", "We'll take the room."});
    ASSERT_EQ(player.Game().GetStateCode(), GAME_WIPED_OUT) << "the party does not go to bed";
    player.ChangeArea();
    ASSERT_EQ(player.Area().GetName(), "reedwater_landing");
    EXPECT_EQ(player.Game().GetCurrentEntry().second, "inn");
    EXPECT_EQ(player.Game().GetGold(), gold - 4);
    EXPECT_TRUE(player.Said("Hollis takes his four gold"));
    EXPECT_TRUE(player.Said("The party has rested and healed for 8 hours."));
    for (const auto& member : player.Game().GetParty()) {
        EXPECT_TRUE(member->IsAlive()) << member->GetName();
        EXPECT_EQ(member->GetHitPoints(), member->GetMaxHitPoints()) << member->GetName();
        EXPECT_EQ(member->GetArea(), &player.Area()) << member->GetName() << " was left behind";
    }
}

// Freed Orrin falls to the watch, and the party goes home by the smugglers' trail
// without him.
inline void OrrinFallsInTheShallows(Player& player) {
    FallsInTheShallows(player, "boatwright");
    ASSERT_FALSE(::testing::Test::HasFatalFailure());
    player.Travel(19, 3);
    ASSERT_EQ(player.Area().GetName(), "reedwater_landing");
    ASSERT_TRUE(player.Main()->IsAlive());
}

inline void ReportTheSmugglers(Player& player) {
    player.Talk(*player.Person("ferry_keeper"), {"We saw lanterns in the reeds. Smugglers, and they keep a hide."});
}

// The fare, which ends the chapter once the ferry is sound.
inline void PayTheFare(Player& player) {
    auto& hesk = *player.Person("ferry_keeper");
    const std::string ask = FirstOffered(player, hesk, {"Here is the fare.", "We need to cross the river."});
    ASSERT_FALSE(ask.empty());
    if (ask == "Here is the fare.") player.Talk(hesk, {"Here is the fare."});
    else player.Talk(hesk, {ask.c_str(), "Here is the fare."});
    EXPECT_EQ(player.Game().GetStateCode(), GAME_WON);
}

}  // namespace QuillmereTest
