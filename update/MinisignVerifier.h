#pragma once

#include <QByteArray>
#include <QString>

// Checks a detached minisign signature, the ".minisig" file that the release
// manager's `minisign -S` writes beside the signed file, against one public
// key. Both signatures of the file must hold: the Ed25519 signature over the
// file's bytes (or, in the prehashed form minisign writes by default, over
// their BLAKE2b-512 hash) and the global signature over that signature
// followed by the trusted comment.
class MinisignVerifier {
public:
    enum class Verdict {
        Valid,
        Unreadable, // no signature, or not a minisign signature file
        OtherKey,   // made with another key than this one
        Bad,        // made for other bytes, or altered since
    };

    static constexpr qint64 MaxSignatureSize = 4096;

    // `publicKey` is the key's base64 line, as in a minisign.pub file or
    // after `minisign -P`; the whole two-line file is taken too.
    explicit MinisignVerifier(const QString& publicKey);
    bool hasKey() const { return !m_key.isEmpty(); }

    // The trusted comment is handed out only with a Valid verdict.
    Verdict verify(const QByteArray& message, const QByteArray& signatureFile, QString* trustedComment = nullptr) const;

private:
    QByteArray m_keyId; // 8 bytes
    QByteArray m_key;   // 32 bytes; empty when the text is no public key
};
