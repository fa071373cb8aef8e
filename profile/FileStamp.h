#pragma once

#include <cstdint>

// How a file looked on disk: enough to tell whether it was replaced or
// rewritten since. `device` and `inode` name the file (on Windows its volume
// serial number and file index), `modifiedNs` is its last write time.
struct FileStamp {
    std::uint64_t device = 0;
    std::uint64_t inode = 0;
    std::int64_t size = -1;
    std::int64_t modifiedNs = 0;
    bool operator==(const FileStamp&) const = default;
};
