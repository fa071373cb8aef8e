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

constexpr const char* JournalHeader = "Corvane 2003 profile journal 1";
constexpr const char* ReadyLine = "Ready";
constexpr const char* CommittedLine = "Committed";

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
    std::string target;              // the file replaced, links followed
    bool inPlace = false;            // written over itself rather than renamed over
    std::string kept;                // where its old content is kept; empty: it did not exist
    std::string temporary;           // the new file beside it (renamed over it)
    std::string newSum;              // checksum of the new content
    std::optional<std::string> old;  // its old content (known while the operation runs)
    std::string bytes;               // its new content (known while the operation runs)
    IniFileIo::FileInfo info{};      // its status before (when it existed)
    std::optional<IniFileIo::FileInfo> like; // the status a copy takes from its source
};

struct Journal {
    std::string operation;
    std::vector<Step> steps;
    bool ready = false;     // every old content kept and every new file written
    bool committed = false; // every file replaced
};

std::string journalPath(const std::string& dir) { return dir + "/pair.journal"; }

std::string render(const Journal& journal)
{
    std::string text = std::string(JournalHeader) + "\nOperation\t" + journal.operation + "\n";
    for (const Step& s : journal.steps) {
        text += "File\t" + s.target + "\n";
        text += std::string("Mode\t") + (s.inPlace ? "overwrite" : "rename") + "\n";
        text += "Old\t" + s.kept + "\n";
        text += "Temporary\t" + s.temporary + "\n";
        text += "New\t" + s.newSum + "\n";
    }
    return text;
}

// The journal as written; nothing for a file that is no journal of ours.
// A last line cut short by a kill is no line.
std::optional<Journal> parse(std::string_view text)
{
    Journal journal;
    bool first = true;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        if (end == std::string_view::npos) break; // cut short
        const std::string_view line = text.substr(0, end);
        text.remove_prefix(end + 1);
        if (first) {
            if (line != JournalHeader) return std::nullopt;
            first = false;
            continue;
        }
        if (line == ReadyLine) {
            journal.ready = true;
            continue;
        }
        if (line == CommittedLine) {
            journal.committed = true;
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
        } else if (key == "Old") {
            journal.steps.back().kept = value;
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
    IniFileIo::removeFile(fresh);
    return IniFileIo::createFile(fresh, render(journal), nullptr, fresh) && IniFileIo::renameOver(fresh, path);
}

// Adds a line to the journal, durably: the journal is written anew with it.
bool mark(const std::string& dir, Journal& journal, const char* line)
{
    std::string text = render(journal);
    if (journal.ready) text += std::string(ReadyLine) + "\n";
    text += std::string(line) + "\n";
    const std::string path = journalPath(dir);
    const std::string fresh = path + ".new";
    IniFileIo::removeFile(fresh);
    return IniFileIo::createFile(fresh, text, nullptr, fresh) && IniFileIo::renameOver(fresh, path);
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
bool putBack(const Step& step, bool ready)
{
    if (!step.temporary.empty()) IniFileIo::removeFile(step.temporary);
    if (!ready) return true; // no file was touched before every old content was kept
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
    FileBytes status;
    const bool exists = status.read(step.target) == FileBytes::Status::Read;
    const std::string temporary = IniFileIo::temporaryName(step.target);
    if (IniFileIo::createFile(temporary, old, exists ? &status.info() : nullptr, step.target) &&
        IniFileIo::renameOver(temporary, step.target))
        return true;
    IniFileIo::removeFile(temporary);
    return false;
}

// Removes what the journal kept, the journal last.
void clear(const std::string& dir, const Journal& journal)
{
    for (const Step& s : journal.steps) {
        if (!s.temporary.empty()) IniFileIo::removeFile(s.temporary);
        if (!s.kept.empty()) IniFileIo::removeFile(s.kept);
    }
    IniFileIo::removeFile(journalPath(dir) + ".new");
    IniFileIo::removeFile(journalPath(dir));
}

// Undoes an operation: every file back as it was. False when one could not be.
bool undo(const std::string& dir, const Journal& journal)
{
    bool all = true;
    for (const Step& s : journal.steps)
        all = putBack(s, journal.ready) && all;
    if (all && !dir.empty()) clear(dir, journal);
    return all;
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
        if (!step.inPlace) step.temporary = IniFileIo::temporaryName(step.target);
        if (step.old && !journalDir.empty())
            step.kept = journalDir + "/old." + std::to_string(journal.steps.size());
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
        // A journal left by a kill is dealt with before a new one is written.
        if (QFileInfo::exists(QString::fromStdString(journalPath(journalDir)))) {
            lock->unlock();
            recover(journalDir);
            if (!lock->tryLock(2000)) return fail(journalDir);
        }
        if (!writeJournal(journalDir, journal)) return fail(journalPath(journalDir));
    }
    if (observer.before) observer.before(operation, statesOf(journal, false));

    for (const Step& s : journal.steps) {
        if (!s.kept.empty() && !IniFileIo::createFile(s.kept, *s.old, nullptr, s.kept)) return fail(s.target);
        if (s.inPlace) continue;
        const IniFileIo::FileInfo* like = s.like ? &*s.like : s.old ? &s.info : nullptr;
        if (!IniFileIo::createFile(s.temporary, s.bytes, like, s.target)) return fail(s.target);
        if (s.like) IniFileIo::setModified(s.temporary, *s.like);
    }
    if (!journalDir.empty() && !mark(journalDir, journal, ReadyLine)) return fail(journalPath(journalDir));
    journal.ready = true; // from here on a failure puts files back

    for (const Step& s : journal.steps) {
        const bool replaced =
            s.inPlace ? IniFileIo::overwrite(s.target, s.bytes) : IniFileIo::renameOver(s.temporary, s.target);
        if (!replaced) return fail(s.target);
        result.replaced.push_back(s.target);
    }
    if (!journalDir.empty()) {
        // From here on the operation counts as done, even if the clearing is cut short.
        if (!mark(journalDir, journal, CommittedLine)) return fail(journalPath(journalDir));
        clear(journalDir, journal);
    }
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

std::optional<Recovery> recover(const std::string& journalDir)
{
    if (journalDir.empty()) return std::nullopt;
    const std::string path = journalPath(journalDir);
    std::string text;
    const Read read = readFile(path, text);
    if (read == Read::Missing) {
        IniFileIo::removeFile(path + ".new"); // a journal whose writing was cut short: nothing was touched
        return std::nullopt;
    }
    QLockFile lock(QString::fromStdString(journalDir + "/lock"));
    if (!lock.tryLock(0)) return std::nullopt; // another running copy is in the middle of it
    const std::optional<Journal> journal = read == Read::Content ? parse(text) : std::nullopt;
    Recovery recovery;
    if (!journal) {
        recovery.outcome = Recovery::Outcome::Failed;
        return recovery;
    }
    recovery.operation = journal->operation;
    for (const Step& s : journal->steps)
        recovery.files.push_back(s.target);
    if (journal->committed) {
        clear(journalDir, *journal);
        recovery.outcome = Recovery::Outcome::Finished;
    } else {
        recovery.outcome = undo(journalDir, *journal) ? Recovery::Outcome::Undone : Recovery::Outcome::Failed;
    }
    return recovery;
}

} // namespace ProfilePair
