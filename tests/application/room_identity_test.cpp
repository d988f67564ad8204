#include "application/room_identity.h"

#include "support/scratch_dir.h"

#include <gtest/gtest.h>

namespace {

TEST(RoomIdentityTest, HashesTheBytesOfTheRoomFile) {
    TestSupport::ScratchDir dir;
    // FNV-1a 64 of "a" and of no bytes: the published check values.
    EXPECT_EQ(Application::RoomFileIdentity(dir.Write("a.obj", "a")), "af63dc4c8601ec8c");
    EXPECT_EQ(Application::RoomFileIdentity(dir.Write("empty.obj", "")), "cbf29ce484222325");
    EXPECT_EQ(Application::RoomFileIdentity(dir.File("missing.obj")), "");
    EXPECT_EQ(Application::RoomFileIdentity(""), "");
}

}  // namespace
