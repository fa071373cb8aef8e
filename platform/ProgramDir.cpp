#include "platform/ProgramDir.h"

#include "platform/Files.h"
#include "platform/Paths.h"

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <climits>
#include <cstdlib>

namespace platform {

namespace {

std::string environment(const char* name)
{
    const char* value = std::getenv(name);
    return value ? std::string(value) : std::string();
}

// mkdir -p, with the modes a configuration directory gets.
void makeDirectories(const std::string& path)
{
    std::size_t pos = 1;
    while (pos <= path.size()) {
        pos = path.find('/', pos);
        if (pos == std::string::npos) pos = path.size();
        const std::string part = path.substr(0, pos);
        if (!part.empty() && !directoryExists(part)) ::mkdir(part.c_str(), 0700);
        ++pos;
    }
}

} // namespace

std::string configHome(const std::string& xdgConfigHome, const std::string& home)
{
    // A relative XDG_CONFIG_HOME is invalid and ignored.
    if (!xdgConfigHome.empty() && xdgConfigHome.front() == '/') return AddBackslash(xdgConfigHome);
    if (home.empty()) return {};
    return AddBackslash(home) + ".config/";
}

std::string stateHome(const std::string& xdgStateHome, const std::string& home)
{
    if (!xdgStateHome.empty() && xdgStateHome.front() == '/') return AddBackslash(xdgStateHome);
    if (home.empty()) return {};
    return AddBackslash(home) + ".local/state/";
}

std::string programStateDir()
{
    const std::string base = stateHome(environment("XDG_STATE_HOME"), homeDirectory());
    return base.empty() ? std::string() : base + "corvane2003/";
}

ProgramDirs chooseProgramDirs(const std::string& executableDir, bool executableDirWritable,
                              const std::string& xdgConfigHome, const std::string& home)
{
    const std::string exeDir = AddBackslash(executableDir);
    ProgramDirs dirs{exeDir, exeDir};

    // An installed copy keeps its data in <prefix>/share/corvane2003 beside
    // <prefix>/bin, unless the data lies beside the executable. Such a copy
    // is shared by every user of the system, so its configuration is per
    // user even where the user may write the executable's directory (root,
    // or a prefix in the user's home).
    bool installed = false;
    if (!fileExists(resolveNoCase(exeDir, "ReadMe.txt"))) {
        const std::string shared = exeDir + "../share/corvane2003/";
        if (directoryExists(shared)) {
            char buffer[PATH_MAX];
            dirs.data = ::realpath(shared.c_str(), buffer) ? AddBackslash(buffer) : shared;
            installed = true;
        }
    }
    if (executableDirWritable && !installed) return dirs;

    const std::string perUser = configHome(xdgConfigHome, home);
    if (!perUser.empty()) {
        dirs.config = perUser + "corvane2003/";
        makeDirectories(dirs.config.substr(0, dirs.config.size() - 1));
    }
    return dirs;
}

ProgramDirs locateProgramDirs(const std::string& executableDir)
{
    const std::string exeDir = AddBackslash(executableDir);
    const bool writable = !exeDir.empty() && ::access(exeDir.c_str(), W_OK) == 0;
    return chooseProgramDirs(exeDir, writable, environment("XDG_CONFIG_HOME"), homeDirectory());
}

} // namespace platform
