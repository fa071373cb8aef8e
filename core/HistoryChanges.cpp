#include "core/HistoryChanges.h"

#include "profile/IniText.h"

HistoryChanges::HistoryChanges(const ProfileHistory& history)
    : m_history(history)
{
}

void HistoryChanges::reload(const ProfileState& current)
{
    m_current = current;
    for (std::size_t i = 0; i < 2; ++i) {
        const std::optional<std::string>& bytes = current.files[i].bytes;
        m_currentDigests[i] = bytes ? std::optional(ProfileHistory::digestOf(*bytes)) : std::nullopt;
    }
    m_entries = m_history.entries();
    m_afters.clear();
    for (std::size_t i = 0; i < m_entries.size(); ++i) {
        const std::optional<ProfileHistory::FileDigests>& kept = m_entries[i].after;
        m_afters.push_back(kept ? *kept : i == 0 ? m_currentDigests : m_entries[i - 1].before);
    }
    m_changes.assign(m_entries.size(), std::nullopt);
    m_compared.assign(m_entries.size(), false);
}

const HistoryChanges::FilesChanges* HistoryChanges::changes(std::size_t index)
{
    if (index >= m_entries.size()) return nullptr;
    if (!m_compared[index]) {
        m_compared[index] = true;
        const ProfileHistory::Entry& entry = m_entries[index];
        FilesChanges found;
        for (std::size_t file = 0; file < 2; ++file) {
            const std::optional<std::string>& before = entry.before[file];
            const std::optional<std::string>& after = m_afters[index][file];
            const auto pair = std::make_tuple(entry.names[file], before.value_or(""), after.value_or(""));
            if (const auto cached = m_pairs.find(pair); cached != m_pairs.end()) {
                found[file] = cached->second;
                continue;
            }
            const std::shared_ptr<const std::string> earlier = before ? contentOf(*before) : nullptr;
            const std::shared_ptr<const std::string> later = after ? contentOf(*after) : nullptr;
            if ((before && !earlier) || (after && !later)) return nullptr;
            const auto bytes = [](const std::shared_ptr<const std::string>& content) {
                return content ? std::optional<std::string_view>(*content) : std::nullopt;
            };
            found[file] = KeyChanges::between(entry.names[file], bytes(earlier), bytes(later));
            m_pairs.emplace(pair, found[file]);
        }
        m_changes[index] = std::move(found);
    }
    return m_changes[index] ? &*m_changes[index] : nullptr;
}

bool HistoryChanges::ofCurrentPair(std::size_t index) const
{
    for (std::size_t i = 0; i < 2; ++i) {
        if (!IniText::equalsNoCase(m_entries[index].names[i], m_current.files[i].name)) return false;
    }
    return true;
}

std::optional<ProfileState> HistoryChanges::before(std::size_t index) const
{
    if (index >= m_entries.size()) return std::nullopt;
    return m_history.state(m_entries[index], ProfileHistory::Which::Before);
}

std::shared_ptr<const std::string> HistoryChanges::contentOf(const std::string& digest)
{
    constexpr std::size_t Recent = 4;
    for (const auto& [kept, bytes] : m_recent) {
        if (kept == digest) return bytes;
    }
    std::optional<std::string> bytes;
    for (std::size_t i = 0; i < 2 && !bytes; ++i) {
        if (m_currentDigests[i] == digest) bytes = m_current.files[i].bytes;
    }
    if (!bytes) bytes = m_history.content(digest, false); // put back checks what it puts back
    auto content = bytes ? std::make_shared<const std::string>(std::move(*bytes)) : nullptr;
    if (m_recent.size() == Recent) m_recent.erase(m_recent.begin());
    m_recent.emplace_back(digest, content);
    return content;
}
