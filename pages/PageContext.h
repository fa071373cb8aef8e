#pragma once

#include "core/RunTime.h"

#include <functional>

class ShellStarter;

// What the main window hands to each page: the run-time values and open
// profiles it reads (replaced by every LoadAll, so a page looks them up when
// it uses them) and the system services it uses.
struct PageContext {
    const RunTime& rt;
    ShellStarter& shell; // starts the game and opens links
    // The guard against changes made outside: asks before a page's own write
    // over a profile changed on disk since the pages were loaded from it;
    // false: write nothing. Empty: nothing to ask.
    std::function<bool()> mayOverwriteProfiles;
};
