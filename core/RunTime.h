#pragma once

#include "core/HistoryKeeper.h"
#include "core/KeyWrite.h"
#include "profile/IniFiles.h"

#include <memory>
#include <string>

// The values the main window holds for the whole run and hands to every page:
// where the game and the program live, the three long-lived profile
// accessors, and the flags of the start-up sequence.
struct RunTime {
    static constexpr const char* Version = CORVANE_VERSION; // the project's version in CMakeLists.txt

    std::string ProgramDir;          // the program's directory (ReadMe.txt, pictures), ending in the separator
    std::string ConfigDir;           // where Corvane2003.ini lives: ProgramDir unless that is read-only
    std::string SystemDir;           // the game's System directory, ending in the separator; empty until located
    std::string ProfileDir;          // where the profiles and their backups live: SystemDir, or for the native
                                     // Linux game ~/.ut2003/System/
    std::string CurrentUserFileName; // file name of the current user file, "User.ini" unless changed
    std::string JournalDir;          // where a replacement of the profile pair keeps its journal; empty: none
    std::string ViewportManagerClass = "WinDrv.WindowsClient";
    std::string RenderDeviceClass = "D3DDrv.D3DRenderDevice";

    std::unique_ptr<TIniFile> ToolConfig;  // Corvane2003.ini
    std::unique_ptr<TIniFile> GameProfile; // UT2003.ini
    std::unique_ptr<TIniFile> UserProfile; // User.ini or the custom user file
    std::unique_ptr<HistoryKeeper> History; // the history of the open pair; none without a state directory

    bool AutoBackup = true;
    bool AskBackup = true;
    bool CheckOnStartup = true;
    bool PagesLoaded = false;
    bool StartupComplete = false;
    bool ManualUpdateCheck = false;

    // The open accessor that holds a file's keys; nullptr while it is not open.
    TIniFile* accessor(ProfileFile file) const
    {
        return file == ProfileFile::User ? UserProfile.get() : GameProfile.get();
    }
    // The same, or ECorvaneError naming the file that is not open.
    TIniFile& openAccessor(ProfileFile file) const
    {
        if (TIniFile* ini = accessor(file)) return *ini;
        throw ECorvaneError(file == ProfileFile::User ? "The user file is not open" : "UT2003.ini is not open");
    }

    // The game root: SystemDir without its last "System/".
    std::string GameRoot() const
    {
        return SystemDir.size() >= 7 ? SystemDir.substr(0, SystemDir.size() - 7) : std::string();
    }
};
