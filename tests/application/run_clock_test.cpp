#include "application/run_clock.h"

#include <gtest/gtest.h>

#include <string>

using Application::RunClock;

namespace {

TEST(RunClock, SecondsAreRoundedHundredthsOfWholeSteps) {
    const struct {
        int64_t steps;
        const char* text;
    } cases[] = {{0, "0.00"},  {1, "0.02"},    {3, "0.05"},    {59, "0.98"},
                 {60, "1.00"}, {739, "12.32"}, {741, "12.35"}, {216000, "3600.00"}};
    for (const auto& c : cases) {
        char out[32];
        RunClock::FormatSeconds(c.steps, out, sizeof out);
        EXPECT_EQ(std::string(out), c.text) << c.steps << " steps";
    }
}

TEST(RunClock, CountsFromTheFirstMovingFrameToTheFinishAndRestartsOnReset) {
    RunClock run;
    run.OnFrameInput(false);
    EXPECT_FALSE(run.OnStep(true)) << "standing on the finish before moving times nothing";
    run.OnFrameInput(true);
    for (int i = 0; i < 9; ++i) EXPECT_FALSE(run.OnStep(false));
    EXPECT_TRUE(run.OnStep(true));
    EXPECT_EQ(run.GetSteps(), 10);
    EXPECT_FALSE(run.OnStep(true)) << "a finished run ends once";
    run.OnFrameInput(true);
    EXPECT_EQ(run.GetPhase(), RunClock::Phase::Finished);
    EXPECT_EQ(run.GetSteps(), 10);
    run.Reset();
    EXPECT_EQ(run.GetPhase(), RunClock::Phase::Waiting);
    EXPECT_EQ(run.GetSteps(), 0);
}

}  // namespace
