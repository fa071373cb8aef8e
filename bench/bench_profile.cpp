// ReadString, WriteString and ReadSections on a 40 KB and a 1 MB profile,
// each against what the file system needs at least for the same file: a plain
// read of the file for reads, a plain read + write + rename for writes. Prints
// the ratios at the end (the median of the repetitions).
//
//   bench_profile [--benchmark_* options]   (CORVANE_BENCH_DIR: where the files go)

#include "bench/PlainFile.h"
#include "bench/RatioReporter.h"
#include "profile/IniFiles.h"
#include "profile/IniText.h"

#include <benchmark/benchmark.h>

#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

std::string g_dir;

struct Profile {
    std::string label; // "40KB", "1MB"
    std::string path;
    std::string middleSection;
    std::string lastSection;
    std::size_t size = 0;
};
std::vector<Profile> g_profiles;

// A profile shaped like the game's User.ini and UT2003.ini: packages'
// sections of key binds, aliases and settings, comments, blank lines.
std::string syntheticProfile(std::size_t wanted, std::string& middleSection, std::string& lastSection)
{
    std::string text = "; Corvane 2003 benchmark profile\r\n\r\n";
    for (int s = 0; text.size() < wanted; ++s) {
        if (middleSection.empty() && text.size() >= wanted / 2) middleSection = "XGame.Package" + std::to_string(s);
        lastSection = "XGame.Package" + std::to_string(s);
        text += "[" + lastSection + "]\r\n";
        for (int k = 0; k < 8; ++k)
            text += "Aliases[" + std::to_string(k) + "]=(Command=\"button bFire | Fire " + std::to_string(k) +
                    "\",Alias=Fire" + std::to_string(s) + ")\r\n";
        text += ";ViewportManager=SDLDrv.SDLClient\r\n";
        for (int k = 0; k < 12; ++k)
            text += "Setting" + std::to_string(k) + "=" + (k % 3 == 0 ? "True" : std::to_string(k * 0.125)) + "\r\n";
        text += "MouseSensitivity=3.000000\r\nWeaponPriority=xWeapons.ShockRifle\r\n\r\n";
    }
    return text;
}

void writeFile(const std::string& path, const std::string& content)
{
    FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr || std::fwrite(content.data(), 1, content.size(), file) != content.size() ||
        std::fclose(file) != 0)
        throw std::runtime_error("cannot write " + path);
}

void PlainRead(benchmark::State& state, const Profile* profile)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(PlainFile::read(profile->path));
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * profile->size));
}

void PlainCopyRename(benchmark::State& state, const Profile* profile)
{
    for (auto _ : state)
        if (!PlainFile::replace(profile->path)) state.SkipWithError("plain replacement failed");
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * profile->size));
}

void ReadString(benchmark::State& state, const Profile* profile)
{
    const TIniFile ini(profile->path);
    for (auto _ : state)
        benchmark::DoNotOptimize(ini.ReadString(profile->lastSection, "WeaponPriority", ""));
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * profile->size));
}

// An entry halfway down the file: the search stops there.
void ReadStringMiddle(benchmark::State& state, const Profile* profile)
{
    const TIniFile ini(profile->path);
    for (auto _ : state)
        benchmark::DoNotOptimize(ini.ReadString(profile->middleSection, "WeaponPriority", ""));
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * profile->size));
}

void ReadSections(benchmark::State& state, const Profile* profile)
{
    const TIniFile ini(profile->path);
    std::vector<std::string> sections;
    for (auto _ : state) {
        ini.ReadSections(sections);
        benchmark::DoNotOptimize(sections.data());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * profile->size));
}

// The last-section read with the plain loop in place of the vector search
// for section headers: what the vector search is worth.
void ReadStringPlainLoop(benchmark::State& state, const Profile* profile)
{
    const IniText::HeaderSearch used = IniText::useHeaderSearch(IniText::HeaderSearch::Scalar);
    ReadString(state, profile);
    IniText::useHeaderSearch(used);
}

// Each write changes the value (two values of one length, so the file keeps its size).
void WriteString(benchmark::State& state, const Profile* profile)
{
    TIniFile ini(profile->path);
    bool flip = false;
    for (auto _ : state) {
        ini.WriteString(profile->lastSection, "MouseSensitivity", flip ? "3.000000" : "4.500000");
        flip = !flip;
    }
    ini.WriteString(profile->lastSection, "MouseSensitivity", "3.000000");
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * profile->size));
}

// Most writes of a Save find the value already there.
void WriteStringUnchanged(benchmark::State& state, const Profile* profile)
{
    TIniFile ini(profile->path);
    for (auto _ : state)
        ini.WriteString(profile->lastSection, "MouseSensitivity", "3.000000");
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * profile->size));
}

const char* kNames[] = {"PlainRead",    "ReadString",      "ReadStringPlainLoop", "ReadStringMiddle",
                        "ReadSections", "PlainCopyRename", "WriteString",         "WriteStringUnchanged"};
using Body = void (*)(benchmark::State&, const Profile*);
const Body kBodies[] = {PlainRead,    ReadString,      ReadStringPlainLoop, ReadStringMiddle,
                        ReadSections, PlainCopyRename, WriteString,         WriteStringUnchanged};

} // namespace

int main(int argc, char** argv)
{
    const char* base = std::getenv("CORVANE_BENCH_DIR");
    std::string pattern = std::string(base && *base ? base : "/tmp") + "/corvane-bench-XXXXXX";
    if (::mkdtemp(pattern.data()) == nullptr) {
        std::perror("mkdtemp");
        return 1;
    }
    g_dir = pattern;
    for (const auto& [label, size] : {std::pair<const char*, std::size_t>{"40KB", 40 << 10}, {"1MB", 1 << 20}}) {
        Profile profile;
        profile.label = label;
        profile.path = g_dir + "/UT2003-" + label + ".ini";
        const std::string content = syntheticProfile(size, profile.middleSection, profile.lastSection);
        profile.size = content.size();
        writeFile(profile.path, content);
        g_profiles.push_back(profile);
    }

    for (std::size_t b = 0; b < std::size(kNames); ++b) {
        for (const Profile& profile : g_profiles) {
            benchmark::RegisterBenchmark((std::string(kNames[b]) + "/" + profile.label).c_str(), kBodies[b], &profile)
                ->Unit(benchmark::kMicrosecond)
                ->ReportAggregatesOnly(false);
        }
    }
    RatioReporter reporter;
    runRepeated(argc, argv, reporter);

    std::printf("\nRatios (median of the repetitions; target in brackets)\n");
    std::printf("%-40s %10s %10s\n", "", "40KB", "1MB");
    const auto row = [&](const char* title, const char* measured, const char* limit, const char* target) {
        std::printf("%-40s", title);
        for (const Profile& profile : g_profiles) {
            const double m = reporter.median(std::string(measured) + "/" + profile.label);
            const double l = reporter.median(std::string(limit) + "/" + profile.label);
            std::printf(" %9.2fx", l > 0 ? m / l : 0.0);
        }
        std::printf("   %s\n", target);
    };
    row("ReadString (last section) / plain read", "ReadString", "PlainRead", "[<= 1.5x]");
    row("ReadString (last), plain loop / plain read", "ReadStringPlainLoop", "PlainRead", "");
    row("ReadString (middle) / plain read", "ReadStringMiddle", "PlainRead", "[<= 1.5x]");
    row("ReadSections / plain read", "ReadSections", "PlainRead", "");
    row("WriteString / plain copy-and-rename", "WriteString", "PlainCopyRename", "[<= 2x]");
    row("unchanged WriteString / plain read", "WriteStringUnchanged", "PlainRead", "");

    const double sizeRatio = static_cast<double>(g_profiles[1].size) / static_cast<double>(g_profiles[0].size);
    std::printf("\nGrowth from 40KB to 1MB (file size x%.1f; linear cost grows the same)\n", sizeRatio);
    for (const char* name : kNames) {
        const double small = reporter.median(std::string(name) + "/40KB");
        const double large = reporter.median(std::string(name) + "/1MB");
        if (small > 0)
            std::printf("%-40s x%.1f  (%.1f us -> %.1f us)\n", name, large / small, small * 1e6, large * 1e6);
    }

    for (const Profile& profile : g_profiles)
        ::unlink(profile.path.c_str());
    ::rmdir(g_dir.c_str());
    benchmark::Shutdown();
    return 0;
}
