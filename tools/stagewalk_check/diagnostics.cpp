#include "stagewalk_check/diagnostics.h"

#include <algorithm>
#include <climits>
#include <map>

namespace StagewalkCheck {

void Diagnostics::Error(const std::string& file, int line, const std::string& message) {
    list.push_back(Diagnostic{Severity::Error, file, line, message});
}

void Diagnostics::Warning(const std::string& file, int line, const std::string& message) {
    list.push_back(Diagnostic{Severity::Warning, file, line, message});
}

int Diagnostics::ErrorCount() const {
    return static_cast<int>(std::count_if(list.begin(), list.end(),
                                          [](const Diagnostic& d) { return d.severity == Severity::Error; }));
}

int Diagnostics::WarningCount() const { return static_cast<int>(list.size()) - ErrorCount(); }

std::vector<Diagnostic> Diagnostics::Sorted() const {
    std::map<std::string, size_t> fileOrder;
    for (const Diagnostic& d : list) fileOrder.emplace(d.file, fileOrder.size());
    // The checks run in several passes over one file; reading the result top to bottom is easier.
    auto place = [&fileOrder](const Diagnostic& d) {
        return std::make_pair(fileOrder.at(d.file), d.line > 0 ? d.line : INT_MAX);
    };
    std::vector<Diagnostic> sorted = list;
    std::stable_sort(sorted.begin(), sorted.end(),
                     [&place](const Diagnostic& a, const Diagnostic& b) { return place(a) < place(b); });
    return sorted;
}

std::string Format(const Diagnostic& diagnostic) {
    std::string text = diagnostic.file;
    if (diagnostic.line > 0) text += ":" + std::to_string(diagnostic.line);
    text += diagnostic.severity == Severity::Error ? ": error: " : ": warning: ";
    return text + diagnostic.message;
}

std::string Summary(int errors, int warnings) {
    auto count = [](int n, const char* word) { return std::to_string(n) + " " + word + (n == 1 ? "" : "s"); };
    return "stagewalk-check: " + count(errors, "error") + ", " + count(warnings, "warning");
}

}  // namespace StagewalkCheck
