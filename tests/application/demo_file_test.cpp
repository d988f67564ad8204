#include "application/demo_file.h"

#include "application/control_state.h"
#include "support/scratch_dir.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <cstring>
#include <string>
#include <vector>

namespace {

using Application::ControlState;
using Application::Demo;
using Application::DemoHeader;
using Application::DemoWriter;
using Application::ReadDemo;

constexpr const char* kVersion = "1.0.0";
constexpr const char* kRoom = "0123456789abcdef";

template <typename T>
bool SameBits(T a, T b) {
    return std::memcmp(&a, &b, sizeof a) == 0;
}

struct Recorded {
    double delta;
    glm::vec2 mouse;
    std::vector<std::pair<int, int>> keys;
    std::vector<std::pair<int, int>> buttons;
};

class DemoFileTest : public ::testing::Test {
protected:
    // Records `frames` through the writer, closing the file with the end node when `close`.
    std::string Record(const std::vector<Recorded>& frames, bool close,
                       DemoHeader header = {kVersion, kRoom}) {
        const std::string path = dir.File("run.demo");
        DemoWriter writer;
        std::string error;
        EXPECT_TRUE(writer.Open(path, header, error)) << error;
        for (const Recorded& frame : frames) {
            std::vector<int> keys(ControlState::KeyCount, ControlState::Up);
            std::vector<int> buttons(ControlState::ButtonCount, ControlState::Up);
            for (auto [code, state] : frame.keys) keys[static_cast<size_t>(code)] = state;
            for (auto [code, state] : frame.buttons) buttons[static_cast<size_t>(code)] = state;
            writer.WriteFrame(frame.delta, frame.mouse, keys.data(), static_cast<int>(keys.size()),
                              buttons.data(), static_cast<int>(buttons.size()));
        }
        EXPECT_EQ(writer.FrameCount(), frames.size());
        if (close) writer.Close({1.5f, -0.25f, 1e-7f});
        return path;
    }
    TestSupport::ScratchDir dir;
};

TEST_F(DemoFileTest, WhatIsWrittenReadsBackBitForBit) {
    const std::vector<Recorded> frames = {
        {1.0 / 60.0, {0.0f, -0.0f}, {}, {}},
        {0.1, {0.1f, -123.456f}, {{0, 1}, {32, 2}, {87, 1}, {347, 3}}, {{0, 2}, {15, 3}}},
        {4.9e-324, {1e-45f, FLT_MAX}, {}, {{1, 1}}},
        {DBL_MAX, {-FLT_MIN, 3.0f}, {{65, 2}}, {}},
    };
    DemoHeader header{kVersion, kRoom, 0.3f, true};
    const std::string path = Record(frames, true, header);
    Demo demo;
    std::string error;
    ASSERT_TRUE(ReadDemo(path, kVersion, kRoom, demo, error)) << error;
    EXPECT_EQ(demo.header.version, kVersion);
    EXPECT_EQ(demo.header.room, kRoom);
    EXPECT_TRUE(SameBits(demo.header.sensitivity, 0.3f));
    EXPECT_TRUE(demo.header.invert);
    ASSERT_EQ(demo.frames.size(), frames.size());
    for (size_t i = 0; i < frames.size(); ++i) {
        EXPECT_TRUE(SameBits(demo.frames[i].delta, frames[i].delta)) << "frame " << i;
        EXPECT_TRUE(SameBits(demo.frames[i].mouse.x, frames[i].mouse.x)) << "frame " << i;
        EXPECT_TRUE(SameBits(demo.frames[i].mouse.y, frames[i].mouse.y)) << "frame " << i;
        EXPECT_EQ(demo.frames[i].keys, frames[i].keys) << "frame " << i;
        EXPECT_EQ(demo.frames[i].buttons, frames[i].buttons) << "frame " << i;
    }
    EXPECT_TRUE(demo.ended);
    EXPECT_TRUE(SameBits(demo.endPosition.z, 1e-7f));
}

TEST_F(DemoFileTest, ARecordingCutShortByACrashKeepsItsFrames) {
    const std::string path = Record({{0.02, {1, 2}, {{87, 2}}, {}}, {0.02, {0, 0}, {{87, 1}}, {}}}, false);
    Demo demo;
    std::string error;
    ASSERT_TRUE(ReadDemo(path, kVersion, kRoom, demo, error)) << error;
    EXPECT_FALSE(demo.ended);
    ASSERT_EQ(demo.frames.size(), 2u);
    EXPECT_EQ(demo.frames[1].keys, (std::vector<std::pair<int, int>>{{87, 1}}));
}

TEST_F(DemoFileTest, EachBadFileGivesOneLineWithItsReason) {
    const std::string head =
        "@ tangly-ml-v-020\n{ demo\n! version 1.0.0\n! room 0123456789abcdef\n"
        "! sensitivity 1\n! invert false\n}\n{ frames\n! f \"0.02 0 0\"\n";
    const std::string end = "}\n{ end\n! frames 2\n! player \"0 0 0\"\n}\n";
    struct Case {
        const char* what;
        std::string text;  // empty: no file at all
        const char* reason;
    };
    const std::vector<Case> cases = {
        {"missing", "", "cannot be opened (No such file or directory)"},
        {"not tml", "hello\n", "not a demo (Header missing"},
        {"no demo node", "@ tangly-ml-v-020\n{ frames\n}\n", "not a demo (no demo node)"},
        {"cut mid-line", head + "! f \"0.02 1", "cut mid-line"},
        {"bad number", head + "! f \"0.02 0 1x\"\n" + end, "frame 2, line 10: bad number '1x' for the mouse"},
        {"zero delta", head + "! f \"0 0 0\"\n" + end, "bad number '0' for the frame's time"},
        {"bad state", head + "! f \"0.02 0 0 k87=4\"\n" + end, "state 4 of key 87 out of 1..3"},
        {"up listed", head + "! f \"0.02 0 0 b3=0\"\n" + end, "state 0 of button 3 out of 1..3"},
        {"bad code", head + "! f \"0.02 0 0 k348=1\"\n" + end, "key code 348 out of 0..347"},
        {"order", head + "! f \"0.02 0 0 k9=1 k8=1\"\n" + end, "key 8 listed twice or out of order"},
        {"wrong room", head + "! f \"0.02 0 0\"\n" + end,
         "recorded in room '0123456789abcdef', this game's room is 'fedcba9876543210'"},
        {"wrong version", head + "! f \"0.02 0 0\"\n" + end,
         "recorded with version '1.0.0', this game is version '2.0'"},
        {"end count", head + end, "line 12: the end counts 2 frames, the file holds 1"},
    };
    for (const Case& c : cases) {
        const std::string path = c.text.empty() ? dir.File("absent.demo") : dir.Write("bad.demo", c.text);
        const std::string room = std::string(c.what) == "wrong room" ? "fedcba9876543210" : kRoom;
        const std::string version = std::string(c.what) == "wrong version" ? "2.0" : kVersion;
        Demo demo;
        std::string error;
        EXPECT_FALSE(ReadDemo(path, version, room, demo, error)) << c.what;
        EXPECT_EQ(error.rfind("Demo " + path + ": ", 0), 0u) << c.what << ": " << error;
        EXPECT_NE(error.find(c.reason), std::string::npos) << c.what << ": " << error;
        EXPECT_EQ(error.find('\n'), std::string::npos) << c.what;
        EXPECT_TRUE(demo.frames.empty()) << c.what;
    }
}

TEST_F(DemoFileTest, AWriterThatCannotCreateItsFileSaysWhy) {
    DemoWriter writer;
    std::string error;
    const std::string path = dir.File("no/such/folder.demo");
    EXPECT_FALSE(writer.Open(path, {kVersion, kRoom}, error));
    EXPECT_EQ(error, "Demo " + path + ": cannot be created (No such file or directory)");
    EXPECT_FALSE(writer.IsOpen());
    writer.Close({0, 0, 0});  // harmless when not open
}

}  // namespace
