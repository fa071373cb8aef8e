#include "core/BackupNames.h"

#include "platform/Paths.h"

std::string datedUserFileName(const std::string& dateText) { return "User_" + dateText + ".INI"; }

std::string datedGameFileName(const std::string& dateText) { return "UT2003_" + dateText + ".INI"; }

std::string bakFileNameOf(const std::string& userFileName)
{
    const std::string name = userFileName.empty() ? std::string(UserIniName) : userFileName;
    const std::size_t dot = name.rfind('.');
    return (dot == std::string::npos || dot == 0 ? name : name.substr(0, dot)) + ".BAK";
}

std::string systemFile(const std::string& systemDir, const std::string& name)
{
    // No System directory, no file: never one of the working directory.
    if (systemDir.empty()) return {};
    return platform::resolveNoCase(systemDir, name);
}
