#include "pages/PendingWrites.h"

#include "pages/Binding.h"
#include "profile/IniFiles.h"

namespace {

// A default no profile holds: tells an absent key from an empty one.
const std::string Absent("\x01\x02<absent>", 11);

} // namespace

void addPendingWrite(std::vector<PendingWrite>& out, const TCustomIniFile& ini, const std::string& file,
                     const std::string& section, const std::string& key, const std::string& written)
{
    const std::string now = ini.ReadString(section, key, Absent);
    if (now == written) return;
    out.push_back({file, section, key, now == Absent ? std::nullopt : std::optional<std::string>(now), written});
}

std::vector<PendingWrite> pendingWrites(const Binding::Table& table, const RunTime& rt)
{
    std::vector<PendingWrite> out;
    for (const Binding::Row& row : table.rows()) {
        if (row.key.empty()) continue;
        std::string written;
        try {
            written = Binding::stored(row);
        } catch (const std::exception& refused) {
            written = refused.what();
        }
        const TCustomIniFile& ini = Binding::profile(row, rt);
        const auto* file = dynamic_cast<const TIniFile*>(&ini);
        const std::string path = file ? file->FileName() : std::string();
        const std::string section = Binding::section(row, rt);
        addPendingWrite(out, ini, path, section, row.writtenKey.empty() ? row.key : row.writtenKey, written);
        if (!row.alsoWrittenTo.empty()) addPendingWrite(out, ini, path, section, row.alsoWrittenTo, written);
    }
    return out;
}
