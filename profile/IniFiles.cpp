#include "profile/IniFiles.h"

#include "profile/IniFileIo.h"
#include "profile/IniText.h"

#include <algorithm>
#include <string_view>

namespace {

// The longest value a read delivers: the platform's read buffer holds 2048
// bytes with its terminating zero.
constexpr std::size_t kMaxValueLength = 2047;
// The platform's buffer for the list of section names.
constexpr std::size_t kSectionListBufferSize = 16384;

using IniFileIo::FileBytes;

std::string quoted(std::string_view name)
{
    // Names with line breaks are only described, never shown: they would
    // break the message box's lines.
    constexpr std::size_t kShown = 80;
    std::string text = "\"";
    text.append(name.substr(0, kShown));
    if (name.size() > kShown) text += "...";
    return text + "\"";
}

// A line break inside a name or value would split the line into other
// entries, and a key holding "=" (or looking like a section header) would be
// read back as another entry: such writes are refused before the file is read.
void checkStorable(const std::string& path, const std::string& section, const std::string& key,
                   const std::string& value)
{
    const std::string prefix = "Unable to write to " + path + ": ";
    if (IniText::containsLineBreak(section)) throw ECorvaneError(prefix + "a section name cannot hold a line break.");
    if (IniText::containsLineBreak(key))
        throw ECorvaneError(prefix + "a key in section " + quoted(section) + " cannot hold a line break.");
    if (IniText::containsLineBreak(value))
        throw ECorvaneError(prefix + "the value of " + quoted(key) + " in section " + quoted(section) +
                            " cannot hold a line break.");
    if (!IniText::isStorableKey(IniText::trim(key), value))
        throw ECorvaneError(prefix + "the key " + quoted(key) + " in section " + quoted(section) +
                            " would be read back as another entry (it holds \"=\" or reads as a section header).");
}

} // namespace

TIniFile::TIniFile(std::string path)
    : m_fileName(std::move(path))
{
}

TIniFile::~TIniFile()
{
    try {
        UpdateFile();
    } catch (...) {
        // A destructor cannot report; callers that care call UpdateFile themselves.
    }
}

std::string TIniFile::ReadString(const std::string& section, const std::string& key,
                                 const std::string& defaultValue) const
{
    FileBytes file;
    if (file.read(m_fileName) != FileBytes::Status::Read) return defaultValue;
    const std::string_view content = file.bytes();
    const IniText::Location where = IniText::locate(content, IniText::trim(section), IniText::trim(key));
    if (!where.entryFound) return defaultValue;
    return std::string(content.substr(where.valueBegin, std::min(where.valueEnd - where.valueBegin, kMaxValueLength)));
}

void TIniFile::WriteString(const std::string& section, const std::string& key, const std::string& value)
{
    checkStorable(m_fileName, section, key, value);
    const std::string_view sectionName = IniText::trim(section);
    const std::string_view keyName = IniText::trim(key);

    const std::optional<std::string> target = IniFileIo::resolveLinks(m_fileName);
    if (!target || target->empty() || target->back() == '/') throw EIniFileException(m_fileName);

    FileBytes file;
    const FileBytes::Status status = file.read(*target);
    if (status == FileBytes::Status::Failed)
        throw EIniFileException(m_fileName); // never rewrite what could not be read whole
    const bool exists = status == FileBytes::Status::Read;
    // Checked before anything else, so that a write that changes nothing is
    // refused for a read-only file too.
    if (exists && !IniFileIo::mayWrite(*target, file.info())) throw EIniFileException(m_fileName);

    const std::string_view content = file.bytes();
    const IniFileIo::FileInfo* original = exists ? &file.info() : nullptr;
    const IniText::Location where = IniText::locate(content, sectionName, keyName);
    bool written = false;
    IniFileIo::FileInfo after{};
    if (where.entryFound) {
        if (content.substr(where.valueBegin, where.valueEnd - where.valueBegin) == value)
            return; // holds this value already: the file stays untouched
        written = IniFileIo::replaceFile(
            *target, original, {content.substr(0, where.valueBegin), value, content.substr(where.valueEnd)}, &after);
    } else if (where.sectionFound) {
        written = IniFileIo::replaceFile(*target, original,
                                         {content.substr(0, where.insertAt),
                                          where.insertNeedsLineEnd ? IniText::kLineEnd : std::string_view(), keyName,
                                          "=", value, IniText::kLineEnd, content.substr(where.insertAt)},
                                         &after);
    } else {
        // A new section goes at the end, after a blank line.
        std::string_view lead;
        if (!content.empty()) {
            const bool needsLineEnd = !IniText::endsWithLineEnd(content);
            const bool needsBlankLine = !IniText::lastLineIsBlank(content);
            lead = std::string_view("\r\n\r\n", (needsLineEnd ? 2 : 0) + (needsBlankLine ? 2 : 0));
        }
        written = IniFileIo::replaceFile(
            *target, original,
            {content, lead, "[", sectionName, "]", IniText::kLineEnd, keyName, "=", value, IniText::kLineEnd}, &after);
    }
    if (!written) throw EIniFileException(m_fileName);
    m_pendingSync = true;
    m_lastWrite = IniFileIo::stampOf(after);
}

FileStamp StampOf(const std::string& path) { return IniFileIo::stampAt(path); }

void TIniFile::ReadSections(std::vector<std::string>& sections) const
{
    FileBytes file;
    if (file.read(m_fileName) != FileBytes::Status::Read) {
        sections.clear();
        return;
    }
    IniText::listSections(file.bytes(), sections, kSectionListBufferSize);
}

void TIniFile::UpdateFile()
{
    if (!m_pendingSync) return;
    m_pendingSync = false;
    const std::optional<std::string> target = IniFileIo::resolveLinks(m_fileName);
    if (!target || !IniFileIo::syncFile(*target)) throw EIniFileException(m_fileName);
}
