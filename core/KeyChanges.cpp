#include "core/KeyChanges.h"

namespace {

const std::vector<ProfileKeys::Section> NoSections;
const std::vector<std::string> NoValues;

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

} // namespace

std::size_t KeyChanges::keyCount() const
{
    std::size_t count = 0;
    for (const Section& section : sections)
        count += section.keys.size();
    return count;
}

KeyChanges KeyChanges::between(std::string file, const std::optional<std::string>& before,
                               const std::optional<std::string>& after)
{
    const std::optional<ProfileKeys> earlier = before ? std::optional<ProfileKeys>(*before) : std::nullopt;
    const std::optional<ProfileKeys> later = after ? std::optional<ProfileKeys>(*after) : std::nullopt;
    return between(std::move(file), earlier ? &*earlier : nullptr, later ? &*later : nullptr, before != after);
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
        return [keys](const std::string& name) { return keys ? keys->find(name) : nullptr; };
    };
    inBoth<KeySection>(
        before ? before->sections() : NoSections, after ? after->sections() : NoSections, findSection(before),
        findSection(after), [&](const KeySection* earlier, const KeySection* later) {
            Section section;
            section.name = (later ? later : earlier)->name;
            section.mark = !earlier ? Mark::Added : !later ? Mark::Removed : Mark::Changed;
            static const std::vector<KeyEntry> NoKeys;
            auto findKey = [](const KeySection* in) {
                return [in](const std::string& name) { return in ? in->find(name) : nullptr; };
            };
            inBoth<KeyEntry>(earlier ? earlier->keys : NoKeys, later ? later->keys : NoKeys, findKey(earlier),
                             findKey(later), [&](const KeyEntry* was, const KeyEntry* is) {
                                 const std::vector<std::string>& old = was ? was->values : NoValues;
                                 const std::vector<std::string>& now = is ? is->values : NoValues;
                                 if (old == now) return;
                                 section.keys.push_back({(is ? is : was)->name,
                                                         !was  ? Mark::Added
                                                         : !is ? Mark::Removed
                                                               : Mark::Changed,
                                                         old, now});
                             });
            if (section.mark != Mark::Changed || !section.keys.empty()) changes.sections.push_back(std::move(section));
        });
    return changes;
}
