#include "core/OpenProfiles.h"

#include "core/ProfilePair.h"
#include "core/StatePlaces.h"
#include "core/ToolSettings.h"
#include "platform/Files.h"
#include "platform/GameLayout.h"
#include "platform/Paths.h"
#include "platform/ProgramDir.h"

#include <QStringList>

namespace {

// The stored name of the current user file is a bare file name inside the
// game's System directory: anything else names no file of the game.
bool isBareFileName(const std::string& name)
{
    return !name.empty() && name != "." && name != ".." && name.find_first_of("/\\") == std::string::npos;
}


// What a start tells of a change to the profiles that a kill interrupted.
Notice recoveryNotice(const ProfilePair::Recovery& recovery)
{
    QStringList names;
    for (const std::string& file : recovery.files)
        names << QString::fromStdString(platform::fileNamePart(file));
    const QString files = names.join(QStringLiteral(" and "));
    const QString what = QStringLiteral("The last change to the profiles (%1) was interrupted before it was done.\n")
                             .arg(QString::fromStdString(recovery.operation));
    if (recovery.outcome == ProfilePair::Recovery::Outcome::Undone)
        return {Notice::Kind::Information, what + QStringLiteral("It has been undone: %1 are as they were before it.").arg(files)};
    return {Notice::Kind::Warning, what + QStringLiteral("%1 could not be put back as they were; this is tried again at the "
                                                         "next start.")
                                              .arg(files.isEmpty() ? QStringLiteral("The files") : files)};
}

} // namespace

OpenProfiles::OpenProfiles(std::string executableDir, Prompts prompts)
    : m_executableDir(std::move(executableDir))
    , m_prompts(std::move(prompts))
{
}

void OpenProfiles::setupLoop()
{
    using namespace ToolSettings;
    for (;;) {
        const std::optional<SetupAnswer> answer = m_prompts.setup ? m_prompts.setup(*m_rt.ToolConfig) : std::nullopt;
        if (!answer) return;

        TIniFile& config = *m_rt.ToolConfig;
        write(config, Init, false);
        write(config, AutoBackup, answer->autoBackup);
        write(config, AskBackup, answer->askBackup);
        write(config, CheckOnStartup, answer->checkOnStartup);
        write(config, ShowReadme, answer->showReadme);
        m_rt.AutoBackup = answer->autoBackup;
        m_rt.CheckOnStartup = answer->checkOnStartup;

        if (!platform::directoryExists(answer->dir)) {
            if (m_prompts.tell) m_prompts.tell({Notice::Kind::Error, QStringLiteral("Directory does not exist!")});
            continue;
        }
        write(config, Dir, answer->dir);
        write(config, System, platform::AddBackslash(answer->dir) + "System");
        if (answer->showReadme && m_prompts.readme) m_prompts.readme();
        return;
    }
}


bool OpenProfiles::openFiles(Outcome& outcome)
{
    const std::string wanted = ToolSettings::read(*m_rt.ToolConfig, ToolSettings::CurrentUserIni);
    std::string userPath;
    if (isBareFileName(wanted)) userPath = platform::resolveNoCase(m_rt.ProfileDir, wanted);
    if (userPath.empty() || !platform::fileExists(userPath)) {
        userPath = platform::resolveNoCase(m_rt.ProfileDir, "User.ini");
        if (!platform::fileExists(userPath)) {
            outcome.notices.push_back(
                {Notice::Kind::Error, QStringLiteral("User.ini not found in: ") + QString::fromStdString(m_rt.ProfileDir)});
            return false;
        }
    }
    m_rt.GameProfile = std::make_unique<TIniFile>(platform::resolveNoCase(m_rt.ProfileDir, "UT2003.ini"));
    m_rt.UserProfile = std::make_unique<TIniFile>(userPath);
    return true;
}

Outcome OpenProfiles::open(bool forceSetup)
{
    using namespace ToolSettings;
    Outcome outcome;
    m_open = false;
    const platform::ProgramDirs dirs = platform::locateProgramDirs(m_executableDir);
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
        if (!platform::directoryExists(m_rt.SystemDir))
            m_rt.SystemDir = platform::AddBackslash(platform::resolveNoCase(m_rt.GameRoot(), "System"));
        m_rt.ProfileDir = platform::layoutOf(m_rt.SystemDir).profileDir;
        // A change to these profiles that a kill or a power cut interrupted
        // is finished or undone before anything reads them.
        m_rt.JournalDir = stateFolderOf(platform::programStateDir(), "journal", m_rt.ProfileDir);
        if (const auto recovery = ProfilePair::recover(m_rt.JournalDir, m_rt.ProfileDir))
            outcome.notices.push_back(recoveryNotice(*recovery));
        // Profiles of an earlier open stay valid until the new ones are open.
        if (!openFiles(outcome)) return outcome;
        m_rt.ViewportManagerClass =
            m_rt.GameProfile->ReadString("Engine.Engine", "ViewportManager", "WinDrv.WindowsClient");
        m_rt.RenderDeviceClass =
            m_rt.GameProfile->ReadString("Engine.Engine", "RenderDevice", "D3DDrv.D3DRenderDevice");
        m_rt.CurrentUserFileName = platform::fileNamePart(m_rt.UserProfile->FileName());
        // The history of this pair; a change made while the program was
        // closed is kept first.
        m_rt.History.reset();
        if (const std::string root = ProfileHistory::defaultRoot(); !root.empty())
            m_rt.History = std::make_unique<HistoryKeeper>(ProfileHistory(root, m_rt.ProfileDir), m_rt.ProfileDir,
                                                           m_rt.UserProfile->FileName(),
                                                           m_rt.GameProfile->FileName());
        write(config, CurrentUserIni, m_rt.CurrentUserFileName);
    } catch (const std::exception& failure) {
        // Said; loading goes on with what is open (a configuration that
        // cannot be written, for one).
        outcome.notices.push_back({Notice::Kind::Error, QStringLiteral("Error occured:") + QString::fromLocal8Bit(failure.what())});
    }
    // Without open profiles there is nothing to load the pages from.
    m_open = m_rt.UserProfile && m_rt.GameProfile;
    outcome.done = m_open;
    return outcome;
}

std::string OpenProfiles::configuredDir() const
{
    return m_rt.ToolConfig ? ToolSettings::read(*m_rt.ToolConfig, ToolSettings::Dir) : std::string();
}

void OpenProfiles::setCurrentUserIni(const std::string& fileName)
{
    ToolSettings::write(*m_rt.ToolConfig, ToolSettings::CurrentUserIni, fileName);
    m_rt.ToolConfig.reset();
}

void OpenProfiles::release()
{
    m_rt.GameProfile.reset();
    m_rt.UserProfile.reset();
    m_rt.ToolConfig.reset();
}
