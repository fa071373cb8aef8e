#pragma once

// What the file system needs at least for a profile: a plain read of the
// whole file, and a plain replacement (the read, a write of the same bytes to
// a new file beside it, the rename over the original), made durable or not.

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <string>
#include <vector>

namespace PlainFile {

// The buffer the plain read fills, kept between iterations.
inline std::vector<char>& buffer()
{
    static std::vector<char> bytes(std::size_t(16) << 20);
    return bytes;
}

inline std::size_t read(const std::string& path)
{
    std::vector<char>& bytes = buffer();
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return 0;
    std::size_t size = 0;
    for (;;) {
        const ssize_t got = ::read(fd, bytes.data() + size, bytes.size() - size);
        if (got <= 0) break;
        size += static_cast<std::size_t>(got);
    }
    ::close(fd);
    return size;
}

// False when a step failed.
inline bool replace(const std::string& path)
{
    const std::size_t size = read(path);
    const std::string temporary = path + ".tmp";
    const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0) return false;
    const bool written = ::write(fd, buffer().data(), size) == static_cast<ssize_t>(size);
    return ::close(fd) == 0 && written && ::rename(temporary.c_str(), path.c_str()) == 0;
}

// The same, durable as the program's replacements are: the new file synced
// before its rename, the directory after it.
inline bool durableReplace(const std::string& path)
{
    const std::size_t size = read(path);
    const std::string temporary = path + ".tmp";
    const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0) return false;
    const bool written = ::write(fd, buffer().data(), size) == static_cast<ssize_t>(size) && ::fsync(fd) == 0;
    if (::close(fd) != 0 || !written || ::rename(temporary.c_str(), path.c_str()) != 0) return false;
    const std::string dir = path.substr(0, path.rfind('/') + 1);
    const int dirFd = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dirFd < 0) return false;
    const bool synced = ::fsync(dirFd) == 0;
    ::close(dirFd);
    return synced;
}

} // namespace PlainFile
