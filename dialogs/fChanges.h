#pragma once

#include "core/KeyChanges.h"

#include <QDialog>

#include <span>

class QPushButton;
class QTextEdit;

// A read-only window with the changes between two states of the profiles,
// key by key: the backup manager's comparison of a dated pair with the
// current files.
class TfrmChanges : public QDialog {
    Q_OBJECT
public:
    TfrmChanges(const QString& title, std::span<const KeyChanges> files, const QString& beforeTitle,
                const QString& afterTitle, QWidget* parent = nullptr);

    QTextEdit* reChanges;
    QPushButton* btnClose;
};
