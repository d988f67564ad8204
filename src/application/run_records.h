// The best time of each level, keyed by its room identity, and the records file that keeps them
// beside config.tml: read once at start (a regular file only, never through a link), written
// atomically after each new best (Common::AtomicFile), so a crash or a kill leaves the old file or
// the new one. Owned by the game shell; main thread only.
#pragma once

#include <cstdint>
#include <map>
#include <string>

namespace Application {

class RunRecords {
public:
    // The longest best kept, in steps of 1/60 s: over a year. A longer one in the file is damage.
    static constexpr int64_t MaxSteps = 2147483647;

    // Reads `path`. A missing file gives no records and no message. A damaged one (not tml, no
    // records node, a bad room or number, too large) is set aside under a free name, "PATH.damaged"
    // or else "PATH.damaged-2", ..., never over another file, and `message` gets one line naming the
    // file, the reason and where it went; no records then. A file that cannot be read (a link, a
    // folder, a pipe, no permission) or set aside is left where it is, and Save refuses to replace it.
    static RunRecords Load(const std::string& path, std::string& message);

    // Best time of a level in frames (steps of 1/60 s), or -1 when none.
    int64_t Best(const std::string& room) const;
    // Records `frames` for `room` when it beats the best (or there is none); returns true then.
    // Only frame counts of 1 to MaxSteps and room identities (RoomIdentity's form) are taken.
    bool Offer(const std::string& room, int64_t frames);
    // Writes the records as `path`, atomically. False and a one-line `error`, "Records not saved:
    // PATH: reason", when it cannot; `path` is then as it was.
    bool Save(const std::string& path, std::string& error) const;

    size_t Count() const { return bests.size(); }

private:
    std::map<std::string, int64_t> bests;  // ordered, so a save writes the same text for the same bests
    std::string keptPath;    // a file Load could neither read nor set aside, which Save leaves alone
    std::string keptReason;  // why, for Save's refusal
};

}  // namespace Application
