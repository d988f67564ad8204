#include "stagewalk_check/manifest_check.h"

#include "check_test_util.h"
#include "markup/tml_reader.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

using namespace CheckTests;
using StagewalkCheck::CheckManifest;
using StagewalkCheck::PlannedEntry;

std::vector<PlannedEntry> Check(const std::string& body, Diagnostics& out) {
    const std::unique_ptr<Tml::Document> document(
        Tml::ParseDocument("@ tangly-ml-v-020\n" + body, "assets.tml"));
    return CheckManifest(*document, "assets.tml", out);
}

TEST(ManifestCheckTest, EachMistakeIsReportedOnceAtItsLine) {
    struct Case {
        const char* body;  // starts on line 2
        Severity severity;
        int line;
        const char* words;
    };
    const Case cases[] = {
        {"{ lists\n}\n", Severity::Warning, 2, "unknown root node 'lists' (did you mean 'list'?)"},
        {"{ list\n! wrkdir d\n}\n", Severity::Warning, 3,
         "unknown key 'wrkdir' in 'list' (did you mean 'workdir'?)"},
        {"{ list\n! workdir a\n! workdir b\n}\n", Severity::Warning, 4,
         "'workdir' is given again (first at line 3)"},
        {"{ list\n{ bitmp\n}\n}\n", Severity::Warning, 3,
         "unknown kind 'bitmp' is ignored (did you mean 'bitmap'?)"},
        {"{ list\n{ list\n{ bitmap\n! name a\n! path a\n}\n}\n}\n", Severity::Warning, 3,
         "a 'list' inside a 'list' is ignored with everything in it"},
        {"{ list\n{ model\n! name a\n! path a\n! pth b\n}\n}\n", Severity::Warning, 6,
         "unknown key 'pth' in 'model' (did you mean 'path'?)"},
        {"{ list\n{ model\n! name a\n! path a\n{ mesh\n}\n}\n}\n", Severity::Warning, 6,
         "node 'mesh' inside 'model' is ignored"},
        {"{ list\n{ map\n! name a\n}\n}\n", Severity::Error, 3,
         "map 'a' has no 'path': the game fails to load it"},
        {"{ list\n{ map\n! path a\n}\n}\n", Severity::Warning, 3, "it is stored under the empty name"},
    };
    for (const Case& c : cases) {
        Diagnostics out;
        Check(c.body, out);
        EXPECT_EQ(out.All().size(), 1u) << c.body << Dump(out);
        EXPECT_TRUE(Has(out, c.severity, c.line, c.words)) << c.body << Dump(out);
    }
}

TEST(ManifestCheckTest, CarriedOverNamesAndPathsAreTracedToTheirLine) {
    Diagnostics out;
    const std::vector<PlannedEntry> plan = Check(
        "{ list\n! workdir data\n"                   // 2-3
        "{ bitmap\n! name sky\n! path sky.png\n}\n"  // 4-7
        "{ bitmap\n! path other.png\n}\n"            // 8-10: name carried, a duplicate
        "{ model\n! name room2\n}\n"                 // 11-13: path carried
        "{ note\n! name x\n! path x.obj\n}\n"        // 14-17: no entry, but moves both
        "{ model\n}\n"                               // 18-19: takes both from the note
        "}\n",
        out);
    ASSERT_EQ(plan.size(), 4u) << Dump(out);
    EXPECT_TRUE(Has(out, Severity::Warning, 8,
                    "bitmap entry has no 'name': it takes 'sky' from line 5; the game uses the first bitmap"))
        << Dump(out);
    EXPECT_TRUE(
        Has(out, Severity::Warning, 11, "model entry has no 'path': it takes 'data/other.png' from line 9"));
    EXPECT_TRUE(Has(out, Severity::Warning, 14, "its 'name' and 'path' still carry over to the next entry"));
    EXPECT_TRUE(Has(out, Severity::Warning, 18, "it takes 'x' from line 15"));
    EXPECT_TRUE(Has(out, Severity::Warning, 18, "it takes 'data/x.obj' from line 16"));
    EXPECT_EQ(out.All().size(), 5u) << Dump(out);
    EXPECT_FALSE(plan[1].firstOfName);
    EXPECT_EQ(plan[3].entry.path, "data/x.obj");
    EXPECT_EQ(plan[3].line, 18);
}

TEST(ManifestCheckTest, PlanMatchesTheGamesReaderAcrossLists) {
    // A second list without "workdir" keeps the prefix of the first; a "workdir" written after
    // the children still applies to them.
    Diagnostics out;
    const std::vector<PlannedEntry> plan = Check(
        "{ list\n{ bitmap\n! name a\n! path a.png\n}\n! workdir one\n}\n"
        "{ list\n{ model\n! name b\n! path b.obj\n}\n}\n",
        out);
    ASSERT_EQ(plan.size(), 2u);
    EXPECT_EQ(plan[0].entry.path, "one/a.png");
    EXPECT_EQ(plan[0].line, 3);
    EXPECT_EQ(plan[1].entry.path, "one/b.obj");
    EXPECT_EQ(plan[1].entry.kind, "model");
    EXPECT_TRUE(Has(out, Severity::Warning, 9,
                    "list has no 'workdir': its entries take the prefix 'one/' from line 7"))
        << Dump(out);
}

TEST(ManifestCheckTest, DuplicateNamesOfTheSameKindOnly) {
    Diagnostics out;
    const std::vector<PlannedEntry> plan = Check(
        "{ list\n{ bitmap\n! name sky\n! path a\n}\n{ model\n! name sky\n! path b\n}\n"
        "{ bitmap\n! name sky\n! path c\n}\n}\n",
        out);
    ASSERT_EQ(plan.size(), 3u);
    EXPECT_TRUE(plan[1].firstOfName);  // a model may share a bitmap's name
    EXPECT_FALSE(plan[2].firstOfName);
    EXPECT_EQ(out.All().size(), 1u) << Dump(out);
    EXPECT_TRUE(Has(out, Severity::Warning, 11,
                    "bitmap 'sky' is listed again (first at line 3); the game uses the first"));
}

}  // namespace
