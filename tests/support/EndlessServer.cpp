#include "tests/support/EndlessServer.h"

#include <QSemaphore>
#include <QTcpServer>
#include <QTcpSocket>
#include <QThread>

namespace {
constexpr int WaitMs = 5000; // a client that neither reads nor goes away for this long is left
} // namespace

EndlessServer::EndlessServer(QByteArray head, qint64 cap)
{
    auto listening = std::make_shared<QSemaphore>();
    m_thread.reset(QThread::create([this, head, cap, listening] {
        QTcpServer server;
        server.listen(QHostAddress::LocalHost);
        m_port = server.serverPort();
        listening->release();
        if (!server.waitForNewConnection(WaitMs)) return;
        const std::unique_ptr<QTcpSocket> socket(server.nextPendingConnection());
        QByteArray request;
        while (!request.contains("\r\n\r\n") && socket->waitForReadyRead(WaitMs))
            request += socket->readAll();
        socket->write(head);
        // Enough is queued that the socket never waits for the next piece.
        const QByteArray chunk(1024 * 1024, 'x');
        qint64 written = -head.size();
        while (written < cap) {
            written += socket->write(chunk);
            while (socket->bytesToWrite() > chunk.size())
                if (!socket->waitForBytesWritten(WaitMs)) return; // gone, or stopped reading
            m_sent = written - socket->bytesToWrite();
        }
    }));
    m_thread->start();
    listening->acquire();
}

EndlessServer::~EndlessServer() { m_thread->wait(); }

QString EndlessServer::url(const QString& path) const
{
    return QStringLiteral("http://127.0.0.1:%1%2").arg(m_port.load()).arg(path);
}

qint64 EndlessServer::sent()
{
    m_thread->wait();
    return m_sent;
}
