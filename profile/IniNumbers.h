#pragma once

// The number forms of the profile files. They never depend on the user's
// locale: the decimal separator is always a point.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace IniNumbers {

// Decimal with an optional sign, or hexadecimal after "$", "x", "X", "0x" or
// "0X"; leading blanks are skipped, nothing may follow the digits, and the
// value must fit 32 bits (a hexadecimal value is taken as its 32-bit pattern,
// so "$FFFFFFFF" is -1).
std::optional<std::int32_t> parseInteger(std::string_view text) noexcept;

// An optional sign, digits with an optional fraction after a point, and an
// optional exponent; nothing else, and a finite result.
std::optional<double> parseFloat(std::string_view text) noexcept;

std::string formatInteger(std::int32_t value);

// The value of a hexadecimal digit in either case, or -1.
int hexDigit(char c) noexcept;

} // namespace IniNumbers
