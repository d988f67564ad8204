// The fast tokenizer and reader against a plain byte-by-byte reference of the tokenizing rules, on
// random statements and random documents built from the bytes that matter (white space of every
// kind, quotation marks, '#', ';', tabs, CR, markers, high bytes).
#include "markup/statement.h"
#include "markup/tml_reader.h"

#include <gtest/gtest.h>

#include <memory>
#include <random>
#include <string>
#include <vector>

namespace {

// The tokenizing rules taken literally: a pending token that starts with the separator byte that
// ended the previous one, every quotation mark removed when a token is finished.
std::vector<std::string> ReferenceTokens(std::string_view statement) {
    std::vector<std::string> tokens;
    std::string pending;
    bool inQuotes = false, pendingToken = false, taken = false;
    auto finish = [&] {
        std::string token;
        for (size_t i = (!pending.empty() && Tml::IsSpace(pending[0])) ? 1 : 0; i < pending.size(); ++i) {
            if (pending[i] != '"') token += pending[i];
        }
        tokens.push_back(token);
        pending.clear();
    };
    for (char c : statement) {
        if (c == '"') inQuotes = !inQuotes;
        if (!inQuotes && Tml::IsSpace(c)) {
            if (!pendingToken) continue;
            if (pending.size() == 1 && Tml::IsSpace(pending[0])) continue;  // a run counts as one
            finish();
        }
        if (!taken && c == '#') return {"#"};
        pending += c;
        pendingToken = taken = true;
    }
    if (pendingToken) finish();
    return tokens;
}

std::string RandomText(std::mt19937& random, size_t length, bool withLineBytes) {
    static const std::vector<std::string> pieces = {" ",
                                                    "  ",
                                                    "\t",
                                                    "\v",
                                                    "\f",
                                                    "\r",
                                                    "\"",
                                                    "#",
                                                    "{",
                                                    "}",
                                                    "!",
                                                    "@",
                                                    "a",
                                                    "key",
                                                    "value",
                                                    "x y",
                                                    "\xC3\xA9",
                                                    "\xFF",
                                                    std::string(1, '\0'),
                                                    "tangly-ml-v-020",
                                                    "\n",
                                                    ";"};
    std::string text;
    while (text.size() < length) {
        const std::string& piece = pieces[random() % pieces.size()];
        if (!withLineBytes && (piece == "\n" || piece == ";")) continue;
        text += piece;
    }
    return text;
}

TEST(TokenizerDifferentialTest, RandomStatementsTokenizeLikeTheReference) {
    std::mt19937 random(31);
    std::vector<std::string_view> views;
    std::string scratch;
    std::vector<std::string> copies;
    for (int i = 0; i < 200000; ++i) {
        const std::string statement = RandomText(random, random() % 24, false);
        const std::vector<std::string> expected = ReferenceTokens(statement);
        Tml::TokenizeStatement(statement, views, scratch);
        ASSERT_EQ(std::vector<std::string>(views.begin(), views.end()), expected) << "'" << statement << "'";
        Tml::TokenizeStatement(statement, copies);
        ASSERT_EQ(copies, expected) << "'" << statement << "'";
    }
}

// The document the reading rules describe, built with the reference tokenizer and the plain
// building operations.
void ReferenceDocument(const std::string& text, Tml::Document& document, std::string& error) {
    size_t start = 0;
    bool first = true;
    int lineNumber = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        std::string line;
        for (size_t i = start; i < end; ++i) {
            if (text[i] != '\t') line += text[i];
        }
        start = end + 1;
        ++lineNumber;
        if (line.empty() || line[0] == '#') continue;
        size_t from = 0;
        while (from <= line.size()) {
            size_t cut = line.find(';', from);
            if (cut == std::string::npos) cut = line.size();
            const std::string statement = line.substr(from, cut - from);
            from = cut + 1;
            if (statement.empty()) continue;
            const std::vector<std::string> tokens = ReferenceTokens(statement);
            if (first) {
                first = false;
                if (tokens.size() < 2 || tokens[0] != "@")
                    error = "header";
                else if (tokens[1] != "tangly-ml-v-020")
                    error = "version";
                if (!error.empty()) return;
            }
            Tml::ApplyStatement(document, tokens, lineNumber);
        }
    }
}

void ExpectSameNodes(const std::vector<Tml::Node*>& a, const std::vector<Tml::Node*>& b,
                     const std::string& text) {
    ASSERT_EQ(a.size(), b.size()) << text;
    for (size_t i = 0; i < a.size(); ++i) {
        ASSERT_EQ(a[i]->Name(), b[i]->Name()) << text;
        ASSERT_EQ(a[i]->Line(), b[i]->Line()) << text;
        ASSERT_EQ(a[i]->Attributes().size(), b[i]->Attributes().size()) << text;
        for (size_t k = 0; k < a[i]->Attributes().size(); ++k) {
            const Tml::Attribute& x = a[i]->Attributes()[k];
            const Tml::Attribute& y = b[i]->Attributes()[k];
            ASSERT_TRUE(x.key == y.key && x.value == y.value && x.line == y.line) << text;
        }
        ExpectSameNodes(a[i]->Children(), b[i]->Children(), text);
    }
}

TEST(TokenizerDifferentialTest, RandomDocumentsReadLikeTheReference) {
    std::mt19937 random(47);
    int readWithNodes = 0;
    for (int i = 0; i < 20000; ++i) {
        std::string text = random() % 4 == 0 ? "" : "@ tangly-ml-v-020\n";
        text += RandomText(random, random() % 400, true);
        Tml::Document expected;
        std::string expectedError;
        ReferenceDocument(text, expected, expectedError);
        std::unique_ptr<Tml::Document> read;
        std::string error;
        try {
            read.reset(Tml::ParseDocument(text, "random.tml"));
        } catch (const std::runtime_error& e) {
            error = std::string(e.what()).find("Header missing") == 0 ? "header" : "version";
        }
        ASSERT_EQ(error, expectedError) << text;
        if (!read) continue;
        ExpectSameNodes(read->RootNodes(), expected.RootNodes(), text);
        readWithNodes += read->RootNodes().empty() ? 0 : 1;
    }
    EXPECT_GT(readWithNodes, 1000);
}

}  // namespace
