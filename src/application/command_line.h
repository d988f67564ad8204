// The program's command line: the options it takes, one row each in the table of command_line.cpp,
// from which the reader, the usage line and --help are all made. Read once by the application shell
// before anything else; a command line it does not take ends the program with the reason and the
// usage line on standard error and status 2, before any window. Main thread.
#pragma once

#include "application/demo_session.h"

#include <stdexcept>
#include <string>

namespace Application {

struct CommandLine {
    DemoSession::Mode demoMode = DemoSession::Mode::Off;  // the last demo option given wins
    std::string demoPath;
    std::string level;        // --level NAME: the level to start on; empty: the first
    bool listLevels = false;  // --list-levels: print the levels and their best times, then stop
    bool help = false;
    bool version = false;
};

// A command line the program does not take; what() is the reason, one line without the program name.
struct UsageError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// Reads the arguments after the program's name. An option's value follows it (--play FILE) or is
// joined to it (--play=FILE); an empty value, or a next argument that starts with '-', is no value.
// Throws UsageError for an unknown argument, a missing value, or a value given to a flag.
CommandLine ReadCommandLine(int argc, const char* const* argv);

std::string UsageLine();  // "Usage: stagewalk [--record FILE] ..."
std::string HelpText();   // the usage line, then one line per option

}  // namespace Application
