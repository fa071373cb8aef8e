#include "core/StatePlaces.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>

std::string stateFolderOf(const std::string& stateDir, const std::string& kind, const std::string& profileDir)
{
    if (stateDir.empty() || profileDir.empty()) return {};
    QString canonical = QFileInfo(QString::fromStdString(profileDir)).canonicalFilePath();
    if (canonical.isEmpty()) canonical = QDir::cleanPath(QString::fromStdString(profileDir));
    // The last two parts of the path say which game it is ("UT2003_System"),
    // the checksum tells apart two games whose paths end alike.
    const QStringList parts = canonical.split(QLatin1Char('/'), Qt::SkipEmptyParts);
    QString readable = parts.mid(std::max<qsizetype>(0, parts.size() - 2)).join(QLatin1Char('_'));
    for (QChar& c : readable)
        if (!c.isLetterOrNumber() && c != QLatin1Char('.') && c != QLatin1Char('-')) c = QLatin1Char('_');
    const QByteArray sum = QCryptographicHash::hash(canonical.toUtf8(), QCryptographicHash::Sha256).toHex().left(12);
    std::string folder = stateDir;
    if (folder.back() != '/') folder += '/';
    return folder + kind + "/" + readable.left(64).toStdString() + "-" + sum.toStdString() + "/";
}
