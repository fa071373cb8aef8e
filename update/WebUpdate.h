#pragma once

#include "update/UpdateControlFile.h"

#include <QDateTime>
#include <QObject>
#include <QString>
#include <QUrl>

#include <functional>

class QDeadlineTimer;
class ShellStarter;

// The status codes of the update component's status notification.
enum WebUpdateStatusCode {
    wusNotFound = 2,     // the update stopped: control file not found, unreadable, unsigned, or a file failed
    wusProgress = 3,     // an ordinary progress text
    wusNoNewVersion = 4, // the control file lists no later version
};

// The update component. It fetches the update control file (see
// UpdateControlFile.h) and its minisign signature from their addresses and
// refuses the control file unless the release key signed it; then it
// compares the version there with the running one, and for a later version
// downloads the listed files beside the program, checks each against its
// SHA-256, and after the restart notification replaces the program's files
// and starts the program again.
//
// All of it runs on the GUI thread: DoUpdate returns when the check is over,
// and meanwhile the network and timers are served (the caller keeps the
// user's input away but for a Cancel button); the notifications come from
// inside DoUpdate.
class TWebUpdate : public QObject {
    Q_OBJECT
public:
    // Where the program asks; the environment variable (a mirror, a test
    // server) overrides it. A mirror cannot forge the signature.
    static constexpr const char* DefaultURL = "https://corvane2003.example.org/update/Corvane2003.upd";
    static constexpr const char* UrlVariable = "CORVANE2003_UPDATE_URL";
    // The signature is fetched from the control file's address with this appended.
    static constexpr const char* SignatureSuffix = ".minisig";
    // The release key's public half (minisign key A037C2E27E72ED02).
    static constexpr const char* ReleasePublicKey = "RWQC7XJ+4sI3oI6i74lBz7wXfjdz+u87t8LZpYSdhy84uM1ImMmTTCTL";
    // A transfer that receives nothing for this long is given up.
    static constexpr int TransferTimeoutMs = 30000;
    // What a transfer holds unread at most: a server that sends faster than
    // the engine takes waits, and one that is cut off leaves no more behind.
    static constexpr qint64 ReadBufferBytes = 64 * 1024;
    // Redirections followed for one file at most.
    static constexpr int MaxRedirections = 8;

    enum class Result {
        NoUpdate,  // no later version
        Failed,    // stopped; nothing was replaced
        Declined,  // the restart notification said no; nothing was replaced
        Installed, // replaced, but the new program could not be started
        Restarted, // replaced and started: this program must end now
        Cancelled, // the user pressed Cancel; nothing was replaced
        Available, // a later version exists, but this copy does not replace its files
        NotTaken,  // the later version was installed once and the program still reported the old one
    };

    // `programDir` ends in the separator; `executable` is the program's file
    // name there, started through `starter` after a replacement.
    TWebUpdate(QString programDir, QString executable, ShellStarter& starter, QObject* parent = nullptr);

    // Settings.
    QString URL = ConfiguredURL();
    QString PublicKey = QString::fromLatin1(ReleasePublicKey); // the only key whose control files are taken
    bool ReplaceFiles = true; // false for an installed copy: it only tells of a later version
    QString RecordDir; // where the UpdateRecord is kept (ending in the separator); empty: the program's directory
    int ControlFileDeadlineMs = 20000; // the control file and its signature, from the first byte asked to the last
    // A download may take this long plus its size at the lowest rate.
    int DownloadDeadlineMs = 20000;
    qint64 MinimumBytesPerSecond = 32 * 1024;
    std::function<qint64(const QString& dir)> FreeSpace; // bytes free in a directory; -1 unknown
    std::function<QDateTime()> Now;                      // the time the expiry date is compared with

    // Runs the whole check, and the update if there is one, for the running
    // `version`. A second call while one runs returns Failed at once.
    Result DoUpdate(const QString& version);
    bool running() const { return m_running; }
    // The version of the last signed control file read, when it was later than the running one.
    QString offeredVersion() const { return m_offered; }

    // Stops a running check or download, with nothing replaced; once the
    // files are being replaced it comes too late and does nothing.
    void cancel();
    bool canCancel() const { return m_running && !m_replacing; }

    // The address in the environment variable, else DefaultURL.
    static QString ConfiguredURL();
    // HTTPS anywhere; plain HTTP only to this computer.
    static bool IsAllowedAddress(const QUrl& url);

signals:
    void OnStatus(QObject* sender, const QString& statusstr, int statuscode, int errcode);
    void OnFileProgress(QObject* sender, const QString& filename, qint64 pos, qint64 size);
    void OnAppRestart(QObject* sender, bool& allow);
    void cancelRequested();

private:
    Result run(const QString& version);
    Result stop(const QString& text, UpdateError error);
    void status(const QString& text, int code, UpdateError error = UpdateError::None);
    // The control file, once its signature by the release key holds.
    UpdateError fetchSigned(const QUrl& url, QByteArray& control);
    using Sink = std::function<bool(const QByteArray&)>;
    // Fetches `url`, handing each piece to `sink` (which may refuse it);
    // more than `limit` bytes, or the deadline passing, stop the transfer.
    // Redirections are followed here, each with a transfer of its own.
    UpdateError fetch(const QUrl& url, qint64 limit, const QDeadlineTimer& deadline, const Sink& sink);
    // One request, over a connection of its own (HttpGet); a redirection ends
    // it with its target in `redirection`.
    UpdateError transfer(const QUrl& url, qint64 limit, const QDeadlineTimer& deadline, const Sink& sink,
                         QUrl& redirection);
    UpdateError download(const UpdateFile& file, const QString& stagedPath);
    Result replace(const UpdateControlFile& update, const QString& version);
    QString recordDir() const { return RecordDir.isEmpty() ? m_programDir : RecordDir; }

    QString m_programDir;
    QString m_executable;
    ShellStarter& m_starter;
    bool m_running = false;
    bool m_replacing = false;
    bool m_cancelled = false;
    QString m_offered;
};
