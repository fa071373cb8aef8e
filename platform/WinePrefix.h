#pragma once

#include <string>

// Wine prefixes: the directories that hold one Windows installation each, its
// registry in system.reg and its drive C: in drive_c.
namespace platform {

// `dir` holds the registry file system.reg and the directory drive_c.
bool isWinePrefix(const std::string& dir);

// The innermost Wine prefix above `path`: the nearest directory on the way up
// that is one, looked for along the path as given and then along its
// resolved form (a link to a game inside a prefix). Without a trailing
// separator; empty when no prefix holds the path.
std::string enclosingWinePrefix(const std::string& path);

} // namespace platform
