#pragma once

#include "core/ProfileHistory.h"
#include "core/ProfilePair.h"

#include <QString>

#include <functional>
#include <optional>
#include <string>

// The history of the open profiles as the operations keep it: every
// replacement of the pair keeps the state it replaces before anything is
// written and the state it put in place after, and a change made outside the
// program (while it runs, or while it was closed) is kept when it is seen. A
// history that cannot be written stops nothing: the window is told once why
// it is off.
class HistoryKeeper {
public:
    // The history of the pair `userFile` and `gameFile` (full paths) in
    // `profileDir`. Takes the files as they are now as the last state known;
    // when the newest entry left them otherwise, they were changed while the
    // program was closed, and that is kept first.
    HistoryKeeper(ProfileHistory history, std::string profileDir, std::string userFile, std::string gameFile);

    // Told, once, why the history could not be written.
    void onFailure(std::function<void(const QString&)> tell);

    // What a replacement of the pair tells the history.
    ProfilePair::Observer observer();
    // The files as they are now, if they differ from the last state known:
    // a change made outside the program.
    void noteOutside();

    const ProfileHistory& history() const { return m_history; }
    // The pair as it is now; nothing when a file cannot be read.
    std::optional<ProfileState> current() const;

private:
    void failed(const QString& why);

    ProfileHistory m_history;
    std::string m_profileDir;
    std::string m_userName;
    std::string m_gameName;
    std::optional<ProfileState> m_known; // the last state the program knew of
    std::string m_pending;               // the entry whose after is still to keep
    std::function<void(const QString&)> m_tell;
    QString m_failure; // kept until someone can be told
    bool m_told = false;
};
