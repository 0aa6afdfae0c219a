#include "platform/core/regular_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#ifdef _WIN32
#include <io.h>
#else
#include <unistd.h>
#endif

#include <algorithm>
#include <cerrno>

namespace {

// The C runtime's POSIX calls on both systems; Windows has no FIFOs to guard against but needs
// binary mode.
#ifdef _WIN32
using Info = struct _stat64;
int StatPath(const std::string& path, Info& info) { return _stat64(path.c_str(), &info); }
int StatOpen(int fd, Info& info) { return _fstat64(fd, &info); }
int OpenPath(const std::string& path) {
    return _open(path.c_str(), _O_RDONLY | _O_BINARY | _O_NOINHERIT);
}
long ReadSome(int fd, char* to, size_t count) {
    return _read(fd, to, static_cast<unsigned>(std::min<size_t>(count, 1u << 30)));
}
void Close(int fd) { _close(fd); }
int64_t ModifiedNs(const Info& info) { return int64_t(info.st_mtime) * 1000000000; }
#else
using Info = struct stat;
int StatPath(const std::string& path, Info& info) { return stat(path.c_str(), &info); }
int StatOpen(int fd, Info& info) { return fstat(fd, &info); }
int OpenPath(const std::string& path) {
    return open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
}
long ReadSome(int fd, char* to, size_t count) { return read(fd, to, count); }
void Close(int fd) { close(fd); }
int64_t ModifiedNs(const Info& info) {
    return int64_t(info.st_mtim.tv_sec) * 1000000000 + info.st_mtim.tv_nsec;
}
#endif

bool Check(const std::string& path, const Info& info, size_t limit, std::string& error) {
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
    Info info{};
    if (StatPath(path, info) != 0) {
        error = path + ": cannot be opened";
        return false;
    }
    if (!Check(path, info, limit, error)) return false;
    int fd = OpenPath(path);
    if (fd < 0) {
        error = path + ": cannot be opened";
        return false;
    }
    bool ok = StatOpen(fd, info) == 0 && Check(path, info, limit, error);
    if (ok) {
        bytes.resize(static_cast<size_t>(info.st_size));
        size_t got = 0;
        for (;;) {
            // One byte beyond the size seen: a file that grew past the limit meanwhile is refused.
            if (got == bytes.size()) bytes.resize(std::min(limit + 1, got + 65536 + 1));
            long n = ReadSome(fd, bytes.data() + got, bytes.size() - got);
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
    Close(fd);
    return ok;
}

FileStamp StampOf(const std::string& path) {
    Info info{};
    FileStamp stamp;
    if (StatPath(path, info) != 0) return stamp;
    stamp.exists = true;
    stamp.size = info.st_size;
    stamp.inode = info.st_ino;
    stamp.modifiedNs = ModifiedNs(info);
    return stamp;
}

PathKind KindOf(const std::string& path) {
    Info info{};
    if (StatPath(path, info) != 0) return PathKind::Missing;
    if (S_ISREG(info.st_mode)) return PathKind::Regular;
    return S_ISDIR(info.st_mode) ? PathKind::Folder : PathKind::Other;
}
