#include "support/child_time_limit.h"

#include <sys/prctl.h>
#include <unistd.h>

#include <csignal>
#include <cstdlib>
#include <ctime>

namespace QuillmereTest {
namespace {

constexpr int kWorkedTooLong = SIGPROF;
constexpr int kStuck = SIGALRM;
constexpr unsigned kWallPerWorkSecond = 10;

}  // namespace

void LimitChildTime(unsigned seconds) {
    sigevent event{};
    event.sigev_notify = SIGEV_SIGNAL;
    event.sigev_signo = kWorkedTooLong;
    timer_t timer{};
    itimerspec when{};
    when.it_value.tv_sec = seconds;
    if (timer_create(CLOCK_THREAD_CPUTIME_ID, &event, &timer) != 0 || timer_settime(timer, 0, &when, nullptr) != 0)
        std::_Exit(4);
    alarm(seconds * kWallPerWorkSecond);
    prctl(PR_SET_PDEATHSIG, SIGKILL);
}

std::string ChildEndedBy(int signal, unsigned seconds) {
    if (signal == kWorkedTooLong) return "worked more than " + std::to_string(seconds) + " seconds";
    if (signal == kStuck) return "ran more than " + std::to_string(seconds * kWallPerWorkSecond) + " seconds of real time";
    return "died of signal " + std::to_string(signal);
}

}  // namespace QuillmereTest
