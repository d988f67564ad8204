#include "application/demo_file.h"

#include "application/control_state.h"
#include "support/scratch_dir.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <cstring>
#include <filesystem>
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

    std::vector<int> Table(bool ofKeys) const {
        std::vector<int> table(ofKeys ? ControlState::KeyCount : ControlState::ButtonCount, ControlState::Up);
        for (auto [code, state] : ofKeys ? keys : buttons) table[static_cast<size_t>(code)] = state;
        return table;
    }
};

class DemoFileTest : public ::testing::Test {
protected:
    // Records `frames` through the writer into `writer`, left open.
    void Record(DemoWriter& writer, const std::vector<Recorded>& frames,
                DemoHeader header = {kVersion, kRoom}) {
        std::string error;
        ASSERT_TRUE(writer.Open(path, header, error)) << error;
        for (const Recorded& frame : frames) {
            const std::vector<int> keys = frame.Table(true), buttons = frame.Table(false);
            writer.WriteFrame(frame.delta, frame.mouse, keys.data(), static_cast<int>(keys.size()),
                              buttons.data(), static_cast<int>(buttons.size()));
        }
        EXPECT_EQ(writer.FrameCount(), frames.size());
    }
    TestSupport::ScratchDir dir;
    const std::string path = dir.File("run.demo");
};

TEST_F(DemoFileTest, WhatIsWrittenReadsBackBitForBitOnceInPlace) {
    const std::vector<Recorded> frames = {
        {1.0 / 60.0, {0.0f, -0.0f}, {}, {}},
        {0.1, {0.1f, -123.456f}, {{0, 1}, {32, 2}, {87, 1}, {347, 3}}, {{0, 2}, {15, 3}}},
        {4.9e-324, {1e-45f, FLT_MAX}, {}, {{1, 1}}},
        {DBL_MAX, {-FLT_MIN, 3.0f}, {{65, 2}}, {}},
    };
    dir.Write("run.demo", "the demo it replaces\n");
    DemoWriter writer;
    Record(writer, frames, {kVersion, kRoom, 0.3f, true});
    EXPECT_EQ(TestSupport::ReadFile(path), "the demo it replaces\n") << "replaced before the end";
    std::string error;
    ASSERT_TRUE(writer.Close({1.5f, -0.25f, 1e-7f}, error)) << error;
    Demo demo;
    ASSERT_TRUE(ReadDemo(path, kVersion, kRoom, demo, error)) << error;
    EXPECT_EQ(demo.header.version, kVersion);
    EXPECT_EQ(demo.header.room, kRoom);
    EXPECT_TRUE(SameBits(demo.header.sensitivity, 0.3f));
    EXPECT_TRUE(demo.header.invert);
    ASSERT_EQ(demo.frames.size(), frames.size());
    std::vector<int> keys(ControlState::KeyCount), buttons(ControlState::ButtonCount);
    for (size_t i = 0; i < frames.size(); ++i) {
        EXPECT_TRUE(SameBits(demo.frames[i].delta, frames[i].delta)) << "frame " << i;
        EXPECT_TRUE(SameBits(demo.frames[i].mouse, frames[i].mouse)) << "frame " << i;
        demo.Fill(i, keys, buttons);
        EXPECT_EQ(keys, frames[i].Table(true)) << "frame " << i;
        EXPECT_EQ(buttons, frames[i].Table(false)) << "frame " << i;
    }
    EXPECT_TRUE(demo.ended);
    EXPECT_TRUE(SameBits(demo.endPosition.z, 1e-7f));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()), {}), 1) << "no fresh file left";
}

// What a crash leaves: the fresh file beside the demo holds every frame played, without the end.
TEST_F(DemoFileTest, ARecordingCutShortByACrashKeepsItsFrames) {
    DemoWriter writer;
    Record(writer, {{0.02, {1, 2}, {{87, 2}}, {}}, {0.02, {0, 0}, {{87, 1}}, {}}});
    Demo demo;
    std::string error;
    ASSERT_TRUE(ReadDemo(writer.FreshPath(), kVersion, kRoom, demo, error)) << error;
    EXPECT_FALSE(demo.ended);
    ASSERT_EQ(demo.frames.size(), 2u);
    EXPECT_EQ(demo.inputs[demo.frames[1].first].code, 87);
    writer.Abandon();
    EXPECT_FALSE(std::filesystem::exists(path));
}

TEST_F(DemoFileTest, EachBadFileGivesOneLineWithItsReason) {
    const std::string head =
        "stagewalk demo 2\n# a note\nversion 1.0.0\nroom 0123456789abcdef\nsensitivity 1\ninvert false\n"
        "f 0.02 0 0\n";
    struct Case {
        const char* what;
        std::string text;  // empty: no file at all
        const char* reason;
    };
    const std::vector<Case> cases = {
        {"missing", "", ": No such file or directory"},
        {"empty", "\n", "not a demo (its first line is not 'stagewalk demo 2')"},
        {"old format", "@ tangly-ml-v-020\n{ demo\n", "is a demo of an older format"},
        {"no room", "stagewalk demo 2\nversion 1.0.0\nsensitivity 1\n",
         "line 3: the header's room line is missing"},
        {"cut mid-line", head + "f 0.02 1", "cut mid-line"},
        {"bad number", head + "f 0.02 0 1x\nend 2 0 0 0\n", "line 8: bad number '1x' for the mouse movement"},
        {"zero delta", head + "f 0 0 0\n", "line 8: the frame's time is not above 0"},
        {"bad state", head + "f 0.02 0 0 k87=4\n", "entry 'k87=4' is out of order or of range"},
        {"up listed", head + "f 0.02 0 0 b3=0\n", "entry 'b3=0' is out of order or of range"},
        {"bad code", head + "f 0.02 0 0 k348=1\n",
         "entry 'k348=1' is out of order or of range (codes 0..347"},
        {"order", head + "f 0.02 0 0 k9=1 k8=1\n", "entry 'k8=1' is out of order"},
        {"key after a button", head + "f 0.02 0 0 b1=1 k8=1\n", "entry 'k8=1' is out of order"},
        {"not an entry", head + "f 0.02 0 0 x1=1\n", "bad entry 'x1=1'"},
        {"unknown line", head + "frame 1\n", "line 8: unknown line 'frame 1'"},
        {"wrong room", head, "recorded in room '0123456789abcdef', this game's room is 'fedcba9876543210'"},
        {"wrong version", head, "recorded with version '1.0.0', this game is version '2.0'"},
        {"end count", head + "end 2 0 0 0\n", "line 8: the end counts 2 frames, the file holds 1"},
        {"after the end", head + "end 1 0 0 0\nf 0.02 0 0\n", "line 9: a line after the end"},
    };
    for (const Case& c : cases) {
        const std::string file = c.text.empty() ? dir.File("absent.demo") : dir.Write("bad.demo", c.text);
        const std::string room = std::string(c.what) == "wrong room" ? "fedcba9876543210" : kRoom;
        const std::string version = std::string(c.what) == "wrong version" ? "2.0" : kVersion;
        Demo demo;
        std::string error;
        EXPECT_FALSE(ReadDemo(file, version, room, demo, error)) << c.what;
        EXPECT_EQ(error.rfind("Demo " + file + ": ", 0), 0u) << c.what << ": " << error;
        EXPECT_NE(error.find(c.reason), std::string::npos) << c.what << ": " << error;
        EXPECT_EQ(error.find('\n'), std::string::npos) << c.what;
        EXPECT_TRUE(demo.frames.empty()) << c.what;
    }
}

}  // namespace
