#include "stagewalk_check/markup_scan.h"

#include "check_test_util.h"

#include <gtest/gtest.h>

namespace {

using namespace CheckTests;
using StagewalkCheck::CheckStatements;
using StagewalkCheck::FirstStatementLine;

TEST(MarkupScanTest, FindsTheHeaderLineAfterBlankAndCommentLines) {
    EXPECT_EQ(FirstStatementLine("@ tangly-ml-v-020\n"), 1);
    EXPECT_EQ(FirstStatementLine("\n\t\n# note\n{ a\n"), 4);
    EXPECT_EQ(FirstStatementLine("\n\n"), 1);
}

TEST(MarkupScanTest, ReportsWhatTheReaderDropsAtItsLine) {
    struct Case {
        const char* body;  // follows the header line, so it starts on line 2
        int line;
        const char* words;
    };
    const Case cases[] = {
        {"{name\n", 2, "statement '{name' is not understood and is ignored (put a space after '{')"},
        {"{ a\n!k v\n}\n", 3, "statement '!k v' is not understood"},
        {"{ a\n! k\n}\n", 3, "attribute 'k' has no value and is ignored"},
        {"{ a\n!\n}\n", 3, "'!' without a key and a value is ignored"},
        {"! k v\n", 2, "attribute 'k' outside any node is ignored"},
        {"{ a\n}\n}\n", 4, "'}' closes no node"},
        {"{ a\n  { b\n}\n", 2, "node 'a' is never closed"},
        {"{ a\n! path my file.png\n}\n", 3, "the value of 'path' is 'my'; the rest, 'file.png', is ignored"},
        {"{ bitmap sky\n}\n", 2, "text after the node name 'bitmap' is ignored: 'sky'"},
        {"{ a; ! k; }\n", 2, "attribute 'k' has no value"},  // statements after ';' keep their line
        {"@ tangly-ml-v-020\n", 2, "statement '@ tangly-ml-v-020' is not understood"},
    };
    for (const Case& c : cases) {
        Diagnostics out;
        CheckStatements(std::string("@ tangly-ml-v-020\n") + c.body, "f.tml", out);
        EXPECT_EQ(out.All().size(), 1u) << c.body << Dump(out);
        EXPECT_TRUE(Has(out, Severity::Warning, c.line, c.words)) << c.body << Dump(out);
    }
}

TEST(MarkupScanTest, WellFormedDocumentsPassSilently) {
    const char* documents[] = {
        "@ tangly-ml-v-020\n{ a\n\t! k v\n\t! title \"Hello World\"\n}\n",
        "@ tangly-ml-v-020\r\n{ a\r\n! k v\r\n}\r\n",  // CR LF line ends
        "@ tangly-ml-v-020\n{ a\n! k \"\"\n}\n",       // a quoted empty value is a value
        "@ tangly-ml-v-020\n# { a\n{ a ; # note ; ! k v\n}\n",
        "@ tangly-ml-v-020\n{ a\n! k  v\n}\n",  // a run of blanks is one separator
    };
    for (const char* text : documents) {
        Diagnostics out;
        CheckStatements(text, "f.tml", out);
        EXPECT_TRUE(out.All().empty()) << text << Dump(out);
    }
}

}  // namespace
