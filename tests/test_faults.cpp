// A failure, or a kill of the program, struck at every file operation of the
// commands that change the game's profile files: afterwards the profile
// directory holds the old pair or the new pair, never a mix, the user was
// told of a failure, a start after a kill finishes or undoes what was under
// way and leaves no hidden file, and every new file was durable before it
// was renamed into place.

#include "app/CorvaneApplication.h"
#include "app/fMain.h"
#include "backup/fIniManager.h"
#include "core/BackupProfiles.h"
#include "core/OpenProfiles.h"
#include "core/ProfileRestore.h"
#include "core/SaveBatch.h"
#include "core/StatePlaces.h"
#include "dialogs/Guard.h"
#include "dialogs/OutcomeBoxes.h"
#include "pages/ini_text/IniTextsPage.h"
#include "platform/ProgramDir.h"
#include "profile/FaultInjection.h"
#include "tests/support/MainWindowHarness.h"

#include <QAction>
#include <QDir>
#include <QFileDialog>
#include <QPlainTextEdit>
#include <QTest>
#include <QTreeWidget>

#include <algorithm>
#include <set>

using namespace TestSupport;

namespace {

const QDate Day(2026, 12, 8);

std::string journalOf(const TempGame& game)
{
    return stateFolderOf(platform::programStateDir(), "journal", game.systemDir().toStdString());
}

BackupPlace placeOf(const TempGame& game)
{
    return {game.systemDir().toStdString(), "User.ini", false, Day, journalOf(game), {}};
}

// One command on a fresh copy of the demo game.
struct Command {
    const char* name;
    std::function<void(TempGame&)> run;
    bool replacesPair; // both profiles change, or neither; otherwise neither may change
};

void save(TempGame& game)
{
    TempProgramDir program(configuredProgram(game.systemDir()));
    QStringList log;
    TfrmMain main(testEnvironment(program, {}, standInPages(log)));
    for (PageId id : {PageId::KeyBinds, PageId::GameSettings})
        static_cast<StandInPage*>(main.page(id))->field->setText("saved");
    main.findChild<QAction*>("Save1")->trigger();
}

void writeDatedPair(const TempGame& game)
{
    writeFile(game.systemDir() + "User_12-8-2026.INI", "[A]\r\nrestored=user\r\n");
    writeFile(game.systemDir() + "UT2003_12-8-2026.INI", "[A]\r\nrestored=game\r\n");
}

void restore(TempGame& game)
{
    writeDatedPair(game);
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

void writeBakPair(const TempGame& game)
{
    writeFile(game.systemDir() + "User.BAK", "[A]\r\nbak=user\r\n");
    writeFile(game.systemDir() + "UT2003.BAK", "[A]\r\nbak=game\r\n");
}

// The manager puts the .BAK pair back over both profiles.
void restoreBak(TempGame& game)
{
    writeBakPair(game);
    TfrmIniManager manager(placeOf(game), {});
    manager.btnBAKClick();
}

void reset(TempGame& game)
{
    tellOutcome(restoreProfiles(placeOf(game), defaultsRestore(game.systemDir().toStdString()), boxQuestions()));
}

const Command Commands[] = {
    {"raw save", rawSave, true},
    {"save as", saveAs, false},
    {"Save", save, true},
    {"backup", [](TempGame& g) { tellOutcome(BackupProfiles(placeOf(g), true, boxQuestions())); }, false},
    {"restore", restore, true},
    {".BAK restore", restoreBak, true},
    {"reset", reset, true},
};

// The pair operations on their own, under the window: what each command
// above hands to the one replacement of the pair.
class Yes : public Questions {
public:
    bool ask(Kind, const QString&) override { return true; }
    void tell(const Notice&) override {}
};

void coreSave(TempGame& game, const std::string& journal)
{
    RunTime rt;
    rt.UserProfile = std::make_unique<TIniFile>(game.userIni().toStdString());
    rt.GameProfile = std::make_unique<TIniFile>(game.gameIni().toStdString());
    rt.JournalDir = journal;
    SaveBatch batch(rt);
    batch.add({{{ProfileFile::User, "DefaultPlayer", "Name", "Killed"},
                {ProfileFile::Game, "Engine.Engine", "Language", "kil"}},
               false,
               {}});
    try {
        batch.commit();
    } catch (const std::exception&) {
    }
}

void coreRawSave(TempGame& game, const std::string& journal)
{
    RunTime rt;
    rt.UserProfile = std::make_unique<TIniFile>(game.userIni().toStdString());
    rt.GameProfile = std::make_unique<TIniFile>(game.gameIni().toStdString());
    rt.JournalDir = journal;
    try {
        SaveBatch(rt).commit({{rt.UserProfile.get(), "[A]\r\nraw=user\r\n"}, {rt.GameProfile.get(), "[A]\r\nraw=game\r\n"}});
    } catch (const std::exception&) {
    }
}

void coreRestore(TempGame& game, const RestoreRequest& request)
{
    Yes yes;
    restoreProfiles(placeOf(game), request, yes);
}

struct PairOperation {
    const char* name;
    std::function<void(TempGame&)> run;
};

const PairOperation PairOperations[] = {
    {"Save", [](TempGame& g) { coreSave(g, journalOf(g)); }},
    {"raw save", [](TempGame& g) { coreRawSave(g, journalOf(g)); }},
    {"restore",
     [](TempGame& g) {
         writeDatedPair(g);
         coreRestore(g, datedRestore(placeOf(g), "12-8-2026"));
     }},
    {".BAK restore",
     [](TempGame& g) {
         writeBakPair(g);
         coreRestore(g, bakRestore(placeOf(g)));
     }},
    {"reset", [](TempGame& g) { coreRestore(g, defaultsRestore(g.systemDir().toStdString())); }},
};

struct Ran {
    int operations = 0;
    bool told = false;
};

// Runs `work` with the file operations numbered in `failAt` failing (none:
// every one succeeds).
Ran runFailing(const std::function<void()>& work, std::initializer_list<int> failAt)
{
    Ran outcome;
    FaultInjection::setHook([&](FaultInjection::Operation, const std::string&) {
        return std::ranges::find(failAt, ++outcome.operations) == failAt.end();
    });
    {
        Script script;
        MessageBox::agreeToEveryOtherBox();
        work();
        for (const MessageBox::Shown& box : script.shown())
            outcome.told = outcome.told || box.kind == MessageBox::Kind::Error || box.kind == MessageBox::Kind::Warning;
    }
    FaultInjection::setHook({});
    return outcome;
}

QByteArray pairOf(const TempGame& game) { return readFile(game.userIni()) + '|' + readFile(game.gameIni()); }

// The pair as a command leaves it when nothing fails.
QByteArray pairAfter(const std::function<void(TempGame&)>& run)
{
    TempGame game;
    runFailing([&] { run(game); }, {});
    return pairOf(game);
}

// How many file operations a command makes when nothing fails.
int operationsOf(const std::function<void(TempGame&)>& run)
{
    TempGame game;
    return runFailing([&] { run(game); }, {}).operations;
}

// Files a kill may leave that no start would ever remove: hidden names in
// the profile directory, anything in the journal's place.
QStringList leftovers(const TempGame& game)
{
    QStringList left = QDir(game.systemDir()).entryList({".*"}, QDir::Files | QDir::Hidden);
    for (const QString& name : QDir(QString::fromStdString(journalOf(game))).entryList(QDir::Files | QDir::Hidden))
        left << "journal/" + name;
    return left;
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
        const int operations = operationsOf(c.run);
        QVERIFY(operations > 0);
        for (int failAt = 1; failAt <= operations; ++failAt) {
            TempGame game;
            const QByteArray before = pairOf(game);
            const QByteArray after = c.replacesPair ? pairAfter(c.run) : before;
            const Ran ran = runFailing([&] { c.run(game); }, {failAt});
            const QByteArray now = pairOf(game);
            const QString where = QStringLiteral("%1, failure at operation %2").arg(c.name).arg(failAt);
            QVERIFY2(now == before || now == after, qPrintable(where + ": a mix of old and new profiles"));
            // A failure after the pair is in place (the journal's clearing)
            // costs the user nothing to be told of.
            QVERIFY2(ran.told || now == after, qPrintable(where + ": not done, and the user was not told"));
        }
    }

    // Two failures in one command (a .BAK copy that fails, the user goes on,
    // and a later step fails too; a write that fails, and then the undo): by
    // the next start at the latest the pair is the old pair or the new one,
    // never a mix, and never the content of .BAK files an earlier command
    // left.
    void pairsOfFailuresNeverMixTheProfiles_data()
    {
        QTest::addColumn<int>("command");
        for (int i = 0; i < int(std::size(Commands)); ++i)
            if (Commands[i].replacesPair) QTest::newRow(Commands[i].name) << i;
    }

    void pairsOfFailuresNeverMixTheProfiles()
    {
        QFETCH(int, command);
        const Command& c = Commands[command];
        const int operations = operationsOf(c.run);
        const QByteArray after = pairAfter(c.run);
        for (int first = 1; first <= operations; ++first)
            for (int second = first + 1; second <= operations; ++second) {
                TempGame game;
                // Left by an earlier command: must never reach the profiles.
                writeFile(game.systemDir() + "User.BAK", "stale");
                writeFile(game.systemDir() + "UT2003.BAK", "stale");
                const QByteArray before = pairOf(game);
                const Ran ran = runFailing([&] { c.run(game); }, {first, second});
                // A failure while the first was being undone: the next start
                // puts the pair back.
                ProfilePair::recover(journalOf(game), game.systemDir().toStdString());
                const QByteArray now = pairOf(game);
                const QString where = QStringLiteral("%1, failures at %2 and %3").arg(c.name).arg(first).arg(second);
                QVERIFY2(now == before || now == after, qPrintable(where + ": a mix of old and new profiles"));
                QVERIFY2(now == after || ran.told, qPrintable(where + ": not restored, and the user was not told"));
            }
    }

    // A kill at each file operation of each replacement of the pair, then a
    // new start: the pair is both old or both new, and nothing is left over.
    void aStartAfterAKillFinishesOrUndoes_data()
    {
        QTest::addColumn<int>("operation");
        for (int i = 0; i < int(std::size(PairOperations)); ++i)
            QTest::newRow(PairOperations[i].name) << i;
    }

    void aStartAfterAKillFinishesOrUndoes()
    {
        QFETCH(int, operation);
        const PairOperation& op = PairOperations[operation];
        const int operations = operationsOf(op.run);
        const QByteArray after = pairAfter(op.run);
        std::set<QByteArray> outcomes;
        for (int killAt = 1; killAt <= operations; ++killAt) {
            TempGame game;
            const QByteArray before = pairOf(game);
            int count = 0;
            FaultInjection::setHook([&](FaultInjection::Operation, const std::string&) -> bool {
                if (++count >= killAt) throw FaultInjection::Killed{};
                return true;
            });
            try {
                op.run(game);
            } catch (const FaultInjection::Killed&) {
            }
            FaultInjection::setHook({});
            ProfilePair::recover(journalOf(game), game.systemDir().toStdString()); // what the next start does first
            const QByteArray now = pairOf(game);
            const QString where = QStringLiteral("%1, killed at operation %2").arg(op.name).arg(killAt);
            QVERIFY2(now == before || now == after, qPrintable(where + ": a mix of old and new profiles"));
            QVERIFY2(leftovers(game).isEmpty(), qPrintable(where + ": left " + leftovers(game).join(", ")));
            outcomes.insert(now == after ? "new" : "old");
        }
        // The kills struck before and after the point of no return.
        QCOMPARE(outcomes.size(), std::size_t(2));
    }

    // The start that finds an interrupted replacement says what it did.
    void theStartTellsWhatItFound()
    {
        TempGame game;
        TempProgramDir program(configuredProgram(game.systemDir()));
        const QByteArray before = pairOf(game);
        // Killed once User.ini holds its new content, as UT2003.ini's new
        // file is renamed into place.
        FaultInjection::setHook([&](FaultInjection::Operation op, const std::string& path) -> bool {
            if (op == FaultInjection::Operation::Rename && path.find("UT2003") != std::string::npos &&
                path.find("journal") == std::string::npos)
                throw FaultInjection::Killed{};
            return true;
        });
        try {
            coreSave(game, journalOf(game));
        } catch (const FaultInjection::Killed&) {
        }
        FaultInjection::setHook({});
        OpenProfiles profiles(program.dir().toStdString(), {});
        const Outcome opened = profiles.open(false);
        QVERIFY(opened.done);
        QCOMPARE(pairOf(game), before);
        QCOMPARE(opened.notices.size(), std::size_t(1));
        QVERIFY2(opened.notices[0].text.contains("(Save) was interrupted") &&
                     opened.notices[0].text.contains("undone"),
                 qPrintable(opened.notices[0].text));
        QVERIFY(leftovers(game).isEmpty());
    }

    // Every file a command renames into place was made durable first: a
    // power cut after the rename never leaves an empty profile or backup.
    void everyNewFileIsSyncedBeforeItsRename_data() { everyFailureLeavesWholeProfiles_data(); }

    void everyNewFileIsSyncedBeforeItsRename()
    {
        QFETCH(int, command);
        TempGame game;
        QStringList synced, unsynced;
        int renames = 0;
        FaultInjection::setHook([&](FaultInjection::Operation op, const std::string& path) {
            const QString file = QString::fromStdString(path);
            if (op == FaultInjection::Operation::Sync) synced << file;
            if (op == FaultInjection::Operation::Rename) {
                ++renames;
                if (!synced.contains(file)) unsynced << file;
            }
            return true;
        });
        {
            Script script;
            MessageBox::agreeToEveryOtherBox();
            Commands[command].run(game);
        }
        FaultInjection::setHook({});
        QVERIFY(renames > 0);
        QVERIFY2(unsynced.isEmpty(), qPrintable(unsynced.join(", ")));
    }
};

int main(int argc, char** argv)
{
    CorvaneApplication app(argc, argv);
    TestFaults test;
    return QTest::qExec(&test, argc, argv);
}
#include "test_faults.moc"
