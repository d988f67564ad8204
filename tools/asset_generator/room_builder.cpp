#include "room_builder.h"

#include <glm/geometric.hpp>

#include <cmath>
#include <stdexcept>

namespace AssetGenerator {

RoomBuilder::RoomBuilder(const std::string& name)
    : obj("room: the level, one object; all of it is drawn and collided with") {
    obj.BeginObject(name);
}

void RoomBuilder::Floor(const std::vector<glm::dvec2>& xz, double y) {
    std::vector<glm::dvec3> corners;
    for (const glm::dvec2& p : xz) corners.push_back({p.x, y, p.y});
    Surface(corners);
}

void RoomBuilder::Surface(const std::vector<glm::dvec3>& corners) {
    std::vector<Corner> out;
    for (const glm::dvec3& p : corners) out.push_back({p, {p.x, p.z}});
    obj.AddPolygon(out, {0.0, 1.0, 0.0});
}

void RoomBuilder::Wall(glm::dvec2 from, glm::dvec2 to, double bottom, double topFrom, double topTo,
                       glm::dvec2 facing, double maxPiece) {
    const double length = glm::length(to - from);
    if (!(length > 0.0)) throw std::runtime_error("a wall needs a length");
    const int pieces = std::max(1, static_cast<int>(std::ceil(length / maxPiece - 1e-9)));
    const glm::dvec3 front(facing.x, 0.0, facing.y);
    for (int i = 0; i < pieces; ++i) {
        const double t0 = static_cast<double>(i) / pieces, t1 = static_cast<double>(i + 1) / pieces;
        const glm::dvec2 a = from + (to - from) * t0, b = from + (to - from) * t1;
        const double topA = topFrom + (topTo - topFrom) * t0, topB = topFrom + (topTo - topFrom) * t1;
        const double s0 = length * t0, s1 = length * t1;
        // Corner order bottom-a, bottom-b, top-b, top-a: the fan from the first corner yields the
        // triangles (bottom-a, bottom-b, top-b) and (bottom-a, top-b, top-a), each with a vertical edge.
        std::vector<Corner> corners{{{a.x, bottom, a.y}, {s0, bottom}}, {{b.x, bottom, b.y}, {s1, bottom}}};
        if (topB > bottom) corners.push_back({{b.x, topB, b.y}, {s1, topB}});
        if (topA > bottom) corners.push_back({{a.x, topA, a.y}, {s0, topA}});
        if (corners.size() < 3) throw std::runtime_error("a wall needs a height");
        obj.AddPolygon(corners, front);
    }
}

void RoomBuilder::Box(double x0, double x1, double z0, double z1, double y0, double y1, unsigned faces) {
    if (faces & North) Wall({x1, z1}, {x0, z1}, y0, y1, y1, {0.0, 1.0});
    if (faces & South) Wall({x0, z0}, {x1, z0}, y0, y1, y1, {0.0, -1.0});
    if (faces & East) Wall({x1, z0}, {x1, z1}, y0, y1, y1, {1.0, 0.0});
    if (faces & West) Wall({x0, z1}, {x0, z0}, y0, y1, y1, {-1.0, 0.0});
    if (faces & Top) Floor({{x0, z0}, {x1, z0}, {x1, z1}, {x0, z1}}, y1);
}

}  // namespace AssetGenerator
