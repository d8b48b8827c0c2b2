#include <gtest/gtest.h>

#include <vector>

#include "common/trace.h"

TEST(Trace, SinkReceivesFormattedLinesAtOrAboveTheLevel) {
    std::vector<std::string> lines;
    auto previous = DRAVCommon::SetTraceSink([&](int level, const char*, int, const char*, const std::string& text) {
        lines.push_back(std::to_string(level) + ":" + text);
    });
    DRAVCommon::SetTraceLevel(DRAVCommon::TRACE_HIGH);
    DRAV_TRACE(DRAVCommon::TRACE_LOW, "dropped %d", 1);
    DRAV_TRACE(DRAVCommon::TRACE_HIGH, "kept %s %d", "x", 2);
    DRAVCommon::SetTraceLevel(DRAVCommon::TRACE_LOW);
    DRAV_TRACE(DRAVCommon::TRACE_LOW, "%s", "");
    DRAVCommon::SetTraceSink(previous);
    DRAV_TRACE(DRAVCommon::TRACE_HIGH, "after the sink is gone");
    EXPECT_EQ(lines, (std::vector<std::string>{"1:kept x 2", "0:"}));
}
