#include "stagewalk_check/level_check.h"

#include "check_test_util.h"
#include "engine/assets/model_conversion.h"
#include "markup/tml_reader.h"
#include "support/scratch_dir.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

using namespace CheckTests;
using StagewalkCheck::CheckLevelDocument;

// A floor at y 0 over x -1..1, z -3..1 (model units), facing up.
const char* const kFloor =
    "v -1 0 -3\nv -1 0 1\nv 1 0 1\nv 1 0 -3\nvt 0 0\nvn 0 1 0\nf 1/1/1 2/1/1 3/1/1 4/1/1\n";

TEST(LevelCheckTest, EachFinishTheGameCannotUseIsReportedAtItsLine) {
    TestSupport::ScratchDir dir;
    const std::unique_ptr<Engine::ModelData> room(Engine::ConvertObj(dir.Write("room2.obj", kFloor)));
    const struct {
        const char* finish;  // the body of a finish node opened on line 3
        Severity severity;
        int line;
        const char* words;  // empty: no diagnostic at all
    } cases[] = {
        {"! west 0\n! east 0.5\n! north -1\n! south 0\n! floor 0\n", Severity::Error, 0, ""},
        {"! west 0\n! east 0.5\n! north -1\n! south 0\n! floor 1\n", Severity::Error, 3,
         "finish: the room has no floor at y 1 under (0.25, -0.5) (model units): it floats in the air"},
        {"! west 0.5\n! east 1.5\n! north -1\n! south 0\n! floor 0\n", Severity::Error, 3,
         "no floor at y 0 under (1.49, -0.99)"},
        {"! west 0\n! east 0.5\n! north -1\n! floor 0\n", Severity::Error, 3,
         "finish has no 'south': the game skips it"},
        {"! west 0\n! east half\n! north -1\n! south 0\n! floor 0\n", Severity::Error, 5,
         "'east' is 'half', not a number: the game skips this finish"},
        {"! west 0.5\n! east 0.5\n! north -1\n! south 0\n! floor 0\n", Severity::Error, 3,
         "finish: west 0.5 is not less than east 0.5"},
        {"! west 0\n! east 0.5\n! north 0\n! south -1\n! floor 0\n", Severity::Error, 3,
         "finish: north 0 is not less than south -1"},
        {"! west 0\n! east 0.5\n! north -1\n! south 0\n! flor 0\n", Severity::Warning, 8,
         "unknown key 'flor' in 'finish' (did you mean 'floor'?)"},
    };
    for (const auto& c : cases) {
        const std::string text = std::string("@ tangly-ml-v-020\n{ level\n{ finish\n") + c.finish + "}\n}\n";
        const std::unique_ptr<Tml::Document> level(Tml::ParseDocument(text, "room2.level.tml"));
        Diagnostics out;
        CheckLevelDocument(*level, "room2.level.tml", (*room)[0].get(), out);
        if (*c.words == '\0') {
            EXPECT_TRUE(out.All().empty()) << c.finish << Dump(out);
            continue;
        }
        EXPECT_TRUE(Has(out, c.severity, c.line, c.words)) << c.finish << Dump(out);
        // The missing floor of the flor case is reported too; every other case has one finding.
        if (c.severity == Severity::Error) {
            EXPECT_EQ(out.All().size(), 1u) << c.finish << Dump(out);
        }
    }
}

TEST(LevelCheckTest, ASpawnTheGameSkipsIsReportedAtItsLine) {
    const struct {
        const char* body;  // inside the level node opened on line 2; the first spawn opens on line 3
        Severity severity;
        int line;
        const char* words;  // empty: no diagnostic at all
    } cases[] = {
        {"{ spawn\n! x 0\n! y 1\n! z 0\n! yaw -90\n}\n", Severity::Error, 0, ""},
        {"{ spawn\n! x 0\n! y 1\n}\n", Severity::Error, 3, "spawn has no 'z': the game skips it"},
        {"{ spawn\n! x 0\n! y up\n! z 0\n}\n", Severity::Error, 5, "'y' is 'up', not a number"},
        {"{ spawn\n! x 0\n! y 1\n! z 0\n! yew 0\n}\n", Severity::Warning, 7,
         "unknown key 'yew' in 'spawn' (did you mean 'yaw'?)"},
        {"{ spawn\n! x 0\n! y 1\n! z 0\n}\n{ spawn\n! x 1\n! y 1\n! z 1\n}\n", Severity::Warning, 8,
         "a second spawn (the first is at line 3)"},
    };
    for (const auto& c : cases) {
        const std::string text = std::string("@ tangly-ml-v-020\n{ level\n") + c.body + "}\n";
        const std::unique_ptr<Tml::Document> level(Tml::ParseDocument(text, "room2.level.tml"));
        Diagnostics out;
        CheckLevelDocument(*level, "room2.level.tml", nullptr, out);
        if (*c.words == '\0') {
            EXPECT_TRUE(out.All().empty()) << c.body << Dump(out);
            continue;
        }
        EXPECT_TRUE(Has(out, c.severity, c.line, c.words)) << c.body << Dump(out);
        EXPECT_EQ(out.All().size(), 1u) << c.body << Dump(out);
    }
}

}  // namespace
