// An update that dies half way through replacing the program's files: a
// child process puts the files in place and is killed between two renames,
// and the next start finishes the replacement or puts the originals back.
// Either way the directory must end as an uninterrupted update leaves it, or
// as it was before.

#include "dialogs/UpdateDialogs.h"
#include "platform/ShellStart.h"
#include "tests/support/TestSupport.h"
#include "update/StagedFiles.h"
#include "update/UpdateCheck.h"

#include <QCryptographicHash>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QMap>
#include <QProcess>
#include <QTest>

using namespace TestSupport;
using MessageBox::Buttons;
using MessageBox::Kind;

namespace {

const QString CompletedBox =
    QStringLiteral("An update of Corvane 2003 was interrupted. Its remaining files have now been put in place. "
                   "Please start Corvane 2003 again.");
const QString RolledBackBox =
    QStringLiteral("An update of Corvane 2003 was interrupted. The previous files have been put back.");

// The update the child puts in place: a replaced program, a replaced file
// and a new file in two new folders.
const QStringList Update = {"corvane2003", "new program", "ReadMe.txt", "new readme", "Maps/Pictures/DM-Corvane.jpg",
                            "new picture"};

class NoStarter : public ShellStarter {
public:
    bool Start(const std::string&, const std::string&, const std::string&) override { return false; }
    bool OpenUrl(const std::string&) override { return false; }
};

// Every file and folder below `root` with its content and permissions.
QMap<QString, QString> treeBelow(const QString& root)
{
    QMap<QString, QString> entries;
    QDirIterator it(root, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QFileInfo info(it.next());
        const QString content = info.isDir() ? "<folder>" : QString::fromUtf8(readFile(info.filePath()));
        entries[info.filePath().mid(root.size())] = content + " " + QString::number(int(info.permissions()));
    }
    return entries;
}

// A program's directory before the update.
struct ProgramDir {
    QTemporaryDir dir;
    ProgramDir()
    {
        writeFile(path() + "corvane2003", "old program");
        QFile::setPermissions(path() + "corvane2003", QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        writeFile(path() + "ReadMe.txt", "old readme");
    }
    QString path() const { return dir.path() + "/"; }
    QString staged(const QString& relative) const { return path() + StagedFiles::DirName + "/new/" + relative; }
    QString kept(const QString& relative) const { return path() + StagedFiles::DirName + "/previous/" + relative; }

    // Runs the update in a child; true when the child was killed.
    bool update(int killAfter) const
    {
        QProcess child;
        child.start(CORVANE_KILL_CHILD, QStringList{path(), QString::number(killAfter)} + Update);
        if (!child.waitForFinished(60000)) qFatal("the update child hangs");
        return child.exitStatus() == QProcess::CrashExit;
    }
    QMap<QString, QString> tree() const { return treeBelow(path()); }
    // What the next start does, and the start after it; the boxes it shows are `script`'s.
    void start() const
    {
        bool manual = false;
        NoStarter starter;
        UpdateCheck check("1.3", path().toStdString(), manual, starter, std::make_unique<UpdateDialogs>(nullptr),
                          "corvane2003");
        check.FinishInterruptedUpdate();
    }
};

} // namespace

class TestUpdateFiles : public QObject {
    Q_OBJECT

private slots:
    void interruptedUpdate_data()
    {
        QTest::addColumn<int>("killAfter");  // renames done when the child dies
        QTest::addColumn<QString>("damage"); // to the staged copy of the next file to place
        QTest::addColumn<bool>("completes");
        QTest::newRow("killed before the first rename") << 0 << "" << true;
        QTest::newRow("killed after one of three") << 1 << "" << true;
        QTest::newRow("killed after two of three") << 2 << "" << true;
        QTest::newRow("killed after the last rename") << 3 << "" << true;
        QTest::newRow("before the first, a staged copy lost") << 0 << "lost" << false;
        QTest::newRow("after one, a staged copy lost") << 1 << "lost" << false;
        QTest::newRow("after two, a staged copy damaged") << 2 << "damaged" << false;
    }
    void interruptedUpdate()
    {
        QFETCH(int, killAfter);
        QFETCH(QString, damage);
        QFETCH(bool, completes);
        // The same update, not interrupted, and its kept originals gone at the next start.
        ProgramDir reference;
        QVERIFY(!reference.update(-1));
        reference.start();
        QVERIFY(!StagedFiles::hasJournal(reference.path()));

        ProgramDir dir;
        const QMap<QString, QString> before = dir.tree();
        QVERIFY(dir.update(killAfter));
        QVERIFY(StagedFiles::hasJournal(dir.path()));
        if (!damage.isEmpty()) {
            const QString next = dir.staged(Update[2 * killAfter]);
            if (damage == "lost")
                QVERIFY(QFile::remove(next));
            else
                writeFile(next, "half a file");
        }

        Script script;
        script.box(Kind::Information, completes ? CompletedBox : RolledBackBox, Buttons::Ok);
        dir.start();
        dir.start(); // silent: a completed update's originals go now
        QVERIFY(script.allShown());
        QCOMPARE(dir.tree(), completes ? reference.tree() : before);
    }

    // An original that cannot be put back is never deleted: it stays where
    // it was kept, with the journal, and the user is told where.
    void originalThatCannotGoBackIsKept()
    {
        ProgramDir dir;
        QVERIFY(dir.update(2));
        QFile::remove(dir.staged("Maps/Pictures/DM-Corvane.jpg")); // the update cannot be completed
        // Something now stands where the program's original is kept, and it holds that original.
        QFile::rename(dir.kept("corvane2003"), dir.path() + "saved");
        QDir().mkpath(dir.kept("corvane2003"));
        QFile::rename(dir.path() + "saved", dir.kept("corvane2003") + "/original");

        Script script;
        script.box(Kind::Error, "", Buttons::Ok);
        dir.start();
        QVERIFY(script.allShown());
        QVERIFY(script.shown().back().text.contains(dir.path() + StagedFiles::DirName));
        QCOMPARE(readFile(dir.kept("corvane2003") + "/original"), QByteArray("old program"));
        QCOMPARE(readFile(dir.path() + "ReadMe.txt"), QByteArray("old readme")); // the rest went back
        QVERIFY(StagedFiles::hasJournal(dir.path()));
    }

    // A journal whose paths lead through a link out of the program's
    // directory touches nothing out there: not the files and folders it
    // names, nor what a link in the staging folder's place leads to.
    void journalThroughALinkStaysInside_data()
    {
        QTest::addColumn<QString>("link"); // the name in the program's directory that leads out
        QTest::addColumn<QByteArray>("journal");
        QTest::addColumn<bool>("refused"); // else the journal is done with, silently
        const auto sha256 = [](const QByteArray& bytes) {
            return QCryptographicHash::hash(bytes, QCryptographicHash::Sha256).toHex();
        };
        // A new file whose staged copy is lost: the update is undone.
        const QByteArray lost = "Add " + QByteArray(64, '0') + " Gone.txt\n";
        QTest::newRow("a file it added") << "Skins"
                                         << "State replacing\nAdd " + sha256("victim") + " Skins/victim.txt\n" + lost
                                         << true;
        QTest::newRow("a folder it made") << "Skins"
                                          << "State replacing\nFolder Skins/Empty\n" + lost << true;
        QTest::newRow("an original it kept")
            << StagedFiles::DirName << "State replacing\nReplace " + sha256("old program") + " corvane2003\n" + lost
            << true;
        QTest::newRow("a finished update's staging folder")
            << StagedFiles::DirName << QByteArray("State replaced\n") << false;
    }
    void journalThroughALinkStaysInside()
    {
        QFETCH(QString, link);
        QFETCH(QByteArray, journal);
        QFETCH(bool, refused);
        ProgramDir dir;
        QTemporaryDir outside;
        writeFile(outside.path() + "/victim.txt", "victim");
        writeFile(outside.path() + "/previous/corvane2003", "someone else's file");
        QVERIFY(QDir(outside.path()).mkdir("Empty"));
        QVERIFY(QFile::link(outside.path(), dir.path() + link));
        writeFile(StagedFiles::journalPath(dir.path()), "Corvane 2003 update journal\n" + journal);
        const QMap<QString, QString> before = treeBelow(outside.path());

        Script script;
        if (refused) script.box(Kind::Error, "", Buttons::Ok);
        dir.start();
        QVERIFY(script.allShown());
        QCOMPARE(treeBelow(outside.path()), before);
        QCOMPARE(readFile(dir.path() + "corvane2003"), QByteArray("old program"));
    }

    // A journal the program cannot read is reported and left alone, with everything it names.
    void unreadableJournalChangesNothing()
    {
        ProgramDir dir;
        QVERIFY(dir.update(1));
        QFile journal(StagedFiles::journalPath(dir.path()));
        QVERIFY(journal.open(QIODevice::ReadWrite));
        journal.seek(journal.size() / 2);
        journal.write("\n../../etc/passwd\n");
        journal.close();
        const QMap<QString, QString> damaged = dir.tree();

        Script script;
        script.box(Kind::Error, "", Buttons::Ok);
        dir.start();
        QVERIFY(script.allShown());
        QCOMPARE(dir.tree(), damaged);
    }
};

QTEST_MAIN(TestUpdateFiles)
#include "test_update_files.moc"
