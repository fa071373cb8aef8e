// The update check against a small HTTP server on this computer: what the
// user is told, what is downloaded, and that nothing is replaced unless every
// file arrived intact.

#include "dialogs/fProgress.h"
#include "platform/ShellStart.h"
#include "tests/support/TestSupport.h"
#include "update/StagedFiles.h"
#include "update/UpdateCheck.h"
#include "update/WebUpdate.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>

using namespace TestSupport;
using MessageBox::Buttons;
using MessageBox::Kind;

namespace {

const QString NotFoundBox = QStringLiteral("Update file not found\nCannot continue update");
const QString RestartBox = QStringLiteral("Press OK to finalize the update, and to restart the newest Corvane 2003!");

// Answers GET requests by path; an answer can hold back its end until release().
class LocalServer : public QObject {
public:
    struct Answer {
        int status = 200;
        QByteArray body;
        qint64 holdAfter = -1; // send this many bytes of the body, the rest on release()
        bool withLength = true;
    };

    LocalServer()
    {
        m_server.listen(QHostAddress::LocalHost);
        connect(&m_server, &QTcpServer::newConnection, this, [this] {
            while (QTcpSocket* socket = m_server.nextPendingConnection())
                connect(socket, &QTcpSocket::readyRead, this, [this, socket] { serve(socket); });
        });
    }
    QString url(const QString& path) const
    {
        return QStringLiteral("http://127.0.0.1:%1%2").arg(m_server.serverPort()).arg(path);
    }
    void answer(const QByteArray& path, const Answer& answer) { m_answers[path] = answer; }
    void release()
    {
        if (!m_held) return;
        m_held->write(m_rest);
        m_held->disconnectFromHost();
        m_held = nullptr;
    }
    QList<QByteArray> requested;

private:
    void serve(QTcpSocket* socket)
    {
        QByteArray& request = m_requests[socket];
        request += socket->readAll();
        if (!request.contains("\r\n\r\n")) return;
        const QByteArray path = request.split(' ').value(1);
        requested << path;
        const Answer a = m_answers.value(path, Answer{404, "no such file"});
        QByteArray head = "HTTP/1.1 " + QByteArray::number(a.status) + " X\r\nConnection: close\r\n";
        if (a.withLength) head += "Content-Length: " + QByteArray::number(a.body.size()) + "\r\n";
        socket->write(head + "\r\n");
        if (a.holdAfter >= 0) {
            socket->write(a.body.left(a.holdAfter));
            m_held = socket;
            m_rest = a.body.mid(a.holdAfter);
            return;
        }
        socket->write(a.body);
        socket->disconnectFromHost();
    }

    QTcpServer m_server;
    QHash<QByteArray, Answer> m_answers;
    QHash<QTcpSocket*, QByteArray> m_requests;
    QTcpSocket* m_held = nullptr;
    QByteArray m_rest;
};

class RecordingStarter : public ShellStarter {
public:
    QStringList started; // program, then working directory
    bool Start(const std::string& program, const std::string&, const std::string& workDir) override
    {
        started << QString::fromStdString(program) << QString::fromStdString(workDir);
        return true;
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

const QByteArray OldProgram = "the running program";

// A program directory with the running program in it, and the update check
// pointed at the local server through the environment.
struct Fixture {
    QTemporaryDir dir, elsewhere;
    LocalServer server;
    RecordingStarter starter;
    bool manualUpdateCheck = false;
    std::unique_ptr<UpdateCheck> check;
    QList<int> codes, errors;

    Fixture()
    {
        writeFile(program(), OldProgram);
        QFile::setPermissions(program(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner | QFile::ReadOther |
                                             QFile::ExeOther);
        QFile::link(elsewhere.path(), programDir() + "Skins"); // a directory link that leads out
        qputenv(TWebUpdate::UrlVariable, server.url("/update/Corvane2003.upd").toUtf8());
        check = std::make_unique<UpdateCheck>("1.2", programDir().toStdString(), manualUpdateCheck, starter, nullptr,
                                              "corvane2003");
        QObject::connect(check->WebUpdate1(), &TWebUpdate::OnStatus, [this](QObject*, const QString&, int code, int e) {
            codes << code;
            errors << e;
        });
    }
    ~Fixture() { qunsetenv(TWebUpdate::UrlVariable); }
    QString programDir() const { return dir.path() + "/"; }
    QString program() const { return programDir() + "corvane2003"; }
    void control(const QByteArray& body, int status = 200) { server.answer("/update/Corvane2003.upd", {status, body}); }
    bool run(bool manual) { return manual ? check->Checkforupdates1Click() : check->check(false); }
    bool untouched() const
    {
        return readFile(program()) == OldProgram && !QFileInfo::exists(programDir() + StagedFiles::DirName) &&
               starter.started.isEmpty();
    }
};

} // namespace

class TestUpdate : public QObject {
    Q_OBJECT

private slots:
    // Outcomes decided by the control file alone: nothing is downloaded.
    void checkOutcome_data()
    {
        QTest::addColumn<QByteArray>("control");
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("url"); // empty: the local server; "closed": a port nobody listens on
        QTest::addColumn<bool>("manual");
        QTest::addColumn<QString>("box");
        QTest::addColumn<int>("code");
        QTest::addColumn<int>("error");
        const QByteArray outside = "Version 1.3\n" + fileLine("x", "../corvane2003");
        const int notFound = wusNotFound;
        const auto row = [](const char* name) { return &QTest::newRow(name); };
        *row("not found, menu") << QByteArray() << 404 << "" << true << NotFoundBox << notFound
                                << int(UpdateError::Unreachable);
        *row("not found, start-up") << QByteArray() << 404 << "" << false << "" << notFound
                                    << int(UpdateError::Unreachable);
        *row("nobody listening, menu") << QByteArray() << 200 << "closed" << true << NotFoundBox << notFound
                                       << int(UpdateError::Unreachable);
        *row("plain HTTP elsewhere") << QByteArray("Version 9\n") << 200 << "http://192.0.2.1/Corvane2003.upd" << true
                                     << NotFoundBox << notFound << int(UpdateError::InsecureAddress);
        *row("same version, menu") << QByteArray("Version 1.2\n") << 200 << "" << true << "No new version available"
                                   << int(wusNoNewVersion) << 0;
        *row("same version, start-up") << QByteArray("Version 1.2.0\r\n") << 200 << "" << false << ""
                                       << int(wusNoNewVersion) << 0;
        *row("older version, menu") << QByteArray("# old\nversion 1.1.9\n") << 200 << "" << true
                                    << "No new version available" << int(wusNoNewVersion) << 0;
        *row("oversized") << QByteArray(70000, '#') << 200 << "" << true << NotFoundBox << notFound
                          << int(UpdateError::TooLarge);
        *row("malformed") << QByteArray("<html><body>Welcome</body></html>\n") << 200 << "" << true << NotFoundBox
                          << notFound << int(UpdateError::Malformed);
        *row("path up and out") << outside << 200 << "" << true << NotFoundBox << notFound
                                << int(UpdateError::UnsafePath);
        *row("absolute path") << "Version 1.3\n" + fileLine("x", "/tmp/corvane2003") << 200 << "" << true << NotFoundBox
                              << notFound << int(UpdateError::UnsafePath);
        *row("through a link out") << "Version 1.3\n" + fileLine("x", "Skins/corvane2003") << 200 << "" << true
                                   << NotFoundBox << notFound << int(UpdateError::UnsafePath);
        *row("Windows path up") << "Version 1.3\n" + fileLine("x", "..\\corvane2003") << 200 << "" << true
                                << NotFoundBox << notFound << int(UpdateError::UnsafePath);
    }
    void checkOutcome()
    {
        QFETCH(QByteArray, control);
        QFETCH(int, status);
        QFETCH(QString, url);
        QFETCH(bool, manual);
        QFETCH(QString, box);
        QFETCH(int, code);
        QFETCH(int, error);
        Fixture f;
        f.control(control, status);
        if (url == "closed") {
            QTcpServer gone;
            gone.listen(QHostAddress::LocalHost);
            url = QStringLiteral("http://127.0.0.1:%1/Corvane2003.upd").arg(gone.serverPort());
        }
        if (!url.isEmpty()) f.check->WebUpdate1()->URL = url;
        Script script;
        if (!box.isEmpty()) script.box(Kind::Information, box, Buttons::Ok);

        QVERIFY(!f.run(manual));
        QVERIFY(script.allShown());
        QCOMPARE(f.codes.last(), code);
        QCOMPARE(f.errors.last(), error);
        QVERIFY(f.server.requested.size() <= 1); // the control file at most
        QVERIFY(f.untouched());
        // A manual check that could not reach its file is over; one that found no update is not cleared.
        QCOMPARE(f.manualUpdateCheck, manual && code == wusNoNewVersion);
    }

    void newerVersionIsInstalled()
    {
        Fixture f;
        const QByteArray newProgram(2000, 'N');
        f.control("Version 1.3\n" + fileLine(newProgram, "corvane2003"));
        f.server.answer("/update/corvane2003", {200, newProgram, 500});
        QString captionAtQuarter;
        int positionAtQuarter = -1, maximumAtQuarter = -1;
        QObject::connect(f.check->WebUpdate1(), &TWebUpdate::OnFileProgress,
                         [&](QObject*, const QString&, qint64 pos, qint64) {
                             if (pos != 500) return;
                             TfrmProgress* progress = f.check->progressWindow();
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
        QVERIFY(!QFileInfo::exists(f.programDir() + StagedFiles::DirName));
        QCOMPARE(f.starter.started, QStringList({f.program(), f.programDir()}));
        QVERIFY(!f.check->progressWindow());
    }

    // Every file must arrive whole and be put in place, or nothing changes.
    void badDownloadReplacesNothing_data()
    {
        QTest::addColumn<QByteArray>("control");
        QTest::addColumn<bool>("reachesRestart");
        QTest::addColumn<int>("error");
        const QByteArray served(2000, 'N');
        QTest::newRow("wrong checksum") << "Version 1.3\n" + fileLine(served, "corvane2003", sha256("other")) << false
                                        << int(UpdateError::Checksum);
        QTest::newRow("longer than listed")
            << "Version 1.3\n" + fileLine(served.left(1999), "corvane2003") << false << int(UpdateError::TooLarge);
        QTest::newRow("file missing") << "Version 1.3\n" + fileLine(served, "corvane2003") + fileLine("x", "gone.txt")
                                      << false << int(UpdateError::Unreachable);
        // The second file lands on a directory: the first one is put back.
        QTest::newRow("cannot replace") << "Version 1.3\n" + fileLine(served, "corvane2003") + fileLine(served, "Maps")
                                        << true << int(UpdateError::Replace);
    }
    void badDownloadReplacesNothing()
    {
        QFETCH(QByteArray, control);
        QFETCH(bool, reachesRestart);
        QFETCH(int, error);
        Fixture f;
        QDir(f.programDir()).mkdir("Maps");
        f.control(control);
        for (const char* path : {"/update/corvane2003", "/update/Maps"})
            f.server.answer(path, {200, QByteArray(2000, 'N')});
        Script script;
        if (reachesRestart) script.box(Kind::Information, RestartBox, Buttons::Ok);
        script.box(Kind::Information, NotFoundBox, Buttons::Ok);

        QVERIFY(!f.run(true));
        QVERIFY(script.allShown());
        QCOMPARE(f.errors.last(), error);
        QVERIFY(f.untouched());
        QVERIFY(QFileInfo(f.program()).isExecutable());
        QVERIFY(QFileInfo(f.programDir() + "Maps").isDir());
        QVERIFY(!f.check->progressWindow());
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
        TfrmProgress* progress = f.check->progressWindow();
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
        QCOMPARE(IsNewerVersion(candidate, "1.2"), newer);
    }
};

QTEST_MAIN(TestUpdate)
#include "test_update.moc"
