#pragma once

#include <string>

// The process table, as far as the program needs it.
namespace platform {

// Whether a process of this user or another runs the program `name`
// ("UT2003.exe"), compared without regard to letter case: by its process
// name, or by the file name of its first two arguments (a program under Wine
// or behind an interpreter carries its own path there, in either notation).
bool isProgramRunning(const std::string& name);

} // namespace platform
