// Helpers for the checker's unit tests: run a check on text and find diagnostics by place and
// wording. Header-only; any thread.
#pragma once

#include "stagewalk_check/diagnostics.h"

#include <string>
#include <vector>

namespace CheckTests {

using StagewalkCheck::Diagnostic;
using StagewalkCheck::Diagnostics;
using StagewalkCheck::Severity;

// Every diagnostic, one formatted line each, for failure messages.
inline std::string Dump(const Diagnostics& out) {
    std::string text;
    for (const Diagnostic& d : out.All()) text += "  " + StagewalkCheck::Format(d) + "\n";
    return text.empty() ? "  (none)\n" : text;
}

// True when some diagnostic has this severity and line and contains `words`.
inline bool Has(const Diagnostics& out, Severity severity, int line, const std::string& words) {
    for (const Diagnostic& d : out.All()) {
        if (d.severity == severity && d.line == line && d.message.find(words) != std::string::npos)
            return true;
    }
    return false;
}

}  // namespace CheckTests
