#pragma once

#include "core/ProfileWatch.h"
#include "core/Questions.h"

#include <QObject>
#include <QString>

#include <functional>

struct RunTime;

// Guards the open profiles against changes made outside the editor: the game
// rewrites both files when it exits, and a player may edit them by hand. It
// watches the files, says when the pages should follow them, asks (through
// the questions it is given) before a Save writes over such a change, and
// knows whether the game is running.
class OutsideChangeGuard : public QObject {
    Q_OBJECT
public:
    // `gameRunning` empty: the game's process is looked for in the process table.
    OutsideChangeGuard(const RunTime& rt, std::function<bool()> gameRunning, QObject* parent = nullptr);

    // The files as they are now are the ones the pages show.
    void remember();
    // Before a Save: asks before writing over a file changed outside since
    // the pages were loaded from it, and warns once per run that a running
    // game writes over what is saved. False: write nothing.
    bool mayOverwrite(Questions& questions);
    // Whether the pages should be reloaded from files changed outside. With
    // `edited` (unsaved edits) the user is asked first; a No keeps the edits
    // over those files until the next remember(). `notice` gets the status
    // strip's text after a reload.
    bool shouldReload(bool edited, Questions& questions, QString& notice);

    bool gameRunning() const;
    // The status strip's line about the running game, empty while it does not run.
    QString gameStatus() const;

signals:
    // The file system reported a change to one of the files.
    void touched();

private:
    const RunTime& m_rt;
    std::function<bool()> m_gameRunning;
    ProfileWatch m_watch;
    bool m_gameWarned = false;
};
