#include "markup/statement.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace {

using ::testing::ElementsAre;
using ::testing::ElementsAreArray;
using Tokens = std::vector<std::string>;

std::vector<std::string> Split(std::string_view line) {
    std::vector<std::string_view> views;
    Tml::SplitStatements(line, views);
    return {views.begin(), views.end()};
}

Tokens Tokenize(std::string_view statement) {
    Tokens tokens;
    Tml::TokenizeStatement(statement, tokens);
    return tokens;
}

struct SplitCase {
    const char* line;
    std::vector<std::string> statements;
};

TEST(SplitStatements, CutsAtEverySemicolonAndDropsEmptyPieces) {
    const SplitCase cases[] = {
        {"! key value", {"! key value"}},
        {"@ tangly-ml-v-020; { a; ! k v; }", {"@ tangly-ml-v-020", " { a", " ! k v", " }"}},
        {"#x; { a", {}},  // a comment line swallows its ';'
        {"{ a ; # note ; ! k v", {"{ a ", " # note ", " ! k v"}},
        {"! k v;", {"! k v"}},
        {";;;", {}},
        {"! k \"a;b\"", {"! k \"a", "b\""}},  // quotes do not protect ';'
        {" # not a comment line; { b", {" # not a comment line", " { b"}},
        {"   ", {"   "}},  // spaces are a statement
        {"", {}},
    };
    for (const SplitCase& c : cases) {
        EXPECT_EQ(Split(c.line), c.statements) << "line: '" << c.line << "'";
    }
}

struct TokenCase {
    std::string_view statement;
    Tokens tokens;
};

TEST(TokenizeStatement, FollowsTheQuoteCommentAndSeparatorRules) {
    const TokenCase cases[] = {
        {"! key value", {"!", "key", "value"}},
        {"! title \"Hello World\"", {"!", "title", "Hello World"}},
        {"! key value #note", {"!", "key", "value", "#note"}},
        {"{ name", {"{", "name"}},
        {"{name", {"{name"}},
        {"   ! k v", {"!", "k", "v"}},  // leading white space skipped
        {"  # note", {"#"}},            // '#' as first byte taken
        {"\"#\" x", {"#", "x"}},        // a quote before '#' is a taken byte
        {"! k \"a", {"!", "k", "a"}},   // an unclosed quote runs to the end
        {"b\"", {"b"}},
        {"! k \"\"", {"!", "k", ""}},      // an empty quoted value is still a token
        {"! k v ", {"!", "k", "v", ""}},   // one trailing separator: one empty token
        {"! k v\r", {"!", "k", "v", ""}},  // CR LF files: the CR changes no value
        {"@ tangly-ml-v-020\r", {"@", "tangly-ml-v-020", ""}},
        {"! k  v", {"!", "k", "v"}},  // a run of separators counts as one
        {"{   name", {"{", "name"}},
        {"! k  \"a b\"", {"!", "k", "a b"}},
        {"! a\"b c\"d e", {"!", "ab cd", "e"}},  // quotes removed wherever they stand
        {"   ", {}},
        {"! \xC3\xA9t\xC3\xA9 caf\xC3\xA9", {"!", "\xC3\xA9t\xC3\xA9", "caf\xC3\xA9"}},  // bytes >= 0x80
        {"\xEF\xBB\xBF@ tangly-ml-v-020", {"\xEF\xBB\xBF@", "tangly-ml-v-020"}},         // BOM is no space
        {std::string_view("! k v\0w", 7), {"!", "k", std::string("v\0w", 3)}},
    };
    for (const TokenCase& c : cases) {
        EXPECT_THAT(Tokenize(c.statement), ElementsAreArray(c.tokens))
            << "statement: '" << c.statement << "'";
    }
    // What is written reads back as the one value it was.
    for (const std::string value : {"tower", "The tower", "tab\there", ""})
        EXPECT_THAT(Tokenize("! k " + Tml::QuotedValue(value)), ElementsAre("!", "k", value)) << value;
}

TEST(ApplyStatement, OpensClosesAndAttaches) {
    Tml::Document document;
    Tml::ApplyStatement(document, {"!", "lost", "x"});  // no node open: dropped
    Tml::ApplyStatement(document, {"{", "outer", "ignored"});
    Tml::ApplyStatement(document, {"!", "k", "v", "ignored"});
    Tml::ApplyStatement(document, {"!", "short"});
    Tml::ApplyStatement(document, {"{"});
    Tml::ApplyStatement(document, {"}", "ignored"});
    Tml::ApplyStatement(document, {"@", "tangly-ml-v-020"});
    Tml::ApplyStatement(document, {"}"});
    Tml::ApplyStatement(document, {"}"});  // more closes than opens: ignored
    Tml::ApplyStatement(document, {"}"});
    Tml::ApplyStatement(document, {});
    Tml::ApplyStatement(document, {"{", "second"});

    const auto roots = document.GetRootNodes();
    ASSERT_EQ(roots.size(), 2u);
    EXPECT_EQ(roots[0]->GetName(), "outer");
    const auto attributes = roots[0]->GetAttributes();
    ASSERT_EQ(attributes.size(), 1u);
    EXPECT_EQ(attributes[0].key, "k");
    EXPECT_EQ(attributes[0].value, "v");
    const auto children = roots[0]->GetChildNodes();
    ASSERT_EQ(children.size(), 1u);
    EXPECT_EQ(children[0]->GetName(), "");
    EXPECT_EQ(roots[1]->GetName(), "second");
    EXPECT_EQ(document.GetCurrentNode(), roots[1]);
}

}  // namespace
