#include "sweep/isolated_run.h"

#include <chrono>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <fstream>
#include <stdexcept>
#include <sys/mman.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace QuillmereSweep {
namespace {

using Clock = std::chrono::steady_clock;

constexpr std::size_t kMostOutput = 64 * 1024;
constexpr auto kPollInterval = std::chrono::milliseconds(3);

int MakeMemoryFile(const char* name) {
    const int fd = memfd_create(name, MFD_CLOEXEC);
    if (fd < 0) throw std::runtime_error(std::string("memfd_create: ") + std::strerror(errno));
    return fd;
}

std::string ReadBack(int fd, std::size_t most) {
    std::string text(most, '\0');
    const ssize_t count = pread(fd, text.data(), most, 0);
    text.resize(count > 0 ? static_cast<std::size_t>(count) : 0);
    return text;
}

void WriteAll(int fd, const std::string& text) {
    std::size_t written = 0;
    while (written < text.size()) {
        const ssize_t count = write(fd, text.data() + written, text.size() - written);
        if (count <= 0) return;
        written += static_cast<std::size_t>(count);
    }
}

// The processor time the child has worked so far; 0 when it cannot be read.
double ProcessorSeconds(pid_t pid) {
    clockid_t clock{};
    timespec spent{};
    if (clock_getcpuclockid(pid, &clock) != 0 || clock_gettime(clock, &spent) != 0) return 0.0;
    return static_cast<double>(spent.tv_sec) + static_cast<double>(spent.tv_nsec) / 1e9;
}

double Seconds(const timeval& time) {
    return static_cast<double>(time.tv_sec) + static_cast<double>(time.tv_usec) / 1e6;
}

// The child's resident set from /proc; 0 when it cannot be read.
std::size_t ResidentBytes(pid_t pid) {
    std::ifstream statm("/proc/" + std::to_string(pid) + "/statm");
    std::size_t total = 0, resident = 0;
    statm >> total >> resident;
    return resident * static_cast<std::size_t>(sysconf(_SC_PAGESIZE));
}

}  // namespace

struct CIsolatedRuns::Child {
    pid_t pid = -1;
    int answerFd = -1;
    int outputFd = -1;
    Clock::time_point started;
    double worked = 0.0;             // the processor time it had spent when last looked at
    Clock::time_point workedAt;      // when that grew last
    RunEnd killedFor = RunEnd::Answered;  // a limit it was killed for
    std::function<void(const RunResult&)> done;

    ~Child() {
        if (answerFd >= 0) close(answerFd);
        if (outputFd >= 0) close(outputFd);
    }
};

CIsolatedRuns::CIsolatedRuns(unsigned jobs, RunLimits limits) : m_jobs(jobs ? jobs : 1), m_limits(limits) {}

CIsolatedRuns::~CIsolatedRuns() {
    for (const auto& child : m_running) {
        kill(child->pid, SIGKILL);
        waitpid(child->pid, nullptr, 0);
    }
}

void CIsolatedRuns::Start(std::function<std::string()> work, std::function<void(const RunResult&)> done) {
    while (m_running.size() >= m_jobs) Reap(true);
    auto child = std::make_unique<Child>();
    child->answerFd = MakeMemoryFile("answer");
    child->outputFd = MakeMemoryFile("output");
    child->done = std::move(done);
    std::fflush(nullptr);  // nothing buffered is written twice
    child->started = child->workedAt = Clock::now();
    child->pid = fork();
    if (child->pid < 0) throw std::runtime_error(std::string("fork: ") + std::strerror(errno));
    if (child->pid == 0) {
        dup2(child->outputFd, STDOUT_FILENO);
        dup2(child->outputFd, STDERR_FILENO);
        const std::string answer = work();
        WriteAll(child->answerFd, answer);
        // No destructors and no exit handlers: the parent's objects are not the child's to end.
        _exit(0);
    }
    m_running.push_back(std::move(child));
}

void CIsolatedRuns::Wait() {
    while (!m_running.empty()) Reap(true);
}

void CIsolatedRuns::Reap(bool block) {
    for (;;) {
        bool reaped = false;
        for (std::size_t i = 0; i < m_running.size();) {
            Child& child = *m_running[i];
            const Clock::time_point now = Clock::now();
            const double seconds = std::chrono::duration<double>(now - child.started).count();
            int status = 0;
            rusage usage{};
            const pid_t ended = wait4(child.pid, &status, WNOHANG, &usage);
            if (ended == 0) {
                if (child.killedFor == RunEnd::Answered) {
                    // Judged on the work the child did, so that a busy machine makes no hangs.
                    const double worked = ProcessorSeconds(child.pid);
                    if (worked > child.worked) child.worked = worked, child.workedAt = now;
                    const double idle = std::chrono::duration<double>(now - child.workedAt).count();
                    if (worked > m_limits.seconds) child.killedFor = RunEnd::TimeLimit;
                    else if ((m_limits.wallSeconds > 0 && seconds > m_limits.wallSeconds) ||
                             (m_limits.idleSeconds > 0 && idle > m_limits.idleSeconds))
                        child.killedFor = RunEnd::Stuck;
                    else if (ResidentBytes(child.pid) > m_limits.memoryBytes) child.killedFor = RunEnd::MemoryLimit;
                    if (child.killedFor != RunEnd::Answered) kill(child.pid, SIGKILL);
                }
                ++i;
                continue;
            }
            RunResult result;
            result.seconds = seconds;
            result.processorSeconds = Seconds(usage.ru_utime) + Seconds(usage.ru_stime);
            result.output = ReadBack(child.outputFd, kMostOutput);
            if (child.killedFor != RunEnd::Answered) {
                result.end = child.killedFor;
            } else if (WIFSIGNALED(status)) {
                result.end = RunEnd::Signalled;
                result.signal = WTERMSIG(status);
            } else if (WEXITSTATUS(status) != 0) {
                result.end = RunEnd::Exited;
                result.exitStatus = WEXITSTATUS(status);
            } else {
                result.answer = ReadBack(child.answerFd, kMostOutput);
            }
            const auto done = std::move(child.done);
            m_running.erase(m_running.begin() + static_cast<std::ptrdiff_t>(i));
            done(result);
            reaped = true;
        }
        if (reaped || !block) return;
        std::this_thread::sleep_for(kPollInterval);
    }
}

}  // namespace QuillmereSweep
