#include "update/StagedFiles.h"

#include "update/DurableFiles.h"
#include "update/UpdateJournal.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>

#include <algorithm>
#include <filesystem>

namespace fs = std::filesystem;

namespace {

fs::path pathOf(const QString& path) { return fs::path(path.toStdString()); }
QString stagingOf(const QString& programDir) { return programDir + QLatin1String(StagedFiles::DirName); }
// Where the new copy of a file and its kept original wait, relative to the program's directory.
QString newCopyOf(const QString& relative) { return QLatin1String(StagedFiles::DirName) + "/new/" + relative; }
QString keptOriginalOf(const QString& relative)
{
    return QLatin1String(StagedFiles::DirName) + "/previous/" + relative;
}
QString newCopy(const QString& programDir, const QString& relative) { return programDir + newCopyOf(relative); }
QString keptOriginal(const QString& programDir, const QString& relative)
{
    return programDir + keptOriginalOf(relative);
}
QString parentOf(const QString& path) { return QFileInfo(path).path(); }

// Whether `relative` stays inside the program's directory on disk: the
// deepest directory of the path that exists already decides; a link that
// leads nowhere has no canonical path and so does not pass.
bool insideDir(const QString& programDir, const QString& relative)
{
    const QString root = QFileInfo(programDir).canonicalFilePath();
    if (root.isEmpty()) return false;
    QString dir = parentOf(programDir + relative);
    while (!QFileInfo::exists(dir) && !QFileInfo(dir).isSymLink())
        dir = parentOf(dir);
    const QString canonical = QFileInfo(dir).canonicalFilePath();
    return !canonical.isEmpty() && (canonical == root || canonical.startsWith(root + QLatin1Char('/')));
}

// Whether a file of the update, its new copy and its kept original all stay inside the program's directory.
bool filePathsInside(const QString& programDir, const QString& relative)
{
    return insideDir(programDir, relative) && insideDir(programDir, newCopyOf(relative)) &&
           insideDir(programDir, keptOriginalOf(relative));
}

// The same for every path a journal names, before anything of it is moved or deleted.
bool journalInside(const QString& programDir, const UpdateJournal& journal)
{
    const auto inside = [&](const QString& relative) { return insideDir(programDir, relative); };
    return std::all_of(journal.folders.begin(), journal.folders.end(), inside) &&
           std::all_of(journal.entries.begin(), journal.entries.end(),
                       [&](const UpdateJournal::Entry& entry) { return filePathsInside(programDir, entry.path); });
}

// Removes the staging directory; a link in its place goes, never what it leads to.
void removeStaging(const QString& programDir)
{
    std::error_code ec;
    fs::remove_all(pathOf(stagingOf(programDir)), ec);
}

QByteArray sha256Of(const QString& path)
{
    QFile file(path);
    QCryptographicHash hash(QCryptographicHash::Sha256);
    if (!QFileInfo(path).isFile() || !file.open(QIODevice::ReadOnly) || !hash.addData(&file)) return {};
    return hash.result();
}

// A file holds the new copy exactly when its SHA-256 is the one listed.
bool inPlace(const QString& programDir, const UpdateJournal::Entry& entry)
{
    return sha256Of(programDir + entry.path) == entry.sha256;
}

// A new file gets plain permissions; the program itself must also be runnable.
void givePermissions(const fs::path& staged, const fs::path& original, bool executable)
{
    std::error_code ec;
    const fs::file_status status = fs::status(original, ec);
    fs::perms perms = fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read | fs::perms::others_read;
    if (!ec && fs::is_regular_file(status))
        perms = status.permissions();
    else if (executable)
        perms |= fs::perms::owner_exec | fs::perms::group_exec | fs::perms::others_exec;
    fs::permissions(staged, perms, ec);
}

void syncParents(const QString& programDir, const UpdateJournal& journal)
{
    QSet<QString> dirs{programDir};
    for (const UpdateJournal::Entry& entry : journal.entries)
        dirs.insert(parentOf(programDir + entry.path));
    for (const QString& folder : journal.folders)
        dirs.insert(parentOf(programDir + folder));
    for (const QString& dir : dirs)
        DurableFiles::syncDirectory(dir);
}

bool writeJournal(const QString& programDir, const UpdateJournal& journal)
{
    return DurableFiles::writeFile(StagedFiles::journalPath(programDir), journal.text());
}

// Removes the journal, then the kept originals and staged copies.
void forget(const QString& programDir)
{
    QFile::remove(StagedFiles::journalPath(programDir));
    DurableFiles::syncDirectory(programDir);
    removeStaging(programDir);
}

// Puts back every original whose file was replaced, removes the files and
// folders the update added. An original that cannot be put back stays where
// it was kept, and so does the journal.
bool putBack(const QString& programDir, const UpdateJournal& journal)
{
    bool whole = true;
    std::error_code ec;
    for (auto it = journal.entries.rbegin(); it != journal.entries.rend(); ++it) {
        if (!inPlace(programDir, *it)) continue; // never replaced
        const fs::path target = pathOf(programDir + it->path);
        if (it->hasOriginal)
            fs::rename(pathOf(keptOriginal(programDir, it->path)), target, ec);
        else
            fs::remove(target, ec);
        if (ec) whole = false;
        ec.clear();
    }
    for (auto it = journal.folders.rbegin(); it != journal.folders.rend(); ++it)
        fs::remove(pathOf(programDir + *it), ec); // only while empty
    syncParents(programDir, journal);
    if (whole) forget(programDir);
    return whole;
}

// Puts the remaining new files in place, when every one of them is still
// staged intact.
bool complete(const QString& programDir, UpdateJournal journal)
{
    for (const UpdateJournal::Entry& entry : journal.entries)
        if (!inPlace(programDir, entry) && sha256Of(newCopy(programDir, entry.path)) != entry.sha256) return false;
    std::error_code ec;
    for (const UpdateJournal::Entry& entry : journal.entries) {
        if (inPlace(programDir, entry)) continue;
        const fs::path target = pathOf(programDir + entry.path);
        fs::create_directories(target.parent_path(), ec);
        if (!ec) fs::rename(pathOf(newCopy(programDir, entry.path)), target, ec);
        if (ec) return false;
    }
    syncParents(programDir, journal);
    journal.state = UpdateJournal::State::Replaced;
    return writeJournal(programDir, journal);
}

} // namespace

StagedFiles::StagedFiles(QString programDir, QString executable)
    : m_programDir(std::move(programDir))
    , m_executable(std::move(executable))
{
}

StagedFiles::~StagedFiles() { discard(); }

QString StagedFiles::journalPath(const QString& programDir)
{
    return programDir + QLatin1String(UpdateJournal::FileName);
}

bool StagedFiles::hasJournal(const QString& programDir) { return QFileInfo::exists(journalPath(programDir)); }

bool StagedFiles::insideProgramDir(const QString& relative) const { return insideDir(m_programDir, relative); }

QString StagedFiles::prepare(const QString& relative)
{
    const QString path = newCopy(m_programDir, relative);
    if (!insideDir(m_programDir, newCopyOf(relative)) || !QDir().mkpath(parentOf(path))) return {};
    return path;
}

bool StagedFiles::commit(const std::vector<UpdateFile>& files, const QString& fromVersion, const QString& toVersion)
{
    UpdateJournal journal;
    journal.from = fromVersion;
    journal.to = toVersion;
    // The folders on the way may have changed since the download (the restart question waits for the user).
    for (const UpdateFile& file : files)
        if (!filePathsInside(m_programDir, file.path)) return false;
    QSet<QString> folders, keptDirs;
    std::error_code ec;
    for (const UpdateFile& file : files) {
        const fs::path target = pathOf(m_programDir + file.path);
        const fs::file_status status = fs::symlink_status(target, ec); // not found is no failure here
        ec.clear();
        if (fs::is_directory(status)) return false; // a file cannot take a folder's place
        const bool hasOriginal = fs::exists(status);

        // The folders the new file needs, outermost first.
        QStringList missing;
        for (QString dir = parentOf(file.path); dir != QLatin1String("."); dir = parentOf(dir))
            if (!QFileInfo::exists(m_programDir + dir)) missing.prepend(dir);
        for (const QString& dir : missing) {
            if (folders.contains(dir)) continue;
            folders.insert(dir);
            journal.folders.push_back(dir);
        }

        if (hasOriginal) {
            // Keep the original under a second name, so that it can be put back;
            // a hard link costs no copy and leaves the original in place meanwhile.
            const fs::path kept = pathOf(keptOriginal(m_programDir, file.path));
            fs::create_directories(kept.parent_path(), ec);
            fs::remove(kept, ec);
            fs::create_hard_link(target, kept, ec);
            if (ec) {
                ec.clear();
                fs::copy_file(target, kept, fs::copy_options::overwrite_existing, ec);
            }
            if (ec) return false;
            keptDirs.insert(parentOf(keptOriginal(m_programDir, file.path)));
        }
        givePermissions(pathOf(newCopy(m_programDir, file.path)), target, file.path == m_executable);
        journal.entries.push_back({file.path, file.sha256, hasOriginal});
    }
    for (const QString& dir : keptDirs)
        DurableFiles::syncDirectory(dir);
    if (!writeJournal(m_programDir, journal)) return false;

    int replaced = 0;
    if (afterRename) afterRename(replaced);
    for (const UpdateJournal::Entry& entry : journal.entries) {
        const fs::path target = pathOf(m_programDir + entry.path);
        fs::create_directories(target.parent_path(), ec);
        if (!ec) fs::rename(pathOf(newCopy(m_programDir, entry.path)), target, ec); // atomic: old or new
        if (ec) {
            putBack(m_programDir, journal);
            return false;
        }
        if (afterRename) afterRename(++replaced);
    }
    syncParents(m_programDir, journal);
    journal.state = UpdateJournal::State::Replaced;
    // Every file is in place: without this mark a later start would find
    // them so too, and merely complete nothing.
    writeJournal(m_programDir, journal);
    return true;
}

void StagedFiles::finish() { forget(m_programDir); }

void StagedFiles::discard()
{
    if (!hasJournal(m_programDir)) removeStaging(m_programDir);
}

StagedFiles::Recovery StagedFiles::recover(const QString& programDir)
{
    if (!hasJournal(programDir)) return Recovery::Nothing;
    QFile file(journalPath(programDir));
    const std::optional<UpdateJournal> journal =
        file.open(QIODevice::ReadOnly) ? UpdateJournal::parse(file.readAll()) : std::nullopt;
    // A journal that names a place outside the program's directory is not acted on.
    if (!journal || !journalInside(programDir, *journal)) return Recovery::Failed;
    if (journal->state == UpdateJournal::State::Replaced) {
        forget(programDir);
        return Recovery::Cleaned;
    }
    if (complete(programDir, *journal)) return Recovery::Completed;
    return putBack(programDir, *journal) ? Recovery::RolledBack : Recovery::Failed;
}
