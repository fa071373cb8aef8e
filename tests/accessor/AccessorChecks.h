#pragma once

// The checks shared by the accessor's test cases: a failure is counted and
// told with its case and line, and the run goes on to the next check.

#include "profile/IniFiles.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <random>
#include <string>
#include <type_traits>
#include <vector>

namespace fs = std::filesystem;

inline int g_failures = 0;
inline std::string g_case;

inline std::string shown(const std::string& bytes)
{
    std::string text;
    for (unsigned char c : bytes) {
        if (c == '\r')
            text += "\\r";
        else if (c == '\n')
            text += "\\n";
        else if (c < 0x20 || c >= 0x7F) {
            char hex[8];
            std::snprintf(hex, sizeof hex, "\\x%02X", c);
            text += hex;
        } else
            text += static_cast<char>(c);
    }
    return text.size() > 300 ? text.substr(0, 300) + "..." : text;
}

inline void check(bool ok, const std::string& what, int line)
{
    if (ok) return;
    ++g_failures;
    std::fprintf(stderr, "FAIL %s (line %d): %s\n", g_case.c_str(), line, what.c_str());
}

template <class T> void checkEqual(const T& actual, const T& expected, const char* what, int line)
{
    if (actual == expected) return;
    if constexpr (std::is_same_v<std::remove_cvref_t<T>, std::string>)
        check(false, std::string(what) + ": got \"" + shown(actual) + "\", expected \"" + shown(expected) + "\"", line);
    else
        check(false, std::string(what) + ": got " + std::to_string(actual) + ", expected " + std::to_string(expected),
              line);
}

#define CHECK(condition) check((condition), #condition, __LINE__)
#define CHECK_EQUAL(actual, expected)                                                                                  \
    checkEqual<std::remove_cvref_t<decltype(expected)>>((actual), (expected), #actual, __LINE__)

inline std::string utf8(const fs::path& path)
{
    const std::u8string text = path.u8string();
    return std::string(text.begin(), text.end());
}

inline fs::path fromUtf8(const std::string& text) { return fs::path(std::u8string(text.begin(), text.end())); }

inline std::string readFile(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in) return "<missing>";
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline void writeFile(const fs::path& path, const std::string& bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << bytes;
}

inline std::vector<std::string> entries(const fs::path& directory)
{
    std::vector<std::string> names;
    for (const fs::directory_entry& entry : fs::directory_iterator(directory))
        names.push_back(utf8(entry.path().filename()));
    return names;
}

// A fresh directory for each case, removed afterwards. Its name holds
// letters beyond ASCII, so that every path goes through the UTF-8 rules.
class Scratch {
public:
    Scratch()
    {
        std::random_device random;
        m_dir = fs::temp_directory_path() /
                fromUtf8("corvane-accessor-Spiele \xC3\xBC \xE2\x82\xAC-" + std::to_string(random()));
        fs::create_directories(m_dir);
    }
    ~Scratch()
    {
        std::error_code ignored;
        for (const fs::directory_entry& entry : fs::directory_iterator(m_dir, ignored))
            fs::permissions(entry.path(), fs::perms::owner_write, fs::perm_options::add, ignored);
        fs::remove_all(m_dir, ignored);
    }
    const fs::path& dir() const { return m_dir; }
    fs::path file(const std::string& name, const std::string& bytes) const
    {
        writeFile(m_dir / name, bytes);
        return m_dir / name;
    }

private:
    fs::path m_dir;
};
// Runs `write` and checks that it was refused with `message` and left the
// directory as it was.
inline void checkRefused(const Scratch& scratch, const fs::path& path, const std::function<void()>& write,
                         const std::string& message, int line)
{
    const std::string before = readFile(path);
    const std::vector<std::string> names = entries(scratch.dir());
    std::string what = "<no error>";
    try {
        write();
    } catch (const ECorvaneError& error) {
        what = error.what();
    }
    check(what.rfind(message, 0) == 0, "error \"" + what + "\" should start with \"" + message + "\"", line);
    check(readFile(path) == before, "the file changed", line);
    check(entries(scratch.dir()) == names, "the directory changed", line);
}
