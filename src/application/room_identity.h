// Names a level by the bytes of its room model: the FNV-1a 64-bit hash of the file the manifest's
// room entry points at, as 16 lowercase hex digits. Demos and best times are keyed by it, so an edited
// room is a new level. Stateless; any thread.
#pragma once

#include <string>

namespace Application {

// The identity of the room the manifest at `manifestPath` loads (its first model entry named
// AssetNames::Room, with the path the loader resolves), or "" when the manifest, that entry or the
// model file cannot be read.
std::string RoomIdentity(const std::string& manifestPath);

// True for the form RoomIdentity returns: exactly 16 lowercase hex digits.
bool IsRoomIdentity(const std::string& text);

}  // namespace Application
