#pragma once

#include "core/KeyChanges.h"
#include "core/ProfileHistory.h"

#include <array>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <tuple>
#include <vector>

// What each entry of a history changed, file by file: the entry's `before`
// compared with its `after`, or where that was not kept with the next newer
// entry's `before`, or for the newest entry with the current files. Each pair
// of contents is compared once, by their digests, and kept for the next
// reload (after a put back).
class HistoryChanges {
public:
    using FilesChanges = std::array<KeyChanges, 2>;

    explicit HistoryChanges(const ProfileHistory& history);

    // Reads the entries again (newest first); `current` is the pair as it is
    // now. The comparisons made before are kept.
    void reload(const ProfileState& current);

    const std::vector<ProfileHistory::Entry>& entries() const { return m_entries; }
    // The changes of entry `index`; nothing when one of its states cannot be
    // read back.
    const FilesChanges* changes(std::size_t index);
    // The pair as it was before entry `index`: what putting it back restores.
    std::optional<ProfileState> before(std::size_t index) const;
    // The entry was made to the pair as it is open now (its files' names,
    // letters folded): putting it back writes the files it names.
    bool ofCurrentPair(std::size_t index) const;

private:
    // A kept content, or one of the current files; nothing when it cannot be read.
    std::shared_ptr<const std::string> contentOf(const std::string& digest);

    const ProfileHistory& m_history;
    ProfileState m_current;
    ProfileHistory::FileDigests m_currentDigests;
    std::vector<ProfileHistory::Entry> m_entries;
    std::vector<ProfileHistory::FileDigests> m_afters;
    std::vector<std::optional<FilesChanges>> m_changes;
    std::vector<bool> m_compared;
    // The contents read last, by digest: an entry's after is the next one's before.
    std::vector<std::pair<std::string, std::shared_ptr<const std::string>>> m_recent;
    std::map<std::tuple<std::string, std::string, std::string>, KeyChanges> m_pairs; // file, before, after
};
