#include "update/MinisignVerifier.h"

#include <QList>

#include <sodium.h>

namespace {

constexpr qsizetype AlgorithmBytes = 2, KeyIdBytes = 8;
constexpr qsizetype KeyBytes = crypto_sign_PUBLICKEYBYTES, SignatureBytes = crypto_sign_BYTES;
constexpr qsizetype PrehashBytes = 64; // BLAKE2b-512

// Strict base64: a line with anything else in it is no key or signature.
bool decode(const QByteArray& line, QByteArray& bytes)
{
    const auto result = QByteArray::fromBase64Encoding(line, QByteArray::AbortOnBase64DecodingErrors);
    if (!result) return false;
    bytes = result.decoded;
    return true;
}

bool verifyDetached(const QByteArray& signature, const QByteArray& message, const QByteArray& key)
{
    return crypto_sign_verify_detached(reinterpret_cast<const unsigned char*>(signature.constData()),
                                       reinterpret_cast<const unsigned char*>(message.constData()),
                                       static_cast<unsigned long long>(message.size()),
                                       reinterpret_cast<const unsigned char*>(key.constData())) == 0;
}

QList<QByteArray> linesOf(const QByteArray& text)
{
    QList<QByteArray> lines = text.split('\n');
    for (QByteArray& line : lines)
        if (line.endsWith('\r')) line.chop(1);
    while (!lines.isEmpty() && lines.back().isEmpty())
        lines.pop_back();
    return lines;
}

} // namespace

MinisignVerifier::MinisignVerifier(const QString& publicKey)
{
    // A key file's last line holds the key; its first is an untrusted comment.
    const QList<QByteArray> lines = linesOf(publicKey.trimmed().toLatin1());
    QByteArray bytes;
    if (lines.isEmpty() || !decode(lines.back().trimmed(), bytes)) return;
    if (bytes.size() != AlgorithmBytes + KeyIdBytes + KeyBytes || !bytes.startsWith("Ed")) return;
    m_keyId = bytes.mid(AlgorithmBytes, KeyIdBytes);
    m_key = bytes.mid(AlgorithmBytes + KeyIdBytes);
}

MinisignVerifier::Verdict MinisignVerifier::verify(const QByteArray& message, const QByteArray& signatureFile,
                                                   QString* trustedComment) const
{
    static const QByteArray untrustedPrefix = "untrusted comment:", trustedPrefix = "trusted comment: ";
    if (!hasKey() || sodium_init() < 0) return Verdict::Bad;
    if (signatureFile.size() > MaxSignatureSize) return Verdict::Unreadable;
    const QList<QByteArray> lines = linesOf(signatureFile);
    if (lines.size() != 4 || !lines[0].startsWith(untrustedPrefix) || !lines[2].startsWith(trustedPrefix))
        return Verdict::Unreadable;
    QByteArray signature, global;
    if (!decode(lines[1], signature) || !decode(lines[3], global)) return Verdict::Unreadable;
    if (signature.size() != AlgorithmBytes + KeyIdBytes + SignatureBytes || global.size() != SignatureBytes)
        return Verdict::Unreadable;
    const QByteArray algorithm = signature.left(AlgorithmBytes);
    if (algorithm != "Ed" && algorithm != "ED") return Verdict::Unreadable;
    if (signature.mid(AlgorithmBytes, KeyIdBytes) != m_keyId) return Verdict::OtherKey;
    const QByteArray fileSignature = signature.mid(AlgorithmBytes + KeyIdBytes);

    // "ED" signs the BLAKE2b-512 hash of the file, "Ed" (the older form) the file itself.
    QByteArray signedBytes = message;
    if (algorithm == "ED") {
        signedBytes.resize(PrehashBytes);
        crypto_generichash(reinterpret_cast<unsigned char*>(signedBytes.data()), PrehashBytes,
                           reinterpret_cast<const unsigned char*>(message.constData()),
                           static_cast<unsigned long long>(message.size()), nullptr, 0);
    }
    const QByteArray comment = lines[2].mid(trustedPrefix.size());
    if (!verifyDetached(fileSignature, signedBytes, m_key) || !verifyDetached(global, fileSignature + comment, m_key))
        return Verdict::Bad;
    if (trustedComment) *trustedComment = QString::fromUtf8(comment);
    return Verdict::Valid;
}
