// Small value types shared by every engine subsystem: a colour and an integer size/position.
// Plain data, passed by value; usable from any thread.
#pragma once

#include <cstdint>

namespace Engine {

// An RGBA colour with float channels, normally in [0, 1].
struct Color {
    float r = 0.0f;
    float g = 0.0f;
    float b = 0.0f;
    float a = 0.0f;

    Color() = default;
    Color(float red, float green, float blue, float alpha) : r(red), g(green), b(blue), a(alpha) {}
};

// Two signed 32-bit integers; used for sizes, where x is the width and y the height.
struct Point {
    int32_t x = 0;
    int32_t y = 0;

    Point() = default;
    Point(int32_t px, int32_t py) : x(px), y(py) {}
    bool operator==(const Point& other) const { return x == other.x && y == other.y; }
    bool operator!=(const Point& other) const { return !(*this == other); }
};

}  // namespace Engine
