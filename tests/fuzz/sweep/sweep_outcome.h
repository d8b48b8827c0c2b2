#pragma once
// How the module sweep sorts a played copy: from what the child answered, or how
// it ended, to one outcome; and the counts and times of a chapter's copies.

#include <array>
#include <cstddef>
#include <string>
#include <vector>

#include "sweep/isolated_run.h"

namespace QuillmereSweep {

// The first line of a child's answer.
inline constexpr const char* kAnswerPlayed = "played";
// A load refused the module, or an area or a map of it.
inline constexpr const char* kAnswerRefused = "refused";  // the message follows on the next line
// Faults of the game once it took the module, each with its message on the next line:
// it could not save the game or load its own save back,
inline constexpr const char* kAnswerSaveNotLoaded = "save not loaded";
// an error other than a script's ended a step of play,
inline constexpr const char* kAnswerGameError = "game error in play";
// a step took longer than a player waits,
inline constexpr const char* kAnswerSlowStep = "slow step";
// a step queued a flood of events,
inline constexpr const char* kAnswerEventFlood = "event flood";
// the party was left empty,
inline constexpr const char* kAnswerEmptyParty = "party left empty";
// a journey an entry script began was never made.
inline constexpr const char* kAnswerJourneyDropped = "journey dropped";
inline constexpr const char* kAnswerOutOfMemory = "out of memory";
// The copy played through, but the script it was made for never ran: it tested nothing.
inline constexpr const char* kAnswerScriptNotRun = "script not run";

enum class Outcome {
    Played,
    RefusedNamingFile,
    RefusedOtherwise,
    SaveNotLoaded,
    GameErrorInPlay,
    EventFlood,
    EmptyParty,
    JourneyDropped,
    Crash,
    SanitizerReport,
    Hang,
    MemoryLimit,
    ScriptNotRun,
    Count
};

const char* OutcomeName(Outcome outcome);
// Played, or a load refused with the edited file named: what the game owes a module author.
inline bool IsAcceptable(Outcome outcome) { return outcome == Outcome::Played || outcome == Outcome::RefusedNamingFile; }

struct Judgement {
    Outcome outcome;
    std::string detail;  // one line: the refusal, the signal, the sanitizer's first words
};

// `fileName` is the edited file's name ("magic.drav"), as a refusal must name it.
Judgement Judge(const RunResult& result, const std::string& fileName);

// True when `message` names `fileName` as a file: not as the tail of a longer name.
bool NamesFile(const std::string& message, const std::string& fileName);

class SweepTally {
public:
    // A copy that worked `seconds` of processor time.
    void Add(Outcome outcome, double seconds, const std::string& copy);
    std::size_t Count(Outcome outcome) const { return m_counts[static_cast<std::size_t>(outcome)]; }
    // The counts, the median and slowest copy, and `seconds` of the clock taken in all.
    std::string Summary(double seconds) const;

private:
    std::array<std::size_t, static_cast<std::size_t>(Outcome::Count)> m_counts{};
    std::vector<double> m_seconds;
    double m_slowestSeconds = -1.0;
    std::string m_slowest;
};

}  // namespace QuillmereSweep
