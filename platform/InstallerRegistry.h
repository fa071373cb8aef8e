#pragma once

#include <optional>
#include <string>
#include <vector>

// The keys below HKEY_LOCAL_MACHINE where the game's installers keep the
// game directory in the value "Folder".
namespace InstallerKeys {
inline constexpr const char* Demo = "SOFTWARE\\Unreal Technology\\Installed Apps\\UT2003Demo";
inline constexpr const char* Game = "SOFTWARE\\Unreal Technology\\Installed Apps\\UT2003";
} // namespace InstallerKeys

// The entries the game's installer writes below HKEY_LOCAL_MACHINE, read only.
class InstallerRegistry {
public:
    virtual ~InstallerRegistry() = default;
    // The value "Folder" of `key` (for example
    // "SOFTWARE\Unreal Technology\Installed Apps\UT2003"), as a path of this
    // system. nullopt when the key is missing; empty text when the key exists
    // without that value. Never throws.
    virtual std::optional<std::string> ReadFolder(const std::string& key) const = 0;
};

// Under Wine the installer's HKEY_LOCAL_MACHINE is the prefix's system.reg;
// Windows paths are turned into paths of this system through the prefix's
// dosdevices drive links.
class WineInstallerRegistry : public InstallerRegistry {
public:
    explicit WineInstallerRegistry(std::string prefix = DefaultPrefix());
    std::optional<std::string> ReadFolder(const std::string& key) const override;
    // ReadFolder of each key, in one pass over the registry file.
    std::vector<std::optional<std::string>> ReadFolders(const std::vector<std::string>& keys) const;

    // $WINEPREFIX, else ~/.wine
    static std::string DefaultPrefix();

private:
    std::string m_prefix;
};

namespace platform {
// A Windows path of a Wine prefix ("C:\UT2003") as a path of this system,
// through the prefix's dosdevices drive links (drive letters and the
// directories below them are found without regard to letter case). A path
// without a drive letter is returned as given.
std::string windowsToUnixPath(const std::string& prefix, const std::string& windowsPath);
} // namespace platform
