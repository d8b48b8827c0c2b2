#pragma once
// A player of the sample chapter at the keyboard, headless: a character made as
// the creation wizard makes it, then only the orders the interface gives (move,
// talk with a chosen reply, attack, use, get, give, wield, buy, travel, save and
// load), never a tag, a spawned actor or a state set by hand. The walkthrough and
// the story's order tests play through it.

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <functional>
#include <iterator>
#include <optional>
#include <set>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "rules/magic/spell.h"
#include "rules/vocabulary/skill_id.h"
#include "support/sample_game.h"
#include "support/temp_dir.h"
#include "world/events/event.h"
#include "world/object.h"
#include "world/store.h"
#include "world/tile.h"

namespace QuillmereTest {

using namespace DRAV;

constexpr double kCell = 2.5;
// Longer than any walk, fight or talk of the chapter takes.
constexpr int kPatience = 6000;
// A character that has come no nearer for this long is held up.
constexpr int kStalledTicks = 90;
// How often a fighter looks round for a nearer foe.
constexpr int kRetargetTicks = 30;
// So many words in a row said on the way and given again by an end page are the
// same line told twice; fewer may be a place's name ("the old mill below the weir").
constexpr std::size_t kEchoedWords = 7;

struct Character {
    ActorClass actorClass;
    std::vector<Attribute> raises;  // raised in turn while any raise is affordable
    std::vector<SkillId> skills;
    // Spells the main character casts at a foe, as from the action bar, the first
    // she has the energy for; without any she fights with what she wields.
    std::vector<std::string> spells = {};
};

// What the creation wizard's pages write into the new actor.
inline void Create(CActor& actor, const Character& character) {
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
    // The welcome at the dock is heard at once.
    explicit Player(const Character& character)
        : m_game([&](CActor& actor) { Create(actor, character); }, true), m_spells(character.spells) {
        Drain();
    }
    // A player of a game begun elsewhere: a new game of another chapter, or a hero
    // carried into the next one; she casts `spells` as a character's.
    Player(SampleGame game, std::vector<std::string> spells) : m_game(std::move(game)), m_spells(std::move(spells)) {
        Drain();
    }

    const SampleGame& Sample() const { return m_game; }

    CGame& Game() const { return m_game.Game(); }
    // Those who began a conversation with the party while a foe was about.
    const std::vector<std::string>& TalksAmidFoes() const { return m_talksAmidFoes; }
    CEngine& Engine() const { return m_game.Engine(); }
    CArea& Area() const { return m_game.Area(); }
    std::shared_ptr<CActor> Main() const { return m_game.Main(); }
    // Whom the player walks and speaks with: the main character, or while she lies
    // fallen, the first member still standing, as the player selects one.
    std::shared_ptr<CActor> Leader() const {
        if (Main()->IsAlive()) return Main();
        for (const auto& member : Game().GetParty())
            if (member->IsAlive()) return member;
        return Main();
    }
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
    // The first line said of which `text` gives again `count` words in a row, whatever
    // their case and stops; empty when `text` says its own thing.
    std::string Echoed(const std::string& text, std::size_t count) const {
        const auto words = [](const std::string& from) {
            std::string plain;
            for (const char c : from) {
                const auto letter = static_cast<unsigned char>(c);
                plain += std::isalnum(letter) || c == '\'' ? static_cast<char>(std::tolower(letter)) : ' ';
            }
            std::istringstream in(plain);
            return std::vector<std::string>(std::istream_iterator<std::string>(in), {});
        };
        const std::vector<std::string> shown = words(text);
        for (const auto& line : m_log) {
            const std::vector<std::string> said = words(line);
            for (std::size_t first = 0; first + count <= said.size(); ++first) {
                const auto run = said.begin() + first;
                if (std::search(shown.begin(), shown.end(), run, run + count) != shown.end()) return line;
            }
        }
        return {};
    }
    // The main character killed `name`, with a weapon or with a spell.
    bool Killed(const std::string& name) const {
        const std::string who = Main()->GetName();
        return std::any_of(m_log.begin(), m_log.end(), [&](const std::string& line) {
            return line == who + " has killed " + name + "." ||
                   (line.rfind(who + " (", 0) == 0 && line.find(") has killed " + name + ".") != std::string::npos);
        });
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
    // conversation someone starts on the way stops the walk, and so does whatever
    // `stop` sees. False when the main character did not get there.
    bool WalkTo(std::uint32_t column, std::uint32_t row, const std::function<bool()>& stop = {}) {
        const double x = column * kCell + kCell / 2;
        const double y = row * kCell + kCell / 2;
        const auto arrived = [&] {
            const double distance = Leader()->DistanceToPoint(x, y);
            return distance < kCell / 4 || (distance < kCell && !Leader()->GetCurrentOrder());
        };
        Approach(x, y, [&] { return std::make_shared<CMoveOrder>(x, y); },
                 [&] { return arrived() || m_talk || (stop && stop()); });
        return arrived();
    }
    // The member is sent alone to the point, as a click on the ground sends whoever
    // is selected; the others keep still.
    void Send(CActor& member, double x, double y) {
        member.ClearOrders();
        member.PushOrder(std::make_shared<CMoveOrder>(x, y), false);
    }

    // The party waits while the world goes on until `done` holds, at most `ticks`;
    // whatever conversation someone begins meanwhile is heard out.
    bool TickUntil(const std::function<bool()>& done, int ticks) {
        for (int tick = 0; tick < ticks && !done(); ++tick) {
            if (m_talk) HearOut();
            Tick();
        }
        return done();
    }

    // Some foe stands in the area.
    bool FoeInSight() const {
        return std::any_of(Area().GetActors().begin(), Area().GetActors().end(), [](const auto& actor) {
            return actor->IsAlive() && actor->GetRelation() == RELATION_HOSTILE;
        });
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
            ADD_FAILURE() << "no conversation with " << Name(partner) << " from " << Leader()->GetX() << ", "
                          << Leader()->GetY();
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
    // those named in `first` before the others, else the nearest. Who comes out
    // where the last foe fell turns on the party standing near its post a tick
    // later, so the fight is over only once a tick has passed without a foe.
    void Fight(const std::vector<std::string>& first = {}) {
        bool calm = false;
        for (int tick = 0; tick < kPatience; ++tick) {
            if (m_talk) HearOut();
            std::vector<std::shared_ptr<CActor>> foes;
            for (const auto& actor : Area().GetActors())
                if (actor->IsAlive() && actor->GetRelation() == RELATION_HOSTILE) foes.push_back(actor);
            if (foes.empty()) {
                if (calm) return;
                calm = true;
                Tick();
                continue;
            }
            calm = false;
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
                const CSpell* spell = member == Main() ? SpellToCast() : nullptr;
                if (spell)
                    member->PushOrder(std::make_shared<CCastOrder>(spell->GetKey(), (*chosen)->GetId()), false);
                else
                    member->PushOrder(std::make_shared<CAttackOrder>((*chosen)->GetId()), false);
            }
            Tick();
            if (!Main()->IsAlive()) return;
        }
        ADD_FAILURE() << "the fight did not end";
    }

    // Every living member strikes at the person, whatever it is to the party, as F1
    // and a click on it order, and again whenever that order lapses, until it falls;
    // false when it still stands (or the main character fell first).
    bool Kill(const std::shared_ptr<CActor>& person) {
        for (int tick = 0; tick < kPatience && person->IsAlive() && Main()->IsAlive(); ++tick) {
            if (m_talk) HearOut();
            for (const auto& member : Game().GetParty()) {
                if (!member->IsAlive() || member->GetArea() != &Area()) continue;
                const auto current = member->GetCurrentOrder();
                if (current && current->GetType() == ORDER_ATTACK && current->GetThingId() == person->GetId()) continue;
                member->ClearOrders();
                member->PushOrder(std::make_shared<CAttackOrder>(person->GetId()), false);
            }
            Tick();
        }
        return !person->IsAlive();
    }

    // The main character goes to the door at the cell and opens it, as a click on
    // it orders; true when it stands open.
    bool OpenDoor(std::uint32_t column, std::uint32_t row) {
        const CTile* tile = Area().GetTile(column, row);
        if (!tile || !tile->IsDoor()) return false;
        const ThingId id = tile->GetId();
        const std::size_t said = m_log.size();
        // A locked door says so and goes on standing shut.
        const auto refused = [&] { return m_log.size() > said; };
        Approach(column * kCell + kCell / 2, row * kCell + kCell / 2,
                 [&] { return std::make_shared<CUseOrder>(USE_TILE, id, 0); },
                 [&] { return tile->GetDoor()->IsOpen() || (refused() && !Main()->GetCurrentOrder()); });
        return tile->GetDoor()->IsOpen();
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
        for (const auto& object : ObjectList(Area().GetObjects()))
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

    void Sell(CActor& keeper, const std::string& itemKey) {
        const auto item = Item(*Main(), itemKey);
        ASSERT_TRUE(item) << "no " << itemKey << " to sell";
        Instant(*Main(), std::make_shared<CStoreOrder>(false, keeper.GetId(), item->GetId(), 1, kStoreToBackpack));
    }

    // Walks onto the way out and takes it, as the exit button does; a way out to a
    // travel map goes on to the place of that name on it (TravelTo).
    void Travel(std::uint32_t column, std::uint32_t row, const std::string& mapPlace = "") {
        while (!WalkTo(column, row) && m_talk) HearOut();
        // The others, a few steps behind, catch up before the way out is offered.
        for (int tick = 0; tick < kStalledTicks && Game().GetStateCode() != GAME_EXIT_AVAILABLE; ++tick) {
            Follow();
            Tick();
        }
        ASSERT_EQ(Game().GetStateCode(), GAME_EXIT_AVAILABLE) << "no way out at " << column << ", " << row << ":" << PartyPlaces();
        AreaEntryPoint destination;
        ASSERT_TRUE(Engine().GetAvailableExit(destination));
        if (mapPlace.empty())
            ChangeArea();
        else
            TravelTo(mapPlace);
    }

    // Where each member stands, for a message.
    std::string PartyPlaces() const {
        std::ostringstream text;
        for (const auto& member : Game().GetParty())
            text << " " << member->GetName() << " (" << member->GetX() << ", " << member->GetY() << ")";
        return text.str();
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

    // The travel map of the journey the game waits on, a way out's or a script's;
    // null for a journey straight into an area.
    CMap2* JourneyMap() { return Engine().CheckDestination(); }

    // What the shell does when the tick loop stops for a way out or a script's
    // journey into an area: the party leaves, rests when it must, and arrives.
    void ChangeArea() {
        ASSERT_EQ(JourneyMap(), nullptr) << "the journey goes by a travel map: TravelTo a place on it";
        Engine().LeaveArea();
        if (Game().GetStateCode() == GAME_RESTING) Engine().RestParty();
        Engine().EnterArea();
        Drain();
    }

    // The place of that name chosen on the journey's travel map, as a click on it
    // does; the shell goes nowhere for a place unknown or where the party stands.
    void TravelTo(const std::string& mapPlace) {
        CMap2* map = JourneyMap();
        ASSERT_NE(map, nullptr) << "no travel map to choose " << mapPlace << " on";
        ASSERT_NE(Game().GetCurrentArea(), nullptr) << "the map is chosen on before the party leaves";
        const CMap2Area& place = map->GetArea(mapPlace);
        ASSERT_TRUE(place.IsKnown()) << mapPlace << " is not on the map yet";
        ASSERT_NE(mapPlace, Area().GetWorldMapLocation()) << "the party is there already";
        Engine().LeaveArea();
        ASSERT_EQ(Game().GetStateCode(), GAME_ON_MAP);
        Engine().SetEntry({place.GetEntryArea(), place.GetEntryName()});
        Engine().EnterArea();
        Drain();
    }

    // The travel map closed without a choice, as its Cancel does.
    void CancelJourney() {
        ASSERT_NE(JourneyMap(), nullptr) << "no travel map to cancel";
        Engine().CancelTravel();
    }

private:
    // Gives the main character its order until `done`, again whenever the order
    // lapses (the way was blocked for the moment); when it makes no headway
    // towards (x, y) for a while, the player walks it round whoever stands in the
    // way, one side and then the other. The others follow a step behind.
    void Approach(double x, double y, const std::function<std::shared_ptr<COrder>()>& order,
                  const std::function<bool()>& done) {
        for (const auto& member : Game().GetParty()) member->ClearOrders();
        const std::shared_ptr<CActor> leader = Leader();
        double best = leader->DistanceToPoint(x, y);
        int stalled = 0;
        int detour = 0;
        for (int tick = 0; tick < kPatience && !done(); ++tick) {
            // Someone else who starts a conversation on the way is heard out.
            if (m_talk) {
                HearOut();
                continue;
            }
            if (!leader->GetCurrentOrder()) leader->PushOrder(order(), false);
            Follow();
            Tick();
            const double distance = leader->DistanceToPoint(x, y);
            if (distance < best - kCell / 4) {
                best = distance;
                stalled = 0;
            } else if (++stalled > kStalledTicks) {
                // Round the obstacle: to one side, the other side, then back the way it came;
                // the others, who may be the obstacle, go on ahead towards the goal.
                for (const auto& member : Game().GetParty())
                    if (member != leader && member->IsAlive()) {
                        member->ClearOrders();
                        member->PushOrder(std::make_shared<CMoveOrder>(x, y), false);
                    }
                const double dx = (x - leader->GetX()) / std::max(distance, 1.0);
                const double dy = (y - leader->GetY()) / std::max(distance, 1.0);
                const double aside[3][2] = {{-dy, dx}, {dy, -dx}, {-dx, -dy}};
                const auto& step = aside[detour++ % 3];
                leader->ClearOrders();
                leader->PushOrder(std::make_shared<CMoveOrder>(leader->GetX() + step[0] * 3 * kCell,
                                                               leader->GetY() + step[1] * 3 * kCell),
                                  false);
                for (int wait = 0; wait < kStalledTicks && leader->GetCurrentOrder() && !done(); ++wait) Tick();
                leader->ClearOrders();
                stalled = 0;
                best = leader->DistanceToPoint(x, y);
            }
        }
    }

    // The first of the character's spells that the main character knows and has
    // the energy for; null when none is.
    const CSpell* SpellToCast() const {
        const auto known = Main()->GetSpells();
        for (const std::string& key : m_spells)
            for (const CSpell* spell : known)
                if (spell->GetKey() == key && Main()->GetEnergy() >= spell->GetEnergyCost()) return spell;
        return nullptr;
    }

    // The conversation someone began is opened and closed without a reply.
    void HearOut() {
        if (CThing* other = TalkPending()) Talk(*other, {});
        m_talk.reset();
    }

    void Follow() {
        const std::shared_ptr<CActor> leader = Leader();
        for (const auto& member : Game().GetParty()) {
            if (member == leader || !member->IsAlive() || member->GetCurrentOrder()) continue;
            if (member->DistanceTo(*leader) > 2 * kCell)
                member->PushOrder(std::make_shared<CMoveOrder>(leader->GetX(), leader->GetY()), false);
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
                if (FoeInSight())
                    if (const CActor* partner = Area().FindActor(talk->GetPartner()))
                        m_talksAmidFoes.push_back(partner->GetName());
            } else if (auto* box = dynamic_cast<CDialogBoxEvent*>(event.get())) {
                m_log.push_back(box->GetTitle() + ": " + box->GetText());
                // Read as the window shows it: a box every time, a tutorial page once.
                if (box->GetCode() == EVENT_DIALOG_BOX || m_read.insert(box->GetTitle()).second)
                    Engine().HoldFoesBackForPage();
            } else if (auto* opened = dynamic_cast<CInvEvent*>(event.get())) {
                m_opened = opened->GetContainer();
            }
        }
    }

    QuillmereTest::SampleGame m_game;
    std::vector<std::string> m_spells;
    std::vector<std::string> m_log;
    std::vector<std::string> m_talksAmidFoes;
    std::set<std::string> m_read;
    std::optional<ThingId> m_talk;
    CActor* m_talker = nullptr;
    std::optional<ThingId> m_opened;
};

}  // namespace QuillmereTest
