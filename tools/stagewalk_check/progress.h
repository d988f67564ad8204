// Progress of a long check on standard error: nothing while it runs under two seconds, then how far
// it has got, at most once a second (over itself on a terminal, a line at a time otherwise), and
// the end. One per check; the thread that runs the check.
#pragma once

#include <chrono>
#include <cstddef>
#include <string>

namespace StagewalkCheck {

class Progress {
public:
    static constexpr double QuietSeconds = 2.0;

    // `what` names the check ("walking the player through data/room2.obj"); `total` its units.
    Progress(std::string what, size_t total);
    ~Progress();  // ends the line, if any was shown
    Progress(const Progress&) = delete;
    Progress& operator=(const Progress&) = delete;

    // One more unit done.
    void Step();

private:
    void Show();

    std::string what;
    size_t total = 0, done = 0;
    std::chrono::steady_clock::time_point start, shown;
    bool showing = false, terminal = false;
};

}  // namespace StagewalkCheck
