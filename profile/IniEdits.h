#pragma once

// The writing rules of a profile's text: what one write of a key changes in
// the file's bytes. TIniFile's single writes and its batches apply the same
// edits, so a batch leaves exactly the bytes its writes one by one would.

#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace IniEdits {

// One key to write: section, key and value as a caller passes them.
struct Write {
    std::string section;
    std::string key;
    std::string value;
};

// The bytes from `at` to `at + erase` are replaced by `insert`.
struct Edit {
    std::size_t at = 0;
    std::size_t erase = 0;
    std::string insert;
};

// The change one write makes to `content`, or nothing when the entry holds
// the value already. An existing entry gets the new value in place (its key
// keeps its spelling); a new entry goes after the last entry of its section;
// a new section goes at the end of the file, after a blank line.
std::optional<Edit> plan(std::string_view content, const Write& write);

// Applies the writes in order; true when the content is not what it was.
bool apply(std::string& content, std::span<const Write> writes);

// The whole value of an entry (no length limit), nothing when the file has
// no such entry.
std::optional<std::string_view> valueOf(std::string_view content, std::string_view section, std::string_view key);

} // namespace IniEdits
