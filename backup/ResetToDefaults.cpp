#include "backup/ResetToDefaults.h"

#include "backup/BackupFiles.h"
#include "dialogs/MessageBox.h"
#include "platform/Files.h"

namespace {

constexpr const char* DefaultUserName = "DefUser.ini";
constexpr const char* DefaultGameName = "Default.ini";

} // namespace

void ResetToDefaults(const std::string& systemDir, const std::string& userFileName,
                     const std::function<void()>& reloadPages)
{
    using namespace MessageBox;
    if (!confirm(QStringLiteral("The current settings will be backupped\n"
                                "Are you sure you want to restore the default settings?")))
        return;
    if (!MakeBakCopies(systemDir, userFileName) &&
        show(Kind::Warning, QStringLiteral("Could not backup the INI files\nWant to continue anyway?"),
             Buttons::YesNo) != Answer::Yes)
        return;
    const bool defaultsThere = platform::FileExists(SystemFile(systemDir, DefaultUserName)) &&
                               platform::FileExists(SystemFile(systemDir, DefaultGameName));
    if (!defaultsThere || !CopyInOrder(systemDir, {DefaultUserName, userFileName}, {DefaultGameName, GameIniName})) {
        warning(QStringLiteral("Could not copy the DefUser.ini and/or Default.ini\n"
                               "Settings have not been restored to default"));
        PutBakCopiesBack(systemDir, userFileName);
        return;
    }
    if (reloadPages) reloadPages();
    information(QStringLiteral("The settings are back to default now\n"
                               "Your old settings are now in the User.BAK and UT2003.BAK files"));
}
