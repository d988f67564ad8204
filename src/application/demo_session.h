// What the command line asks of demos: none, record the game into a file (--record), replay one in
// real time (--play) or as fast as frames draw (--timedemo). Owns the writer or the demo read, puts
// each recorded frame's input in place of the live one while the game reads it, and prints the
// closing lines. Owned by the application shell; main thread only.
#pragma once

#include "application/demo_file.h"

#include <chrono>
#include <string>
#include <vector>

namespace Application {

class DemoSession {
public:
    enum class Mode { Off, Record, Play, Timedemo };

    // What the command line asked for (ReadCommandLine): the mode and its file.
    void Select(Mode demoMode, const std::string& demoPath);

    Mode GetMode() const { return mode; }
    bool Replaying() const { return mode == Mode::Play || mode == Mode::Timedemo; }
    const std::string& GetPath() const { return path; }
    // The look settings the frames are to be read with: the demo's in a replay, else the given.
    DemoHeader GetLook(float sensitivity, bool invert) const;

    // Before the window opens: starts the recording in the level of identity rooms[0], or reads the
    // demo to replay, which must have been recorded in one of `rooms` (the identities of the levels
    // it may play in; GetRoom then says which). Throws std::runtime_error with one line naming the
    // file and the reason.
    void Prepare(const std::vector<std::string>& rooms, const DemoHeader& look);
    // The identity of the level recorded or replayed, once prepared.
    const std::string& GetRoom() const { return Replaying() ? demo.header.room : writerRoom; }

    // A frame of the game (assets loaded), before the game reads input: records the live input, or
    // puts the next recorded frame's in its place and returns its time; otherwise returns `delta`.
    // In a replay with no frame left it returns 0 and Ended() turns true.
    double BeginFrame(double delta);
    // After the game's update: a replay gives the live input back (before the shortcuts read it).
    void EndFrame();
    bool Ended() const { return ended; }
    // In a replay, the file to photograph the frame just drawn into, or null. The frames are chosen by
    // the environment: STAGEWALK_DEMO_SHOTS="DIR:F1,F2,..." asks for DIR/frame-F.ppm after F frames,
    // so pictures of a replay show the same moments on any machine (the tour uses it).
    const std::string* TakeShot();

    // At the end of the program, with the player's feet: puts the recording in place of its file and
    // prints "Demo saved", or prints "Demo ended" (and the timedemo figures). Once; nothing when off.
    // With `unsaved` (why not), or when it cannot be put in place, the recording is dropped, the file
    // stays as it was, "Demo not saved: FILE: reason" is printed and the result is false.
    bool Finish(glm::vec3 feet, const char* unsaved = nullptr);

    // Median and 99th percentile of `frameTimes` (seconds; sorted here), nearest rank.
    static void Percentiles(std::vector<double>& frameTimes, double& median, double& p99);

private:
    void ReadShots();
    Mode mode = Mode::Off;
    std::string path;
    DemoWriter writer;
    std::string writerRoom;
    Demo demo;
    size_t next = 0;  // the next frame to replay
    bool ended = false;
    bool swapped = false;
    bool finished = false;
    std::vector<int> keys;     // the replayed frame's tables, swapped with the live ones
    std::vector<int> buttons;  // while the game reads them
    glm::vec2 mouse{0.0f, 0.0f};
    std::vector<std::chrono::steady_clock::time_point> frameStarts;  // timedemo, reserved up front
    std::vector<std::pair<size_t, std::string>> shots;               // ascending frames
    std::string shot;
};

}  // namespace Application
