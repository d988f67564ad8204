#include "application/command_line.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using Application::CommandLine;
using Mode = Application::DemoSession::Mode;

CommandLine Read(const std::vector<std::string>& arguments) {
    std::vector<const char*> argv{"stagewalk"};
    for (const std::string& argument : arguments) argv.push_back(argument.c_str());
    return Application::ReadCommandLine(static_cast<int>(argv.size()), argv.data());
}

TEST(CommandLine, TakesEachOptionInBothFormsAndTheLastDemoOptionWins) {
    const struct {
        std::vector<std::string> arguments;
        Mode mode;
        const char* path;
    } cases[] = {
        {{}, Mode::Off, ""},
        {{"--record", "a.tml"}, Mode::Record, "a.tml"},
        {{"--play=b.tml"}, Mode::Play, "b.tml"},
        {{"--record", "a.tml", "--timedemo", "c.tml"}, Mode::Timedemo, "c.tml"},
        {{"--play=-odd name.tml"}, Mode::Play, "-odd name.tml"},
    };
    for (const auto& c : cases) {
        const CommandLine line = Read(c.arguments);
        EXPECT_EQ(line.demoMode, c.mode) << testing::PrintToString(c.arguments);
        EXPECT_EQ(line.demoPath, c.path);
    }
    EXPECT_EQ(Read({"--level", "yard", "--play", "p.tml"}).level, "yard");
    EXPECT_EQ(Read({"--level=tower"}).level, "tower");
    EXPECT_TRUE(Read({"--list-levels"}).listLevels);
    EXPECT_TRUE(Read({"-h"}).help);
    EXPECT_TRUE(Read({"--version"}).version);
}

// The program's refusals are in e2e/arguments_test.sh; these are the reader's own finer points.
TEST(CommandLine, AValueIsNeverAnOptionNorGivenToAFlag) {
    const struct {
        std::vector<std::string> arguments;
        const char* reason;
    } cases[] = {
        {{"--play", "--record", "x.tml"}, "--play needs a FILE"},
        {{"--help=yes"}, "--help takes no value"},
        {{"demo.tml"}, "unknown argument 'demo.tml'"},
        {{"--timedemo", ""}, "--timedemo needs a FILE"},
        {{"--level", "-x"}, "--level needs a NAME"},
    };
    for (const auto& c : cases) {
        try {
            Read(c.arguments);
            ADD_FAILURE() << "taken: " << testing::PrintToString(c.arguments);
        } catch (const Application::UsageError& error) {
            EXPECT_STREQ(error.what(), c.reason);
        }
    }
}

}  // namespace
