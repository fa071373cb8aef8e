#pragma once

#include <QByteArray>
#include <QString>

class QFile;

// Writes that must survive a power cut: an update's staged files, its
// journal and the renames that put the new files in place.
namespace DurableFiles {

// Flushes and syncs an open file to the disk, then closes it.
bool syncFile(QFile& file);

// Syncs a directory, so that the renames and new names in it are on the disk.
bool syncDirectory(const QString& dir);

// Replaces `path` by a file holding `bytes`: written beside it, synced and
// renamed over it, the directory synced after. A failure leaves the old file.
bool writeFile(const QString& path, const QByteArray& bytes);

} // namespace DurableFiles
