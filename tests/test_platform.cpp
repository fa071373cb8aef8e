// The platform layer: paths, whole-file services, the installer registry of a
// Wine prefix, starting programs, date text and the program's directories.

#include "platform/CodePage.h"
#include "platform/DateText.h"
#include "platform/Digits.h"
#include "platform/Files.h"
#include "platform/GameLayout.h"
#include "platform/InstallerRegistry.h"
#include "platform/Paths.h"
#include "platform/ProgramDir.h"
#include "platform/ShellStart.h"
#include "profile/ECorvaneError.h"
#include "tests/support/UnprivilegedChild.h"

#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>

#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

using Strings = std::vector<std::string>;
using TestSupport::runUnprivileged;
using TestSupport::UnprivilegedRun;
Q_DECLARE_METATYPE(Strings)

namespace QTest {
template <> char* toString(const Strings& strings)
{
    QStringList quoted;
    for (const std::string& s : strings)
        quoted << '"' + QString::fromStdString(s) + '"';
    return qstrdup(qPrintable('{' + quoted.join(", ") + '}'));
}
} // namespace QTest

namespace {

std::string str(const QString& text) { return text.toStdString(); }

void writeBytes(const QString& path, const QByteArray& bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    QVERIFY2(file.open(QIODevice::WriteOnly | QIODevice::Truncate), qPrintable(path));
    QCOMPARE(file.write(bytes), bytes.size());
}

QByteArray readBytes(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

mode_t modeOf(const QString& path)
{
    struct stat st {};
    return ::stat(QFile::encodeName(path).constData(), &st) == 0 ? (st.st_mode & 07777) : 0;
}

// Names in a directory besides "." and "..", in directory order.
QStringList entries(const QString& dir)
{
    QStringList names;
    if (DIR* handle = ::opendir(QFile::encodeName(dir).constData())) {
        while (const dirent* entry = ::readdir(handle)) {
            const QString name = QFile::decodeName(entry->d_name);
            if (name != "." && name != "..") names << name;
        }
        ::closedir(handle);
    }
    return names;
}

// A program that records its arguments (one per line, NUL-separated on a
// second file for exactness) and its working directory, then renames its
// record into place, so a test sees it whole or not at all.
const char* const recorderScript = "#!/bin/sh\n"
                                   "out=\"$RECORD_TO\"\n"
                                   "pwd > \"$out.tmp\"\n"
                                   "for a in \"$@\"; do printf '%s\\0' \"$a\"; done > \"$out.args.tmp\"\n"
                                   "printf '%s' \"${WINEPREFIX-unset}\" > \"$out.prefix\"\n"
                                   "mv \"$out.args.tmp\" \"$out.args\"\n"
                                   "mv \"$out.tmp\" \"$out\"\n";

Strings splitNul(const QByteArray& bytes)
{
    Strings parts;
    qsizetype start = 0;
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        if (bytes[i] == '\0') {
            parts.emplace_back(bytes.constData() + start, static_cast<std::size_t>(i - start));
            start = i + 1;
        }
    }
    return parts;
}

} // namespace

class TestPlatform : public QObject {
    Q_OBJECT

private slots:
    // Paths
    void addBackslash_data();
    void addBackslash();
    void resolveNoCase_data();
    void resolveNoCase();
    void wildcardMatch_data();
    void wildcardMatch();
    void findFilesKeepsDirectoryOrderAndSkipsDirectories();

    // Files
    void copyReplacesContentKeepingSourceModeAndTime();
    void copyToNewFileIsPlainWritable();
    void copyRespectsReadOnlyTargetUntilAttributesReset();
    void copyUpdatesSymlinkTarget();
    void copyFailures_data();
    void copyFailures();
    void copyOnFullDiskKeepsTarget();
    void deleteFile();
    void lastModifiedAndExists();

    // Installer registry
    void registryFolder_data();
    void registryFolder();
    void registryMissingPieces();
    void registryDefaultPrefix();
    void windowsPathsThroughDriveLinks_data();
    void windowsPathsThroughDriveLinks();

    // Shell start
    void splitParameters_data();
    void splitParameters();
    void launchRouting_data();
    void launchRouting();
    void startRecordsArgumentsAndWorkDirWithoutShell();
    void startWindowsProgramThroughWine();
    void windowsProgramRunsInItsOwnPrefix_data();
    void windowsProgramRunsInItsOwnPrefix();
    void gameLayout_data();
    void gameLayout();
    void startDemoGameStub();
    void startRefusals();
    void openUrlGoesThroughDesktopServices();

    // Code page
    void codePageKeepsEveryByte();
    void codePageRefusesCharactersWithoutByte();
    void asciiDigits_data();
    void asciiDigits();

    // Date text
    void dateText_data();
    void dateText();

    // Program directories
    void chooseProgramDirs_data();
    void chooseProgramDirs();
    void locateWritableProgramDir();
    void locateReadOnlyProgramDir();

public slots:
    void handleUrl(const QUrl& url) { m_openedUrls << url; }

private:
    QList<QUrl> m_openedUrls;
};

// ---------------------------------------------------------------- paths

void TestPlatform::addBackslash_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("expected");
    QTest::newRow("empty stays empty") << ""
                                       << "";
    QTest::newRow("appended") << "/games/UT2003"
                              << "/games/UT2003/";
    QTest::newRow("not doubled") << "/games/UT2003/"
                                 << "/games/UT2003/";
    QTest::newRow("root") << "/"
                          << "/";
}

void TestPlatform::addBackslash()
{
    QFETCH(QString, path);
    QFETCH(QString, expected);
    QCOMPARE(QString::fromStdString(platform::AddBackslash(str(path))), expected);
}

void TestPlatform::resolveNoCase_data()
{
    QTest::addColumn<QStringList>("present"); // files, "dir/" for directories
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("expected");
    QTest::newRow("other case") << QStringList{"UT2003.ini"} << "UT2003.INI"
                                << "UT2003.ini";
    QTest::newRow("exact") << QStringList{"User.ini"} << "User.ini"
                           << "User.ini";
    QTest::newRow("exact wins over other case") << QStringList{"USER.INI", "User.ini"} << "User.ini"
                                                << "User.ini";
    QTest::newRow("missing: as given") << QStringList{"Default.ini"} << "DefUser.ini"
                                       << "DefUser.ini";
    QTest::newRow("directory entry") << QStringList{"Maps/"} << "maps"
                                     << "Maps";
    QTest::newRow("several components") << QStringList{"System/UT2003.ini"} << "system/ut2003.INI"
                                        << "System/UT2003.ini";
    QTest::newRow("missing component keeps the rest") << QStringList{"System/"} << "system/help/x.txt"
                                                      << "System/help/x.txt";
    QTest::newRow("only ASCII letters fold") << QStringList{"\xc3\xa9t\xc3\xa9.ini"} << "\xc3\x89T\xc3\x89.INI"
                                             << "\xc3\x89T\xc3\x89.INI";
}

void TestPlatform::resolveNoCase()
{
    QFETCH(QStringList, present);
    QFETCH(QString, name);
    QFETCH(QString, expected);
    QTemporaryDir dir;
    for (const QString& entry : present) {
        if (entry.endsWith('/'))
            QDir(dir.path()).mkpath(entry);
        else
            writeBytes(dir.filePath(entry), "x");
    }
    QCOMPARE(QString::fromStdString(platform::resolveNoCase(str(dir.path()), str(name))), dir.path() + "/" + expected);
    // The directory may be given with its separator too.
    QCOMPARE(QString::fromStdString(platform::resolveNoCase(str(dir.path() + "/"), str(name))),
             dir.path() + "/" + expected);
}

void TestPlatform::wildcardMatch_data()
{
    QTest::addColumn<QString>("pattern");
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("matches");
    QTest::newRow("backup, other case") << "USER_*.INI"
                                        << "User_12-8-2026.ini" << true;
    QTest::newRow("backup, empty date") << "USER_*.INI"
                                        << "User_.INI" << true;
    QTest::newRow("not the profile") << "USER_*.INI"
                                     << "User.ini" << false;
    QTest::newRow("not the game backup") << "USER_*.INI"
                                         << "UT2003_12-8-2026.INI" << false;
    QTest::newRow("map") << "*.ut2"
                         << "DM-Antalus.UT2" << true;
    QTest::newRow("extension must end") << "*.ut2"
                                        << "DM-Antalus.ut2.bak" << false;
    QTest::newRow("longer extension") << "*.jpg"
                                      << "Alpha.jpeg" << false;
    QTest::newRow("question mark is one char") << "DM-?.ut2"
                                               << "DM-A.ut2" << true;
    QTest::newRow("question mark needs a char") << "DM-?.ut2"
                                                << "DM-.ut2" << false;
    QTest::newRow("star matches empty") << "*"
                                        << "" << true;
    QTest::newRow("backtracking") << "*a*b*"
                                  << "xxaxxaxxb" << true;
    QTest::newRow("no exponential blow-up") << "*a*a*a*a*a*a*a*a*b" << QString(QString(2000, 'a')) << false;
}

void TestPlatform::wildcardMatch()
{
    QFETCH(QString, pattern);
    QFETCH(QString, name);
    QFETCH(bool, matches);
    QCOMPARE(platform::wildcardMatch(str(pattern), str(name)), matches);
}

void TestPlatform::findFilesKeepsDirectoryOrderAndSkipsDirectories()
{
    QTemporaryDir dir;
    const QStringList names{"User_1-2-2026.INI", "user_5-6-2026.ini", "User.ini", "UT2003_1-2-2026.INI",
                            "USER_9-9-2026.Ini"};
    for (const QString& name : names)
        writeBytes(dir.filePath(name), "x");
    QDir(dir.path()).mkdir("User_dir.INI");

    QStringList expected;
    for (const QString& name : entries(dir.path())) {
        if (name.startsWith("user_", Qt::CaseInsensitive) && name != "User_dir.INI") expected << name;
    }
    QCOMPARE(expected.size(), 3);

    QStringList found;
    for (const std::string& name : platform::findFiles(str(dir.path()), "USER_*.INI"))
        found << QString::fromStdString(name);
    QCOMPARE(found, expected);
    QVERIFY(platform::findFiles(str(dir.path() + "/missing"), "*").empty());
}

// ---------------------------------------------------------------- files

void TestPlatform::copyReplacesContentKeepingSourceModeAndTime()
{
    QTemporaryDir dir;
    const QString from = dir.filePath("DefUser.ini");
    const QString to = dir.filePath("User.ini");
    writeBytes(from, "[DefaultPlayer]\r\nName=Player\r\n");
    writeBytes(to, "[DefaultPlayer]\r\nName=Someone else with a longer name\r\n");
    // A copy is no more readable than its source (a UT2003.ini holding a
    // server's admin password), whatever the file it replaces allowed.
    QVERIFY(::chmod(QFile::encodeName(from).constData(), 0600) == 0);
    QVERIFY(::chmod(QFile::encodeName(to).constData(), 0644) == 0);
    const timespec times[2] = {{1000000000, 0}, {1000000000, 0}};
    QVERIFY(::utimensat(AT_FDCWD, QFile::encodeName(from).constData(), times, 0) == 0);

    QVERIFY(platform::copyFile(str(from), str(to)));
    QCOMPARE(readBytes(to), readBytes(from));
    QCOMPARE(modeOf(to), mode_t(0600));
    QCOMPARE(platform::lastModified(str(to))->toSecsSinceEpoch(), qint64(1000000000));
    QCOMPARE(entries(dir.path()).size(), 2); // no temporary file left
}

void TestPlatform::copyToNewFileIsPlainWritable()
{
    QTemporaryDir dir;
    const QString from = dir.filePath("Default.ini");
    writeBytes(from, "[Engine.Engine]\r\n");
    QVERIFY(::chmod(QFile::encodeName(from).constData(), 0444) == 0);
    const mode_t mask = ::umask(022);
    const bool ok = platform::copyFile(str(from), str(dir.filePath("UT2003.ini")));
    ::umask(mask);
    QVERIFY(ok);
    QCOMPARE(modeOf(dir.filePath("UT2003.ini")), mode_t(0644));
    QVERIFY(!platform::isReadOnly(str(dir.filePath("UT2003.ini"))));
}

void TestPlatform::copyRespectsReadOnlyTargetUntilAttributesReset()
{
    QTemporaryDir dir;
    const QString from = dir.filePath("User.ini");
    const QString to = dir.filePath("User_8-12-2026.INI");
    writeBytes(from, "new");
    writeBytes(to, "old");
    QVERIFY(::chmod(QFile::encodeName(to).constData(), 0444) == 0);
    QVERIFY(platform::isReadOnly(str(to)));

    // Read-only holds for root too, as the Windows attribute does.
    QVERIFY(!platform::copyFile(str(from), str(to)));
    QVERIFY(!platform::deleteFile(str(to)));
    QCOMPARE(readBytes(to), QByteArray("old"));

    QVERIFY(platform::resetAttributes(str(to)));
    QCOMPARE(modeOf(to), mode_t(0644));
    QVERIFY(platform::copyFile(str(from), str(to)));
    QCOMPARE(readBytes(to), QByteArray("new"));
    QVERIFY(!platform::resetAttributes(str(dir.filePath("missing.ini"))));
}

void TestPlatform::copyUpdatesSymlinkTarget()
{
    QTemporaryDir dir;
    QDir(dir.path()).mkdir("dotfiles");
    const QString real = dir.filePath("dotfiles/User.ini");
    const QString link = dir.filePath("User.ini");
    writeBytes(real, "old");
    QVERIFY(QFile::link(real, link));
    writeBytes(dir.filePath("DefUser.ini"), "defaults");

    QVERIFY(platform::copyFile(str(dir.filePath("DefUser.ini")), str(link)));
    QVERIFY(QFileInfo(link).isSymLink());
    QCOMPARE(readBytes(real), QByteArray("defaults"));
    QCOMPARE(entries(dir.path() + "/dotfiles"), QStringList{"User.ini"});
}

void TestPlatform::copyFailures_data()
{
    QTest::addColumn<QString>("from");
    QTest::addColumn<QString>("to");
    QTest::newRow("missing source") << "missing.ini"
                                    << "User.ini";
    QTest::newRow("source is a directory") << "Maps"
                                           << "User.ini";
    QTest::newRow("target is a directory") << "DefUser.ini"
                                           << "Maps";
    QTest::newRow("target directory missing") << "DefUser.ini"
                                              << "nowhere/User.ini";
    QTest::newRow("empty target") << "DefUser.ini"
                                  << "";
}

void TestPlatform::copyFailures()
{
    QFETCH(QString, from);
    QFETCH(QString, to);
    QTemporaryDir dir;
    writeBytes(dir.filePath("DefUser.ini"), "defaults");
    writeBytes(dir.filePath("User.ini"), "mine");
    QDir(dir.path()).mkdir("Maps");
    const QStringList before = entries(dir.path());

    QVERIFY(!platform::copyFile(str(dir.filePath(from)), to.isEmpty() ? std::string() : str(dir.filePath(to))));
    QCOMPARE(readBytes(dir.filePath("User.ini")), QByteArray("mine"));
    QCOMPARE(entries(dir.path()), before);
}

void TestPlatform::copyOnFullDiskKeepsTarget()
{
    // A child process with a file-size limit: its copy meets a short write,
    // as on a full disk.
    QTemporaryDir dir;
    const QString from = dir.filePath("Default.ini");
    const QString to = dir.filePath("UT2003.ini");
    writeBytes(from, QByteArray(200000, 'n'));
    writeBytes(to, "[Engine.Engine]\r\nRenderDevice=D3DDrv.D3DRenderDevice\r\n");
    const QByteArray before = readBytes(to);

    QProcess child;
    child.setProgram(QCoreApplication::applicationFilePath());
    child.setArguments({"--copy-file", from, to});
    child.setChildProcessModifier([] {
        ::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{65536, 65536};
        ::setrlimit(RLIMIT_FSIZE, &limit);
    });
    child.start();
    QVERIFY(child.waitForFinished(30000));
    QCOMPARE(child.exitCode(), 1); // the copy failed
    QCOMPARE(readBytes(to), before);
    QCOMPARE(entries(dir.path()).size(), 2);
}

void TestPlatform::deleteFile()
{
    QTemporaryDir dir;
    writeBytes(dir.filePath("User.BAK"), "x");
    QDir(dir.path()).mkdir("System");
    QVERIFY(platform::deleteFile(str(dir.filePath("User.BAK"))));
    QVERIFY(!QFileInfo::exists(dir.filePath("User.BAK")));
    QVERIFY(!platform::deleteFile(str(dir.filePath("User.BAK"))));
    QVERIFY(!platform::deleteFile(str(dir.filePath("System"))));
    QVERIFY(QFileInfo(dir.filePath("System")).isDir());
}

void TestPlatform::lastModifiedAndExists()
{
    QTemporaryDir dir;
    const QString file = dir.filePath("User.BAK");
    writeBytes(file, "x");
    const timespec times[2] = {{1796731200, 0}, {1796731200, 500000000}}; // 2026-12-08 12:00 UTC
    QVERIFY(::utimensat(AT_FDCWD, QFile::encodeName(file).constData(), times, 0) == 0);
    const auto modified = platform::lastModified(str(file));
    QVERIFY(modified.has_value());
    QCOMPARE(modified->toMSecsSinceEpoch(), qint64(1796731200500));
    QCOMPARE(modified->toUTC().date(), QDate(2026, 12, 8));
    QVERIFY(!platform::lastModified(str(dir.filePath("missing"))).has_value());

    QVERIFY(platform::fileExists(str(file)));
    QVERIFY(!platform::fileExists(str(dir.path())));
    QVERIFY(!platform::fileExists(str(dir.filePath("missing"))));
    QVERIFY(platform::directoryExists(str(dir.path())));
    QVERIFY(!platform::directoryExists(str(file)));
}

// ---------------------------------------------------------------- installer registry

namespace {

const char* const fullGameKey = "SOFTWARE\\Unreal Technology\\Installed Apps\\UT2003";

// A Wine prefix with the usual drive links: c: to drive_c, d: to an
// absolute directory, z: to "/".
class WinePrefix {
public:
    WinePrefix()
    {
        QDir root(m_dir.path());
        root.mkpath("drive_c/UT2003/System");
        root.mkpath("dosdevices");
        root.mkpath("cdrom/UT2003");
        QFile::link("../drive_c", m_dir.filePath("dosdevices/c:"));
        QFile::link(m_dir.filePath("cdrom"), m_dir.filePath("dosdevices/d:"));
        QFile::link("/", m_dir.filePath("dosdevices/z:"));
    }
    QString path() const { return QFileInfo(m_dir.path()).canonicalFilePath(); }
    void setRegistry(const QByteArray& text) const { writeBytes(path() + "/system.reg", text); }

private:
    QTemporaryDir m_dir;
};

QByteArray registry(const QByteArray& body)
{
    return "WINE REGISTRY Version 2\n;; All keys relative to \\\\Machine\n\n#arch=win64\n\n" + body;
}

} // namespace

void TestPlatform::registryFolder_data()
{
    QTest::addColumn<QByteArray>("reg");
    QTest::addColumn<QString>("key");
    QTest::addColumn<bool>("found");
    QTest::addColumn<QString>("expected"); // "@" stands for the prefix

    const QByteArray software = "[Software\\\\Unreal Technology\\\\Installed Apps\\\\UT2003] 1700000000\n"
                                "#time=1da2b3c4d5e6f70\n";
    const QByteArray wow = "[Software\\\\Wow6432Node\\\\Unreal Technology\\\\Installed Apps\\\\UT2003] 1700000000\n"
                           "#time=1da2b3c4d5e6f70\n";

    QTest::newRow("plain key") << registry(software + "\"Folder\"=\"C:\\\\UT2003\"\n") << fullGameKey << true
                               << "@/drive_c/UT2003";
    QTest::newRow("32-bit installer in a 64-bit prefix")
        << registry(wow + "\"Folder\"=\"C:\\\\UT2003\"\n") << fullGameKey << true << "@/drive_c/UT2003";
    QTest::newRow("both: Wow6432Node wins")
        << registry(software + "\"Folder\"=\"C:\\\\Old\"\n\n" + wow + "\"Folder\"=\"D:\\\\UT2003\"\n") << fullGameKey
        << true << "@/cdrom/UT2003";
    QTest::newRow("Wow6432Node without the value: the other key's value")
        << registry(wow + "\"Version\"=\"2225\"\n\n" + software + "\"Folder\"=\"C:\\\\UT2003\"\n") << fullGameKey
        << true << "@/drive_c/UT2003";
    QTest::newRow("key without the value")
        << registry(software + "\"Version\"=\"2225\"\n@=\"x\"\n") << fullGameKey << true << "";
    QTest::newRow("key missing") << registry(software + "\"Folder\"=\"C:\\\\UT2003\"\n")
                                 << "SOFTWARE\\Unreal Technology\\Installed Apps\\UT2003Demo" << false << "";
    QTest::newRow("value of a later key is not taken")
        << registry(software + "\n[Software\\\\Other] 1\n\"Folder\"=\"C:\\\\Other\"\n") << fullGameKey << true << "";
    QTest::newRow("key and value names ignore case")
        << registry("[software\\\\unreal technology\\\\INSTALLED APPS\\\\ut2003] 1\n\"FOLDER\"=\"C:\\\\UT2003\"\n")
        << fullGameKey << true << "@/drive_c/UT2003";
    QTest::newRow("escaped quote and non-ASCII characters")
        << registry(software + "\"Folder\"=\"C:\\\\UT2003\\\\Caf\\xe9 \\\"Gold\\\"\\\\Caf\\x00e9a\"\n") << fullGameKey
        << true
        << "@/drive_c/UT2003/Caf\xc3\xa9 \"Gold\"/Caf\xc3\xa9"
           "a";
    QTest::newRow("character beyond the BMP") << registry(software + "\"Folder\"=\"C:\\\\\\xd83c\\xdfae\"\n")
                                              << fullGameKey << true << "@/drive_c/\xf0\x9f\x8e\xae";
    QTest::newRow("expandable string") << registry(software + "\"Folder\"=str(2):\"C:\\\\UT2003\"\n") << fullGameKey
                                       << true << "@/drive_c/UT2003";
    QTest::newRow("hex string continued on the next line")
        << registry(software + "\"Folder\"=hex(2):43,00,3a,00,5c,00,55,00,\\\n  54,00,32,00,30,00,30,00,33,00,00,00\n")
        << fullGameKey << true << "@/drive_c/UT2003";
    QTest::newRow("CR LF lines") << registry(software + "\"Folder\"=\"C:\\\\UT2003\"\n").replace("\n", "\r\n")
                                 << fullGameKey << true << "@/drive_c/UT2003";
    QTest::newRow("escaped bracket in a key name")
        << registry("[Software\\\\Wow6432Node\\\\Unreal Technology\\\\Installed Apps\\\\UT2003 \\[x\\]] 1\n"
                    "\"Folder\"=\"C:\\\\UT2003\"\n")
        << "SOFTWARE\\Unreal Technology\\Installed Apps\\UT2003 [x]" << true << "@/drive_c/UT2003";
    QTest::newRow("non-string value holds no folder")
        << registry(software + "\"Folder\"=dword:00000001\n") << fullGameKey << true << "";
    QTest::newRow("unterminated string holds no folder")
        << registry(software + "\"Folder\"=\"C:\\\\UT2003\n") << fullGameKey << true << "";
    QTest::newRow("garbage") << QByteArray("\x00\xff[\\\n\"\"=\"\\x\n[", 12) << fullGameKey << false << "";
}

void TestPlatform::registryFolder()
{
    QFETCH(QByteArray, reg);
    QFETCH(QString, key);
    QFETCH(bool, found);
    QFETCH(QString, expected);
    WinePrefix prefix;
    prefix.setRegistry(reg);
    const WineInstallerRegistry registry(str(prefix.path()));
    const std::optional<std::string> folder = registry.ReadFolder(str(key));
    QCOMPARE(folder.has_value(), found);
    if (found) QCOMPARE(QString::fromStdString(*folder), QString(expected).replace("@", prefix.path()));
}

void TestPlatform::registryMissingPieces()
{
    QTemporaryDir dir;
    QVERIFY(!WineInstallerRegistry(str(dir.filePath("no-prefix"))).ReadFolder(fullGameKey).has_value());
    QVERIFY(!WineInstallerRegistry(str(dir.path())).ReadFolder(fullGameKey).has_value()); // no system.reg
    QVERIFY(!WineInstallerRegistry("").ReadFolder(fullGameKey).has_value());
    QDir(dir.path()).mkdir("system.reg"); // a directory where the file should be
    QVERIFY(!WineInstallerRegistry(str(dir.path())).ReadFolder(fullGameKey).has_value());
    // A named pipe where the file should be ends the read at once instead of
    // waiting for a writer.
    QTemporaryDir pipe;
    QVERIFY(::mkfifo(QFile::encodeName(pipe.filePath("system.reg")).constData(), 0644) == 0);
    QVERIFY(!WineInstallerRegistry(str(pipe.path())).ReadFolder(fullGameKey).has_value());
}

void TestPlatform::registryDefaultPrefix()
{
    const QByteArray savedPrefix = qgetenv("WINEPREFIX");
    const QByteArray savedHome = qgetenv("HOME");
    qputenv("WINEPREFIX", "/srv/wine/ut");
    const std::string withPrefix = WineInstallerRegistry::DefaultPrefix();
    qunsetenv("WINEPREFIX");
    qputenv("HOME", "/home/player");
    const std::string withoutPrefix = WineInstallerRegistry::DefaultPrefix();
    qputenv("HOME", savedHome);
    if (savedPrefix.isNull())
        qunsetenv("WINEPREFIX");
    else
        qputenv("WINEPREFIX", savedPrefix);
    QCOMPARE(QString::fromStdString(withPrefix), QString("/srv/wine/ut"));
    QCOMPARE(QString::fromStdString(withoutPrefix), QString("/home/player/.wine"));
}

void TestPlatform::windowsPathsThroughDriveLinks_data()
{
    QTest::addColumn<QString>("windowsPath");
    QTest::addColumn<QString>("expected"); // "@" stands for the prefix
    QTest::newRow("drive c") << "C:\\UT2003"
                             << "@/drive_c/UT2003";
    QTest::newRow("lower-case drive letter") << "c:\\UT2003\\System"
                                             << "@/drive_c/UT2003/System";
    QTest::newRow("directories ignore case") << "C:\\ut2003\\SYSTEM"
                                             << "@/drive_c/UT2003/System";
    QTest::newRow("missing directory kept as given") << "C:\\UT2003\\Help\\x"
                                                     << "@/drive_c/UT2003/Help/x";
    QTest::newRow("trailing separator kept") << "C:\\UT2003\\"
                                             << "@/drive_c/UT2003/";
    QTest::newRow("absolute drive link") << "D:\\UT2003"
                                         << "@/cdrom/UT2003";
    QTest::newRow("drive z is the root") << "Z:\\usr\\share"
                                         << "/usr/share";
    QTest::newRow("drive root") << "C:\\"
                                << "@/drive_c/";
    QTest::newRow("unmapped drive left as is") << "Q:\\Games"
                                               << "Q:\\Games";
    QTest::newRow("no drive left as is") << "\\\\server\\games"
                                         << "\\\\server\\games";
}

void TestPlatform::windowsPathsThroughDriveLinks()
{
    QFETCH(QString, windowsPath);
    QFETCH(QString, expected);
    WinePrefix prefix;
    QCOMPARE(QString::fromStdString(platform::windowsToUnixPath(str(prefix.path()), str(windowsPath))),
             expected.replace("@", prefix.path()));
}

// ---------------------------------------------------------------- shell start

void TestPlatform::splitParameters_data()
{
    QTest::addColumn<QString>("parameters");
    QTest::addColumn<Strings>("expected");
    QTest::newRow("empty") << "" << Strings{};
    QTest::newRow("blanks only") << " \t " << Strings{};
    QTest::newRow("game parameters stay one argument")
        << "DM-Antalus.ut2?game=XGame.xDeathMatch?NumBots=4?Translocator=True?Difficulty=3"
        << Strings{"DM-Antalus.ut2?game=XGame.xDeathMatch?NumBots=4?Translocator=True?Difficulty=3"};
    QTest::newRow("blanks separate") << "  -log   -windowed\t-nosound " << Strings{"-log", "-windowed", "-nosound"};
    QTest::newRow("quotes group") << "\"DM-My Map.ut2\" -log" << Strings{"DM-My Map.ut2", "-log"};
    QTest::newRow("quotes inside an argument") << "a\"b c\"d" << Strings{"ab cd"};
    QTest::newRow("empty quoted argument") << "\"\" x" << Strings{"", "x"};
    QTest::newRow("doubled quote in quotes") << "\"a\"\"b\"" << Strings{"a\"b"};
    QTest::newRow("escaped quote") << "\\\"a" << Strings{"\"a"};
    QTest::newRow("backslashes before a quote halve") << "\\\\\"a b\"" << Strings{"\\a b"};
    QTest::newRow("odd backslashes escape the quote") << "\\\\\\\"a" << Strings{"\\\"a"};
    QTest::newRow("plain backslashes literal") << "C:\\UT2003\\ x" << Strings{"C:\\UT2003\\", "x"};
    QTest::newRow("unterminated quote runs to the end") << "\"a b" << Strings{"a b"};
    QTest::newRow("shell syntax is plain text")
        << "DM-$(touch x);.ut2 `id` | y" << Strings{"DM-$(touch", "x);.ut2", "`id`", "|", "y"};
}

void TestPlatform::splitParameters()
{
    QFETCH(QString, parameters);
    QFETCH(Strings, expected);
    QCOMPARE(platform::splitParameters(str(parameters)), expected);
}

void TestPlatform::launchRouting_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<bool>("throughWine");
    QTest::newRow("Windows program") << QByteArray("MZ\x90\x00\x03\x00\x00\x00", 8) << true;
    QTest::newRow("script") << QByteArray("#!/bin/sh\nexit 0\n") << false;
    QTest::newRow("native program") << QByteArray("\x7f"
                                                  "ELF\x02\x01\x01",
                                                  7)
                                    << false;
    QTest::newRow("one byte") << QByteArray("M") << false;
    QTest::newRow("lower case mz") << QByteArray("mz") << false;
    QTest::newRow("empty") << QByteArray() << false;
}

void TestPlatform::launchRouting()
{
    QFETCH(QByteArray, content);
    QFETCH(bool, throughWine);
    QTemporaryDir dir;
    const QString program = dir.filePath("UT2003.exe");
    writeBytes(program, content);
    const platform::LaunchCommand command = platform::makeLaunchCommand(str(program), "DM-A.ut2?NumBots=2 -log");
    if (throughWine) {
        QCOMPARE(QString::fromStdString(command.program), QString("wine"));
        QCOMPARE(command.arguments, (Strings{str(program), "DM-A.ut2?NumBots=2", "-log"}));
    } else {
        QCOMPARE(QString::fromStdString(command.program), program);
        QCOMPARE(command.arguments, (Strings{"DM-A.ut2?NumBots=2", "-log"}));
    }
}

void TestPlatform::startRecordsArgumentsAndWorkDirWithoutShell()
{
    QTemporaryDir dir;
    const QString program = dir.filePath("bin/UT2003.exe");
    writeBytes(program, recorderScript);
    QVERIFY(QFile::setPermissions(program, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner));
    QDir(dir.path()).mkpath("System");
    const QString workDir = dir.filePath("System");
    const QString record = dir.filePath("record");
    qputenv("RECORD_TO", QFile::encodeName(record));

    ProcessShellStarter starter;
    QVERIFY(starter.Start(str(program),
                          "DM-$(touch x);.ut2?game=XGame.xDeathMatch \"two words\" ;touch${IFS}y `touch z` &&",
                          str(workDir)));
    QTRY_VERIFY_WITH_TIMEOUT(QFileInfo::exists(record), 15000);
    qunsetenv("RECORD_TO");

    QCOMPARE(QString::fromUtf8(readBytes(record)).trimmed(), QFileInfo(workDir).canonicalFilePath());
    QCOMPARE(splitNul(readBytes(record + ".args")), (Strings{"DM-$(touch", "x);.ut2?game=XGame.xDeathMatch",
                                                             "two words", ";touch${IFS}y", "`touch", "z`", "&&"}));
    for (const QString& where : {workDir, dir.path(), QDir::currentPath()}) {
        for (const char* name : {"x", "y", "z"})
            QVERIFY2(!QFileInfo::exists(where + "/" + name), qPrintable(where + "/" + name));
    }
}

void TestPlatform::startWindowsProgramThroughWine()
{
    // A stand-in "wine" first on PATH records how it was called.
    QTemporaryDir dir;
    const QString wine = dir.filePath("bin/wine");
    writeBytes(wine, recorderScript);
    QVERIFY(QFile::setPermissions(wine, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner));
    const QString exe = dir.filePath("System/UT2003.exe");
    writeBytes(exe, QByteArray("MZ\x90\x00", 4));
    const QString record = dir.filePath("record");

    const QByteArray savedPath = qgetenv("PATH");
    qputenv("PATH", QFile::encodeName(dir.filePath("bin")) + ":" + savedPath);
    qputenv("RECORD_TO", QFile::encodeName(record));
    ProcessShellStarter starter;
    const bool started = starter.Start(str(exe), "CTF-Maul.ut2?game=XGame.xCTFGame", str(dir.filePath("System")));
    qputenv("PATH", savedPath);
    QVERIFY(started);
    QTRY_VERIFY_WITH_TIMEOUT(QFileInfo::exists(record), 15000);
    qunsetenv("RECORD_TO");
    QCOMPARE(splitNul(readBytes(record + ".args")), (Strings{str(exe), "CTF-Maul.ut2?game=XGame.xCTFGame"}));
}

void TestPlatform::windowsProgramRunsInItsOwnPrefix_data()
{
    QTest::addColumn<QString>("program"); // in a directory holding the prefix "pfx" ("@")
    QTest::addColumn<QString>("prefix");  // WINEPREFIX wine gets
    QTest::newRow("in a prefix") << "@/pfx/drive_c/UT2003/System/UT2003.exe"
                                 << "@/pfx";
    QTest::newRow("through the drive link") << "@/pfx/dosdevices/c:/UT2003/System/UT2003.exe"
                                            << "@/pfx";
    QTest::newRow("through a link to the game") << "@/linked/System/UT2003.exe"
                                                << "@/pfx";
    QTest::newRow("a prefix inside a prefix") << "@/pfx/drive_c/inner/drive_c/UT2003/System/UT2003.exe"
                                              << "@/pfx/drive_c/inner";
    QTest::newRow("drive_c without a registry") << "@/copy/drive_c/UT2003/System/UT2003.exe"
                                                << "/inherited";
    QTest::newRow("no prefix at all") << "@/UT2003/System/UT2003.exe"
                                      << "/inherited";
}

void TestPlatform::windowsProgramRunsInItsOwnPrefix()
{
    QFETCH(QString, program);
    QFETCH(QString, prefix);
    QTemporaryDir dir;
    const QString root = QFileInfo(dir.path()).canonicalFilePath();
    for (const char* p : {"pfx", "pfx/drive_c/inner"})
        writeBytes(root + "/" + p + "/system.reg", "WINE REGISTRY Version 2\n");
    for (const char* d : {"pfx/drive_c/UT2003/System", "pfx/drive_c/inner/drive_c/UT2003/System", "pfx/dosdevices"})
        QDir(root).mkpath(d);
    QFile::link("../drive_c", root + "/pfx/dosdevices/c:");
    QFile::link(root + "/pfx/drive_c/UT2003", root + "/linked");
    program.replace("@", root);
    prefix.replace("@", root);
    writeBytes(program, QByteArray("MZ\x90\x00", 4));
    writeBytes(root + "/bin/wine", recorderScript);
    QVERIFY(QFile::setPermissions(root + "/bin/wine", QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));

    const QByteArray savedPath = qgetenv("PATH");
    const QByteArray savedPrefix = qgetenv("WINEPREFIX");
    qputenv("PATH", QFile::encodeName(root + "/bin") + ":" + savedPath);
    qputenv("WINEPREFIX", "/inherited");
    qputenv("RECORD_TO", QFile::encodeName(root + "/record"));
    const bool started = ProcessShellStarter().Start(str(program), "DM-Antalus.ut2", str(root));
    qputenv("PATH", savedPath);
    savedPrefix.isNull() ? qunsetenv("WINEPREFIX") : qputenv("WINEPREFIX", savedPrefix);
    QVERIFY(started);
    QTRY_VERIFY_WITH_TIMEOUT(QFileInfo::exists(root + "/record"), 15000);
    qunsetenv("RECORD_TO");
    QCOMPARE(QString::fromUtf8(readBytes(root + "/record.prefix")), prefix);
}

void TestPlatform::gameLayout_data()
{
    QTest::addColumn<QStringList>("files"); // in the game directory "@"
    QTest::addColumn<QString>("profiles");  // "~": the home directory
    QTest::addColumn<QString>("program");
    QTest::addColumn<QString>("workDir");
    const QString windows = "@/System/UT2003.exe";
    QTest::newRow("Windows game") << QStringList{windows} << "@/System/" << windows << "@/System/";
    QTest::newRow("native game") << QStringList{"@/System/ut2003-bin", "@/ut2003"} << "~/.ut2003/System/"
                                 << "@/ut2003"
                                 << "@/";
    QTest::newRow("native game without its launcher")
        << QStringList{"@/System/ut2003-bin", windows} << "~/.ut2003/System/"
        << "@/System/ut2003-bin"
        << "@/System/";
    QTest::newRow("native demo") << QStringList{"@/System/ut2003-bin", "@/ut2003_demo"} << "~/.ut2003demo/System/"
                                 << "@/ut2003_demo"
                                 << "@/";
}

void TestPlatform::gameLayout()
{
    QFETCH(QStringList, files);
    QFETCH(QString, profiles);
    QFETCH(QString, program);
    QFETCH(QString, workDir);
    QTemporaryDir game, home;
    const auto expand = [&](QString path) { return path.replace("@", game.path()).replace("~", home.path()); };
    for (const QString& file : files)
        writeBytes(expand(file), "#!/bin/sh\n");
    const platform::GameLayout layout = platform::layoutOf(str(game.path() + "/System/"), str(home.path()));
    QCOMPARE(QString::fromStdString(layout.profileDir), expand(profiles));
    QCOMPARE(QString::fromStdString(layout.program), expand(program));
    QCOMPARE(QString::fromStdString(layout.workDir), expand(workDir));
}

void TestPlatform::startDemoGameStub()
{
    // The demo installation's stand-in for the game records its starts in a
    // log beside it.
    const QString demoExe = QStringLiteral(CORVANE_SOURCE_DIR) + "/data/demo-game/System/UT2003.exe";
    QVERIFY2(QFileInfo(demoExe).isExecutable(), qPrintable(demoExe));
    QTemporaryDir dir;
    QDir(dir.path()).mkpath("System");
    const QString exe = dir.filePath("System/UT2003.exe");
    QVERIFY(QFile::copy(demoExe, exe));
    const QString log = exe + ".log";

    ProcessShellStarter starter;
    QVERIFY(starter.Start(str(exe), "BR-Anubis.ut2?game=XGame.xBombingRun?NumBots=3", str(dir.filePath("System"))));
    QTRY_VERIFY_WITH_TIMEOUT(readBytes(log).contains("BR-Anubis.ut2?game=XGame.xBombingRun?NumBots=3"), 15000);
    QVERIFY(readBytes(log).contains(QFileInfo(dir.filePath("System")).canonicalFilePath().toUtf8()));
}

void TestPlatform::startRefusals()
{
    QTemporaryDir dir;
    const QString script = dir.filePath("UT2003.exe");
    writeBytes(script, "#!/bin/sh\n");
    ProcessShellStarter starter;
    // Not executable and not a Windows program.
    QVERIFY(!starter.Start(str(script), "", str(dir.path())));
    QVERIFY(QFile::setPermissions(script, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner));
    QVERIFY(!starter.Start(str(dir.filePath("missing.exe")), "", str(dir.path())));
    QVERIFY(!starter.Start(str(script), "", str(dir.filePath("no-such-dir"))));
    QVERIFY(!starter.Start(str(dir.path()), "", str(dir.path())));    // a directory
    QVERIFY(!starter.Start("sh", "-c \"touch x\"", str(dir.path()))); // a bare name is not looked up on PATH
    QVERIFY(!QFileInfo::exists(dir.filePath("x")));
}

void TestPlatform::openUrlGoesThroughDesktopServices()
{
    QDesktopServices::setUrlHandler("corvanetest", this, "handleUrl");
    m_openedUrls.clear();
    ProcessShellStarter starter;
    QVERIFY(starter.OpenUrl("corvanetest://home/page?a=1"));
    QCOMPARE(m_openedUrls, QList<QUrl>{QUrl("corvanetest://home/page?a=1")});
    QVERIFY(!starter.OpenUrl(""));
    QDesktopServices::unsetUrlHandler("corvanetest");
}

// ---------------------------------------------------------------- date text

void TestPlatform::dateText_data()
{
    QTest::addColumn<QString>("pattern");
    QTest::addColumn<QString>("expected");
    QTest::newRow("US pattern") << "M/d/yyyy"
                                << "12-8-2026";
    QTest::newRow("German pattern keeps its dots") << "dd.MM.yyyy"
                                                   << "08.12.2026";
    QTest::newRow("two-digit year") << "M/d/yy"
                                    << "12-8-26";
    QTest::newRow("ISO") << "yyyy-MM-dd"
                         << "2026-12-08";
    QTest::newRow("quoted slash") << "dd'/'MM'/'yyyy"
                                  << "08-12-2026";
    QTest::newRow("quoted backslash") << "dd'\\'MM'\\'yyyy"
                                      << "08-12-2026";
    QTest::newRow("empty pattern") << ""
                                   << "2026-12-08";
}

void TestPlatform::codePageKeepsEveryByte()
{
    std::string all;
    for (int b = 0; b < 256; ++b)
        all.push_back(char(b));
    const QString text = platform::fromCodePage(all);
    QCOMPARE(text.size(), 256);
    QCOMPARE(text[0x80], QChar(0x20AC)); // the euro sign
    QCOMPARE(text[0x93], QChar(0x201C)); // a curly quote
    QCOMPARE(text[0x81], QChar(0x81));   // undefined: its own number
    QCOMPARE(platform::toCodePage(text), std::optional<std::string>(all));
    QCOMPARE(platform::toCodePageOrThrow(QString::fromUtf8("\xe2\x80\x9eTr\xc3\xa9s\xe2\x80\x9c \xe2\x82\xac")),
             std::string("\x84Tr\xe9s\x93 \x80"));
}

void TestPlatform::codePageRefusesCharactersWithoutByte()
{
    for (const char* utf8 : {"name \xe4\xb8\xad", "\xf0\x9f\x98\x80 smile", "\xc4\x80"}) {
        const QString text = QString::fromUtf8(utf8);
        QVERIFY(!platform::toCodePage(text));
        try {
            platform::toCodePageOrThrow(text);
            QFAIL("accepted");
        } catch (const ECorvaneError& e) {
            QVERIFY2(std::string(e.what()).find("cannot be stored in the game's files") != std::string::npos, e.what());
        }
    }
}

void TestPlatform::asciiDigits_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("written");
    const char16_t* const rows[][3] = {
        {u"Arabic-Indic", u"\u0663\u0660", u"30"},
        {u"Persian", u"\u06F2\u06F6\u06F0\u06F0", u"2600"},
        {u"Devanagari", u"\u0966\u096F", u"09"},
        {u"full width", u"\uFF13\uFF15", u"35"},
        {u"minus sign", u"\u22125", u"-5"},
        {u"ASCII as it is", u"-12 MB", u"-12 MB"},
        {u"no decimal digits: superscript, fraction, roman", u"\u00B2\u00BD\u2167", u"\u00B2\u00BD\u2167"},
        {u"a letter stays for the code page to refuse", u"\u0666\u6F22", u"6\u6F22"},
    };
    for (const auto& row : rows)
        QTest::newRow(QString::fromUtf16(row[0]).toUtf8().constData())
            << QString::fromUtf16(row[1]) << QString::fromUtf16(row[2]);
}

void TestPlatform::asciiDigits()
{
    QFETCH(QString, typed);
    QFETCH(QString, written);
    QCOMPARE(platform::asciiDigits(typed), written);
}

void TestPlatform::dateText()
{
    QFETCH(QString, pattern);
    QFETCH(QString, expected);
    QCOMPARE(platform::dateText(QDate(2026, 12, 8), pattern), expected);
    // ASCII digits, whatever the user's locale.
    const QLocale saved;
    QLocale::setDefault(QLocale(QLocale::Arabic, QLocale::Egypt));
    const QString underArabic = platform::dateText(QDate(2026, 12, 8), pattern);
    QLocale::setDefault(saved);
    QCOMPARE(underArabic, expected);
}

// ---------------------------------------------------------------- program directories

void TestPlatform::chooseProgramDirs_data()
{
    QTest::addColumn<bool>("writable");
    QTest::addColumn<bool>("readmeBeside");
    QTest::addColumn<bool>("sharedData");
    QTest::addColumn<QString>("xdg"); // "@" stands for the temporary root
    QTest::addColumn<QString>("expectedConfig");
    QTest::addColumn<QString>("expectedData");

    QTest::newRow("portable copy") << true << true << true << "@/xdg"
                                   << "@/prefix/bin/"
                                   << "@/prefix/bin/";
    QTest::newRow("writable, no data anywhere") << true << false << false << "@/xdg"
                                                << "@/prefix/bin/"
                                                << "@/prefix/bin/";
    QTest::newRow("installed in a writable prefix") << true << false << true << "@/xdg"
                                                    << "@/xdg/corvane2003/"
                                                    << "@/prefix/share/corvane2003/";
    QTest::newRow("installed, data beside") << false << true << true << "@/xdg"
                                            << "@/xdg/corvane2003/"
                                            << "@/prefix/bin/";
    QTest::newRow("installed, shared data") << false << false << true << "@/xdg"
                                            << "@/xdg/corvane2003/"
                                            << "@/prefix/share/corvane2003/";
    QTest::newRow("installed, no data anywhere") << false << false << false << "@/xdg"
                                                 << "@/xdg/corvane2003/"
                                                 << "@/prefix/bin/";
    QTest::newRow("no XDG_CONFIG_HOME") << false << true << false << ""
                                        << "@/home/.config/corvane2003/"
                                        << "@/prefix/bin/";
    QTest::newRow("relative XDG_CONFIG_HOME ignored") << false << true << false << "relative/config"
                                                      << "@/home/.config/corvane2003/"
                                                      << "@/prefix/bin/";
}

void TestPlatform::chooseProgramDirs()
{
    QFETCH(bool, writable);
    QFETCH(bool, readmeBeside);
    QFETCH(bool, sharedData);
    QFETCH(QString, xdg);
    QFETCH(QString, expectedConfig);
    QFETCH(QString, expectedData);
    QTemporaryDir dir;
    const QString root = QFileInfo(dir.path()).canonicalFilePath();
    QDir(root).mkpath("prefix/bin");
    QDir(root).mkpath("home");
    if (readmeBeside) writeBytes(root + "/prefix/bin/readme.TXT", "readme");
    if (sharedData) QDir(root).mkpath("prefix/share/corvane2003");

    const platform::ProgramDirs dirs = platform::chooseProgramDirs(str(root + "/prefix/bin"), writable,
                                                                   str(xdg.replace("@", root)), str(root + "/home"));
    QCOMPARE(QString::fromStdString(dirs.config), expectedConfig.replace("@", root));
    QCOMPARE(QString::fromStdString(dirs.data), expectedData.replace("@", root));
    QVERIFY(QFileInfo(QString::fromStdString(dirs.config)).isDir()); // created when moved
}

void TestPlatform::locateWritableProgramDir()
{
    QTemporaryDir dir;
    const platform::ProgramDirs dirs = platform::locateProgramDirs(str(dir.path()));
    QCOMPARE(QString::fromStdString(dirs.config), dir.path() + "/");
    QCOMPARE(QString::fromStdString(dirs.data), dir.path() + "/");
}

void TestPlatform::locateReadOnlyProgramDir()
{
    // An installed copy in a directory the user may not write. Root may write
    // everywhere, so then the lookup runs in a child that drops to an
    // unprivileged user.
    QTemporaryDir dir;
    const QString root = QFileInfo(dir.path()).canonicalFilePath();
    QDir(root).mkpath("install");
    QDir(root).mkpath("config");
    writeBytes(root + "/install/ReadMe.txt", "readme");
    QVERIFY(::chmod(QFile::encodeName(root).constData(), 0755) == 0);
    QVERIFY(::chmod(QFile::encodeName(root + "/install").constData(), 0555) == 0);
    QVERIFY(::chmod(QFile::encodeName(root + "/config").constData(), 0777) == 0);
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("XDG_CONFIG_HOME", root + "/config");
    const UnprivilegedRun child = runUnprivileged(root, {"--locate-program-dirs", root + "/install"}, environment);
    ::chmod(QFile::encodeName(root + "/install").constData(), 0755);
    if (!child.cannotRun.isEmpty())
        QSKIP(qPrintable("cannot run the test program as an unprivileged user here: " + child.cannotRun));
    QVERIFY(child.finished);
    QCOMPARE(child.exitCode, 0);
    const QStringList lines = QString::fromUtf8(child.output).split('\n', Qt::SkipEmptyParts);
    QCOMPARE(lines, (QStringList{root + "/config/corvane2003/", root + "/install/"}));
    QVERIFY(QFileInfo(root + "/config/corvane2003").isDir());
}

// ---------------------------------------------------------------- main

// The test program doubles as the child process of the tests that need a
// changed user or resource limit.
int main(int argc, char** argv)
{
    if (argc == 3 && std::string(argv[1]) == "--locate-program-dirs") {
        const platform::ProgramDirs dirs = platform::locateProgramDirs(argv[2]);
        std::printf("%s\n%s\n", dirs.config.c_str(), dirs.data.c_str());
        return 0;
    }
    if (argc == 4 && std::string(argv[1]) == "--copy-file") return platform::copyFile(argv[2], argv[3]) ? 0 : 1;

    QGuiApplication app(argc, argv);
    TestPlatform test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_platform.moc"
