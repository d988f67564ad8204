#include "common/atomic_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <memory>
#include <random>

namespace Common {

namespace {

constexpr int kNameAttempts = 100;

std::string Folder(const std::string& path) {
    const size_t slash = path.rfind('/');
    if (slash == std::string::npos) return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

// Six letters or digits, fresh for each name tried.
std::string FreshSuffix() {
    static constexpr char kLetters[] = "abcdefghijklmnopqrstuvwxyz0123456789";
    std::random_device random;
    std::string suffix(6, 'x');
    for (char& c : suffix) c = kLetters[random() % (sizeof kLetters - 1)];
    return suffix;
}

// Why the thing at `path` must not be replaced, or "" when nothing is there or it is a regular file.
std::string Unreplaceable(const std::string& path) {
    struct stat status {};
    if (::lstat(path.c_str(), &status) != 0) return errno == ENOENT ? "" : std::strerror(errno);
    if (S_ISLNK(status.st_mode)) return "is a symbolic link, left as it is";
    if (!S_ISREG(status.st_mode)) return "is not a regular file, left as it is";
    return "";
}

}  // namespace

AtomicFile::~AtomicFile() { Abandon(); }

bool AtomicFile::Fail(const std::string& reason) {
    if (error.empty()) error = reason;
    return false;
}

bool AtomicFile::Open(const std::string& target) {
    Abandon();
    path = target;
    error.clear();
    if (const std::string reason = Unreplaceable(path); !reason.empty()) return Fail(reason);
    for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
        fresh = path + ".tmp-" + FreshSuffix();
        // Exclusive: a name that exists, a planted link included, is never opened but passed over.
        fd = ::open(fresh.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
        if (fd >= 0) return true;
        if (errno != EEXIST) break;
    }
    fresh.clear();
    return Fail(std::strerror(errno));
}

bool AtomicFile::Write(const char* data, size_t size) {
    if (fd < 0 || Failed()) return Fail("it is not open");
    while (size > 0) {
        const ssize_t wrote = ::write(fd, data, size);
        if (wrote < 0 && errno == EINTR) continue;
        if (wrote < 0) return Fail(std::strerror(errno));
        data += wrote;
        size -= static_cast<size_t>(wrote);
    }
    return true;
}

bool AtomicFile::Commit() {
    if (fd < 0 || Failed()) {
        Abandon();
        return Fail("it is not open");
    }
    // Synced before the rename, or a power cut could leave the new name on empty data.
    bool ok = ::fsync(fd) == 0 || Fail(std::strerror(errno));
    ok = (::close(fd) == 0 || Fail(std::strerror(errno))) && ok;
    fd = -1;
    // Looked at again: a link planted at the name meanwhile is not replaced either.
    if (ok) {
        const std::string reason = Unreplaceable(path);
        ok = reason.empty() || Fail(reason);
    }
    ok = ok && (::rename(fresh.c_str(), path.c_str()) == 0 || Fail(std::strerror(errno)));
    if (!ok) {
        Abandon();
        return false;
    }
    fresh.clear();
    // The rename lives in the folder: synced, it survives a power cut too.
    const int folder = ::open(Folder(path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folder < 0) return Fail(std::strerror(errno));
    ok = ::fsync(folder) == 0 || Fail(std::strerror(errno));
    ::close(folder);
    return ok;
}

void AtomicFile::Abandon() {
    if (fd >= 0) ::close(fd);
    fd = -1;
    if (!fresh.empty()) ::unlink(fresh.c_str());
    fresh.clear();
}

bool WriteFileAtomically(const std::string& path, std::string_view text, std::string& error) {
    AtomicFile file;
    if (file.Open(path) && file.Write(text) && file.Commit()) return true;
    error = file.Error();
    return false;
}

bool WriteFilesAtomically(const std::vector<std::pair<std::string, std::string>>& files, std::string& error) {
    std::vector<std::unique_ptr<AtomicFile>> written;
    for (const auto& [path, text] : files) {
        written.push_back(std::make_unique<AtomicFile>());
        if (!written.back()->Open(path) || !written.back()->Write(text)) {
            error = path + ": " + written.back()->Error();
            return false;  // every fresh file is removed with its AtomicFile
        }
    }
    for (const std::unique_ptr<AtomicFile>& file : written) {
        if (!file->Commit()) {
            error = file->Path() + ": " + file->Error();
            return false;
        }
    }
    return true;
}

}  // namespace Common
