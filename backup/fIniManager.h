#pragma once

#include "backup/BackupPlace.h"

#include <QDialog>

#include <functional>
#include <string>

class QGroupBox;
class QLabel;
class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;

// The backup manager: lists the dated backups of the System directory,
// compares the pair of a chosen date with the current files, restores or
// deletes it, puts the .BAK copies back and makes a new backup.
class TfrmIniManager : public QDialog {
    Q_OBJECT
public:
    // `reloadPages` runs after a restore: the main window reloads the key
    // binds, aliases, general settings and game settings pages, in that order.
    TfrmIniManager(const BackupPlace& place, std::function<void()> reloadPages, QWidget* parent = nullptr);

    void FormCreate();
    void RefreshBakButton();
    void btnRestoreClick();
    void btnCompareClick();
    void btnBAKClick();
    void btnDelClick();
    void btnBackupClick();

    QTreeWidget* treelist;
    QPushButton* btnRestore;
    QPushButton* btnCompare;
    QPushButton* btnDel;
    QPushButton* btnBAK;
    QPushButton* btnBackup;

private:
    QTreeWidgetItem* selectedRow() const;
    static std::string dateOf(const QTreeWidgetItem* row);

    QGroupBox* GroupBox1;
    QLabel* Label1;
    BackupPlace m_place;
    std::function<void()> m_reloadPages;
};
