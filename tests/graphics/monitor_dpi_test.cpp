#include <gtest/gtest.h>

#include <cmath>

#include "graphics/monitor_dpi.h"

namespace {

TEST(MonitorDpi, ScaleFollowsTheDensityButNeverDropsBelowTheBaseLayout) {
    EXPECT_EQ(DRAVCommon::ScalePercentForDpi(96.0f), 100u);
    EXPECT_EQ(DRAVCommon::ScalePercentForDpi(144.0f), 150u);
    EXPECT_EQ(DRAVCommon::ScalePercentForDpi(72.0f), 100u);
    EXPECT_EQ(DRAVCommon::ScalePercentForDpi(NAN), 100u);
    EXPECT_EQ(DRAVCommon::ScalePercentForDpi(1e9f), 1000u);  // a nonsense report stays bounded
}

}  // namespace
