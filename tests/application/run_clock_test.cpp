#include "application/run_clock.h"

#include <gtest/gtest.h>

using Application::RunClock;

namespace {

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
