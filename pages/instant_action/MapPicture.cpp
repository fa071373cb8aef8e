#include "pages/instant_action/MapPicture.h"

#include "pages/instant_action/MapSources.h"
#include "platform/Paths.h"

#include <QFile>

#include <algorithm>
#include <chrono>
#include <csetjmp>
#include <cstdio>

#include <jerror.h>
#include <jpeglib.h>

namespace MapPicture {

namespace {

// Memory the decoder may take for one picture; a progressive picture of the
// largest accepted size stays below it, anything beyond fails cleanly.
constexpr long MaxDecoderMemory = 96L * 1024 * 1024;

// libjpeg stops on an error by calling error_exit, which must not return: it
// jumps back to the decoder below; a picture over its budget stops it the
// same way. Warnings (data cut short, corrupt entropy data) are counted: such
// a picture would show grey or garbled parts.
struct Decoder {
    jpeg_error_mgr errors;
    jpeg_progress_mgr progress;
    std::jmp_buf escape;
    char message[JMSG_LENGTH_MAX];
    int warnings;
    int maxScans;
    std::chrono::steady_clock::time_point deadline;
    jpeg_source_mgr source;
    const unsigned char* data;
    std::size_t size;
    std::size_t handedOut; // bytes of `data` the source has handed to libjpeg
};

Decoder& decoder(j_common_ptr info) { return *static_cast<Decoder*>(info->client_data); }

[[noreturn]] void stop(j_common_ptr info) { std::longjmp(decoder(info).escape, 1); }

void errorExit(j_common_ptr info)
{
    (*info->err->format_message)(info, decoder(info).message);
    stop(info);
}

void emitMessage(j_common_ptr info, int level)
{
    if (level >= 0) return; // trace output
    if (decoder(info).warnings++ == 0) (*info->err->format_message)(info, decoder(info).message);
}

// Called by libjpeg between rows and scans while it reads the picture.
void checkBudget(j_common_ptr info)
{
    Decoder& d = decoder(info);
    if (reinterpret_cast<j_decompress_ptr>(info)->input_scan_number > d.maxScans) {
        std::snprintf(d.message, sizeof d.message, "The picture has more than %d scans", d.maxScans);
        stop(info);
    }
    if (std::chrono::steady_clock::now() > d.deadline) {
        std::snprintf(d.message, sizeof d.message, "The picture takes too long to decode");
        stop(info);
    }
}

// The file is handed to libjpeg a piece at a time, so that the budget is also
// watched while it reads markers: a file may hold nothing but them.
constexpr std::size_t SourcePiece = 64 * 1024;
const JOCTET FakeEnd[] = {0xFF, JPEG_EOI};

void startSource(j_decompress_ptr) {}

boolean nextPiece(j_decompress_ptr info)
{
    Decoder& d = decoder(reinterpret_cast<j_common_ptr>(info));
    checkBudget(reinterpret_cast<j_common_ptr>(info));
    if (d.handedOut >= d.size) {
        // The file ends before the picture does: what libjpeg's own source does.
        WARNMS(info, JWRN_JPEG_EOF);
        d.source.next_input_byte = FakeEnd;
        d.source.bytes_in_buffer = sizeof FakeEnd;
        return TRUE;
    }
    const std::size_t piece = std::min(SourcePiece, d.size - d.handedOut);
    d.source.next_input_byte = d.data + d.handedOut;
    d.source.bytes_in_buffer = piece;
    d.handedOut += piece;
    return TRUE;
}

void skipBytes(j_decompress_ptr info, long count)
{
    jpeg_source_mgr& source = decoder(reinterpret_cast<j_common_ptr>(info)).source;
    if (count <= 0) return;
    while (static_cast<std::size_t>(count) > source.bytes_in_buffer) {
        count -= static_cast<long>(source.bytes_in_buffer);
        nextPiece(info);
    }
    source.next_input_byte += count;
    source.bytes_in_buffer -= static_cast<std::size_t>(count);
}

void endSource(j_decompress_ptr) {}

unsigned scaleDenominator(unsigned width, unsigned height, QSize fit)
{
    unsigned denominator = 1;
    if (fit.isEmpty()) return denominator;
    const auto fw = static_cast<unsigned>(fit.width());
    const auto fh = static_cast<unsigned>(fit.height());
    while (denominator < 8 && width / (denominator * 2) >= fw && height / (denominator * 2) >= fh)
        denominator *= 2;
    return denominator;
}

// Only plain C objects live in this frame, so the jump from errorExit back
// to setjmp skips no destructor. `out` lives in the caller's frame.
bool decodeInto(const unsigned char* data, std::size_t size, QSize fit, QImage& out, Decoder& d)
{
    jpeg_decompress_struct info;
    info.err = jpeg_std_error(&d.errors);
    info.client_data = &d; // kept by jpeg_create_decompress
    d.errors.error_exit = errorExit;
    d.errors.emit_message = emitMessage;
    d.message[0] = '\0';
    d.warnings = 0;
    if (setjmp(d.escape)) {
        jpeg_destroy_decompress(&info);
        return false;
    }
    jpeg_create_decompress(&info);
    d.progress = {};
    d.progress.progress_monitor = checkBudget;
    info.progress = &d.progress;
    info.mem->max_memory_to_use = MaxDecoderMemory;
    d.data = data;
    d.size = size;
    d.handedOut = 0;
    d.source = {};
    d.source.init_source = startSource;
    d.source.fill_input_buffer = nextPiece;
    d.source.skip_input_data = skipBytes;
    d.source.resync_to_restart = jpeg_resync_to_restart;
    d.source.term_source = endSource;
    info.src = &d.source;
    jpeg_read_header(&info, TRUE);
    if (info.image_width > MaxSide || info.image_height > MaxSide) {
        std::snprintf(d.message, sizeof d.message, "The picture is too large (%u by %u pixels)", info.image_width,
                      info.image_height);
        jpeg_destroy_decompress(&info);
        return false;
    }
    info.out_color_space = JCS_RGB;
    info.scale_num = 1;
    info.scale_denom = scaleDenominator(info.image_width, info.image_height, fit);
    jpeg_start_decompress(&info);
    out = QImage(static_cast<int>(info.output_width), static_cast<int>(info.output_height), QImage::Format_RGB888);
    if (out.isNull()) {
        std::snprintf(d.message, sizeof d.message, "Not enough memory for the picture");
        jpeg_destroy_decompress(&info);
        return false;
    }
    while (info.output_scanline < info.output_height) {
        JSAMPROW row = out.scanLine(static_cast<int>(info.output_scanline));
        jpeg_read_scanlines(&info, &row, 1);
    }
    jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);
    return d.warnings == 0;
}

Decoded failed(const QString& why) { return {QImage(), why}; }

Decoded decodeUntil(const QByteArray& bytes, QSize fit, int maxScans, std::chrono::steady_clock::time_point deadline)
{
    if (bytes.isEmpty()) return failed(QStringLiteral("The file is empty"));
    Decoder d;
    d.maxScans = maxScans;
    d.deadline = deadline;
    QImage image;
    const bool ok = decodeInto(reinterpret_cast<const unsigned char*>(bytes.constData()),
                               static_cast<std::size_t>(bytes.size()), fit, image, d);
    if (!ok) return failed(QString::fromLocal8Bit(d.message));
    return {image, {}};
}

} // namespace

Decoded decode(const QByteArray& bytes, QSize fit, Budget budget)
{
    return decodeUntil(bytes, fit, budget.scans, std::chrono::steady_clock::now() + budget.time);
}

Decoded load(const QString& path, QSize fit, Budget budget)
{
    const auto deadline = std::chrono::steady_clock::now() + budget.time; // the reading counts too
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return failed(file.errorString());
    if (file.size() > MaxFileBytes) return failed(QStringLiteral("The file is too large"));
    const QByteArray bytes = file.read(MaxFileBytes + 1);
    if (file.error() != QFileDevice::NoError) return failed(file.errorString());
    if (bytes.size() > MaxFileBytes) return failed(QStringLiteral("The file is too large"));
    return decodeUntil(bytes, fit, budget.scans, deadline);
}

QString fileFor(const std::string& programDir, const QString& mapName)
{
    if (mapName.isEmpty() || programDir.empty()) return {};
    QStringList names = MapSources::fileNames(platform::findFiles(programDir, "*.jpg"));
    MapSources::sortIgnoringCase(names);
    const QString map = MapSources::upperAscii(mapName);
    QString shown;
    for (const QString& name : names) {
        const QString part = MapSources::upperAscii(name.chopped(4));
        if (!part.isEmpty() && map.contains(part)) shown = name;
    }
    return shown.isEmpty() ? QString() : QFile::decodeName(programDir.c_str()) + shown;
}

} // namespace MapPicture
