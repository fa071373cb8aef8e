#include "core/StatePlaces.h"

#include <QByteArray>
#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cctype>

std::string profileFolderName(const std::string& profileDir)
{
    const QString given = QFile::decodeName(QByteArray::fromStdString(profileDir));
    QString path = QFileInfo(given).canonicalFilePath();
    if (path.isEmpty()) path = QDir::cleanPath(QDir(given).absolutePath());
    // The last two folders ("UT2003-System"), for the reader of the folder.
    QStringList parts = path.split('/', Qt::SkipEmptyParts);
    if (parts.size() > 2) parts = parts.mid(parts.size() - 2);
    std::string tail = parts.join('-').toStdString();
    for (char& c : tail)
        if (!std::isalnum(static_cast<unsigned char>(c)) && c != '-' && c != '.') c = '_';
    if (tail.size() > 40) tail = tail.substr(tail.size() - 40);
    if (tail.empty() || tail.front() == '.') tail.insert(tail.begin(), '_');
    const QByteArray sum = QCryptographicHash::hash(QFile::encodeName(path), QCryptographicHash::Sha256).toHex();
    return tail + '-' + sum.left(12).toStdString();
}

std::string stateFolderOf(const std::string& stateDir, const std::string& kind, const std::string& profileDir)
{
    if (stateDir.empty() || profileDir.empty()) return {};
    std::string folder = stateDir;
    if (folder.back() != '/') folder += '/';
    return folder + kind + "/" + profileFolderName(profileDir) + "/";
}
