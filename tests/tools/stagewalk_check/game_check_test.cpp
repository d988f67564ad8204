#include "stagewalk_check/game_check.h"

#include "application/asset_names.h"
#include "check_test_util.h"
#include "stagewalk_check/diagnostics.h"
#include "support/image_files.h"
#include "support/scratch_dir.h"

#include <gtest/gtest.h>

#include <cstdio>

namespace {

using namespace CheckTests;
using StagewalkCheck::CheckGame;
using StagewalkCheck::GameFolder;

const char* const kTriangle = "v 0 0 0\nv 1 0 0\nv 0 0 1\nvt 0 0\nvn 0 1 0\nf 1/1/1 2/1/1 3/1/1\n";
// A floor below the spawn point, facing up: the room the player lands on.
const char* const kFloor =
    "v -1 0 -3\nv -1 0 1\nv 1 0 1\nv 1 0 -3\nvt 0 0\nvn 0 1 0\nf 1/1/1 2/1/1 3/1/1 4/1/1\n";

// A small game folder that passes every check; each test breaks one thing in it.
class GameCheckTest : public ::testing::Test {
protected:
    void SetUp() override {
        dir.Write("config.tml",
                  "@ tangly-ml-v-020\n{ application\n{ properties\n! assetpath data/assets.tml\n"
                  "! shaderpath shaders\n}\n}\n");
        dir.Write("shaders/vertex.glsl", "void main() {}\n");
        dir.Write("shaders/fragment.glsl", "void main() {}\n");
        dir.Write("data/readme.txt", "");  // makes the folder the images are written into
        std::string manifest = "@ tangly-ml-v-020\n{ list\n! workdir data\n";  // entries from line 4 on
        for (const char* name : {"font16", "crosshair", "cityBg", "sky"}) {
            ASSERT_TRUE(
                TestSupport::WriteSolidPng(dir.File(std::string("data/") + name + ".png"), 2, 2, 1, 2, 3, 4));
            manifest += std::string("{ bitmap\n! name ") + name + "\n! path " + name + ".png\n}\n";
        }
        for (const char* name : {"room2", "cylinder", "skybox"}) {
            dir.Write(std::string("data/") + name + ".obj",
                      name == std::string("room2") ? kFloor : kTriangle);
            manifest += std::string("{ model\n! name ") + name + "\n! path " + name + ".obj\n}\n";
        }
        const std::string sound = TestSupport::ReadFile(STAGEWALK_SOURCE_DIR "/game/data/footstep.wav");
        for (const auto& required : Application::AssetNames::Sounds) {  // from line 32 on
            dir.Write(std::string("data/") + required.name + ".wav", sound);
            manifest +=
                std::string("{ sound\n! name ") + required.name + "\n! path " + required.name + ".wav\n}\n";
        }
        dir.Write("data/assets.tml", manifest + "}\n");
    }

    Diagnostics Check() {
        Diagnostics out;
        CheckGame(GameFolder(dir.Path()), out);
        return out;
    }

    TestSupport::ScratchDir dir;
};

TEST_F(GameCheckTest, AWorkingFolderHasNoProblems) {
    const Diagnostics out = Check();
    EXPECT_TRUE(out.All().empty()) << Dump(out);
}

TEST(ShippedGameCheckTest, HasNoProblems) {
    Diagnostics out;
    CheckGame(GameFolder(std::string(STAGEWALK_SOURCE_DIR) + "/game"), out);
    EXPECT_TRUE(out.All().empty()) << Dump(out);
}

TEST_F(GameCheckTest, BrokenAssetFilesAreTiedToTheirEntryWithThePathAsWritten) {
    struct Case {
        const char* file;  // under data/, replaced or removed
        const char* content;
        int line;
        const char* words;
    };
    const Case cases[] = {
        {"sky.png", nullptr, 16, "bitmap 'sky': file 'data/sky.png' not found"},
        {"cityBg.png", "not an image", 12, "bitmap 'cityBg': Failed to load a bitmap in data/cityBg.png"},
        {"room2.obj", "# nothing\n", 20, "model 'room2' has no faces: the room has no floor to walk on"},
        {"jump.wav", "not a sound", 36,
         "sound 'jump': Failed to load a sound in data/jump.wav: Format not recognised."},
        {"wind.wav", nullptr, 52, "sound 'wind': file 'data/wind.wav' not found"},
    };
    for (const Case& c : cases) {
        SetUp();
        const std::string path = dir.File(std::string("data/") + c.file);
        if (c.content)
            dir.Write(std::string("data/") + c.file, c.content);
        else
            std::remove(path.c_str());
        const Diagnostics out = Check();
        EXPECT_EQ(out.All().size(), 1u) << c.file << Dump(out);
        EXPECT_TRUE(Has(out, Severity::Error, c.line, c.words)) << c.file << Dump(out);
        EXPECT_EQ(out.All()[0].file, "data/assets.tml");
    }
}

TEST_F(GameCheckTest, MapsAreLoadedWithTheTileLoader) {
    dir.Write("data/assets.tml", TestSupport::ReadFile(dir.File("data/assets.tml")) +
                                     "{ list\n{ map\n! name m\n! path m.tmx\n}\n}\n");
    Diagnostics out = Check();
    EXPECT_TRUE(Has(out, Severity::Error, 58, "map 'm': file 'data/m.tmx' not found")) << Dump(out);
    dir.Write("data/m.tmx",
              "<map width=\"1\" height=\"1\"><layer><data encoding=\"base64\">A</data></layer></map>");
    out = Check();
    EXPECT_TRUE(Has(out, Severity::Error, 58, "map 'm': Error in layer '': the encoding must be 'csv'!"))
        << Dump(out);
}

TEST_F(GameCheckTest, NamesTheGameAsksForMustBeListed) {
    std::string manifest = TestSupport::ReadFile(dir.File("data/assets.tml"));
    manifest.replace(manifest.find("name sky\n"), 9, "name skye\n");
    manifest.replace(manifest.find("{ model\n! name skybox"), 21, "{ bitmap\n! name skybox");
    manifest.replace(manifest.find("name wind\n"), 10, "name wnd\n");
    dir.Write("data/assets.tml", manifest);
    const Diagnostics out = Check();
    // Without a sound the game plays on, silent where it would play it.
    EXPECT_TRUE(Has(out, Severity::Warning, 0,
                    "the game plays sound 'wind', which the manifest does not list: it stays silent there "
                    "(is 'wnd' at line 52 meant?)"))
        << Dump(out);
    EXPECT_TRUE(Has(out, Severity::Error, 0,
                    "the game asks for bitmap 'sky', which the manifest does not list "
                    "(is 'skye' at line 16 meant?)"))
        << Dump(out);
    EXPECT_TRUE(Has(out, Severity::Error, 0,
                    "the game asks for model 'skybox', which the manifest does not list "
                    "(line 28 lists it as a bitmap)"))
        << Dump(out);
}

TEST_F(GameCheckTest, SettingsPathsMustLeadToFiles) {
    std::remove(dir.File("shaders/fragment.glsl").c_str());
    std::remove(dir.File("data/assets.tml").c_str());
    const Diagnostics out = Check();
    EXPECT_EQ(out.All().size(), 2u) << Dump(out);
    EXPECT_TRUE(Has(out, Severity::Error, 5, "shader file 'shaders/fragment.glsl' not found")) << Dump(out);
    EXPECT_TRUE(
        Has(out, Severity::Error, 4, "asset manifest 'data/assets.tml' not found: the game loads no assets"));
}

TEST_F(GameCheckTest, HeaderProblemsUseTheReadersTextAndStopThatDocument) {
    dir.Write("data/assets.tml", "# assets\n\n@ tangly-ml-v-021\n{ list\n{ bitmp\n}\n}\n");
    Diagnostics out = Check();
    EXPECT_EQ(out.All().size(), 1u) << Dump(out);
    EXPECT_TRUE(
        Has(out, Severity::Error, 3, "Unknown version, only 'tangly-ml-v-020' is supported by the parser!"));

    dir.Write("config.tml", "{ application\n}\n");
    out = Check();
    EXPECT_EQ(out.All().size(), 1u) << Dump(out);
    EXPECT_TRUE(Has(out, Severity::Error, 1, "Header missing in config.tml!")) << Dump(out);
}

TEST_F(GameCheckTest, AMissingConfigIsOneError) {
    std::remove(dir.File("config.tml").c_str());
    const Diagnostics out = Check();
    ASSERT_EQ(out.All().size(), 1u) << Dump(out);
    EXPECT_EQ(out.All()[0].file, "config.tml");
    EXPECT_EQ(out.All()[0].severity, Severity::Error);
}

TEST(GameFolderTest, ResolvesRelativePathsAndPutsThemBackInMessages) {
    const GameFolder here(".");
    EXPECT_EQ(here.Resolve("data/a.png"), "data/a.png");
    const GameFolder there("games/one/");
    EXPECT_EQ(there.Resolve("data/a.png"), "games/one/data/a.png");
    EXPECT_EQ(there.Resolve("/abs/a.png"), "/abs/a.png");
    EXPECT_EQ(there.AsWritten("Failed in games/one/data/a.png, games/one/data/a.png", "data/a.png"),
              "Failed in data/a.png, data/a.png");
}

}  // namespace
