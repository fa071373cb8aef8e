// The history of the profiles' states: what it keeps and gives back, its
// bounds, the key changes it shows, a history that cannot be written, and its
// window.
#include "backup/fIniManager.h"
#include "core/HistoryChanges.h"
#include "core/ProfileHistory.h"
#include "core/ProfileRestore.h"
#include "core/SaveBatch.h"
#include "dialogs/fChanges.h"
#include "dialogs/fHistory.h"
#include "profile/FaultInjection.h"
#include "tests/support/TestSupport.h"

#include <QDir>
#include <QFile>
#include <QListWidget>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTextEdit>
#include <QTreeWidget>

#include <map>
#include <random>
#include <set>
#include <tuple>

using namespace TestSupport;

namespace {

using Values = std::vector<std::string>;
// A file's keys read the plain way: lines, "[name]" headers, "key=value" entries.
using PlainKeys = std::map<std::string, std::map<std::string, Values>>;
// section, key, values before, values after; a key of "" stands for the
// section itself, added (before "+") or removed (before "-").
using PlainChange = std::tuple<std::string, std::string, Values, Values>;

std::string lower(std::string text)
{
    for (char& c : text)
        c = static_cast<char>(c >= 'A' && c <= 'Z' ? c + 32 : c);
    return text;
}

std::string trimmed(const std::string& text)
{
    const char* blanks = " \t\v\f\r\n\x1a";
    const std::size_t begin = text.find_first_not_of(blanks);
    return begin == std::string::npos ? "" : text.substr(begin, text.find_last_not_of(blanks) - begin + 1);
}

std::vector<std::string> linesOf(const std::string& bytes)
{
    std::vector<std::string> lines(1);
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        if (bytes[i] == '\r' || bytes[i] == '\n') {
            if (bytes[i] == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') ++i;
            lines.emplace_back();
        } else {
            lines.back() += bytes[i];
        }
    }
    return lines;
}

PlainKeys plainKeys(const std::optional<std::string>& bytes)
{
    PlainKeys keys;
    if (!bytes) return keys;
    std::string section;
    bool inSection = false;
    for (const std::string& raw : linesOf(*bytes)) {
        const std::string line = trimmed(raw);
        if (!line.empty() && line[0] == '[' && line.rfind(']') != std::string::npos && line.rfind(']') > 0) {
            section = lower(trimmed(line.substr(1, line.rfind(']') - 1)));
            inSection = true;
            keys[section];
        } else if (inSection && line.find('=') != std::string::npos) {
            keys[section][lower(trimmed(line.substr(0, line.find('='))))].push_back(
                trimmed(line.substr(line.find('=') + 1)));
        }
    }
    return keys;
}

std::set<PlainChange> plainChanges(const std::optional<std::string>& before, const std::optional<std::string>& after)
{
    const PlainKeys a = plainKeys(before), b = plainKeys(after);
    std::set<PlainChange> changes;
    std::set<std::string> sections;
    for (const auto* side : {&a, &b})
        for (const auto& [name, keys] : *side)
            sections.insert(name);
    for (const std::string& section : sections) {
        const bool inA = a.count(section), inB = b.count(section);
        if (inA != inB) changes.insert({section, "", {inA ? "-" : "+"}, {}});
        std::set<std::string> names;
        for (const auto* side : {&a, &b})
            if (side->count(section))
                for (const auto& [key, values] : side->at(section))
                    names.insert(key);
        for (const std::string& key : names) {
            const Values was = inA && a.at(section).count(key) ? a.at(section).at(key) : Values();
            const Values is = inB && b.at(section).count(key) ? b.at(section).at(key) : Values();
            if (was != is) changes.insert({section, key, was, is});
        }
    }
    return changes;
}

std::set<PlainChange> flattened(const KeyChanges& changes)
{
    std::set<PlainChange> flat;
    for (const KeyChanges::Section& section : changes.sections) {
        if (section.mark != KeyChanges::Mark::Changed)
            flat.insert({lower(section.name), "", {section.mark == KeyChanges::Mark::Added ? "+" : "-"}, {}});
        for (const KeyChanges::Key& key : section.keys)
            flat.insert({lower(section.name), lower(key.name), key.before, key.after});
    }
    return flat;
}

// The pair of a profile directory on the disk, and a way to change it.
struct Pair {
    QString dir;
    void write(const ProfileState& state) const
    {
        for (const ProfileState::File& file : state.files) {
            const QString path = dir + QString::fromStdString(file.name);
            if (file.bytes)
                writeFile(path, QByteArray::fromStdString(*file.bytes));
            else
                QFile::remove(path);
        }
    }
    ProfileState read() const { return *ProfileState::read(dir.toStdString(), "User.ini", "UT2003.ini"); }
};

// Random changes of a profile file's text, of every kind a change can have.
class Changer {
public:
    explicit Changer(unsigned seed)
        : m_random(seed)
    {
    }
    int pick(int n) { return std::uniform_int_distribution<int>(0, n - 1)(m_random); }

    void change(std::optional<std::string>& file, const std::string& original)
    {
        if (!file) {
            file = original; // brought back
            return;
        }
        std::vector<std::string> lines = linesOf(*file);
        std::vector<std::size_t> entries, headers;
        for (std::size_t i = 0; i < lines.size(); ++i) {
            const std::string line = trimmed(lines[i]);
            if (line.starts_with('['))
                headers.push_back(i);
            else if (line.find('=') != std::string::npos)
                entries.push_back(i);
        }
        const auto any = [&](const std::vector<std::size_t>& from) {
            return from[std::size_t(pick(int(from.size())))];
        };
        const auto after = [&](std::size_t i) { return lines.begin() + long(i) + 1; };
        const std::string value = "v" + std::to_string(pick(1000));
        switch (entries.empty() || headers.empty() ? 4 : pick(11)) {
        case 0:
        case 1:
        case 2: { // a new value, sometimes with blanks around it
            std::string& line = lines[any(entries)];
            line = line.substr(0, line.find('=') + 1) + (pick(3) ? value : "  " + value + " ");
            break;
        }
        case 3: { // a key once more, spelled otherwise: a repeated key
            const std::string& line = lines[any(entries)];
            lines.insert(after(any(entries)), lower(line.substr(0, line.find('='))) + "=" + value);
            break;
        }
        case 4: // a new section, sometimes empty, sometimes a second one of a name
            lines.push_back(pick(3) == 0 && !headers.empty() ? lower(lines[any(headers)])
                                                             : "[Corvane.Test" + std::to_string(pick(50)) + "]");
            if (pick(4)) lines.push_back("Key" + std::to_string(pick(9)) + "=" + value);
            break;
        case 5: // a new key
            lines.insert(after(any(headers)), "Added" + std::to_string(pick(30)) + "=" + value);
            break;
        case 6:
        case 7: // a key removed
            lines.erase(lines.begin() + long(any(entries)));
            break;
        case 8: { // a whole section removed
            const std::size_t first = any(headers);
            std::size_t end = first + 1;
            while (end < lines.size() && !trimmed(lines[end]).starts_with('['))
                ++end;
            lines.erase(lines.begin() + long(first), lines.begin() + long(end));
            break;
        }
        case 9: // a comment: text but no key
            lines.insert(after(any(headers)), "; note " + value);
            break;
        default: // the file removed
            file.reset();
            return;
        }
        std::string text;
        for (std::size_t i = 0; i < lines.size(); ++i)
            text += lines[i] + (i + 1 < lines.size() ? "\r\n" : "");
        file = text;
    }

private:
    std::mt19937 m_random;
};

// What the test knows an entry holds.
struct Expected {
    QString operation;
    bool outside = false;
    ProfileState before;
    std::optional<ProfileState> after;
};

std::uint64_t distinctSize(const std::vector<Expected>& newestLast, std::size_t count)
{
    std::set<std::string> contents;
    for (std::size_t i = newestLast.size() - count; i < newestLast.size(); ++i)
        for (const auto* state : {&newestLast[i].before, newestLast[i].after ? &*newestLast[i].after : nullptr})
            for (std::size_t f = 0; state && f < 2; ++f)
                if (state->files[f].bytes) contents.insert(*state->files[f].bytes);
    std::uint64_t size = 0;
    for (const std::string& content : contents)
        size += content.size();
    return size;
}

// The size of the kept contents on the disk.
std::uint64_t blobBytes(const ProfileHistory& history)
{
    std::uint64_t size = 0;
    for (const QFileInfo& info : QDir(QString::fromStdString(history.folder()) + "/blobs").entryInfoList(QDir::Files))
        size += static_cast<std::uint64_t>(info.size());
    return size;
}

// Files in the folder that are no entries: a torn copy, a temporary file left
// by a kill, an after without its entry, a foreign file, an entry of a later
// format, one naming a path.
void addStrayFiles(const ProfileHistory& history, int kind)
{
    const QString entries = QString::fromStdString(history.folder()) + "/entries/";
    const QStringList names = QDir(entries).entryList({"*.entry"});
    const QByteArray real = names.isEmpty() ? QByteArray("{\"version\":1,") : readFile(entries + names.first());
    const QByteArray foreign[] = {
        real.left(real.size() / 2),
        "{\"version\":2,\"time\":\"2030-01-01T00:00:00.000Z\",\"names\":[\"a\",\"b\"],\"before\":[null,null]}",
        "{\"version\":1,\"time\":\"2030-01-01T00:00:00.000Z\",\"operation\":\"Save\",\"names\":[\"../../etc/passwd\","
        "\"UT2003.ini\"],\"before\":[null,null]}",
        "\x00\xff not text at all",
    };
    writeFile(entries + QString("%1-cafe%2.entry").arg(9000000 + kind).arg(kind), foreign[kind % 4]);
    writeFile(entries + ".tmp-" + QString::number(kind), real.left(10));
    writeFile(entries + QString("%1-orphan.after").arg(kind), "{\"version\":1,\"after\":[null,null]}");
    writeFile(entries + "README", "notes");
}

} // namespace

class TestHistory : public QObject {
    Q_OBJECT

private slots:
    void cleanup() { FaultInjection::setHook({}); }

    // Seeded random sequences of changes to the demo game's pair, each kept
    // as the operations keep them: before the replace and after it, or only
    // before (the program killed after the replace), or as found after a
    // change outside the program.
    void sequences_data()
    {
        QTest::addColumn<unsigned>("seed");
        QTest::addColumn<int>("steps");
        QTest::addColumn<int>("maxEntries");
        QTest::addColumn<int>("maxBytes");
        QTest::newRow("the count bounds") << 11u << 45 << 7 << (8 << 20);
        QTest::newRow("the size bounds") << 23u << 45 << 200 << 70000;
        QTest::newRow("room for one or two") << 29u << 45 << 200 << 45000;
        QTest::newRow("either bounds") << 37u << 70 << 12 << 110000;
        QTest::newRow("no bound reached") << 5u << 30 << 200 << (8 << 20);
    }
    void sequences()
    {
        QFETCH(unsigned, seed);
        QFETCH(int, steps);
        QFETCH(int, maxEntries);
        QFETCH(int, maxBytes);
        TempGame game;
        QTemporaryDir state;
        const Pair pair{game.systemDir()};
        const ProfileState original = pair.read();
        ProfileHistory history(state.path().toStdString() + "/history", game.systemDir().toStdString(),
                               {std::size_t(maxEntries), std::uint64_t(maxBytes)});
        Changer changer(seed);
        std::vector<Expected> kept; // oldest first
        ProfileState current = original;
        const char* operations[] = {"Save",     "Raw text save", "Restore", ".BAK restore", "Reset to defaults",
                                    "Put back", "Update restart"};
        for (int step = 0; step < steps; ++step) {
            ProfileState next = current;
            for (int changes = 1 + changer.pick(3); changes > 0; --changes) {
                const std::size_t file = std::size_t(changer.pick(2));
                changer.change(next.files[file].bytes, *original.files[file].bytes);
            }
            if (changer.pick(6) == 0) addStrayFiles(history, step);
            const int how = changer.pick(6); // 0: outside, 1: killed after the replace, else whole
            // Only a pair too big for the history goes without its after, or without its entry.
            const bool tooBig = distinctSize({{{}, false, current, next}}, 1) > std::uint64_t(maxBytes);
            Expected expected{how == 0 ? "Changed outside" : operations[changer.pick(7)], how == 0, current, {}};
            if (how == 0) {
                pair.write(next);
                const ProfileHistory::Kept entry = history.keepOutside(expected.operation, current, next);
                QVERIFY2(entry || tooBig, qPrintable(entry.failure));
                expected.after = next;
                if (entry) kept.push_back(expected);
            } else {
                const ProfileHistory::Kept entry = history.keepBefore(expected.operation, current);
                QVERIFY2(entry, qPrintable(entry.failure));
                pair.write(next);
                if (how > 1) {
                    const QString failure = history.keepAfter(entry.id, pair.read());
                    QVERIFY2(failure.isEmpty() || tooBig, qPrintable(failure));
                    if (failure.isEmpty()) expected.after = next;
                }
                kept.push_back(expected);
            }
            current = next;
            QCOMPARE(pair.read(), current);
            checkHistory(history, kept, current, std::size_t(maxEntries), std::uint64_t(maxBytes));
            if (QTest::currentTestFailed()) QFAIL(qPrintable(QString("after step %1").arg(step)));
        }
    }

    // The operations themselves over the demo game, in seeded random order:
    // Saves of a few keys, raw text saves, restores of a dated pair and of the
    // .BAK pair, resets, put backs. Each one that changes the pair leaves an
    // entry that gives back exactly the bytes it replaced and put in place,
    // with the key changes a plain comparison finds, within the bounds.
    void operationsKeepTheirStates_data()
    {
        QTest::addColumn<unsigned>("seed");
        QTest::addColumn<int>("maxEntries");
        QTest::newRow("within the bounds") << 3u << 200;
        QTest::newRow("the oldest going") << 17u << 6;
    }
    void operationsKeepTheirStates()
    {
        QFETCH(unsigned, seed);
        QFETCH(int, maxEntries);
        TempGame game;
        QTemporaryDir state;
        const Pair pair{game.systemDir()};
        const std::string dir = game.systemDir().toStdString();
        RunTime rt;
        rt.ProfileDir = dir;
        rt.UserProfile = std::make_unique<TIniFile>(game.userIni().toStdString());
        rt.GameProfile = std::make_unique<TIniFile>(game.gameIni().toStdString());
        rt.History = std::make_unique<HistoryKeeper>(
            ProfileHistory(state.path().toStdString() + "/history", dir, {std::size_t(maxEntries), 50u << 20}), dir,
            game.userIni().toStdString(), game.gameIni().toStdString());
        const BackupPlace place{dir, "User.ini", false, QDate(2026, 12, 8), {}, rt.History->observer()};
        struct Yes : Questions {
            bool ask(Kind, const QString&) override { return true; }
            void tell(const Notice&) override {}
        } yes;
        Changer changer(seed);
        const ProfileState original = pair.read();
        const auto changed = [&](const ProfileState& from) {
            ProfileState to = from;
            for (std::size_t f = 0; f < 2; ++f)
                if (to.files[f].bytes && changer.pick(2)) changer.change(to.files[f].bytes, *original.files[f].bytes);
            for (ProfileState::File& file : to.files)
                if (!file.bytes) file.bytes = "[Corvane.Test]\r\nBack=1\r\n"; // an operation writes whole files
            return to;
        };
        std::size_t entries = 0;
        for (int step = 0; step < 30; ++step) {
            const ProfileState before = pair.read();
            const int op = changer.pick(6);
            QString operation;
            if (op == 0) {
                operation = "Save";
                SaveBatch batch(rt);
                batch.add({{{ProfileFile::User, "Corvane.Test", "Key" + std::to_string(changer.pick(4)),
                             "v" + std::to_string(changer.pick(3))},
                            {ProfileFile::Game, "Engine.Engine", "Language", "t" + std::to_string(changer.pick(3))}},
                           false,
                           {}});
                batch.commit();
            } else if (op == 1) {
                operation = "Raw text save";
                const ProfileState typed = changed(before);
                SaveBatch(rt, "Raw text save")
                    .commit({{rt.UserProfile.get(), *typed.files[0].bytes}, {rt.GameProfile.get(), *typed.files[1].bytes}});
            } else if (op == 2 || op == 3) {
                const bool dated = op == 2 || !QFile::exists(game.systemDir() + "User.BAK");
                operation = dated ? "Restore" : ".BAK restore";
                const ProfileState source = changed(before);
                writeFile(game.systemDir() + "User_12-8-2026.INI", QByteArray::fromStdString(*source.files[0].bytes));
                writeFile(game.systemDir() + "UT2003_12-8-2026.INI", QByteArray::fromStdString(*source.files[1].bytes));
                QVERIFY(restoreProfiles(place, dated ? datedRestore(place, "12-8-2026") : bakRestore(place), yes).done);
            } else if (op == 4) {
                operation = "Reset to defaults";
                QVERIFY(restoreProfiles(place, defaultsRestore(dir), yes).done);
            } else {
                const std::vector<ProfileHistory::Entry> list = rt.History->history().entries();
                if (list.empty()) continue;
                operation = "Put back";
                const std::optional<ProfileState> wanted =
                    rt.History->history().state(list[std::size_t(changer.pick(int(list.size())))],
                                                ProfileHistory::Which::Before);
                QVERIFY(wanted);
                if (!wanted->files[0].bytes || !wanted->files[1].bytes) continue;
                QVERIFY(restoreProfiles(place, {RestoreKind::History, "then", {{}, wanted->files[0].bytes},
                                                {{}, wanted->files[1].bytes}},
                                        yes)
                            .done);
                QCOMPARE(pair.read(), *wanted);
            }
            const ProfileState after = pair.read();
            const std::vector<ProfileHistory::Entry> list = rt.History->history().entries();
            const QString where = QStringLiteral("step %1, %2").arg(step).arg(operation);
            if (after == before) {
                QVERIFY2(list.size() == entries, qPrintable(where + ": an entry for no change"));
                continue;
            }
            QVERIFY2(!list.empty() && list.front().operation == operation, qPrintable(where));
            QCOMPARE(rt.History->history().state(list.front(), ProfileHistory::Which::Before), before);
            QCOMPARE(rt.History->history().state(list.front(), ProfileHistory::Which::After), after);
            HistoryChanges changes(rt.History->history());
            changes.reload(after);
            for (std::size_t f = 0; f < 2; ++f)
                QCOMPARE(flattened((*changes.changes(0))[f]),
                         plainChanges(before.files[f].bytes, after.files[f].bytes));
            QVERIFY(list.size() <= std::size_t(maxEntries));
            entries = list.size();
        }
        QVERIFY(entries > 3);
    }

    // Real game files, one changed into another: every key change as the plain
    // reading finds it, whether all of a file is read or only its changed sections.
    void realFiles_data()
    {
        QTest::addColumn<QString>("before");
        QTest::addColumn<QString>("after");
        const QString corpus = corpusDir() + "/", demo = demoGameDir() + "/System/";
        QTest::newRow("User.ini") << demo + "User.ini" << corpus + "l2Unreal__System_User.ini";
        QTest::newRow("UT2003.ini") << corpus + "l2Unreal__System_UT2003.ini" << demo + "UT2003.ini";
        QTest::newRow("a server's") << demo + "UT2003.ini"
                                    << corpus + "ut2003-dedicated-server-setup__config_UT2003.example.ini";
        QTest::newRow("UT2004.ini") << corpus + "UT2004SteamDeckConfigs__UT2004.ini"
                                    << corpus + "l2Unreal__System_UT2003.ini";
    }
    void realFiles()
    {
        QFETCH(QString, before);
        QFETCH(QString, after);
        if (!QFile::exists(before) || !QFile::exists(after)) QSKIP("the real game files are not here");
        const std::string a = readFile(before).toStdString(), b = readFile(after).toStdString();
        const std::set<PlainChange> plain = plainChanges(a, b);
        QVERIFY(!plain.empty());
        QCOMPARE(flattened(KeyChanges::between("x.ini", a, b)), plain);
        QCOMPARE(flattened(KeyChanges::between("x.ini", b, a)), plainChanges(b, a));
        // A header put in the middle of a line: the rest of the line and the
        // lines after it, up to the next header, move into that section.
        std::string edited = b;
        edited.insert(edited.size() / 2, "\r\n[Corvane.Inserted]\r\nKey=1\r\n");
        QCOMPARE(flattened(KeyChanges::between("x.ini", b, edited)), plainChanges(b, edited));
    }

    // A history that cannot be written says why, throws nothing and keeps no
    // part of an entry; once it can be written again it works.
    void unwritable_data()
    {
        QTest::addColumn<QString>("how");
        QTest::newRow("every write refused") << "refuse all";
        QTest::newRow("the entry refused after the contents") << "refuse entries";
        QTest::newRow("a file where the folder goes") << "file";
        QTest::newRow("no home") << "no root";
    }
    void unwritable()
    {
        QFETCH(QString, how);
        TempGame game;
        QTemporaryDir state;
        const Pair pair{game.systemDir()};
        const std::string root = how == "no root" ? "" : state.path().toStdString() + "/history";
        if (how == "file") writeFile(state.path() + "/history", "in the way");
        if (how.startsWith("refuse"))
            FaultInjection::setHook([&](FaultInjection::Operation, const std::string& path) {
                return how == "refuse entries" && path.find("/blobs/") != std::string::npos;
            });
        ProfileHistory history(root, game.systemDir().toStdString());
        const ProfileHistory::Kept before = history.keepBefore("Save", pair.read());
        QVERIFY(!before);
        QVERIFY(before.id.empty());
        QVERIFY(!history.keepOutside("Changed outside", pair.read(), pair.read()));
        QVERIFY(!history.keepAfter("0000000001-00000000", pair.read()).isEmpty());
        QVERIFY(history.entries().empty());
        if (!root.empty())
            QVERIFY(QDir(QString::fromStdString(history.folder()) + "/entries")
                        .entryList(QDir::Files | QDir::Hidden)
                        .isEmpty());
        FaultInjection::setHook({});
        if (how.startsWith("refuse")) {
            QVERIFY(history.keepBefore("Save", pair.read()));
            QCOMPARE(history.entries().size(), std::size_t(1));
        }
    }

    // Where the history lives: under the user's state directory, a folder
    // per profile directory that a reader can tell, one for one directory
    // however it is reached.
    void placement()
    {
        const QByteArray saved = qgetenv("XDG_STATE_HOME");
        qputenv("XDG_STATE_HOME", "/var/tmp/state");
        QCOMPARE(ProfileHistory::defaultRoot(), std::string("/var/tmp/state/corvane2003/history"));
        for (const char* unusable : {"", "relative/state"}) {
            qputenv("XDG_STATE_HOME", unusable);
            QCOMPARE(ProfileHistory::defaultRoot(),
                     QDir::homePath().toStdString() + "/.local/state/corvane2003/history");
        }
        qputenv("XDG_STATE_HOME", saved);

        QTemporaryDir top;
        for (const char* dir : {"a/UT2003/System", "b/UT2003/System", ".ut2003/System"})
            QVERIFY(QDir(top.path()).mkpath(dir));
        QVERIFY(QFile::link(top.path() + "/a/UT2003", top.path() + "/link"));
        const auto name = [&](const char* dir) { return ProfileHistory::folderName((top.path() + dir).toStdString()); };
        QCOMPARE(name("/link/System"), name("/a/UT2003/System"));
        QCOMPARE(name("/a/UT2003/System/"), name("/a/UT2003/System"));
        QVERIFY(name("/a/UT2003/System") != name("/b/UT2003/System"));
        QVERIFY(QString::fromStdString(name("/a/UT2003/System")).startsWith("UT2003-System-"));
        QVERIFY(!name("/.ut2003/System").starts_with('.'));

        // Never inside the game's directories.
        TempGame game;
        ProfileHistory inside(game.systemDir().toStdString() + "history", game.systemDir().toStdString());
        QVERIFY(!inside.keepBefore("Save", Pair{game.systemDir()}.read()));
        QVERIFY(!QDir(game.systemDir() + "history").exists());
    }

    // The window over a small known history: its lines, the details of an
    // entry, and a put back that becomes an entry itself.
    void window()
    {
        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
        const QByteArray zone = qgetenv("TZ");
        qputenv("TZ", "UTC");
        TempGame game;
        QTemporaryDir state;
        const Pair pair{game.systemDir()};
        ProfileHistory history(state.path().toStdString() + "/history", game.systemDir().toStdString());
        QDateTime clock(QDate(2026, 12, 8), QTime(9, 58), Qt::UTC);
        history.setClock([&] { return clock = clock.addSecs(120); });
        const auto files = [](const std::string& user, const std::string& ut2003) {
            return ProfileState{{ProfileState::File{"User.ini", user}, ProfileState::File{"UT2003.ini", ut2003}}};
        };
        const ProfileState first = files("[Engine.PlayerController]\r\nFOV=90\r\nName=Player\r\n",
                                         "[Engine.Engine]\r\nRenderDevice=D3DDrv.D3DRenderDevice\r\n");
        const ProfileState second =
            files("[Engine.PlayerController]\r\nFOV = 100\r\nName=Player\r\n", *first.files[1].bytes);
        const ProfileState third =
            files(*second.files[0].bytes, "[Engine.Engine]\r\n\r\n[Engine.GameInfo]\r\nGoalScore=25\r\n");
        const ProfileState fourth = files("[engine.playercontroller]\r\nfov=100\r\nName=Player\r\nA=1\r\nB=2\r\nC=3\r\n"
                                          "[Extra]\r\nD=4\r\nE=\r\n",
                                          *third.files[1].bytes);
        pair.write(first);
        const ProfileHistory::Kept save = history.keepBefore("Save", first);
        pair.write(second);
        QVERIFY(history.keepAfter(save.id, second).isEmpty());
        pair.write(third);
        QVERIFY(history.keepOutside("Changed outside", second, third));
        QVERIFY(history.keepBefore("Reset to defaults", third)); // killed after the replace
        pair.write(fourth);

        ProfileState wanted;
        TfrmHistory window(history, fourth, [&](const ProfileState& state, const QString&) -> std::optional<ProfileState> {
            wanted = state;
            const ProfileHistory::Kept back = history.keepBefore("Put back", pair.read());
            pair.write(state);
            history.keepAfter(back.id, state);
            return pair.read();
        });
        auto* list = child<QListWidget>(&window, "lbHistory");
        QCOMPARE(list->count(), 3);
        const QStringList lines = {"08.12.26 10:04 \u2014 Reset to defaults\nUser.ini: 5 keys: A, B, C and 2 more",
                                   "08.12.26 10:02 \u2014 Changed outside\nUT2003.ini: 2 keys: RenderDevice, GoalScore",
                                   "08.12.26 10:00 \u2014 Save\nUser.ini: 1 key: FOV"};
        for (int row = 0; row < 3; ++row) {
            QCOMPARE(list->item(row)->text(), lines[row]);
            QCOMPARE(list->item(row)->font().italic(), row == 1); // made outside the program
        }

        auto* details = child<QTextEdit>(&window, "reHistoryChanges");
        QVERIFY(details->isReadOnly());
        list->setCurrentRow(1);
        const QString outside = details->toPlainText();
        for (const char* shown : {"outside the program", "UT2003.ini", "[Engine.GameInfo]", "section added",
                                  "GoalScore", "25", "RenderDevice", "removed", "D3DDrv.D3DRenderDevice"})
            QVERIFY2(outside.contains(shown), shown);
        QVERIFY(!outside.contains("User.ini"));
        list->setCurrentRow(0);
        for (const char* shown : {"[Extra]", "section added", "(empty)", "added"})
            QVERIFY2(details->toPlainText().contains(shown), shown);
        QVERIFY(!details->toPlainText().contains("FOV")); // spelled otherwise, the same key and value

        list->setCurrentRow(2);
        child<QPushButton>(&window, "btnPutBack")->click();
        QCOMPARE(wanted, first);
        QCOMPARE(pair.read(), first);
        QCOMPARE(list->count(), 4);
        QVERIFY(list->item(0)->text().contains("Put back\nUser.ini: 6 keys: FOV, A, B and 3 more"));

        // An entry of another user file is shown, but not put back over the open one.
        ProfileState other = pair.read();
        other.files[0].name = "Second.ini";
        QVERIFY(history.keepBefore("Save", other));
        int putBacks = 0;
        TfrmHistory again(history, pair.read(), [&](const ProfileState&, const QString&) {
            ++putBacks;
            return std::nullopt;
        });
        auto* putBack = child<QPushButton>(&again, "btnPutBack");
        QVERIFY(!putBack->isEnabled());
        QVERIFY(child<QTextEdit>(&again, "reHistoryChanges")->toPlainText().contains("Second.ini, which is not open"));
        child<QListWidget>(&again, "lbHistory")->setCurrentRow(1);
        QVERIFY(putBack->isEnabled());

        // A kept content damaged on the disk is never put back.
        writeFile(
            QString::fromStdString(history.folder() + "/blobs/" + ProfileHistory::digestOf(*first.files[0].bytes)),
            "[Engine.PlayerController]\r\nFOV=1\r\n");
        child<QListWidget>(&again, "lbHistory")->setCurrentRow(4); // the Save, whose before that was
        Script script;
        script.box(MessageBox::Kind::Warning, "The files kept for this entry cannot be read back",
                   MessageBox::Buttons::Ok);
        putBack->click();
        QVERIFY(script.allShown());
        QCOMPARE(putBacks, 0);
        QLocale::setDefault(QLocale::c());
        if (zone.isNull())
            qunsetenv("TZ");
        else
            qputenv("TZ", zone);
    }

    // The backup manager's comparison of a dated pair with the current files:
    // what a restore of that date would change, as the history shows it.
    void compare()
    {
        TempGame game;
        const QString sys = game.systemDir();
        writeFile(sys + "User.ini", "[DefaultPlayer]\r\nName=Now\r\nTeam=1\r\n");
        writeFile(sys + "User_12-8-2026.INI", "[DefaultPlayer]\r\nname=Then\r\nTeam=1\r\n[Extra]\r\nX=1\r\n");
        writeFile(sys + "UT2003_12-8-2026.INI", readFile(game.gameIni()));
        writeFile(sys + "User_12-9-2026.INI", "[DefaultPlayer]\r\n"); // its UT2003 file is missing
        TfrmIniManager manager({sys.toStdString(), "User.ini", false, QDate(2026, 12, 9), {}, {}}, [] {});
        QString shown;
        Script script;
        script.dialog([&](QDialog& dialog) {
            shown = child<QTextEdit>(&dialog, "reChanges")->toPlainText();
            return int(QDialog::Accepted);
        });
        script.box(MessageBox::Kind::Warning, "Cannot read UT2003_12-9-2026.INI", MessageBox::Buttons::Ok);
        for (const char* date : {"12-8-2026", "12-9-2026"}) {
            manager.treelist->clearSelection();
            manager.treelist->findItems(date, Qt::MatchExactly).first()->setSelected(true);
            child<QPushButton>(&manager, "btnCompare")->click();
        }
        QVERIFY(script.allShown());
        for (const char* part :
             {"User.ini", "[DefaultPlayer]", "Name", "Now", "Then", "[Extra]", "section added", "Current", "12-8-2026"})
            QVERIFY2(shown.contains(part, Qt::CaseInsensitive), part);
        QVERIFY(!shown.contains("UT2003")); // the same bytes
        QVERIFY(!shown.contains("Team"));
    }

private:
    void checkHistory(const ProfileHistory& history, const std::vector<Expected>& kept, const ProfileState& current,
                      std::size_t maxEntries, std::uint64_t maxBytes)
    {
        const std::vector<ProfileHistory::Entry> entries = history.entries();
        const std::size_t count = entries.size();
        QVERIFY(count >= 1 && count <= maxEntries && count <= kept.size());
        QVERIFY(blobBytes(history) <= maxBytes);
        // The oldest went first, and none went before a bound made it.
        if (count < kept.size() && count < maxEntries) QVERIFY(distinctSize(kept, count + 1) > maxBytes);

        QCOMPARE(history.lastKept(), kept.back().after);
        HistoryChanges changes(history);
        changes.reload(current);
        QCOMPARE(changes.entries().size(), count);
        for (std::size_t i = 0; i < count; ++i) {
            const Expected& expected = kept[kept.size() - 1 - i];
            const ProfileHistory::Entry& entry = entries[i];
            QCOMPARE(entry.operation, expected.operation);
            QCOMPARE(entry.outside, expected.outside);
            QCOMPARE(history.state(entry, ProfileHistory::Which::Before), std::optional(expected.before));
            QCOMPARE(history.state(entry, ProfileHistory::Which::After), expected.after);
            const ProfileState& after = expected.after ? *expected.after
                                        : i == 0       ? current
                                                       : kept[kept.size() - i].before;
            const HistoryChanges::FilesChanges* found = changes.changes(i);
            QVERIFY(found);
            for (std::size_t f = 0; f < 2; ++f) {
                QCOMPARE((*found)[f].textChanged, expected.before.files[f].bytes != after.files[f].bytes);
                QCOMPARE(flattened((*found)[f]), plainChanges(expected.before.files[f].bytes, after.files[f].bytes));
            }
        }
    }
};

QTEST_MAIN(TestHistory)
#include "test_history.moc"
