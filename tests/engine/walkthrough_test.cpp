// The sample chapter played from the dock to the ferry's crossing as a player
// plays it: a character made as the creation wizard makes it, then only the
// orders the interface gives (move, talk with a chosen reply, attack, use, get,
// give, wield, buy, travel, save and load), never a tag, a spawned actor or a
// state set by hand. Two characters take the two roads through the smugglers'
// hide: a fighter who goes in with a pole, and a talker who bluffs the lookouts
// and comes round by Marra's punt over the travel map. The dice are seeded.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "common/random.h"
#include "rules/vocabulary/skill_id.h"
#include "support/sample_game.h"
#include "support/temp_dir.h"
#include "world/events/event.h"
#include "world/area/patch.h"
#include "world/object.h"
#include "world/store.h"

using namespace DRAV;

namespace {

constexpr double kCell = 2.5;
// Longer than any walk, fight or talk of the chapter takes.
constexpr int kPatience = 6000;
// A character that has come no nearer for this long is held up.
constexpr int kStalledTicks = 90;
// How often a fighter looks round for a nearer foe.
constexpr int kRetargetTicks = 30;

struct Character {
    ActorClass actorClass;
    std::vector<Attribute> raises;  // raised in turn while any raise is affordable
    std::vector<SkillId> skills;
};

// What the creation wizard's pages write into the new actor.
void Create(CActor& actor, const Character& character) {
    actor.SetGender(GENDER_FEMALE);
    actor.SetClass(character.actorClass);
    for (bool raised = true; raised;) {
        raised = false;
        for (const Attribute attribute : character.raises) {
            try {
                actor.IncreaseAttribute(attribute, false);
                raised = true;
            } catch (const CDRAVException&) {
            }
        }
    }
    for (const SkillId skill : character.skills) {
        ASSERT_TRUE(actor.CanLearnSkill(skill)) << skill;
        actor.AddSkill(skill);
    }
    actor.SetName("Wren");
}

// The player at the keyboard: gives orders, answers the dialogs the engine asks
// for, and keeps every line of the message log.
class Player {
public:
    explicit Player(const Character& character)
        : m_game([&](CActor& actor) { Create(actor, character); }, true) {}

    CGame& Game() const { return m_game.Game(); }
    CEngine& Engine() const { return m_game.Engine(); }
    CArea& Area() const { return m_game.Area(); }
    std::shared_ptr<CActor> Main() const { return m_game.Main(); }
    const std::vector<std::string>& Log() const { return m_log; }

    bool Carries(const std::string& itemKey) const {
        const auto backpack = Main()->GetBackpack();
        return std::any_of(backpack.begin(), backpack.end(),
                           [&](const auto& item) { return item->GetTemplate().GetKey() == itemKey; });
    }
    bool Said(const std::string& text) const {
        return std::any_of(m_log.begin(), m_log.end(),
                           [&](const std::string& line) { return line.find(text) != std::string::npos; });
    }
    std::vector<std::string> Completed() const {
        std::vector<std::string> quests;
        const std::string prefix = "The party has completed a quest for ";
        for (const auto& line : m_log)
            if (line.rfind(prefix, 0) == 0) {
                const std::size_t open = line.find('(');
                quests.push_back(line.substr(open + 1, line.size() - open - 3));  // without ")."
            }
        return quests;
    }

    void Tick() {
        Engine().RunTick();
        Drain();
    }

    // The party stands and waits until the log shows one of `texts`, at most `ticks`.
    bool WaitFor(const std::vector<std::string>& texts, int ticks) {
        const auto heard = [&] {
            return std::any_of(texts.begin(), texts.end(), [&](const std::string& text) { return Said(text); });
        };
        for (int tick = 0; tick < ticks && !heard(); ++tick) {
            if (m_talk) HearOut();
            Tick();
        }
        return heard();
    }

    std::shared_ptr<CActor> Person(const std::string& templateName) const {
        for (const auto& actor : Area().GetActors())
            if (actor->GetTemplateName() == templateName && actor->IsAlive()) return actor;
        return nullptr;
    }
    CObject* Thing(const std::string& objectName) const {
        for (const auto& object : Area().GetObjects())
            if (object->GetObjectName() == objectName) return object.get();
        return nullptr;
    }

    // The party walks to the cell, the others a step behind the main character; a
    // conversation someone starts on the way stops the walk. False when the main
    // character did not get there.
    bool WalkTo(std::uint32_t column, std::uint32_t row) {
        const double x = column * kCell + kCell / 2;
        const double y = row * kCell + kCell / 2;
        const auto arrived = [&] {
            const double distance = Main()->DistanceToPoint(x, y);
            return distance < kCell / 4 || (distance < kCell && !Main()->GetCurrentOrder());
        };
        Approach(x, y, [&] { return std::make_shared<CMoveOrder>(x, y); }, [&] { return arrived() || m_talk; });
        return arrived();
    }

    // The main character walks up to the person (or, for a placed object, uses
    // it) unless that partner has already begun the talk, the conversation opens
    // in its first state, and the replies are chosen by their texts in turn.
    // Returns the replies left on offer.
    std::vector<std::string> Talk(CThing& partner, const std::vector<std::string>& replies) {
        if (m_talk != partner.GetId()) {
            m_talk.reset();
            const ThingId id = partner.GetId();
            const auto order = (id >> 24) == THING_OBJECT
                                   ? std::shared_ptr<COrder>(std::make_shared<CUseOrder>(USE_OBJECT, id, 0))
                                   : std::make_shared<CMoveTalkOrder>(id);
            const auto* place = dynamic_cast<const CActor*>(&partner);
            const auto* object = dynamic_cast<const CObject*>(&partner);
            Approach(place ? place->GetX() : object->GetX(), place ? place->GetY() : object->GetY(),
                     [&] { return order; }, [&] { return m_talk == partner.GetId(); });
        }
        if (m_talk != partner.GetId()) {
            ADD_FAILURE() << "no conversation with " << Name(partner);
            return {};
        }
        m_talk.reset();
        CActor& talker = *m_talker;
        auto* target = dynamic_cast<CTalkTarget*>(&partner);
        Say(talker, partner, target->GetStartStateName(), "");
        for (const auto& reply : replies) {
            const auto choices = target->GetTalkChoices();
            const auto chosen = std::find_if(choices.begin(), choices.end(),
                                             [&](const auto& choice) { return choice->GetText() == reply; });
            if (chosen == choices.end()) {
                ADD_FAILURE() << Name(partner) << " offers no reply \"" << reply << "\"";
                return {};
            }
            // A reply that leads to no state closes the conversation.
            if ((*chosen)->GetTargetState().empty()) return {};
            Say(talker, partner, (*chosen)->GetTargetState(), reply);
        }
        std::vector<std::string> left;
        for (const auto& choice : target->GetTalkChoices()) left.push_back(choice->GetText());
        return left;
    }

    // A conversation that someone else began, waiting for an answer.
    CThing* TalkPending() const {
        if (!m_talk) return nullptr;
        if (CActor* actor = Area().FindActor(*m_talk)) return actor;
        return Area().FindObject(*m_talk);
    }

    // Every living member fights the hostile actors in sight until none is left,
    // those named in `first` before the others, else the nearest.
    void Fight(const std::vector<std::string>& first = {}) {
        for (int tick = 0; tick < kPatience; ++tick) {
            if (m_talk) HearOut();
            std::vector<std::shared_ptr<CActor>> foes;
            for (const auto& actor : Area().GetActors())
                if (actor->IsAlive() && actor->GetRelation() == RELATION_HOSTILE) foes.push_back(actor);
            if (foes.empty()) return;
            // Badly hurt, the main character drinks a tonic before striking again.
            const auto tonic = Item(*Main(), "river_tonic");
            const auto order = Main()->GetCurrentOrder();
            if (tonic && Main()->GetHitPoints() * 2 < Main()->GetMaxHitPoints() &&
                !(order && order->GetType() == ORDER_USE)) {
                Main()->ClearOrders();
                Main()->PushOrder(std::make_shared<CUseOrder>(USE_ITEM, tonic->GetId(), Main()->GetId()), false);
            }
            for (const auto& member : Game().GetParty()) {
                if (!member->IsAlive() || member->GetArea() != &Area()) continue;
                const auto current = member->GetCurrentOrder();
                if (current && current->GetType() != ORDER_ATTACK) continue;
                // A foe who steps nearer is taken on, but never in the middle of a swing.
                if (current && (tick % kRetargetTicks != 0 || member->GetActionState() == ACTION_WIND_UP ||
                                member->GetActionState() == ACTION_STRIKE))
                    continue;
                const auto rank = [&](const std::shared_ptr<CActor>& foe) {
                    const auto named = std::find(first.begin(), first.end(), foe->GetTemplateName());
                    return std::make_pair(named - first.begin(), member->DistanceTo(*foe));
                };
                const auto chosen = std::min_element(foes.begin(), foes.end(),
                                                     [&](const auto& a, const auto& b) { return rank(a) < rank(b); });
                if (current && current->GetThingId() == (*chosen)->GetId()) continue;
                member->ClearOrders();
                member->PushOrder(std::make_shared<CAttackOrder>((*chosen)->GetId()), false);
            }
            Tick();
            if (!Main()->IsAlive()) return;
        }
        ADD_FAILURE() << "the fight did not end";
    }

    // Opens the container (a pile the dead left, a chest) and takes all it holds;
    // false when it stayed shut.
    bool Loot(CObject& container) {
        const ThingId id = container.GetId();
        const std::size_t said = m_log.size();
        m_opened.reset();
        const auto refused = [&] {
            return std::any_of(m_log.begin() + static_cast<std::ptrdiff_t>(said), m_log.end(),
                               [](const std::string& line) { return line.find("can't unlock") != std::string::npos; });
        };
        Approach(container.GetX(), container.GetY(),
                 [&] { return std::make_shared<CUseOrder>(USE_OBJECT, id, 0); },
                 [&] { return m_opened == id || refused(); });
        if (m_opened != id) return false;
        m_opened.reset();
        for (const auto& item : container.GetItems()) Instant(*Main(), std::make_shared<CGetOrder>(id, item->GetId()));
        return true;
    }
    void LootPiles() {
        for (const auto& object : Area().GetObjects())
            if (object->GetTemplate().GetKey() == "pile" && !object->GetItems().empty()) {
                EXPECT_TRUE(Loot(*object));
            }
    }

    static std::shared_ptr<CItem> Item(const CActor& actor, const std::string& itemKey) {
        for (const auto& item : actor.GetBackpack())
            if (item->GetTemplate().GetKey() == itemKey) return item;
        return nullptr;
    }

    void Give(CActor& giver, const std::string& itemKey) {
        const auto item = Item(giver, itemKey);
        ASSERT_TRUE(item) << giver.GetName() << " has no " << itemKey;
        Instant(giver, std::make_shared<CGiveOrder>(Main()->GetId(), item->GetId()));
    }

    void Unwield(CActor& actor, std::int32_t slot) { Instant(actor, std::make_shared<CUnwieldOrder>(slot)); }

    void Wield(const std::string& itemKey, std::int32_t slot) {
        for (const auto& item : Main()->GetBackpack())
            if (item->GetTemplate().GetKey() == itemKey) {
                Instant(*Main(), std::make_shared<CWieldOrder>(item->GetId(), slot));
                return;
            }
        ADD_FAILURE() << "no " << itemKey << " to wield";
    }

    void Buy(CActor& keeper, const std::string& itemKey) {
        for (const auto& item : keeper.GetStore()->GetTradeItems())
            if (item->GetTemplate().GetKey() == itemKey) {
                Instant(*Main(), std::make_shared<CStoreOrder>(true, keeper.GetId(), item->GetId(), 1,
                                                               kStoreToBackpack));
                return;
            }
        ADD_FAILURE() << keeper.GetName() << " sells no " << itemKey;
    }

    // Walks onto the way out and takes it; from the map the party goes on to the
    // place of that name, which the map must show.
    void Travel(std::uint32_t column, std::uint32_t row, const std::string& mapPlace = "") {
        while (!WalkTo(column, row) && m_talk) HearOut();
        ASSERT_EQ(Game().GetStateCode(), GAME_EXIT_AVAILABLE) << "no way out at " << column << ", " << row;
        ChangeArea(mapPlace);
    }

    // Saved to a file and loaded again, as the game menu does; the story must go on
    // from the loaded game.
    void SaveAndLoad() {
        const QuillmereTest::TempDir dir;
        const CModuleVersionRange expected("Orvex", 5, 0);
        Engine().SaveGame(dir / "walk.drav", expected, nullptr);
        std::string quickActions;
        Engine().LoadGame(dir / "walk.drav", expected, quickActions);
        m_talk.reset();
        m_talker = nullptr;
        m_opened.reset();
    }

    // What the application does when the tick loop stops for an exit or for a
    // script's journey.
    void ChangeArea(const std::string& mapPlace = "") {
        AreaEntryPoint destination;
        ASSERT_TRUE(Engine().GetAvailableExit(destination));
        Engine().LeaveArea();
        if (Game().GetStateCode() == GAME_ON_MAP) {
            const CMap2Area& place = Game().GetCurrentMap()->GetArea(mapPlace);
            ASSERT_TRUE(place.IsKnown()) << mapPlace << " is not on the map yet";
            Engine().SetEntry({place.GetEntryArea(), place.GetEntryName()});
        }
        Engine().EnterArea();
        Drain();
    }

private:
    // Gives the main character its order until `done`, again whenever the order
    // lapses (the way was blocked for the moment); when it makes no headway
    // towards (x, y) for a while, the player walks it round whoever stands in the
    // way, one side and then the other. The others follow a step behind.
    void Approach(double x, double y, const std::function<std::shared_ptr<COrder>()>& order,
                  const std::function<bool()>& done) {
        for (const auto& member : Game().GetParty()) member->ClearOrders();
        double best = Main()->DistanceToPoint(x, y);
        int stalled = 0;
        int detour = 0;
        for (int tick = 0; tick < kPatience && !done(); ++tick) {
            // Someone else who starts a conversation on the way is heard out.
            if (m_talk) {
                HearOut();
                continue;
            }
            if (!Main()->GetCurrentOrder()) Main()->PushOrder(order(), false);
            Follow();
            Tick();
            const double distance = Main()->DistanceToPoint(x, y);
            if (distance < best - kCell / 4) {
                best = distance;
                stalled = 0;
            } else if (++stalled > kStalledTicks) {
                // Round the obstacle: to one side, the other side, then back the way it came.
                const double dx = (x - Main()->GetX()) / std::max(distance, 1.0);
                const double dy = (y - Main()->GetY()) / std::max(distance, 1.0);
                const double aside[3][2] = {{-dy, dx}, {dy, -dx}, {-dx, -dy}};
                const auto& step = aside[detour++ % 3];
                Main()->ClearOrders();
                Main()->PushOrder(std::make_shared<CMoveOrder>(Main()->GetX() + step[0] * 3 * kCell,
                                                               Main()->GetY() + step[1] * 3 * kCell),
                                  false);
                for (int wait = 0; wait < kStalledTicks && Main()->GetCurrentOrder() && !done(); ++wait) Tick();
                Main()->ClearOrders();
                stalled = 0;
                best = Main()->DistanceToPoint(x, y);
            }
        }
    }

    // The conversation someone began is opened and closed without a reply.
    void HearOut() {
        if (CThing* other = TalkPending()) Talk(*other, {});
        m_talk.reset();
    }

    void Follow() {
        for (const auto& member : Game().GetParty()) {
            if (member == Main() || !member->IsAlive() || member->GetCurrentOrder()) continue;
            if (member->DistanceTo(*Main()) > 2 * kCell)
                member->PushOrder(std::make_shared<CMoveOrder>(Main()->GetX(), Main()->GetY()), false);
        }
    }

    static std::string Name(const CThing& thing) {
        const auto* target = dynamic_cast<const CTalkTarget*>(&thing);
        return target ? target->GetName() : "?";
    }

    void Instant(CActor& actor, std::shared_ptr<COrder> order) {
        actor.PushInstantOrder(std::move(order));
        Engine().RunInstantOrders();
        Drain();
    }

    void Say(CActor& talker, CThing& partner, const std::string& state, const std::string& line) {
        Instant(talker, std::make_shared<CTalkOrder>(partner.GetId(), state, line));
    }

    void Drain() {
        std::shared_ptr<CEvent> event;
        while (Game().PopEvent(event)) {
            if (auto* message = dynamic_cast<CMessageEvent*>(event.get())) {
                m_log.push_back(message->GetText());
                EXPECT_EQ(message->GetText().find("Script Error"), std::string::npos) << message->GetText();
            } else if (auto* talk = dynamic_cast<CTalkEvent*>(event.get())) {
                // The talker is the member who speaks for the party.
                m_talk = talk->GetPartner();
                m_talker = Area().FindActor(talk->GetTalker());
            } else if (auto* box = dynamic_cast<CDialogBoxEvent*>(event.get())) {
                m_log.push_back(box->GetTitle() + ": " + box->GetText());
            } else if (auto* opened = dynamic_cast<CInvEvent*>(event.get())) {
                m_opened = opened->GetContainer();
            }
        }
    }

    QuillmereTest::SampleGame m_game;
    std::vector<std::string> m_log;
    std::optional<ThingId> m_talk;
    CActor* m_talker = nullptr;
    std::optional<ThingId> m_opened;
};

const Character kFighter{CLASS_FIGHTER,
                         {ATTR_AGILITY, ATTR_STRENGTH, ATTR_DURABILITY},
                         {SKILL_STAFF, SKILL_LIGHT_ARMOR, SKILL_HEAVY_ARMOR}};
const Character kTalker{CLASS_ROGUE,
                        {ATTR_PERSONALITY, ATTR_AGILITY, ATTR_DURABILITY},
                        {SKILL_DIPLOMACY, SKILL_LOCKS, SKILL_STAFF}};

const std::vector<std::string> kStoryOrder{"The Missing Boatwright", "Home to the Slip", "Smoke in the Reeds",
                                           "Passage Across"};
constexpr std::uint32_t kStoryExperience = 300 + 150 + 450 + 50;

// The landing, as every road begins: a pole from the ferryman, the boatwright's
// story from the innkeeper, the goblins on the lane, a pie from the trader and
// the keeper's fare.
void Landing(Player& player, bool trainedHand) {
    // A pole from the ferryman on the ferry, a look at the crate by the boathouse,
    // then the goblins on the lane, whom the landing's folk fight off too.
    player.Talk(*player.Person("dock_ferryman"), {"We have nothing to fight them with."});
    player.Wield("ferrymans_pole", SLOT_WEAPON);
    // The smugglers' crate by the boathouse has a lock only a trained hand picks.
    CObject* crate = player.Thing("reed_crate");
    ASSERT_TRUE(crate);
    EXPECT_EQ(player.Loot(*crate), trainedHand);
    EXPECT_TRUE(player.Said(trainedHand ? "Wren picks the lock on Smugglers' Crate"
                                        : "Wren can't unlock Smugglers' Crate"));
    EXPECT_EQ(player.Carries("smugglers_flare"), trainedHand);

    player.Fight();
    ASSERT_TRUE(player.Main()->IsAlive());
    player.LootPiles();
    ASSERT_EQ(player.Game().GetGold(), 20) << "the goblins' purses";

    player.Talk(*player.Person("innkeeper"), {"What news on the river?", "We will look for him."});
    EXPECT_TRUE(player.Game().IsQuestTagSet("boatwright_asked"));
    auto& tansy = *player.Person("landing_trader");
    player.Talk(tansy, {"Let me see your goods."});
    player.Buy(tansy, "eel_pie");
    EXPECT_EQ(player.Game().GetGold(), 17);

    // The ferry waits for the boatwright.
    player.Talk(*player.Person("ferry_keeper"), {"Here is the fare."});
    EXPECT_TRUE(player.Said("only he can caulk it"));
    EXPECT_EQ(player.Game().GetGold(), 17);
}

// From the skiff back to the landing by the smugglers' trail, the boatwright
// home, the smugglers reported, and the crossing that ends the chapter.
void HomeAndAcross(Player& player) {
    auto& orrin = *player.Person("boatwright");
    player.Talk(orrin, {"Cut the ropes and pull the gag out.", "Come with us, then."});
    EXPECT_TRUE(orrin.IsPartyMember());

    player.Travel(19, 3);
    ASSERT_EQ(player.Area().GetName(), "reedwater_landing");
    EXPECT_LT(player.Main()->DistanceToPoint(7 * kCell + kCell / 2, 5 * kCell + kCell / 2), 2 * kCell)
        << "at the trail's end";
    // The lookout the smugglers posted at the trail head once they knew they were seen.
    EXPECT_TRUE(player.Person("smuggler_lookout"));
    player.Fight();
    ASSERT_TRUE(player.Main()->IsAlive());
    player.Talk(orrin, {"You are home, Orrin. Go and rest."});
    EXPECT_FALSE(orrin.IsPartyMember());
    EXPECT_EQ(orrin.GetArea(), &player.Area());

    // Home, he calls for his tools, or Hollis stands the landing a round: the
    // heartbeat chatter of whichever of them stands nearest the party.
    player.Talk(orrin, {});
    EXPECT_TRUE(player.WaitFor({"Orrin the Boatwright : Where's my caulking iron?",
                                "Hollis the Innkeeper : The boatwright is home! Drinks on the house tonight!"},
                               9000));

    auto& hesk = *player.Person("ferry_keeper");
    player.Talk(hesk, {"We saw lanterns in the reeds. Smugglers, and they keep a hide.", "About the ferry...",
                       "Here is the fare."});
    EXPECT_EQ(player.Game().GetGold(), 12);
}

void ExpectTheEnd(const Player& player, std::uint32_t experienceBefore) {
    EXPECT_EQ(player.Completed(), kStoryOrder);
    EXPECT_EQ(player.Main()->GetExperience(), experienceBefore + kStoryExperience);
    EXPECT_EQ(player.Game().GetStateCode(), GAME_WON);
    EXPECT_NE(player.Game().GetClosingText().find("Wren"), std::string::npos) << player.Game().GetClosingText();
    for (const auto& [name, quest] : player.Engine().GetModule()->GetQuests())
        EXPECT_TRUE(player.Game().IsQuestTagSet(name)) << name;
    // Marra is still with the party; the boatwright stayed at his slip.
    const auto& party = player.Game().GetParty();
    EXPECT_TRUE(std::any_of(party.begin(), party.end(),
                            [](const auto& member) { return member->GetTemplateName() == "reed_witch"; }));
    EXPECT_EQ(party.size(), 2u);
    // Hollis, who keeps every rumour on the river, is in the journal of people.
    EXPECT_EQ(player.Game().GetPeopleJournal().count("hollis"), 1u);
    EXPECT_EQ(player.Game().GetRevealedLocations().count("smugglers_hide"), 1u);
}

TEST(Walkthrough, TheFighterGoesInWithAPole) {
    DRAVCommon::GetRandomEngine().seed(5);
    Player player(kFighter);
    const std::uint32_t experience = player.Main()->GetExperience();
    Landing(player, false);
    ASSERT_FALSE(::testing::Test::HasFatalFailure());
    player.Travel(2, 9);
    ASSERT_EQ(player.Area().GetName(), "reed_marsh");
    auto& marra = *player.Person("reed_witch");
    player.Talk(marra, {"We are looking for Orrin the boatwright.", "Will you come with us?"});
    EXPECT_EQ(player.Game().GetParty().size(), 2u);
    // The fighter goes in wearing the witch's mail shirt, her tonics in the pack.
    player.Unwield(marra, SLOT_ARMOR);
    player.Give(marra, "chain_shirt");
    player.Give(marra, "river_tonic");
    player.Wield("chain_shirt", SLOT_ARMOR);
    EXPECT_TRUE(player.Carries("river_tonic"));
    ASSERT_TRUE(player.Main()->GetEquipped(SLOT_ARMOR));

    // Over the bridge, through the reeds where the lanterns show.
    player.WalkTo(13, 3);
    EXPECT_TRUE(player.Game().IsQuestTagSet("smugglers_seen"));
    player.WalkTo(18, 3);
    CThing* lookout = player.TalkPending();
    ASSERT_TRUE(lookout) << "the lookouts stop the party";
    player.Talk(*lookout, {"Let the boatwright go, or we come through you."});
    // The knife man who comes out with the captain is the one to stop first.
    player.Fight({"reed_smuggler"});
    ASSERT_TRUE(player.Main()->IsAlive());
    EXPECT_TRUE(player.Said("has killed Captain Marrow"));
    EXPECT_TRUE(player.Game().IsQuestTagSet("smugglers_routed"));

    HomeAndAcross(player);
    ExpectTheEnd(player, experience);
}

TEST(Walkthrough, TheTalkerBluffsPastTheLookouts) {
    DRAVCommon::GetRandomEngine().seed(5);
    Player player(kTalker);
    const std::uint32_t experience = player.Main()->GetExperience();
    Landing(player, true);
    ASSERT_FALSE(::testing::Test::HasFatalFailure());

    player.Travel(2, 9);
    auto& marra = *player.Person("reed_witch");
    player.Talk(marra, {"We are looking for Orrin the boatwright.", "Will you come with us?"});
    // Round by the back channels to the hide, which the map now shows.
    player.Talk(marra, {"Take us round to the hide in your punt."});
    ASSERT_EQ(player.Game().GetStateCode(), GAME_TRAVEL);
    player.ChangeArea("smugglers_hide");
    ASSERT_EQ(player.Area().GetName(), "reed_marsh");

    player.WalkTo(18, 4);
    CThing* lookout = player.TalkPending();
    ASSERT_TRUE(lookout) << "the lookouts stop the party";
    player.Talk(*lookout, {"Marrow sent for us. We carry his cargo tonight."});
    EXPECT_TRUE(player.Said("Go on, then"));
    EXPECT_FALSE(player.Said("Lads!"));
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
