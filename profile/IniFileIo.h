#pragma once

// File access of TIniFile: one read of a whole file, and the atomic
// replacement of a file by new bytes. POSIX only, no Qt.

#include <sys/stat.h>

#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>

namespace IniFileIo {

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
    const struct stat& info() const noexcept { return m_info; } // after Read

private:
    struct Buffer;
    Buffer* m_buffer = nullptr;
    bool m_ownsBuffer = false;
    std::string_view m_bytes;
    struct stat m_info {};
};

// The file a write must replace: `path` with its symbolic links followed, so
// that a linked profile is updated at its target and the link stays. The
// target need not exist. Nothing when the links loop or cannot be read.
std::optional<std::string> resolveLinks(const std::string& path);

// True when the existing file may be written: a regular file with at least one
// write permission bit (a file whose write bits are all cleared is read-only,
// like the Windows attribute, even for root) that this process may write.
bool mayWrite(const std::string& path, const struct stat& info);

// Replaces `target` by the concatenated `parts`: writes a temporary file in the
// same directory, gives it the permission bits (and, where allowed, the owner)
// of `original`, and renames it over the target. When the directory refuses
// new files but the existing target may be written, the target is written in
// place instead and its old content put back if that fails. On failure the
// target is as it was, no temporary file is left and the result is false.
// `written`, when given, receives the file's status right after the write.
bool replaceFile(const std::string& target, const struct stat* original, std::initializer_list<std::string_view> parts,
                 struct stat* written = nullptr);

// Makes the file and its directory entry durable. False on an I/O error; a
// missing file is nothing to do.
bool syncFile(const std::string& target);

} // namespace IniFileIo
