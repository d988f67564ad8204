#include "markup/tml_reader.h"

#include "support/scratch_dir.h"

#include <gtest/gtest.h>

#include <memory>
#include <stdexcept>

namespace {

using Doc = std::unique_ptr<Tml::Document>;

Doc Parse(const std::string& text) { return Doc(Tml::ParseDocument(text, "test.tml")); }

std::string ErrorOf(const std::string& text) {
    try {
        Parse(text);
    } catch (const std::runtime_error& e) {
        return e.what();
    }
    return "(no error)";
}

const std::string kHeaderMissing = "Header missing in test.tml!";
const std::string kUnknownVersion = "Unknown version, only 'tangly-ml-v-020' is supported by the parser!";

struct HeaderCase {
    const char* text;
    std::string error;  // empty: parses
};

TEST(TmlReader, HeaderRules) {
    const HeaderCase cases[] = {
        {"@ tangly-ml-v-020 extra\n", ""},
        {"@ tangly-ml-v-021\n", kUnknownVersion},
        {"@ TANGLY-ML-V-020\n", kUnknownVersion},
        {"tangly-ml-v-020\n", kHeaderMissing},
        {"  # note\n", kHeaderMissing},  // not a comment line: the statement's single token is "#"
        {"@tangly-ml-v-020\n", kHeaderMissing},
        {"@\n", kHeaderMissing},
        {"   \n@ tangly-ml-v-020\n", kHeaderMissing},  // a line of spaces is a statement
        {"\n\t\t\n# comment\n\t# tabbed comment\n@ tangly-ml-v-020\n", ""},
        {"\xEF\xBB\xBF@ tangly-ml-v-020\n", kHeaderMissing},
        {"@ tangly-ml-v-020\r\n{ a\r\n}\r\n", ""},
        {"{ a\n@ tangly-ml-v-020\n", kHeaderMissing},
        {"", ""},
        {"# only comments\n#; { a\n", ""},
        {"@ tangly-ml-v-020\n@ anything else\n", ""},  // later '@' statements are ignored
    };
    for (const HeaderCase& c : cases) {
        EXPECT_EQ(ErrorOf(c.text), c.error.empty() ? "(no error)" : c.error) << "text: '" << c.text << "'";
    }
}

TEST(TmlReader, HeaderMessageCarriesThePathUnchanged) {
    try {
        Doc(Tml::ParseDocument("oops\n", "dir/../config.tml"));
        FAIL() << "expected an error";
    } catch (const std::runtime_error& e) {
        EXPECT_STREQ(e.what(), "Header missing in dir/../config.tml!");
    }
}

TEST(TmlReader, OneLineHoldsAWholeDocument) {
    Doc doc = Parse("@ tangly-ml-v-020; { a; ! k v; }");
    ASSERT_EQ(doc->GetRootNodes().size(), 1u);
    const Tml::Node* a = doc->GetRootNodes()[0];
    EXPECT_EQ(a->GetName(), "a");
    ASSERT_EQ(a->GetAttributes().size(), 1u);
    EXPECT_EQ(a->GetAttributes()[0].key, "k");
    EXPECT_EQ(a->GetAttributes()[0].value, "v");
    EXPECT_EQ(doc->GetCurrentNode(), nullptr);
}

TEST(TmlReader, CommentLinesAndMiddleStatements) {
    Doc doc = Parse("@ tangly-ml-v-020\n#x; { a\n{ b ; # note ; ! k v\n! k2 v2;\n");
    ASSERT_EQ(doc->GetRootNodes().size(), 1u);
    const Tml::Node* b = doc->GetRootNodes()[0];
    EXPECT_EQ(b->GetName(), "b");
    ASSERT_EQ(b->GetAttributes().size(), 2u);
    EXPECT_EQ(b->GetAttributes()[0].key, "k");
    EXPECT_EQ(b->GetAttributes()[1].value, "v2");
}

TEST(TmlReader, TabsVanishBeforeTokenizing) {
    Doc doc = Parse("@ tangly-ml-v-020\n{\tb\n\t{ a\n\t!\tk v\n\t! key\tvalue\n! q \"x\ty\"\n}\n");
    // "{<tab>b" reads as the single token "{b" and opens nothing.
    const Tml::Node* node = doc->GetRootNodes().at(0);
    EXPECT_EQ(node->GetName(), "a");
    // "!<tab>k v" reads as "!k v": no rule; "key<tab>value" becomes the one token "keyvalue".
    const auto attributes = node->GetAttributes();
    ASSERT_EQ(attributes.size(), 1u);
    EXPECT_EQ(attributes[0].key, "q");
    EXPECT_EQ(attributes[0].value, "xy");
}

TEST(TmlReader, TreeShapeDuplicatesAndUnclosedNodes) {
    Doc doc = Parse(
        "@ tangly-ml-v-020\n"
        "! top level dropped\n"
        "{ application\n"
        "  ! k 1\n"
        "  { window\n"
        "    ! width 640\n"
        "    ! width 800\n"
        "  }\n"
        "  {\n"
        "  }\n"
        "}\n"
        "}\n"
        "{ open\n"
        "  { inner\n");
    const auto roots = doc->GetRootNodes();
    ASSERT_EQ(roots.size(), 2u);
    const auto children = roots[0]->GetChildNodes();
    ASSERT_EQ(children.size(), 2u);
    const auto window = children[0]->GetAttributes();
    ASSERT_EQ(window.size(), 2u);
    EXPECT_EQ(window[0].value, "640");
    EXPECT_EQ(window[1].value, "800");
    EXPECT_EQ(children[1]->GetName(), "");
    EXPECT_EQ(roots[1]->GetName(), "open");
    ASSERT_EQ(roots[1]->GetChildNodes().size(), 1u);
    EXPECT_EQ(doc->GetCurrentNode(), roots[1]->GetChildNodes()[0]);
}

TEST(TmlReader, LastLineWithoutNewlineIsRead) {
    Doc doc = Parse("@ tangly-ml-v-020\n{ a\n! k v");
    EXPECT_EQ(doc->GetRootNodes().at(0)->GetAttributes().size(), 1u);
}

TEST(TmlReader, QueriesReturnCopies) {
    Doc doc = Parse("@ tangly-ml-v-020\n{ a\n! k v\n}\n");
    auto attributes = doc->GetRootNodes()[0]->GetAttributes();
    attributes[0].value = "changed";
    auto roots = doc->GetRootNodes();
    roots.clear();
    EXPECT_EQ(doc->GetRootNodes()[0]->GetAttributes()[0].value, "v");
}

TEST(TmlReader, DeepNestingBuildsAndFreesWithoutRecursion) {
    std::string text = "@ tangly-ml-v-020\n";
    for (int i = 0; i < 100000; ++i) text += "{ n\n";
    Doc doc = Parse(text);
    const Tml::Node* node = doc->GetRootNodes().at(0);
    int depth = 1;
    while (!node->Children().empty()) {
        node = node->Children()[0];
        ++depth;
    }
    EXPECT_EQ(depth, 100000);
    doc.reset();  // must not overflow the stack
}

TEST(TmlReader, Files) {
    TestSupport::ScratchDir dir;
    Doc missing(Tml::LoadDocument(dir.File("absent.tml")));
    EXPECT_TRUE(missing->GetRootNodes().empty());
    Doc empty(Tml::LoadDocument(dir.Write("empty.tml", "")));
    EXPECT_TRUE(empty->GetRootNodes().empty());
    Doc directory(Tml::LoadDocument(dir.Path()));
    EXPECT_TRUE(directory->GetRootNodes().empty());
    Doc full(Tml::LoadDocument(dir.Write("full.tml", "@ tangly-ml-v-020\n{ x\n}\n")));
    EXPECT_EQ(full->GetRootNodes().size(), 1u);
    const std::string bad = dir.Write("bad.tml", "{ x\n");
    try {
        Doc(Tml::LoadDocument(bad));
        FAIL() << "expected an error";
    } catch (const std::runtime_error& e) {
        EXPECT_EQ(std::string(e.what()), "Header missing in " + bad + "!");
    }
}

}  // namespace

namespace {

TEST(TmlReader, RecordsTheLineOfEveryNodeAndAttribute) {
    Doc doc = Parse("@ tangly-ml-v-020\n\n# comment\n{ a\n\t! k v\n\t{ b; ! x y\n}\n}\n");
    const Tml::Node* a = doc->GetRootNodes().at(0);
    EXPECT_EQ(a->Line(), 4);
    EXPECT_EQ(a->Attributes().at(0).line, 5);
    const Tml::Node* b = a->Children().at(0);
    EXPECT_EQ(b->Line(), 6);
    EXPECT_EQ(b->Attributes().at(0).line, 6);
}

}  // namespace
