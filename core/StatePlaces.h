#pragma once

#include <string>

// Where the program keeps, outside the game's directories, what belongs to
// one directory of profiles (the journal of a replacement of the pair, the
// history): `<state>/<kind>/<folder of the directory>/`, ending in the
// separator; empty when there is no state directory.
std::string stateFolderOf(const std::string& stateDir, const std::string& kind, const std::string& profileDir);

// The folder name of a profile directory: the end of its canonical path,
// made safe as a file name (readable: "System-..." of which game), and a
// short hash of the whole path (unique), so one directory has one folder
// however it is reached.
std::string profileFolderName(const std::string& profileDir);
