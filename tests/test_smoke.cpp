// Starts the real program on a copy of the demo game and waits until its
// start-up has completed.

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

        QProcess process;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("QT_QPA_PLATFORM", "offscreen");
        process.setProcessEnvironment(env);
        process.setProcessChannelMode(QProcess::ForwardedChannels);
        process.start(exe, {});
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
};

QTEST_GUILESS_MAIN(TestSmoke)
#include "test_smoke.moc"
