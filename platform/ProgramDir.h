#pragma once

#include <string>

namespace platform {

// Where the program keeps its configuration (Corvane2003.ini) and where it
// reads its own data (ReadMe.txt, pictures), both ending in the separator.
struct ProgramDirs {
    std::string config;
    std::string data;
};

// The executable's directory, as on Windows, when it is writable and holds
// the program's data or no data lies elsewhere (a portable copy). An
// installed copy (its data in <prefix>/share/corvane2003/ beside
// <prefix>/bin) and a read-only copy keep the configuration in
// $XDG_CONFIG_HOME/corvane2003/ (default ~/.config/corvane2003/).
ProgramDirs locateProgramDirs(const std::string& executableDir);

// The decision of LocateProgramDirs with its inputs given: whether the
// executable's directory may be written, $XDG_CONFIG_HOME and $HOME. Creates
// the per-user configuration directory when it is chosen.
ProgramDirs chooseProgramDirs(const std::string& executableDir, bool executableDirWritable,
                              const std::string& xdgConfigHome, const std::string& home);

// $XDG_CONFIG_HOME when it is an absolute path, else ~/.config/; ends in the
// separator; empty without either.
std::string configHome(const std::string& xdgConfigHome, const std::string& home);

// $XDG_STATE_HOME when it is an absolute path, else ~/.local/state/; ends in
// the separator; empty without either.
std::string stateHome(const std::string& xdgStateHome, const std::string& home);

// Where the program keeps what it must find again at its next start (the
// journal of an interrupted change to the profiles, their history):
// $XDG_STATE_HOME/corvane2003/, ending in the separator. Not created here.
std::string programStateDir();

} // namespace platform
