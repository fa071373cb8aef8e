#include "core/KeyChanges.h"

#include "profile/IniText.h"

#include <unordered_map>

namespace {

const std::vector<ProfileKeys::Section> NoSections;
const std::vector<std::string_view> NoValues;

std::vector<std::string> copied(const std::vector<std::string_view>& values) { return {values.begin(), values.end()}; }

// Visits what `first` holds in its order, then what only `second` holds:
// `visit(inFirst, inSecond)`, either may be nullptr.
template <class Item, class Find, class Visit>
void inBoth(const std::vector<Item>& first, const std::vector<Item>& second, Find&& findInFirst, Find&& findInSecond,
            Visit&& visit)
{
    for (const Item& item : first)
        visit(&item, findInSecond(item.name));
    for (const Item& item : second) {
        if (!findInFirst(item.name)) visit(nullptr, &item);
    }
}

// Each section's text by its name: from the name in each of its headers to
// the next header's name.
using Blocks = std::unordered_map<std::string_view, std::vector<std::string_view>, ProfileKeys::NoCaseHash,
                                  ProfileKeys::NoCaseEqual>;

Blocks blocksOf(std::string_view text)
{
    std::vector<std::string_view> names;
    IniText::forEachEntry(
        text,
        [&](std::string_view name) {
            names.push_back(name);
            return false; // the headers only
        },
        [](std::string_view, std::string_view, std::size_t, std::size_t) {});
    Blocks blocks;
    for (std::size_t i = 0; i < names.size(); ++i) {
        const char* end = i + 1 < names.size() ? names[i + 1].data() : text.data() + text.size();
        blocks[names[i]].emplace_back(names[i].data(), static_cast<std::size_t>(end - names[i].data()));
    }
    return blocks;
}

// The sections whose keys may differ between two texts: those whose text
// differs in any of their headers' blocks. A Save of a few keys then reads
// the few sections it wrote, not every key of the file.
ProfileKeys::Names reachedSections(std::string_view before, std::string_view after)
{
    const Blocks earlier = blocksOf(before), later = blocksOf(after);
    ProfileKeys::Names names;
    for (const auto& [name, blocks] : earlier) {
        const auto found = later.find(name);
        if (found == later.end() || found->second != blocks) names.emplace(name);
    }
    for (const auto& [name, blocks] : later) {
        if (!earlier.count(name)) names.emplace(name);
    }
    return names;
}

} // namespace

std::size_t KeyChanges::keyCount() const
{
    std::size_t count = 0;
    for (const Section& section : sections)
        count += section.keys.size();
    return count;
}

KeyChanges KeyChanges::between(std::string file, std::optional<std::string_view> before,
                               std::optional<std::string_view> after)
{
    if (before && after && *before != *after) {
        const ProfileKeys::Names reached = reachedSections(*before, *after);
        const ProfileKeys earlier(*before, reached), later(*after, reached);
        return between(std::move(file), &earlier, &later, true);
    }
    const std::optional<ProfileKeys> earlier =
        before && before != after ? std::optional<ProfileKeys>(*before) : std::nullopt;
    const std::optional<ProfileKeys> later =
        after && before != after ? std::optional<ProfileKeys>(*after) : std::nullopt;
    KeyChanges changes =
        between(std::move(file), earlier ? &*earlier : nullptr, later ? &*later : nullptr, before != after);
    changes.existedBefore = before.has_value();
    changes.existedAfter = after.has_value();
    return changes;
}

KeyChanges KeyChanges::between(std::string file, const ProfileKeys* before, const ProfileKeys* after, bool textChanged)
{
    KeyChanges changes;
    changes.file = std::move(file);
    changes.existedBefore = before != nullptr;
    changes.existedAfter = after != nullptr;
    changes.textChanged = textChanged;
    if (!textChanged) return changes;

    using KeySection = ProfileKeys::Section;
    using KeyEntry = ProfileKeys::Key;
    auto findSection = [](const ProfileKeys* keys) {
        return [keys](std::string_view name) { return keys ? keys->find(name) : nullptr; };
    };
    auto findKey = [](const KeySection* in) {
        return [in](std::string_view name) { return in ? in->find(name) : nullptr; };
    };
    static const std::vector<KeyEntry> NoKeys;
    const auto markOf = [](const void* was, const void* is) {
        return !was ? Mark::Added : !is ? Mark::Removed : Mark::Changed;
    };
    inBoth<KeySection>(
        before ? before->sections() : NoSections, after ? after->sections() : NoSections, findSection(before),
        findSection(after), [&](const KeySection* earlier, const KeySection* later) {
            Section section{std::string((later ? later : earlier)->name), markOf(earlier, later), {}};
            inBoth<KeyEntry>(earlier ? earlier->keys : NoKeys, later ? later->keys : NoKeys, findKey(earlier),
                             findKey(later), [&](const KeyEntry* was, const KeyEntry* is) {
                                 const std::vector<std::string_view>& old = was ? was->values : NoValues;
                                 const std::vector<std::string_view>& now = is ? is->values : NoValues;
                                 if (old != now)
                                     section.keys.push_back({std::string((is ? is : was)->name), markOf(was, is),
                                                             copied(old), copied(now)});
                             });
            if (section.mark != Mark::Changed || !section.keys.empty()) changes.sections.push_back(std::move(section));
        });
    return changes;
}
