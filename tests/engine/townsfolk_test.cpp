// The people of the chapters as a new hero meets them: one she strikes fights back
// at a pace she can match and walks at a walker's pace, and nobody stands where
// they leave a hero no way past.

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <memory>
#include <set>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "common/random.h"
#include "engine/story_steps.h"

using namespace DRAV;
using QuillmereTest::Player;
using QuillmereTest::SampleGame;

namespace {

// A new hero of either chapter, made as the story's fighter is.
Player NewHero(int chapter) {
    if (chapter == 1) return Player(QuillmereTest::kFighter);
    return Player(SampleGame(chapter, [](CActor& actor) { QuillmereTest::Create(actor, QuillmereTest::kFighter); }),
                  {});
}

// Every person who stands in the chapter's first area and is no foe of a new
// party; the landing's boatwright, who ends the chapter at his slip there, too.
std::vector<std::pair<int, std::string>> Townsfolk() {
    std::vector<std::pair<int, std::string>> people{{1, "boatwright"}};
    for (const int chapter : {1, 2}) {
        const Player player = NewHero(chapter);
        for (const auto& actor : player.Area().GetActors())
            if (actor->GetRelation() != RELATION_PARTY && actor->GetRelation() != RELATION_HOSTILE)
                people.emplace_back(chapter, actor->GetTemplateName());
    }
    return people;
}

// Lines of the log from `from` on that begin with `who` and tell a blow at `whom`.
int Blows(const Player& player, std::size_t from, const std::string& who, const std::string& whom) {
    int blows = 0;
    for (std::size_t i = from; i < player.Log().size(); ++i) {
        const std::string& line = player.Log()[i];
        if (line.rfind(who, 0) != 0) continue;
        for (const char* verb : {" hits ", " misses "}) {
            const std::size_t at = line.find(verb);
            if (at != std::string::npos && line.find(whom, at) != std::string::npos) ++blows;
        }
    }
    return blows;
}

constexpr int kSwings = 4;

// Struck by a new hero, each fights back about as often as she swings, not with a
// flurry of blows to her one, and walks at a walker's pace, not at three times
// hers: she can fight it out, and a companion among them keeps step with the
// party. Both are made to outlast the fight.
TEST(Townsfolk, AHeroWhoStrikesOneFightsAFairFight) {
    const auto people = Townsfolk();
    ASSERT_GE(people.size(), 8u);
    for (const auto& [chapter, key] : people) {
        SCOPED_TRACE(key);
        DRAVCommon::GetRandomEngine().seed(1);
        Player player = NewHero(chapter);
        player.Sample().EnterOpenArea(24, 6);
        const auto hero = player.Main();
        hero->SetMaxHitPoints(100000);
        const auto person = player.Sample().Spawn(key, 4, 1);
        ASSERT_TRUE(person);
        person->SetMaxHitPoints(100000);

        // Both walk east for a game second.
        const double heroFrom = hero->GetX(), personFrom = person->GetX();
        hero->PushOrder(std::make_shared<CMoveOrder>(heroFrom + 30.0, hero->GetY()), false);
        person->PushOrder(std::make_shared<CMoveOrder>(personFrom + 30.0, person->GetY()), false);
        for (int tick = 0; tick < 30; ++tick) player.Tick();
        EXPECT_GT(hero->GetX() - heroFrom, 5.0);
        EXPECT_LE(person->GetX() - personFrom, 1.5 * (hero->GetX() - heroFrom)) << "runs from her";
        hero->ClearOrders();
        person->ClearOrders();

        // F1 and a click on the person, until she has swung a few times.
        const std::size_t from = player.Log().size();
        hero->PushOrder(std::make_shared<CAttackOrder>(person->GetId()), false);
        int swings = 0;
        for (int tick = 0; tick < 6000 && swings < kSwings; ++tick) {
            player.Tick();
            swings = Blows(player, from, hero->GetName(), person->GetName());
        }
        const int blows = Blows(player, from, person->GetName(), hero->GetName());
        EXPECT_EQ(swings, kSwings);
        EXPECT_LE(blows, 2 * swings) << blows << " blows to her " << swings << " swings";
        // Whoever turns on her strikes back.
        if (person->GetRelation() == RELATION_HOSTILE) {
            EXPECT_GE(blows, 1);
        }
    }
}

// Where a new hero, as wide as any the creation pages make, may stand, on a grid
// a quarter of a unit apart, with `absent` taken away: the ground she can reach
// from one spot is a run of neighbouring free points, each a short step from the
// next.
class Footing {
public:
    static constexpr double kStep = 0.25;

    Footing(const CArea& area, const CActor& hero, const CActor* absent)
        : m_columns(static_cast<int>(area.GetColumns() * 2.5 / kStep)),
          m_rows(static_cast<int>(area.GetRows() * 2.5 / kStep)),
          m_free(static_cast<std::size_t>(m_columns * m_rows), false) {
        for (int row = 0; row < m_rows; ++row)
            for (int column = 0; column < m_columns; ++column) {
                const double x = (column + 0.5) * kStep, y = (row + 0.5) * kStep;
                bool free = area.TestTiles(hero, nullptr, x, y) && area.TestObjects(hero, nullptr, x, y);
                for (const auto& other : area.GetActors()) {
                    if (!free) break;
                    if (other.get() == absent || other->IsPartyMember() || !other->IsAlive()) continue;
                    free = std::hypot(x - other->GetX(), y - other->GetY()) > other->GetRadius() + hero.GetRadius();
                }
                m_free[Index(column, row)] = free;
            }
    }

    bool Free(int column, int row) const { return m_free[Index(column, row)]; }
    double X(int column) const { return (column + 0.5) * kStep; }
    double Y(int row) const { return (row + 0.5) * kStep; }
    int Columns() const { return m_columns; }
    int Rows() const { return m_rows; }

    // The free points reachable from the point, each marked with `mark`.
    void Spread(int column, int row, int mark, std::vector<int>& marks) const {
        std::vector<std::pair<int, int>> todo{{column, row}};
        marks[Index(column, row)] = mark;
        while (!todo.empty()) {
            const auto [c, r] = todo.back();
            todo.pop_back();
            for (const auto& [dc, dr] : {std::pair{1, 0}, {-1, 0}, {0, 1}, {0, -1}}) {
                const int nc = c + dc, nr = r + dr;
                if (nc < 0 || nr < 0 || nc >= m_columns || nr >= m_rows) continue;
                if (!Free(nc, nr) || marks[Index(nc, nr)] == mark) continue;
                marks[Index(nc, nr)] = mark;
                todo.emplace_back(nc, nr);
            }
        }
    }
    std::size_t Index(int column, int row) const { return static_cast<std::size_t>(row * m_columns + column); }
    std::size_t Size() const { return m_free.size(); }

private:
    int m_columns, m_rows;
    std::vector<bool> m_free;
};

// Where `person` stands, what it cuts off: ground a hero could walk to were it
// not there that she can no longer reach, away from its own footprint; empty
// when it leaves every way open.
std::string WhatItShuts(const CArea& area, const CActor& hero, const CActor& person) {
    const Footing without(area, hero, &person);
    const Footing with(area, hero, nullptr);
    const double footprint = person.GetRadius() + hero.GetRadius() + Footing::kStep;
    std::vector<int> region(without.Size(), -1);
    std::vector<int> reached(region.size(), -1);
    std::vector<std::pair<int, int>> spread;  // where each region was spread from
    int regions = 0;
    for (int row = 0; row < without.Rows(); ++row)
        for (int column = 0; column < without.Columns(); ++column) {
            if (!without.Free(column, row) || region[without.Index(column, row)] >= 0) continue;
            without.Spread(column, row, regions++, region);
            spread.emplace_back(-1, -1);
        }
    for (int row = 0; row < without.Rows(); ++row)
        for (int column = 0; column < without.Columns(); ++column) {
            const std::size_t at = without.Index(column, row);
            if (region[at] < 0 || !with.Free(column, row)) continue;
            if (std::hypot(with.X(column) - person.GetX(), with.Y(row) - person.GetY()) <= footprint) continue;
            // The first point of its region away from the person reaches all the others.
            if (reached[at] >= 0) continue;
            auto& from = spread[static_cast<std::size_t>(region[at])];
            if (from.first >= 0) {
                std::ostringstream text;
                text << "(" << with.X(from.first) << ", " << with.Y(from.second) << ") is parted from ("
                     << with.X(column) << ", " << with.Y(row) << ")";
                return text.str();
            }
            from = {column, row};
            with.Spread(column, row, region[at], reached);
        }
    return {};
}

// The party's walk, heard out to its end or to a conversation someone else began.
void WalkAndHearOut(const SampleGame& game, const std::shared_ptr<COrder>& order) {
    game.Main()->PushOrder(order, false);
    for (int tick = 0; tick < 900 && game.Main()->GetCurrentOrder(); ++tick) {
        game.Tick();
        for (const auto& event : game.DrainEvents())
            if (event->GetCode() == EVENT_TALK) return;
    }
}

struct Scene {
    const char* what;
    std::function<SampleGame()> make;
    // Those there to bar the way to whoever comes near, until dealt with.
    std::set<std::string> guards = {};
};

// Each area of both chapters, as the story leaves it at its turns: nobody who
// stands in it, where the chapter puts them or where they walk to, leaves less
// than a hero's width where a way runs.
TEST(Townsfolk, NobodyStandsWhereHeShutsAWay) {
    const std::vector<Scene> scenes{
        {"the landing as the ferry puts a party ashore", [] { return SampleGame(); }},
        {"the landing once Hesk has come to meet a hero who clicked her",
         [] {
             SampleGame game;
             WalkAndHearOut(game, std::make_shared<CMoveTalkOrder>(game.Person("ferry_keeper")->GetId()));
             return game;
         }},
        {"the landing once Hesk has come to meet a hero on her way to Tansy's stall",
         [] {
             SampleGame game;
             WalkAndHearOut(game, std::make_shared<CMoveTalkOrder>(game.Person("landing_trader")->GetId()));
             return game;
         }},
        {"the landing with the smugglers' lookout posted",
         [] {
             SampleGame game;
             game.Engine().SetTag("hide_fought", true);
             game.Tick();
             return game;
         }},
        {"the landing with Orrin home and the smugglers reported",
         [] {
             SampleGame game;
             for (const char* tag : {"boatwright_found", "boatwright_returned", "smugglers_reported"})
                 game.Engine().SetTag(tag, true);
             game.Tick();
             return game;
         }},
        // The hide's lookouts stop whoever comes near, to be talked, paid or fought
        // past; the drowned watch takes whoever walks among it.
        {"the marsh",
         [] {
             Player player(QuillmereTest::kTalker);
             QuillmereTest::WalkIntoTheMarsh(player);
             return player.Sample();
         },
         {"hide_lookout", "drowned_warden"}},
        // Wick keeps the strongbox until he is talked away or falls.
        {"the weir", [] { return SampleGame(2, [](CActor& main) { main.SetName("Wren"); }); }, {"weir_runner"}},
    };
    for (const Scene& scene : scenes)
        for (const std::uint32_t seed : {1u, 2u, 3u}) {
            // Those who share a post stand round it where the dice put them.
            SCOPED_TRACE(std::string(scene.what) + ", seed " + std::to_string(seed));
            DRAVCommon::GetRandomEngine().seed(seed);
            const SampleGame game = scene.make();
            game.DrainEvents();
            for (const auto& person : game.Area().GetActors()) {
                if (person->IsPartyMember() || !person->IsAlive() || scene.guards.count(person->GetTemplateName()))
                    continue;
                EXPECT_EQ(WhatItShuts(game.Area(), *game.Main(), *person), "")
                    << person->GetName() << " at (" << person->GetX() << ", " << person->GetY() << ")";
            }
        }
}

}  // namespace
