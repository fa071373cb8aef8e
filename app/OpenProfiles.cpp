#include "app/OpenProfiles.h"

#include "dialogs/MessageBox.h"
#include "dialogs/ToolSettings.h"
#include "platform/Files.h"
#include "platform/GameLayout.h"
#include "platform/Paths.h"
#include "platform/ProgramDir.h"

namespace {

// The stored name of the current user file is a bare file name inside the
// game's System directory: anything else names no file of the game.
bool isBareFileName(const std::string& name)
{
    return !name.empty() && name != "." && name != ".." && name.find_first_of("/\\") == std::string::npos;
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
            MessageBox::error(QStringLiteral("Directory does not exist!"));
            continue;
        }
        write(config, Dir, answer->dir);
        write(config, System, platform::AddBackslash(answer->dir) + "System");
        if (answer->showReadme && m_prompts.readme) m_prompts.readme();
        return;
    }
}

bool OpenProfiles::openFiles()
{
    const std::string wanted = ToolSettings::read(*m_rt.ToolConfig, ToolSettings::CurrentUserIni);
    std::string userPath;
    if (isBareFileName(wanted)) userPath = platform::resolveNoCase(m_rt.ProfileDir, wanted);
    if (userPath.empty() || !platform::fileExists(userPath)) {
        userPath = platform::resolveNoCase(m_rt.ProfileDir, "User.ini");
        if (!platform::fileExists(userPath)) {
            MessageBox::error(QStringLiteral("User.ini not found in: ") + QString::fromStdString(m_rt.ProfileDir));
            return false;
        }
    }
    m_rt.GameProfile = std::make_unique<TIniFile>(platform::resolveNoCase(m_rt.ProfileDir, "UT2003.ini"));
    m_rt.UserProfile = std::make_unique<TIniFile>(userPath);
    return true;
}

bool OpenProfiles::open(bool forceSetup)
{
    using namespace ToolSettings;
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
        // Profiles of an earlier open stay valid until the new ones are open.
        if (!openFiles()) return false;
        m_rt.ViewportManagerClass =
            m_rt.GameProfile->ReadString("Engine.Engine", "ViewportManager", "WinDrv.WindowsClient");
        m_rt.RenderDeviceClass =
            m_rt.GameProfile->ReadString("Engine.Engine", "RenderDevice", "D3DDrv.D3DRenderDevice");
        m_rt.CurrentUserFileName = platform::fileNamePart(m_rt.UserProfile->FileName());
        write(config, CurrentUserIni, m_rt.CurrentUserFileName);
    } catch (...) {
        // Dropped without a message; loading goes on with what is open.
    }
    // Without open profiles there is nothing to load the pages from (a
    // configuration that could not be written, for one).
    m_open = m_rt.UserProfile && m_rt.GameProfile;
    return m_open;
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
