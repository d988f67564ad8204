#include "application/demo_session.h"

#include <gtest/gtest.h>

#include <vector>

using Application::DemoSession;

namespace {

TEST(DemoSession, PercentilesTakeTheNearestRank) {
    std::vector<double> times;
    for (int i = 100; i >= 1; --i) times.push_back(i);
    double median = 0, p99 = 0;
    DemoSession::Percentiles(times, median, p99);
    EXPECT_EQ(median, 50.0);
    EXPECT_EQ(p99, 99.0);
    times = {7.0};
    DemoSession::Percentiles(times, median, p99);
    EXPECT_EQ(median, 7.0);
    EXPECT_EQ(p99, 7.0);
}

}  // namespace
