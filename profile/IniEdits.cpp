#include "profile/IniEdits.h"

#include "profile/IniText.h"

#include <functional>
#include <map>
#include <unordered_map>

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
    struct Section {
        ByName<std::pair<std::size_t, std::size_t>> keys; // where each written key's value lies
        bool seen = false;                                // the first section of a name is the one
    };
    ByName<Section> sections;
    std::string name;
    for (const Write& write : writes) {
        Section& section = sections[std::string(folded(write.section, name))];
        section.keys.try_emplace(std::string(folded(write.key, name)), NotFound, NotFound);
    }
    Section* current = nullptr;
    IniText::forEachEntry(
        content,
        [&](std::string_view header) {
            const auto found = sections.find(folded(header, name));
            current = found == sections.end() || found->second.seen ? nullptr : &found->second;
            if (current) current->seen = true;
            return current != nullptr;
        },
        [&](std::string_view, std::string_view key, std::size_t valueBegin, std::size_t valueEnd) {
            const auto found = current->keys.find(folded(key, name));
            if (found != current->keys.end() && found->second.first == NotFound) found->second = {valueBegin, valueEnd};
        });
    struct Value {
        std::size_t end;
        const std::string* last;
    };
    std::map<std::size_t, Value> values; // by where the value begins
    for (const Write& write : writes) {
        const auto& keys = sections.find(folded(write.section, name))->second.keys;
        const auto [begin, end] = keys.find(folded(write.key, name))->second;
        if (begin == NotFound) return applyInTurn(content, writes);
        const auto [at, added] = values.try_emplace(begin, Value{end, &write.value});
        // An entry emptied on the way sets its next value after the blanks
        // that followed the old one: only the writes in turn say where.
        if (!added && at->second.last->empty() && !write.value.empty()) return applyInTurn(content, writes);
        at->second.last = &write.value;
    }
    bool changed = false;
    for (const auto& [begin, value] : values)
        changed = changed || std::string_view(content).substr(begin, value.end - begin) != *value.last;
    if (!changed) return false;
    std::string result;
    result.reserve(content.size());
    std::size_t done = 0;
    for (const auto& [begin, value] : values) {
        result.append(content, done, begin - done).append(*value.last);
        done = value.end;
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
