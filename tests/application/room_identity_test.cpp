#include "application/room_identity.h"

#include "support/scratch_dir.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using Application::RoomIdentity;

TEST(RoomIdentityTest, HashesTheRoomModelTheLoaderWouldLoad) {
    struct Case {
        const char* what;
        std::string manifest;  // empty: no manifest
        const char* identity;
    };
    const std::string header = "@ tangly-ml-v-020\n";
    // FNV-1a 64 of "a" and of no bytes: the published check values.
    const std::vector<Case> cases = {
        {"room in the workdir",
         header + "{ list\n! workdir models\n{ model\n! name room2\n! path a.obj\n}\n}\n",
         "af63dc4c8601ec8c"},
        {"empty room", header + "{ list\n! workdir models\n{ model\n! name room2\n! path empty.obj\n}\n}\n",
         "cbf29ce484222325"},
        {"first of two",
         header + "{ list\n! workdir models\n{ model\n! name room2\n! path a.obj\n}\n"
                  "{ model\n! name room2\n! path empty.obj\n}\n}\n",
         "af63dc4c8601ec8c"},
        {"bitmap of the name",
         header + "{ list\n! workdir models\n{ bitmap\n! name room2\n! path a.obj\n}\n}\n", ""},
        {"model file missing",
         header + "{ list\n! workdir models\n{ model\n! name room2\n! path b.obj\n}\n}\n", ""},
        {"not tml", "junk\n", ""},
        {"no manifest", "", ""},
    };
    for (const Case& c : cases) {
        TestSupport::ScratchDir dir;
        dir.Write("models/a.obj", "a");
        dir.Write("models/empty.obj", "");
        // The loader resolves paths from the working folder, so the manifest's paths are made absolute.
        std::string manifest = c.manifest;
        const size_t workdir = manifest.find("models");
        if (workdir != std::string::npos) manifest.insert(workdir, dir.Path() + "/");
        const std::string path =
            manifest.empty() ? dir.File("absent.tml") : dir.Write("assets.tml", manifest);
        EXPECT_EQ(RoomIdentity(path), c.identity) << c.what;
    }
}

}  // namespace
