#include "platform/GameLayout.h"

#include "platform/Files.h"

namespace platform {

namespace {

constexpr const char* NativeProgram = "ut2003-bin";
constexpr const char* Launcher = "ut2003";
constexpr const char* DemoLauncher = "ut2003_demo";

// The directory above `dir`, ending in the separator.
std::string parentOf(std::string dir)
{
    while (!dir.empty() && dir.back() == Separator)
        dir.pop_back();
    const std::size_t slash = dir.rfind(Separator);
    return slash == std::string::npos ? std::string() : dir.substr(0, slash + 1);
}

} // namespace

bool isNativeGame(const std::string& gameDir)
{
    return !gameDir.empty() && fileExists(resolveNoCase(resolveNoCase(gameDir, "System"), NativeProgram));
}

GameLayout layoutOf(const std::string& systemDir, const std::string& home)
{
    GameLayout layout;
    layout.profileDir = systemDir;
    layout.program = systemDir.empty() ? std::string() : resolveNoCase(systemDir, "UT2003.exe");
    layout.workDir = systemDir;
    const std::string binary = systemDir.empty() ? std::string() : resolveNoCase(systemDir, NativeProgram);
    if (binary.empty() || !fileExists(binary)) return layout;

    // The demo's installer puts its own launcher in the game directory.
    layout.native = true;
    const std::string root = parentOf(systemDir);
    const bool demo = !fileExists(root + Launcher) && fileExists(root + DemoLauncher);
    if (!home.empty())
        layout.profileDir = AddBackslash(resolveNoCase(home, demo ? ".ut2003demo/System" : ".ut2003/System"));
    if (const std::string launcher = root + (demo ? DemoLauncher : Launcher); fileExists(launcher)) {
        layout.program = launcher;
        layout.workDir = root;
    } else {
        layout.program = binary;
    }
    return layout;
}

} // namespace platform
