// The history of the profiles with its full 200 entries, on the demo game's
// profiles and on profiles ten times their size: opening the history window
// (the entries listed, every entry's key changes, the list filled), the key
// changes alone, and the entries alone, each against a plain read of every
// content the history keeps; and keeping one Save (before and after) against
// a durable replacement of the two files (write, sync, rename, directory
// sync), what the Save itself costs at least. Prints the ratios at the end.
//
//   bench_history [--benchmark_* options]

#include "bench/PlainFile.h"
#include "bench/RatioReporter.h"
#include "core/HistoryChanges.h"
#include "core/ProfileHistory.h"
#include "core/ProfileKeys.h"
#include "dialogs/fHistory.h"
#include "profile/IniEdits.h"
#include "tests/support/TestSupport.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QDir>
#include <QTemporaryDir>

#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <memory>
#include <random>
#include <string>
#include <vector>

using namespace TestSupport;

namespace {

struct Setup {
    std::string label;
    std::unique_ptr<TempGame> game;
    std::unique_ptr<QTemporaryDir> state;
    std::unique_ptr<ProfileHistory> history;
    ProfileState current;
    std::vector<std::string> contents; // the paths of every kept content
    std::uint64_t contentBytes = 0;
    std::mt19937 random{2003};
};
std::vector<std::unique_ptr<Setup>> g_setups;

// The profile followed by copies of its own sections under other names, up
// to `factor` times its size: more of the same kind of keys.
std::string enlarged(const std::string& profile, int factor)
{
    std::string text = profile;
    for (int copy = 1; copy < factor; ++copy) {
        std::string renamed = "\r\n" + profile;
        for (std::size_t at = renamed.find("\n["); at != std::string::npos; at = renamed.find("\n[", at + 2))
            renamed.insert(at + 2, "Copy" + std::to_string(copy) + ".");
        text += renamed;
    }
    return text;
}

// The pair after a Save of one to three keys of one file, as a page writes them.
ProfileState saved(Setup& s)
{
    ProfileState next = s.current;
    std::string& bytes = *next.files[s.random() % 2].bytes;
    const ProfileKeys keys(bytes);
    std::vector<IniEdits::Write> writes;
    for (int n = 1 + int(s.random() % 3); n > 0; --n) {
        const ProfileKeys::Section& section = keys.sections()[s.random() % keys.sections().size()];
        const std::string_view key =
            section.keys.empty() ? "Setting" : section.keys[s.random() % section.keys.size()].name;
        writes.push_back({std::string(section.name), std::string(key), std::to_string(s.random() % 10000)});
    }
    IniEdits::apply(bytes, writes);
    return next;
}

void keepSave(Setup& s)
{
    const ProfileState next = saved(s);
    const ProfileHistory::Kept entry = s.history->keepBefore("Save", s.current);
    s.history->keepAfter(entry.id, next);
    s.current = next;
}

void makeSetup(const char* label, int factor)
{
    auto s = std::make_unique<Setup>();
    s->label = label;
    s->game = std::make_unique<TempGame>();
    s->state = std::make_unique<QTemporaryDir>();
    for (const QString& path : {s->game->userIni(), s->game->gameIni()})
        writeFile(path, QByteArray::fromStdString(enlarged(readFile(path).toStdString(), factor)));
    const std::string system = s->game->systemDir().toStdString();
    s->history = std::make_unique<ProfileHistory>(s->state->path().toStdString(), system);
    s->current = *ProfileState::read(system, "User.ini", "UT2003.ini");
    for (std::size_t i = 0; i < s->history->limits().maxEntries; ++i)
        keepSave(*s);
    const QString blobs = QString::fromStdString(s->history->folder()) + "/blobs/";
    for (const QFileInfo& info : QDir(blobs).entryInfoList(QDir::Files)) {
        s->contents.push_back(info.filePath().toStdString());
        s->contentBytes += static_cast<std::uint64_t>(info.size());
    }
    g_setups.push_back(std::move(s));
}

void PlainReadOfContents(benchmark::State& state, Setup* s)
{
    for (auto _ : state)
        for (const std::string& path : s->contents)
            benchmark::DoNotOptimize(PlainFile::read(path));
}

void Entries(benchmark::State& state, Setup* s)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(s->history->entries().size());
}

void KeyChangesOfAll(benchmark::State& state, Setup* s)
{
    for (auto _ : state) {
        HistoryChanges changes(*s->history);
        changes.reload(s->current);
        for (std::size_t i = 0; i < changes.entries().size(); ++i)
            benchmark::DoNotOptimize(changes.changes(i));
    }
}

void OpenWindow(benchmark::State& state, Setup* s)
{
    for (auto _ : state) {
        auto window = std::make_unique<TfrmHistory>(*s->history, s->current, nullptr);
        state.PauseTiming();
        window.reset();
        state.ResumeTiming();
    }
}

// What a Save's replacement of the pair costs at least: each file written
// beside itself, synced, renamed over itself, its directory synced.
void DurablePair(benchmark::State& state, Setup* s)
{
    for (auto _ : state) {
        for (const ProfileState::File& file : s->current.files) {
            const std::string path = s->game->systemDir().toStdString() + file.name, temporary = path + ".tmp";
            const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
            const bool done = fd >= 0 &&
                              ::write(fd, file.bytes->data(), file.bytes->size()) == ssize_t(file.bytes->size()) &&
                              ::fsync(fd) == 0 && ::close(fd) == 0 && ::rename(temporary.c_str(), path.c_str()) == 0;
            const int dir = ::open(s->game->systemDir().toStdString().c_str(), O_RDONLY | O_DIRECTORY);
            if (!done || dir < 0 || ::fsync(dir) != 0) state.SkipWithError("durable replacement failed");
            if (dir >= 0) ::close(dir);
        }
    }
}

// One Save kept: its before and its after, the oldest entry going.
void KeepOneSave(benchmark::State& state, Setup* s)
{
    for (auto _ : state)
        keepSave(*s);
}

struct Measure {
    const char* name;
    const char* title;
    const char* limit; // the measure it is a ratio of
    double targetMs;   // on the demo game; 0: none
    void (*run)(benchmark::State&, Setup*);
};
const Measure kMeasures[] = {
    {"PlainReadOfContents", "plain read of every kept content", nullptr, 0, PlainReadOfContents},
    {"Entries", "the 200 entries listed", "PlainReadOfContents", 0, Entries},
    {"KeyChangesOfAll", "key changes of every entry", "PlainReadOfContents", 0, KeyChangesOfAll},
    {"OpenWindow", "history window opened", "PlainReadOfContents", 200, OpenWindow},
    {"DurablePair", "durable replacement of both files", nullptr, 0, DurablePair},
    {"KeepOneSave", "one Save kept, before and after", "DurablePair", 0, KeepOneSave},
};

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    makeSetup("demo", 1);
    makeSetup("x10", 10);
    // The first window of a run also loads the fonts and the style: once, outside the measures.
    TfrmHistory(*g_setups.front()->history, g_setups.front()->current, nullptr);

    for (const Measure& m : kMeasures)
        for (const auto& s : g_setups)
            benchmark::RegisterBenchmark((std::string(m.name) + "/" + s->label).c_str(), m.run, s.get())
                ->Unit(benchmark::kMillisecond);
    RatioReporter reporter;
    runRepeated(argc, argv, reporter);

    std::printf("\nHistories (the newest 200 entries of Saves of one to three keys):\n");
    for (const auto& s : g_setups)
        std::printf("  %-4s User.ini %7zu B, UT2003.ini %7zu B; %zu contents kept, %llu KB\n", s->label.c_str(),
                    s->current.files[0].bytes->size(), s->current.files[1].bytes->size(), s->contents.size(),
                    static_cast<unsigned long long>(s->contentBytes / 1024));
    for (const bool cpu : {false, true}) {
        std::printf("\n%s, median of the repetitions\n%-40s", cpu ? "Processor time" : "Wall clock", "");
        for (const auto& s : g_setups)
            std::printf(" %10s", s->label.c_str());
        for (const auto& s : g_setups)
            std::printf(" %9s", (s->label + "/lim").c_str());
        std::printf("\n");
        for (const Measure& m : kMeasures) {
            const auto median = [&](const char* name, const Setup& s) {
                return reporter.median(std::string(name) + "/" + s.label, cpu);
            };
            std::printf("%-40s", m.title);
            for (const auto& s : g_setups)
                std::printf(" %7.2f ms", median(m.name, *s) * 1e3);
            for (const auto& s : g_setups) {
                const double limit = m.limit ? median(m.limit, *s) : 0;
                if (limit > 0)
                    std::printf(" %8.1fx", median(m.name, *s) / limit);
                else
                    std::printf(" %9s", "");
            }
            if (m.limit) std::printf("   (of: %s)", m.limit);
            const double demo = median(m.name, *g_setups.front()) * 1e3;
            if (m.targetMs > 0 && demo > 0)
                std::printf("   [demo under %.0f ms: %s]", m.targetMs, demo < m.targetMs ? "met" : "MISSED");
            std::printf("\n");
        }
    }
    g_setups.clear();
    benchmark::Shutdown();
    return 0;
}
