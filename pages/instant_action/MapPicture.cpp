#include "pages/instant_action/MapPicture.h"

#include "pages/instant_action/MapSources.h"
#include "platform/Paths.h"

#include <QFile>

#include <algorithm>
#include <csetjmp>
#include <cstdio>

#include <jpeglib.h>

namespace MapPicture {

namespace {

// Memory the decoder may take for one picture; a progressive picture of the
// largest accepted size stays below it, anything beyond fails cleanly.
constexpr long MaxDecoderMemory = 96L * 1024 * 1024;

// libjpeg stops on an error by calling error_exit, which must not return: it
// jumps back to the decoder below. Warnings (data cut short, corrupt
// entropy data) are counted: such a picture would show grey or garbled parts.
struct ErrorManager {
    jpeg_error_mgr base; // first, so libjpeg's pointer to it is a pointer to this
    std::jmp_buf escape;
    char message[JMSG_LENGTH_MAX];
    int warnings;
};

void errorExit(j_common_ptr info)
{
    auto* manager = reinterpret_cast<ErrorManager*>(info->err);
    (*info->err->format_message)(info, manager->message);
    std::longjmp(manager->escape, 1);
}

void emitMessage(j_common_ptr info, int level)
{
    if (level >= 0) return; // trace output
    auto* manager = reinterpret_cast<ErrorManager*>(info->err);
    if (manager->warnings++ == 0) (*info->err->format_message)(info, manager->message);
}

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
bool decodeInto(const unsigned char* data, unsigned long size, QSize fit, QImage& out, ErrorManager& manager)
{
    jpeg_decompress_struct info;
    info.err = jpeg_std_error(&manager.base);
    manager.base.error_exit = errorExit;
    manager.base.emit_message = emitMessage;
    manager.warnings = 0;
    manager.message[0] = '\0';
    if (setjmp(manager.escape)) {
        jpeg_destroy_decompress(&info);
        return false;
    }
    jpeg_create_decompress(&info);
    info.mem->max_memory_to_use = MaxDecoderMemory;
    jpeg_mem_src(&info, data, size);
    jpeg_read_header(&info, TRUE);
    if (info.image_width > MaxSide || info.image_height > MaxSide) {
        std::snprintf(manager.message, sizeof manager.message, "The picture is too large (%u by %u pixels)",
                      info.image_width, info.image_height);
        jpeg_destroy_decompress(&info);
        return false;
    }
    info.out_color_space = JCS_RGB;
    info.scale_num = 1;
    info.scale_denom = scaleDenominator(info.image_width, info.image_height, fit);
    jpeg_start_decompress(&info);
    out = QImage(static_cast<int>(info.output_width), static_cast<int>(info.output_height), QImage::Format_RGB888);
    if (out.isNull()) {
        std::snprintf(manager.message, sizeof manager.message, "Not enough memory for the picture");
        jpeg_destroy_decompress(&info);
        return false;
    }
    while (info.output_scanline < info.output_height) {
        JSAMPROW row = out.scanLine(static_cast<int>(info.output_scanline));
        jpeg_read_scanlines(&info, &row, 1);
    }
    jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);
    return manager.warnings == 0;
}

Decoded failed(const QString& why) { return {QImage(), why}; }

} // namespace

Decoded decode(const QByteArray& bytes, QSize fit)
{
    if (bytes.isEmpty()) return failed(QStringLiteral("The file is empty"));
    ErrorManager manager;
    QImage image;
    const bool ok = decodeInto(reinterpret_cast<const unsigned char*>(bytes.constData()),
                               static_cast<unsigned long>(bytes.size()), fit, image, manager);
    if (!ok) return failed(QString::fromLocal8Bit(manager.message));
    return {image, {}};
}

Decoded load(const QString& path, QSize fit)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return failed(file.errorString());
    if (file.size() > MaxFileBytes) return failed(QStringLiteral("The file is too large"));
    const QByteArray bytes = file.read(MaxFileBytes + 1);
    if (file.error() != QFileDevice::NoError) return failed(file.errorString());
    if (bytes.size() > MaxFileBytes) return failed(QStringLiteral("The file is too large"));
    return decode(bytes, fit);
}

QString fileFor(const std::string& programDir, const QString& mapName)
{
    if (mapName.isEmpty() || programDir.empty()) return {};
    QStringList names = MapSources::fileNames(platform::FindFiles(programDir, "*.jpg"));
    MapSources::sortIgnoringCase(names);
    const QString map = MapSources::upperAscii(mapName);
    QString shown;
    for (const QString& name : names)
        if (map.contains(MapSources::upperAscii(name.chopped(4)))) shown = name;
    return shown.isEmpty() ? QString() : QFile::decodeName(programDir.c_str()) + shown;
}

} // namespace MapPicture
