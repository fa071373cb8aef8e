#include "app/Environment.h"

Environment Environment::system(const std::string& executableDir)
{
    Environment env;
    env.executableDir = executableDir;
    env.completed();
    return env;
}

Environment& Environment::completed()
{
    if (!registry) registry = std::make_shared<WineInstallerRegistry>();
    if (!shell) shell = std::make_shared<ProcessShellStarter>();
    if (!installations)
        installations = [] { return platform::findInstallations(platform::SearchPlaces::ofThisUser()); };
    return *this;
}
