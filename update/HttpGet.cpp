#include "update/HttpGet.h"

#include <QList>
#include <QSslSocket>

#include <cctype>

namespace {

// A head, a chunk's size line or the trailer longer than this is refused.
constexpr qsizetype MaxHeadBytes = 64 * 1024;
constexpr qsizetype MaxLineBytes = 1024;

// Digits only, in `base`, short enough never to overflow.
bool parseCount(const QByteArray& text, int base, qint64& value)
{
    const qsizetype maxDigits = base == 16 ? 15 : 18;
    if (text.isEmpty() || text.size() > maxDigits) return false;
    for (const char c : text)
        if (!(base == 16 ? std::isxdigit(static_cast<unsigned char>(c)) : std::isdigit(static_cast<unsigned char>(c))))
            return false;
    bool ok = false;
    value = text.toLongLong(&ok, base);
    return ok;
}

QByteArray hostHeader(const QUrl& url)
{
    QByteArray host = url.host(QUrl::FullyEncoded).toLatin1();
    if (host.contains(':')) host = '[' + host + ']';
    const int defaultPort = url.scheme() == QLatin1String("https") ? 443 : 80;
    if (url.port(defaultPort) != defaultPort) host += ':' + QByteArray::number(url.port());
    return host;
}

} // namespace

HttpGet::HttpGet(QUrl url, qint64 readBufferBytes, int idleMs, QObject* parent)
    : QObject(parent)
    , m_url(std::move(url))
    , m_readBufferBytes(readBufferBytes)
{
    m_idle.setSingleShot(true);
    m_idle.setInterval(idleMs);
    connect(&m_idle, &QTimer::timeout, this, [this] { end(State::Failed); });
}

HttpGet::~HttpGet()
{
    if (m_socket) {
        m_socket->disconnect(this);
        m_socket->abort();
    }
}

void HttpGet::start()
{
    const bool tls = m_url.scheme() == QLatin1String("https");
    if (tls && !QSslSocket::supportsSsl()) return end(State::Failed);
    auto* socket = tls ? new QSslSocket : new QTcpSocket;
    m_socket.reset(socket);
    socket->setReadBufferSize(m_readBufferBytes);
    connect(socket, &QTcpSocket::readyRead, this, &HttpGet::readArrived);
    connect(socket, &QTcpSocket::disconnected, this, &HttpGet::closedByServer);
    connect(socket, &QTcpSocket::errorOccurred, this, [this](QAbstractSocket::SocketError error) {
        // A server that closes the connection ends a body sent until then; disconnected() says so.
        if (error != QAbstractSocket::RemoteHostClosedError) end(State::Failed);
    });
    m_idle.start();
    const quint16 port = quint16(m_url.port(tls ? 443 : 80));
    if (tls) {
        auto* ssl = static_cast<QSslSocket*>(socket);
        connect(ssl, &QSslSocket::encrypted, this, &HttpGet::sendRequest);
        ssl->connectToHostEncrypted(m_url.host(), port);
    } else {
        connect(socket, &QTcpSocket::connected, this, &HttpGet::sendRequest);
        socket->connectToHost(m_url.host(), port);
    }
}

void HttpGet::abort() { end(State::Failed); }

void HttpGet::end(State state)
{
    if (isFinished()) return;
    m_state = state;
    m_idle.stop();
    if (m_socket) {
        m_socket->disconnect(this);
        m_socket->abort();
    }
    emit finished();
}

void HttpGet::sendRequest()
{
    QByteArray target = m_url.toEncoded(QUrl::RemoveScheme | QUrl::RemoveAuthority | QUrl::RemoveFragment);
    if (target.isEmpty()) target = "/";
    m_socket->write("GET " + target + " HTTP/1.1\r\nHost: " + hostHeader(m_url) +
                    "\r\nUser-Agent: Corvane2003\r\nAccept: */*\r\nConnection: close\r\n\r\n");
    m_state = State::Head;
    m_idle.start();
}

void HttpGet::readArrived()
{
    if (m_state != State::Head && m_state != State::Body) return;
    m_idle.start();
    // All of it: with its buffer full, the socket reads nothing more and says nothing more.
    m_in += m_socket->readAll();
    if (!parse()) end(State::Failed);
}

void HttpGet::closedByServer()
{
    if (isFinished()) return;
    m_in += m_socket->readAll();
    if (!parse()) return end(State::Failed);
    if (isFinished()) return;
    // Only a body that runs until the close is whole now.
    end(m_state == State::Body && m_framing == Framing::UntilClose ? State::Done : State::Failed);
}

bool HttpGet::parse()
{
    if (m_state == State::Head) {
        if (!parseHead()) return false;
        if (m_state != State::Body) return true; // more of the head to come
        emit headReceived();
        if (m_state != State::Body) return true; // the caller has ended it
    }
    if (m_state != State::Body) return true;
    bool whole = false;
    if (m_framing == Framing::Chunked) {
        if (!parseChunked()) return false;
        whole = m_chunk == Chunk::End;
    } else {
        const qsizetype take =
            m_framing == Framing::Length ? qsizetype(std::min<qint64>(m_left, m_in.size())) : m_in.size();
        m_body += m_in.left(take);
        m_in.remove(0, take);
        m_left -= take;
        whole = m_framing == Framing::Length && m_left == 0;
    }
    if (!m_body.isEmpty()) emit bodyReceived();
    if (whole && !isFinished()) end(State::Done);
    return true;
}

bool HttpGet::parseHead()
{
    for (;;) {
        const qsizetype end = m_in.indexOf("\r\n\r\n");
        if (end < 0) return m_in.size() <= MaxHeadBytes;
        const QList<QByteArray> lines = m_in.left(end).split('\n');
        m_in.remove(0, end + 4);
        const QList<QByteArray> statusLine = lines.first().trimmed().split(' ');
        qint64 status = 0;
        if (statusLine.size() < 2 || !statusLine[0].startsWith("HTTP/1.") || statusLine[1].size() != 3 ||
            !parseCount(statusLine[1], 10, status))
            return false;
        m_status = int(status);
        if (m_status == 101) return false;               // nothing was asked to switch
        if (m_status >= 100 && m_status < 200) continue; // an interim answer: the real one follows
        m_length = -1;
        bool chunked = false;
        for (qsizetype i = 1; i < lines.size(); ++i) {
            const qsizetype colon = lines[i].indexOf(':');
            if (colon <= 0) return false;
            const QByteArray name = lines[i].left(colon).trimmed().toLower();
            const QByteArray value = lines[i].mid(colon + 1).trimmed();
            if (name == "location") m_location = value;
            if (name == "transfer-encoding") {
                // Only chunked framing is understood; no content coding was asked for.
                if (value.toLower() != "chunked") return false;
                chunked = true;
            }
            if (name == "content-length") {
                qint64 length = 0;
                if (!parseCount(value, 10, length) || (m_length >= 0 && length != m_length)) return false;
                m_length = length;
            }
        }
        m_framing = chunked ? Framing::Chunked : m_length >= 0 ? Framing::Length : Framing::UntilClose;
        if (chunked) m_length = -1; // the chunks, not a length beside them, frame the body
        m_left = m_framing == Framing::Length ? m_length : 0;
        m_state = State::Body;
        return true;
    }
}

bool HttpGet::parseChunked()
{
    qsizetype at = 0;
    const auto line = [&](QByteArray& text) {
        const qsizetype end = m_in.indexOf("\r\n", at);
        if (end < 0) return false;
        text = m_in.mid(at, end - at);
        at = end + 2;
        return true;
    };
    bool ok = true;
    for (bool more = true; more && ok;) {
        QByteArray text;
        switch (m_chunk) {
        case Chunk::Size:
            if (!(more = line(text))) {
                ok = m_in.size() - at <= MaxLineBytes;
                break;
            }
            if (const qsizetype extension = text.indexOf(';'); extension >= 0) text.truncate(extension);
            ok = parseCount(text.trimmed(), 16, m_left);
            m_chunk = m_left == 0 ? Chunk::Trailer : Chunk::Data;
            break;
        case Chunk::Data: {
            const qsizetype take = qsizetype(std::min<qint64>(m_left, m_in.size() - at));
            m_body += m_in.mid(at, take);
            at += take;
            m_left -= take;
            if ((more = m_left == 0)) m_chunk = Chunk::DataEnd;
            break;
        }
        case Chunk::DataEnd:
            if (!(more = m_in.size() - at >= 2)) break;
            ok = m_in.mid(at, 2) == "\r\n";
            at += 2;
            m_chunk = Chunk::Size;
            break;
        case Chunk::Trailer:
            // m_left counts the trailer's bytes; an empty line ends it.
            if (!(more = line(text))) {
                ok = m_left + (m_in.size() - at) <= MaxHeadBytes;
                break;
            }
            m_left += text.size() + 2;
            if (text.isEmpty()) m_chunk = Chunk::End;
            break;
        case Chunk::End:
            more = false;
            break;
        }
    }
    m_in.remove(0, at);
    return ok;
}
