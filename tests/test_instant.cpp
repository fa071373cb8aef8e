// The "Instant Action" page: rules and last choices in UT2003.ini, the map and
// mutator lists, the start parameters, map information, map pictures (bad
// files included) and the start of the game.
#include "pages/PageContext.h"
#include "core/RunTime.h"
#include "pages/instant_action/InstantActionPage.h"
#include "pages/instant_action/LaunchParameters.h"
#include "pages/instant_action/MapPicture.h"
#include "pages/instant_action/MapSources.h"
#include "platform/ShellStart.h"
#include "profile/IniFiles.h"
#include "tests/support/PageContract.h"
#include "tests/support/ProgressiveJpeg.h"
#include "tests/support/TestSupport.h"

#include <QApplication>
#include <QBuffer>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSpinBox>
#include <QStackedWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

#include <memory>

using MessageBox::Buttons;
using MessageBox::Kind;
using TestSupport::child;
using TestSupport::readFile;
using TestSupport::writeFile;

namespace {

class RecordingShell : public ShellStarter {
public:
    struct Call {
        std::string program, parameters, workDir;
    };
    std::vector<Call> started;
    bool Start(const std::string& program, const std::string& parameters, const std::string& workDir) override
    {
        started.push_back({program, parameters, workDir});
        return true;
    }
    bool OpenUrl(const std::string&) override { return true; }
};

// A picture with detail in it, so that its compressed data is most of the file.
QByteArray jpeg(int width, int height)
{
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image.setPixel(x, y, qRgb((x * 7) ^ (y * 13), (x * y) % 251, (x + y * 3) % 256));
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "JPG", 90);
    return bytes;
}

// The demo game with its maps replaced by DM-Alpha, CTF-Beta, DOM-Gamma,
// BR-Delta and CTF-Bridge, a program directory for pictures, and the page.
class Game {
public:
    explicit Game(const QStringList& maps = {"DM-Alpha", "CTF-Beta", "DOM-Gamma", "BR-Delta", "CTF-Bridge"})
    {
        QDir(demo.game.root() + "Maps").removeRecursively();
        for (const QString& map : maps)
            writeFile(demo.game.root() + "Maps/" + map + ".ut2", {});
        rt().ProgramDir = program.path().toStdString() + "/";
    }
    RunTime& rt() { return demo.rt; }
    InstantActionPage& page()
    {
        if (!m_page) m_page = std::make_unique<InstantActionPage>(context);
        return *m_page;
    }
    template <class T> T* get(const char* name) { return child<T>(&page(), QString::fromLatin1(name)); }
    QString game(const char* section, const char* key)
    {
        return QString::fromStdString(TIniFile(demo.game.gameIni().toStdString()).ReadString(section, key, "<none>"));
    }
    void setGameIni(const QByteArray& bytes) { writeFile(demo.game.gameIni(), bytes); }
    QStringList maps() { return texts(get<QListWidget>("lbMaps")); }
    static QStringList texts(const QListWidget* list)
    {
        QStringList result;
        for (int i = 0; i < list->count(); ++i)
            result << list->item(i)->text();
        return result;
    }
    QString front() { return get<QStackedWidget>("rulesStack")->currentWidget()->objectName(); }
    void pickGameType(const QString& text) { get<QComboBox>("pickGameType")->setEditText(text); }
    void selectMap(const QString& name)
    {
        get<QListWidget>("lbMaps")->findItems(name, Qt::MatchExactly)[0]->setSelected(true);
    }
    void selectMutators(const QStringList& names)
    {
        for (const QString& name : names)
            get<QListWidget>("lbMutators")->findItems(name, Qt::MatchExactly)[0]->setSelected(true);
    }
    QString commandLine() { return get<QLineEdit>("edtCmdLn")->text(); }

    TestSupport::OpenDemoGame demo;
    QTemporaryDir program;
    RecordingShell shell;
    PageContext context{demo.rt, shell, {}};

private:
    std::unique_ptr<InstantActionPage> m_page;
};

const char* const Main = "xInterface.Tab_InstantActionMain";

} // namespace

class TestInstant : public QObject {
    Q_OBJECT
private slots:
    void pageContract();
    void emptyGameIni();
    void storedGameTypeIgnoresCase();
    void botSkill_data();
    void botSkill();
    void friendlyFireIsAPercentage_data();
    void friendlyFireIsAPercentage();
    void shortSectionNamesAreNoMutators();
    void typedGameType();
    void changedTest();
    void mapFilters_data();
    void mapFilters();
    void mapListIgnoresCase();
    void mutators();
    void launchExample();
    void launchParametersOnThePage();
    void mapInformation();
    void botCountDuringStartup();
    void startReachesTheGameAsOneArgument();
    void emptyMapList();
    void badPictures_data();
    void badPictures();
    void pictureChoice();
    void largePictureDecodedSmall();
    void quoteArgument_data();
    void quoteArgument();
    void corpusFiles();
    void asciiDigitsWhateverTheLocale_data();
    void asciiDigitsWhateverTheLocale();
    void pictureBudget();
    void rememberedMapInView_data();
    void rememberedMapInView();
    void namesThatWouldAddOptions();
    void mapNameOutsideTheCodePage();
};

void TestInstant::pageContract()
{
    Game g;
    TestSupport::checkPageContract(g.page(), g.rt());
}

void TestInstant::emptyGameIni()
{
    Game g;
    g.setGameIni({});
    QVERIFY(g.page().load());
    const std::pair<const char*, int> numbers[] = {
        {"dmMaxLives", 0},     {"brTimeLimit", 0},    {"ctfScoreLimit", 15},  {"tdmMaxTeamSize", 16},
        {"ddFriendlyFire", 0}, {"ddTimeToScore", 10}, {"ddTimeDisabled", 10}, {"spinBotCount", 0},
    };
    for (const auto& [name, value] : numbers)
        QCOMPARE(g.get<QSpinBox>(name)->value(), value);
    const std::pair<const char*, bool> boxes[] = {
        {"dmPlayersReady", false}, {"ctfForceRespawn", false}, {"tdmAllowTaunts", true},
        {"brWeaponsStay", true},   {"cbTrans", true},
    };
    for (const auto& [name, on] : boxes)
        QCOMPARE(g.get<QCheckBox>(name)->isChecked(), on);
    QCOMPARE(g.get<QComboBox>("pickDiff")->currentText(), QString("Novice"));
    QCOMPARE(g.get<QComboBox>("pickGameType")->currentText(), QString("Deathmatch"));
    QCOMPARE(g.front(), QString("dmGroup"));
    QCOMPARE(g.page().selectedMap(), QString("DM-Alpha"));

    // The defaults shown are not written into the empty file; once every
    // control is changed, the rules sections come in the order the page
    // reads them, the last choices after.
    QVERIFY(g.page().save());
    QCOMPARE(readFile(g.demo.game.gameIni()), QByteArray());
    for (const Binding::Row& row : g.page().bindings()->rows())
        TestSupport::nudge(row);
    QVERIFY(g.page().save());
    const QByteArray saved = readFile(g.demo.game.gameIni());
    QVERIFY(saved.indexOf("[XGame.xBombingRun]") < saved.indexOf("[XGame.xDeathMatch]"));
    QVERIFY(saved.indexOf("[XGame.xDeathMatch]") < saved.indexOf("[XGame.xDoubleDom]"));
    QVERIFY(saved.indexOf("[XGame.xDoubleDom]") < saved.indexOf("[" + QByteArray(Main) + "]"));
}

void TestInstant::storedGameTypeIgnoresCase()
{
    Game g;
    g.setGameIni("[xInterface.Tab_InstantActionMain]\r\nLastGameType=xgame."
                 "xctfgame\r\nLastMap=ctf-bridge\r\n");
    QVERIFY(g.page().load());
    QCOMPARE(g.get<QComboBox>("pickGameType")->currentText(), QString("Capture the flag"));
    QCOMPARE(g.front(), QString("ctfGroup"));
    QCOMPARE(g.maps(), QStringList({"CTF-Beta", "CTF-Bridge"}));
    QCOMPARE(g.page().selectedMap(),
             QString("CTF-Bridge")); // LastMap matched ignoring case
    QVERIFY(g.page().save());
    QCOMPARE(g.game(Main, "LastGameType"), QString("xgame.xctfgame")); // untouched: as the file had it
    QCOMPARE(g.game(Main, "LastMap"), QString("ctf-bridge"));
    g.pickGameType("Deathmatch");
    QVERIFY(g.page().save());
    g.pickGameType("Capture the flag");
    g.selectMap("CTF-Bridge");
    QVERIFY(g.page().save());
    QCOMPARE(g.game(Main, "LastGameType"), QString("XGame.xCTFGame"));
    QCOMPARE(g.game(Main, "LastMap"), QString("CTF-Bridge"));
}

void TestInstant::botSkill_data()
{
    QTest::addColumn<QByteArray>("stored");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<QString>("written"); // once the user picks the item shown
    const char* const rows[][4] = {
        {"8 is Godlike", "8", "Godlike", "8"},      {"1 is Novice", "1", "Novice", "1"},
        {"4 is Skilled", "4", "Skilled", "4"},      {"0 clears the text", "0", "", "0"},
        {"9 leaves the list", "9", "Average", "2"}, {"no number: the default", "hard", "Novice", "1"},
    };
    for (const auto& row : rows)
        QTest::newRow(row[0]) << QByteArray(row[1]) << QString(row[2]) << QString(row[3]);
}

void TestInstant::botSkill()
{
    QFETCH(QByteArray, stored);
    QFETCH(QString, shown);
    QFETCH(QString, written);
    Game g;
    g.get<QComboBox>("pickDiff")->setCurrentIndex(1); // "Average" before the load
    g.setGameIni("[xInterface.Tab_InstantActionMain]\r\nLastBotSkill=" + stored + "\r\n");
    QVERIFY(g.page().load());
    auto* pick = g.get<QComboBox>("pickDiff");
    QCOMPARE(pick->currentText(), shown);
    QVERIFY(g.page().save());
    QCOMPARE(g.game(Main, "LastBotSkill"), QString::fromLatin1(stored)); // untouched
    pick->setCurrentIndex(pick->count() - 1 - pick->currentIndex() % 2);
    QVERIFY(g.page().save());
    pick->setCurrentIndex(pick->findText(shown));
    pick->setEditText(shown);
    QVERIFY(g.page().save());
    QCOMPARE(g.game(Main, "LastBotSkill"), written);
}

// The game keeps friendly fire as a fraction of the damage; its spin edits
// show the percentage, held in 0 to 100, and write the game's six decimals.
void TestInstant::friendlyFireIsAPercentage_data()
{
    QTest::addColumn<QByteArray>("stored"); // empty: no key
    QTest::addColumn<int>("shown");
    QTest::newRow("half") << QByteArray("0.5") << 50;
    QTest::newRow("as the game writes it") << QByteArray("0.500000") << 50;
    QTest::newRow("rounded") << QByteArray("0.333333") << 33;
    QTest::newRow("all of it") << QByteArray("1") << 100;
    QTest::newRow("none") << QByteArray("0") << 0;
    QTest::newRow("missing") << QByteArray() << 0;
    QTest::newRow("held high") << QByteArray("25") << 100;
    QTest::newRow("held low") << QByteArray("-0.2") << 0;
}

void TestInstant::friendlyFireIsAPercentage()
{
    QFETCH(QByteArray, stored);
    const QByteArray file =
        "[XGame.xTeamGame]\r\n" + (stored.isEmpty() ? QByteArray() : "FriendlyFireScale=" + stored + "\r\n");
    Game g;
    g.setGameIni(file);
    QVERIFY(g.page().load());
    auto* spin = g.get<QSpinBox>("tdmFriendlyFire");
    QTEST(spin->value(), "shown");
    QVERIFY(g.page().save());
    QCOMPARE(readFile(g.demo.game.gameIni()), file);
    for (const auto& [percent, written] :
         {std::pair(25, "0.250000"), std::pair(100, "1.000000"), std::pair(0, "0.000000")}) {
        spin->setValue(percent == spin->value() ? 1 : percent);
        spin->setValue(percent);
        QVERIFY(g.page().save());
        QCOMPARE(g.game("XGame.xTeamGame", "FriendlyFireScale"), QString(written));
    }
}

// A section of XGame.int too short to be cut before the "Mut" test is no
// mutator, and the load goes on to its end.
void TestInstant::shortSectionNamesAreNoMutators()
{
    Game g;
    writeFile(g.demo.game.systemDir() + "XGame.int", "[A]\r\nX=1\r\n[Mu]\r\n[Mut]\r\n[MutBeta]\r\n");
    g.setGameIni("[xInterface.Tab_InstantActionMain]\r\nLastGameType=XGame.xCTFGame\r\nLastMap=CTF-Bridge\r\n");
    TestSupport::Script s; // no box
    QVERIFY(g.page().load());
    QVERIFY(s.allShown());
    QCOMPARE(Game::texts(g.get<QListWidget>("lbMutators")), QStringList{"Beta"});
    QCOMPARE(g.page().selectedMap(), QString("CTF-Bridge"));
    QVERIFY(g.commandLine().startsWith("CTF-Bridge.ut2?game=XGame.xCTFGame?"));
    QVERIFY(!g.page().changed());
    g.selectMap("CTF-Beta");
    QVERIFY(g.page().changed());
}

void TestInstant::typedGameType()
{
    Game g;
    QVERIFY(g.page().load()); // the demo's last game type: Capture the flag
    auto* pick = g.get<QComboBox>("pickGameType");
    pick->lineEdit()->selectAll();
    QTest::keyClicks(pick->lineEdit(), "tEAM deathMATCH");
    QCOMPARE(InstantActionPage::pickIndex(pick), 1);
    QCOMPARE(g.front(), QString("tdmGroup"));
    QCOMPARE(g.maps(), QStringList({"DM-Alpha"}));
    QVERIFY(g.commandLine().contains("?game=XGame.xTeamGame"));

    g.pickGameType("Capture the flag");
    QCOMPARE(g.front(), QString("ctfGroup"));
    QVERIFY(g.page().save());
    g.pickGameType("Assault");
    QCOMPARE(InstantActionPage::pickIndex(pick), -1);
    QCOMPARE(g.front(), QString("ctfGroup"));
    QCOMPARE(g.maps(), QStringList({"CTF-Beta", "CTF-Bridge"}));
    QVERIFY(!g.commandLine().contains("?game="));
    QVERIFY(g.page().save());
    QCOMPARE(g.game(Main, "LastGameType"),
             QString("XGame.xCTFGame")); // not written
}

void TestInstant::changedTest()
{
    Game g;
    QVERIFY(!g.page().changed()); // never loaded
    g.get<QCheckBox>("ddWeaponsStay")->toggle();
    QVERIFY(!g.page().changed());
    QVERIFY(g.page().load());
    QVERIFY(!g.page().changed());
    auto* box = g.get<QCheckBox>("ddWeaponsStay");
    box->toggle();
    QVERIFY(g.page().changed());
    box->toggle();
    QVERIFY(!g.page().changed());
    g.selectMutators({"InstaGib", "Vampire"});
    QVERIFY(!g.page().changed());
    const QString loadedMap = g.page().selectedMap();
    g.selectMap(g.maps().first() == loadedMap ? g.maps().last() : g.maps().first());
    QVERIFY(g.page().changed());
    g.selectMap(loadedMap);
    QVERIFY(!g.page().changed());
    g.get<QComboBox>("pickDiff")->setEditText("Impossible");
    QVERIFY(g.page().changed());
}

void TestInstant::mapFilters_data()
{
    QTest::addColumn<QString>("gameType");
    QTest::addColumn<QStringList>("maps");
    QTest::newRow("Deathmatch") << "Deathmatch" << QStringList{"DM-Alpha"};
    QTest::newRow("Team Deathmatch") << "Team Deathmatch" << QStringList{"DM-Alpha"};
    QTest::newRow("Capture the flag") << "Capture the flag" << QStringList{"CTF-Beta", "CTF-Bridge"};
    QTest::newRow("Double Domination") << "Double Domination" << QStringList{"DOM-Gamma"};
    QTest::newRow("Bombingrun: BR anywhere") << "Bombingrun" << QStringList{"BR-Delta", "CTF-Bridge"};
}

void TestInstant::mapFilters()
{
    QFETCH(QString, gameType);
    QFETCH(QStringList, maps);
    Game g;
    QVERIFY(g.page().load());
    g.pickGameType(gameType);
    QCOMPARE(g.maps(), maps);
    QCOMPARE(g.page().selectedMap(), maps.first());
}

void TestInstant::mapListIgnoresCase()
{
    Game g(QStringList{});
    QDir(g.demo.game.root() + "Maps").removeRecursively();
    for (const char* name : {"dm-zulu.UT2", "DM-Alpha.ut2", "dm-beta.Ut2", "DM-Notes.txt", "DM-Old.ut2.bak"})
        writeFile(g.demo.game.root() + "maps/" + name, {});
    QDir().mkpath(g.demo.game.root() + "maps/DM-Folder.ut2");
    QCOMPARE(MapSources::mapNames(g.rt().GameRoot(), "dm"), QStringList({"DM-Alpha", "dm-beta", "dm-zulu"}));
    QVERIFY(MapSources::mapNames(g.rt().GameRoot() + "nowhere/", "DM").isEmpty());
}

void TestInstant::mutators()
{
    Game g;
    writeFile(g.demo.game.systemDir() + "XGame.int", "[Public]\r\nObject=(Name=XGame.MutBeta)\r\n[MutBeta]"
                                                     "\r\nFriendlyName=\"Beta\"\r\n[mutLower]\r\n"
                                                     "[Mutalpha]\r\n[MutAlpha]\r\n[xDeathMatch]\r\n");
    QVERIFY(g.page().load());
    QVERIFY(g.page().load());
    auto* list = g.get<QListWidget>("lbMutators");
    QCOMPARE(Game::texts(list), QStringList({"Alpha", "alpha", "Beta"}));
    QVERIFY(g.commandLine().endsWith(
        QString("?Difficulty=%1").arg(InstantActionPage::pickIndex(g.get<QComboBox>("pickDiff")))));
    g.selectMutators({"Alpha"});
    QVERIFY(g.commandLine().endsWith("?Mutator=XGame.MutAlpha"));
    g.selectMutators({"Beta"});
    QVERIFY(g.commandLine().endsWith("?Mutator=XGame.MutAlpha,XGame.MutBeta"));
    g.get<QToolButton>("SpeedButton7")->click();
    QVERIFY(list->selectedItems().isEmpty());
    QVERIFY(g.commandLine().contains(QRegularExpression("\\?Difficulty=\\d$")));

    QFile::remove(g.demo.game.systemDir() + "XGame.int");
    QVERIFY(g.page().load());
    QCOMPARE(list->count(), 0);
}

void TestInstant::launchExample()
{
    LaunchChoice choice;
    choice.map = "DM-Alpha";
    choice.gameType = 2;
    choice.bots = 4;
    choice.translocator = false;
    choice.difficulty = 3;
    choice.mutators = QStringList{"Alpha", "Beta"};
    QCOMPARE(launchParameters(choice), QString("DM-Alpha.ut2?game=XGame.xCTFGame?NumBots=4?Translocator="
                                               "False?Difficulty=3"
                                               "?Mutator=XGame.MutAlpha,XGame.MutBeta"));
}

void TestInstant::launchParametersOnThePage()
{
    Game g;
    writeFile(g.demo.game.systemDir() + "XGame.int", "[MutAlpha]\r\n[MutBeta]\r\n[MutGamma]\r\n");
    g.rt().StartupComplete = true;
    QVERIFY(g.page().load());
    g.pickGameType("capture the flag");
    g.selectMap("CTF-Bridge");
    g.get<QSpinBox>("spinBotCount")->setValue(4);
    g.get<QCheckBox>("cbTrans")->setChecked(false);
    g.get<QComboBox>("pickDiff")->setCurrentIndex(3);
    g.selectMap("CTF-Bridge"); // the difficulty refilled the map list
    g.selectMutators({"Beta", "Alpha"});
    const QString expected = "CTF-Bridge.ut2?game=XGame.xCTFGame?NumBots=4?"
                             "Translocator=False?Difficulty=3"
                             "?Mutator=XGame.MutAlpha,XGame.MutBeta";
    QCOMPARE(g.page().BuildLaunchParameters(), expected);
    QCOMPARE(g.commandLine(), expected);
    g.get<QLineEdit>("edtCmdLn")->setText("edited by hand");
    g.get<QPushButton>("Button1")->click();
    QCOMPARE(g.shell.started.size(), std::size_t(1));
    const RecordingShell::Call& call = g.shell.started[0];
    QCOMPARE(QString::fromStdString(call.parameters), expected); // the preview is never read back
    QCOMPARE(QString::fromStdString(call.program), g.demo.game.systemDir() + "UT2003.exe");
    QCOMPARE(QString::fromStdString(call.workDir), g.demo.game.systemDir());
    QCOMPARE(g.commandLine(), QString("edited by hand")); // the start changes nothing on the page
}

void TestInstant::mapInformation()
{
    Game g;
    writeFile(g.demo.game.systemDir() + "XMaps.int", "[DecoText]\r\nAlpha=First line||Second line\r\nBeta=\"Quoted, as "
                                                     "the game writes it.||\"\r\n");
    QVERIFY(g.page().load());
    struct Case {
        const char* gameType;
        const char* map;
        const char* text;
    };
    const Case cases[] = {
        {"Deathmatch", "DM-Alpha", "First line\r\nSecond line"},
        {"Capture the flag", "CTF-Beta", "Quoted, as the game writes it.\r\n"},
        {"Capture the flag", "CTF-Bridge", "Cannot find information about this map"},
    };
    for (const Case& c : cases) {
        g.pickGameType(c.gameType);
        g.selectMap(c.map);
        TestSupport::Script script;
        script.box(Kind::Information, c.text, Buttons::Ok);
        g.get<QToolButton>("SpeedButton8")->click();
        QVERIFY2(script.allShown(), c.map);
    }
    QFile::remove(g.demo.game.systemDir() + "XMaps.int");
    TestSupport::Script script;
    script.box(Kind::Information, "Cannot find information about this map", Buttons::Ok);
    g.page().SpeedButton8Click();
    QVERIFY(script.allShown());
}

void TestInstant::botCountDuringStartup()
{
    Game g;
    g.rt().StartupComplete = false;
    QVERIFY(g.page().load());
    auto* bots = g.get<QSpinBox>("spinBotCount");
    const QString before = g.commandLine();
    QVERIFY(before.contains(QString("?NumBots=%1?").arg(bots->value())));
    bots->setValue(bots->value() + 3);
    QCOMPARE(g.commandLine(), before);
    g.rt().StartupComplete = true;
    bots->setValue(bots->value() + 1);
    QVERIFY(g.commandLine().contains(QString("?NumBots=%1?").arg(bots->value())));
}

void TestInstant::startReachesTheGameAsOneArgument()
{
    const QString map = "DM-It's a \"map\"; touch pwned $(touch pwned2) `touch pwned3`";
    Game g({map});
    ProcessShellStarter shell;
    PageContext context{g.rt(), shell, {}};
    InstantActionPage page(context);
    QVERIFY(page.load());
    child<QComboBox>(&page, "pickGameType")->setEditText("Deathmatch");
    QCOMPARE(page.selectedMap(), map);
    page.Button1Click();
    const QString log = g.demo.game.systemDir() + "UT2003.exe.log";
    QTRY_VERIFY_WITH_TIMEOUT(readFile(log).endsWith("\n\n"), 10000);
    const QStringList lines = QString::fromUtf8(readFile(log)).split('\n');
    QCOMPARE(lines.value(1), "directory: " + QDir(g.demo.game.systemDir()).canonicalPath());
    QCOMPARE(lines.value(2), QString("arguments: 1"));
    QCOMPARE(lines.value(3), "argument: " + page.BuildLaunchParameters());
    for (const char* name : {"pwned", "pwned2", "pwned3"}) {
        QVERIFY(!QFile::exists(g.demo.game.systemDir() + name));
        QVERIFY(!QFile::exists(QDir::currentPath() + "/" + name));
    }
}

void TestInstant::emptyMapList()
{
    Game g(QStringList{});
    writeFile(g.program.path() + "/Alpha.jpg", jpeg(236, 107));
    QVERIFY(g.page().load());
    QCOMPARE(g.get<QListWidget>("lbMaps")->count(), 0);
    QVERIFY(g.commandLine().startsWith(".ut2?game=XGame.xCTFGame?NumBots="));
    QVERIFY(g.get<QLabel>("imgMap")->pixmap().isNull());
    QVERIFY(!g.page().changed());
    {
        TestSupport::Script script;
        script.box(Kind::Information, "Cannot find information about this map", Buttons::Ok);
        g.get<QToolButton>("SpeedButton8")->click();
        QVERIFY(script.allShown());
    }
    g.get<QPushButton>("Button1")->click();
    QVERIFY(g.shell.started.empty());
    const QString stored = g.game(Main, "LastMap");
    QVERIFY(!stored.isEmpty());
    QVERIFY(g.page().save());
    QCOMPARE(g.game(Main, "LastMap"), stored); // no map chosen: the remembered one stays
    g.pickGameType("Deathmatch");
    QCOMPARE(g.get<QListWidget>("lbMaps")->count(), 0);
}

void TestInstant::badPictures_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("reason");
    const QByteArray good = jpeg(236, 107);
    QVERIFY(good.startsWith("\xFF\xD8"));
    QByteArray corrupt = good;
    const qsizetype scan = corrupt.indexOf("\xFF\xDA"); // start of the picture data
    QVERIFY(scan > 0);
    for (qsizetype i = scan + 20; i < corrupt.size() - 2; i += 7)
        corrupt[i] = char(0xFF), corrupt[i + 1] = char(0xD3);
    QByteArray huge = good;
    const qsizetype frame = huge.indexOf("\xFF\xC0");
    QVERIFY(frame > 0);
    huge.replace(frame + 5, 4, QByteArray("\x4E\x20\x4E\x20", 4)); // 20000 by 20000 pixels
    QByteArray badTables = good;
    badTables.replace(2, 40, QByteArray(40, char(0x7F)));

    QTest::newRow("empty") << QByteArray() << "empty";
    QTest::newRow("truncated in the headers") << good.left(scan) << "missing SOS";
    QTest::newRow("truncated in the picture data") << good.left(good.size() * 3 / 4) << "Premature end";
    QTest::newRow("only the start marker") << good.left(2) << "no image";
    QTest::newRow("corrupt picture data") << corrupt << "Corrupt JPEG data";
    QTest::newRow("corrupt tables") << badTables << "table";
    QTest::newRow("huge") << huge << "too large";
    QTest::newRow("no JPEG") << QByteArray("GIF89a this is no JPEG at all") << "Not a JPEG";
    QTest::newRow("a progressive picture of many empty scans")
        << ProgressiveJpeg::make(QSize(256, 256), ProgressiveJpeg::MostScans) << "scans";
}

void TestInstant::badPictures()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, reason);
    const MapPicture::Decoded decoded = MapPicture::decode(bytes, QSize(236, 107));
    QVERIFY(decoded.image.isNull());
    QVERIFY2(decoded.failure.contains(reason), qPrintable(decoded.failure));

    // On the page: the picture is cleared, the preview still follows.
    Game g;
    writeFile(g.program.path() + "/Beta.jpg", jpeg(236, 107));
    writeFile(g.program.path() + "/Alpha.jpg", bytes);
    QVERIFY(g.page().load());
    g.pickGameType("Capture the flag");
    auto* picture = g.get<QLabel>("imgMap");
    QVERIFY(!picture->pixmap().isNull());
    g.pickGameType("Deathmatch");
    QCOMPARE(g.page().selectedMap(), QString("DM-Alpha"));
    QVERIFY(g.commandLine().startsWith("DM-Alpha.ut2?game=XGame.xDeathMatch"));
    QVERIFY(picture->pixmap().isNull());
    QVERIFY(g.page().pictureFailure().startsWith("Alpha.jpg: "));
    QCOMPARE(picture->toolTip(), g.page().pictureFailure());
}

void TestInstant::pictureChoice()
{
    Game g;
    writeFile(g.program.path() + "/Al.jpg", jpeg(50, 20));
    writeFile(g.program.path() + "/alpha.JPG", jpeg(236, 107));
    writeFile(g.program.path() + "/Gamma.jpg.txt", jpeg(236, 107));
    writeFile(g.program.path() + "/.jpg", jpeg(236, 107)); // no name: the picture of no map
    const std::string dir = g.rt().ProgramDir;
    QCOMPARE(MapPicture::fileFor(dir, "DM-Alpha"),
             g.program.path() + "/alpha.JPG"); // the last by name
    QCOMPARE(MapPicture::fileFor(dir, "CTF-ALPHA"), g.program.path() + "/alpha.JPG");
    QCOMPARE(MapPicture::fileFor(dir, "DM-Aldebaran"), g.program.path() + "/Al.jpg");
    QCOMPARE(MapPicture::fileFor(dir, "DOM-Gamma"), QString());
    QCOMPARE(MapPicture::fileFor(dir, ""), QString());

    QVERIFY(g.page().load());
    g.pickGameType("Deathmatch");
    QCOMPARE(g.get<QLabel>("imgMap")->pixmap().width(), 236);
    g.pickGameType("Double Domination");
    QVERIFY(g.get<QLabel>("imgMap")->pixmap().isNull());
    QVERIFY(g.page().pictureFailure().isEmpty());
}

void TestInstant::largePictureDecodedSmall()
{
    const MapPicture::Decoded decoded = MapPicture::decode(jpeg(2400, 1000), QSize(236, 107));
    QVERIFY(decoded.failure.isEmpty());
    QCOMPARE(decoded.image.size(), QSize(300, 125)); // an eighth, still above the box
    QCOMPARE(MapPicture::decode(jpeg(300, 120), QSize(236, 107)).image.size(), QSize(300, 120));

    // A file too large to be a map picture is not even read.
    QTemporaryDir dir;
    QFile big(dir.path() + "/Big.jpg");
    QVERIFY(big.open(QIODevice::WriteOnly) && big.resize(MapPicture::MaxFileBytes + 1));
    big.close();
    QCOMPARE(MapPicture::load(big.fileName()).failure, QString("The file is too large"));
    QVERIFY(!MapPicture::load(dir.path() + "/Missing.jpg").failure.isEmpty());

    // The shipped pictures decode at the size of the box.
    const QStringList shipped = QDir(TestSupport::sourceDir() + "/data/program").entryList({"*.jpg"});
    QVERIFY(shipped.size() >= 3);
    for (const QString& name : shipped)
        QCOMPARE(MapPicture::load(TestSupport::sourceDir() + "/data/program/" + name).image.size(), QSize(236, 107));
}

void TestInstant::quoteArgument_data()
{
    QTest::addColumn<QString>("argument");
    for (const char* text : {"DM-Alpha.ut2?game=XGame.xDeathMatch", "with blank", "", "quote\"inside", "trailing\\",
                             "blank and trailing \\", "back\\\\\"slash", "tab\there", "\\\\server\\share"})
        QTest::newRow(text) << QString::fromLatin1(text);
}

void TestInstant::quoteArgument()
{
    QFETCH(QString, argument);
    const std::string quoted = platform::quoteArgument(argument.toStdString());
    QCOMPARE(platform::splitParameters(quoted), std::vector<std::string>{argument.toStdString()});
}

void TestInstant::corpusFiles()
{
    const QString xgame = TestSupport::corpusDir() + "/UT2k4-Mods__System_XGame.int";
    const QString xmaps = TestSupport::corpusDir() + "/UT2k4-Mods__System_XMaps.int";
    if (!QFile::exists(xgame) || !QFile::exists(xmaps)) QSKIP("the real game files are not here");
    Game g;
    QFile::copy(xgame, g.demo.game.systemDir() + "XGAME.INT.tmp");
    QFile::remove(g.demo.game.systemDir() + "XGame.int");
    QFile::remove(g.demo.game.systemDir() + "XMaps.int");
    QFile::rename(g.demo.game.systemDir() + "XGAME.INT.tmp", g.demo.game.systemDir() + "xgame.int");
    QFile::copy(xmaps, g.demo.game.systemDir() + "XMaps.int");
    const QStringList mutators = MapSources::mutatorNames(g.rt().SystemDir);
    QVERIFY(mutators.contains("InstaGib"));
    QVERIFY(mutators.contains("ZoomInstagib"));
    for (const QString& name : mutators)
        QVERIFY2(!name.startsWith("Mut"), qPrintable(name));
    const QString core = MapSources::mapInformation(g.rt().SystemDir, "DM-Core");
    QVERIFY(core.startsWith("There's not all that much difference"));
    QVERIFY(core.contains("the planet.\r\n- Overseer Thale"));
    QVERIFY(!core.endsWith('"'));
}

// The bot count field and the rules fields show the digits of the user's
// locale; the game reads ASCII digits only, in its address and its files.
void TestInstant::asciiDigitsWhateverTheLocale_data()
{
    QTest::addColumn<QLocale>("locale");
    QTest::addColumn<int>("bots");
    const std::pair<QLocale, const char*> locales[] = {{QLocale(QLocale::Arabic, QLocale::Egypt), "Arabic"},
                                                       {QLocale(QLocale::Persian, QLocale::Iran), "Persian"},
                                                       {QLocale::c(), "C"}};
    for (const auto& [locale, name] : locales)
        for (const int bots : {12, -3})
            QTest::addRow("%s %d", name, bots) << locale << bots;
}

void TestInstant::asciiDigitsWhateverTheLocale()
{
    QFETCH(QLocale, locale);
    QFETCH(int, bots);
    const QLocale saved;
    QLocale::setDefault(locale);
    const auto restore = qScopeGuard([&] { QLocale::setDefault(saved); });
    Game g;
    g.rt().StartupComplete = true;
    QVERIFY(g.page().load());
    g.pickGameType("Deathmatch");
    auto* spin = g.get<QSpinBox>("spinBotCount");
    spin->setValue(bots);
    g.get<QSpinBox>("dmTimeLimit")->setValue(bots * 5);
    g.get<QComboBox>("pickDiff")->setCurrentIndex(6);
    if (locale != QLocale::c()) QVERIFY2(spin->text() != QString::number(bots), qPrintable(spin->text()));

    const QString expected = QString("?NumBots=%1?").arg(bots);
    QVERIFY2(g.commandLine().contains(expected), qPrintable(g.commandLine()));
    QVERIFY(g.commandLine().contains("?Difficulty=6"));
    g.get<QPushButton>("Button1")->click();
    QVERIFY(QString::fromStdString(g.shell.started.at(0).parameters).contains(expected));
    QVERIFY(g.page().save());
    QCOMPARE(g.game(Main, "LastBotCount"), QString::number(bots));
    QCOMPARE(g.game(Main, "LastBotSkill"), QString("7"));
    QCOMPARE(g.game("XGame.xDeathMatch", "TimeLimit"), QString::number(bots * 5));
}

// A picture that would hold the program up is refused as a bad picture: more
// scans than allowed, or more time. The same pictures decode when the budget
// allows them.
void TestInstant::pictureBudget()
{
    const QSize box(236, 107);
    const QByteArray twelveScans = ProgressiveJpeg::make(QSize(64, 64), 12, ProgressiveJpeg::Content::Detail);
    QVERIFY(MapPicture::decode(twelveScans, box).failure.isEmpty());
    QVERIFY(MapPicture::decode(twelveScans, box, {12, std::chrono::seconds(10)}).failure.isEmpty());
    QCOMPARE(MapPicture::decode(twelveScans, box, {11, std::chrono::seconds(10)}).failure,
             QString("The picture has more than 11 scans"));

    const QByteArray manyScans = ProgressiveJpeg::make(QSize(256, 256), ProgressiveJpeg::MostScans);
    const MapPicture::Decoded refused = MapPicture::decode(manyScans, box);
    QVERIFY(refused.image.isNull());
    QCOMPARE(refused.failure, QString("The picture has more than %1 scans").arg(MapPicture::Budget().scans));
    const MapPicture::Decoded allowed =
        MapPicture::decode(manyScans, box, {ProgressiveJpeg::MostScans, std::chrono::seconds(60)});
    QVERIFY2(allowed.failure.isEmpty(), qPrintable(allowed.failure));
    QCOMPARE(allowed.image.size(), QSize(256, 256));

    for (const QByteArray& picture : {jpeg(236, 107), twelveScans}) {
        const MapPicture::Decoded late = MapPicture::decode(picture, box, {100, std::chrono::milliseconds(-1)});
        QVERIFY(late.image.isNull());
        QCOMPARE(late.failure, QString("The picture takes too long to decode"));
    }
}

// After a load the remembered map is the current and the selected one and
// can be seen, whether the page was shown before or after; the arrow keys go
// on from it, and a Ctrl+click or Ctrl+Space cannot take the choice away.
void TestInstant::rememberedMapInView_data()
{
    QTest::addColumn<bool>("shownFirst");
    QTest::newRow("page shown, then loaded") << true;
    QTest::newRow("loaded, then shown") << false;
}

void TestInstant::rememberedMapInView()
{
    QFETCH(bool, shownFirst);
    QStringList maps;
    for (int i = 0; i < 60; ++i)
        maps << QString("DM-Map%1").arg(i, 2, 10, QLatin1Char('0'));
    Game g(maps);
    g.setGameIni("[xInterface.Tab_InstantActionMain]\r\nLastGameType=XGame.xDeathMatch\r\nLastMap=dm-map47\r\n");
    g.page().resize(800, 500);
    if (shownFirst) g.page().show();
    QVERIFY(g.page().load());
    if (!shownFirst) g.page().show();
    QVERIFY(QTest::qWaitForWindowExposed(&g.page()));
    auto* list = g.get<QListWidget>("lbMaps");
    QCOMPARE(list->currentItem()->text(), QString("DM-Map47"));
    QCOMPARE(g.page().selectedMap(), QString("DM-Map47"));
    QVERIFY(list->viewport()->rect().contains(list->visualItemRect(list->currentItem())));

    const QPoint remembered = list->visualItemRect(list->currentItem()).center();
    QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::ControlModifier, remembered);
    QCOMPARE(g.page().selectedMap(), QString("DM-Map47"));
    list->setFocus();
    QTest::keyClick(list, Qt::Key_Space, Qt::ControlModifier);
    QCOMPARE(g.page().selectedMap(), QString("DM-Map47"));
    QVERIFY(g.commandLine().startsWith("DM-Map47.ut2?"));

    QTest::keyClick(list, Qt::Key_Down);
    QCOMPARE(g.page().selectedMap(), QString("DM-Map48"));
    const QPoint other = list->visualItemRect(list->item(46)).center();
    QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::ControlModifier, other);
    QCOMPARE(g.page().selectedMap(), QString("DM-Map46")); // Ctrl+click still picks another map
    QCOMPARE(list->selectedItems().size(), 1);
}

// A "?" in a name would add an option to the game's address, a "," another
// mutator, a "\" a path: such maps and mutators are not offered.
void TestInstant::namesThatWouldAddOptions()
{
    Game g({"DM-X?game=Other.Game", "DM-Two,Maps", "DM-Back\\slash", "DM-Plain", "CTF-Flag"});
    writeFile(g.demo.game.systemDir() + "XGame.int",
              "[MutX?game=Other.Game]\r\n[MutOne,MutTwo]\r\n[MutBack\\slash]\r\n[MutPlain]\r\n");
    QVERIFY(g.page().load());
    g.pickGameType("Deathmatch");
    QCOMPARE(g.maps(), QStringList({"DM-Plain"}));
    QCOMPARE(Game::texts(g.get<QListWidget>("lbMutators")), QStringList({"Plain"}));
    g.selectMutators({"Plain"});
    QVERIFY(g.commandLine().startsWith("DM-Plain.ut2?game=XGame.xDeathMatch?NumBots="));
    QVERIFY(g.commandLine().endsWith("?Mutator=XGame.MutPlain"));
}

// The game's file cannot store a map name outside its code page: the save
// keeps the remembered map, writes everything else and says so once.
void TestInstant::mapNameOutsideTheCodePage()
{
    TestSupport::Script script; // no box: the save tells nothing itself
    Game g({QString::fromUtf8("DM-\u03A9mega"), "DM-Alpha"});
    g.setGameIni("[xInterface.Tab_InstantActionMain]\r\nLastGameType=XGame.xDeathMatch\r\nLastMap=DM-Alpha\r\n");
    QVERIFY(g.page().load());
    QVERIFY(g.page().saveNotice().isEmpty());
    g.selectMap(QString::fromUtf8("DM-\u03A9mega"));
    g.get<QSpinBox>("dmTimeLimit")->setValue(25);
    g.get<QSpinBox>("spinBotCount")->setValue(5);
    QVERIFY(g.page().save());
    QCOMPARE(g.game(Main, "LastMap"), QString("DM-Alpha"));
    QCOMPARE(g.game(Main, "LastBotCount"), QString("5"));
    QCOMPARE(g.game("XGame.xDeathMatch", "TimeLimit"), QString("25"));
    const QString notice = g.page().saveNotice();
    QVERIFY2(notice.contains(QString::fromUtf8("DM-\u03A9mega")), qPrintable(notice));
    QVERIFY(!g.page().changed());

    g.selectMap("DM-Alpha");
    QVERIFY(g.page().save());
    QVERIFY(g.page().saveNotice().isEmpty());
    QCOMPARE(g.game(Main, "LastMap"), QString("DM-Alpha"));
    QVERIFY(script.allShown());
}

QTEST_MAIN(TestInstant)
#include "test_instant.moc"
