#pragma once

#include "core/HistoryChanges.h"

#include <QDialog>

#include <functional>
#include <optional>

class QListWidget;
class QPushButton;
class QTextEdit;

// The history of the profiles: every entry, newest first, with what it
// changed in each file; the selected entry's changes in full; and "Put back",
// which returns both files to how they were before the selected change.
class TfrmHistory : public QDialog {
    Q_OBJECT
public:
    // Puts `wanted` in place of the pair: the main window asks its questions,
    // replaces both files (keeping that as an entry too) and reloads its
    // pages. Gives the pair as it is afterwards, or nothing when nothing was
    // put back.
    // `when` is the time of the entry as the list shows it.
    using PutBack = std::function<std::optional<ProfileState>(const ProfileState& wanted, const QString& when)>;

    // `current` is the pair as it is now.
    TfrmHistory(const ProfileHistory& history, const ProfileState& current, PutBack putBack, QWidget* parent = nullptr);

    void btnPutBackClick();

    QListWidget* lbHistory;
    QTextEdit* reHistoryChanges;
    QPushButton* btnPutBack;
    QPushButton* btnClose;

private:
    void fillList();
    void showEntry(int row);

    HistoryChanges m_changes;
    PutBack m_putBack;
};
