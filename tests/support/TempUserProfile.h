#pragma once

#include "core/RunTime.h"
#include "tests/support/TestSupport.h"

#include <QFile>
#include <QTemporaryDir>

#include <initializer_list>

namespace TestSupport {

// Lines joined with CR LF, as the game writes them.
inline QByteArray lines(std::initializer_list<const char*> text)
{
    QByteArray bytes;
    for (const char* line : text)
        bytes += QByteArray(line) + "\r\n";
    return bytes;
}

// A user profile in a temporary directory, open as the program holds it:
// written from `bytes`, or copied from `source` when one is given.
struct TempUserProfile {
    QTemporaryDir dir;
    QString path = dir.path() + "/User.ini";
    RunTime rt;

    explicit TempUserProfile(const QByteArray& bytes, const QString& source = {})
    {
        if (!source.isEmpty())
            QFile::copy(source, path);
        else
            writeFile(path, bytes);
        QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::ReadOther);
        rt.SystemDir = dir.path().toStdString() + "/";
        rt.CurrentUserFileName = "User.ini";
        rt.UserProfile = std::make_unique<TIniFile>(path.toStdString());
    }
    QByteArray bytes() const { return readFile(path); }
    // No write bit left: the program treats the file as read-only.
    void makeReadOnly() const { QFile::setPermissions(path, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther); }
};

} // namespace TestSupport
