// The form of a level's identity, and the identity levels had before they were known by what plays:
// the FNV-1a 64-bit hash of the room file's bytes, as 16 lowercase hex digits. Best times kept under
// that older identity are carried over to the level whose room file still has those bytes. Stateless;
// any thread.
#pragma once

#include <cstdint>
#include <string>

namespace Application {

// FNV-1a 64 over bytes, chained: start from kFnvOffset.
inline constexpr uint64_t kFnvOffset = 0xcbf29ce484222325ull;
uint64_t Fnv1a(uint64_t hash, const void* bytes, size_t size);
// The 16 lowercase hex digits of `hash`.
std::string IdentityText(uint64_t hash);

// The hash of the bytes of the file at `path`, or "" when it cannot be read.
std::string RoomFileIdentity(const std::string& path);

// True for the form identities take: exactly 16 lowercase hex digits.
bool IsRoomIdentity(const std::string& text);

}  // namespace Application
