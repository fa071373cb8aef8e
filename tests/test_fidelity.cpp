// A Save changes what the user changed and nothing else, on every page's
// rows: over the demo game and the real games' profiles beside the project,
// as they are and rewritten in the forms the game itself writes. A Save with
// no edit leaves both files byte for byte and does not replace them; random
// edits of a few controls change exactly the keys of those rows.

#include "app/CorvaneApplication.h"
#include "pages/Binding.h"
#include "profile/FaultInjection.h"
#include "profile/IniEdits.h"
#include "tests/support/AllPages.h"

#include <QFile>
#include <QRegularExpression>
#include <QTest>

#include <sys/stat.h>

#include <map>
#include <random>
#include <set>

using namespace TestSupport;

namespace {

// Where a file's bytes live: a replaced file is a new inode, or at least a new time.
struct Stamp {
    ino_t inode = 0;
    timespec modified{};
    bool operator==(const Stamp& other) const
    {
        return inode == other.inode && modified.tv_sec == other.modified.tv_sec &&
               modified.tv_nsec == other.modified.tv_nsec;
    }
};

Stamp stampOf(const QString& path)
{
    struct stat info {};
    if (::stat(QFile::encodeName(path).constData(), &info) != 0) return {};
    return {info.st_ino, info.st_mtim};
}

// The profile pairs; an empty name is the demo game's own file.
struct Pair {
    const char* name;
    const char* user;
    const char* game;
};
const Pair Pairs[] = {
    {"demo game", "", ""},
    {"UT2003 player (l2Unreal)", "l2Unreal__System_User.ini", "l2Unreal__System_UT2003.ini"},
    {"UT2004 player", "ut2k4_config__User.ini", "UT2004SteamDeckConfigs__UT2004.ini"},
    {"UT2004 defaults and server", "UT2k4-Mods__System_DefUser.ini", "ut2004-server-config__UT2004.ini"},
    {"hand-written UT2003 server", "", "ut2003-dedicated-server-setup__config_UT2003.example.ini"},
};

QString corpus() { return qEnvironmentVariable("CORVANE_CORPUS_DIR", corpusDir()); }

QByteArray set(QByteArray ini, const char* section, const char* key, const char* value)
{
    std::string bytes = ini.toStdString();
    const IniEdits::Write write{section, key, value};
    IniEdits::apply(bytes, std::span(&write, 1));
    return QByteArray::fromStdString(bytes);
}

// The file as the game writes it: decimals with six places, flags in lower
// case, and the values a Corvane of old turned into others: no team, a
// widescreen mode, half friendly fire, a finer mouse sensitivity, keys the
// game leaves out.
QByteArray inGameForms(QByteArray ini, bool user)
{
    static const QRegularExpression decimal(QStringLiteral("^([^=;\\[\\r\\n]+)=(-?\\d+\\.\\d+)(\\r?)$"),
                                            QRegularExpression::MultilineOption);
    static const QRegularExpression flag(QStringLiteral("^([^=;\\[\\r\\n]+)=(True|False)(\\r?)$"),
                                         QRegularExpression::MultilineOption);
    static const QRegularExpression left(
        QStringLiteral("^(Bob|HudScale|bHideHUD|StatsUsername|NoLighting|NoDynamicLights|DesiredRefreshRate|"
                       "LastMap|TextureDetailWorld)=[^\\n]*\\n"),
        QRegularExpression::MultilineOption | QRegularExpression::CaseInsensitiveOption);
    QString text = QString::fromLatin1(ini);
    QString out;
    qsizetype at = 0;
    for (auto match = decimal.globalMatch(text); match.hasNext();) {
        const QRegularExpressionMatch m = match.next();
        out += text.mid(at, m.capturedStart() - at) + m.captured(1) + "=" +
               QString::number(m.captured(2).toDouble(), 'f', 6) + m.captured(3);
        at = m.capturedEnd();
    }
    text = out + text.mid(at);
    for (auto match = flag.globalMatch(text); match.hasNext();) {
        const QRegularExpressionMatch m = match.next();
        text.replace(m.capturedStart(2), m.capturedLength(2), m.captured(2).toLower());
    }
    text.remove(left);
    ini = text.toLatin1();
    if (user) {
        ini = set(ini, "DefaultPlayer", "Team", "255");
        ini = set(ini, "Engine.PlayerInput", "MouseSensitivity", "2.375000");
        ini = set(ini, "Engine.PlayerController", "DefaultFOV", "90.000000");
    } else {
        const std::string bytes = ini.toStdString();
        const std::string client(
            IniEdits::valueOf(bytes, "Engine.Engine", "ViewportManager").value_or("WinDrv.WindowsClient"));
        ini = set(ini, client.c_str(), "FullscreenViewportX", "1366");
        ini = set(ini, client.c_str(), "FullscreenViewportY", "768");
        ini = set(ini, "XGame.xTeamGame", "FriendlyFireScale", "0.500000");
    }
    return ini;
}

// A key of a file, its names compared as the game compares them.
using Key = std::tuple<std::string, QString, QString>;
Key keyOf(const std::string& file, const std::string& section, const std::string& key)
{
    return {file, QString::fromStdString(section).trimmed().toLower(), QString::fromStdString(key).trimmed().toLower()};
}

} // namespace

class TestFidelity : public QObject {
    Q_OBJECT

private slots:
    void saveChangesOnlyTheEdits_data()
    {
        QTest::addColumn<QString>("user"); // a file beside the project; empty: the demo game's
        QTest::addColumn<QString>("game");
        QTest::addColumn<bool>("gameForms");
        for (const Pair& pair : Pairs)
            for (const bool forms : {false, true})
                QTest::addRow("%s%s", pair.name, forms ? ", in the game's forms" : "")
                    << QString::fromLatin1(pair.user) << QString::fromLatin1(pair.game) << forms;
    }
    void saveChangesOnlyTheEdits()
    {
        QFETCH(QString, user);
        QFETCH(QString, game);
        QFETCH(bool, gameForms);
        const auto profile = [&](const QString& name, bool isUser) {
            if (name.isEmpty() && !gameForms) return QByteArray();
            const QString path = name.isEmpty() ? demoGameDir() + (isUser ? "/System/User.ini" : "/System/UT2003.ini")
                                                : corpus() + "/" + name;
            const QByteArray bytes = readFile(path);
            return gameForms ? inGameForms(bytes, isUser) : bytes;
        };
        for (const QString& name : {user, game})
            if (!name.isEmpty() && !QFile::exists(corpus() + "/" + name))
                QSKIP("the real game files are not beside the project");
        const QByteArray userIni = profile(user, true);
        const QByteArray gameIni = profile(game, false);
        std::mt19937 random(2003);
        for (int round = 0; round < 8; ++round) {
            AllPages p(userIni, gameIni);
            const QString files[] = {p.demo.game.userIni(), p.demo.game.gameIni()};
            std::map<QString, QByteArray> before;
            std::map<QString, Stamp> stamps;
            for (const QString& file : files) {
                before[file] = readFile(file);
                stamps[file] = stampOf(file);
            }
            const std::vector<const Binding::Row*> rows = p.rows();
            QStringList loaded;
            for (const Binding::Row* row : rows)
                loaded << Binding::value(*row);

            // Round 0 edits nothing; the others one to three controls.
            const int edits = round == 0 ? 0 : 1 + int(random() % 3);
            for (int i = 0; i < edits; ++i)
                editRandomly(*rows[random() % rows.size()], random);
            // What the user changed, with what a change of a game type or a
            // difficulty does to the map list.
            std::map<QString, std::string> expected;
            for (const QString& file : files)
                expected[file] = before[file].toStdString();
            std::set<Key> changedKeys;
            for (std::size_t i = 0; i < rows.size(); ++i) {
                if (Binding::value(*rows[i]) == loaded[qsizetype(i)]) continue;
                for (const Binding::KeyWrite& k : Binding::writes(*rows[i], p.demo.rt)) {
                    const std::string file = p.demo.rt.openAccessor(k.file).FileName();
                    const IniEdits::Write write{k.section, k.key, k.value};
                    IniEdits::apply(expected[QString::fromStdString(file)], std::span(&write, 1));
                    changedKeys.insert(keyOf(file, k.section, k.key));
                }
            }

            const QString where = QStringLiteral("round %1").arg(round);
            for (const PendingWrite& w : p.pages.pendingWrites())
                QVERIFY2(changedKeys.count(keyOf(w.file, w.section, w.key)),
                         qPrintable(where + ": listed as pending, never edited: " + QString::fromStdString(w.key)));
            QVERIFY(p.pages.SaveAllPages());

            for (const QString& file : files) {
                const QByteArray now = readFile(file);
                QVERIFY2(now == QByteArray::fromStdString(expected[file]),
                         qPrintable(where + ": the Save changed more or less than the edits in " + file));
                if (now == before[file])
                    QVERIFY2(stampOf(file) == stamps[file], qPrintable(where + ": replaced unchanged: " + file));
            }
            QVERIFY(p.pages.pendingWrites().empty());
        }
    }
};

int main(int argc, char** argv)
{
    CorvaneApplication app(argc, argv);
    TestFidelity test;
    return QTest::qExec(&test, argc, argv);
}
#include "test_fidelity.moc"
