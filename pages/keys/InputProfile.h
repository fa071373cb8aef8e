#pragma once

#include "core/RunTime.h"
#include "platform/CodePage.h"

#include <QString>

#include <exception>
#include <string>

// The key pages' way to the user profile. The profile's text is bytes in the
// game's code page, so what a field shows goes back to the file byte for byte.
namespace InputProfile {

inline QString toText(const std::string& bytes) { return platform::fromCodePage(bytes); }

// Raises ECorvaneError for a character the game's files cannot hold.
inline std::string toBytes(const QString& text) { return platform::toCodePageOrThrow(text); }

// The open user profile; raises ECorvaneError when none is open (no user file
// was found).
TIniFile& of(const RunTime& rt);

// "Error occured:" followed directly by the failure's message, in an error box.
void showFailure(const std::exception& failure);

} // namespace InputProfile
