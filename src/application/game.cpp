#include "application/game.h"

#include "engine/assets/assets.h"
#include "engine/graphics/graphics.h"

namespace Application {

Game::Game() { Game::Init(); }

Game::~Game() { delete player; }

void Game::Init() {
    camera = Engine::Camera1stPerson(StartPosition);
    delete player;
    player = new Player(camera.position);
    respawnsSeen = 0;
    cueWatch = CueWatch();
    cues.Clear();
    run.Reset();
}

void Game::Update(float dt) {
    // The counter shows the frame rate; the world moves in whole 60-Hz steps, the same path at any
    // rate, with the frame's input taken once for all of them.
    UpdateHUD(dt);
    cues.Clear();
    player->ReadGamepad();
    if (!finish.Empty()) run.OnFrameInput(player->HasMoveInput());
    for (int steps = clock.Advance(dt); steps > 0; --steps) Step();
    UpdateRunHUD(!finish.Empty(), run.GetSteps(), bestSteps);
}

void Game::Step() {
    constexpr float dt = StepClock::StepLength;
    // The camera shows the player as the previous step's collision pass left it.
    player->UpdateCamera(camera);
    player->Actor::Update(dt);
    UpdateStage(dt);
    OnActorCollision(player, dt);
    cueWatch.OnStep(*player, cues);
    if (finish.Empty()) return;
    if (player->respawns != respawnsSeen) {
        respawnsSeen = player->respawns;
        run.Reset();
    } else if (run.OnStep(finish.Holds(*player))) {
        finishedRun = run.GetSteps();
        cues.Push(Cue::Finish);
    }
}

int64_t Game::TakeFinishedRun() {
    const int64_t steps = finishedRun;
    finishedRun = -1;
    return steps;
}

void Game::Draw(Engine::Graphics* graphics) {
    if (graphics == nullptr) return;
    // The HUD of the previous frame left depth testing and filtering off.
    graphics->SetLinearFilter(true);
    graphics->effect.SetTexturesEnabled(true);
    graphics->SetDepthTest(true);
    graphics->Clear(Engine::Color(0.0f, 0.0f, 0.0f, 1.0f));

    graphics->transform.Identity();
    graphics->transform.View(camera.GetViewMatrix());
    graphics->transform.Projection(FieldOfView, Engine::Point(graphics->canvasWidth, graphics->canvasHeight),
                                   NearPlane, FarPlane);

    DrawStage(graphics);
    DrawHUD(graphics);
}

void Game::Destroy() {}

void Game::OnLoaded(Engine::Assets* assets) {
    InitHUD(assets);
    InitStage(assets);
    ReadLevel(level, assets);
    // Init placed the player where a level without a spawn starts; only a level that starts it
    // elsewhere moves it (and anything the scene did before its assets came stays as it was).
    if (spawn.position != player->spawnPosition || spawn.yaw != 0.0f) PlaceAtSpawn();
    // The times show from the first frame drawn, before any update.
    UpdateRunHUD(!finish.Empty(), run.GetSteps(), bestSteps);
}

void Game::EnterLevel(const Level& next, const Engine::Assets* store) {
    ReadLevel(next, store);
    PlaceAtSpawn();
    clock = StepClock();
    UpdateRunHUD(!finish.Empty(), run.GetSteps(), bestSteps);
}

void Game::ReadLevel(const Level& next, const Engine::Assets* store) {
    level = next;
    const Tml::Document* data = nullptr;
    if (store != nullptr) {
        SetRoom(store->GetModel(level.room));
        if (!level.data.empty()) data = store->GetDocument(level.data);
    }
    finish = FinishArea::FromDocument(data);
    SetFinishMarkers(finish.Rectangles());
    spawn = SpawnPoint::FromDocument(data);
}

void Game::PlaceAtSpawn() {
    camera = Engine::Camera1stPerson(spawn.position);
    camera.rotation.y = spawn.yaw;
    delete player;
    player = new Player(spawn.position);
    player->rotation.y = spawn.yaw;
    respawnsSeen = 0;
    cueWatch = CueWatch();
    finishedRun = -1;
    run.Reset();
}

}  // namespace Application
