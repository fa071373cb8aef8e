#include "core/ProfileRestore.h"

#include "core/BackupNames.h"
#include "core/PairNotReplaced.h"
#include "platform/Files.h"
#include "profile/IniFileIo.h"

#include <QFile>

namespace {

constexpr const char* DefaultUserName = "DefUser.ini";
constexpr const char* DefaultGameName = "Default.ini";

const QString CopyFailed = QStringLiteral("Could not copy the files\nSettings have not been restored");

// What each restore asks and says, and whether it keeps the pair as .BAK copies first.
struct Texts {
    const char* operation; // as the journal and the history name it
    QString question;
    bool keepsBak;
    QString bakFailed; // asked when the .BAK copies could not be made
    QString failed;
    QString done;
};

Texts textsOf(const RestoreRequest& r, const QString& userBak)
{
    const QString bakPair = userBak + QStringLiteral(" and UT2003.BAK files");
    const QString restoreQuestion = QStringLiteral("The current settings will be backupped\n") +
                                    QStringLiteral("Are you sure you want to restore the ") + r.label +
                                    QStringLiteral(" settings?");
    const QString restored = QStringLiteral("The settings are restored\nYour previous settings are now in the ") + bakPair;
    const QString keepFailed = QStringLiteral("Could not backup the current INI files\nWant to continue anyway?");
    switch (r.kind) {
    case RestoreKind::Dated:
        return {"Restore", restoreQuestion, true, keepFailed, CopyFailed, restored};
    case RestoreKind::History:
        return {"Put back", restoreQuestion, true, keepFailed, CopyFailed, restored};
    case RestoreKind::Bak:
        // The .BAK copies stay as they are: they hold what was put back.
        return {".BAK restore",
                QStringLiteral("Your current settings will be replaced by those in the .BAK files\n"
                               "Are you sure you want to restore the .BAK files?"),
                false, {}, CopyFailed, QStringLiteral("The settings are restored from the ") + bakPair};
    case RestoreKind::Defaults:
        break;
    }
    return {"Reset to defaults",
            QStringLiteral("The current settings will be backupped\n"
                           "Are you sure you want to restore the default settings?"),
            true, QStringLiteral("Could not backup the INI files\nWant to continue anyway?"),
            QStringLiteral("Could not copy the DefUser.ini and/or Default.ini\nSettings have not been restored to default"),
            QStringLiteral("The settings are back to default now\nYour old settings are now in the ") + bakPair};
}

bool readSource(const RestoreSource& source, std::string& out)
{
    if (source.bytes) {
        out = *source.bytes;
        return true;
    }
    IniFileIo::FileBytes file;
    if (source.path.empty() || file.read(source.path) != IniFileIo::FileBytes::Status::Read) return false;
    out.assign(file.bytes());
    return true;
}

// The .BAK copies of the pair as it is, both or neither. A .BAK name that is
// the open user file itself (User.BAK opened as the user file) is no copy to
// make: that would replace the file being edited.
bool keepAsBak(const BackupPlace& place, const std::string& userFile, const std::string& gameFile)
{
    const std::string userBak = systemFile(place.systemDir, bakFileNameOf(place.currentUserFileName));
    const std::string gameBak = systemFile(place.systemDir, GameBakName);
    if (platform::sameFile(userBak, userFile) || platform::sameFile(gameBak, userFile)) return false;
    return ProfilePair::copy({{userFile, userBak}, {gameFile, gameBak}}, place.journalDir, ".BAK copies").done;
}

} // namespace

std::string userFileOf(const BackupPlace& place)
{
    return systemFile(place.systemDir, place.currentUserFileName.empty() ? UserIniName : place.currentUserFileName);
}

std::string gameFileOf(const BackupPlace& place) { return systemFile(place.systemDir, GameIniName); }

RestoreOutcome restoreProfiles(const BackupPlace& place, const RestoreRequest& request, Questions& questions)
{
    const QString userBak = QString::fromStdString(bakFileNameOf(place.currentUserFileName));
    const Texts texts = textsOf(request, userBak);
    RestoreOutcome outcome;
    const auto fail = [&](const QString& text) {
        outcome.notices.push_back({Notice::Kind::Warning, text});
        return outcome;
    };
    if (!questions.confirm(texts.question)) return outcome;
    const std::string userFile = userFileOf(place), gameFile = gameFileOf(place);
    // Sources that cannot be read whole change nothing, not even the .BAK copies.
    std::string user, game;
    if (userFile.empty() || !readSource(request.user, user) || !readSource(request.game, game))
        return fail(texts.failed);
    if (texts.keepsBak) {
        outcome.bakCopiesMade = keepAsBak(place, userFile, gameFile);
        if (!outcome.bakCopiesMade && !questions.ask(Questions::Kind::Warning, texts.bakFailed)) return outcome;
    }
    const ProfilePair::Result replaced =
        ProfilePair::replace({{userFile, user}, {gameFile, game}}, place.journalDir, texts.operation, place.history);
    if (!replaced.done)
        return fail(replaced.undone ? texts.failed
                                    : texts.failed + QLatin1Char('\n') +
                                          QString::fromStdString(PairNotReplaced::consequence(false)));
    outcome.done = true;
    outcome.notices.push_back({Notice::Kind::Information, texts.done});
    return outcome;
}

RestoreRequest datedRestore(const BackupPlace& place, const std::string& dateText)
{
    return {RestoreKind::Dated,
            QFile::decodeName(QByteArray::fromStdString(dateText)),
            {systemFile(place.systemDir, datedUserFileName(dateText)), std::nullopt},
            {systemFile(place.systemDir, datedGameFileName(dateText)), std::nullopt}};
}

RestoreRequest bakRestore(const BackupPlace& place)
{
    return {RestoreKind::Bak,
            {},
            {systemFile(place.systemDir, bakFileNameOf(place.currentUserFileName)), std::nullopt},
            {systemFile(place.systemDir, GameBakName), std::nullopt}};
}

RestoreRequest defaultsRestore(const std::string& systemDir)
{
    return {RestoreKind::Defaults,
            {},
            {systemFile(systemDir, DefaultUserName), std::nullopt},
            {systemFile(systemDir, DefaultGameName), std::nullopt}};
}
