#pragma once

#include <string>
#include <vector>

// Paths as the program composes them. The game's own notation is
// "C:\UT2003\System\"; here the separator is this system's.
namespace platform {

constexpr char Separator = '/';

// Appends the separator to a non-empty path that does not end in one.
std::string AddBackslash(const std::string& path);

bool directoryExists(const std::string& path);

// The entry of `dir` whose name equals `name` without regard to letter case
// (the game's files are spelled "UT2003.ini" and "UT2003.INI" alike); when
// there is none, `name` as given. Returns the full path (dir + entry).
std::string resolveNoCase(const std::string& dir, const std::string& name);

// Names (not paths) of the regular files of `dir` matching a wildcard pattern
// ("*" and "?"), compared without regard to letter case, in directory order.
std::vector<std::string> findFiles(const std::string& dir, const std::string& pattern);

// Whether `name` matches the wildcard `pattern` ("*" any run of characters,
// "?" one character), without regard to letter case.
bool wildcardMatch(const std::string& pattern, const std::string& name);

// The file-name part of a path.
std::string fileNamePart(const std::string& path);

// The user's home directory: $HOME, else the one the user database names;
// empty without either.
std::string homeDirectory();

} // namespace platform
