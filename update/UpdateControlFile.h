#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QString>

#include <vector>

// Why an update check stopped. Carried as the error code of the status
// notifications.
enum class UpdateError {
    None,
    Unreachable,     // no answer, or not "200 OK"
    InsecureAddress, // not HTTPS (plain HTTP is accepted on this computer only)
    TooLarge,        // more bytes than the control file or a listed file may have
    Malformed,       // the control file does not read as one
    UnsafePath,      // a listed file would land outside the program's directory
    Checksum,        // a downloaded file is not the one the control file lists
    Write,           // a downloaded file could not be written beside the program
    Replace,         // the program's files could not be replaced (all were put back)
    NotSigned,       // the control file has no valid signature by the release key
    Expired,         // the control file is past its Expires date
    TimedOut,        // a transfer took longer than it may
    Cancelled,       // the user pressed Cancel
    NoSpace,         // too little free space beside the program for the listed files
    Unfinished,      // an earlier update waits for the program to start again
};

// One file of an update: where it goes, relative to the program's directory,
// and what it must be.
struct UpdateFile {
    QString path; // '/'-separated, checked by IsSafeUpdatePath
    qint64 size = 0;
    QByteArray sha256; // 32 bytes
};

// The update control file, a small text file of our own:
//
//   # comment
//   Version 1.3
//   Expires 31/12/2027
//   File 2000 <SHA-256 in hex> corvane2003
//   File 5120 <SHA-256 in hex> Maps/Pictures/DM-Antalus.jpg
//
// Keywords in any letter case, lines ending in LF or CR LF, blank lines and
// "#" lines ignored. The files are fetched from the control file's address
// with its last part replaced by the file's path; folders that do not exist
// yet are created. `Expires` (day/month/year, optionally followed by hh:mm,
// in UTC; a date alone lasts to the end of that day) is required: the file is
// signed, so a server cannot keep offering an old one past that moment. A
// date more than MaxValidityMonths after the check makes the file malformed:
// signed, it would never expire.
struct UpdateControlFile {
    static constexpr int MaxValidityMonths = 13;
    static constexpr qint64 MaxSize = 64 * 1024;
    static constexpr qint64 MaxFileSize = 64 * 1024 * 1024;
    static constexpr int MaxFiles = 64;

    QString version;
    QDateTime expires; // UTC: the control file is refused from this moment on
    std::vector<UpdateFile> files;

    struct Parsed;
    // Reads the control file; anything it does not know makes it malformed.
    static Parsed parse(const QByteArray& bytes);
};

struct UpdateControlFile::Parsed {
    UpdateError error = UpdateError::None;
    QString detail; // the offending line, for the status text
    UpdateControlFile content;
};

// "1.2", "1.10", "2.0.1": up to four numbers separated by points.
bool isVersion(const QString& text);
// Whether `candidate` is a later version than `current` ("1.10" is after "1.9", "1.2.0" equals "1.2").
bool isNewerVersion(const QString& candidate, const QString& current);

// A relative path that stays below the directory it is taken from: no "..",
// no absolute path or drive, no backslash, no hidden or empty parts.
bool isSafeUpdatePath(const QString& path);
