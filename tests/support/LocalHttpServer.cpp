#include "tests/support/LocalHttpServer.h"

#include "tests/support/TestSupport.h"

#include <QPointer>
#include <QSslConfiguration>
#include <QSslKey>
#include <QSslServer>
#include <QSslSocket>
#include <QTcpServer>
#include <QTcpSocket>

namespace {
QString tlsFile(const char* name) { return TestSupport::sourceDir() + "/tests/support/tls/" + name; }
} // namespace

QByteArray LocalHttpServer::certificate() { return TestSupport::readFile(tlsFile("localhost.pem")); }

LocalHttpServer::LocalHttpServer(bool tls)
    : m_tls(tls)
{
    if (tls) {
        auto server = std::make_unique<QSslServer>();
        QSslConfiguration config = QSslConfiguration::defaultConfiguration();
        config.setLocalCertificate(QSslCertificate(certificate()));
        config.setPrivateKey(QSslKey(TestSupport::readFile(tlsFile("localhost.key")), QSsl::Rsa));
        config.setPeerVerifyMode(QSslSocket::VerifyNone);
        server->setSslConfiguration(config);
        m_server = std::move(server);
    } else {
        m_server = std::make_unique<QTcpServer>();
    }
    m_server->listen(QHostAddress::LocalHost);
    connect(m_server.get(), &QTcpServer::pendingConnectionAvailable, this, [this] {
        while (QTcpSocket* socket = m_server->nextPendingConnection()) {
            connect(socket, &QTcpSocket::readyRead, this, [this, socket] { serve(socket); });
            if (socket->bytesAvailable() > 0) serve(socket);
        }
    });
}

LocalHttpServer::~LocalHttpServer() = default;

QString LocalHttpServer::url(const QString& path) const
{
    return QStringLiteral("%1://127.0.0.1:%2%3").arg(m_tls ? "https" : "http").arg(m_server->serverPort()).arg(path);
}

void LocalHttpServer::release()
{
    if (!m_held) return;
    m_held->write(m_rest);
    m_held->disconnectFromHost();
    m_held = nullptr;
}

void LocalHttpServer::serve(QTcpSocket* socket)
{
    QByteArray& request = m_requests[socket];
    request += socket->readAll();
    if (!request.contains("\r\n\r\n")) return;
    const QByteArray path = request.split(' ').value(1);
    request.clear();
    requested << path;
    const Answer a = m_answers.value(path, Answer{404, "no such file"});
    QByteArray head = "HTTP/1.1 " + QByteArray::number(a.status) + " X\r\nConnection: close\r\n";
    if (a.withLength) head += "Content-Length: " + QByteArray::number(a.body.size()) + "\r\n";
    if (!a.location.isEmpty()) head += "Location: " + a.location + "\r\n";
    socket->write(head + "\r\n");
    if (a.trickle > 0) {
        auto* timer = new QTimer(socket);
        auto sent = std::make_shared<qint64>(0);
        connect(timer, &QTimer::timeout, socket, [socket, timer, sent, a] {
            socket->write(a.body.mid(*sent, a.trickle));
            *sent += a.trickle;
            if (*sent >= a.body.size()) {
                timer->stop();
                socket->disconnectFromHost();
            }
        });
        timer->start(50);
        return;
    }
    if (a.holdAfter >= 0) {
        socket->write(a.body.left(a.holdAfter));
        m_held = socket;
        m_rest = a.body.mid(a.holdAfter);
        return;
    }
    socket->write(a.body);
    socket->disconnectFromHost();
}
