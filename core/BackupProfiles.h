#pragma once

#include "core/BackupPlace.h"
#include "core/Questions.h"

// Makes today's dated pair, User_<date>.INI from the current user file (or
// User.ini when that is missing) and UT2003_<date>.INI from UT2003.INI,
// asking first when `place.askBackup` is on or `alwaysAsk` is given (the
// quality presets always ask; the setting itself is not touched). The pair is
// written together: a copy that fails leaves both earlier backups of the day
// as they were. Failures are always in the outcome; `showResult` decides
// whether success is.
Outcome BackupProfiles(const BackupPlace& place, bool showResult, Questions& questions, bool alwaysAsk = false);
