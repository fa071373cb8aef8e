#include "core/ProfileKeys.h"

#include "profile/IniText.h"

#include <limits>

std::string ProfileKeys::folded(std::string_view name)
{
    std::string result(name);
    for (char& c : result) {
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    return result;
}

const ProfileKeys::Key* ProfileKeys::Section::find(std::string_view key) const
{
    const auto found = m_index.find(folded(key));
    return found == m_index.end() ? nullptr : &keys[found->second];
}

ProfileKeys::ProfileKeys(std::string_view bytes)
{
    // Every header, so that a section without keys is one too.
    std::vector<std::string> names;
    IniText::listSections(bytes, names, std::numeric_limits<std::size_t>::max());
    for (const std::string& name : names)
        sectionNamed(name);
    std::string_view lastName;
    Section* last = nullptr;
    IniText::forEachEntry(
        bytes, [](std::string_view) { return true; },
        [&](std::string_view section, std::string_view key, std::size_t valueBegin, std::size_t valueEnd) {
            if (last == nullptr || section.data() != lastName.data()) {
                last = &sectionNamed(section);
                lastName = section;
            }
            std::string name = folded(key);
            const auto [at, added] = last->m_index.try_emplace(std::move(name), last->keys.size());
            if (added) last->keys.push_back({std::string(key), {}});
            last->keys[at->second].values.emplace_back(bytes.substr(valueBegin, valueEnd - valueBegin));
        });
}

const ProfileKeys::Section* ProfileKeys::find(std::string_view section) const
{
    const auto found = m_index.find(folded(section));
    return found == m_index.end() ? nullptr : &m_sections[found->second];
}

ProfileKeys::Section& ProfileKeys::sectionNamed(std::string_view name)
{
    const auto [at, added] = m_index.try_emplace(folded(name), m_sections.size());
    if (added) {
        m_sections.emplace_back();
        m_sections.back().name = name;
    }
    return m_sections[at->second];
}
