#pragma once

#include "profile/IniFiles.h"

#include <string>

// The keys of the program's own configuration file, Corvane2003.ini: the
// start-up choices of the setup dialog in section "Corvane", where the game is
// and which user file is open in section "UT2k3".
namespace ToolSettings {

struct FlagKey {
    const char* section;
    const char* key;
    bool missing;
};
struct TextKey {
    const char* section;
    const char* key;
    const char* missing;
};

inline constexpr FlagKey Init{"Corvane", "Init", true};
inline constexpr FlagKey AutoBackup{"Corvane", "AutoBackup", true};
inline constexpr FlagKey AskBackup{"Corvane", "AskBackup", true};
inline constexpr FlagKey CheckOnStartup{"Corvane", "CheckOnStartup", true};
inline constexpr FlagKey ShowReadme{"Corvane", "ShowReadme", true};
inline constexpr TextKey Dir{"UT2k3", "Dir", ""};
inline constexpr TextKey System{"UT2k3", "System", ""};
inline constexpr TextKey CurrentUserIni{"UT2k3", "CurrentUserIni", "User.ini"};

inline bool read(const TCustomIniFile& config, const FlagKey& k)
{
    return config.ReadBool(k.section, k.key, k.missing);
}
inline std::string read(const TCustomIniFile& config, const TextKey& k)
{
    return config.ReadString(k.section, k.key, k.missing);
}
inline void write(TCustomIniFile& config, const FlagKey& k, bool value) { config.WriteBool(k.section, k.key, value); }
inline void write(TCustomIniFile& config, const TextKey& k, const std::string& value)
{
    config.WriteString(k.section, k.key, value);
}

} // namespace ToolSettings
