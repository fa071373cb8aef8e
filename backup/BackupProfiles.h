#pragma once

#include "backup/BackupPlace.h"

// Makes today's dated pair, User_<date>.INI from the current user file (or
// User.ini when that is missing) and UT2003_<date>.INI from UT2003.INI,
// asking first when `place.askBackup` is on or `alwaysAsk` is given (the
// quality presets always ask; the setting itself is not touched). Failures are
// always reported; `showResult` decides whether success is.
void BackupProfiles(const BackupPlace& place, bool showResult, bool alwaysAsk = false);
