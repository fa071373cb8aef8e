// The update check against a small HTTP server on this computer: what the
// user is told, what is downloaded, that only a control file signed by the
// release key counts, and that nothing is replaced unless every file arrived
// intact.

#include "dialogs/UpdateDialogs.h"
#include "dialogs/fProgress.h"
#include "platform/ShellStart.h"
#include "tests/support/EndlessServer.h"
#include "tests/support/LocalHttpServer.h"
#include "tests/support/MinisignSigner.h"
#include "tests/support/TestSupport.h"
#include "update/MinisignVerifier.h"
#include "update/StagedFiles.h"
#include "update/UpdateCheck.h"
#include "update/WebUpdate.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QPushButton>
#include <QSslCertificate>
#include <QSslConfiguration>
#include <QStandardPaths>
#include <QTcpServer>
#include <QTest>
#include <QTimer>

#include <sys/resource.h>

using namespace TestSupport;
using MessageBox::Buttons;
using MessageBox::Kind;

namespace {

const QString NotFoundBox = QStringLiteral("Update file not found\nCannot continue update");
const QString RestartBox = QStringLiteral("Press OK to finalize the update, and to restart the newest Corvane 2003!");
const QString NotRestartedBox =
    QStringLiteral("The update was installed, but Corvane 2003 could not be started again. Please start it yourself.");

class RecordingStarter : public ShellStarter {
public:
    QStringList started; // program, then working directory
    bool starts = true;
    bool Start(const std::string& program, const std::string&, const std::string& workDir) override
    {
        started << QString::fromStdString(program) << QString::fromStdString(workDir);
        return starts;
    }
    bool OpenUrl(const std::string&) override { return false; }
};

QByteArray sha256(const QByteArray& bytes)
{
    return QCryptographicHash::hash(bytes, QCryptographicHash::Sha256).toHex();
}

QByteArray fileLine(const QByteArray& content, const QByteArray& path, const QByteArray& hash = {})
{
    return "File " + QByteArray::number(content.size()) + " " + (hash.isEmpty() ? sha256(content) : hash) + " " + path +
           "\n";
}

QByteArray expiresIn(int days)
{
    return "Expires " + QDate::currentDate().addDays(days).toString("dd/MM/yyyy").toLatin1() + "\n";
}
// A control file good for another year.
const QByteArray Fresh = expiresIn(365);

const QByteArray OldProgram = "the running program";
const QByteArray ControlPath = "/update/Corvane2003.upd";

enum class Signature {
    ReleaseKey, // signed by the key the test hands the engine
    None,
    OtherKey,
    Tampered,  // the control file changed after signing
    BuiltInKey // signed as ReleaseKey, but the engine keeps the program's built-in key
};

// A program directory with the running program in it, and the update check
// pointed at the local server through the environment and at the test's own
// key through the component's settings.
struct Fixture {
    QTemporaryDir dir, elsewhere, config;
    LocalHttpServer server;
    MinisignSigner releaseKey;
    RecordingStarter starter;
    bool manualUpdateCheck = false;
    std::unique_ptr<UpdateCheck> check;
    UpdateDialogs* dialogs = nullptr; // the check's
    QList<int> codes, errors;
    QStringList texts;

    explicit Fixture(const QString& programDir = {})
        : m_programDir(programDir)
    {
        qputenv("XDG_CONFIG_HOME", config.path().toUtf8());
        if (!QFileInfo::exists(program())) {
            writeFile(program(), OldProgram);
            QFile::setPermissions(program(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner | QFile::ReadOther |
                                                 QFile::ExeOther);
        }
        QFile::link(elsewhere.path(), this->programDir() + "Skins"); // a directory link that leads out
        qputenv(TWebUpdate::UrlVariable, server.url(ControlPath).toUtf8());
        restart("1.2");
    }
    ~Fixture()
    {
        qunsetenv(TWebUpdate::UrlVariable);
        qunsetenv("XDG_CONFIG_HOME");
    }
    // A new program over the same directory, reporting `version`; it takes
    // control files signed by the test's key unless `testKey` is false.
    void restart(const std::string& version, bool testKey = true)
    {
        manualUpdateCheck = false;
        auto prompts = std::make_unique<UpdateDialogs>(nullptr);
        dialogs = prompts.get();
        check = std::make_unique<UpdateCheck>(version, programDir().toStdString(), manualUpdateCheck, starter,
                                              std::move(prompts), "corvane2003");
        if (testKey) check->WebUpdate1()->PublicKey = releaseKey.publicKey();
        QObject::connect(check->WebUpdate1(), &TWebUpdate::OnStatus,
                         [this](QObject*, const QString& text, int code, int e) {
                             texts << text;
                             codes << code;
                             errors << e;
                         });
    }
    QString programDir() const { return m_programDir.isEmpty() ? dir.path() + "/" : m_programDir; }
    QString program() const { return programDir() + "corvane2003"; }
    void control(const QByteArray& body, int status = 200, Signature signature = Signature::ReleaseKey)
    {
        server.answer(ControlPath, {status, body});
        QByteArray minisig;
        if (signature != Signature::None && signature != Signature::OtherKey) minisig = releaseKey.sign(body);
        if (signature == Signature::OtherKey) minisig = MinisignSigner().sign(body);
        if (signature == Signature::Tampered) server.answer(ControlPath, {status, body + "File 1 00 x\n"});
        if (!minisig.isEmpty()) server.answer(ControlPath + ".minisig", {200, minisig});
    }
    void file(const QByteArray& path, const QByteArray& content, int trickle = 0)
    {
        LocalHttpServer::Answer answer{200, content};
        answer.trickle = trickle;
        server.answer("/update/" + path, answer);
    }
    bool run(bool manual) { return manual ? check->Checkforupdates1Click() : check->check(false); }
    bool untouched() const
    {
        return readFile(program()) == OldProgram && !QFileInfo::exists(programDir() + StagedFiles::DirName) &&
               !StagedFiles::hasJournal(programDir()) && starter.started.isEmpty();
    }
    // What was fetched besides the control file and its signature.
    QList<QByteArray> downloads() const
    {
        QList<QByteArray> rest = server.requested;
        rest.removeAll(ControlPath);
        rest.removeAll(ControlPath + ".minisig");
        return rest;
    }

private:
    QString m_programDir;
};

// Clicks Cancel on the progress window, as the user would.
void clickCancel(Fixture& f)
{
    TfrmProgress* progress = f.dialogs->progressWindow();
    QVERIFY(progress && progress->isVisible() && progress->cancelButton());
    if (progress->cancelButton()->isEnabled()) QTest::mouseClick(progress->cancelButton(), Qt::LeftButton);
}

// A signature file with one of its lines replaced, or its signature line's
// bytes changed by `edit`.
QByteArray withLine(const QByteArray& minisig, int index, const QByteArray& line)
{
    QList<QByteArray> lines = minisig.split('\n');
    lines[index] = line;
    return lines.join('\n');
}
QByteArray withSignatureBytes(const QByteArray& minisig, const std::function<void(QByteArray&)>& edit)
{
    QByteArray bytes = QByteArray::fromBase64(minisig.split('\n')[1]);
    edit(bytes);
    return withLine(minisig, 1, bytes.toBase64());
}

// The most memory this test program has held so far, in KiB.
long peakMemoryKiB()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

QByteArray runTool(const QString& program, const QStringList& arguments, int* exitCode = nullptr)
{
    QProcess process;
    process.start(program, arguments);
    process.closeWriteChannel();
    if (!process.waitForFinished(30000)) qWarning() << program << arguments << "did not finish";
    if (exitCode) *exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    return process.readAllStandardOutput() + process.readAllStandardError();
}

} // namespace

class TestUpdate : public QObject {
    Q_OBJECT
    MinisignSigner m_key; // the signatures of the verdict table

private slots:
    // Outcomes decided by the control file alone: nothing is downloaded. A
    // check that stops shows code 2 (and its box for a manual check); one
    // that finds no later version shows code 4.
    void checkOutcome_data()
    {
        QTest::addColumn<QByteArray>("control");
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("url"); // empty: the local server; "closed": a port nobody listens on
        QTest::addColumn<bool>("manual");
        QTest::addColumn<int>("error"); // None: no later version
        QTest::addColumn<int>("signature");
        using E = UpdateError;
        const auto row = [](const char* name, const QByteArray& control, UpdateError error, bool manual = true,
                            Signature signature = Signature::ReleaseKey, int status = 200, const QString& url = {}) {
            QTest::newRow(name) << control << status << url << manual << int(error) << int(signature);
        };
        const QByteArray v13 = "Version 1.3\n" + Fresh, later = v13 + fileLine("x", "corvane2003");
        row("not found, menu", {}, E::Unreachable, true, Signature::ReleaseKey, 404);
        row("not found, start-up", {}, E::Unreachable, false, Signature::ReleaseKey, 404);
        row("nobody listening, menu", {}, E::Unreachable, true, Signature::ReleaseKey, 200, "closed");
        row("plain HTTP elsewhere", "Version 9\n", E::InsecureAddress, true, Signature::ReleaseKey, 200,
            "http://192.0.2.1/Corvane2003.upd");
        row("same version, menu", "Version 1.2\n" + Fresh, E::None);
        row("same version, start-up", "Version 1.2.0\r\n" + Fresh, E::None, false);
        row("older version, menu", "# old\nversion 1.1.9\n" + Fresh, E::None);
        row("oversized", QByteArray(70000, '#'), E::TooLarge);
        row("malformed", "<html><body>Welcome</body></html>\n", E::Malformed);
        row("path up and out", v13 + fileLine("x", "../corvane2003"), E::UnsafePath);
        row("absolute path", v13 + fileLine("x", "/tmp/corvane2003"), E::UnsafePath);
        row("through a link out", v13 + fileLine("x", "Skins/corvane2003"), E::UnsafePath);
        row("Windows path up", v13 + fileLine("x", "..\\corvane2003"), E::UnsafePath);
        // Whoever serves the control file cannot make the program take it.
        row("unsigned, menu", later, E::NotSigned, true, Signature::None);
        row("unsigned, start-up", later, E::NotSigned, false, Signature::None);
        row("unsigned, same version", "Version 1.2\n" + Fresh, E::NotSigned, true, Signature::None);
        row("another key", later, E::NotSigned, true, Signature::OtherKey);
        row("altered after signing", later, E::NotSigned, true, Signature::Tampered);
        row("the shipped program, a test key's signature", later, E::NotSigned, true, Signature::BuiltInKey);
        row("past its expiry", "Version 1.3\n" + expiresIn(-1) + fileLine("x", "corvane2003"), E::Expired);
        row("expiring at the end of today", "Version 1.2\n" + expiresIn(0), E::None);
        row("no expiry date", "Version 1.3\n" + fileLine("x", "corvane2003"), E::Malformed);
        row("good until the year 9999", "Version 1.3\nExpires 31/12/9999\n" + fileLine("x", "corvane2003"),
            E::Malformed);
    }
    void checkOutcome()
    {
        QFETCH(QByteArray, control);
        QFETCH(int, status);
        QFETCH(QString, url);
        QFETCH(bool, manual);
        QFETCH(int, error);
        QFETCH(int, signature);
        Fixture f;
        if (Signature(signature) == Signature::BuiltInKey) f.restart("1.2", false);
        f.control(control, status, Signature(signature));
        if (url == "closed") {
            QTcpServer gone;
            gone.listen(QHostAddress::LocalHost);
            url = QStringLiteral("http://127.0.0.1:%1/Corvane2003.upd").arg(gone.serverPort());
        }
        if (!url.isEmpty()) f.check->WebUpdate1()->URL = url;
        const bool found = error == int(UpdateError::None);
        Script script;
        if (manual) script.box(Kind::Information, found ? "No new version available" : NotFoundBox, Buttons::Ok);

        QVERIFY(!f.run(manual));
        QVERIFY(script.allShown());
        QCOMPARE(f.codes.last(), found ? int(wusNoNewVersion) : int(wusNotFound));
        QCOMPARE(f.errors.last(), error);
        if (error == int(UpdateError::NotSigned))
            QCOMPARE(f.texts.last(), QStringLiteral("The update is not signed by the release key"));
        QVERIFY(f.downloads().isEmpty()); // the control file and its signature at most
        QVERIFY(f.untouched());
        // A manual check that could not reach its file is over; one that found no update is not cleared.
        QCOMPARE(f.manualUpdateCheck, manual && found);
    }

    // The update replaces the program and adds a file in folders that do not exist yet.
    void newerVersionIsInstalled()
    {
        Fixture f;
        const QByteArray newProgram(2000, 'N'), picture(700, 'J');
        f.control("Version 1.3\n" + Fresh + fileLine(newProgram, "corvane2003") +
                  fileLine(picture, "Maps/Pictures/DM-Corvane.jpg"));
        f.server.answer("/update/corvane2003", {200, newProgram, 500});
        // In chunks, as a server sends what it does not know the length of.
        f.server.answer("/update/Maps/Pictures/DM-Corvane.jpg", {200, picture, -1, true, 0, {}, 256});
        QString captionAtQuarter;
        int positionAtQuarter = -1, maximumAtQuarter = -1;
        QObject::connect(f.check->WebUpdate1(), &TWebUpdate::OnFileProgress,
                         [&](QObject*, const QString&, qint64 pos, qint64) {
                             if (pos != 500) return;
                             TfrmProgress* progress = f.dialogs->progressWindow();
                             QVERIFY(progress && progress->isVisible() && progress->isModal());
                             captionAtQuarter = progress->caption();
                             positionAtQuarter = progress->position();
                             maximumAtQuarter = progress->maximum();
                             f.server.release();
                         });
        Script script;
        script.box(Kind::Information, RestartBox, Buttons::Ok);

        QVERIFY(f.run(false)); // restarted: the caller ends this program
        QVERIFY(script.allShown());
        QCOMPARE(captionAtQuarter, QStringLiteral("Downloading files..."));
        QCOMPARE(positionAtQuarter, 500);
        QCOMPARE(maximumAtQuarter, 2000);
        QCOMPARE(readFile(f.program()), newProgram);
        QVERIFY(QFileInfo(f.program()).isExecutable());
        QCOMPARE(readFile(f.programDir() + "Maps/Pictures/DM-Corvane.jpg"), picture);
        QVERIFY(!QFileInfo(f.programDir() + "Maps/Pictures/DM-Corvane.jpg").isExecutable());
        // The kept original goes once the new program has started.
        QVERIFY(!QFileInfo::exists(f.programDir() + StagedFiles::DirName));
        QVERIFY(!StagedFiles::hasJournal(f.programDir()));
        QCOMPARE(f.starter.started, QStringList({f.program(), f.programDir()}));
        QVERIFY(!f.dialogs->progressWindow());
    }

    // Every file must arrive whole and be put in place, or nothing changes.
    void badDownloadReplacesNothing_data()
    {
        QTest::addColumn<QByteArray>("control");
        QTest::addColumn<bool>("reachesRestart");
        QTest::addColumn<int>("error");
        QTest::addColumn<qint64>("freeSpace"); // -1: the disk's own
        const QByteArray served(2000, 'N');
        const QByteArray head = "Version 1.3\n" + Fresh;
        QTest::newRow("wrong checksum") << head + fileLine(served, "corvane2003", sha256("other")) << false
                                        << int(UpdateError::Checksum) << qint64(-1);
        QTest::newRow("longer than listed")
            << head + fileLine(served.left(1999), "corvane2003") << false << int(UpdateError::TooLarge) << qint64(-1);
        QTest::newRow("file missing") << head + fileLine(served, "corvane2003") + fileLine("x", "gone.txt") << false
                                      << int(UpdateError::Unreachable) << qint64(-1);
        // The second file lands on a directory: the first one is put back.
        QTest::newRow("cannot replace") << head + fileLine(served, "corvane2003") + fileLine(served, "Maps") << true
                                        << int(UpdateError::Replace) << qint64(-1);
        QTest::newRow("no room beside the program")
            << head + fileLine(served, "corvane2003") << false << int(UpdateError::NoSpace) << qint64(1024 * 1024);
    }
    void badDownloadReplacesNothing()
    {
        QFETCH(QByteArray, control);
        QFETCH(bool, reachesRestart);
        QFETCH(int, error);
        QFETCH(qint64, freeSpace);
        Fixture f;
        QDir(f.programDir()).mkdir("Maps");
        f.control(control);
        for (const char* path : {"corvane2003", "Maps"})
            f.file(path, QByteArray(2000, 'N'));
        if (freeSpace >= 0) f.check->WebUpdate1()->FreeSpace = [freeSpace](const QString&) { return freeSpace; };
        Script script;
        if (reachesRestart) script.box(Kind::Information, RestartBox, Buttons::Ok);
        script.box(Kind::Information, NotFoundBox, Buttons::Ok);

        QVERIFY(!f.run(true));
        QVERIFY(script.allShown());
        QCOMPARE(f.errors.last(), error);
        QVERIFY(f.untouched());
        QVERIFY(QFileInfo(f.program()).isExecutable());
        QVERIFY(QFileInfo(f.programDir() + "Maps").isDir());
        QVERIFY(!f.dialogs->progressWindow());
        if (error == int(UpdateError::NoSpace)) QVERIFY(f.downloads().isEmpty());
    }

    // A check is bounded in time as a whole, and Cancel ends it at once; either
    // way nothing is replaced and nothing after the stopped transfer is fetched.
    void deadlinesAndCancel_data()
    {
        QTest::addColumn<bool>("slowControlFile"); // else the program's file trickles
        QTest::addColumn<bool>("cancel");          // else the deadline passes
        QTest::newRow("control file trickles past its deadline") << true << false;
        QTest::newRow("download trickles past its deadline") << false << false;
        QTest::newRow("Cancel while the control file comes") << true << true;
        QTest::newRow("Cancel during a download") << false << true;
    }
    void deadlinesAndCancel()
    {
        QFETCH(bool, slowControlFile);
        QFETCH(bool, cancel);
        Fixture f;
        const QByteArray newProgram(2000, 'N');
        const QByteArray control = "Version 1.3\n" + Fresh + fileLine(newProgram, "corvane2003");
        f.control(control);
        // Two bytes every 50 ms: far slower than the deadlines below allow.
        if (slowControlFile) f.server.answer(ControlPath, {200, control, -1, true, 2});
        f.file("corvane2003", newProgram, 2);
        TWebUpdate& engine = *f.check->WebUpdate1();
        engine.ControlFileDeadlineMs = !cancel && slowControlFile ? 400 : 60000;
        engine.DownloadDeadlineMs = !cancel && !slowControlFile ? 400 : 60000;
        engine.MinimumBytesPerSecond = 1000000;
        if (cancel && slowControlFile) QTimer::singleShot(300, [&f] { clickCancel(f); });
        if (cancel && !slowControlFile)
            QObject::connect(&engine, &TWebUpdate::OnFileProgress, [&f](QObject*, const QString&, qint64 pos, qint64) {
                if (pos > 0) clickCancel(f);
            });
        Script script; // a start-up check: silent either way

        QVERIFY(!f.run(false));
        QVERIFY(script.allShown());
        QCOMPARE(f.errors.last(), int(cancel ? UpdateError::Cancelled : UpdateError::TimedOut));
        QCOMPARE(f.codes.last(), cancel ? int(wusProgress) : int(wusNotFound));
        QVERIFY(f.untouched());
        QCOMPARE(f.downloads(), slowControlFile ? QList<QByteArray>() : QList<QByteArray>{"/update/corvane2003"});
        if (slowControlFile) QCOMPARE(f.server.requested, QList<QByteArray>{ControlPath});
        QVERIFY(!f.dialogs->progressWindow());
    }

    // A server that sends without end, reached as a mirror is, through a
    // redirection, is cut off near the limit: what the program takes in and
    // the memory it holds stay within a few MB.
    void endlessTransferIsCutOff_data()
    {
        QTest::addColumn<QByteArray>("endless"); // the path that never ends
        QTest::addColumn<int>("error");
        QTest::newRow("the control file") << ControlPath << int(UpdateError::TooLarge);
        QTest::newRow("a file listed with 17 bytes") << QByteArray("/update/corvane2003") << int(UpdateError::TooLarge);
        QTest::newRow("Cancel during a file of 60 MB")
            << QByteArray("/update/corvane2003") << int(UpdateError::Cancelled);
    }
    void endlessTransferIsCutOff()
    {
        QFETCH(QByteArray, endless);
        QFETCH(int, error);
        const bool cancel = error == int(UpdateError::Cancelled);
        Fixture f;
        EndlessServer server("HTTP/1.1 200 OK\r\nConnection: close\r\n\r\n");
        const QByteArray size = cancel ? "60000000" : "17";
        f.control("Version 1.3\n" + Fresh + "File " + size + " " + QByteArray(64, '0') + " corvane2003\n");
        f.server.answer(endless, {302, {}, -1, true, 0, server.url(endless).toUtf8()});
        QObject::connect(f.check->WebUpdate1(), &TWebUpdate::OnFileProgress,
                         [&](QObject*, const QString&, qint64 pos, qint64) {
                             if (pos > 0 && cancel) clickCancel(f);
                         });
        const long peakBefore = peakMemoryKiB();
        Script script; // a start-up check: silent

        QVERIFY(!f.run(false));
        QVERIFY(script.allShown());
        QCOMPARE(f.errors.last(), error);
        QVERIFY(f.untouched());
        const qint64 sent = server.sent(); // most of it waits unread in the sockets' buffers
        QVERIFY2(sent < 12 * 1024 * 1024, QByteArray::number(sent));
        const long grown = peakMemoryKiB() - peakBefore;
        QVERIFY2(grown < 32 * 1024, QByteArray::number(qint64(grown)));
    }

    // The restarted program still reports the old version: the same update
    // is not installed again at every start, and the user learns why.
    void updateThatDidNotTakeIsNotOfferedAgain()
    {
        Fixture f;
        const QByteArray newProgram(1000, 'N');
        f.control("Version 1.3\n" + Fresh + fileLine(newProgram, "corvane2003"));
        f.file("corvane2003", newProgram);
        {
            Script script;
            script.box(Kind::Information, RestartBox, Buttons::Ok);
            QVERIFY(f.run(false));
            QVERIFY(script.allShown());
        }
        const QString why = "Corvane 2003 was updated to version 1.3, but the program started afterwards still reports "
                            "version 1.2.\nThis update is not offered again.";
        f.restart("1.2");
        f.server.requested.clear();
        // The start-up check says it once, the menu whenever asked.
        for (const auto& [manual, told] : {std::pair{false, true}, {false, false}, {true, true}}) {
            Script script;
            if (told) script.box(Kind::Information, why, Buttons::Ok);
            QVERIFY(!f.run(manual));
            QVERIFY(script.allShown());
            QCOMPARE(f.errors.last(), 0);
        }
        QVERIFY(f.downloads().isEmpty());
        QCOMPARE(f.starter.started.size(), 2);

        // A later version is offered again.
        f.control("Version 1.4\n" + Fresh + fileLine(newProgram, "corvane2003"));
        Script script;
        script.box(Kind::Information, RestartBox, Buttons::Ok);
        QVERIFY(f.run(false));
        QVERIFY(script.allShown());
    }

    // The files were replaced, but the new program would not start: the user
    // is told so, and the originals stay until a program starts again.
    void installedButNotStarted()
    {
        Fixture f;
        f.starter.starts = false;
        const QByteArray newProgram(1000, 'N');
        f.control("Version 1.3\n" + Fresh + fileLine(newProgram, "corvane2003"));
        f.file("corvane2003", newProgram);
        {
            Script script;
            script.box(Kind::Information, RestartBox, Buttons::Ok);
            script.box(Kind::Information, NotRestartedBox, Buttons::Ok);
            QVERIFY(!f.run(true));
            QVERIFY(script.allShown());
        }
        QCOMPARE(readFile(f.program()), newProgram);
        QCOMPARE(readFile(f.programDir() + StagedFiles::DirName + "/previous/corvane2003"), OldProgram);
        {
            Script script; // this program cannot update again before a restart
            script.box(Kind::Information, NotFoundBox, Buttons::Ok);
            QVERIFY(!f.run(true));
            QVERIFY(script.allShown());
            QCOMPARE(f.errors.last(), int(UpdateError::Unfinished));
        }
        Script silent;
        f.restart("1.3");
        f.check->FinishInterruptedUpdate();
        QVERIFY(silent.allShown());
        QVERIFY(!StagedFiles::hasJournal(f.programDir()));
        QVERIFY(!QFileInfo::exists(f.programDir() + StagedFiles::DirName));
    }

    // A copy installed for the system says which version is available and
    // changes nothing: its files belong to the package manager.
    void installedCopyOnlyTells()
    {
        QTemporaryDir prefix;
        QDir(prefix.path()).mkpath("bin");
        QDir(prefix.path()).mkpath("share/corvane2003");
        writeFile(prefix.path() + "/share/corvane2003/ReadMe.txt", "installed readme");
        Fixture f(prefix.path() + "/bin/");
        f.control("Version 1.3\n" + Fresh + fileLine("new", "corvane2003") + fileLine("new readme", "ReadMe.txt"));
        const QString tells = "Corvane 2003 version 1.3 is available.\nThis copy was installed for the system and "
                              "does not update itself: please update it with the package manager.";
        const QStringList before = QDir(prefix.path() + "/bin").entryList(QDir::AllEntries | QDir::Hidden);
        for (const auto& [manual, told] : {std::pair{false, true}, {false, false}, {true, true}}) {
            Script script; // the start-up check tells once
            if (told) script.box(Kind::Information, tells, Buttons::Ok);
            QVERIFY(!f.run(manual));
            QVERIFY(script.allShown());
        }
        QVERIFY(f.downloads().isEmpty());
        QVERIFY(f.untouched());
        QCOMPARE(QDir(prefix.path() + "/bin").entryList(QDir::AllEntries | QDir::Hidden), before);

        // A journal planted there is none of this program's: a start acts on nothing it says.
        writeFile(StagedFiles::journalPath(f.programDir()),
                  "Corvane 2003 update journal\nState replacing\nFolder Maps\n");
        const QStringList planted = QDir(prefix.path() + "/bin").entryList(QDir::AllEntries | QDir::Hidden);
        Script silent;
        f.check->FinishInterruptedUpdate();
        QVERIFY(silent.allShown());
        QCOMPARE(QDir(prefix.path() + "/bin").entryList(QDir::AllEntries | QDir::Hidden), planted);
    }

    // TLS: a certificate nobody vouches for is refused, and so is a
    // redirection from HTTPS to plain HTTP, even to this computer.
    void tlsRefusals()
    {
        Fixture f;
        QVERIFY2(!LocalHttpServer::certificate().isEmpty(), "no test certificate: is openssl installed?");
        LocalHttpServer tls(true);
        const QByteArray control = "Version 1.3\n" + Fresh + fileLine("x", "corvane2003");
        f.control(control); // the plain server would have served it
        tls.answer(ControlPath, {302, "moved", -1, true, 0, f.server.url(ControlPath).toUtf8()});
        f.check->WebUpdate1()->URL = tls.url(ControlPath);
        for (const bool trusted : {false, true}) {
            const QSslConfiguration original = QSslConfiguration::defaultConfiguration();
            if (trusted) {
                QSslConfiguration config = original;
                config.addCaCertificate(QSslCertificate(LocalHttpServer::certificate()));
                QSslConfiguration::setDefaultConfiguration(config);
            }
            f.restart("1.2");
            f.check->WebUpdate1()->URL = tls.url(ControlPath);
            const bool updated = f.run(false);
            QSslConfiguration::setDefaultConfiguration(original);
            QVERIFY(!updated);
            QCOMPARE(f.errors.last(), int(trusted ? UpdateError::InsecureAddress : UpdateError::Unreachable));
            QCOMPARE(tls.requested.size(), trusted ? 1 : 0); // the untrusted server never hears a request
            QVERIFY(f.server.requested.isEmpty());
            QVERIFY(f.untouched());
        }
    }

    // Every way a signature file can fail to vouch for the control file.
    void signatureVerdicts_data()
    {
        using Verdict = MinisignVerifier::Verdict;
        QTest::addColumn<QByteArray>("message");
        QTest::addColumn<QByteArray>("minisig");
        QTest::addColumn<int>("verdict");
        const MinisignSigner& key = m_key;
        const MinisignSigner other;
        const QByteArray file = "Version 1.3\n" + Fresh;
        const QByteArray good = key.sign(file);
        const auto row = [](const char* name) { return &QTest::newRow(name); };
        *row("prehashed, as minisign signs") << file << good << int(Verdict::Valid);
        *row("the older form over the file") << file << key.sign(file, false) << int(Verdict::Valid);
        *row("lines ending in CR LF") << file << QByteArray(good).replace("\n", "\r\n") << int(Verdict::Valid);
        *row("control file changed") << file + "File 1 " + QByteArray(64, '0') + " x\n" << good << int(Verdict::Bad);
        *row("trusted comment changed") << file << withLine(good, 2, "trusted comment: timestamp:9999999999")
                                        << int(Verdict::Bad);
        *row("global signature of another file")
            << file << withLine(good, 3, key.sign("other").split('\n')[3]) << int(Verdict::Bad);
        *row("prehashed mark on a signature over the file")
            << file << withSignatureBytes(key.sign(file, false), [](QByteArray& b) { b[1] = 'D'; })
            << int(Verdict::Bad);
        *row("another key") << file << other.sign(file) << int(Verdict::OtherKey);
        *row("another key, our key id written in")
            << file << withSignatureBytes(other.sign(file), [&](QByteArray& b) { b.replace(2, 8, key.keyId()); })
            << int(Verdict::Bad);
        *row("signature bit flipped") << file
                                      << withSignatureBytes(good, [](QByteArray& b) { b[20] = char(b[20] ^ 1); })
                                      << int(Verdict::Bad);
        *row("empty") << file << QByteArray() << int(Verdict::Unreadable);
        *row("no global signature") << file << good.left(good.lastIndexOf('\n', good.size() - 2) + 1)
                                    << int(Verdict::Unreadable);
        *row("unknown algorithm") << file << withSignatureBytes(good, [](QByteArray& b) { b[0] = 'X'; })
                                  << int(Verdict::Unreadable);
        *row("signature cut short") << file << withSignatureBytes(good, [](QByteArray& b) { b.chop(1); })
                                    << int(Verdict::Unreadable);
    }
    void signatureVerdicts()
    {
        QFETCH(QByteArray, message);
        QFETCH(QByteArray, minisig);
        QFETCH(int, verdict);
        const MinisignVerifier verifier(m_key.publicKey());
        QString comment;
        QCOMPARE(int(verifier.verify(message, minisig, &comment)), verdict);
        QCOMPARE(comment.isEmpty(), verdict != int(MinisignVerifier::Verdict::Valid));
    }

    // The release manager's own tool and the program agree on what a valid
    // signature is, both ways: control files signed with `minisign -S` (in
    // either form) are taken, and minisign accepts what the test key signs,
    // so the other tests' signatures are real ones.
    void minisignToolAgrees()
    {
        const QString tool = QStandardPaths::findExecutable("minisign");
        if (tool.isEmpty()) QSKIP("minisign is not installed");
        QTemporaryDir keys;
        const QString pub = keys.filePath("release.pub"), key = keys.filePath("release.key");
        const QString upd = keys.filePath("Corvane2003.upd");
        int exit = -1;
        runTool(tool, {"-G", "-W", "-p", pub, "-s", key}, &exit);
        QCOMPARE(exit, 0);
        const QByteArray control = "Version 1.3\n" + Fresh + fileLine("new", "corvane2003");
        writeFile(upd, control);
        const MinisignVerifier verifier(QString::fromLatin1(readFile(pub)));
        for (const QStringList& form : {QStringList(), QStringList{"-l"}}) {
            runTool(tool, QStringList{"-S"} + form + QStringList{"-s", key, "-m", upd}, &exit);
            QCOMPARE(exit, 0);
            const QByteArray minisig = readFile(upd + ".minisig");
            QCOMPARE(verifier.verify(control, minisig), MinisignVerifier::Verdict::Valid);
            QCOMPARE(verifier.verify(control + "\n", minisig), MinisignVerifier::Verdict::Bad);
        }

        const MinisignSigner ours;
        for (const bool prehashed : {true, false}) {
            writeFile(upd + ".minisig", ours.sign(control, prehashed));
            const QByteArray said = runTool(tool, {"-V", "-P", ours.publicKey(), "-m", upd}, &exit);
            QVERIFY2(exit == 0, said.constData());
        }
    }

    void statusTextInAnyCase_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("opens");
        QTest::newRow("as sent") << "Found file update instruction" << true;
        QTest::newRow("capitals") << "FOUND FILE UPDATE INSTRUCTION" << true;
        QTest::newRow("mixed") << "fOUND fILE uPDATE iNSTRUCTION" << true;
        QTest::newRow("other text") << "Found file update instructions" << false;
    }
    void statusTextInAnyCase()
    {
        QFETCH(QString, text);
        QFETCH(bool, opens);
        Fixture f;
        f.check->WebUpdate1Status(nullptr, text, wusProgress, 0);
        TfrmProgress* progress = f.dialogs->progressWindow();
        QCOMPARE(progress != nullptr, opens);
        if (!opens) return;
        QVERIFY(progress->isVisible());
        QCOMPARE(progress->caption(), QStringLiteral("Initializing...."));
    }

    void newerVersion_data()
    {
        QTest::addColumn<QString>("candidate");
        QTest::addColumn<bool>("newer");
        QTest::newRow("1.10, not 1.1 and a 0") << "1.10" << true;
        QTest::newRow("1.2.1") << "1.2.1" << true;
        QTest::newRow("1.2.0 is 1.2") << "1.2.0" << false;
        QTest::newRow("1.1.9") << "1.1.9" << false;
        QTest::newRow("0.99") << "0.99" << false;
    }
    void newerVersion()
    {
        QFETCH(QString, candidate);
        QFETCH(bool, newer);
        QCOMPARE(isNewerVersion(candidate, "1.2"), newer);
    }
};

QTEST_MAIN(TestUpdate)
#include "test_update.moc"
