#pragma once
// Two fixed crowds for the engine tick, shared by the tick benchmark and by the test
// that keeps their outcome from changing:
//   WalkingCrowd: a party of 6 and 50 sneaking neutral monsters on an open 100 x 100
//   area; whoever has no order is sent to a random cell (with `monstersWalk` false
//   the monsters stand).
//   FightingCrowd: the party fighting 50 goblins, half with cleavers and half with
//   bows, on an open 60 x 60 area; the party is healed before every tick and a
//   fallen goblin is replaced at once, so 56 actors fight throughout.
//   MixedCrowd: N actors on an open area sized for them, as dense as the walking
//   crowd: the party and half the rest walking as there, the other half fighting in
//   pairs, a friendly guard against a goblin, each goblin that falls replaced
//   beside its guard; the party and the guards are healed before every tick.
//   GapCrowd: the walking crowd on the north half of a 100 x 100 area cut across by
//   a wall with one gap two cells wide, beside walkers who go to and fro through
//   the gap, from one side to the other; without the wall, the same walks that
//   nobody holds up.
// The actors besides the main character are made from definitions written here and
// both generators are seeded, so a change to the sample chapter's
// monsters does not move these crowds. Check() answers what is wrong with the
// crowd right now (empty when nothing), so that a benchmark cannot silently go on
// measuring an empty or a different scene.

#include <cmath>
#include <cstdint>
#include <cstring>
#include <iomanip>
#include <map>
#include <memory>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "common/data_file_reader.h"
#include "common/random.h"
#include "support/sample_game.h"
#include "world/order.h"

namespace QuillmereTest {

inline constexpr int kCrowdParty = 6;
inline constexpr int kCrowdMonsters = 50;

// The crowds' own people. The walkers' proximity trigger (range 1.0) can never be
// reached, as two actors of radius 1.2 never stand that close, so they stay
// neutral while the AI pass tests them every tick.
inline constexpr const char* kCrowdDefinitions = R"(<monsters>
 <monster2>
  crowd_companion
  <name> "Boatman" "a boatman" ( 40 90 160 ) 0 </name>
  <graphic> m_ferryman </graphic>
  <type> male human 1.2 1.8 </type>
  <level> 3 fighter 2 </level>
  <stats> 200 14 12 14 10 11 </stats>
  <monsterstats> 40 5 10 0 ( 100 100 ) </monsterstats>
  <attack> "Pole strike" 3 ( 6 1 ) blunt </attack>
  <brain> friendly false 0 <tags> </tags> <tags> </tags>
   <ai> stand </ai> <ai> charge </ai>
  </brain>
 </monster2>
 <monster2>
  crowd_guard
  <inherit> crowd_companion </inherit>
  <name> "Reed Guard" "a reed guard" ( 60 120 160 ) 0 </name>
  <brain> friendly false 0 <tags> </tags> <tags> </tags>
   <ai> stand </ai> <ai> charge </ai>
  </brain>
 </monster2>
 <monster2>
  crowd_walker
  <name> "Reed Walker" "a reed walker" ( 90 100 60 ) 0 </name>
  <graphic> m_smuggler </graphic>
  <type> male human 1.2 1.8 </type>
  <level> 1 rogue 2 </level>
  <stats> 16 11 15 11 10 9 </stats>
  <monsterstats> 35 0 5 0 ( 110 120 ) </monsterstats>
  <attack> "Knife" 2 ( 4 1 ) ( sharp 1 ) critical </attack>
  <skills> light_blade sneak </skills>
  <brain> neutral true 1.0 <tags> </tags> <tags> </tags>
   <ai> stand sneak </ai> <ai> charge </ai>
  </brain>
  sneak
 </monster2>
 <monster2>
  crowd_brawler
  <name> "Cleaver Goblin" "a goblin" ( 120 140 60 ) 0 </name>
  <graphic> m_smuggler </graphic>
  <type> male human 1.2 1.3 </type>
  <level> 0 monster 1 </level>
  <stats> 11 12 10 8 9 6 </stats>
  <monsterstats> 20 0 0 0 ( 10 10 ) </monsterstats>
  <attack> "Cleaver" 0 ( 4 0 ) ( sharp 0 ) </attack>
  <brain> hostile false 0 <tags> </tags> <tags> </tags>
   <ai> stand </ai> <ai> charge </ai>
  </brain>
  nosurrender
 </monster2>
 <monster2>
  crowd_archer
  <inherit> crowd_brawler </inherit>
  <name> "Bow Goblin" "a goblin archer" ( 100 150 90 ) 0 </name>
  <skills> bow </skills>
  <items> reed_bow </items>
  <brain> hostile false 0 <tags> </tags> <tags> </tags>
   <ai> stand </ai> <ai> shoot </ai>
  </brain>
  nosurrender
 </monster2>
</monsters>)";

// A sample game with the crowd definitions read into its module and both random
// generators (the engine's and `random`) seeded.
inline SampleGame StartCrowdGame(std::mt19937& random, unsigned seed) {
    DRAVCommon::GetRandomEngine().seed(seed);
    random.seed(seed);
    SampleGame game = StartSampleGame();
    DRAVCommon::CDataFileReader reader(std::make_shared<std::istringstream>(kCrowdDefinitions), "crowd.drav");
    game.Engine().GetModule()->ParseMonsters(reader);
    return game;
}

// The party: the main character (at the companions' speed and hit points, whatever
// the chapter makes of it) and five companions along the entry row.
inline void AddCrowdParty(const SampleGame& game, DRAV::CArea& area) {
    game.Main()->SetBaseMovementSpeed(100);
    game.Main()->SetMaxHitPoints(200);
    for (int i = 1; i < kCrowdParty; ++i) {
        std::shared_ptr<DRAV::CActor> companion;
        game.Module().CreateActor(companion, &game.Game(), "crowd_companion", "", 0);
        game.Game().AddPartyMember(companion);
        area.PlaceActor(2 + i, 2, false, companion);
    }
}

// A 64-bit FNV-1a hash of where every actor of the current area stands (in area
// order, with its id) and of the party's seen and explored cells: equal hashes mean
// the same run.
inline std::uint64_t CrowdHash(const SampleGame& game) {
    std::uint64_t hash = 14695981039346656037ull;
    const auto add = [&hash](const void* data, std::size_t size) {
        const auto* bytes = static_cast<const unsigned char*>(data);
        for (std::size_t i = 0; i < size; ++i) hash = (hash ^ bytes[i]) * 1099511628211ull;
    };
    DRAV::CArea& area = game.Area();
    for (const auto& actor : area.GetActors()) {
        const DRAV::ThingId id = actor->GetId();
        const double x = actor->GetX();
        const double y = actor->GetY();
        add(&id, sizeof id);
        add(&x, sizeof x);
        add(&y, sizeof y);
    }
    for (const DRAV::CCellBits* grid : {&area.GetSeenCells(), &area.GetExploredCells()})
        add(grid->words.data(), grid->words.size() * sizeof(std::uint32_t));
    return hash;
}

inline std::string HashText(std::uint64_t hash) {
    std::ostringstream text;
    text << "0x" << std::hex << std::setw(16) << std::setfill('0') << hash;
    return text.str();
}

// What is wrong with a walking crowd in `area`: not `expected` actors there, one
// dead or no longer neutral, or one not walking of the party, or of everyone while
// `monstersWalk`.
inline std::string WalkingFault(const DRAV::CArea& area, std::size_t expected, bool monstersWalk) {
    const DRAV::ActorList& actors = area.GetActors();
    if (actors.size() != expected)
        return std::to_string(actors.size()) + " actors in the area, not " + std::to_string(expected);
    for (const auto& actor : actors) {
        if (!actor->IsAlive()) return actor->GetName() + " is dead";
        if (!actor->IsPartyMember() && actor->GetRelation() != DRAV::RELATION_NEUTRAL)
            return actor->GetName() + " is no longer neutral";
        const auto& order = actor->GetCurrentOrder();
        if ((monstersWalk || actor->IsPartyMember()) && (!order || order->GetType() != DRAV::ORDER_MOVE))
            return actor->GetName() + " is not walking";
    }
    return {};
}

// One step of `crowd`: whoever has no order is given one, the crowd checked, one
// tick run and its events dropped; what was wrong before the tick, as Check().
template <typename Crowd>
std::string StepCrowd(Crowd& crowd) {
    crowd.GiveOrders();
    std::string wrong = crowd.Check();
    crowd.Game().Tick();
    crowd.Game().DrainEvents();
    return wrong;
}

class WalkingCrowd {
public:
    static constexpr int kSize = 100;
    // Radius, two cells and a step: the farthest a walk can end from its goal.
    static constexpr double kArrivedWithin = 8.0;

    explicit WalkingCrowd(bool monstersWalk)
        : m_game(StartCrowdGame(m_random, 7)), m_area(&m_game.EnterOpenArea(kSize, kSize)),
          m_monstersWalk(monstersWalk) {
        AddCrowdParty(m_game, *m_area);
        std::uniform_int_distribution<int> cell(1, kSize - 2);
        for (int i = 0; i < kCrowdMonsters; ++i) {
            const int column = cell(m_random);
            const int row = cell(m_random);
            m_game.Spawn("crowd_walker", column, row);
        }
        m_game.Game().UpdatePartyVisibility();
        // The area's path search is built once, on first use after entering; it is not a tick's cost.
        m_area->GetWaypointCalculator();
    }

    const SampleGame& Game() const { return m_game; }
    DRAV::CArea& Area() const { return *m_area; }

    // Sends whoever has no order to a random cell (only the party while the
    // monsters stand).
    void GiveOrders() {
        std::uniform_int_distribution<int> cell(1, kSize - 2);
        for (const auto& actor : m_area->GetActors()) {
            if (actor->GetCurrentOrder() || (!m_monstersWalk && !actor->IsPartyMember())) continue;
            Goal& goal = m_goals[actor->GetId()];
            // An order ends when its walker arrives, or stops short of a goal another
            // actor stands on; ended anywhere else, something took it away.
            if (goal.given && actor->DistanceToPoint(goal.x, goal.y) > kArrivedWithin && m_fault.empty())
                m_fault = actor->GetName() + " lost its order away from its goal";
            goal = {cell(m_random) * 2.5 + 1.25, cell(m_random) * 2.5 + 1.25, true};
            actor->PushOrder(std::make_shared<DRAV::CMoveOrder>(goal.x, goal.y), false);
        }
    }

    // Orders, one tick, the events dropped; what is wrong, as Check().
    std::string Step() { return StepCrowd(*this); }

    // What is wrong with the crowd, asked after GiveOrders: all 56 present and
    // alive, the monsters still neutral, every walker on its way and no order lost.
    std::string Check() const {
        if (!m_fault.empty()) return m_fault;
        return WalkingFault(*m_area, kCrowdParty + kCrowdMonsters, m_monstersWalk);
    }

private:
    std::mt19937 m_random;
    SampleGame m_game;
    DRAV::CArea* m_area;
    bool m_monstersWalk;
    struct Goal {
        double x = 0.0;
        double y = 0.0;
        bool given = false;
    };
    std::map<DRAV::ThingId, Goal> m_goals;
    std::string m_fault;
};

class GapCrowd {
public:
    static constexpr int kSize = 100;
    static constexpr int kWallRow = 50;
    // The gap's west column; the one east of it is open too.
    static constexpr int kGapColumn = 49;
    // Crossers walk between bands of rows this deep on either side, as wide as this
    // round the gap: near enough that the path search leads them through it.
    static constexpr int kBand = 16;
    static constexpr int kBandHalfWidth = 20;

    GapCrowd(int crossers, bool walled)
        : m_game(StartCrowdGame(m_random, 13)), m_area(&m_game.EnterDrawnArea(Lines(walled))), m_crossers(crossers) {
        AddCrowdParty(m_game, *m_area);
        std::uniform_int_distribution<int> column(1, kSize - 2);
        std::uniform_int_distribution<int> row(1, kWallRow - 3);
        for (int i = 0; i < kCrowdMonsters; ++i) m_game.Spawn("crowd_walker", column(m_random), row(m_random));
        for (int i = 0; i < crossers; ++i) {
            const Goal start = BandCell(i % 2 == 0);
            if (auto crosser = m_game.Spawn("crowd_walker", static_cast<std::uint32_t>(start.x / 2.5),
                                            static_cast<std::uint32_t>(start.y / 2.5)))
                m_goals[crosser->GetId()].crosser = true;
        }
        m_game.Game().UpdatePartyVisibility();
        m_area->GetWaypointCalculator();
    }

    const SampleGame& Game() const { return m_game; }
    DRAV::CArea& Area() const { return *m_area; }
    // Crossers that reached the other side, how many of them did so at least
    // once, and walks that ended away from their goal.
    int Crossings() const { return m_crossings; }
    int CrossersThatCrossed() const {
        int crossed = 0;
        for (const auto& [id, goal] : m_goals) crossed += goal.crossings > 0;
        return crossed;
    }
    int GaveUp() const { return m_gaveUp; }

    // Sends whoever has no order on: a crosser to the other side of the wall, anyone
    // else to a random cell of the north half.
    void GiveOrders() {
        std::uniform_int_distribution<int> column(1, kSize - 2);
        std::uniform_int_distribution<int> row(1, kWallRow - 3);
        for (const auto& actor : m_area->GetActors()) {
            if (actor->GetCurrentOrder()) continue;
            Goal& goal = m_goals[actor->GetId()];
            const bool arrived = actor->DistanceToPoint(goal.x, goal.y) <= WalkingCrowd::kArrivedWithin;
            if (goal.given && !arrived) ++m_gaveUp;
            if (goal.crosser) {
                if (goal.given && arrived) {
                    ++m_crossings;
                    ++goal.crossings;
                }
                // Arrived or not, the next walk leads from where it stands to the other side.
                const Goal next = BandCell(actor->GetY() > kWallRow * 2.5);
                goal.x = next.x;
                goal.y = next.y;
            } else {
                goal.x = column(m_random) * 2.5 + 1.25;
                goal.y = row(m_random) * 2.5 + 1.25;
            }
            goal.given = true;
            actor->PushOrder(std::make_shared<DRAV::CMoveOrder>(goal.x, goal.y), false);
        }
    }

    std::string Step() { return StepCrowd(*this); }

    // What is wrong, asked after GiveOrders: everyone present, alive, neutral or of
    // the party, and walking.
    std::string Check() const {
        return WalkingFault(*m_area, kCrowdParty + kCrowdMonsters + static_cast<std::size_t>(m_crossers), true);
    }

private:
    struct Goal {
        double x = 0.0;
        double y = 0.0;
        bool given = false;
        bool crosser = false;
        int crossings = 0;
    };

    static std::vector<std::string> Lines(bool walled) {
        std::vector<std::string> lines(kSize, std::string(kSize, '.'));
        if (walled) {
            lines[kWallRow] = std::string(kSize, '#');
            lines[kWallRow][kGapColumn] = lines[kWallRow][kGapColumn + 1] = '.';
        }
        return lines;
    }

    // A random cell of the band north or south of the wall.
    Goal BandCell(bool north) {
        std::uniform_int_distribution<int> column(kGapColumn - kBandHalfWidth, kGapColumn + kBandHalfWidth);
        std::uniform_int_distribution<int> depth(2, kBand);
        const int row = north ? kWallRow - depth(m_random) : kWallRow + depth(m_random);
        return {column(m_random) * 2.5 + 1.25, row * 2.5 + 1.25};
    }

    std::mt19937 m_random;
    SampleGame m_game;
    DRAV::CArea* m_area;
    int m_crossers;
    std::map<DRAV::ThingId, Goal> m_goals;
    int m_crossings = 0;
    int m_gaveUp = 0;
};

class MixedCrowd {
public:
    // Cells a side for each actor's share of the walking crowd's 100 x 100 among 56.
    static int SizeFor(int actors) {
        return static_cast<int>(std::lround(100.0 * std::sqrt(actors / double{kCrowdParty + kCrowdMonsters})));
    }

    explicit MixedCrowd(int actors)
        : m_game(StartCrowdGame(m_random, 17)), m_size(SizeFor(actors)),
          m_area(&m_game.EnterOpenArea(static_cast<std::uint32_t>(m_size), static_cast<std::uint32_t>(m_size))),
          m_actors(actors) {
        AddCrowdParty(m_game, *m_area);
        const int rest = actors - kCrowdParty;
        const int pairs = rest / 4;
        std::uniform_int_distribution<int> cell(2, m_size - 3);
        for (int i = 0; i < pairs; ++i) {
            const int column = cell(m_random);
            const int row = cell(m_random);
            m_guards.push_back(m_game.Spawn("crowd_guard", column, row));
            m_goblins.push_back(m_game.Spawn("crowd_brawler", column + 1, row));
        }
        for (int i = 0; i < rest - 2 * pairs; ++i) {
            const int column = cell(m_random);
            const int row = cell(m_random);
            m_game.Spawn("crowd_walker", column, row);
        }
        m_party = m_game.Game().GetParty();
        m_game.Game().UpdatePartyVisibility();
        m_area->GetWaypointCalculator();
    }

    const SampleGame& Game() const { return m_game; }
    DRAV::CArea& Area() const { return *m_area; }
    int Kills() const { return m_kills; }
    // Walks that reached their goal.
    int Arrivals() const { return m_arrivals; }

    // Fallen goblins replaced beside their guards, the party and the guards healed,
    // each fighter sent at its partner and every walker without an order to a
    // random cell.
    void GiveOrders() {
        for (std::size_t i = 0; i < m_goblins.size(); ++i) {
            if (m_goblins[i] && m_area->FindActor(m_goblins[i]->GetId())) continue;
            ++m_kills;
            const DRAV::CActor& guard = *m_guards[i];
            m_goblins[i] = m_game.Spawn("crowd_brawler", static_cast<std::uint32_t>(guard.GetX() / 2.5) + 1,
                                        static_cast<std::uint32_t>(guard.GetY() / 2.5));
        }
        for (const auto& member : m_party) member->SetDamageTaken(0);
        for (std::size_t i = 0; i < m_guards.size(); ++i) {
            m_guards[i]->SetDamageTaken(0);
            if (!m_goblins[i]) continue;
            if (!m_guards[i]->GetCurrentOrder())
                m_guards[i]->PushOrder(std::make_shared<DRAV::CAttackOrder>(m_goblins[i]->GetId()), false);
            if (!m_goblins[i]->GetCurrentOrder())
                m_goblins[i]->PushOrder(std::make_shared<DRAV::CAttackOrder>(m_guards[i]->GetId()), false);
        }
        std::uniform_int_distribution<int> cell(1, m_size - 2);
        for (const auto& actor : m_area->GetActors()) {
            if (actor->GetCurrentOrder() || actor->GetRelation() == DRAV::RELATION_FRIENDLY ||
                actor->GetRelation() == DRAV::RELATION_HOSTILE)
                continue;
            auto& goal = m_goals[actor->GetId()];
            if (goal.given && actor->DistanceToPoint(goal.x, goal.y) <= WalkingCrowd::kArrivedWithin) ++m_arrivals;
            goal = {cell(m_random) * 2.5 + 1.25, cell(m_random) * 2.5 + 1.25, true};
            actor->PushOrder(std::make_shared<DRAV::CMoveOrder>(goal.x, goal.y), false);
        }
    }

    std::string Step() { return StepCrowd(*this); }

    // What is wrong, asked after GiveOrders: all the actors present, the party and the
    // guards alive, every goblin in its place and the walkers neutral and walking.
    std::string Check() const {
        const DRAV::ActorList& actors = m_area->GetActors();
        if (actors.size() != static_cast<std::size_t>(m_actors))
            return std::to_string(actors.size()) + " actors in the area, not " + std::to_string(m_actors);
        for (const auto& actor : actors) {
            if (!actor->IsAlive() && actor->GetRelation() != DRAV::RELATION_HOSTILE)
                return actor->GetName() + " has fallen";
            if (actor->IsPartyMember() || actor->GetRelation() == DRAV::RELATION_FRIENDLY ||
                actor->GetRelation() == DRAV::RELATION_HOSTILE)
                continue;
            if (actor->GetRelation() != DRAV::RELATION_NEUTRAL) return actor->GetName() + " is no longer neutral";
            const auto& order = actor->GetCurrentOrder();
            if (!order || order->GetType() != DRAV::ORDER_MOVE) return actor->GetName() + " is not walking";
        }
        for (std::size_t i = 0; i < m_goblins.size(); ++i)
            if (!m_goblins[i] || m_goblins[i]->GetArea() != m_area) return "a goblin found no place beside its guard";
        return {};
    }

private:
    struct Goal {
        double x = 0.0;
        double y = 0.0;
        bool given = false;
    };

    std::mt19937 m_random;
    SampleGame m_game;
    int m_size;
    DRAV::CArea* m_area;
    int m_actors;
    DRAV::ActorList m_party;
    std::vector<std::shared_ptr<DRAV::CActor>> m_guards;
    std::vector<std::shared_ptr<DRAV::CActor>> m_goblins;
    std::map<DRAV::ThingId, Goal> m_goals;
    int m_kills = 0;
    int m_arrivals = 0;
};

class FightingCrowd {
public:
    static constexpr int kSize = 60;

    FightingCrowd() : m_game(StartCrowdGame(m_random, 11)), m_area(&m_game.EnterOpenArea(kSize, kSize)) {
        AddCrowdParty(m_game, *m_area);
        for (int i = 0; i < kCrowdMonsters; ++i) m_monsters.push_back(SpawnGoblin(i));
        m_area->GetWaypointCalculator();
        m_party = m_game.Game().GetParty();
    }

    const SampleGame& Game() const { return m_game; }
    DRAV::CArea& Area() const { return *m_area; }
    int Kills() const { return m_kills; }

    // Fallen goblins replaced, the party healed, and everyone without an order sent
    // at a random enemy.
    void GiveOrders() {
        for (std::size_t i = 0; i < m_monsters.size(); ++i) {
            if (m_monsters[i] && m_area->FindActor(m_monsters[i]->GetId())) continue;
            ++m_kills;
            m_monsters[i] = SpawnGoblin(static_cast<int>(i));
        }
        for (const auto& member : m_party) {
            member->SetDamageTaken(0);
            const auto& target = m_monsters[m_random() % m_monsters.size()];
            if (!member->GetCurrentOrder() && target)
                member->PushOrder(std::make_shared<DRAV::CAttackOrder>(target->GetId()), false);
        }
        for (const auto& monster : m_monsters)
            if (monster && !monster->GetCurrentOrder())
                monster->PushOrder(std::make_shared<DRAV::CAttackOrder>(m_party[m_random() % m_party.size()]->GetId()),
                                   false);
    }

    std::string Step() { return StepCrowd(*this); }

    // What is wrong with the fight, asked after GiveOrders: the whole party alive
    // and 50 goblins in the area.
    std::string Check() const {
        std::size_t present = 0;
        for (const auto& monster : m_monsters)
            if (monster && m_area->FindActor(monster->GetId())) ++present;
        if (present != static_cast<std::size_t>(kCrowdMonsters))
            return std::to_string(present) + " goblins in the area, not " + std::to_string(kCrowdMonsters);
        for (const auto& member : m_party)
            if (!member->IsAlive() || member->GetArea() != m_area) return member->GetName() + " has fallen";
        return {};
    }

private:
    std::shared_ptr<DRAV::CActor> SpawnGoblin(int index) {
        std::uniform_int_distribution<int> cell(10, kSize - 2);
        const bool archer = index % 2 != 0;
        const int column = cell(m_random);
        const int row = cell(m_random);
        auto monster = m_game.Spawn(archer ? "crowd_archer" : "crowd_brawler", column, row);
        if (monster && archer && !monster->GetBackpack().empty()) {
            const auto bow = monster->GetBackpack().front();
            monster->SetEquipment(DRAV::SLOT_WEAPON, monster->RemoveFromBackpack(*bow));
        }
        return monster;
    }

    std::mt19937 m_random;
    SampleGame m_game;
    DRAV::CArea* m_area;
    std::vector<std::shared_ptr<DRAV::CActor>> m_monsters;
    DRAV::ActorList m_party;
    int m_kills = 0;
};

}  // namespace QuillmereTest
