#include "core/ProfileWatch.h"

#include <QFile>

namespace {

// The file's bytes, kept whole: comparing them costs less than a digest of
// them, and no two contents compare equal (nullopt: no file to read).
std::optional<QByteArray> contentOf(const std::string& path)
{
    QFile file(QString::fromStdString(path));
    if (!file.open(QIODevice::ReadOnly)) return std::nullopt;
    return file.readAll();
}

} // namespace

ProfileWatch::ProfileWatch(QObject* parent)
    : QObject(parent)
{
    connect(&m_watcher, &QFileSystemWatcher::fileChanged, this, [this] {
        watch(); // a file replaced by rename is no longer watched
        emit touched();
    });
}

void ProfileWatch::remember(const TIniFile* user, const TIniFile* game)
{
    const TIniFile* files[] = {user, game};
    for (std::size_t i = 0; i < m_known.size(); ++i) {
        m_known[i] = {};
        if (!files[i]) continue;
        m_known[i].path = files[i]->FileName();
        m_known[i].stamp = stampOf(m_known[i].path);
        m_known[i].content = contentOf(m_known[i].path);
    }
    m_kept.clear();
    watch();
}

void ProfileWatch::watch()
{
    if (!m_watcher.files().isEmpty()) m_watcher.removePaths(m_watcher.files());
    for (const Known& known : m_known)
        if (!known.path.empty() && QFile::exists(QString::fromStdString(known.path)))
            m_watcher.addPath(QString::fromStdString(known.path));
}

bool ProfileWatch::changed(Known& known, const TIniFile& file)
{
    if (known.path != file.FileName()) return false; // another file now: the pages were loaded from it
    const FileStamp now = stampOf(known.path);
    if (now == known.stamp) {
        // Same size and time: the content decides (a copy that kept the time).
        return contentOf(known.path) != known.content;
    }
    if (now == file.LastWrite() && now.size >= 0) {
        // The editor's own write is the latest: take the file as it is.
        known = {known.path, now, contentOf(known.path)};
        return false;
    }
    const std::optional<QByteArray> content = contentOf(known.path);
    if (content == known.content && now.size >= 0) {
        known.stamp = now; // touched, or written back as it was
        return false;
    }
    return true;
}

QStringList ProfileWatch::changedOutside(const TIniFile* user, const TIniFile* game)
{
    QStringList changedFiles = m_kept;
    const TIniFile* files[] = {user, game};
    for (std::size_t i = 0; i < m_known.size(); ++i) {
        if (!files[i] || m_known[i].path.empty()) continue;
        const QString path = QString::fromStdString(m_known[i].path);
        if (!changedFiles.contains(path) && changed(m_known[i], *files[i])) changedFiles << path;
    }
    return changedFiles;
}

void ProfileWatch::keepEditing(const QStringList& files)
{
    for (const QString& file : files)
        if (!m_kept.contains(file)) m_kept << file;
}
