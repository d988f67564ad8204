#include "application/room_identity.h"

#include <cstdio>

namespace Application {

namespace {

constexpr uint64_t kFnvPrime = 0x100000001b3ull;
constexpr int kDigits = 16;

}  // namespace

uint64_t Fnv1a(uint64_t hash, const void* bytes, size_t size) {
    const unsigned char* at = static_cast<const unsigned char*>(bytes);
    for (size_t i = 0; i < size; ++i) {
        hash ^= at[i];
        hash *= kFnvPrime;
    }
    return hash;
}

std::string IdentityText(uint64_t hash) {
    static constexpr char kHex[] = "0123456789abcdef";
    std::string text(kDigits, '0');
    for (int i = kDigits - 1; i >= 0; --i, hash >>= 4) text[static_cast<size_t>(i)] = kHex[hash & 0xf];
    return text;
}

std::string RoomFileIdentity(const std::string& path) {
    if (path.empty()) return std::string();
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (!file) return std::string();
    uint64_t hash = kFnvOffset;
    unsigned char chunk[1 << 16];
    size_t got = 0;
    while ((got = std::fread(chunk, 1, sizeof chunk, file)) > 0) hash = Fnv1a(hash, chunk, got);
    const bool ok = !std::ferror(file);
    std::fclose(file);
    return ok ? IdentityText(hash) : std::string();
}

bool IsRoomIdentity(const std::string& text) {
    if (text.size() != static_cast<size_t>(kDigits)) return false;
    for (const char c : text) {
        if (!((c >= '0' && c <= '9') || (c >= 'a' && c <= 'f'))) return false;
    }
    return true;
}

}  // namespace Application
