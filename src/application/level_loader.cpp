#include "application/level_loader.h"

#include "engine/assets/assets.h"

#include <utility>

namespace Application {

LevelLoader::~LevelLoader() {
    // The worker still writes the store; the shell joins it at termination, and a loader destroyed
    // before that (a test) waits for it here.
    if (running) Engine::AssetBuffer::JoinLoading();
    delete store;
}

void LevelLoader::Load(size_t level, std::vector<Engine::AssetEntry> entries) {
    wanted = Job{Kind::Level, level, std::move(entries)};
}

void LevelLoader::Survey(size_t level, std::vector<Engine::AssetEntry> entries) {
    surveys.push_back(Job{Kind::Survey, level, std::move(entries)});
}

std::optional<size_t> LevelLoader::Chosen() const {
    if (wanted) return wanted->level;
    if (running && running->kind == Kind::Level) return running->level;
    return std::nullopt;
}

void LevelLoader::StartNext() {
    if (running) return;
    if (wanted) {
        running = std::move(wanted);
        wanted.reset();
    } else if (!surveys.empty()) {
        running = std::move(surveys.front());
        surveys.pop_front();
    } else {
        return;
    }
    store = new Engine::Assets();
    buffer = Engine::AssetBuffer(running->entries, store);
    buffer.StartLoading();  // from here on the worker owns the buffer and the store
}

std::optional<LevelLoader::Done> LevelLoader::Poll() {
    if (!running) {
        StartNext();
        return std::nullopt;
    }
    const int status = Engine::AssetBuffer::GetLoadingStatus();
    if (status == 0) return std::nullopt;
    Engine::AssetBuffer::JoinLoading();
    Done done{running->kind, running->level, store, std::string()};
    if (status < 0) {
        done.error = Engine::AssetBuffer::GetLoadingError();
        delete store;  // what it holds came off the disk only: no GL object yet
        done.store = nullptr;
    }
    store = nullptr;
    running.reset();
    StartNext();
    return done;
}

}  // namespace Application
