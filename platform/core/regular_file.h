// Reading a data file whole, safely: only regular files are read (a FIFO, a device or a directory
// under a data file's name is "cannot be read", like a missing file, and opening one never
// blocks), and nothing larger than the caller's limit is read at all.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// False with `error` ("PATH: why") when the file is missing, not a regular file or larger than
// `limit` bytes.
bool ReadRegularFile(const std::string& path, size_t limit, std::string& bytes, std::string& error);

// What a file looked like when last tried: tells a file that has changed from one that has not.
struct FileStamp {
    bool exists = false;
    int64_t size = 0;
    int64_t modifiedNs = 0;
    uint64_t inode = 0;
    bool operator==(const FileStamp&) const = default;
};
FileStamp StampOf(const std::string& path);

// What stands at `path`, if anything.
enum class PathKind { Missing, Regular, Folder, Other };
PathKind KindOf(const std::string& path);
