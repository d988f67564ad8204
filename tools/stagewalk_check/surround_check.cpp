#include "stagewalk_check/surround_check.h"

#include "application/game.h"
#include "application/player.h"
#include "application/stage.h"
#include "collision/collision_triangle.h"
#include "stagewalk_check/room_check.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace StagewalkCheck {

namespace {

using Application::Stage;

// The deepest a point at `offset` from the eye gets in view: its distance while the player can look
// straight at it, less beyond the pitch limit, where the view turns only so far towards it.
float Depth(const glm::vec3& offset) {
    const float elevation = std::atan2(std::fabs(offset.y), std::hypot(offset.x, offset.z));
    const float beyond = elevation - Application::Movement::PitchLimit;
    return glm::length(offset) * (beyond > 0.0f ? std::cos(beyond) : 1.0f);
}

float CornerDepth(const glm::vec3& corner, Surround which, EyeHeights eyes) {
    if (which == Surround::Skybox) {
        return Depth(glm::vec3(0.0f, Stage::SurroundLift, 0.0f) + corner * Stage::SkyboxScale);
    }
    float deepest = 0.0f;
    for (const float eye : {eyes.lowest, eyes.highest}) {
        deepest = std::max(
            deepest, Depth(glm::vec3(0.0f, Stage::SurroundLift - eye, 0.0f) + corner * Stage::BackdropScale));
    }
    return deepest;
}

struct Finding {
    int line;
    float depth;
    glm::vec3 corner;
};

}  // namespace

EyeHeights RoomEyeHeights(const Engine::ModelData* room) {
    const float spawn = Application::Game::StartPosition.y + Application::Movement::EyeHeight;
    EyeHeights eyes{spawn, spawn};
    bool any = false;
    if (room == nullptr || room->empty()) return eyes;
    const std::vector<float>& p = (*room)[0]->positions;
    for (size_t at = 0; p.size() - at >= 9; at += 9) {
        glm::vec3 corners[3];
        for (int i = 0; i < 3; ++i) {
            corners[i] = glm::vec3(p[at + 3 * i], p[at + 3 * i + 1], p[at + 3 * i + 2]) * Stage::RoomScale;
        }
        const auto t = Application::CollisionTriangle::Prepare(corners[0], corners[1], corners[2]);
        if (t.kind != Application::CollisionTriangle::Kind::Floor) continue;
        for (const glm::vec3& corner : corners) {
            const float eye = corner.y + Application::Movement::EyeHeight;
            eyes.lowest = any ? std::min(eyes.lowest, eye) : eye;
            eyes.highest = any ? std::max(eyes.highest, eye) : eye;
            any = true;
        }
    }
    return eyes;
}

void CheckSurround(const Engine::ModelData& model, const ObjLayout& layout, Surround which, EyeHeights eyes,
                   const std::string& file, Diagnostics& out) {
    std::vector<Finding> findings;  // the deepest corner per face line, in file order
    for (size_t mesh = 0; mesh < model.size(); ++mesh) {
        const std::vector<float>& p = model[mesh]->positions;
        for (size_t corner = 0; corner + 3 <= p.size(); corner += 3) {
            const glm::vec3 v(p[corner], p[corner + 1], p[corner + 2]);
            const float depth = CornerDepth(v, which, eyes);
            if (!(depth > Application::Game::FarPlane)) continue;
            const int line = layout.FaceLine(mesh, corner / 9);
            auto same = std::find_if(findings.begin(), findings.end(),
                                     [line](const Finding& f) { return f.line == line; });
            if (same == findings.end()) {
                findings.push_back(Finding{line, depth, v});
            } else if (depth > same->depth) {
                *same = Finding{line, depth, v};
            }
        }
    }
    const std::string what = which == Surround::Skybox ? "sky box corner (" : "backdrop corner (";
    for (const Finding& f : findings) {
        out.Warning(file, f.line,
                    what + Number(f.corner.x) + ", " + Number(f.corner.y) + ", " + Number(f.corner.z) +
                        ") lies " + Number(f.depth) + " from the eye, past the far plane at " +
                        Number(Application::Game::FarPlane) + ": what lies beyond is clipped to black");
    }
}

}  // namespace StagewalkCheck
