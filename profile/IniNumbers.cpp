#include "profile/IniNumbers.h"

#include <charconv>
#include <cmath>
#include <system_error>

namespace IniNumbers {
namespace {

bool isDigit(char c) noexcept { return c >= '0' && c <= '9'; }

bool isLeadingBlank(char c) noexcept { return c == ' ' || c == '\t'; }

} // namespace

int hexDigit(char c) noexcept
{
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

std::optional<std::int32_t> parseInteger(std::string_view text) noexcept
{
    std::size_t i = 0;
    while (i < text.size() && isLeadingBlank(text[i]))
        ++i;
    if (i == text.size()) return std::nullopt;

    std::size_t digits = i;
    bool hex = false;
    if (text[i] == '$' || text[i] == 'x' || text[i] == 'X') {
        hex = true;
        digits = i + 1;
    } else if (text[i] == '0' && i + 1 < text.size() && (text[i + 1] == 'x' || text[i + 1] == 'X')) {
        hex = true;
        digits = i + 2;
    }

    if (hex) {
        if (digits == text.size()) return std::nullopt;
        std::uint64_t value = 0;
        for (std::size_t j = digits; j < text.size(); ++j) {
            const int digit = hexDigit(text[j]);
            if (digit < 0) return std::nullopt;
            value = value * 16 + static_cast<unsigned>(digit);
            if (value > 0xFFFFFFFFu) return std::nullopt;
        }
        return static_cast<std::int32_t>(static_cast<std::uint32_t>(value));
    }

    bool negative = false;
    if (text[i] == '+' || text[i] == '-') {
        negative = text[i] == '-';
        ++digits;
    }
    if (digits == text.size()) return std::nullopt;
    const std::uint64_t limit = negative ? 2147483648u : 2147483647u;
    std::uint64_t value = 0;
    for (std::size_t j = digits; j < text.size(); ++j) {
        if (!isDigit(text[j])) return std::nullopt;
        value = value * 10 + static_cast<unsigned>(text[j] - '0');
        if (value > limit) return std::nullopt;
    }
    return static_cast<std::int32_t>(negative ? -static_cast<std::int64_t>(value) : static_cast<std::int64_t>(value));
}

std::optional<double> parseFloat(std::string_view text) noexcept
{
    // Check the form first: from_chars alone would take "inf", "nan" and a
    // prefix such as the "1" of "1,5".
    std::size_t i = 0;
    const std::size_t n = text.size();
    if (i < n && (text[i] == '+' || text[i] == '-')) ++i;
    const std::size_t mantissa = i;
    std::size_t mantissaDigits = 0;
    while (i < n && isDigit(text[i])) {
        ++i;
        ++mantissaDigits;
    }
    if (i < n && text[i] == '.') {
        ++i;
        while (i < n && isDigit(text[i])) {
            ++i;
            ++mantissaDigits;
        }
    }
    if (mantissaDigits == 0) return std::nullopt;
    if (i < n && (text[i] == 'e' || text[i] == 'E')) {
        ++i;
        if (i < n && (text[i] == '+' || text[i] == '-')) ++i;
        std::size_t exponentDigits = 0;
        while (i < n && isDigit(text[i])) {
            ++i;
            ++exponentDigits;
        }
        if (exponentDigits == 0) return std::nullopt;
    }
    if (i != n) return std::nullopt;

    double value = 0;
    const char* first = text.data() + mantissa;
    const auto [end, error] = std::from_chars(first, text.data() + n, value, std::chars_format::general);
    // Out of a double's range (either way) is no number the game wrote.
    if (error != std::errc() || end != text.data() + n || !std::isfinite(value)) return std::nullopt;
    return mantissa > 0 && text[0] == '-' ? -value : value;
}

std::string formatInteger(std::int32_t value)
{
    char digits[16];
    const auto result = std::to_chars(digits, digits + sizeof digits, value);
    return std::string(digits, result.ptr);
}

} // namespace IniNumbers
