// The shell's side of loading, without a window: a failure in the middle of a long manifest leaves
// the earlier entries in the store, turns into "Asset loading error: ..." on the next update, and
// the store is never handed to the scene (no textures or models are made, loaded stays false), on
// that update or any later one. Runs clean under ThreadSanitizer: the worker is polled while it runs.
#include "application/app_base.h"
#include "engine/assets/asset_buffer.h"
#include "engine/assets/assets.h"

#include "support/image_files.h"
#include "support/scratch_dir.h"

#include <gtest/gtest.h>

#include <chrono>
#include <stdexcept>
#include <string>
#include <thread>

namespace {

using Engine::AssetBuffer;

// The shell with its loading state opened up; no window, no OpenGL, no scene is ever made.
class LoadingShell : public Application::AppBase {
public:
    LoadingShell() { terminated = true; }  // nothing to terminate: Init never ran
    void StartLoading(const std::string& manifest) {
        assets = new Engine::Assets();
        assetBuffer = Engine::AssetBuffer(manifest, assets);
        assetBuffer.StartLoading();
    }
    bool Loaded() const { return loaded; }
    const Engine::Assets& Store() const { return *assets; }
    const Engine::AssetBuffer& Buffer() const { return assetBuffer; }
    ~LoadingShell() {
        AssetBuffer::JoinLoading();
        delete assets;
    }
};

std::string Entry(int index, const std::string& path) {
    return "{ bitmap\n! name b" + std::to_string(index) + "\n! path " + path + "\n}\n";
}

TEST(AppBaseLoading, FailureInTheMiddleOfALongListIsNeverHandedOver) {
    TestSupport::ScratchDir dir;
    ASSERT_TRUE(TestSupport::WriteSolidPng(dir.File("a.png"), 4, 4, 1, 2, 3, 255));
    dir.Write("broken.png", "\x89PNG\r\n\x1a\n not really");
    constexpr int kEntries = 600;
    constexpr int kFailing = 400;  // 0-based index of the broken entry
    std::string manifest = "@ tangly-ml-v-020\n{ list\n! workdir " + dir.Path() + "\n";
    for (int i = 0; i < kEntries; ++i) manifest += Entry(i, i == kFailing ? "broken.png" : "a.png");
    manifest += "}\n";

    LoadingShell shell;
    shell.StartLoading(dir.Write("assets.tml", manifest));
    // Update as the main loop would, frame after frame, until the failure surfaces.
    std::string error;
    for (int frame = 0; frame < 10000000 && error.empty(); ++frame) {
        try {
            shell.OnUpdate(Engine::ApplicationManager::kFramePeriod);
        } catch (const std::runtime_error& e) {
            error = e.what();
        }
        EXPECT_FALSE(shell.Loaded());
        if (error.empty()) std::this_thread::sleep_for(std::chrono::microseconds(100));
    }
    EXPECT_EQ(error, "Asset loading error: Failed to load a bitmap in " + dir.File("broken.png"));
    AssetBuffer::JoinLoading();
    EXPECT_EQ(shell.Store().GetBitmapCount(), static_cast<size_t>(kFailing));   // the entries before it
    EXPECT_EQ(shell.Buffer().GetNextIndex(), static_cast<uint32_t>(kFailing));  // stays on the failure
    EXPECT_EQ(shell.Store().GetTextureCount(), 0u);                             // never finished
    EXPECT_EQ(shell.Store().GetModelCount(), 0u);
    // Later updates fail the same way and still hand nothing over.
    EXPECT_THROW(shell.OnUpdate(Engine::ApplicationManager::kFramePeriod), std::runtime_error);
    EXPECT_FALSE(shell.Loaded());
    EXPECT_EQ(shell.Store().GetTextureCount(), 0u);
}

}  // namespace
