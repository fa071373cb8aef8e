#include "platform/KeptFile.h"

#include "profile/IniFileIo.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace platform {

KeptFile::KeptFile(std::string path)
    : m_path(IniFileIo::resolveLinks(path).value_or(path)) // a linked profile is replaced at its target
{
    struct stat st {};
    if (::lstat(m_path.c_str(), &st) != 0) {
        m_kept = true; // nothing there: nothing to keep
        return;
    }
    m_existed = true;
    if (S_ISREG(st.st_mode)) {
        const std::string link = IniFileIo::temporaryName(m_path);
        if (::link(m_path.c_str(), link.c_str()) == 0) {
            m_link = link;
            m_kept = true;
            return;
        }
    }
    IniFileIo::FileBytes bytes;
    if (bytes.read(m_path) == IniFileIo::FileBytes::Status::Read) {
        m_bytes = std::string(bytes.bytes());
        m_kept = true;
    }
}

KeptFile::~KeptFile()
{
    if (!m_link.empty()) ::unlink(m_link.c_str());
}

bool KeptFile::putBack()
{
    if (!m_kept) return false;
    if (!m_existed) return ::unlink(m_path.c_str()) == 0 || errno == ENOENT;
    if (!m_link.empty()) {
        struct stat now {
        }, old{};
        // Still the same file: it was never replaced.
        if (::stat(m_path.c_str(), &now) == 0 && ::stat(m_link.c_str(), &old) == 0 && now.st_ino == old.st_ino &&
            now.st_dev == old.st_dev)
            return true;
        if (::rename(m_link.c_str(), m_path.c_str()) == 0) {
            m_link.clear();
            IniFileIo::syncFile(m_path);
            return true;
        }
        return false;
    }
    struct stat info {};
    const bool exists = ::stat(m_path.c_str(), &info) == 0;
    return IniFileIo::replaceFile(m_path, exists ? &info : nullptr, {*m_bytes}) && IniFileIo::syncFile(m_path);
}

} // namespace platform
