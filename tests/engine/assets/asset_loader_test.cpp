// The background loader against real files: order, the first failure, what stays in the store,
// and the status protocol. Runs clean under ThreadSanitizer.
#include "engine/assets/asset_buffer.h"
#include "engine/assets/assets.h"
#include "markup/document.h"

#include "support/image_files.h"
#include "support/scratch_dir.h"

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

namespace {

using Engine::AssetBuffer;
using Engine::Assets;

const std::string kObj = "v 0 0 0\nv 1 0 0\nv 0 1 0\nvt 0 0\nvn 0 0 1\nf 1/1/1 2/1/1 3/1/1\n";
const std::string kTmx =
    "<map width=\"2\" height=\"1\"><layer name=\"l\"><data encoding=\"csv\">1,2</data></layer></map>";

class LoaderTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(TestSupport::WriteSolidPng(dir.File("a.png"), 2, 2, 9, 8, 7, 255)); }
    void TearDown() override { AssetBuffer::JoinLoading(); }

    std::string Manifest(const std::string& entries) {
        return dir.Write("assets.tml",
                         "@ tangly-ml-v-020\n{ list\n! workdir " + dir.Path() + "\n" + entries + "}\n");
    }
    static std::string Entry(const std::string& kind, const std::string& name, const std::string& path) {
        return "{ " + kind + "\n! name " + name + "\n! path " + path + "\n}\n";
    }
    // Runs the worker to its end and returns the final status.
    int LoadAll(AssetBuffer& buffer) {
        buffer.StartLoading();
        AssetBuffer::JoinLoading();
        return AssetBuffer::GetLoadingStatus();
    }

    TestSupport::ScratchDir dir;
    Assets assets;
};

TEST_F(LoaderTest, LoadsEveryKindInOrder) {
    dir.Write("m.obj", kObj);
    dir.Write("t.tmx", kTmx);
    dir.Write("d.tml", "@ tangly-ml-v-020\n{ level\n}\n");
    dir.Write("s.wav", TestSupport::ReadFile(STAGEWALK_SOURCE_DIR "/game/data/jump.wav"));
    AssetBuffer buffer(Manifest(Entry("bitmap", "a", "a.png") + Entry("model", "m", "m.obj") +
                                Entry("map", "t", "t.tmx") + Entry("markup", "d", "d.tml") +
                                Entry("bitmap", "b", "a.png") + Entry("sound", "s", "s.wav")),
                       &assets);
    EXPECT_EQ(LoadAll(buffer), 1);
    EXPECT_EQ(assets.GetBitmapCount(), 2u);
    EXPECT_EQ(assets.GetModelDataCount(), 1u);
    EXPECT_EQ(assets.GetMapCount(), 1u);
    EXPECT_EQ(assets.GetDocumentCount(), 1u);
    EXPECT_EQ(assets.GetSoundDataCount(), 1u);
    EXPECT_EQ(assets.GetSound("s"), nullptr);  // no sounds before CreateSounds
    EXPECT_NE(assets.GetMap("t"), nullptr);
    const Tml::Document* document = assets.GetDocument("d");
    ASSERT_NE(document, nullptr);
    ASSERT_EQ(document->RootNodes().size(), 1u);
    EXPECT_EQ(document->RootNodes()[0]->Name(), "level");  // kept as read
    EXPECT_EQ(assets.GetDocument("t"), nullptr);           // a map's name is no document
    EXPECT_EQ(assets.GetMap("a"), nullptr);                // a bitmap's name is no map
    EXPECT_EQ(assets.GetTexture("a"), nullptr);            // no textures before CreateTextures
    EXPECT_EQ(assets.GetModel("m"), nullptr);              // no models before CreateModels
    EXPECT_EQ(buffer.GetNextIndex(), 6u);
}

TEST_F(LoaderTest, StopsAtTheFirstFailureAndKeepsWhatCameBefore) {
    const std::string missing = dir.File("missing.png");
    AssetBuffer buffer(Manifest(Entry("bitmap", "one", "a.png") + Entry("bitmap", "two", "a.png") +
                                Entry("bitmap", "three", "missing.png") + Entry("bitmap", "four", "a.png") +
                                Entry("bitmap", "five", "a.png")),
                       &assets);
    EXPECT_EQ(LoadAll(buffer), -1);
    EXPECT_EQ(AssetBuffer::GetLoadingError(), "Failed to load a bitmap in " + missing);
    EXPECT_EQ(assets.GetBitmapCount(), 2u);
    EXPECT_EQ(buffer.GetNextIndex(), 2u);  // the cursor stays on the failing entry
}

struct FailureCase {
    const char* kind;
    const char* file;  // written into the scratch dir when not null
    const char* content;
    const char* errorStart;
};

TEST_F(LoaderTest, EachKindReportsItsOwnFailureText) {
    const FailureCase cases[] = {
        {"bitmap", "garbage.png", "not an image at all", "Failed to load a bitmap in "},
        {"model", nullptr, nullptr, "Error loading a file in "},
        {"map", nullptr, nullptr, "Failed to open file in "},
        {"map", "csv.tmx", "<map><layer name=\"g\"><data encoding=\"base64\">AAAA</data></layer></map>",
         "Error in layer 'g': the encoding must be 'csv'!"},
        {"map", "broken.tmx", "<map><layer", ""},         // malformed XML: any clear text, no crash
        {"map", "number.tmx", "<map width=\"x\"/>", ""},  // a bad number: any clear text, no crash
        // Unlike the settings, a listed document must be there.
        {"markup", nullptr, nullptr, "Failed to load a markup document in "},
        {"markup", "headless.tml", "{ level\n}\n", "Header missing in "},
        {"sound", nullptr, nullptr, "Failed to load a sound in "},
        {"sound", "broken.wav", "RIFF....WAVEfmt not a format chunk", "Failed to load a sound in "},
    };
    for (const FailureCase& c : cases) {
        Assets store;
        const std::string name = c.file ? c.file : "absent.file";
        if (c.file) dir.Write(c.file, c.content);
        AssetBuffer buffer(Manifest(Entry(c.kind, "x", name)), &store);
        EXPECT_EQ(LoadAll(buffer), -1) << c.kind << " " << name;
        const std::string error = AssetBuffer::GetLoadingError();
        EXPECT_EQ(error.rfind(c.errorStart, 0), 0u) << error;
        EXPECT_FALSE(error.empty()) << name;
    }
}

TEST_F(LoaderTest, EmptyManifestFinishesAtOnce) {
    AssetBuffer buffer(dir.File("none.tml"), &assets);
    EXPECT_EQ(LoadAll(buffer), 1);
    EXPECT_EQ(assets.GetBitmapCount(), 0u);
}

TEST_F(LoaderTest, StatusIsPolledWhileTheWorkerRunsAndJoinTwiceIsHarmless) {
    std::string entries;
    for (int i = 0; i < 200; ++i) entries += Entry("bitmap", "b" + std::to_string(i), "a.png");
    AssetBuffer buffer(Manifest(entries), &assets);
    buffer.StartLoading();
    int status = 0;
    // Bounded only so that a loader that never finishes fails the test instead of hanging it; a
    // loaded machine or a sanitizer build may need many more polls than a quiet one.
    for (int polls = 0; polls < 10000000 && (status = AssetBuffer::GetLoadingStatus()) == 0; ++polls) {
        std::this_thread::sleep_for(std::chrono::microseconds(50));
    }
    EXPECT_EQ(status, 1);
    AssetBuffer::JoinLoading();
    AssetBuffer::JoinLoading();
    EXPECT_EQ(assets.GetBitmapCount(), 200u);
}

}  // namespace
