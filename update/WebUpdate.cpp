#include "update/WebUpdate.h"

#include "platform/ShellStart.h"
#include "update/DurableFiles.h"
#include "update/HttpGet.h"
#include "update/MinisignVerifier.h"
#include "update/StagedFiles.h"
#include "update/UpdateRecord.h"

#include <QCryptographicHash>
#include <QDeadlineTimer>
#include <QEventLoop>
#include <QFile>
#include <QHostAddress>
#include <QScopeGuard>
#include <QStorageInfo>
#include <QTimer>

#include <numeric>

namespace {

const QString ControlFileNotFound = QStringLiteral("Update control file not found");
const QString NotSignedByReleaseKey = QStringLiteral("The update is not signed by the release key");

// Room for the directories and the journal beside the listed files.
constexpr qint64 SpaceMargin = 1024 * 1024;

} // namespace

TWebUpdate::TWebUpdate(QString programDir, QString executable, ShellStarter& starter, QObject* parent)
    : QObject(parent)
    , FreeSpace([](const QString& dir) { return QStorageInfo(dir).bytesAvailable(); })
    , Now([] { return QDateTime::currentDateTimeUtc(); })
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
    m_replacing = m_cancelled = false;
    m_offered.clear();
    const auto done = qScopeGuard([this] { m_running = m_replacing = false; });
    return run(version);
}

void TWebUpdate::cancel()
{
    if (!canCancel()) return;
    m_cancelled = true;
    emit cancelRequested();
}

void TWebUpdate::status(const QString& text, int code, UpdateError error)
{
    emit OnStatus(this, text, code, static_cast<int>(error));
}

TWebUpdate::Result TWebUpdate::stop(const QString& text, UpdateError error)
{
    if (error == UpdateError::Cancelled) {
        status(QStringLiteral("Update cancelled"), wusProgress, error);
        return Result::Cancelled;
    }
    status(text, wusNotFound, error);
    return Result::Failed;
}

TWebUpdate::Result TWebUpdate::run(const QString& version)
{
    if (ReplaceFiles && StagedFiles::hasJournal(m_programDir))
        return stop(QStringLiteral("Corvane 2003 must be started again to finish the last update"),
                    UpdateError::Unfinished);
    status(QStringLiteral("Connecting to the update server"), wusProgress);
    QByteArray control;
    if (const UpdateError error = fetchSigned(QUrl(URL, QUrl::StrictMode), control); error != UpdateError::None)
        return stop(error == UpdateError::NotSigned ? NotSignedByReleaseKey : ControlFileNotFound, error);

    const UpdateControlFile::Parsed parsed = UpdateControlFile::parse(control);
    if (parsed.error != UpdateError::None) return stop(ControlFileNotFound, parsed.error);
    const UpdateControlFile& update = parsed.content;
    const QDateTime now = Now();
    if (now >= update.expires) return stop(QStringLiteral("The update control file has expired"), UpdateError::Expired);
    if (update.expires > now.addMonths(UpdateControlFile::MaxValidityMonths))
        return stop(ControlFileNotFound, UpdateError::Malformed);
    if (!isNewerVersion(update.version, version)) {
        status(QStringLiteral("No new version found"), wusNoNewVersion);
        return Result::NoUpdate;
    }
    m_offered = update.version;
    if (UpdateRecord::read(recordDir()).didNotTake(update.version, version)) {
        status(
            QStringLiteral("Version %1 was installed, but the program still reports %2").arg(update.version, version),
            wusProgress);
        return Result::NotTaken;
    }
    if (!ReplaceFiles) {
        status(QStringLiteral("Version %1 is available").arg(update.version), wusProgress);
        return Result::Available;
    }
    if (update.files.empty()) return stop(ControlFileNotFound, UpdateError::Malformed);
    return replace(update, version);
}

TWebUpdate::Result TWebUpdate::replace(const UpdateControlFile& update, const QString& version)
{
    StagedFiles staged(m_programDir, m_executable);
    for (const UpdateFile& file : update.files)
        if (!staged.insideProgramDir(file.path)) return stop(ControlFileNotFound, UpdateError::UnsafePath);
    const qint64 needed = std::accumulate(update.files.begin(), update.files.end(), SpaceMargin,
                                          [](qint64 sum, const UpdateFile& file) { return sum + file.size; });
    const qint64 free = FreeSpace ? FreeSpace(m_programDir) : -1;
    if (free >= 0 && free < needed)
        return stop(QStringLiteral("Not enough free space for the update: %1 bytes needed").arg(needed),
                    UpdateError::NoSpace);

    status(QStringLiteral("Found file update instruction"), wusProgress);
    staged.discard(); // what an interrupted download left behind
    for (const UpdateFile& file : update.files) {
        const QString stagedPath = staged.prepare(file.path);
        const UpdateError error = stagedPath.isEmpty() ? UpdateError::Write : download(file, stagedPath);
        if (error != UpdateError::None) return stop(QStringLiteral("Update of %1 failed").arg(file.path), error);
    }
    status(QStringLiteral("All files downloaded"), wusProgress);

    if (m_cancelled) return stop(QString(), UpdateError::Cancelled);
    bool allow = true;
    emit OnAppRestart(this, allow);
    if (m_cancelled) return stop(QString(), UpdateError::Cancelled);
    if (!allow) {
        status(QStringLiteral("Update cancelled"), wusProgress);
        return Result::Declined;
    }
    m_replacing = true;
    if (!staged.commit(update.files, version, update.version))
        return stop(QStringLiteral("Cannot replace the program's files"), UpdateError::Replace);

    // Written before the new program starts, which may check at once.
    const UpdateRecord before = UpdateRecord::read(recordDir());
    UpdateRecord record = before;
    record.installed = update.version;
    record.installedFrom = version;
    record.write(recordDir());

    status(QStringLiteral("Restarting Corvane 2003"), wusProgress);
    if (!m_starter.Start((m_programDir + m_executable).toStdString(), std::string(), m_programDir.toStdString())) {
        // The originals stay kept until a new program has started; the journal says so.
        before.write(recordDir());
        status(QStringLiteral("Cannot start %1").arg(m_programDir + m_executable), wusProgress);
        return Result::Installed;
    }
    staged.finish();
    return Result::Restarted;
}

UpdateError TWebUpdate::fetchSigned(const QUrl& url, QByteArray& control)
{
    const auto collect = [](QByteArray& into) {
        return [&into](const QByteArray& bytes) {
            into += bytes;
            return true;
        };
    };
    const QDeadlineTimer deadline(ControlFileDeadlineMs);
    if (const UpdateError error = fetch(url, UpdateControlFile::MaxSize, deadline, collect(control));
        error != UpdateError::None)
        return error;

    QUrl signatureUrl = url;
    signatureUrl.setPath(url.path() + QLatin1String(SignatureSuffix));
    QByteArray signature;
    const UpdateError error = fetch(signatureUrl, MinisignVerifier::MaxSignatureSize, deadline, collect(signature));
    if (error == UpdateError::Cancelled || error == UpdateError::TimedOut) return error;
    // A control file without its signature is refused like one with a bad signature.
    if (error != UpdateError::None) return UpdateError::NotSigned;
    if (MinisignVerifier(PublicKey).verify(control, signature) != MinisignVerifier::Verdict::Valid)
        return UpdateError::NotSigned;
    return UpdateError::None;
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
    const qint64 rate = std::max<qint64>(1, MinimumBytesPerSecond);
    const QDeadlineTimer deadline(DownloadDeadlineMs + file.size * 1000 / rate);
    const UpdateError error = fetch(source, file.size, deadline, [&](const QByteArray& bytes) {
        if (out.write(bytes) != bytes.size()) return false;
        hash.addData(bytes);
        pos += bytes.size();
        emit OnFileProgress(this, file.path, pos, file.size);
        return true;
    });
    if (error != UpdateError::None) return error;
    if (!DurableFiles::syncFile(out)) return UpdateError::Write;
    if (pos != file.size || hash.result() != file.sha256) return UpdateError::Checksum;
    return UpdateError::None;
}

UpdateError TWebUpdate::fetch(const QUrl& url, qint64 limit, const QDeadlineTimer& deadline, const Sink& sink)
{
    QUrl source = url;
    for (int redirections = 0;; ++redirections) {
        QUrl target;
        const UpdateError error = transfer(source, limit, deadline, sink, target);
        if (error != UpdateError::None || target.isEmpty()) return error;
        // A redirection may not lead from HTTPS, or from this computer, elsewhere.
        if (!IsAllowedAddress(target) || (target.scheme() != url.scheme() && url.scheme() != QLatin1String("http")))
            return UpdateError::InsecureAddress;
        if (redirections == MaxRedirections) return UpdateError::Unreachable;
        source = target;
    }
}

UpdateError TWebUpdate::transfer(const QUrl& url, qint64 limit, const QDeadlineTimer& deadline, const Sink& sink,
                                 QUrl& redirection)
{
    if (!IsAllowedAddress(url)) return UpdateError::InsecureAddress;
    if (m_cancelled) return UpdateError::Cancelled;
    if (deadline.hasExpired()) return UpdateError::TimedOut;
    HttpGet get(url, ReadBufferBytes, TransferTimeoutMs);
    UpdateError error = UpdateError::None;
    qint64 received = 0;
    QEventLoop loop;
    const auto fail = [&](UpdateError why) {
        if (error == UpdateError::None) error = why;
        get.abort();
    };
    connect(&get, &HttpGet::headReceived, &loop, [&] {
        if (get.status() >= 300 && get.status() < 400) {
            const QUrl target = QUrl::fromEncoded(get.location(), QUrl::StrictMode);
            if (get.location().isEmpty() || !target.isValid()) return fail(UpdateError::Unreachable);
            redirection = url.resolved(target);
            return get.abort(); // the body of a redirection is not needed
        }
        if (get.status() != 200) return fail(UpdateError::Unreachable);
        if (get.contentLength() > limit) fail(UpdateError::TooLarge);
    });
    connect(&get, &HttpGet::bodyReceived, &loop, [&] {
        const QByteArray bytes = get.takeBody();
        received += bytes.size();
        if (received > limit) return fail(UpdateError::TooLarge);
        if (!sink(bytes)) fail(UpdateError::Write);
    });
    connect(&get, &HttpGet::finished, &loop, &QEventLoop::quit);
    // The whole transfer, not only the gap between two packets, is bounded.
    QTimer overall;
    overall.setSingleShot(true);
    connect(&overall, &QTimer::timeout, &loop, [&] { fail(UpdateError::TimedOut); });
    overall.start(std::chrono::milliseconds(std::max<qint64>(0, deadline.remainingTime())));
    connect(this, &TWebUpdate::cancelRequested, &loop, [&] { fail(UpdateError::Cancelled); });
    get.start();
    if (!get.isFinished()) loop.exec();

    if (error == UpdateError::None && redirection.isEmpty() && !get.succeeded()) error = UpdateError::Unreachable;
    return error;
}
