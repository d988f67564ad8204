// Loads levels after the start on the one loader thread, one job at a time: the level the player
// chose (its room and data into a store of its own, which the main thread then finishes) and, in the
// background, the other levels' files read only to learn what they are (their identity, and so their
// best). A job's store is the worker's alone until the job has ended and been joined; the shell polls
// once a frame and gets each ended job once. Owned by the application shell; main thread only.
#pragma once

#include "engine/assets/asset_buffer.h"

#include <deque>
#include <optional>
#include <string>
#include <vector>

namespace Engine {
class Assets;
}

namespace Application {

class LevelLoader {
public:
    enum class Kind { Level, Survey };

    // An ended job.
    struct Done {
        Kind kind = Kind::Level;
        size_t level = 0;
        // What was loaded, the caller's from now on: a chosen level's to finish and keep, a surveyed
        // one's to read and delete. Null after a failure, whose store is already gone.
        Engine::Assets* store = nullptr;
        std::string error;  // the loader's text after a failure, else empty
    };

    LevelLoader() = default;
    ~LevelLoader();
    LevelLoader(const LevelLoader&) = delete;
    LevelLoader& operator=(const LevelLoader&) = delete;

    // Loads the level's own entries as the level to play next: before any survey still waiting, and
    // in place of a level chosen before that has not started.
    void Load(size_t level, std::vector<Engine::AssetEntry> entries);
    // Reads the level's own entries only to look at them, after every job queued before.
    void Survey(size_t level, std::vector<Engine::AssetEntry> entries);
    // Starts the next job when none runs; when the running one has ended, joins it, starts the next
    // and returns the ended one. Never waits. Call only once the start-up loading has been joined.
    std::optional<Done> Poll();
    // The level chosen to play next, loading or waiting, if any.
    std::optional<size_t> Chosen() const;
    bool Idle() const { return !running && !wanted && surveys.empty(); }

private:
    struct Job {
        Kind kind;
        size_t level;
        std::vector<Engine::AssetEntry> entries;
    };
    void StartNext();

    std::optional<Job> wanted;  // the level chosen, not started yet
    std::deque<Job> surveys;
    std::optional<Job> running;
    Engine::AssetBuffer buffer;       // the running job's plan; outlives its worker
    Engine::Assets* store = nullptr;  // the running job's store, the worker's until joined
};

}  // namespace Application
