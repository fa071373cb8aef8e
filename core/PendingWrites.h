#pragma once

#include <optional>
#include <string>

// One key whose value a Save would change, with the value on disk now
// (nothing: the key is absent) and the value the Save would write.
struct PendingWrite {
    std::string file; // the profile's path
    std::string section;
    std::string key;
    std::optional<std::string> onDisk;
    std::string written;
};
