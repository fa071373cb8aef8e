#pragma once

#include <QLineEdit>

// A directory field: a line edit with a browse button at its right end that
// picks a directory in a folder dialog.
class DirectoryEdit : public QLineEdit {
    Q_OBJECT
public:
    explicit DirectoryEdit(QWidget* parent = nullptr);
    void browse();
};
