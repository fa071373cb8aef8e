#pragma once

#include <string>

// Where the program keeps, outside the game's directories, what belongs to
// one directory of profiles: `<state>/<kind>/<name>/`, the name made from the
// directory's canonical path, readable and unique (its last parts, then a
// short checksum of the whole path). Ends in the separator; empty when there
// is no state directory.
std::string stateFolderOf(const std::string& stateDir, const std::string& kind, const std::string& profileDir);
