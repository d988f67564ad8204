#include "stagewalk_check/level_list_check.h"

#include "check_test_util.h"
#include "markup/tml_reader.h"
#include "support/scratch_dir.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

using namespace CheckTests;

// A room of one floor, a level's data with a finish on it, and one without.
const char* const kRoom = "v -1 0 -3\nv -1 0 1\nv 1 0 1\nv 1 0 -3\nf 1 2 3 4\n";
const char* const kData =
    "@ tangly-ml-v-020\n{ level\n{ finish\n! west 0\n! east 0.5\n! north -1\n! south 0\n! floor 0\n}\n}\n";
const char* const kNoFinish = "@ tangly-ml-v-020\n{ level\n}\n";
const char* const kEntries =
    "{ list\n! workdir data\n{ model\n! name r\n! path r.obj\n}\n"
    "{ markup\n! name rLevel\n! path r.level.tml\n}\n"
    "{ markup\n! name eLevel\n! path e.level.tml\n}\n"
    "{ model\n! name m\n! path m.obj\n}\n}\n";

// One case per rule, each broken on purpose; the manifest's level list opens on line 21 and its first
// level on line 22.
TEST(LevelListCheckTest, EachRuleReportsItsCaseAtItsLine) {
    const struct {
        const char* what;
        const char* levels;  // the body of the levels node
        const char* file;    // one more file in data/, or empty
        Severity severity;
        int line;
        const char* words;  // empty: nothing is reported but the entries nothing uses
    } cases[] = {
        {"a level as it should be", "{ level\n! name a\n! room r\n! data rLevel\n}\n", "", Severity::Error, 0,
         ""},
        {"its room is no entry", "{ level\n! name a\n! room q\n! data rLevel\n}\n", "", Severity::Error, 22,
         "level 'a': its room 'q' is no model the manifest lists, so the level cannot be played"},
        {"its room's file is missing", "{ level\n! name a\n! room m\n! data rLevel\n}\n", "", Severity::Error,
         22, "level 'a': its room file 'data/m.obj' is missing, so the level cannot be played"},
        {"its data is no entry", "{ level\n! name a\n! room r\n! data rLevl\n}\n", "", Severity::Error, 22,
         "its data 'rLevl' is no markup the manifest lists, so the level cannot be played (did you mean "
         "'rLevel'?)"},
        {"no data", "{ level\n! name a\n! room r\n}\n", "", Severity::Warning, 22,
         "level 'a' has no 'data': it has no finish"},
        {"data without a finish", "{ level\n! name a\n! room r\n! data eLevel\n}\n", "", Severity::Warning,
         22, "level 'a' has no finish the game can use in 'data/e.level.tml'"},
        {"a room file no level lists", "{ level\n! name a\n! room r\n! data rLevel\n}\n", "mine.obj",
         Severity::Warning, 0, "a room that no level lists: the game never loads it"},
        {"a level file no level lists", "{ level\n! name a\n! room r\n! data rLevel\n}\n", "mine.level.tml",
         Severity::Warning, 0, "level data that no level lists"},
        {"an entry nothing uses", "{ level\n! name a\n! room r\n! data rLevel\n}\n", "", Severity::Warning,
         12, "markup 'eLevel' is used by nothing"},
        {"no name", "{ level\n! room r\n}\n", "", Severity::Error, 22, "level has no 'name'"},
        {"a name that is no word", "{ level\n! name \"my level\"\n! room r\n}\n", "", Severity::Error, 22,
         "level name 'my level' is not a short word"},
        {"a name twice", "{ level\n! name a\n! room r\n! data rLevel\n}\n{ level\n! name a\n! room r\n}\n",
         "", Severity::Error, 27, "level 'a' is listed again (first at line 22): the game skips this level"},
        {"no room", "{ level\n! name a\n! data rLevel\n}\n", "", Severity::Error, 22,
         "level 'a' has no 'room'"},
        {"a key misspelt", "{ level\n! name a\n! room r\n! dat rLevel\n}\n", "", Severity::Warning, 25,
         "unknown key 'dat' in 'level' is ignored (did you mean 'data'?)"},
    };
    for (const auto& c : cases) {
        TestSupport::ScratchDir dir;
        dir.Write("data/r.obj", kRoom);
        dir.Write("data/r.level.tml", kData);
        dir.Write("data/e.level.tml", kNoFinish);
        if (*c.file != '\0') dir.Write(std::string("data/") + c.file, "");
        const std::string text =
            std::string("@ tangly-ml-v-020\n") + kEntries + "{ levels\n" + c.levels + "}\n";
        const std::unique_ptr<Tml::Document> manifest(Tml::ParseDocument(text, "assets.tml"));
        Diagnostics planning;
        const auto plan = StagewalkCheck::CheckManifest(*manifest, "data/assets.tml", planning);
        Diagnostics out;
        StagewalkCheck::CheckLevelList(*manifest, "data/assets.tml", plan,
                                       StagewalkCheck::GameFolder(dir.Path()), out);
        if (*c.words != '\0') {
            EXPECT_TRUE(Has(out, c.severity, c.line, c.words)) << c.what << "\n" << Dump(out);
            continue;
        }
        for (const Diagnostic& d : out.All()) {
            EXPECT_NE(d.message.find("is used by nothing"), std::string::npos) << c.what << "\n" << Dump(out);
        }
    }
}

}  // namespace
