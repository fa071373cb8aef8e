#pragma once

#include <QDialog>

class DirectoryEdit;
class InstallerRegistry;
class QCheckBox;
class QLabel;
class QPushButton;
class TCustomIniFile;

// The setup dialog: where the game lives and how the program behaves at start.
class TfrmInit : public QDialog {
    Q_OBJECT
public:
    // The directory is proposed from the installer's registry entries (the
    // full game's folder wins over the demo's); the boxes come from `config`.
    TfrmInit(const InstallerRegistry& registry, const TCustomIniFile& config, QWidget* parent = nullptr);

    static constexpr const char* DemoKey = "SOFTWARE\\Unreal Technology\\Installed Apps\\UT2003Demo";
    static constexpr const char* GameKey = "SOFTWARE\\Unreal Technology\\Installed Apps\\UT2003";

    DirectoryEdit* dirEdit;
    QCheckBox* cbAutoBackup;
    QCheckBox* cbAskBackup;
    QCheckBox* cbShowReadme;
    QCheckBox* cbUpdates;
    QPushButton* OKBtn;
    QPushButton* CancelBtn;

private:
    QLabel* Label1;
};
