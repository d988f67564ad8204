// The world the player walks in: a lit, fogged room that is drawn and collided with, and a sky box
// and city backdrop that follow the camera. Holds the camera the scene draws through and borrows
// its models and textures from the asset store. A base of Game; main thread only.
#pragma once

#include "application/finish_area.h"
#include "collision/collision_mesh.h"
#include "engine/camera/first_person.h"

#include <vector>

namespace Engine {
class Assets;
class Graphics;
class Model;
struct Texture;
}  // namespace Engine

namespace Application {

class Actor;

class Stage {
public:
    // The room is modelled at 1/8 of its world size; drawing and collision both scale it up.
    static constexpr float RoomScale = 8.0f;
    // The sky box follows the eye on every axis, the backdrop in x and z only; both are centred
    // SurroundLift above it so their lower rim stays out of view.
    static constexpr float SkyboxScale = 120.0f;
    static constexpr float BackdropScale = 100.0f;
    static constexpr float SurroundLift = 50.0f;
    // The finish's marker over each finish rectangle: a beam this high, seen from afar because the fog
    // does not touch it, over a chequered floor this far above the room's, so the two never fight.
    static constexpr float FinishBeamHeight = 40.0f;
    static constexpr float FinishFloorLift = 0.05f;

    // Looks up "cylinder", "skybox", "cityBg" and "sky"; missing names stay null. The sky box's first
    // mesh, if any, is set to clamp its texture to the edge. The room comes with the level (SetRoom).
    void InitStage(Engine::Assets* assets);
    // The level's room, drawn and collided with from now on; null for none. Its first mesh's
    // triangles are prepared once here.
    void SetRoom(Engine::Model* model);
    // Where the finish's marker stands: the level's finish rectangles, in world units.
    void SetFinishMarkers(const std::vector<FinishArea::Rectangle>& rectangles);
    // Nothing moves in the stage itself.
    void UpdateStage(float dt);
    // Sky box, backdrop, the room, then the finish's marker (the chequered floor fogged like the room,
    // the beam unlit and unfogged); leaves texturing on, lighting off and fog off.
    void DrawStage(Engine::Graphics* graphics);
    // Collides `actor` with every room triangle in order; without a room (or its first mesh) nothing.
    // Uses the triangles prepared by SetRoom (or PrepareCollision, which lets tools and tests
    // collide without a drawable model): the room's positions must not change afterwards.
    void OnActorCollision(Actor* actor, float dt);
    // The plain collision pass over `positions` (model units, nine floats per triangle, scaled by
    // the stage scale here); trailing floats that make no whole triangle are ignored. The reference
    // that OnActorCollision's prepared pass matches bit for bit.
    static void CollideWithTriangles(Actor* actor, const std::vector<float>& positions, float dt);
    // Prepares the collision triangles from `positions` as OnActorCollision will use them.
    void PrepareCollision(const std::vector<float>& positions);
    const CollisionMesh& GetCollisionMesh() const { return collision; }

    Engine::Camera1stPerson camera;          // the camera the scene is drawn through
    Engine::Model* room = nullptr;           // the level's room: drawn lit, fogged, untextured; collided with
    Engine::Model* cylinder = nullptr;       // "cylinder": the backdrop around the camera
    Engine::Model* skybox = nullptr;         // "skybox"
    Engine::Texture* cityBg = nullptr;       // "cityBg", drawn on the cylinder
    Engine::Texture* sky = nullptr;          // "sky", drawn on the sky box
    Engine::Model* finishMarker = nullptr;   // "finishMarker": the beam, then the floor
    Engine::Texture* finishBeam = nullptr;   // "finishBeam"
    Engine::Texture* finishFloor = nullptr;  // "finishFloor"

private:
    void DrawFinishMarkers(Engine::Graphics* graphics);
    CollisionMesh collision;  // the room's first mesh, prepared by SetRoom
    std::vector<FinishArea::Rectangle> markers;
};

}  // namespace Application
