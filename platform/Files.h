#pragma once

#include <QDateTime>

#include <optional>
#include <string>

// Whole-file services: the program's backups, resets and restores.
namespace platform {

// A file (not a directory) exists at `path`.
bool fileExists(const std::string& path);

// A regular file that this program can open for reading: a source a whole-file
// copy can take.
bool isReadableFile(const std::string& path);

// Both paths name one existing file (the same file reached by two spellings
// or through a link).
bool sameFile(const std::string& a, const std::string& b);

// A file whose write permission bits are all cleared: the Windows read-only
// attribute, which holds even for root.
bool isReadOnly(const std::string& path);

// Copies `from` over `to` (overwriting it). The copy is written to a temporary
// file beside `to`, made durable and renamed over it, so `to` is never left
// half written. Returns false on failure, leaving `to` as it was. As the
// Windows copy does, a read-only `to` is not overwritten and the copy keeps
// the source's modification time. The copy keeps the source's permission
// bits, its owner may write it, and where the program may set it (root) it
// keeps the source's owner: a copy of a profile only its owner may read is
// no more readable than the profile. A symbolic link `to` is replaced at its
// target.
bool copyFile(const std::string& from, const std::string& to);

// Deletes a file; as on Windows, a read-only file is not deleted.
bool deleteFile(const std::string& path);

// Makes the file a plain writable file (the Windows "normal" attribute): the
// owner may write it again.
bool resetAttributes(const std::string& path);

// Last modification time, if the file exists.
std::optional<QDateTime> lastModified(const std::string& path);

} // namespace platform
