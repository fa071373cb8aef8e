// Installs the program from the build directory into a temporary prefix, as
// a system's package would lay it out, and starts the installed copy.

#include "profile/IniFiles.h"
#include "tests/support/TestSupport.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QMap>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

using namespace TestSupport;

namespace {

struct Run {
    int exitCode = -1;
    QString output;
};

Run run(const QString& program, const QStringList& arguments)
{
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(program, arguments);
    Run result;
    if (!process.waitForFinished(300000)) {
        process.kill();
        process.waitForFinished();
        return result;
    }
    result.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    result.output = QString::fromLocal8Bit(process.readAll());
    return result;
}

// The value of `key` in the [Desktop Entry] group.
QString desktopValue(const QByteArray& entry, const QString& key)
{
    for (const QString& line : QString::fromUtf8(entry).split('\n'))
        if (line.startsWith(key + '=')) return line.mid(key.size() + 1).trimmed();
    return {};
}

} // namespace

class TestInstall : public QObject {
    Q_OBJECT

    QTemporaryDir m_root;
    QString prefix() const { return m_root.path() + "/prefix/"; }

private slots:
    void initTestCase()
    {
        const Run install = run(CORVANE_CMAKE, {"--install", CORVANE_BUILD_DIR, "--prefix", prefix()});
        QVERIFY2(install.exitCode == 0, qPrintable(install.output));
    }

    void laysOutTheProgram()
    {
        const QFileInfo exe(prefix() + "bin/corvane2003");
        QVERIFY(exe.isFile() && exe.isExecutable());
        // Everything the program reads of its own lies in one data directory.
        const QDir source(QStringLiteral(CORVANE_SOURCE_DIR "/data/program"));
        const QStringList data = source.entryList(QDir::Files);
        QVERIFY(data.contains("ReadMe.txt") && data.size() > 1);
        for (const QString& name : data)
            QCOMPARE(readFile(prefix() + "share/corvane2003/" + name), readFile(source.filePath(name)));
        QVERIFY(!QFileInfo::exists(prefix() + "bin/ReadMe.txt"));
    }

    void desktopEntryStartsTheInstalledProgram()
    {
        const QByteArray entry = readFile(prefix() + "share/applications/org.example.corvane2003.desktop");
        QVERIFY(entry.startsWith("[Desktop Entry]\n"));
        QCOMPARE(desktopValue(entry, "Type"), QStringLiteral("Application"));
        QVERIFY(QFileInfo(prefix() + "bin/" + desktopValue(entry, "Exec")).isExecutable());
        QVERIFY(!desktopValue(entry, "Name").isEmpty());
        QVERIFY(desktopValue(entry, "Categories").endsWith(';'));

        // The icon the entry names, in the theme's scalable and sized folders.
        const QString icon = desktopValue(entry, "Icon");
        const QString icons = prefix() + "share/icons/hicolor/";
        QVERIFY(readFile(icons + "scalable/apps/" + icon + ".svg").contains("<svg"));
        for (const int size : {48, 256}) {
            const QImage image(icons + QStringLiteral("%1x%1/apps/").arg(size) + icon + ".png");
            QCOMPARE(image.size(), QSize(size, size));
            QVERIFY(image.hasAlphaChannel());
        }
    }

    void installedCopyKeepsItsConfigurationPerUser()
    {
        // Started offscreen as a user whose configuration already names the
        // game; the program writes back the user file it opened.
        TempGame game;
        QByteArray config = configuredProgram(game.systemDir());
        config.replace("CurrentUserIni=User.ini\r\n", "");
        const QString configDir = m_root.path() + "/config/corvane2003/";
        QVERIFY(QDir().mkpath(configDir));
        writeFile(configDir + "Corvane2003.ini", config);

        QProcess process;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("QT_QPA_PLATFORM", "offscreen");
        env.insert("XDG_CONFIG_HOME", m_root.path() + "/config");
        env.insert("HOME", m_root.path() + "/home");
        process.setProcessEnvironment(env);
        process.setProcessChannelMode(QProcess::ForwardedChannels);
        process.start(prefix() + "bin/corvane2003", {});
        QVERIFY(process.waitForStarted(10000));
        const auto opened = [&] {
            return TIniFile((configDir + "Corvane2003.ini").toStdString()).ReadString("UT2k3", "CurrentUserIni", "") ==
                   "User.ini";
        };
        QTRY_VERIFY_WITH_TIMEOUT(opened(), 20000);
        QCOMPARE(process.state(), QProcess::Running);
        process.terminate();
        if (!process.waitForFinished(5000)) {
            process.kill();
            process.waitForFinished(5000);
        }
        QVERIFY(!QFileInfo::exists(prefix() + "bin/Corvane2003.ini"));
    }

    void debianPackageDeclaresWhatTheProgramLinks()
    {
#ifdef CORVANE_SANITIZED
        QSKIP("a sanitizer build links libraries a release package does not ship with");
#endif
        const QString dpkgDeb = QStandardPaths::findExecutable("dpkg-deb");
        const QString dpkg = QStandardPaths::findExecutable("dpkg");
        const QString ldd = QStandardPaths::findExecutable("ldd");
        const QString readelf = QStandardPaths::findExecutable("readelf");
        if (dpkgDeb.isEmpty() || dpkg.isEmpty() || ldd.isEmpty() || readelf.isEmpty())
            QSKIP("no dpkg-deb, dpkg, ldd or readelf here");
        const QString out = m_root.path() + "/deb";
        const Run pack =
            run(CORVANE_CPACK, {"-G", "DEB", "-B", out, "--config", CORVANE_BUILD_DIR "/CPackConfig.cmake"});
        QVERIFY2(pack.exitCode == 0, qPrintable(pack.output));
        const QStringList debs = QDir(out).entryList({"corvane2003_*.deb"}, QDir::Files);
        QCOMPARE(debs.size(), 1);
        const QString deb = out + '/' + debs.front();

        const QString files = run(dpkgDeb, {"--contents", deb}).output;
        for (const char* path :
             {"./usr/bin/corvane2003", "./usr/share/corvane2003/ReadMe.txt",
              "./usr/share/applications/org.example.corvane2003.desktop",
              "./usr/share/metainfo/org.example.corvane2003.metainfo.xml", "./usr/share/man/man6/corvane2003.6.gz",
              "./usr/share/doc/corvane2003/copyright", "./usr/share/doc/corvane2003/changelog.gz"})
            QVERIFY2(files.contains(QLatin1String(path)), path);

        // Every shared library the executable itself needs comes from a
        // package the .deb depends on. The loader may find a library through
        // /lib, which the package database may know as /usr/lib.
        const QString depends = run(dpkgDeb, {"--field", deb, "Depends"}).output;
        QStringList declared;
        for (const QString& item : depends.split(','))
            declared << item.trimmed().section(' ', 0, 0);
        const QRegularExpression loaded(QStringLiteral(R"(^\s*(\S+) => (/\S+))"), QRegularExpression::MultilineOption);
        const QRegularExpression needed(QStringLiteral(R"(\(NEEDED\)\s+Shared library: \[([^\]]+)\])"));
        QStringList direct;
        for (const auto& match : needed.globalMatch(run(readelf, {"--dynamic", CORVANE_EXECUTABLE}).output))
            direct << match.captured(1);
        QMap<QString, QString> libraries; // path -> library
        for (const auto& match : loaded.globalMatch(run(ldd, {CORVANE_EXECUTABLE}).output)) {
            if (!direct.contains(match.captured(1))) continue;
            libraries[match.captured(2)] = match.captured(1);
            if (match.captured(2).startsWith("/lib")) libraries["/usr" + match.captured(2)] = match.captured(1);
        }
        QVERIFY(!libraries.isEmpty());
        QMap<QString, QString> owners; // library -> package
        for (const QString& line : run(dpkg, QStringList{"--search"} + libraries.keys()).output.split('\n')) {
            const QString path = line.section(": ", 1).trimmed();
            if (libraries.contains(path)) owners[libraries[path]] = line.section(':', 0, 0);
        }
        for (auto it = owners.cbegin(); it != owners.cend(); ++it)
            QVERIFY2(declared.contains(it.value()), qPrintable(it.key() + " comes from " + it.value()));
        QVERIFY(owners.contains("libQt6Widgets.so.6"));
    }
};

QTEST_GUILESS_MAIN(TestInstall)
#include "test_install.moc"
