#include "application/spawn_point.h"

#include "application/level_markup.h"
#include "application/stage.h"
#include "markup/document.h"

#include <optional>

namespace Application {

namespace {

namespace Keys = LevelMarkup;

constexpr double kRadiansPerDegree = 3.14159265358979323846 / 180.0;

// The spawn a node describes, or nothing when a number is missing or malformed. Keys given twice
// take the last value, as every reader of the markup does.
std::optional<SpawnPoint> Read(const Tml::Node& node) {
    std::optional<double> x, y, z, yaw = 0.0;
    for (const Tml::Attribute& attribute : node.Attributes()) {
        const std::optional<double> value = Keys::ReadNumber(attribute.value);
        if (attribute.key == Keys::X) x = value;
        if (attribute.key == Keys::Y) y = value;
        if (attribute.key == Keys::Z) z = value;
        if (attribute.key == Keys::Yaw) yaw = value;
    }
    if (!x || !y || !z || !yaw) return std::nullopt;
    // In double, then rounded once: the default start written in model units, (0.0125, 1.25,
    // -1.875), gives the default position bit for bit.
    const double scale = Stage::RoomScale;
    SpawnPoint spawn;
    spawn.position = glm::vec3(static_cast<float>(*x * scale), static_cast<float>(*y * scale),
                               static_cast<float>(*z * scale));
    spawn.yaw = static_cast<float>(*yaw * kRadiansPerDegree);
    spawn.given = true;
    return spawn;
}

}  // namespace

SpawnPoint SpawnPoint::FromDocument(const Tml::Document* document) {
    if (document != nullptr) {
        for (const Tml::Node* root : document->RootNodes()) {
            if (root->Name() != Keys::Root) continue;
            for (const Tml::Node* child : root->Children()) {
                if (child->Name() != Keys::Spawn) continue;
                if (const std::optional<SpawnPoint> spawn = Read(*child)) return *spawn;
            }
        }
    }
    return SpawnPoint();
}

}  // namespace Application
