#pragma once

#include <QDialog>

class QLabel;

// The about box: the logo and the program's version.
class TfrmAbout : public QDialog {
    Q_OBJECT
public:
    explicit TfrmAbout(QWidget* parent = nullptr);

    QLabel* Image1;
    QLabel* lblVersion;
    QLabel* Label1;
};
