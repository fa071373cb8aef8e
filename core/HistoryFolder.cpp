#include "core/HistoryFolder.h"

#include "profile/FaultInjection.h"
#include "profile/IniFileIo.h"

#include <QByteArray>
#include <QRandomGenerator>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace HistoryFolder {

namespace {

class Descriptor {
public:
    explicit Descriptor(int fd)
        : m_fd(fd)
    {
    }
    ~Descriptor()
    {
        if (m_fd >= 0) ::close(m_fd);
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    int get() const { return m_fd; }
    bool close()
    {
        const int fd = m_fd;
        m_fd = -1;
        return ::close(fd) == 0 || errno == EINTR;
    }

private:
    int m_fd;
};

std::string parentOf(const std::string& path)
{
    const std::size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? "." : slash == 0 ? "/" : path.substr(0, slash);
}

} // namespace

int syncDirectory(const std::string& dir)
{
    Descriptor fd(::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (fd.get() < 0) return errno;
    return ::fsync(fd.get()) == 0 || errno == EINVAL ? 0 : errno;
}

int makeFolders(const std::string& path)
{
    struct stat info {};
    if (::stat(path.c_str(), &info) == 0) return S_ISDIR(info.st_mode) ? 0 : ENOTDIR;
    if (errno != ENOENT) return errno;
    const std::string parent = parentOf(path);
    if (parent != path)
        if (const int error = makeFolders(parent)) return error;
    if (::mkdir(path.c_str(), 0700) != 0 && errno != EEXIST) return errno;
    return syncDirectory(parent);
}

int writeFile(const std::string& dir, const std::string& name, std::string_view bytes, bool durable)
{
    const std::string target = dir + '/' + name;
    if (!FaultInjection::allowed(FaultInjection::Operation::Write, target)) return ENOSPC; // as a full disk
    const std::string temporary =
        dir + '/' + TemporaryPrefix +
        QByteArray::number(QRandomGenerator::global()->generate64(), 16).rightJustified(16, '0').toStdString();
    int error = 0;
    {
        Descriptor fd(::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0600));
        if (fd.get() < 0) return errno;
        std::size_t done = 0;
        while (error == 0 && done < bytes.size()) {
            const ssize_t written = ::write(fd.get(), bytes.data() + done, bytes.size() - done);
            if (written < 0 && errno == EINTR) continue;
            if (written <= 0)
                error = written < 0 ? errno : EIO;
            else
                done += static_cast<std::size_t>(written);
        }
        if (error == 0 && durable && ::fsync(fd.get()) != 0) error = errno;
        if (!fd.close() && error == 0) error = errno;
    }
    if (error == 0 && ::rename(temporary.c_str(), target.c_str()) != 0) error = errno;
    if (error != 0) {
        ::unlink(temporary.c_str());
        return error;
    }
    return durable ? syncDirectory(dir) : 0;
}

std::optional<std::string> readAll(const std::string& path)
{
    IniFileIo::FileBytes file;
    if (file.read(path) != IniFileIo::FileBytes::Status::Read) return std::nullopt;
    return std::string(file.bytes());
}

std::vector<Listed> filesIn(const std::string& dir)
{
    std::vector<Listed> files;
    DIR* listing = ::opendir(dir.c_str());
    if (listing == nullptr) return files;
    while (const dirent* item = ::readdir(listing)) {
        struct stat info {};
        if (item->d_type == DT_DIR ||
            (item->d_type == DT_UNKNOWN &&
             (::fstatat(::dirfd(listing), item->d_name, &info, AT_SYMLINK_NOFOLLOW) != 0 || S_ISDIR(info.st_mode))))
            continue;
        files.push_back({item->d_name, static_cast<std::uint64_t>(item->d_ino)});
    }
    ::closedir(listing);
    return files;
}

void removeFile(const std::string& path)
{
    if (FaultInjection::allowed(FaultInjection::Operation::Delete, path)) ::unlink(path.c_str());
}

} // namespace HistoryFolder
