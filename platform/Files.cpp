#include "platform/Files.h"

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

bool statPath(const std::string& path, struct stat& st)
{
    return !path.empty() && ::stat(path.c_str(), &st) == 0;
}

std::string directoryOf(const std::string& path)
{
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos)
        return ".";
    if (slash == 0)
        return "/";
    return path.substr(0, slash);
}

// A profile that is a symbolic link is replaced at its target, so the link
// stays a link.
std::string resolveTarget(const std::string& path)
{
    struct stat st {};
    if (::lstat(path.c_str(), &st) != 0 || !S_ISLNK(st.st_mode))
        return path;
    char buffer[PATH_MAX];
    if (::realpath(path.c_str(), buffer) == nullptr)
        return path;
    return buffer;
}

bool writeAll(int fd, const char* data, std::size_t size)
{
    while (size > 0) {
        const ssize_t written = ::write(fd, data, size);
        if (written < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        if (written == 0)
            return false;
        data += written;
        size -= static_cast<std::size_t>(written);
    }
    return true;
}

class FileDescriptor {
public:
    explicit FileDescriptor(int fd = -1) : m_fd(fd) {}
    ~FileDescriptor() { reset(); }
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    int get() const { return m_fd; }
    bool valid() const { return m_fd >= 0; }
    bool close()
    {
        const int fd = m_fd;
        m_fd = -1;
        return fd < 0 || ::close(fd) == 0;
    }
    void reset() { close(); }

private:
    int m_fd;
};

bool copyContent(int from, int to)
{
    std::vector<char> buffer(1 << 16);
    for (;;) {
        const ssize_t got = ::read(from, buffer.data(), buffer.size());
        if (got < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        if (got == 0)
            return true;
        if (!writeAll(to, buffer.data(), static_cast<std::size_t>(got)))
            return false;
    }
}

// The process's file-creation mask, read without changing it (a umask(0)
// round trip would race with files created on other threads).
mode_t currentUmask()
{
    FileDescriptor fd(::open("/proc/self/status", O_RDONLY | O_CLOEXEC));
    if (fd.valid()) {
        char buffer[4096];
        const ssize_t got = ::read(fd.get(), buffer, sizeof buffer - 1);
        if (got > 0) {
            buffer[got] = '\0';
            if (const char* line = std::strstr(buffer, "\nUmask:"))
                return static_cast<mode_t>(std::strtoul(line + 7, nullptr, 8)) & 0777;
        }
    }
    const mode_t mask = ::umask(022);
    ::umask(mask);
    return mask;
}

void syncDirectory(const std::string& dir)
{
    FileDescriptor fd(::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (fd.valid())
        ::fsync(fd.get());
}

} // namespace

bool FileExists(const std::string& path)
{
    struct stat st {};
    return statPath(path, st) && !S_ISDIR(st.st_mode);
}

bool IsReadOnly(const std::string& path)
{
    struct stat st {};
    return statPath(path, st) && (st.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0;
}

bool CopyFile(const std::string& from, const std::string& to)
{
    if (from.empty() || to.empty())
        return false;
    FileDescriptor source(::open(from.c_str(), O_RDONLY | O_CLOEXEC));
    if (!source.valid())
        return false;
    struct stat sourceStat {};
    if (::fstat(source.get(), &sourceStat) != 0 || !S_ISREG(sourceStat.st_mode))
        return false;

    const std::string target = resolveTarget(to);
    struct stat targetStat {};
    const bool targetExists = ::stat(target.c_str(), &targetStat) == 0;
    if (targetExists) {
        // As the Windows copy does: a directory or a read-only file is never
        // overwritten (ResetAttributes makes a read-only file writable).
        if (!S_ISREG(targetStat.st_mode) || (targetStat.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0)
            return false;
    }

    const std::string dir = directoryOf(target);
    std::string tempPath = dir + "/." + target.substr(target.rfind('/') + 1) + ".XXXXXX";
    std::vector<char> tempName(tempPath.begin(), tempPath.end());
    tempName.push_back('\0');
    FileDescriptor temp(::mkostemp(tempName.data(), O_CLOEXEC));
    if (!temp.valid())
        return false;
    tempPath = tempName.data();

    bool ok = copyContent(source.get(), temp.get());
    if (ok) {
        mode_t mode;
        if (targetExists) {
            mode = targetStat.st_mode & 07777;
        } else {
            // A new file is a plain file, whatever the source's bits: a copy of
            // a read-only default file must not make the profile read-only.
            mode = 0666 & ~currentUmask();
        }
        ok = ::fchmod(temp.get(), mode) == 0;
    }
    if (ok) {
        // The Windows copy keeps the source's modification time; the backup
        // manager shows it as the date of the copied settings.
        const timespec times[2] = {sourceStat.st_atim, sourceStat.st_mtim};
        ::futimens(temp.get(), times);
        ok = ::fsync(temp.get()) == 0;
    }
    ok = temp.close() && ok;
    if (ok)
        ok = ::rename(tempPath.c_str(), target.c_str()) == 0;
    if (!ok) {
        ::unlink(tempPath.c_str());
        return false;
    }
    syncDirectory(dir);
    return true;
}

bool DeleteFile(const std::string& path)
{
    struct stat st {};
    if (path.empty() || ::lstat(path.c_str(), &st) != 0 || S_ISDIR(st.st_mode))
        return false;
    // A read-only file is not deleted, as on Windows; ResetAttributes first.
    if (!S_ISLNK(st.st_mode) && (st.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0)
        return false;
    return ::unlink(path.c_str()) == 0;
}

bool ResetAttributes(const std::string& path)
{
    struct stat st {};
    if (!statPath(path, st) || S_ISDIR(st.st_mode))
        return false;
    return ::chmod(path.c_str(), (st.st_mode & 07777) | S_IWUSR) == 0;
}

std::optional<QDateTime> LastModified(const std::string& path)
{
    struct stat st {};
    if (!statPath(path, st))
        return std::nullopt;
    const qint64 ms = static_cast<qint64>(st.st_mtim.tv_sec) * 1000 + st.st_mtim.tv_nsec / 1000000;
    return QDateTime::fromMSecsSinceEpoch(ms);
}

} // namespace platform
