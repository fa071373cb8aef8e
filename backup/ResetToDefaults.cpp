#include "backup/ResetToDefaults.h"

#include "backup/BackupFiles.h"
#include "dialogs/MessageBox.h"

namespace {

constexpr const char* DefaultUserName = "DefUser.ini";
constexpr const char* DefaultGameName = "Default.ini";

} // namespace

void resetToDefaults(const std::string& profileDir, const std::string& systemDir, const std::string& userFileName,
                     const std::function<void()>& reloadPages)
{
    using namespace MessageBox;
    if (!confirm(QStringLiteral("The current settings will be backupped\n"
                                "Are you sure you want to restore the default settings?")))
        return;
    const QString failed = QStringLiteral("Could not copy the DefUser.ini and/or Default.ini\n"
                                          "Settings have not been restored to default");
    const std::initializer_list<FileCopy> copies = {
        {systemFile(systemDir, DefaultUserName), systemFile(profileDir, userFileName)},
        {systemFile(systemDir, DefaultGameName), systemFile(profileDir, GameIniName)}};
    // Defaults that cannot be read change nothing, not even the .BAK copies.
    if (!sourcesReadable(copies)) {
        warning(failed);
        return;
    }
    if (!makeBakCopies(profileDir, userFileName) &&
        show(Kind::Warning, QStringLiteral("Could not backup the INI files\nWant to continue anyway?"),
             Buttons::YesNo) != Answer::Yes)
        return;
    if (!copyAllOrNothing(copies)) {
        warning(failed);
        return;
    }
    if (reloadPages) reloadPages();
    information(QStringLiteral("The settings are back to default now\n"
                               "Your old settings are now in the User.BAK and UT2003.BAK files"));
}
