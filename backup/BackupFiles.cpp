#include "backup/BackupFiles.h"

#include "platform/Files.h"
#include "platform/Paths.h"

std::string DatedUserFileName(const std::string& dateText) { return "User_" + dateText + ".INI"; }

std::string DatedGameFileName(const std::string& dateText) { return "UT2003_" + dateText + ".INI"; }

std::string SystemFile(const std::string& systemDir, const std::string& name)
{
    // No System directory, no file: never one of the working directory.
    if (systemDir.empty()) return {};
    return platform::ResolveNoCase(systemDir, name);
}

bool CopyInOrder(const std::string& systemDir, const FileCopy& first, const FileCopy& second)
{
    for (const FileCopy* copy : {&first, &second}) {
        if (!platform::CopyFile(SystemFile(systemDir, copy->from), SystemFile(systemDir, copy->to))) return false;
    }
    return true;
}

bool MakeBakCopies(const std::string& systemDir, const std::string& userFileName)
{
    for (const char* bak : {UserBakName, GameBakName})
        platform::DeleteFile(SystemFile(systemDir, bak));
    return CopyInOrder(systemDir, {userFileName, UserBakName}, {GameIniName, GameBakName});
}

void PutBakCopiesBack(const std::string& systemDir, const std::string& userFileName)
{
    if (!platform::FileExists(SystemFile(systemDir, UserBakName))) return;
    for (const FileCopy& copy : {FileCopy{UserBakName, userFileName}, FileCopy{GameBakName, GameIniName}})
        platform::CopyFile(SystemFile(systemDir, copy.from), SystemFile(systemDir, copy.to));
}
