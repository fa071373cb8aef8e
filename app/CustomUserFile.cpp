#include "app/CustomUserFile.h"

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

// The game's own files of the System directory, which no user file may
// become: UT2003.ini is the other profile, and the reset copies the defaults.
constexpr const char* GameOwnFiles[] = {"UT2003.ini", "Default.ini", "DefUser.ini"};

// The game's own file that `chosen` names, if any. Only the name counts:
// the user file is always looked up in the System directory by its name, in
// any letter case, wherever the dialog put it.
QString gameOwnFile(const std::string& chosen)
{
    const QString name = QString::fromStdString(platform::fileNamePart(chosen));
    for (const char* own : GameOwnFiles)
        if (name.compare(QLatin1String(own), Qt::CaseInsensitive) == 0) return QLatin1String(own);
    return {};
}

// Refuses a chosen file that is one of the game's own, with a warning.
bool refusedAsGameFile(const std::string& chosen)
{
    const QString own = gameOwnFile(chosen);
    if (own.isEmpty()) return false;
    MessageBox::warning(QLatin1Char('"') + own +
                        QStringLiteral("\" is one of the game's own files. Please choose another name"));
    return true;
}

} // namespace

std::optional<std::string> chooseUserFileToOpen(const std::string& currentUserFile, QWidget* parent)
{
    QFileDialog OpenDialog(parent);
    OpenDialog.setObjectName(QStringLiteral("OpenDialog"));
    prepare(OpenDialog, currentUserFile);
    OpenDialog.setAcceptMode(QFileDialog::AcceptOpen);
    OpenDialog.setFileMode(QFileDialog::ExistingFile);
    MessageBox::information(QStringLiteral("Select the User.ini, or a User.ini with a different filename"));
    if (ModalRunner::exec(OpenDialog) != QDialog::Accepted) return std::nullopt;
    const std::string chosen = chosenFile(OpenDialog);
    if (chosen.empty() || refusedAsGameFile(chosen)) return std::nullopt;
    return chosen;
}

std::optional<std::string> copyUserFileAs(const std::string& currentUserFile, QWidget* parent)
{
    QFileDialog SaveDialog(parent);
    SaveDialog.setObjectName(QStringLiteral("SaveDialog"));
    prepare(SaveDialog, currentUserFile);
    SaveDialog.setAcceptMode(QFileDialog::AcceptSave);
    SaveDialog.setOption(QFileDialog::DontConfirmOverwrite);
    if (ModalRunner::exec(SaveDialog) != QDialog::Accepted) return std::nullopt;
    const std::string chosen = chosenFile(SaveDialog);
    if (chosen.empty() || refusedAsGameFile(chosen)) return std::nullopt;

    // The copy takes the user file as last saved (the file itself, chosen
    // again, is that already). One that fails is said, and the program stays
    // on the current file rather than switching to whatever file of that name
    // the System directory holds.
    if (!platform::sameFile(currentUserFile, chosen) && !platform::copyFile(currentUserFile, chosen)) {
        MessageBox::warning(QStringLiteral("Could not copy the user file to:\n") + QString::fromStdString(chosen) +
                            QStringLiteral("\nYour current ini has not changed"));
        return std::nullopt;
    }
    return chosen;
}
