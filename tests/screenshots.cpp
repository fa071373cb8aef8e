// Renders the main window on each of its pages, the setup dialog, the backup
// manager, the about box, the taunt list and an update's progress window to
// PNG files offscreen:
// `scripts/screenshots` puts them in docs/screenshots/.

#include "app/fMain.h"
#include "backup/fIniManager.h"
#include "core/ProfileHistory.h"
#include "dialogs/DirectoryEdit.h"
#include "dialogs/dlgInit.h"
#include "dialogs/fAbout.h"
#include "dialogs/fHistory.h"
#include "dialogs/fProgress.h"
#include "dialogs/fTaunts.h"
#include "platform/DateText.h"
#include "profile/IniEdits.h"
#include "tests/support/MainWindowHarness.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QListWidget>
#include <QRadioButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTreeWidget>

using namespace TestSupport;

namespace {

// An evening of changes to the demo game's profiles, kept in a history: Saves,
// the game changing its own files, a raw text save, a reset and its put back.
void renderHistory(const TempGame& game, const QString& out)
{
    QTemporaryDir state;
    const std::string system = game.systemDir().toStdString();
    ProfileHistory history(state.path().toStdString(), system);
    ProfileState now = *ProfileState::read(system, "User.ini", "UT2003.ini");
    const auto keep = [&](const char* operation, int hour, int minute, std::initializer_list<IniEdits::Write> user,
                          std::initializer_list<IniEdits::Write> ut2003) {
        history.setClock([=] { return QDateTime(QDate(2026, 12, 8), QTime(hour, minute), Qt::LocalTime); });
        ProfileState next = now;
        IniEdits::apply(*next.files[0].bytes, user);
        IniEdits::apply(*next.files[1].bytes, ut2003);
        if (QString(operation) == "Changed outside")
            history.keepOutside(operation, now, next);
        else
            history.keepAfter(history.keepBefore(operation, now).id, next);
        now = next;
    };
    keep("Save", 19, 12,
         {{"Engine.PlayerController", "DesiredFOV", "100.000000"},
          {"Engine.PlayerController", "DefaultFOV", "100.000000"},
          {"Engine.PlayerInput", "MouseSensitivity", "3.200000"}},
         {});
    keep("Changed outside", 19, 40, {{"DefaultPlayer", "Character", "Gorge"}},
         {{"WinDrv.WindowsClient", "FullscreenViewportX", "1280"},
          {"WinDrv.WindowsClient", "FullscreenViewportY", "1024"},
          {"WinDrv.WindowsClient", "Brightness", "0.720000"},
          {"Engine.GameInfo", "GoalScore", "25"},
          {"Engine.GameInfo", "TimeLimit", "20"}});
    keep("Raw text save", 20, 5, {{"Engine.Input", "F12", "shot"}}, {});
    keep("Save", 20, 31, {{"DefaultPlayer", "Name", "Corvane"}, {"DefaultPlayer", "Team", "0"}},
         {{"Engine.GameInfo", "MaxPlayers", "12"}});
    const ProfileState evening = now;
    const ProfileState defaults{
        {ProfileState::File{"User.ini", readFile(game.systemDir() + "DefUser.ini").toStdString()},
         ProfileState::File{"UT2003.ini", readFile(game.systemDir() + "Default.ini").toStdString()}}};
    history.setClock([] { return QDateTime(QDate(2026, 12, 8), QTime(21, 2), Qt::LocalTime); });
    history.keepAfter(history.keepBefore("Reset to defaults", evening).id, defaults);
    history.setClock([] { return QDateTime(QDate(2026, 12, 8), QTime(21, 4), Qt::LocalTime); });
    history.keepAfter(history.keepBefore("Put back", defaults).id, evening);

    TfrmHistory window(history, evening, [](const ProfileState&, const QString&) { return std::nullopt; });
    window.findChild<QListWidget*>("lbHistory")->setCurrentRow(4);
    window.show();
    QApplication::processEvents();
    window.grab().save(out + "/history.png");
}

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QString out = argc > 1 ? QString::fromLocal8Bit(argv[1]) : sourceDir() + "/docs/screenshots";
    QDir().mkpath(out);

    TempGame game;
    TempProgramDir program(configuredProgram(game.systemDir()));
    // The map pictures the program ships beside its executable.
    for (const QString& name : QDir(sourceDir() + "/data/program").entryList({"*.jpg"}))
        QFile::copy(sourceDir() + "/data/program/" + name, program.dir() + name);
    MessageBox::startScript({}); // no box may block the pictures
    ModalRunner::startScript({});

    TfrmMain main(testEnvironment(program));
    main.show();
    auto* tabs = main.findChild<QTabWidget*>("PageCtrl");
    const char* names[] = {"main-keybinds", "main-general",       "main-ut2k3",
                           "main-aliases",  "main-instantaction", "main-inifiles"};
    for (int i = 0; i < tabs->count(); ++i) {
        if (!main.page(static_cast<PageId>(i))) continue; // a page the program does not have yet
        tabs->setCurrentIndex(i);
        QApplication::processEvents();
        main.grab().save(out + "/" + names[i] + ".png");
    }
    // The "UT2k3 Settings" page once more with the other device's group.
    if (QWidget* engine = main.page(PageId::GameSettings)) {
        tabs->setCurrentWidget(main.tab(PageId::GameSettings));
        if (auto* openGL = engine->findChild<QRadioButton*>("rbOpenGL")) openGL->click();
        QApplication::processEvents();
        main.grab().save(out + "/main-ut2k3-opengl.png");
    }

    // The instant-action page on Double Domination, its largest rules group,
    // with two mutators chosen.
    tabs->setCurrentWidget(main.tab(PageId::InstantAction));
    if (QWidget* instant = main.page(PageId::InstantAction)) {
        instant->findChild<QComboBox*>("pickGameType")->setCurrentIndex(3);
        instant->findChild<QListWidget*>("lbMaps")->setCurrentRow(4);
        auto* mutators = instant->findChild<QListWidget*>("lbMutators");
        for (const int row : {1, 7})
            mutators->item(row)->setSelected(true);
        QApplication::processEvents();
        main.grab().save(out + "/main-instantaction-mutators.png");
    }

    auto registry = std::make_shared<FakeRegistry>();
    registry->keys[TfrmInit::GameKey] = "/home/player/.wine/drive_c/UT2003";
    const TIniFile fresh((program.dir() + "fresh.ini").toStdString()); // a first start: every box ticked
    // The installations a player with the game in several places sees.
    TfrmInit init(*registry, fresh,
                  {{"Wine", "/home/player/.wine/drive_c/UT2003"},
                   {"Lutris", "/home/player/Games/ut2003/drive_c/UT2003"},
                   {"Proton", "/home/player/.local/share/Steam/steamapps/compatdata/32000/pfx/drive_c/UT2003"},
                   {"Native", "/usr/local/games/ut2003"}});
    init.show();
    QApplication::processEvents();
    init.grab().save(out + "/setup.png");

    for (const QDate day : {QDate(2026, 12, 8), QDate(2026, 11, 30), QDate(2027, 1, 2)})
        writeFile(game.systemDir() + "User_" + platform::todayText(day) + ".INI", readFile(game.userIni()));
    writeFile(game.systemDir() + "User.BAK", readFile(game.userIni()));
    TfrmIniManager manager({game.systemDir().toStdString(), "User.ini", true, QDate(2026, 12, 8), {}, {}}, [] {});
    manager.treelist->topLevelItem(0)->setSelected(true);
    manager.show();
    QApplication::processEvents();
    manager.grab().save(out + "/backup-manager.png");

    renderHistory(game, out);

    RecordingShell shell;
    TfrmAbout about(shell, QString::fromLatin1(RunTime::Version));
    about.show();
    QApplication::processEvents();
    about.grab().save(out + "/about.png");

    TfrmTaunts* taunts = TfrmTaunts::showNew(&main);
    QApplication::processEvents();
    taunts->grab().save(out + "/taunts.png");

    // An update's download, a quarter done, with its way out.
    TfrmProgress download(QStringLiteral("Downloading files..."), 2000);
    download.offerCancel([] {});
    download.setPosition(500);
    download.showCentred();
    download.grab().save(out + "/update-download.png");
    return 0;
}
