#include "common/atomic_file.h"

#include "support/scratch_dir.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <string>

namespace {

namespace fs = std::filesystem;

size_t FilesIn(const std::string& folder) {
    size_t count = 0;
    for ([[maybe_unused]] const auto& entry : fs::directory_iterator(folder)) ++count;
    return count;
}

// A planted link, at the target or at the names a writer of old used for its temporary file, is
// neither followed nor replaced, and the file outside keeps what it held.
TEST(AtomicFile, NeverWritesThroughALinkNorReplacesOne) {
    TestSupport::ScratchDir dir;
    const std::string outside = dir.Write("outside/secret", "outside");
    const std::string path = dir.File("game/records.tml");
    fs::create_directories(dir.File("game"));
    ASSERT_EQ(symlink(outside.c_str(), (path + ".tmp").c_str()), 0);
    std::string error;
    ASSERT_TRUE(Common::WriteFileAtomically(path, "new", error)) << error;
    EXPECT_EQ(TestSupport::ReadFile(path), "new");
    EXPECT_FALSE(fs::is_symlink(path));

    ASSERT_EQ(unlink(path.c_str()), 0);
    ASSERT_EQ(symlink(outside.c_str(), path.c_str()), 0);
    EXPECT_FALSE(Common::WriteFileAtomically(path, "new", error));
    EXPECT_EQ(error, "is a symbolic link, left as it is");
    // Planted after the file was opened: looked at again before it is put in place.
    ASSERT_EQ(unlink(path.c_str()), 0);
    Common::AtomicFile file;
    ASSERT_TRUE(file.Open(path) && file.Write("new"));
    ASSERT_EQ(symlink(outside.c_str(), path.c_str()), 0);
    EXPECT_FALSE(file.Commit());
    EXPECT_TRUE(fs::is_symlink(path));
    EXPECT_EQ(TestSupport::ReadFile(outside), "outside");
    EXPECT_EQ(FilesIn(dir.File("game")), 2u) << "the link at the old temporary name and the planted one";
}

// Files that belong together: when one cannot be written, none changes and no fresh file stays.
TEST(AtomicFile, AFailureChangesNoneOfTheFilesThatBelongTogether) {
    TestSupport::ScratchDir dir;
    const std::string a = dir.Write("a.obj", "old a");
    const std::string b = dir.Write("b.tml", "old b");
    std::string error;
    EXPECT_FALSE(Common::WriteFilesAtomically({{a, "new a"}, {dir.File("missing/b.tml"), "new b"}}, error));
    EXPECT_EQ(error, dir.File("missing/b.tml") + ": No such file or directory");
    EXPECT_EQ(TestSupport::ReadFile(a), "old a");
    EXPECT_EQ(FilesIn(dir.Path()), 2u);
    ASSERT_TRUE(Common::WriteFilesAtomically({{a, "new a"}, {b, "new b"}}, error)) << error;
    EXPECT_EQ(TestSupport::ReadFile(a) + TestSupport::ReadFile(b), "new anew b");
    EXPECT_EQ(FilesIn(dir.Path()), 2u);
}

}  // namespace
