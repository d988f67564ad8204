// Demo files: the recording of every frame's input (its measured time, the mouse movement, the keys
// and mouse buttons not up) that replays a run bit for bit, the writer that records one frame at a
// time and the reader that checks a whole file. Owned by the application shell; main thread only.
#pragma once

#include <glm/glm.hpp>

#include <cstdint>
#include <cstdio>
#include <string>
#include <utility>
#include <vector>

namespace Application {

struct DemoHeader {
    std::string version;       // the program's version
    std::string room;          // the LevelIdentity of the level it was recorded in
    float sensitivity = 1.0f;  // the look settings the run used (a replay uses these, not config.tml's)
    bool invert = false;
};

struct DemoFrame {
    double delta = 0.0;                        // seconds, as the loop measured it
    glm::vec2 mouse{0.0f, 0.0f};               // the frame's mouse movement
    std::vector<std::pair<int, int>> keys;     // (code, state) of every key not Up, ascending code
    std::vector<std::pair<int, int>> buttons;  // the same for mouse buttons
};

struct Demo {
    DemoHeader header;
    std::vector<DemoFrame> frames;
    bool ended = false;           // the recording closed normally (end node present)
    glm::vec3 endPosition{0.0f};  // the player's feet at the end, when ended
};

// The most a demo may hold; a larger file is refused rather than read into memory. Codes are held
// to ControlState's table sizes and states to Held..Released (Up is never listed).
namespace DemoLimits {
inline constexpr size_t MaxFrames = 2000000;  // over nine hours at 60 frames a second
inline constexpr long long MaxBytes = 64ll * 1024 * 1024;
}  // namespace DemoLimits

class DemoWriter {
public:
    DemoWriter() = default;
    ~DemoWriter();  // closes an open file without the end node: it reads as a recording cut short
    DemoWriter(const DemoWriter&) = delete;
    DemoWriter& operator=(const DemoWriter&) = delete;

    // Creates (truncates) `path` and writes the header; false and a one-line `error` naming the file
    // and the reason when it cannot. A file still open is closed first, as the destructor does.
    bool Open(const std::string& path, const DemoHeader& header, std::string& error);
    // One frame, written and flushed at once so a crash keeps every frame played so far. Allocates
    // nothing. States are the tables' raw ints; codes beyond ControlState's tables are left out.
    // Does nothing when not open or after a failed write.
    void WriteFrame(double delta, glm::vec2 mouse, const int* keyStates, int keyCount,
                    const int* buttonStates, int buttonCount);
    // The end node (frame count and player position), then close. Safe to call when not open.
    void Close(glm::vec3 playerFeet);
    uint64_t FrameCount() const { return frameCount; }
    bool IsOpen() const { return file != nullptr; }
    // A write or flush failed since Open (a full disk, say): nothing more is written, and the file
    // ends where the failure left it.
    bool Failed() const { return failed; }

private:
    bool Put(const char* text, size_t size);  // one write and flush; false (and Failed) when short

    std::FILE* file = nullptr;
    uint64_t frameCount = 0;
    bool failed = false;
    char line[8192];  // a frame with every key and button listed at any int state fits
};

// Reads a demo. On failure returns false and sets `error` to one line, "Demo FILE: reason": missing
// or unreadable, not a demo, cut mid-line, damaged (which frame or line and what), too large, or
// recorded with another version or in another room than `expectedVersion` / `expectedRoom`. A file
// whose lines are whole but that has no end node (a recording cut short by a crash) reads, with
// ended = false. Never throws.
bool ReadDemo(const std::string& path, const std::string& expectedVersion, const std::string& expectedRoom,
              Demo& demo, std::string& error);
// The same for a game of several levels: the demo's room must be one of `expectedRooms` (the
// identities of the levels it may be played in), and names the level it replays.
bool ReadDemo(const std::string& path, const std::string& expectedVersion,
              const std::vector<std::string>& expectedRooms, Demo& demo, std::string& error);

}  // namespace Application
