#pragma once

#include <string>
#include <vector>

namespace platform {

// Where the installations of the game are looked for: the user's Wine
// prefixes (plain Wine, Lutris, Bottles, PlayOnLinux, Steam's Proton in
// every Steam library, Heroic) and the native Linux version's default places.
struct SearchPlaces {
    std::string home;       // the user's home directory
    std::string winePrefix; // the prefix named by $WINEPREFIX; may be empty
    std::string systemRoot; // put before the system-wide places (/usr/local/games, /opt); empty for "/"

    static SearchPlaces ofThisUser(); // $HOME and $WINEPREFIX
};

// One installation: what kind of place it was found in, and the game
// directory (the one holding System/).
struct FoundInstallation {
    std::string kind; // "Wine", "Lutris", "Bottles", "PlayOnLinux", "Proton", "Heroic" or "Native"
    std::string gameDir;
};

// The installations found, each game directory once, in the order of the
// places: in every Wine prefix the installer's entries (full game, then
// demo) and then copies within three levels below drive_c that hold
// System/UT2003.exe; then the native version's default places. The reading is
// bounded: no directory is read twice, a place that cannot be read is
// skipped, and nothing outside the places and their drive_c is walked.
// Never throws.
std::vector<FoundInstallation> findInstallations(const SearchPlaces& places);

} // namespace platform
