// The main window over a copy of the demo game, offscreen: start-up until
// every page is loaded, and Save of all pages (the Save command with its
// message box answered), with the history kept and without it, on the demo
// game's profiles and on profiles ten times their size. Each against the
// physical limit of the same two files: reading and writing each once,
// durably (a plain read, write, sync and rename). Prints the absolute times,
// the ratios, the history's share and the growth with the files' size.
//
//   bench_window [--benchmark_* options]

#include "app/fMain.h"
#include "bench/PlainFile.h"
#include "bench/RatioReporter.h"
#include "dialogs/MessageBox.h"
#include "dialogs/ModalRunner.h"
#include "tests/support/MainWindowHarness.h"

#include <benchmark/benchmark.h>

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QElapsedTimer>

#include <algorithm>
#include <cstdio>
#include <map>
#include <memory>
#include <string>
#include <vector>

using namespace TestSupport;

namespace {

// A copy of the demo game whose two profiles are `factor` times their size.
struct Game {
    std::string label;
    int factor = 1;
    std::unique_ptr<TempGame> game;
    std::unique_ptr<TempProgramDir> program;
    qint64 userSize = 0, gameSize = 0;
};
std::vector<Game> g_games;

// A section of a package the program does not show, shaped like the game's
// own: settings of every form, an array, a commented line.
QByteArray fillerSection(int n)
{
    const QByteArray id = QByteArray::number(n);
    QByteArray text = "[CorvaneBench.Package" + id + "]\r\n";
    for (int k = 0; k < 6; ++k)
        text += "Entries[" + QByteArray::number(k) + "]=(ClassName=\"Package" + id + ".Class" + QByteArray::number(k) +
                "\",Weight=0.500000)\r\n";
    text += ";DefaultProperty=Removed\r\n";
    for (int k = 0; k < 8; ++k)
        text += "Setting" + QByteArray::number(k) + "=" + (k % 2 ? QByteArray("True") : QByteArray::number(k * 12)) +
                "\r\n";
    return text + "\r\n";
}

// The profile with sections the program does not show spread between its
// own, up to `factor` times its size: every section the program reads is
// found behind a share of them, as in the game's real files.
QByteArray enlarged(const QByteArray& profile, int factor)
{
    QList<QByteArray> sections;
    qsizetype begin = 0;
    for (qsizetype at = profile.indexOf("\n["); at >= 0; at = profile.indexOf("\n[", at + 1)) {
        sections << profile.mid(begin, at + 1 - begin);
        begin = at + 1;
    }
    sections << profile.mid(begin);
    const qsizetype extra = profile.size() * (factor - 1);
    QByteArray text;
    int filler = 0;
    qsizetype own = 0;
    for (qsizetype s = 0; s < sections.size(); ++s) {
        text += sections[s];
        own += sections[s].size();
        // After section s, the filler reaches its share of the whole.
        while (text.size() - own < extra * (s + 1) / sections.size())
            text += fillerSection(filler++);
    }
    return text;
}

void makeGame(const char* label, int factor)
{
    Game g;
    g.label = label;
    g.factor = factor;
    g.game = std::make_unique<TempGame>();
    g.program = std::make_unique<TempProgramDir>(configuredProgram(g.game->systemDir()));
    for (const QString& path : {g.game->userIni(), g.game->gameIni()})
        writeFile(path, enlarged(readFile(path), factor));
    g.userSize = readFile(g.game->userIni()).size();
    g.gameSize = readFile(g.game->gameIni()).size();
    g_games.push_back(std::move(g));
}

// Every message box and dialog is answered from the script; one that was not
// expected ends the benchmark with an error.
QString g_unexpected;

void startScript()
{
    MessageBox::startScript([](const QString& failure) { g_unexpected = failure; });
    ModalRunner::startScript([](const char* dialogClass) { g_unexpected = QString("dialog ") + dialogClass; });
}

bool failedOn(benchmark::State& state)
{
    if (g_unexpected.isEmpty()) return false;
    state.SkipWithError(qPrintable("unexpected " + g_unexpected));
    g_unexpected.clear();
    return true;
}

// Reading and writing both profiles once, durably as a Save does: each new
// file synced before its rename, the directory after it.
void PhysicalLimit(benchmark::State& state, const Game* g)
{
    const std::string user = g->game->userIni().toStdString(), game = g->game->gameIni().toStdString();
    for (auto _ : state)
        if (!PlainFile::durableReplace(user) || !PlainFile::durableReplace(game))
            state.SkipWithError("plain replacement failed");
}

void Startup(benchmark::State& state, const Game* g)
{
    for (auto _ : state) {
        auto main = std::make_unique<TfrmMain>(testEnvironment(*g->program));
        state.PauseTiming();
        if (!main->runTime().PagesLoaded) state.SkipWithError("the pages were not loaded");
        main.reset();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        state.ResumeTiming();
        if (failedOn(state)) break;
    }
}

// Save of all pages: unchanged, or with one setting of each file changed
// before each Save (a box on the General page for User.ini, one on the
// engine page for UT2003.ini).
void Save(benchmark::State& state, const Game* g, bool edited, bool history = true)
{
    TfrmMain main(testEnvironment(*g->program));
    if (!history) main.runTime().History.reset();
    QAction* save = main.findChild<QAction*>("Save1");
    QCheckBox* userBox = main.findChild<QCheckBox*>("cbCrosshair");
    QCheckBox* gameBox = main.findChild<QCheckBox*>("cbEAX");
    if (!save || !userBox || !gameBox) {
        state.SkipWithError("Save1, cbCrosshair or cbEAX missing");
        return;
    }
    for (auto _ : state) {
        if (edited) {
            state.PauseTiming();
            userBox->toggle();
            gameBox->toggle();
            state.ResumeTiming();
        }
        MessageBox::expect({MessageBox::Kind::Information, "The changes has been succesfully saved!",
                            MessageBox::Buttons::Ok, MessageBox::Answer::Ok});
        save->trigger();
        if (failedOn(state)) break;
    }
}

// SaveAllPages itself: the pages' keys collected and each file written once,
// without the progress window, the raw text page's refresh and the message;
// one setting of each file changed before each Save; with the history kept
// or without it.
void SaveAllPages(benchmark::State& state, const Game* g, bool history = true)
{
    TfrmMain main(testEnvironment(*g->program));
    if (!history) main.runTime().History.reset();
    QCheckBox* userBox = main.findChild<QCheckBox*>("cbCrosshair");
    QCheckBox* gameBox = main.findChild<QCheckBox*>("cbEAX");
    if (!userBox || !gameBox) {
        state.SkipWithError("cbCrosshair or cbEAX missing");
        return;
    }
    for (auto _ : state) {
        state.PauseTiming();
        userBox->toggle();
        gameBox->toggle();
        state.ResumeTiming();
        if (!main.pages().SaveAllPages()) state.SkipWithError("the Save failed");
        if (failedOn(state)) break;
    }
}

struct Measure {
    const char* name;
    const char* title;
    double targetMs;    // on the demo game; 0: none
    double targetRatio; // to the physical limit, on the demo game and x10; 0: none
    void (*run)(benchmark::State&, const Game*);
};
const Measure kMeasures[] = {
    {"PhysicalLimit", "read + write + sync + rename of both files", 0, 0, PhysicalLimit},
    {"Startup", "start-up until all pages are loaded", 100, 0, Startup},
    {"SaveAllPages", "SaveAllPages, one key per file changed", 0, 0,
     [](benchmark::State& s, const Game* g) { SaveAllPages(s, g); }},
    {"SaveAllPagesNoHistory", "the same, the history off", 0, 3,
     [](benchmark::State& s, const Game* g) { SaveAllPages(s, g, false); }},
    {"Save", "Save command, unchanged", 20, 0, [](benchmark::State& s, const Game* g) { Save(s, g, false); }},
    {"SaveEdited", "Save command, one key per file changed", 20, 0,
     [](benchmark::State& s, const Game* g) { Save(s, g, true); }},
    {"SaveEditedNoHistory", "the same, the history off", 0, 0,
     [](benchmark::State& s, const Game* g) { Save(s, g, true, false); }},
};

// The offscreen platform cannot raise a window; it says so at every dialog.
QtMessageHandler g_standardHandler = nullptr;

void quietRaise(QtMsgType type, const QMessageLogContext& context, const QString& message)
{
    if (message.contains(QLatin1String("does not support raise()"))) return;
    if (g_standardHandler) g_standardHandler(type, context, message);
}

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    g_standardHandler = qInstallMessageHandler(quietRaise);
    QApplication app(argc, argv);
    startScript();
    makeGame("demo", 1);
    // The first window of a run also loads the fonts and the style: once,
    // outside the repetitions.
    QElapsedTimer first;
    first.start();
    {
        TfrmMain main(testEnvironment(*g_games.front().program));
    }
    const double firstMs = static_cast<double>(first.nsecsElapsed()) / 1e6;
    makeGame("x10", 10);
    makeGame("x20", 20);

    // The physical limit takes a millisecond: it gets longer runs (the others
    // keep --benchmark_min_time, 0.5 s unless given).
    for (const Measure& m : kMeasures)
        for (const Game& g : g_games) {
            benchmark::internal::Benchmark* b =
                benchmark::RegisterBenchmark((std::string(m.name) + "/" + g.label).c_str(), m.run, &g);
            b->Unit(benchmark::kMillisecond)->ReportAggregatesOnly(false);
            if (m.run == PhysicalLimit) b->MinTime(2.0);
        }
    RatioReporter reporter;
    runRepeated(argc, argv, reporter);

    std::printf("\nFirst window of the run (demo game, fonts and style loaded on the way): %.1f ms\n", firstMs);
    std::printf("\nProfiles:\n");
    for (const Game& g : g_games)
        std::printf("  %-4s User.ini %7lld B, UT2003.ini %7lld B\n", g.label.c_str(),
                    static_cast<long long>(g.userSize), static_cast<long long>(g.gameSize));
    for (const bool cpu : {false, true}) {
        std::printf("\n%s, median of the repetitions\n", cpu ? "Processor time" : "Wall clock");
        std::printf("%-46s", "");
        for (const Game& g : g_games)
            std::printf(" %10s", g.label.c_str());
        for (const Game& g : g_games)
            std::printf(" %8s", (g.label + "/lim").c_str());
        std::printf("\n");
        for (const Measure& m : kMeasures) {
            std::printf("%-46s", m.title);
            for (const Game& g : g_games)
                std::printf(" %7.2f ms", reporter.median(std::string(m.name) + "/" + g.label, cpu) * 1e3);
            for (const Game& g : g_games) {
                const double limit = reporter.median("PhysicalLimit/" + g.label, cpu);
                std::printf(" %7.1fx",
                            limit > 0 ? reporter.median(std::string(m.name) + "/" + g.label, cpu) / limit : 0);
            }
            const double demo = reporter.median(std::string(m.name) + "/demo", cpu) * 1e3;
            if (m.targetMs > 0)
                std::printf("   [demo under %.0f ms: %s]", m.targetMs, demo < m.targetMs ? "met" : "MISSED");
            if (m.targetRatio > 0) {
                bool met = true;
                for (const char* label : {"demo", "x10"})
                    met = met && reporter.median(std::string(m.name) + "/" + label, cpu) <=
                                     m.targetRatio * reporter.median(std::string("PhysicalLimit/") + label, cpu);
                std::printf("   [demo and x10 within %.0fx: %s]", m.targetRatio, met ? "met" : "MISSED");
            }
            std::printf("\n");
        }
    }
    // Keeping the history may cost a Save at most as much again.
    std::printf("\nThe history's share of a Save (one key per file changed, history on / off)\n");
    for (const bool cpu : {false, true}) {
        std::printf("  %-16s", cpu ? "processor time" : "wall clock");
        bool met = true;
        for (const Game& g : g_games) {
            const double off = reporter.median("SaveEditedNoHistory/" + g.label, cpu);
            const double ratio = off > 0 ? reporter.median("SaveEdited/" + g.label, cpu) / off : 0;
            if (g.factor <= 10) met = met && ratio < 2;
            std::printf(" %s %.2fx", g.label.c_str(), ratio);
        }
        std::printf("   [demo and x10 under 2x: %s]\n", met ? "met" : "MISSED");
    }
    // Linear cost: a + b * size. The step from x10 to x20 adds as much as
    // ten ninths of the step from the demo to x10.
    std::printf("\nGrowth with the files' size (processor time; linear: the second step is 10/9 of the first)\n");
    for (const Measure& m : kMeasures) {
        const double demo = reporter.median(std::string(m.name) + "/demo", true);
        const double x10 = reporter.median(std::string(m.name) + "/x10", true);
        const double x20 = reporter.median(std::string(m.name) + "/x20", true);
        std::printf("%-46s demo->x10 +%.2f ms, x10->x20 +%.2f ms (%.2f of the first step)\n", m.title,
                    (x10 - demo) * 1e3, (x20 - x10) * 1e3, x10 > demo ? (x20 - x10) / (x10 - demo) : 0.0);
    }
    g_games.clear();
    MessageBox::stopScript();
    ModalRunner::stopScript();
    benchmark::Shutdown();
    return 0;
}
