#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>

#include <chrono>
#include <string>

// The map pictures are JPEG files that anyone may drop beside the program:
// a file may be cut short, damaged, no JPEG at all or far too large. Each of
// these is a failure with a reason, never an abort of the program.
namespace MapPicture {

constexpr qint64 MaxFileBytes = 16 * 1024 * 1024; // larger files are not read
constexpr unsigned MaxSide = 8192;                // pixels across or down

// What one picture may cost the program, whose window waits while it is
// decoded: the scans of a progressive picture (the usual ones have about
// ten) and the time. A picture over either is a bad picture.
struct Budget {
    int scans = 100;
    std::chrono::milliseconds time{200};
};

struct Decoded {
    QImage image;    // null when the picture cannot be shown
    QString failure; // why, for a null image
};

// Decodes JPEG bytes; a picture far larger than `fit` is decoded at a half,
// a quarter or an eighth of its size, never smaller than `fit`.
Decoded decode(const QByteArray& bytes, QSize fit = {}, Budget budget = {});
Decoded load(const QString& path, QSize fit = {}, Budget budget = {});

// The picture file in `programDir` for the map `mapName`: of the "*.jpg" files
// whose name without extension the map's name holds (letters compared in
// upper case), the last in the order the game's file system lists them
// (by name, ignoring case). A file named only ".jpg" matches no map. Empty
// when none matches or no map is given.
QString fileFor(const std::string& programDir, const QString& mapName);

} // namespace MapPicture
