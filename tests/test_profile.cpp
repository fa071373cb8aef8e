// The profile accessor: reading and writing the game's .ini files by section
// and key, keeping every byte the program does not change.

#include "profile/IniEdits.h"
#include "profile/IniFiles.h"
#include "profile/IniText.h"
#include "tests/support/TestSupport.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include <algorithm>
#include <clocale>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <grp.h>
#include <random>
#include <set>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

// Byte strings with NUL bytes in them: "a\0b"_b.
QByteArray operator""_b(const char* text, std::size_t size) { return QByteArray(text, static_cast<qsizetype>(size)); }

std::string str(const QByteArray& bytes)
{
    return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}
QByteArray bytes(const std::string& text) { return QByteArray(text.data(), static_cast<qsizetype>(text.size())); }

QByteArray readAll(const std::string& path)
{
    QFile file(QString::fromStdString(path));
    if (!file.open(QIODevice::ReadOnly)) return "<missing>";
    return file.readAll();
}

void writeAll(const std::string& path, const QByteArray& content)
{
    QFile file(QString::fromStdString(path));
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    QCOMPARE(file.write(content), content.size());
}

QStringList entries(const QString& dir)
{
    return QDir(dir).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
}

struct stat statOf(const std::string& path)
{
    struct stat info {};
    ::stat(path.c_str(), &info);
    return info;
}

mode_t modeOf(const std::string& path)
{
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 ? (info.st_mode & 07777) : 0;
}

ino_t inodeOf(const std::string& path)
{
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 ? info.st_ino : 0;
}

// How a write ended, as a child process reports it in its exit status.
enum Outcome { WriteRefused = 10, WriteDone = 11, OtherError = 12, WrongMessage = 13, NoPrivilegeDrop = 14 };

Outcome tryWrite(TIniFile& ini, const std::string& section, const std::string& key, const std::string& value)
{
    try {
        ini.WriteString(section, key, value);
        return WriteDone;
    } catch (const EIniFileException& error) {
        return std::string(error.what()) == "Unable to write to " + ini.FileName() ? WriteRefused : WrongMessage;
    } catch (...) {
        return OtherError;
    }
}

// Runs `body` in a child process and gives its exit code (or -signal).
template <class Body> int inChild(Body body)
{
    const pid_t pid = ::fork();
    if (pid == 0) {
        int code = OtherError;
        try {
            code = body();
        } catch (...) {
        }
        ::_exit(code);
    }
    int status = 0;
    ::waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -WTERMSIG(status);
}

// Root may write everywhere; a test of a directory the user may not write
// runs its write as "nobody".
bool dropToNobody()
{
    if (::geteuid() != 0) return true;
    return ::setgroups(0, nullptr) == 0 && ::setgid(65534) == 0 && ::setuid(65534) == 0;
}

// The test's own reading of a profile: "[name]" headers and "key=value"
// lines, enough to list the entries of the game's files.
struct Entry {
    std::string section;
    std::string key;
};

std::string folded(std::string text)
{
    for (char& c : text)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return text;
}

QByteArray trimmedSpaces(QByteArray text)
{
    while (!text.isEmpty() && (text.front() == ' ' || text.front() == '\t'))
        text.remove(0, 1);
    while (!text.isEmpty() && (text.back() == ' ' || text.back() == '\t' || text.back() == '\r'))
        text.chop(1);
    return text;
}

// The first entry of every key in the first section of every name.
std::vector<Entry> firstEntries(const QByteArray& content)
{
    std::vector<Entry> found;
    std::set<std::string> seenSections;
    std::set<std::string> seenKeys;
    std::string section;
    bool live = false;
    for (const QByteArray& raw : content.split('\n')) {
        const QByteArray line = trimmedSpaces(raw);
        if (line.startsWith('[') && line.lastIndexOf(']') > 0) {
            section = str(trimmedSpaces(line.mid(1, line.lastIndexOf(']') - 1)));
            live = seenSections.insert(folded(section)).second;
            seenKeys.clear();
            continue;
        }
        const qsizetype equals = line.indexOf('=');
        if (!live || equals < 0) continue;
        const std::string key = str(trimmedSpaces(line.left(equals)));
        if (seenKeys.insert(folded(key)).second) found.push_back({section, key});
    }
    return found;
}

// A profile with `sections` sections of realistic lines.
QByteArray syntheticProfile(int sections)
{
    QByteArray text = "; written by the profile tests\r\n";
    for (int s = 0; s < sections; ++s) {
        text += "[Section" + QByteArray::number(s) + "]\r\n";
        for (int k = 0; k < 8; ++k)
            text += "Key" + QByteArray::number(k) + "=Value " + QByteArray::number(s * 8 + k) + "\r\n";
        text += "\r\n";
    }
    return text;
}

} // namespace

class TestProfile : public QObject {
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    std::string m_path; // a fresh profile path for each test function

    std::string path(const char* name) const { return str(QFile::encodeName(m_dir.filePath(name))); }

private slots:
    void init()
    {
        QVERIFY(m_dir.isValid());
        const QByteArray dir = QFile::encodeName(m_dir.path());
        ::chmod(dir.constData(), 0700);
        for (const QString& name : entries(m_dir.path())) {
            const QByteArray file = QFile::encodeName(m_dir.filePath(name));
            struct stat info {};
            if (::lstat(file.constData(), &info) == 0 && S_ISDIR(info.st_mode))
                QDir(m_dir.filePath(name)).removeRecursively();
            else
                ::unlink(file.constData());
        }
        m_path = path("User.ini");
    }

    // ---- Reading -----------------------------------------------------------

    void readString_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QByteArray>("section");
        QTest::addColumn<QByteArray>("key");
        QTest::addColumn<QByteArray>("expected");

        const QByteArray input = "[Engine.Input]\r\nBackspace=Back\r\nF1=Help\r\n";
        QTest::newRow("key without case") << input << "Engine.Input"_b
                                          << "BackSpace"_b
                                          << "Back"_b;
        QTest::newRow("section without case") << "[corvane]\nAutoBackup=True\n"_b
                                              << "Corvane"_b
                                              << "AUTOBACKUP"_b
                                              << "True"_b;
        QTest::newRow("ASCII letters only") << "[\xc4]\nK=1\n"_b
                                            << "\xe4"_b
                                            << "K"_b
                                            << "<default>"_b;
        QTest::newRow("missing key") << input << "Engine.Input"_b
                                     << "F2"_b
                                     << "<default>"_b;
        QTest::newRow("missing section") << input << "Engine.Pawn"_b
                                         << "F1"_b
                                         << "<default>"_b;
        QTest::newRow("empty value is no default") << "[A]\nF8=\n"_b
                                                   << "A"_b
                                                   << "F8"_b
                                                   << ""_b;
        QTest::newRow("blank value is empty") << "[A]\nF8= \t\n"_b
                                              << "A"_b
                                              << "F8"_b
                                              << ""_b;
        QTest::newRow("blanks around key and value") << "[A]\n \t Key \v\f= \t two  words \x1a \r\n"_b
                                                     << "A"_b
                                                     << "Key"_b
                                                     << "two  words"_b;
        QTest::newRow("asked names are trimmed") << input << " Engine.Input\t"_b
                                                 << "\x1a F1 "_b
                                                 << "Help"_b;
        QTest::newRow("quotes stay") << "[A]\nMidGameMenuClass=\"GUI2K4.Page\"\n"_b
                                     << "A"_b
                                     << "MidGameMenuClass"_b
                                     << "\"GUI2K4.Page\""_b;
        QTest::newRow("single quotes stay") << "[A]\nS='quoted'\n"_b
                                            << "A"_b
                                            << "S"_b
                                            << "'quoted'"_b;
        QTest::newRow("equals in value") << "[A]\nEnd=CenterView | ALIGN=1\n"_b
                                         << "A"_b
                                         << "End"_b
                                         << "CenterView | ALIGN=1"_b;
        QTest::newRow("brackets in value") << "[A]\nDefaultMaps=BR-(ITC)Pragmaticus][\n"_b
                                           << "A"_b
                                           << "DefaultMaps"_b
                                           << "BR-(ITC)Pragmaticus]["_b;
        QTest::newRow("key with spaces") << "[W]\nSurface Properties=1\n"_b
                                         << "W"_b
                                         << "surface properties"_b
                                         << "1"_b;
        QTest::newRow("first key wins") << "[A]\nK=1\nk=2\n"_b
                                        << "A"_b
                                        << "K"_b
                                        << "1"_b;
        QTest::newRow("first section wins") << "[A]\nX=1\n[a]\nK=2\n"_b
                                            << "A"_b
                                            << "K"_b
                                            << "<default>"_b;
        QTest::newRow("later section by other name") << "[A]\nK=1\n[B]\nK=2\n"_b
                                                     << "B"_b
                                                     << "K"_b
                                                     << "2"_b;
        QTest::newRow("header with text after it") << "[A] ; note\nK=1\n"_b
                                                   << "A"_b
                                                   << "K"_b
                                                   << "1"_b;
        QTest::newRow("name to last bracket") << "[a]b] x\nK=1\n"_b
                                              << "a]b"_b
                                              << "K"_b
                                              << "1"_b;
        QTest::newRow("blanks in header") << "\t[ Spaced Name ]\nK=1\n"_b
                                          << "Spaced Name"_b
                                          << "K"_b
                                          << "1"_b;
        QTest::newRow("no closing bracket: no header") << "[A]\n[B\nK=1\n"_b
                                                       << "A"_b
                                                       << "K"_b
                                                       << "1"_b;
        QTest::newRow("line without equals") << "[A]\nK\nK=2\n"_b
                                             << "A"_b
                                             << "K"_b
                                             << "2"_b;
        QTest::newRow("entries before any header") << "K=1\n[A]\n"_b
                                                   << "A"_b
                                                   << "K"_b
                                                   << "<default>"_b;
        QTest::newRow("comment is just a line") << "[A]\n;K=1\nK=2\n"_b
                                                << "A"_b
                                                << "K"_b
                                                << "2"_b;
        QTest::newRow("lone CR ends lines") << "[A]\rK=1\rJ=2"_b
                                            << "A"_b
                                            << "J"_b
                                            << "2"_b;
        QTest::newRow("lone LF ends lines") << "[A]\nK=1\nJ=2"_b
                                            << "A"_b
                                            << "J"_b
                                            << "2"_b;
        QTest::newRow("mixed line ends") << "[A]\r\nK=1\n\rJ=2\r\r\n"_b
                                         << "A"_b
                                         << "J"_b
                                         << "2"_b;
        QTest::newRow("high bytes") << "[A]\nK=\x80\xe9\xff\n"_b
                                    << "A"_b
                                    << "K"_b
                                    << "\x80\xe9\xff"_b;
        QTest::newRow("NUL bytes") << "[A\0B]\nK=a\0b\n"_b
                                   << "A\0B"_b
                                   << "K"_b
                                   << "a\0b"_b;
        QTest::newRow("ESC in section name") << "[Default\x1bTDM MaplistRecord]\nTitle=x\n"_b
                                             << "default\x1btdm maplistrecord"_b
                                             << "Title"_b
                                             << "x"_b;
        QTest::newRow("empty section name") << "[]\nK=1\n"_b
                                            << ""_b
                                            << "K"_b
                                            << "1"_b;
        QTest::newRow("value cut to 2047 bytes") << "[A]\nK=" + QByteArray(3000, 'v') + "\n"
                                                 << "A"_b
                                                 << "K"_b << QByteArray(2047, 'v');
    }

    void readString()
    {
        QFETCH(QByteArray, content);
        QFETCH(QByteArray, section);
        QFETCH(QByteArray, key);
        QFETCH(QByteArray, expected);
        writeAll(m_path, content);
        const TIniFile ini(m_path);
        QCOMPARE(bytes(ini.ReadString(str(section), str(key), "<default>")), expected);
    }

    void defaultIsReturnedExactly()
    {
        const TIniFile missing(path("Missing.ini"));
        QCOMPARE(missing.ReadString("A", "K", "  spaced\tdefault "), std::string("  spaced\tdefault "));
        QCOMPARE(missing.ReadString("A", "K", std::string(3000, 'd')), std::string(3000, 'd'));
        QCOMPARE(missing.ReadInteger("A", "K", -7), -7);
        QCOMPARE(missing.ReadFloat("A", "K", 2.5), 2.5);
        QCOMPARE(missing.ReadBool("A", "K", true), true);
        std::vector<std::string> sections{"stale"};
        missing.ReadSections(sections);
        QVERIFY(sections.empty());
        QVERIFY(!QFile::exists(QString::fromStdString(missing.FileName())));
    }

    void readBool_data()
    {
        QTest::addColumn<QByteArray>("line");
        QTest::addColumn<bool>("defaultValue");
        QTest::addColumn<bool>("expected");
        QTest::newRow("0") << "K=0"_b << true << false;
        QTest::newRow("1") << "K=1"_b << false << true;
        QTest::newRow("True") << "K=True"_b << false << true;
        QTest::newRow("tRUE") << "K=tRUE"_b << false << true;
        QTest::newRow("False") << "K=False"_b << true << false;
        QTest::newRow("FALSE") << "K=FALSE"_b << true << false;
        QTest::newRow("yes") << "K=yes"_b << false << true;
        QTest::newRow("no") << "K=no"_b << false << true;
        QTest::newRow("2") << "K=2"_b << false << true;
        QTest::newRow("empty") << "K="_b << false << true;
        QTest::newRow("00") << "K=00"_b << false << true;
        QTest::newRow("missing, default true") << "Other=0"_b << true << true;
        QTest::newRow("missing, default false") << "Other=1"_b << false << false;
    }

    void readBool()
    {
        QFETCH(QByteArray, line);
        QFETCH(bool, defaultValue);
        QFETCH(bool, expected);
        writeAll(m_path, "[A]\r\n" + line + "\r\n");
        QCOMPARE(TIniFile(m_path).ReadBool("A", "K", defaultValue), expected);
    }

    void readInteger_data()
    {
        QTest::addColumn<QByteArray>("line");
        QTest::addColumn<int>("expected"); // the default is 12345
        QTest::newRow("85") << "K=85"_b << 85;
        QTest::newRow("-5") << "K=-5"_b << -5;
        QTest::newRow("+7") << "K=+7"_b << 7;
        QTest::newRow("leading zeros") << "K=007"_b << 7;
        QTest::newRow("0x1F") << "K=0x1F"_b << 31;
        QTest::newRow("0X1f") << "K=0X1f"_b << 31;
        QTest::newRow("$1F") << "K=$1F"_b << 31;
        QTest::newRow("x1f") << "K=x1f"_b << 31;
        QTest::newRow("$FFFFFFFF is -1") << "K=$FFFFFFFF"_b << -1;
        QTest::newRow("$80000000") << "K=$80000000"_b << int(0x80000000u);
        QTest::newRow("largest") << "K=2147483647"_b << 2147483647;
        QTest::newRow("smallest") << "K=-2147483648"_b << int(-2147483647 - 1);
        QTest::newRow("too large") << "K=2147483648"_b << 12345;
        QTest::newRow("too small") << "K=-2147483649"_b << 12345;
        QTest::newRow("nine hex digits") << "K=$100000000"_b << 12345;
        QTest::newRow("12abc") << "K=12abc"_b << 12345;
        QTest::newRow("85.0") << "K=85.0"_b << 12345;
        QTest::newRow("sign alone") << "K=-"_b << 12345;
        QTest::newRow("sign before hex") << "K=-$1F"_b << 12345;
        QTest::newRow("0x alone") << "K=0x"_b << 12345;
        QTest::newRow("$ alone") << "K=$"_b << 12345;
        QTest::newRow("inner blank") << "K=1 2"_b << 12345;
        QTest::newRow("empty") << "K="_b << 12345;
        QTest::newRow("missing") << "Other=1"_b << 12345;
    }

    void readInteger()
    {
        QFETCH(QByteArray, line);
        QFETCH(int, expected);
        writeAll(m_path, "[A]\r\n" + line + "\r\n");
        QCOMPARE(TIniFile(m_path).ReadInteger("A", "K", 12345), expected);
    }

    void readFloat_data()
    {
        QTest::addColumn<QByteArray>("line");
        QTest::addColumn<double>("expected"); // the default is -99
        QTest::newRow("0.80") << "K=0.80"_b << 0.8;
        QTest::newRow("3") << "K=3"_b << 3.0;
        QTest::newRow("-1.5") << "K=-1.5"_b << -1.5;
        QTest::newRow("+300.0") << "K=+300.0"_b << 300.0;
        QTest::newRow(".5") << "K=.5"_b << 0.5;
        QTest::newRow("exponent") << "K=2.5e3"_b << 2500.0;
        QTest::newRow("negative exponent") << "K=25E-1"_b << 2.5;
        QTest::newRow("comma") << "K=1,5"_b << -99.0;
        QTest::newRow("abc") << "K=abc"_b << -99.0;
        QTest::newRow("trailing text") << "K=0.5f"_b << -99.0;
        QTest::newRow("exponent without digits") << "K=1e"_b << -99.0;
        QTest::newRow("point alone") << "K=."_b << -99.0;
        QTest::newRow("inf") << "K=inf"_b << -99.0;
        QTest::newRow("nan") << "K=nan"_b << -99.0;
        QTest::newRow("hex") << "K=0x10"_b << -99.0;
        QTest::newRow("overflow") << "K=1e999"_b << -99.0;
        QTest::newRow("empty") << "K="_b << -99.0;
        QTest::newRow("missing") << "Other=1"_b << -99.0;
    }

    void readFloat()
    {
        QFETCH(QByteArray, line);
        QFETCH(double, expected);
        writeAll(m_path, "[A]\r\n" + line + "\r\n");
        QCOMPARE(TIniFile(m_path).ReadFloat("A", "K", -99.0), expected);
    }

    void numbersIgnoreTheLocale()
    {
        const std::string previous = std::setlocale(LC_ALL, nullptr);
        if (std::setlocale(LC_ALL, "de_DE.UTF-8") == nullptr)
            QSKIP("the de_DE.UTF-8 locale is not installed (scripts/install-deps generates it)");
        writeAll(m_path, "[A]\r\nPoint=0.80\r\nComma=1,5\r\nInt=-5\r\n");
        TIniFile ini(m_path);
        const double point = ini.ReadFloat("A", "Point", -99.0);
        const double comma = ini.ReadFloat("A", "Comma", -99.0);
        const int integer = ini.ReadInteger("A", "Int", 0);
        ini.WriteInteger("A", "Written", -1234567);
        const QByteArray after = readAll(m_path);
        std::setlocale(LC_ALL, previous.c_str());
        QCOMPARE(point, 0.8);
        QCOMPARE(comma, -99.0);
        QCOMPARE(integer, -5);
        QVERIFY(after.contains("Written=-1234567\r\n"));
    }

    void readSections_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QList<QByteArray>>("expected");
        QTest::newRow("file order, repeats kept") << "[B]\nK=1\n[A]\n[b]\n"_b << QList<QByteArray>{"B", "A", "b"};
        QTest::newRow("names trimmed, text after ignored")
            << "  [ Engine.Input ] ; keys\n[a]b]\n"_b << QList<QByteArray>{"Engine.Input", "a]b"};
        QTest::newRow("not headers") << "[NoClose\nK=[x]\n x [y]\n"_b << QList<QByteArray>{};
        QTest::newRow("empty name left out") << "[]\n[A]\n"_b << QList<QByteArray>{"A"};
        QTest::newRow("empty file") << ""_b << QList<QByteArray>{};

        // The names and their zero bytes may fill 16382 bytes of the
        // platform's 16384-byte list, which ends with two zero bytes.
        QByteArray full;
        QList<QByteArray> names;
        for (int i = 0; i < 163; ++i) {
            names << "S" + QByteArray::number(i).rightJustified(98, '0'); // 99 bytes + zero
            full += "[" + names.back() + "]\r\n";
        }
        const QByteArray fits(81, 'L'); // 163 * 100 + 82 = 16382
        const QByteArray tooLong(82, 'L');
        QTest::newRow("last name fits") << full + "[" + fits + "]\r\n" << names + QList<QByteArray>{fits};
        QTest::newRow("cut name left out, and all after it") << full + "[" + tooLong + "]\r\n[x]\r\n" << names;
    }

    void readSections()
    {
        QFETCH(QByteArray, content);
        QFETCH(QList<QByteArray>, expected);
        writeAll(m_path, content);
        std::vector<std::string> sections{"stale"};
        TIniFile(m_path).ReadSections(sections);
        QList<QByteArray> got;
        for (const std::string& name : sections)
            got << bytes(name);
        QCOMPARE(got, expected);
    }

    // ---- Writing -----------------------------------------------------------

    void writeString_data()
    {
        QTest::addColumn<QByteArray>("before");
        QTest::addColumn<QByteArray>("section");
        QTest::addColumn<QByteArray>("key");
        QTest::addColumn<QByteArray>("value");
        QTest::addColumn<QByteArray>("after");

        QTest::newRow("replace keeps key, blanks and line end")
            << "[Engine.Input]\r\nBackspace = old \t\r\nF1=Help\n"_b
            << "engine.input"_b
            << "BackSpace"_b
            << "new"_b
            << "[Engine.Input]\r\nBackspace = new \t\r\nF1=Help\n"_b;
        QTest::newRow("replace first of repeated keys") << "[A]\nK=1\nK=2\n"_b
                                                        << "A"_b
                                                        << "k"_b
                                                        << "3"_b
                                                        << "[A]\nK=3\nK=2\n"_b;
        QTest::newRow("replace empty value") << "[A]\r\nK=\r\n"_b
                                             << "A"_b
                                             << "K"_b
                                             << "v"_b
                                             << "[A]\r\nK=v\r\n"_b;
        QTest::newRow("replace blank value") << "[A]\r\nK =  \r\n"_b
                                             << "A"_b
                                             << "K"_b
                                             << "v"_b
                                             << "[A]\r\nK =  v\r\n"_b;
        QTest::newRow("replace by empty") << "[A]\r\nK=1\r\n"_b
                                          << "A"_b
                                          << "K"_b
                                          << ""_b
                                          << "[A]\r\nK=\r\n"_b;
        QTest::newRow("replace in last line without line end") << "[A]\r\nK=1"_b
                                                               << "A"_b
                                                               << "K"_b
                                                               << "22"_b
                                                               << "[A]\r\nK=22"_b;
        QTest::newRow("value written as given") << "[A]\r\nK=1\r\n"_b
                                                << "A"_b
                                                << "K"_b
                                                << " \"quoted\"  x=y; #c "_b
                                                << "[A]\r\nK= \"quoted\"  x=y; #c \r\n"_b;
        QTest::newRow("untouched bytes kept") << "; comment \t\n[A]\r\n\tX=\x80\xff \r\n K=1\rY=\0z\n\n"_b
                                              << "A"_b
                                              << "K"_b
                                              << "2"_b
                                              << "; comment \t\n[A]\r\n\tX=\x80\xff \r\n K=2\rY=\0z\n\n"_b;
        QTest::newRow("new key after last entry") << "[A]\r\nX=1\r\n; note\r\n\r\n[B]\r\nY=2\r\n"_b
                                                  << "A"_b
                                                  << "Z"_b
                                                  << "3"_b
                                                  << "[A]\r\nX=1\r\nZ=3\r\n; note\r\n\r\n[B]\r\nY=2\r\n"_b;
        QTest::newRow("new key among LF lines") << "[A]\nX=1\n[B]\n"_b
                                                << "A"_b
                                                << "Z"_b
                                                << "3"_b
                                                << "[A]\nX=1\nZ=3\r\n[B]\n"_b;
        QTest::newRow("new key after last line without line end") << "[A]\nX=1"_b
                                                                  << "A"_b
                                                                  << "Z"_b
                                                                  << "3"_b
                                                                  << "[A]\nX=1\r\nZ=3\r\n"_b;
        QTest::newRow("new key after a lone CR") << "[A]\rX=1\r[B]\r"_b
                                                 << "A"_b
                                                 << "Z"_b
                                                 << "3"_b
                                                 << "[A]\rX=1\rZ=3\r\n[B]\r"_b;
        QTest::newRow("new key in empty section") << "[A]\r\n\r\n[B]\r\n"_b
                                                  << "A"_b
                                                  << "Z"_b
                                                  << "3"_b
                                                  << "[A]\r\nZ=3\r\n\r\n[B]\r\n"_b;
        QTest::newRow("new key after header without line end") << "[A]"_b
                                                               << "A"_b
                                                               << "Z"_b
                                                               << "3"_b
                                                               << "[A]\r\nZ=3\r\n"_b;
        QTest::newRow("new key in first of repeated sections") << "[A]\r\nX=1\r\n[a]\r\nZ=2\r\n"_b
                                                               << "A"_b
                                                               << "Z"_b
                                                               << "3"_b
                                                               << "[A]\r\nX=1\r\nZ=3\r\n[a]\r\nZ=2\r\n"_b;
        QTest::newRow("new section at end") << "[A]\r\nX=1\r\n"_b
                                            << "B"_b
                                            << "Z"_b
                                            << "3"_b
                                            << "[A]\r\nX=1\r\n\r\n[B]\r\nZ=3\r\n"_b;
        QTest::newRow("new section after blank line") << "[A]\nX=1\n\n"_b
                                                      << "B"_b
                                                      << "Z"_b
                                                      << "3"_b
                                                      << "[A]\nX=1\n\n[B]\r\nZ=3\r\n"_b;
        QTest::newRow("new section after last line without line end") << "[A]\nX=1"_b
                                                                      << "B"_b
                                                                      << "Z"_b
                                                                      << "3"_b
                                                                      << "[A]\nX=1\r\n\r\n[B]\r\nZ=3\r\n"_b;
        QTest::newRow("new section in empty file") << ""_b
                                                   << "B"_b
                                                   << "Z"_b
                                                   << "3"_b
                                                   << "[B]\r\nZ=3\r\n"_b;
        QTest::newRow("names written trimmed") << ""_b
                                               << " \tB "_b
                                               << " Z\x1a"_b
                                               << "3"_b
                                               << "[B]\r\nZ=3\r\n"_b;
        QTest::newRow("after a header without bracket") << "[A]\r\n[B"_b
                                                        << "B"_b
                                                        << "Z"_b
                                                        << "3"_b
                                                        << "[A]\r\n[B\r\n\r\n[B]\r\nZ=3\r\n"_b;
    }

    void writeString()
    {
        QFETCH(QByteArray, before);
        QFETCH(QByteArray, section);
        QFETCH(QByteArray, key);
        QFETCH(QByteArray, value);
        QFETCH(QByteArray, after);
        writeAll(m_path, before);
        TIniFile ini(m_path);
        ini.WriteString(str(section), str(key), str(value));
        QCOMPARE(readAll(m_path), after);
        QCOMPARE(bytes(ini.ReadString(str(section), str(key), "<default>")), value.trimmed());
        QCOMPARE(entries(m_dir.path()), QStringList{"User.ini"});
    }

    void writeCreatesTheFile()
    {
        TIniFile ini(m_path);
        ini.WriteString("Corvane", "AutoBackup", "True");
        QCOMPARE(readAll(m_path), "[Corvane]\r\nAutoBackup=True\r\n"_b);
        const mode_t mask = ::umask(0);
        ::umask(mask);
        QCOMPARE(modeOf(m_path), mode_t(0666 & ~mask));
    }

    void roundTrip_data()
    {
        QTest::addColumn<QByteArray>("value");
        QTest::newRow("quoted") << "\"GUI2K4.UT2K4DisconnectOptionPage\""_b;
        QTest::newRow("single quote") << "'s_clone"_b;
        QTest::newRow("struct") << "(Command=\"\",Alias=None)"_b;
        QTest::newRow("brackets") << "BR-[Entrenched]3"_b;
        QTest::newRow("path") << "C:\\UT2003\\System\\"_b;
        QTest::newRow("placeholders") << "%d-(%t)-%m-%p"_b;
        QTest::newRow("double spaces") << "M O N S T E R  K I L L !!!"_b;
        QTest::newRow("high bytes") << "S\xfc\xdf\x80\xff"_b;
        QTest::newRow("longest read") << QByteArray(2047, 'x');
    }

    void roundTrip()
    {
        QFETCH(QByteArray, value);
        TIniFile ini(m_path);
        ini.WriteString("Section", "Key", "first");
        ini.WriteString("Section", "Key", str(value));
        ini.WriteString("Other", "Key", str(value));
        QCOMPARE(bytes(ini.ReadString("Section", "Key", "")), value);
        QCOMPARE(bytes(ini.ReadString("Other", "Key", "")), value);
    }

    void typedWrites()
    {
        TIniFile ini(m_path);
        ini.WriteBool("A", "On", true);
        ini.WriteBool("A", "Off", false);
        ini.WriteInteger("A", "Min", -2147483647 - 1);
        ini.WriteInteger("A", "Zero", 0);
        QCOMPARE(readAll(m_path), "[A]\r\nOn=True\r\nOff=False\r\nMin=-2147483648\r\nZero=0\r\n"_b);
        QCOMPARE(ini.ReadString("A", "On", ""), std::string("True"));
        QCOMPARE(ini.ReadBool("A", "Off", true), false);
        QCOMPARE(ini.ReadInteger("A", "Min", 0), -2147483647 - 1);
    }

    // Several hundred writes of a Save mostly change nothing: those leave
    // the file as it is, not even rewritten.
    void unchangedWriteLeavesTheFile()
    {
        writeAll(m_path, "[A]\nK = same \n"_b);
        const ino_t inode = inodeOf(m_path);
        TIniFile ini(m_path);
        ini.WriteString("a", "k", "same");
        QCOMPARE(inodeOf(m_path), inode);
        QCOMPARE(readAll(m_path), "[A]\nK = same \n"_b);
        ini.WriteString("A", "K", "same "); // other bytes: written
        QCOMPARE(readAll(m_path), "[A]\nK = same  \n"_b);
    }

    // Accessors keep nothing: each sees the file as it is now.
    void accessorsShareTheFile()
    {
        TIniFile first(m_path);
        const TIniFile second(m_path);
        first.WriteString("A", "K", "1");
        QCOMPARE(second.ReadString("A", "K", ""), std::string("1"));
        writeAll(m_path, "[A]\r\nK=2\r\n");
        QCOMPARE(first.ReadString("A", "K", ""), std::string("2"));
        first.WriteString("A", "K", "3");
        first.UpdateFile();
        QCOMPARE(readAll(m_path), "[A]\r\nK=3\r\n"_b);
    }

    void refusedLineBreaks_data()
    {
        QTest::addColumn<QByteArray>("section");
        QTest::addColumn<QByteArray>("key");
        QTest::addColumn<QByteArray>("value");
        QTest::newRow("LF in value") << "A"_b
                                     << "K"_b
                                     << "1\n[Evil]"_b;
        QTest::newRow("CR in value") << "A"_b
                                     << "K"_b
                                     << "1\rX=2"_b;
        QTest::newRow("CR LF at end of value") << "A"_b
                                               << "K"_b
                                               << "1\r\n"_b;
        QTest::newRow("LF in key") << "A"_b
                                   << "K\nX"_b
                                   << "1"_b;
        QTest::newRow("CR in section") << "A\rB"_b
                                       << "K"_b
                                       << "1"_b;
        QTest::newRow("LF in new section") << "New\n"_b
                                           << "K"_b
                                           << "1"_b;
        QTest::newRow("equals in key") << "A"_b
                                       << "K=X"_b
                                       << "1"_b;
        QTest::newRow("key reads as header") << "A"_b
                                             << "[K]"_b
                                             << "1"_b;
        QTest::newRow("key and value read as header") << "A"_b
                                                      << "[K"_b
                                                      << "x]"_b;
    }

    void refusedLineBreaks()
    {
        QFETCH(QByteArray, section);
        QFETCH(QByteArray, key);
        QFETCH(QByteArray, value);
        const QByteArray before = "[A]\r\nK=0\r\n";
        for (bool exists : {true, false}) {
            if (exists)
                writeAll(m_path, before);
            else
                QFile::remove(QString::fromStdString(m_path));
            TIniFile ini(m_path);
            try {
                ini.WriteString(str(section), str(key), str(value));
                QFAIL("the write was not refused");
            } catch (const ECorvaneError& error) {
                const std::string message = error.what();
                QVERIFY2(message.rfind("Unable to write to " + m_path + ": ", 0) == 0, message.c_str());
                QVERIFY(message.find('\n') == std::string::npos && message.find('\r') == std::string::npos);
            }
            QCOMPARE(readAll(m_path), exists ? before : "<missing>"_b);
        }
    }

    // ---- Failures and what a write keeps --------------------------------------

    void failedWrite_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QByteArray>("value");
        QTest::newRow("read-only file") << "read-only"
                                        << "new"_b;
        QTest::newRow("read-only file, same value") << "read-only"
                                                    << "old"_b;
        QTest::newRow("missing directory") << "missing-dir"
                                           << "new"_b;
        QTest::newRow("path is a directory") << "directory"
                                             << "new"_b;
        QTest::newRow("unreadable file") << "unreadable"
                                         << "new"_b;
        QTest::newRow("unwritable directory, full disk") << "unwritable-dir" << QByteArray(20000, 'x');
        QTest::newRow("full disk") << "full-disk" << QByteArray(20000, 'x');
    }

    void failedWrite()
    {
        QFETCH(QString, kind);
        QFETCH(QByteArray, value);
        const QByteArray before = "; keep\n[A]\r\nK=old\r\n";
        writeAll(m_path, before);
        std::string target = m_path;
        bool asNobody = false;
        rlim_t sizeLimit = 0;
        mode_t dirMode = 0700;
        if (kind == "read-only") {
            ::chmod(m_path.c_str(), 0444);
        } else if (kind == "missing-dir") {
            target = path("NoSuchDir/User.ini");
        } else if (kind == "directory") {
            target = path("Dir.ini");
            QVERIFY(QDir(m_dir.path()).mkdir("Dir.ini"));
        } else if (kind == "unreadable") {
            // Root reads anything: the write runs as a user who may only write the file.
            if (::geteuid() == 0) QCOMPARE(::chown(m_path.c_str(), 65534, 65534), 0);
            ::chmod(m_path.c_str(), 0200);
            dirMode = 0777;
            asNobody = true;
        } else if (kind == "unwritable-dir") {
            ::chmod(m_path.c_str(), 0666);
            dirMode = 0555;
            asNobody = true;
            sizeLimit = 4096; // written in place, and put back when the place runs out
        } else if (kind == "full-disk") {
            sizeLimit = 4096;
        }
        ::chmod(QFile::encodeName(m_dir.path()).constData(), dirMode);
        const QStringList filesBefore = entries(m_dir.path());

        const int outcome = inChild([&] {
            if (asNobody && !dropToNobody()) return int(NoPrivilegeDrop);
            if (sizeLimit != 0) {
                std::signal(SIGXFSZ, SIG_IGN); // a short write, not a killed process
                const rlimit limit{sizeLimit, sizeLimit};
                ::setrlimit(RLIMIT_FSIZE, &limit);
            }
            TIniFile ini(target);
            return int(tryWrite(ini, "A", "K", str(value)));
        });
        ::chmod(QFile::encodeName(m_dir.path()).constData(), 0700);
        QCOMPARE(outcome, int(WriteRefused));
        ::chmod(m_path.c_str(), 0644);
        QCOMPARE(readAll(m_path), before);
        QCOMPARE(entries(m_dir.path()), filesBefore); // no temporary file left
    }

    // A directory that refuses new files still lets a writable profile be
    // written: in place, with nothing left beside it.
    void writesInPlaceWhenTheDirectoryRefusesNewFiles()
    {
        writeAll(m_path, "; keep\n[A]\r\nK=old\r\n");
        ::chmod(m_path.c_str(), 0666);
        const QStringList filesBefore = entries(m_dir.path());
        ::chmod(QFile::encodeName(m_dir.path()).constData(), 0555);
        const int outcome = inChild([&] {
            if (!dropToNobody()) return int(NoPrivilegeDrop);
            TIniFile ini(m_path);
            return int(tryWrite(ini, "A", "K", "a longer new value"));
        });
        ::chmod(QFile::encodeName(m_dir.path()).constData(), 0700);
        QCOMPARE(outcome, int(WriteDone));
        QCOMPARE(readAll(m_path), "; keep\n[A]\r\nK=a longer new value\r\n"_b);
        QCOMPARE(entries(m_dir.path()), filesBefore);
    }

    void keepsPermissionsAndOwner_data()
    {
        QTest::addColumn<int>("mode");
        QTest::newRow("0600") << 0600;
        QTest::newRow("0640") << 0640;
        QTest::newRow("0604") << 0604;
        QTest::newRow("0666") << 0666;
        QTest::newRow("write bit for others only") << 0446;
    }

    void keepsPermissionsAndOwner()
    {
        QFETCH(int, mode);
        writeAll(m_path, "[A]\r\nK=1\r\n");
        const bool root = ::geteuid() == 0;
        if (root) QCOMPARE(::chown(m_path.c_str(), 65534, 65534), 0);
        QCOMPARE(::chmod(m_path.c_str(), static_cast<mode_t>(mode)), 0);
        if (!root && mode == 0446) QSKIP("only root may write a file through the bits of others");
        TIniFile(m_path).WriteString("A", "K", "2");
        QCOMPARE(readAll(m_path), "[A]\r\nK=2\r\n"_b);
        QCOMPARE(modeOf(m_path), mode_t(mode));
        if (root) {
            struct stat info {};
            QCOMPARE(::stat(m_path.c_str(), &info), 0);
            QCOMPARE(info.st_uid, uid_t(65534));
            QCOMPARE(info.st_gid, gid_t(65534));
        }
    }

    void symbolicLinks_data()
    {
        QTest::addColumn<QByteArray>("link");   // relative to the test directory
        QTest::addColumn<QByteArray>("points"); // the link's text
        QTest::addColumn<QByteArray>("target"); // the file it reaches
        QTest::newRow("relative") << "User.ini"_b
                                  << "Real.ini"_b
                                  << "Real.ini"_b;
        QTest::newRow("from another directory") << "Sub/User.ini"_b
                                                << "../Real.ini"_b
                                                << "Real.ini"_b;
        QTest::newRow("chain") << "User.ini"_b
                               << "Middle.ini"_b
                               << "Real.ini"_b;
        QTest::newRow("dangling: target created") << "User.ini"_b
                                                  << "New.ini"_b
                                                  << "New.ini"_b;
    }

    void symbolicLinks()
    {
        QFETCH(QByteArray, link);
        QFETCH(QByteArray, points);
        QFETCH(QByteArray, target);
        const std::string dir = str(QFile::encodeName(m_dir.path())) + "/";
        QDir(m_dir.path()).mkdir("Sub");
        if (target != "New.ini") writeAll(dir + "Real.ini", "[A]\nK=1\n");
        if (points == "Middle.ini") QCOMPARE(::symlink("Real.ini", (dir + "Middle.ini").c_str()), 0);
        QCOMPARE(::symlink(points.constData(), (dir + str(link)).c_str()), 0);

        TIniFile ini(dir + str(link));
        ini.WriteString("A", "K", "2");
        ini.UpdateFile();
        QCOMPARE(readAll(dir + str(target)), target == "New.ini" ? "[A]\r\nK=2\r\n"_b : "[A]\nK=2\n"_b);
        char text[256] = {};
        QCOMPARE(::readlink((dir + str(link)).c_str(), text, sizeof text - 1), points.size());
        QCOMPARE(QByteArray(text), points);
    }

    // A kill at any moment leaves the old content or the new, never a part.
    void killDuringWrites()
    {
        const QByteArray filler = syntheticProfile(2000); // ~200 KB: each write takes a while
        const QByteArray contentA = "[A]\r\nK=" + QByteArray(5000, 'a') + "\r\n" + filler;
        const QByteArray contentB = "[A]\r\nK=" + QByteArray(7000, 'b') + "\r\n" + filler;
        writeAll(m_path, contentA);
        for (int round = 0; round < 5; ++round) {
            int pipeEnds[2];
            QCOMPARE(::pipe(pipeEnds), 0);
            const pid_t pid = ::fork();
            if (pid == 0) {
                ::close(pipeEnds[0]);
                TIniFile ini(m_path);
                for (int i = 0;; ++i) {
                    try {
                        ini.WriteString("A", "K", i % 2 ? std::string(5000, 'a') : std::string(7000, 'b'));
                    } catch (...) {
                        ::_exit(1);
                    }
                    if (::write(pipeEnds[1], "w", 1) != 1) ::_exit(2);
                }
            }
            ::close(pipeEnds[1]);
            char done[64];
            std::size_t writes = 0;
            const std::size_t wanted = 3 + static_cast<std::size_t>(round) * 7;
            while (writes < wanted) {
                const ssize_t got = ::read(pipeEnds[0], done, std::min(sizeof done, wanted - writes));
                if (got <= 0) break;
                writes += static_cast<std::size_t>(got);
            }
            ::kill(pid, SIGKILL);
            int status = 0;
            ::waitpid(pid, &status, 0);
            ::close(pipeEnds[0]);
            QCOMPARE(writes, wanted);
            QVERIFY(WIFSIGNALED(status));
            const QByteArray content = readAll(m_path);
            QVERIFY2(content == contentA || content == contentB, "the file holds neither the old nor the new content");
        }
    }

    // ---- Malformed input --------------------------------------------------------

    void malformedInput_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QByteArray>("section"); // an entry to read: section, key, value
        QTest::addColumn<QByteArray>("key");
        QTest::addColumn<QByteArray>("value");

        std::mt19937 random(2003);
        QByteArray garbage(1 << 20, '\0');
        for (char& c : garbage)
            c = static_cast<char>(random());
        QTest::newRow("binary garbage") << garbage << "\x01\x02"_b
                                        << "\x03"_b
                                        << "<default>"_b;
        // NUL is no blank: "\0[A]" is no header.
        QTest::newRow("NUL bytes") << "\0\0[A]\0\r\n\0K\0=\0\r\n[A]\r\nK=1\r\n"_b
                                   << "A"_b
                                   << "K"_b
                                   << "1"_b;
        QTest::newRow("10 MB line") << "[A]\r\nK=" + QByteArray(10 << 20, 'x') + "\r\nJ=1\r\n"
                                    << "A"_b
                                    << "J"_b
                                    << "1"_b;
        QTest::newRow("10 MB header line") << "[" + QByteArray(10 << 20, '[') + "\r\nK=1\r\n"
                                           << "A"_b
                                           << "K"_b
                                           << "<default>"_b;
        QTest::newRow("10 MB of blanks before a bracket") << "[A]\r\nK=1\r\nX" + QByteArray(10 << 20, ' ') + "[B]\r\n"
                                                          << "A"_b
                                                          << "K"_b
                                                          << "1"_b;
        QByteArray many;
        for (int i = 0; i < 100000; ++i)
            many += "[S" + QByteArray::number(i) + "]\r\nK=" + QByteArray::number(i) + "\r\n";
        QTest::newRow("100 000 sections") << many << "s99999"_b
                                          << "K"_b
                                          << "99999"_b;
        QTest::newRow("header without bracket at end") << "[A]\r\nK=1\r\n[B"_b
                                                       << "A"_b
                                                       << "K"_b
                                                       << "1"_b;
        QTest::newRow("lone brackets") << "[\r\n]\r\n[[\r\n]]\r\n["_b
                                       << "A"_b
                                       << "K"_b
                                       << "<default>"_b;
    }

    // Nothing crashes, reads find what is there, and a write keeps every byte.
    void malformedInput()
    {
        QFETCH(QByteArray, content);
        QFETCH(QByteArray, section);
        QFETCH(QByteArray, key);
        QFETCH(QByteArray, value);
        writeAll(m_path, content);
        TIniFile ini(m_path);
        QCOMPARE(bytes(ini.ReadString(str(section), str(key), "<default>")), value);
        std::vector<std::string> sections;
        ini.ReadSections(sections);
        QVERIFY(sections.size() <= 16384 / 2);
        ini.ReadString("A", "K", "");

        ini.WriteString("Corvane.Test", "Key", "Value");
        const QByteArray after = readAll(m_path);
        QVERIFY(after.startsWith(content));
        QVERIFY(after.endsWith("[Corvane.Test]\r\nKey=Value\r\n"));
        QVERIFY(after.size() <= content.size() + 33);
        QCOMPARE(ini.ReadString("Corvane.Test", "Key", ""), std::string("Value"));
        if (value != "<default>") {
            ini.WriteString(str(section), str(key), "changed");
            QCOMPARE(ini.ReadString(str(section), str(key), ""), std::string("changed"));
            QCOMPARE(readAll(m_path).size(), after.size() + 7 - value.size());
        }
    }

    // The vector searches for headers find what the plain byte loop finds,
    // at every alignment and across the ends of their blocks.
    void headerSearchesAgree()
    {
        using namespace std::string_view_literals;
        // A string_view literal keeps the zero byte inside "[\0]".
        const std::string_view fragments[] = {"[A]"sv,          "  [B]"sv, "\t[c] x"sv, "["sv,   "]"sv,    "x [y]"sv,
                                              "Aliases[0]=v"sv, "K=1"sv,   ""sv,        "[D"sv,  ";[E]"sv, "\x1a[F]"sv,
                                              "\v[G]"sv,        "[[H]]"sv, " [ "sv,     "[\0]"sv};
        const char* lineEnds[] = {"\r\n", "\n", "\r"};
        std::mt19937 random(2003);
        std::string buffer;
        const IniText::HeaderSearch best = IniText::useHeaderSearch(IniText::HeaderSearch::Scalar);
        IniText::useHeaderSearch(best);
        int compared = 0;
        for (int round = 0; round < 300; ++round) {
            std::string content;
            const int lines = static_cast<int>(random() % 60);
            for (int i = 0; i < lines; ++i) {
                content.append(std::string(random() % 4 == 0 ? random() % 300 : 0, 'x'));
                content += fragments[random() % std::size(fragments)];
                content += lineEnds[random() % 3];
            }
            const std::size_t offset = random() % 64;
            buffer.assign(offset, '\n');
            buffer += content;
            const std::string_view view(buffer.data() + offset, content.size());

            std::vector<std::vector<std::string>> listed;
            std::vector<std::vector<std::size_t>> found;
            for (IniText::HeaderSearch search : IniText::availableHeaderSearches()) {
                IniText::useHeaderSearch(search);
                std::vector<std::string> names;
                IniText::listSections(view, names, 16384);
                std::vector<std::size_t> places;
                for (const char* name : {"A", "B", "C", "D", "F", "G", "[H]", "y", ""}) {
                    const IniText::Location where = IniText::locate(view, name, "K");
                    places.insert(places.end(), {where.sectionFound, where.entryFound, where.valueBegin, where.insertAt,
                                                 where.insertNeedsLineEnd});
                }
                listed.push_back(names);
                found.push_back(places);
            }
            IniText::useHeaderSearch(best);
            for (std::size_t i = 1; i < listed.size(); ++i) {
                QCOMPARE(listed[i], listed[0]);
                QCOMPARE(found[i], found[0]);
                ++compared;
            }
        }
        if (compared == 0) QSKIP("this processor offers only the plain search");
    }

    // ---- Several writes at once --------------------------------------------

    // A batch leaves exactly the bytes of its writes one by one, on the demo
    // game's files, the real game files and a few odd ones: seeded random
    // writes to existing keys (in other letter case), new keys, new sections,
    // the old value again and the same key twice; half the rounds only to
    // keys the file has. A batch that changes nothing does not touch the file.
    void batchedWritesEqualOneByOne()
    {
        std::vector<QByteArray> contents = {"", "[A]", "[A]\r\nk=v", "x=1\n[B]\r\n\r\n", "\r\n[C]\nq = 1 \r"};
        QStringList sources = {TestSupport::demoGameDir() + "/System/User.ini",
                               TestSupport::demoGameDir() + "/System/UT2003.ini"};
        const QDir corpus(QStringLiteral(CORVANE_CORPUS_DIR));
        for (const QString& name : corpus.entryList({"*.ini", "*.int"}, QDir::Files, QDir::Name))
            sources << corpus.filePath(name);
        for (const QString& source : sources)
            contents.push_back(readAll(str(QFile::encodeName(source))));
        std::mt19937 random(2003);
        const auto pick = [&](std::size_t n) { return static_cast<std::size_t>(random() % n); };
        const auto recased = [&](std::string name) {
            for (char& c : name)
                if (pick(3) == 0) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
            return name;
        };
        const std::string one = path("one.ini"), batch = path("batch.ini");
        for (const QByteArray& content : contents) {
            const std::vector<Entry> found = firstEntries(content);
            for (int round = 0; round < 16; ++round) {
                std::vector<IniEdits::Write> writes;
                for (int i = 0, count = 1 + int(pick(40)); i < count; ++i) {
                    IniEdits::Write w;
                    // Half the rounds write only keys the file has (the writes in place).
                    if (!found.empty() && (round % 2 == 0 || pick(4) != 0)) {
                        const Entry& e = found[pick(found.size())];
                        w = {recased(e.section), recased(e.key), {}};
                    } else {
                        w = {"Section" + std::to_string(pick(5)), "Key" + std::to_string(pick(5)), {}};
                    }
                    const std::string old(IniEdits::valueOf(content.toStdString(), w.section, w.key).value_or("old"));
                    w.value = pick(3) == 0 ? old : pick(5) == 0 ? std::string() : "v" + std::to_string(pick(1000));
                    writes.push_back(w);
                    if (pick(6) == 0) writes.push_back(writes[pick(writes.size())]);
                }
                writeAll(one, content);
                writeAll(batch, content);
                TIniFile single(one), batched(batch);
                for (const IniEdits::Write& w : writes)
                    single.WriteString(w.section, w.key, w.value);
                const struct stat before = statOf(batch);
                batched.WriteStrings(writes);
                QCOMPARE(readAll(batch), readAll(one));
                if (readAll(one) == content) QCOMPARE(statOf(batch).st_ino, before.st_ino);
            }
        }
    }

    // ---- The game's own files -------------------------------------------------

    // Rewrites every entry of the real game files (in a copy): only that
    // value's bytes change, and writing the old value back gives the file
    // back byte for byte.
    void corpusFilesKeepTheirBytes()
    {
        const QDir corpus(QStringLiteral(CORVANE_CORPUS_DIR));
        if (!corpus.exists()) QSKIP("no corpus of game files beside the project");
        const QStringList files = corpus.entryList({"*.ini", "*.int", "*.upl"}, QDir::Files, QDir::Name);
        QVERIFY(!files.isEmpty());
        for (const QString& name : files) {
            const QByteArray original = readAll(str(QFile::encodeName(corpus.filePath(name))));
            writeAll(m_path, original);
            TIniFile ini(m_path);
            const std::vector<Entry> found = firstEntries(original);
            QVERIFY2(!found.empty(), qPrintable(name));
            int counter = 0;
            for (const Entry& entry : found) {
                const std::string context = name.toStdString() + " [" + entry.section + "] " + entry.key;
                const std::string old = ini.ReadString(entry.section, entry.key, "<missing>");
                QVERIFY2(old != "<missing>", context.c_str());
                const std::string changed = "corvane:" + std::to_string(++counter);
                ini.WriteString(entry.section, entry.key, changed);
                QVERIFY2(ini.ReadString(entry.section, entry.key, "") == changed, context.c_str());

                // The bytes that differ lie inside one line of the old file and of the new.
                const QByteArray now = readAll(m_path);
                qsizetype prefix = 0;
                while (prefix < now.size() && prefix < original.size() && now[prefix] == original[prefix])
                    ++prefix;
                qsizetype suffix = 0;
                while (suffix < now.size() - prefix && suffix < original.size() - prefix &&
                       now[now.size() - 1 - suffix] == original[original.size() - 1 - suffix])
                    ++suffix;
                const QByteArray removed = original.mid(prefix, original.size() - prefix - suffix);
                const QByteArray added = now.mid(prefix, now.size() - prefix - suffix);
                QVERIFY2(!removed.contains('\n') && !removed.contains('\r'), context.c_str());
                QVERIFY2(!added.contains('\n') && !added.contains('\r'), context.c_str());

                ini.WriteString(entry.section, entry.key, old);
                QVERIFY2(readAll(m_path) == original, context.c_str());
            }
            std::vector<std::string> sections;
            ini.ReadSections(sections);
            QVERIFY2(!sections.empty(), qPrintable(name));
        }
    }
};

QTEST_APPLESS_MAIN(TestProfile)
#include "test_profile.moc"
