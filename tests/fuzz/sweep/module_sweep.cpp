// Makes copies of the module that a played sample chapter reads, each with one
// edit, in three passes: the numbers pass sets each number of each data file, in
// turn, to a few extreme values; the modifiers pass gives each monster and each
// item template a <modify> element of action or movement speed at the largest
// and smallest amounts; the scripts pass replaces each script of a conversation
// state, a quest check, an area entry or a heartbeat, in turn, by each of a few
// hostile bodies (hostile_scripts.h). Every copy is played in a child process of
// its own as sample_play.h plays it: loaded, a few hundred ticks with a save and
// a load, every area of the travel maps visited, a last save and load; a copy of
// the scripts pass also makes its script run (script_reach.h). Each copy's
// outcome is sorted: loaded and played, a load refused naming the edited file,
// refused naming another file or none, a save that will not load, an error other
// than a script's in play, a step queuing more events than --step-events (20,000),
// the party left empty, a journey an entry script began dropped, crash, sanitizer
// report, hang (the whole copy working past --seconds of processor time, 120 s, or
// working not at all for a minute of the clock, or one step of play working past
// --step-seconds, 1 s), memory past the limit, and for the
// scripts pass a hostile script the play never ran. Only the first two are
// acceptable; a hostile script the game stops as a script error has played. The exit status is 1 when any copy
// ended otherwise, 2 when the unedited chapter does not play.
//
//   module_sweep [--module DIR] [--chapter N]... [--pass numbers|modifiers|scripts]...
//                [--values A,B,...] [--amounts A,B,...] [--jobs N] [--seconds S]
//                [--step-seconds S] [--step-events N] [--memory MB] [--ticks N] [--every K] [--only TEXT]
//                [--seed N] [--report FILE]
// --every K plays every K-th copy of each pass only; --only TEXT only those whose
// description in the report holds TEXT ("trap lane_reeds: loop of drav_rest");
// --seed N seeds every copy's rolls (1); --values are the numbers pass's,
// --amounts the modifiers pass's.

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <map>
#include <memory>
#include <new>
#include <string_view>
#include <set>
#include <sstream>
#include <string>
#include <unistd.h>
#include <utility>
#include <vector>

#include "common/data_file_path.h"
#include "common/data_file_reader.h"
#include "common/exception.h"
#include "common/random.h"
#include "engine/engine.h"
#include "sample_play.h"
#include "support/overlay_source.h"
#include "sweep/data_tokens.h"
#include "sweep/hostile_scripts.h"
#include "sweep/isolated_run.h"
#include "sweep/modifier_edits.h"
#include "sweep/number_edits.h"
#include "sweep/script_edits.h"
#include "sweep/script_reach.h"
#include "sweep/shell_events.h"
#include "sweep/sweep_outcome.h"
#include "world/game.h"

namespace fs = std::filesystem;
using namespace QuillmereSweep;

namespace {

constexpr const char* kNumbersPass = "numbers";
constexpr const char* kModifiersPass = "modifiers";
constexpr const char* kScriptsPass = "scripts";
// The statistics a modifier of the modifiers pass changes.
constexpr const char* kSpeedStatistics[] = {"actionspeed", "movementspeed"};

// A copy that has not worked at all for a minute of the clock waits for something
// that will not come: the sweep's work never waits that long, however busy the
// machine.
constexpr double kIdleSeconds = 60.0;
// A copy that works longer in all hangs. Far above what play within the game's
// bounds works: a hostile script run sixty times at its quarter second, and at an
// entry that sends the party on, sixteen arrivals running it at each of the dozen
// or so times play brings the party there (a wake after each wipe-out among every
// monster kind, each visit).
constexpr double kCopySeconds = 120.0;

struct Options {
    std::string module = QUILLMERE_SAMPLE_DIR;
    std::vector<std::int32_t> chapters;
    std::vector<std::string> passes;
    // The edges of the signed and unsigned 32-bit numbers the element reader takes, and far past them.
    std::vector<std::string> values = {"2147483647", "2147483648", "4294967295", "-1", "-2147483648", "1e9", "1e308"};
    // A modifier's amount is a signed 32-bit number: its two ends.
    std::vector<std::string> amounts = {"2147483647", "-2147483648"};
    unsigned jobs = 3;
    RunLimits limits{kCopySeconds, 1024ull << 20, 0.0, kIdleSeconds};
    // A step of play that works longer (the processor time of the playing thread) is
    // a hang: the player waits for each.
    double stepSeconds = 1.0;
    // Twenty times what one run of a script may hand the game.
    std::size_t stepEvents = 20000;
    int ticks = 600;
    std::size_t every = 1;
    std::string only;  // plays only the copies whose description holds it
    unsigned seed = 1;
    std::string report;
};

[[noreturn]] void Usage(const std::string& problem) {
    std::cerr << "module_sweep: " << problem << "\n"
              << "usage: module_sweep [--module DIR] [--chapter N]... [--pass numbers|modifiers|scripts]...\n"
                 "                    [--values A,B,...] [--amounts A,B,...] [--jobs N] [--seconds S]\n"
                 "                    [--step-seconds S] [--step-events N] [--memory MB] [--ticks N] [--every K] [--only TEXT]\n"
                 "                    [--seed N] [--report FILE]\n";
    std::exit(2);
}

std::vector<std::string> SplitCommas(const std::string& text) {
    std::vector<std::string> parts;
    std::stringstream stream(text);
    for (std::string part; std::getline(stream, part, ',');)
        if (!part.empty()) parts.push_back(part);
    return parts;
}

template <typename Number>
Number ParsePositive(const std::string& option, const std::string& text) {
    std::istringstream stream(text);
    Number value{};
    if (!(stream >> value) || !stream.eof() || !(value > 0)) Usage(option + " takes a positive number, not " + text);
    return value;
}

Options ParseOptions(int argc, char** argv) {
    Options options;
    for (int i = 1; i < argc; ++i) {
        const std::string option = argv[i];
        if (i + 1 >= argc) Usage(option + " needs a value");
        const std::string value = argv[++i];
        if (option == "--module") options.module = value;
        else if (option == "--chapter") options.chapters.push_back(ParsePositive<std::int32_t>(option, value));
        else if (option == "--pass") options.passes.push_back(value);
        else if (option == "--values") options.values = SplitCommas(value);
        else if (option == "--amounts") options.amounts = SplitCommas(value);
        else if (option == "--jobs") options.jobs = ParsePositive<unsigned>(option, value);
        else if (option == "--seconds") options.limits.seconds = ParsePositive<double>(option, value);
        else if (option == "--step-seconds") options.stepSeconds = ParsePositive<double>(option, value);
        else if (option == "--step-events") options.stepEvents = ParsePositive<std::size_t>(option, value);
        else if (option == "--memory") options.limits.memoryBytes = ParsePositive<std::size_t>(option, value) << 20;
        else if (option == "--ticks") options.ticks = ParsePositive<int>(option, value);
        else if (option == "--every") options.every = ParsePositive<std::size_t>(option, value);
        else if (option == "--only") options.only = value;
        else if (option == "--seed") options.seed = ParsePositive<unsigned>(option, value);
        else if (option == "--report") options.report = value;
        else Usage("unknown option " + option);
    }
    if (options.chapters.empty()) options.chapters = {1, 2};
    if (options.passes.empty()) options.passes = {kNumbersPass, kModifiersPass, kScriptsPass};
    for (const std::string& pass : options.passes)
        if (pass != kNumbersPass && pass != kModifiersPass && pass != kScriptsPass) Usage("no pass " + pass);
    if (options.values.empty()) Usage("--values names no value");
    if (options.amounts.empty()) Usage("--amounts names no amount");
    return options;
}

// A data-file source that notes every file it is asked for.
class ReadRecorder : public DRAVCommon::CDataFileFactory {
public:
    explicit ReadRecorder(std::shared_ptr<DRAVCommon::CDataFileFactory> base) : m_base(std::move(base)) {}

    std::shared_ptr<std::istream> Open(DRAVCommon::DataFileKind kind, DRAVCommon::DataFileSubkind subkind,
                                       const std::string& name) override {
        Note(kind, subkind, name);
        return m_base->Open(kind, subkind, name);
    }
    std::shared_ptr<DRAVCommon::ByteVector> ReadAll(DRAVCommon::DataFileKind kind, DRAVCommon::DataFileSubkind subkind,
                                                    const std::string& name) override {
        Note(kind, subkind, name);
        return m_base->ReadAll(kind, subkind, name);
    }
    const std::set<std::string>& GetRead() const { return m_read; }

private:
    void Note(DRAVCommon::DataFileKind kind, DRAVCommon::DataFileSubkind subkind, const std::string& name) {
        m_read.insert(DRAVCommon::DescribeDataFile(kind, subkind, name));
    }

    std::shared_ptr<DRAVCommon::CDataFileFactory> m_base;
    std::set<std::string> m_read;
};

struct SweptFile {
    DRAVCommon::DataFileKind kind;
    std::string name;     // as the source knows it
    std::string display;  // as the report shows it: "global_magic.drav", "1/magic.drav"
    std::string text;
    std::vector<NumberSpot> spots;
    std::vector<DefinitionSpot> definitions;
    std::vector<ScriptSpot> scripts;
};

// One file of the module edited once: a number replaced, an element put into a
// definition, or a script replaced by a hostile body.
struct Copy {
    const SweptFile* file;
    std::uint32_t line;
    std::string original;  // the number, the definition's key, or the script's kind and name
    std::string edit;      // the number's new value, the element put in, or the body's name
    NumberSpot number;
    const DefinitionSpot* definition = nullptr;
    const ScriptSpot* script = nullptr;
    std::vector<ScriptReplacement> replacements;  // of the script, and of any other it leads through
    const SweptFile* questFile = nullptr;          // holding the quest check a script runs inside itself
    std::vector<ScriptReplacement> questReplacements;
    bool journeys = false;  // the body sends the party away from the entry it is the script of
    AreaPlace placed;       // where a trap's object or a door stands, when not in the start area
    TrapTread tread = TrapTread::Main;  // who stands on a trap

    // As the report names it: "1/magic.drav:12 40 -> -1", "1/monsters.drav:17 talk state keeper/start: ...".
    std::string Describe() const {
        return file->display + ":" + std::to_string(line) + " " + original +
               (definition ? " + " : script ? ": " : " -> ") + edit;
    }

    std::string EditedText() const {
        if (script) return ReplaceScripts(file->text, replacements);
        return definition ? InsertIntoDefinition(file->text, *definition, edit)
                          : ReplaceNumber(file->text, number, edit);
    }
};

// How the report names a script: "talk state dock_ferryman/start", "quest check ferry_passage".
std::string DescribeScript(const ScriptSpot& spot) {
    std::string text = ScriptKindName(spot.kind);
    text += ' ';
    if (!spot.owner.empty()) text += spot.owner + (spot.name.empty() ? "" : "/");
    return text + spot.name;
}

std::string ReadText(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// The chapter's element files and the global ones, as the folder source serves them.
std::vector<SweptFile> ListFiles(const Options& options, std::int32_t chapter) {
    std::vector<SweptFile> files;
    auto add = [&](DRAVCommon::DataFileKind kind, const fs::path& folder, const std::string& prefix) {
        std::vector<fs::path> paths;
        for (const auto& entry : fs::directory_iterator(folder))
            if (entry.is_regular_file() && entry.path().extension() == ".drav") paths.push_back(entry.path());
        std::sort(paths.begin(), paths.end());
        for (const fs::path& path : paths) {
            const std::string name = path.filename().string();
            if (kind == DRAVCommon::DFK_GLOBAL && name.rfind("global_", 0) != 0) continue;
            files.push_back({kind, name, prefix + name, ReadText(path), {}, {}, {}});
            files.back().spots = FindNumbers(files.back().text);
            files.back().definitions = FindModifiableDefinitions(files.back().text);
            files.back().scripts = FindScripts(files.back().text);
        }
    };
    add(DRAVCommon::DFK_GLOBAL, options.module, "");
    const std::string folder = std::to_string(chapter);
    add(DRAVCommon::DFK_CHAPTER, fs::path(options.module) / folder, folder + "/");
    return files;
}

bool IsMapFile(const SweptFile& file) {
    try {
        DRAVCommon::CDataFileReader reader(std::make_shared<std::istringstream>(file.text), file.name);
        return reader.PeekBlockName() == "map";
    } catch (const CDRAVException&) {
        return false;
    }
}

std::string AreaOf(const SweptFile& file) { return file.name.substr(0, file.name.rfind('.')); }

std::vector<FoundElement> FindIn(const SweptFile& file, const std::string& parent, const std::string& element) {
    std::vector<FoundElement> found = FindElements(file.text, element);
    std::erase_if(found, [&](const FoundElement& one) { return one.parent != parent || one.words.empty(); });
    return found;
}

// What the hostile bodies name, from the files the chapter's play reads: its first
// quest, spell, item, item that carries a quest tag, faction, door, monster kind,
// help page shown and encounter of the start area, where the game begins and every
// area's entries.
// `questFile` is set to the file of the quest.
HostileSetting ChooseHostileSetting(const std::vector<const SweptFile*>& files, const SweptFile*& questFile) {
    HostileSetting setting;
    auto first = [](std::string& chosen, const std::vector<std::string>& keys) {
        if (chosen.empty() && !keys.empty()) chosen = keys.front();
    };
    for (const SweptFile* file : files) {
        for (const ScriptSpot& spot : file->scripts) {
            if (spot.kind != ScriptKind::QuestCheck || setting.quest) continue;
            setting.quest = &spot;
            questFile = file;
        }
        first(setting.spell, FindDefinitionKeys(file->text, "spells", "spell"));
        first(setting.item, FindDefinitionKeys(file->text, "items", "item"));
        first(setting.questItem, FindDefinitionKeys(file->text, "items", "item", "quest"));
        first(setting.faction, FindDefinitionKeys(file->text, "factions", "faction"));
        first(setting.monster, FindDefinitionKeys(file->text, "monsters", "monster2"));
        for (const FoundElement& tile : FindIn(*file, "tiles", "tile"))
            if (setting.door.empty() && std::count(tile.words.begin(), tile.words.end(), "door"))
                setting.door = tile.words.front();
        for (const FoundElement& startup : FindElements(file->text, "startup"))
            if (startup.words.size() > 1) setting.start = {startup.words[0], startup.words[1]};
        for (const FoundElement& entry : FindIn(*file, "entries", "entry"))
            setting.entries.emplace_back(AreaOf(*file), entry.words.front());
        // The page opens only for a key the program knows.
        const std::size_t help = file->text.find("drav_help( context, \"");
        if (setting.helpPage.empty() && help != std::string::npos) {
            const std::size_t key = file->text.find('"', help) + 1;
            setting.helpPage = file->text.substr(key, file->text.find('"', key) - key);
        }
    }
    for (const SweptFile* file : files)
        if (AreaOf(*file) == setting.start.first)
            for (const FoundElement& encounter : FindIn(*file, "encounters", "encounter"))
                first(setting.encounter, {encounter.words.front()});
    return setting;
}

// Where the trap's object or the door of `spot` stands: the start area (empty), or
// another area and its first entry; false when the chapter places it nowhere.
bool FindPlacement(const ScriptSpot& spot, const std::vector<const SweptFile*>& files, const HostileSetting& setting,
                   AreaPlace& placed) {
    for (const SweptFile* file : files) {
        const std::vector<FoundElement> entries = FindIn(*file, "entries", "entry");
        if (entries.empty()) continue;
        bool here = false;
        if (spot.kind == ScriptKind::Door) {
            // A cell names its tile as "( tile facing )".
            std::string_view before;
            ForEachDataToken(file->text, [&](const DataToken& token) {
                here = here || (before == "(" && token.text == spot.owner);
                before = token.text;
            });
        } else {
            for (const FoundElement& object : FindIn(*file, "objects", "object"))
                here = here || object.words[0] == spot.owner ||
                       (object.words[0] == "(" && object.words.size() > 1 && object.words[1] == spot.owner);
        }
        if (!here) continue;
        placed = AreaOf(*file) == setting.start.first ? AreaPlace{} : AreaPlace{AreaOf(*file), entries.front().words[0]};
        return true;
    }
    return false;
}

class Sweep {
public:
    Sweep(const Options& options, std::string saves) : m_options(options), m_saves(std::move(saves)) {}

    // Returns the copies that ended badly.
    int RunChapter(std::int32_t chapter);

private:
    // The copies of one pass over `files`; `edited` counts the numbers or definitions they edit.
    std::vector<Copy> MakeCopies(const std::string& pass, const std::vector<const SweptFile*>& files,
                                 std::size_t& edited) const;
    // Plays every copy of one pass and reports them; returns those that ended badly.
    int RunPass(std::int32_t chapter, const std::string& pass, const std::vector<Copy>& copies,
                const std::shared_ptr<DRAVCommon::CDataFileFactory>& base, const QuillmereFuzz::PlayPlan& plan);
    // `hostile`: the copy's hostile script must have run, or it tested nothing.
    // `shell` handles the events of every step and talks for the play.
    std::string PlayOne(CShellEvents& shell, const std::shared_ptr<DRAVCommon::CDataFileFactory>& source,
                        const QuillmereFuzz::PlayPlan& plan, ReadRecorder* recorder, bool hostile = false) const;
    void Record(std::int32_t chapter, const std::string& pass, const Copy& copy, const RunResult& result,
                SweepTally& tally, std::vector<std::string>& findings);

    const Options& m_options;
    std::string m_saves;
    std::ofstream m_report;
};

const char* FaultAnswer(QuillmereFuzz::FaultKind kind) {
    switch (kind) {
    case QuillmereFuzz::FaultKind::GameError: return kAnswerGameError;
    case QuillmereFuzz::FaultKind::SlowStep: return kAnswerSlowStep;
    case QuillmereFuzz::FaultKind::EventFlood: return kAnswerEventFlood;
    case QuillmereFuzz::FaultKind::EmptyParty: return kAnswerEmptyParty;
    case QuillmereFuzz::FaultKind::JourneyDropped: return kAnswerJourneyDropped;
    case QuillmereFuzz::FaultKind::SaveNotLoaded: return kAnswerSaveNotLoaded;
    }
    return kAnswerGameError;
}

// Runs in the child: the game's answer to one module.
std::string Sweep::PlayOne(CShellEvents& shell, const std::shared_ptr<DRAVCommon::CDataFileFactory>& source,
                           const QuillmereFuzz::PlayPlan& base, ReadRecorder* recorder, bool hostile) const {
    QuillmereFuzz::PlayPlan plan = base;
    plan.savePath = m_saves + "/copy-" + std::to_string(getpid()) + ".drav";
    // The same rolls for every copy, so a finding repeats.
    DRAVCommon::GetRandomEngine().seed(m_options.seed);
    QuillmereFuzz::PlayStats stats;
    plan.stats = &stats;
    plan.handleEvents = [&shell](const std::shared_ptr<DRAV::CEngine>& engine) { return shell.Handle(engine); };
    plan.stepSeconds = m_options.stepSeconds;
    plan.stepEvents = m_options.stepEvents;
    std::string answer;
    try {
        const auto engine = QuillmereFuzz::PlaySample(source, plan);
        answer = hostile && !engine->GetGame()->IsQuestTagSet(kHostileMarkerTag) ? kAnswerScriptNotRun : kAnswerPlayed;
        std::ostringstream measured;
        measured << stats.steps << " steps, the slowest " << stats.slowestSeconds << " s (" << stats.slowest
                 << "), the most events " << stats.mostEvents << " (" << stats.busiest << ")";
        answer += "\n" + measured.str();
        if (recorder)
            for (const std::string& name : recorder->GetRead()) answer += "\n" + name;
    } catch (const CDRAVException& error) {
        answer = std::string(kAnswerRefused) + "\n" + error.GetMessage();
    } catch (const QuillmereFuzz::PlayFault& fault) {
        answer = std::string(FaultAnswer(fault.GetKind())) + "\n" + fault.what();
    } catch (const std::bad_alloc&) {
        answer = kAnswerOutOfMemory;
    }
    std::error_code ignored;
    fs::remove(plan.savePath, ignored);
    return answer;
}

void Sweep::Record(std::int32_t chapter, const std::string& pass, const Copy& copy, const RunResult& result,
                   SweepTally& tally, std::vector<std::string>& findings) {
    const SweptFile& file = *copy.file;
    const Judgement judgement = Judge(result, file.name);
    const std::string where = copy.Describe();
    tally.Add(judgement.outcome, result.processorSeconds, where);
    if (!IsAcceptable(judgement.outcome))
        findings.push_back(where + ": " + OutcomeName(judgement.outcome) + ": " + judgement.detail);
    if (m_report.is_open())
        m_report << chapter << '\t' << pass << '\t' << file.display << '\t' << copy.line << '\t' << copy.original
                 << '\t' << copy.edit << '\t' << OutcomeName(judgement.outcome) << '\t' << result.processorSeconds << '\t'
                 << judgement.detail << '\n';
}

int Sweep::RunChapter(std::int32_t chapter) {
    if (!m_options.report.empty() && !m_report.is_open()) {
        m_report.open(m_options.report);
        m_report << "chapter\tpass\tfile\tline\toriginal\tedit\toutcome\tprocessor_seconds\tdetail\n";
    }
    const auto base = std::make_shared<DRAVCommon::CDataFileFactoryPath>(m_options.module, chapter);
    std::vector<SweptFile> files = ListFiles(m_options, chapter);
    QuillmereFuzz::PlayPlan plan;
    plan.chapter = chapter;
    plan.ticks = m_options.ticks;
    for (const SweptFile& file : files)
        if (file.kind == DRAVCommon::DFK_CHAPTER && IsMapFile(file))
            plan.maps.push_back(file.name.substr(0, file.name.size() - 5));

    // The unedited chapter must play; what it reads is what is worth editing.
    std::set<std::string> read;
    bool baselinePlayed = false;
    {
        CIsolatedRuns runs(1, m_options.limits);
        runs.Start(
            [&] {
                auto recorder = std::make_shared<ReadRecorder>(base);
                CShellEvents shell;
                return PlayOne(shell, recorder, plan, recorder.get());
            },
            [&](const RunResult& result) {
                std::istringstream lines(result.answer);
                std::string line;
                std::getline(lines, line);
                baselinePlayed = result.end == RunEnd::Answered && line == kAnswerPlayed;
                std::getline(lines, line);  // what the play measured
                while (std::getline(lines, line)) read.insert(line);
                if (!baselinePlayed)
                    std::cerr << "chapter " << chapter << " does not play unedited: " << Judge(result, "").detail
                              << "\n";
            });
        runs.Wait();
    }
    if (!baselinePlayed) std::exit(2);

    std::vector<std::string> unread;
    std::vector<const SweptFile*> played;
    for (const SweptFile& file : files) {
        if (read.count(DRAVCommon::DescribeDataFile(file.kind, DRAVCommon::DFS_NONE, file.name)))
            played.push_back(&file);
        else
            unread.push_back(file.display);
    }
    std::cout << "chapter " << chapter << ": " << played.size() << " files read by the play";
    if (!unread.empty()) {
        std::cout << " (not read by the play:";
        for (const std::string& name : unread) std::cout << ' ' << name;
        std::cout << ")";
    }
    std::cout << std::endl;

    int findings = 0;
    for (const std::string& pass : m_options.passes) {
        std::size_t edited = 0;
        const std::vector<Copy> copies = MakeCopies(pass, played, edited);
        std::cout << "chapter " << chapter << ", " << pass << " pass: " << edited
                  << (pass == kNumbersPass     ? " numbers, "
                      : pass == kScriptsPass ? " scripts, "
                                             : " monsters and items, ")
                  << copies.size() << " copies" << std::endl;
        findings += RunPass(chapter, pass, copies, base, plan);
    }
    return findings;
}

std::vector<Copy> Sweep::MakeCopies(const std::string& pass, const std::vector<const SweptFile*>& files,
                                    std::size_t& edited) const {
    std::vector<Copy> copies;
    std::size_t index = 0;
    auto take = [&](Copy copy) {
        if (!m_options.only.empty() && copy.Describe().find(m_options.only) == std::string::npos) return;
        if (index++ % m_options.every == 0) copies.push_back(std::move(copy));
    };
    if (pass == kScriptsPass) {
        const SweptFile* questFile = nullptr;
        const HostileSetting setting = ChooseHostileSetting(files, questFile);
        for (const SweptFile* file : files) {
            edited += file->scripts.size();
            for (const ScriptSpot& spot : file->scripts) {
                AreaPlace placed;
                // A trap or a door no area of the chapter places is run by nothing a player does.
                if ((spot.kind == ScriptKind::Trap || spot.kind == ScriptKind::Door) &&
                    !FindPlacement(spot, files, setting, placed))
                    continue;
                for (HostileEdit& hostile : MakeHostileEdits(spot, file->scripts, setting, AreaOf(*file)))
                    take({file, spot.line, DescribeScript(spot), hostile.name, {}, nullptr, &spot,
                          std::move(hostile.replacements), hostile.questReplacements.empty() ? nullptr : questFile,
                          std::move(hostile.questReplacements), hostile.journeys, placed,
                          hostile.wholeParty ? TrapTread::WholeParty : TrapTread::Main});
            }
        }
        return copies;
    }
    for (const SweptFile* file : files) {
        if (pass == kNumbersPass) {
            edited += file->spots.size();
            for (const NumberSpot& spot : file->spots) {
                const std::string original = file->text.substr(spot.offset, spot.length);
                for (const std::string& value : m_options.values)
                    if (value != original) take({file, spot.line, original, value, spot, nullptr, nullptr, {}, nullptr, {}, false, {}});
            }
        } else {
            edited += file->definitions.size();
            for (const DefinitionSpot& definition : file->definitions)
                for (const char* statistic : kSpeedStatistics)
                    for (const std::string& amount : m_options.amounts) {
                        const std::string element = ModifyElement(amount, statistic);
                        take({file, definition.line, definition.key, element, {}, &definition, nullptr, {}, nullptr, {}, false, {}});
                    }
        }
    }
    return copies;
}

int Sweep::RunPass(std::int32_t chapter, const std::string& pass, const std::vector<Copy>& copies,
                   const std::shared_ptr<DRAVCommon::CDataFileFactory>& base, const QuillmereFuzz::PlayPlan& plan) {
    const auto started = std::chrono::steady_clock::now();
    SweepTally tally;
    std::vector<std::string> findings;
    {
        CIsolatedRuns runs(m_options.jobs, m_options.limits);
        for (const Copy& copy : copies) {
            runs.Start(
                [&] {
                    auto source = std::make_shared<QuillmereTest::OverlaySource>(base);
                    source->Add(copy.file->kind, DRAVCommon::DFS_NONE, copy.file->name, copy.EditedText());
                    if (copy.questFile)
                        source->Add(copy.questFile->kind, DRAVCommon::DFS_NONE, copy.questFile->name,
                                    ReplaceScripts(copy.questFile->text, copy.questReplacements));
                    CShellEvents shell;
                    if (!copy.script) return PlayOne(shell, source, plan, nullptr);
                    const auto talk = [&shell](DRAV::CEngine& engine, DRAV::ThingId partner, const std::string& state) {
                        shell.Talk(engine, partner, state);
                    };
                    QuillmereFuzz::PlayPlan reaching =
                        ReachScript(plan, *copy.script, copy.file->name, copy.placed, talk, copy.tread);
                    reaching.reachJourneys = copy.journeys;
                    return PlayOne(shell, source, reaching, nullptr, true);
                },
                [&, copy](const RunResult& result) { Record(chapter, pass, copy, result, tally, findings); });
        }
        runs.Wait();
    }
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    std::cout << tally.Summary(seconds);
    std::sort(findings.begin(), findings.end());
    for (const std::string& finding : findings) std::cout << "  " << finding << "\n";
    std::cout << std::flush;
    return static_cast<int>(findings.size());
}

// Saved games go to memory where there is a memory file system: a save waits for the disk.
std::string MakeSaveFolder() {
    for (const char* root : {"/dev/shm", "/tmp"}) {
        std::string pattern = std::string(root) + "/module_sweep.XXXXXX";
        if (mkdtemp(pattern.data())) return pattern;
    }
    std::cerr << "module_sweep: cannot make a folder for the saved games\n";
    std::exit(2);
}

}  // namespace

int main(int argc, char** argv) {
    const Options options = ParseOptions(argc, argv);
    // Each copy's shell runs without a screen or a sound device.
    setenv("SDL_VIDEODRIVER", "dummy", 0);
    setenv("SDL_AUDIODRIVER", "dummy", 0);
    const std::string saves = MakeSaveFolder();
    int findings = 0;
    {
        Sweep sweep(options, saves);
        for (const std::int32_t chapter : options.chapters) findings += sweep.RunChapter(chapter);
    }
    std::error_code ignored;
    fs::remove_all(saves, ignored);
    return findings ? 1 : 0;
}
