#pragma once

#include "core/ProfilePair.h"

#include <QDate>

#include <string>

// What a backup or a restore needs of the main window's run-time state: where
// the profile files lie, which user file is open (a restore writes that one
// and UT2003.ini), and whether to ask first.
struct BackupPlace {
    std::string systemDir;              // the game's System directory, ending in the separator
    std::string currentUserFileName;    // "User.ini" unless a custom user file is open
    bool askBackup = true;              // ask "Do you want to make a backup now?" before a backup
    QDate today = QDate::currentDate(); // the day whose date text names the dated pair
    std::string journalDir;             // where a restore keeps the journal of the profile pair
    ProfilePair::Observer history;      // told of the pair's states around a restore
};
