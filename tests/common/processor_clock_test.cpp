#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <chrono>

#include "common/processor_clock.h"

using namespace DRAVCommon;
using namespace std::chrono_literals;

TEST(ProcessorClock, ARecentReadingLagsByAtMostItsStaleness) {
    const auto work = [](std::chrono::nanoseconds amount) {
        for (const auto start = ThreadProcessorTime(); ThreadProcessorTime() - start < amount;) {
        }
    };
    RecentThreadProcessorTime(0ns);
    work(20ms);
    // Read just now: an hour's staleness keeps it, however much the thread has worked since.
    const auto kept = RecentThreadProcessorTime(1h);
    work(5ms);
    EXPECT_EQ(RecentThreadProcessorTime(1h), kept);
    EXPECT_GE(RecentThreadProcessorTime(1ms), kept + 5ms);
    EXPECT_LE(RecentThreadProcessorTime(1ms), ThreadProcessorTime());

    // A forked child's thread starts afresh: its reading is of its own time, not its parent's.
    const pid_t child = fork();
    if (child == 0) {
        const auto reading = RecentThreadProcessorTime(1h);  // before the clock it is held against
        _exit(reading <= ThreadProcessorTime() ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
}
