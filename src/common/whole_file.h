// Reads a whole file into memory for the readers of outside data (tml documents, tile maps, demos,
// records): regular files only, so a pipe, a device or a folder never blocks or streams forever, and
// never more than the reader's limit. Stateless; any thread.
#pragma once

#include <cstddef>
#include <string>

namespace Common {

struct WholeFile {
    enum class Status {
        Read,
        Missing,     // nothing at the path (or a folder on the way is missing)
        Refused,     // not a regular file, or a link where links are refused
        TooLarge,    // larger than the reader's limit
        Unreadable,  // any other failure of the system (permissions, an I/O error)
    };
    Status status = Status::Missing;
    std::string text;    // the bytes, when Read
    std::string reason;  // why not, in a few words ("is a folder, not a file", "No such file or directory")
};

enum class Links { Follow, Refuse };

// At most `limit` bytes; a file that is (or grows) larger is refused without reading it all.
WholeFile ReadWholeFile(const std::string& path, size_t limit, Links links = Links::Follow);

}  // namespace Common
