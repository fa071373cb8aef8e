#include "core/BackupProfiles.h"

#include "core/BackupNames.h"
#include "core/ProfilePair.h"
#include "platform/DateText.h"
#include "platform/Files.h"

namespace {

QString pathText(const std::string& path) { return QString::fromStdString(path); }

} // namespace

Outcome BackupProfiles(const BackupPlace& place, bool showResult, Questions& questions, bool alwaysAsk)
{
    if ((place.askBackup || alwaysAsk) && !questions.confirm(QStringLiteral("Do you want to make a backup now?")))
        return Outcome::cancelled();
    const std::string& dir = place.systemDir;
    const std::string date = platform::todayText(place.today).toStdString();
    std::vector<ProfilePair::Copy> copies;
    QString backedUp, failed;

    std::string userSource = systemFile(dir, place.currentUserFileName);
    if (!platform::fileExists(userSource)) userSource = systemFile(dir, UserIniName);
    if (platform::fileExists(userSource)) {
        const std::string target = systemFile(dir, datedUserFileName(date));
        if (platform::sameFile(userSource, target)) {
            // The user file is today's backup itself (opened as a custom user
            // file): it already is what the copy would make.
            backedUp += pathText(target) + QLatin1Char('\n');
        } else {
            if (platform::fileExists(target)) {
                if (!questions.confirm(QStringLiteral("Found a backup from today, do you want to override this one?")))
                    return Outcome::cancelled();
                // A read-only backup of today is replaced after Yes.
                if (platform::isReadOnly(target)) platform::resetAttributes(target);
            }
            copies.push_back({userSource, target});
        }
    }

    const std::string gameSource = systemFile(dir, GameIniName);
    if (platform::fileExists(gameSource)) {
        const std::string target = systemFile(dir, datedGameFileName(date));
        if (platform::sameFile(target, userSource)) {
            // Today's UT2003 backup name is the current user file: never
            // written over with UT2003.INI.
            failed += pathText(gameSource) + QLatin1Char('\n');
        } else {
            if (platform::isReadOnly(target)) platform::resetAttributes(target);
            copies.push_back({gameSource, target});
        }
    }

    if (ProfilePair::copy(copies, place.journalDir, "Backup").done) {
        // The user file's backup on a line of its own, UT2003's last.
        for (const ProfilePair::Copy& copy : copies)
            backedUp += pathText(copy.to) + (copy.from == gameSource ? QString() : QStringLiteral("\n"));
    } else {
        for (const ProfilePair::Copy& copy : copies)
            failed += pathText(copy.from) + QLatin1Char('\n');
    }

    if (!failed.isEmpty())
        return Outcome::failure(Notice::Kind::Warning, QStringLiteral("Could not backup the following file(s): \n") +
                                                           failed +
                                                           QStringLiteral("\nPlease backup the file(s) manually"));
    return showResult ? Outcome::success(
                            QStringLiteral("The following INI files have been backupped: (showing new files)\n") +
                            backedUp)
                      : Outcome::success();
}
