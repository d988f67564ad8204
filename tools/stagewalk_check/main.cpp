// stagewalk-check: checks a stagewalk game folder (config.tml, shaders, asset manifest and asset
// files) and prints one line per problem. Exit status 0 clean, 1 problems, 2 could not run.
#include "stagewalk_check/command_line.h"
#include "stagewalk_check/diagnostics.h"
#include "stagewalk_check/game_check.h"
#include "stagewalk_check/game_folder.h"

#include <cstdio>
#include <exception>
#include <string>
#include <vector>

int main(int argc, char** argv) {
    using namespace StagewalkCheck;
    const CommandLine command = ParseCommandLine(std::vector<std::string>(argv + 1, argv + argc));
    if (!command.error.empty()) {
        std::fprintf(stderr, "stagewalk-check: %s\n%s", command.error.c_str(), UsageText().c_str());
        return 2;
    }
    if (command.version) {
        std::printf("stagewalk-check %s\n", STAGEWALK_VERSION);
        return 0;
    }
    if (command.help) {
        std::fputs(UsageText().c_str(), stdout);
        return 0;
    }
    const GameFolder folder(command.gameFolder);
    if (!folder.IsDirectory(".")) {
        std::fprintf(stderr, "stagewalk-check: '%s' is not a folder\n", command.gameFolder.c_str());
        return 2;
    }
    Diagnostics diagnostics;
    try {
        CheckGame(folder, diagnostics);
    } catch (const std::exception& error) {
        std::fprintf(stderr, "stagewalk-check: %s\n", error.what());
        return 2;
    }
    for (const Diagnostic& diagnostic : diagnostics.Sorted()) std::puts(Format(diagnostic).c_str());
    std::puts(Summary(diagnostics.ErrorCount(), diagnostics.WarningCount()).c_str());
    const bool problems = diagnostics.ErrorCount() > 0 || (command.strict && diagnostics.WarningCount() > 0);
    return problems ? 1 : 0;
}
