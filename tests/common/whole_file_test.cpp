#include "common/whole_file.h"

#include "support/scratch_dir.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <string>

namespace {

using Common::Links;
using Status = Common::WholeFile::Status;

// What the readers of outside data may be handed: only a regular file within the limit reads, and
// nothing blocks (a pipe without a writer) or follows a link where links are refused. (The readers'
// own refusals of links, folders and pipes are in the records and demo tests.)
TEST(ReadWholeFile, ReadsRegularFilesWithinTheLimitAndRefusesTheRest) {
    TestSupport::ScratchDir dir;
    const std::string file = dir.Write("file.txt", "twelve bytes");
    ASSERT_EQ(symlink(file.c_str(), dir.File("link").c_str()), 0);
    ASSERT_EQ(mkfifo(dir.File("pipe").c_str(), 0600), 0);
    const struct {
        std::string path;
        size_t limit;
        Links links;
        Status status;
        const char* reason;
    } cases[] = {
        {file, 12, Links::Follow, Status::Read, ""},
        {dir.File("link"), 12, Links::Follow, Status::Read, ""},
        {dir.File("link"), 12, Links::Refuse, Status::Refused, "is a symbolic link"},
        {file, 11, Links::Follow, Status::TooLarge, "is larger than 11 bytes"},
        {dir.File("missing"), 12, Links::Follow, Status::Missing, "No such file or directory"},
        {dir.File("pipe"), 12, Links::Follow, Status::Refused, "is a pipe, not a file"},
        {"/dev/zero", 12, Links::Follow, Status::Refused, "is a device, not a file"},
    };
    for (const auto& c : cases) {
        const Common::WholeFile read = Common::ReadWholeFile(c.path, c.limit, c.links);
        EXPECT_EQ(read.status, c.status) << c.path;
        EXPECT_EQ(read.reason, c.reason) << c.path;
        EXPECT_EQ(read.text, c.status == Status::Read ? "twelve bytes" : "") << c.path;
    }
}

}  // namespace
