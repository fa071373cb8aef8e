#include "backup/BackupFiles.h"

#include "platform/Files.h"
#include "platform/KeptFile.h"
#include "platform/Paths.h"

#include <memory>
#include <vector>

std::string datedUserFileName(const std::string& dateText) { return "User_" + dateText + ".INI"; }

std::string datedGameFileName(const std::string& dateText) { return "UT2003_" + dateText + ".INI"; }

std::string systemFile(const std::string& systemDir, const std::string& name)
{
    // No System directory, no file: never one of the working directory.
    if (systemDir.empty()) return {};
    return platform::resolveNoCase(systemDir, name);
}

bool sourcesReadable(std::initializer_list<FileCopy> copies)
{
    for (const FileCopy& copy : copies)
        if (!platform::isReadableFile(copy.from)) return false;
    return true;
}

namespace {

bool sameTarget(const std::string& a, const std::string& b) { return a == b || platform::sameFile(a, b); }

} // namespace

bool copyAllOrNothing(std::initializer_list<FileCopy> copies)
{
    if (!sourcesReadable(copies)) return false;
    const std::vector<FileCopy> paths(copies);
    for (const FileCopy& copy : paths)
        if (copy.to.empty()) return false;
    for (std::size_t i = 0; i < paths.size(); ++i)
        for (std::size_t j = i + 1; j < paths.size(); ++j)
            if (sameTarget(paths[i].to, paths[j].to)) return false; // one profile written over the other
    std::vector<std::unique_ptr<platform::KeptFile>> kept;
    const auto putBack = [&] {
        for (auto it = kept.rbegin(); it != kept.rend(); ++it)
            (*it)->putBack();
        return false;
    };
    for (const FileCopy& copy : paths) {
        if (platform::sameFile(copy.from, copy.to)) continue;
        kept.push_back(std::make_unique<platform::KeptFile>(copy.to));
        if (!kept.back()->kept() || !platform::copyFile(copy.from, copy.to)) return putBack();
    }
    return true;
}

bool makeBakCopies(const std::string& systemDir, const std::string& userFileName)
{
    for (const char* bak : {UserBakName, GameBakName})
        platform::deleteFile(systemFile(systemDir, bak));
    for (const FileCopy& copy : {FileCopy{userFileName, UserBakName}, FileCopy{GameIniName, GameBakName}})
        if (!platform::copyFile(systemFile(systemDir, copy.from), systemFile(systemDir, copy.to))) return false;
    return true;
}
