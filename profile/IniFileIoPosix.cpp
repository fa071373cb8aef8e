#ifndef _WIN32 // the build takes IniFileIoWindows.cpp there

#include "profile/IniFileIo.h"

#include "profile/FaultInjection.h"

#include <fcntl.h>
#include <limits.h>
#include <sys/uio.h>
#include <unistd.h>

#include <cerrno>

namespace IniFileIo {

namespace {

class FileDescriptor {
public:
    explicit FileDescriptor(int fd = -1) noexcept
        : m_fd(fd)
    {
    }
    ~FileDescriptor()
    {
        if (m_fd >= 0) ::close(m_fd);
    }
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;

    int get() const noexcept { return m_fd; }
    // Closes now and reports the result (NFS reports write errors at close).
    bool close() noexcept
    {
        const int fd = m_fd;
        m_fd = -1;
        return fd < 0 || ::close(fd) == 0 || errno == EINTR;
    }

private:
    int m_fd;
};

std::string directoryOf(const std::string& path)
{
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos) return ".";
    if (slash == 0) return "/";
    return path.substr(0, slash);
}

bool writeAll(int fd, iovec* parts, int count)
{
    while (count > 0) {
        const ssize_t written = ::writev(fd, parts, count < IOV_MAX ? count : IOV_MAX);
        if (written < 0) {
            if (errno == EINTR) continue;
            return false; // ENOSPC, EDQUOT, EFBIG (file-size limit), EIO
        }
        if (written == 0) return false;
        std::size_t left = static_cast<std::size_t>(written);
        while (count > 0 && left >= parts->iov_len) {
            left -= parts->iov_len;
            ++parts;
            --count;
        }
        if (count > 0) {
            parts->iov_base = static_cast<char*>(parts->iov_base) + left;
            parts->iov_len -= left;
        }
    }
    return true;
}

// Reads what is left of an open file from its current position.
bool readRest(int fd, std::string& out)
{
    char chunk[65536];
    for (;;) {
        const ssize_t got = ::read(fd, chunk, sizeof chunk);
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) return false;
        if (got == 0) return true;
        out.append(chunk, static_cast<std::size_t>(got));
    }
}

// Writes `parts` over the existing file itself, for a directory that refuses
// new files (the rename has nothing to rename). The old content is kept in
// memory and written back if any step fails, as the profile functions of the
// game's own platform do.
bool writeInPlace(const std::string& target, iovec* parts, int count, FileInfo* written)
{
    const int fd = ::open(target.c_str(), O_RDWR | O_CLOEXEC | O_NOFOLLOW | O_NOCTTY);
    if (fd < 0) return false;
    FileDescriptor file(fd);
    std::string old;
    if (!readRest(fd, old) || ::lseek(fd, 0, SEEK_SET) != 0) return false;
    off_t size = 0;
    for (int i = 0; i < count; ++i)
        size += static_cast<off_t>(parts[i].iov_len);
    if (writeAll(fd, parts, count) && ::ftruncate(fd, size) == 0 && (::fsync(fd) == 0 || errno == EINVAL) &&
        (written == nullptr || ::fstat(fd, written) == 0))
        return file.close();
    iovec back{old.data(), old.size()};
    if (::lseek(fd, 0, SEEK_SET) == 0 && (old.empty() || writeAll(fd, &back, 1)))
        (void)::ftruncate(fd, static_cast<off_t>(old.size()));
    (void)::fsync(fd);
    return false;
}

bool syncDescriptor(int fd, const std::string& path)
{
    if (!FaultInjection::allowed(FaultInjection::Operation::Sync, path)) return false;
    return ::fsync(fd) == 0 || errno == EINVAL; // EINVAL: a file system that keeps nothing to sync
}

// Makes the directory's entries durable (a rename, a new or removed file).
// A directory that cannot be opened is left to the file system.
bool syncDirectory(const std::string& directory)
{
    const int fd = ::open(directory.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return true;
    FileDescriptor dir(fd);
    return ::fsync(fd) == 0 || errno == EINVAL;
}

} // namespace

FileBytes::Status FileBytes::read(const std::string& path)
{
    m_bytes = {};
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
    if (fd < 0) return errno == ENOENT || errno == ENOTDIR ? Status::Missing : Status::Failed;
    FileDescriptor file(fd);
    // Only a regular file is a profile: a FIFO or a device would block or never end.
    if (::fstat(fd, &m_info) != 0 || !S_ISREG(m_info.st_mode)) return Status::Failed;

    // One byte more than the file's size, so that the end shows in one read.
    std::size_t size = 0;
    std::size_t wanted = static_cast<std::size_t>(m_info.st_size) + 1;
    if (wanted < 4096) wanted = 4096;
    if (!reserve(wanted)) return Status::Failed;
    for (;;) {
        if (size == capacity() && !reserve(capacity() * 2)) return Status::Failed; // the file grows while it is read
        const ssize_t got = ::read(fd, data() + size, capacity() - size);
        if (got < 0) {
            if (errno == EINTR) continue;
            return Status::Failed;
        }
        if (got == 0) break;
        size += static_cast<std::size_t>(got);
    }
    m_bytes = std::string_view(data(), size);
    return Status::Read;
}

std::optional<std::string> resolveLinks(const std::string& path)
{
    std::string current = path;
    for (int hops = 0; hops < 40; ++hops) {
        char target[PATH_MAX];
        const ssize_t length = ::readlink(current.c_str(), target, sizeof target);
        if (length < 0) return current; // not a link, or nothing there yet
        if (static_cast<std::size_t>(length) >= sizeof target) return std::nullopt;
        std::string next(target, static_cast<std::size_t>(length));
        if (next.empty()) return std::nullopt;
        if (next.front() != '/') {
            const std::size_t slash = current.rfind('/');
            if (slash != std::string::npos) next = current.substr(0, slash + 1) + next;
        }
        current = std::move(next);
    }
    return std::nullopt;
}

bool mayWrite(const std::string& path, const FileInfo& info)
{
    if (!S_ISREG(info.st_mode)) return false;
    if ((info.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0) return false;
    return ::faccessat(AT_FDCWD, path.c_str(), W_OK, AT_EACCESS) == 0;
}

bool replaceFile(const std::string& target, const FileInfo* original, std::initializer_list<std::string_view> parts,
                 FileInfo* written)
{
    if (!FaultInjection::allowed(FaultInjection::Operation::Write, target)) return false;
    iovec vectors[16];
    int count = 0;
    for (std::string_view part : parts) {
        if (part.empty()) continue;
        if (count == 16) return false;
        vectors[count].iov_base = const_cast<char*>(part.data());
        vectors[count].iov_len = part.size();
        ++count;
    }

    std::string temporary;
    int fd = -1;
    for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
        temporary = temporaryName(target);
        // 0666 and the process's umask, as for any new file; an existing
        // file's bits are copied below.
        fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW | O_NOCTTY, 0666);
        if (fd < 0 && (errno == EACCES || errno == EPERM) && original != nullptr)
            return writeInPlace(target, vectors, count,
                                written);            // the directory refuses new files, the file may be written
        if (fd < 0 && errno != EEXIST) return false; // missing directory, read-only file system
    }
    if (fd < 0) return false;
    FileDescriptor file(fd);

    bool ok = true;
    if (original != nullptr) {
        if (original->st_uid != ::geteuid() || original->st_gid != ::getegid()) {
            // Only root may give the file back to its owner; others keep what they may.
            if (::fchown(fd, original->st_uid, original->st_gid) != 0)
                (void)::fchown(fd, static_cast<uid_t>(-1), original->st_gid);
        }
        ok = ::fchmod(fd, original->st_mode & 07777) == 0;
    }
    ok = ok && writeAll(fd, vectors, count);
    ok = ok && (written == nullptr || ::fstat(fd, written) == 0); // a rename keeps what this tells
    // Durable before it takes the old file's place: a power cut after the
    // rename must not leave an empty profile (ext4 without auto_da_alloc, XFS).
    ok = ok && syncDescriptor(fd, temporary);
    ok = file.close() && ok;
    ok = ok && FaultInjection::allowed(FaultInjection::Operation::Rename, temporary) &&
         ::rename(temporary.c_str(), target.c_str()) == 0;
    if (!ok) {
        ::unlink(temporary.c_str());
        return false;
    }
    syncDirectory(directoryOf(target));
    return true;
}

bool syncFile(const std::string& target)
{
    const int fd = ::open(target.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
    if (fd < 0) return errno == ENOENT;
    FileDescriptor file(fd);
    if (::fsync(fd) != 0 && errno != EINVAL) return false;
    file.close();
    return syncDirectory(directoryOf(target)); // a directory we may not list still holds the renamed file
}

bool createFile(const std::string& path, std::string_view bytes, const FileInfo* like, const std::string& replaced)
{
    if (!FaultInjection::allowed(FaultInjection::Operation::Write, replaced)) return false;
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW | O_NOCTTY, 0666);
    if (fd < 0) return false;
    FileDescriptor file(fd);
    bool ok = true;
    if (like != nullptr) {
        if (like->st_uid != ::geteuid() || like->st_gid != ::getegid()) {
            if (::fchown(fd, like->st_uid, like->st_gid) != 0) (void)::fchown(fd, static_cast<uid_t>(-1), like->st_gid);
        }
        ok = ::fchmod(fd, like->st_mode & 07777) == 0;
    }
    iovec part{const_cast<char*>(bytes.data()), bytes.size()};
    ok = ok && (bytes.empty() || writeAll(fd, &part, 1)) && syncDescriptor(fd, path);
    return file.close() && ok;
}

bool renameOver(const std::string& from, const std::string& to, bool durable)
{
    if (!FaultInjection::allowed(FaultInjection::Operation::Rename, from)) return false;
    if (::rename(from.c_str(), to.c_str()) != 0) return false;
    if (!durable) return true;
    syncDirectory(directoryOf(to));
    if (directoryOf(from) != directoryOf(to)) syncDirectory(directoryOf(from));
    return true;
}

bool linkFile(const std::string& existing, const std::string& name)
{
    if (!FaultInjection::allowed(FaultInjection::Operation::Copy, name)) return false;
    return ::link(existing.c_str(), name.c_str()) == 0;
}

bool syncDirectoryOf(const std::string& path) { return syncDirectory(directoryOf(path)); }

bool overwrite(const std::string& path, std::string_view bytes)
{
    if (!FaultInjection::allowed(FaultInjection::Operation::Write, path)) return false;
    const int fd = ::open(path.c_str(), O_WRONLY | O_CLOEXEC | O_NOFOLLOW | O_NOCTTY);
    if (fd < 0) return false;
    FileDescriptor file(fd);
    iovec part{const_cast<char*>(bytes.data()), bytes.size()};
    const bool ok = (bytes.empty() || writeAll(fd, &part, 1)) &&
                    ::ftruncate(fd, static_cast<off_t>(bytes.size())) == 0 && syncDescriptor(fd, path);
    return file.close() && ok;
}

bool removeFile(const std::string& path)
{
    struct stat info {};
    if (::lstat(path.c_str(), &info) != 0 && errno == ENOENT) return true; // nothing to do, nothing to fail
    if (!FaultInjection::allowed(FaultInjection::Operation::Delete, path)) return false;
    return ::unlink(path.c_str()) == 0 || errno == ENOENT;
}

std::uint32_t linkCount(const FileInfo& info) { return static_cast<std::uint32_t>(info.st_nlink); }

FileInfo ownerWritable(FileInfo info)
{
    info.st_mode |= S_IWUSR;
    return info;
}

bool setModified(const std::string& path, const FileInfo& like)
{
    const timespec times[2] = {like.st_atim, like.st_mtim};
    return ::utimensat(AT_FDCWD, path.c_str(), times, AT_SYMLINK_NOFOLLOW) == 0;
}

FileStamp stampOf(const FileInfo& info)
{
    return {static_cast<std::uint64_t>(info.st_dev), static_cast<std::uint64_t>(info.st_ino),
            static_cast<std::int64_t>(info.st_size),
            static_cast<std::int64_t>(info.st_mtim.tv_sec) * 1000000000 + info.st_mtim.tv_nsec};
}

FileStamp stampAt(const std::string& path)
{
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0) return {};
    return stampOf(info);
}

} // namespace IniFileIo

#endif // !_WIN32
