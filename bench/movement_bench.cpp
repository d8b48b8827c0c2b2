// The cost of finding the way: the worst waypoint queries on a 100 x 100 grid (a
// maze, and a goal walled off in open ground) and one tick of movement for 50
// actors, with the median, 99th percentile and slowest tick. Each also reports how
// many heap allocations a query or tick makes once the search is warm; the answer
// should be 0. The calculator keeps answers, so
// the query benchmarks go round a set of requests that it cannot answer from what
// it kept, and check on every query that a search ran.

#include <benchmark/benchmark.h>

#include <atomic>
#include <cmath>
#include <cstdlib>
#include <memory>
#include <new>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "bench_quick.h"
#include "bench_support.h"
#include "iteration_times.h"
#include "common/data_file_reader.h"
#include "world/area.h"
#include "world/game.h"
#include "world/movement/pathfind.h"
#include "world/movement/waypoint_calculator.h"

namespace {

std::atomic<long> g_allocations{0};

}  // namespace

// Counting every allocation: the replaced operators pair malloc with free, which
// GCC cannot see through once they are inlined into the standard library's calls.
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"

void* operator new(std::size_t size) {
    ++g_allocations;
    if (void* memory = std::malloc(size ? size : 1)) return memory;
    throw std::bad_alloc();
}
void operator delete(void* memory) noexcept { std::free(memory); }
void operator delete(void* memory, std::size_t) noexcept { std::free(memory); }

namespace {

constexpr int kSize = 100;

double Centre(int cell) { return cell * 2.5 + 1.25; }

// Reads cells drawn as text ('#' wall, anything else floor) into `area`.
void ReadGrid(DRAV::CArea& area, const std::vector<std::string>& lines) {
    std::ostringstream text;
    text << "<area> \"Bench\" false <rows> ( " << lines.front().size() << ' ' << lines.size() << " )";
    for (const std::string& line : lines) {
        text << " <row>";
        for (const char cell : line) text << (cell == '#' ? " ( reed_wall n )" : " ( plank_floor n )");
        text << " </row>\n";
    }
    text << " </rows> <objects> </objects> <entries> <entry> start \"Start\" ( 2 2 ) </entry> </entries>"
         << " <exits> </exits> </area>";
    DRAVCommon::CDataFileReader reader(std::make_shared<std::istringstream>(text.str()), "bench.drav");
    area.ReadAreaFile(reader, "", "bench", BenchSupport::SampleModule(), DRAV::AREA_LOAD_FRESH, false);
}

// A maze of rooms three cells square behind walls one cell thick, carved by a
// depth-first walk from a fixed seed; neighbouring rooms open onto each other by
// their whole side, so the search can pass the middle cell of each opening.
std::vector<std::string> Maze() {
    constexpr int rooms = kSize / 4;
    std::vector<std::string> lines(kSize, std::string(kSize, '#'));
    for (int room = 0; room < rooms * rooms; ++room)
        for (int dy = 1; dy <= 3; ++dy)
            for (int dx = 1; dx <= 3; ++dx) lines[room / rooms * 4 + dy][room % rooms * 4 + dx] = '.';
    std::mt19937 random(1207);
    std::vector<bool> visited(rooms * rooms, false);
    std::vector<int> stack{0};
    visited[0] = true;
    while (!stack.empty()) {
        const int room = stack.back();
        const int x = room % rooms;
        const int y = room / rooms;
        std::vector<int> next;
        if (x > 0 && !visited[room - 1]) next.push_back(room - 1);
        if (x + 1 < rooms && !visited[room + 1]) next.push_back(room + 1);
        if (y > 0 && !visited[room - rooms]) next.push_back(room - rooms);
        if (y + 1 < rooms && !visited[room + rooms]) next.push_back(room + rooms);
        if (next.empty()) {
            stack.pop_back();
            continue;
        }
        const int to = next[random() % next.size()];
        visited[to] = true;
        stack.push_back(to);
        // Knock out the wall between the two rooms.
        const int wallX = std::max(x, to % rooms) * 4;
        const int wallY = std::max(y, to / rooms) * 4;
        for (int i = 1; i <= 3; ++i) {
            if (to % rooms != x) lines[y * 4 + i][wallX] = '.';
            else lines[wallY][x * 4 + i] = '.';
        }
    }
    return lines;
}

struct Query {
    double fromX, fromY, goalX, goalY;
};

// Asks `query`; true when a search ran for it (a search stamps its start cell).
bool Searched(DRAV::CWaypointCalculator& search, const Query& query, double& x, double& y) {
    const auto& start = search.GetNode(static_cast<int>(query.fromX / 2.5), static_cast<int>(query.fromY / 2.5));
    const int stamp = start.stamp;
    search.GetNextWaypoint(x, y, query.fromX, query.fromY, query.goalX, query.goalY, 0.0, 0.0);
    return start.stamp != stamp;
}

// How many cells the search for `query` touched; 0 when it was answered without one.
int Touched(DRAV::CWaypointCalculator& search, const Query& query) {
    double x = 0.0;
    double y = 0.0;
    if (!Searched(search, query, x, y)) return 0;
    const int stamp = search.GetNode(static_cast<int>(query.fromX / 2.5), static_cast<int>(query.fromY / 2.5)).stamp;
    int touched = 0;
    for (int row = 0; row < search.GetHeight(); ++row)
        for (int column = 0; column < search.GetWidth(); ++column) touched += search.GetNode(column, row).stamp == stamp;
    return touched;
}

// Of `queries`, those that still need a search when asked round and round: the
// ones the calculator would answer from what it kept are dropped.
std::vector<Query> Uncached(DRAV::CWaypointCalculator& search, std::vector<Query> queries) {
    double x = 0.0;
    double y = 0.0;
    for (bool dropped = true; dropped && !queries.empty();) {
        for (const Query& query : queries) Searched(search, query, x, y);
        std::vector<Query> kept;
        for (const Query& query : queries)
            if (Searched(search, query, x, y)) kept.push_back(query);
        dropped = kept.size() != queries.size();
        queries = std::move(kept);
    }
    return queries;
}

void RunQueries(benchmark::State& state, DRAV::CArea& area, std::vector<Query> candidates) {
    DRAV::CWaypointCalculator& search = *area.GetWaypointCalculator();
    const std::vector<Query> queries = Uncached(search, std::move(candidates));
    if (queries.empty()) {
        state.SkipWithError("every query is answered from what the calculator kept");
        return;
    }
    // Round once in the order of the run, which keeps every query a search.
    long touched = 0;
    for (const Query& query : queries) touched += Touched(search, query);
    state.counters["queries"] = static_cast<double>(queries.size());
    state.counters["cells/query"] = static_cast<double>(touched) / static_cast<double>(queries.size());
    double x = 0.0;
    double y = 0.0;
    long searches = 0;
    std::size_t next = 0;
    const long before = g_allocations;
    for (auto _ : state) {
        searches += Searched(search, queries[next], x, y);
        next = next + 1 == queries.size() ? 0 : next + 1;
        benchmark::DoNotOptimize(x);
    }
    state.counters["allocs/query"] =
        benchmark::Counter(static_cast<double>(g_allocations - before), benchmark::Counter::kAvgIterations);
    if (searches != static_cast<long>(state.iterations())) state.SkipWithError("a query was answered without a search");
}

// Of the queries from rooms near the middle to every room within the far gate,
// the 200 that touch the most cells.
std::vector<Query> SlowestMazeQueries(DRAV::CArea& area) {
    DRAV::CWaypointCalculator& search = *area.GetWaypointCalculator();
    std::vector<std::pair<int, Query>> ranked;
    for (const int from : {42, 46, 50, 54}) {
        for (int goalY = 2; goalY < kSize; goalY += 4) {
            for (int goalX = 2; goalX < kSize; goalX += 4) {
                const Query query{Centre(from), Centre(from), Centre(goalX), Centre(goalY)};
                const double dx = query.goalX - query.fromX;
                const double dy = query.goalY - query.fromY;
                if (dx * dx + dy * dy > 10000.0 || dx * dx + dy * dy < 56.25) continue;
                ranked.emplace_back(Touched(search, query), query);
            }
        }
    }
    std::stable_sort(ranked.begin(), ranked.end(), [](const auto& a, const auto& b) { return a.first > b.first; });
    std::vector<Query> slowest;
    for (std::size_t i = 0; i < ranked.size() && i < 200; ++i) slowest.push_back(ranked[i].second);
    return slowest;
}

void BM_WorstQueryMaze(benchmark::State& state) {
    DRAV::CGame game;
    DRAV::CArea area(&game);
    ReadGrid(area, Maze());
    RunQueries(state, area, SlowestMazeQueries(area));
}

// Open ground with the goal shut in a ring of walls, from starts 33 to 39 cells
// away: the search spends its whole cost limit before it gives up, and answers the
// goal itself.
void BM_WorstQueryUnreachable(benchmark::State& state) {
    std::vector<std::string> lines(kSize, std::string(kSize, '.'));
    const int goalX = 89;
    const int goalY = 50;
    for (int dy = -2; dy <= 2; ++dy)
        for (int dx = -2; dx <= 2; ++dx)
            if (std::abs(dx) == 2 || std::abs(dy) == 2) lines[goalY + dy][goalX + dx] = '#';
    DRAV::CGame game;
    DRAV::CArea area(&game);
    ReadGrid(area, lines);
    std::vector<Query> queries;
    for (int fromY = goalY - 10; fromY <= goalY + 10; ++fromY) {
        for (int fromX = goalX - 39; fromX <= goalX - 33; ++fromX) {
            const Query query{Centre(fromX), Centre(fromY), Centre(goalX), Centre(goalY)};
            double x = 0.0;
            double y = 0.0;
            area.GetWaypointCalculator()->GetNextWaypoint(x, y, query.fromX, query.fromY, query.goalX, query.goalY,
                                                          0.0, 0.0);
            if (x != query.goalX || y != query.goalY) {
                state.SkipWithError("a walled-off goal was reached");
                return;
            }
            if (std::hypot(query.goalX - query.fromX, query.goalY - query.fromY) <= 100.0) queries.push_back(query);
        }
    }
    RunQueries(state, area, queries);
}

// Fifty actors crossing the maze between rooms; one iteration is one tick in which
// each moves one step (and one that has arrived is sent on to another room).
void BM_MovementTick50Actors(benchmark::State& state) {
    DRAV::CGame game;
    DRAV::CArea area(&game);
    ReadGrid(area, Maze());
    std::mt19937 random(2026);
    const auto roomCentre = [&] { return Centre(static_cast<int>(random() % (kSize / 4)) * 4 + 2); };
    struct Goal {
        double x, y;
    };
    std::vector<Goal> goals;
    for (int index = 0; index < 50; ++index) {
        auto actor = std::make_shared<DRAV::CActor>(0x03000001 + index);
        actor->SetRadius(0.5);
        actor->SetActionState(DRAV::ACTION_IDLE);
        actor->SetBaseMovementSpeed(static_cast<int>(random() % 100));
        do actor->SetPosition(roomCentre(), roomCentre());
        while (!area.CanMoveTo(*actor, nullptr, actor->GetX(), actor->GetY()));
        area.AddActor(actor);
        goals.push_back({roomCentre(), roomCentre()});
    }
    long moved = 0;
    const auto tick = [&] {
        game.SetTick(game.GetTick() + 1);
        for (std::size_t index = 0; index < goals.size(); ++index) {
            DRAV::CActor& actor = *area.GetActors()[index];
            Goal& goal = goals[index];
            if (actor.DistanceToPoint(goal.x, goal.y) <= actor.GetMoveSpeed() / 30.0) {
                // As the engine does when a walk's order ends.
                goal = {roomCentre(), roomCentre()};
                actor.GetPathfinder()->Reset();
                continue;
            }
            const double x = actor.GetX();
            const double y = actor.GetY();
            actor.GetPathfinder()->MoveActor(actor, area, goal.x, goal.y, 0.0, 0.0);
            moved += actor.GetX() != x || actor.GetY() != y;
        }
    };
    game.SetTick(1);
    for (int warm = 0; warm < 30; ++warm) tick();
    moved = 0;
    long allocations = 0;
    BenchSupport::IterationTimes times;
    times.Reserve(static_cast<std::size_t>(state.max_iterations));
    for (auto _ : state) {
        times.Time([&] {
            const long before = g_allocations;
            tick();
            allocations += g_allocations - before;
        });
    }
    times.Report(state);
    state.counters["allocs"] = static_cast<double>(allocations);
    // How many of the fifty took a step, on average: the rest stand blocked.
    state.counters["moved/tick"] = benchmark::Counter(static_cast<double>(moved), benchmark::Counter::kAvgIterations);
}

}  // namespace

BENCHMARK(BM_WorstQueryMaze)->Unit(benchmark::kMicrosecond)->Apply(BenchSupport::QuickIterations<>);
BENCHMARK(BM_WorstQueryUnreachable)->Unit(benchmark::kMicrosecond)->Apply(BenchSupport::QuickIterations<>);
BENCHMARK(BM_MovementTick50Actors)->Unit(benchmark::kMicrosecond)->Apply(BenchSupport::QuickIterations<>);

BENCHMARK_MAIN();
