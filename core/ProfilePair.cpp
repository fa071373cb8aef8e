#include "core/ProfilePair.h"

#include "profile/IniFileIo.h"

#include <QByteArray>
#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>
#include <QLockFile>

#include <algorithm>

namespace ProfilePair {

namespace {

using IniFileIo::FileBytes;

constexpr const char* JournalHeader = "Corvane 2003 profile journal 2";
// The hidden names beside a profile while it is replaced: its new content,
// and its old content kept as a second name of the old file.
constexpr const char* NewSuffix = ".corvane-new";
constexpr const char* OldSuffix = ".corvane-old";

std::string checksum(std::string_view bytes)
{
    return QCryptographicHash::hash(QByteArrayView(bytes.data(), qsizetype(bytes.size())),
                                    QCryptographicHash::Sha256)
        .toHex()
        .toStdString();
}

std::string directoryOf(const std::string& path)
{
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? std::string(".") : path.substr(0, slash == 0 ? 1 : slash);
}

// One file of the operation: where it is, how it is replaced, and what the
// journal keeps of it.
struct Step {
    std::string target;                      // the file replaced, links followed
    bool inPlace = false;                    // written over itself rather than renamed over
    std::string kept;                        // where its old content is kept; empty: it did not exist
    bool keptAsName = false;                 // `kept` is a second name of the old file, beside it
    std::string temporary;                   // the new file beside it (renamed over it)
    std::string newSum;                      // checksum of the new content
    std::optional<std::string> old;          // its old content (known while the operation runs)
    std::string bytes;                       // its new content (known while the operation runs)
    IniFileIo::FileInfo info{};              // its status before (when it existed)
    std::optional<IniFileIo::FileInfo> like; // the status a copy takes from its source
};

// While a journal exists, the operation it names is not done: a start undoes it.
struct Journal {
    std::string operation;
    std::vector<Step> steps;
};

std::string hiddenBeside(const std::string& target, const char* suffix)
{
    const std::size_t slash = target.rfind('/');
    return target.substr(0, slash + 1) + "." + target.substr(slash + 1) + suffix;
}

std::string journalPath(const std::string& dir) { return dir + "/pair.journal"; }

std::string render(const Journal& journal)
{
    std::string text = std::string(JournalHeader) + "\nOperation\t" + journal.operation + "\n";
    for (const Step& s : journal.steps) {
        text += "File\t" + s.target + "\n";
        text += std::string("Mode\t") + (s.inPlace ? "overwrite" : "rename") + "\n";
        text += std::string(s.keptAsName ? "OldName\t" : "Old\t") + s.kept + "\n";
        text += "Temporary\t" + s.temporary + "\n";
        text += "New\t" + s.newSum + "\n";
    }
    return text;
}

// The journal as written; nothing for a file that is no journal of ours.
std::optional<Journal> parse(std::string_view text)
{
    Journal journal;
    bool first = true;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        if (end == std::string_view::npos) return std::nullopt; // cut short: no journal of ours
        const std::string_view line = text.substr(0, end);
        text.remove_prefix(end + 1);
        if (first) {
            if (line != JournalHeader) return std::nullopt;
            first = false;
            continue;
        }
        const std::size_t tab = line.find('\t');
        if (tab == std::string_view::npos) return std::nullopt;
        const std::string_view key = line.substr(0, tab);
        const std::string value(line.substr(tab + 1));
        if (key == "Operation") {
            journal.operation = value;
        } else if (key == "File") {
            journal.steps.push_back({});
            journal.steps.back().target = value;
        } else if (journal.steps.empty()) {
            return std::nullopt;
        } else if (key == "Mode") {
            journal.steps.back().inPlace = value == "overwrite";
        } else if (key == "Old" || key == "OldName") {
            journal.steps.back().kept = value;
            journal.steps.back().keptAsName = key == "OldName";
        } else if (key == "Temporary") {
            journal.steps.back().temporary = value;
        } else if (key == "New") {
            journal.steps.back().newSum = value;
        }
    }
    if (first) return std::nullopt;
    return journal;
}

bool writeJournal(const std::string& dir, const Journal& journal)
{
    const std::string path = journalPath(dir);
    const std::string fresh = path + ".new";
    return IniFileIo::removeFile(fresh) && IniFileIo::createFile(fresh, render(journal), nullptr, fresh) &&
           IniFileIo::renameOver(fresh, path);
}

enum class Read { Missing, Content, Failed };

Read readFile(const std::string& path, std::string& out)
{
    FileBytes file;
    switch (file.read(path)) {
    case FileBytes::Status::Missing:
        return Read::Missing;
    case FileBytes::Status::Failed:
        return Read::Failed;
    case FileBytes::Status::Read:
        break;
    }
    out.assign(file.bytes());
    return Read::Content;
}

// Puts one file back as it was before the operation: from memory while the
// operation runs, else from where the journal kept it. True when it holds
// its old content again (or never lost it).
bool putBack(const Step& step)
{
    if (!step.temporary.empty() && !IniFileIo::removeFile(step.temporary)) return false;
    std::string now;
    const Read current = readFile(step.target, now);
    if (current == Read::Failed) return false;
    if (!step.old && step.kept.empty()) {
        // There was no file: remove the one the operation made, and only that.
        return current == Read::Missing || checksum(now) != step.newSum || IniFileIo::removeFile(step.target);
    }
    std::string kept;
    if (!step.old && readFile(step.kept, kept) != Read::Content) return false;
    const std::string& old = step.old ? *step.old : kept;
    if (current == Read::Content && now == old) return true;
    if (step.inPlace && current == Read::Content) return IniFileIo::overwrite(step.target, old);
    // The old file itself goes back under its name.
    if (step.keptAsName) return IniFileIo::renameOver(step.kept, step.target);
    FileBytes status;
    const bool exists = status.read(step.target) == FileBytes::Status::Read;
    const std::string temporary = hiddenBeside(step.target, NewSuffix);
    if (IniFileIo::removeFile(temporary) &&
        IniFileIo::createFile(temporary, old, exists ? &status.info() : nullptr, step.target) &&
        IniFileIo::renameOver(temporary, step.target))
        return true;
    IniFileIo::removeFile(temporary);
    return false;
}

// Removes what the operation kept and made beside the files.
void clearSteps(const Journal& journal)
{
    for (const Step& s : journal.steps) {
        if (!s.temporary.empty()) IniFileIo::removeFile(s.temporary);
        if (!s.kept.empty()) IniFileIo::removeFile(s.kept);
    }
}

// Undoes an operation: every file back as it was, then the journal removed.
// False when a file could not be put back: the journal stays for the next start.
bool undo(const std::string& dir, const Journal& journal)
{
    bool all = true;
    for (const Step& s : journal.steps)
        all = putBack(s) && all;
    if (!all) return false;
    if (!dir.empty() && IniFileIo::removeFile(journalPath(dir))) IniFileIo::syncDirectoryOf(journalPath(dir));
    clearSteps(journal);
    return true;
}

// What a kill left before its journal was written, or after it was removed:
// the hidden new and old files beside the profiles, old contents kept in the
// journal's place. None of them is needed by anything.
void removeLeftovers(const std::string& journalDir, const std::string& profileDir)
{
    const auto removeMatching = [](const std::string& dir, const QStringList& patterns) {
        if (dir.empty()) return;
        const QDir folder(QString::fromStdString(dir));
        for (const QString& name : folder.entryList(patterns, QDir::Files | QDir::Hidden | QDir::System))
            IniFileIo::removeFile(folder.filePath(name).toStdString());
    };
    removeMatching(profileDir, {QStringLiteral(".*") + QLatin1String(NewSuffix),
                                QStringLiteral(".*") + QLatin1String(OldSuffix)});
    removeMatching(journalDir, {QStringLiteral("old.*"), QStringLiteral("pair.journal.new")});
}

bool directoryTakesNewFiles(const std::string& path)
{
    return QFileInfo(QString::fromStdString(directoryOf(path))).isWritable();
}

// Reads the files and plans their steps. False (with `failed`) for a file
// that cannot be read whole or may not be written.
bool plan(const std::vector<Replacement>& files, const std::string& journalDir, Journal& journal,
          std::string& failed)
{
    for (const Replacement& r : files) {
        const std::optional<std::string> target = IniFileIo::resolveLinks(r.path);
        failed = r.path;
        if (!target || target->empty()) return false;
        Step step;
        step.target = *target;
        FileBytes file;
        const FileBytes::Status status = file.read(step.target);
        if (status == FileBytes::Status::Failed) return false;
        if (status == FileBytes::Status::Read) {
            if (file.bytes() == r.bytes) continue; // holds its new content already
            if (!IniFileIo::mayWrite(step.target, file.info())) return false;
            step.old = std::string(file.bytes());
            step.info = file.info();
            step.inPlace = IniFileIo::linkCount(step.info) > 1 || !directoryTakesNewFiles(step.target);
        }
        for (const Step& other : journal.steps)
            if (other.target == step.target) return false; // one file would get two contents
        if (!r.like.empty()) {
            FileBytes source;
            if (source.read(r.like) != FileBytes::Status::Read) return false;
            step.like = IniFileIo::ownerWritable(source.info());
        }
        step.bytes = r.bytes;
        step.newSum = checksum(r.bytes);
        if (!step.inPlace) step.temporary = hiddenBeside(step.target, NewSuffix);
        // The old file renamed away keeps its content under a second name
        // beside it; one written over is copied into the journal's place.
        if (step.old && !step.inPlace) {
            step.kept = hiddenBeside(step.target, OldSuffix);
            step.keptAsName = true;
        } else if (step.old && !journalDir.empty()) {
            step.kept = journalDir + "/old." + std::to_string(journal.steps.size());
        }
        journal.steps.push_back(std::move(step));
    }
    failed.clear();
    return true;
}

std::vector<FileState> statesOf(const Journal& journal, bool after)
{
    std::vector<FileState> states;
    for (const Step& s : journal.steps)
        states.push_back({s.target, after ? std::optional<std::string>(s.bytes) : s.old});
    return states;
}

} // namespace

Result replace(const std::vector<Replacement>& files, const std::string& journalDir, const std::string& operation,
               const Observer& observer)
{
    Result result;
    Journal journal;
    journal.operation = operation;
    if (!plan(files, journalDir, journal, result.failedPath)) return result;
    if (journal.steps.empty()) {
        result.done = true;
        return result;
    }
    const auto fail = [&](const std::string& path) {
        result.failedPath = path;
        result.undone = undo(journalDir, journal);
        return result;
    };

    std::optional<QLockFile> lock;
    if (!journalDir.empty()) {
        if (!QDir().mkpath(QString::fromStdString(journalDir))) return fail(journalDir);
        lock.emplace(QString::fromStdString(journalDir + "/lock"));
        // Another copy of the program replacing these files: wait for it, a little.
        if (!lock->tryLock(2000)) {
            result.failedPath = journal.steps.front().target;
            return result;
        }
        // A journal a kill left (the start could not put its files back) is
        // dealt with before anything new is written.
        if (QFileInfo::exists(QString::fromStdString(journalPath(journalDir)))) {
            lock->unlock();
            recover(journalDir, directoryOf(journal.steps.front().target));
            if (!lock->tryLock(2000)) return fail(journalDir);
        }
    }
    if (observer.before) observer.before(operation, statesOf(journal, false));

    // The old contents kept and the new files written beside the old ones,
    // all durable, before the journal names them.
    std::vector<std::string> dirs;
    for (Step& s : journal.steps) {
        if (std::find(dirs.begin(), dirs.end(), directoryOf(s.target)) == dirs.end())
            dirs.push_back(directoryOf(s.target));
        if (s.keptAsName && !(IniFileIo::removeFile(s.kept) && IniFileIo::linkFile(s.target, s.kept))) {
            // A file system without second names: the old content is copied instead.
            if (journalDir.empty()) {
                s.kept.clear();
            } else {
                s.kept = journalDir + "/old." + std::to_string(&s - journal.steps.data());
            }
            s.keptAsName = false;
        }
        if (!s.keptAsName && !s.kept.empty() &&
            !(IniFileIo::removeFile(s.kept) && IniFileIo::createFile(s.kept, *s.old, nullptr, s.kept)))
            return fail(s.target);
        if (s.inPlace) continue;
        const IniFileIo::FileInfo* like = s.like ? &*s.like : s.old ? &s.info : nullptr;
        if (!IniFileIo::removeFile(s.temporary) || !IniFileIo::createFile(s.temporary, s.bytes, like, s.target))
            return fail(s.target);
        if (s.like) IniFileIo::setModified(s.temporary, *s.like);
    }
    for (const std::string& dir : dirs)
        IniFileIo::syncDirectoryOf(dir + "/");
    if (!journalDir.empty() && !writeJournal(journalDir, journal)) return fail(journalPath(journalDir));

    for (const Step& s : journal.steps) {
        const bool replaced = s.inPlace ? IniFileIo::overwrite(s.target, s.bytes)
                                        : IniFileIo::renameOver(s.temporary, s.target, false);
        if (!replaced) return fail(s.target);
        result.replaced.push_back(s.target);
    }
    for (const std::string& dir : dirs)
        IniFileIo::syncDirectoryOf(dir + "/");
    // The journal gone, the operation is done: a kill from here on leaves the new files.
    if (!journalDir.empty()) {
        if (!IniFileIo::removeFile(journalPath(journalDir))) return fail(journalPath(journalDir));
        IniFileIo::syncDirectoryOf(journalPath(journalDir));
    }
    clearSteps(journal);
    result.done = true;
    if (observer.after) observer.after(operation, statesOf(journal, true));
    return result;
}

Result copy(const std::vector<Copy>& copies, const std::string& journalDir, const std::string& operation)
{
    std::vector<Replacement> files;
    for (const Copy& c : copies) {
        std::string bytes;
        if (c.from.empty() || c.to.empty() || readFile(c.from, bytes) != Read::Content) {
            Result failed;
            failed.failedPath = c.from;
            return failed;
        }
        files.push_back({c.to, std::move(bytes), c.from});
    }
    return replace(files, journalDir, operation);
}

std::optional<Recovery> recover(const std::string& journalDir, const std::string& profileDir)
{
    if (journalDir.empty()) return std::nullopt;
    QLockFile lock(QString::fromStdString(journalDir + "/lock"));
    if (!lock.tryLock(0)) return std::nullopt; // another running copy is in the middle of it
    const std::string path = journalPath(journalDir);
    std::string text;
    const Read read = readFile(path, text);
    if (read == Read::Missing) {
        removeLeftovers(journalDir, profileDir);
        return std::nullopt;
    }
    const std::optional<Journal> journal = read == Read::Content ? parse(text) : std::nullopt;
    Recovery recovery;
    if (!journal) {
        recovery.outcome = Recovery::Outcome::Failed;
        return recovery;
    }
    recovery.operation = journal->operation;
    for (const Step& s : journal->steps)
        recovery.files.push_back(s.target);
    recovery.outcome = undo(journalDir, *journal) ? Recovery::Outcome::Undone : Recovery::Outcome::Failed;
    if (recovery.outcome == Recovery::Outcome::Undone) removeLeftovers(journalDir, profileDir);
    return recovery;
}

} // namespace ProfilePair
