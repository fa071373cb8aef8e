#include "platform/WinePrefix.h"

#include "platform/Paths.h"

#include <sys/stat.h>

#include <climits>
#include <cstdlib>

namespace platform {

namespace {

bool isKind(const std::string& path, mode_t kind)
{
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && (st.st_mode & S_IFMT) == kind;
}

// The directories above `path`, innermost first, looked at lexically.
std::string prefixAlong(std::string path)
{
    while (path.size() > 1 && path.back() == Separator)
        path.pop_back();
    for (;;) {
        const std::size_t slash = path.rfind(Separator);
        if (slash == std::string::npos || slash == 0) return {};
        path.erase(slash);
        if (isWinePrefix(path)) return path;
    }
}

} // namespace

bool isWinePrefix(const std::string& dir)
{
    if (dir.empty()) return false;
    const std::string base = AddBackslash(dir);
    return isKind(base + "system.reg", S_IFREG) && isKind(base + "drive_c", S_IFDIR);
}

std::string enclosingWinePrefix(const std::string& path)
{
    if (path.empty() || path.front() != Separator) return {};
    if (std::string found = prefixAlong(path); !found.empty()) return found;
    char resolved[PATH_MAX];
    if (::realpath(path.c_str(), resolved) == nullptr) return {};
    return prefixAlong(resolved);
}

} // namespace platform
