#include "update/UpdateCheck.h"

#include "dialogs/MessageBox.h"
#include "dialogs/fProgress.h"
#include "update/WebUpdate.h"

#include <QCoreApplication>
#include <QFileInfo>

UpdateCheck::UpdateCheck(std::string version, std::string programDir, bool& manualUpdateCheck, ShellStarter& starter,
                         QWidget* window, QString executable)
    : m_version(std::move(version))
    , m_manualUpdateCheck(manualUpdateCheck)
    , m_window(window)
{
    if (executable.isEmpty()) executable = QFileInfo(QCoreApplication::applicationFilePath()).fileName();
    m_webUpdate = std::make_unique<TWebUpdate>(QString::fromStdString(programDir), executable, starter);
    m_webUpdate->setObjectName(QStringLiteral("WebUpdate1"));
    connect(m_webUpdate.get(), &TWebUpdate::OnStatus, this, &UpdateCheck::WebUpdate1Status);
    connect(m_webUpdate.get(), &TWebUpdate::OnFileProgress, this, &UpdateCheck::WebUpdate1FileProgress);
    connect(m_webUpdate.get(), &TWebUpdate::OnAppRestart, this, &UpdateCheck::WebUpdate1AppRestart);
}

UpdateCheck::~UpdateCheck() = default;

bool UpdateCheck::Checkforupdates1Click() { return check(true); }

bool UpdateCheck::check(bool manual)
{
    if (manual) m_manualUpdateCheck = true;
    const TWebUpdate::Result result = m_webUpdate->DoUpdate(QString::fromStdString(m_version));
    // The progress window goes with the check: left open after a failed
    // download, it would stand over the main window for the rest of the run.
    m_progress.reset();
    return result == TWebUpdate::Result::Restarted;
}

void UpdateCheck::WebUpdate1Status(QObject*, const QString& statusstr, int statuscode, int)
{
    if (statusstr.compare(QLatin1String("found file update instruction"), Qt::CaseInsensitive) == 0) {
        m_progress = std::make_unique<TfrmProgress>(QStringLiteral("Initializing...."), 5, m_window);
        // While the update runs, no input may reach the main window.
        m_progress->setWindowModality(Qt::ApplicationModal);
        m_progress->showCentred();
    }
    if (!m_manualUpdateCheck) return; // a start-up check stays silent
    if (statuscode == wusNotFound) {
        MessageBox::information(QStringLiteral("Update file not found\nCannot continue update"));
        m_manualUpdateCheck = false;
    } else if (statuscode == wusNoNewVersion) {
        MessageBox::information(QStringLiteral("No new version available"));
    }
}

void UpdateCheck::WebUpdate1FileProgress(QObject*, const QString&, qint64 pos, qint64 size)
{
    if (!m_progress || !m_progress->isVisible()) return;
    m_progress->setMaximum(static_cast<int>(size));
    m_progress->setPosition(static_cast<int>(pos));
    m_progress->setCaption(QStringLiteral("Downloading files..."));
}

void UpdateCheck::WebUpdate1AppRestart(QObject*, bool& allow)
{
    MessageBox::information(QStringLiteral("Press OK to finalize the update, and to restart the newest Corvane 2003!"));
    if (beforeRestart && !beforeRestart()) allow = false;
}
