#pragma once

// The reading rules of a profile's text, shared by every read and write of
// TIniFile. Everything works on the file's bytes in place: no line is copied.
//
// - A line ends at CR LF, at a lone LF or at a lone CR.
// - Blanks are space, tab, VT, FF, CR, LF and 0x1A (the DOS end-of-file
//   mark); they are trimmed around section names, keys and values, and around
//   the names a caller asks for.
// - A section header is a line whose trimmed text starts with "[" and has a
//   "]" after it; the name runs to the last "]" and is trimmed, anything after
//   that "]" is ignored. A line with "[" but no "]" is no header.
// - An entry is a line with an "=" inside a section: the key is the text before
//   the first "=", the value the text after it. A line without "=" is no entry.
// - Names are compared with ASCII letters folded; other bytes must match.

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace IniText {

inline constexpr std::string_view kLineEnd = "\r\n"; // the line end of every line the program writes

bool isBlank(unsigned char c) noexcept;
std::string_view trim(std::string_view text) noexcept;
bool equalsNoCase(std::string_view a, std::string_view b) noexcept;
bool containsLineBreak(std::string_view text) noexcept;

// Where an entry is in a profile's bytes, or where a new one would go.
struct Location {
    bool sectionFound = false;
    bool entryFound = false;
    // The entry's value without the blanks around it (an empty value sits
    // after the line's blanks).
    std::size_t valueBegin = 0;
    std::size_t valueEnd = 0;
    // Where a new entry of the section goes: the start of the line after the
    // section's last entry, or after its header when it has no entry.
    std::size_t insertAt = 0;
    // The line before insertAt is the file's last and has no line end.
    bool insertNeedsLineEnd = false;
};

// Finds `key` in the first section named `section` (both already trimmed).
Location locate(std::string_view content, std::string_view section, std::string_view key) noexcept;

// For every section whose header name `wanted` accepts, in file order, every
// entry of it: its key (without blanks) and where its value lies. Cheaper than
// a locate() per key when many keys of a file are wanted.
void forEachEntry(std::string_view content, const std::function<bool(std::string_view section)>& wanted,
                  const std::function<void(std::string_view section, std::string_view key, std::size_t valueBegin,
                                           std::size_t valueEnd)>& visit);

// Sets `names` to the name of every section header in file order, as far as the names
// with a zero byte after each and the list's closing zero byte fit
// `bufferSize` bytes, the size of the list buffer the game's platform hands
// out. A name that does not fit whole ends the list: a cut name would name a
// section that is not there. Empty names cannot be told from the list's end
// and are left out.
void listSections(std::string_view content, std::vector<std::string>& names, std::size_t bufferSize);

// True when the text of the line `key "=" value` reads back as that entry:
// keys holding "=" or looking like a section header do not.
bool isStorableKey(std::string_view key, std::string_view value) noexcept;

// The ways of finding the "[" that may begin a header: the plain loop, and on
// x86-64 a 16-byte vector search, which is used there. The tests check one
// against the other.
enum class HeaderSearch { Scalar, Sse2 };
std::vector<HeaderSearch> availableHeaderSearches();
HeaderSearch useHeaderSearch(HeaderSearch search) noexcept; // gives the one used before

// True when the file ends with a line end (or is empty).
bool endsWithLineEnd(std::string_view content) noexcept;
// True when the file's last line (the one before its final line end) holds
// only blanks, or the file is empty.
bool lastLineIsBlank(std::string_view content) noexcept;

} // namespace IniText
