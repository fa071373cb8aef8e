// Renders the main window on each of its pages, the setup dialog, the about
// box and the taunt list to PNG files offscreen: `scripts/screenshots` puts them in docs/screenshots/.

#include "app/fMain.h"
#include "dialogs/DirectoryEdit.h"
#include "dialogs/dlgInit.h"
#include "dialogs/fAbout.h"
#include "dialogs/fTaunts.h"
#include "tests/support/MainWindowHarness.h"

#include <QApplication>
#include <QDir>
#include <QTabWidget>

using namespace TestSupport;

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QString out = argc > 1 ? QString::fromLocal8Bit(argv[1]) : sourceDir() + "/docs/screenshots";
    QDir().mkpath(out);

    TempGame game;
    TempProgramDir program(configuredProgram(game.systemDir()));
    MessageBox::startScript({}); // no box may block the pictures
    ModalRunner::startScript({});

    TfrmMain main(testEnvironment(program));
    main.show();
    auto* tabs = main.findChild<QTabWidget*>("PageCtrl");
    const char* names[] = {"main-keybinds", "main-general", "main-ut2k3", "main-aliases", "main-instantaction",
                           "main-inifiles"};
    for (int i = 0; i < tabs->count(); ++i) {
        if (!main.page(static_cast<PageId>(i))) continue; // a page the program does not have yet
        tabs->setCurrentIndex(i);
        QApplication::processEvents();
        main.grab().save(out + "/" + names[i] + ".png");
    }

    auto registry = std::make_shared<FakeRegistry>();
    registry->keys[TfrmInit::GameKey] = "/home/player/.wine/drive_c/UT2003";
    const TIniFile fresh((program.dir() + "fresh.ini").toStdString()); // a first start: every box ticked
    TfrmInit init(*registry, fresh);
    init.show();
    QApplication::processEvents();
    init.grab().save(out + "/setup.png");

    RecordingShell shell;
    TfrmAbout about(shell, QString::fromLatin1(RunTime::Version));
    about.show();
    QApplication::processEvents();
    about.grab().save(out + "/about.png");

    TfrmTaunts* taunts = TfrmTaunts::showNew(&main);
    QApplication::processEvents();
    taunts->grab().save(out + "/taunts.png");
    return 0;
}
