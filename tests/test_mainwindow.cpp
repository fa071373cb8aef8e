// The main window: its frame, menu and tool bar, and the prompts that protect
// unsaved edits.

#include "app/CorvaneApplication.h"
#include "app/fMain.h"
#include "dialogs/fHistory.h"
#include "platform/DateText.h"
#include "tests/support/MainWindowHarness.h"
#include "update/UpdateCheck.h"

#include <QAction>
#include <QCloseEvent>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>
#include <QToolBar>
#include <QToolButton>

using namespace TestSupport;
using MessageBox::Answer;
using MessageBox::Buttons;
using MessageBox::Kind;

namespace {

const QString ChangesQuestion = "You have made some changes\nDo you want to save your changes first?";
const QString Saved = "The changes has been succesfully saved!";

struct Fixture : StartedWindow {
    QTabWidget* tabs() const { return child<QTabWidget>(main.get(), "PageCtrl"); }
    std::string stored(const char* key) const
    {
        return TIniFile(game.userIni().toStdString()).ReadString("StandIn", key, "<none>");
    }
};

const QStringList SaveSequence = {"save:KeyBinds", "save:Aliases", "save:General", "save:InstantAction",
                                  "save:GameSettings"};

} // namespace

class TestMainWindow : public QObject {
    Q_OBJECT

private slots:
    void frame()
    {
        Fixture f;
        QCOMPARE(f.main->size(), QSize(800, 600));
        QCOMPARE(f.main->minimumSize(), QSize(800, 580));
        QStringList captions;
        for (int i = 0; i < f.tabs()->count(); ++i)
            captions << f.tabs()->tabText(i);
        QCOMPARE(captions, QStringList({"Key binds", "General Settings", "UT2k3 Settings", "Aliases", "Instant Action",
                                        "Inifiles"}));
        QStringList names;
        for (int i = 0; i < f.tabs()->count(); ++i)
            names << f.tabs()->widget(i)->objectName();
        QCOMPARE(names, QStringList({"tabMain", "tabGeneral", "tabUT2k3", "tabAliases", "tabFrontEnd", "tabIniFiles"}));
        QCOMPARE(child<QWidget>(f.main.get(), "Panel2")->height(), 49);
    }

    void menu_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QString>("hint");
        QTest::addColumn<QString>("shortcut");
        QTest::newRow("Reload1") << "Reload1"
                                 << "&Load"
                                 << "Reload the settings"
                                 << "Ctrl+O";
        QTest::newRow("Save1") << "Save1"
                               << "&Save Changes"
                               << "Save your settings"
                               << "Ctrl+S";
        QTest::newRow("BackupINIs1") << "BackupINIs1"
                                     << "&Backup INI files"
                                     << "Backup the ini files now"
                                     << "Ctrl+Shift+B";
        QTest::newRow("Backuppedinismanager1") << "Backuppedinismanager1"
                                               << "&Backup manager"
                                               << "Open the backup manager"
                                               << "Ctrl+Alt+B";
        QTest::newRow("Openfiles1") << "Openfiles1"
                                    << "&Open custom user.ini.."
                                    << ""
                                    << "Ctrl+Shift+O";
        QTest::newRow("SaveINIfilesAS1") << "SaveINIfilesAS1"
                                         << "S&ave custom user.ini as.."
                                         << ""
                                         << "Ctrl+Shift+S";
        QTest::newRow("Exit1") << "Exit1"
                               << "&Exit Corvane2003"
                               << "Exit Corvane 2003"
                               << "Alt+F4";
        QTest::newRow("UT2k3Dir1") << "UT2k3Dir1"
                                   << "&Re-run Initialization"
                                   << "Re-run the setup"
                                   << "Ctrl+Alt+S";
        QTest::newRow("Checkforupdates1") << "Checkforupdates1"
                                          << "&Check for updates"
                                          << "Check if there is a new version available"
                                          << "Ctrl+U";
        QTest::newRow("auntlist1") << "auntlist1"
                                   << "&Tauntlist"
                                   << "Open the list with taunts"
                                   << "Ctrl+T";
        QTest::newRow("Resettodefault") << "Resettodefault"
                                        << "Reset settings to &default"
                                        << ""
                                        << "Ctrl+Alt+D";
        QTest::newRow("Highquality1") << "Highquality1"
                                      << "High quality"
                                      << ""
                                      << "";
        QTest::newRow("Lowquality1") << "Lowquality1"
                                     << "Low quality"
                                     << ""
                                     << "";
        QTest::newRow("Corvane2k3help1") << "Corvane2k3help1"
                                         << "&Corvane2003 help"
                                         << ""
                                         << "F3";
        QTest::newRow("Showreadmetxt1") << "Showreadmetxt1"
                                        << "Show Readme.txt"
                                        << ""
                                        << "F1";
        QTest::newRow("Abouty1") << "Abouty1"
                                 << "&About"
                                 << ""
                                 << "F2";
    }
    void menu()
    {
        QFETCH(QString, name);
        QFETCH(QString, caption);
        QFETCH(QString, hint);
        QFETCH(QString, shortcut);
        Fixture f;
        QAction* a = f.act(qPrintable(name));
        QCOMPARE(a->text(), caption);
        QCOMPARE(a->statusTip(), hint);
        QCOMPARE(a->shortcut(), QKeySequence(shortcut));
    }

    void toolBar()
    {
        Fixture f;
        auto* bar = child<QToolBar>(f.main.get(), "ToolBar1");
        QStringList order;
        for (QAction* a : bar->actions()) {
            if (a->isSeparator()) {
                order << "|";
                continue;
            }
            auto* button = qobject_cast<QToolButton*>(bar->widgetForAction(a));
            QVERIFY(button);
            order << button->objectName() + "=" + button->defaultAction()->toolTip();
        }
        QCOMPARE(order,
                 QStringList({"|", "ToolButton1=Exit Corvane 2003", "ToolButton3=Reload the settings",
                              "ToolButton2=Save your settings", "|", "ToolButton6=Backup the ini files now",
                              "ToolButton9=Open the backup manager", "ToolButton8=Open the list with taunts",
                              "ToolButton7=Check if there is a new version available", "ToolButton10=Re-run the setup",
                              "|", "ToolButton12=Restore your previous settings on the current tab"}));
        // A button shares its menu item's action, so the same command runs.
        QCOMPARE(child<QToolButton>(f.main.get(), "ToolButton2")->defaultAction(), f.act("Save1"));
    }

    void saveWithoutChangesWritesEveryPage()
    {
        Fixture f;
        Script script;
        script.box(Kind::Information, Saved, Buttons::Ok);
        f.act("Save1")->trigger();
        QVERIFY(script.allShown());
        QCOMPARE(f.log, SaveSequence);
        QCOMPARE(f.stored("GameSettings"), std::string());
    }

    // Clicks, keys and a close of the window that arrive while a Save lets
    // pending events run are not delivered: no second Save, no release of
    // the profiles in the middle of one.
    void inputWaitsForTheSave()
    {
        Fixture f;
        f.main->show();
        QVERIFY(QTest::qWaitForWindowExposed(f.main.get()));
        auto* saveButton = child<QToolButton>(f.main.get(), "ToolButton2");
        f.page(PageId::KeyBinds)->onSave = [&] {
            const QPoint centre = saveButton->rect().center();
            for (QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease})
                QCoreApplication::postEvent(saveButton,
                                            new QMouseEvent(type, centre, saveButton->mapToGlobal(centre),
                                                            Qt::LeftButton, Qt::LeftButton, Qt::NoModifier));
            QCoreApplication::postEvent(f.main.get(), new QKeyEvent(QEvent::KeyPress, Qt::Key_S, Qt::ControlModifier));
            QCoreApplication::postEvent(f.main.get(), new QCloseEvent);
        };
        Script script;
        script.box(Kind::Information, Saved, Buttons::Ok);
        f.act("Save1")->trigger();
        QCoreApplication::processEvents();
        QVERIFY(script.allShown());
        QCOMPARE(f.log, SaveSequence);
        QVERIFY(f.main->isVisible());
        QVERIFY(f.main->runTime().UserProfile);
    }

    void saveFailureIsNeverReportedAsSuccess_data()
    {
        QTest::addColumn<int>("failure");
        QTest::addColumn<QString>("message");
        QTest::newRow("page reports it") << int(StandInPage::Failure::Reported) << "Error occured:stand-in failure";
        QTest::newRow("page lets it escape") << int(StandInPage::Failure::Thrown) << "Error occured:stand-in failure";
    }
    void saveFailureIsNeverReportedAsSuccess()
    {
        QFETCH(int, failure);
        QFETCH(QString, message);
        Fixture f;
        f.page(PageId::Aliases)->failure = StandInPage::Failure(failure);
        Script script;
        script.box(Kind::Error, message, Buttons::Ok);
        f.act("Save1")->trigger();
        QVERIFY(script.allShown()); // and no "succesfully saved"
        QCOMPARE(f.log, QStringList({"save:KeyBinds", "save:Aliases"}));
    }

    void reload()
    {
        Fixture f;
        {
            Script script;
            script.box(Kind::Information, "The settings have been reloaded", Buttons::Ok);
            f.act("Reload1")->trigger();
            QVERIFY(script.allShown());
            QCOMPARE(f.log, QStringList({"load:KeyBinds", "load:Aliases", "load:General", "load:InstantAction",
                                         "load:GameSettings"}));
        }
        f.log.clear();
        f.page(PageId::GameSettings)->field->setText("edited");
        {
            Script script;
            script.box(Kind::Confirm,
                       "Some fields have changed, Loading will undo these changes\nAre you sure you want to Load?",
                       Buttons::YesNo, Answer::No);
            f.act("Reload1")->trigger();
            QVERIFY(script.allShown());
            QVERIFY(f.log.isEmpty());
            QCOMPARE(f.page(PageId::GameSettings)->field->text(), QStringLiteral("edited"));
        }
    }

    void typingTheOldValueBackIsNoChange()
    {
        Fixture f;
        QLineEdit* field = f.page(PageId::KeyBinds)->field;
        const QString old = field->text();
        field->setText("x");
        QVERIFY(f.main->AnyPageChanged());
        field->setText(old);
        QVERIFY(!f.main->AnyPageChanged());
        Script script;
        f.act("Exit1")->trigger();
        QVERIFY(f.main->exitRequested());
    }

    void exitWithChanges()
    {
        Fixture f;
        f.main->show();
        f.page(PageId::General)->field->setText("kept");
        Script script;
        script.box(Kind::Confirm, ChangesQuestion, Buttons::YesNo, Answer::Yes)
            .box(Kind::Confirm, "Your changes have been saved, press OK to exit", Buttons::OkCancel, Answer::Cancel);
        f.act("Exit1")->trigger();
        QVERIFY(script.allShown());
        QVERIFY(!f.main->exitRequested());
        QVERIFY(f.main->isVisible());
        QVERIFY(!f.main->AnyPageChanged());
        QCOMPARE(f.stored("General"), std::string("kept"));
    }

    void exitWhenTheSaveFailsKeepsRunning()
    {
        Fixture f;
        f.main->show();
        f.page(PageId::General)->field->setText("edit");
        f.page(PageId::KeyBinds)->failure = StandInPage::Failure::Reported;
        Script script;
        script.box(Kind::Confirm, ChangesQuestion, Buttons::YesNo, Answer::Yes)
            .box(Kind::Error, "Error occured:stand-in failure", Buttons::Ok);
        f.act("Exit1")->trigger();
        QVERIFY(script.allShown());
        QVERIFY(!f.main->exitRequested());
        QVERIFY(f.main->isVisible());
        QVERIFY(f.main->AnyPageChanged());
    }

    void closeAsksAndSaves()
    {
        {
            Fixture f;
            f.main->show();
            f.page(PageId::Aliases)->field->setText("dropped");
            Script script;
            script.box(Kind::Confirm, ChangesQuestion, Buttons::YesNo, Answer::No);
            QVERIFY(f.main->close());
            QVERIFY(script.allShown());
            QVERIFY(f.log.isEmpty());
            QCOMPARE(f.stored("Aliases"), std::string("<none>"));
        }
        {
            Fixture f;
            f.main->show();
            f.page(PageId::Aliases)->field->setText("kept");
            Script script;
            script.box(Kind::Confirm, ChangesQuestion, Buttons::YesNo, Answer::Yes);
            QVERIFY(f.main->close());
            QVERIFY(script.allShown());
            QCOMPARE(f.log, SaveSequence);
            QCOMPARE(f.stored("Aliases"), std::string("kept"));
            QVERIFY(!f.main->runTime().UserProfile); // released
        }
    }

    void closeWhenTheSaveFailsKeepsTheWindow()
    {
        Fixture f;
        f.main->show();
        f.page(PageId::Aliases)->field->setText("edit");
        f.page(PageId::KeyBinds)->failure = StandInPage::Failure::Thrown;
        Script script;
        script.box(Kind::Confirm, ChangesQuestion, Buttons::YesNo, Answer::Yes)
            .box(Kind::Error, "stand-in failure", Buttons::Ok);
        QVERIFY(!f.main->close());
        QVERIFY(script.allShown());
        QVERIFY(f.main->isVisible());
        QCOMPARE(f.page(PageId::Aliases)->field->text(), QStringLiteral("edit"));
        QVERIFY(f.main->runTime().UserProfile);
    }

    void pageSwitch_data()
    {
        QTest::addColumn<int>("saveAnswer");
        QTest::addColumn<int>("undoAnswer");
        QTest::addColumn<QStringList>("operations");
        QTest::addColumn<QString>("fieldAfter");
        QTest::addColumn<bool>("changedAfter");
        QTest::newRow("save") << int(Answer::Yes) << -1 << QStringList{"save:Aliases"} << "edit" << false;
        QTest::newRow("undo") << int(Answer::No) << int(Answer::Yes) << QStringList{"load:Aliases"} << "" << false;
        QTest::newRow("keep") << int(Answer::No) << int(Answer::No) << QStringList{} << "edit" << true;
    }
    void pageSwitch()
    {
        QFETCH(int, saveAnswer);
        QFETCH(int, undoAnswer);
        QFETCH(QStringList, operations);
        QFETCH(QString, fieldAfter);
        QFETCH(bool, changedAfter);
        Fixture f;
        f.tabs()->setCurrentWidget(f.main->tab(PageId::Aliases));
        f.page(PageId::Aliases)->field->setText("edit");
        f.log.clear();

        Script script;
        script.box(Kind::Confirm, "Do you want to save the changes u made?", Buttons::YesNo, Answer(saveAnswer));
        if (undoAnswer >= 0)
            script.box(Kind::Confirm, "Do you want to undo changes?", Buttons::YesNo, Answer(undoAnswer));
        f.tabs()->setCurrentWidget(f.main->tab(PageId::InstantAction));
        QVERIFY(script.allShown());
        QCOMPARE(f.log, operations);
        QCOMPARE(f.tabs()->currentWidget(), f.main->tab(PageId::InstantAction));
        QCOMPARE(f.page(PageId::Aliases)->field->text(), fieldAfter);
        QCOMPARE(f.page(PageId::Aliases)->changed(), changedAfter);
    }

    void unchangedPageSwitchAsksNothing()
    {
        Fixture f;
        Script script;
        f.tabs()->setCurrentIndex(3);
        f.tabs()->setCurrentIndex(5);
        f.tabs()->setCurrentIndex(0);
        QVERIFY(script.allShown());
        QVERIFY(f.log.isEmpty());
    }

    void uncaughtErrorsAreShownAndTheProgramGoesOn()
    {
        // An error that leaves an event handler reaches the error display.
        struct Throwing : QObject {
            bool event(QEvent* e) override
            {
                if (e->type() == QEvent::User) throw EIniFileException("/games/UT2003/System/User.ini");
                return QObject::event(e);
            }
        } target;
        Script script;
        script.box(Kind::Error, "Unable to write to /games/UT2003/System/User.ini", Buttons::Ok);
        QCoreApplication::postEvent(&target, new QEvent(QEvent::User));
        QCoreApplication::sendPostedEvents(&target);
        QVERIFY(script.allShown());
    }

    void pageSwitchFailureReachesTheErrorDisplay()
    {
        Fixture f;
        f.main->show();
        f.page(PageId::KeyBinds)->field->setText("edit");
        f.page(PageId::KeyBinds)->failure = StandInPage::Failure::Thrown;
        Script script;
        script.box(Kind::Confirm, "Do you want to save the changes u made?", Buttons::YesNo, Answer::Yes)
            .box(Kind::Error, "stand-in failure", Buttons::Ok);
        // A click on the tab, as the user would switch.
        QTabBar* bar = f.tabs()->tabBar();
        QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(3).center());
        QVERIFY(script.allShown());
        QCOMPARE(f.tabs()->currentWidget(), f.main->tab(PageId::Aliases));
        QVERIFY(f.page(PageId::KeyBinds)->changed());
    }

    void programPagesInTheWindow()
    {
        // The window over its own pages on the demo game: an edit on the
        // key binds page is asked about when the page is left, saved by the
        // answer, and the page reads unchanged afterwards.
        TempGame game;
        TempProgramDir program(configuredProgram(game.systemDir()));
        std::unique_ptr<TfrmMain> main;
        {
            Script quiet;
            main = std::make_unique<TfrmMain>(testEnvironment(program));
            QVERIFY(quiet.allShown());
        }
        QVERIFY(!main->AnyPageChanged());
        auto* f = child<QLineEdit>(main.get(), "edtF");
        f->setText("Use | Jump");
        QVERIFY(main->AnyPageChanged());
        Script script;
        script.box(Kind::Confirm, "Do you want to save the changes u made?", Buttons::YesNo, Answer::Yes);
        child<QTabWidget>(main.get(), "PageCtrl")->setCurrentWidget(main->tab(PageId::General));
        QVERIFY(script.allShown());
        QCOMPARE(TIniFile(game.userIni().toStdString()).ReadString("Engine.Input", "F", ""), std::string("Use | Jump"));
        QVERIFY(!main->AnyPageChanged());

        // An edit on the general page, then Save: every page is written.
        child<QLineEdit>(main.get(), "edtPlayername")->setText("Newcomer");
        script.box(Kind::Information, Saved, Buttons::Ok);
        child<QAction>(main.get(), "Save1")->trigger();
        QVERIFY(script.allShown());
        QCOMPARE(TIniFile(game.userIni().toStdString()).ReadString("DefaultPlayer", "Name", ""),
                 std::string("Newcomer"));
        QVERIFY(!main->AnyPageChanged());
    }

    // A chosen map whose name UT2003.ini cannot store: the Save writes every
    // page, the engine page after the Instant Action page too, keeps the
    // remembered map and says so once, after its own message.
    void mapNameTheGameFileCannotStore()
    {
        TempGame game;
        const QString omega = QString::fromUtf8("DM-\u03A9mega");
        writeFile(game.root() + "Maps/" + omega + ".ut2", {});
        TempProgramDir program(configuredProgram(game.systemDir()));
        std::unique_ptr<TfrmMain> main;
        {
            Script quiet;
            main = std::make_unique<TfrmMain>(testEnvironment(program));
            QVERIFY(quiet.allShown());
        }
        const char* const section = "xInterface.Tab_InstantActionMain";
        const std::string remembered = TIniFile(game.gameIni().toStdString()).ReadString(section, "LastMap", "");
        QVERIFY(!remembered.empty());
        child<QComboBox>(main.get(), "pickGameType")->setEditText("Deathmatch");
        child<QListWidget>(main.get(), "lbMaps")->findItems(omega, Qt::MatchExactly).value(0)->setSelected(true);
        child<QLineEdit>(main.get(), "edtFPS")->setText("50");
        Script script;
        script.box(Kind::Information, Saved, Buttons::Ok);
        script.box(Kind::Warning, {}, Buttons::Ok);
        child<QAction>(main.get(), "Save1")->trigger();
        QVERIFY(script.allShown());
        QVERIFY(script.shownTexts().value(1).contains(omega));
        const TIniFile ini(game.gameIni().toStdString());
        QCOMPARE(ini.ReadString(section, "LastMap", ""), remembered);
        QCOMPARE(ini.ReadString(section, "LastGameType", ""), std::string("XGame.xDeathMatch"));
        QCOMPARE(ini.ReadString("WinDrv.WindowsClient", "MinDesiredFrameRate", ""), std::string("50"));
        QVERIFY(!main->AnyPageChanged());
    }

    // History... puts a Save back: after the pages' unsaved edits and the
    // restore's question, both files are as before it, every page shows
    // them, and the put back is itself an entry that can be undone.
    void historyPutsASaveBack()
    {
        Fixture f;
        const QByteArray user = readFile(f.game.userIni()), game = readFile(f.game.gameIni());
        f.page(PageId::KeyBinds)->field->setText("saved");
        Script script;
        script.box(Kind::Information, {}, Buttons::Ok);
        f.act("Save1")->trigger();
        f.page(PageId::General)->field->setText("unsaved");
        f.log.clear();
        script.dialog([](QDialog& d) {
            auto& history = dynamic_cast<TfrmHistory&>(d);
            history.lbHistory->setCurrentRow(0);
            history.btnPutBack->click();
            return int(QDialog::Accepted);
        });
        script.box(Kind::Confirm, "Some fields have changed, Loading will undo these changes\nAre you sure you want to Load?",
                   Buttons::YesNo, Answer::Yes)
            .box(Kind::Confirm, {}, Buttons::YesNo, Answer::Yes)
            .box(Kind::Information, {}, Buttons::Ok);
        f.act("History1")->trigger();
        QVERIFY(script.allShown());
        QCOMPARE(readFile(f.game.userIni()) + readFile(f.game.gameIni()), user + game);
        QVERIFY(f.log.contains("load:KeyBinds") && f.log.contains("load:InstantAction"));
        QVERIFY(!f.main->AnyPageChanged());
        const auto entries = f.main->runTime().History->history().entries();
        QCOMPARE(entries.size(), std::size_t(2));
        QCOMPARE(entries.front().operation, QString("Put back"));
    }

    // The File menu's backup and the manager's restore reach the game's
    // files and every page: none keeps values from before the restore.
    void backupAndRestoreFromTheMenu()
    {
        Fixture f;
        Script script;
        script.box(Kind::Information, {}, Buttons::Ok);
        f.act("BackupINIs1")->trigger();
        QVERIFY(script.allShown());
        const QString dated = f.game.systemDir() + "User_" + platform::todayText(QDate::currentDate()) + ".INI";
        QVERIFY(QFile::exists(dated));

        script.dialog(restoreFirstBackup);
        script.box(Kind::Confirm, {}, Buttons::YesNo, Answer::Yes).box(Kind::Information, {}, Buttons::Ok);
        f.act("Backuppedinismanager1")->trigger();
        QVERIFY(script.allShown());
        QCOMPARE(f.log, QStringList({"load:KeyBinds", "load:Aliases", "load:General", "load:InstantAction",
                                     "load:GameSettings"}));
    }

    // The way to recover a lost User.ini: the editor starts without it, the
    // backup manager restores a dated backup, and every page comes up loaded.
    void restoreWithoutOpenProfilesOpensThem()
    {
        TempGame game;
        TempProgramDir program(configuredProgram(game.systemDir()));
        writeFile(game.systemDir() + "User_1-1-2026.INI", "[StandIn]\r\nKeyBinds=restored\r\n");
        writeFile(game.systemDir() + "UT2003_1-1-2026.INI", readFile(game.gameIni()));
        QVERIFY(QFile::remove(game.userIni()));
        QStringList log;
        Script script;
        script.box(Kind::Error, "User.ini not found in: " + game.systemDir(), Buttons::Ok);
        TfrmMain main(testEnvironment(program, {}, standInPages(log)));
        auto* pages = child<QTabWidget>(&main, "PageCtrl");
        QVERIFY(!pages->isEnabled());
        script.dialog(restoreFirstBackup)
            .box(Kind::Confirm, {}, Buttons::YesNo, Answer::Yes)
            .box(Kind::Warning, "Could not backup the current INI files\nWant to continue anyway?", Buttons::YesNo,
                 Answer::Yes)
            .box(Kind::Information, {}, Buttons::Ok);
        child<QAction>(&main, "Backuppedinismanager1")->trigger();
        QVERIFY(script.allShown());
        QVERIFY(pages->isEnabled());
        QCOMPARE(static_cast<StandInPage*>(main.page(PageId::KeyBinds))->field->text(), QString("restored"));
    }

    // An update about to restart the program asks about unsaved edits first,
    // as closing the window does; edits that cannot be saved hold it back.
    void updateRestartOffersToSave_data()
    {
        QTest::addColumn<bool>("yes");
        QTest::addColumn<bool>("saveFails");
        QTest::newRow("Yes: saved, then restarted") << true << false;
        QTest::newRow("No: restarted without saving") << false << false;
        QTest::newRow("Yes, the save fails: no restart") << true << true;
    }
    void updateRestartOffersToSave()
    {
        QFETCH(bool, yes);
        QFETCH(bool, saveFails);
        Fixture f;
        f.page(PageId::KeyBinds)->field->setText("edit");
        if (saveFails) f.page(PageId::KeyBinds)->failure = StandInPage::Failure::Reported;
        Script script;
        script
            .box(Kind::Information, "Press OK to finalize the update, and to restart the newest Corvane 2003!",
                 Buttons::Ok)
            .box(Kind::Confirm, ChangesQuestion, Buttons::YesNo, yes ? Answer::Yes : Answer::No);
        if (saveFails) script.box(Kind::Error, "Error occured:stand-in failure", Buttons::Ok);
        bool allow = true;
        f.main->updateCheck().WebUpdate1AppRestart(nullptr, allow);
        QVERIFY(script.allShown());
        QCOMPARE(allow, !saveFails);
        QCOMPARE(f.stored("KeyBinds"), std::string(yes && !saveFails ? "edit" : "<none>"));
    }

    void restoreReloadsOnlyTheActivePage()
    {
        Fixture f;
        f.tabs()->setCurrentWidget(f.main->tab(PageId::InstantAction));
        f.page(PageId::InstantAction)->field->setText("edit");
        f.page(PageId::KeyBinds)->field->setText("other edit");
        const QString question =
            "Your current settings on this tab will be restore to your old values\nDo you want to continue?";
        Script script;
        script.box(Kind::Confirm, question, Buttons::YesNo, Answer::No);
        f.act("ToolButton12")->trigger();
        QVERIFY(f.log.isEmpty());
        script.box(Kind::Confirm, question, Buttons::YesNo, Answer::Yes);
        f.act("ToolButton12")->trigger();
        QVERIFY(script.allShown());
        QCOMPARE(f.log, QStringList{"load:InstantAction"});
        QVERIFY(!f.page(PageId::InstantAction)->changed());
        QCOMPARE(f.page(PageId::KeyBinds)->field->text(), QStringLiteral("other edit"));
    }
};

int main(int argc, char** argv)
{
    CorvaneApplication app(argc, argv);
    TestMainWindow test;
    return QTest::qExec(&test, argc, argv);
}
#include "test_mainwindow.moc"
