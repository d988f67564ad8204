#include "stagewalk_check/command_line.h"

#include "stagewalk_check/diagnostics.h"

#include <gtest/gtest.h>

namespace {

using namespace StagewalkCheck;

TEST(CommandLineTest, OptionsAndTheGameFolder) {
    struct Case {
        std::vector<std::string> arguments;
        bool help;
        bool version;
        bool strict;
        const char* folder;
        const char* error;
    };
    const Case cases[] = {
        {{}, false, false, false, ".", ""},
        {{"game"}, false, false, false, "game", ""},
        {{"--strict", "game"}, false, false, true, "game", ""},
        {{"-h"}, true, false, false, ".", ""},
        {{"--version"}, false, true, false, ".", ""},
        {{"--", "--odd-name"}, false, false, false, "--odd-name", ""},
        {{"--verbose"}, false, false, false, ".", "unknown option '--verbose'"},
        {{"a", "b"}, false, false, false, "a", "more than one game folder given"},
        {{""}, false, false, false, "", "the game folder is empty"},
    };
    for (const Case& c : cases) {
        const CommandLine line = ParseCommandLine(c.arguments);
        EXPECT_EQ(line.help, c.help);
        EXPECT_EQ(line.version, c.version);
        EXPECT_EQ(line.strict, c.strict);
        EXPECT_EQ(line.gameFolder, c.folder);
        EXPECT_EQ(line.error, c.error);
    }
}

TEST(DiagnosticsTest, SortedByFileThenLineWithWholeFileProblemsLast) {
    Diagnostics out;
    out.Error("config.tml", 0, "a");
    out.Warning("config.tml", 7, "b");
    out.Error("data/assets.tml", 3, "c");
    out.Warning("config.tml", 2, "d");
    std::string order;
    for (const Diagnostic& d : out.Sorted()) order += d.message;
    EXPECT_EQ(order, "dbac");
    EXPECT_EQ(Format(out.All()[0]), "config.tml: error: a");
    EXPECT_EQ(Format(out.All()[1]), "config.tml:7: warning: b");
    EXPECT_EQ(Summary(out.ErrorCount(), out.WarningCount()), "stagewalk-check: 2 errors, 2 warnings");
    EXPECT_EQ(Summary(1, 0), "stagewalk-check: 1 error, 0 warnings");
}

}  // namespace
