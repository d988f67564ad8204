#include "application/run_records.h"

#include "application/room_identity.h"
#include "common/atomic_file.h"
#include "common/quote.h"
#include "common/seconds.h"
#include "common/step_rate.h"
#include "common/strict_number.h"
#include "common/whole_file.h"
#include "markup/document.h"
#include "markup/tml_reader.h"

#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <exception>
#include <memory>
#include <stdexcept>
#include <string_view>

namespace Application {

namespace {

// Far beyond the levels a player has; a larger file, or one with more nodes or attributes than so
// many levels hold, is not a records file, and the markup reader is never asked to build it.
constexpr size_t kMaxLevels = 10000;
constexpr size_t kMaxBytes = size_t{1} << 20;
constexpr int kMaxSetAsideNames = 1000;

// The file's opening comment, which names the length of a frame.
std::string Comment() {
    const std::string frame = "1/" + std::to_string(Common::StepsPerSecond) + " s";
    return "# stagewalk's best times: one level node per room (its identity), the best time in frames of\n"
           "# " +
           frame + ", and in seconds only for reading (the game reads the frames).\n";
}

struct Damage : std::runtime_error {
    using std::runtime_error::runtime_error;
};

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
    if (!IsRoomIdentity(room->value)) Damaged(room->line, "bad room " + Common::Quote(room->value));
    int64_t best = 0;
    if (!Common::StrictNumber::ParseWhole(std::string_view(frames->value), best) || best <= 0 ||
        best > RunRecords::MaxSteps) {
        Damaged(frames->line, "bad number " + Common::Quote(frames->value) + " for frames (1 to " +
                                  std::to_string(RunRecords::MaxSteps) + ")");
    }
    if (!bests.emplace(room->value, best).second) Damaged(room->line, "room " + room->value + " twice");
}

void Parse(const std::string& text, const std::string& path, std::map<std::string, int64_t>& bests) {
    // Each node and attribute starts with its marker, so these bound what the document could hold.
    if (static_cast<size_t>(std::count(text.begin(), text.end(), '{')) > kMaxLevels + 1 ||
        static_cast<size_t>(std::count(text.begin(), text.end(), '!')) > 3 * kMaxLevels) {
        throw Damage("more nodes or attributes than " + std::to_string(kMaxLevels) + " levels hold");
    }
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

// Moves `path` to the first free set-aside name without ever replacing a file there (a hard link
// fails on an existing name); the name it took, or "" with errno set.
std::string SetAside(const std::string& path) {
    for (int n = 1; n <= kMaxSetAsideNames; ++n) {
        const std::string name = path + ".damaged" + (n == 1 ? std::string() : "-" + std::to_string(n));
        if (::link(path.c_str(), name.c_str()) == 0)
            return ::unlink(path.c_str()) == 0 ? name : std::string();
        if (errno != EEXIST) return std::string();
    }
    errno = EEXIST;
    return std::string();
}

}  // namespace

RunRecords RunRecords::Load(const std::string& path, std::string& message) {
    RunRecords records;
    message.clear();
    // A link is not followed: the file a save would replace is the one read.
    const Common::WholeFile file = Common::ReadWholeFile(path, kMaxBytes, Common::Links::Refuse);
    using Status = Common::WholeFile::Status;
    if (file.status == Status::Missing) return records;
    std::string damage = file.reason;
    if (file.status == Status::Read) {
        try {
            Parse(file.text, path, records.bests);
            return records;
        } catch (const Damage& found) {
            damage = found.what();
        } catch (const std::exception& error) {
            damage.clear();  // out of memory, say: nothing says the file is damaged
            records.keptReason = std::string("could not be read (") + error.what() + ")";
        }
    } else if (file.status != Status::TooLarge) {
        damage.clear();
        records.keptReason = "cannot be read (" + file.reason + ")";
    }
    records.bests.clear();
    if (damage.empty()) {
        records.keptPath = path;
        message = "Records " + path + " " + records.keptReason +
                  "; best times start empty and are not saved over it";
        return records;
    }
    const std::string moved = SetAside(path);
    if (!moved.empty()) {
        message = "Records " + path + " is damaged (" + damage + "); set aside as " + moved +
                  ", best times start empty";
        return records;
    }
    records.keptPath = path;
    records.keptReason = "is damaged and could not be set aside";
    message = "Records " + path + " is damaged (" + damage + ") and could not be set aside (" +
              std::strerror(errno) + "); best times start empty and are not saved over it";
    return records;
}

int64_t RunRecords::Best(const std::string& room) const {
    const auto found = bests.find(room);
    return found == bests.end() ? -1 : found->second;
}

bool RunRecords::Offer(const std::string& room, int64_t frames) {
    if (frames <= 0 || frames > MaxSteps || !IsRoomIdentity(room)) return false;
    const auto found = bests.find(room);
    if (found != bests.end() && found->second <= frames) return false;
    bests[room] = frames;
    return true;
}

bool RunRecords::Save(const std::string& path, std::string& error) const {
    if (path == keptPath) {
        error = "Records not saved: " + path + ": it " + keptReason + ", and is kept as it is";
        return false;
    }
    std::string text = std::string("@ ") + Tml::kVersion + "\n" + Comment() + "{ records\n";
    for (const auto& [room, frames] : bests) {
        char seconds[32];
        Common::FormatSeconds(frames, Common::StepsPerSecond, seconds, sizeof seconds);
        text += "{ level\n! room " + room + "\n! frames " + std::to_string(frames) + "\n! seconds " +
                seconds + "\n}\n";
    }
    text += "}\n";
    std::string reason;
    if (Common::WriteFileAtomically(path, text, reason)) return true;
    error = "Records not saved: " + path + ": " + reason;
    return false;
}

}  // namespace Application
