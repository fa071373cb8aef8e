#pragma once

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QObject>
#include <QString>
#include <QTimer>

#include <memory>

class QTcpServer;
class QTcpSocket;

// A small HTTP server on this computer that answers GET requests by path,
// over plain TCP or over TLS with a certificate made for the test program
// (with the openssl command).
// An answer can hold back its end until release(), or trickle its body.
class LocalHttpServer : public QObject {
public:
    struct Answer {
        int status = 200;
        QByteArray body;
        qint64 holdAfter = -1; // send this many bytes of the body, the rest on release()
        bool withLength = true;
        int trickle = 0;          // when set: this many bytes of the body every 50 ms
        QByteArray location = {}; // a Location header, for a redirection
        int chunks = 0;           // when set: the body in chunks of this size, with no length
    };

    explicit LocalHttpServer(bool tls = false);
    ~LocalHttpServer() override;
    QString url(const QString& path) const;
    void answer(const QByteArray& path, const Answer& answer) { m_answers[path] = answer; }
    void release();
    QList<QByteArray> requested;

    // The test certificate, which a client may be told to trust; empty when
    // it could not be made.
    static QByteArray certificate();

private:
    void serve(QTcpSocket* socket);

    std::unique_ptr<QTcpServer> m_server;
    bool m_tls;
    QHash<QByteArray, Answer> m_answers;
    QHash<QTcpSocket*, QByteArray> m_requests;
    QTcpSocket* m_held = nullptr;
    QByteArray m_rest;
};
