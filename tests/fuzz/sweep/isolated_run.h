#pragma once
// Runs pieces of work each in a child process of its own, several at a time, so
// that a crash, a sanitizer's report, a hang or a runaway allocation of one ends
// only that child and is told apart from the others. The work's answer is a text
// the child hands back; what it wrote to its standard output and error is kept.

#include <cstddef>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace QuillmereSweep {

struct RunLimits {
    double seconds = 60.0;                 // processor time of the child, all its threads
    std::size_t memoryBytes = 2ull << 30;  // resident set
    // For a child stuck waiting for something, which spends no processor time:
    // how long of the clock it may run (0: no limit), and how long it may go
    // without working at all (0: not watched). The first must be far above what
    // a busy machine makes of `seconds`; the second holds however busy it is.
    double wallSeconds = 600.0;
    double idleSeconds = 0.0;
};

enum class RunEnd {
    Answered,     // the work returned, its text in `answer`
    Signalled,    // ended by a signal: `signal`
    Exited,       // ended without answering, with `exitStatus`
    TimeLimit,    // killed past the time limit
    MemoryLimit,  // killed past the memory limit
    Stuck,        // killed past the clock's limits, short of the time limit
};

struct RunResult {
    RunEnd end = RunEnd::Answered;
    std::string answer;
    std::string output;  // standard output and error, at most the first 64 KiB
    int signal = 0;
    int exitStatus = 0;
    double seconds = 0.0;           // of the wall clock
    double processorSeconds = 0.0;  // that the child worked
};

class CIsolatedRuns {
public:
    CIsolatedRuns(unsigned jobs, RunLimits limits);
    ~CIsolatedRuns();
    CIsolatedRuns(const CIsolatedRuns&) = delete;
    CIsolatedRuns& operator=(const CIsolatedRuns&) = delete;

    // Starts `work` in a child as soon as fewer than `jobs` run; `done` is called
    // here, in the parent, once it has ended. The parent must hold no other threads.
    void Start(std::function<std::string()> work, std::function<void(const RunResult&)> done);
    // Until every child started has ended.
    void Wait();

private:
    struct Child;
    // Reaps and reports the children that have ended or broken a limit; with
    // `block`, waits until at least one has.
    void Reap(bool block);

    unsigned m_jobs;
    RunLimits m_limits;
    std::vector<std::unique_ptr<Child>> m_running;
};

}  // namespace QuillmereSweep
