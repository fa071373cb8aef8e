#include "platform/WholeFile.h"

#include "profile/ECorvaneError.h"
#include "profile/IniFileIo.h"

namespace platform {

std::string readWholeFile(const std::string& path)
{
    IniFileIo::FileBytes file;
    if (file.read(path) != IniFileIo::FileBytes::Status::Read) throw ECorvaneError("Cannot open file " + path);
    return std::string(file.bytes());
}

} // namespace platform
