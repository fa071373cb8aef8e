#pragma once

// JPEG pictures written with libjpeg for the map picture tests and the
// benchmark: progressive pictures of as many scans as asked, flat (next to
// nothing in each scan) or full of detail.

#include <QByteArray>
#include <QSize>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include <jpeglib.h>

namespace ProgressiveJpeg {

enum class Content { Flat, Detail };

// Scans that a colour picture can have at most here: one of the DC values,
// then each of the 63 AC coefficients of each of the 3 components in a scan
// of its own, first sent at a tenth of its bits, then refined bit by bit.
constexpr int MostScans = 1 + 63 * 3 * 11;

// The scan script of `scans` scans (1 to MostScans).
inline std::vector<jpeg_scan_info> script(int scans)
{
    std::vector<jpeg_scan_info> result;
    result.push_back({3, {0, 1, 2, 0}, 0, 0, 0, 0});
    const int perCoefficient = std::clamp((scans - 1 + 188) / 189, 1, 11);
    for (int k = 1; k <= 63; ++k)
        for (int c = 0; c < 3; ++c)
            for (int bit = perCoefficient - 1; bit >= 0; --bit) {
                if (int(result.size()) >= scans) return result;
                const bool first = bit == perCoefficient - 1;
                result.push_back({1, {c, 0, 0, 0}, k, k, first ? 0 : bit + 1, bit});
            }
    return result;
}

// A picture of `scans` scans; 0 scans make a baseline picture of one.
inline QByteArray make(QSize size, int scans, Content content = Content::Flat, int quality = 75)
{
    jpeg_compress_struct info;
    jpeg_error_mgr errors;
    info.err = jpeg_std_error(&errors);
    jpeg_create_compress(&info);
    unsigned char* out = nullptr;
    unsigned long outSize = 0;
    jpeg_mem_dest(&info, &out, &outSize);
    info.image_width = JDIMENSION(size.width());
    info.image_height = JDIMENSION(size.height());
    info.input_components = 3;
    info.in_color_space = JCS_RGB;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, quality, TRUE);
    const std::vector<jpeg_scan_info> steps = scans > 0 ? script(scans) : std::vector<jpeg_scan_info>();
    if (!steps.empty()) {
        info.scan_info = steps.data();
        info.num_scans = int(steps.size());
    }
    jpeg_start_compress(&info, TRUE);
    std::vector<unsigned char> row(std::size_t(size.width()) * 3, 128);
    std::uint32_t noise = 12345;
    while (info.next_scanline < info.image_height) {
        if (content == Content::Detail)
            for (unsigned char& byte : row) {
                noise = noise * 1664525u + 1013904223u;
                byte = static_cast<unsigned char>(noise >> 24);
            }
        JSAMPROW rows[] = {row.data()};
        jpeg_write_scanlines(&info, rows, 1);
    }
    jpeg_finish_compress(&info);
    QByteArray bytes(reinterpret_cast<const char*>(out), qsizetype(outSize));
    jpeg_destroy_compress(&info);
    std::free(out);
    return bytes;
}

} // namespace ProgressiveJpeg
