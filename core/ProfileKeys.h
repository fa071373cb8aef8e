#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <vector>

// A profile file's keys as the game reads them, section by section, with the
// accessor's rules (profile/IniText.h): names compared with letters folded,
// blanks around names and values not part of them, lines outside a section
// and lines without "=" no keys.
//
// A key written more than once keeps every value in file order; the first is
// the one the profile reads of the game and of this program see, the others
// are the lines the game's engine reads as one list (the package lists of
// UT2003.ini). Sections of one name are read as one section. So a change to
// any of those lines is a change of the key.
//
// Names and values are views of the bytes, which must outlive the object.
class ProfileKeys {
public:
    // Names compared as the game compares them: ASCII letters folded.
    struct NoCaseHash {
        using is_transparent = void;
        std::size_t operator()(std::string_view name) const noexcept;
    };
    struct NoCaseEqual {
        using is_transparent = void;
        bool operator()(std::string_view a, std::string_view b) const noexcept;
    };
    using Names = std::unordered_set<std::string, NoCaseHash, NoCaseEqual>;

    struct Key {
        std::string_view name; // as first spelled
        std::vector<std::string_view> values;
    };
    struct Section {
        std::string_view name; // as first spelled
        std::vector<Key> keys;
        const Key* find(std::string_view key) const;

    private:
        friend class ProfileKeys;
        std::unordered_map<std::string_view, std::size_t, NoCaseHash, NoCaseEqual> m_index;
    };

    explicit ProfileKeys(std::string_view bytes);
    // Only the sections named in `only`.
    ProfileKeys(std::string_view bytes, const Names& only);

    const std::vector<Section>& sections() const { return m_sections; }
    const Section* find(std::string_view section) const;

private:
    void read(std::string_view bytes, const Names* only);
    Section& sectionNamed(std::string_view name);

    std::vector<Section> m_sections;
    std::unordered_map<std::string_view, std::size_t, NoCaseHash, NoCaseEqual> m_index;
};
