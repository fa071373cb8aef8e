// The search for installations that the setup dialog runs when it opens, in a
// home directory with 21 Wine prefixes of the usual kinds, three in each of
// seven places, among them Heroic's newer layout and a Steam library on another
// drive that Steam's libraryfolders.vdf lists (each prefix with a
// registry of a fresh prefix's size and the usual folders below drive_c, the
// game installed in half of them and copied into the others), against the
// physical limit: a plain read of every system.reg and of Steam's list of
// libraries, and a plain listing of every folder the search has to look at. Prints the ratio and the target.
//
//   bench_finder [--benchmark_* options]   (CORVANE_BENCH_DIR: where the home goes)

#include "bench/PlainFile.h"
#include "bench/RatioReporter.h"
#include "platform/InstallationFinder.h"

#include <benchmark/benchmark.h>

#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

constexpr int Prefixes = 21;
constexpr std::size_t RegistryBytes = std::size_t(2) << 20; // a fresh 64-bit prefix's is 1.5 to 2.5 MB
constexpr double TargetMs = 200;

std::string g_home;
std::vector<std::string> g_registries; // every system.reg
std::vector<std::string> g_folders;    // every folder the search must list
std::string g_libraryList;             // Steam's libraryfolders.vdf
std::size_t g_found = 0;

void writeFile(const fs::path& path, const std::string& content)
{
    fs::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << content;
}

// Keys of the kind a fresh prefix holds, the game's installer entry halfway.
std::string registry(bool installed)
{
    std::string text = "WINE REGISTRY Version 2\n;; All keys relative to \\\\Machine\n\n#arch=win64\n\n";
    for (int k = 0; text.size() < RegistryBytes; ++k) {
        if (installed && text.size() >= RegistryBytes / 2) {
            text += "[Software\\\\Wow6432Node\\\\Unreal Technology\\\\Installed Apps\\\\UT2003] 1700000000\n"
                    "#time=1da2b3c4d5e6f70\n\"Folder\"=\"C:\\\\UT2003\"\n\"Version\"=\"2225\"\n\n";
            installed = false;
        }
        char key[96];
        std::snprintf(key, sizeof key, "{%08X-0000-0000-C000-%012X}", k, k * 7);
        text += std::string("[Software\\\\Classes\\\\CLSID\\\\") + key +
                "\\\\InprocServer32] 1700000000\n#time=1da2b3c4d5e6f70\n"
                "@=\"C:\\\\windows\\\\system32\\\\ole32.dll\"\n\"ThreadingModel\"=\"Both\"\n\n";
    }
    return text;
}

// A prefix with the folders Wine makes, a few programs, and the game: put
// there by its installer (with its entry) or copied two levels down.
void makePrefix(const fs::path& prefix, bool installed)
{
    writeFile(prefix / "system.reg", registry(installed));
    g_registries.push_back(prefix / "system.reg");
    const fs::path c = prefix / "drive_c";
    const std::vector<std::string> folders = {"Program Files/Common Files/System",
                                              "Program Files/Internet Explorer",
                                              "Program Files/Windows Media Player",
                                              "Program Files/Windows NT/Accessories",
                                              "Program Files (x86)/Common Files",
                                              "Program Files (x86)/Internet Explorer",
                                              "ProgramData/Microsoft/Windows",
                                              "users/Public/Desktop",
                                              "users/Public/Documents",
                                              "users/player/AppData/Local",
                                              "users/player/AppData/Roaming",
                                              "users/player/Documents",
                                              "users/player/Saved Games",
                                              "users/player/Temp"};
    for (const std::string& folder : folders)
        fs::create_directories(c / folder);
    for (int f = 0; f < 400; ++f) // Wine's own folder: not searched
        writeFile(c / "windows/system32" / ("lib" + std::to_string(f) + ".dll"), "MZ");
    const fs::path game = installed ? c / "UT2003" : c / "Games/Unreal Tournament 2003";
    for (const char* file : {"System/UT2003.exe", "System/User.ini", "System/UT2003.ini", "Maps/DM-Antalus.ut2"})
        writeFile(game / file, "MZ");
    for (int f = 0; f < 12; ++f)
        fs::create_directories(game / ("Folder" + std::to_string(f)));

    // What the search reads below drive_c: every folder up to three levels
    // down but Wine's own and the game's.
    g_folders.push_back(c);
    for (auto it = fs::recursive_directory_iterator(c); it != fs::recursive_directory_iterator(); ++it) {
        const std::string name = it->path().filename();
        if (!it->is_directory() || (it.depth() == 0 && name == "windows") || it->path().parent_path() == game ||
            it.depth() >= 3) {
            if (it->is_directory()) it.disable_recursion_pending();
            continue;
        }
        g_folders.push_back(it->path());
    }
}

void makeHome()
{
    const char* base = std::getenv("CORVANE_BENCH_DIR");
    std::string dir = std::string(base && *base ? base : "/tmp") + "/corvane-bench-finder-XXXXXX";
    if (!::mkdtemp(dir.data())) std::exit(1);
    g_home = dir;
    // A Steam library on another drive, listed beside Steam's own folder.
    const std::string library = g_home + "/drive2/SteamLibrary";
    g_libraryList = g_home + "/.local/share/Steam/steamapps/libraryfolders.vdf";
    writeFile(g_libraryList, "\"libraryfolders\"\n{\n\t\"0\"\n\t{\n\t\t\"path\"\t\t\"" + g_home +
                                 "/.local/share/Steam\"\n\t}\n\t\"1\"\n\t{\n\t\t\"path\"\t\t\"" + library +
                                 "\"\n\t}\n}\n");
    const std::string places[] = {".local/share/wineprefixes",
                                  "Games",
                                  ".local/share/bottles/bottles",
                                  ".PlayOnLinux/wineprefix",
                                  ".local/share/Steam/steamapps/compatdata",
                                  "Games/Heroic/Prefixes/default",
                                  "drive2/SteamLibrary/steamapps/compatdata"};
    const auto isSteam = [&](std::size_t place) { return places[place].find("steamapps") != std::string::npos; };
    for (int p = 0; p < Prefixes; ++p) {
        const std::size_t place = p % std::size(places);
        fs::path prefix = fs::path(g_home) / places[place] / ("prefix" + std::to_string(p));
        if (isSteam(place)) prefix /= "pfx";
        makePrefix(prefix, p % 2 == 0);
    }
    for (const std::string& place : places)
        g_folders.push_back(fs::path(g_home) / place);
    g_folders.push_back(fs::path(g_home) / "Games/Heroic/Prefixes"); // where "default" is found
}

void PhysicalLimit(benchmark::State& state)
{
    for (auto _ : state) {
        std::size_t bytes = PlainFile::read(g_libraryList);
        for (const std::string& reg : g_registries)
            bytes += PlainFile::read(reg);
        for (const std::string& folder : g_folders) {
            DIR* dir = ::opendir(folder.c_str());
            while (dir && ::readdir(dir))
                ++bytes;
            if (dir) ::closedir(dir);
        }
        benchmark::DoNotOptimize(bytes);
    }
}

void search(benchmark::State& state)
{
    platform::SearchPlaces places;
    places.home = g_home;
    places.systemRoot = g_home + "/no-system";
    for (auto _ : state)
        g_found = platform::findInstallations(places).size();
}

} // namespace

int main(int argc, char** argv)
{
    makeHome();
    benchmark::RegisterBenchmark("PhysicalLimit", PhysicalLimit)->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("FindInstallations", search)->Unit(benchmark::kMillisecond);
    RatioReporter reporter;
    runRepeated(argc, argv, reporter);

    std::printf("\n%d prefixes, %zu folders to list, %zu system.reg of %zu KB; %zu installations found\n", Prefixes,
                g_folders.size(), g_registries.size(), RegistryBytes >> 10, g_found);
    for (const bool cpu : {false, true}) {
        const double limit = reporter.median("PhysicalLimit", cpu) * 1e3;
        const double search = reporter.median("FindInstallations", cpu) * 1e3;
        std::printf("\n%s, median of the repetitions\n", cpu ? "Processor time" : "Wall clock");
        std::printf("  physical limit (plain read of every system.reg and of libraryfolders.vdf, plain listing of the "
                    "folders): %.2f ms\n",
                    limit);
        std::printf("  search for installations: %.2f ms = %.1fx the physical limit   [under %.0f ms: %s]\n", search,
                    limit > 0 ? search / limit : 0.0, TargetMs, search < TargetMs ? "met" : "MISSED");
    }
    std::error_code ignored;
    fs::remove_all(g_home, ignored);
    benchmark::Shutdown();
    return 0;
}
