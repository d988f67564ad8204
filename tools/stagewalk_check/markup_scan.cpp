#include "stagewalk_check/markup_scan.h"

#include "markup/statement.h"

#include <functional>
#include <vector>

namespace StagewalkCheck {

namespace {

// Calls `visit(statement, line)` for every statement of `text`, cut exactly as the reader cuts it.
void ForEachStatement(std::string_view text, const std::function<bool(std::string_view, int)>& visit) {
    std::vector<std::string_view> statements;
    std::string line;
    int lineNumber = 0;
    size_t start = 0;
    while (start < text.size()) {
        ++lineNumber;
        size_t end = text.find('\n', start);
        if (end == std::string_view::npos) end = text.size();
        line.clear();
        for (char c : text.substr(start, end - start)) {
            if (c != '\t') line.push_back(c);
        }
        start = end + 1;
        if (line.empty()) continue;
        Tml::SplitStatements(line, statements);
        for (std::string_view statement : statements) {
            if (!visit(statement, lineNumber)) return;
        }
    }
}

std::string Trimmed(std::string_view text) {
    size_t first = 0;
    size_t last = text.size();
    while (first < last && Tml::IsSpace(text[first])) ++first;
    while (last > first && Tml::IsSpace(text[last - 1])) --last;
    return std::string(text.substr(first, last - first));
}

// The non-empty tokens from `from` on, joined by spaces: the words a rule does not read. Empty
// tokens only come from trailing white space (a CR LF line end, say) and mean nothing.
std::string Rest(const std::vector<std::string>& tokens, size_t from) {
    std::string rest;
    for (size_t i = from; i < tokens.size(); ++i) {
        if (tokens[i].empty()) continue;
        if (!rest.empty()) rest += ' ';
        rest += tokens[i];
    }
    return rest;
}

struct OpenNode {
    std::string name;
    int line;
};

}  // namespace

int FirstStatementLine(std::string_view text) {
    int first = 1;
    ForEachStatement(text, [&first](std::string_view, int line) {
        first = line;
        return false;
    });
    return first;
}

void CheckStatements(std::string_view text, const std::string& file, Diagnostics& out) {
    std::vector<OpenNode> open;
    std::vector<std::string> tokens;
    bool header = true;
    ForEachStatement(text, [&](std::string_view statement, int line) {
        if (header) {  // the reader has already judged the header
            header = false;
            return true;
        }
        Tml::TokenizeStatement(statement, tokens);
        if (tokens.empty() || tokens[0] == "#") return true;
        const std::string& marker = tokens[0];
        if (marker == "{") {
            const std::string name = tokens.size() > 1 ? tokens[1] : std::string();
            open.push_back(OpenNode{name, line});
            const std::string rest = Rest(tokens, 2);
            if (!rest.empty()) {
                out.Warning(file, line,
                            "text after the node name " + Quote(name) + " is ignored: " + Quote(rest));
            }
        } else if (marker == "}") {
            if (open.empty())
                out.Warning(file, line, "'}' closes no node and is ignored");
            else
                open.pop_back();
        } else if (marker == "!") {
            const std::string key = tokens.size() > 1 ? tokens[1] : std::string();
            if (tokens.size() < 2) {
                out.Warning(file, line, "'!' without a key and a value is ignored");
            } else if (tokens.size() < 3) {
                out.Warning(file, line, "attribute " + Quote(key) + " has no value and is ignored");
            } else if (open.empty()) {
                out.Warning(file, line, "attribute " + Quote(key) + " outside any node is ignored");
            } else if (const std::string rest = Rest(tokens, 3); !rest.empty()) {
                out.Warning(file, line,
                            "the value of " + Quote(key) + " is " + Quote(tokens[2]) + "; the rest, " +
                                Quote(rest) + ", is ignored (quote a value that holds spaces)");
            }
        } else {
            std::string hint;
            if (marker.size() > 1 && (marker[0] == '{' || marker[0] == '}' || marker[0] == '!')) {
                hint = std::string(" (put a space after '") + marker[0] + "')";
            }
            out.Warning(
                file, line,
                "statement " + Quote(Trimmed(statement)) + " is not understood and is ignored" + hint);
        }
        return true;
    });
    for (const OpenNode& node : open) {
        out.Warning(file, node.line, "node " + Quote(node.name) + " is never closed");
    }
}

}  // namespace StagewalkCheck
