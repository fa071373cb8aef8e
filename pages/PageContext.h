#pragma once

#include "core/RunTime.h"

#include <functional>

class ShellStarter;

// What the main window hands to each page: the run-time values and open
// profiles it reads (replaced by every LoadAll, so a page looks them up when
// it uses them), the system services it uses, and the window's operations a
// page may ask for.
struct PageContext {
    const RunTime& rt;
    ShellStarter& shell;                          // starts the game and opens links
    std::function<void()> loadAllPages;           // reload every page (after a whole-file change)
    std::function<void(bool forceSetup)> loadAll; // reopen the profiles and reload every page
    // Asks before a write over a profile changed on disk since the pages were
    // loaded from it; false: write nothing. Empty: nothing to ask.
    std::function<bool()> mayOverwriteProfiles;
};
