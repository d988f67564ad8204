#include "stagewalk_check/command_line.h"

namespace StagewalkCheck {

CommandLine ParseCommandLine(const std::vector<std::string>& arguments) {
    CommandLine result;
    bool optionsEnded = false;
    bool folderGiven = false;
    for (const std::string& argument : arguments) {
        if (!optionsEnded && argument == "--") {
            optionsEnded = true;
        } else if (!optionsEnded && (argument == "--help" || argument == "-h")) {
            result.help = true;
        } else if (!optionsEnded && argument == "--version") {
            result.version = true;
        } else if (!optionsEnded && argument == "--strict") {
            result.strict = true;
        } else if (!optionsEnded && argument.size() > 1 && argument[0] == '-') {
            result.error = "unknown option '" + argument + "'";
            return result;
        } else if (folderGiven) {
            result.error = "more than one game folder given";
            return result;
        } else {
            result.gameFolder = argument;
            folderGiven = true;
        }
    }
    if (result.gameFolder.empty()) result.error = "the game folder is empty";
    return result;
}

std::string UsageText() {
    return "Usage: stagewalk-check [--strict] [--] [GAME_DIR]\n"
           "       stagewalk-check --help | -h | --version\n"
           "\n"
           "Checks a stagewalk game folder (default: the current directory) the way the game reads\n"
           "it: config.tml, the shader files, the asset manifest and every asset it lists. Prints one\n"
           "line per problem as FILE:LINE: error|warning: MESSAGE, paths relative to GAME_DIR, then\n"
           "a summary line.\n"
           "\n"
           "  --strict   warnings count as problems for the exit status\n"
           "  -h, --help print this text\n"
           "  --version  print the version\n"
           "  --         ends the options: a GAME_DIR that starts with a dash follows\n"
           "\n"
           "Exit status: 0 no errors (warnings allowed unless --strict), 1 problems found,\n"
           "2 the check could not run (bad arguments, GAME_DIR missing).\n";
}

}  // namespace StagewalkCheck
