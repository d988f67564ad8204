// The game scene drawn for real: the shipped assets, shaders and canvas, pixels read back. Checks
// what a player sees (sky above, lit room below, HUD on top) and the state each frame leaves.
#include "application/game.h"

#include "engine/assets/asset_buffer.h"
#include "engine/assets/assets.h"
#include "engine/graphics/canvas.h"
#include "engine/graphics/graphics.h"
#include "engine/graphics/shader_program.h"
#include "support/game_folder_test.h"
#include "support/game_harness.h"

#include <GL/glew.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

namespace {

using TestSupport::Rgba;

class SceneTest : public TestSupport::GameFolderGLTest {
protected:
    void SetUp() override {
        GameFolderGLTest::SetUp();
        if (HasFatalFailure()) return;
        shader.reset(Engine::ShaderProgram::Load("shaders/vertex.glsl", "shaders/fragment.glsl"));
        shader->Use();
        graphics = std::make_unique<Engine::Graphics>();
        graphics->transform.Init(shader.get());
        graphics->effect.Init(shader.get());
        graphics->windowWidth = 640;
        graphics->windowHeight = 480;
        graphics->canvasWidth = 320;
        graphics->canvasHeight = 240;
        canvas = std::make_unique<Engine::Canvas>(320, 240);
    }

    // Loads the shipped manifest on this thread, the way the loader and the shell would.
    void LoadShippedAssets() {
        Engine::AssetBuffer buffer("data/assets.tml", &assets);
        while (!buffer.LoadNext()) {
        }
        assets.CreateTextures();
        assets.CreateModels();
    }

    void DrawFrame(Application::Game& game) {
        graphics->BindCanvas(canvas.get());
        game.Draw(graphics.get());
    }

    GLint Uniform(const char* name) {
        GLint value = -1;
        glGetUniformiv(shader->GetId(), glGetUniformLocation(shader->GetId(), name), &value);
        return value;
    }

    std::unique_ptr<Engine::ShaderProgram> shader;
    std::unique_ptr<Engine::Graphics> graphics;
    std::unique_ptr<Engine::Canvas> canvas;
    Engine::Assets assets;
};

float Brightness(const Rgba& p) { return (p.r + p.g + p.b) / (3.0f * 255.0f); }

TEST_F(SceneTest, ShippedSceneShowsSkyRoomAndHud) {
    LoadShippedAssets();
    Application::Game game;
    game.OnLoaded(&assets);
    ASSERT_NE(game.room, nullptr);
    ASSERT_NE(game.font, nullptr);
    for (int frame = 0; frame < 90; ++frame) game.Update(1.0f);  // fall from the spawn and land
    EXPECT_TRUE(game.player->onGround || game.player->position.y < 0.5f);
    DrawFrame(game);

    // Canvas rows count from the bottom: the top rows are sky (dark blue night, not black), the
    // bottom middle is the lit floor, brighter than the sky.
    const Rgba sky = TestSupport::ReadPixel(300, 200);
    const Rgba floor = TestSupport::ReadPixel(160, 40);
    EXPECT_GT(sky.b, sky.r) << "the night sky is bluish";
    EXPECT_GT(Brightness(floor), 0.3f);
    EXPECT_GT(Brightness(floor), Brightness(sky));
    // The crosshair's white arm a few pixels right of the centre (160, 120).
    bool crosshair = false;
    for (int x = 163; x < 176; ++x)
        crosshair = crosshair || Brightness(TestSupport::ReadPixel(x, 120)) > 0.95f;
    EXPECT_TRUE(crosshair);
    // The counter's white glyphs in the top-left corner (y 1..13 from the top).
    bool counter = false;
    for (int y = 226; y < 239 && !counter; ++y) {
        for (int x = 1; x < 40 && !counter; ++x) counter = Brightness(TestSupport::ReadPixel(x, y)) > 0.95f;
    }
    EXPECT_TRUE(counter);

    // What a frame leaves behind: texturing on, lighting and fog off, white tint, no depth test.
    EXPECT_EQ(Uniform("texturesEnabled"), 1);
    EXPECT_EQ(Uniform("lightEnabled"), 0);
    EXPECT_EQ(Uniform("fogEnabled"), 0);
    GLfloat tint[4] = {0, 0, 0, 0};
    glGetUniformfv(shader->GetId(), glGetUniformLocation(shader->GetId(), "tintColor"), tint);
    EXPECT_EQ(tint[0] + tint[1] + tint[2] + tint[3], 4.0f);
    EXPECT_FALSE(glIsEnabled(GL_DEPTH_TEST));
    EXPECT_FALSE(glIsEnabled(GL_CULL_FACE));
}

TEST_F(SceneTest, AnEmptyStoreNeitherCrashesNorStopsTheFall) {
    Application::Game game;
    game.OnLoaded(&assets);  // nothing loaded: no room, no sky box, no textures
    DrawFrame(game);
    for (int frame = 0; frame < 120; ++frame) game.Update(1.0f);
    DrawFrame(game);
    // No room means no floor: the player falls past the respawn height and starts again.
    EXPECT_LT(game.player->position.y, 10.0f);
    EXPECT_FALSE(game.player->onGround);
    game.Destroy();
}

// The frame in which loading ends draws the scene before its first Update: the view from the spawn
// point along +z, with the counter at 0. Whatever the room looks like, that is the picture of a
// camera placed there by hand with the counter set to 0, and not that of a game that has moved.
TEST(SceneFirstFrameTest, ShowsTheSpawnViewWithTheCounterAtZero) {
    TestSupport::GameHarness shell;
    testing::internal::CaptureStdout();
    shell.Start(STAGEWALK_SOURCE_DIR "/game");
    ASSERT_TRUE(shell.RunUntilLoaded());
    Engine::Graphics* graphics = shell.GetGraphics();
    auto canvasPixels = [&] {
        graphics->BindCanvas(shell.GetCanvas());
        const auto pixels = TestSupport::ReadPixels(graphics->canvasWidth, graphics->canvasHeight);
        graphics->BindCanvas(nullptr);
        return pixels;
    };
    const auto first = canvasPixels();
    for (int frame = 0; frame < 30; ++frame) shell.Frame();  // the player falls; the counter reads 60
    EXPECT_FALSE(canvasPixels() == first) << "a game that has moved must look different";

    Application::Game* game = shell.GetGame();
    game->camera = Engine::Camera1stPerson(glm::vec3(0.1f, 10.0f, -15.0f));
    game->fps = 0.0f;
    shell.DrawSceneToCanvas(graphics);
    const auto placed = canvasPixels();
    size_t differing = 0;
    for (size_t i = 0; i < first.size(); ++i) differing += first[i] == placed[i] ? 0 : 1;
    EXPECT_EQ(differing, 0u);
    shell.Stop();
    testing::internal::GetCapturedStdout();
}

}  // namespace

// The finish's beam seen from 85 world units away, well past the fog's end at 50, where the room has
// faded to black: it still shows, a warm glow over the sky above the tower's silhouette.
TEST_F(SceneTest, TheFinishShowsFromAfarThroughTheFog) {
    LoadShippedAssets();
    Application::Game game;
    game.OnLoaded(&assets);
    ASSERT_NE(game.finishMarker, nullptr);
    ASSERT_FALSE(game.finish.Empty());
    // A canvas column through the beam beside the crosshair's upright arm, from below the horizon up,
    // looking north at the tower's top from the south, level with it.
    const auto column = [&]() {
        game.camera.position = glm::vec3(32.0f, 40.0f, 78.0f);
        game.camera.rotation = glm::vec3(0.0f, 3.1415927f, 0.0f);
        DrawFrame(game);
        if (const char* picture = std::getenv("STAGEWALK_MARKER_PICTURE"))
            graphics->SaveFramebuffer(picture + std::to_string(game.finishMarker != nullptr) + ".ppm", 320,
                                      240);
        std::vector<Rgba> pixels;
        for (int y = 100; y < 180; ++y) {
            if (y < 116 || y > 124) pixels.push_back(TestSupport::ReadPixel(152, y));  // not its arm across
        }
        return pixels;
    };
    const std::vector<Rgba> shown = column();
    game.finishMarker = nullptr;
    const std::vector<Rgba> hidden = column();
    int warmer = 0;
    for (size_t i = 0; i < shown.size(); ++i) {
        if (shown[i].r > hidden[i].r + 30 && shown[i].r >= shown[i].b) ++warmer;
    }
    EXPECT_GT(warmer, 20) << "the beam rises above the finish, unfogged";
}
