#include "tests/support/LocalHttpServer.h"

#include "tests/support/TestSupport.h"

#include <QPointer>
#include <QProcess>
#include <QSslConfiguration>
#include <QSslKey>
#include <QSslServer>
#include <QSslSocket>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>

namespace {

// The server's certificate for this computer and its key, made once per test
// program: it lasts a day and vouches for no other certificate.
struct TestCertificate {
    QByteArray certificate, key;
    TestCertificate()
    {
        QTemporaryDir dir;
        TestSupport::writeFile(dir.filePath("openssl.cnf"), "[req]\ndistinguished_name = subject\n"
                                                            "x509_extensions = server\nprompt = no\n"
                                                            "[subject]\nCN = localhost\n[server]\n"
                                                            "basicConstraints = critical, CA:FALSE\n"
                                                            "extendedKeyUsage = serverAuth\n"
                                                            "subjectAltName = DNS:localhost, IP:127.0.0.1\n");
        QProcess openssl;
        openssl.start("openssl", {"req", "-x509", "-newkey", "ec", "-pkeyopt", "ec_paramgen_curve:prime256v1", "-nodes",
                                  "-days", "1", "-config", dir.filePath("openssl.cnf"), "-keyout",
                                  dir.filePath("key.pem"), "-out", dir.filePath("certificate.pem")});
        if (!openssl.waitForFinished(30000) || openssl.exitStatus() != QProcess::NormalExit ||
            openssl.exitCode() != 0) {
            qWarning("openssl could not make the test certificate (scripts/install-deps installs it): %s",
                     (openssl.errorString().toUtf8() + openssl.readAllStandardError()).constData());
            return;
        }
        certificate = TestSupport::readFile(dir.filePath("certificate.pem"));
        key = TestSupport::readFile(dir.filePath("key.pem"));
    }
};

const TestCertificate& testCertificate()
{
    static const TestCertificate made;
    return made;
}

} // namespace

QByteArray LocalHttpServer::certificate() { return testCertificate().certificate; }

LocalHttpServer::LocalHttpServer(bool tls)
    : m_tls(tls)
{
    if (tls) {
        auto server = std::make_unique<QSslServer>();
        QSslConfiguration config = QSslConfiguration::defaultConfiguration();
        config.setLocalCertificate(QSslCertificate(certificate()));
        config.setPrivateKey(QSslKey(testCertificate().key, QSsl::Ec));
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
    if (a.chunks > 0) head += "Transfer-Encoding: chunked\r\n";
    if (a.withLength && a.chunks == 0) head += "Content-Length: " + QByteArray::number(a.body.size()) + "\r\n";
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
    if (a.chunks > 0) {
        for (qsizetype at = 0; at < a.body.size(); at += a.chunks)
            socket->write(QByteArray::number(std::min<qsizetype>(a.chunks, a.body.size() - at), 16) + ";x=y\r\n" +
                          a.body.mid(at, a.chunks) + "\r\n");
        socket->write("0\r\nX-Trailer: z\r\n\r\n");
    } else {
        socket->write(a.body);
    }
    socket->disconnectFromHost();
}
