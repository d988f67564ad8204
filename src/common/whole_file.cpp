#include "common/whole_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <utility>

namespace Common {

namespace {

WholeFile Failure(WholeFile::Status status, std::string reason) {
    WholeFile file;
    file.status = status;
    file.reason = std::move(reason);
    return file;
}

WholeFile SystemFailure(int number) {
    const WholeFile::Status status =
        number == ENOENT || number == ENOTDIR ? WholeFile::Status::Missing : WholeFile::Status::Unreadable;
    return Failure(status, std::strerror(number));
}

std::string NotRegular(mode_t mode) {
    if (S_ISDIR(mode)) return "is a folder, not a file";
    if (S_ISFIFO(mode)) return "is a pipe, not a file";
    if (S_ISCHR(mode) || S_ISBLK(mode)) return "is a device, not a file";
    return "is not a regular file";
}

std::string Larger(size_t limit) { return "is larger than " + std::to_string(limit) + " bytes"; }

class Descriptor {
public:
    explicit Descriptor(int fd) : fd(fd) {}
    ~Descriptor() {
        if (fd >= 0) ::close(fd);
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    int fd;
};

}  // namespace

WholeFile ReadWholeFile(const std::string& path, size_t limit, Links links) {
    // Non-blocking, so that opening a pipe with no writer returns at once; a regular file reads as
    // it always does.
    const int flags = O_RDONLY | O_CLOEXEC | O_NONBLOCK | (links == Links::Refuse ? O_NOFOLLOW : 0);
    const Descriptor file(::open(path.c_str(), flags));
    if (file.fd < 0) {
        if (errno == ELOOP && links == Links::Refuse)
            return Failure(WholeFile::Status::Refused, "is a symbolic link");
        return SystemFailure(errno);
    }
    struct stat status {};
    if (::fstat(file.fd, &status) != 0) return SystemFailure(errno);
    if (!S_ISREG(status.st_mode)) return Failure(WholeFile::Status::Refused, NotRegular(status.st_mode));
    if (static_cast<unsigned long long>(status.st_size) > limit)
        return Failure(WholeFile::Status::TooLarge, Larger(limit));

    WholeFile whole;
    whole.status = WholeFile::Status::Read;
    // The size is a hint: the file is read to its end, whatever it has become since.
    whole.text.resize(static_cast<size_t>(status.st_size) + 1);
    size_t used = 0;
    for (;;) {
        if (used == whole.text.size()) {
            if (used > limit) return Failure(WholeFile::Status::TooLarge, Larger(limit));
            whole.text.resize(used + (1 << 16));
        }
        const ssize_t got = ::read(file.fd, &whole.text[used], whole.text.size() - used);
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) return SystemFailure(errno);
        if (got == 0) break;
        used += static_cast<size_t>(got);
    }
    if (used > limit) return Failure(WholeFile::Status::TooLarge, Larger(limit));
    whole.text.resize(used);
    return whole;
}

}  // namespace Common
