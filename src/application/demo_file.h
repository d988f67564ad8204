// Demo files: the recording of every frame's input (its measured time, the mouse movement, the keys
// and mouse buttons not up) that replays a run bit for bit; the writer that records one frame at a
// time into a fresh file and puts it in place at the end, and the reader that checks a whole file in
// one pass. Owned by the application shell; main thread only.
#pragma once

#include "common/atomic_file.h"

#include <glm/glm.hpp>

#include <cstdint>
#include <string>
#include <vector>

namespace Application {

// The first line of every demo: the format and its number, raised whenever an older demo would
// read or replay otherwise.
inline constexpr const char* kDemoFormat = "stagewalk demo 2";

struct DemoHeader {
    std::string version;       // the program's version
    std::string room;          // the LevelIdentity of the level it was recorded in
    float sensitivity = 1.0f;  // the look settings the run used (a replay uses these, not config.tml's)
    bool invert = false;
};

// A key or mouse button that was not up in a frame.
struct DemoInput {
    uint16_t code;
    uint8_t state;  // Held, Pressed or Released
};

struct DemoFrame {
    double delta = 0.0;           // seconds, as the loop measured it
    glm::vec2 mouse{0.0f, 0.0f};  // the frame's mouse movement, as the look takes it
    uint32_t first = 0;           // its keys, then its buttons, start at Demo::inputs[first]
    uint16_t keys = 0;
    uint16_t buttons = 0;
};

struct Demo {
    DemoHeader header;
    std::vector<DemoFrame> frames;
    std::vector<DemoInput> inputs;  // every frame's keys and buttons in ascending code, frame after frame
    bool ended = false;             // the recording closed normally (its end line is there)
    glm::vec3 endPosition{0.0f};    // the player's feet at the end, when ended

    // Frame `index`'s states into tables of ControlState's sizes; every entry not listed is Up.
    void Fill(size_t index, std::vector<int>& keyStates, std::vector<int>& buttonStates) const;
};

// The most a demo may hold; a larger file is refused rather than read into memory. Codes are held
// to ControlState's table sizes and states to Held..Released (Up is never listed).
namespace DemoLimits {
inline constexpr size_t MaxFrames = 2000000;  // over nine hours at 60 frames a second
inline constexpr size_t MaxBytes = size_t{64} << 20;
}  // namespace DemoLimits

class DemoWriter {
public:
    // Starts the recording of `path` in a fresh file beside it (Common::AtomicFile) and writes the
    // header; `path` itself is not touched until Close. False and a one-line `error` ("Demo FILE:
    // reason") when it cannot: a link or folder at `path`, a folder that cannot be written, a header
    // a demo cannot hold.
    bool Open(const std::string& path, const DemoHeader& header, std::string& error);
    // One frame, written at once, so that a crash keeps every frame played so far in the fresh file.
    // Allocates nothing. States are the tables' raw ints; codes beyond ControlState's tables are left
    // out. After a failed write nothing more is written, and Close reports it.
    void WriteFrame(double delta, glm::vec2 mouse, const int* keyStates, int keyCount,
                    const int* buttonStates, int buttonCount);
    // The end line (frame count and player position), then the recording takes the place of `path`.
    // False and `error` ("Demo not saved: FILE: reason") when any write, sync or the rename failed;
    // `path` is then as it was.
    bool Close(glm::vec3 playerFeet, std::string& error);
    void Abandon() { file.Abandon(); }  // the recording is dropped; `path` stays as it was
    uint64_t FrameCount() const { return frameCount; }
    bool IsOpen() const { return file.IsOpen(); }
    const std::string& FreshPath() const { return file.FreshPath(); }

private:
    void Put(const char* text, size_t size);

    Common::AtomicFile file;
    uint64_t frameCount = 0;
    bool overlong = false;  // a line did not fit `line` (it cannot: every key and button fits)
    char line[8192];
};

// Reads a demo. On failure returns false and sets `error` to one line, "Demo FILE: reason": missing,
// unreadable, not a regular file or too large, not a demo (or one of an older format), cut mid-line,
// damaged (which line and what), or recorded with another version or in another room than
// `expectedVersion` / `expectedRoom`. A file whose lines are whole but that has no end line (a
// recording cut short by a crash) reads, with ended = false. Never throws.
bool ReadDemo(const std::string& path, const std::string& expectedVersion, const std::string& expectedRoom,
              Demo& demo, std::string& error);
// The same for a game of several levels: the demo's room must be one of `expectedRooms` (the
// identities of the levels it may be played in), and names the level it replays.
bool ReadDemo(const std::string& path, const std::string& expectedVersion,
              const std::vector<std::string>& expectedRooms, Demo& demo, std::string& error);

}  // namespace Application
