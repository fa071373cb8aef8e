#pragma once

#include <QString>

#include <string>
#include <string_view>

// A profile file as the raw text page holds it: lines of Windows-1252 text.
// A line ends at CR LF, at a lone CR or at a lone LF; every other byte, 0x00
// to 0xFF, is one character that comes back as the same byte. Saved, every
// line is followed by CR LF.
namespace ProfileText {

// The file's bytes as editor text, lines separated by "\n".
QString fromFile(std::string_view bytes);

// The editor's text (lines separated by "\n", or by the paragraph and line
// separators of a text document) as file bytes. A last line without a line
// break gets one; an empty text is an empty file. Raises ECorvaneError naming
// a character that the game's code page has no byte for.
std::string toFile(const QString& text);

} // namespace ProfileText
