#include "application/level_identity.h"

#include "application/level_catalog.h"
#include "application/room_identity.h"
#include "application/run_records.h"
#include "markup/tml_reader.h"
#include "support/scratch_dir.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace {

using Application::LevelIdentityOfFiles;

const char* const kRoom = "v 0 0 0\nv 1 0 0\nv 0 0 1\nvn 0 1 0\nf 1//1 3//1 2//1\n";
const char* const kData =
    "@ tangly-ml-v-020\n{ level\n{ finish\n! west 0\n! east 1\n! north 0\n! south 1\n"
    "! floor 0\n}\n{ spawn\n! x 0.2\n! y 1\n! z 0.2\n}\n}\n";

// What plays names the level: the files' spelling does not, a moved corner, finish or spawn does.
TEST(LevelIdentityTest, WhatPlaysNamesTheLevelAndNothingElse) {
    TestSupport::ScratchDir dir;
    const std::string base = LevelIdentityOfFiles(dir.Write("a.obj", kRoom), dir.Write("a.tml", kData));
    ASSERT_TRUE(Application::IsRoomIdentity(base)) << base;
    const auto replace = [](std::string text, const std::string& from, const std::string& to) {
        return text.replace(text.find(from), from.size(), to);
    };
    const struct {
        const char* what;
        std::string room, data;
        bool same;
    } cases[] = {
        {"comments, blank lines and spacing",
         std::string("# exported\n\n") + replace(kRoom, "v 1 0 0", "v  1.0 0 0 "),
         replace(kData, "{ level\n", "# where runs end\n{ level\n"), true},
        {"normals", replace(kRoom, "vn 0 1 0", "vn 0 -1 0"), kData, true},
        {"the spawn written in another order", kRoom, replace(kData, "! x 0.2\n! y 1", "! y 1\n! x 0.2"),
         true},
        {"a corner moved", replace(kRoom, "v 1 0 0", "v 1 0 0.5"), kData, false},
        {"the finish moved", kRoom, replace(kData, "! east 1", "! east 0.5"), false},
        {"the spawn moved", kRoom, replace(kData, "! z 0.2", "! z 0.3"), false},
        {"the spawn turned", kRoom, replace(kData, "! z 0.2\n", "! z 0.2\n! yaw 90\n"), false},
        {"no data", kRoom, "", false},
    };
    for (const auto& c : cases) {
        const std::string data = c.data.empty() ? "" : dir.Write("b.tml", c.data);
        const std::string identity = LevelIdentityOfFiles(dir.Write("b.obj", c.room), data);
        EXPECT_EQ(identity == base, c.same) << c.what;
    }
    EXPECT_EQ(LevelIdentityOfFiles(dir.File("missing.obj"), ""), "");
    EXPECT_EQ(LevelIdentityOfFiles(dir.Write("c.obj", kRoom), dir.File("missing.tml")), "");
}

// A best kept under the identity of old (the room file's bytes) is carried over to the level whose
// room file still has those bytes, and kept under the new identity from then on.
TEST(LevelIdentityTest, ABestKeptUnderTheRoomFilesBytesIsCarriedOver) {
    TestSupport::ScratchDir dir;
    const std::string room = dir.Write("data/a.obj", kRoom);
    const std::string old = Application::RoomFileIdentity(room);
    const std::string other = Application::RoomFileIdentity(dir.Write("data/b.obj", "o\n"));
    const std::string manifest = "@ tangly-ml-v-020\n{ list\n! workdir " + dir.File("data") +
                                 "\n{ model\n! name a\n! path a.obj\n}\n}\n"
                                 "{ levels\n{ level\n! name a\n! room a\n}\n}\n";
    const std::unique_ptr<Tml::Document> document(Tml::ParseDocument(manifest, "assets.tml"));
    Application::LevelCatalog catalog;
    catalog.Read(*document);
    const std::string identity = catalog.IdentityOfFiles(0);
    std::string message;
    for (const auto& [kept, best] : {std::make_pair(old, 700), std::make_pair(other, -1)}) {
        Application::RunRecords records = Application::RunRecords::Load(dir.File("none.tml"), message);
        ASSERT_TRUE(records.Offer(kept, 700));
        catalog.Identify(0, identity, records);
        EXPECT_EQ(catalog.State(0).best, best) << kept;
        EXPECT_EQ(records.Best(identity), best) << kept;
    }
}

}  // namespace
