#pragma once

#include <string>

// A file read whole, as a text editor does, with the game platform's file
// error: ECorvaneError "Cannot open file <path>" for a file that cannot be
// read. (The profiles are written whole through the replacement of the pair.)
namespace platform {

// The bytes of the file; a missing file cannot be opened either.
std::string readWholeFile(const std::string& path);

} // namespace platform
