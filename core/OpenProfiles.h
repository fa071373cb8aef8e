#pragma once

#include "core/Questions.h"
#include "core/RunTime.h"

#include <functional>
#include <optional>
#include <string>

class TCustomIniFile;

// The open profiles: the program's configuration, the game's two profile
// files and the run-time values read with them. It runs the setup loop
// (through the prompts it is given, so that it needs no window) and knows
// whether the profiles are open.
class OpenProfiles {
public:
    // What the setup dialog answered.
    struct SetupAnswer {
        std::string dir;
        bool autoBackup = true;
        bool askBackup = true;
        bool checkOnStartup = true;
        bool showReadme = true;
    };
    struct Prompts {
        // Shows the setup dialog over the configuration; nothing: cancelled.
        std::function<std::optional<SetupAnswer>(const TCustomIniFile& config)> setup;
        // Shows the readme window after a setup that asks for it.
        std::function<void()> readme;
        // Tells what the setup's answer cannot be ("Directory does not exist!")
        // before the setup is shown again.
        std::function<void(const Notice&)> tell;
    };

    OpenProfiles(std::string executableDir, Prompts prompts);

    RunTime& rt() { return m_rt; }
    const RunTime& rt() const { return m_rt; }

    // The first part of LoadAll: reads the configuration, runs the setup
    // when asked or needed, finds the System directory, finishes or undoes a
    // change to its profiles that a kill interrupted, and opens both
    // profiles. Not done when no user file was found; the profiles of an
    // earlier open then stay as they were, but count as closed. The notices
    // say what was found on the way.
    Outcome open(bool forceSetup);
    bool isOpen() const { return m_open; }
    // The game directory as configured, for the status strip.
    std::string configuredDir() const;
    // Remembers the user file's name for the next open.
    void setCurrentUserIni(const std::string& fileName);
    // Releases the accessors, which makes their writes durable.
    void release();

private:
    void setupLoop();
    bool openFiles(Outcome& outcome);

    std::string m_executableDir;
    Prompts m_prompts;
    RunTime m_rt;
    bool m_open = false;
};
