// A file that takes the place of `path` only when it is whole. It is written into a fresh file beside
// `path`, created exclusively under a new name (never through a link), and put in place by Commit:
// synced, renamed over `path`, the folder synced, so at any moment `path` holds the old file or the
// new one. A link, folder or other non-regular file at `path` is neither followed nor replaced.
// Every write, sync and close is checked; after the first failure nothing more is written and
// nothing is put in place. Owned by its writer; one thread.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace Common {

class AtomicFile {
public:
    AtomicFile() = default;
    ~AtomicFile();  // a file never committed is removed, and `path` stays as it was
    AtomicFile(const AtomicFile&) = delete;
    AtomicFile& operator=(const AtomicFile&) = delete;

    // Creates the fresh file beside `path` (after abandoning one still open). False when it cannot.
    bool Open(const std::string& path);
    // Writes all of `data` at once (no buffering: what returned true is in the file). Allocates
    // nothing. False after any failure, this one or an earlier one.
    bool Write(const char* data, size_t size);
    bool Write(std::string_view text) { return Write(text.data(), text.size()); }
    // Syncs and closes the file and puts it in place of `path`. False when any step fails (the fresh
    // file is then removed and `path` left as it was).
    bool Commit();
    void Abandon();  // removes the fresh file; `path` stays as it was

    bool IsOpen() const { return fd >= 0; }
    bool Failed() const { return !error.empty(); }
    // Why the first failure happened, in a few words ("No space left on device", "is a symbolic
    // link, left as it is"); empty while nothing has failed.
    const std::string& Error() const { return error; }
    const std::string& Path() const { return path; }
    const std::string& FreshPath() const { return fresh; }  // where the file is until Commit

private:
    bool Fail(const std::string& reason);  // keeps the first reason; false
    int fd = -1;
    std::string path;
    std::string fresh;
    std::string error;
};

// Writes `text` as `path` through an AtomicFile; false and `error` (the reason alone) when it fails.
bool WriteFileAtomically(const std::string& path, std::string_view text, std::string& error);

// The same for files that belong together (path, text): every one is written before any is put in
// place, so a failure to write changes none of them.
bool WriteFilesAtomically(const std::vector<std::pair<std::string, std::string>>& files, std::string& error);

}  // namespace Common
