// The words of a level's data file (ROOM.level.tml beside the room's model): its node and key names
// and how a number is written there. Written by the level builder, read by the game's FinishArea and
// SpawnPoint and held to by the checker. Constants and a pure function; any thread.
#pragma once

#include "common/strict_number.h"

#include <optional>
#include <string>

namespace Application::LevelMarkup {

inline constexpr const char* Root = "level";  // the one root node; the rest is inside it
// A rectangle where a run ends, in model units, standing on a floor at `Floor`.
inline constexpr const char* Finish = "finish";
inline constexpr const char* West = "west";    // smallest x
inline constexpr const char* East = "east";    // largest x
inline constexpr const char* North = "north";  // smallest z
inline constexpr const char* South = "south";  // largest z
inline constexpr const char* Floor = "floor";  // y of the floor it covers
// Where the player starts, in model units, and which way it faces: degrees in the camera's yaw (0
// looks along +z, 90 along +x).
inline constexpr const char* Spawn = "spawn";
inline constexpr const char* X = "x";
inline constexpr const char* Y = "y";
inline constexpr const char* Z = "z";
inline constexpr const char* Yaw = "yaw";

// A value that is a whole finite decimal number ("1.25", "-4"), or nothing.
inline std::optional<double> ReadNumber(const std::string& text) {
    double value = 0.0;
    if (!Common::StrictNumber::ParseFinite(text, value)) return std::nullopt;
    return value;
}

}  // namespace Application::LevelMarkup
