#include "application/app_base.h"

#include "application/asset_names.h"
#include "application/command_line.h"
#include "application/control_state.h"
#include "application/game.h"
#include "application/level_identity.h"
#include "application/run_clock.h"
#include "application/vpad.h"
#include "common/seconds.h"
#include "common/step_rate.h"
#include "engine/assets/assets.h"
#include "engine/core/keys.h"
#include "engine/graphics/canvas.h"
#include "engine/graphics/graphics.h"
#include "engine/graphics/shader_program.h"
#include "markup/document.h"
#include "markup/tml_reader.h"

#include <algorithm>
#include <iostream>
#include <memory>
#include <optional>
#include <stdexcept>
#include <utility>

namespace Application {

namespace {

constexpr int kSpaceKey = Engine::Key::Space;  // the jump button
constexpr int kLeftControl = Engine::Key::LeftControl;
constexpr int kLeftAlt = Engine::Key::LeftAlt;
constexpr int kQ = Engine::Key::Q;
constexpr int kEnter = Engine::Key::Enter;
constexpr int kF1 = Engine::Key::F1;
constexpr int kM = Engine::Key::M;

// The shortcuts, in the order a frame acts on them.
enum Shortcut { Quit, Fullscreen, FreeCursor, Mute };
constexpr struct {
    int modifier;
    int key;
} kShortcuts[AppBase::kShortcutCount] = {
    {kLeftControl, kQ},   // Quit
    {kLeftAlt, kEnter},   // Fullscreen
    {kLeftControl, kF1},  // FreeCursor
    {kLeftControl, kM},   // Mute
};

}  // namespace

AppBase::CanvasRect AppBase::ComputeCanvasRect(float w, float h, float cw, float ch) {
    if (w / h >= cw / ch) {
        const float s = h / ch;
        return CanvasRect{w * 0.5f - cw * s * 0.5f, 0.0f, s, s};
    }
    const float s = w / cw;
    return CanvasRect{0.0f, h * 0.5f - ch * s * 0.5f, s, s};
}

namespace {

// The menu's key for a key going down, if it is one. Left Alt + Enter is the fullscreen shortcut,
// not a choice.
std::optional<PauseMenu::Key> MenuKey(int key) {
    switch (key) {
        case Engine::Key::Up:
        case Engine::Key::W:
            return PauseMenu::Key::Up;
        case Engine::Key::Down:
        case Engine::Key::S:
            return PauseMenu::Key::Down;
        case kEnter:
        case Engine::Key::KeypadEnter:
            if (ControlState::GetKeyState(kLeftAlt) != ControlState::Up &&
                ControlState::GetKeyState(kLeftAlt) != ControlState::Released)
                return std::nullopt;
            return PauseMenu::Key::Enter;
        case Engine::Key::Escape:
            return PauseMenu::Key::Back;
        default:
            return std::nullopt;
    }
}

}  // namespace

void AppBase::OnKeyDown(int key) {
    // A shortcut is taken when its key goes down while its modifier is held (down since before this
    // frame), and kept for the next frame: letting go of the modifier before a slow frame comes does
    // not lose it. A modifier pressed within the same frame is not held yet, so it makes none.
    for (int shortcut = 0; shortcut < kShortcutCount; ++shortcut) {
        if (key == kShortcuts[shortcut].key &&
            ControlState::GetKeyState(kShortcuts[shortcut].modifier) == ControlState::Held)
            shortcutsTaken[shortcut] = true;
    }
    const std::optional<PauseMenu::Key> menuKey = MenuKey(key);
    if (menuKey && menuKeyCount < menuKeys.size()) menuKeys[menuKeyCount++] = *menuKey;
    ControlState::OnKeyDown(key);
}
void AppBase::OnKeyUp(int key) { ControlState::OnKeyUp(key); }
void AppBase::OnMouseMove(double x, double y) {
    const glm::vec2 from = ControlState::GetMousePosition();
    ControlState::OnMouseMove(x, y);
    Vpad::OnCursorReport(ControlState::GetMousePosition() - from);
}

void AppBase::OnFocusChanged(bool focused) {
    if (focused && IsCursorCaptured()) SkipFirstLook();
}

void AppBase::CaptureCursor(bool captured) {
    SetCursorCaptured(captured);
    if (captured) SkipFirstLook();
}

void AppBase::SkipFirstLook() {
    // A replay's look comes from its file, where the recording kept only what the look took.
    if (!demo.Replaying()) Vpad::SkipNextCursorReport();
}
void AppBase::OnMouseDown(int button) { ControlState::OnMouseDown(button); }
void AppBase::OnMouseUp(int button) { ControlState::OnMouseUp(button); }

void AppBase::OnMouseWheel(double offset) { std::cout << offset << std::endl; }

void AppBase::Run(int argc, char** argv) {
    const CommandLine line = ReadCommandLine(argc, argv);
    if (line.help || line.version) {
        std::cout << (line.help ? HelpText() : std::string("stagewalk ") + STAGEWALK_VERSION + "\n")
                  << std::flush;
        return;
    }
    if (line.listLevels) {
        ListLevels();
        return;
    }
    demo.Select(line.demoMode, line.demoPath);
    if (demo.GetMode() != DemoSession::Mode::Off || !line.level.empty()) {
        settings = ReadSettings(AssetNames::SettingsFile);
        settingsRead = true;
        ReadCatalog();
    }
    if (!line.level.empty()) {
        const int chosen = catalog.List().IndexOf(line.level);
        if (chosen < 0) throw UsageError("unknown level '" + line.level + "' (--list-levels names them)");
        level = static_cast<size_t>(chosen);
    }
    if (demo.GetMode() != DemoSession::Mode::Off) {
        // A recording is made in the level it starts on; a replay plays in the level it was recorded
        // in, known by its identity, unless --level names the one it must be.
        std::vector<std::string> rooms;
        const bool one = demo.GetMode() == DemoSession::Mode::Record || !line.level.empty();
        for (size_t i = one ? level : 0; i < (one ? level + 1 : catalog.Count()); ++i)
            rooms.push_back(catalog.IdentityOfFiles(i));
        demo.Prepare(rooms, demo.GetLook(settings.sensitivity, settings.invert));
        if (!one)
            level =
                static_cast<size_t>(std::find(rooms.begin(), rooms.end(), demo.GetRoom()) - rooms.begin());
        paced = demo.GetMode() != DemoSession::Mode::Timedemo;
    }
    Engine::ApplicationManager::Run(argc, argv);
}

void AppBase::ReadCatalog() {
    const std::unique_ptr<Tml::Document> manifest(Tml::LoadDocument(settings.assetPath));
    catalog.Read(*manifest);
    catalogRead = true;
}

void AppBase::ListLevels() {
    settings = ReadSettings(AssetNames::SettingsFile);
    ReadCatalog();
    std::string message;
    records = RunRecords::Load(RecordsFile, message);
    // Standard output is the list alone, for whoever reads it.
    if (!message.empty()) std::cerr << message << std::endl;
    for (size_t i = 0; i < catalog.Count(); ++i) {
        catalog.Identify(i, catalog.IdentityOfFiles(i), records);
        std::string title = catalog.At(i).title;
        for (char& c : title) {
            if (static_cast<unsigned char>(c) < ' ') c = ' ';  // a tab or line break would split the line
        }
        std::string best = "-";
        if (catalog.State(i).best >= 0) {
            char seconds[32];
            Common::FormatSeconds(catalog.State(i).best, Common::StepsPerSecond, seconds, sizeof seconds);
            best = seconds;
        }
        std::cout << catalog.At(i).name << '\t' << title << '\t' << best << '\n';
    }
    std::cout << std::flush;
}

void AppBase::OnConfigure() {
    if (!settingsRead) settings = ReadSettings(AssetNames::SettingsFile);
    requestedWidth = settings.windowSize.x;
    requestedHeight = settings.windowSize.y;
    requestedFullscreen = settings.fullscreen;
    requestedVsync = settings.vsync;
    windowClass = WindowClass;
    // Beside the manifest, as the other images are: a game folder of one's own may bring its own.
    const size_t slash = settings.assetPath.rfind('/');
    windowIcon =
        (slash == std::string::npos ? std::string() : settings.assetPath.substr(0, slash + 1)) + IconFile;
}

void AppBase::OnStart() {
    std::cout << "Application started." << std::endl;
    CaptureCursor(true);
    ControlState::Init();
    Vpad::Init();
    const DemoHeader look = demo.GetLook(settings.sensitivity, settings.invert);
    Vpad::SetLook(look.sensitivity, look.invert);
    std::string message;
    records = RunRecords::Load(RecordsFile, message);
    if (!message.empty()) std::cout << message << std::endl;
    assets = new Engine::Assets();
    if (!catalogRead) ReadCatalog();
    // The start loads what every level shares and the level played, not the others.
    assetBuffer = Engine::AssetBuffer(catalog.List().PlanFor(catalog.Entries(), level), assets);
    game = new Game();
    game->level = catalog.At(level);
    scene = game;
    const std::string& folder = settings.shaderPath;
    shader = Engine::ShaderProgram::Load(folder + "/" + AssetNames::VertexShader,
                                         folder + "/" + AssetNames::FragmentShader);
    shader->Use();
    graphics->transform.Init(shader);
    graphics->effect.Init(shader);
    graphics->canvasWidth = settings.canvasSize.x;
    graphics->canvasHeight = settings.canvasSize.y;
    loaded = false;
    canvas = new Engine::Canvas(settings.canvasSize.x, settings.canvasSize.y);
    FitCanvas();
    Vpad::PushButton(kSpaceKey, 0);
    game->replay = demo.Replaying();
    assetBuffer.StartLoading();  // from here on the worker owns the buffer and the store
    // The device opens while the worker loads: it touches neither the buffer nor the store.
    sounds.Open(settings);
}

void AppBase::OnUpdate(double delta) {
    // While the menu is open the game stands still: no step, no run time, and no demo frame is
    // recorded or replayed. A replay reads its frame's time and input instead of the live ones; a
    // recording keeps them.
    const bool playing = loaded && !menu.IsOpen();
    const double frameDelta = playing ? demo.BeginFrame(delta) : delta;
    timeScale = static_cast<float>(frameDelta) / (1.0f / Common::StepsPerSecond);
    if (loaded) {
        if (demo.Ended()) {
            running = false;
        } else if (playing) {
            Vpad::Update();
            scene->Update(timeScale);
            sounds.Play(game->cues);
            demo.EndFrame();
            const int64_t finished = game->TakeFinishedRun();
            if (finished >= 0) ReportRun(finished);
            if (game->run.GetPhase() != RunClock::Phase::Finished) panel.Hide();
        }
        UpdateLevels();
    } else {
        const int status = Engine::AssetBuffer::GetLoadingStatus();
        if (status == 1) {
            Engine::AssetBuffer::JoinLoading();
            loaded = true;
            OnAssetsLoaded();
        } else if (status == -1) {
            throw std::runtime_error("Asset loading error: " + Engine::AssetBuffer::GetLoadingError());
        }
    }
    menuKeyCount = 0;  // a key that went down while loading chooses nothing later
    TestShortcuts();
    ControlState::Update();
    Vpad::EndFrame();
}

void AppBase::TestShortcuts() {
    if (shortcutsTaken[Quit]) running = false;
    if (shortcutsTaken[Fullscreen]) ToggleFulscreen();
    if (shortcutsTaken[FreeCursor]) CaptureCursor(!IsCursorCaptured());
    if (shortcutsTaken[Mute]) sounds.ToggleMute();
    shortcutsTaken.fill(false);
}

void AppBase::OnAssetsLoaded() {
    assets->CreateTextures();
    assets->CreateModels();
    sounds.OnLoaded(*assets);
    // The level is known by what plays, which is now in the store.
    const Level& start = catalog.At(level);
    room = LevelIdentity(assets->GetModel(start.room),
                         start.data.empty() ? nullptr : assets->GetDocument(start.data));
    catalog.Identify(level, room, records);
    catalog.State(level).store = assets;
    game->bestSteps = catalog.State(level).best;
    game->OnLoaded(assets);
    // The other levels' files are read in the background, from the next frame on, to know their
    // best times for the menu.
    for (size_t i = 0; i < catalog.Count(); ++i) {
        if (i != level) levelLoader.Survey(i, catalog.List().EntriesOf(catalog.Entries(), i));
    }
    menu.SetLevels(MenuRows());
}

void AppBase::UpdateLevels() {
    if (std::optional<LevelLoader::Done> done = levelLoader.Poll()) OnLevelJob(*done);
    const size_t count = std::exchange(menuKeyCount, 0);
    for (size_t i = 0; i < count; ++i) {
        const PauseMenu::Key key = menuKeys[i];
        if (!menu.IsOpen()) {
            if (key == PauseMenu::Key::Back) {
                menu.Open(demo.GetMode() == DemoSession::Mode::Off);
                CaptureCursor(false);  // the mouse is the player's while the game stands still
            } else if (key == PauseMenu::Key::Enter && panel.IsShown() &&
                       demo.GetMode() == DemoSession::Mode::Off) {
                ChooseLevel((level + 1) % catalog.Count());
                return;
            }
            continue;
        }
        switch (menu.Press(key)) {
            case PauseMenu::Action::Resume:
                CaptureCursor(true);
                break;
            case PauseMenu::Action::Restart:
                EnterLevel(level);
                break;
            case PauseMenu::Action::Play:
                ChooseLevel(menu.Chosen());
                break;
            case PauseMenu::Action::Quit:
                running = false;
                break;
            case PauseMenu::Action::None:
                break;
        }
        // The keys after the one that closed the menu are the game's.
        if (!menu.IsOpen()) return;
    }
}

void AppBase::ChooseLevel(size_t index) {
    if (catalog.State(index).store != nullptr) {
        EnterLevel(index);
        return;
    }
    // The window goes on drawing the paused game with the loading line until the level is there.
    if (!menu.IsOpen()) {
        menu.OpenLevels(index);
        CaptureCursor(false);
    }
    menu.ShowLoading(catalog.At(index).title);
    levelLoader.Load(index, catalog.List().EntriesOf(catalog.Entries(), index));
}

void AppBase::OnLevelJob(LevelLoader::Done& done) {
    const Level& loadedLevel = catalog.At(done.level);
    LevelCatalog::Known& known = catalog.State(done.level);
    const Engine::Assets* store = done.store;
    const bool hasRoom = store != nullptr && (store->GetModelData(loadedLevel.room) != nullptr ||
                                              store->GetModel(loadedLevel.room) != nullptr);
    if (done.error.empty() && !hasRoom)
        done.error = "its room '" + loadedLevel.room + "' is not in the manifest";
    const Tml::Document* data =
        store != nullptr && !loadedLevel.data.empty() ? store->GetDocument(loadedLevel.data) : nullptr;
    if (done.kind == LevelLoader::Kind::Survey) {
        // Read only to be known: nothing of it was made drawable, and nothing of it stays.
        if (done.error.empty())
            catalog.Identify(done.level, LevelIdentity(store->GetModelData(loadedLevel.room), data), records);
        known.unreadable = !done.error.empty();
        delete done.store;
        menu.SetLevels(MenuRows());
        return;
    }
    if (!done.error.empty()) {
        delete done.store;
        known.unreadable = true;
        std::cout << "Asset loading error: " << done.error << std::endl;
        menu.SetLevels(MenuRows());
        menu.ShowLevels(loadedLevel.title + " did not load (the reason is on the terminal)");
        return;
    }
    done.store->CreateTextures();
    done.store->CreateModels();
    catalog.Identify(done.level, LevelIdentity(done.store->GetModel(loadedLevel.room), data), records);
    known.unreadable = false;
    // Kept for the run, as every store is: switching back needs no loading, and nothing the GL side
    // has drawn is ever freed under it.
    known.store = done.store;
    EnterLevel(done.level);
}

void AppBase::EnterLevel(size_t index) {
    level = index;
    const LevelCatalog::Known& known = catalog.State(index);
    room = known.identity;
    game->bestSteps = known.best;
    game->EnterLevel(catalog.At(index), known.store);
    panel.Hide();
    menu.Close();
    menu.SetLevels(MenuRows());
    CaptureCursor(true);
}

std::vector<PauseMenu::Row> AppBase::MenuRows() const {
    std::vector<PauseMenu::Row> rows;
    for (size_t i = 0; i < catalog.Count(); ++i) {
        const LevelCatalog::Known& known = catalog.State(i);
        PauseMenu::Row row{catalog.At(i).title, "--.--", i == level};
        char seconds[32];
        if (known.unreadable) {
            row.best = "?";
        } else if (known.identity.empty()) {
            row.best = "...";
        } else if (known.best >= 0) {
            row.best = Common::FormatSeconds(known.best, Common::StepsPerSecond, seconds, sizeof seconds);
        }
        rows.push_back(row);
    }
    return rows;
}

void AppBase::OnDraw(Engine::Graphics* frameGraphics) {
    if (!loaded) return;
    frameGraphics->Clear(Engine::Color(0.0f, 0.0f, 0.0f, 1.0f));
    DrawSceneToCanvas(frameGraphics);
    Engine::Transform& transform = frameGraphics->transform;
    transform.Identity();
    transform.Ortho(static_cast<float>(frameGraphics->windowWidth),
                    static_cast<float>(frameGraphics->windowHeight));
    transform.Apply();
    frameGraphics->SetLinearFilter(false);
    frameGraphics->DrawCanvas(canvas, canvasRect.x, canvasRect.y, canvasRect.scaleX, canvasRect.scaleY);
    frameGraphics->SetLinearFilter(true);
    if (const std::string* shot = demo.TakeShot()) {
        if (!frameGraphics->SaveFramebuffer(*shot, frameGraphics->windowWidth, frameGraphics->windowHeight))
            std::cout << "Cannot write the picture " << *shot << std::endl;
    }
}

void AppBase::DrawSceneToCanvas(Engine::Graphics* frameGraphics) {
    frameGraphics->BindCanvas(canvas);
    scene->Draw(frameGraphics);
    // Over the scene and its HUD, in the HUD's font: the finish panel, or the menu over everything.
    if (menu.IsOpen()) {
        menu.Draw(frameGraphics, game->font);
    } else {
        panel.Draw(frameGraphics, game->font);
    }
    frameGraphics->BindCanvas(nullptr);
}

void AppBase::ReportRun(int64_t steps) {
    char time[32];
    Common::FormatSeconds(steps, Common::StepsPerSecond, time, sizeof time);
    std::cout << "Run finished in " << time << " s";
    // A replay keeps nothing and beats nothing: it is not a run of the player's.
    if (demo.Replaying()) {
        std::cout << " (replay)" << std::endl;
        panel.Show(steps, -1, "replay", std::string());
        return;
    }
    const int64_t best = records.Best(room);
    // The finish panel offers the next level in the list, or this one again when it is the only one.
    const std::string next = demo.GetMode() != DemoSession::Mode::Off ? std::string()
                             : catalog.Count() > 1
                                 ? "next level, " + catalog.At((level + 1) % catalog.Count()).title
                                 : std::string("play again");
    if (!records.Offer(room, steps)) {
        Common::FormatSeconds(best, Common::StepsPerSecond, time, sizeof time);
        std::cout << " (best " << time << " s)" << std::endl;
        panel.Show(steps, best, std::string(), next);
        return;
    }
    panel.Show(steps, steps, "new best", next);
    std::cout << " (new best)" << std::endl;
    game->bestSteps = catalog.State(level).best = steps;
    std::string error;
    if (!records.Save(RecordsFile, error)) {
        std::cout << error << std::endl;
        saveFailed = true;
    }
}

void AppBase::OnTerminate() {
    // The recording takes the place of its file only after a game that played and ended normally.
    const char* unsaved = running   ? "the game stopped on an error"
                          : !loaded ? "the game ended before its first frame"
                                    : nullptr;
    if (!demo.Finish(game != nullptr ? game->player->position : Game::StartPosition, unsaved))
        saveFailed = true;
    std::cout << "Application terminated." << std::endl;
    // Loading cannot be cancelled: a worker still busy finishes its list before the process ends.
    Engine::AssetBuffer::JoinLoading();
    sounds.Close();
    if (game) game->Destroy();
}

void AppBase::OnViewportChanged(int, int) { FitCanvas(); }

void AppBase::FitCanvas() {
    canvasRect = ComputeCanvasRect(
        static_cast<float>(graphics->windowWidth), static_cast<float>(graphics->windowHeight),
        static_cast<float>(settings.canvasSize.x), static_cast<float>(settings.canvasSize.y));
}

}  // namespace Application
