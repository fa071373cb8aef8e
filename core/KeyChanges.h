#pragma once

#include "core/ProfileKeys.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

// What changed in one profile file between two of its states, as its keys
// section by section (ProfileKeys' rules), not as lines of text: each key with
// its values before and after, added and removed keys and whole sections
// marked. Sections come in the order of the earlier state, then those only
// the later one has; keys the same way within a section.
struct KeyChanges {
    enum class Mark { Changed, Added, Removed };
    struct Key {
        std::string name;
        Mark mark = Mark::Changed;
        std::vector<std::string> before; // every value of the key, in file order; none when absent
        std::vector<std::string> after;
    };
    struct Section {
        std::string name;
        Mark mark = Mark::Changed; // Added, Removed: the whole section
        std::vector<Key> keys;
    };

    std::string file;
    bool existedBefore = false;
    bool existedAfter = false;
    bool textChanged = false; // the bytes differ, also where no key did (comments, blanks, line ends)
    std::vector<Section> sections;

    std::size_t keyCount() const;

    // The changes between the bytes of two states; nothing: the file was
    // absent. Only the sections whose text changed are read: a Save of a few
    // keys costs a look at the headers, not a reading of every key.
    static KeyChanges between(std::string file, std::optional<std::string_view> before,
                              std::optional<std::string_view> after);

private:
    static KeyChanges between(std::string file, const ProfileKeys* before, const ProfileKeys* after, bool textChanged);
};
