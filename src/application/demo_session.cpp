#include "application/demo_session.h"

#include "application/control_state.h"
#include "application/vpad.h"
#include "common/strict_number.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <stdexcept>

namespace Application {

namespace {

// Equal text means equal floats.
void PrintFeet(glm::vec3 feet) { std::printf("player at %.9g %.9g %.9g\n", feet.x, feet.y, feet.z); }

}  // namespace

void DemoSession::Select(Mode demoMode, const std::string& demoPath) {
    mode = demoMode;
    path = demoPath;
}

DemoHeader DemoSession::GetLook(float sensitivity, bool invert) const {
    if (Replaying()) return demo.header;
    DemoHeader look;
    look.sensitivity = sensitivity;
    look.invert = invert;
    return look;
}

void DemoSession::Prepare(const std::vector<std::string>& rooms, const DemoHeader& look) {
    std::string error;
    if (mode == Mode::Record) {
        DemoHeader header = look;
        header.version = STAGEWALK_VERSION;
        header.room = writerRoom = rooms.empty() ? std::string() : rooms.front();
        if (!writer.Open(path, header, error)) throw std::runtime_error(error);
    } else if (Replaying()) {
        if (!ReadDemo(path, STAGEWALK_VERSION, rooms, demo, error)) throw std::runtime_error(error);
        keys.assign(ControlState::KeyCount, ControlState::Up);
        buttons.assign(ControlState::ButtonCount, ControlState::Up);
        frameStarts.reserve(demo.frames.size() + 1);
        ReadShots();
    }
}

void DemoSession::ReadShots() {
    const char* value = std::getenv("STAGEWALK_DEMO_SHOTS");
    if (value == nullptr) return;
    const std::string text = value;
    const size_t colon = text.rfind(':');
    if (colon == std::string::npos) return;
    const std::string folder = text.substr(0, colon);
    std::istringstream frames(text.substr(colon + 1));
    for (std::string frame; std::getline(frames, frame, ',');) {
        size_t at = 0;
        if (Common::StrictNumber::ParseWhole(frame, at) && at > 0)
            shots.emplace_back(at, folder + "/frame-" + frame + ".ppm");
    }
    std::sort(shots.begin(), shots.end());
}

const std::string* DemoSession::TakeShot() {
    if (shots.empty() || shots.front().first != next) return nullptr;
    shot = shots.front().second;
    shots.erase(shots.begin());
    return &shot;
}

double DemoSession::BeginFrame(double delta) {
    if (mode == Mode::Record) {
        const std::vector<int>& keyStates = ControlState::GetKeyStates();
        const std::vector<int>& buttonStates = ControlState::GetButtonStates();
        writer.WriteFrame(delta, Vpad::GetLookMovement(), keyStates.data(),
                          static_cast<int>(keyStates.size()), buttonStates.data(),
                          static_cast<int>(buttonStates.size()));
        return delta;
    }
    if (!Replaying()) return delta;
    if (mode == Mode::Timedemo && !ended) frameStarts.push_back(std::chrono::steady_clock::now());
    if (next >= demo.frames.size()) {
        ended = true;
        return 0.0;
    }
    const DemoFrame& frame = demo.frames[next];
    demo.Fill(next++, keys, buttons);
    mouse = frame.mouse;
    ControlState::SwapInput(keys, buttons, mouse);
    swapped = true;
    return frame.delta;
}

void DemoSession::EndFrame() {
    if (!swapped) return;
    ControlState::SwapInput(keys, buttons, mouse);
    swapped = false;
}

void DemoSession::Percentiles(std::vector<double>& times, double& median, double& p99) {
    median = p99 = 0.0;
    if (times.empty()) return;
    std::sort(times.begin(), times.end());
    const auto rank = [&](double fraction) {
        const size_t at = static_cast<size_t>(std::ceil(fraction * static_cast<double>(times.size())));
        return times[std::min(times.size(), std::max<size_t>(at, 1)) - 1];
    };
    median = rank(0.5);
    p99 = rank(0.99);
}

bool DemoSession::Finish(glm::vec3 feet, const char* unsaved) {
    if (finished || mode == Mode::Off) return true;
    finished = true;
    if (mode == Mode::Record) {
        std::string error;
        if (unsaved != nullptr) {
            writer.Abandon();
            error = "Demo not saved: " + path + ": " + unsaved;
        } else if (writer.Close(feet, error)) {
            std::printf("Demo saved: %s, %llu frames, ", path.c_str(),
                        static_cast<unsigned long long>(writer.FrameCount()));
            PrintFeet(feet);
            std::fflush(stdout);
            return true;
        }
        std::printf("%s\n", error.c_str());
        std::fflush(stdout);
        return false;
    }
    if (ended) {
        std::printf("Demo ended: %zu frames, ", demo.frames.size());
    } else {
        std::printf("Demo stopped after %zu of %zu frames, ", next, demo.frames.size());
    }
    PrintFeet(feet);
    // A replay on the build that recorded it ends where the recording did; say so when it does not.
    if (ended && demo.ended && demo.endPosition != feet) {
        std::printf("Demo diverged: the recording ended with the ");
        PrintFeet(demo.endPosition);
    }
    if (mode == Mode::Timedemo && frameStarts.size() >= 2) {
        // Frame i's time runs from its start to the next frame's; the last ends where the replay
        // found no frame left.
        std::vector<double> times;
        for (size_t i = 1; i < frameStarts.size(); ++i)
            times.push_back(std::chrono::duration<double>(frameStarts[i] - frameStarts[i - 1]).count());
        const double total = std::chrono::duration<double>(frameStarts.back() - frameStarts.front()).count();
        const size_t frames = times.size();
        double median = 0.0;
        double p99 = 0.0;
        Percentiles(times, median, p99);
        std::printf("Timedemo: %zu frames in %.3f s (%.1f frames per second)\n", frames, total,
                    total > 0.0 ? static_cast<double>(frames) / total : 0.0);
        std::printf("Frame time: median %.2f ms, 99th percentile %.2f ms\n", median * 1000.0, p99 * 1000.0);
    }
    std::fflush(stdout);
    return true;
}

}  // namespace Application
