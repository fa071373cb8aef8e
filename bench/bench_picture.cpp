// Map pictures that would cost the most under the decoder's limits (16 MB,
// 8192 pixels a side, the memory and scan budget), each loaded and decoded
// for the picture box as the Instant Action page does, against the time the
// page may be held up: 0.3 s. A picture over the budget is refused; either
// way the answer must come within that time. Prints each picture's outcome,
// time and ratio, and the worst.
//
//   bench_picture [--benchmark_* options]   (CORVANE_BENCH_DIR: where the files go)

#include "bench/RatioReporter.h"
#include "pages/instant_action/MapPicture.h"
#include "tests/support/ProgressiveJpeg.h"

#include <benchmark/benchmark.h>

#include <QFile>
#include <QTemporaryDir>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

constexpr double TargetSeconds = 0.3;
const QSize Box(236, 107);

struct Picture {
    const char* name;
    QString path;
    qint64 size = 0;
    QString outcome;
};
std::vector<Picture> g_pictures;

using ProgressiveJpeg::Content;

// Comment markers as far as the file limit allows, then a map picture.
QByteArray markersBefore(const QByteArray& picture)
{
    const QByteArray comment("\xFF\xFE\x00\x02", 4);
    QByteArray bytes = picture.left(2);
    bytes.reserve(qsizetype(MapPicture::MaxFileBytes));
    while (bytes.size() + comment.size() + picture.size() <= MapPicture::MaxFileBytes)
        bytes += comment;
    return bytes + picture.mid(2);
}

void Decode(benchmark::State& state, Picture* picture)
{
    for (auto _ : state) {
        const MapPicture::Decoded decoded = MapPicture::load(picture->path, Box);
        picture->outcome = decoded.image.isNull() ? decoded.failure : QStringLiteral("decoded");
        benchmark::DoNotOptimize(decoded.image.constBits());
    }
}

} // namespace

int main(int argc, char** argv)
{
    const char* base = std::getenv("CORVANE_BENCH_DIR");
    QTemporaryDir dir(QString::fromLocal8Bit(base && *base ? base : "/tmp") + "/corvane-bench-XXXXXX");
    if (!dir.isValid()) {
        std::fprintf(stderr, "no temporary directory\n");
        return 1;
    }
    const int scans = MapPicture::Budget().scans;
    const QByteArray mapPicture = ProgressiveJpeg::make(Box, 0, Content::Detail, 90);
    const std::pair<const char*, QByteArray> made[] = {
        {"a map picture, 236x107", mapPicture},
        {"baseline, 4600x4600 of detail", ProgressiveJpeg::make(QSize(4600, 4600), 0, Content::Detail, 85)},
        {"progressive, scan limit, 2400x2400 of detail",
         ProgressiveJpeg::make(QSize(2400, 2400), scans, Content::Detail)},
        {"progressive, scan limit, 5600x5600 flat", ProgressiveJpeg::make(QSize(5600, 5600), scans)},
        {"progressive, one scan over, 2000x2000 flat", ProgressiveJpeg::make(QSize(2000, 2000), scans + 1)},
        {"progressive, 2080 near-empty scans, 2000x2000",
         ProgressiveJpeg::make(QSize(2000, 2000), ProgressiveJpeg::MostScans)},
        {"16 MB of markers, then a map picture", markersBefore(mapPicture)},
    };
    for (const auto& [name, bytes] : made) {
        Picture picture{name, dir.filePath(QString::number(g_pictures.size()) + ".jpg"), bytes.size(), {}};
        QFile file(picture.path);
        if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size()) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(picture.path));
            return 1;
        }
        g_pictures.push_back(picture);
    }
    for (Picture& picture : g_pictures)
        benchmark::RegisterBenchmark(picture.name, Decode, &picture)->Unit(benchmark::kMillisecond)->Iterations(3);

    RatioReporter reporter;
    runRepeated(argc, argv, reporter);

    std::printf("\nLoad and decode of one picture / %.1f s (median of the repetitions, wall clock)\n", TargetSeconds);
    std::printf("%-48s %9s %9s %7s %9s  %s\n", "", "file", "time", "ratio", "processor", "outcome");
    double worst = 0;
    for (const Picture& picture : g_pictures) {
        const double seconds = reporter.median(picture.name);
        worst = std::max(worst, seconds / TargetSeconds);
        std::printf("%-48s %7.2fMB %7.1fms %6.2fx %7.1fms  %s\n", picture.name, double(picture.size) / (1 << 20),
                    seconds * 1e3, seconds / TargetSeconds, reporter.median(picture.name, true) * 1e3,
                    qPrintable(picture.outcome));
    }
    std::printf("%-48s %27.2fx  [< 1x]\n", "worst", worst);
    benchmark::Shutdown();
    return 0;
}
