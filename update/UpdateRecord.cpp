#include "update/UpdateRecord.h"

#include "update/DurableFiles.h"
#include "update/UpdateControlFile.h"

#include <QFile>
#include <QStringList>

namespace {

bool sameVersion(const QString& a, const QString& b)
{
    return isVersion(a) && isVersion(b) && !isNewerVersion(a, b) && !isNewerVersion(b, a);
}

} // namespace

UpdateRecord UpdateRecord::read(const QString& dir)
{
    UpdateRecord record;
    QFile file(dir + QLatin1String(FileName));
    if (!file.open(QIODevice::ReadOnly)) return record;
    for (const QByteArray& line : file.read(4096).split('\n')) {
        const QStringList fields = QString::fromUtf8(line).split(QLatin1Char(' '), Qt::SkipEmptyParts);
        if (fields.size() == 3 && fields[0] == QLatin1String("Installed")) {
            record.installed = fields[1];
            record.installedFrom = fields[2];
        } else if (fields.size() == 2 && fields[0] == QLatin1String("Told")) {
            record.told = fields[1];
        }
    }
    return record;
}

bool UpdateRecord::write(const QString& dir) const
{
    QByteArray text;
    if (!installed.isEmpty()) text += "Installed " + installed.toUtf8() + ' ' + installedFrom.toUtf8() + '\n';
    if (!told.isEmpty()) text += "Told " + told.toUtf8() + '\n';
    return DurableFiles::writeFile(dir + QLatin1String(FileName), text);
}

bool UpdateRecord::didNotTake(const QString& offered, const QString& running) const
{
    return sameVersion(offered, installed) && sameVersion(running, installedFrom);
}
