#include "platform/WholeFile.h"

#include "profile/ECorvaneError.h"
#include "profile/IniFileIo.h"

#include <sys/stat.h>

namespace platform {

std::string readWholeFile(const std::string& path)
{
    IniFileIo::FileBytes file;
    if (file.read(path) != IniFileIo::FileBytes::Status::Read) throw ECorvaneError("Cannot open file " + path);
    return std::string(file.bytes());
}

void replaceWholeFile(const std::string& path, std::string_view bytes)
{
    const std::optional<std::string> target = IniFileIo::resolveLinks(path);
    struct stat info {};
    const bool exists = target && ::stat(target->c_str(), &info) == 0;
    const bool written = target && (!exists || IniFileIo::mayWrite(*target, info)) &&
                         IniFileIo::replaceFile(*target, exists ? &info : nullptr, {bytes});
    if (!written) throw ECorvaneError("Cannot create file " + path);
    IniFileIo::syncFile(*target);
}

} // namespace platform
