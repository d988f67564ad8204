// What the game did on its steps that a player hears: a footfall, a jump, a landing (with how hard),
// a respawn, the finish. The game fills it while a frame's steps run and the shell plays it after
// the update, so a replay sounds on the same steps as its recording. A fixed array: filling it never
// allocates. Owned by the Game; main thread only.
#pragma once

#include <array>
#include <cstddef>

namespace Application {

enum class Cue { Footstep, Jump, Land, Respawn, Finish };
inline constexpr size_t kCueCount = 5;

struct CueEvent {
    Cue cue = Cue::Footstep;
    float loudness = 1.0f;  // 0 to 1: a landing's force; 1 for the others
};

class StepCues {
public:
    // More than the voices could play at once; a frame of many steps (a stall) keeps the first ones.
    static constexpr size_t kCapacity = 16;

    void Clear() { count = 0; }
    void Push(Cue cue, float loudness = 1.0f) {
        if (count < kCapacity) events[count++] = CueEvent{cue, loudness};
    }
    size_t Size() const { return count; }
    const CueEvent* begin() const { return events.data(); }
    const CueEvent* end() const { return events.data() + count; }

private:
    std::array<CueEvent, kCapacity> events{};
    size_t count = 0;
};

}  // namespace Application
