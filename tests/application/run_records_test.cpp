#include "application/run_records.h"

#include "support/scratch_dir.h"

#include <gtest/gtest.h>

#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

namespace {

using Application::RunRecords;

constexpr const char* kRoomA = "0123456789abcdef";
constexpr const char* kRoomB = "fedcba9876543210";

std::string RoomNumber(int n) {
    char room[17];
    std::snprintf(room, sizeof room, "%016x", n);
    return room;
}

TEST(RunRecordsTest, BestsSurviveASaveAndOnlyBetterTimesReplaceThem) {
    TestSupport::ScratchDir dir;
    const std::string path = dir.File("records.tml");
    std::string message;
    RunRecords records = RunRecords::Load(path, message);
    EXPECT_EQ(message, "");
    EXPECT_EQ(records.Best(kRoomA), -1);
    EXPECT_TRUE(records.Offer(kRoomA, 741));
    EXPECT_FALSE(records.Offer(kRoomA, 741));
    EXPECT_TRUE(records.Offer(kRoomA, 740));
    EXPECT_TRUE(records.Offer(kRoomB, 1));
    EXPECT_FALSE(records.Offer("not a room", 5));
    EXPECT_FALSE(records.Offer(kRoomB, 0));
    std::string error;
    ASSERT_TRUE(records.Save(path, error)) << error;
    const RunRecords loaded = RunRecords::Load(path, message);
    EXPECT_EQ(message, "");
    EXPECT_EQ(loaded.Best(kRoomA), 740);
    EXPECT_EQ(loaded.Best(kRoomB), 1);
    EXPECT_NE(TestSupport::ReadFile(path).find("! seconds 12.33"), std::string::npos);
}

TEST(RunRecordsTest, ADamagedFileIsSetAsideUnderAFreeNameWithOneLine) {
    const std::string header = "@ tangly-ml-v-020\n";
    struct Case {
        std::string text;
        const char* reason;
    };
    const std::vector<Case> cases = {
        {"junk\n", "not tml: Header missing"},
        {"", "no records node"},
        {header + "{ records\n{ level\n! room " + kRoomA + "\n! frames 12x\n}\n}\n",
         "line 5: bad number '12x'"},
        {header + "{ records\n{ level\n! room 0123\n! frames 12\n}\n}\n", "line 4: bad room '0123'"},
        {header + "{ records\n{ level\n! room " + kRoomA + "\n! frames 92233720368547759\n}\n}\n",
         "line 5: bad number '92233720368547759' for frames (1 to 2147483647)"},
        {header + std::string(300000, '{') + "\n", "more nodes or attributes than 10000 levels hold"},
        {header + "{ records\n{ level\n! frames 12\n}\n}\n", "a level without a room"},
        {header + "{ records\n{ level\n! room " + kRoomA + "\n! frames 1\n}\n{ level\n! room " + kRoomA +
             "\n! frames 2\n}\n}\n",
         "room 0123456789abcdef twice"},
    };
    TestSupport::ScratchDir dir;
    const std::string path = dir.File("records.tml");
    for (size_t i = 0; i < cases.size(); ++i) {
        dir.Write("records.tml", cases[i].text);
        std::string message;
        const RunRecords records = RunRecords::Load(path, message);
        EXPECT_EQ(records.Count(), 0u);
        // Each damage lands beside the ones before it, which keep what they held.
        const std::string aside = path + ".damaged" + (i == 0 ? "" : "-" + std::to_string(i + 1));
        EXPECT_EQ(message.rfind("Records " + path + " is damaged (", 0), 0u) << message;
        const std::string tail = "); set aside as " + aside + ", best times start empty";
        EXPECT_EQ(message.substr(message.size() - std::min(message.size(), tail.size())), tail) << message;
        EXPECT_NE(message.find(cases[i].reason), std::string::npos) << message;
        EXPECT_FALSE(std::filesystem::exists(path));
        EXPECT_EQ(TestSupport::ReadFile(aside), cases[i].text);
        EXPECT_EQ(TestSupport::ReadFile(path + ".damaged"), cases[0].text);
    }
}

// What is not a regular file of the game's own is neither read through nor saved over: the outside
// file a link points at keeps what it held, and the link, folder or pipe stays where it is.
TEST(RunRecordsTest, AFileThatCannotBeReadIsNeverSavedOver) {
    TestSupport::ScratchDir dir;
    const std::string outside = dir.Write("outside.txt", "not the game's");
    const std::string path = dir.File("records.tml");
    const struct {
        const char* what;
        void (*make)(const std::string& path, const std::string& outside);
        const char* reason;
    } cases[] = {
        {"folder", [](const std::string& p, const std::string&) { std::filesystem::create_directory(p); },
         "cannot be read (is a folder, not a file)"},
        {"link",
         [](const std::string& p, const std::string& o) { ASSERT_EQ(symlink(o.c_str(), p.c_str()), 0); },
         "cannot be read (is a symbolic link)"},
        {"pipe", [](const std::string& p, const std::string&) { ASSERT_EQ(mkfifo(p.c_str(), 0600), 0); },
         "cannot be read (is a pipe, not a file)"},
    };
    for (const auto& c : cases) {
        std::filesystem::remove_all(path);
        c.make(path, outside);
        const auto type = std::filesystem::symlink_status(path).type();
        std::string message;
        RunRecords records = RunRecords::Load(path, message);
        EXPECT_EQ(message,
                  "Records " + path + " " + c.reason + "; best times start empty and are not saved over it")
            << c.what;
        ASSERT_TRUE(records.Offer(kRoomA, 10));
        std::string error;
        EXPECT_FALSE(records.Save(path, error)) << c.what;
        EXPECT_EQ(error.rfind("Records not saved: " + path + ": ", 0), 0u) << error;
        EXPECT_EQ(std::filesystem::symlink_status(path).type(), type) << c.what;
        EXPECT_EQ(TestSupport::ReadFile(outside), "not the game's") << c.what;
    }
    // A save that fails says why in one line and leaves nothing behind.
    std::string error;
    EXPECT_FALSE(RunRecords().Save(dir.File("missing/records.tml"), error));
    EXPECT_EQ(error, "Records not saved: " + dir.File("missing/records.tml") + ": No such file or directory");
}

// A child saves ever better times for many levels in a tight loop and is killed at varied moments:
// each time, the file reads without a message and holds one whole save, every level at the same best.
TEST(RunRecordsTest, TheBestTimeSurvivesAKillInTheMiddleOfWritingIt) {
    constexpr int kLevels = 50;
    constexpr int64_t kFirst = 1000000;
    TestSupport::ScratchDir dir;
    const std::string path = dir.File("records.tml");
    std::string message;
    std::string error;
    RunRecords first = RunRecords::Load(path, message);
    for (int level = 0; level < kLevels; ++level) first.Offer(RoomNumber(level), kFirst);
    ASSERT_TRUE(first.Save(path, error)) << error;

    std::mt19937 random(20261208);
    int64_t lowest = kFirst;
    for (int round = 0; round < 200; ++round) {
        // Every other round the kill waits until the child has saved once, so the rounds see saves
        // however slow the machine (or a sanitizer) makes them.
        int saved[2];
        ASSERT_EQ(pipe(saved), 0);
        const pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            close(saved[0]);
            std::string ignored;
            RunRecords records = RunRecords::Load(path, ignored);
            for (int64_t best = records.Best(RoomNumber(0)) - 1; best > 0; --best) {
                for (int level = 0; level < kLevels; ++level) records.Offer(RoomNumber(level), best);
                records.Save(path, ignored);
                if (saved[1] >= 0 && write(saved[1], "s", 1) == 1) {
                    close(saved[1]);
                    saved[1] = -1;
                }
            }
            _exit(0);
        }
        close(saved[1]);
        char byte = 0;
        if (round % 2 == 1) {
            ASSERT_EQ(read(saved[0], &byte, 1), 1) << "the child never saved";
        }
        close(saved[0]);
        usleep(static_cast<useconds_t>(random() % 4000));
        kill(child, SIGKILL);
        int status = 0;
        ASSERT_EQ(waitpid(child, &status, 0), child);
        const RunRecords records = RunRecords::Load(path, message);
        ASSERT_EQ(message, "") << "round " << round;
        ASSERT_EQ(records.Count(), static_cast<size_t>(kLevels)) << "round " << round;
        const int64_t best = records.Best(RoomNumber(0));
        ASSERT_GT(best, 0);
        ASSERT_LE(best, lowest) << "round " << round;
        for (int level = 1; level < kLevels; ++level) ASSERT_EQ(records.Best(RoomNumber(level)), best);
        lowest = best;
    }
    // The child must have saved at times, or the rounds above only reread the first file.
    EXPECT_LT(lowest, kFirst);
}

}  // namespace
