#include "application/command_line.h"

#include <algorithm>

namespace Application {

namespace {

using Mode = DemoSession::Mode;

struct Option {
    const char* name;
    const char* alias;  // a short name, or null
    const char* value;  // what the value is called in the usage, or null for a flag
    const char* help;
    void (*apply)(CommandLine& line, const std::string& value);
};

// One row per option; a new option is one row here (and its field in CommandLine).
const Option kOptions[] = {
    {"--record", nullptr, "FILE",
     "play as usual and record every frame's input into the demo FILE (put in place at exit)",
     [](CommandLine& c, const std::string& v) { c.demoMode = Mode::Record, c.demoPath = v; }},
    {"--play", nullptr, "FILE", "replay the demo FILE in the window, frame by frame as it was recorded",
     [](CommandLine& c, const std::string& v) { c.demoMode = Mode::Play, c.demoPath = v; }},
    {"--timedemo", nullptr, "FILE", "replay the demo FILE as fast as frames draw, and print the frame times",
     [](CommandLine& c, const std::string& v) { c.demoMode = Mode::Timedemo, c.demoPath = v; }},
    {"--level", nullptr, "NAME", "start on the level NAME (--list-levels names them)",
     [](CommandLine& c, const std::string& v) { c.level = v; }},
    {"--list-levels", nullptr, nullptr, "print each level's name, title and best time, a tab between them",
     [](CommandLine& c, const std::string&) { c.listLevels = true; }},
    {"--help", "-h", nullptr, "print this text", [](CommandLine& c, const std::string&) { c.help = true; }},
    {"--version", nullptr, nullptr, "print the version",
     [](CommandLine& c, const std::string&) { c.version = true; }},
};

const Option* Find(const std::string& name) {
    for (const Option& option : kOptions) {
        if (name == option.name || (option.alias && name == option.alias)) return &option;
    }
    return nullptr;
}

}  // namespace

CommandLine ReadCommandLine(int argc, const char* const* argv) {
    CommandLine line;
    for (int i = 1; i < argc; ++i) {
        const std::string argument = argv[i];
        const size_t equals = argument.find('=');
        const bool joined = argument.rfind("--", 0) == 0 && equals != std::string::npos;
        const Option* option = Find(joined ? argument.substr(0, equals) : argument);
        if (!option) throw UsageError("unknown argument '" + argument + "'");
        std::string value;
        if (joined) {
            if (!option->value) throw UsageError(std::string(option->name) + " takes no value");
            value = argument.substr(equals + 1);
        } else if (option->value && i + 1 < argc && argv[i + 1][0] != '-') {
            value = argv[++i];
        }
        if (option->value && value.empty()) {
            throw UsageError(std::string(option->name) + " needs a " + option->value);
        }
        option->apply(line, value);
    }
    return line;
}

std::string UsageLine() {
    std::string usage = "Usage: stagewalk";
    for (const Option& option : kOptions) {
        usage +=
            std::string(" [") + option.name + (option.value ? std::string(" ") + option.value : "") + "]";
    }
    return usage;
}

std::string HelpText() {
    std::string text = UsageLine() + "\n";
    for (const Option& option : kOptions) {
        std::string name = std::string("  ") + (option.alias ? std::string(option.alias) + ", " : "") +
                           option.name + (option.value ? std::string(" ") + option.value : "");
        name.resize(std::max<size_t>(name.size() + 2, 20), ' ');
        text += name + option.help + "\n";
    }
    return text + "A value may also follow its option after an equals sign: --play=FILE.\n";
}

}  // namespace Application
