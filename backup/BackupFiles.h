#pragma once

#include <initializer_list>
#include <string>

// The backup files beside the profiles in the game's System directory: the
// dated pair of a day and the single-generation .BAK copies. Names are found
// without regard to letter case; every copy replaces its target atomically.

constexpr const char* UserIniName = "User.ini";
constexpr const char* GameIniName = "UT2003.INI";
constexpr const char* UserBakName = "User.BAK";
constexpr const char* GameBakName = "UT2003.BAK";

// "User_" + date text + ".INI" and "UT2003_" + date text + ".INI".
std::string datedUserFileName(const std::string& dateText);
std::string datedGameFileName(const std::string& dateText);

// The full path of `name` in the System directory, spelled as the directory
// spells it when such a file exists.
std::string systemFile(const std::string& systemDir, const std::string& name);

// One copy between two files (full paths).
struct FileCopy {
    std::string from;
    std::string to;
};

// Every source is a file the copies can read (not missing, not a directory,
// not unreadable).
bool sourcesReadable(std::initializer_list<FileCopy> copies);

// Copies onto the profile files that all take place or none do: the sources
// are checked before the first copy, no two copies may write one file, and
// when a copy fails the files copied over before it get back their content
// from before (kept aside by this call, never taken from older .BAK files).
// A copy onto its own source (one file under two names) has nothing to do.
// True when every copy took place; false leaves every target as it was.
bool copyAllOrNothing(std::initializer_list<FileCopy> copies);

// Taken just before a restore or reset overwrites the profiles: deletes
// User.BAK and UT2003.BAK, copies the user file `userFileName` to User.BAK
// and, when that succeeded, UT2003.INI to UT2003.BAK. True when both copies
// succeeded.
bool makeBakCopies(const std::string& systemDir, const std::string& userFileName);
