#include "application/settings.h"

#include "application/config_keys.h"
#include "support/scratch_dir.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace {

using IntParse = Application::ValueParse;
using Application::ReadSettings;
using Application::Settings;

class SettingsTest : public ::testing::Test {
protected:
    Settings Read(const std::string& body) {
        return ReadSettings(dir.Write("config.tml", "@ tangly-ml-v-020\n" + body));
    }
    std::string ErrorOf(const std::string& body) {
        try {
            Read(body);
        } catch (const std::runtime_error& e) {
            return e.what();
        }
        return "(no error)";
    }
    TestSupport::ScratchDir dir;
};

TEST_F(SettingsTest, MissingFileGivesTheDefaults) {
    const Settings s = ReadSettings(dir.File("config.tml"));
    EXPECT_EQ(s.windowSize, Engine::Point(640, 480));
    EXPECT_FALSE(s.fullscreen);
    EXPECT_FALSE(s.canvasEnabled);
    EXPECT_EQ(s.fps, 60.0f);
    EXPECT_EQ(s.canvasSize, Engine::Point(640, 480));
    EXPECT_EQ(s.assetPath, "");
    EXPECT_EQ(s.shaderPath, "");
    EXPECT_FALSE(s.vsync);
    EXPECT_EQ(s.sensitivity, 1.0f);
    EXPECT_FALSE(s.invert);
    EXPECT_EQ(s.volume, 0.8f);
    EXPECT_FALSE(s.muted);
}

TEST_F(SettingsTest, EveryKeyOfEveryGroup) {
    const Settings s = Read(
        "{ application\n"
        "  { window\n    ! width 1024\n    ! height 768\n    ! fullscreen true\n  }\n"
        "  { canvas\n    ! width 320\n    ! height 200\n    ! enabled true\n  }\n"
        "  { properties\n    ! fps 30\n    ! assetpath data/assets.tml\n    ! shaderpath shaders\n  }\n"
        "  { window\n    ! vsync true\n  }\n  { controls\n    ! sensitivity 2.5\n    ! invert true\n  }\n"
        "  { audio\n    ! volume 0.25\n    ! muted true\n  }\n"
        "}\n");
    EXPECT_EQ(s.windowSize, Engine::Point(1024, 768));
    EXPECT_TRUE(s.fullscreen);
    EXPECT_EQ(s.canvasSize, Engine::Point(320, 200));
    EXPECT_TRUE(s.canvasEnabled);
    EXPECT_EQ(s.fps, 30.0f);
    EXPECT_EQ(s.assetPath, "data/assets.tml");
    EXPECT_EQ(s.shaderPath, "shaders");
    EXPECT_TRUE(s.vsync);
    EXPECT_EQ(s.sensitivity, 2.5f);
    EXPECT_TRUE(s.invert);
    EXPECT_EQ(s.volume, 0.25f);
    EXPECT_TRUE(s.muted);
}

TEST_F(SettingsTest, OnlyExactTrueIsTrue) {
    for (const char* text : {"yes", "TRUE", "True", "1", "truee", "\"\"", "on", "\" true\""}) {
        const Settings s = Read(std::string("{ application\n{ window\n! fullscreen ") + text + "\n}\n}\n");
        EXPECT_FALSE(s.fullscreen) << text;
    }
    EXPECT_TRUE(Read("{ application\n{ window\n! fullscreen \"true\"\n}\n}\n").fullscreen);
}

TEST_F(SettingsTest, LastValueWinsAcrossNodesAndGroups) {
    const Settings s = Read(
        "{ application\n{ canvas\n! width 100\n! width 200\n}\n{ canvas\n! width 300\n}\n}\n"
        "{ application\n{ canvas\n! width 400\n}\n}\n");
    EXPECT_EQ(s.canvasSize.x, 400);
    EXPECT_EQ(s.canvasSize.y, 480);
}

TEST_F(SettingsTest, IgnoresWhatItDoesNotKnow) {
    const Settings s = Read(
        "{ app\n{ window\n! width 1\n}\n}\n"
        "{ application\n! width 2\n"
        "  { properties\n! width 3\n! Fps 4\n}\n"
        "  { Window\n! width 5\n}\n"
        "  { other\n{ window\n! width 6\n}\n}\n"
        "}\n");
    EXPECT_EQ(s.windowSize, Engine::Point(640, 480));
    EXPECT_EQ(s.fps, 60.0f);
}

TEST_F(SettingsTest, OnlyFullscreenKeepsTheDefaultWindowSizeForTheWayBack) {
    const Settings s = Read("{ application\n{ window\n! fullscreen true\n}\n}\n");
    EXPECT_TRUE(s.fullscreen);
    EXPECT_EQ(s.windowSize, Engine::Point(640, 480));
}

TEST_F(SettingsTest, PositiveNumbersAsWritten) {
    for (const auto& [text, number] : {std::pair{"3", 3.0f}, {".5", 0.5f}, {"2.", 2.0f}, {"0.1", 0.1f}}) {
        EXPECT_EQ(
            Read(std::string("{ application\n{ controls\n! sensitivity ") + text + "\n}\n}\n").sensitivity,
            number)
            << text;
    }
}

struct IntCase {
    const char* text;
    IntParse result;
    int value;
};

TEST(ParseInt, BehavesLikeTheStandardConversion) {
    const IntCase cases[] = {
        {"800", IntParse::Ok, 800},
        {"800px", IntParse::Ok, 800},
        {" -5", IntParse::Ok, -5},
        {"+7", IntParse::Ok, 7},
        {"30.5", IntParse::Ok, 30},
        {"0", IntParse::Ok, 0},
        {"\v\f\r 12", IntParse::Ok, 12},
        {"2147483647", IntParse::Ok, 2147483647},
        {"-2147483648", IntParse::Ok, -2147483647 - 1},
        {"0000000000000000000042", IntParse::Ok, 42},
        {"2147483648", IntParse::OutOfRange, 0},
        {"-2147483649", IntParse::OutOfRange, 0},
        {"99999999999999999999999999", IntParse::OutOfRange, 0},
        {"abc", IntParse::Invalid, 0},
        {"", IntParse::Invalid, 0},
        {"-", IntParse::Invalid, 0},
        {"+-3", IntParse::Invalid, 0},
        {"px800", IntParse::Invalid, 0},
        {"\xC2\xA0"
         "5",
         IntParse::Invalid, 0},  // a no-break space is not white space
    };
    for (const IntCase& c : cases) {
        int value = 0;
        EXPECT_EQ(Application::ParseInt(c.text, value), c.result) << c.text;
        if (c.result == IntParse::Ok) {
            EXPECT_EQ(value, c.value) << c.text;
        }
    }
}

TEST_F(SettingsTest, RefusedValuesNameFileGroupKeyAndText) {
    const std::string path = dir.File("config.tml");
    EXPECT_EQ(ErrorOf("{ application\n{ window\n! width abc\n}\n}\n"),
              "Invalid integer 'abc' for window/width in " + path);
    EXPECT_EQ(ErrorOf("{ application\n{ canvas\n! height 4294967296\n}\n}\n"),
              "Integer out of range '4294967296' for canvas/height in " + path);
    EXPECT_EQ(ErrorOf("{ application\n{ properties\n! fps fast\n}\n}\n"),
              "Invalid integer 'fast' for properties/fps in " + path);
    const struct {
        const char* written;
        const char* value;
    } notPositive[] = {{"0", "0"},     {"0.0", "0.0"},  {"-1", "-1"}, {"1.5x", "1.5x"},
                       {"1,5", "1,5"}, {"1e2", "1e2"},  {".", "."},   {"1.2.3", "1.2.3"},
                       {"\"\"", ""},   {"\" 2\"", " 2"}};
    for (const auto& c : notPositive) {
        EXPECT_EQ(ErrorOf(std::string("{ application\n{ controls\n! sensitivity ") + c.written + "\n}\n}\n"),
                  std::string("Invalid positive number '") + c.value + "' for controls/sensitivity in " +
                      path + " (a number above 0, such as 1.5)");
    }
    // A volume is a fraction of the sound as made: silence is one, more than all of it is none.
    for (const char* volume : {"1.01", "-0.5", "2", "80%", "loud", ".", "\"\""}) {
        const std::string written = volume;
        const std::string value = written == "\"\"" ? "" : written;
        EXPECT_EQ(ErrorOf("{ application\n{ audio\n! volume " + written + "\n}\n}\n"),
                  "Invalid number '" + value + "' for audio/volume in " + path +
                      " (a number from 0 to 1, such as 0.8)");
    }
    EXPECT_EQ(Read("{ application\n{ audio\n! volume 0\n}\n}\n").volume, 0.0f);
    EXPECT_EQ(Read("{ application\n{ audio\n! volume 1.0\n}\n}\n").volume, 1.0f);
    for (const char* group : {"window", "controls", "audio"}) {
        const std::string key = group[0] == 'w' ? "vsync" : group[0] == 'c' ? "invert" : "muted";
        EXPECT_EQ(ErrorOf(std::string("{ application\n{ ") + group + "\n! " + key + " True\n}\n}\n"),
                  "Invalid boolean 'True' for " + std::string(group) + "/" + key + " in " + path +
                      " (true or false)");
    }
    // A bad value under a key nobody reads is no error.
    EXPECT_EQ(ErrorOf("{ application\n{ window\n! depth abc\n}\n}\n"), "(no error)");
}

TEST_F(SettingsTest, MarkupErrorsPassThroughUnchanged) {
    const std::string path = dir.Write("config.tml", "{ application\n}\n");
    try {
        ReadSettings(path);
        FAIL() << "expected an error";
    } catch (const std::runtime_error& e) {
        EXPECT_EQ(std::string(e.what()), "Header missing in " + path + "!");
    }
}

}  // namespace
