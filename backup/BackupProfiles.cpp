#include "backup/BackupProfiles.h"

#include "backup/BackupFiles.h"
#include "dialogs/MessageBox.h"
#include "platform/DateText.h"
#include "platform/Files.h"

#include <QString>

namespace {

// Makes room for today's copy: an old one that cannot be deleted is made a
// plain writable file, which the copy then overwrites.
void clearOldBackup(const std::string& path, bool deleteAgain)
{
    if (platform::deleteFile(path)) return;
    platform::resetAttributes(path);
    if (deleteAgain) platform::deleteFile(path);
}

struct Outcome {
    QString backedUp;
    QString failed;
};

void copyInto(const std::string& source, const std::string& target, const char* afterTarget, Outcome& outcome)
{
    if (platform::copyFile(source, target))
        outcome.backedUp += QString::fromStdString(target) + QLatin1String(afterTarget);
    else
        outcome.failed += QString::fromStdString(source) + QLatin1Char('\n');
}

} // namespace

void BackupProfiles(const BackupPlace& place, bool showResult, bool alwaysAsk)
{
    if ((place.askBackup || alwaysAsk) && !MessageBox::confirm(QStringLiteral("Do you want to make a backup now?")))
        return;
    const std::string& dir = place.systemDir;
    const std::string date = platform::todayText(place.today).toStdString();
    Outcome outcome;

    std::string userSource = systemFile(dir, place.currentUserFileName);
    if (!platform::fileExists(userSource)) userSource = systemFile(dir, UserIniName);
    if (platform::fileExists(userSource)) {
        const std::string target = systemFile(dir, datedUserFileName(date));
        if (platform::sameFile(userSource, target)) {
            // The user file is today's backup itself (opened as a custom user
            // file): it already is what the copy would make.
            outcome.backedUp += QString::fromStdString(target) + QLatin1Char('\n');
        } else {
            if (platform::fileExists(target)) {
                if (!MessageBox::confirm(
                        QStringLiteral("Found a backup from today, do you want to override this one?")))
                    return;
                clearOldBackup(target, false);
            }
            copyInto(userSource, target, "\n", outcome);
        }
    }

    const std::string gameSource = systemFile(dir, GameIniName);
    if (platform::fileExists(gameSource)) {
        const std::string target = systemFile(dir, datedGameFileName(date));
        if (platform::sameFile(target, userSource)) {
            // Today's UT2003 backup name is the current user file: never
            // written over with UT2003.INI.
            outcome.failed += QString::fromStdString(gameSource) + QLatin1Char('\n');
        } else {
            if (platform::fileExists(target)) clearOldBackup(target, true);
            copyInto(gameSource, target, "", outcome);
        }
    }

    if (!outcome.failed.isEmpty())
        MessageBox::warning(QStringLiteral("Could not backup the following file(s): \n") + outcome.failed +
                            QStringLiteral("\nPlease backup the file(s) manually"));
    else if (showResult)
        MessageBox::information(QStringLiteral("The following INI files have been backupped: (showing new files)\n") +
                                outcome.backedUp);
}
