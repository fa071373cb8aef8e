#include "update/UpdateCheck.h"

#include "platform/ProgramDir.h"
#include "update/StagedFiles.h"
#include "update/UpdateRecord.h"

#include <QCoreApplication>
#include <QFileInfo>

namespace {

const QString NotRestarted =
    QStringLiteral("The update was installed, but Corvane 2003 could not be started again. Please start it yourself.");
const QString AvailableHere = QStringLiteral("Corvane 2003 version %1 is available.\nThis copy was installed for the "
                                             "system and does not update itself: please update it with the package "
                                             "manager.");
const QString DidNotTake = QStringLiteral("Corvane 2003 was updated to version %1, but the program started afterwards "
                                          "still reports version %2.\nThis update is not offered again.");

// An installed copy (its data under <prefix>/share) or one in a folder it
// cannot write keeps its configuration elsewhere: it never replaces its files.
bool replacesItsFiles(const QString& programDir, const platform::ProgramDirs& dirs)
{
    return QString::fromStdString(dirs.data) == programDir && QString::fromStdString(dirs.config) == programDir;
}

} // namespace

UpdateCheck::UpdateCheck(std::string version, std::string programDir, bool& manualUpdateCheck, ShellStarter& starter,
                         std::unique_ptr<UpdatePrompts> prompts, QString executable)
    : m_version(std::move(version))
    , m_programDir(QString::fromStdString(programDir))
    , m_manualUpdateCheck(manualUpdateCheck)
    , m_prompts(std::move(prompts))
{
    if (executable.isEmpty()) executable = QFileInfo(QCoreApplication::applicationFilePath()).fileName();
    m_webUpdate = std::make_unique<TWebUpdate>(m_programDir, executable, starter);
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
    const platform::ProgramDirs dirs = platform::locateProgramDirs(m_programDir.toStdString());
    m_webUpdate->ReplaceFiles = replacesItsFiles(m_programDir, dirs);
    m_webUpdate->RecordDir = QString::fromStdString(dirs.config);

    openProgress(QStringLiteral("Checking for updates...."));
    TWebUpdate::Result result;
    {
        // The event loop runs while the check waits; no command may start meanwhile.
        const std::unique_ptr<UpdatePrompts::InputBlock> block = m_prompts->blockInput();
        result = m_webUpdate->DoUpdate(QString::fromStdString(m_version));
    }
    // The progress window goes with the check: left open after a failed
    // download, it would stand over the main window for the rest of the run.
    m_prompts->closeProgress();
    tell(result, manual);
    return result == TWebUpdate::Result::Restarted;
}

void UpdateCheck::tell(TWebUpdate::Result result, bool manual)
{
    const QString offered = m_webUpdate->offeredVersion();
    QString text;
    switch (result) {
    case TWebUpdate::Result::Installed:
        m_prompts->information(NotRestarted);
        return;
    case TWebUpdate::Result::Available:
        text = AvailableHere.arg(offered);
        break;
    case TWebUpdate::Result::NotTaken:
        text = DidNotTake.arg(offered, QString::fromStdString(m_version));
        break;
    default:
        return;
    }
    // The start-up check says this once for a version, not at every start.
    UpdateRecord record = UpdateRecord::read(m_webUpdate->RecordDir);
    if (!manual && record.told == offered) return;
    record.told = offered;
    record.write(m_webUpdate->RecordDir);
    m_prompts->information(text);
}

void UpdateCheck::openProgress(const QString& caption)
{
    m_prompts->openProgress(caption, [this] { m_webUpdate->cancel(); });
}

void UpdateCheck::FinishInterruptedUpdate()
{
    // An installed copy never writes a journal: one beside it is not this program's.
    if (!replacesItsFiles(m_programDir, platform::locateProgramDirs(m_programDir.toStdString()))) return;
    const QString staging = m_programDir + QLatin1String(StagedFiles::DirName);
    switch (StagedFiles::recover(m_programDir)) {
    case StagedFiles::Recovery::Completed:
        m_prompts->information(QStringLiteral("An update of Corvane 2003 was interrupted. Its remaining files have "
                                              "now been put in place. Please start Corvane 2003 again."));
        break;
    case StagedFiles::Recovery::RolledBack:
        m_prompts->information(
            QStringLiteral("An update of Corvane 2003 was interrupted. The previous files have been put back."));
        break;
    case StagedFiles::Recovery::Failed:
        m_prompts->error(QStringLiteral("An update of Corvane 2003 was interrupted, and the previous files could not "
                                        "all be put back.\nThey are kept in %1; the update's journal is %2.")
                             .arg(staging, StagedFiles::journalPath(m_programDir)));
        break;
    case StagedFiles::Recovery::Nothing:
    case StagedFiles::Recovery::Cleaned:
        break;
    }
}

void UpdateCheck::WebUpdate1Status(QObject*, const QString& statusstr, int statuscode, int)
{
    if (statusstr.compare(QLatin1String("found file update instruction"), Qt::CaseInsensitive) == 0)
        openProgress(QStringLiteral("Initializing...."));
    if (!m_manualUpdateCheck) return; // a start-up check stays silent
    if (statuscode == wusNotFound) {
        m_prompts->information(QStringLiteral("Update file not found\nCannot continue update"));
        m_manualUpdateCheck = false;
    } else if (statuscode == wusNoNewVersion) {
        m_prompts->information(QStringLiteral("No new version available"));
    }
}

void UpdateCheck::WebUpdate1FileProgress(QObject*, const QString&, qint64 pos, qint64 size)
{
    m_prompts->showProgress(QStringLiteral("Downloading files..."), pos, size);
}

void UpdateCheck::WebUpdate1AppRestart(QObject*, bool& allow)
{
    m_prompts->information(QStringLiteral("Press OK to finalize the update, and to restart the newest Corvane 2003!"));
    if (beforeRestart && !beforeRestart()) {
        allow = false;
        return;
    }
    // The files are replaced next: from here on there is nothing to cancel.
    m_prompts->withdrawCancel();
}
