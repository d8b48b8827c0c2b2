// The play sweep: the random player (random_player.h) plays both sample chapters
// on the real program, from a new game of each and from games saved at the
// story's stages (stage_saves.h), under many seeds, each run in a child process
// of its own, and what its watches found is printed by kind, each with the
// command that plays that run again.
//
//   play_sweep [--chapter C] [--start S] [--seed N] [--first-seed F] [--seeds K] [--steps K]
//              [--jobs N] [--seconds S] [--trace FILE] [--suite]
// Without --seed each start is played under seeds F..K (--first-seed, 1; --seeds, 16). --steps is the
// number of turns of each run (300, the suite's 250). --suite plays the suite's small share and
// fails on the kinds of the program's own soundness only (finding.h); otherwise
// the exit status is 1 when anything was found. --trace appends each turn's move
// to FILE, to follow a replay.

#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include <unistd.h>

#include "play_sweep/finding.h"
#include "play_sweep/stage_saves.h"
#include "play_sweep/sweep_run.h"
#include "sweep/isolated_run.h"

namespace {

using namespace QuillmerePlaySweep;

struct Options {
    int chapter = 0;  // 0: both
    std::string start;  // empty: every start of the chapter
    unsigned seed = 0;  // 0: seeds firstSeed..seeds
    unsigned firstSeed = 1;
    unsigned seeds = 16;
    std::optional<int> steps;  // none: 300, or the suite's 250
    unsigned jobs = 4;
    unsigned seconds = 240;
    bool suite = false;
    std::string trace;
};

[[noreturn]] void Usage() {
    std::cerr << "usage: play_sweep [--chapter C] [--start S] [--seed N] [--first-seed F] [--seeds K] [--steps K]"
                 " [--jobs N] [--seconds S] [--trace FILE] [--suite]\n";
    std::exit(2);
}

Options Parse(int argc, char** argv) {
    Options options;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--suite") {
            options.suite = true;
            continue;
        }
        if (i + 1 >= argc) Usage();
        const std::string value = argv[++i];
        try {
            if (arg == "--chapter") options.chapter = std::stoi(value);
            else if (arg == "--start") options.start = value;
            else if (arg == "--seed") options.seed = static_cast<unsigned>(std::stoul(value));
            else if (arg == "--first-seed") options.firstSeed = static_cast<unsigned>(std::stoul(value));
            else if (arg == "--seeds") options.seeds = static_cast<unsigned>(std::stoul(value));
            else if (arg == "--steps") options.steps = std::stoi(value);
            else if (arg == "--jobs") options.jobs = static_cast<unsigned>(std::stoul(value));
            else if (arg == "--seconds") options.seconds = static_cast<unsigned>(std::stoul(value));
            else if (arg == "--trace") options.trace = value;
            else Usage();
        } catch (const std::exception&) {
            Usage();
        }
    }
    if (!options.steps) options.steps = options.suite ? 250 : 300;
    if (options.jobs == 0 || *options.steps <= 0 || options.firstSeed == 0 || options.firstSeed > options.seeds) Usage();
    return options;
}

struct Run {
    Stage start;
    unsigned seed = 0;
    int steps = 0;
    std::string Replay(int turns) const {
        return "scripts/play-sweep --chapter " + std::to_string(start.chapter) + " --start " + start.name +
               " --seed " + std::to_string(seed) + " --steps " + std::to_string(turns);
    }
};

// The runs of the suite's share: every start once, under the first seed, `steps` turns each.
std::vector<Run> SuiteRuns(const std::vector<Stage>& stages, int steps) {
    std::vector<Run> runs;
    for (const Stage& stage : stages) runs.push_back({stage, 1, steps});
    return runs;
}

struct Seen {
    int count = 0;
    Finding first;
    std::string replay;
    // The starts and seeds of the runs it was found in.
    std::map<std::string, std::set<unsigned>> seeds;
};

}  // namespace

int main(int argc, char** argv) {
    const Options options = Parse(argc, argv);
    const std::string folder = std::filesystem::temp_directory_path() / ("quillmere-play-sweep-" + std::to_string(getpid()));
    std::vector<Stage> stages;
    try {
        stages = MakeStages(folder, options.chapter, options.start);
    } catch (const std::exception& failure) {
        std::cerr << "play_sweep: the story's stages could not be saved: " << failure.what() << "\n";
        return 2;
    }
    if (stages.empty()) {
        std::cerr << "play_sweep: no start \"" << options.start << "\"\n";
        return 2;
    }
    std::vector<Run> runs;
    if (options.suite) {
        runs = SuiteRuns(stages, *options.steps);
    } else {
        for (const Stage& stage : stages)
            for (unsigned seed = options.seed ? options.seed : options.firstSeed;
                 seed <= (options.seed ? options.seed : options.seeds); ++seed)
                runs.push_back({stage, seed, *options.steps});
    }

    std::map<std::string, std::map<std::string, Seen>> found;  // kind, signature
    int played = 0;
    long turns = 0;
    {
        QuillmereSweep::CIsolatedRuns children(options.jobs, {static_cast<double>(options.seconds) + 30.0, 3ull << 30});
        for (const Run& run : runs) {
            children.Start(
                [run, &options] {
                    PlayPlan plan{run.start.chapter, run.start.savePath, run.seed, run.steps, options.trace};
                    return EncodeReport(PlayOnce(plan, options.seconds));
                },
                [run, &found, &played, &turns](const QuillmereSweep::RunResult& result) {
                    ++played;
                    RunReport report;
                    if (result.end == QuillmereSweep::RunEnd::Answered)
                        report = DecodeReport(result.answer);
                    else
                        report.findings.push_back({"error", run.steps, "the sweep's child for the run ended abnormally"});
                    turns += report.turns;
                    if (run.start.savePath.size() && report.start != "loaded")
                        std::cout << run.Replay(run.steps) << ": the start answered " << report.start << "\n";
                    if (report.turns < run.steps)
                        std::cout << run.Replay(run.steps) << ": stopped after " << report.turns << " turns, "
                                  << report.end << "\n";
                    for (const Finding& finding : report.findings) {
                        Seen& seen = found[finding.kind][Signature(finding)];
                        seen.seeds[run.start.name].insert(run.seed);
                        if (seen.count++ == 0) {
                            seen.first = finding;
                            seen.replay = run.Replay(finding.turn + 1);
                        }
                    }
                });
        }
        children.Wait();
    }
    std::filesystem::remove_all(folder);

    std::cout << "play sweep: " << played << " runs over " << stages.size() << " starts, " << turns
              << " turns played\n";
    bool fatal = false, any = false;
    for (const std::string& kind : kKinds) {
        const auto& seen = found[kind];
        int count = 0;
        for (const auto& [signature, one] : seen) count += one.count;
        std::cout << kind << ": " << count << " finding" << (count == 1 ? "" : "s") << ", " << seen.size()
                  << " distinct\n";
        for (const auto& [signature, one] : seen) {
            std::cout << "  [" << one.count << "x] " << one.first.what << "\n    replay: " << one.replay << "\n    seeds:";
            for (const auto& [start, seeds] : one.seeds) {
                std::cout << " " << start;
                for (const unsigned seed : seeds) std::cout << (seed == *seeds.begin() ? " " : ",") << seed;
            }
            std::cout << "\n";
            any = true;
            fatal = fatal || IsFatal(kind);
        }
    }
    return options.suite ? (fatal ? 1 : 0) : (any ? 1 : 0);
}
