#include "stagewalk_check/progress.h"

#include <cstdio>
#include <utility>

#include <unistd.h>

namespace StagewalkCheck {

Progress::Progress(std::string what, size_t total)
    : what(std::move(what)),
      total(total),
      start(std::chrono::steady_clock::now()),
      shown(start),
      terminal(isatty(fileno(stderr)) != 0) {}

Progress::~Progress() {
    if (!showing) return;
    done = total;
    Show();
    if (terminal) std::fputc('\n', stderr);
}

void Progress::Step() {
    ++done;
    // The clock is read once per 64 units: a unit is a few microseconds at the least.
    if (done % 64 != 0) return;
    const auto now = std::chrono::steady_clock::now();
    const double running = std::chrono::duration<double>(now - start).count();
    if (running < QuietSeconds || std::chrono::duration<double>(now - shown).count() < 1.0) return;
    shown = now;
    Show();
}

void Progress::Show() {
    showing = true;
    const unsigned percent = total == 0 ? 100u : static_cast<unsigned>(done * 100 / total);
    std::fprintf(stderr, "%sstagewalk-check: %s: %u%% (%zu of %zu)%s", terminal ? "\r" : "", what.c_str(),
                 percent, done, total, terminal ? "" : "\n");
    std::fflush(stderr);
}

}  // namespace StagewalkCheck
