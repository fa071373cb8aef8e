#pragma once

#include <QByteArray>
#include <QString>

#include <atomic>
#include <memory>

class QThread;

// An HTTP server on a thread of its own that answers one request with `head`
// and then sends body bytes without pause, as fast as the client takes them,
// until the client goes away or `cap` bytes are out.
class EndlessServer {
public:
    explicit EndlessServer(QByteArray head, qint64 cap = 256 * 1024 * 1024);
    ~EndlessServer();
    EndlessServer(const EndlessServer&) = delete;
    EndlessServer& operator=(const EndlessServer&) = delete;

    QString url(const QString& path) const;
    // Waits until the client has gone (at most a few seconds), then says how
    // many body bytes it took.
    qint64 sent();

private:
    std::unique_ptr<QThread> m_thread;
    std::atomic<quint16> m_port{0};
    std::atomic<qint64> m_sent{0};
};
