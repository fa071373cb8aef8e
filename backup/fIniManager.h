#pragma once

#include "core/BackupPlace.h"

#include <QDialog>

#include <functional>
#include <string>

class QGroupBox;
class QLabel;
class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;
struct RestoreRequest;

// The backup manager: lists the dated backups of the System directory,
// compares the pair of a chosen date with the current files, restores or
// deletes it, puts the .BAK copies back and makes a new backup.
class TfrmIniManager : public QDialog {
    Q_OBJECT
public:
    // `reloadPages` runs after a restore: the main window reloads every page.
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
    // Restores the open pair from the request's sources, then has the pages reloaded.
    void restore(const RestoreRequest& request);
    QTreeWidgetItem* selectedRow() const;
    static std::string dateOf(const QTreeWidgetItem* row);

    QGroupBox* GroupBox1;
    QLabel* Label1;
    BackupPlace m_place;
    std::function<void()> m_reloadPages;
};
