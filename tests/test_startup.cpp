// Start-up: the setup dialog, the program's configuration, finding the user
// file, and the status strip.

#include "app/fMain.h"
#include "dialogs/DirectoryEdit.h"
#include "dialogs/dlgInit.h"
#include "dialogs/fReadme.h"
#include "tests/support/MainWindowHarness.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QLabel>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>

using namespace TestSupport;
using MessageBox::Answer;
using MessageBox::Buttons;
using MessageBox::Kind;

namespace {

const char* GameKey = TfrmInit::GameKey;
const char* DemoKey = TfrmInit::DemoKey;

// Answers the setup dialog with a directory and the readme box as given.
ModalRunner::Handler answerSetup(const QString& dir, bool readme = false, int result = QDialog::Accepted,
                                 QString* proposed = nullptr)
{
    return [=](QDialog& d) {
        auto& init = dynamic_cast<TfrmInit&>(d);
        if (proposed) *proposed = init.dirEdit->text();
        init.dirEdit->setText(dir);
        init.cbShowReadme->setChecked(readme);
        init.cbAutoBackup->setChecked(false);
        return result;
    };
}

ModalRunner::Handler cancelSetup()
{
    return [](QDialog&) { return int(QDialog::Rejected); };
}

QString stripSlash(QString dir)
{
    if (dir.endsWith('/')) dir.chop(1);
    return dir;
}

} // namespace

class TestStartup : public QObject {
    Q_OBJECT

private slots:
    // The open profiles on their own, without a window: the setup prompt's
    // answer is stored and the profiles opened; a System directory that lost
    // its user file leaves them closed, and only a forced setup asks again.
    void openProfilesWithoutAWindow()
    {
        TempGame game;
        TempProgramDir program;
        int asked = 0;
        OpenProfiles profiles(program.dir().toStdString(),
                              {[&](const TCustomIniFile&) {
                                   ++asked;
                                   OpenProfiles::SetupAnswer answer;
                                   answer.dir = game.root().toStdString();
                                   answer.showReadme = false;
                                   return std::optional(answer);
                               },
                               {},
                               {}});
        QVERIFY(profiles.open(false).done);
        QVERIFY(profiles.isOpen());
        QCOMPARE(asked, 1);
        QCOMPARE(QString::fromStdString(profiles.rt().UserProfile->FileName()), game.userIni());
        QVERIFY(program.config().contains("Init=False"));
        QVERIFY(QFile::remove(game.userIni()));
        const Outcome lost = profiles.open(false);
        QVERIFY(!lost.done);
        QCOMPARE(lost.notices.size(), std::size_t(1));
        QCOMPARE(lost.notices[0].text, "User.ini not found in: " + game.systemDir());
        QVERIFY(!profiles.isOpen());
        QCOMPARE(asked, 1);
    }

    void firstStartRunsSetupFromRegistry()
    {
        TempGame game;
        TempProgramDir program;
        auto registry = std::make_shared<FakeRegistry>();
        registry->keys[GameKey] = stripSlash(game.root()).toStdString();
        QStringList log;

        Script script;
        QString proposed;
        bool allTicked = false;
        script.dialog([&](QDialog& d) {
            auto& init = dynamic_cast<TfrmInit&>(d);
            proposed = init.dirEdit->text();
            allTicked = init.cbAutoBackup->isChecked() && init.cbAskBackup->isChecked() &&
                        init.cbShowReadme->isChecked() && init.cbUpdates->isChecked();
            init.cbUpdates->setChecked(false);
            return int(QDialog::Accepted);
        });
        // The readme follows the setup while its box is ticked; the program
        // directory holds no ReadMe.txt, so the window says so.
        script.box(Kind::Warning, "Cannot open ReadMe.txt", Buttons::Ok);
        bool readmeShown = false;
        script.dialog([&](QDialog& d) {
            readmeShown = dynamic_cast<TfrmReadme*>(&d) != nullptr;
            return int(QDialog::Accepted);
        });
        // With both backup boxes ticked, the loaded pages are followed by the question.
        script.box(Kind::Confirm, "Do you want to make a backup now?", Buttons::YesNo, Answer::No);

        TfrmMain main(testEnvironment(program, registry, standInPages(log)));
        QVERIFY(script.allShown());
        QCOMPARE(proposed, stripSlash(game.root()));
        QVERIFY(allTicked);
        QVERIFY(readmeShown);

        const QByteArray config = program.config();
        const QByteArray expected = "[Corvane]\r\nInit=False\r\nAutoBackup=True\r\nAskBackup=True\r\n"
                                    "CheckOnStartup=False\r\nShowReadme=True\r\n\r\n[UT2k3]\r\nDir=" +
                                    stripSlash(game.root()).toUtf8() + "\r\nSystem=" + game.root().toUtf8() +
                                    "System\r\nCurrentUserIni=User.ini\r\n";
        QCOMPARE(config, expected);
        QVERIFY(!main.runTime().CheckOnStartup);
        QCOMPARE(QString::fromStdString(main.runTime().SystemDir), game.systemDir());
        QVERIFY(main.runTime().PagesLoaded);
        QVERIFY(main.runTime().StartupComplete);
        QCOMPARE(main.windowTitle(), QStringLiteral("Corvane 2003 v1.2"));
        QCOMPARE(log, QStringList({"load:KeyBinds", "load:Aliases", "load:General", "load:InstantAction",
                                   "load:GameSettings"}));
    }

    void setupRepeatsUntilDirectoryExists()
    {
        TempGame game;
        TempProgramDir program;
        QStringList log;
        Script script;
        script.dialog(answerSetup("/no/such/directory"))
            .box(Kind::Error, "Directory does not exist!", Buttons::Ok)
            .dialog(cancelSetup()) // no System stored yet: the dialog comes back
            .dialog(answerSetup(game.root()));
        TfrmMain main(testEnvironment(program, {}, standInPages(log)));
        QVERIFY(script.allShown());
        // A directory entered with its separator gets one before "System".
        QCOMPARE(QString::fromStdString(TIniFile(program.configPath().toStdString()).ReadString("UT2k3", "System", "")),
                 game.root() + "System");
        QCOMPARE(QString::fromStdString(TIniFile(program.configPath().toStdString()).ReadString("UT2k3", "Dir", "")),
                 game.root());
        QVERIFY(main.runTime().PagesLoaded);
    }

    void registryProposal_data()
    {
        QTest::addColumn<bool>("demo");
        QTest::addColumn<bool>("full");
        QTest::addColumn<bool>("fullHasValue");
        QTest::addColumn<QString>("proposed");
        QTest::newRow("none") << false << false << true << "";
        QTest::newRow("demo only") << true << false << true << "/games/demo";
        QTest::newRow("both: the full game wins") << true << true << true << "/games/full";
        QTest::newRow("full game key without Folder") << true << true << false << "";
    }
    void registryProposal()
    {
        QFETCH(bool, demo);
        QFETCH(bool, full);
        QFETCH(bool, fullHasValue);
        QFETCH(QString, proposed);
        FakeRegistry registry;
        if (demo) registry.keys[DemoKey] = "/games/demo";
        if (full) registry.keys[GameKey] = fullHasValue ? std::optional<std::string>("/games/full") : std::nullopt;
        TIniFile config("/nonexistent/Corvane2003.ini");
        TfrmInit init(registry, config);
        QCOMPARE(init.dirEdit->text(), proposed);
        QCOMPARE(init.windowTitle(), QStringLiteral("Corvane 2003 setup"));
    }

    void setupDialogShowsStoredChoices()
    {
        TempProgramDir program("[Corvane]\r\nAskBackup=False\r\nAutoBackup=0\r\nCheckOnStartup=True\r\n"
                               "ShowReadme=false\r\n[UT2k3]\r\nDir=/somewhere\r\n");
        FakeRegistry registry;
        TIniFile config(program.configPath().toStdString());
        TfrmInit init(registry, config);
        QVERIFY(!init.cbAskBackup->isChecked());
        QVERIFY(!init.cbAutoBackup->isChecked());
        QVERIFY(init.cbUpdates->isChecked());
        QVERIFY(!init.cbShowReadme->isChecked());
        QCOMPARE(init.dirEdit->text(), QString()); // never from the stored Dir
        // The boxes stand in this order, top to bottom.
        const QList<QCheckBox*> boxes = {init.cbAutoBackup, init.cbAskBackup, init.cbShowReadme, init.cbUpdates};
        init.adjustSize();
        for (int i = 1; i < boxes.size(); ++i)
            QVERIFY(boxes[i - 1]->y() < boxes[i]->y());
        QVERIFY(init.OKBtn->isDefault());
        QCOMPARE(init.OKBtn->toolTip(), QStringLiteral("Clicking OK automatically means you agree\nthat i am not "
                                                       "responsible of anything that \npossible has caused any "
                                                       "damage.\n"));
    }

    // A stored user file that is missing, or that is no bare file name of the
    // System directory, gives way to User.ini.
    void missingCustomUserFileFallsBackToUserIni_data()
    {
        QTest::addColumn<QString>("stored");
        QTest::newRow("missing") << "Gone.ini";
        QTest::newRow("parent directory") << "../Outside.ini";
        QTest::newRow("absolute path") << "<root>Outside.ini";
        QTest::newRow("subdirectory") << "Sub/User.ini";
        QTest::newRow("dot dot") << "..";
    }

    void missingCustomUserFileFallsBackToUserIni()
    {
        QFETCH(QString, stored);
        TempGame game;
        writeFile(game.root() + "Outside.ini", "[Engine.Input]\r\n");
        QVERIFY(QDir().mkpath(game.systemDir() + "Sub"));
        writeFile(game.systemDir() + "Sub/User.ini", "[Engine.Input]\r\n");
        TempProgramDir program(configuredProgram(game.systemDir(), stored.replace("<root>", game.root())));
        QStringList log;
        Script script;
        TfrmMain main(testEnvironment(program, {}, standInPages(log)));
        QVERIFY(script.allShown());
        QCOMPARE(QString::fromStdString(main.runTime().UserProfile->FileName()), game.userIni());
        QCOMPARE(QString::fromStdString(main.runTime().CurrentUserFileName), QStringLiteral("User.ini"));
        QCOMPARE(QString::fromStdString(
                     TIniFile(program.configPath().toStdString()).ReadString("UT2k3", "CurrentUserIni", "")),
                 QStringLiteral("User.ini"));
        QCOMPARE(child<QLabel>(&main, "lblDir")->text(), QStringLiteral("UT2k3 dir: ") + stripSlash(game.root()));
        QCOMPARE(child<QLabel>(&main, "lblCurrUserIni")->text(), "Current User.Ini: " + game.userIni());
        QCOMPARE(child<QLabel>(&main, "lblCurrUt2003ini")->text(), "Current UT2003.Ini: " + game.gameIni());
        QCOMPARE(child<QTabWidget>(&main, "PageCtrl")->currentWidget(), main.tab(PageId::KeyBinds));
    }

    void systemDirectoryFoundWithoutRegardToCase()
    {
        TempGame game;
        QVERIFY(QDir(game.root()).rename("System", "system"));
        TempProgramDir program(configuredProgram(game.systemDir()));
        QStringList log;
        Script script;
        TfrmMain main(testEnvironment(program, {}, standInPages(log)));
        QVERIFY(script.allShown());
        QCOMPARE(QString::fromStdString(main.runTime().SystemDir), game.root() + "system/");
        QVERIFY(main.runTime().PagesLoaded);
    }

    // A page whose load throws at start-up is reported; the other pages still
    // load and the program goes on.
    void pageLoadFailureAtStartupIsShown()
    {
        TempGame game;
        TempProgramDir program(configuredProgram(game.systemDir()));
        QStringList log;
        const PageFactory standIns = standInPages(log);
        const PageFactory failing = [&](PageId id, const PageContext& context) {
            SettingsPage* page = standIns(id, context);
            if (id == PageId::General) static_cast<StandInPage*>(page)->loadFailure = StandInPage::Failure::Thrown;
            return page;
        };
        Script script;
        script.box(Kind::Error, "stand-in failure", Buttons::Ok);
        TfrmMain main(testEnvironment(program, {}, failing));
        QVERIFY(script.allShown());
        QCOMPARE(log, QStringList({"load:KeyBinds", "load:Aliases", "load:General", "load:InstantAction",
                                   "load:GameSettings"}));
        QVERIFY(main.runTime().PagesLoaded);
        QVERIFY(child<QTabWidget>(&main, "PageCtrl")->isEnabled());
    }

    // The "Loading...." window never covers a dialog of the start-up.
    void loadingWindowStepsAsideForDialogs()
    {
        TempGame game;
        TempProgramDir program;
        QStringList log;
        Script script;
        bool covered = true;
        script.dialog([&](QDialog& d) {
            covered = false;
            for (QWidget* w : QApplication::topLevelWidgets())
                if (w->objectName() == "TfrmProgress" && w->isVisible()) covered = true;
            return answerSetup(stripSlash(game.root()))(d);
        });
        TfrmMain main(testEnvironment(program, {}, standInPages(log)));
        QVERIFY(script.allShown());
        QVERIFY(!covered);
    }

    void userFileFoundWithoutRegardToCase()
    {
        TempGame game;
        QVERIFY(QFile::rename(game.userIni(), game.systemDir() + "USER.INI"));
        TempProgramDir program(configuredProgram(game.systemDir()));
        QStringList log;
        Script script;
        TfrmMain main(testEnvironment(program, {}, standInPages(log)));
        QVERIFY(script.allShown());
        QCOMPARE(QString::fromStdString(main.runTime().UserProfile->FileName()), game.systemDir() + "USER.INI");
        QVERIFY(main.runTime().PagesLoaded);
    }

    void noUserFileDisablesThePages()
    {
        TempGame game;
        QVERIFY(QFile::remove(game.userIni()));
        TempProgramDir program(configuredProgram(game.systemDir()));
        QStringList log;
        Script script;
        script.box(Kind::Error, "User.ini not found in: " + game.systemDir(), Buttons::Ok);
        TfrmMain main(testEnvironment(program, {}, standInPages(log)));
        QVERIFY(script.allShown());
        QVERIFY(!child<QTabWidget>(&main, "PageCtrl")->isEnabled());
        QVERIFY(log.isEmpty());
        QVERIFY(!main.runTime().StartupComplete);
        QCOMPARE(child<QLabel>(&main, "lblDir")->text(), QStringLiteral("UT2k3 Dir:"));

        // Save, Load and their shortcuts do nothing; Exit ends at once.
        main.show();
        QVERIFY(QTest::qWaitForWindowExposed(&main));
        child<QAction>(&main, "Save1")->trigger();
        child<QAction>(&main, "Reload1")->trigger();
        QTest::keyClick(&main, Qt::Key_S, Qt::ControlModifier);
        QVERIFY(log.isEmpty());
        child<QAction>(&main, "Exit1")->trigger();
        QVERIFY(main.exitRequested());
        QVERIFY(!main.isVisible());
        QVERIFY(script.allShown());
    }

    void rerunInitializationProposesRegistryAndReloads()
    {
        TempGame game;
        TempProgramDir program(configuredProgram(game.systemDir()));
        auto registry = std::make_shared<FakeRegistry>();
        registry->keys[GameKey] = "/registry/folder";
        QStringList log;
        Script script;
        TfrmMain main(testEnvironment(program, registry, standInPages(log)));
        log.clear();

        QString proposed;
        script.dialog(answerSetup("ignored", false, QDialog::Rejected, &proposed));
        child<QAction>(&main, "UT2k3Dir1")->trigger();
        QVERIFY(script.allShown());
        QCOMPARE(proposed, QStringLiteral("/registry/folder"));
        QCOMPARE(QString::fromStdString(main.runTime().SystemDir), game.systemDir());
        QCOMPARE(log.size(), 5);
        QCOMPARE(child<QAction>(&main, "UT2k3Dir1")->shortcut(), QKeySequence("Ctrl+Alt+S"));
    }

    void setupChoicesApplyToTheSameStart()
    {
        TempGame game;
        TempProgramDir program("[Corvane]\r\nInit=True\r\nAutoBackup=True\r\nCheckOnStartup=True\r\n");
        QStringList log;
        Script script;
        script.dialog([&](QDialog& d) {
            auto& init = dynamic_cast<TfrmInit&>(d);
            init.dirEdit->setText(game.root());
            init.cbAutoBackup->setChecked(false);
            init.cbUpdates->setChecked(false);
            init.cbShowReadme->setChecked(false);
            return int(QDialog::Accepted);
        });
        TfrmMain main(testEnvironment(program, {}, standInPages(log)));
        QVERIFY(script.allShown());
        QVERIFY(!main.runTime().AutoBackup);
        QVERIFY(!main.runTime().CheckOnStartup);
    }

    void unwritableConfigurationLeavesPagesDisabled()
    {
        // The setup cannot store its answers: without a stored System
        // directory nothing can be opened, and nothing may be loaded. The
        // user is told why.
        TempGame game;
        TempProgramDir program("[Corvane]\r\nInit=True\r\n");
        QFile::setPermissions(program.configPath(), QFileDevice::ReadOwner | QFileDevice::ReadGroup);
        QStringList log;
        Script script;
        script.dialog(answerSetup(game.root()));
        script.box(Kind::Error, "Error occured:Unable to write to " + program.configPath(), Buttons::Ok);
        TfrmMain main(testEnvironment(program, {}, standInPages(log)));
        QVERIFY(script.allShown());
        QVERIFY(!child<QTabWidget>(&main, "PageCtrl")->isEnabled());
        QVERIFY(log.isEmpty());
    }
};

QTEST_MAIN(TestStartup)
#include "test_startup.moc"
