#pragma once

#include "update/UpdatePrompts.h"
#include "update/WebUpdate.h"

#include <QObject>
#include <QString>

#include <functional>
#include <memory>
#include <string>

class ShellStarter;

// The main window's side of the update check: it starts the check, from the
// menu or at start-up, and answers the update component's notifications with
// the program's messages and its progress window, shown through `prompts`.
class UpdateCheck : public QObject {
    Q_OBJECT
public:
    // `version` is the running version, `programDir` the executable's
    // directory (ending in the separator) and `manualUpdateCheck` the main
    // window's flag, which the check sets and clears. `prompts` shows the
    // messages and the progress window. `starter` starts the program again
    // after an update; `executable` is its file name in `programDir` (empty:
    // the running program's).
    UpdateCheck(std::string version, std::string programDir, bool& manualUpdateCheck, ShellStarter& starter,
                std::unique_ptr<UpdatePrompts> prompts, QString executable = {});
    ~UpdateCheck() override;

    // "&Check for updates" (Ctrl+U, tool bar): sets ManualUpdateCheck, then
    // checks. True when the program was updated and started again: the
    // caller ends this program then.
    bool Checkforupdates1Click();
    // The check itself; `manual` false is the start-up check, which leaves
    // ManualUpdateCheck alone and stays silent. Same result as above.
    bool check(bool manual);

    // Run at start, before anything else: finishes or undoes an update that
    // was interrupted while it replaced the program's files, and tells the
    // user what it did. A copy that does not replace its files has no such
    // update: a journal found beside it is left alone.
    void FinishInterruptedUpdate();

    // The update component's notifications.
    void WebUpdate1Status(QObject* sender, const QString& statusstr, int statuscode, int errcode);
    void WebUpdate1FileProgress(QObject* sender, const QString& filename, qint64 pos, qint64 size);
    void WebUpdate1AppRestart(QObject* sender, bool& allow);

    // Runs when the update is about to replace the program and start it
    // again: the main window offers to save unsaved edits. False holds the
    // update back (nothing is replaced).
    std::function<bool()> beforeRestart;

    TWebUpdate* WebUpdate1() const { return m_webUpdate.get(); }

private:
    void openProgress(const QString& caption);
    // What the user is told after a check that the notifications did not cover.
    void tell(TWebUpdate::Result result, bool manual);

    std::string m_version;
    QString m_programDir;
    bool& m_manualUpdateCheck;
    std::unique_ptr<UpdatePrompts> m_prompts;
    std::unique_ptr<TWebUpdate> m_webUpdate;
};
