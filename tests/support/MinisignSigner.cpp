#include "tests/support/MinisignSigner.h"

#include <sodium.h>

namespace {
unsigned char* bytes(QByteArray& array) { return reinterpret_cast<unsigned char*>(array.data()); }
const unsigned char* bytes(const QByteArray& array)
{
    return reinterpret_cast<const unsigned char*>(array.constData());
}

QByteArray signDetached(const QByteArray& message, const QByteArray& secret)
{
    QByteArray signature(crypto_sign_BYTES, '\0');
    crypto_sign_detached(bytes(signature), nullptr, bytes(message), message.size(), bytes(secret));
    return signature;
}
} // namespace

MinisignSigner::MinisignSigner()
    : m_keyId(8, '\0')
    , m_public(crypto_sign_PUBLICKEYBYTES, '\0')
    , m_secret(crypto_sign_SECRETKEYBYTES, '\0')
{
    if (sodium_init() < 0) qFatal("libsodium cannot start");
    crypto_sign_keypair(bytes(m_public), bytes(m_secret));
    randombytes_buf(bytes(m_keyId), m_keyId.size());
}

QString MinisignSigner::publicKey() const { return QString::fromLatin1(("Ed" + m_keyId + m_public).toBase64()); }

QByteArray MinisignSigner::sign(const QByteArray& message, bool prehashed, const QByteArray& trustedComment) const
{
    QByteArray signedBytes = message;
    if (prehashed) {
        signedBytes = QByteArray(64, '\0');
        crypto_generichash(bytes(signedBytes), 64, bytes(message), message.size(), nullptr, 0);
    }
    const QByteArray signature = signDetached(signedBytes, m_secret);
    const QByteArray global = signDetached(signature + trustedComment, m_secret);
    return "untrusted comment: signature from the test key\n" +
           (QByteArray(prehashed ? "ED" : "Ed") + m_keyId + signature).toBase64() +
           "\ntrusted comment: " + trustedComment + "\n" + global.toBase64() + "\n";
}
