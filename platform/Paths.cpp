#include "platform/Paths.h"

#include <dirent.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <memory>

namespace platform {

namespace {

// The game's names are ASCII; letter case is folded for ASCII letters only,
// as the profile accessor does.
char foldCase(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }

bool equalNoCase(const std::string& a, const std::string& b)
{
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (foldCase(a[i]) != foldCase(b[i])) return false;
    }
    return true;
}

bool entryExists(const std::string& path)
{
    struct stat st {};
    return ::lstat(path.c_str(), &st) == 0;
}

bool isRegularFile(const std::string& path)
{
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

struct DirCloser {
    void operator()(DIR* dir) const { ::closedir(dir); }
};
using DirHandle = std::unique_ptr<DIR, DirCloser>;

// One path component: the exact name when it exists, else the first entry of
// `dir` (in directory order) that matches without regard to case, else the
// name as given.
std::string resolveComponent(const std::string& dir, const std::string& name)
{
    const std::string exact = dir + name;
    if (name.empty() || name == "." || name == ".." || entryExists(exact)) return exact;
    DirHandle handle(::opendir(dir.empty() ? "." : dir.c_str()));
    if (!handle) return exact;
    while (const dirent* entry = ::readdir(handle.get())) {
        const std::string entryName = entry->d_name;
        if (equalNoCase(entryName, name)) return dir + entryName;
    }
    return exact;
}

} // namespace

std::string AddBackslash(const std::string& path)
{
    if (path.empty() || path.back() == Separator) return path;
    return path + Separator;
}

bool directoryExists(const std::string& path)
{
    if (path.empty()) return false;
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

std::string resolveNoCase(const std::string& dir, const std::string& name)
{
    // A name of several components ("Maps/DM-Antalus.ut2") is resolved one
    // component at a time; the first one that does not exist ends the search
    // and the rest is kept as given.
    std::string resolved = AddBackslash(dir);
    std::size_t start = 0;
    while (start <= name.size()) {
        const std::size_t slash = name.find(Separator, start);
        const std::size_t end = slash == std::string::npos ? name.size() : slash;
        const std::string component = name.substr(start, end - start);
        const std::string next = resolveComponent(resolved, component);
        if (slash == std::string::npos) return next;
        if (!entryExists(next)) return next + name.substr(slash);
        resolved = next + Separator;
        start = slash + 1;
    }
    return resolved;
}

bool wildcardMatch(const std::string& pattern, const std::string& name)
{
    // Greedy matching with one backtrack point for the last "*": linear for
    // the patterns the program uses, never exponential.
    std::size_t p = 0;
    std::size_t n = 0;
    std::size_t starP = std::string::npos;
    std::size_t starN = 0;
    while (n < name.size()) {
        if (p < pattern.size() && pattern[p] == '*') {
            starP = p++;
            starN = n;
        } else if (p < pattern.size() && (pattern[p] == '?' || foldCase(pattern[p]) == foldCase(name[n]))) {
            ++p;
            ++n;
        } else if (starP != std::string::npos) {
            p = starP + 1;
            n = ++starN;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == '*')
        ++p;
    return p == pattern.size();
}

std::vector<std::string> findFiles(const std::string& dir, const std::string& pattern)
{
    std::vector<std::string> names;
    const std::string base = AddBackslash(dir);
    DirHandle handle(::opendir(base.empty() ? "." : base.c_str()));
    if (!handle) return names;
    while (const dirent* entry = ::readdir(handle.get())) {
        const std::string name = entry->d_name;
        if (name == "." || name == "..") continue;
        if (wildcardMatch(pattern, name) && isRegularFile(base + name)) names.push_back(name);
    }
    return names;
}

std::string fileNamePart(const std::string& path)
{
    const std::size_t slash = path.rfind(Separator);
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string homeDirectory()
{
    if (const char* home = std::getenv("HOME"); home && *home) return home;
    if (const passwd* pw = ::getpwuid(::getuid()); pw && pw->pw_dir) return pw->pw_dir;
    return {};
}

} // namespace platform
