#pragma once

#include <string>

// The backup files beside the profiles in the game's System directory: the
// dated pair of a day and the single-generation .BAK copies. Names are found
// without regard to letter case; every copy replaces its target atomically.

constexpr const char* UserIniName = "User.ini";
constexpr const char* GameIniName = "UT2003.INI";
constexpr const char* UserBakName = "User.BAK";
constexpr const char* GameBakName = "UT2003.BAK";

// "User_" + date text + ".INI" and "UT2003_" + date text + ".INI".
std::string DatedUserFileName(const std::string& dateText);
std::string DatedGameFileName(const std::string& dateText);

// The full path of `name` in the System directory, spelled as the directory
// spells it when such a file exists.
std::string SystemFile(const std::string& systemDir, const std::string& name);

// One copy between two files of the System directory.
struct FileCopy {
    std::string from;
    std::string to;
};

// Copies `first` and, only when that succeeded, `second`. True when both did.
bool CopyInOrder(const std::string& systemDir, const FileCopy& first, const FileCopy& second);

// Taken just before a restore or reset overwrites the profiles: deletes
// User.BAK and UT2003.BAK, copies the user file `userFileName` to User.BAK
// and, when that succeeded, UT2003.INI to UT2003.BAK. True when both copies
// succeeded.
bool MakeBakCopies(const std::string& systemDir, const std::string& userFileName);

// After a failed restore or reset: when User.BAK exists, copies it back over
// the user file and UT2003.BAK back over UT2003.INI (results ignored).
void PutBakCopiesBack(const std::string& systemDir, const std::string& userFileName);
