#include "application/room_identity.h"

#include "application/asset_names.h"
#include "engine/assets/asset_buffer.h"
#include "engine/assets/asset_kinds.h"

#include <cstdint>
#include <cstdio>
#include <exception>

namespace Application {

namespace {

constexpr uint64_t kFnvOffset = 0xcbf29ce484222325ull;
constexpr uint64_t kFnvPrime = 0x100000001b3ull;
constexpr int kDigits = 16;

// The manifest's room model, resolved as the loader resolves it, or "" when there is none.
std::string RoomModelPath(const std::string& manifestPath) {
    try {
        const Engine::AssetBuffer plan(manifestPath, nullptr);
        for (const Engine::AssetEntry& entry : plan.GetEntries()) {
            // The store hands out the first entry of a name, so that is the room the game draws.
            if (entry.kind == Engine::AssetKind::Model && entry.name == AssetNames::Room) return entry.path;
        }
    } catch (const std::exception&) {
        // A manifest the loader refuses names no room.
    }
    return std::string();
}

}  // namespace

std::string RoomIdentity(const std::string& manifestPath) {
    const std::string path = RoomModelPath(manifestPath);
    if (path.empty()) return std::string();
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (!file) return std::string();
    uint64_t hash = kFnvOffset;
    unsigned char chunk[1 << 16];
    size_t got = 0;
    while ((got = std::fread(chunk, 1, sizeof chunk, file)) > 0) {
        for (size_t i = 0; i < got; ++i) {
            hash ^= chunk[i];
            hash *= kFnvPrime;
        }
    }
    const bool ok = !std::ferror(file);
    std::fclose(file);
    if (!ok) return std::string();
    static constexpr char kHex[] = "0123456789abcdef";
    std::string text(kDigits, '0');
    for (int i = kDigits - 1; i >= 0; --i, hash >>= 4) text[static_cast<size_t>(i)] = kHex[hash & 0xf];
    return text;
}

bool IsRoomIdentity(const std::string& text) {
    if (text.size() != static_cast<size_t>(kDigits)) return false;
    for (const char c : text) {
        if (!((c >= '0' && c <= '9') || (c >= 'a' && c <= 'f'))) return false;
    }
    return true;
}

}  // namespace Application
