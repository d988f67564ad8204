#include "application/finish_area.h"

#include "application/level_markup.h"
#include "application/stage.h"
#include "collision/actor.h"
#include "markup/document.h"

#include <cmath>
#include <optional>

namespace Application {

namespace {

namespace Keys = LevelMarkup;

// The rectangle a finish node describes, or nothing when a number is missing or malformed. Keys
// given twice take the last value, as every reader of the markup does.
std::optional<FinishArea::Rectangle> Read(const Tml::Node& node) {
    std::optional<double> west, east, north, south, floor;
    for (const Tml::Attribute& attribute : node.Attributes()) {
        const std::optional<double> value = Keys::ReadNumber(attribute.value);
        if (attribute.key == Keys::West) west = value;
        if (attribute.key == Keys::East) east = value;
        if (attribute.key == Keys::North) north = value;
        if (attribute.key == Keys::South) south = value;
        if (attribute.key == Keys::Floor) floor = value;
    }
    if (!west || !east || !north || !south || !floor || !(*west < *east) || !(*north < *south))
        return std::nullopt;
    const double scale = Stage::RoomScale;
    return FinishArea::Rectangle{static_cast<float>(*west * scale), static_cast<float>(*east * scale),
                                 static_cast<float>(*north * scale), static_cast<float>(*south * scale),
                                 static_cast<float>(*floor * scale)};
}

}  // namespace

FinishArea FinishArea::FromDocument(const Tml::Document* document) {
    FinishArea area;
    if (document == nullptr) return area;
    for (const Tml::Node* root : document->RootNodes()) {
        if (root->Name() != Keys::Root) continue;
        for (const Tml::Node* child : root->Children()) {
            if (child->Name() != Keys::Finish) continue;
            if (const std::optional<Rectangle> rectangle = Read(*child))
                area.rectangles.push_back(*rectangle);
        }
    }
    return area;
}

bool FinishArea::Holds(const Actor& actor) const {
    if (!actor.onGround) return false;
    const glm::vec3& feet = actor.position;
    for (const Rectangle& r : rectangles) {
        if (feet.x >= r.west && feet.x <= r.east && feet.z >= r.north && feet.z <= r.south &&
            std::fabs(feet.y - r.floor) <= FloorTolerance)
            return true;
    }
    return false;
}

}  // namespace Application
