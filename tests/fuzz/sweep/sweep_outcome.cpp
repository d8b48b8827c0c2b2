#include "sweep/sweep_outcome.h"

#include <algorithm>
#include <csignal>
#include <cstring>
#include <iomanip>
#include <sstream>

namespace QuillmereSweep {
namespace {

constexpr const char* kOutcomeNames[] = {
    "loaded and played", "refused naming the edited file", "refused naming another file or none",
    "save that will not load", "game error in play", "events flooding a step", "party left empty", "journey dropped", "crash", "sanitizer report", "hang", "memory past the limit",
    "hostile script never ran",
};
static_assert(std::size(kOutcomeNames) == static_cast<std::size_t>(Outcome::Count));

bool IsNameCharacter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_';
}

std::string FirstLine(const std::string& text) { return text.substr(0, text.find('\n')); }

// The line of `output` holding `marker`, or "".
std::string LineWith(const std::string& output, const char* marker) {
    const std::size_t at = output.find(marker);
    if (at == std::string::npos) return {};
    const std::size_t begin = output.rfind('\n', at);
    return FirstLine(output.substr(begin == std::string::npos ? 0 : begin + 1));
}

}  // namespace

const char* OutcomeName(Outcome outcome) { return kOutcomeNames[static_cast<std::size_t>(outcome)]; }

bool NamesFile(const std::string& message, const std::string& fileName) {
    if (fileName.empty()) return false;
    for (std::size_t at = message.find(fileName); at != std::string::npos; at = message.find(fileName, at + 1)) {
        const bool startsName = at == 0 || !IsNameCharacter(message[at - 1]);
        const std::size_t end = at + fileName.size();
        if (startsName && (end == message.size() || !IsNameCharacter(message[end]))) return true;
    }
    return false;
}

Judgement Judge(const RunResult& result, const std::string& fileName) {
    switch (result.end) {
    case RunEnd::TimeLimit:
        return {Outcome::Hang, "still working after " + std::to_string(static_cast<int>(result.processorSeconds)) +
                                   " s of processor time"};
    case RunEnd::Stuck:
        return {Outcome::Hang, "still running after " + std::to_string(static_cast<int>(result.seconds)) +
                                   " s of the clock, having worked " +
                                   std::to_string(static_cast<int>(result.processorSeconds)) + " s"};
    case RunEnd::MemoryLimit:
        return {Outcome::MemoryLimit, "killed past the resident memory limit"};
    case RunEnd::Answered: {
        const std::string head = FirstLine(result.answer);
        // A played copy's second line says what the play measured of its steps.
        if (head == kAnswerPlayed) return {Outcome::Played, FirstLine(result.answer.substr(head.size() + (head.size() < result.answer.size())))};
        if (head == kAnswerScriptNotRun) return {Outcome::ScriptNotRun, "the play never reached the edited script"};
        if (head == kAnswerOutOfMemory) return {Outcome::MemoryLimit, "std::bad_alloc"};
        const std::size_t newline = result.answer.find('\n');
        std::string message = newline == std::string::npos ? "" : result.answer.substr(newline + 1);
        std::replace(message.begin(), message.end(), '\n', ' ');
        if (head == kAnswerRefused)
            return {NamesFile(message, fileName) ? Outcome::RefusedNamingFile : Outcome::RefusedOtherwise, message};
        // Once the module is taken, whatever file a failure names, the fault is the game's.
        if (head == kAnswerSaveNotLoaded) return {Outcome::SaveNotLoaded, message};
        if (head == kAnswerGameError) return {Outcome::GameErrorInPlay, message};
        if (head == kAnswerSlowStep) return {Outcome::Hang, message};
        if (head == kAnswerEventFlood) return {Outcome::EventFlood, message};
        if (head == kAnswerEmptyParty) return {Outcome::EmptyParty, message};
        if (head == kAnswerJourneyDropped) return {Outcome::JourneyDropped, message};
        return {Outcome::Crash, "an answer the sweep does not know: " + head};
    }
    case RunEnd::Signalled:
    case RunEnd::Exited:
        break;
    }
    // The sanitizers print their report and end the process.
    if (std::string line = LineWith(result.output, "runtime error:"); !line.empty())
        return {Outcome::SanitizerReport, line};
    if (std::string line = LineWith(result.output, "ERROR: AddressSanitizer"); !line.empty()) {
        auto has = [&](const char* words) { return line.find(words) != std::string::npos; };
        if (has("out of memory") || has("allocation-size-too-big") || has("requested allocation size"))
            return {Outcome::MemoryLimit, line};
        // The sanitizer's own handler reports a fault the plain build dies of.
        if (has(": SEGV") || has(": stack-overflow") || has(": FPE") || has(": BUS") || has(": ILL"))
            return {Outcome::Crash, line};
        return {Outcome::SanitizerReport, line};
    }
    std::string detail = result.end == RunEnd::Signalled
                             ? std::string("signal ") + std::to_string(result.signal) + " (" + strsignal(result.signal) + ")"
                             : "exit status " + std::to_string(result.exitStatus);
    if (std::string line = LineWith(result.output, "terminate called"); !line.empty()) detail += ": " + line;
    return {Outcome::Crash, detail};
}

void SweepTally::Add(Outcome outcome, double seconds, const std::string& copy) {
    ++m_counts[static_cast<std::size_t>(outcome)];
    m_seconds.push_back(seconds);
    if (seconds > m_slowestSeconds) {
        m_slowestSeconds = seconds;
        m_slowest = copy;
    }
}

std::string SweepTally::Summary(double seconds) const {
    std::ostringstream text;
    text << std::fixed << std::setprecision(1);
    for (std::size_t i = 0; i < m_counts.size(); ++i)
        text << "  " << std::left << std::setw(38) << kOutcomeNames[i] << std::right << std::setw(7) << m_counts[i]
             << "\n";
    std::vector<double> sorted = m_seconds;
    std::sort(sorted.begin(), sorted.end());
    if (!sorted.empty())
        text << "  a copy worked " << std::setprecision(3) << sorted[sorted.size() / 2] << " s at the median, "
             << m_slowestSeconds << " s at the slowest (" << m_slowest << ")\n";
    text << std::setprecision(1) << "  " << seconds << " s in all\n";
    return text.str();
}

}  // namespace QuillmereSweep
