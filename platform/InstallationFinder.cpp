#include "platform/InstallationFinder.h"

#include "platform/GameLayout.h"
#include "platform/InstallerRegistry.h"
#include "platform/Paths.h"
#include "platform/WinePrefix.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <memory>
#include <set>
#include <utility>

namespace platform {

namespace {

// Bounds of the reading, far above what a real home directory holds.
constexpr std::size_t MaxPlaceEntries = 1000;       // entries of one folder of prefixes
constexpr std::size_t MaxWalkEntries = 20000;       // entries read below one drive_c
constexpr int WalkDepth = 3;                        // levels of folders below drive_c
constexpr off_t MaxRegistryBytes = off_t(64) << 20; // system.reg
constexpr std::size_t MaxConfigBytes = 1u << 20;    // a Lutris game's .yml, Steam's libraryfolders.vdf

struct DirCloser {
    void operator()(DIR* dir) const { ::closedir(dir); }
};
using DirHandle = std::unique_ptr<DIR, DirCloser>;

bool equalNoCase(const std::string& a, const char* b)
{
    std::size_t i = 0;
    for (; i < a.size() && b[i]; ++i) {
        const auto fold = [](char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; };
        if (fold(a[i]) != fold(b[i])) return false;
    }
    return i == a.size() && !b[i];
}

std::string canonical(const std::string& path)
{
    char resolved[PATH_MAX];
    return ::realpath(path.c_str(), resolved) ? std::string(resolved) : std::string();
}

// The names in `dir`, sorted, at most `limit` of them; none when it cannot
// be read.
std::vector<std::string> namesIn(const std::string& dir, std::size_t limit)
{
    std::vector<std::string> names;
    DirHandle handle(::opendir(dir.c_str()));
    if (!handle) return names;
    while (const dirent* entry = ::readdir(handle.get())) {
        const std::string name = entry->d_name;
        if (name == "." || name == "..") continue;
        if (names.size() >= limit) break;
        names.push_back(name);
    }
    std::sort(names.begin(), names.end());
    return names;
}

// The first bytes of a regular file, at most MaxConfigBytes; nothing when it
// is not one (a named pipe never blocks the search) or cannot be read.
std::string smallFile(const std::string& file)
{
    struct stat st {};
    if (::stat(file.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return {};
    const int fd = ::open(file.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) return {};
    std::string text(std::min<std::size_t>(static_cast<std::size_t>(st.st_size), MaxConfigBytes), '\0');
    const ssize_t got = ::read(fd, text.data(), text.size());
    ::close(fd);
    text.resize(got > 0 ? static_cast<std::size_t>(got) : 0);
    return text;
}

// The values of the "prefix:" lines of a Lutris game's configuration, as written
// (quotes taken off, "~" for the home directory).
std::vector<std::string> lutrisPrefixes(const std::string& file, const std::string& home)
{
    std::vector<std::string> prefixes;
    const std::string text = smallFile(file);
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        std::string line = text.substr(start, end - start);
        start = end + 1;
        const std::size_t first = line.find_first_not_of(" \t");
        if (first == std::string::npos || line.compare(first, 7, "prefix:") != 0) continue;
        std::string value = line.substr(first + 7);
        const std::size_t from = value.find_first_not_of(" \t\r");
        const std::size_t to = value.find_last_not_of(" \t\r");
        if (from == std::string::npos) continue;
        value = value.substr(from, to - from + 1);
        if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front())
            value = value.substr(1, value.size() - 2);
        if (value == "~" || value.rfind("~/", 0) == 0)
            value = AddBackslash(home) + value.substr(std::min<std::size_t>(2, value.size()));
        if (!value.empty() && value.front() == Separator) prefixes.push_back(value);
    }
    return prefixes;
}

// The folders of the Steam libraries listed in a libraryfolders.vdf: the
// "path" values of its entries, or, in the older form, the numbered values
// of its top level ("1" "/mnt/games/SteamLibrary"). Only absolute paths.
std::vector<std::string> steamLibraries(const std::string& file)
{
    std::vector<std::string> libraries;
    const std::string text = smallFile(file);
    std::vector<std::string> tokens; // quoted strings, "{" and "}"
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '{' || text[i] == '}') {
            tokens.emplace_back(1, text[i]);
        } else if (text[i] == '"') {
            std::string value;
            for (++i; i < text.size() && text[i] != '"'; ++i) {
                if (text[i] == '\\' && i + 1 < text.size()) ++i;
                value += text[i];
            }
            tokens.push_back("\"" + value);
        }
    }
    int depth = 0;
    for (std::size_t t = 0; t < tokens.size(); ++t) {
        if (tokens[t] == "{" || tokens[t] == "}") {
            depth += tokens[t] == "{" ? 1 : -1;
            continue;
        }
        if (t + 1 >= tokens.size() || tokens[t + 1][0] != '"') continue;
        const std::string key = tokens[t].substr(1);
        const std::string value = tokens[++t].substr(1);
        const bool numbered = depth == 1 && !key.empty() && key.find_first_not_of("0123456789") == std::string::npos;
        if ((key == "path" || numbered) && !value.empty() && value.front() == Separator) libraries.push_back(value);
    }
    return libraries;
}

class Finder {
public:
    explicit Finder(const SearchPlaces& places)
        : m_home(places.home.empty() ? std::string() : AddBackslash(places.home))
        , m_root(places.systemRoot)
        , m_winePrefix(places.winePrefix)
    {
    }

    std::vector<FoundInstallation> run()
    {
        if (!m_winePrefix.empty()) prefix("Wine", m_winePrefix);
        if (!m_home.empty()) {
            prefix("Wine", m_home + ".wine");
            prefixesIn("Wine", m_home + ".local/share/wineprefixes");
            prefixesIn("Lutris", m_home + "Games");
            for (const std::string& config : namesIn(m_home + ".config/lutris/games", MaxPlaceEntries)) {
                if (config.size() > 4 && config.compare(config.size() - 4, 4, ".yml") == 0)
                    for (const std::string& named : lutrisPrefixes(m_home + ".config/lutris/games/" + config, m_home))
                        prefix("Lutris", named);
            }
            prefixesIn("Bottles", m_home + ".local/share/bottles/bottles");
            prefixesIn("Bottles", m_home + ".var/app/com.usebottles.bottles/data/bottles/bottles");
            prefixesIn("PlayOnLinux", m_home + ".PlayOnLinux/wineprefix");
            // Steam's folder (~/.steam/steam is mostly a link to it), then
            // its libraries on other drives, each with its own compatdata.
            std::set<std::string> steamRoots;
            for (const char* root : {".local/share/Steam", ".steam/steam"}) {
                const std::string key = canonical(m_home + root);
                if (key.empty() || !steamRoots.insert(key).second) continue;
                prefixesIn("Proton", m_home + root + "/steamapps/compatdata", "/pfx");
                for (const std::string& library : steamLibraries(m_home + root + "/steamapps/libraryfolders.vdf"))
                    prefixesIn("Proton", AddBackslash(library) + "steamapps/compatdata", "/pfx");
            }
            prefixesIn("Heroic", m_home + "Games/Heroic/Prefixes");
            prefixesIn("Heroic", m_home + "Games/Heroic/Prefixes/default"); // Heroic's newer layout
        }
        // The native version's installers, the full game's and the demo's.
        std::vector<std::string> native = {m_root + "/usr/local/games/ut2003", m_root + "/opt/ut2003",
                                           m_root + "/usr/local/games/ut2003_demo", m_root + "/opt/ut2003-demo"};
        if (!m_home.empty()) {
            native.insert(native.begin() + 1, m_home + "ut2003");
            native.push_back(m_home + "ut2003_demo");
            // Lutris's installer of the native version puts it in its games folder.
            for (const std::string& name : namesIn(m_home + "Games", MaxPlaceEntries))
                native.push_back(m_home + "Games/" + name);
        }
        for (const std::string& dir : native)
            if (isNativeGame(dir)) game("Native", dir);
        return std::move(m_found);
    }

private:
    // Every entry of `dir` (with `suffix` added) that is a Wine prefix.
    void prefixesIn(const char* kind, const std::string& dir, const char* suffix = "")
    {
        for (const std::string& name : namesIn(dir, MaxPlaceEntries))
            prefix(kind, dir + Separator + name + suffix);
    }

    void prefix(const char* kind, const std::string& path)
    {
        const std::string key = canonical(path);
        if (key.empty() || !m_prefixes.insert(key).second || !isWinePrefix(path)) return;
        struct stat st {};
        const std::string reg = AddBackslash(path) + "system.reg";
        if (::stat(reg.c_str(), &st) == 0 && st.st_size <= MaxRegistryBytes) {
            const auto folders = WineInstallerRegistry(path).ReadFolders({InstallerKeys::Game, InstallerKeys::Demo});
            for (const auto& folder : folders)
                if (folder && !folder->empty()) game(kind, *folder);
        }
        walk(kind, AddBackslash(path) + "drive_c");
    }

    // Folders up to three levels below drive_c holding System/UT2003.exe,
    // each folder read once. Wine's own windows folder is left out and a
    // game's own folders are not searched. A linked folder is looked into but
    // not walked: links lead out of the prefix (the user's Desktop) or back
    // up into it.
    void walk(const char* kind, const std::string& driveC)
    {
        std::size_t budget = MaxWalkEntries;
        std::vector<std::string> level = {driveC};
        for (int depth = 0; depth <= WalkDepth && !level.empty(); ++depth) {
            std::vector<std::string> next;
            for (const std::string& dir : level) {
                const std::vector<std::string> names = namesIn(dir, budget);
                budget -= names.size();
                std::vector<std::string> subdirs;
                bool isGame = false;
                for (const std::string& name : names) {
                    const std::string path = dir + Separator + name;
                    struct stat st {};
                    if (::lstat(path.c_str(), &st) != 0) continue;
                    const bool linked = S_ISLNK(st.st_mode);
                    if (linked && ::stat(path.c_str(), &st) != 0) continue;
                    if (!S_ISDIR(st.st_mode) || (depth == 0 && equalNoCase(name, "windows"))) continue;
                    if (depth > 0 && equalNoCase(name, "System")) isGame = isGame || holdsGameProgram(path);
                    if (!linked)
                        subdirs.push_back(path);
                    else if (depth < WalkDepth && holdsGameProgram(resolveNoCase(path, "System")))
                        game(kind, path);
                }
                if (isGame)
                    game(kind, dir);
                else if (depth < WalkDepth)
                    next.insert(next.end(), subdirs.begin(), subdirs.end());
                if (budget == 0) return;
            }
            level = std::move(next);
        }
    }

    static bool isDirectory(const std::string& path)
    {
        struct stat st {};
        return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
    }

    static bool holdsGameProgram(const std::string& systemDir)
    {
        struct stat st {};
        const std::string program = resolveNoCase(systemDir, "UT2003.exe");
        return ::stat(program.c_str(), &st) == 0 && S_ISREG(st.st_mode);
    }

    void game(const char* kind, std::string dir)
    {
        while (dir.size() > 1 && dir.back() == Separator)
            dir.pop_back();
        if (dir.empty() || dir.front() != Separator) return; // a Windows path no drive link leads to
        const std::string key = canonical(dir);
        if (key.empty() || !isDirectory(key) || !m_games.insert(key).second) return;
        m_found.push_back({kind, dir});
    }

    std::string m_home; // ends in the separator; empty without a home directory
    std::string m_root;
    std::string m_winePrefix;
    std::set<std::string> m_prefixes; // resolved paths of the prefixes looked at
    std::set<std::string> m_games;    // resolved paths of the game directories found
    std::vector<FoundInstallation> m_found;
};

} // namespace

SearchPlaces SearchPlaces::ofThisUser()
{
    SearchPlaces places;
    places.home = homeDirectory();
    if (const char* prefix = std::getenv("WINEPREFIX"); prefix && *prefix) places.winePrefix = prefix;
    return places;
}

std::vector<FoundInstallation> findInstallations(const SearchPlaces& places)
{
    try {
        return Finder(places).run();
    } catch (...) {
        return {};
    }
}

} // namespace platform
