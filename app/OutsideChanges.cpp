// The open profiles changed outside the editor (the game rewrites both when it
// exits), the running game, and the list of what a Save would change.

#include "app/fMain.h"

#include "app/PendingChanges.h"
#include "app/ProfileWatch.h"
#include "dialogs/Guard.h"
#include "dialogs/MessageBox.h"
#include "dialogs/ModalRunner.h"
#include "dialogs/fProgress.h"
#include "pages/SettingsPage.h"
#include "platform/Paths.h"
#include "platform/Processes.h"

#include <QApplication>

#include <QEvent>
#include <QFileInfo>
#include <QLabel>
#include <QTimer>
#include <algorithm>

namespace {

constexpr const char* GameProgram = "UT2003.exe";
constexpr const char* NativeGameProgram = "ut2003-bin"; // the native Linux version

QString namesOf(const QStringList& files)
{
    QStringList names;
    for (const QString& file : files)
        names << QFileInfo(file).fileName();
    return names.join(QStringLiteral(" and "));
}

// A load, save or download under way, or a dialog up.
bool busy()
{
    if (QApplication::activeModalWidget()) return true;
    for (const QWidget* w : QApplication::topLevelWidgets())
        if (qobject_cast<const TfrmProgress*>(w)) return true;
    return false;
}

} // namespace

bool TfrmMain::gameRunning() const
{
    if (m_env.gameRunning) return m_env.gameRunning();
    return platform::IsProgramRunning(GameProgram) || platform::IsProgramRunning(NativeGameProgram);
}

void TfrmMain::rememberProfiles() { m_watch->remember(m_rt.UserProfile.get(), m_rt.GameProfile.get()); }

bool TfrmMain::event(QEvent* e)
{
    if (e->type() == QEvent::WindowActivate)
        QTimer::singleShot(0, this, [this] {
            Guard::run([this] {
                checkOutsideChanges();
                checkGameRunning();
            });
        });
    return QMainWindow::event(e);
}

void TfrmMain::checkOutsideChanges()
{
    // Not while a load, save or dialog is under way: it runs again on the
    // next activation.
    if (!pagesEnabled() || busy()) return;
    QStringList files = m_watch->changedOutside(m_rt.UserProfile.get(), m_rt.GameProfile.get());
    for (const QString& kept : m_watch->kept())
        files.removeAll(kept);
    if (files.isEmpty()) return;
    if (AnyPageChanged() &&
        !MessageBox::confirm(namesOf(files) + QStringLiteral(" has been changed outside Corvane 2003.\n"
                                                             "Do you want to reload it and lose your changes?"))) {
        m_watch->keepEditing(files);
        return;
    }
    LoadAllPages();
    lblNotice->setText(namesOf(files) + QStringLiteral(" was changed outside Corvane 2003: the pages were reloaded"));
}

bool TfrmMain::mayOverwriteProfiles()
{
    const QStringList files = m_watch->changedOutside(m_rt.UserProfile.get(), m_rt.GameProfile.get());
    if (!files.isEmpty() &&
        !MessageBox::confirm(namesOf(files) + QStringLiteral(" has been changed outside Corvane 2003 since it was "
                                                             "loaded.\nDo you want to save over it?")))
        return false;
    if (!m_gameWarned && gameRunning()) {
        m_gameWarned = true;
        MessageBox::warning(QStringLiteral("UT2003 is running. When it exits, it writes its own settings over what "
                                           "you save now."));
    }
    return true;
}

void TfrmMain::checkGameRunning()
{
    lblGameRunning->setText(gameRunning() ? QStringLiteral("UT2003 is running: it will rewrite its files when it exits")
                                          : QString());
}

void TfrmMain::Showpendingchanges1Click()
{
    if (!pagesEnabled()) return;
    std::vector<PendingWrite> writes;
    for (PageId id : PageRegistry::saveOrder())
        if (const SettingsPage* p = page(id)) {
            std::vector<PendingWrite> more = p->pendingWrites();
            writes.insert(writes.end(), more.begin(), more.end());
        }
    // Grouped by file, each file's keys in the order of the Save.
    std::stable_sort(writes.begin(), writes.end(),
                     [](const PendingWrite& a, const PendingWrite& b) { return a.file < b.file; });
    TfrmPendingChanges dialog(writes, this);
    ModalRunner::exec(dialog);
}
