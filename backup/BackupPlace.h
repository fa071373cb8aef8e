#pragma once

#include <QDate>

#include <string>

// What a backup needs of the main window's run-time state: where the profile
// files lie, which user file is current, and whether to ask first.
struct BackupPlace {
    std::string systemDir;              // the game's System directory, ending in the separator
    std::string currentUserFileName;    // "User.ini" unless a custom user file is open
    bool askBackup = true;              // ask "Do you want to make a backup now?" before a backup
    QDate today = QDate::currentDate(); // the day whose date text names the dated pair
};
