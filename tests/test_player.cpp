// The "General Settings" page: player keys, sliders, character list, weapon
// priority list, change test and stats checks, in the C and a comma locale.
#include "core/RunTime.h"
#include "pages/Binding.h"
#include "pages/player/CharacterList.h"
#include "pages/player/GeneralSettingsPage.h"
#include "pages/player/ThumbSlider.h"
#include "pages/player/WeaponPriority.h"
#include "platform/Paths.h"
#include "profile/IniFiles.h"
#include "tests/support/LoggingIni.h"
#include "tests/support/PageContract.h"
#include "tests/support/TestSupport.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>
#include <clocale>
#include <functional>
#include <memory>

using MessageBox::Buttons;
using MessageBox::Kind;
using TestSupport::child;

namespace {

const QByteArray Players = "[Public]\r\n"
                           "Player=(DefaultName=\"Gorge\",Mesh=Jugg.JuggMaleA,species=xGame.SPECIES_Jugg)\r\n"
                           "Player=(DefaultName=\"Ophelia\",Mesh=HumanFemaleA.NightFemaleA)\r\n";

// A game System directory of hand-made files with the accessors a load opens.
class Game {
public:
    explicit Game(const QByteArray& user, const QByteArray& ut2003 = {}, bool withPlayers = true)
    {
        system = dir.path() + "/System/";
        TestSupport::writeFile(system + "User.ini", user);
        TestSupport::writeFile(system + "UT2003.ini", ut2003);
        if (withPlayers) TestSupport::writeFile(system + "xplayersL1.upl", Players);
        rt.SystemDir = system.toStdString();
        rt.CurrentUserFileName = "User.ini";
        open();
    }
    void open()
    {
        rt.UserProfile = std::make_unique<TIniFile>((system + "User.ini").toStdString());
        rt.GameProfile = std::make_unique<TIniFile>((system + "UT2003.ini").toStdString());
    }
    QString user(const char* section, const char* key) const { return read("User.ini", section, key); }
    QString game(const char* section, const char* key) const { return read("UT2003.ini", section, key); }

    QTemporaryDir dir;
    QString system;
    RunTime rt;

private:
    QString read(const QString& file, const char* section, const char* key) const
    {
        return QString::fromStdString(TIniFile((system + file).toStdString()).ReadString(section, key, "<none>"));
    }
};

// Sets the process to German number formats (decimal comma) for its life.
class CommaLocale {
public:
    CommaLocale()
        : m_old(std::setlocale(LC_ALL, nullptr))
        , m_oldQt(QLocale())
    {
        m_active = std::setlocale(LC_ALL, "de_DE.UTF-8") != nullptr && *std::localeconv()->decimal_point == ',';
        if (m_active) QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    }
    ~CommaLocale()
    {
        std::setlocale(LC_ALL, m_old.c_str());
        QLocale::setDefault(m_oldQt);
    }
    bool active() const { return m_active; }

private:
    std::string m_old;
    QLocale m_oldQt;
    bool m_active = false;
};

#define COMMA_LOCALE_IF(wanted)                                                                                        \
    std::unique_ptr<CommaLocale> commaLocale;                                                                          \
    if (wanted) {                                                                                                      \
        commaLocale = std::make_unique<CommaLocale>();                                                                 \
        if (!commaLocale->active()) QSKIP("the de_DE.UTF-8 locale is not installed");                                  \
    }

// A profile in memory that records its writes, for the weapon list.
class MemoryIni : public TCustomIniFile {
public:
    struct Entry {
        std::string section, key, value;
    };
    std::vector<Entry> entries;
    QStringList writes;

    std::string ReadString(const std::string& section, const std::string& key,
                           const std::string& defaultValue) const override
    {
        for (const Entry& e : entries)
            if (same(e.section, section) && same(e.key, key)) return e.value;
        return defaultValue;
    }
    void WriteString(const std::string& section, const std::string& key, const std::string& value) override
    {
        writes << QString::fromStdString(section + ":" + key + "=" + value);
    }
    void ReadSections(std::vector<std::string>& sections) const override
    {
        sections.clear();
        for (const Entry& e : entries)
            if (std::none_of(sections.begin(), sections.end(), [&](auto& s) { return same(s, e.section); }))
                sections.push_back(e.section);
    }
    void UpdateFile() override {}

private:
    static bool same(const std::string& a, const std::string& b)
    {
        return QString::fromStdString(a).compare(QString::fromStdString(b), Qt::CaseInsensitive) == 0;
    }
};

// "Name:Priority" entries; a name without ":" is a section without Priority.
// What a save of the list writes, as "section:key=value".
QStringList written(const WeaponPriority& list)
{
    std::vector<Binding::KeyWrite> keys;
    list.writes(keys);
    QStringList out;
    for (const Binding::KeyWrite& k : keys)
        out << QString::fromStdString(k.section + ":" + k.key + "=" + k.value);
    return out;
}

MemoryIni weaponFile(const QStringList& sections)
{
    MemoryIni ini;
    for (const QString& s : sections) {
        const QStringList parts = s.split(':');
        if (parts.size() > 1)
            ini.entries.push_back({parts[0].toStdString(), "Priority", parts[1].toStdString()});
        else
            ini.entries.push_back({parts[0].toStdString(), "ExchangeFireModes", "0"});
    }
    return ini;
}

QByteArray sixteenWeapons()
{
    QByteArray file;
    for (int i = 1; i <= 16; ++i)
        file += "[XWeapons.W" + QByteArray::number(i) + "]\r\nPriority=" + QByteArray::number(i) + "\r\n";
    return file;
}

} // namespace

class TestPlayer : public QObject {
    Q_OBJECT
private slots:
    void sliders_data();
    void sliders();
    void boxes_data();
    void boxes();
    void missingHudSection_data();
    void missingHudSection();
    void team_data();
    void team();
    void textsRoundTrip();
    void characterWithoutByteIsRefusedBeforeWriting();
    void characterNames_data();
    void characterNames();
    void characterList();
    void missingCharacterFileLeavesTheListEmpty();
    void unreadableDecimalStopsTheLoad();
    void failedSaveKeepsTheSnapshot();
    void weaponListStart();
    void weapons_data();
    void weapons();
    void weaponReloadForgetsRemovedSections();
    void weaponsThroughThePage();
    void contract();
    void readsAndWritesInTheGamesOrder();
    void changeTest();
    void statsChecks_data();
    void statsChecks();
    void thumbsFollowTheirBoxes();
    void demoAndCorpusGames_data();
    void demoAndCorpusGames();
    void layoutFitsTheMainWindow();
};

void TestPlayer::sliders_data()
{
    QTest::addColumn<bool>("comma");
    QTest::addColumn<QString>("slider");
    QTest::addColumn<QByteArray>("section");
    QTest::addColumn<QByteArray>("key");
    QTest::addColumn<QByteArray>("stored"); // null: key absent
    QTest::addColumn<int>("position");
    QTest::addColumn<QString>("label");
    QTest::addColumn<QString>("saved"); // what the position writes once the user moves the slider there
    struct Row {
        const char* tag;
        const char* slider;
        const char* section;
        const char* key;
        const char* stored;
        int position;
        const char* label;
        const char* saved;
    };
    const Row rows[] = {
        {"sens 2.5", "tbMouseSens", "Engine.PlayerInput", "MouseSensitivity", "2.5", 250,
         "Mouse sensitivity: 2.50 (Default = 3.00)", "2.50"},
        {"sens missing", "tbMouseSens", "Engine.PlayerInput", "MouseSensitivity", nullptr, 400,
         "Mouse sensitivity: 4.00 (Default = 3.00)", "4.00"},
        {"sens comma", "tbMouseSens", "Engine.PlayerInput", "MouseSensitivity", "0,5", 400,
         "Mouse sensitivity: 4.00 (Default = 3.00)", "4.00"},
        {"sens held", "tbMouseSens", "Engine.PlayerInput", "MouseSensitivity", "99", 1500,
         "Mouse sensitivity: 15.00 (Default = 3.00)", "15.00"},
        {"sens rounded", "tbMouseSens", "Engine.PlayerInput", "MouseSensitivity", "3.006", 301,
         "Mouse sensitivity: 3.01 (Default = 3.00)", "3.01"},
        {"bob 0.008", "tbWeaponbob", "Engine.Pawn", "Bob", "0.008", 800, "Weapon bob: 0.008 (Default = 0.008)",
         "0.008000"},
        {"bob missing", "tbWeaponbob", "Engine.Pawn", "Bob", nullptr, 100, "Weapon bob: 0.001 (Default = 0.008)",
         "0.001000"},
        {"bob held high", "tbWeaponbob", "Engine.Pawn", "Bob", "1", 5000, "Weapon bob: 0.050 (Default = 0.008)",
         "0.050000"},
        {"hud 1.234", "tbHUDScale", "Engine.HUD", "HudScale", "1.234", 123, "HUD Scale: 1.23 (Default = 1.00)", "1.23"},
        {"hud comma", "tbHUDScale", "Engine.HUD", "HudScale", "0,5", 100, "HUD Scale: 1.00 (Default = 1.00)", "1.00"},
        {"hud negative", "tbHUDScale", "Engine.HUD", "HudScale", "-2", 0, "HUD Scale: 0.00 (Default = 1.00)", "0.00"},
        {"fov 130", "tbVOF", "Engine.PlayerController", "DefaultFOV", "130", 125, "Field of View: 130 (Default 85)",
         "125"},
        {"fov 50", "tbVOF", "Engine.PlayerController", "DefaultFOV", "50", 60, "Field of View: 50 (Default 85)", "60"},
        {"fov missing", "tbVOF", "Engine.PlayerController", "DefaultFOV", nullptr, 85, "Field of View: 85 (Default 85)",
         "85"},
        {"fov as the game writes it", "tbVOF", "Engine.PlayerController", "DefaultFOV", "90.000000", 90,
         "Field of View: 90 (Default 85)", "90"},
        {"fov decimal rounded", "tbVOF", "Engine.PlayerController", "DefaultFOV", "99.5", 100,
         "Field of View: 100 (Default 85)", "100"},
        {"fov hexadecimal", "tbVOF", "Engine.PlayerController", "DefaultFOV", "0x64", 100,
         "Field of View: 100 (Default 85)", "100"},
        {"fov huge", "tbVOF", "Engine.PlayerController", "DefaultFOV", "1e20", 85, "Field of View: 85 (Default 85)",
         "85"},
    };
    for (bool comma : {false, true})
        for (const Row& r : rows)
            QTest::addRow("%s%s", comma ? "de_DE " : "", r.tag)
                << comma << r.slider << QByteArray(r.section) << QByteArray(r.key)
                << (r.stored ? QByteArray(r.stored) : QByteArray()) << r.position << r.label << r.saved;
}

void TestPlayer::sliders()
{
    QFETCH(bool, comma);
    QFETCH(QString, slider);
    QFETCH(QByteArray, section);
    QFETCH(QByteArray, key);
    QFETCH(QByteArray, stored);
    QFETCH(int, position);
    QFETCH(QString, label);
    QFETCH(QString, saved);
    COMMA_LOCALE_IF(comma);

    QByteArray user = "[" + section + "]\r\n";
    if (!stored.isNull()) user += key + "=" + stored + "\r\n";
    Game game(user);
    TestSupport::Script s;
    GeneralSettingsPage page(game.rt);
    QVERIFY(page.load());
    QCOMPARE(child<QSlider>(&page, slider)->value(), position);
    const QString labelName = slider == "tbVOF"         ? "lblVOF"
                              : slider == "tbMouseSens" ? "lblMouseSens"
                              : slider == "tbWeaponbob" ? "lblBob"
                                                        : "lblHUDScale";
    QCOMPARE(child<QLabel>(&page, labelName)->text(), label);
    // Untouched, the stored text stays as it is, however the slider shows it.
    QVERIFY(page.save());
    QCOMPARE(game.user(section, key), stored.isNull() ? QString("<none>") : QString::fromLatin1(stored));
    if (key == "DefaultFOV") QCOMPARE(game.user(section, "DesiredFOV"), "<none>");
    // Moved away, saved, and moved back by hand: the position in the file's form.
    auto* moved = child<QSlider>(&page, slider);
    moved->setValue(position == moved->minimum() ? moved->maximum() : moved->minimum());
    QVERIFY(page.save());
    moved->setValue(position);
    QVERIFY(page.save());
    QCOMPARE(game.user(section, key), saved);
    if (key == "DefaultFOV") QCOMPARE(game.user(section, "DesiredFOV"), saved);
    QVERIFY(s.allShown());
}

void TestPlayer::boxes_data()
{
    QTest::addColumn<QString>("box");
    QTest::addColumn<QByteArray>("section"); // empty: the viewport-manager section of UT2003.ini
    QTest::addColumn<QByteArray>("key");
    QTest::addColumn<bool>("inverted");
    QTest::addColumn<bool>("tickedWhenMissing");
    struct Row {
        const char* box;
        const char* section;
        const char* key;
        bool inverted;
        bool tickedWhenMissing;
    };
    const Row rows[] = {
        {"cbHUD", "Engine.HUD", "bHideHUD", true, true},
        {"cbShowweaponinfo", "Engine.HUD", "bShowWeaponInfo", false, true},
        {"cbShowpersonalinfo", "Engine.HUD", "bShowPersonalInfo", false, true},
        {"cbShowPoints", "Engine.HUD", "bShowPoints", false, true},
        {"cbCrosshair", "Engine.HUD", "bCrosshairShow", false, true},
        {"cbWeaponbar", "Engine.HUD", "bShowWeaponBar", false, true},
        {"cbVoiceTaunts", "Engine.PlayerController", "bNoVoiceTaunts", true, true},
        {"cbVoiceMsg", "Engine.PlayerController", "bNoVoiceMessages", true, true},
        {"cbAutoTaunt", "Engine.PlayerController", "bAutoTaunt", false, false},
        {"cbMature", "Engine.PlayerController", "bNoMatureLanguage", true, true},
        {"cbAutoTaunts", "Engine.PlayerController", "bNoAutoTaunts", true, true},
        {"cbAnnouncer", "Engine.PlayerController", "bPlayAnnouncer", false, true},
        {"cbMsgBeep", "Engine.HUD", "bMessageBeep", false, true},
        {"cbAutoswitch", "Engine.PlayerController", "bNeverSwitchOnPickup", true, true},
        {"cbDodge", "Engine.PlayerInput", "bEnableDodging", false, true},
        {"cbWeaponBob", "Engine.Pawn", "bWeaponBob", false, false},
        {"cbUseJoystick", "", "UseJoystick", false, false},
    };
    for (const Row& r : rows)
        QTest::newRow(r.box) << r.box << QByteArray(r.section) << QByteArray(r.key) << r.inverted
                             << r.tickedWhenMissing;
}

void TestPlayer::boxes()
{
    QFETCH(QString, box);
    QFETCH(QByteArray, section);
    QFETCH(QByteArray, key);
    QFETCH(bool, inverted);
    QFETCH(bool, tickedWhenMissing);
    const bool viewport = section.isEmpty();

    // The stored flag, then whether the box shows it ticked; null: key absent.
    const std::pair<QByteArray, bool> cases[] = {
        {"True", !inverted}, {"false", inverted}, {"1", !inverted}, {"0", inverted}, {QByteArray(), tickedWhenMissing}};
    for (const auto& [stored, ticked] : cases) {
        const QByteArray line = stored.isNull() ? QByteArray() : key + "=" + stored + "\r\n";
        // The joystick key lives in the section ViewportManager names; the
        // default client's section is a decoy holding the opposite.
        const QByteArray user = viewport ? QByteArray() : "[" + section + "]\r\n" + line;
        const QByteArray ut2003 =
            viewport ? "[Engine.Engine]\r\nViewportManager=SDLDrv.SDLClient\r\n[WinDrv.WindowsClient]\r\nUseJoystick=" +
                           QByteArray(ticked ? "False" : "True") + "\r\n[SDLDrv.SDLClient]\r\n" + line
                     : QByteArray();
        Game game(user, ut2003);
        game.rt.ViewportManagerClass = "SDLDrv.SDLClient";
        TestSupport::Script s;
        GeneralSettingsPage page(game.rt);
        QVERIFY(page.load());
        auto* check = child<QCheckBox>(&page, box);
        QVERIFY2(check->isChecked() == ticked, stored.constData());

        check->setChecked(!ticked);
        QVERIFY(page.save());
        const QString written = viewport ? game.game("SDLDrv.SDLClient", key) : game.user(section, key);
        QCOMPARE(written, QString((!ticked != inverted) ? "True" : "False"));
        if (viewport) QCOMPARE(game.game("WinDrv.WindowsClient", "UseJoystick"), QString(ticked ? "False" : "True"));
        QVERIFY(s.allShown());
    }
}

void TestPlayer::missingHudSection_data()
{
    QTest::addColumn<bool>("comma");
    QTest::newRow("C") << false;
    QTest::newRow("de_DE") << true;
}

void TestPlayer::missingHudSection()
{
    QFETCH(bool, comma);
    COMMA_LOCALE_IF(comma);
    Game game("[DefaultPlayer]\r\nName=Tester\r\n");
    TestSupport::Script s;
    GeneralSettingsPage page(game.rt);
    QVERIFY(page.load());
    for (const char* name :
         {"cbHUD", "cbShowweaponinfo", "cbShowpersonalinfo", "cbShowPoints", "cbCrosshair", "cbWeaponbar"})
        QVERIFY2(child<QCheckBox>(&page, name)->isChecked(), name);
    QCOMPARE(child<QSlider>(&page, "tbHUDScale")->value(), 100);
    QCOMPARE(child<QLabel>(&page, "lblHUDScale")->text(), QString("HUD Scale: 1.00 (Default = 1.00)"));
    // The section the game leaves out stays out until a box of it is changed.
    const QByteArray before = TestSupport::readFile(game.system + "User.ini");
    QVERIFY(page.save());
    QCOMPARE(TestSupport::readFile(game.system + "User.ini"), before);
    child<QCheckBox>(&page, "cbShowPoints")->click();
    QVERIFY(page.save());
    QCOMPARE(game.user("Engine.HUD", "bShowPoints"), QString("False"));
    for (const char* key : {"bHideHUD", "HudScale", "bShowWeaponInfo", "bMessageBeep"})
        QCOMPARE(game.user("Engine.HUD", key), QString("<none>"));
}

// The team buttons show what the file holds, the game's "no team" (255) as
// neither colour; the key is written when the user picks a colour, though
// the change test never counts it.
void TestPlayer::team_data()
{
    QTest::addColumn<QByteArray>("stored");
    QTest::addColumn<QString>("shown"); // the button on: "red", "blue" or ""
    QTest::newRow("no team") << QByteArray("team=255") << "";
    QTest::newRow("2 is no colour either") << QByteArray("Team=2") << "";
    QTest::newRow("1 is blue") << QByteArray("Team=1") << "blue";
    QTest::newRow("0 is red") << QByteArray("Team=0") << "red";
    QTest::newRow("missing is red") << QByteArray() << "red";
    QTest::newRow("lower-case key") << QByteArray("team=1") << "blue";
}

void TestPlayer::team()
{
    QFETCH(QByteArray, stored);
    QFETCH(QString, shown);
    Game game("[DefaultPlayer]\r\n" + stored + "\r\n");
    TestSupport::Script s;
    GeneralSettingsPage page(game.rt);
    auto* red = child<QRadioButton>(&page, "rbTeamRed");
    auto* blue = child<QRadioButton>(&page, "rbTeamBlue");
    // A colour shown before the load does not outlive it.
    (shown == "red" ? blue : red)->click();
    QVERIFY(page.load());
    QCOMPARE(blue->isChecked(), shown == "blue");
    QCOMPARE(red->isChecked(), shown == "red");
    const QByteArray before = TestSupport::readFile(game.system + "User.ini");
    QVERIFY(page.save());
    QCOMPARE(TestSupport::readFile(game.system + "User.ini"), before);

    QRadioButton* other = shown == "red" ? blue : red;
    other->click();
    QVERIFY(!page.changed());
    QVERIFY(page.save());
    QCOMPARE(game.user("DefaultPlayer", "Team"), other == blue ? "1" : "0");
}

void TestPlayer::characterWithoutByteIsRefusedBeforeWriting()
{
    Game game("[DefaultPlayer]\r\nname=Old\r\nCharacter=Gorge\r\n");
    GeneralSettingsPage page(game.rt);
    QVERIFY(page.load());
    auto* name = child<QLineEdit>(&page, "edtPlayername");
    name->setText(QString::fromUtf8("\xe2\x82\xac name")); // the euro sign has a byte
    QVERIFY(page.save());
    QVERIFY(TestSupport::readFile(game.system + "User.ini").contains("\r\nname=\x80 name\r\n"));
    const QByteArray before = TestSupport::readFile(game.system + "User.ini");
    name->setText(QString::fromUtf8("\xe4\xb8\xad"));
    TestSupport::Script s;
    s.box(MessageBox::Kind::Error,
          QString::fromUtf8("Error occured:The character \"\xe4\xb8\xad\" cannot be stored in "
                            "the game's files. Please use another character"),
          MessageBox::Buttons::Ok);
    QVERIFY(!page.save());
    QVERIFY(s.allShown());
    QCOMPARE(TestSupport::readFile(game.system + "User.ini"), before);
}

void TestPlayer::textsRoundTrip()
{
    Game game("[DefaultPlayer]\r\nname=Gr\xe4"
              "ber\r\nCharacter=gorge\r\n"
              "[Engine.PlayerController]\r\nStatsUsername=someone\r\nStatsPassword=secret1\r\n");
    TestSupport::Script s;
    GeneralSettingsPage page(game.rt);
    QVERIFY(page.load());
    QCOMPARE(child<QLineEdit>(&page, "edtPlayername")->text(), QString::fromUtf8("Gräber"));
    auto* pass = child<QLineEdit>(&page, "edtStatsPass");
    QCOMPARE(pass->text(), QString("secret1"));
    QCOMPARE(pass->displayText(), QString("*******"));
    QCOMPARE(pass->toolTip(), QString("Works only if you didnt install the patch yet!!"));
    auto* pick = child<QComboBox>(&page, "dropChar");
    QCOMPARE(pick->currentIndex(), 0); // the entry, found in any letter case
    QCOMPARE(pick->currentText(), QString("Gorge"));
    QVERIFY(page.save());
    QCOMPARE(TestSupport::readFile(game.system + "User.ini").count("\xe4"), 1); // the game's bytes, unchanged
    QCOMPARE(game.user("DefaultPlayer", "Character"), QString("gorge"));        // untouched: as the file had it
    pick->setCurrentIndex(1);
    pick->setCurrentIndex(0);
    QVERIFY(page.save());
    QCOMPARE(game.user("DefaultPlayer", "Character"), QString("gorge")); // moved away and back: still untouched
    QCOMPARE(game.user("Engine.PlayerController", "StatsUsername"), QString("someone"));

    // A stored character the list does not know stays and is saved as it was.
    Game other("[DefaultPlayer]\r\nCharacter=Xan\r\n");
    GeneralSettingsPage second(other.rt);
    QVERIFY(second.load());
    QCOMPARE(child<QComboBox>(&second, "dropChar")->currentText(), QString("Xan"));
    QVERIFY(second.save());
    QCOMPARE(other.user("DefaultPlayer", "Character"), QString("Xan"));
    QVERIFY(s.allShown());
}

void TestPlayer::characterNames_data()
{
    QTest::addColumn<QByteArray>("line");
    QTest::addColumn<QString>("name");
    QTest::newRow("plain") << QByteArray("Player=(DefaultName=\"Gorge\",Mesh=Jugg.JuggMaleA") << "Gorge";
    QTest::newRow("blank before Mesh") << QByteArray("Player=(DefaultName=\"Gorge\", Mesh=Jugg.JuggMaleA") << "";
    QTest::newRow("no Mesh") << QByteArray("Player=(DefaultName=\"Gorge\",Race=\"Jugg\")") << "";
    QTest::newRow("empty name") << QByteArray("Player=(DefaultName=\"\",Mesh=Jugg.JuggMaleA") << "";
    QTest::newRow("Mesh first") << QByteArray("Player=(Mesh=A,DefaultName=\"Gorge\",Mesh=B") << "Gorge";
    QTest::newRow("Mesh before the name") << QByteArray("Player=(Race=\"x\",Mesh=A,DefaultName=\"Gorge\")") << "";
    QTest::newRow("no name tag") << QByteArray("Player=(Race=\"Juggernaut\",Mesh=Jugg.JuggMaleA") << "";
    QTest::newRow("section line") << QByteArray("[Public]") << "";
}

void TestPlayer::characterNames()
{
    QFETCH(QByteArray, line);
    QFETCH(QString, name);
    QCOMPARE(CharacterList::nameOf(line), name);
}

void TestPlayer::characterList()
{
    Game game("[DefaultPlayer]\r\nCharacter=Ophelia\r\n", {}, false);
    TestSupport::writeFile(game.system + "XPlayersL1.UPL", // found in any letter case
                           Players + "Player=(DefaultName=\"Sapphire\", Mesh=HumanFemaleA.NightFemaleB)\r\n"
                                     "Player=(DefaultName=\"Gorge\",Mesh=Jugg.JuggMaleB)\r\n");
    TestSupport::Script s;
    GeneralSettingsPage page(game.rt);
    QVERIFY(page.load());
    QVERIFY(page.load()); // emptied before every refill
    auto* pick = child<QComboBox>(&page, "dropChar");
    QStringList items;
    for (int i = 0; i < pick->count(); ++i)
        items << pick->itemText(i);
    QCOMPARE(items, QStringList({"Gorge", "Ophelia", "Gorge"}));
    QCOMPARE(pick->currentIndex(), 1);
}

void TestPlayer::missingCharacterFileLeavesTheListEmpty()
{
    Game game("[DefaultPlayer]\r\nName=Tester\r\n[Engine.PlayerController]\r\nbAutoTaunt=True\r\n", {}, false);
    TestSupport::Script s;
    s.box(Kind::Error, QString(), Buttons::Ok);
    GeneralSettingsPage page(game.rt);
    QVERIFY(page.load());
    QVERIFY(s.allShown());
    QVERIFY(s.shown().at(0).text.startsWith("Error occured:"));
    QVERIFY(s.shown().at(0).text.contains("xplayersL1.upl"));
    QCOMPARE(child<QLineEdit>(&page, "edtPlayername")->text(), QString("Tester"));
    QVERIFY(child<QCheckBox>(&page, "cbAutoTaunt")->isChecked());
    QCOMPARE(child<QComboBox>(&page, "dropChar")->count(), 0);
    QVERIFY(!page.changed());
}

void TestPlayer::unreadableDecimalStopsTheLoad()
{
    Game game("[DefaultPlayer]\r\nName=Tester\r\n[Engine.PlayerInput]\r\nMouseSensitivity=1e10\r\n"
              "[Engine.HUD]\r\nHudScale=1.5\r\n");
    game.rt.PagesLoaded = true;
    TestSupport::Script s;
    s.box(Kind::Error, "Error occured:'1000000000000' is not a valid integer value", Buttons::Ok);
    GeneralSettingsPage page(game.rt);
    QVERIFY(!page.load());
    QVERIFY(s.allShown());
    QCOMPARE(child<QLineEdit>(&page, "edtPlayername")->text(), QString("Tester")); // read before the failure
    QCOMPARE(child<QSlider>(&page, "tbHUDScale")->value(), 0);                     // read after it: untouched
    QVERIFY(page.changed());                                                       // no new snapshot
}

void TestPlayer::failedSaveKeepsTheSnapshot()
{
    Game game("[DefaultPlayer]\r\nName=Tester\r\n");
    game.rt.PagesLoaded = true;
    TestSupport::Script s;
    GeneralSettingsPage page(game.rt);
    QVERIFY(page.load());
    child<QLineEdit>(&page, "edtPlayername")->setText("Other");
    QVERIFY(QDir(game.system).removeRecursively()); // nowhere to write
    s.box(Kind::Error, QString(), Buttons::Ok);
    QVERIFY(!page.save());
    QVERIFY(s.allShown());
    QVERIFY(s.shown().at(0).text.startsWith("Error occured:Unable to write to "));
    QVERIFY(page.changed());
}

void TestPlayer::weaponListStart()
{
    WeaponPriority list;
    auto* table = child<QTableWidget>(&list, "vlWeapons");
    QCOMPARE(table->horizontalHeaderItem(0)->text(), QString("Priority"));
    QCOMPARE(table->horizontalHeaderItem(1)->text(), QString("Weapon"));
    QCOMPARE(list.rowCount(), 21);
    for (int row = 1; row <= 20; ++row)
        QCOMPARE(list.key(row), QString::number(row));
    QCOMPARE(list.selectedRow(), 1);
    QCOMPARE(table->editTriggers(), QAbstractItemView::NoEditTriggers);
    QCOMPARE(table->selectionMode(), QAbstractItemView::SingleSelection);
    QCOMPARE(child<QLabel>(&list, "lblWeaponOrder")->text(),
             QString("This is the order in which weapons will\nbe swapped if you have autoswitch\n"
                     "turned on, or you are using the \nnext/previous weapon command. "));
    QCOMPARE(child<QPushButton>(&list, "sbtnUp")->text(), QString("Move Up"));
    QCOMPARE(child<QPushButton>(&list, "sbtnDown")->text(), QString("Move Down"));
}

void TestPlayer::weapons_data()
{
    QTest::addColumn<QStringList>("sections");
    QTest::addColumn<QStringList>("moves"); // "3": select row 3; "up", "down": the buttons
    QTest::addColumn<QStringList>("rows");  // "row:key=weapon" checked after the moves
    QTest::addColumn<int>("rowCount");
    QTest::addColumn<QStringList>("writes");

    QStringList sixteen, sixteenWrites;
    for (int i = 1; i <= 16; ++i) {
        sixteen << QString("XWeapons.W%1:%1").arg(i);
        sixteenWrites << QString("XWeapons.W%1:Priority=%1").arg(i);
    }
    QTest::newRow("1 to 16") << sixteen << QStringList() << QStringList({"16:16=W16", "17:17=", "20:20="}) << 21
                             << sixteenWrites;
    const QStringList three = {"XWeapons.Shield:1", "XWeapons.Rifle:2", "XWeapons.Shock:3"};
    QTest::newRow("row 3 up") << three << QStringList({"3", "up"}) << QStringList({"2:2=Shock", "3:3=Rifle"}) << 21
                              << QStringList({"XWeapons.Shield:Priority=1", "XWeapons.Shock:Priority=2",
                                              "XWeapons.Rifle:Priority=3"});
    QTest::newRow("row 1 up stays") << three << QStringList({"1", "up"}) << QStringList({"1:1=Shield"}) << 21
                                    << QStringList({"XWeapons.Shield:Priority=1", "XWeapons.Rifle:Priority=2",
                                                    "XWeapons.Shock:Priority=3"});
    QTest::newRow("down and back") << three << QStringList({"1", "down", "down", "up"})
                                   << QStringList({"1:1=Rifle", "2:2=Shield", "3:3=Shock"}) << 21
                                   << QStringList({"XWeapons.Rifle:Priority=1", "XWeapons.Shield:Priority=2",
                                                   "XWeapons.Shock:Priority=3"});
    QTest::newRow("last row down stays") << QStringList({"XWeapons.Big:25"}) << QStringList({"21", "down"})
                                         << QStringList({"21:25=Big"}) << 22 << QStringList();
    QTest::newRow("no Priority") << QStringList({"XWeapons.Odd", "XWeapons.Rifle:2"}) << QStringList()
                                 << QStringList({"21:=Odd", "2:2=Rifle"}) << 22
                                 << QStringList({"XWeapons.Rifle:Priority=2"});
    QTest::newRow("priority 25") << QStringList({"XWeapons.Big:25"}) << QStringList() << QStringList({"21:25=Big"})
                                 << 22 << QStringList();
    QTest::newRow("priority 22 is saved")
        << QStringList({"XWeapons.A:21", "XWeapons.B:22"}) << QStringList() << QStringList({"21:21=A", "22:22=B"}) << 23
        << QStringList({"XWeapons.A:Priority=21", "XWeapons.B:Priority=22"});
    QTest::newRow("05 is not 5") << QStringList({"XWeapons.Five:05"}) << QStringList()
                                 << QStringList({"5:5=", "21:05=Five"}) << 22 << QStringList();
    QTest::newRow("lower-case section") << QStringList({"xWeapons.Minigun:7"}) << QStringList()
                                        << QStringList({"7:7=Minigun"}) << 21
                                        << QStringList({"XWeapons.Minigun:Priority=7"});
    QTest::newRow("later takes the row") << QStringList({"XWeapons.A:4", "XWeapons.B:4"}) << QStringList()
                                         << QStringList({"4:4=B"}) << 21 << QStringList({"XWeapons.B:Priority=4"});
    QTest::newRow("other sections") << QStringList({"Engine.Pawn:3", "XGame.xPawn:4"}) << QStringList()
                                    << QStringList({"3:3=", "4:4="}) << 21 << QStringList();
}

void TestPlayer::weapons()
{
    QFETCH(QStringList, sections);
    QFETCH(QStringList, moves);
    QFETCH(QStringList, rows);
    QFETCH(int, rowCount);
    QFETCH(QStringList, writes);

    MemoryIni ini = weaponFile(sections);
    WeaponPriority list;
    list.load(ini);
    for (const QString& move : moves) {
        if (move == "up")
            child<QPushButton>(&list, "sbtnUp")->click();
        else if (move == "down")
            child<QPushButton>(&list, "sbtnDown")->click();
        else
            list.selectRow(move.toInt());
    }
    for (const QString& expected : rows) {
        const int row = expected.section(':', 0, 0).toInt();
        QCOMPARE(list.key(row) + "=" + list.weapon(row), expected.section(':', 1));
    }
    QCOMPARE(list.rowCount(), rowCount);
    QCOMPARE(written(list), writes);
}

void TestPlayer::weaponReloadForgetsRemovedSections()
{
    MemoryIni ini = weaponFile({"XWeapons.A:1", "XWeapons.B:2"});
    WeaponPriority list;
    list.load(ini);
    ini.entries.pop_back(); // B's section removed from the file
    list.load(ini);
    QCOMPARE(list.weapon(2), QString());
    QCOMPARE(written(list), QStringList({"XWeapons.A:Priority=1"}));
}

void TestPlayer::weaponsThroughThePage()
{
    Game game(sixteenWeapons());
    TestSupport::Script s;
    GeneralSettingsPage page(game.rt);
    QVERIFY(page.load());
    auto* list = child<WeaponPriority>(&page, "groupWeapons");
    list->selectRow(3);
    child<QPushButton>(&page, "sbtnUp")->click();
    QVERIFY(page.save());
    QCOMPARE(game.user("XWeapons.W3", "Priority"), QString("2"));
    QCOMPARE(game.user("XWeapons.W2", "Priority"), QString("3"));
    QCOMPARE(game.user("XWeapons.W16", "Priority"), QString("16"));
    QCOMPARE(game.user("XWeapons.", "Priority"), QString("<none>")); // nothing for the empty rows
}

void TestPlayer::contract()
{
    TestSupport::OpenDemoGame demo;
    GeneralSettingsPage page(demo.rt);
    TestSupport::checkPageContract(page, demo.rt);
}

// The page's load and its save go over the keys in two different orders.
void TestPlayer::readsAndWritesInTheGamesOrder()
{
    Game game("");
    QStringList reads, userWrites, gameWrites;
    game.rt.UserProfile =
        std::make_unique<TestSupport::LoggingIni>((game.system + "User.ini").toStdString(), reads, userWrites);
    game.rt.GameProfile =
        std::make_unique<TestSupport::LoggingIni>((game.system + "UT2003.ini").toStdString(), reads, gameWrites);
    GeneralSettingsPage page(game.rt);
    QVERIFY(page.load());
    const QStringList controllerFlags{"bNeverSwitchOnPickup", "bNoVoiceMessages", "bNoVoiceTaunts", "bNoAutoTaunts",
                                      "bNoMatureLanguage",    "bAutoTaunt",       "bPlayAnnouncer"};
    const QStringList loadOrder = QStringList{"Name"} + controllerFlags +
                                  QStringList{"bEnableDodging",
                                              "bHideHUD",
                                              "bMessageBeep",
                                              "bShowWeaponInfo",
                                              "bShowPersonalInfo",
                                              "bShowPoints",
                                              "bShowWeaponBar",
                                              "bCrosshairShow",
                                              "UseJoystick",
                                              "StatsUsername",
                                              "StatsPassword",
                                              "bWeaponBob",
                                              "Character",
                                              "DefaultFOV",
                                              "MouseSensitivity",
                                              "HudScale",
                                              "Bob",
                                              "Team"};
    QCOMPARE(reads, loadOrder);
    for (const Binding::Row& row : page.bindings()->rows())
        TestSupport::nudge(row);
    QVERIFY(page.save());
    const QStringList saveOrder =
        QStringList{"Name"} + controllerFlags +
        QStringList{
            "DefaultFOV",        "DesiredFOV",  "bEnableDodging",   "bWeaponBob",     "bHideHUD",     "bShowWeaponInfo",
            "bShowPersonalInfo", "bShowPoints", "bCrosshairShow",   "bShowWeaponBar", "bMessageBeep", "StatsUsername",
            "StatsPassword",     "Character",   "MouseSensitivity", "HudScale",       "Bob",          "Team"};
    QCOMPARE(userWrites, saveOrder);
    QCOMPARE(gameWrites, QStringList{"UseJoystick"});
}

void TestPlayer::changeTest()
{
    Game game("[DefaultPlayer]\r\nName=Tester\r\nCharacter=Gorge\r\n" + sixteenWeapons());
    TestSupport::Script s;
    GeneralSettingsPage page(game.rt);
    QVERIFY(page.load());
    auto* name = child<QLineEdit>(&page, "edtPlayername");
    auto* pick = child<QComboBox>(&page, "dropChar");
    auto* sens = child<QSlider>(&page, "tbMouseSens");
    auto* bob = child<QCheckBox>(&page, "cbWeaponBob");
    auto* list = child<WeaponPriority>(&page, "groupWeapons");
    auto* blue = child<QRadioButton>(&page, "rbTeamBlue");
    auto* red = child<QRadioButton>(&page, "rbTeamRed");

    struct Edit {
        const char* what;
        std::function<void()> change, undo;
        bool countsBeforePagesLoaded;
        bool countsAfter;
    };
    const Edit edits[] = {
        {"box", [&] { bob->toggle(); }, [&] { bob->toggle(); }, true, true},
        {"slider", [&] { sens->setValue(sens->value() + 1); }, [&] { sens->setValue(sens->value() - 1); }, false, true},
        {"text", [&] { name->setText("tester"); }, [&] { name->setText("Tester"); }, false, true},
        {"pick list", [&] { pick->setCurrentIndex(1); }, [&] { pick->setCurrentIndex(0); }, false, true},
        {"weapon",
         [&] {
             list->selectRow(2);
             list->sbtnUpClick();
         },
         [&] { list->sbtnDownClick(); }, false, true},
        {"team", [&] { blue->setChecked(true); }, [&] { red->setChecked(true); }, false, false},
    };
    for (bool loaded : {false, true}) {
        game.rt.PagesLoaded = loaded;
        for (const Edit& edit : edits) {
            QVERIFY2(!page.changed(), edit.what);
            edit.change();
            QVERIFY2(page.changed() == (loaded ? edit.countsAfter : edit.countsBeforePagesLoaded), edit.what);
            edit.undo();
            QVERIFY2(!page.changed(), edit.what);
        }
    }
    name->setText("Someone");
    QVERIFY(page.changed());
    QVERIFY(page.save()); // a save takes a new snapshot
    QVERIFY(!page.changed());
    QVERIFY(page.load());
    QVERIFY(!page.changed());
    QCOMPARE(name->text(), QString("Someone"));
}

void TestPlayer::statsChecks_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("warning"); // empty: none
    const QString user = "The username must be at least 4 characters long";
    const QString pass = "The password must be at least 6 characters long";
    QTest::newRow("user 3") << "edtStatsUser"
                            << "abc" << user;
    QTest::newRow("user 1") << "edtStatsUser"
                            << "a" << user;
    QTest::newRow("user 4") << "edtStatsUser"
                            << "abcd" << QString();
    QTest::newRow("user empty") << "edtStatsUser"
                                << "" << QString();
    QTest::newRow("pass 5") << "edtStatsPass"
                            << "abcde" << pass;
    QTest::newRow("pass 6") << "edtStatsPass"
                            << "abcdef" << QString();
    QTest::newRow("pass empty") << "edtStatsPass"
                                << "" << QString();
}

void TestPlayer::statsChecks()
{
    QFETCH(QString, field);
    QFETCH(QString, text);
    QFETCH(QString, warning);
    Game game("");
    TestSupport::Script s;
    if (!warning.isEmpty()) s.box(Kind::Warning, warning, Buttons::Ok);
    GeneralSettingsPage page(game.rt);
    page.show();
    page.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&page));
    auto* edit = child<QLineEdit>(&page, field);
    auto* other = child<QLineEdit>(&page, "edtPlayername");
    edit->setFocus(Qt::MouseFocusReason);
    QTRY_VERIFY(edit->hasFocus());
    QTest::keyClicks(edit, text);
    other->setFocus(Qt::TabFocusReason);
    QCoreApplication::processEvents();
    if (warning.isEmpty()) {
        QVERIFY(s.shown().empty());
        QVERIFY(other->hasFocus());
    } else {
        QTRY_VERIFY(s.allShown());
        QTRY_VERIFY(edit->hasFocus());
    }
}

void TestPlayer::thumbsFollowTheirBoxes()
{
    Game game("[Engine.Pawn]\r\nbWeaponBob=True\r\nBob=0.01\r\n[Engine.HUD]\r\nbHideHUD=True\r\nHudScale=0.5\r\n");
    TestSupport::Script s;
    GeneralSettingsPage page(game.rt);
    QVERIFY(page.load());
    auto* bobSlider = child<ThumbSlider>(&page, "tbWeaponbob");
    auto* hudSlider = child<ThumbSlider>(&page, "tbHUDScale");
    QVERIFY(bobSlider->thumbVisible());
    QVERIFY(!hudSlider->thumbVisible());
    child<QCheckBox>(&page, "cbWeaponBob")->click();
    child<QCheckBox>(&page, "cbHUD")->click();
    QVERIFY(!bobSlider->thumbVisible());
    QVERIFY(hudSlider->thumbVisible());
    bobSlider->setValue(1200);
    QVERIFY(page.save()); // a hidden thumb keeps and saves its position
    QCOMPARE(game.user("Engine.Pawn", "Bob"), QString("0.012000"));
}

void TestPlayer::demoAndCorpusGames_data()
{
    QTest::addColumn<QString>("systemDir");
    QTest::addColumn<QString>("prefix"); // the corpus keeps files as <origin>__System_<name>
    QTest::newRow("demo game") << TestSupport::demoGameDir() + "/System/" << QString();
    QTest::newRow("corpus") << TestSupport::corpusDir() + "/" << QString("l2Unreal__System_");
}

void TestPlayer::demoAndCorpusGames()
{
    QFETCH(QString, systemDir);
    QFETCH(QString, prefix);
    const QString players = QString::fromStdString(platform::resolveNoCase(
        systemDir.toStdString(), prefix.isEmpty() ? "xplayersL1.upl" : "UT2k4-Mods__System_xplayersL1.upl"));
    if (!QFile::exists(systemDir + prefix + "User.ini") || !QFile::exists(players)) QSKIP("game files not present");
    Game game(TestSupport::readFile(systemDir + prefix + "User.ini"),
              TestSupport::readFile(systemDir + prefix + "UT2003.ini"), false);
    TestSupport::writeFile(game.system + "xplayersL1.upl", TestSupport::readFile(players));
    game.rt.PagesLoaded = true;
    TestSupport::Script s;
    GeneralSettingsPage page(game.rt);
    QVERIFY(page.load());
    QVERIFY(child<QComboBox>(&page, "dropChar")->count() > 0);
    auto* list = child<WeaponPriority>(&page, "groupWeapons");
    QVERIFY(!list->weapon(1).isEmpty());
    QVERIFY(page.save());
    QVERIFY(!page.changed());

    // What a save wrote loads back to the same controls.
    GeneralSettingsPage again(game.rt);
    QVERIFY(again.load());
    for (QWidget* control : page.findChildren<QWidget*>()) {
        const bool bound = qobject_cast<QCheckBox*>(control) || qobject_cast<QSlider*>(control) ||
                           qobject_cast<QLineEdit*>(control) || qobject_cast<QComboBox*>(control);
        if (!bound || control->objectName().isEmpty()) continue;
        QWidget* twin = again.findChild<QWidget*>(control->objectName());
        QVERIFY(twin);
        QCOMPARE(Binding::value(twin), Binding::value(control));
    }
    QVERIFY(s.allShown());
}

void TestPlayer::layoutFitsTheMainWindow()
{
    Game game("[Engine.PlayerInput]\r\nMouseSensitivity=15\r\n[Engine.Pawn]\r\nBob=0.05\r\nbWeaponBob=True\r\n"
              "[Engine.PlayerController]\r\nDefaultFOV=125\r\n[DefaultPlayer]\r\nName=Player\r\nCharacter=Gorge\r\n"
              "[XWeapons.ShockRifle]\r\nPriority=1\r\n[XWeapons.RocketLauncher]\r\nPriority=2\r\n");
    TestSupport::Script s;
    QWidget frame;
    frame.resize(790, 480);
    auto* page = new GeneralSettingsPage(game.rt, &frame);
    page->setGeometry(frame.rect());
    QVERIFY(page->load());
    frame.show();
    QVERIFY(QTest::qWaitForWindowExposed(&frame));
    QVERIFY(page->minimumSizeHint().width() <= 790 && page->minimumSizeHint().height() <= 480);
    for (QWidget* w : page->findChildren<QWidget*>()) {
        if (!w->isVisible() || w->objectName().isEmpty() || w->objectName().startsWith("qt_")) continue;
        const QRect r(w->mapTo(page, QPoint(0, 0)), w->size());
        QVERIFY2(page->rect().contains(r), qPrintable(w->objectName()));
        if (qobject_cast<QLabel*>(w) || qobject_cast<QAbstractButton*>(w))
            QVERIFY2(w->width() >= w->sizeHint().width() && w->height() >= w->sizeHint().height(),
                     qPrintable(w->objectName()));
    }
    const QString shot = qEnvironmentVariable("CORVANE_SCREENSHOT");
    if (!shot.isEmpty()) QVERIFY(frame.grab().save(shot));
}

QTEST_MAIN(TestPlayer)
#include "test_player.moc"
