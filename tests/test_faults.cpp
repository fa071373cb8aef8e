// A failure struck at every copy, delete and write of the commands that
// change the game's profile files: afterwards the System directory still
// holds a whole User.ini and UT2003.ini, and the user was told.

#include "app/CorvaneApplication.h"
#include "app/fMain.h"
#include "backup/fIniManager.h"
#include "core/BackupProfiles.h"
#include "core/ProfileRestore.h"
#include "dialogs/OutcomeBoxes.h"
#include "dialogs/Guard.h"
#include "pages/ini_text/IniTextsPage.h"
#include "profile/FaultInjection.h"
#include "tests/support/MainWindowHarness.h"

#include <QAction>
#include <QFileDialog>
#include <QPlainTextEdit>
#include <QTest>
#include <QTreeWidget>

#include <algorithm>

using namespace TestSupport;

namespace {

// One command on a fresh copy of the demo game, and the contents its two
// profiles may hold afterwards besides their old ones.
struct Command {
    const char* name;
    std::function<void(TempGame&)> run;
    QByteArray newUser; // empty: the old content only (or, for a Save, any whole file)
    QByteArray newGame;
    bool together = false; // both profiles change, or neither
};

const QDate Day(2026, 12, 8);

BackupPlace placeOf(const TempGame& game) { return {game.systemDir().toStdString(), "User.ini", false, Day, {}, {}}; }

void save(TempGame& game)
{
    TempProgramDir program(configuredProgram(game.systemDir()));
    QStringList log;
    TfrmMain main(testEnvironment(program, {}, standInPages(log)));
    for (PageId id : {PageId::KeyBinds, PageId::Aliases, PageId::General})
        static_cast<StandInPage*>(main.page(id))->field->setText("saved");
    main.findChild<QAction*>("Save1")->trigger();
}

void restore(TempGame& game)
{
    writeFile(game.systemDir() + "User_12-8-2026.INI", "[A]\r\nrestored=user\r\n");
    writeFile(game.systemDir() + "UT2003_12-8-2026.INI", "[A]\r\nrestored=game\r\n");
    TfrmIniManager manager(placeOf(game), {});
    manager.treelist->setCurrentItem(manager.treelist->topLevelItem(0));
    manager.btnRestoreClick();
}

// The raw text page saves both files as edited.
void rawSave(TempGame& game)
{
    TempProgramDir program(configuredProgram(game.systemDir()));
    TfrmMain main(testEnvironment(program));
    auto* raw = static_cast<IniTextsPage*>(main.page(PageId::IniFiles));
    raw->LoadIniTexts();
    raw->reUser->setPlainText("[A]\nraw=user");
    raw->reUt2003->setPlainText("[A]\nraw=game");
    Guard::run([&] { raw->SaveIniTexts(); }); // as its button does: a failure reaches the error display
}

// Save As copies the user file under a new name and switches to it.
void saveAs(TempGame& game)
{
    TempProgramDir program(configuredProgram(game.systemDir()));
    QStringList log;
    TfrmMain main(testEnvironment(program, {}, standInPages(log)));
    ModalRunner::pushHandler([&](QDialog& d) {
        auto& dialog = dynamic_cast<QFileDialog&>(d);
        dialog.selectFile(game.systemDir() + "Copy.ini");
        return int(QDialog::Accepted);
    });
    main.findChild<QAction*>("SaveINIfilesAS1")->trigger();
}

// The manager puts the .BAK pair back over both profiles.
void restoreBak(TempGame& game)
{
    writeFile(game.systemDir() + "User.BAK", "[A]\r\nbak=user\r\n");
    writeFile(game.systemDir() + "UT2003.BAK", "[A]\r\nbak=game\r\n");
    TfrmIniManager manager(placeOf(game), {});
    manager.btnBAKClick();
}

const Command Commands[] = {
    {"raw save", rawSave, "[A]\r\nraw=user\r\n", "[A]\r\nraw=game\r\n", true},
    {"save as", saveAs, "<User.ini>", "<UT2003.ini>"},
    {"Save", save, {}, {}},
    {"backup", [](TempGame& g) { tellOutcome(BackupProfiles(placeOf(g), true, boxQuestions())); }, {}, {}},
    {"restore", restore, "[A]\r\nrestored=user\r\n", "[A]\r\nrestored=game\r\n", true},
    {".BAK restore", restoreBak, "[A]\r\nbak=user\r\n", "[A]\r\nbak=game\r\n", true},
    {"reset",
     [](TempGame& g) {
         tellOutcome(restoreProfiles(placeOf(g), defaultsRestore(g.systemDir().toStdString()), boxQuestions()));
     },
     "<DefUser.ini>",
     "<Default.ini>", true},
};

struct Ran {
    int operations = 0;
    bool told = false;
};

// Runs the command with the file operations numbered in `failAt` failing
// (none: every one succeeds).
Ran runFailing(const Command& command, TempGame& game, std::initializer_list<int> failAt)
{
    Ran outcome;
    FaultInjection::setHook([&](FaultInjection::Operation, const std::string&) {
        return std::ranges::find(failAt, ++outcome.operations) == failAt.end();
    });
    {
        Script script;
        MessageBox::agreeToEveryOtherBox();
        command.run(game);
        for (const MessageBox::Shown& box : script.shown())
            outcome.told = outcome.told || box.kind == MessageBox::Kind::Error || box.kind == MessageBox::Kind::Warning;
    }
    FaultInjection::setHook({});
    return outcome;
}

QByteArray expanded(const QByteArray& content, const TempGame& game)
{
    if (content.startsWith('<')) return readFile(game.systemDir() + content.mid(1, content.size() - 2));
    return content;
}

} // namespace

class TestFaults : public QObject {
    Q_OBJECT

private slots:
    void everyFailureLeavesWholeProfiles_data()
    {
        QTest::addColumn<int>("command");
        for (int i = 0; i < int(std::size(Commands)); ++i)
            QTest::newRow(Commands[i].name) << i;
    }

    void everyFailureLeavesWholeProfiles()
    {
        QFETCH(int, command);
        const Command& c = Commands[command];
        int operations = 0;
        {
            TempGame game;
            operations = runFailing(c, game, {}).operations;
        }
        QVERIFY(operations > 0);
        for (int failAt = 1; failAt <= operations; ++failAt) {
            TempGame game;
            const QByteArray oldUser = readFile(game.userIni()), oldGame = readFile(game.gameIni());
            const QByteArray newUser = expanded(c.newUser, game), newGame = expanded(c.newGame, game);
            const Ran outcome = runFailing(c, game, {failAt});
            const QByteArray user = readFile(game.userIni()), ut2003 = readFile(game.gameIni());
            const QString where = QStringLiteral("%1, failure at operation %2").arg(c.name).arg(failAt);
            QVERIFY2(outcome.told, qPrintable(where + ": the user was not told"));
            if (c.newUser.isEmpty()) {
                // A Save replaces one entry at a time: each step is a whole file.
                QVERIFY2(user.startsWith(oldUser.left(oldUser.indexOf('\n'))), qPrintable(where));
                QVERIFY2(ut2003 == oldGame, qPrintable(where));
            } else if (c.together) {
                QVERIFY2((user == oldUser && ut2003 == oldGame) || (user == newUser && ut2003 == newGame),
                         qPrintable(where + ": a mix of old and new profiles"));
            } else {
                QVERIFY2(user == oldUser || user == newUser, qPrintable(where + ": User.ini"));
                QVERIFY2(ut2003 == oldGame || ut2003 == newGame, qPrintable(where + ": UT2003.ini"));
            }
        }
    }

    // Two failures in one command (a delete or a .BAK copy that fails, the
    // user goes on, and a later copy fails too): the pair of profiles is
    // still the old pair or the new one, never a mix, and never the content
    // of .BAK files an earlier command left.
    void pairsOfFailuresNeverMixTheProfiles_data()
    {
        QTest::addColumn<int>("command");
        for (int i = 0; i < int(std::size(Commands)); ++i)
            if (Commands[i].together) QTest::newRow(Commands[i].name) << i;
    }

    void pairsOfFailuresNeverMixTheProfiles()
    {
        QFETCH(int, command);
        const Command& c = Commands[command];
        int operations = 0;
        {
            TempGame game;
            operations = runFailing(c, game, {}).operations;
        }
        for (int first = 1; first <= operations; ++first)
            for (int second = first + 1; second <= operations; ++second) {
                TempGame game;
                // Left by an earlier command: must never reach the profiles.
                writeFile(game.systemDir() + "User.BAK", "stale");
                writeFile(game.systemDir() + "UT2003.BAK", "stale");
                const QByteArray before = readFile(game.userIni()) + '|' + readFile(game.gameIni());
                const QByteArray after = expanded(c.newUser, game) + '|' + expanded(c.newGame, game);
                const Ran outcome = runFailing(c, game, {first, second});
                const QByteArray now = readFile(game.userIni()) + '|' + readFile(game.gameIni());
                const QString where = QStringLiteral("%1, failures at %2 and %3").arg(c.name).arg(first).arg(second);
                QVERIFY2(now == before || now == after, qPrintable(where + ": a mix of old and new profiles"));
                QVERIFY2(now == after || outcome.told, qPrintable(where + ": not restored, and the user was not told"));
            }
    }
};

int main(int argc, char** argv)
{
    CorvaneApplication app(argc, argv);
    TestFaults test;
    return QTest::qExec(&test, argc, argv);
}
#include "test_faults.moc"
