#pragma once

#include "profile/IniFiles.h"

#include <QByteArray>
#include <QFileSystemWatcher>
#include <QObject>
#include <QStringList>

#include <array>
#include <optional>
#include <string>

// Notices when the open profiles (the current user file, UT2003.ini) change
// on disk after the pages were loaded from them or saved to them: the game
// rewrites both when it exits, and a player may edit them by hand. A file
// counts as changed when its content differs from what the editor last
// loaded or saved; the accessors' own writes never count.
class ProfileWatch : public QObject {
    Q_OBJECT
public:
    explicit ProfileWatch(QObject* parent = nullptr);

    // The files as they are now are the ones the pages show.
    void remember(const TIniFile* user, const TIniFile* game);
    // The files (their paths) changed outside the editor since remember(),
    // including those the user chose to keep editing over.
    QStringList changedOutside(const TIniFile* user, const TIniFile* game);
    // The user keeps the edits over these changed files: they stay changed
    // until the next remember().
    void keepEditing(const QStringList& files);
    const QStringList& kept() const { return m_kept; }

signals:
    // The file system reported a change to one of the files.
    void touched();

private:
    struct Known {
        std::string path;
        FileStamp stamp;
        std::optional<QByteArray> content; // as loaded or saved
    };
    bool changed(Known& known, const TIniFile& file);
    void watch();

    std::array<Known, 2> m_known;
    QStringList m_kept;
    QFileSystemWatcher m_watcher;
};
