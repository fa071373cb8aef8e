#pragma once

#include <QString>

#include <optional>
#include <string>
#include <string_view>

// The game's files are text in the Windows-1252 code page. These turn their
// bytes into screen text and back. The five bytes that code page leaves
// undefined (0x81, 0x8D, 0x8F, 0x90, 0x9D) stand for the code point of the
// same number, so every byte read comes back unchanged when written.
namespace platform {

QString fromCodePage(std::string_view bytes);

// The bytes of `text`, or nothing when it holds a character the code page
// has no byte for (a Chinese letter, an emoji).
std::optional<std::string> toCodePage(const QString& text);

// The same, raising ECorvaneError naming the first such character.
std::string toCodePageOrThrow(const QString& text);

} // namespace platform
