#pragma once

#include "update/UpdateControlFile.h"

#include <QNetworkAccessManager>
#include <QObject>
#include <QString>
#include <QUrl>

#include <functional>

class ShellStarter;

// The status codes of the update component's status notification.
enum WebUpdateStatusCode {
    wusNotFound = 2,     // the update stopped: control file not found, unreadable, or a file failed
    wusProgress = 3,     // an ordinary progress text
    wusNoNewVersion = 4, // the control file lists no later version
};

// The update component. It fetches the update control file (see
// UpdateControlFile.h) from its address, compares the version there with the
// running one, and for a later version downloads the listed files beside the
// program, checks each against its SHA-256, and after the restart
// notification replaces the program's files and starts the program again.
//
// All of it runs on the GUI thread: DoUpdate returns when the check is over,
// and meanwhile only the network and timers are served, no user input; the
// notifications come from inside DoUpdate.
class TWebUpdate : public QObject {
    Q_OBJECT
public:
    // Where the program asks; the environment variable (a mirror, a test
    // server) overrides it.
    static constexpr const char* DefaultURL = "https://corvane2003.example.org/update/Corvane2003.upd";
    static constexpr const char* UrlVariable = "CORVANE2003_UPDATE_URL";
    // A transfer that receives nothing for this long is given up.
    static constexpr int TransferTimeoutMs = 30000;

    enum class Result {
        NoUpdate,  // no later version
        Failed,    // stopped; nothing was replaced
        Declined,  // the restart notification said no; nothing was replaced
        Installed, // replaced, but the new program could not be started
        Restarted, // replaced and started: this program must end now
    };

    // `programDir` ends in the separator; `executable` is the program's file
    // name there, started through `starter` after a replacement.
    TWebUpdate(QString programDir, QString executable, ShellStarter& starter, QObject* parent = nullptr);

    QString URL = ConfiguredURL();

    // Runs the whole check, and the update if there is one, for the running
    // `version`. A second call while one runs returns Failed at once.
    Result DoUpdate(const QString& version);
    bool running() const { return m_running; }

    // The address in the environment variable, else DefaultURL.
    static QString ConfiguredURL();
    // HTTPS anywhere; plain HTTP only to this computer.
    static bool IsAllowedAddress(const QUrl& url);

signals:
    void OnStatus(QObject* sender, const QString& statusstr, int statuscode, int errcode);
    void OnFileProgress(QObject* sender, const QString& filename, qint64 pos, qint64 size);
    void OnAppRestart(QObject* sender, bool& allow);

private:
    Result run(const QString& version);
    Result stop(const QString& text, UpdateError error);
    void status(const QString& text, int code, UpdateError error = UpdateError::None);
    // Fetches `url`, handing each piece to `sink` (which may refuse it);
    // more than `limit` bytes stop the transfer.
    UpdateError fetch(const QUrl& url, qint64 limit, const std::function<bool(const QByteArray&)>& sink);
    UpdateError download(const UpdateFile& file, const QString& stagedPath);

    QString m_programDir;
    QString m_executable;
    ShellStarter& m_starter;
    QNetworkAccessManager m_network;
    bool m_running = false;
};
