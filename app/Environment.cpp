#include "app/Environment.h"

Environment Environment::system(const std::string& executableDir)
{
    Environment env;
    env.executableDir = executableDir;
    env.registry = std::make_shared<WineInstallerRegistry>();
    env.shell = std::make_shared<ProcessShellStarter>();
    env.installations = [] { return platform::findInstallations(platform::SearchPlaces::ofThisUser()); };
    return env;
}
