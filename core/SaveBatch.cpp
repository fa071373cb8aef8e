#include "core/SaveBatch.h"

#include "core/ProfilePair.h"
#include "profile/IniEdits.h"
#include "profile/IniFiles.h"
#include "profile/IniText.h"

#include <QFile>

#include <algorithm>

namespace {

TIniFile* accessorOf(ProfileFile file, const RunTime& rt) { return rt.accessor(file); }

// The keys of one accessor, in the order of the Save.
std::vector<IniEdits::Write> keysOf(const std::vector<KeyWrite>& keys, const TIniFile* ini, const RunTime& rt)
{
    std::vector<IniEdits::Write> out;
    for (const KeyWrite& k : keys)
        if (accessorOf(k.file, rt) == ini) out.push_back({k.section, k.key, k.value});
    return out;
}

std::string fileBytes(const std::string& path)
{
    QFile file(QString::fromStdString(path));
    if (!file.open(QIODevice::ReadOnly)) return {};
    return file.readAll().toStdString();
}

} // namespace

void SaveBatch::add(KeyWrites&& writes)
{
    if (m_keys.empty())
        m_keys = std::move(writes.keys);
    else
        m_keys.insert(m_keys.end(), std::make_move_iterator(writes.keys.begin()),
                      std::make_move_iterator(writes.keys.end()));
    m_refused.insert(m_refused.end(), writes.refused.begin(), writes.refused.end());
}

void SaveBatch::commit(const std::map<const TIniFile*, std::string>& base)
{
    // Keys of a file that is not open: the accessor's own failure, before anything is written.
    for (const KeyWrite& k : m_keys)
        if (!accessorOf(k.file, m_rt)) m_rt.openAccessor(k.file);
    std::vector<ProfilePair::Replacement> files;
    std::vector<TIniFile*> written;
    for (TIniFile* ini : {m_rt.UserProfile.get(), m_rt.GameProfile.get()}) {
        if (!ini) continue;
        std::vector<IniEdits::Write> keys;
        for (KeyWrite& k : m_keys)
            if (accessorOf(k.file, m_rt) == ini)
                keys.push_back({std::move(k.section), std::move(k.key), std::move(k.value)});
        const auto given = base.find(ini);
        if (given != base.end()) {
            std::string content = given->second;
            IniEdits::apply(content, keys);
            files.push_back({ini->FileName(), std::move(content)});
        } else if (!keys.empty()) {
            files.push_back({ini->FileName(), ini->plannedContent(keys)});
        } else {
            continue;
        }
        written.push_back(ini);
    }
    m_keys.clear();
    const ProfilePair::Result result = ProfilePair::replace(
        files, m_rt.JournalDir, m_operation, m_rt.History ? m_rt.History->observer() : ProfilePair::Observer{});
    if (!result.done) throw PairNotReplaced(result.failedPath, result.undone);
    for (TIniFile* ini : written)
        ini->noteReplaced();
}

std::vector<PendingWrite> SaveBatch::pending() const
{
    std::vector<PendingWrite> out;
    for (const TIniFile* ini : {m_rt.UserProfile.get(), m_rt.GameProfile.get()}) {
        if (!ini) continue;
        const std::vector<IniEdits::Write> keys = keysOf(m_keys, ini, m_rt);
        const std::string before = fileBytes(ini->FileName());
        std::string after = before;
        IniEdits::apply(after, keys);
        // Each key once, where the Save first writes it, with its last value.
        std::vector<const IniEdits::Write*> listed;
        for (const IniEdits::Write& k : keys) {
            const auto same = [&](const IniEdits::Write* other) {
                return IniText::equalsNoCase(IniText::trim(other->section), IniText::trim(k.section)) &&
                       IniText::equalsNoCase(IniText::trim(other->key), IniText::trim(k.key));
            };
            if (std::any_of(listed.begin(), listed.end(), same)) continue;
            listed.push_back(&k);
            const auto now = IniEdits::valueOf(before, k.section, k.key);
            const auto written = IniEdits::valueOf(after, k.section, k.key);
            if (now == written) continue;
            out.push_back({ini->FileName(), k.section, k.key,
                           now ? std::optional<std::string>(std::string(*now)) : std::nullopt,
                           std::string(written.value_or(std::string_view()))});
        }
        for (const KeyWrite& k : m_refused) {
            if (accessorOf(k.file, m_rt) != ini) continue;
            const auto now = IniEdits::valueOf(before, k.section, k.key);
            out.push_back({ini->FileName(), k.section, k.key,
                           now ? std::optional<std::string>(std::string(*now)) : std::nullopt, k.value});
        }
    }
    return out;
}
