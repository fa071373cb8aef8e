#pragma once

#include <string>
#include <vector>

// Starts programs and opens links, as the Windows shell's "open" does.
class ShellStarter {
public:
    virtual ~ShellStarter() = default;
    // Starts `program` detached with the parameter string (split into an
    // argument vector, never passed through a shell) in `workDir`.
    virtual bool Start(const std::string& program, const std::string& parameters, const std::string& workDir) = 0;
    virtual bool OpenUrl(const std::string& url) = 0;
};

class ProcessShellStarter : public ShellStarter {
public:
    bool Start(const std::string& program, const std::string& parameters, const std::string& workDir) override;
    bool OpenUrl(const std::string& url) override;
};

namespace platform {
// Splits a parameter string into arguments the way a Windows program's
// command line is split: blanks separate, double quotes group.
std::vector<std::string> splitParameters(const std::string& parameters);

// `argument` written so that SplitParameters gives it back as one argument,
// whatever blanks, quotes and backslashes it holds; an argument that needs
// no quotes is returned as it is.
std::string quoteArgument(const std::string& argument);

// A file that begins with "MZ": a Windows program, started through Wine.
bool isWindowsExecutable(const std::string& path);

// What is run for `program` and its parameter string: a Windows program
// becomes "wine" with the program's path as first argument, in the Wine
// prefix that holds the program when there is one; a native program or
// script is run itself.
struct LaunchCommand {
    std::string program;
    std::vector<std::string> arguments;
    std::string winePrefix; // WINEPREFIX for wine; empty: the one inherited
};
LaunchCommand makeLaunchCommand(const std::string& program, const std::string& parameters);
} // namespace platform
