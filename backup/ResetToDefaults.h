#pragma once

#include <functional>
#include <string>

// Replaces the current user file by the game's DefUser.ini and UT2003.INI by
// its Default.ini, after a question and with the old files kept as User.BAK
// and UT2003.BAK. `reloadPages` runs when both were replaced. Both profiles
// are replaced or neither: the defaults are checked before anything is
// copied, and a copy that fails puts back what the reset replaced. The
// profiles and their .BAK copies lie in `profileDir`, the defaults in the
// game's `systemDir` (the same directory but for the native Linux game).
void resetToDefaults(const std::string& profileDir, const std::string& systemDir, const std::string& userFileName,
                     const std::function<void()>& reloadPages);
inline void resetToDefaults(const std::string& systemDir, const std::string& userFileName,
                            const std::function<void()>& reloadPages)
{
    resetToDefaults(systemDir, systemDir, userFileName, reloadPages);
}
