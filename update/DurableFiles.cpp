#include "update/DurableFiles.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#ifdef Q_OS_UNIX
#include <cerrno>
#include <fcntl.h>
#include <unistd.h>
#endif

namespace DurableFiles {

bool syncFile(QFile& file)
{
    if (!file.flush()) return false;
#ifdef Q_OS_UNIX
    if (::fsync(file.handle()) != 0) return false;
#endif
    file.close();
    return file.error() == QFileDevice::NoError;
}

bool syncDirectory(const QString& dir)
{
#ifdef Q_OS_UNIX
    const int fd = ::open(QFile::encodeName(dir).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return false;
    const bool synced = ::fsync(fd) == 0 || errno == EINVAL; // some file systems cannot sync a directory
    ::close(fd);
    return synced;
#else
    Q_UNUSED(dir);
    return true;
#endif
}

bool writeFile(const QString& path, const QByteArray& bytes)
{
    // QSaveFile writes beside the target, syncs and renames over it.
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()) return false;
    return syncDirectory(QFileInfo(path).absolutePath());
}

} // namespace DurableFiles
