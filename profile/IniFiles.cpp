#include "profile/IniFiles.h"

#include "profile/IniEdits.h"
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
    const auto prefix = [&] { return "Unable to write to " + path + ": "; };
    if (IniText::containsLineBreak(section)) throw ECorvaneError(prefix() + "a section name cannot hold a line break.");
    if (IniText::containsLineBreak(key))
        throw ECorvaneError(prefix() + "a key in section " + quoted(section) + " cannot hold a line break.");
    if (IniText::containsLineBreak(value))
        throw ECorvaneError(prefix() + "the value of " + quoted(key) + " in section " + quoted(section) +
                            " cannot hold a line break.");
    if (!IniText::isStorableKey(IniText::trim(key), value))
        throw ECorvaneError(prefix() + "the key " + quoted(key) + " in section " + quoted(section) +
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

namespace {

// The file a write goes to, read whole, once every check a write makes
// before it changes anything has passed.
struct WriteTarget {
    std::string path;
    FileBytes file;
    bool exists = false;
};

void openForWrite(const std::string& fileName, WriteTarget& target)
{
    const std::optional<std::string> resolved = IniFileIo::resolveLinks(fileName);
    if (!resolved || resolved->empty() || resolved->back() == '/') throw EIniFileException(fileName);
    target.path = *resolved;
    const FileBytes::Status status = target.file.read(target.path);
    if (status == FileBytes::Status::Failed)
        throw EIniFileException(fileName); // never rewrite what could not be read whole
    target.exists = status == FileBytes::Status::Read;
    // Checked before anything else, so that a write that changes nothing is
    // refused for a read-only file too.
    if (target.exists && !IniFileIo::mayWrite(target.path, target.file.info())) throw EIniFileException(fileName);
}

} // namespace

void TIniFile::WriteString(const std::string& section, const std::string& key, const std::string& value)
{
    checkStorable(m_fileName, section, key, value);
    WriteTarget target;
    openForWrite(m_fileName, target);
    const std::string_view content = target.file.bytes();
    const std::optional<IniEdits::Edit> edit = IniEdits::plan(content, {section, key, value});
    if (!edit) return; // holds this value already: the file stays untouched
    IniFileIo::FileInfo after{};
    const bool written = IniFileIo::replaceFile(
        target.path, target.exists ? &target.file.info() : nullptr,
        {content.substr(0, edit->at), edit->insert, content.substr(edit->at + edit->erase)}, &after);
    if (!written) throw EIniFileException(m_fileName);
    m_pendingSync = true;
    m_lastWrite = IniFileIo::stampOf(after);
}

std::string TIniFile::plannedContent(std::span<const IniEdits::Write> writes) const
{
    for (const IniEdits::Write& w : writes)
        checkStorable(m_fileName, w.section, w.key, w.value);
    WriteTarget target;
    openForWrite(m_fileName, target);
    std::string content(target.file.bytes());
    IniEdits::apply(content, writes);
    return content;
}

void TIniFile::noteReplaced()
{
    const std::optional<std::string> target = IniFileIo::resolveLinks(m_fileName);
    m_lastWrite = IniFileIo::stampAt(target.value_or(m_fileName));
}

void TIniFile::WriteStrings(std::span<const IniEdits::Write> writes)
{
    for (const IniEdits::Write& w : writes)
        checkStorable(m_fileName, w.section, w.key, w.value);
    if (writes.empty()) return;
    WriteTarget target;
    openForWrite(m_fileName, target);
    std::string content(target.file.bytes());
    if (!IniEdits::apply(content, writes)) return; // every key holds its value already
    IniFileIo::FileInfo after{};
    if (!IniFileIo::replaceFile(target.path, target.exists ? &target.file.info() : nullptr, {content}, &after))
        throw EIniFileException(m_fileName);
    m_pendingSync = true;
    m_lastWrite = IniFileIo::stampOf(after);
}

FileStamp stampOf(const std::string& path) { return IniFileIo::stampAt(path); }

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
