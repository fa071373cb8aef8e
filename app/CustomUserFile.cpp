#include "app/CustomUserFile.h"

#include "core/RunTime.h"

#include "dialogs/MessageBox.h"
#include "dialogs/ModalRunner.h"
#include "platform/Files.h"
#include "platform/Paths.h"

#include <QFileDialog>
#include <QFileInfo>

namespace {

// A file dialog for the game's profiles, starting in the directory of the
// current user file.
void prepare(QFileDialog& dialog, const std::string& currentUserFile)
{
    dialog.setNameFilter(QStringLiteral("Ini files (*.ini)"));
    dialog.setOption(QFileDialog::HideNameFilterDetails);
    dialog.setDefaultSuffix(QStringLiteral("ini"));
    dialog.setDirectory(QFileInfo(QString::fromStdString(currentUserFile)).absolutePath());
    dialog.setSizeGripEnabled(true);
}

// The chosen path; a name typed without an extension gets ".ini".
std::string chosenFile(const QFileDialog& dialog)
{
    std::string path = dialog.selectedFiles().value(0).toStdString();
    if (!path.empty() && platform::fileNamePart(path).find('.') == std::string::npos) path += ".ini";
    return path;
}

// The game's own files, which no user file may become: UT2003.ini is the
// other profile, and the reset copies the defaults.
constexpr const char* GameOwnFiles[] = {"UT2003.ini", "Default.ini", "DefUser.ini"};

// `chosen` as a file of its directory: an existing file there in any letter
// case is the one meant, as the game's platform would find it.
std::string asFileOfItsDirectory(const std::string& chosen)
{
    const QFileInfo info(QString::fromStdString(chosen));
    return platform::resolveNoCase(platform::AddBackslash(info.absolutePath().toStdString()),
                                   info.fileName().toStdString());
}

// The game's own file that `chosen` is, by its name or as a file (a link to
// it, another spelling of it), if any.
QString gameOwnFile(const RunTime& rt, const std::string& chosen)
{
    const QString name = QString::fromStdString(platform::fileNamePart(chosen));
    for (const char* own : GameOwnFiles) {
        if (name.compare(QLatin1String(own), Qt::CaseInsensitive) == 0) return QLatin1String(own);
        for (const std::string& dir : {rt.ProfileDir, rt.SystemDir})
            if (!dir.empty() && platform::sameFile(chosen, platform::resolveNoCase(dir, own))) return QLatin1String(own);
    }
    return {};
}

// Refuses a chosen file that is one of the game's own, with a warning.
bool refusedAsGameFile(const RunTime& rt, const std::string& chosen)
{
    const QString own = gameOwnFile(rt, chosen);
    if (own.isEmpty()) return false;
    MessageBox::warning(QLatin1Char('"') + own +
                        QStringLiteral("\" is one of the game's own files. Please choose another name"));
    return true;
}

std::string currentUserFileOf(const RunTime& rt) { return rt.UserProfile ? rt.UserProfile->FileName() : std::string(); }

} // namespace

std::optional<std::string> chooseUserFileToOpen(const RunTime& rt, QWidget* parent)
{
    QFileDialog OpenDialog(parent);
    OpenDialog.setObjectName(QStringLiteral("OpenDialog"));
    prepare(OpenDialog, currentUserFileOf(rt));
    OpenDialog.setAcceptMode(QFileDialog::AcceptOpen);
    OpenDialog.setFileMode(QFileDialog::ExistingFile);
    MessageBox::information(QStringLiteral("Select the User.ini, or a User.ini with a different filename"));
    if (ModalRunner::exec(OpenDialog) != QDialog::Accepted) return std::nullopt;
    const std::string chosen = chosenFile(OpenDialog);
    if (chosen.empty() || refusedAsGameFile(rt, chosen)) return std::nullopt;
    return chosen;
}

std::optional<std::string> copyUserFileAs(const RunTime& rt, QWidget* parent)
{
    const std::string current = currentUserFileOf(rt);
    QFileDialog SaveDialog(parent);
    SaveDialog.setObjectName(QStringLiteral("SaveDialog"));
    prepare(SaveDialog, current);
    SaveDialog.setAcceptMode(QFileDialog::AcceptSave);
    SaveDialog.setOption(QFileDialog::DontConfirmOverwrite);
    if (ModalRunner::exec(SaveDialog) != QDialog::Accepted) return std::nullopt;
    const std::string typed = chosenFile(SaveDialog);
    if (typed.empty()) return std::nullopt;
    const std::string chosen = asFileOfItsDirectory(typed);
    if (refusedAsGameFile(rt, chosen)) return std::nullopt;

    // The copy takes the user file as last saved (the file itself, chosen
    // again under any name, is that already). One that fails is said, and
    // the program stays on the current file rather than switching to
    // whatever file of that name the System directory holds.
    if (!platform::sameFile(current, chosen) && !platform::copyFile(current, chosen)) {
        MessageBox::warning(QStringLiteral("Could not copy the user file to:\n") + QString::fromStdString(chosen) +
                            QStringLiteral("\nYour current ini has not changed"));
        return std::nullopt;
    }
    return chosen;
}
