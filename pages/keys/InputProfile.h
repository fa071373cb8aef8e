#pragma once

#include "pages/RunTime.h"

#include <QString>

#include <exception>
#include <string>

// The key pages' way to the user profile. The profile's text is bytes in the
// game's single-byte code page; each byte stands for the character of the
// same number (Latin-1), so what a field shows goes back to the file byte for
// byte.
namespace InputProfile {

inline QString toText(const std::string& bytes) { return QString::fromLatin1(bytes.data(), qsizetype(bytes.size())); }

inline std::string toBytes(const QString& text)
{
    const QByteArray bytes = text.toLatin1();
    return std::string(bytes.constData(), std::size_t(bytes.size()));
}

// The open user profile; raises ECorvaneError when none is open (no user file
// was found).
TIniFile& of(const RunTime& rt);

// "Error occured:" followed directly by the failure's message, in an error box.
void showFailure(const std::exception& failure);

} // namespace InputProfile
