// Profiles changed outside the editor while it is open: the reload offer, no
// silent overwrite, the running game, and the list of what a Save would do.

#include "app/CorvaneApplication.h"
#include "app/PendingChanges.h"
#include "core/ProfileWatch.h"
#include "app/fMain.h"
#include "core/SaveBatch.h"
#include "pages/keys/KeyBindsPage.h"
#include "pages/player/GeneralSettingsPage.h"
#include "platform/Processes.h"
#include "tests/support/MainWindowHarness.h"
#include "tests/support/PageContract.h"

#include <QAction>
#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QProcess>
#include <QSlider>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeWidget>

using namespace TestSupport;
using MessageBox::Answer;
using MessageBox::Buttons;
using MessageBox::Kind;

namespace {

const QString ReloadQuestion = "User.ini has been changed outside Corvane 2003.\nDo you want to reload it and lose "
                               "your changes?";
const QString SaveQuestion =
    "User.ini has been changed outside Corvane 2003 since it was loaded.\nDo you want to save over it?";

struct Fixture : StartedWindow {
    QLineEdit* field() const { return page(PageId::KeyBinds)->field; }
    // The game, or a player's editor, writes the user file.
    void writeOutside(const QByteArray& extra) const
    {
        writeFile(game.userIni(), readFile(game.userIni()) + "\r\n[StandIn]\r\nKeyBinds=outside\r\n" + extra);
    }
    void activate() const
    {
        QEvent activation(QEvent::WindowActivate);
        QApplication::sendEvent(main.get(), &activation);
        QTest::qWait(1);
        QCoreApplication::processEvents();
    }
    void save() const { act("Save1")->trigger(); }
};

} // namespace

class TestOutside : public QObject {
    Q_OBJECT

private slots:
    void unchangedPagesFollowTheFile()
    {
        Fixture f;
        f.writeOutside({});
        Script script;
        f.activate();
        QVERIFY(script.allShown());
        QCOMPARE(f.field()->text(), QStringLiteral("outside"));
        QVERIFY(!f.main->findChild<QLabel*>("lblNotice")->text().isEmpty());

        // The program's own Save is no outside change.
        f.field()->setText("mine");
        script.box(Kind::Information, {}, Buttons::Ok);
        f.save();
        f.log.clear();
        f.activate();
        QVERIFY(script.allShown());
        QVERIFY(f.log.isEmpty());
    }

    // What the game changed is kept in the history as a change made outside,
    // and the program's own Save after it as a Save.
    void theHistoryKeepsWhatTheGameChanged()
    {
        Fixture f;
        const QByteArray before = readFile(f.game.userIni());
        f.writeOutside({});
        Script script;
        f.activate();
        f.field()->setText("mine");
        script.box(Kind::Information, {}, Buttons::Ok);
        f.save();
        QVERIFY(script.allShown());
        const std::vector<ProfileHistory::Entry> entries = f.main->runTime().History->history().entries();
        QCOMPARE(entries.size(), std::size_t(2));
        QCOMPARE(entries[0].operation, QString("Save"));
        QCOMPARE(entries[1].operation, QString("Changed outside"));
        QVERIFY(entries[1].outside);
        const auto outside = f.main->runTime().History->history().state(entries[1], ProfileHistory::Which::Before);
        QCOMPARE(QByteArray::fromStdString(*outside->files[0].bytes), before);
    }

    // A history that cannot be written stops no Save: the strip says once
    // that it is off, and why.
    void aSaveGoesOnWithoutItsHistory()
    {
        Fixture f;
        const QString history = qEnvironmentVariable("XDG_STATE_HOME") + "/corvane2003/history";
        QVERIFY(QDir(history).removeRecursively());
        writeFile(history, "a file where the history goes");
        Script script;
        for (const char* text : {"first", "second"}) {
            f.field()->setText(text);
            script.box(Kind::Information, "The changes has been succesfully saved!", Buttons::Ok);
            f.save();
            QVERIFY(readFile(f.game.userIni()).contains(QByteArray("KeyBinds=") + text));
        }
        QVERIFY(script.allShown());
        const QString notice = f.main->findChild<QLabel*>("lblNotice")->text();
        QVERIFY2(notice.startsWith("The history of the profiles is off: "), qPrintable(notice));
        QFile::remove(history);
    }

    void editedPagesAsk_data()
    {
        QTest::addColumn<bool>("reload");
        QTest::newRow("reload") << true;
        QTest::newRow("keep the edits") << false;
    }
    void editedPagesAsk()
    {
        QFETCH(bool, reload);
        Fixture f;
        f.field()->setText("edit");
        f.writeOutside({});
        Script script;
        script.box(Kind::Confirm, ReloadQuestion, Buttons::YesNo, reload ? Answer::Yes : Answer::No);
        f.activate();
        f.activate(); // asked once
        QVERIFY(script.allShown());
        QCOMPARE(f.field()->text(), reload ? QStringLiteral("outside") : QStringLiteral("edit"));
    }

    void saveAsksBeforeWritingOverAnOutsideChange()
    {
        Fixture f;
        f.field()->setText("edit");
        f.writeOutside("AddedOutside=kept\r\n");
        const QByteArray outside = readFile(f.game.userIni());
        Script script;
        script.box(Kind::Confirm, SaveQuestion, Buttons::YesNo, Answer::No);
        f.save();
        QVERIFY(script.allShown());
        QCOMPARE(readFile(f.game.userIni()), outside);
        QCOMPARE(f.field()->text(), QStringLiteral("edit"));

        script.box(Kind::Confirm, SaveQuestion, Buttons::YesNo, Answer::Yes).box(Kind::Information, {}, Buttons::Ok);
        f.save();
        QVERIFY(script.allShown());
        const QByteArray saved = readFile(f.game.userIni());
        QVERIFY(saved.contains("KeyBinds=edit\r\n"));
        QVERIFY(saved.contains("AddedOutside=kept\r\n"));
    }

    void runningGameIsShown()
    {
        bool running = true;
        TempGame game;
        TempProgramDir program(configuredProgram(game.systemDir()));
        QStringList log;
        Environment env = testEnvironment(program, {}, standInPages(log));
        env.gameRunning = [&] { return running; };
        Script script;
        TfrmMain main(std::move(env));
        auto* line = main.findChild<QLabel*>("lblGameRunning");
        main.checkGameRunning();
        QVERIFY(line->text().contains("UT2003 is running"));
        script.box(Kind::Warning, {}, Buttons::Ok).box(Kind::Information, {}, Buttons::Ok);
        script.box(Kind::Information, {}, Buttons::Ok); // warned once per run
        main.findChild<QAction*>("Save1")->trigger();
        main.findChild<QAction*>("Save1")->trigger();
        QVERIFY(script.allShown());
        running = false;
        main.checkGameRunning();
        QVERIFY(line->text().isEmpty());
    }

    // The game found in the process table, by a stub program of its name.
    void gameProcessIsFound()
    {
        QTemporaryDir dir;
        const QString stub = dir.filePath("UT2003.exe");
        QVERIFY(QFile::copy("/bin/sleep", stub));
        QProcess game;
        game.start(stub, {"30"});
        QVERIFY(game.waitForStarted());
        QVERIFY(platform::isProgramRunning("ut2003.EXE"));
        game.kill();
        game.waitForFinished();
        QVERIFY(!platform::isProgramRunning("Corvane-no-such-program.exe"));
    }

    // What counts as a change of a profile on disk: its bytes, whatever its
    // size and time say.
    void watchComparesTheBytes_data()
    {
        QTest::addColumn<int>("change");
        QTest::addColumn<bool>("changed");
        QTest::newRow("other bytes, same size and time") << 0 << true;
        QTest::newRow("touched, same bytes") << 1 << false;
        QTest::newRow("written back as it was") << 2 << false;
        QTest::newRow("emptied") << 3 << true;
        QTest::newRow("removed") << 4 << true;
    }
    void watchComparesTheBytes()
    {
        QFETCH(int, change);
        QFETCH(bool, changed);
        TempGame game;
        const TIniFile user(game.userIni().toStdString());
        const TIniFile gameFile(game.gameIni().toStdString());
        ProfileWatch watch;
        watch.remember(&user, &gameFile);
        const QByteArray before = readFile(game.userIni());
        const QDateTime time = QFileInfo(game.userIni()).lastModified();
        QByteArray other = before;
        other[other.indexOf('=') + 1] = '#';
        const auto keepTime = [&] {
            QFile file(game.userIni());
            QVERIFY(file.open(QIODevice::ReadWrite));
            QVERIFY(file.setFileTime(time, QFileDevice::FileModificationTime));
        };
        switch (change) {
        case 0:
            writeFile(game.userIni(), other);
            keepTime();
            break;
        case 1:
            QTest::qWait(10);
            writeFile(game.userIni(), before);
            break;
        case 2:
            writeFile(game.userIni(), other);
            writeFile(game.userIni(), before);
            keepTime();
            break;
        case 3:
            writeFile(game.userIni(), {});
            break;
        case 4:
            QVERIFY(QFile::remove(game.userIni()));
            break;
        }
        QCOMPARE(watch.changedOutside(&user, &gameFile), changed ? QStringList{game.userIni()} : QStringList{});
    }

    void pendingChangesListWhatASaveWouldWrite()
    {
        OpenDemoGame demo;
        KeyBindsPage keys(demo.rt);
        GeneralSettingsPage player(demo.rt);
        QVERIFY(keys.load() && player.load());
        demo.rt.PagesLoaded = true;
        const auto pending = [&] {
            SaveBatch batch(demo.rt);
            keys.collectPending(batch);
            player.collectPending(batch);
            return batch.pending();
        };
        // Keys a Save would add because the file lacks them count too: start from what a Save leaves.
        QVERIFY(keys.save() && player.save());
        QVERIFY(pending().empty());

        auto* slider = player.findChild<QSlider*>("tbMouseSens");
        slider->setValue(slider->value() == slider->maximum() ? slider->minimum() : slider->maximum());
        keys.findChild<QLineEdit*>("edtA")->setText("Jump");
        const std::vector<PendingWrite> writes = pending();
        QCOMPARE(writes.size(), std::size_t(2));
        QCOMPARE(writes[0].key, std::string("A"));
        QCOMPARE(writes[0].written, std::string("Jump"));
        QCOMPARE(writes[1].key, std::string("MouseSensitivity"));

        TfrmPendingChanges dialog(writes);
        QCOMPARE(dialog.lvChanges->topLevelItem(0)->childCount(), 2);
        QVERIFY(keys.save() && player.save());
        QVERIFY(pending().empty());
    }
};

int main(int argc, char** argv)
{
    CorvaneApplication app(argc, argv);
    TestOutside test;
    return QTest::qExec(&test, argc, argv);
}
#include "test_outside.moc"
