// The installations the setup dialog finds in a player's home directory,
// and the native Linux game: its profiles in ~/.ut2003/System, its start
// without Wine; a Windows game started in the Wine prefix that holds it.

#include "app/fMain.h"
#include "backup/fIniManager.h"
#include "dialogs/DirectoryEdit.h"
#include "dialogs/dlgInit.h"
#include "pages/instant_action/InstantActionPage.h"
#include "platform/DateText.h"
#include "platform/GameLayout.h"
#include "platform/InstallationFinder.h"
#include "tests/support/MainWindowHarness.h"
#include "tests/support/UnprivilegedChild.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFocusEvent>
#include <QLabel>
#include <QListWidget>
#include <QTest>
#include <QTreeWidget>

#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>

using namespace TestSupport;
using MessageBox::Answer;
using MessageBox::Buttons;
using MessageBox::Kind;

namespace {

const char* const WowDemo = "Software\\Wow6432Node\\Unreal Technology\\Installed Apps\\UT2003Demo";
const char* const Game = "Software\\Unreal Technology\\Installed Apps\\UT2003";

// A prefix of the fake home, how the game is in it, and the game directory
// the list shows (nullptr: not listed). A path starting with "/" lies outside
// the home directory, on another drive.
struct Place {
    const char* kind;
    const char* prefix;
    const char* key; // the installer's entry, with `folder` as its Windows path
    const char* folder;
    const char* copy; // a game program put below drive_c without an installer
    const char* listed;
};
const Place Places[] = {
    {"Wine", "custom/prefix", Game, "C:\\UT2003", nullptr, "custom/prefix/drive_c/UT2003"}, // $WINEPREFIX
    {"Wine", ".wine", WowDemo, "C:\\Program Files\\UT2003 Demo\\", nullptr, ".wine/drive_c/Program Files/UT2003 Demo"},
    {"Wine", ".local/share/wineprefixes/ut", nullptr, nullptr, "Games/UT2003/system/ut2003.EXE",
     ".local/share/wineprefixes/ut/drive_c/Games/UT2003"},
    {"Lutris", "Games/ut2003", Game, "C:\\UT2003", "UT2003/System/UT2003.exe", "Games/ut2003/drive_c/UT2003"},
    {"Lutris", "lutris/goty", nullptr, nullptr, "UT2003/System/UT2003.exe", "lutris/goty/drive_c/UT2003"},
    {"Bottles", ".local/share/bottles/bottles/UT", nullptr, nullptr, "users/me/UT2003/System/UT2003.exe",
     ".local/share/bottles/bottles/UT/drive_c/users/me/UT2003"},
    {"Bottles", ".var/app/com.usebottles.bottles/data/bottles/bottles/UT", Game, "C:\\Games\\UT2003", nullptr,
     ".var/app/com.usebottles.bottles/data/bottles/bottles/UT/drive_c/Games/UT2003"},
    {"PlayOnLinux", ".PlayOnLinux/wineprefix/UT2003", Game, "c:\\ut2003", nullptr,
     ".PlayOnLinux/wineprefix/UT2003/drive_c/ut2003"},
    {"Proton", ".local/share/Steam/steamapps/compatdata/32000/pfx", nullptr, nullptr, "UT2003/System/UT2003.exe",
     ".local/share/Steam/steamapps/compatdata/32000/pfx/drive_c/UT2003"},
    {"Proton", "/mnt/games/SteamLibrary/steamapps/compatdata/32000/pfx", nullptr, nullptr, "UT2003/System/UT2003.exe",
     "/mnt/games/SteamLibrary/steamapps/compatdata/32000/pfx/drive_c/UT2003"},
    {"Heroic", "Games/Heroic/Prefixes/ut2003", nullptr, nullptr, "GOG Games/UT2003/System/UT2003.exe",
     "Games/Heroic/Prefixes/ut2003/drive_c/GOG Games/UT2003"},
    {"Heroic", "Games/Heroic/Prefixes/default/Unreal Tournament 2003", Game, "C:\\GOG Games\\UT2003", nullptr,
     "Games/Heroic/Prefixes/default/Unreal Tournament 2003/drive_c/GOG Games/UT2003"},
    {nullptr, ".local/share/wineprefixes/deep", nullptr, nullptr, "a/b/c/UT2003/System/UT2003.exe", nullptr},
    {nullptr, ".local/share/wineprefixes/stale", Game, "C:\\Removed", nullptr, nullptr},
};

QByteArray systemReg(const char* key, const char* folder)
{
    QByteArray text = "WINE REGISTRY Version 2\n;; All keys relative to \\\\Machine\n\n";
    if (key)
        text += "[" + QByteArray(key).replace("\\", "\\\\") + "] 1700000000\n\"Folder\"=\"" +
                QByteArray(folder).replace("\\", "\\\\") + "\"\n";
    return text;
}

// A home directory with a prefix of every kind and the native game, and
// (from the second run of a test on) what could hang or mislead a search.
class FakeHome {
public:
    FakeHome()
    {
        ::chmod(QFile::encodeName(m_dir.path()).constData(), 0755); // the unprivileged child reads it
        for (const Place& p : Places) {
            writeFile(at(p.prefix) + "/system.reg", systemReg(p.key, p.folder));
            QDir().mkpath(at(p.prefix) + "/drive_c");
            if (p.copy) writeFile(at(p.prefix) + "/drive_c/" + p.copy, "MZ");
            if (p.key && p.listed) QDir().mkpath(at(p.listed) + "/System");
        }
        QFile::link("../.local/share/Steam", home(".steam/steam")); // Steam's usual link, found once
        // Steam's list of its libraries: its own folder first, then one on another drive.
        writeFile(home(".local/share/Steam/steamapps/libraryfolders.vdf"),
                  "\"libraryfolders\"\n{\n\t\"contentstatsid\"\t\t\"-4242\"\n\t\"0\"\n\t{\n\t\t\"path\"\t\t\"" +
                      home(".local/share/Steam").toUtf8() +
                      "\"\n\t\t\"label\"\t\t\"\"\n\t\t\"apps\"\n\t\t{\n\t\t\t\"32000\"\t\t\"1900000000\"\n\t\t}\n\t}\n"
                      "\t\"1\"\n\t{\n\t\t\"path\"\t\t\"" +
                      root().toUtf8() + "/mnt/games/SteamLibrary\"\n\t}\n}\n");
        writeFile(home(".config/lutris/games/goty-1700000000.yml"), "game:\n  exe: drive_c/UT2003/System/UT2003.exe\n"
                                                                    "  prefix: '~/lutris/goty'\nwine:\n  version: 8\n");
        writeFile(home(".config/lutris/games/again.yml"), "game:\n  prefix: " + home("Games/ut2003").toUtf8() + "\n");
        writeFile(home("Games/no-registry/drive_c/UT2003/System/UT2003.exe"), "MZ");
        for (const QString& native : {home("ut2003"), root() + "/usr/local/games/ut2003_demo", home("Games/native")})
            writeFile(native + "/System/ut2003-bin", "ELF");
        writeFile(root() + "/opt/ut2003/System/UT2003.exe", "MZ"); // no native program
    }
    ~FakeHome()
    {
        for (const QString& locked : {home(".local/share/wineprefixes/locked"), root() + "/mnt/locked"})
            ::chmod(QFile::encodeName(locked).constData(), 0755);
    }

    QString home(const QString& relative = {}) const { return root() + "/home/me/" + relative; }
    QString at(const QString& place) const { return place.startsWith('/') ? root() + place : home(place); }
    QString root() const { return QFileInfo(m_dir.path()).canonicalFilePath(); }
    platform::SearchPlaces places() const
    {
        return {home().toStdString(), home("custom/prefix").toStdString(), root().toStdString()};
    }
    QStringList expected() const
    {
        QStringList lines;
        for (const Place& p : Places)
            if (p.listed) lines << QString(p.kind) + ": " + at(p.listed);
        return lines << "Native: " + home("ut2003") << "Native: " + root() + "/usr/local/games/ut2003_demo"
                     << "Native: " + home("Games/native");
    }

    // A prefix the user may not read, links in circles and out of a prefix,
    // and named pipes where files are read.
    void addObstacles() const
    {
        const QString locked = home(".local/share/wineprefixes/locked");
        writeFile(locked + "/system.reg", systemReg(Game, "C:\\UT2003"));
        QDir().mkpath(locked + "/drive_c/UT2003/System");
        ::chmod(QFile::encodeName(locked).constData(), 0);
        QFile::link("loop", home(".local/share/wineprefixes/loop"));
        QFile::link(".", home("Games/ut2003/drive_c/loop"));
        QDir().mkpath(home("Games/ut2003/drive_c/users/me"));
        QFile::link(home(), home("Games/ut2003/drive_c/users/me/Desktop"));
        QDir().mkpath(home(".local/share/wineprefixes/fifo/drive_c"));
        ::mkfifo(QFile::encodeName(home(".local/share/wineprefixes/fifo/system.reg")).constData(), 0644);
        ::mkfifo(QFile::encodeName(home(".config/lutris/games/fifo.yml")).constData(), 0644);
        // Steam's list in its older form, with a library the user may not
        // read and one that is a link to itself.
        const QString library = root() + "/mnt/locked";
        writeFile(library + "/steamapps/compatdata/1/pfx/system.reg", systemReg(Game, "C:\\UT2003"));
        QDir().mkpath(library + "/steamapps/compatdata/1/pfx/drive_c/UT2003/System");
        ::chmod(QFile::encodeName(library).constData(), 0);
        QFile::link("loop", root() + "/mnt/loop");
        writeFile(home(".local/share/Steam/steamapps/libraryfolders.vdf"),
                  "\"LibraryFolders\"\n{\n\t\"TimeNextStatsReport\"\t\t\"1700000000\"\n\t\"1\"\t\t\"" +
                      library.toUtf8() + "\"\n\t\"2\"\t\t\"" + root().toUtf8() + "/mnt/loop\"\n\t\"3\"\t\t\"" +
                      root().toUtf8() + "/mnt/games/SteamLibrary\"\n}\n");
    }

private:
    QTemporaryDir m_dir;
};

QStringList lines(const std::vector<platform::FoundInstallation>& found)
{
    QStringList text;
    for (const auto& f : found)
        text << QString::fromStdString(f.kind + ": " + f.gameDir);
    return text;
}

// The native version in a game directory, and a home directory holding its
// profiles (HOME points there for the life of the object).
struct NativeGame {
    TempGame game;
    QTemporaryDir homeDir;
    QString profiles = homeDir.path() + "/.ut2003/System/";
    QByteArray savedHome = qgetenv("HOME");

    NativeGame()
    {
        QFile::remove(game.systemDir() + "UT2003.exe");
        writeFile(game.systemDir() + "ut2003-bin", "ELF");
        writeFile(game.root() + "ut2003", "#!/bin/sh\n");
        for (const char* name : {"User.ini", "UT2003.ini"})
            writeFile(profiles + name, "[Native]\r\nHome=1\r\n" + readFile(game.systemDir() + name));
        qputenv("HOME", QFile::encodeName(homeDir.path()));
    }
    ~NativeGame() { qputenv("HOME", savedHome); }
};

} // namespace

class TestFinder : public QObject {
    Q_OBJECT

private slots:
    void findsEveryKindOfPrefixAndTheNativeGame()
    {
        FakeHome f;
        QCOMPARE(lines(platform::findInstallations(f.places())), f.expected());
    }

    // The same list, as a user who may not read one of the prefixes, with
    // links in circles and named pipes in the way (in a child, which a
    // hang cannot take the tests down with).
    void unreadablePrefixesLoopsAndPipesChangeNothing()
    {
        FakeHome f;
        f.addObstacles();
        const UnprivilegedRun child = runUnprivileged(f.root(), {"--find", f.home(), f.home("custom/prefix"), f.root()},
                                                      QProcessEnvironment::systemEnvironment(), 20000);
        if (!child.cannotRun.isEmpty())
            QSKIP(qPrintable("cannot run the search as an unprivileged user here: " + child.cannotRun));
        QVERIFY(child.finished);
        QCOMPARE(QString::fromUtf8(child.output).split('\n', Qt::SkipEmptyParts), f.expected());
    }

    void setupDialogProposesAndLists_data()
    {
        QTest::addColumn<int>("entry"); // 0: no installer entry, 1: an entry, 2: an entry without its Folder
        QTest::addColumn<QString>("folder");
        QTest::addColumn<QString>("proposed");
        QTest::addColumn<int>("selected");
        QTest::newRow("the installer's entry stays") << 1 << "/games/other"
                                                     << "/games/other" << -1;
        QTest::newRow("the entry is a line found") << 1 << "/games/b/"
                                                   << "/games/b/" << 1;
        QTest::newRow("no entry: the first line") << 0 << ""
                                                  << "/games/a" << 0;
        QTest::newRow("entry without a folder: the first line") << 2 << ""
                                                                << "/games/a" << 0;
    }
    void setupDialogProposesAndLists()
    {
        QFETCH(int, entry);
        QFETCH(QString, folder);
        QFETCH(QString, proposed);
        QFETCH(int, selected);
        FakeRegistry registry;
        if (entry) registry.keys[TfrmInit::GameKey] = entry == 1 ? std::optional(folder.toStdString()) : std::nullopt;
        const TIniFile config("/nonexistent/Corvane2003.ini");
        TfrmInit init(registry, config, {{"Lutris", "/games/a"}, {"Native", "/games/b"}});
        QCOMPARE(init.dirEdit->text(), proposed);
        QCOMPARE(init.lbFound->currentRow(), selected);
        QCOMPARE(init.lbFound->item(0)->text(), "Lutris: /games/a");
        QCOMPARE(init.lbFound->item(1)->text(), "Native: /games/b");
        QVERIFY(init.lbFound->isVisibleTo(&init));

        TfrmInit none(registry, config);
        QVERIFY(!none.lbFound->isVisibleTo(&none));
        QCOMPARE(none.dirEdit->text(), entry == 1 ? folder : QString());
    }

    // A click or an arrow key chooses a line; Tab passing through does not.
    void choosingALineFillsTheField()
    {
        FakeRegistry registry;
        registry.keys[TfrmInit::GameKey] = "/typed/by/the/installer";
        const TIniFile config("/nonexistent/Corvane2003.ini");
        TfrmInit init(registry, config, {{"Wine", "/games/a"}, {"Proton", "/games/b"}, {"Heroic", "/games/c"}});
        init.show();
        QFocusEvent tabIn(QEvent::FocusIn, Qt::TabFocusReason);
        QApplication::sendEvent(init.lbFound, &tabIn);
        QCOMPARE(init.dirEdit->text(), "/typed/by/the/installer");
        const QRect second = init.lbFound->visualItemRect(init.lbFound->item(1));
        QTest::mouseClick(init.lbFound->viewport(), Qt::LeftButton, {}, second.center());
        QCOMPARE(init.dirEdit->text(), "/games/b");
        QTest::keyClick(init.lbFound, Qt::Key_Down);
        QCOMPARE(init.dirEdit->text(), "/games/c");
    }

    // The main window's setup offers what was found; the line chosen is the
    // game directory stored.
    void setupStoresTheChosenInstallation()
    {
        TempGame game;
        TempProgramDir program;
        QString root = game.root();
        root.chop(1);
        Environment env = testEnvironment(program);
        env.installations = [root] {
            return std::vector<platform::FoundInstallation>{{"Wine", "/elsewhere"}, {"Lutris", root.toStdString()}};
        };
        Script script;
        script.dialog([](QDialog& d) {
            auto& init = dynamic_cast<TfrmInit&>(d);
            init.lbFound->setCurrentRow(1);
            init.cbShowReadme->setChecked(false);
            init.cbAutoBackup->setChecked(false);
            init.cbUpdates->setChecked(false);
            return int(QDialog::Accepted);
        });
        TfrmMain main(std::move(env));
        QVERIFY(script.allShown());
        QCOMPARE(QString::fromStdString(main.runTime().SystemDir), game.systemDir());
    }

    // A native game is edited where it reads its profiles: Save, the dated
    // backups, the backup manager and the reset work in ~/.ut2003/System and
    // leave the game directory as it was; the pages read the game's own files
    // from it, and the game starts through its launcher.
    void nativeGameKeepsItsProfilesInTheHomeDirectory()
    {
        NativeGame n;
        TempProgramDir program(configuredProgram(n.game.systemDir()));
        const QMap<QString, QByteArray> gameFiles = filesBelow(n.game.root());
        Script script;
        Environment env = testEnvironment(program);
        const auto shell = std::static_pointer_cast<RecordingShell>(env.shell);
        auto main = std::make_unique<TfrmMain>(std::move(env));
        QCOMPARE(QString::fromStdString(main->runTime().ProfileDir), n.profiles);
        QCOMPARE(child<QLabel>(main.get(), "lblCurrUserIni")->text(), "Current User.Ini: " + n.profiles + "User.ini");
        QVERIFY(child<QListWidget>(main.get(), "lbMaps")->count() > 0);

        child<QLineEdit>(main.get(), "edtPlayername")->setText("Native Player");
        script.box(Kind::Information, "The changes has been succesfully saved!", Buttons::Ok);
        child<QAction>(main.get(), "Save1")->trigger();
        QCOMPARE(TIniFile((n.profiles + "User.ini").toStdString()).ReadString("DefaultPlayer", "Name", ""),
                 std::string("Native Player"));

        script.box(Kind::Information, {}, Buttons::Ok);
        child<QAction>(main.get(), "BackupINIs1")->trigger();
        const QString dated = "User_" + platform::todayText(QDate::currentDate()) + ".INI";
        QVERIFY(QFile::exists(n.profiles + dated));
        int listed = 0;
        script.dialog([&](QDialog& d) {
            listed = dynamic_cast<TfrmIniManager&>(d).treelist->topLevelItemCount();
            return int(QDialog::Rejected);
        });
        child<QAction>(main.get(), "Backuppedinismanager1")->trigger();
        QCOMPARE(listed, 1);

        script.box(Kind::Confirm, {}, Buttons::YesNo, Answer::Yes).box(Kind::Information, {}, Buttons::Ok);
        child<QAction>(main.get(), "Resettodefault")->trigger();
        QVERIFY(script.allShown());
        QCOMPARE(readFile(n.profiles + "User.ini"), readFile(n.game.systemDir() + "DefUser.ini"));
        QCOMPARE(readFile(n.profiles + "UT2003.ini"), readFile(n.game.systemDir() + "Default.ini"));
        QVERIFY(readFile(n.profiles + "User.BAK").contains("Native Player"));
        QCOMPARE(filesBelow(n.game.root()), gameFiles);

        auto& instant = *static_cast<InstantActionPage*>(main->page(PageId::InstantAction));
        instant.Button1Click();
        QCOMPARE(shell->started.size(), std::size_t(1));
        QCOMPARE(QString::fromStdString(shell->started[0].program), n.game.root() + "ut2003");
        QCOMPARE(QString::fromStdString(shell->started[0].workDir), n.game.root());

        // Before the game's first run there are no profiles to edit yet.
        QFile::remove(n.profiles + "User.ini");
        script.box(Kind::Error, "User.ini not found in: " + n.profiles, Buttons::Ok);
        main = std::make_unique<TfrmMain>(testEnvironment(program));
        QVERIFY(script.allShown());
        QVERIFY(!main->pagesEnabled());
    }
};

// The test program doubles as the child that searches as another user.
int main(int argc, char** argv)
{
    if (argc == 5 && std::string(argv[1]) == "--find") {
        for (const auto& f : platform::findInstallations({argv[2], argv[3], argv[4]}))
            std::printf("%s: %s\n", f.kind.c_str(), f.gameDir.c_str());
        return 0;
    }
    QApplication app(argc, argv);
    TestFinder test;
    return QTest::qExec(&test, argc, argv);
}
#include "test_finder.moc"
