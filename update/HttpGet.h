#pragma once

#include <QByteArray>
#include <QObject>
#include <QTimer>
#include <QUrl>

#include <memory>
#include <utility>

class QTcpSocket;

// One HTTP/1.1 GET over a connection of its own, on the caller's thread.
//
// The socket reads from the system only while fewer than `readBufferBytes`
// wait unread in the program, and the caller takes every piece as it comes:
// a server that sends faster than the caller takes waits, and whatever it
// sends is held by the system's socket buffers, not by this program. Nothing
// reads on behalf of the transfer elsewhere, so once abort() closes the
// connection, no more is received, however busy the caller was.
//
// The body is handed over as it arrives: by its Content-Length, in chunks,
// or until the server closes the connection, whatever the status (the caller
// decides at headReceived() whether it wants it). A body cut short, a malformed
// head, a connection or TLS failure, or `idleMs` without a byte ends the
// transfer as failed. A TLS connection takes the default TLS configuration
// and its certificate authorities; the request is sent only after the
// server's certificate has been verified.
class HttpGet : public QObject {
    Q_OBJECT
public:
    HttpGet(QUrl url, qint64 readBufferBytes, int idleMs, QObject* parent = nullptr);
    ~HttpGet() override;

    void start();
    // Closes the connection at once; finished() follows if it had not come.
    void abort();

    bool isFinished() const { return m_state == State::Done || m_state == State::Failed; }
    // The whole body arrived (not aborted, not cut short).
    bool succeeded() const { return m_state == State::Done; }
    // From the head, once headReceived() has come.
    int status() const { return m_status; }
    qint64 contentLength() const { return m_length; } // -1 when the head gives none
    const QByteArray& location() const { return m_location; }
    // The body bytes that arrived since the last call.
    QByteArray takeBody() { return std::exchange(m_body, QByteArray()); }

signals:
    void headReceived();
    void bodyReceived();
    void finished();

private:
    enum class State { Connecting, Head, Body, Done, Failed };
    enum class Framing { Length, Chunked, UntilClose };
    enum class Chunk { Size, Data, DataEnd, Trailer, End };

    void sendRequest();
    void readArrived();
    void closedByServer();
    // Works through m_in; false when the response is malformed.
    bool parse();
    bool parseHead();
    bool parseChunked();
    void end(State state);

    QUrl m_url;
    qint64 m_readBufferBytes;
    std::unique_ptr<QTcpSocket> m_socket;
    QTimer m_idle;
    State m_state = State::Connecting;
    QByteArray m_in;   // received and not yet parsed
    QByteArray m_body; // decoded, not yet taken
    int m_status = 0;
    qint64 m_length = -1;
    QByteArray m_location;
    Framing m_framing = Framing::UntilClose;
    Chunk m_chunk = Chunk::Size;
    qint64 m_left = 0; // of the body by its length, or of the current chunk
};
