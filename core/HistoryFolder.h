#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The file calls of the history's folder: POSIX, with the test seam of
// FaultInjection on every write and delete. Errors are errno values, 0 for
// success.
namespace HistoryFolder {

// The names a write gives its temporary files, and a stopped program leaves.
inline constexpr const char* TemporaryPrefix = ".tmp-";

// Creates `path` and the folders above it that are missing, private to the
// user, each one synced into its parent.
int makeFolders(const std::string& path);

// Synced (or a file system that cannot sync a directory), else the error.
int syncDirectory(const std::string& dir);

// Writes `bytes` as `dir`/`name` to a temporary name and renames it, so that
// a kill leaves the old file or the new one; when `durable`, the file is
// synced before the rename and the directory after it, so that a power cut
// does too. Nothing is left behind on failure.
int writeFile(const std::string& dir, const std::string& name, std::string_view bytes, bool durable);

// The bytes of a file; nothing when it cannot be read.
std::optional<std::string> readAll(const std::string& path);

// The files in `dir` (no folders), each with its inode number: the files of
// the folder are never written in place, only renamed into place, so a name
// with the same number holds what it held.
struct Listed {
    std::string name;
    std::uint64_t inode = 0;
};
std::vector<Listed> filesIn(const std::string& dir);

void removeFile(const std::string& path);

} // namespace HistoryFolder
