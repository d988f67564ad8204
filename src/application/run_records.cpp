#include "application/run_records.h"

#include "application/room_identity.h"
#include "common/strict_number.h"
#include "markup/document.h"
#include "markup/tml_reader.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <exception>
#include <memory>
#include <stdexcept>
#include <string_view>

namespace Application {

namespace {

constexpr long long kMaxBytes = 8ll * 1024 * 1024;  // far beyond any number of levels a player has
constexpr int kMaxSetAsideNames = 1000;

constexpr const char* kComment =
    "# stagewalk's best times: one level node per room (its identity), the best time in frames of\n"
    "# 1/60 s, and in seconds only for reading (the game reads the frames).\n";

struct Damage : std::runtime_error {
    using std::runtime_error::runtime_error;
};

std::string Reason(int number) { return std::strerror(number); }

// Reads the whole file; false with errno set when it cannot. Larger than kMaxBytes is damage.
bool ReadWholeFile(const std::string& path, std::string& text) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return false;
    char chunk[1 << 16];
    for (;;) {
        const ssize_t got = ::read(fd, chunk, sizeof chunk);
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) {
            const int saved = errno;
            ::close(fd);
            errno = saved;
            return false;
        }
        if (got == 0) break;
        if (text.size() + static_cast<size_t>(got) > static_cast<size_t>(kMaxBytes)) {
            ::close(fd);
            throw Damage("larger than " + std::to_string(kMaxBytes) + " bytes");
        }
        text.append(chunk, static_cast<size_t>(got));
    }
    ::close(fd);
    return true;
}

std::string Quoted(const std::string& text) {
    std::string quoted = "'";
    for (size_t i = 0; i < text.size() && i < 40; ++i) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        quoted += (c < 0x20 || c == 0x7f) ? '?' : static_cast<char>(c);
    }
    return quoted + (text.size() > 40 ? "...'" : "'");
}

[[noreturn]] void Damaged(int line, const std::string& what) {
    throw Damage("line " + std::to_string(line) + ": " + what);
}

void ReadLevel(const Tml::Node& level, std::map<std::string, int64_t>& bests) {
    const Tml::Attribute* room = nullptr;
    const Tml::Attribute* frames = nullptr;
    for (const Tml::Attribute& attribute : level.Attributes()) {
        if (attribute.key == "room") room = &attribute;
        if (attribute.key == "frames") frames = &attribute;
    }
    if (!room || !frames) Damaged(level.Line(), room ? "a level without frames" : "a level without a room");
    if (!IsRoomIdentity(room->value)) Damaged(room->line, "bad room " + Quoted(room->value));
    int64_t best = 0;
    if (!Common::StrictNumber::ParseWhole(std::string_view(frames->value), best) || best <= 0) {
        Damaged(frames->line, "bad number " + Quoted(frames->value) + " for frames");
    }
    if (!bests.emplace(room->value, best).second) Damaged(room->line, "room " + room->value + " twice");
}

void Parse(const std::string& text, const std::string& path, std::map<std::string, int64_t>& bests) {
    std::unique_ptr<Tml::Document> document;
    try {
        document.reset(Tml::ParseDocument(text, path));
    } catch (const std::runtime_error& error) {
        throw Damage(std::string("not tml: ") + error.what());
    }
    const Tml::Node* records = nullptr;
    for (const Tml::Node* node : document->RootNodes()) {
        if (node->Name() != "records") continue;
        if (records) Damaged(node->Line(), "a second records node");
        records = node;
    }
    if (!records) throw Damage("no records node");
    for (const Tml::Node* level : records->Children()) {
        if (level->Name() == "level") ReadLevel(*level, bests);
    }
}

// Moves `path` to the first free set-aside name without ever replacing a file there; the name it
// took, or "" with errno set.
std::string SetAside(const std::string& path) {
    for (int n = 1; n <= kMaxSetAsideNames; ++n) {
        const std::string name = path + ".damaged" + (n == 1 ? std::string() : "-" + std::to_string(n));
        if (::renameat2(AT_FDCWD, path.c_str(), AT_FDCWD, name.c_str(), RENAME_NOREPLACE) == 0) return name;
        if (errno == EEXIST) continue;
        if (errno != EINVAL && errno != ENOSYS) return std::string();
        // A file system without the no-replace rename: a hard link fails on an existing name too.
        if (::link(path.c_str(), name.c_str()) == 0) {
            if (::unlink(path.c_str()) == 0) return name;
            return std::string();
        }
        if (errno == EEXIST) continue;
        return std::string();
    }
    errno = EEXIST;
    return std::string();
}

std::string Folder(const std::string& path) {
    const size_t slash = path.rfind('/');
    if (slash == std::string::npos) return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

// The frames as seconds with two decimals, for people reading the file.
std::string Seconds(int64_t frames) {
    const int64_t hundredths = (frames % 60 * 100 + 30) / 60;  // at most 98: no carry
    return std::to_string(frames / 60) + (hundredths < 10 ? ".0" : ".") + std::to_string(hundredths);
}

bool WriteAll(int fd, const std::string& text) {
    size_t done = 0;
    while (done < text.size()) {
        const ssize_t wrote = ::write(fd, text.data() + done, text.size() - done);
        if (wrote < 0 && errno == EINTR) continue;
        if (wrote <= 0) return false;
        done += static_cast<size_t>(wrote);
    }
    return true;
}

}  // namespace

RunRecords RunRecords::Load(const std::string& path, std::string& message) {
    RunRecords records;
    message.clear();
    std::string reason;
    try {
        std::string text;
        if (!ReadWholeFile(path, text)) {
            if (errno == ENOENT) return records;
            records.keptPath = path;
            records.keptReason = "it cannot be read (" + Reason(errno) + ")";
            message = "Records " + path + " cannot be read (" + Reason(errno) +
                      "); best times start empty and will not be saved over it";
            return records;
        }
        Parse(text, path, records.bests);
        return records;
    } catch (const Damage& damage) {
        reason = damage.what();
    } catch (const std::exception& error) {
        // Out of memory, say: nothing says the file is damaged, so it stays where it is.
        records = RunRecords();
        records.keptPath = path;
        records.keptReason = std::string("it could not be read (") + error.what() + ")";
        message = "Records " + path + " could not be read (" + error.what() +
                  "); best times start empty and will not be saved over it";
        return records;
    }
    records.bests.clear();
    const std::string moved = SetAside(path);
    if (moved.empty()) {
        records.keptPath = path;
        records.keptReason = "it is damaged and could not be set aside";
        message = "Records " + path + " is damaged (" + reason + ") and could not be set aside (" +
                  Reason(errno) + "); best times start empty and will not be saved over it";
    } else {
        message = "Records " + path + " is damaged (" + reason + "); set aside as " + moved +
                  ", best times start empty";
    }
    return records;
}

int64_t RunRecords::Best(const std::string& room) const {
    const auto found = bests.find(room);
    return found == bests.end() ? -1 : found->second;
}

bool RunRecords::Offer(const std::string& room, int64_t frames) {
    if (frames <= 0 || !IsRoomIdentity(room)) return false;
    const auto found = bests.find(room);
    if (found != bests.end() && found->second <= frames) return false;
    bests[room] = frames;
    return true;
}

bool RunRecords::Save(const std::string& path, std::string& error) const {
    if (path == keptPath) {
        error = "Records " + path + " not saved: " + keptReason + ", and is kept as it is";
        return false;
    }
    std::string text = std::string("@ ") + Tml::kVersion + "\n" + kComment + "{ records\n";
    for (const auto& [room, frames] : bests) {
        text += "{ level\n! room " + room + "\n! frames " + std::to_string(frames) + "\n! seconds " +
                Seconds(frames) + "\n}\n";
    }
    text += "}\n";

    const std::string temporary = path + ".tmp";
    auto fail = [&](const std::string& what) {
        error = "Records " + path + " not saved: " + what + " (" + Reason(errno) + ")";
        return false;
    };
    const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0) return fail("cannot create " + temporary);
    // Synced before the rename: otherwise a power cut could leave the new name on empty data.
    if (!WriteAll(fd, text) || ::fsync(fd) != 0) {
        const int saved = errno;
        ::close(fd);
        ::unlink(temporary.c_str());
        errno = saved;
        return fail("cannot write " + temporary);
    }
    if (::close(fd) != 0) {
        const int saved = errno;
        ::unlink(temporary.c_str());
        errno = saved;
        return fail("cannot write " + temporary);
    }
    if (::rename(temporary.c_str(), path.c_str()) != 0) {
        const int saved = errno;
        ::unlink(temporary.c_str());
        errno = saved;
        return fail("cannot rename " + temporary + " over it");
    }
    // The rename lives in the folder: synced, it survives a power cut too.
    const int folder = ::open(Folder(path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folder < 0) return fail("cannot open its folder to sync it");
    const bool synced = ::fsync(folder) == 0;
    const int saved = errno;
    ::close(folder);
    errno = saved;
    return synced || fail("cannot sync its folder");
}

}  // namespace Application
