#pragma once

#include <optional>
#include <string>
#include <vector>

struct RunTime;
namespace Binding {
class Table;
}

// One key whose value a Save would change, with the value on disk now
// (nothing: the key is absent) and the value the Save would write.
struct PendingWrite {
    std::string file; // the profile's path
    std::string section;
    std::string key;
    std::optional<std::string> onDisk;
    std::string written;
};

// The keys of a page's rows whose value a Save would change. Reads, never
// writes. A field holding a character the game's files cannot store is
// listed with the message a Save would give as the value.
std::vector<PendingWrite> pendingWrites(const Binding::Table& table, const RunTime& rt);

// The same for one key of an accessor, appended to `out` when it differs.
class TCustomIniFile;
void addPendingWrite(std::vector<PendingWrite>& out, const TCustomIniFile& ini, const std::string& file,
                     const std::string& section, const std::string& key, const std::string& written);
