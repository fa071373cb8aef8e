#include "update/WebUpdate.h"

#include "platform/ShellStart.h"
#include "update/StagedFiles.h"

#include <QCryptographicHash>
#include <QEventLoop>
#include <QFile>
#include <QHostAddress>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QScopeGuard>

#ifdef Q_OS_UNIX
#include <unistd.h>
#endif

namespace {

const QString ControlFileNotFound = QStringLiteral("Update control file not found");

// Makes the written bytes durable before the file may replace an original.
bool syncFile(QFile& file)
{
    if (!file.flush()) return false;
#ifdef Q_OS_UNIX
    if (::fsync(file.handle()) != 0) return false;
#endif
    file.close();
    return file.error() == QFileDevice::NoError;
}

} // namespace

TWebUpdate::TWebUpdate(QString programDir, QString executable, ShellStarter& starter, QObject* parent)
    : QObject(parent)
    , m_programDir(std::move(programDir))
    , m_executable(std::move(executable))
    , m_starter(starter)
{
}

QString TWebUpdate::ConfiguredURL()
{
    const QString configured = qEnvironmentVariable(UrlVariable).trimmed();
    return configured.isEmpty() ? QString::fromLatin1(DefaultURL) : configured;
}

bool TWebUpdate::IsAllowedAddress(const QUrl& url)
{
    if (!url.isValid() || url.host().isEmpty()) return false;
    if (url.scheme() == QLatin1String("https")) return true;
    if (url.scheme() != QLatin1String("http")) return false;
    const QString host = url.host();
    return host == QLatin1String("localhost") || QHostAddress(host).isLoopback();
}

TWebUpdate::Result TWebUpdate::DoUpdate(const QString& version)
{
    if (m_running) return Result::Failed;
    m_running = true;
    const auto done = qScopeGuard([this] { m_running = false; });
    return run(version);
}

void TWebUpdate::status(const QString& text, int code, UpdateError error)
{
    emit OnStatus(this, text, code, static_cast<int>(error));
}

TWebUpdate::Result TWebUpdate::stop(const QString& text, UpdateError error)
{
    status(text, wusNotFound, error);
    return Result::Failed;
}

TWebUpdate::Result TWebUpdate::run(const QString& version)
{
    status(QStringLiteral("Connecting to the update server"), wusProgress);
    const QUrl url(URL, QUrl::StrictMode);
    QByteArray control;
    const UpdateError fetched = fetch(url, UpdateControlFile::MaxSize, [&control](const QByteArray& bytes) {
        control += bytes;
        return true;
    });
    if (fetched != UpdateError::None) return stop(ControlFileNotFound, fetched);

    const UpdateControlFile::Parsed parsed = UpdateControlFile::parse(control);
    if (parsed.error != UpdateError::None) return stop(ControlFileNotFound, parsed.error);
    const UpdateControlFile& update = parsed.content;
    if (!IsNewerVersion(update.version, version)) {
        status(QStringLiteral("No new version found"), wusNoNewVersion);
        return Result::NoUpdate;
    }
    if (update.files.empty()) return stop(ControlFileNotFound, UpdateError::Malformed);

    StagedFiles staged(m_programDir, m_executable);
    std::vector<QString> paths;
    for (const UpdateFile& file : update.files) {
        if (!staged.insideProgramDir(file.path)) return stop(ControlFileNotFound, UpdateError::UnsafePath);
        paths.push_back(file.path);
    }

    status(QStringLiteral("Found file update instruction"), wusProgress);
    staged.discard(); // what an interrupted update left behind
    for (const UpdateFile& file : update.files) {
        const QString stagedPath = staged.prepare(file.path);
        const UpdateError error = stagedPath.isEmpty() ? UpdateError::Write : download(file, stagedPath);
        if (error != UpdateError::None) return stop(QStringLiteral("Update of %1 failed").arg(file.path), error);
    }
    status(QStringLiteral("All files downloaded"), wusProgress);

    bool allow = true;
    emit OnAppRestart(this, allow);
    if (!allow) {
        status(QStringLiteral("Update cancelled"), wusProgress);
        return Result::Declined;
    }
    if (!staged.commit(paths)) return stop(QStringLiteral("Cannot replace the program's files"), UpdateError::Replace);
    staged.discard();

    status(QStringLiteral("Restarting Corvane 2003"), wusProgress);
    if (!m_starter.Start((m_programDir + m_executable).toStdString(), std::string(), m_programDir.toStdString())) {
        status(QStringLiteral("Cannot start %1").arg(m_programDir + m_executable), wusProgress);
        return Result::Installed;
    }
    return Result::Restarted;
}

UpdateError TWebUpdate::download(const UpdateFile& file, const QString& stagedPath)
{
    QFile out(stagedPath);
    if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate)) return UpdateError::Write;
    QCryptographicHash hash(QCryptographicHash::Sha256);
    qint64 pos = 0;
    emit OnFileProgress(this, file.path, pos, file.size);

    QUrl relative;
    relative.setPath(file.path);
    const QUrl source = QUrl(URL, QUrl::StrictMode).resolved(relative);
    const UpdateError error = fetch(source, file.size, [&](const QByteArray& bytes) {
        if (out.write(bytes) != bytes.size()) return false;
        hash.addData(bytes);
        pos += bytes.size();
        emit OnFileProgress(this, file.path, pos, file.size);
        return true;
    });
    if (error != UpdateError::None) return error;
    if (!syncFile(out)) return UpdateError::Write;
    if (pos != file.size || hash.result() != file.sha256) return UpdateError::Checksum;
    return UpdateError::None;
}

UpdateError TWebUpdate::fetch(const QUrl& url, qint64 limit, const std::function<bool(const QByteArray&)>& sink)
{
    if (!IsAllowedAddress(url)) return UpdateError::InsecureAddress;
    QNetworkRequest request(url);
    request.setTransferTimeout(TransferTimeoutMs);
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::UserVerifiedRedirectPolicy);
    request.setHeader(QNetworkRequest::UserAgentHeader, QStringLiteral("Corvane2003"));
    QNetworkReply* reply = m_network.get(request);

    UpdateError error = UpdateError::None;
    qint64 received = 0;
    QEventLoop loop;
    const auto fail = [&](UpdateError why) {
        if (error == UpdateError::None) error = why;
        reply->abort();
    };
    const auto take = [&] {
        if (error != UpdateError::None) return;
        const int httpStatus = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
        if (httpStatus >= 300 && httpStatus < 400) return; // the body of a redirection
        if (httpStatus != 200) return fail(UpdateError::Unreachable);
        const QByteArray bytes = reply->readAll();
        received += bytes.size();
        if (received > limit) return fail(UpdateError::TooLarge);
        if (!bytes.isEmpty() && !sink(bytes)) fail(UpdateError::Write);
    };
    // A redirection may not lead from HTTPS, or from this computer, elsewhere.
    connect(reply, &QNetworkReply::redirected, &loop, [&](const QUrl& target) {
        if (IsAllowedAddress(target) && (target.scheme() == url.scheme() || url.scheme() == QLatin1String("http")))
            emit reply->redirectAllowed();
        else
            fail(UpdateError::InsecureAddress);
    });
    connect(reply, &QNetworkReply::metaDataChanged, &loop, [&] {
        const int httpStatus = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
        if (httpStatus >= 300 && httpStatus < 400) return;
        if (httpStatus != 200) return fail(UpdateError::Unreachable);
        const QVariant length = reply->header(QNetworkRequest::ContentLengthHeader);
        if (length.isValid() && length.toLongLong() > limit) fail(UpdateError::TooLarge);
    });
    connect(reply, &QNetworkReply::readyRead, &loop, take);
    connect(reply, &QNetworkReply::finished, &loop, [&] {
        if (reply->error() == QNetworkReply::NoError) take();
        loop.quit();
    });
    // Only the network and timers are served meanwhile: the user's input waits.
    if (!reply->isFinished()) loop.exec(QEventLoop::ExcludeUserInputEvents);

    if (error == UpdateError::None && (reply->error() != QNetworkReply::NoError ||
                                       reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt() != 200))
        error = UpdateError::Unreachable;
    reply->disconnect();
    delete reply;
    return error;
}
