#pragma once

#include <functional>
#include <string>

// Replaces the current user file by the game's DefUser.ini and UT2003.INI by
// its Default.ini, after a question and with the old files kept as User.BAK
// and UT2003.BAK. `reloadPages` runs when both were replaced. The profile
// files are never deleted: each copy replaces its target at once, and the
// defaults are looked for before anything is copied, so a game directory
// without them keeps its profiles as they were. The profiles and their .BAK
// copies lie in `profileDir`, the defaults in the game's `systemDir` (the
// same directory but for the native Linux game).
void ResetToDefaults(const std::string& profileDir, const std::string& systemDir, const std::string& userFileName,
                     const std::function<void()>& reloadPages);
inline void ResetToDefaults(const std::string& systemDir, const std::string& userFileName,
                            const std::function<void()>& reloadPages)
{
    ResetToDefaults(systemDir, systemDir, userFileName, reloadPages);
}
