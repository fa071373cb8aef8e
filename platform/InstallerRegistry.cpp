#include "platform/InstallerRegistry.h"

#include "platform/Paths.h"
#include "profile/IniNumbers.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QString>

#include <sys/stat.h>

#include <cstdlib>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

namespace {

// One value line of system.reg, split into its name and the text after "=".
struct RegLine {
    std::u16string name;
    std::string data;
};

using IniNumbers::hexDigit;

// Decodes an escaped text of system.reg starting at `pos` and running to the
// unescaped `terminator` (which is consumed). Wine writes UTF-16 code units
// above 127 as \x followed by up to four hex digits, control characters as C
// escapes (\n, \t ...) or octal, and escapes "\", and the terminator, with a
// backslash. Other bytes are taken as UTF-8. Returns false when the text is
// not terminated.
bool decodeEscaped(const std::string& text, std::size_t& pos, char terminator, std::u16string& out)
{
    std::string raw; // plain bytes, converted from UTF-8 when a code unit follows
    auto flush = [&]() {
        if (!raw.empty()) {
            out += QString::fromUtf8(raw.data(), static_cast<qsizetype>(raw.size())).toStdU16String();
            raw.clear();
        }
    };
    while (pos < text.size()) {
        const char c = text[pos];
        if (c == terminator) {
            ++pos;
            flush();
            return true;
        }
        if (c != '\\') {
            raw += c;
            ++pos;
            continue;
        }
        ++pos;
        if (pos >= text.size()) break;
        const char e = text[pos];
        char16_t unit = 0;
        bool isUnit = true;
        switch (e) {
        case 'a':
            unit = u'\a';
            ++pos;
            break;
        case 'b':
            unit = u'\b';
            ++pos;
            break;
        case 'e':
            unit = 0x1b;
            ++pos;
            break;
        case 'f':
            unit = u'\f';
            ++pos;
            break;
        case 'n':
            unit = u'\n';
            ++pos;
            break;
        case 'r':
            unit = u'\r';
            ++pos;
            break;
        case 't':
            unit = u'\t';
            ++pos;
            break;
        case 'v':
            unit = u'\v';
            ++pos;
            break;
        case 'x': {
            std::size_t p = pos + 1;
            int value = 0;
            int digits = 0;
            while (digits < 4 && p < text.size() && hexDigit(text[p]) >= 0) {
                value = value * 16 + hexDigit(text[p]);
                ++p;
                ++digits;
            }
            if (digits == 0) {
                unit = u'x';
                ++pos;
            } else {
                unit = static_cast<char16_t>(value);
                pos = p;
            }
            break;
        }
        default:
            if (e >= '0' && e <= '7') {
                int value = 0;
                int digits = 0;
                while (digits < 3 && pos < text.size() && text[pos] >= '0' && text[pos] <= '7') {
                    value = value * 8 + (text[pos] - '0');
                    ++pos;
                    ++digits;
                }
                unit = static_cast<char16_t>(value);
            } else {
                isUnit = false; // "\\", "\"", "\]" and any other escaped byte stand for themselves
                raw += e;
                ++pos;
            }
        }
        if (isUnit) {
            flush();
            out += unit;
        }
    }
    flush();
    return false;
}

std::string toUtf8(const std::u16string& text) { return QString::fromStdU16String(text).toStdString(); }

bool equalKeys(const std::u16string& a, const std::u16string& b)
{
    return QString::fromStdU16String(a).compare(QString::fromStdU16String(b), Qt::CaseInsensitive) == 0;
}

// The string of a value's data: "...", str(2):"..." (an expandable string,
// returned unexpanded), or hex(1)/hex(2) bytes of UTF-16 text. Other types
// hold no text.
std::optional<std::string> stringData(const std::string& data)
{
    std::size_t pos = 0;
    std::string rest = data;
    if (rest.rfind("str(2):", 0) == 0 || rest.rfind("str(1):", 0) == 0) rest = rest.substr(7);
    if (!rest.empty() && rest[0] == '"') {
        pos = 1;
        std::u16string value;
        if (!decodeEscaped(rest, pos, '"', value)) return std::nullopt;
        return toUtf8(value);
    }
    if (rest.rfind("hex(1):", 0) == 0 || rest.rfind("hex(2):", 0) == 0) {
        std::u16string value;
        int high = -1;
        int low = -1;
        for (std::size_t i = 7; i < rest.size(); ++i) {
            const int d = hexDigit(rest[i]);
            if (d < 0) continue;
            // Two hex digits make a byte, two bytes a little-endian code unit.
            if (i + 1 < rest.size() && hexDigit(rest[i + 1]) >= 0) {
                const int byte = d * 16 + hexDigit(rest[i + 1]);
                ++i;
                if (low < 0) {
                    low = byte;
                } else {
                    high = byte;
                    value += static_cast<char16_t>(low | (high << 8));
                    low = high = -1;
                }
            }
        }
        while (!value.empty() && value.back() == u'\0')
            value.pop_back();
        return toUtf8(value);
    }
    return std::nullopt;
}

enum class KeyLookup { Missing, NoValue, Found };

struct KeyResult {
    KeyLookup state = KeyLookup::Missing;
    std::string folder;
};

// The length of the escaped name of a key line ("[name] time") when the
// name is printable ASCII whose only escapes are doubled backslashes, as Wine
// writes almost every key: then it needs no decoding. 0 for any other line.
std::size_t plainKeyLength(const std::string& line)
{
    for (std::size_t i = 1; i < line.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(line[i]);
        if (c == ']') return i - 1;
        if (c < 0x20 || c > 0x7e || c == '"' || (c == '\\' && (++i >= line.size() || line[i] != '\\'))) return 0;
    }
    return 0;
}

// The escaped name at the start of `line` (after "[") equals `escaped`,
// ASCII letters compared without regard to case.
bool equalAscii(const std::string& line, const std::string& escaped)
{
    for (std::size_t i = 0; i < escaped.size(); ++i) {
        const auto fold = [](char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; };
        if (fold(line[i + 1]) != fold(escaped[i])) return false;
    }
    return true;
}

// Reads the value "Folder" of each of `keys` (HKEY_LOCAL_MACHINE paths
// relative to the hive) in one pass over system.reg.
std::vector<KeyResult> readFolders(const std::string& regFile, const std::vector<std::u16string>& keys)
{
    std::vector<KeyResult> results(keys.size());
    // Only a plain file: a named pipe in its place would never end the read.
    struct stat st {};
    if (::stat(regFile.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return results;
    std::ifstream in(regFile, std::ios::binary);
    if (!in) return results;
    std::string text(static_cast<std::size_t>(st.st_size), '\0');
    in.read(text.data(), static_cast<std::streamsize>(text.size()));
    text.resize(static_cast<std::size_t>(in.gcount()));

    const std::u16string folder = u"Folder";
    // A system.reg holds some ten thousand keys: those written in plain
    // ASCII are compared in their escaped form, when the keys sought are
    // printable ASCII.
    std::vector<std::string> asciiKeys;
    for (const std::u16string& key : keys) {
        std::string escaped;
        bool printable = true;
        for (const char16_t c : key) {
            printable = printable && c >= 0x20 && c <= 0x7e && c != u'"' && c != u']';
            escaped += c == u'\\' ? "\\\\" : std::string(1, static_cast<char>(c));
        }
        if (!printable) {
            asciiKeys.clear();
            break;
        }
        asciiKeys.push_back(escaped);
    }
    int current = -1; // index into keys of the key being read, or -1
    std::string line;
    std::string pending; // a value whose data continues on the next line
    for (std::size_t start = 0, end = 0; start < text.size(); start = end + 1) {
        end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        // Only key lines matter outside the keys sought.
        if (current < 0 && pending.empty() && text[start] != '[') continue;
        line.assign(text, start, end - start);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (!pending.empty()) {
            std::size_t start = line.find_first_not_of(" \t");
            pending += start == std::string::npos ? std::string() : line.substr(start);
            line.swap(pending);
            pending.clear();
        }
        if (line.empty() || line[0] == ';' || line[0] == '#') continue;
        if (line[0] == '[') {
            current = -1;
            const std::size_t plain = asciiKeys.size() == keys.size() ? plainKeyLength(line) : 0;
            std::size_t pos = 1;
            std::u16string name;
            if (!plain && !decodeEscaped(line, pos, ']', name)) continue;
            for (std::size_t i = 0; i < keys.size(); ++i) {
                const bool same =
                    plain ? plain == asciiKeys[i].size() && equalAscii(line, asciiKeys[i]) : equalKeys(name, keys[i]);
                if (!keys[i].empty() && same) {
                    current = static_cast<int>(i);
                    if (results[i].state == KeyLookup::Missing) results[i].state = KeyLookup::NoValue;
                    break;
                }
            }
            continue;
        }
        if (current < 0) continue;
        if (line.back() == '\\' && (line.find("=hex") != std::string::npos)) {
            // hex data continues on the next line
            line.pop_back();
            pending = line;
            continue;
        }
        if (line[0] != '"') continue; // "@=" is the default value
        std::size_t pos = 1;
        std::u16string name;
        if (!decodeEscaped(line, pos, '"', name) || pos >= line.size() || line[pos] != '=') continue;
        if (!equalKeys(name, folder)) continue;
        if (auto text = stringData(line.substr(pos + 1))) {
            results[static_cast<std::size_t>(current)].state = KeyLookup::Found;
            results[static_cast<std::size_t>(current)].folder = *text;
        }
    }
    return results;
}

} // namespace

namespace platform {

std::string windowsToUnixPath(const std::string& prefix, const std::string& windowsPath)
{
    const bool hasDrive =
        windowsPath.size() >= 2 && windowsPath[1] == ':' &&
        ((windowsPath[0] >= 'A' && windowsPath[0] <= 'Z') || (windowsPath[0] >= 'a' && windowsPath[0] <= 'z'));
    if (!hasDrive) return windowsPath;

    const std::string dosdevices = AddBackslash(prefix) + "dosdevices";
    const std::string drive = std::string(1, windowsPath[0]) + ":";
    const std::string link = resolveNoCase(dosdevices, drive);
    QString root;
    const QFileInfo linkInfo(QString::fromStdString(link));
    if (linkInfo.isSymLink() || linkInfo.exists()) {
        const QString canonical = linkInfo.canonicalFilePath();
        if (!canonical.isEmpty()) {
            root = canonical;
        } else {
            // A drive link whose target does not exist (yet): follow it by name.
            const QString target = linkInfo.symLinkTarget();
            root = QDir::cleanPath(target.isEmpty() ? linkInfo.absoluteFilePath() : target);
        }
    } else if (windowsPath[0] == 'c' || windowsPath[0] == 'C') {
        root = QString::fromStdString(AddBackslash(prefix) + "drive_c");
    } else {
        return windowsPath;
    }

    std::string rest = windowsPath.substr(2);
    for (char& c : rest) {
        if (c == '\\') c = '/';
    }
    const bool trailing = !rest.empty() && rest.back() == '/';
    while (!rest.empty() && rest.front() == '/')
        rest.erase(rest.begin());
    while (!rest.empty() && rest.back() == '/')
        rest.pop_back();
    // Windows paths ignore letter case; find the directories as they are spelled on disk.
    std::string path = rest.empty() ? root.toStdString() : resolveNoCase(root.toStdString(), rest);
    return trailing ? AddBackslash(path) : path;
}

} // namespace platform

WineInstallerRegistry::WineInstallerRegistry(std::string prefix)
    : m_prefix(std::move(prefix))
{
}

std::string WineInstallerRegistry::DefaultPrefix()
{
    if (const char* prefix = std::getenv("WINEPREFIX"); prefix && *prefix) return prefix;
    const std::string home = platform::homeDirectory();
    return home.empty() ? std::string() : platform::AddBackslash(home) + ".wine";
}

std::optional<std::string> WineInstallerRegistry::ReadFolder(const std::string& key) const
{
    return ReadFolders({key}).front();
}

std::vector<std::optional<std::string>> WineInstallerRegistry::ReadFolders(const std::vector<std::string>& keys) const
{
    std::vector<std::optional<std::string>> folders(keys.size());
    try {
        if (m_prefix.empty()) return folders;
        // Each key is looked for below Wow6432Node first, where a 32-bit
        // installer in a 64-bit prefix writes, then as given.
        std::vector<std::u16string> lookups;
        static const QString software = QStringLiteral("SOFTWARE\\");
        for (const std::string& key : keys) {
            std::string rest = key;
            while (!rest.empty() && rest.front() == '\\')
                rest.erase(rest.begin());
            const QString keyText = QString::fromStdString(rest);
            const QString wow = keyText.startsWith(software, Qt::CaseInsensitive)
                                    ? QStringLiteral("Software\\Wow6432Node\\") + keyText.mid(software.size())
                                    : QString();
            lookups.push_back(wow.toStdU16String()); // empty: matches no key
            lookups.push_back(keyText.toStdU16String());
        }
        const auto results = readFolders(platform::AddBackslash(m_prefix) + "system.reg", lookups);
        for (std::size_t i = 0; i < keys.size(); ++i) {
            // The first location that holds the value wins; a key without it
            // counts only when no location has the value.
            bool anyKey = false;
            for (const KeyResult* result : {&results[2 * i], &results[2 * i + 1]}) {
                if (result->state == KeyLookup::Found) {
                    folders[i] = platform::windowsToUnixPath(m_prefix, result->folder);
                    break;
                }
                anyKey = anyKey || result->state == KeyLookup::NoValue;
            }
            if (!folders[i] && anyKey) folders[i] = std::string();
        }
    } catch (...) {
    }
    return folders;
}
