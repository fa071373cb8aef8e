#pragma once

#include <QDialog>

class QPlainTextEdit;
class QPushButton;

// Shows the program's ReadMe.txt.
class TfrmReadme : public QDialog {
    Q_OBJECT
public:
    // `programDir` ends in the separator; the text is read from
    // programDir + "ReadMe.txt".
    explicit TfrmReadme(const QString& programDir, QWidget* parent = nullptr);

    QPlainTextEdit* readmeMemo;
    QPushButton* btnOk;
};
