#pragma once

#include <QString>

#include <array>
#include <optional>
#include <string>

// The two files of a profile pair at one moment: the user file (User.ini or
// the custom user file) and UT2003.ini, each by its name in the profile
// directory and with its bytes, or with none when the file is absent.
struct ProfileState {
    struct File {
        std::string name;
        std::optional<std::string> bytes;
        bool operator==(const File&) const = default;
    };
    std::array<File, 2> files;
    bool operator==(const ProfileState&) const = default;

    // The pair as it is in `dir` now. Nothing, with the reason in `failure`,
    // when a file is there but cannot be read.
    static std::optional<ProfileState> read(const std::string& dir, const std::string& userFile,
                                            const std::string& gameFile, QString* failure = nullptr);
};
