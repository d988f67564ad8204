#include "application/demo_session.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using Application::DemoSession;

namespace {

TEST(DemoSession, TheLastDemoOptionWithAFileWinsAndOtherArgumentsAreIgnored) {
    const struct {
        std::vector<std::string> arguments;
        DemoSession::Mode mode;
        const char* path;
    } cases[] = {
        {{}, DemoSession::Mode::Off, ""},
        {{"--fullscreen", "x.tml"}, DemoSession::Mode::Off, ""},
        {{"--record", "a.tml"}, DemoSession::Mode::Record, "a.tml"},
        {{"--play=b.tml"}, DemoSession::Mode::Play, "b.tml"},
        {{"--record", "a.tml", "--timedemo", "c.tml"}, DemoSession::Mode::Timedemo, "c.tml"},
        {{"--play"}, DemoSession::Mode::Off, ""},
        {{"--play="}, DemoSession::Mode::Off, ""},
        {{"--playing", "b.tml"}, DemoSession::Mode::Off, ""},
        {{"--play", "--record"}, DemoSession::Mode::Play, "--record"},
    };
    for (const auto& c : cases) {
        std::vector<char*> argv{const_cast<char*>("stagewalk")};
        for (const std::string& argument : c.arguments) argv.push_back(const_cast<char*>(argument.c_str()));
        DemoSession session;
        session.ReadArguments(static_cast<int>(argv.size()), argv.data());
        EXPECT_EQ(session.GetMode(), c.mode)
            << c.arguments.size() << " arguments, first " << (c.arguments.empty() ? "" : c.arguments[0]);
        EXPECT_EQ(session.GetPath(), c.path);
    }
}

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
