#include "markup/statement.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <utility>

namespace Tml {

void SplitStatements(std::string_view line, std::vector<std::string_view>& statements) {
    statements.clear();
    if (line.empty() || line.front() == '#') return;
    size_t start = 0;
    while (start <= line.size()) {
        const void* found =
            line.size() > start ? std::memchr(line.data() + start, ';', line.size() - start) : nullptr;
        const size_t end =
            found ? static_cast<size_t>(static_cast<const char*>(found) - line.data()) : line.size();
        if (end > start) statements.push_back(line.substr(start, end - start));
        start = end + 1;
    }
}

namespace {

// Byte classes of the tokenizer: white space ends a token outside quotes, a quotation mark toggles
// quoting and is dropped, everything else is token text.
enum ByteClass : unsigned char { Text = 0, Space = 1, Quote = 2 };

constexpr std::array<unsigned char, 256> MakeClasses() {
    std::array<unsigned char, 256> classes{};
    for (int c = 0; c < 256; ++c) {
        if (IsSpace(static_cast<char>(c))) classes[static_cast<size_t>(c)] = Space;
    }
    classes['"'] = Quote;
    return classes;
}

constexpr std::array<unsigned char, 256> Classes = MakeClasses();

inline unsigned char ClassOf(char c) { return Classes[static_cast<unsigned char>(c)]; }

constexpr std::string_view CommentToken = "#";

}  // namespace

std::string QuotedValue(std::string_view text) {
    const bool spaced = std::any_of(text.begin(), text.end(), [](char c) { return IsSpace(c); });
    return spaced ? "\"" + std::string(text) + "\"" : std::string(text);
}

// A token runs from the first byte after a separator run to the next white space outside quotes
// (or the end of the statement), its quotation marks removed. The separator byte that ends a token
// would begin the next one and is removed again, and further white space after it is skipped, so
// a run of separators counts as one; a statement that ends right after separators ends with one
// empty token. Quoting never spans a separator, so every token starts outside quotes.
void TokenizeStatement(std::string_view statement, std::vector<std::string_view>& tokens,
                       std::string& scratch) {
    tokens.clear();
    scratch.clear();
    // Token bytes never outnumber the statement's, so the views into `scratch` stay put.
    scratch.reserve(statement.size());
    const char* const text = statement.data();
    const size_t size = statement.size();
    size_t at = 0;
    while (at < size && ClassOf(text[at]) == Space) ++at;
    if (at == size) return;
    if (text[at] == '#') {
        tokens.push_back(CommentToken);
        return;
    }
    for (;;) {
        const size_t start = at;
        bool quoted = false;
        bool inQuotes = false;
        for (; at < size; ++at) {
            const unsigned char kind = ClassOf(text[at]);
            if (kind == Text) continue;
            if (kind == Quote) {
                inQuotes = !inQuotes;
                quoted = true;
            } else if (!inQuotes) {
                break;
            }
        }
        if (!quoted) {
            tokens.emplace_back(text + start, at - start);
        } else {
            const size_t from = scratch.size();
            for (size_t i = start; i < at; ++i) {
                if (text[i] != '"') scratch.push_back(text[i]);
            }
            tokens.emplace_back(scratch.data() + from, scratch.size() - from);
        }
        if (at == size) return;
        ++at;  // the separator
        while (at < size && ClassOf(text[at]) == Space) ++at;
        if (at == size) {
            tokens.emplace_back(text + size, 0);
            return;
        }
    }
}

void TokenizeStatement(std::string_view statement, std::vector<std::string>& tokens) {
    std::vector<std::string_view> views;
    std::string scratch;
    TokenizeStatement(statement, views, scratch);
    tokens.assign(views.begin(), views.end());
}

namespace {

template <typename Token>
void Apply(Document& document, const std::vector<Token>& tokens, int line) {
    if (tokens.empty()) return;
    const std::string_view marker = tokens[0];
    if (marker == "{") {
        const std::string_view name = tokens.size() > 1 ? std::string_view(tokens[1]) : std::string_view();
        Node* current = document.GetCurrentNode();
        Node* node = current ? current->AddChildNode(name) : document.AddRootNode(name);
        node->SetLine(line);
        document.PushNode(node);
    } else if (marker == "}") {
        if (document.GetStackDepth() > 0) document.PopNode();
    } else if (marker == "!") {
        Node* current = document.GetCurrentNode();
        if (tokens.size() >= 3 && current) current->AddAttribute(tokens[1], tokens[2], line);
    }
}

}  // namespace

void ApplyStatement(Document& document, const std::vector<std::string>& tokens, int line) {
    Apply(document, tokens, line);
}

void ApplyStatementView(Document& document, const std::vector<std::string_view>& tokens, int line) {
    Apply(document, tokens, line);
}

}  // namespace Tml
