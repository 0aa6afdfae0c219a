#include "platform/core/regular_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

namespace {

bool Check(const std::string& path, const struct stat& info, size_t limit, std::string& error) {
    if (!S_ISREG(info.st_mode)) {
        error = path + ": cannot be read (not a regular file)";
        return false;
    }
    if (static_cast<uint64_t>(info.st_size) > limit) {
        error = path + ": refused, larger than " + std::to_string(limit >> 20) + " MiB";
        return false;
    }
    return true;
}

}  // namespace

bool ReadRegularFile(const std::string& path, size_t limit, std::string& bytes,
                     std::string& error) {
    bytes.clear();
    // Looked at before opening so that no device is ever opened; checked again on the open file
    // in case the name was swapped in between.
    struct stat info {};
    if (stat(path.c_str(), &info) != 0) {
        error = path + ": cannot be opened";
        return false;
    }
    if (!Check(path, info, limit, error)) return false;
    int fd = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) {
        error = path + ": cannot be opened";
        return false;
    }
    bool ok = fstat(fd, &info) == 0 && Check(path, info, limit, error);
    if (ok) {
        bytes.resize(static_cast<size_t>(info.st_size));
        size_t got = 0;
        for (;;) {
            // One byte beyond the size seen: a file that grew past the limit meanwhile is refused.
            if (got == bytes.size()) bytes.resize(std::min(limit + 1, got + 65536 + 1));
            ssize_t n = read(fd, bytes.data() + got, bytes.size() - got);
            if (n < 0 && errno == EINTR) continue;
            if (n < 0) {
                error = path + ": cannot be read";
                ok = false;
                break;
            }
            if (n == 0) break;
            got += static_cast<size_t>(n);
            if (got > limit) {
                error = path + ": refused, larger than " + std::to_string(limit >> 20) + " MiB";
                ok = false;
                break;
            }
        }
        bytes.resize(ok ? got : 0);
    }
    close(fd);
    return ok;
}

FileStamp StampOf(const std::string& path) {
    struct stat info {};
    FileStamp stamp;
    if (stat(path.c_str(), &info) != 0) return stamp;
    stamp.exists = true;
    stamp.size = info.st_size;
    stamp.inode = info.st_ino;
    stamp.modifiedNs = int64_t(info.st_mtim.tv_sec) * 1000000000 + info.st_mtim.tv_nsec;
    return stamp;
}
