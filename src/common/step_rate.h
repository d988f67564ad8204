// The rate the world moves at: a step is one frame of a 60 Hz display, and every speed, time and
// count of steps in the game is tuned for it. The loop's frame period, the shell's time scale, the
// frame counter, the clocks, the records and the tools all derive from this number. Any thread.
#pragma once

namespace Common {

inline constexpr int StepsPerSecond = 60;

}  // namespace Common
