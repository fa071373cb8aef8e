#pragma once

#include "core/ProfileState.h"

#include <QDateTime>
#include <QString>

#include <array>
#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

// The history of one profile directory's pair of files: every state an
// operation of the program replaced and put in place, and every change made
// outside the program, kept under the user's state directory (never in the
// game's directories) so that each change can be seen and undone.
//
// The folder of a profile directory holds `entries/` (one small file per
// entry, and beside it the after an operation kept later) and `blobs/` (each
// distinct file content once, named by its SHA-256). Everything is written to
// a temporary name and renamed, so a kill at any moment leaves no entry or a
// complete one; entries and contents are synced before the rename and their
// directory after it, so that when a keep returns, what it kept survives a
// power cut (an after need not: lost, it is read as described at Entry).
// Files in the folder that are not entries of this program (torn, foreign)
// are passed over. A history that cannot be written gives its failure as a text and
// never throws; the operation that asked goes on without it.
class ProfileHistory {
public:
    // The most the history keeps of a profile directory; whichever bound is
    // reached first, the oldest entries go first.
    struct Limits {
        std::size_t maxEntries = 200;
        std::uint64_t maxBytes = std::uint64_t(50) << 20; // the contents the entries name
    };

    // Each file's SHA-256 in hex; nothing where the file was absent.
    using FileDigests = std::array<std::optional<std::string>, 2>;

    struct Entry {
        std::string id; // names the entry for keepAfter
        QDateTime when; // UTC
        QString operation;
        bool outside = false;             // made outside the program (the game, another editor)
        std::array<std::string, 2> names; // the pair's file names
        FileDigests before; // what the operation replaced; for an outside change, what the program last knew
        // What the operation put in place; for an outside change, the files as
        // found. Nothing when it was not kept (the program stopped right after
        // the replace): it is then the next newer entry's `before`, or the
        // current files for the newest entry.
        std::optional<FileDigests> after;
    };

    enum class Which { Before, After };

    // What a keep made: the new entry's id, or why nothing was kept.
    struct Kept {
        std::string id;
        QString failure;
        explicit operator bool() const { return failure.isEmpty(); }
    };

    // The history of `profileDir` under `root` (the folder of all profile
    // directories' histories, see defaultRoot()), within the program's
    // limits or the given ones. Touches no file.
    ProfileHistory(std::string root, const std::string& profileDir);
    ProfileHistory(std::string root, const std::string& profileDir, Limits limits);

    // $XDG_STATE_HOME/corvane2003/history, or ~/.local/state/corvane2003/history
    // when XDG_STATE_HOME is unset or not an absolute path; empty without a home.
    static std::string defaultRoot();
    // The folder name of a profile directory: the end of its canonical path,
    // made safe as a file name, and a short hash of the whole path.
    static std::string folderName(const std::string& profileDir);
    static std::string digestOf(std::string_view bytes);

    const std::string& folder() const { return m_folder; }
    // The time a keep gives its entry; the system's clock unless set.
    void setClock(std::function<QDateTime()> clock) { m_clock = std::move(clock); }
    const Limits& limits() const { return m_limits; }

    // Before an operation replaces the pair: keeps `before`, the pair as it is.
    Kept keepBefore(const QString& operation, const ProfileState& before);
    // After the replace: what the operation put in place. Empty, or why it
    // was not kept (the entry then reads its `after` as described above).
    QString keepAfter(const std::string& id, const ProfileState& after);
    // A change made outside the program, seen by the watch.
    Kept keepOutside(const QString& operation, const ProfileState& before, const ProfileState& after);

    // Newest first. A file that is no entry of this program is passed over.
    std::vector<Entry> entries() const;
    // The bytes one of the entry's states kept, exactly; nothing when that
    // state was not kept or its contents cannot be read back whole.
    std::optional<ProfileState> state(const Entry& entry, Which which) const;
    // The pair as the newest entry left it, when that was kept: what the
    // program last knew. Files found otherwise at a start were changed outside.
    std::optional<ProfileState> lastKept() const;
    // One kept content, checked against its digest unless `checked` is false
    // (for showing it: the check costs more than the read).
    std::optional<std::string> content(const std::string& digest, bool checked = true) const;

private:
    Kept keep(const QString& operation, bool outside, const ProfileState& before, const ProfileState* after);
    QString prepare() const;
    QString keepContents(const ProfileState& state, const FileDigests& digests) const;
    QString fitsLimits(std::uint64_t size) const;
    QString writeEntry(const Entry& entry) const;
    std::string nextId() const;
    // Keeps the newest entries within the limits, `incoming` (to be written) first.
    QString prune(const Entry* incoming) const;
    std::uint64_t sizeOf(const std::string& digest) const; // of a kept content; 0 when there is none

    // What the files of the folder held when last read: entries by id, with
    // the inode numbers of their files (0: none); contents' sizes by digest.
    struct Known {
        std::pair<std::uint64_t, std::uint64_t> stamps;
        Entry entry;
    };
    mutable std::map<std::string, Known> m_known;
    mutable std::unordered_map<std::string, std::uint64_t> m_sizes;

    std::string m_folder;
    std::string m_entries;
    std::string m_blobs;
    Limits m_limits;
    std::function<QDateTime()> m_clock;
    QString m_refusal; // why this history may never be written
};
