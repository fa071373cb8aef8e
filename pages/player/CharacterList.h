#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <string>

// The character names the game offers, from System/xplayersL1.upl: one
// Player=(DefaultName="...",Mesh=...) line per character.
namespace CharacterList {

constexpr const char* FileName = "xplayersL1.upl";

// The name of one line: the text after DefaultName=" up to the quote right
// before ",Mesh=". Empty for a line without both (or with ", Mesh=").
QString nameOf(const QByteArray& line);

// Every name of the file, in file order, duplicates kept. Throws
// ECorvaneError when the file cannot be opened.
QStringList read(const std::string& path);

} // namespace CharacterList
