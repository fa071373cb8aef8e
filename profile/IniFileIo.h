#pragma once

// File access of TIniFile: one read of a whole file, and the atomic
// replacement of a file by new bytes. No Qt. The POSIX calls are in
// IniFileIoPosix.cpp, the Windows calls in IniFileIoWindows.cpp; the build
// takes the one of its platform. Paths are UTF-8 on both.

#include "profile/FileStamp.h"

#ifndef _WIN32
#include <sys/stat.h>
#endif

#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>

namespace IniFileIo {

#ifdef _WIN32
// What a read tells of a file on Windows.
struct FileInfo {
    std::uint64_t volume = 0; // the volume's serial number
    std::uint64_t index = 0;  // the file's index on that volume
    std::int64_t size = 0;
    std::int64_t modifiedNs = 0;  // last write, in ns since 1970
    std::uint32_t attributes = 0; // FILE_ATTRIBUTE_*
    std::uint32_t links = 1;      // the file's names (hard links)
};
#else
using FileInfo = struct stat;
#endif

// The bytes of a file, read in one pass. The buffer is kept by the thread for
// its next file, since a Save reads the same two files several hundred times.
class FileBytes {
public:
    enum class Status { Read, Missing, Failed };

    FileBytes() = default;
    ~FileBytes();
    FileBytes(const FileBytes&) = delete;
    FileBytes& operator=(const FileBytes&) = delete;

    // Missing: no such file. Failed: there is something at `path` that cannot
    // be read as a profile (no permission, a directory, a device, an I/O error).
    Status read(const std::string& path);

    std::string_view bytes() const noexcept { return m_bytes; }
    const FileInfo& info() const noexcept { return m_info; } // after Read

private:
    struct Buffer;
    // Room for at least `size` bytes, in the thread's kept buffer when it is free.
    bool reserve(std::size_t size);
    char* data() const noexcept;
    std::size_t capacity() const noexcept;

    Buffer* m_buffer = nullptr;
    bool m_ownsBuffer = false;
    std::string_view m_bytes;
    FileInfo m_info{};
};

// The file a write must replace: `path` with its symbolic links followed, so
// that a linked profile is updated at its target and the link stays. The
// target need not exist. Nothing when the links loop or cannot be read.
std::optional<std::string> resolveLinks(const std::string& path);

// True when the existing file may be written: a regular file that is not
// read-only (on POSIX: has at least one write permission bit, even for root;
// on Windows: lacks the read-only attribute) and that this process may write.
bool mayWrite(const std::string& path, const FileInfo& info);

// Replaces `target` by the concatenated `parts`: writes a temporary file in the
// same directory, gives it the permission bits (and, where allowed, the owner)
// or the attributes of `original`, and renames it over the target. When the
// directory refuses new files but the existing target may be written, the
// target is written in place instead and its old content put back if that
// fails. On failure the target is as it was, no temporary file is left and the
// result is false. `written`, when given, receives the file's status right
// after the write.
bool replaceFile(const std::string& target, const FileInfo* original, std::initializer_list<std::string_view> parts,
                 FileInfo* written = nullptr);

// Makes the file and its directory entry durable. False on an I/O error; a
// missing file is nothing to do.
bool syncFile(const std::string& target);

// The steps of a replacement that a journal names beforehand (the pair of
// profiles). Each asks the fault seam first. A file's content is durable when
// the step returns true; a new or removed name becomes durable with the next
// rename in its directory (renameOver syncs the directory). A failure leaves
// what the step would have made or changed as it was, but for a new file
// half written (which the journal names, so that it is removed).

// Writes `bytes` as the new file `path`, which must not exist yet, with the
// permission bits (and, where allowed, the owner) or the attributes of
// `like`; a plain new file without it. Asks Write for `replaced`, the file
// the new one is to replace, and Sync for `path`.
bool createFile(const std::string& path, std::string_view bytes, const FileInfo* like, const std::string& replaced);
// Renames the file `from` over `to`, and makes the rename durable unless
// `durable` is false (the caller syncs the directory once for several).
// Asks Rename for `from`.
bool renameOver(const std::string& from, const std::string& to, bool durable = true);
// Gives the existing file `existing` the second name `name` (a hard link),
// which becomes durable with the next sync of its directory. False where the
// file system has no such names. Asks Copy for `name`.
bool linkFile(const std::string& existing, const std::string& name);
// Makes the entries of the directory holding `path` durable (new, renamed
// and removed names).
bool syncDirectoryOf(const std::string& path);
// Writes `bytes` over the existing file `path` itself, so that its identity,
// its other names (hard links) and its permissions stay. Asks Write and Sync
// for `path`.
bool overwrite(const std::string& path, std::string_view bytes);
// Removes the file `path`; a missing file is nothing to do. Asks Delete for
// `path`.
bool removeFile(const std::string& path);
// How many names (hard links) the file has.
std::uint32_t linkCount(const FileInfo& info);
// The same status, but that its owner may write the file: the bits a copy of
// a read-only file takes, so that the next copy can replace it.
FileInfo ownerWritable(FileInfo info);
// Gives the file at `path` the modification time of `like`, as a copy on
// Windows keeps its source's. False when that cannot be done.
bool setModified(const std::string& path, const FileInfo& like);

// The stamp of what a read or a write told, and of the file at `path` now
// (links followed; size -1: no file).
FileStamp stampOf(const FileInfo& info);
FileStamp stampAt(const std::string& path);

// A name for the temporary file beside `target`: hidden, so that the
// program's wildcard searches of the game directory ("USER_*.INI") never
// meet it, and new at every call.
std::string temporaryName(const std::string& target);

} // namespace IniFileIo
