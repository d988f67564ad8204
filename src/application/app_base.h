// The concrete application: reads the settings, feeds the input state, starts the background asset
// loader and polls it without blocking, hands the finished store to the game scene, draws the scene
// into a fixed-size canvas shown letterboxed in the window, owns the three shortcuts, records or
// replays demos and keeps the best times.
// Created once by main; everything runs on the main thread except the loader it starts.
#pragma once

#include "application/demo_session.h"
#include "application/finish_panel.h"
#include "application/game_sounds.h"
#include "application/level_catalog.h"
#include "application/level_loader.h"
#include "application/pause_menu.h"
#include "application/run_records.h"
#include "application/settings.h"
#include "engine/assets/asset_buffer.h"
#include "engine/core/application_manager.h"

#include <array>

namespace Engine {
class Assets;
class Canvas;
class ShaderProgram;
}  // namespace Engine

namespace Application {

class Game;
class Scene;

class AppBase : public Engine::ApplicationManager {
public:
    static constexpr int kShortcutCount = 4;  // quit, fullscreen, cursor, mute

    // Where and how large the canvas is drawn in the window.
    struct CanvasRect {
        float x = 0.0f;
        float y = 0.0f;
        float scaleX = 0.0f;
        float scaleY = 0.0f;
    };
    // The letterbox for a window of W x H and a canvas of Cw x Ch: the largest uniform scale that
    // fits, centred; a window exactly as wide in proportion as the canvas fills it.
    static CanvasRect ComputeCanvasRect(float windowWidth, float windowHeight, float canvasWidth,
                                        float canvasHeight);

    static constexpr const char* RecordsFile = "records.tml";  // beside the settings
    // The X window class, which the desktop entry's StartupWMClass names too, and the window's icon,
    // beside the asset manifest (the same image the desktop entry's icon is).
    static constexpr const char* WindowClass = "stagewalk";
    static constexpr const char* IconFile = "icon.png";

    // Reads the command line (UsageError for one it does not take; --help and --version print and
    // return), and opens a demo to replay or a recording to make before anything else, so that a bad
    // one costs one line (a std::runtime_error, printed by main) and no window. Then the engine's
    // start-up, loop and shutdown.
    void Run(int argc, char** argv);

    void OnKeyDown(int key) override;
    void OnKeyUp(int key) override;
    void OnMouseMove(double x, double y) override;
    void OnMouseDown(int button) override;
    void OnMouseUp(int button) override;
    void OnMouseWheel(double offset) override;  // prints the offset, one number per line
    void OnStart() override;
    void OnConfigure() override;
    void OnDraw(Engine::Graphics* graphics) override;
    void OnUpdate(double delta) override;
    void OnTerminate() override;
    void OnViewportChanged(int width, int height) override;
    void OnFocusChanged(bool focused) override;  // focused again with the cursor captured: SkipFirstLook

    // The process's status after a Run that returned: 1 when a file the game had to write (the
    // recording, a new best) was not saved, else 0.
    int ExitStatus() const { return saveFailed ? 1 : 0; }

    void FitCanvas();                                    // recomputes canvasRect from the window size
    void OnAssetsLoaded();                               // textures, models, then the scene's OnLoaded
    void DrawSceneToCanvas(Engine::Graphics* graphics);  // the scene drawn with the canvas bound

protected:
    Engine::Assets* assets = nullptr;
    Engine::AssetBuffer assetBuffer;
    float timeScale = 0.0f;
    Settings settings;
    Engine::ShaderProgram* shader = nullptr;
    Engine::Canvas* canvas = nullptr;
    CanvasRect canvasRect;
    Game* game = nullptr;
    Scene* scene = nullptr;
    bool loaded = false;
    DemoSession demo;
    RunRecords records;
    std::string room;      // the playing level's identity, which demos and best times are kept for
    LevelCatalog catalog;  // the levels the manifest offers and what is known of each
    bool catalogRead = false;
    size_t level = 0;         // the level playing: the first at start, or --level's
    LevelLoader levelLoader;  // the levels loaded after the start, one job at a time
    PauseMenu menu;
    FinishPanel panel;
    bool settingsRead = false;
    GameSounds sounds;
    bool saveFailed = false;

private:
    void ReadCatalog();  // the manifest's levels and entries; markup errors propagate
    // After the game's update: the loader's ended job, then the keys of the menu (Esc opens it) and
    // of the finish panel (Enter plays the next level).
    void UpdateLevels();
    void ChooseLevel(size_t index);  // plays it at once if loaded, else loads it with the menu showing so
    void OnLevelJob(LevelLoader::Done& done);  // a surveyed level is known; a chosen one is played
    void EnterLevel(size_t index);             // plays a loaded level from its spawn: a switch, or a restart
    std::vector<PauseMenu::Row> MenuRows() const;
    void ListLevels();                  // --list-levels: NAME, TITLE and BEST of each level, tab-separated
    void ReportRun(int64_t steps);      // the line at a finish, and a new best kept
    void TestShortcuts();               // acts on the shortcuts taken since the last frame, then forgets them
    void CaptureCursor(bool captured);  // captures (then SkipFirstLook) or frees the cursor
    void SkipFirstLook();               // the look drops the next cursor report (not in a replay)
    std::array<bool, kShortcutCount> shortcutsTaken{};
    // The menu's and the finish panel's keys in the order they went down since the last frame, so
    // two taps within one slow frame are two moves; beyond a frame's worth they are dropped.
    std::array<PauseMenu::Key, 16> menuKeys{};
    size_t menuKeyCount = 0;
};

}  // namespace Application
