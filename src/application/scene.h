// The interface through which the application shell drives the game: created at start-up, told
// once that the assets are loaded, updated and drawn every frame, told when the application ends.
// The shell owns the one scene for the run and never deletes it through this interface.
// Main thread only, with the OpenGL context current.
#pragma once

namespace Engine {
class Assets;
class Graphics;
}  // namespace Engine

namespace Application {

class Scene {
public:
    virtual void Init() = 0;                            // set up what needs no assets
    virtual void Update(float dt) = 0;                  // one step of dt 60-Hz frames
    virtual void Draw(Engine::Graphics* graphics) = 0;  // into the bound canvas
    virtual void Destroy() = 0;                         // at termination, loaded or not
    virtual void OnLoaded(Engine::Assets* assets) = 0;  // once; the store is complete

protected:
    // Never deleted through this interface, so no virtual destructor.
    ~Scene() = default;
};

}  // namespace Application
