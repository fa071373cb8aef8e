#pragma once

#include "core/OpenProfiles.h"

#include "platform/InstallationFinder.h"
#include "platform/InstallerRegistry.h"

#include <QDialog>

#include <optional>
#include <vector>

class DirectoryEdit;
class QCheckBox;
class QLabel;
class QListWidget;
class QPushButton;
class TCustomIniFile;

// The setup dialog: where the game lives and how the program behaves at start.
class TfrmInit : public QDialog {
    Q_OBJECT
public:
    // The directory is proposed from the installer's registry entries (the
    // full game's folder wins over the demo's), else from the first of the
    // installations found; the boxes come from `config`. The installations
    // found are listed below the directory field, one click puts one there.
    TfrmInit(const InstallerRegistry& registry, const TCustomIniFile& config,
             const std::vector<platform::FoundInstallation>& found = {}, QWidget* parent = nullptr);

    // Shows the dialog modally; its answer, or nothing when cancelled.
    static std::optional<OpenProfiles::SetupAnswer> ask(const InstallerRegistry& registry, const TCustomIniFile& config,
                                                        const std::vector<platform::FoundInstallation>& found,
                                                        QWidget* parent);

    static constexpr const char* DemoKey = InstallerKeys::Demo;
    static constexpr const char* GameKey = InstallerKeys::Game;

    DirectoryEdit* dirEdit;
    QListWidget* lbFound;
    QCheckBox* cbAutoBackup;
    QCheckBox* cbAskBackup;
    QCheckBox* cbShowReadme;
    QCheckBox* cbUpdates;
    QPushButton* OKBtn;
    QPushButton* CancelBtn;

private:
    void fillFound(const std::vector<platform::FoundInstallation>& found);
    void lbFoundClick();

    QLabel* Label1;
    QLabel* lblFound;
};
