#pragma once

#include <QWidget>

#include <functional>

class QLabel;

// The strip between the tool bar and the pages (Panel2): where the game and
// the open profiles are, whether the game runs, what the program did on its
// own, and the logo, which opens the about box when clicked.
class StatusStrip : public QWidget {
    Q_OBJECT
public:
    StatusStrip(std::function<void()> logoClicked, QWidget* parent);

    // The lines of the game directory and of the open profiles.
    void showPlaces(const QString& gameDir, const QString& userFile, const QString& gameFile);
    // What the program did on its own; whether the game runs (empty: it does not).
    void showNotice(const QString& text);
    void showGameStatus(const QString& text);

    QLabel* lblDir;
    QLabel* lblCurrUserIni;
    QLabel* lblCurrUt2003ini;
    QLabel* lblGameRunning; // shown while the game runs
    QLabel* lblNotice;      // what the program did on its own (a reload, the history off)
    QLabel* Image1;
};
