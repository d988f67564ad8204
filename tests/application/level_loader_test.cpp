// Levels loaded after the start on the one loader thread: each job's store comes back whole and
// once, a level the player chose goes ahead of the surveys still waiting, and a level that fails to
// load ends its own job only. Runs clean under ThreadSanitizer.
#include "application/level_loader.h"

#include "engine/assets/assets.h"
#include "support/scratch_dir.h"

#include <gtest/gtest.h>

#include <memory>
#include <thread>
#include <vector>

namespace {

using Application::LevelLoader;
using Engine::AssetEntry;

// Polls until a job ends; every poll is a frame of the shell.
LevelLoader::Done Next(LevelLoader& loader) {
    for (;;) {
        if (std::optional<LevelLoader::Done> done = loader.Poll()) return std::move(*done);
        std::this_thread::yield();
    }
}

TEST(LevelLoaderTest, AChosenLevelGoesAheadOfTheSurveysAndEachJobEndsOnce) {
    TestSupport::ScratchDir dir;
    const std::string room = dir.Write("r.obj", "v 0 0 0\nv 1 0 0\nv 0 0 1\nf 1 2 3\n");
    const std::string data = dir.Write("r.tml", "@ tangly-ml-v-020\n{ level\n}\n");
    const auto level = [&](const std::string& name, const std::string& roomPath) {
        return std::vector<AssetEntry>{{name, "model", roomPath}, {name + "Level", "markup", data}};
    };
    LevelLoader loader;
    loader.Survey(1, level("one", room));
    loader.Survey(2, level("two", dir.File("missing.obj")));
    loader.Survey(3, level("three", room));
    EXPECT_FALSE(loader.Poll()) << "the first survey starts";
    loader.Load(4, level("four", room));
    loader.Load(5, level("five", room));  // chosen in place of four, which had not started
    EXPECT_EQ(loader.Chosen(), std::optional<size_t>(5));

    const struct {
        LevelLoader::Kind kind;
        size_t level;
        bool loaded;
    } expected[] = {
        {LevelLoader::Kind::Survey, 1, true},  // already running when five was chosen
        {LevelLoader::Kind::Level, 5, true},
        {LevelLoader::Kind::Survey, 2, false},  // its room is missing: its own job fails
        {LevelLoader::Kind::Survey, 3, true},
    };
    const char* names[] = {"", "one", "two", "three", "four", "five"};
    for (const auto& e : expected) {
        LevelLoader::Done done = Next(loader);
        const std::unique_ptr<Engine::Assets> store(done.store);
        EXPECT_EQ(done.kind, e.kind) << e.level;
        EXPECT_EQ(done.level, e.level);
        EXPECT_EQ(done.error.empty(), e.loaded) << done.error;
        if (!e.loaded) {
            EXPECT_EQ(store, nullptr);
            EXPECT_NE(done.error.find("missing.obj"), std::string::npos) << done.error;
            continue;
        }
        ASSERT_NE(store, nullptr);
        EXPECT_NE(store->GetModelData(names[e.level]), nullptr);
        EXPECT_NE(store->GetDocument(std::string(names[e.level]) + "Level"), nullptr);
        EXPECT_EQ(store->GetModelDataCount(), 1u) << "a store holds its own job's level only";
    }
    EXPECT_EQ(loader.Chosen(), std::nullopt);
    EXPECT_TRUE(loader.Idle());
    EXPECT_FALSE(loader.Poll());
}

}  // namespace
