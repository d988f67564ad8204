#include "application/stage.h"

#include "application/asset_names.h"
#include "collision/actor.h"
#include "engine/assets/assets.h"
#include "engine/graphics/graphics.h"
#include "engine/graphics/mesh.h"
#include "engine/graphics/model.h"

namespace Application {

namespace {

constexpr float FogMin = 7.5f;
constexpr float FogMax = 50.0f;
constexpr size_t FloatsPerTriangle = 9;

glm::vec3 Corner(const std::vector<float>& positions, size_t at) {
    return glm::vec3(positions[at], positions[at + 1], positions[at + 2]) * Stage::RoomScale;
}

}  // namespace

void Stage::InitStage(Engine::Assets* assets) {
    if (assets == nullptr) return;
    cylinder = assets->GetModel(AssetNames::Cylinder);
    skybox = assets->GetModel(AssetNames::Skybox);
    // Clamping hides the seams where the sky box's faces meet.
    if (skybox != nullptr) {
        if (Engine::Mesh* mesh = skybox->GetMesh(0)) mesh->SetClampToEdge(true);
    }
    cityBg = assets->GetTexture(AssetNames::CityBackdrop);
    sky = assets->GetTexture(AssetNames::Sky);
    finishMarker = assets->GetModel(AssetNames::FinishMarker);
    finishBeam = assets->GetTexture(AssetNames::FinishBeam);
    finishFloor = assets->GetTexture(AssetNames::FinishFloor);
}

void Stage::SetFinishMarkers(const std::vector<FinishArea::Rectangle>& rectangles) { markers = rectangles; }

void Stage::SetRoom(Engine::Model* model) {
    room = model;
    // The room never changes while its level plays, so its triangles are scaled and prepared once here.
    collision.Clear();
    if (room != nullptr) {
        if (const Engine::Mesh* mesh = room->GetMesh(0)) PrepareCollision(mesh->GetPositions());
    }
}

void Stage::PrepareCollision(const std::vector<float>& positions) { collision.Build(positions, RoomScale); }

void Stage::UpdateStage(float /*dt*/) {}

void Stage::DrawStage(Engine::Graphics* graphics) {
    if (graphics == nullptr) return;
    Engine::Transform& transform = graphics->transform;
    Engine::Effect& effect = graphics->effect;

    effect.SetTexturesEnabled(true);
    effect.SetLightEnabled(false);

    // The sky box follows the camera on every axis, so it can never be reached.
    transform.PushMatrix();
    transform.Identity();
    transform.Translate(camera.position.x, camera.position.y, camera.position.z);
    transform.Translate(0.0f, SurroundLift, 0.0f);
    transform.Scale(SkyboxScale, SkyboxScale, SkyboxScale);
    transform.Apply();
    graphics->DrawModel(skybox, sky);
    transform.PopMatrix();

    // The backdrop follows only in x and z, so the city keeps its height as the player jumps.
    transform.PushMatrix();
    transform.Identity();
    transform.Translate(camera.position.x, 0.0f, camera.position.z);
    transform.Translate(0.0f, SurroundLift, 0.0f);
    transform.Scale(BackdropScale, BackdropScale, BackdropScale);
    transform.Apply();
    graphics->DrawModel(cylinder, cityBg);
    transform.PopMatrix();

    effect.SetFog(Engine::Color(0.0f, 0.0f, 0.0f, 1.0f), FogMin, FogMax);
    effect.SetLightEnabled(true);
    effect.SetTexturesEnabled(false);
    transform.PushMatrix();
    transform.Scale(RoomScale, RoomScale, RoomScale);
    transform.Apply();
    graphics->SetFaceCulling(true);
    graphics->DrawModel(room, static_cast<Engine::Texture*>(nullptr));
    graphics->SetFaceCulling(false);
    transform.PopMatrix();

    DrawFinishMarkers(graphics);

    effect.SetTexturesEnabled(true);
    effect.SetLightEnabled(false);
    effect.DisableFog();
}

void Stage::DrawFinishMarkers(Engine::Graphics* graphics) {
    if (finishMarker == nullptr || markers.empty()) return;
    Engine::Transform& transform = graphics->transform;
    Engine::Effect& effect = graphics->effect;
    Engine::Mesh* beam = finishMarker->GetMesh(0);
    Engine::Mesh* floor = finishMarker->GetMesh(1);
    effect.SetTexturesEnabled(true);
    effect.SetLightEnabled(false);
    for (const FinishArea::Rectangle& r : markers) {
        transform.PushMatrix();
        transform.Translate(r.west, r.floor + FinishFloorLift, r.north);
        transform.Scale(r.east - r.west, FinishBeamHeight, r.south - r.north);
        transform.Apply();
        // The floor is part of the room and fades with it; the beam shines through the fog, and only
        // its outer faces are drawn, so a player standing in it sees out.
        graphics->DrawMesh(floor, finishFloor);
        effect.DisableFog();
        graphics->SetFaceCulling(true);
        graphics->DrawMesh(beam, finishBeam);
        graphics->SetFaceCulling(false);
        effect.SetFog(Engine::Color(0.0f, 0.0f, 0.0f, 1.0f), FogMin, FogMax);
        transform.PopMatrix();
    }
}

void Stage::OnActorCollision(Actor* actor, float dt) { collision.Collide(actor, dt); }

void Stage::CollideWithTriangles(Actor* actor, const std::vector<float>& positions, float dt) {
    if (actor == nullptr) return;
    // One linear pass in array order; each triangle sees the actor as the previous one left it.
    for (size_t at = 0; positions.size() - at >= FloatsPerTriangle; at += FloatsPerTriangle) {
        actor->CollideTriangle(Corner(positions, at), Corner(positions, at + 3), Corner(positions, at + 6),
                               dt);
    }
}

}  // namespace Application
