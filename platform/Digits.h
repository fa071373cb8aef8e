#pragma once

#include <QString>

namespace platform {

// The game reads numbers in ASCII digits only. A field may hold the digits of
// another script, typed on a Persian or Arabic keyboard or shown that way by
// the user's locale: each becomes the ASCII digit of the same value, and the
// minus sign U+2212 a "-". Every other character stays as it is.
QString asciiDigits(QString text);

} // namespace platform
