#include "platform/Files.h"

#include "profile/FaultInjection.h"
#include "profile/IniFileIo.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace platform {

namespace {

bool statPath(const std::string& path, struct stat& st) { return !path.empty() && ::stat(path.c_str(), &st) == 0; }

} // namespace

bool fileExists(const std::string& path)
{
    struct stat st {};
    return statPath(path, st) && !S_ISDIR(st.st_mode);
}

bool isReadableFile(const std::string& path)
{
    if (path.empty()) return false;
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) return false;
    struct stat st {};
    const bool regular = ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode);
    ::close(fd);
    return regular;
}

bool sameFile(const std::string& a, const std::string& b)
{
    struct stat first {
    }, second{};
    return statPath(a, first) && statPath(b, second) && first.st_dev == second.st_dev && first.st_ino == second.st_ino;
}

bool isReadOnly(const std::string& path)
{
    struct stat st {};
    return statPath(path, st) && (st.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0;
}

namespace {

// A copy, read and checked: its target (links followed) and the source's
// bytes and status.
struct PreparedCopy {
    std::string target;
    IniFileIo::FileBytes source;
    std::string temporary;
};

bool prepare(const std::string& from, const std::string& to, PreparedCopy& out)
{
    if (from.empty() || to.empty() || !FaultInjection::allowed(FaultInjection::Operation::Copy, to)) return false;
    if (out.source.read(from) != IniFileIo::FileBytes::Status::Read) return false;
    const std::optional<std::string> target = IniFileIo::resolveLinks(to);
    if (!target) return false;
    out.target = *target;
    struct stat targetStat {};
    // As the Windows copy does: a directory or a read-only file is never
    // overwritten (ResetAttributes makes a read-only file writable).
    return ::stat(out.target.c_str(), &targetStat) != 0 || IniFileIo::mayWrite(out.target, targetStat);
}

// Writes the copy beside its target, with the source's bits and owner, and
// the owner's write permission: a copy of a read-only default file must not
// be one that the next copy cannot replace.
bool stage(PreparedCopy& copy)
{
    const struct stat like = IniFileIo::ownerWritable(copy.source.info());
    copy.temporary = IniFileIo::temporaryName(copy.target);
    if (IniFileIo::createFile(copy.temporary, copy.source.bytes(), &like, copy.target)) return true;
    ::unlink(copy.temporary.c_str());
    copy.temporary.clear();
    return false;
}

bool putInPlace(const PreparedCopy& copy)
{
    // The Windows copy keeps the source's modification time; the backup
    // manager shows it as the date of the copied settings.
    IniFileIo::setModified(copy.temporary, copy.source.info());
    if (IniFileIo::renameOver(copy.temporary, copy.target)) return true;
    ::unlink(copy.temporary.c_str());
    return false;
}

} // namespace

bool copyFile(const std::string& from, const std::string& to)
{
    PreparedCopy copy;
    return prepare(from, to, copy) && stage(copy) && putInPlace(copy);
}

bool deleteFile(const std::string& path)
{
    struct stat st {};
    if (path.empty() || ::lstat(path.c_str(), &st) != 0 || S_ISDIR(st.st_mode) ||
        !FaultInjection::allowed(FaultInjection::Operation::Delete, path))
        return false;
    // A read-only file is not deleted, as on Windows; ResetAttributes first.
    if (!S_ISLNK(st.st_mode) && (st.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0) return false;
    return ::unlink(path.c_str()) == 0;
}

bool resetAttributes(const std::string& path)
{
    struct stat st {};
    if (!statPath(path, st) || S_ISDIR(st.st_mode)) return false;
    return ::chmod(path.c_str(), (st.st_mode & 07777) | S_IWUSR) == 0;
}

std::optional<QDateTime> lastModified(const std::string& path)
{
    struct stat st {};
    if (!statPath(path, st)) return std::nullopt;
    const qint64 ms = static_cast<qint64>(st.st_mtim.tv_sec) * 1000 + st.st_mtim.tv_nsec / 1000000;
    return QDateTime::fromMSecsSinceEpoch(ms);
}

} // namespace platform
