// The game scene: the stage and the HUD mixed into one scene that owns the player, ties it to the
// first-person camera, moves the world in steps of one 60-Hz frame in a fixed order, times the run
// to the level's finish and sets up the 3-D pass before the stage and the HUD draw. Created once by the
// application shell and kept for the run. Main thread only.
#pragma once

#include "application/cue_watch.h"
#include "application/finish_area.h"
#include "application/hud.h"
#include "application/level_list.h"
#include "application/player.h"
#include "application/run_clock.h"
#include "application/scene.h"
#include "application/spawn_point.h"
#include "application/stage.h"
#include "application/step_clock.h"
#include "application/step_cues.h"

namespace Application {

class Game final : public Scene, public HUD, public Stage {
public:
    // Where the player starts and respawns in a level that names no spawn, in world units.
    static inline const glm::vec3 StartPosition = SpawnPoint::DefaultPosition;
    static constexpr float FieldOfView = 75.0f;  // degrees, vertical
    static constexpr float NearPlane = 0.1f;
    static constexpr float FarPlane = 200.0f;  // anything farther from the eye is clipped to black

    // Runs Init: the whole start-up of the scene.
    Game();
    ~Game();
    Game(const Game&) = delete;
    Game& operator=(const Game&) = delete;

    // Camera and player at (0.1, 10.0, -15.0), looking along +z.
    void Init() override;
    // The HUD counter from dt, the player's input from the gamepad, then as many steps of one 60-Hz
    // frame as the frame completes (StepClock): a frame of dt 1 is exactly one step.
    void Update(float dt) override;
    // One step: camera from the previous step's player, player update, stage, collision, then the
    // run: a respawn restarts it, standing on a finish tile ends it.
    void Step();
    // Render state, clear, camera and projection, then the stage and the HUD on top.
    void Draw(Engine::Graphics* graphics) override;
    // Nothing to release before the process ends; safe whether or not OnLoaded ran.
    void Destroy() override;
    // The HUD's and then the stage's asset lookups, then the level's room, finish and spawn from the
    // same store; the player moves only for a level that starts it elsewhere than Init placed it.
    void OnLoaded(Engine::Assets* assets) override;
    // Plays `level` from `store`, which holds its room and data: the room, the finish and the spawn
    // from there; the player and the camera at the spawn, facing its way; the run and the steps'
    // carry start afresh. What a restart does too.
    void EnterLevel(const Level& level, const Engine::Assets* store);
    // The steps of a run that ended since the last call, or -1; each finished run is handed out once.
    int64_t TakeFinishedRun();

    Player* player = nullptr;                  // owned; lives as long as the Game
    StepClock clock;                           // what the frames so far left of a step
    Level level = LevelList::ImplicitLevel();  // the level playing; the shell sets its start level
    SpawnPoint spawn;                          // where it starts the player
    FinishArea finish;                         // empty in a level without one: then there is no run
    RunClock run;
    int64_t bestSteps = -1;  // the best run shown on the HUD, set by the shell; -1: none
    StepCues cues;           // what the latest update's steps did that is heard; the shell plays it

private:
    // The level's room, finish and spawn from `store`, under its names.
    void ReadLevel(const Level& next, const Engine::Assets* store);
    // The player and the camera at the spawn, facing its way, and the run afresh.
    void PlaceAtSpawn();
    CueWatch cueWatch;
    unsigned respawnsSeen = 0;
    int64_t finishedRun = -1;
};

}  // namespace Application
