// The checker's command line: options, the game folder, and the usage text. Pure; any thread.
#pragma once

#include <string>
#include <vector>

namespace StagewalkCheck {

struct CommandLine {
    bool help = false;     // --help or -h: print the usage and stop
    bool version = false;  // --version: print the version and stop
    bool strict = false;   // --strict: warnings make the exit status 1 too
    std::string gameFolder = ".";
    std::string error;  // set when the arguments cannot be used
};

// Reads the arguments after the program name. "--" ends the options.
CommandLine ParseCommandLine(const std::vector<std::string>& arguments);
// The text --help prints.
std::string UsageText();

}  // namespace StagewalkCheck
