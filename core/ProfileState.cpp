#include "core/ProfileState.h"

#include "platform/Paths.h"
#include "profile/IniFileIo.h"

#include <QFile>

std::optional<ProfileState> ProfileState::read(const std::string& dir, const std::string& userFile,
                                               const std::string& gameFile, QString* failure)
{
    ProfileState state;
    state.files = {File{userFile, std::nullopt}, File{gameFile, std::nullopt}};
    for (File& file : state.files) {
        const std::string path = platform::AddBackslash(dir) + file.name;
        IniFileIo::FileBytes bytes;
        switch (bytes.read(path)) {
        case IniFileIo::FileBytes::Status::Read:
            file.bytes.emplace(bytes.bytes());
            break;
        case IniFileIo::FileBytes::Status::Missing:
            break;
        case IniFileIo::FileBytes::Status::Failed:
            if (failure)
                *failure = QStringLiteral("Cannot read %1").arg(QFile::decodeName(QByteArray::fromStdString(path)));
            return std::nullopt;
        }
    }
    return state;
}
