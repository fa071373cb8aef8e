// Start-up and the open profiles: the start-up sequence of the main window,
// the setup loop, the choice of the user file and LoadAll.

#include "app/fMain.h"

#include "backup/BackupProfiles.h"
#include "dialogs/DirectoryEdit.h"
#include "dialogs/Guard.h"
#include "dialogs/MessageBox.h"
#include "dialogs/ModalRunner.h"
#include "dialogs/ToolSettings.h"
#include "dialogs/dlgInit.h"
#include "dialogs/fProgress.h"
#include "dialogs/fReadme.h"
#include "pages/SettingsPage.h"
#include "platform/Files.h"
#include "platform/GameLayout.h"
#include "platform/Paths.h"
#include "platform/ProgramDir.h"
#include "update/UpdateCheck.h"

#include <QCheckBox>
#include <QLabel>
#include <QTabWidget>

namespace {

// The stored name of the current user file is a bare file name inside the
// game's System directory: anything else names no file of the game.
bool isBareFileName(const std::string& name)
{
    return !name.empty() && name != "." && name != ".." && name.find_first_of("/\\") == std::string::npos;
}

} // namespace

void TfrmMain::FormCreate()
{
    TfrmProgress progress(QStringLiteral("Loading...."), 5);
    progress.showCentred();
    m_startupProgress = &progress;
    struct Forget {
        TfrmProgress*& progress;
        ~Forget() { progress = nullptr; }
    } forget{m_startupProgress};

    m_rt.StartupComplete = false;
    m_rt.ManualUpdateCheck = false;
    setWindowTitle(QStringLiteral("Corvane 2003 v%1").arg(QString::fromLatin1(RunTime::Version)));
    {
        const QSignalBlocker block(PageCtrl);
        PageCtrl->setCurrentIndex(0);
        m_currentPage = 0;
    }

    setProgress(1);
    LoadAll(false);
    setProgress(4);
    if (m_rt.CheckOnStartup && m_update->check(false)) {
        endProgram(); // updated and started again
        return;
    }
    // Only profiles that were found and loaded are worth a copy.
    if (m_rt.AutoBackup && m_rt.PagesLoaded) BackupProfiles(backupPlace(), false);
    setProgress(5);
}

void TfrmMain::setProgress(int position)
{
    if (m_startupProgress) m_startupProgress->step(position);
}

void TfrmMain::setupLoop()
{
    using namespace ToolSettings;
    for (;;) {
        TfrmInit dialog(*m_env.registry, *m_rt.ToolConfig, m_env.installations(), this);
        if (ModalRunner::exec(dialog) != QDialog::Accepted) return;

        TIniFile& config = *m_rt.ToolConfig;
        write(config, Init, false);
        write(config, AutoBackup, dialog.cbAutoBackup->isChecked());
        write(config, AskBackup, dialog.cbAskBackup->isChecked());
        write(config, CheckOnStartup, dialog.cbUpdates->isChecked());
        write(config, ShowReadme, dialog.cbShowReadme->isChecked());
        m_rt.AutoBackup = dialog.cbAutoBackup->isChecked();
        m_rt.CheckOnStartup = dialog.cbUpdates->isChecked();

        const std::string dir = dialog.dirEdit->text().toStdString();
        if (!platform::DirectoryExists(dir)) {
            MessageBox::error(QStringLiteral("Directory does not exist!"));
            continue;
        }
        write(config, Dir, dir);
        write(config, System, platform::AddBackslash(dir) + "System");
        if (dialog.cbShowReadme->isChecked()) {
            TfrmReadme readme(QString::fromStdString(m_rt.ProgramDir), this);
            ModalRunner::exec(readme);
        }
        return;
    }
}

bool TfrmMain::openProfiles()
{
    const std::string wanted = ToolSettings::read(*m_rt.ToolConfig, ToolSettings::CurrentUserIni);
    std::string userPath;
    if (isBareFileName(wanted)) userPath = platform::ResolveNoCase(m_rt.ProfileDir, wanted);
    if (userPath.empty() || !platform::FileExists(userPath)) {
        userPath = platform::ResolveNoCase(m_rt.ProfileDir, "User.ini");
        if (!platform::FileExists(userPath)) {
            MessageBox::error(QStringLiteral("User.ini not found in: ") + QString::fromStdString(m_rt.ProfileDir));
            PageCtrl->setEnabled(false);
            return false;
        }
    }
    m_rt.GameProfile = std::make_unique<TIniFile>(platform::ResolveNoCase(m_rt.ProfileDir, "UT2003.ini"));
    m_rt.UserProfile = std::make_unique<TIniFile>(userPath);
    return true;
}

void TfrmMain::LoadAll(bool forceSetup)
{
    using namespace ToolSettings;
    const platform::ProgramDirs dirs = platform::LocateProgramDirs(m_env.executableDir);
    m_rt.ProgramDir = dirs.data;
    m_rt.ConfigDir = dirs.config;
    m_rt.ToolConfig = std::make_unique<TIniFile>(dirs.config + "Corvane2003.ini");
    TIniFile& config = *m_rt.ToolConfig;
    m_rt.AutoBackup = read(config, AutoBackup);
    m_rt.CheckOnStartup = read(config, CheckOnStartup);
    m_rt.AskBackup = read(config, AskBackup);
    const bool init = read(config, Init);

    try {
        if (forceSetup || init) setupLoop();
        for (;;) {
            m_rt.SystemDir = platform::AddBackslash(read(config, System));
            if (!m_rt.SystemDir.empty()) break;
            setupLoop();
        }
        // A copy of the game made on another file system may spell its
        // System directory in other letter case.
        if (!platform::DirectoryExists(m_rt.SystemDir))
            m_rt.SystemDir = platform::AddBackslash(platform::ResolveNoCase(m_rt.GameRoot(), "System"));
        m_rt.ProfileDir = platform::LayoutOf(m_rt.SystemDir).profileDir;
        // Profiles of an earlier load stay valid until the new ones are open.
        if (!openProfiles()) return;
        m_rt.ViewportManagerClass =
            m_rt.GameProfile->ReadString("Engine.Engine", "ViewportManager", "WinDrv.WindowsClient");
        m_rt.RenderDeviceClass =
            m_rt.GameProfile->ReadString("Engine.Engine", "RenderDevice", "D3DDrv.D3DRenderDevice");
        lblDir->setText(QStringLiteral("UT2k3 dir: ") + QString::fromStdString(read(config, Dir)));
        lblCurrUserIni->setText(QStringLiteral("Current User.Ini: ") +
                                QString::fromStdString(m_rt.UserProfile->FileName()));
        lblCurrUt2003ini->setText(QStringLiteral("Current UT2003.Ini: ") +
                                  QString::fromStdString(m_rt.GameProfile->FileName()));
        m_rt.CurrentUserFileName = platform::FileNamePart(m_rt.UserProfile->FileName());
        write(config, CurrentUserIni, m_rt.CurrentUserFileName);
    } catch (...) {
        // Dropped without a message; loading goes on with what is open.
    }
    // Without open profiles there is nothing to load the pages from (a
    // configuration that could not be written, for one): keep the pages
    // disabled instead of loading them from nowhere.
    if (!m_rt.UserProfile || !m_rt.GameProfile) {
        PageCtrl->setEnabled(false);
        return;
    }

    // A failure escaping one page's load is shown and the other pages still
    // load.
    for (const PageRegistry::StartupStep& step : PageRegistry::startupOrder()) {
        if (step.progress) setProgress(step.progress);
        Guard::run([&] { loadPage(step.id); });
    }
    m_rt.PagesLoaded = true;
    rememberProfiles();
    PageCtrl->setEnabled(true);
    m_rt.StartupComplete = true;
}

void TfrmMain::loadPage(PageId id)
{
    if (SettingsPage* p = page(id)) p->load();
}
