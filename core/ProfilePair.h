#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

// The one way the program replaces the game's profiles (the user file and
// UT2003.ini): a Save, the raw text page's save, a restore, a .BAK restore and
// a reset all hand their new contents here, and the files are replaced as one
// operation. The new files are written beside the old ones and the old
// contents kept, all durable; then a journal naming the files, where their old
// contents are kept and the new files being put in place is written and
// synced; the new files are renamed into place; removing the journal makes
// the operation done. After any failure the old contents are put back at
// once, and a start after a kill or a power cut undoes what a journal names.
// So the pair holds both its old contents or both its new ones, never a mix.
//
// A file renamed over keeps its old content as a second, hidden name of the
// old file beside it (a copy in the journal's place where the file system has
// no such names). A file whose directory takes no new files, or that has
// other names (hard links: a dotfiles folder), is written in place instead,
// so that its links stay; its old content is copied into the journal's place
// first.
namespace ProfilePair {

// The new content of one profile.
struct Replacement {
    std::string path; // as the program names it; a link is followed to the file it names
    std::string bytes;
    // A copy (a backup) takes the permission bits, owner and modification
    // time of the file it copies, named here; empty: a profile keeps its own.
    std::string like = {};
};

// One file of the pair as it was before, or as it is after, the operation:
// its content, nothing for a file that did not exist.
struct FileState {
    std::string path;
    std::optional<std::string> bytes;
};

struct Result {
    bool done = false;
    std::vector<std::string> replaced; // the files whose content changed (none: all held it already)
    std::string failedPath;            // when not done: the file that could not be written
    // When not done: whether every file holds its old content again. If not,
    // the journal stays, and the next start (or replacement) puts them back.
    bool undone = true;
};

// Told of the states around a replacement that changes something: `before`
// runs once the old contents are read and before anything is written (the
// history keeps them there); `after` once every file holds its new content.
struct Observer {
    std::function<void(const std::string& operation, const std::vector<FileState>& before)> before;
    std::function<void(const std::string& operation, const std::vector<FileState>& after)> after;
};

// Replaces the files by their new contents, all or none. Files that hold
// their new content already are not touched; with nothing to change nothing
// is written, not even the journal. `journalDir` is where the journal and the
// old contents live meanwhile (made when needed; empty: no journal, so only a
// failure, not a kill, is undone). `operation` names the operation in the
// journal. Throws nothing but what a fault hook throws.
Result replace(const std::vector<Replacement>& files, const std::string& journalDir, const std::string& operation,
               const Observer& observer = {});

// One file copied over another (full paths).
struct Copy {
    std::string from;
    std::string to;
};

// Copies files over others as one such operation (the .BAK pair, a dated
// backup): each copy takes its source's permission bits, owner and
// modification time. A source that cannot be read whole fails it before
// anything is written.
Result copy(const std::vector<Copy>& copies, const std::string& journalDir, const std::string& operation);

// What a start found of an operation that a kill interrupted: it was
// undone (both files hold their old contents again), or a file could not be
// put back (the journal stays for the next start).
struct Recovery {
    enum class Outcome { Undone, Failed };
    Outcome outcome = Outcome::Undone;
    std::string operation;          // as the journal names it
    std::vector<std::string> files; // the files it names
};

// Undoes the operation the journal in `journalDir` names and removes what it
// kept, the journal last; without a journal, removes what a kill left beside
// the profiles in `profileDir` and in the journal's place. Nothing to tell
// when there was no journal (or another running copy of the program holds
// it).
std::optional<Recovery> recover(const std::string& journalDir, const std::string& profileDir);

} // namespace ProfilePair
