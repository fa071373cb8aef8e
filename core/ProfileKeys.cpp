#include "core/ProfileKeys.h"

#include "profile/IniText.h"

std::size_t ProfileKeys::NoCaseHash::operator()(std::string_view name) const noexcept
{
    std::size_t hash = 14695981039346656037ull; // FNV-1a over the folded bytes
    for (const char c : name) {
        hash ^= static_cast<unsigned char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
        hash *= 1099511628211ull;
    }
    return hash;
}

bool ProfileKeys::NoCaseEqual::operator()(std::string_view a, std::string_view b) const noexcept
{
    return IniText::equalsNoCase(a, b);
}

const ProfileKeys::Key* ProfileKeys::Section::find(std::string_view key) const
{
    const auto found = m_index.find(key);
    return found == m_index.end() ? nullptr : &keys[found->second];
}

ProfileKeys::ProfileKeys(std::string_view bytes) { read(bytes, nullptr); }

ProfileKeys::ProfileKeys(std::string_view bytes, const Names& only) { read(bytes, &only); }

void ProfileKeys::read(std::string_view bytes, const Names* only)
{
    Section* last = nullptr;
    IniText::forEachEntry(
        bytes,
        [&](std::string_view name) {
            if (only && !only->count(name)) return false;
            // Every header makes its section, so that one without keys is there too.
            last = &sectionNamed(name);
            return true;
        },
        [&](std::string_view, std::string_view key, std::size_t valueBegin, std::size_t valueEnd) {
            const auto [at, added] = last->m_index.try_emplace(key, last->keys.size());
            if (added) last->keys.push_back({key, {}});
            last->keys[at->second].values.push_back(bytes.substr(valueBegin, valueEnd - valueBegin));
        });
}

const ProfileKeys::Section* ProfileKeys::find(std::string_view section) const
{
    const auto found = m_index.find(section);
    return found == m_index.end() ? nullptr : &m_sections[found->second];
}

ProfileKeys::Section& ProfileKeys::sectionNamed(std::string_view name)
{
    const auto [at, added] = m_index.try_emplace(name, m_sections.size());
    if (added) {
        m_sections.emplace_back();
        m_sections.back().name = name;
    }
    return m_sections[at->second];
}
