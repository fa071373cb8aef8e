#include "WindowsCases.h"

#include "AccessorChecks.h"

#include "profile/IniFiles.h"

#ifndef NOMINMAX
#define NOMINMAX
#endif
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

#include <algorithm>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

namespace {

constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

class Handle {
public:
    explicit Handle(HANDLE handle)
        : m_handle(handle)
    {
    }
    ~Handle() { close(); }
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;

    HANDLE get() const { return m_handle; }
    bool valid() const { return m_handle != INVALID_HANDLE_VALUE; }
    void close()
    {
        if (valid()) ::CloseHandle(m_handle);
        m_handle = INVALID_HANDLE_VALUE;
    }

private:
    HANDLE m_handle;
};

// The test reaches its files through the "\\?\" form of their paths, made
// here and not by the accessor, so that it sees paths of any length.
std::wstring longForm(std::wstring path)
{
    std::replace(path.begin(), path.end(), L'/', L'\\');
    if (path.rfind(L"\\\\?\\", 0) == 0) return path;
    return L"\\\\?\\" + path;
}

std::wstring wideOf(const fs::path& path) { return longForm(path.wstring()); }

std::string readRest(HANDLE file)
{
    std::string bytes;
    char chunk[65536];
    DWORD got = 0;
    while (::ReadFile(file, chunk, sizeof chunk, &got, nullptr) && got > 0)
        bytes.append(chunk, got);
    return bytes;
}

std::string readWide(const std::wstring& path)
{
    const Handle file(::CreateFileW(path.c_str(), GENERIC_READ, kShareAll, nullptr, OPEN_EXISTING, 0, nullptr));
    return file.valid() ? readRest(file.get()) : "<missing>";
}

bool writeWide(const std::wstring& path, const std::string& bytes)
{
    const Handle file(::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    DWORD written = 0;
    return file.valid() && ::WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
           written == bytes.size();
}

// The names in a directory, as Windows lists them.
std::vector<std::wstring> wideEntries(const std::wstring& directory)
{
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW found;
    const HANDLE search = ::FindFirstFileW((directory + L"\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return names;
    do {
        const std::wstring name = found.cFileName;
        if (name != L"." && name != L"..") names.push_back(name);
    } while (::FindNextFileW(search, &found));
    ::FindClose(search);
    std::sort(names.begin(), names.end());
    return names;
}

void removeTree(const std::wstring& path)
{
    const DWORD attributes = ::GetFileAttributesW(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) return;
    ::SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    if ((attributes & FILE_ATTRIBUTE_DIRECTORY) == 0) {
        ::DeleteFileW(path.c_str());
        return;
    }
    for (const std::wstring& name : wideEntries(path))
        removeTree(path + L"\\" + name);
    ::RemoveDirectoryW(path.c_str());
}

// Runs a write: "" when it went through, else the error's text.
std::string attempt(const std::function<void()>& write)
{
    try {
        write();
    } catch (const ECorvaneError& error) {
        return error.what();
    }
    return "";
}

bool startsWith(const std::string& text, const std::string& start) { return text.rfind(start, 0) == 0; }

std::string profileWith(const std::string& value, std::size_t padding = 0)
{
    return "[Engine]\r\nA=" + value + "\r\n" + (padding > 0 ? "Pad=" + std::string(padding, 'p') + "\r\n" : "");
}

void replacedWhileOpenForReading()
{
    struct Row {
        const char* name;
        DWORD share;
    };
    const Row rows[] = {
        {"a reader that lets others read, write and delete", kShareAll},
        {"a reader that lets others read and write, as the C runtime's fopen does", FILE_SHARE_READ | FILE_SHARE_WRITE},
        {"a reader that lets others only read", FILE_SHARE_READ},
    };
    // Larger than one read of the reader, so that a file changed under it
    // would show in what it reads next.
    const std::string before = profileWith("1", 200000);
    const std::string after = profileWith("2", 200000);
    for (const Row& row : rows) {
        g_case = std::string("replacedWhileOpenForReading: ") + row.name;
        const Scratch scratch;
        const fs::path path = scratch.file("User.ini", before);
        Handle reader(::CreateFileW(wideOf(path).c_str(), GENERIC_READ, row.share, nullptr, OPEN_EXISTING, 0, nullptr));
        CHECK(reader.valid());
        char head[64];
        DWORD got = 0;
        CHECK(::ReadFile(reader.get(), head, sizeof head, &got, nullptr) && got == sizeof head);

        TIniFile ini(utf8(path));
        const std::string error = attempt([&] { ini.WriteString("Engine", "A", "2"); });
        CHECK(error.empty() || startsWith(error, "Unable to write to " + utf8(path)));
        // The reader goes on with the old bytes; the file holds one whole version.
        CHECK_EQUAL(std::string(head, got) + readRest(reader.get()), before);
        const std::string expected = error.empty() ? after : before;
        CHECK_EQUAL(readWide(wideOf(path)), expected);
        CHECK(wideEntries(wideOf(scratch.dir())) == std::vector<std::wstring>{L"User.ini"});
        reader.close();
        CHECK_EQUAL(readWide(wideOf(path)), expected);

        // With the reader gone the write goes through.
        ini.WriteString("Engine", "A", "3");
        CHECK_EQUAL(readWide(wideOf(path)), profileWith("3", 200000));
        CHECK(wideEntries(wideOf(scratch.dir())) == std::vector<std::wstring>{L"User.ini"});
    }
}

// Another program that reads the profile again and again while it is
// written (the game, a virus scanner): every read sees one whole version,
// the versions never go back, and every write goes through.
struct Reading {
    std::string path;
    volatile LONG stop = 0;
    int reads = 0;
    int torn = 0;
    int backwards = 0;
};

DWORD WINAPI readAgainAndAgain(void* context)
{
    Reading& reading = *static_cast<Reading*>(context);
    const TIniFile ini(reading.path);
    int last = 0;
    while (::InterlockedCompareExchange(&reading.stop, 0, 0) == 0) {
        // The count is the file's last entry: a file cut short has none.
        const std::string value = ini.ReadString("Engine", "Count", "<none>");
        ++reading.reads;
        const int count = value == "<none>" ? -1 : std::atoi(value.c_str());
        if (count < 0)
            ++reading.torn;
        else if (count < last)
            ++reading.backwards;
        last = std::max(last, count);
        ::Sleep(10 + static_cast<DWORD>(reading.reads % 11)); // at no fixed beat
    }
    return 0;
}

void readWhileWritten()
{
    g_case = "readWhileWritten";
    const Scratch scratch;
    const fs::path path = scratch.file("User.ini", profileWith("1", 30000) + "Count=0\r\n");
    Reading reading;
    reading.path = utf8(path);
    const HANDLE thread = ::CreateThread(nullptr, 0, readAgainAndAgain, &reading, 0, nullptr);
    CHECK(thread != nullptr);

    TIniFile ini(utf8(path));
    constexpr int kWrites = 150;
    int failed = 0;
    for (int count = 1; count <= kWrites; ++count)
        if (!attempt([&] { ini.WriteString("Engine", "Count", std::to_string(count)); }).empty()) ++failed;
    ::InterlockedExchange(&reading.stop, 1);
    if (thread != nullptr) {
        ::WaitForSingleObject(thread, INFINITE);
        ::CloseHandle(thread);
    }
    CHECK(reading.reads > 0);
    CHECK_EQUAL(reading.torn, 0);
    CHECK_EQUAL(reading.backwards, 0);
    CHECK_EQUAL(failed, 0);
    CHECK_EQUAL(ini.ReadString("Engine", "Count", ""), std::to_string(kWrites));
    CHECK(wideEntries(wideOf(scratch.dir())) == std::vector<std::wstring>{L"User.ini"});
}

void readOnlyAttribute()
{
    struct Row {
        const char* name;
        DWORD attributes;
    };
    const Row rows[] = {
        {"read-only", FILE_ATTRIBUTE_READONLY},
        {"read-only and hidden", FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN},
        {"read-only, system and archive", FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE},
    };
    for (const Row& row : rows) {
        g_case = std::string("readOnlyAttribute: ") + row.name;
        const Scratch scratch;
        const fs::path path = scratch.file("UT2003.ini", profileWith("1"));
        const std::wstring wide = wideOf(path);
        CHECK(::SetFileAttributesW(wide.c_str(), row.attributes));
        const DWORD given = ::GetFileAttributesW(wide.c_str());
        CHECK((given & FILE_ATTRIBUTE_READONLY) != 0);
        if ((given & row.attributes) != row.attributes) {
            std::printf("%s: skipped, the file system keeps only some of the attributes\n", g_case.c_str());
            continue;
        }
        TIniFile ini(utf8(path));
        const std::string refusal = "Unable to write to " + utf8(path);
        checkRefused(
            scratch, path, [&] { ini.WriteString("Engine", "A", "2"); }, refusal, __LINE__);
        checkRefused(
            scratch, path, [&] { ini.WriteString("Engine", "A", "1"); }, refusal, __LINE__);
        checkRefused(
            scratch, path, [&] { ini.WriteString("New", "Key", "x"); }, refusal, __LINE__);
        CHECK_EQUAL(::GetFileAttributesW(wide.c_str()), given);

        // Writable again: the replacement keeps the other attributes.
        CHECK(::SetFileAttributesW(wide.c_str(), given & ~FILE_ATTRIBUTE_READONLY));
        ini.WriteString("Engine", "A", "2");
        CHECK_EQUAL(readWide(wide), profileWith("2"));
        CHECK_EQUAL(::GetFileAttributesW(wide.c_str()), given & ~FILE_ATTRIBUTE_READONLY);
    }
}

void widePaths()
{
    struct Row {
        const char* name;
        std::u8string utf8Name;
        std::wstring wideName;
    };
    const Row rows[] = {
        {"a German umlaut", u8"\u00DCser.ini", L"\u00DCser.ini"},
        {"Japanese katakana", u8"\u30E6\u30FC\u30B6\u30FC.ini", L"\u30E6\u30FC\u30B6\u30FC.ini"},
        {"a letter beyond the 16-bit range", u8"\U0001F3AE Spieler.ini", L"\U0001F3AE Spieler.ini"},
        {"a dotless i and a sharp s", u8"na\u0131ve Stra\u00DFe.ini", L"na\u0131ve Stra\u00DFe.ini"},
    };
    for (const Row& row : rows) {
        g_case = std::string("widePaths: ") + row.name;
        const Scratch scratch;
        const std::string path = utf8(scratch.dir()) + "\\" + std::string(row.utf8Name.begin(), row.utf8Name.end());
        const std::wstring wide = wideOf(scratch.dir()) + L"\\" + row.wideName;

        TIniFile ini(path);
        ini.WriteString("Engine", "A", "1");
        CHECK(wideEntries(wideOf(scratch.dir())) == std::vector<std::wstring>{row.wideName});
        CHECK_EQUAL(readWide(wide), profileWith("1"));
        CHECK(writeWide(wide, profileWith("another program's")));
        CHECK_EQUAL(ini.ReadString("Engine", "A", ""), std::string("another program's"));
        CHECK_EQUAL(stampOf(path).size, std::int64_t(profileWith("another program's").size()));
        ini.WriteString("Engine", "A", "2");
        CHECK_EQUAL(readWide(wide), profileWith("2"));
        CHECK(wideEntries(wideOf(scratch.dir())) == std::vector<std::wstring>{row.wideName});
    }
}

// Paths that name no file the accessor may read or write: every read gives
// the default and every write is refused with the path in its message.
void pathsWithoutAFile()
{
    struct Row {
        const char* name;
        std::string fileName;
        bool inScratch; // else a whole path
    };
    const Row rows[] = {
        {"a lone continuation byte", "User\x80.ini", true},
        {"a sequence cut short", "User\xC3.ini", true},
        {"an overlong slash", "User\xC0\xAF.ini", true},
        {"an encoded surrogate", "User\xED\xA0\x80.ini", true},
        {"a byte never in UTF-8", "User\xFF.ini", true},
        {"a name of 300 letters", std::string(300, 'U') + ".ini", true},
        {"the null device", "NUL", false},
        {"the null device by its device path", "\\\\.\\NUL", false},
    };
    for (const Row& row : rows) {
        g_case = std::string("pathsWithoutAFile: ") + row.name;
        const Scratch scratch;
        const fs::path other = scratch.file("User.ini", profileWith("1"));
        const std::string path = row.inScratch ? utf8(scratch.dir()) + "\\" + row.fileName : row.fileName;
        TIniFile ini(path);
        CHECK_EQUAL(ini.ReadString("Engine", "A", "<default>"), std::string("<default>"));
        checkRefused(
            scratch, other, [&] { ini.WriteString("Engine", "A", "2"); }, "Unable to write to " + path, __LINE__);
        if (row.inScratch) CHECK_EQUAL(stampOf(path).size, std::int64_t(-1));
    }
}

// A directory chain under `base` and a file name such that the file's whole
// path is `length` characters long.
std::vector<std::wstring> chainTo(std::size_t baseLength, std::size_t length, const std::wstring& fileName)
{
    std::vector<std::wstring> directories;
    std::size_t left = length - baseLength - 1 - fileName.size(); // each directory adds its name and a separator
    while (left > 0) {
        std::size_t take = std::min<std::size_t>(left, 121);
        if (left - take == 1) --take;
        directories.push_back(std::wstring(take - 1, L'd'));
        left -= take;
    }
    return directories;
}

void longPaths()
{
    struct Row {
        std::size_t length;
        char separator;
        bool mustWork; // else a clear refusal does too
    };
    const Row rows[] = {
        {200, '\\', true}, {247, '\\', true},   {259, '\\', true},   {260, '\\', true},
        {261, '\\', true}, {300, '\\', true},   {300, '/', true},    {1000, '\\', true},
        {1000, '/', true}, {3000, '\\', false}, {5000, '\\', false}, {40000, '\\', false},
    };
    const std::wstring fileName = L"User.ini";
    for (const Row& row : rows) {
        g_case = "longPaths: " + std::to_string(row.length) + " characters, separator " + row.separator;
        const Scratch scratch;
        const std::wstring base = scratch.dir().wstring();
        std::wstring wideDir = longForm(base);
        std::string path = utf8(scratch.dir());
        bool made = true; // until a directory is past what the file system takes
        for (const std::wstring& directory : chainTo(base.size(), row.length, fileName)) {
            wideDir += L"\\" + directory;
            made = made && ::CreateDirectoryW(wideDir.c_str(), nullptr);
            path += row.separator + std::string(directory.begin(), directory.end());
        }
        path += row.separator + std::string("User.ini");
        const std::wstring wide = wideDir + L"\\" + fileName;

        TIniFile ini(path);
        const std::string error = attempt([&] { ini.WriteString("Engine", "A", "1"); });
        if (row.mustWork) CHECK_EQUAL(error, std::string());
        if (!made) CHECK(!error.empty());
        if (error.empty()) {
            CHECK_EQUAL(readWide(wide), profileWith("1"));
            CHECK_EQUAL(ini.ReadString("Engine", "A", ""), std::string("1"));
            CHECK_EQUAL(stampOf(path).size, std::int64_t(profileWith("1").size()));
            ini.WriteString("Engine", "A", "2"); // a replacement, its temporary file's path longer still
            CHECK_EQUAL(readWide(wide), profileWith("2"));
            CHECK(wideEntries(wideDir) == std::vector<std::wstring>{fileName});
        } else {
            CHECK(startsWith(error, "Unable to write to " + path));
            CHECK_EQUAL(ini.ReadString("Engine", "A", "<default>"), std::string("<default>"));
            CHECK(wideEntries(wideDir).empty());
        }
        removeTree(longForm(base));
    }
}

} // namespace

void windowsCases()
{
    replacedWhileOpenForReading();
    readWhileWritten();
    readOnlyAttribute();
    widePaths();
    pathsWithoutAFile();
    longPaths();
}
