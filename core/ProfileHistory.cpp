#include "core/ProfileHistory.h"

#include "core/StatePlaces.h"
#include "platform/ProgramDir.h"

#include "core/HistoryFolder.h"

#include "platform/Paths.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRandomGenerator>

#include <sys/stat.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstring>
#include <exception>
#include <map>
#include <set>

namespace {

constexpr const char* EntrySuffix = ".entry";
constexpr const char* AfterSuffix = ".after";
constexpr int EntryVersion = 1;
// A temporary file this old was left by a program that was stopped.
constexpr qint64 StaleTemporarySeconds = 3600;

QString shown(const std::string& path) { return QFile::decodeName(QByteArray::fromStdString(path)); }
std::string encoded(const QString& path) { return QFile::encodeName(path).toStdString(); }
QString reason(int error) { return QString::fromLocal8Bit(std::strerror(error)); }

QString cannotWrite(const std::string& where, int error)
{
    return QStringLiteral("Cannot write to %1: %2").arg(shown(where), reason(error));
}

bool isDigest(std::string_view text)
{
    return text.size() == 64 && std::all_of(text.begin(), text.end(),
                                            [](char c) { return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f'); });
}

// A name the pair may hold: one file of the profile directory.
bool isFileName(const std::string& name)
{
    return !name.empty() && name != "." && name != ".." && name.find('/') == std::string::npos &&
           name.find('\0') == std::string::npos;
}

bool isEntryId(std::string_view id)
{
    return !id.empty() && id.front() != '.' && std::all_of(id.begin(), id.end(), [](char c) {
        return std::isalnum(static_cast<unsigned char>(c)) || c == '-';
    });
}

std::uint64_t sequenceOf(std::string_view id)
{
    std::uint64_t sequence = 0;
    for (char c : id.substr(0, id.find('-'))) {
        if (c < '0' || c > '9') return 0;
        sequence = sequence * 10 + static_cast<std::uint64_t>(c - '0');
    }
    return sequence;
}

QJsonValue digestJson(const std::optional<std::string>& digest)
{
    return digest ? QJsonValue(QString::fromLatin1(digest->c_str())) : QJsonValue(QJsonValue::Null);
}

QJsonArray digestsJson(const ProfileHistory::FileDigests& digests)
{
    return {digestJson(digests[0]), digestJson(digests[1])};
}

bool readDigests(const QJsonValue& value, ProfileHistory::FileDigests& digests)
{
    const QJsonArray array = value.toArray();
    if (!value.isArray() || array.size() != 2) return false;
    for (int i = 0; i < 2; ++i) {
        if (array[i].isNull()) {
            digests[static_cast<std::size_t>(i)].reset();
            continue;
        }
        const std::string digest = array[i].toString().toStdString();
        if (!isDigest(digest)) return false;
        digests[static_cast<std::size_t>(i)] = digest;
    }
    return true;
}

std::optional<ProfileHistory::Entry> parseEntry(const std::string& id, const std::string& bytes)
{
    QJsonParseError error{};
    const QJsonDocument document = QJsonDocument::fromJson(QByteArray::fromStdString(bytes), &error);
    const QJsonObject object = document.object();
    if (error.error != QJsonParseError::NoError || object.value("version").toInt() != EntryVersion) return std::nullopt;
    ProfileHistory::Entry entry;
    entry.id = id;
    entry.when = QDateTime::fromString(object.value("time").toString(), Qt::ISODateWithMs);
    entry.operation = object.value("operation").toString();
    entry.outside = object.value("outside").toBool();
    const QJsonArray names = object.value("names").toArray();
    if (!entry.when.isValid() || names.size() != 2 || !readDigests(object.value("before"), entry.before))
        return std::nullopt;
    for (int i = 0; i < 2; ++i) {
        entry.names[static_cast<std::size_t>(i)] = encoded(names[i].toString());
        if (!isFileName(entry.names[static_cast<std::size_t>(i)])) return std::nullopt;
    }
    if (object.contains("after") && !readDigests(object.value("after"), entry.after.emplace())) return std::nullopt;
    return entry;
}

std::optional<ProfileHistory::FileDigests> parseAfter(const std::string& bytes)
{
    const QJsonObject object = QJsonDocument::fromJson(QByteArray::fromStdString(bytes)).object();
    ProfileHistory::FileDigests digests;
    if (object.value("version").toInt() != EntryVersion || !readDigests(object.value("after"), digests))
        return std::nullopt;
    return digests;
}

// The id of an entry's file and which of its files it is.
std::optional<std::pair<std::string, bool>> entryFile(const std::string& name)
{
    for (const char* suffix : {EntrySuffix, AfterSuffix}) {
        const std::size_t length = std::strlen(suffix);
        if (name.size() > length && name.compare(name.size() - length, length, suffix) == 0) {
            std::string id = name.substr(0, name.size() - length);
            if (isEntryId(id)) return std::pair(std::move(id), suffix == AfterSuffix);
        }
    }
    return std::nullopt;
}

ProfileHistory::FileDigests digestsOf(const ProfileState& state)
{
    ProfileHistory::FileDigests digests;
    for (std::size_t i = 0; i < 2; ++i) {
        if (state.files[i].bytes) digests[i] = ProfileHistory::digestOf(*state.files[i].bytes);
    }
    return digests;
}

// Runs a keep, turning anything thrown (memory) into its failure text.
template <class Result, class Keep> Result guarded(Keep&& keep, Result (*failed)(QString))
{
    try {
        return keep();
    } catch (const std::exception& e) {
        return failed(QStringLiteral("The history failed: %1").arg(QString::fromLocal8Bit(e.what())));
    } catch (...) {
        return failed(QStringLiteral("The history failed"));
    }
}

ProfileHistory::Kept keptFailure(QString failure) { return {{}, std::move(failure)}; }
QString textFailure(QString failure) { return failure; }

} // namespace

ProfileHistory::ProfileHistory(std::string root, const std::string& profileDir)
    : ProfileHistory(std::move(root), profileDir, Limits{})
{
}

ProfileHistory::ProfileHistory(std::string root, const std::string& profileDir, Limits limits)
    : m_limits(limits)
{
    if (root.empty()) {
        m_refusal = QStringLiteral("There is no folder for the history: the home directory is unknown");
        return;
    }
    while (root.size() > 1 && root.back() == '/')
        root.pop_back();
    m_folder = root + '/' + folderName(profileDir);
    m_entries = m_folder + "/entries";
    m_blobs = m_folder + "/blobs";
    const QString profile = QFileInfo(shown(profileDir)).canonicalFilePath();
    const QString folder = QDir::cleanPath(QDir(shown(m_folder)).absolutePath());
    if (!profile.isEmpty() && (folder == profile || folder.startsWith(profile + '/')))
        m_refusal = QStringLiteral("The history may not be kept inside the game's folder %1").arg(profile);
}

std::string ProfileHistory::defaultRoot()
{
    const std::string state = platform::programStateDir();
    return state.empty() ? std::string() : state + "history";
}

std::string ProfileHistory::folderName(const std::string& profileDir) { return profileFolderName(profileDir); }

std::string ProfileHistory::digestOf(std::string_view bytes)
{
    return QCryptographicHash::hash(QByteArrayView(bytes.data(), static_cast<qsizetype>(bytes.size())),
                                    QCryptographicHash::Sha256)
        .toHex()
        .toStdString();
}

ProfileHistory::Kept ProfileHistory::keepBefore(const QString& operation, const ProfileState& before)
{
    return guarded<Kept>([&] { return keep(operation, false, before, nullptr); }, keptFailure);
}

ProfileHistory::Kept ProfileHistory::keepOutside(const QString& operation, const ProfileState& before,
                                                 const ProfileState& after)
{
    return guarded<Kept>([&] { return keep(operation, true, before, &after); }, keptFailure);
}

QString ProfileHistory::keepAfter(const std::string& id, const ProfileState& after)
{
    return guarded<QString>(
        [&]() -> QString {
            if (!m_refusal.isEmpty()) return m_refusal;
            const std::optional<std::string> bytes =
                isEntryId(id) ? HistoryFolder::readAll(m_entries + '/' + id + EntrySuffix) : std::nullopt;
            const std::optional<Entry> entry = bytes ? parseEntry(id, *bytes) : std::nullopt;
            if (!entry) return QStringLiteral("The history has no entry %1").arg(QString::fromStdString(id));
            const FileDigests digests = digestsOf(after);
            std::set<std::string> distinct;
            std::uint64_t size = 0;
            for (std::size_t i = 0; i < 2; ++i) {
                if (entry->before[i] && distinct.insert(*entry->before[i]).second) size += sizeOf(*entry->before[i]);
                if (digests[i] && distinct.insert(*digests[i]).second) size += after.files[i].bytes->size();
            }
            if (QString failure = fitsLimits(size); !failure.isEmpty()) return failure;
            if (QString failure = keepContents(after, digests); !failure.isEmpty()) return failure;
            // Beside the entry and not synced: one lost in a power cut is the
            // next entry's before or the current files all the same.
            const QJsonObject object{{"version", EntryVersion}, {"after", digestsJson(digests)}};
            if (const int error =
                    HistoryFolder::writeFile(m_entries, id + AfterSuffix,
                                             QJsonDocument(object).toJson(QJsonDocument::Compact).toStdString(), false))
                return cannotWrite(m_folder, error);
            return prune(nullptr);
        },
        textFailure);
}

ProfileHistory::Kept ProfileHistory::keep(const QString& operation, bool outside, const ProfileState& before,
                                          const ProfileState* after)
{
    if (!m_refusal.isEmpty()) return {{}, m_refusal};
    Entry entry;
    entry.when = m_clock ? m_clock().toUTC() : QDateTime::currentDateTimeUtc();
    entry.operation = operation;
    entry.outside = outside;
    for (std::size_t i = 0; i < 2; ++i)
        entry.names[i] = before.files[i].name;
    entry.before = digestsOf(before);
    if (after) entry.after = digestsOf(*after);

    std::set<std::string> distinct;
    std::uint64_t size = 0;
    const FileDigests* afterDigests = entry.after ? &*entry.after : nullptr;
    using Side = std::pair<const ProfileState*, const FileDigests*>;
    for (const auto& [state, digests] : {Side(&before, &entry.before), Side(after, afterDigests)}) {
        if (state == nullptr) continue;
        for (std::size_t i = 0; i < 2; ++i) {
            if ((*digests)[i] && distinct.insert(*(*digests)[i]).second) size += state->files[i].bytes->size();
        }
    }
    if (QString failure = fitsLimits(size); !failure.isEmpty()) return {{}, failure};
    if (QString failure = prepare(); !failure.isEmpty()) return {{}, failure};
    if (QString failure = keepContents(before, entry.before); !failure.isEmpty()) return {{}, failure};
    if (after)
        if (QString failure = keepContents(*after, *entry.after); !failure.isEmpty()) return {{}, failure};
    entry.id = nextId();
    if (QString failure = prune(&entry); !failure.isEmpty()) return {{}, failure};
    return {entry.id, {}};
}

QString ProfileHistory::fitsLimits(std::uint64_t size) const
{
    if (size <= m_limits.maxBytes) return {};
    return QStringLiteral("The profile files (%1 KB) are more than the history may hold (%2 KB)")
        .arg((size + 1023) / 1024)
        .arg(m_limits.maxBytes / 1024);
}

QString ProfileHistory::prepare() const
{
    for (const std::string& dir : {m_entries, m_blobs}) {
        if (const int error = HistoryFolder::makeFolders(dir)) return cannotWrite(m_folder, error);
    }
    return {};
}

QString ProfileHistory::keepContents(const ProfileState& state, const FileDigests& digests) const
{
    for (std::size_t i = 0; i < 2; ++i) {
        if (!digests[i]) continue;
        const std::string& bytes = *state.files[i].bytes;
        struct stat info {};
        const std::string path = m_blobs + '/' + *digests[i];
        // Every content is renamed into place whole, so one of the right size is the one kept before.
        if (::stat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode) ||
            static_cast<std::uint64_t>(info.st_size) != bytes.size())
            if (const int error = HistoryFolder::writeFile(m_blobs, *digests[i], bytes, true))
                return cannotWrite(m_folder, error);
        m_sizes[*digests[i]] = bytes.size();
    }
    return {};
}

std::uint64_t ProfileHistory::sizeOf(const std::string& digest) const
{
    if (const auto known = m_sizes.find(digest); known != m_sizes.end()) return known->second;
    struct stat info {};
    if (::stat((m_blobs + '/' + digest).c_str(), &info) != 0) return 0;
    return m_sizes[digest] = static_cast<std::uint64_t>(info.st_size);
}

QString ProfileHistory::writeEntry(const Entry& entry) const
{
    QJsonObject object{
        {"version", EntryVersion},
        {"time", entry.when.toUTC().toString(Qt::ISODateWithMs)},
        {"operation", entry.operation},
        {"outside", entry.outside},
        {"names", QJsonArray{shown(entry.names[0]), shown(entry.names[1])}},
        {"before", digestsJson(entry.before)},
    };
    if (entry.after) object.insert("after", digestsJson(*entry.after));
    const QByteArray bytes = QJsonDocument(object).toJson(QJsonDocument::Indented);
    if (const int error = HistoryFolder::writeFile(m_entries, entry.id + EntrySuffix, bytes.toStdString(), true))
        return cannotWrite(m_folder, error);
    return {};
}

std::string ProfileHistory::nextId() const
{
    std::uint64_t last = 0;
    for (const HistoryFolder::Listed& file : HistoryFolder::filesIn(m_entries))
        last = std::max(last, sequenceOf(file.name));
    // The random part keeps two programs that keep at once from taking one name.
    return QStringLiteral("%1-%2")
        .arg(last + 1, 10, 10, QLatin1Char('0'))
        .arg(QRandomGenerator::global()->generate(), 8, 16, QLatin1Char('0'))
        .toStdString();
}

std::vector<ProfileHistory::Entry> ProfileHistory::entries() const
{
    std::vector<Entry> found;
    if (m_folder.empty()) return found;
    try {
        // Each entry's files by their inode numbers: the entry and the after kept beside it.
        std::map<std::string, std::pair<std::uint64_t, std::uint64_t>> files;
        for (const auto& [name, stamp] : HistoryFolder::filesIn(m_entries)) {
            if (const auto file = entryFile(name))
                (file->second ? files[file->first].second : files[file->first].first) = stamp;
        }
        // A file read before is read again only when it was replaced.
        std::map<std::string, Known> known;
        for (const auto& [id, stamps] : files) {
            if (const auto before = m_known.find(id); before != m_known.end() && before->second.stamps == stamps) {
                found.push_back(before->second.entry);
                known.insert(*before);
                continue;
            }
            const std::optional<std::string> bytes = HistoryFolder::readAll(m_entries + '/' + id + EntrySuffix);
            std::optional<Entry> entry = bytes ? parseEntry(id, *bytes) : std::nullopt;
            if (!entry) continue;
            if (!entry->after && stamps.second != 0) {
                const std::optional<std::string> after = HistoryFolder::readAll(m_entries + '/' + id + AfterSuffix);
                entry->after = after ? parseAfter(*after) : std::nullopt;
            }
            found.push_back(*entry);
            known.emplace(id, Known{stamps, std::move(*entry)});
        }
        m_known = std::move(known);
    } catch (const std::exception&) {
        // What was read so far; a history that cannot be read is no failure of the program.
    }
    std::sort(found.begin(), found.end(), [](const Entry& a, const Entry& b) {
        const std::uint64_t first = sequenceOf(a.id);
        const std::uint64_t second = sequenceOf(b.id);
        return first != second ? first > second : a.id > b.id;
    });
    return found;
}

std::optional<std::string> ProfileHistory::content(const std::string& digest, bool checked) const
{
    if (!isDigest(digest) || m_folder.empty()) return std::nullopt;
    std::optional<std::string> bytes = HistoryFolder::readAll(m_blobs + '/' + digest);
    if (bytes && checked && digestOf(*bytes) != digest) return std::nullopt; // damaged on the disk
    return bytes;
}

std::optional<ProfileState> ProfileHistory::lastKept() const
{
    const std::vector<Entry> all = entries();
    return all.empty() ? std::nullopt : state(all.front(), Which::After);
}

std::optional<ProfileState> ProfileHistory::state(const Entry& entry, Which which) const
{
    const std::optional<FileDigests>& digests = which == Which::Before ? entry.before : entry.after;
    if (!digests) return std::nullopt;
    ProfileState state;
    for (std::size_t i = 0; i < 2; ++i) {
        state.files[i].name = entry.names[i];
        if (!(*digests)[i]) continue;
        state.files[i].bytes = content(*(*digests)[i]);
        if (!state.files[i].bytes) return std::nullopt;
    }
    return state;
}

QString ProfileHistory::prune(const Entry* incoming) const
{
    std::vector<Entry> all = entries();
    if (incoming) all.insert(all.begin(), *incoming);
    std::set<std::string> kept;
    std::uint64_t size = 0;
    std::size_t count = 0;
    for (const Entry& entry : all) {
        if (count == m_limits.maxEntries) break;
        std::set<std::string> fresh;
        std::uint64_t more = 0;
        for (const FileDigests* digests : {&entry.before, entry.after ? &*entry.after : nullptr}) {
            for (std::size_t i = 0; digests && i < 2; ++i) {
                const std::optional<std::string>& digest = (*digests)[i];
                if (!digest || kept.count(*digest) || !fresh.insert(*digest).second) continue;
                more += sizeOf(*digest);
            }
        }
        if (count > 0 && size + more > m_limits.maxBytes) break;
        kept.insert(fresh.begin(), fresh.end());
        size += more;
        ++count;
    }
    const auto remove = HistoryFolder::removeFile;
    for (std::size_t i = all.size(); i-- > count;) {
        for (const char* suffix : {EntrySuffix, AfterSuffix})
            remove(m_entries + '/' + all[i].id + suffix);
    }
    // The entries go from the disk before the contents they name: the new
    // entry's sync of the folder makes their removal durable too.
    if (incoming) {
        if (QString failure = writeEntry(*incoming); !failure.isEmpty()) return failure;
    } else if (count < all.size() && HistoryFolder::syncDirectory(m_entries) != 0) {
        return {};
    }
    // What a program stopped half way left: temporary files, an after whose
    // entry went; and the contents no entry names.
    const qint64 now = QDateTime::currentSecsSinceEpoch();
    std::set<std::string> ids;
    const std::vector<HistoryFolder::Listed> entryFiles = HistoryFolder::filesIn(m_entries);
    for (const HistoryFolder::Listed& file : entryFiles) {
        if (const auto entry = entryFile(file.name); entry && !entry->second) ids.insert(entry->first);
    }
    for (const std::string& dir : {m_entries, m_blobs}) {
        for (const HistoryFolder::Listed& file : dir == m_entries ? entryFiles : HistoryFolder::filesIn(dir)) {
            const std::string& name = file.name;
            const std::string path = dir + '/' + name;
            const auto entry = dir == m_entries ? entryFile(name) : std::nullopt;
            struct stat info {};
            if (name.rfind(HistoryFolder::TemporaryPrefix, 0) == 0) {
                if (::stat(path.c_str(), &info) == 0 && now - info.st_mtim.tv_sec > StaleTemporarySeconds) remove(path);
            } else if (entry && entry->second && !ids.count(entry->first)) {
                remove(path);
            } else if (dir == m_blobs && isDigest(name) && !kept.count(name)) {
                remove(path);
                m_sizes.erase(name);
            }
        }
    }
    return {};
}
