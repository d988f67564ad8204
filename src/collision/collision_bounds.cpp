// The conservative box of a prepared triangle. Worked out in double from the float values the pass
// will use, with room for the float rounding of every test the pass makes, and rounded outwards.
//
// Why a point far from a triangle cannot pass the strict point test: each of the three edge tests
// computes e.u * (p.v - f.v) - e.v * (p.u - f.u) with a rounding error of at most a few float ulps
// of |e| * |p - f|, plus at most 2^-150 for each product that underflows, so a point passing all
// three lies within t = 16 * eps * |p - f| + 4 * 2^-150 / |e| of the inner side of every edge line.
// The points within t of all three lines form the triangle grown by t / sin(half the corner angle)
// at each corner. Thin projections (tiny corner angles) get no bound at all.
//
// A projection whose corners share one u coordinate holds no point: every term of its tests is
// 0 * (p.v - f.v) - e.v * (p.u - f.u), and the signs of those three products rule every point out.
// That needs each sign to be exact: no product may overflow (NaN from infinity minus infinity) or
// round a non-zero value to 0. Coordinates in CollisionTriangle's range guarantee both (a non-zero
// difference of two of them is at least 2^-63, so a product of two is at least 2^-126, and none
// exceeds 2^113); outside it the triangle is Generic or the pass does not skip.
#include "collision/collision_triangle.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace Application {

namespace {

constexpr double Eps = 1.0 / 16777216.0;  // float unit roundoff, 2^-24
// Largest error of a float product that underflows (half the smallest subnormal, 2^-150).
constexpr double Underflow = 0x1p-150;
constexpr double Inf = std::numeric_limits<double>::infinity();
// Relative and absolute slack added to every bound on top of the worked-out rounding.
constexpr double RelativePad = 1.0e-6;
constexpr double AbsolutePad = 1.0e-6;

struct Range {
    double lo = Inf, hi = -Inf;  // empty until something is added
    void Add(const Range& r) {
        lo = std::min(lo, r.lo);
        hi = std::max(hi, r.hi);
    }
    void Clip(const Range& r) {
        lo = std::max(lo, r.lo);
        hi = std::min(hi, r.hi);
    }
};

constexpr Range Everything{-Inf, Inf};

Range Span(float a, float b, float c, double grow) {
    return Range{std::min({double(a), double(b), double(c)}) - grow,
                 std::max({double(a), double(b), double(c)}) + grow};
}

// 0 * infinity counts as 0 here: a zero coefficient makes the float term exactly 0.
double Times(double k, double v) { return k == 0.0 ? 0.0 : k * v; }

// How far outside the projected triangle (u, v) a point may lie and still pass the point test;
// infinity when the projection is too thin to say.
double TestReach(double au, double av, double bu, double bv, double cu, double cv) {
    const double ab = std::hypot(bu - au, bv - av);
    const double ac = std::hypot(cu - au, cv - av);
    const double bc = std::hypot(cu - bu, cv - bv);
    const double longest = std::max({ab, ac, bc});
    const double area2 = std::fabs((bu - au) * (cv - av) - (bv - av) * (cu - au));
    // Points considered lie within `reach` of every corner; farther ones are ruled out below.
    const double reach = 2.0 * longest + 1.0;
    // With less area than the rounding can fake, even the orientation of the test is unsure.
    if (!(area2 > 64.0 * Eps * longest * reach)) return Inf;
    const double t = 16.0 * Eps * reach + 4.0 * Underflow / std::min({ab, ac, bc});
    const double sinSmallest = std::min({area2 / (ab * ac), area2 / (ab * bc), area2 / (ac * bc)});
    const double grow = 2.0 * t / sinSmallest;  // >= t / sin(angle / 2)
    // Beyond `longest` the assumption on `reach` no longer holds: no bound.
    if (!(grow < longest)) return Inf;
    return grow;
}

float Down(double v) {
    v -= RelativePad * std::fabs(v) + AbsolutePad;
    float f = static_cast<float>(v);
    if (static_cast<double>(f) > v) f = std::nextafter(f, -std::numeric_limits<float>::infinity());
    return f;
}

float Up(double v) {
    v += RelativePad * std::fabs(v) + AbsolutePad;
    float f = static_cast<float>(v);
    if (static_cast<double>(f) < v) f = std::nextafter(f, std::numeric_limits<float>::infinity());
    return f;
}

CollisionBounds ToFloat(const Range& x, const Range& z, const Range& y) {
    // An empty range stays empty (inverted), whatever the padding.
    auto lo = [](const Range& r) {
        return r.lo > r.hi ? std::numeric_limits<float>::infinity() : Down(r.lo);
    };
    auto hi = [](const Range& r) { return r.lo > r.hi ? -std::numeric_limits<float>::infinity() : Up(r.hi); };
    return CollisionBounds{lo(x), hi(x), lo(z), hi(z), lo(y), hi(y)};
}

CollisionBounds FloorBounds(const CollisionTriangle& t) {
    const glm::vec3 &a = t.a, &b = t.b, &c = t.c;
    const double grow = TestReach(a.x, a.z, b.x, b.z, c.x, c.z);
    const Range x = Span(a.x, b.x, c.x, grow);
    const Range z = Span(a.z, b.z, c.z, grow);

    // The plane the float code evaluates, h(x, z) = (D - nx x - nz z) / ny, exactly, at the corners;
    // over the grown triangle it moves by at most its gradient times the growth.
    const double nx = t.normal.x, ny = t.normal.y, nz = t.normal.z, d = t.planeTerm;
    auto plane = [&](const glm::vec3& p) { return (d - nx * p.x - nz * p.z) / ny; };
    const double gradient = std::sqrt(nx * nx + nz * nz) / std::fabs(ny);
    const double drift = Times(gradient, grow);
    Range h{std::min({plane(a), plane(b), plane(c)}) - drift,
            std::max({plane(a), plane(b), plane(c)}) + drift};

    // Rounding of the three float steps of the numerator (two products that may underflow) and of
    // the division.
    const double far = std::max(std::fabs(x.lo), std::fabs(x.hi));
    const double farZ = std::max(std::fabs(z.lo), std::fabs(z.hi));
    const double numerator =
        4.0 * Eps * (std::fabs(d) + Times(std::fabs(nx), far) + Times(std::fabs(nz), farZ)) + 2.0 * Underflow;
    const double spread = numerator / std::fabs(ny);
    const double rounding =
        2.0 * (spread + 2.0 * Eps * (std::max(std::fabs(h.lo), std::fabs(h.hi)) + spread));
    h.lo -= rounding;
    h.hi += rounding;
    if (std::isnan(h.lo) || std::isnan(h.hi)) h = Everything;
    return ToFloat(x, z, h);
}

CollisionBounds WallBounds(const CollisionTriangle& t) {
    const glm::vec3 &a = t.a, &b = t.b, &c = t.c;
    // The wall pushes along its footprint only when the probe passes the x-y or the z-y point test
    // (a projection whose corners share their u holds no point: see the top of this file), and
    // otherwise only from its post.
    Range probeY, calledX, calledZ;
    if (!(a.x == b.x && b.x == c.x)) {
        const double grow = TestReach(a.x, a.y, b.x, b.y, c.x, c.y);
        probeY.Add(Span(a.y, b.y, c.y, grow));
        calledX.Add(Span(a.x, b.x, c.x, grow));
        calledZ.Add(Everything);
    }
    if (!(a.z == b.z && b.z == c.z)) {
        const double grow = TestReach(a.z, a.y, b.z, b.y, c.z, c.y);
        probeY.Add(Span(a.y, b.y, c.y, grow));
        calledZ.Add(Span(a.z, b.z, c.z, grow));
        calledX.Add(Everything);
    }
    // Every push needs the actor closer than its radius to the footprint's plane or segment; the
    // pass grows these boxes by the radius. Growing the called box too keeps the result a superset.
    Range pushX = Everything, pushZ = Everything;
    switch (t.kind) {
        case CollisionTriangle::Kind::XWall:
            pushX = Range{t.wall, t.wall};
            break;
        case CollisionTriangle::Kind::ZWall:
            pushZ = Range{t.wall, t.wall};
            break;
        default:
            pushX = Range{t.minEndX, t.maxEndX};
            pushZ = Range{t.minEndZ, t.maxEndZ};
            break;
    }
    Range x = calledX, z = calledZ;
    x.Clip(pushX);
    z.Clip(pushZ);
    // The post pushes when the probe lies strictly between its ends and the actor is closer than
    // its radius to it.
    if (t.hasPost) {
        probeY.Add(Range{t.post.low, t.post.high});
        x.Add(Range{t.post.x, t.post.x});
        z.Add(Range{t.post.z, t.post.z});
    }
    // An empty probe range means neither a point test nor the post can pass: the wall never acts.
    if (probeY.lo > probeY.hi) return ToFloat(Range{}, Range{}, Range{});
    CollisionBounds bounds;
    bounds.y0 = Down(probeY.lo);
    bounds.y1 = Up(probeY.hi);
    // x and z may be "inverted" here (called box and push box apart): the radius growth decides.
    bounds.x0 = Down(x.lo);
    bounds.x1 = Up(x.hi);
    bounds.z0 = Down(z.lo);
    bounds.z1 = Up(z.hi);
    return bounds;
}

// A steep face pushes only while the probe's height lies within its corners' and the actor is
// closer than its radius to the cut, which lies within the corners' box up to the rounding of the
// interpolations and of the nearest point: a few float ulps of the largest coordinate.
CollisionBounds SteepBounds(const CollisionTriangle& t) {
    const glm::vec3 &a = t.a, &b = t.b, &c = t.c;
    const double largest = std::max(
        {std::fabs(a.x), std::fabs(b.x), std::fabs(c.x), std::fabs(a.z), std::fabs(b.z), std::fabs(c.z)});
    const double grow = 16.0 * Eps * largest;
    return ToFloat(Span(a.x, b.x, c.x, grow), Span(a.z, b.z, c.z, grow), Span(a.y, b.y, c.y, 0.0));
}

}  // namespace

CollisionBounds CollisionTriangle::Bound(const CollisionTriangle& triangle) {
    const float inf = std::numeric_limits<float>::infinity();
    switch (triangle.kind) {
        case Kind::Floor:
            return FloorBounds(triangle);
        case Kind::Generic:
            return CollisionBounds{-inf, inf, -inf, inf, -inf, inf};
        case Kind::Steep:
            return SteepBounds(triangle);
        default:
            return WallBounds(triangle);
    }
}

}  // namespace Application
