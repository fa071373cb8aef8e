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

bool copyFile(const std::string& from, const std::string& to)
{
    if (from.empty() || to.empty() || !FaultInjection::allowed(FaultInjection::Operation::Copy, to)) return false;
    // The profile files' own reading and atomic replacement: the target is
    // never left half written, a linked target is replaced at its end.
    IniFileIo::FileBytes source;
    if (source.read(from) != IniFileIo::FileBytes::Status::Read) return false;
    const std::optional<std::string> target = IniFileIo::resolveLinks(to);
    if (!target) return false;
    struct stat targetStat {};
    const bool targetExists = ::stat(target->c_str(), &targetStat) == 0;
    // As the Windows copy does: a directory or a read-only file is never
    // overwritten (ResetAttributes makes a read-only file writable). A new
    // file is a plain file, whatever the source's bits: a copy of a read-only
    // default file must not make the profile read-only.
    if (targetExists && !IniFileIo::mayWrite(*target, targetStat)) return false;
    if (!IniFileIo::replaceFile(*target, targetExists ? &targetStat : nullptr, {source.bytes()})) return false;
    // The Windows copy keeps the source's modification time; the backup
    // manager shows it as the date of the copied settings.
    const timespec times[2] = {source.info().st_atim, source.info().st_mtim};
    ::utimensat(AT_FDCWD, target->c_str(), times, 0);
    IniFileIo::syncFile(*target);
    return true;
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
