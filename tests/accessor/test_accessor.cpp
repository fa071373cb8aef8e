// The profile accessor on its own, without Qt, so that the same checks run
// natively and as a Windows program (cross-compiled with mingw-w64, run under
// wine): the reading rules, the bytes a write keeps, and the writes refused;
// on Windows also what only Windows has (WindowsCases.cpp).

#include "AccessorChecks.h"
#include "WindowsCases.h"

#include "profile/FaultInjection.h"
#include "profile/IniFiles.h"

#include <string>
#include <vector>

namespace {

void readingRules()
{
    struct Row {
        const char* name;
        std::string content;
        const char* section;
        const char* key;
        std::string expected;
    };
    const std::string none = "<default>";
    const std::vector<Row> rows = {
        {"plain entry", "[A]\r\nKey=Value\r\n", "A", "Key", "Value"},
        {"names in any case, blanks trimmed", "[a]\r\n  key = spaced \t\r\n", " A ", "KEY", "spaced"},
        {"the first of two entries", "[A]\nKey=first\nKey=second\n", "A", "Key", "first"},
        {"the first of two sections", "[A]\r\nKey=1\r\n[a]\r\nKey=2\r\n", "A", "Key", "1"},
        {"a key of another section", "[A]\r\nOther=1\r\n[B]\r\nKey=x\r\n", "A", "Key", none},
        {"lines ended by a lone CR", "[A]\rKey=lone CR\r", "A", "Key", "lone CR"},
        {"text after the header's bracket", "[ A ] trailing\r\nKey=v\r\n", "A", "Key", "v"},
        {"no closing bracket, no header", "[A\r\nKey=v\r\n", "A", "Key", none},
        {"an empty value is a value", "[A]\r\nNoEquals\r\nKey=\r\n", "A", "Key", ""},
        {"\"=\" inside the value", "[A]\r\nKey=a=b\r\n", "A", "Key", "a=b"},
        {"a value cut at 2047 bytes", "[A]\r\nKey=" + std::string(3000, 'x') + "\r\n", "A", "Key",
         std::string(2047, 'x')},
        {"bytes beyond ASCII kept", "[A]\r\nKey=\xE9t\xE9\r\n", "A", "Key", "\xE9t\xE9"},
    };
    const Scratch scratch;
    for (const Row& row : rows) {
        g_case = std::string("readingRules: ") + row.name;
        const TIniFile ini(utf8(scratch.file("User.ini", row.content)));
        CHECK_EQUAL(ini.ReadString(row.section, row.key, none), row.expected);
    }

    g_case = "readingRules: numbers and flags";
    const TIniFile ini(utf8(scratch.file("User.ini", "[N]\r\nHex=$1F\r\nCHex=0x1F\r\nNeg=-5\r\nJunk=12abc\r\n"
                                                     "Float=1.5\r\nComma=1,5\r\nZero=0\r\nOne=1\r\nNo=False\r\n"
                                                     "Yes=yes\r\n[]\r\n[Two]\r\n")));
    CHECK_EQUAL(ini.ReadInteger("N", "Hex", 0), 31);
    CHECK_EQUAL(ini.ReadInteger("N", "CHex", 0), 31);
    CHECK_EQUAL(ini.ReadInteger("N", "Neg", 0), -5);
    CHECK_EQUAL(ini.ReadInteger("N", "Junk", 7), 7);
    CHECK_EQUAL(ini.ReadFloat("N", "Float", 0.0), 1.5);
    CHECK_EQUAL(ini.ReadFloat("N", "Comma", 2.5), 2.5);
    CHECK_EQUAL(ini.ReadBool("N", "Zero", true), false);
    CHECK_EQUAL(ini.ReadBool("N", "One", false), true);
    CHECK_EQUAL(ini.ReadBool("N", "No", true), false);
    CHECK_EQUAL(ini.ReadBool("N", "Yes", false), true);
    CHECK_EQUAL(ini.ReadBool("N", "Missing", true), true);
    std::vector<std::string> sections;
    ini.ReadSections(sections);
    CHECK(sections == (std::vector<std::string>{"N", "Two"}));
}

void writesKeepOtherBytes()
{
    g_case = "writesKeepOtherBytes";
    const Scratch scratch;
    const std::string head = "; written by hand\r\n[Engine]\r\nA=1\nB = ";
    const std::string tail = "  \r\n\r\n[Other]\r\nB=1\r\nodd line\r\n";
    const fs::path path = scratch.file("User.ini", head + "two" + tail);
    TIniFile ini(utf8(path));

    ini.WriteString("engine", "b", "three");
    CHECK_EQUAL(readFile(path), head + "three" + tail);
    CHECK(ini.LastWrite() == stampOf(utf8(path)));

    ini.WriteString("Engine", "New", "x");
    const std::string withNew = head + "three  \r\nNew=x\r\n\r\n[Other]\r\nB=1\r\nodd line\r\n";
    CHECK_EQUAL(readFile(path), withNew);

    ini.WriteInteger("Fresh", "Count", -3);
    CHECK_EQUAL(readFile(path), withNew + "\r\n[Fresh]\r\nCount=-3\r\n");

    // A write of the value the file holds leaves the file alone.
    const FileStamp before = stampOf(utf8(path));
    ini.WriteString("Other", "B", "1");
    CHECK(stampOf(utf8(path)) == before);
    CHECK(ini.LastWrite() == before);

    // Another program's rewrite shows in the stamp.
    writeFile(path, "[Other]\r\nB=2\r\n");
    CHECK(stampOf(utf8(path)) != ini.LastWrite());
    CHECK_EQUAL(ini.ReadString("Other", "B", ""), std::string("2"));

    // A missing file is made, and no temporary file stays beside it.
    TIniFile fresh(utf8(scratch.dir() / "UT2003.ini"));
    fresh.WriteString("URL", "Name", "Player");
    fresh.UpdateFile();
    CHECK_EQUAL(readFile(scratch.dir() / "UT2003.ini"), std::string("[URL]\r\nName=Player\r\n"));
    CHECK_EQUAL(entries(scratch.dir()).size(), std::size_t(2));
    CHECK_EQUAL(stampOf(utf8(scratch.dir() / "missing.ini")).size, std::int64_t(-1));
}

void refusedWrites()
{
    const Scratch scratch;
    const std::string content = "[Engine]\r\nA=1\r\n";
    const fs::path path = scratch.file("User.ini", content);
    TIniFile ini(utf8(path));
    const std::string refusal = "Unable to write to " + utf8(path);

    g_case = "refusedWrites: a line break in the value";
    checkRefused(
        scratch, path, [&] { ini.WriteString("Engine", "A", "1\r\n[Evil]"); }, refusal + ": ", __LINE__);

    g_case = "refusedWrites: a failing disk";
    FaultInjection::setHook([](FaultInjection::Operation operation, const std::string&) {
        return operation != FaultInjection::Operation::Write;
    });
    checkRefused(
        scratch, path, [&] { ini.WriteString("Engine", "A", "2"); }, refusal, __LINE__);
    FaultInjection::setHook(nullptr);

    g_case = "refusedWrites: a read-only file";
    fs::permissions(path, fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                    fs::perm_options::remove);
    checkRefused(
        scratch, path, [&] { ini.WriteString("Engine", "A", "2"); }, refusal, __LINE__);
    // Even a write that would change nothing.
    checkRefused(
        scratch, path, [&] { ini.WriteString("Engine", "A", "1"); }, refusal, __LINE__);
    CHECK_EQUAL(ini.ReadString("Engine", "A", ""), std::string("1"));

    g_case = "refusedWrites: a directory where the file should be";
    fs::create_directory(scratch.dir() / "Dir.ini");
    TIniFile directory(utf8(scratch.dir() / "Dir.ini"));
    checkRefused(
        scratch, path, [&] { directory.WriteString("Engine", "A", "2"); },
        "Unable to write to " + utf8(scratch.dir() / "Dir.ini"), __LINE__);
}

} // namespace

int main()
{
    try {
        readingRules();
        writesKeepOtherBytes();
        refusedWrites();
#ifdef _WIN32
        windowsCases();
#endif
    } catch (const std::exception& error) {
        std::fprintf(stderr, "FAIL %s: unexpected error: %s\n", g_case.c_str(), error.what());
        return 1;
    }
    if (g_failures != 0) {
        std::fprintf(stderr, "%d check(s) failed\n", g_failures);
        return 1;
    }
    std::printf("test_accessor: all checks passed\n");
    return 0;
}
