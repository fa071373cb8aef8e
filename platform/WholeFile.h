#pragma once

#include <string>
#include <string_view>

// A file read or written whole, as a text editor does, with the game
// platform's file errors: ECorvaneError "Cannot open file <path>" for a file
// that cannot be read and "Cannot create file <path>" for one that cannot be
// written.
namespace platform {

// The bytes of the file; a missing file cannot be opened either.
std::string readWholeFile(const std::string& path);

// Replaces the file's content by `bytes`, or creates it. The bytes go to a
// temporary file beside it that is renamed over it, so a failure leaves the
// file as it was; an existing file keeps its permission bits, a linked one is
// written at its target. As on Windows, a read-only file is not overwritten.
void replaceWholeFile(const std::string& path, std::string_view bytes);

} // namespace platform
