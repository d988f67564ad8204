// The problems the checker finds, each tied to a file and a line, and their compiler-like text.
// One Diagnostics list is filled by the checks of one run and printed by main; single-threaded.
#pragma once

#include "common/quote.h"

#include <string>
#include <vector>

namespace StagewalkCheck {

// Error: the game will fail or misbehave. Warning: legal, but most likely not what was meant.
enum class Severity { Warning, Error };

struct Diagnostic {
    Severity severity = Severity::Error;
    std::string file;  // as the user would type it, relative to the game folder
    int line = 0;      // 1-based; 0 when the problem concerns the file as a whole
    std::string message;
};

class Diagnostics {
public:
    void Error(const std::string& file, int line, const std::string& message);    // records an error
    void Warning(const std::string& file, int line, const std::string& message);  // records a warning

    const std::vector<Diagnostic>& All() const { return list; }  // in the order they were found
    int ErrorCount() const;                                      // number of errors recorded
    int WarningCount() const;                                    // number of warnings recorded
    // Grouped by file (files in the order they first appear), by line within a file, whole-file
    // problems last; equal places keep the order they were found in.
    std::vector<Diagnostic> Sorted() const;

private:
    std::vector<Diagnostic> list;
};

// "file:line: error: message", or "file: warning: message" for a whole-file problem.
std::string Format(const Diagnostic& diagnostic);
// "stagewalk-check: 1 error, 2 warnings".
std::string Summary(int errors, int warnings);
// `text` in single quotes, for naming keys, values and paths in messages: Common::Quote, whole
// however long (a path is no use cut short).
inline std::string Quote(const std::string& text) { return Common::Quote(text, std::string::npos); }

}  // namespace StagewalkCheck
