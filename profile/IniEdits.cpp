#include "profile/IniEdits.h"

#include "profile/IniText.h"

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

bool apply(std::string& content, std::span<const Write> writes)
{
    bool changed = false;
    for (const Write& write : writes) {
        const std::optional<Edit> edit = plan(content, write);
        if (!edit) continue;
        content.replace(edit->at, edit->erase, edit->insert);
        changed = true;
    }
    return changed;
}

std::optional<std::string_view> valueOf(std::string_view content, std::string_view section, std::string_view key)
{
    const IniText::Location where = IniText::locate(content, IniText::trim(section), IniText::trim(key));
    if (!where.entryFound) return std::nullopt;
    return content.substr(where.valueBegin, where.valueEnd - where.valueBegin);
}

} // namespace IniEdits
