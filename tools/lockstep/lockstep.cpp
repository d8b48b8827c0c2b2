// The lockstep harness at length: from a new game of each sample chapter and from
// the story's stages, a random player gives orders, and at every moment worth
// saving at (a wind-up, something in flight, a way out reached, a talk or a page
// about to open, and every so many ticks besides) the game is saved, loaded into a
// fresh engine and run beside the game for 600 ticks; the first difference of each
// is printed.
//
//   lockstep [--chapter C] [--start S] [--first-seed F] [--seeds K] [--ticks T] [--play T]
// Each start is played under seeds F..K (1..4) for T ticks (--play, 3000), each save
// compared for --ticks (600). The exit status is 1 when a difference was found.

#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <map>
#include <optional>
#include <random>
#include <string>

#include "common/random.h"
#include "play_sweep/stage_saves.h"
#include "support/lockstep.h"
#include "support/sample_game.h"
#include "support/temp_dir.h"
#include "world/game.h"

namespace {

using QuillmereTest::LockstepRun;

struct Options {
    int chapter = 0;
    std::string start;
    unsigned firstSeed = 1;
    unsigned seeds = 4;
    int ticks = 600;
    int play = 3000;
};

[[noreturn]] void Usage() {
    std::cerr << "usage: lockstep [--chapter C] [--start S] [--first-seed F] [--seeds K] [--ticks T] [--play T]\n";
    std::exit(2);
}

Options Parse(int argc, char** argv) {
    Options options;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (i + 1 >= argc) Usage();
        const std::string value = argv[++i];
        try {
            if (arg == "--chapter") options.chapter = std::stoi(value);
            else if (arg == "--start") options.start = value;
            else if (arg == "--first-seed") options.firstSeed = static_cast<unsigned>(std::stoul(value));
            else if (arg == "--seeds") options.seeds = static_cast<unsigned>(std::stoul(value));
            else if (arg == "--ticks") options.ticks = std::stoi(value);
            else if (arg == "--play") options.play = std::stoi(value);
            else Usage();
        } catch (const std::exception&) {
            Usage();
        }
    }
    if (options.firstSeed == 0 || options.firstSeed > options.seeds || options.ticks <= 0 || options.play <= 0) Usage();
    return options;
}

// Ticks between two orders of the random player, and between two saves at a plain tick.
constexpr int kOrderEvery = 45;
constexpr int kPlainSaveEvery = 700;

struct Tally {
    std::map<std::string, int> points;
    long long compared = 0;
    int differences = 0;
};

// The game of a start: a new game of its chapter, or its save loaded.
std::shared_ptr<DRAV::CEngine> StartGame(const QuillmerePlaySweep::Stage& stage,
                                          std::optional<QuillmereTest::SampleGame>& owner) {
    if (stage.savePath.empty()) {
        owner.emplace(stage.chapter, [](DRAV::CActor& main) { main.SetName("Wren"); });
        return owner->EnginePtr();
    }
    auto engine = QuillmereTest::FreshChapterEngine(stage.chapter);
    std::string bonus;
    engine->LoadGame(stage.savePath, DRAV::CModuleVersionRange("Orvex", 5, 0), bonus);
    return engine;
}

void Play(const QuillmerePlaySweep::Stage& stage, unsigned seed, const Options& options, Tally& tally) {
    std::optional<QuillmereTest::SampleGame> owner;
    DRAVCommon::GetRandomEngine().seed(seed);
    const std::shared_ptr<DRAV::CEngine> engine = StartGame(stage, owner);
    DRAVCommon::GetRandomEngine().seed(seed);
    QuillmereTest::TakeEvents(*engine);
    std::mt19937 chooser(seed);
    std::uint32_t taken = 0;
    int sinceSave = 0;
    for (int tick = 1; tick <= options.play; ++tick, ++sinceSave) {
        const std::int32_t state = engine->GetGame()->GetStateCode();
        if (state != DRAV::GAME_PLAYING && state != DRAV::GAME_EXIT_AVAILABLE) break;
        if (tick % kOrderEvery == 0) QuillmereTest::GiveRandomOrder(chooser, {engine.get()});
        engine->RunTick();
        const auto events = QuillmereTest::TakeEvents(*engine);
        const std::uint32_t points = QuillmereTest::SavePointsNow(*engine, events);
        std::uint32_t point = QuillmereTest::SAVE_ANY_TICK;
        for (std::uint32_t bit = 1; bit <= QuillmereTest::SAVE_PAGE; bit <<= 1)
            if ((points & bit) && !(taken & bit)) point = bit;
        if (point == QuillmereTest::SAVE_ANY_TICK && sinceSave < kPlainSaveEvery) continue;
        taken |= point;
        sinceSave = 0;
        QuillmereTest::TempDir dir;
        int compared = 0;
        const LockstepRun run{stage.chapter, options.ticks, kOrderEvery, seed * 7919u + static_cast<unsigned>(tick),
                              dir.Path().string()};
        const auto difference = QuillmereTest::RunLockstep(*engine, events, run, &compared);
        ++tally.points[QuillmereTest::SavePointName(point)];
        tally.compared += compared;
        tick += compared;
        if (!difference) continue;
        ++tally.differences;
        std::cout << "chapter " << stage.chapter << " " << stage.name << " seed " << seed << ", saved "
                  << QuillmereTest::SavePointName(point) << " at tick " << engine->GetGame()->GetTick() - compared
                  << ": " << difference->Describe() << "\n";
    }
}

}  // namespace

int main(int argc, char** argv) {
    const Options options = Parse(argc, argv);
    QuillmereTest::TempDir folder;
    const auto stages = QuillmerePlaySweep::MakeStages(folder / "stages", options.chapter, options.start);
    Tally tally;
    for (const auto& stage : stages)
        for (unsigned seed = options.firstSeed; seed <= options.seeds; ++seed) Play(stage, seed, options, tally);
    std::cout << stages.size() << " starts, seeds " << options.firstSeed << ".." << options.seeds << ":";
    for (const auto& [point, count] : tally.points) std::cout << " " << count << " saved " << point << ";";
    std::cout << " " << tally.compared << " ticks compared, " << tally.differences << " differences\n";
    return tally.differences ? 1 : 0;
}
