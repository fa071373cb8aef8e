#include "platform/CodePage.h"

#include "profile/ECorvaneError.h"

#include <array>

namespace platform {
namespace {

// Code points of the bytes 0x80 to 0x9F; the undefined five keep their own number.
constexpr std::array<char16_t, 32> High = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

char16_t codePoint(unsigned char byte) { return byte >= 0x80 && byte < 0xA0 ? High[byte - 0x80] : char16_t(byte); }

std::optional<char> byteOf(char16_t c)
{
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) return char(c);
    for (std::size_t i = 0; i < High.size(); ++i)
        if (High[i] == c) return char(0x80 + i);
    return std::nullopt;
}

// The first character of `text` without a byte, or -1.
qsizetype firstRefused(const QString& text, std::string* out)
{
    for (qsizetype i = 0; i < text.size(); ++i) {
        const std::optional<char> b = byteOf(text[i].unicode());
        if (!b) return i;
        if (out) out->push_back(*b);
    }
    return -1;
}

} // namespace

QString fromCodePage(std::string_view bytes)
{
    QString text(qsizetype(bytes.size()), Qt::Uninitialized);
    for (std::size_t i = 0; i < bytes.size(); ++i)
        text[qsizetype(i)] = QChar(codePoint(static_cast<unsigned char>(bytes[i])));
    return text;
}

std::optional<std::string> toCodePage(const QString& text)
{
    std::string bytes;
    bytes.reserve(std::size_t(text.size()));
    if (firstRefused(text, &bytes) >= 0) return std::nullopt;
    return bytes;
}

std::string toCodePageOrThrow(const QString& text)
{
    std::string bytes;
    bytes.reserve(std::size_t(text.size()));
    const qsizetype at = firstRefused(text, &bytes);
    if (at < 0) return bytes;
    // A character outside the basic plane is two halves: name it whole.
    const qsizetype length = text[at].isHighSurrogate() && at + 1 < text.size() ? 2 : 1;
    throw ECorvaneError("The character \"" + text.mid(at, length).toStdString() +
                        "\" cannot be stored in the game's files. Please use another character");
}

} // namespace platform
