#pragma once
// Limits for a child process that a test runs work in: it is ended once its thread
// has worked its time, however long a busy machine makes that take, or once it has
// run ten times as long of the clock, stuck waiting for something; and it ends
// with its parent.

#include <sys/prctl.h>
#include <unistd.h>

#include <csignal>
#include <cstdlib>
#include <ctime>
#include <string>

namespace QuillmereTest {

constexpr unsigned kWallPerWorkSecond = 10;

// In the child, before the work: SIGPROF once it has worked `seconds`, SIGALRM once stuck.
inline void LimitChildTime(unsigned seconds) {
    sigevent event{};
    event.sigev_notify = SIGEV_SIGNAL;
    event.sigev_signo = SIGPROF;
    timer_t timer{};
    itimerspec when{};
    when.it_value.tv_sec = seconds;
    if (timer_create(CLOCK_THREAD_CPUTIME_ID, &event, &timer) != 0 || timer_settime(timer, 0, &when, nullptr) != 0)
        std::_Exit(4);
    alarm(seconds * kWallPerWorkSecond);
    prctl(PR_SET_PDEATHSIG, SIGKILL);
}

// What ended a child that a signal ended: the limit it passed, or the signal.
inline std::string ChildEndedBy(int signal, unsigned seconds) {
    if (signal == SIGPROF) return "worked more than " + std::to_string(seconds) + " seconds";
    if (signal == SIGALRM)
        return "ran more than " + std::to_string(seconds * kWallPerWorkSecond) + " seconds of real time";
    return "died of signal " + std::to_string(signal);
}

}  // namespace QuillmereTest
