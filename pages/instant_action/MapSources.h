#pragma once

#include <QString>
#include <QStringList>

#include <string>
#include <vector>

// What the "Instant Action" page lists from the game's installation: the
// maps of its Maps folder, the mutators of System/XGame.int and the map
// descriptions of System/XMaps.int. A missing folder or file gives an empty
// list or no description; nothing here fails.
namespace MapSources {

// Letters a to z in upper case, every other character as it is: the game's
// own comparison of file and map names.
QString upperAscii(QString text);

// Sorts in ascending order ignoring letter case; names equal but for case
// keep a fixed order.
void sortIgnoringCase(QStringList& names);

// File names as this system hands them over, as text.
QStringList fileNames(const std::vector<std::string>& names);

// Whether a map or mutator name can go into the game's start address as it
// is: a "?" would add an option of its own, a "," split the mutator list and
// a "\" make a path of the map.
bool fitsTheAddress(const QString& name);

// The names, without extension, of the "*.ut2" files of the game root's Maps
// folder (both found without regard to letter case) whose file name holds
// `filter` (compared in upper case), sorted ignoring case. A name that does
// not fit the address is left out.
QStringList mapNames(const std::string& gameRoot, const QString& filter);

// Every section of XGame.int whose name holds "Mut" (exactly so), without the
// name's first three letters ("MutAlpha" gives "Alpha"), sorted ignoring case;
// a name that does not fit the address, or is empty, is left out.
QStringList mutatorNames(const std::string& systemDir);

// The description of a map in section DecoText of XMaps.int, under the map's
// name after its first "-" (the whole name when it has none), with each "||"
// made a line break; "Cannot find information about this map" when there is
// none.
QString mapInformation(const std::string& systemDir, const QString& mapName);

} // namespace MapSources
