#include "platform/Processes.h"

#include <QDir>
#include <QFile>

#include <unistd.h>

namespace platform {
namespace {

QString lastPart(const QByteArray& path)
{
    const qsizetype cut = std::max(path.lastIndexOf('/'), path.lastIndexOf('\\'));
    return QString::fromLocal8Bit(path.mid(cut + 1));
}

QByteArray readAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.read(1 << 16) : QByteArray();
}

} // namespace

bool isProgramRunning(const std::string& name)
{
    const QString wanted = QString::fromStdString(name);
    const QString self = QString::number(::getpid());
    const QDir proc(QStringLiteral("/proc"));
    for (const QString& pid : proc.entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        if (pid == self || pid.front() < '0' || pid.front() > '9') continue;
        const QString base = proc.filePath(pid) + '/';
        if (lastPart(readAll(base + "comm").trimmed()).compare(wanted, Qt::CaseInsensitive) == 0) return true;
        const QList<QByteArray> arguments = readAll(base + "cmdline").split('\0');
        for (qsizetype i = 0; i < std::min<qsizetype>(2, arguments.size()); ++i)
            if (lastPart(arguments[i]).compare(wanted, Qt::CaseInsensitive) == 0) return true;
    }
    return false;
}

} // namespace platform
