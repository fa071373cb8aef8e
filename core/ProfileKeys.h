#pragma once

#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

// A profile file's keys as the game reads them, section by section, with the
// accessor's rules (profile/IniText.h): names compared with letters folded,
// blanks around names and values not part of them, lines outside a section
// and lines without "=" no keys.
//
// A key written more than once keeps every value in file order; the first is
// the one the profile reads of the game and of this program see, the others
// are the lines the game's engine reads as one list (the package lists of
// UT2003.ini). Sections of one name are one section, as the engine reads
// them. So a change to any of those lines is a change of the key.
class ProfileKeys {
public:
    struct Key {
        std::string name; // as first spelled
        std::vector<std::string> values;
    };
    struct Section {
        std::string name; // as first spelled
        std::vector<Key> keys;
        const Key* find(std::string_view key) const;

    private:
        friend class ProfileKeys;
        std::unordered_map<std::string, std::size_t> m_index; // folded name -> keys
    };

    explicit ProfileKeys(std::string_view bytes);

    const std::vector<Section>& sections() const { return m_sections; }
    const Section* find(std::string_view section) const;

    // `name` with ASCII letters in lower case, the key of every lookup.
    static std::string folded(std::string_view name);

private:
    Section& sectionNamed(std::string_view name);

    std::vector<Section> m_sections;
    std::unordered_map<std::string, std::size_t> m_index;
};
