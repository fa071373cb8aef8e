#pragma once

#include <QByteArray>
#include <QString>

// A key pair of its own, made with libsodium, that signs as `minisign -S`
// does: a ".minisig" file with the signature over the file (or over its
// BLAKE2b-512 hash) and the global signature over the trusted comment.
class MinisignSigner {
public:
    MinisignSigner();
    // The public key's base64 line, as `minisign -P` takes it.
    QString publicKey() const;
    QByteArray keyId() const { return m_keyId; }
    QByteArray sign(const QByteArray& message, bool prehashed = true,
                    const QByteArray& trustedComment = "timestamp:1796849303\tfile:Corvane2003.upd\thashed") const;

private:
    QByteArray m_keyId, m_public, m_secret;
};
