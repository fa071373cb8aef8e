#pragma once

#include <QWidget>

class QPlainTextEdit;

// The taunt list: the game's speech commands with what the character says,
// the animated taunts and the team chat variables, to copy into a key's
// binding. The text may be edited in the window but is never saved.
class TfrmTaunts : public QWidget {
    Q_OBJECT
public:
    explicit TfrmTaunts(QWidget* mainWindow = nullptr);

    // Opens one more taunt list, modeless, centred over `mainWindow`; it is
    // released when the user closes it.
    static TfrmTaunts* showNew(QWidget* mainWindow);

    // The fixed text of the list.
    static QString TauntText();

    QPlainTextEdit* dxMemo1;
};
