#pragma once

#include <string>

// The backup files beside the profiles: the dated pair of a day and the
// single-generation .BAK copies. Names are found without regard to letter
// case.

constexpr const char* UserIniName = "User.ini";
constexpr const char* GameIniName = "UT2003.INI";
constexpr const char* GameBakName = "UT2003.BAK";

// "User_" + date text + ".INI" and "UT2003_" + date text + ".INI".
std::string datedUserFileName(const std::string& dateText);
std::string datedGameFileName(const std::string& dateText);

// The .BAK copy of a user file: its name with ".BAK" in place of its
// extension ("User.BAK", "Second.BAK"), so that each user file has its own.
std::string bakFileNameOf(const std::string& userFileName);

// The full path of `name` in the profile directory, spelled as the directory
// spells it when such a file exists; empty without a directory.
std::string systemFile(const std::string& systemDir, const std::string& name);
