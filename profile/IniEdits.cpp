#include "profile/IniEdits.h"

#include "profile/IniText.h"

#include <algorithm>
#include <functional>
#include <unordered_map>
#include <vector>

namespace IniEdits {

std::optional<Edit> plan(std::string_view content, const Write& write)
{
    const std::string_view sectionName = IniText::trim(write.section);
    const std::string_view keyName = IniText::trim(write.key);
    const std::string_view value = write.value;
    const IniText::Location where = IniText::locate(content, sectionName, keyName);
    if (where.entryFound) {
        if (content.substr(where.valueBegin, where.valueEnd - where.valueBegin) == value) return std::nullopt;
        return Edit{where.valueBegin, where.valueEnd - where.valueBegin, std::string(value)};
    }
    std::string insert;
    if (where.sectionFound) {
        if (where.insertNeedsLineEnd) insert += IniText::kLineEnd;
        insert.append(keyName).append("=").append(value).append(IniText::kLineEnd);
        return Edit{where.insertAt, 0, std::move(insert)};
    }
    // A new section goes at the end, after a blank line.
    if (!content.empty()) {
        if (!IniText::endsWithLineEnd(content)) insert += IniText::kLineEnd;
        if (!IniText::lastLineIsBlank(content)) insert += IniText::kLineEnd;
    }
    insert.append("[").append(sectionName).append("]").append(IniText::kLineEnd);
    insert.append(keyName).append("=").append(value).append(IniText::kLineEnd);
    return Edit{content.size(), 0, std::move(insert)};
}

namespace {

// `name` without its blanks, its ASCII letters in lower case, into `out`
// (whose room is kept from one name to the next).
std::string_view folded(std::string_view name, std::string& out)
{
    out.assign(IniText::trim(name));
    for (char& c : out)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return out;
}

struct NameHash {
    using is_transparent = void;
    std::size_t operator()(std::string_view name) const noexcept { return std::hash<std::string_view>{}(name); }
};
template <class T> using ByName = std::unordered_map<std::string, T, NameHash, std::equal_to<>>;

constexpr std::size_t NotFound = std::string::npos;

// The writes one after the other, each applied with plan(). True when the
// content differs at the end (a value changed and written back is no change).
bool applyInTurn(std::string& content, std::span<const Write> writes)
{
    std::optional<std::string> before;
    for (const Write& write : writes) {
        const std::optional<Edit> edit = plan(content, write);
        if (!edit) continue;
        if (!before) before = content;
        content.replace(edit->at, edit->erase, edit->insert);
    }
    return before && *before != content;
}

} // namespace

bool apply(std::string& content, std::span<const Write> writes)
{
    // A Save's keys are mostly in the file already. Then each write only
    // gives its entry a value in place: one pass finds every entry, each
    // entry takes the last value written to it, and the file is put together
    // once. A write that adds a key or a section goes the long way, the
    // writes in turn.
    struct Entry {
        std::size_t begin = NotFound, end = NotFound; // where its value lies in the file
        const std::string* last = nullptr;            // the last value written to it
    };
    ByName<Entry> entries; // by folded section, a zero byte, folded key
    ByName<bool> sections; // the sections written to; true once the first of a name was read
    entries.reserve(writes.size());
    std::string name, section;
    std::vector<Entry*> entryOf; // per write
    entryOf.reserve(writes.size());
    for (const Write& write : writes) {
        folded(write.section, section);
        sections.try_emplace(section, false);
        section.push_back('\0');
        section.append(folded(write.key, name));
        entryOf.push_back(&entries.try_emplace(section).first->second);
    }
    IniText::forEachEntry(
        content,
        [&](std::string_view header) {
            const auto found = sections.find(folded(header, section));
            if (found == sections.end() || found->second) return false;
            found->second = true;
            section.push_back('\0');
            return true;
        },
        [&](std::string_view, std::string_view key, std::size_t valueBegin, std::size_t valueEnd) {
            const std::size_t prefix = section.size();
            section.append(folded(key, name));
            const auto found = entries.find(std::string_view(section));
            if (found != entries.end() && found->second.begin == NotFound) {
                found->second.begin = valueBegin;
                found->second.end = valueEnd;
            }
            section.resize(prefix);
        });
    std::vector<const Entry*> written;
    for (std::size_t i = 0; i < writes.size(); ++i) {
        Entry& entry = *entryOf[i];
        if (entry.begin == NotFound) return applyInTurn(content, writes);
        // An entry emptied on the way sets its next value after the blanks
        // that followed the old one: only the writes in turn say where.
        if (entry.last && entry.last->empty() && !writes[i].value.empty()) return applyInTurn(content, writes);
        if (!entry.last) written.push_back(&entry);
        entry.last = &writes[i].value;
    }
    std::sort(written.begin(), written.end(), [](const Entry* a, const Entry* b) { return a->begin < b->begin; });
    bool changed = false;
    for (const Entry* entry : written)
        changed = changed || std::string_view(content).substr(entry->begin, entry->end - entry->begin) != *entry->last;
    if (!changed) return false;
    std::string result;
    result.reserve(content.size());
    std::size_t done = 0;
    for (const Entry* entry : written) {
        result.append(content, done, entry->begin - done).append(*entry->last);
        done = entry->end;
    }
    result.append(content, done);
    content = std::move(result);
    return true;
}

std::optional<std::string_view> valueOf(std::string_view content, std::string_view section, std::string_view key)
{
    const IniText::Location where = IniText::locate(content, IniText::trim(section), IniText::trim(key));
    if (!where.entryFound) return std::nullopt;
    return content.substr(where.valueBegin, where.valueEnd - where.valueBegin);
}

} // namespace IniEdits
