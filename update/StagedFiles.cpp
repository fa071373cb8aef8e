#include "update/StagedFiles.h"

#include <QDir>
#include <QFileInfo>

#include <filesystem>

namespace fs = std::filesystem;

namespace {

fs::path pathOf(const QString& path) { return fs::path(path.toStdString()); }

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

} // namespace

StagedFiles::StagedFiles(QString programDir, QString executable)
    : m_programDir(std::move(programDir))
    , m_executable(std::move(executable))
{
}

StagedFiles::~StagedFiles() { discard(); }

bool StagedFiles::insideProgramDir(const QString& relative) const
{
    const QString root = QFileInfo(m_programDir).canonicalFilePath();
    if (root.isEmpty()) return false;
    // The deepest directory of the path that exists already decides; a link
    // that leads nowhere has no canonical path and so does not pass.
    QString dir = QFileInfo(m_programDir + relative).path();
    while (!QFileInfo::exists(dir) && !QFileInfo(dir).isSymLink())
        dir = QFileInfo(dir).path();
    const QString canonical = QFileInfo(dir).canonicalFilePath();
    return !canonical.isEmpty() && (canonical == root || canonical.startsWith(root + QLatin1Char('/')));
}

QString StagedFiles::prepare(const QString& relative)
{
    const QString path = stagingDir() + QStringLiteral("/new/") + relative;
    if (!QDir().mkpath(QFileInfo(path).path())) return {};
    return path;
}

bool StagedFiles::commit(const std::vector<QString>& relatives)
{
    struct Replaced {
        fs::path target, previous;
        bool hadOriginal;
    };
    std::vector<Replaced> done;
    const auto rollBack = [&done] {
        std::error_code ec;
        for (auto it = done.rbegin(); it != done.rend(); ++it) {
            if (it->hadOriginal)
                fs::rename(it->previous, it->target, ec);
            else
                fs::remove(it->target, ec);
        }
    };

    for (const QString& relative : relatives) {
        const fs::path staged = pathOf(stagingDir() + QStringLiteral("/new/") + relative);
        const fs::path target = pathOf(m_programDir + relative);
        const fs::path previous = pathOf(stagingDir() + QStringLiteral("/previous/") + relative);
        std::error_code ec;
        const bool hadOriginal = fs::exists(fs::symlink_status(target, ec));
        givePermissions(staged, target, relative == m_executable);
        if (hadOriginal) {
            // Keep the original under a second name, so that it can be put back;
            // a hard link costs no copy and leaves the original in place meanwhile.
            fs::create_directories(previous.parent_path(), ec);
            fs::create_hard_link(target, previous, ec);
            if (ec) {
                ec.clear();
                fs::copy_file(target, previous, fs::copy_options::overwrite_existing, ec);
            }
        }
        if (!ec) fs::create_directories(target.parent_path(), ec);
        if (!ec) fs::rename(staged, target, ec); // atomic: the old file or the new one
        if (ec) {
            rollBack();
            return false;
        }
        done.push_back({target, previous, hadOriginal});
    }
    return true;
}

void StagedFiles::discard() { QDir(stagingDir()).removeRecursively(); }
