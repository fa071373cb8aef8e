#pragma once

#include "platform/Paths.h"

#include <string>

namespace platform {

// Where an installation of the game keeps what the program works with. The
// Windows game (installed under Wine or copied) keeps the profiles in its
// System directory and is started as System/UT2003.exe. The native Linux
// version keeps each user's profiles in ~/.ut2003/System/ (its demo in
// ~/.ut2003demo/System/), while its own files stay in the game's System
// directory, and is started through the launcher in the game directory.
struct GameLayout {
    bool native = false;
    std::string profileDir; // User.ini, UT2003.ini and their backups, ending in the separator
    std::string program;    // what starts the game
    std::string workDir;    // the directory it starts in
};

// The layout of the game whose System directory is `systemDir` (ending in
// the separator), for the user whose home directory is `home`.
GameLayout layoutOf(const std::string& systemDir, const std::string& home = homeDirectory());

// A game directory of the native version: its System directory holds the
// program ut2003-bin.
bool isNativeGame(const std::string& gameDir);

} // namespace platform
