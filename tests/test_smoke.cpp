// Starts the real program on a copy of the demo game and waits until its
// start-up has completed; its command-line options.

#include "profile/IniFiles.h"
#include "tests/support/TestSupport.h"

#include <QFile>
#include <QProcess>
#include <QTest>

using namespace TestSupport;

class TestSmoke : public QObject {
    Q_OBJECT

private slots:
    void startsOnTheDemoGame()
    {
        TempGame game;
        QByteArray config = configuredProgram(game.systemDir());
        config.replace("CurrentUserIni=User.ini\r\n", "");
        TempProgramDir program(config);
        const QString exe = program.dir() + "corvane2003";
        QVERIFY(QFile::copy(CORVANE_EXECUTABLE, exe));
        QFile::setPermissions(exe, QFile::permissions(exe) | QFileDevice::ExeOwner);

        // Qt's own options still reach it: the platform chosen here wins over
        // the one of the environment, which needs a display.
        QProcess process;
        process.setProcessEnvironment(withoutDisplay());
        process.setProcessChannelMode(QProcess::ForwardedChannels);
        process.start(exe, {"-platform", "offscreen", "-style", "fusion"});
        QVERIFY(process.waitForStarted(10000));

        // The program writes back the user file it opened once it has found
        // the game's profiles.
        const auto opened = [&] {
            return TIniFile(program.configPath().toStdString()).ReadString("UT2k3", "CurrentUserIni", "") == "User.ini";
        };
        QTRY_VERIFY_WITH_TIMEOUT(opened(), 20000);
        QCOMPARE(process.state(), QProcess::Running);
        process.terminate();
        if (!process.waitForFinished(5000)) {
            process.kill();
            process.waitForFinished(5000);
        }
    }

    // Help, version and mistakes answer without a window: no display is
    // there, and the platform the environment names would need one.
    void commandLineOptions_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QStringList>("out"); // the first starts the standard output, the others are in it
        QTest::addColumn<QStringList>("err"); // in the standard error
        const QString usage = "Usage: " + QStringLiteral(CORVANE_EXECUTABLE) + " [options]\n";
        const QString version = QStringLiteral("Corvane 2003 1.2\nQt %1\n").arg(qVersion());
        QTest::newRow("--help") << QStringList{"--help"} << 0 << QStringList{usage, "-v, --version"} << QStringList();
        QTest::newRow("-h") << QStringList{"-h"} << 0 << QStringList{usage, "-h, --help"} << QStringList();
        QTest::newRow("--version") << QStringList{"--version"} << 0 << QStringList{version} << QStringList();
        QTest::newRow("-v after Qt's options")
            << QStringList{"-style", "fusion", "-platform", "xcb", "-v"} << 0 << QStringList{version} << QStringList();
        QTest::newRow("unknown option") << QStringList{"--verison"} << 2 << QStringList()
                                        << QStringList{": Unknown option 'verison'.\n\n" + usage};
        QTest::newRow("a value missing") << QStringList{"--version", "-style"} << 2 << QStringList()
                                         << QStringList{": Missing value after '-style'.\n\n" + usage};
    }
    void commandLineOptions()
    {
        QFETCH(QStringList, arguments);
        QFETCH(int, exitCode);
        QFETCH(QStringList, out);
        QFETCH(QStringList, err);
        QProcess process;
        process.setProcessEnvironment(withoutDisplay());
        process.start(CORVANE_EXECUTABLE, arguments);
        QVERIFY(process.waitForFinished(20000));
        QCOMPARE(process.exitStatus(), QProcess::NormalExit);
        QCOMPARE(process.exitCode(), exitCode);
        const QString stdOut = QString::fromLocal8Bit(process.readAllStandardOutput());
        const QString stdErr = QString::fromLocal8Bit(process.readAllStandardError());
        QVERIFY2(out.isEmpty() ? stdOut.isEmpty() : stdOut.startsWith(out.first()), qPrintable(stdOut));
        for (const QString& text : out)
            QVERIFY2(stdOut.contains(text), qPrintable(stdOut));
        QVERIFY2(err.isEmpty() == stdErr.isEmpty(), qPrintable(stdErr));
        for (const QString& text : err)
            QVERIFY2(stdErr.contains(text), qPrintable(stdErr));
    }

private:
    // The environment of the tests without a display, its platform one that
    // needs a display: a window would fail to open.
    static QProcessEnvironment withoutDisplay()
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.remove("DISPLAY");
        env.remove("WAYLAND_DISPLAY");
        env.insert("QT_QPA_PLATFORM", "xcb");
        return env;
    }
};

QTEST_GUILESS_MAIN(TestSmoke)
#include "test_smoke.moc"
