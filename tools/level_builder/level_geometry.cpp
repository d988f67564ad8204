#include "level_geometry.h"

#include "level_error.h"
#include "tile_rectangles.h"

#include <glm/geometric.hpp>

#include <algorithm>
#include <cmath>

namespace AssetGenerator {

namespace {

const glm::dvec2 kOutward[4] = {{0, -1}, {1, 0}, {0, 1}, {-1, 0}};  // north, east, south, west in x-z
// The direction, in x-z, from which every shared floor edge and corner is given to one triangle: to
// the one that lies on this side of it. Parallel to no edge the builder makes (axes, diagonals and
// rectangle diagonals of whole tiles), so every edge has exactly one such side.
const glm::dvec2 kClaim(0.8191520442889918, 0.573576436351046);  // 35 degrees off +x

double Cross(glm::dvec2 u, glm::dvec2 v) { return u.x * v.y - u.y * v.x; }

// A finish builds like any full tile, so marking one changes nothing of the room.
bool Flat(const LevelCell& cell) {
    return cell.height > 0 && (cell.shape == Shape::Full || cell.shape == Shape::Finish);
}

// Interleaves the bits of two cell coordinates: cells close on the map get close keys.
uint64_t Morton(uint32_t x, uint32_t z) {
    uint64_t key = 0;
    for (int bit = 0; bit < 16; ++bit) {
        key |= static_cast<uint64_t>((x >> bit) & 1u) << (2 * bit);
        key |= static_cast<uint64_t>((z >> bit) & 1u) << (2 * bit + 1);
    }
    return key;
}

}  // namespace

ObjWriter LevelGeometry::Build(const std::string& name) {
    triangles.clear();
    AddFlatFloors();
    for (int row = 0; row < map.Height(); ++row) {
        for (int column = 0; column < map.Width(); ++column) {
            AddShapedFloor(column, row);
            AddDiagonalWall(column, row);
        }
    }
    AddGridWalls();
    // Floors first: a landing raises the wall probe, so every wall must see the actor after the
    // floors under it have placed it, whatever their place in the file. Within each half the order
    // is spatial, which lets the collision pass skip far runs of triangles.
    std::stable_sort(triangles.begin(), triangles.end(), [](const Triangle& a, const Triangle& b) {
        return a.wall != b.wall ? b.wall : a.key < b.key;
    });
    ObjWriter obj(name + ": the level, one object; all of it is drawn and collided with");
    obj.BeginObject(name);
    for (const Triangle& t : triangles) obj.AddTriangle(t.a, t.b, t.c, t.normal);
    return obj;
}

LevelGeometry::Profile LevelGeometry::Side(int column, int row, Direction side) const {
    const LevelCell& cell = map.At(column, row);
    if (cell.height == 0) return {};
    const double y = map.Y(cell.height);
    if (cell.shape == Shape::Diagonal) {
        if (side == cell.direction || side == LevelTiles::NextClockwise(cell.direction)) return {true, y, y};
        const std::optional<double> open = OpenHalfY(column, row);
        return open ? Profile{true, *open, *open} : Profile{};
    }
    if (cell.shape != Shape::Ramp) return {true, y, y};
    const Direction rise = cell.direction;
    const glm::ivec2 step(rise == East   ? 1
                          : rise == West ? -1
                                         : 0,
                          rise == South   ? 1
                          : rise == North ? -1
                                          : 0);
    const double top = map.Y(map.At(column + step.x, row + step.y).height);
    if (side == rise) return {true, top, top};
    if (side == LevelTiles::Opposite(rise)) return {true, y, y};
    // A side edge: its first end is the west or north one, which is the high end when the ramp
    // rises west or north.
    return (rise == West || rise == North) ? Profile{true, top, y} : Profile{true, y, top};
}

std::optional<double> LevelGeometry::OpenHalfY(int column, int row) const {
    // The open half borders the two sides away from the solid corner and takes the lower of the
    // floors across them; the void across either leaves it void.
    const Direction d = map.At(column, row).direction;
    int lowest = 0;
    for (Direction side : {LevelTiles::Opposite(d), LevelTiles::Opposite(LevelTiles::NextClockwise(d))}) {
        const glm::dvec2 out = kOutward[side];
        const int h = map.At(column + static_cast<int>(out.x), row + static_cast<int>(out.y)).height;
        if (h == 0) return std::nullopt;
        lowest = lowest == 0 ? h : std::min(lowest, h);
    }
    return map.Y(lowest);
}

glm::dvec2 LevelGeometry::CornerXZ(int column, int row, int corner) const {
    const int east = (corner == 1 || corner == 2) ? 1 : 0, south = (corner >= 2) ? 1 : 0;
    return {map.X(column + east), map.Z(row + south)};
}

void LevelGeometry::AddFlatFloors() {
    ForEachTileRectangle(map, Flat, [this](int column, int row, int w, int d, int h) {
        const double y = map.Y(h), x0 = map.X(column), x1 = map.X(column + w);
        const double z0 = map.Z(row), z1 = map.Z(row + d);
        const glm::dvec2 place((x0 + x1) * 0.5, (z0 + z1) * 0.5);
        AddFloor({x0, y, z0}, {x1, y, z0}, {x1, y, z1}, place);
        AddFloor({x0, y, z0}, {x1, y, z1}, {x0, y, z1}, place);
    });
}

void LevelGeometry::AddShapedFloor(int column, int row) {
    const LevelCell& cell = map.At(column, row);
    if (cell.height == 0 || Flat(cell)) return;
    glm::dvec3 corner[4];
    for (int k = 0; k < 4; ++k) {
        const glm::dvec2 xz = CornerXZ(column, row, k);
        corner[k] = {xz.x, 0.0, xz.y};
    }
    const glm::dvec2 place = (CornerXZ(column, row, 0) + CornerXZ(column, row, 2)) * 0.5;
    if (cell.shape == Shape::Ramp) {
        const Profile north = Side(column, row, North), south = Side(column, row, South);
        corner[0].y = north.y0, corner[1].y = north.y1, corner[2].y = south.y1, corner[3].y = south.y0;
        AddFloor(corner[0], corner[1], corner[2], place);
        AddFloor(corner[0], corner[2], corner[3], place);
        return;
    }
    const int solid = (cell.direction + 1) % 4;
    auto at = [&](int k, double y) { return glm::dvec3(corner[k % 4].x, y, corner[k % 4].z); };
    const double y = map.Y(cell.height);
    AddFloor(at(solid + 3, y), at(solid, y), at(solid + 1, y), place);
    if (const std::optional<double> open = OpenHalfY(column, row))
        AddFloor(at(solid + 1, *open), at(solid + 2, *open), at(solid + 3, *open), place);
}

void LevelGeometry::AddDiagonalWall(int column, int row) {
    const LevelCell& cell = map.At(column, row);
    if (cell.height == 0 || cell.shape != Shape::Diagonal) return;
    const int solid = (cell.direction + 1) % 4;
    const glm::dvec2 from = CornerXZ(column, row, (solid + 3) % 4),
                     to = CornerXZ(column, row, (solid + 1) % 4);
    const glm::dvec2 towardsOpen = CornerXZ(column, row, (solid + 2) % 4) - CornerXZ(column, row, solid);
    const double y = map.Y(cell.height);
    const double open = OpenHalfY(column, row).value_or(map.Settings().facadeBottom);
    if (open < y) EmitWall(from, to, open, open, y, y, towardsOpen);
    if (open > y) EmitWall(from, to, y, y, open, open, -towardsOpen);
}

void LevelGeometry::AddGridWalls() {
    // Lines between rows (the seam's first tile is north of it), then lines between columns (the
    // first tile is west of it); the map's border seams meet the void outside.
    for (int row = 0; row <= map.Height(); ++row) {
        for (int column = 0; column < map.Width(); ++column)
            AddSeam(Side(column, row - 1, South), Side(column, row, North), {map.X(column), map.Z(row)},
                    {map.X(column + 1), map.Z(row)}, kOutward[South], column, row - 1, South);
        Flush();
    }
    for (int column = 0; column <= map.Width(); ++column) {
        for (int row = 0; row < map.Height(); ++row)
            AddSeam(Side(column - 1, row, East), Side(column, row, West), {map.X(column), map.Z(row)},
                    {map.X(column), map.Z(row + 1)}, kOutward[East], column - 1, row, East);
        Flush();
    }
}

void LevelGeometry::AddSeam(const Profile& a, const Profile& b, glm::dvec2 p0, glm::dvec2 p1,
                            glm::dvec2 towardsB, int column, int row, Direction towards) {
    const double bottom = map.Settings().facadeBottom;
    if (!a.solid && !b.solid) return;
    if (!b.solid) return AddWall(p0, p1, bottom, bottom, a.y0, a.y1, towardsB);
    if (!a.solid) return AddWall(p0, p1, bottom, bottom, b.y0, b.y1, -towardsB);
    if (a.y0 == b.y0 && a.y1 == b.y1) return;
    if (a.y0 >= b.y0 && a.y1 >= b.y1) return AddWall(p0, p1, b.y0, b.y1, a.y0, a.y1, towardsB);
    if (b.y0 >= a.y0 && b.y1 >= a.y1) return AddWall(p0, p1, a.y0, a.y1, b.y0, b.y1, -towardsB);
    const std::string where = DirectionName(towards);
    throw LevelError(map.Path(), map.LayerOf(column, row), column, row,
                     "meets the tile " + where +
                         " of it crosswise (one floor is higher at one end of their edge "
                         "and lower at the other); no wall can close that seam");
}

void LevelGeometry::AddWall(glm::dvec2 p0, glm::dvec2 p1, double b0, double b1, double t0, double t1,
                            glm::dvec2 facing) {
    if (b0 != b1 || t0 != t1) {
        Flush();
        return EmitWall(p0, p1, b0, b1, t0, t1, facing);
    }
    if (run.open && run.to == p0 && run.bottom == b0 && run.top == t0 && run.facing == facing) {
        run.to = p1;
        return;
    }
    Flush();
    run = {true, p0, p1, facing, b0, t0};
}

void LevelGeometry::Flush() {
    if (run.open) EmitWall(run.from, run.to, run.bottom, run.bottom, run.top, run.top, run.facing);
    run.open = false;
}

void LevelGeometry::EmitWall(glm::dvec2 p0, glm::dvec2 p1, double b0, double b1, double t0, double t1,
                             glm::dvec2 facing) {
    // Each triangle keeps one vertical edge (b1-t1, then b0-t0): two corners share x and z exactly.
    const glm::dvec3 front(facing.x, 0.0, facing.y);
    const glm::dvec3 bottom0(p0.x, b0, p0.y), bottom1(p1.x, b1, p1.y), top0(p0.x, t0, p0.y),
        top1(p1.x, t1, p1.y);
    // The wall test looks at the x-y and the z-y projection. Where the wall runs clockwise in one
    // that has area, each triangle keeps the two edges at its middle corner: both vertical ends and
    // the diagonal are held. Otherwise each keeps only the edge facing its middle corner: the
    // diagonal, and the end at p0 (west or north), which is the far end of the piece before it.
    const bool keepsTwo = (p0.x != p1.x && front.z < 0) || (p0.y != p1.y && front.x > 0);
    const glm::dvec2 place = (p0 + p1) * 0.5;
    if (t1 > b1) Push(bottom0, bottom1, top1, front, keepsTwo ? top1 : bottom1, true, place);
    if (t0 > b0) Push(bottom0, top1, top0, front, keepsTwo ? bottom0 : top1, true, place);
}

void LevelGeometry::AddFloor(glm::dvec3 a, glm::dvec3 b, glm::dvec3 c, glm::dvec2 place) {
    // Seen from above, a floor's corners run clockwise in the point test's x-z plane, so it holds
    // the edges ab and bc and the corner b. Its middle corner is the one from which kClaim points
    // into it: then it holds exactly the edges it lies on the kClaim side of. Around every inner
    // corner one triangle lies in that direction, and across every inner edge one lies on that
    // side, so no point of a floor falls between its triangles, T-junctions included. A triangle
    // that lies on that side of one edge only holds that edge and one more.
    const glm::dvec2 corner[3] = {{a.x, a.z}, {b.x, b.z}, {c.x, c.z}};
    glm::dvec3 middle = a;
    for (int k = 2; k >= 0; --k) {
        const glm::dvec2 v = corner[k], p = corner[(k + 1) % 3] - v, q = corner[(k + 2) % 3] - v;
        const double turn = Cross(p, q);
        const bool within = Cross(p, kClaim) * turn > 0 && Cross(kClaim, q) * turn > 0;
        // The claimed edge from v to the next corner: the triangle lies on its kClaim side.
        const bool claimed = Cross(p, kClaim) * turn > 0;
        if (within) {
            middle = k == 0 ? a : k == 1 ? b : c;
            break;
        }
        if (claimed) middle = k == 0 ? a : k == 1 ? b : c;
    }
    Push(a, b, c, {0, 1, 0}, middle, false, place);
}

void LevelGeometry::Push(glm::dvec3 a, glm::dvec3 b, glm::dvec3 c, glm::dvec3 facing, glm::dvec3 middle,
                         bool wall, glm::dvec2 place) {
    if (triangles.size() == LevelMap::kMaxTriangles) throw map.TooManyTriangles();
    glm::dvec3 winding = glm::cross(b - a, c - a);
    if (glm::dot(winding, facing) < 0) {
        std::swap(b, c);
        winding = -winding;
    }
    // Turning the corners round keeps the winding and puts `middle` second.
    while (b != middle) {
        const glm::dvec3 first = a;
        a = b, b = c, c = first;
    }
    auto uv = [wall](const glm::dvec3& p) {
        return wall ? glm::dvec2(p.x + p.z, p.y) : glm::dvec2(p.x, p.z);
    };
    const double size = map.Settings().tileSize;
    const auto cell = [&](double value, double origin) {
        return static_cast<uint32_t>(std::clamp(std::floor((value - origin) / size), 0.0, 65535.0));
    };
    // Walls record their facing exactly (a ramp's side wall would otherwise round its normal).
    triangles.push_back({{a, uv(a)},
                         {b, uv(b)},
                         {c, uv(c)},
                         wall ? facing : winding,
                         wall,
                         Morton(cell(place.x, map.X(0)), cell(place.y, map.Z(0)))});
}

}  // namespace AssetGenerator
