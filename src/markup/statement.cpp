#include "markup/statement.h"

namespace Tml {

void SplitStatements(std::string_view line, std::vector<std::string_view>& statements) {
    statements.clear();
    if (line.empty() || line.front() == '#') return;
    size_t start = 0;
    while (start <= line.size()) {
        size_t end = line.find(';', start);
        if (end == std::string_view::npos) end = line.size();
        if (end > start) statements.push_back(line.substr(start, end - start));
        start = end + 1;
    }
}

namespace {

// A finished token loses the one separator byte it started with and every quotation mark.
void FinishToken(std::string& pending, std::vector<std::string>& tokens) {
    size_t from = (!pending.empty() && IsSpace(pending.front())) ? 1 : 0;
    std::string& token = tokens.emplace_back();
    token.reserve(pending.size() - from);
    for (size_t i = from; i < pending.size(); ++i) {
        if (pending[i] != '"') token.push_back(pending[i]);
    }
    pending.clear();
}

}  // namespace

void TokenizeStatement(std::string_view statement, std::vector<std::string>& tokens) {
    tokens.clear();
    std::string pending;
    bool inQuotes = false;
    bool pendingToken = false;
    bool taken = false;
    for (char c : statement) {
        if (c == '"') inQuotes = !inQuotes;
        if (!inQuotes && IsSpace(c)) {
            if (!pendingToken) continue;
            // The separator that ended the last token is pending on its own: further white space
            // in the same run is skipped, so "key  value" reads like "key value".
            if (pending.size() == 1 && IsSpace(pending.front())) continue;
            FinishToken(pending, tokens);
        }
        if (!taken && c == '#') {
            tokens.assign(1, "#");
            return;
        }
        pending.push_back(c);
        pendingToken = true;
        taken = true;
    }
    if (pendingToken) FinishToken(pending, tokens);
}

void ApplyStatement(Document& document, const std::vector<std::string>& tokens, int line) {
    if (tokens.empty()) return;
    const std::string& marker = tokens[0];
    if (marker == "{") {
        const std::string name = tokens.size() > 1 ? tokens[1] : std::string();
        Node* current = document.GetCurrentNode();
        Node* node = current ? current->AddChildNode(name) : document.AddRootNode(name);
        node->SetLine(line);
        document.PushNode(node);
    } else if (marker == "}") {
        if (document.GetStackDepth() > 0) document.PopNode();
    } else if (marker == "!") {
        Node* current = document.GetCurrentNode();
        if (tokens.size() >= 3 && current) current->PushAttribute(Attribute{tokens[1], tokens[2], line});
    }
}

}  // namespace Tml
